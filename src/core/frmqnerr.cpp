#include "frmqnerr.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QDate>
#include <QFrame>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLocale>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QSaveFile>
#include <QScopeGuard>
#include <QScreen>
#include <QStyle>
#include <QSysInfo>
#include <QTime>
#include <QUrl>
#include <QVBoxLayout>

#include "appinfo.h"
#include "dao.h"
#include "errortrace.h"
#include "moddatabase.h"
#include "passwordmask.h"
#include "ui.h"

namespace {

QPointer<frmQNErr> s_instance;
QList<QPointer<frmQNErr>> s_onShow; // the dialogs in their modal showing, innermost last
const QString kCrLf = QStringLiteral("\r\n");

// "<name> v<major>.<minor>.<build> <extra>" from the running system.
QString systemLine()
{
    QString name = QSysInfo::kernelType();
    if (!name.isEmpty())
        name[0] = name[0].toUpper();
    else
        name = QStringLiteral("Unkown OpSys");
    const QStringList parts = QSysInfo::kernelVersion().split(QRegularExpression(QStringLiteral("[^0-9]+")));
    auto part = [&](int i) { return i < parts.size() && !parts[i].isEmpty() ? parts[i].toInt() : 0; };
    return QStringLiteral("%1 v%2.%3.%4 %5")
        .arg(name)
        .arg(part(0))
        .arg(part(1))
        .arg(part(2) & 0xFFFF)
        .arg(QSysInfo::prettyProductName());
}

QLabel *prompt(const QString &text, int index, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(QStringLiteral("lblPrompt_%1").arg(index));
    return label;
}

QFrame *separator(int index, QWidget *parent)
{
    auto *line = new QFrame(parent);
    line->setObjectName(QStringLiteral("linSep_%1").arg(index));
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    return line;
}

QLabel *valueLabel(const QString &name, QWidget *parent)
{
    auto *label = new QLabel(parent);
    label->setObjectName(name);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

QPlainTextEdit *textBox(const QString &name, QWidget *parent)
{
    auto *box = new QPlainTextEdit(parent);
    box->setObjectName(name);
    box->setReadOnly(true);
    box->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    box->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff); // lines wrap
    box->setTabChangesFocus(true);
    // SQL laid out by FormatSQL indents with tabs; keep them narrow.
    box->setTabStopDistance(4 * box->fontMetrics().horizontalAdvance(QLatin1Char(' ')));
    return box;
}

} // namespace

