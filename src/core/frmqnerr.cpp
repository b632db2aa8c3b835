#include "frmqnerr.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QDate>
#include <QFile>
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
#include "ui.h"

namespace {

QPointer<frmQNErr> s_instance;
constexpr int kMaxTrace = 32767;
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

void frmQNErr::setDescription(const QString &text)
{
    m_description = text;
    txtDescription->setPlainText(text);
}

void frmQNErr::setAdditionalInfo(const QString &text)
{
    m_additionalInfo = text;
    txtAdditionalInfo->setPlainText(text);
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
    if (!s_instance)
        return;
    frmQNErr *form = s_instance;
    s_instance = nullptr;
    form->hide();
    form->m_trace.clear();
    form->deleteLater();
}

void frmQNErr::Push(const QString &text)
{
    frmQNErr &form = instance();
    form.m_trace.prepend(text);
    if (form.m_trace.size() > kMaxTrace)
        form.m_trace.removeLast();
    if (form.isVisible())
        form.setTrace();
}

void frmQNErr::Pop()
{
    frmQNErr &form = instance();
    if (form.m_trace.isEmpty())
        return;
    form.m_trace.removeFirst();
    if (form.isVisible())
        form.setTrace();
}

QStringList frmQNErr::Trace() { return isLoaded() ? s_instance->m_trace : QStringList(); }

void frmQNErr::setTrace()
{
    cboCallStack->clear();
    cboCallStack->addItems(m_trace);
    if (!m_trace.isEmpty())
        cboCallStack->setCurrentIndex(0);
}

int frmQNErr::OnError(const QnError &error, const QString &routine, const QString &additionalInfo)
{
    frmQNErr &form = instance();
    if (form.isVisible())
        form.hide();
    const auto &engineErrors = dao::Errors::list();
    if (!engineErrors.isEmpty() && engineErrors.first().Description.contains(QStringLiteral("privileges"))) {
        Ui().MsgBox(QStringLiteral("The current user has insufficient privileges to complete this action."),
                    ui::vbOKOnly, appinfo::Title());
        if (s_instance)
            s_instance->hide();
        return ui::vbIgnore;
    }
    form.cmdReport[2]->setToolTip(QStringLiteral("EMail this error to ") + appinfo::SupportEmail());
    form.cmdReport[3]->setToolTip(QStringLiteral("Visit ") + appinfo::SupportWeb());
    form.lblApp[0]->setText(appinfo::Title());
    form.lblApp[1]->setText(QStringLiteral("%1.%2.%3")
                                .arg(appinfo::VersionMajor())
                                .arg(appinfo::VersionMinor())
                                .arg(appinfo::VersionRevision()));
    form.lblSysInfo->setText(systemLine());
    form.setDescription(QString());
    form.lblTrappedIn->setText(routine);
    if (error.Number() == qnerr::OdbcCallFailed)
        return ODBCErr(routine, additionalInfo);
    return StandardErr(error, routine, additionalInfo);
}

int frmQNErr::StandardErr(const QnError &error, const QString &, const QString &additionalInfo)
{
    frmQNErr &form = instance();
    form.setWindowTitle(appinfo::Title() + QStringLiteral(" - Unexpected Error"));
    form.lblErrNo->setText(QString::number(error.Number()));
    form.setDescription(error.Description());
    form.setAdditionalInfo(additionalInfo);
    return form.showModal();
}

int frmQNErr::ODBCErr(const QString &, const QString &sql)
{
    frmQNErr &form = instance();
    form.setWindowTitle(appinfo::Title() + QStringLiteral(" - Unexpected ODBC Error"));
    form.setDescription(form.m_description + FetchODBCErrors());
    form.lblErrNo->setText(QStringLiteral("ODBC Error"));
    form.setAdditionalInfo(modDatabase::FormatSQL(sql));
    return form.showModal();
}

int frmQNErr::showModal()
{
    m_answer = ui::vbAbort;
    m_closed = false;
    if (isVisible())
        hide();
    setTrace();
    setParent(ui::dialogParent(), windowFlags());
    const int shown = Ui().ErrorDialog(*this);
    if (shown >= ui::vbAbort && shown <= ui::vbIgnore && !m_closed)
        m_answer = shown;
    const int answer = m_answer;
    if (m_closed)
        Unload();
    else
        hide();
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

QString frmQNErr::FetchODBCErrors()
{
    QString text;
    for (const dao::Error &e : dao::Errors::list()) {
        if (e.Number == qnerr::OdbcCallFailed)
            continue;
        if (e.Description.contains(QStringLiteral("isam"))) {
            const QString t = QStringLiteral("(%1) %2").arg(e.Number).arg(e.Description);
            const QString code = t.mid(std::max<qsizetype>(0, t.size() - 4), 3);
            bool isNumber = false;
            const int value = code.trimmed().toInt(&isNumber);
            text += kCrLf + QStringLiteral("D-ISAM Error: ") + code + QStringLiteral(" - ") +
                    (isNumber ? FetchISAMError(value) : code) + kCrLf;
        } else {
            text += kCrLf + QStringLiteral("Error: &H") +
                    QString::number(static_cast<quint32>(e.Number), 16).toUpper() + kCrLf +
                    QString(e.Description).replace(QLatin1Char('\r'), QLatin1Char(' ')) + kCrLf;
        }
    }
    return text;
}

QString frmQNErr::FetchISAMError(int code)
{
    switch (code) {
    case 100:
        return QStringLiteral("An attempt was made to (re)write a duplicate where duplicates are prohibited, "
                              "or an attempt was made to REWRITE(F) where the primary key permiteed duplicates.");
    case 101: return QStringLiteral("The fd parameter does not reference an opened file.");
    case 102: return QStringLiteral("One of the arguments has a value with no defined meaning.");
    case 103: return QStringLiteral("The values of the keys are not valid.");
    case 104:
        return QStringLiteral("All isam file descriptors are used, you cannot open any more files.  "
                              "Note that this is different gtom the values ENFIL and EMFILE that are returned by "
                              "the operating "
                              "system when it runs out of handles and can easily be corrected by increasing the "
                              "value of MAXFDS in isport.h");
    case 105: return QStringLiteral("The isam file is corrupt, it must be repaired with DCHECK(I).");
    case 106: return QStringLiteral("Exclusive access to the file was not possible.");
    case 107: return QStringLiteral("Another process has a read-only lock on the requested record.");
    case 108: return QStringLiteral("The value of the key has already been established as a key.");
    case 109:
        return QStringLiteral(
            "The requested function may not be performed on the primary key, as you have requested.");
    case 110: return QStringLiteral("The beginning or end of the file has already been reached.");
    case 111: return QStringLiteral("No record was found to match your request.");
    case 112: return QStringLiteral("There is no current record set at this time.");
    case 113:
        return QStringLiteral("The file has been exclusively locked by another, or if trying to establish an "
                              "exclusive lock, "
                              "another process is using the file.");
    case 114: return QStringLiteral("The name given for the file is too long.");
    case 115: return QStringLiteral("the lock file cannot be created. Presently not used by D-ISAM.");
    case 116:
        return QStringLiteral("malloc() cannot allocate the request.  Usually means out of memory, but possibly "
                              "the allocation list is corrupted.");
    default: return QString::number(code);
    }
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
    if (m_trace.isEmpty()) {
        report += QStringLiteral("\tEmpty");
    } else {
        for (const QString &entry : m_trace)
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
        const bool written = twice([&] {
            QFile out(*file);
            if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate))
                return false;
            const QByteArray bytes = (report + kCrLf).toUtf8();
            const bool ok = out.write(bytes) == bytes.size();
            out.close();
            return ok && out.error() == QFileDevice::NoError;
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
