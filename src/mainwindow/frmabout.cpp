#include "frmabout.h"

#include <QCoreApplication>
#include <QFrame>
#include <QLabel>
#include <QMouseEvent>
#include <QUrl>

#include "panehost/forms.h"
#include "appinfo.h"
#include "core/errortrace.h"
#include "core/modgui.h"
#include "ui.h"

using panelook::Twips;

namespace {

const QColor kLinkBlue(0, 0, 255);

// The maker's details (a fictional company).
const char *const kContact[] = {"Quarnel Data Systems (Example) Ltd", "Unit 7, Sample Business Park",
                                "1 Placeholder Way", "Exampleton", "EX1 2QN", "Nowhereshire"};
const char kTelephone[] = "+44 (0)1632 960 100";
const char kFacsimile[] = "+44 (0)1632 960 101";

QLabel *label(QWidget *parent, const QString &name, const QString &text, const QRect &at, bool bold = false)
{
    auto *l = new QLabel(text, parent);
    if (!name.isEmpty())
        l->setObjectName(name);
    l->setFont(panelook::Font(8.25, bold));
    l->setAttribute(Qt::WA_TranslucentBackground);
    l->move(at.topLeft());
    l->adjustSize();
    return l;
}

QLabel *heading(QWidget *parent, const QString &name, const QString &text, const QRect &at)
{
    QLabel *l = label(parent, name, text, at);
    l->setFont(panelook::Font(9.75, true, true));
    panelook::SetTextColour(l, panelook::System(QPalette::Highlight));
    l->adjustSize();
    return l;
}

} // namespace

[[maybe_unused]] static const bool declared = forms::Declare<frmAbout>(QStringLiteral("frmAbout"));

frmAbout::frmAbout()
{
    setObjectName(QStringLiteral("frmAbout"));
    panelook::SetBackground(this, Qt::white);
    resize(Twips(0, 0, 7290, 6150).size());

    imgCorner = panelook::CornerImage(this);

    picTitlebar = panelook::TitleStrip(this, 615);
    picTitlebar->installEventFilter(this);
    lblTitle = panelook::MakeTitle(picTitlebar, QStringLiteral("lblTitle"), QStringLiteral("About Quarnel ODBC Administrator"),
                                   panelook::Font(14.25), Twips(600, 120, 4590, 330), true);

    shpShadow = new QFrame(this);
    shpShadow->setObjectName(QStringLiteral("shpShadow"));
    shpShadow->setFrameShape(QFrame::NoFrame);
    panelook::SetBackground(shpShadow, QColor(0xE0, 0xE0, 0xE0));
    imgLogo = new QLabel(this);
    imgLogo->setObjectName(QStringLiteral("imgLogo"));
    imgLogo->setGeometry(Twips(120, 780, 1755, 1500));
    imgLogo->setScaledContents(true);
    imgLogo->setPixmap(panelook::Logo(imgLogo->size()));

    int prompt = 0;
    auto promptLabel = [&](const QString &text, int left, int top) {
        return label(this, QStringLiteral("lblPrompt_%1").arg(prompt++), text, Twips(left, top, 0, 0), true);
    };
    heading(this, QStringLiteral("lblPrompt_%1").arg(prompt++), QStringLiteral("Application Details:"),
            Twips(2040, 780, 1815, 240));
    promptLabel(QStringLiteral("Title:"), 2040, 1080);
    lblAppTitle = label(this, QStringLiteral("lblAppTitle"), QStringLiteral("Title"), Twips(3180, 1080, 0, 0));
    promptLabel(QStringLiteral("Version:"), 2040, 1320);
    lblAppVersion = label(this, QStringLiteral("lblAppVersion"), QStringLiteral("Version"), Twips(3180, 1320, 0, 0));
    promptLabel(QStringLiteral("Build:"), 2040, 1560);
    lblAppBuild = label(this, QStringLiteral("lblAppBuild"), QStringLiteral("Build"), Twips(3180, 1560, 0, 0));

    heading(this, QStringLiteral("lblPrompt_%1").arg(prompt++), QStringLiteral("Contact Details:"),
            Twips(2040, 2400, 1440, 240));
    QLabel *headOffice = promptLabel(QStringLiteral("Head Office:"), 2040, 2700);
    // The address stands right of its prompt (the font may be wider than designed).
    const int addressLeft = qMax(Twips(3180, 0, 0, 0).x(), headOffice->geometry().right() + 6) * 15;
    int top = 2700;
    int line = 0;
    for (const char *text : kContact) {
        label(this, QStringLiteral("lblContact_%1").arg(line++), QString::fromUtf8(text), Twips(addressLeft, top, 0, 0));
        top += 180;
    }
    promptLabel(QStringLiteral("Telephone:"), 2040, 3840);
    label(this, QStringLiteral("lblTelephone"), QString::fromLatin1(kTelephone), Twips(3120, 3840, 0, 0));
    promptLabel(QStringLiteral("Facsimile:"), 2040, 4080);
    label(this, QStringLiteral("lblFacsimile"), QString::fromLatin1(kFacsimile), Twips(3120, 4080, 0, 0));

    promptLabel(QStringLiteral("WWW:"), 2040, 4740);
    lblWWW = label(this, QStringLiteral("lblWWW"), appinfo::SupportWeb(), Twips(3120, 4740, 0, 0));
    lblWWW->setToolTip(QStringLiteral("Click to visit the Quarnel Website"));
    promptLabel(QStringLiteral("Email:"), 2040, 4980);
    lblEMail = label(this, QStringLiteral("lblEMail"), appinfo::SupportEmail(), Twips(3120, 4980, 0, 0));
    lblEMail->setToolTip(QStringLiteral("Click to send an Email to the Quarnel Support department"));
    for (QLabel *link : {lblWWW, lblEMail}) {
        QFont font = link->font();
        font.setUnderline(true);
        link->setFont(font);
        panelook::SetTextColour(link, kLinkBlue);
        link->setCursor(Qt::PointingHandCursor);
        link->adjustSize();
        link->installEventFilter(this);
    }
}