frmQNErr::frmQNErr() : QDialog(nullptr, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                                            Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("frmQNErr"));
    setWindowTitle(QStringLiteral("Unexpected Error"));
    setModal(true);

    auto *icon = new QLabel(this);
    icon->setObjectName(QStringLiteral("imgIcon"));
    icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxCritical).pixmap(32, 32));
    icon->setAlignment(Qt::AlignTop | Qt::AlignHCenter);

    lblApp[0] = valueLabel(QStringLiteral("lblApp_0"), this);
    lblApp[1] = valueLabel(QStringLiteral("lblApp_1"), this);
    lblSysInfo = valueLabel(QStringLiteral("lblSysInfo"), this);
    lblErrNo = valueLabel(QStringLiteral("lblErrNo"), this);
    txtDescription = textBox(QStringLiteral("txtDescription"), this);
    txtAdditionalInfo = textBox(QStringLiteral("txtAdditionalInfo"), this);
    lblTrappedIn = valueLabel(QStringLiteral("lblTrappedIn"), this);
    cboCallStack = new QComboBox(this);
    cboCallStack->setObjectName(QStringLiteral("cboCallStack"));
    cboCallStack->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    cboCallStack->setMinimumContentsLength(30);

    auto *grid = new QGridLayout;
    grid->setColumnStretch(1, 1);
    int row = 0;
    // The value labels take no focus: a prompt's mnemonic goes on to the next control that does.
    QLabel *promptApp = prompt(QStringLiteral("App&lication:"), 0, this);
    promptApp->setBuddy(txtDescription);
    grid->addWidget(promptApp, row, 0);
    auto *appRow = new QHBoxLayout;
    appRow->addWidget(lblApp[0], 1);
    QLabel *promptVersion = prompt(QStringLiteral("&Version:"), 1, this);
    promptVersion->setBuddy(txtDescription);
    appRow->addWidget(promptVersion);
    appRow->addWidget(lblApp[1]);
    grid->addLayout(appRow, row++, 1);
    grid->addWidget(prompt(QStringLiteral("System Info:"), 2, this), row, 0);
    grid->addWidget(lblSysInfo, row++, 1);
    grid->addWidget(separator(0, this), row++, 0, 1, 2);
    QLabel *promptNumber = prompt(QStringLiteral("Err&or Number:"), 3, this);
    promptNumber->setBuddy(txtDescription);
    grid->addWidget(promptNumber, row, 0);
    grid->addWidget(lblErrNo, row++, 1);
    QLabel *promptDescription = prompt(QStringLiteral("Descriptio&n:"), 4, this);
    promptDescription->setBuddy(txtDescription);
    grid->addWidget(promptDescription, row, 0, Qt::AlignTop);
    grid->addWidget(txtDescription, row++, 1);
    QLabel *promptInfo = prompt(QStringLiteral("A&dditional Info:"), 5, this);
    promptInfo->setBuddy(txtAdditionalInfo);
    grid->addWidget(promptInfo, row, 0, Qt::AlignTop);
    grid->addWidget(txtAdditionalInfo, row++, 1);
    QLabel *promptTrapped = prompt(QStringLiteral("&Trapped In:"), 6, this);
    promptTrapped->setBuddy(cboCallStack);
    grid->addWidget(promptTrapped, row, 0);
    grid->addWidget(lblTrappedIn, row++, 1);
    QLabel *promptStack = prompt(QStringLiteral("&Call Stack:"), 7, this);
    promptStack->setBuddy(cboCallStack);
    grid->addWidget(promptStack, row, 0);
    grid->addWidget(cboCallStack, row++, 1);
    grid->addWidget(separator(1, this), row++, 0, 1, 2);

    const char *reportCaptions[] = {"&Print", "&Save", "&Email", "&WWW"};
    auto *reportRow = new QHBoxLayout;
    reportRow->addWidget(prompt(QStringLiteral("Report:"), 8, this));
    for (int i = 0; i < 4; ++i) {
        cmdReport[i] = new QPushButton(QString::fromLatin1(reportCaptions[i]), this);
        cmdReport[i]->setObjectName(QStringLiteral("cmdReport_%1").arg(i));
        connect(cmdReport[i], &QPushButton::clicked, this, &frmQNErr::cmdReport_Click);
        reportRow->addWidget(cmdReport[i]);
    }
    reportRow->addStretch();
    cmdReport[0]->setToolTip(QStringLiteral("Print this error to the default printer"));
    cmdReport[1]->setToolTip(QStringLiteral("Save this error to a text file"));

    const char *responseCaptions[] = {"&Abort", "&Retry", "&Ignore"};
    auto *responseRow = new QHBoxLayout;
    responseRow->addStretch();
    for (int i = 0; i < 3; ++i) {
        cmdResponce[i] = new QPushButton(QString::fromLatin1(responseCaptions[i]), this);
        cmdResponce[i]->setObjectName(QStringLiteral("cmdResponce_%1").arg(i));
        connect(cmdResponce[i], &QPushButton::clicked, this, &frmQNErr::cmdResponce_Click);
        responseRow->addWidget(cmdResponce[i]);
    }
    cmdResponce[0]->setDefault(true);

    auto *body = new QVBoxLayout;
    body->addLayout(grid);
    body->addLayout(reportRow);
    body->addLayout(responseRow);
    auto *outer = new QHBoxLayout(this);
    outer->addWidget(icon, 0, Qt::AlignTop);
    outer->addLayout(body, 1);

    setTabOrder(txtDescription, txtAdditionalInfo);
    setTabOrder(txtAdditionalInfo, cboCallStack);
    setTabOrder(cboCallStack, cmdReport[0]);
    for (int i = 0; i < 3; ++i)
        setTabOrder(cmdReport[i], cmdReport[i + 1]);
    setTabOrder(cmdReport[3], cmdResponce[0]);
    setTabOrder(cmdResponce[0], cmdResponce[1]);
    setTabOrder(cmdResponce[1], cmdResponce[2]);

    resize(540, 460);
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    txtDescription->setFixedHeight(110);
    txtAdditionalInfo->setFixedHeight(110);
    txtDescription->setMinimumWidth(400);
    Form_Load();
}

frmQNErr::~frmQNErr() = default;

// Everything shown, printed, saved or copied comes from these two texts.
void frmQNErr::setDescription(const QString &text)
{
    m_description = MaskPasswords(text);
    txtDescription->setPlainText(m_description);
}

void frmQNErr::setAdditionalInfo(const QString &text)
{
    m_additionalInfo = MaskPasswords(text);
    txtAdditionalInfo->setPlainText(m_additionalInfo);
}

void frmQNErr::Form_Load()
{
    adjustSize();
    const QRect screen = QGuiApplication::primaryScreen() ? QGuiApplication::primaryScreen()->geometry() : QRect();
    move(screen.x() + (screen.width() - width()) / 2, screen.y() + (screen.height() - height()) / 2);
}

frmQNErr &frmQNErr::instance()
{
    if (!s_instance)
        s_instance = new frmQNErr;
    return *s_instance;
}

