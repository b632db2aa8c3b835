#include "errortrace.h"

#include <cstdlib>
#include <new>
#include <optional>

#include "dao.h"
#include "modupdate.h"
#include "ui.h"

namespace {
FailureReporter *g_reporter = nullptr; // the innermost in force
const QString kCrLf = QStringLiteral("\r\n");
} // namespace

void ErrorTrace::Push(const QString &name)
{
    m_entries.prepend(name);
    if (m_entries.size() > MaxEntries)
        m_entries.removeLast();
}

void ErrorTrace::Pop()
{
    if (!m_entries.isEmpty())
        m_entries.removeFirst();
}

ErrorTrace &gErrorTrace()
{
    static ErrorTrace trace;
    return trace;
}

TraceScope::TraceScope(const QString &name) : m_exceptions(std::uncaught_exceptions())
{
    gErrorTrace().Push(name);
}

TraceScope::~TraceScope()
{
    if (std::uncaught_exceptions() <= m_exceptions)
        gErrorTrace().Pop();
}

FailureReporter::FailureReporter(Report report) : m_report(std::move(report)), m_outer(g_reporter)
{
    g_reporter = this;
}

FailureReporter::~FailureReporter() { g_reporter = m_outer; }

int ReportFailure(const QnError &error, const QString &routine, const QString &info)
{
    // The procedure that failed resumes after the dialog: the main window
    // closes only after that (a close issued meanwhile is refused).
    const modUpdate::WorkInProgress dialogUp;
    if (g_reporter && g_reporter->m_report)
        return g_reporter->m_report(error, routine, info);
    return Ui().ReportFailure(error, routine, info);
}

QnError currentFailure(std::exception_ptr failure)
{
    try {
        std::rethrow_exception(failure);
    } catch (const QnError &e) {
        return e;
    } catch (const std::bad_alloc &) {
        return QnError(qnerr::OutOfMemory, qnerr::standardDescription(qnerr::OutOfMemory));
    } catch (const std::exception &e) {
        return QnError(qnerr::InternalError, QString::fromLocal8Bit(e.what()));
    }
}

void AbortProgram()
{
    Ui().EndProgram(1);
    std::abort(); // EndProgram never returns
}

bool ErrorHandler::step(const std::function<void()> &fn)
{
    for (;;) {
        std::optional<QnError> caught; // made only on a failure: a step that succeeds costs nothing more
        try {
            fn();
            return true;
        } catch (const QnError &e) {
            caught = e;
        } catch (const std::exception &) {
            caught = currentFailure(std::current_exception());
        }
        const QnError &failure = *caught;
        if (treat) {
            switch (treat(failure)) {
            case Treated::Resume:
                return true;
            case Treated::Exit:
                return false;
            case Treated::No:
                break;
            }
        }
        if (beforeDialog)
            beforeDialog();
        switch (ReportFailure(failure, routine, info)) {
        case ui::vbRetry:
            continue;
        case ui::vbIgnore:
            return false;
        default:
            AbortProgram();
        }
    }
}

QString FetchODBCErrors()
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

QString FetchISAMError(int code)
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
