#pragma once

// The error convention: procedures keep a trace of where they are, and a
// procedure with a handler runs its failing statements as steps that the
// user may retry, ignore or abort from the error dialog.

#include <QString>
#include <exception>
#include <functional>

#include "qnerror.h"

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

// What a procedure's own treatment of an error number decides.
enum class Treated {
    No,     // not treated: ask the error dialog
    Resume, // the step counts as done; go on with the next one
    Exit,   // leave through the procedure's exit point
};

// The handler of one procedure. `step` runs one failing statement (or a few
// that must be repeated together): a failure goes first to `treat`, then to
// the error dialog. Retry runs the step again, Ignore makes `step` return
// false (the caller leaves through its exit point), Abort ends the program.
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
    // Runs before the dialog shows, e.g. to roll back a transaction.
    std::function<void()> beforeDialog;
};

// Converts what a step threw into the program's one failure type.
QnError currentFailure(std::exception_ptr failure);

// Ends the program at once after an Abort answer: no further step runs.
[[noreturn]] void AbortProgram();
