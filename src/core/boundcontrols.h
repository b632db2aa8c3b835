#pragma once

// Input controls bound to catalog columns: an editor's control arrays
// (txtProperty, cboDropdown, chkProperty) whose elements carry their column in
// the dynamic property "Tag"; CCtrls finds an element by its column.

#include <QPointer>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <memory>

#include "core/keyedcollection.h"

class QWidget;

namespace dao {
class Database;
class Recordset;
} // namespace dao

// One bound control.
class CCtrl
{
public:
    QString Key;
    QWidget *Control() const { return m_control.data(); }
    void SetControl(QWidget *vData) { m_control = vData; }

private:
    QPointer<QWidget> m_control;
};

// The bound controls of one control array, keyed by column name (letter case ignored).
class CCtrls
{
public:
    // Binds every element of `ControlArray`'s array on `Form`, in the form's
    // control order: under its Tag, or "<name>(<index>)" when the Tag is empty.
    // A repeated key fails with 457; the elements bound before stay.
    void BindControls(QWidget *Form, QWidget *ControlArray, bool Clear = true);
    CCtrl &Add(const QString &Key, QWidget *Control); // 457 when the key is taken
    // The control bound under `key` (5 when none) or at `position` from 1 (9 when none).
    QWidget *Item(const QString &key) const;
    QWidget *Item(int position) const;
    QWidget *operator()(const QString &key) const { return Item(key); }
    // The control bound under `key`; nullptr when none.
    QWidget *Find(const QString &key) const;
    int Count() const { return m_items.Count(); }
    void Remove(const QString &key) { m_items.Remove(key); }
    void Remove(int position) { m_items.Remove(position); }
    // The entries in the order of binding.
    QList<std::shared_ptr<CCtrl>> NewEnum() const { return m_items.Items(); }

private:
    KeyedCollection<CCtrl> m_items;
};

namespace modBoundControls {

// Fills a combo box or list widget with the first column of each row of `SQL`
// (a Null gives an empty item), a combo box with no item chosen and an empty
// text; returns the number of rows, 0 after an ignored failure.
long PopulateList(QWidget *ctl, dao::Database &db, const QString &SQL);
// Shows the current row of `rs` in every tagged element of `ctl`'s array on
// `frm`; the elements of the columns in `except` (passwords) keep their text.
// An element given a Null shows it as the empty text and keeps showing the
// stored Null (ShowsStoredNull) until it holds a text (NoteChange).
void PopulateFields(QWidget *frm, QWidget *ctl, const dao::Recordset &rs, const QStringList &except = {});
// True while `ctl` shows the stored Null it was filled with: a write of the row
// puts NULL back for it, not the empty text or 0.
bool ShowsStoredNull(const QWidget *ctl);
// Called on every change of a bound control's text: any text but the empty
// one ends the stored Null, so a box the user emptied again writes its text.
void NoteChange(QWidget *ctl);
// Enables or disables every element of `ctl`'s array, tagged or not.
void EnableControls(QWidget *frm, QWidget *ctl, bool Enabled);
// Puts `Value` into every element of `ctl`'s array: a combo box's list index
// (-1 clears the selection), a check box's state (0, 1, 2), a text box's text
// (which then shows no stored Null).
void SetControls(QWidget *frm, QWidget *ctl, const QVariant &Value);

} // namespace modBoundControls