void frmAbout::Form_Load()
{
    TraceScope trace(QStringLiteral("frmAbout.Form_Load"));
    modGUI::ApplyFormStyle(this);
    lblAppTitle->setText(appinfo::Title());
    lblAppVersion->setText(QStringLiteral("%1.%2").arg(appinfo::VersionMajor()).arg(appinfo::VersionMinor()));
    lblAppBuild->setText(QStringLiteral("%1 (Beta)").arg(appinfo::VersionRevision()));
    for (QLabel *value : {lblAppTitle, lblAppVersion, lblAppBuild})
        value->adjustSize();
    shpShadow->setGeometry(imgLogo->geometry().translated(120 / 15, 120 / 15));
    shpShadow->lower();
    imgCorner->lower();
    m_loaded = true;
}

int frmAbout::Display(const QStringList &)
{
    TraceScope trace(QStringLiteral("frmAbout.Display"));
    ErrorHandler handler(QStringLiteral("frmAbout.Display"));
    if (!handler.step([this] {
            if (!m_loaded)
                Form_Load();
        }))
        return 0;
    setUpdatesEnabled(false);
    handler.step([this] { show(); });
    setUpdatesEnabled(true);
    return 0;
}

void frmAbout::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    ErrorHandler handler(QStringLiteral("frmAbout.Form_Resize"));
    handler.step([this] {
        modGUI::EnforceMinSize(this);
        picTitlebar->resize(width(), picTitlebar->height());
    });
}

bool frmAbout::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == picTitlebar && event->type() == QEvent::Resize) {
        ErrorHandler handler(QStringLiteral("frmAbout.picTitlebar_Resize"));
        handler.step([this] { modGUI::ResizeTitleBar(this); });
    } else if ((watched == lblEMail || watched == lblWWW) && static_cast<QWidget *>(watched)->isEnabled() &&
               event->type() == QEvent::MouseButtonRelease &&
               static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton &&
               static_cast<QWidget *>(watched)->rect().contains(static_cast<QMouseEvent *>(event)->position().toPoint())) {
        if (watched == lblEMail)
            lblEMail_Click();
        else
            lblWWW_Click();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void frmAbout::lblEMail_Click()
{
    linkClick(lblEMail, QStringLiteral("frmAbout.lblEMail_Click"), QStringLiteral("mailto:") + lblEMail->text(),
              QStringLiteral("No default EMail Editor is registered"));
}

void frmAbout::lblWWW_Click()
{
    linkClick(lblWWW, QStringLiteral("frmAbout.lblWWW_Click"), lblWWW->text(),
              QStringLiteral("No Default Browser is registered"));
}

// Opens `target` with the desktop; when nothing can open it, says so and
// disables the link.
void frmAbout::linkClick(QLabel *link, const QString &trace, const QString &target, const QString &failure)
{
    TraceScope scope(trace);
    ErrorHandler handler(trace);
    bool opened = false;
    handler.step([&] {
        panelook::SetTextColour(link, kLinkBlue);
        QCoreApplication::processEvents();
    }) && handler.step([&] { opened = Ui().OpenUrl(QUrl(target)); }) && handler.step([&] {
        if (!opened) {
            Ui().MsgBox(failure, ui::vbInformation, appinfo::Title());
            link->setEnabled(false);
        }
    });
}
