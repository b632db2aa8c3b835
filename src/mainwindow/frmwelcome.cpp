#include "frmwelcome.h"

#include <QLabel>
#include <QResizeEvent>

#include "panehost/forms.h"
#include "core/errortrace.h"
#include "core/modgui.h"
#include "settings.h"

using panelook::Twips;

[[maybe_unused]] static const bool declared = forms::Declare<frmWelcome>(QStringLiteral("frmWelcome"));

frmWelcome::frmWelcome()
{
    setObjectName(QStringLiteral("frmWelcome"));
    panelook::SetBackground(this, Qt::white);
    resize(Twips(0, 0, 4695, 3960).size());

    imgCorner = panelook::CornerImage(this);

    picTitlebar = panelook::TitleStrip(this, 690);
    picTitlebar->installEventFilter(this);
    lblTitleBar = panelook::MakeTitle(picTitlebar, QStringLiteral("lblTitleBar"),
                                      QStringLiteral("Welcome to the Quarnel ODBC Administrator"),
                                      panelook::Font(14.25), Twips(600, 0, 3990, 630), false);
    for (QLabel *label : {static_cast<QLabel *>(lblTitleBar.title), static_cast<QLabel *>(lblTitleBar.shadow)})
        label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    lblDescription = new QLabel(this);
    lblDescription->setObjectName(QStringLiteral("lblDescription"));
    lblDescription->setGeometry(Twips(120, 780, 4515, 2295));
    lblDescription->setFont(panelook::Font(8.25, true));
    lblDescription->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lblDescription->setWordWrap(true);
    lblDescription->setAttribute(Qt::WA_TranslucentBackground);
    panelook::SetTextColour(lblDescription, panelook::System(QPalette::WindowText));
}

void frmWelcome::Form_Load()
{
    TraceScope trace(QStringLiteral("frmWelcome.Form_Load"));
    lblDescription->setText(
        QStringLiteral("Use the treeview on the left to explore and modify your Quarnel ODBC datasources..."));
    modGUI::ApplyFormStyle(this);
    m_loaded = true;
}

int frmWelcome::Display(const QStringList &)
{
    TraceScope trace(QStringLiteral("frmWelcome.Display"));
    ErrorHandler handler(QStringLiteral("frmWelcome.Display"));
    if (!handler.step([this] {
            if (!m_loaded)
                Form_Load();
        }))
        return 0;
    setUpdatesEnabled(false);
    handler.step([this] {
        if (options::Win98() == 0) {
            imgCorner->hide();
            panelook::SetBackground(this, panelook::System(QPalette::Button));
        }
    }) && handler.step([this] { show(); });
    setUpdatesEnabled(true);
    return 0;
}

void frmWelcome::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    Form_Resize();
}

void frmWelcome::Form_Resize()
{
    TraceScope trace(QStringLiteral("frmWelcome.Form_Resize"));
    ErrorHandler handler(QStringLiteral("frmWelcome.Form_Resize"));
    handler.step([this] {
        modGUI::EnforceMinSize(this);
        picTitlebar->resize(width(), picTitlebar->height());
    });
}

bool frmWelcome::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == picTitlebar && event->type() == QEvent::Resize)
        picTitlebar_Resize();
    return QWidget::eventFilter(watched, event);
}

// Each title label reaches the strip's right edge.
void frmWelcome::picTitlebar_Resize()
{
    TraceScope trace(QStringLiteral("frmWelcome.picTitlebar_Resize"));
    ErrorHandler handler(QStringLiteral("frmWelcome.picTitlebar_Resize"));
    handler.step([this] {
        for (QLabel *label : {static_cast<QLabel *>(lblTitleBar.title), static_cast<QLabel *>(lblTitleBar.shadow)}) {
            const int w = picTitlebar->width() - label->x();
            if (w > 0)
                label->resize(w, label->height());
        }
    });
}