bool frmQNErr::isLoaded() { return !s_instance.isNull(); }

void frmQNErr::Unload()
{
    gErrorTrace().Clear();
    if (!s_instance)
        return;
    frmQNErr *form = s_instance;
    s_instance = nullptr;
    if (form->m_showing) { // ending its modal loop now would answer Abort for the user
        form->m_unloadPending = true;
        return;
    }
    form->hide();
    form->deleteLater();
}

void frmQNErr::Push(const QString &text) { gErrorTrace().Push(text); }

void frmQNErr::Pop() { gErrorTrace().Pop(); }

QStringList frmQNErr::Trace() { return gErrorTrace().List(); }

QString frmQNErr::FetchODBCErrors() { return ::FetchODBCErrors(); }

QString frmQNErr::FetchISAMError(int code) { return ::FetchISAMError(code); }

void frmQNErr::setTrace()
{
    const QStringList &trace = gErrorTrace().List();
    cboCallStack->clear();
    cboCallStack->addItems(trace);
    if (!trace.isEmpty())
        cboCallStack->setCurrentIndex(0);
}

int frmQNErr::OnError(const QnError &error, const QString &routine, const QString &additionalInfo)
{
    if (!s_onShow.isEmpty()) {
        frmQNErr *own = new frmQNErr;
        const auto drop = qScopeGuard([own] { delete own; });
        return own->onError(error, routine, additionalInfo);
    }
    return instance().onError(error, routine, additionalInfo);
}

int frmQNErr::onError(const QnError &error, const QString &routine, const QString &additionalInfo)
{
    if (isVisible())
        hide();
    const auto &engineErrors = dao::Errors::list();
    if (!engineErrors.isEmpty() && engineErrors.first().Description.contains(QStringLiteral("privileges"))) {
        QPointer<frmQNErr> self(this);
        Ui().MsgBox(QStringLiteral("The current user has insufficient privileges to complete this action."),
                    ui::vbOKOnly, appinfo::Title());
        if (self)
            self->hide();
        return ui::vbIgnore;
    }
    cmdReport[2]->setToolTip(QStringLiteral("EMail this error to ") + appinfo::SupportEmail());
    cmdReport[3]->setToolTip(QStringLiteral("Visit ") + appinfo::SupportWeb());
    lblApp[0]->setText(appinfo::Title());
    lblApp[1]->setText(QStringLiteral("%1.%2.%3")
                           .arg(appinfo::VersionMajor())
                           .arg(appinfo::VersionMinor())
                           .arg(appinfo::VersionRevision()));
    lblSysInfo->setText(systemLine());
    setDescription(QString());
    lblTrappedIn->setText(routine);
    if (error.Number() == qnerr::OdbcCallFailed)
        return ODBCErr(routine, additionalInfo);
    return StandardErr(error, routine, additionalInfo);
}

int frmQNErr::StandardErr(const QnError &error, const QString &, const QString &additionalInfo)
{
    setWindowTitle(appinfo::Title() + QStringLiteral(" - Unexpected Error"));
    lblErrNo->setText(QString::number(error.Number()));
    setDescription(error.Description());
    setAdditionalInfo(additionalInfo);
    return showModal();
}

int frmQNErr::ODBCErr(const QString &, const QString &sql)
{
    setWindowTitle(appinfo::Title() + QStringLiteral(" - Unexpected ODBC Error"));
    setDescription(m_description + ::FetchODBCErrors());
    lblErrNo->setText(QStringLiteral("ODBC Error"));
    // Masked before the layout, which breaks lines inside quoted values.
    setAdditionalInfo(modDatabase::FormatSQL(MaskPasswords(sql)));
    return showModal();
}

int frmQNErr::showModal()
{
    m_answer = ui::vbAbort;
    m_closed = false;
    if (isVisible())
        hide();
    setTrace();
    // Over the error dialog on show, if any, else owned by the main window.
    QWidget *owner = s_onShow.isEmpty() ? ui::dialogParent() : s_onShow.constLast().data();
    setParent(owner, windowFlags());
    QPointer<frmQNErr> self(this);
    s_onShow.append(self);
    m_showing = true;
    int shown = ui::vbAbort;
    {
        const auto shownNoMore = qScopeGuard([&] {
            s_onShow.removeIf([&](const QPointer<frmQNErr> &p) { return p.isNull() || p == self; });
            if (self)
                self->m_showing = false;
        });
        shown = Ui().ErrorDialog(*this);
    }
    if (!self)
        return ui::vbAbort;
    if (shown >= ui::vbAbort && shown <= ui::vbIgnore && !m_closed)
        m_answer = shown;
    const int answer = m_answer;
    if (m_closed && this == s_instance) {
        Unload();
    } else {
        if (m_closed) // a dialog of its own, closed: the trace goes as with the loaded one
            gErrorTrace().Clear();
        hide();
    }
    if (m_unloadPending)
        deleteLater();
    return answer;
}

