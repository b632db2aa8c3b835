#include "mousesleeper.h"

#include "ui.h"

namespace {

bool showsHourglass(const QWidget *w)
{
    return w->testAttribute(Qt::WA_SetCursor) && w->cursor().shape() == Qt::WaitCursor;
}

} // namespace

CMouseSleeper::CMouseSleeper() : m_window(ui::dialogParent())
{
    if (!m_window)
        return;
    // The default pointer is no cursor of its own (a window keeps the arrow after unsetCursor).
    if (m_window->testAttribute(Qt::WA_SetCursor) && m_window->cursor().shape() != Qt::ArrowCursor)
        m_saved = m_window->cursor();
    m_window->setCursor(Qt::WaitCursor);
}

CMouseSleeper::~CMouseSleeper()
{
    if (!m_window || !showsHourglass(m_window))
        return;
    if (m_saved)
        m_window->setCursor(*m_saved);
    else
        m_window->unsetCursor();
}

void clsFormMouseSleeper::setForm(QWidget *form)
{
    m_form = form;
    if (m_form)
        m_form->setCursor(Qt::WaitCursor);
}

clsFormMouseSleeper::~clsFormMouseSleeper()
{
    if (m_form)
        m_form->unsetCursor();
    m_form = nullptr;
}
