#include "errortrace.h"

#include <cstdlib>
#include <new>

#include "frmqnerr.h"
#include "ui.h"

TraceScope::TraceScope(const QString &name) : m_exceptions(std::uncaught_exceptions())
{
    frmQNErr::Push(name);
}

TraceScope::~TraceScope()
{
    if (std::uncaught_exceptions() <= m_exceptions)
        frmQNErr::Pop();
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
        QnError failure(0, {});
        try {
            fn();
            return true;
        } catch (const QnError &e) {
            failure = e;
        } catch (const std::exception &) {
            failure = currentFailure(std::current_exception());
        }
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
        switch (frmQNErr::OnError(failure, routine, info)) {
        case ui::vbRetry:
            continue;
        case ui::vbIgnore:
            return false;
        default:
            AbortProgram();
        }
    }
}
