#pragma once

// The error convention: procedures keep a trace of where they are, and a
// procedure with a handler runs its failing statements as steps that the
// user may retry, ignore or abort. Nothing here needs or creates a widget:
// failures reach the user through ReportFailure, which goes to an injected
// reporter or through the Ui seam to the error dialog.

#include <QString>
#include <QStringList>
#include <exception>
#include <functional>

#include "qnerror.h"

// The error trace: the names ("object.procedure") of the procedures running
// that keep it, newest first. Pop removes the newest entry whatever it is and
// does nothing on an empty trace. Holds at most MaxEntries; a push beyond
// that drops the oldest entry. One process-wide trace (gErrorTrace), kept on
// the UI thread.
class ErrorTrace
{
public:
    static constexpr qsizetype MaxEntries = 32767;

    void Push(const QString &name);
    void Pop();
    void Clear() { m_entries.clear(); }
    // Newest first.
    const QStringList &List() const { return m_entries; }
    qsizetype Count() const { return m_entries.size(); }

private:
    QStringList m_entries;
};

ErrorTrace &gErrorTrace();

// Pushes `name` on the error trace; pops it on every normal way out, but not
// while an exception passes through, so a failure that passes up leaves its
// entry on the trace.
class TraceScope
{
public:
    explicit TraceScope(const QString &name);
    ~TraceScope();
    TraceScope(const TraceScope &) = delete;
    TraceScope &operator=(const TraceScope &) = delete;

private:
    int m_exceptions;
};

// Reports a failure of `routine` to the user and returns the answer: 3 Abort,
// 4 Retry, 5 Ignore. `info` is "None" or the statements being run (several
// joined by CR LF). Goes to the innermost FailureReporter in force, otherwise
// to Ui().ReportFailure, which shows the error dialog. The dialog masks
// passwords itself; a reporter that shows `info` passes it through MaskPasswords.
int ReportFailure(const QnError &error, const QString &routine, const QString &info = QStringLiteral("None"));

// While it lives, failures reported through ReportFailure go to `report`
// instead of the Ui: a UI-free worker (copy, move, import) installs the
// callback it was given for the length of its run. Scopes nest; the innermost
// one answers.
class FailureReporter
{
public:
    using Report = std::function<int(const QnError &error, const QString &routine, const QString &info)>;
    explicit FailureReporter(Report report);
    ~FailureReporter();
    FailureReporter(const FailureReporter &) = delete;
    FailureReporter &operator=(const FailureReporter &) = delete;

private:
    friend int ReportFailure(const QnError &, const QString &, const QString &);
    Report m_report;
    FailureReporter *m_outer;
};

// What a procedure's own treatment of an error number decides.
enum class Treated {
    No,     // not treated: report it (ReportFailure)
    Resume, // the step counts as done; go on with the next one
    Exit,   // leave through the procedure's exit point
};

// The handler of one procedure. `step` runs one failing statement (or a few
// that must be repeated together): a failure goes first to `treat`, then to
// ReportFailure. Retry runs the step again, Ignore makes `step` return false
// (the caller leaves through its exit point), Abort ends the program.
class ErrorHandler
{
public:
    using Treatment = std::function<Treated(const QnError &)>;

    explicit ErrorHandler(QString routine, QString info = QStringLiteral("None"))
        : routine(std::move(routine)), info(std::move(info))
    {
    }

    bool step(const std::function<void()> &fn);

    QString routine;
    QString info;      // the additional information the dialog shows (or the SQL being run)
    Treatment treat;   // the numbers the procedure treats itself
    // Runs before the failure is reported, e.g. to roll back a transaction.
    std::function<void()> beforeDialog;
};

// Converts what a step threw into the program's one failure type.
QnError currentFailure(std::exception_ptr failure);

// Ends the program at once after an Abort answer: no further step runs.
[[noreturn]] void AbortProgram();

// The engine's error list (dao::Errors) as text: for each entry but the final
// ODBC-call failure (3146), a line break, "Error: &H" with its number in hex, a
// line break and its description (carriage returns as blanks), a line break;
// an entry whose description contains "isam" gives "D-ISAM Error: " with its
// code and message instead. Empty for an empty list.
QString FetchODBCErrors();
// The fixed message of a D-ISAM code 100 to 116; any other code in decimal.
QString FetchISAMError(int code);
