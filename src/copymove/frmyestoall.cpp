#include "frmyestoall.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QStyle>

#include "core/modgui.h"
#include "panehost/panehost.h"
#include "panehost/panelook.h"
#include "ui.h"

using panelook::Twips;

frmYesToAll::frmYesToAll() : QDialog(ui::dialogParent())
{
    setObjectName(QStringLiteral("frmYesToAll"));
    setWindowTitle(ui::AppTitle());
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setModal(true);
    setFixedSize(Twips(0, 0, 4815, 1890).size());

    imgIcon = new QLabel(this);
    imgIcon->setObjectName(QStringLiteral("imgIcon"));
    imgIcon->setGeometry(Twips(120, 120, 480, 480));
    imgIcon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxQuestion).pixmap(32));
    lblPrompt = new QLabel(this);
    lblPrompt->setObjectName(QStringLiteral("lblPrompt"));
    lblPrompt->setGeometry(Twips(660, 60, 4095, 1275));
    lblPrompt->setWordWrap(true);
    lblPrompt->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    auto button = [&](QPushButton *&b, const char *name, const QString &caption, int left) {
        b = new QPushButton(caption, this);
        b->setObjectName(QLatin1String(name));
        b->setGeometry(Twips(left, 1500, 1095, 315));
    };
    button(cmdYes, "cmdYes", QStringLiteral("&Yes"), 600);
    button(cmdYesAll, "cmdYesAll", QStringLiteral("Yes to &All"), 1800);
    button(cmdNo, "cmdNo", QStringLiteral("&No"), 3120);
    cmdYesAll->setDefault(true);
    setTabOrder(cmdYes, cmdYesAll);
    setTabOrder(cmdYesAll, cmdNo);

    connect(cmdYes, &QPushButton::clicked, this, &frmYesToAll::cmdYes_Click);
    connect(cmdYesAll, &QPushButton::clicked, this, &frmYesToAll::cmdYesAll_Click);
    connect(cmdNo, &QPushButton::clicked, this, &frmYesToAll::cmdNo_Click);
}

int frmYesToAll::GetAnswer(const QString &Prompt)
{
    frmYesToAll form;
    form.lblPrompt->setText(Prompt);
    modGUI::CentreOnScreen(&form);
    form.cmdYes->setFocus();
    Ui().RunModal(form);
    if (QWidget *pane = gCurrentPane())
        pane->update();
    return form.m_answer;
}

void frmYesToAll::cmdYes_Click()
{
    m_answer = 1;
    done(QDialog::Accepted);
}

void frmYesToAll::cmdYesAll_Click()
{
    m_answer = 2;
    done(QDialog::Accepted);
}

void frmYesToAll::cmdNo_Click()
{
    m_answer = 0;
    done(QDialog::Accepted);
}

void frmYesToAll::keyPressEvent(QKeyEvent *event)
{
    // No cancel button: Escape answers nothing.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}