void frmQNErr::cmdResponce_Click()
{
    const QString caption = static_cast<QPushButton *>(sender())->text();
    if (caption == QLatin1String("&Abort"))
        m_answer = ui::vbAbort;
    else if (caption == QLatin1String("&Retry"))
        m_answer = ui::vbRetry;
    else if (caption == QLatin1String("&Ignore"))
        m_answer = ui::vbIgnore;
    done(m_answer);
}

void frmQNErr::closeEvent(QCloseEvent *event)
{
    m_closed = true;
    m_answer = ui::vbAbort;
    event->accept();
    done(ui::vbAbort);
}

void frmQNErr::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        cmdResponce[2]->click();
        return;
    }
    QDialog::keyPressEvent(event);
}

QString frmQNErr::FetchErrorReport() const
{
    auto line = [](const char *label, const QString &value) {
        return QString::fromLatin1(label) + QLatin1Char('\t') + value + kCrLf;
    };
    QString report;
    report += line("Application:  ", lblApp[0]->text());
    report += line("Version:      ", lblApp[1]->text());
    report += kCrLf;
    report += line("Sys Info:     ", lblSysInfo->text());
    report += kCrLf;
    report += line("Error No:     ", lblErrNo->text());
    report += line("Description:  ", m_description);
    report += line("Additional:   ", m_additionalInfo);
    report += kCrLf;
    report += line("Trapped In:   ", lblTrappedIn->text());
    report += QStringLiteral("Call Stack:   ");
    const QString blanks(14, QLatin1Char(' '));
    const QStringList &trace = gErrorTrace().List();
    if (trace.isEmpty()) {
        report += QStringLiteral("\tEmpty");
    } else {
        for (const QString &entry : trace)
            report += QLatin1Char('\t') + entry + kCrLf + blanks;
        report.chop(blanks.size());
    }
    const QLocale locale = QLocale::system();
    report += kCrLf + kCrLf;
    report += line("Date:         ", locale.toString(QDate::currentDate(), QLocale::LongFormat) + QLatin1Char(' ') +
                                         locale.toString(QTime::currentTime(), QLocale::LongFormat));
    report += kCrLf;
    report += QStringLiteral("Comments:") + kCrLf;
    return report;
}

void frmQNErr::cmdReport_Click()
{
    TraceScope trace(QStringLiteral("frmQNErr.cmdReport_Click"));
    const QString caption = static_cast<QPushButton *>(sender())->text();
    const QString report = FetchErrorReport();
    // A step that fails is attempted once more; a second failure is reported.
    auto twice = [](const std::function<bool()> &action) { return action() || action(); };
    if (caption == QLatin1String("&Print")) {
        if (!twice([&] { return Ui().PrintText(appinfo::Title() + QStringLiteral(" - Unexpected Error Report"), report); }))
            Ui().MsgBox(QStringLiteral("The error report could not be printed."), ui::vbExclamation);
    } else if (caption == QLatin1String("&Save")) {
        const auto file = Ui().GetSaveFileName(QStringLiteral("Select file to save error to..."),
                                               appinfo::Title() + QStringLiteral(" Error Report.txt"),
                                               QStringLiteral("Text Files (*.txt)|*.txt|All Files (*.*)|*.*"));
        if (!file)
            return;
        // Written whole or not at all: an existing file is replaced only by a complete report.
        const bool written = twice([&] {
            QSaveFile out(*file);
            if (!out.open(QIODevice::WriteOnly))
                return false;
            const QByteArray bytes = (report + kCrLf).toUtf8();
            if (out.write(bytes) != bytes.size()) {
                out.cancelWriting();
                return false;
            }
            return out.commit();
        });
        if (!written) {
            Ui().MsgBox(QStringLiteral("The error report could not be written to\r\n") + *file, ui::vbExclamation);
            return;
        }
        if (Ui().MsgBox(QStringLiteral("Error report written to\r\n") + *file +
                            QStringLiteral("\r\n\r\nDo you wish to add any comments?"),
                        ui::vbYesNo + ui::vbQuestion, appinfo::Title()) == ui::vbYes)
            Ui().OpenUrl(QUrl::fromLocalFile(*file));
    } else if (caption == QLatin1String("&Email")) {
        Ui().SetClipboardText(report);
        Ui().OpenUrl(QUrl(QStringLiteral("mailto:") + appinfo::SupportEmail() +
                          QStringLiteral("?subject=ODBC Administrator Error Report&body=Paste Error text here and "
                                         "comments after")));
    } else if (caption == QLatin1String("&WWW")) {
        Ui().OpenUrl(QUrl(appinfo::SupportWeb()));
    }
}
