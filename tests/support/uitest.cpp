#include "uitest.h"

#include "core/frmqnerr.h"
#include "dao.h"
#include "ui.h"

void ResetErrorState()
{
    frmQNErr::Unload();
    dao::Errors::Clear();
    ui::setDialogParent(nullptr);
}

QnError failureOf(const std::function<void()> &fn)
{
    try {
        fn();
    } catch (const QnError &e) {
        return e;
    }
    ADD_FAILURE() << "no failure";
    return QnError(0, {});
}
