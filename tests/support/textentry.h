#pragma once

// Text entered into a box other than key by key, as a user enters it: pasted
// with Ctrl+V or the context menu, dropped, committed by an input method.
// `box` is a line edit or a text edit; the mouse's events of a text edit go to
// its viewport.

#include <QPoint>
#include <QString>

class QWidget;

namespace textentry {

// Ctrl+V with `text` on the clipboard, the box holding the focus; with `all`
// Ctrl+A first, so that the text replaces the box's.
void Paste(QWidget *box, const QString &text, bool all = false);
// A right-click on the box opens its context menu; a click on its Paste item.
void PasteFromMenu(QWidget *box, const QString &text);
// `text` dragged over the box and dropped at `at`; true when the box took the drop.
bool Drop(QWidget *box, const QString &text, QPoint at = QPoint(5, 5));
// An input method commits `text` to the box.
void Commit(QWidget *box, const QString &text);

} // namespace textentry
