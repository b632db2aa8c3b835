#pragma once

// Busy-cursor guards: hold one in a local variable for as long as
// a long operation runs; release it early with std::optional::reset().

#include <QCursor>
#include <QPointer>
#include <QWidget>
#include <optional>

// Shows the hourglass on the main window (ui::dialogParent(), the main window
// once it exists; nothing happens while there is none). On release the pointer
// that showed before comes back, but only while the hourglass is still showing:
// a pointer set meanwhile by anyone else stays.
class CMouseSleeper
{
public:
    CMouseSleeper();
    ~CMouseSleeper();
    CMouseSleeper(const CMouseSleeper &) = delete;
    CMouseSleeper &operator=(const CMouseSleeper &) = delete;

private:
    QPointer<QWidget> m_window;
    std::optional<QCursor> m_saved; // nothing: the default pointer (no cursor set)
};

// Shows the hourglass on one form from setForm until release, which always
// leaves the form with the default pointer.
class clsFormMouseSleeper
{
public:
    clsFormMouseSleeper() = default;
    ~clsFormMouseSleeper();
    clsFormMouseSleeper(const clsFormMouseSleeper &) = delete;
    clsFormMouseSleeper &operator=(const clsFormMouseSleeper &) = delete;

    // The write-only property Form: remembers the form (an earlier one is left
    // as it is) and puts the hourglass on it.
    void setForm(QWidget *form);

private:
    QPointer<QWidget> m_form;
};
