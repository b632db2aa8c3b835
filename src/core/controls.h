#pragma once

// Control arrays and the default value of a control: an element of a control
// array is named "<array>_<index>" and carries its catalog column in the
// dynamic property "Tag". The array routines raise 91 for a missing control.

#include <QList>
#include <QString>
#include <QVariant>

class QWidget;

namespace controls {

// The array name of a control: "txtProperty" for "txtProperty_3", the name itself otherwise.
QString ArrayName(const QWidget *control);
// The index of an array element; -1 for a control outside an array.
int ArrayIndex(const QWidget *control);
// The control's "Tag" (empty when none).
QString Tag(const QWidget *control);
// Every control of `form` that belongs to the array `name`, in the order the form created them.
QList<QWidget *> ArrayElements(const QWidget *form, const QString &name);
// The control's default value: a text box's text, a combo box's text, a check box's 0, 1 or 2 (greyed).
QString Text(const QWidget *control);
// Sets a text box's text (or an editable combo box's text); 438 for a control without text.
void SetText(QWidget *control, const QString &text);

} // namespace controls
