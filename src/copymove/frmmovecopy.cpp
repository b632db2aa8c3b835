#include "frmmovecopy.h"

#include <QLabel>
#include <QPushButton>

#include "core/errortrace.h"
#include "core/modgui.h"
#include "panehost/forms.h"
#include "panehost/panehost.h"
#include "settings.h"
#include "ui.h"

namespace {

const QString kSection = QStringLiteral("frmMoveCopy");
constexpr int kWidth = 4695, kHeight = 2175; // the client area, in twips

} // namespace

frmMoveCopy::frmMoveCopy()
    : DragQuestion(QStringLiteral("frmMoveCopy"), QStringLiteral("Move or Copy?"), QSize(kWidth, kHeight),
                   QRect(660, 60, 3975, 1575))
{
    cmdCopy = button("cmdCopy", QStringLiteral("&Copy"), 60, 1800);
    cmdMove = button("cmdMove", QStringLiteral("&Move"), 1200, 1800);
    cmdCancel = button("cmdCancel", QStringLiteral("Cancel"), 3540, 1800);
    cmdCopy->setDefault(true);
    setTabOrder(cmdCancel, cmdMove);
    setTabOrder(cmdMove, cmdCopy);

    connect(cmdCopy, &QPushButton::clicked, this, &frmMoveCopy::cmdCopy_Click);
    connect(cmdMove, &QPushButton::clicked, this, &frmMoveCopy::cmdMove_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmMoveCopy::cmdCancel_Click);
}

int frmMoveCopy::Query(const QString &Message)
{
    TraceScope trace(QStringLiteral("frmMoveCopy.Query"));
    frmMoveCopy &form = forms::Get<frmMoveCopy>();
    form.Form_Load();
    form.lblPrompt->setText(Message);
    form.cmdCancel->setFocus();
    Ui().RunModal(form);
    // Closed without a button (its close button, Escape): Cancel.
    const int answer = form.m_cancel ? 0 : form.m_copy ? 2 : form.m_move ? 1 : 0;
    form.Form_Unload();
    forms::Unload(&form);
    return answer;
}

void frmMoveCopy::Form_Load()
{
    TraceScope trace(QStringLiteral("frmMoveCopy.Form_Load"));
    // The size is read, never written: the dialog's own unless the settings hold one.
    const int width = modGUI::TwipsToPixels(int(GetSettingNumber(kSection, QStringLiteral("Width"), kWidth)));
    const int height = modGUI::TwipsToPixels(int(GetSettingNumber(kSection, QStringLiteral("Height"), kHeight)));
    setFixedSize(qMax(1, width), qMax(1, height));
    modGUI::PlaceAtSavedPosition(this, kSection);
    m_copy = m_move = m_cancel = false;
}

void frmMoveCopy::Form_Unload()
{
    TraceScope trace(QStringLiteral("frmMoveCopy.Form_Unload"));
    modGUI::SavePosition(this, kSection);
    if (QWidget *pane = gCurrentPane())
        pane->update();
}

void frmMoveCopy::cmdCopy_Click()
{
    TraceScope trace(QStringLiteral("frmMoveCopy.cmdCopy_Click"));
    m_copy = true;
    done(QDialog::Accepted);
}

void frmMoveCopy::cmdMove_Click()
{
    TraceScope trace(QStringLiteral("frmMoveCopy.cmdMove_Click"));
    m_move = true;
    done(QDialog::Accepted);
}

void frmMoveCopy::cmdCancel_Click()
{
    TraceScope trace(QStringLiteral("frmMoveCopy.cmdCancel_Click"));
    m_cancel = true;
    done(QDialog::Rejected);
}
