#pragma once

// The single-record editor frame: one pane that shows one catalog row and lets
// the user add such a row, change it (its key included) or delete it. Every
// single-record editor derives from EditorFrame and configures it; nothing of
// the frame is copied into an editor.
//
// What the frame does
//   - The form (from EditorPane, editorpane.h): the title strip (picTitlebar,
//     imgIcon, the embossed lblTitle_0 and lblTitle_1), the corner picture
//     imgCorner, cmdAction (Enter, "&Add" or "&Update", shown only while adding
//     or editing, enabled at the first change) and cmdCancel (Esc).
//   - The bound controls: txtProperty_<n> text boxes, cboDropdown_<n> combos,
//     chkProperty_<n> check boxes, each carrying its catalog column in "Tag";
//     a combo or check box shows the value of its hidden twin, the txtProperty
//     element with the same Tag, and writes every user change back into it. The
//     text boxes alone hold the values: reads fill them, statements read them.
//   - Display, AddNew, Edit and Delete (PaneProtocol) with the modes on the
//     band: browse (band mode 0), read-only (mode 1, no action: IsSystemObject),
//     "<Word> Add", "<Word> Edit", "<Word> Delete" (mode 1), where <Word> is the
//     band's Tag ("DB", "Table", "User", ...).
//   - tbr_ButtonClick: "Up1" (the parent grid, then the parent folder's node
//     selected when it is in the tree), "<Word> Add/Edit/Delete", "OK" by the
//     pending mode, "Cancel" (the parent grid while adding, else the row again),
//     "Undo" (hook), any other key to OtherButton.
//   - The change handler: Undo and cmdAction enabled, twin to combo or check
//     box, the key-changed flag for the key columns, the cut of a Text or Char
//     column to its size. Changes the frame makes itself (the fills of Display,
//     AddNew, Edit, PopulateCombos, Undo; see Filling) count as no user change:
//     they neither set the flag nor enable Undo or cmdAction.
//   - Keystrokes: modGUI::ControlKeyPress on every bound box, type-ahead on the
//     combos; NumbersOnly boxes take only an optional "-" and digits, paste
//     included.
//   - Passwords (AddPassword, AddConfirm): the stored password never reaches a
//     control. A shown row puts Size-1 blanks into the password box and its
//     confirmation box (shown as "*"); blanks there mean "keep the stored
//     password" (PasswordGiven is false). The blanks are no part of a password:
//     the first character typed or pasted replaces them; letters are
//     upper-cased, other characters than [0-9A-Z_-] refused, paste included.
//     The focus selects the whole box. AddNew empties both boxes.
//   - The saves, each ONE unit (modUpdate::RunUnit): add = ValidateFields,
//     ConfirmSave, the parent rows read (Setup::parentRows; one deleted
//     meanwhile fails with 3021), the INSERT; edit = ValidateFields,
//     ConfirmSave, Rename (when the key-changed flag is set), the UPDATE (one
//     that changes no row fails with 3021: the row is gone; a box still
//     showing its stored Null writes NULL); delete = RefuseDelete,
//     ConfirmSave, the DeleteStatements, each announced on the status bar;
//     each unit ends with the editor's SaveStatements. A failure rolls the whole save back and asks
//     the error dialog with the failing statement; Retry runs the whole save
//     again; Ignore leaves the editor pending with nothing written. The tree steps run only after the
//     unit succeeded and skip nodes that are not in the tree (a collapsed
//     folder, an editor opened from a grid): an add reloads the folder and
//     starts the next row; an edit re-keys the row's node when its name changed,
//     reloads the folder and shows the row; a delete removes the node and shows
//     the parent grid. If the tree moved the current pane elsewhere, the editor
//     takes the pane back, so the band's clicks reach it.
//
// Building an editor on the frame
//   1. Derive: `class frmX : public EditorFrame` with a Setup (its form name,
//      catalog table, key columns with the row's own name last, the key-changed
//      columns, its node tag, parent grid pane, the combos that list only the
//      row's own value while browsing, the delete question, how a missing row
//      shows, the rows a new row goes under) and declare it by name in its .cpp:
//        [[maybe_unused]] static const bool declared = forms::Declare<frmX>(QStringLiteral("frmX"));
//      It also needs its row in core/panetable.cpp (keys, editor group, band);
//      its band (Tag = the band word) is made by the main window. The keys the
//      pane host passes are the data source, the parent key values and the
//      row's own name: the frame holds them as DataSource(), Parent(i) and
//      ShownKey() ("" while adding), and KeyAsRead() is the name as read.
//   2. Build the form in the constructor with AddPrompt, AddText, AddMemo,
//      AddTwin, AddCombo, AddCheck, AddUpDown, AddPassword and AddConfirm (all
//      direct children of the form; the creation order of the txtProperty boxes
//      is the column order of the INSERT), then PlaceButtons. A password is
//      validated with PasswordGiven, KeepBlankPassword and PasswordConfirmed
//      and written by UpdateSQL only when PasswordGiven.
//   3. Override the hooks: Title (the four titles), SelectSQL (the row's read),
//      CalcParentKey (the folder's node key), ValidateFields (Refuse gives the
//      message and the focus; RowExists runs a duplicate check), UpdateSQL
//      (UpdateStatement builds it), DeleteStatements (the cascade with its
//      status texts), and where needed IsSystemObject, RefuseDelete (a row
//      never deleted), ConfirmSave (questions before a save; Query reads),
//      SaveStatements and Saved (further statements of a save, and what
//      follows it), FillRow (a row's fill with its reactions), PopulateCombos
//      (PopulateCombo keeps each combo's text), PrepareNew (fills a new row's
//      parent keys), EnableEdit (extra controls; call the base), Rename (calls
//      the modUpdate writer; it runs inside the save's unit: never catch there,
//      return the writer's result), PrepareEdit (locks and focus of an edited
//      row), ConfirmDelete (more questions before a delete), PrepareInsert
//      (a last change of the boxes before the INSERT), InsertSQL,
//      RefreshFolder (the default reloads the folder by its child count, the
//      tree's ReloadFolder), ReKeyTree (the nodes that follow a rename),
//      RemoveFromTree (the tree after a delete), RowGone (a missing row
//      treated by the editor itself), Undo, PropertyChanged,
//      OtherButton, ComboValue/ShowComboValue (a combo that shows words for
//      stored numbers). Statements quote text with Quote and
//      write numbers through UpdateStatement / modDatabase::NumberSQL; a number
//      box gets NumbersOnly and is checked in ValidateFields with WholeNumber
//      against its range (its range message for anything else).
//   4. Tests: the frame's own behaviour (modes, band, twins, flags, Enter and
//      Esc, units with Retry and Ignore, tree steps, pane return) is tested
//      once with the database editor as its fixture (tests/editors). An
//      editor's tests use EditorOf<frmX> (tests/editors/editorfixture.h: the
//      host's entries, the band's state, clickBand, row counts) and cover only
//      what is its own: its layout and texts, its
//      validation table (message and focus, nothing written), its exact
//      statements (modUpdate::LastStatements(), the stand-in rows), its
//      cascade and its read-only rows, driven through the pane host as a user
//      would (click, type, press keys).

#include <QPointer>
#include <QString>
#include <QStringList>
#include <QToolBar>
#include <QWidget>
#include <functional>
#include <optional>

#include "core/boundcontrols.h"
#include "dao.h"
#include "editorpane.h"

class ErrorHandler;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QToolButton;

// The up-down buttons beside a number box (spnUpDn_<n>): a click steps the
// box's whole number by one within Min and Max, as typing would.
class UpDown : public QWidget
{
    Q_OBJECT
public:
    UpDown(QWidget *parent, QLineEdit *buddy, int min, int max);
    int Min, Max;
    QToolButton *up = nullptr;
    QToolButton *down = nullptr;

private:
    void step(int by);
    QLineEdit *m_buddy;
};

class EditorFrame : public EditorPane
{
    Q_OBJECT
public:
    // The entries whose titles an editor gives.
    enum class Entry { Display, Add, Edit, Delete };

    // PaneProtocol. `keys`: the data-source name, then the row's key values
    // (AddNew: without the row's own name).
    int Display(const QStringList &keys) override;
    void AddNew(const QStringList &parentKeys) override { AddNewRow(parentKeys); }
    void Edit(const QStringList &keys) override { EditRow(keys); }
    void Delete(const QStringList &keys) override { DeleteRow(keys); }
    void tbr_ButtonClick(const QString &key) override;
    // The same entries with their results: 0 when shown, -1 when nothing was
    // shown (no open database, or a failure ignored before the form showed).
    int AddNewRow(const QStringList &parentKeys);
    int EditRow(const QStringList &keys);
    int DeleteRow(const QStringList &keys);

    // Fills the combo lists, each combo keeping its text (AddNew and Edit).
    virtual void PopulateCombos() {}
    // Checks the values; at the first failure: its message, the focus, false.
    virtual bool ValidateFields() = 0;
    // Enables or disables every bound control (and the editor's own extras).
    virtual void EnableEdit(bool State);
    // The node key of the row's collection folder, and of the row shown.
    virtual QString CalcParentKey() const = 0;
    QString CalcNodeKey() const { return NodeKeyOf(m_shownKey); }

    // A whole number typed into a number box: an optional "-" and up to nine
    // digits, the empty text as `emptyValue`; nothing for anything else.
    static std::optional<long> WholeNumber(const QString &text, long emptyValue = 0);

    // The state, as the band and the editor hold it.
    QString EditorMode() const;          // the pending action on the band's "OK"
    const QString &ShownKey() const { return m_shownKey; }   // the row's name; "" while adding
    const QString &KeyAsRead() const { return m_keyAsRead; } // the name as the row was read
    bool KeyChanged() const { return m_keyChanged; }
    // Whether an edit's save runs the rename writer: the key-changed flag, and
    // with Setup::renameOnlyNewName a name that differs from the one read.
    bool NameChanged() const;
    QString DataSource() const; // the open database's Name
    // The text of the box bound to `column` (the twin for a combo's column).
    QString Text(const QString &column) const;

    // The binders of the bound controls, keyed by column.
    CCtrls mTextCtrls, mComboCtrls, mCheckCtrls;

protected:
    // A catalog row a new row refers to (its parent, a privilege's user): the
    // row of `table` whose `columns` hold the new row's values of those columns.
    struct ParentRow
    {
        QString table;
        QStringList columns;
    };
    struct Setup
    {
        QString form;                 // the form's name: "frmDatabase"
        QString table;                // its catalog table: "QN_DB"
        QStringList keyColumns;       // the key after the data source, the row's own name last
        QStringList keyChangeColumns; // columns whose change sets the key-changed flag (empty: keyColumns)
        QString nodeTag;              // the row's tag in its node key: "db"
        QString parentGrid;           // the grid pane of its collection: "frmDatabases"
        QStringList rowListColumns;   // combos listing only the row's own value while it is shown
        QString deleteQuestion;       // asked by Delete
        bool missingRowShowsEmpty = false; // a missing row: an empty form (else 3021 with the SELECT)
        bool busyCursor = true;            // the busy cursor during a band click
        bool emptyBeforeRead = true;       // Display empties the boxes before its read
        bool renameOnlyNewName = false;    // a name typed back to the one read is no rename
        QList<ParentRow> parentRows = {};  // read first in an add's unit: one gone fails with 3021
    };
    explicit EditorFrame(Setup setup);

    // One statement of a delete, announced by its status text ("" for none).
    struct Statement
    {
        QString status;
        QString sql;
    };

    // ---- hooks
    virtual QString Title(Entry entry) const = 0;
    // The row's read (Display).
    virtual QString SelectSQL() const = 0;
    // Display found no row and the editor deals with that itself (its message,
    // its tree step): true, and Display returns -1 without the error dialog.
    virtual bool RowGone() { return false; }
    // A row shown read-only (the catalog's own objects).
    virtual bool IsSystemObject() const { return false; }
    // After AddNew emptied the form and enabled it: the new row's fixed values.
    virtual void PrepareNew() {}
    // After Edit enabled the form: the locks and the focus of the row shown.
    virtual void PrepareEdit() {}
    // Delete's question(s), after RefuseDelete; true deletes. By default the delete question.
    virtual bool ConfirmDelete();
    // The add's save, after ValidateFields and before the INSERT is built: last changes of the boxes.
    virtual void PrepareInsert() {}
    // Display: puts the row read into the boxes (by default PopulateFields);
    // nullptr when no row was found and missingRowShowsEmpty holds.
    virtual void FillRow(const dao::Recordset *rs);
    virtual QString InsertSQL() const;
    virtual QString UpdateSQL() const = 0;
    // Runs inside the edit's unit when the key-changed flag is set: the rename
    // writer from the name as read to the new one. Returns its result.
    virtual bool Rename(const QString &oldName, const QString &newName);
    virtual QList<Statement> DeleteStatements() const = 0;
    // A row the editor will not delete: shows why and returns true. Delete asks
    // it instead of its question (the delete mode stays; `committing` false),
    // the OK of the delete mode before anything else (nothing is deleted).
    virtual bool RefuseDelete(bool committing);
    // Before a save's unit (add and edit: after ValidateFields): the editor's
    // own questions; false ends the click with nothing written.
    virtual bool ConfirmSave(Entry entry);
    // Inside a save's unit, after its own statements: the editor's further
    // statements (modUpdate::UnitExecute, UnitOpen); a failure undoes the save.
    virtual void SaveStatements(Entry) {}
    // After a save's unit was written, before the tree steps.
    virtual void Saved(Entry) {}
    // The tree after an add or an edit: by default the folder reloaded by its child count.
    virtual void RefreshFolder();
    // The tree after a rename was written: by default the row's node re-keyed.
    virtual void ReKeyTree(const QString &oldName, const QString &newName);
    // The tree after a delete was written: by default the row's node removed.
    virtual void RemoveFromTree();
    // "Undo" by the pending mode: AddNew or Edit again (the band's Undo is disabled after).
    virtual void Undo();
    // After the frame's change handling of a box (typed or filled).
    virtual void PropertyChanged(QWidget *, const QString &) {}
    // A band key the frame does not know; true when handled.
    virtual bool OtherButton(const QString &) { return false; }
    // The twin value of a combo's choice, and the combo showing a twin value.
    virtual QString ComboValue(const QComboBox *combo) const;
    virtual void ShowComboValue(QComboBox *combo, const QString &value);

    // ---- building the form (every control a direct child of the form)
    QLabel *AddPrompt(int index, const QString &caption, const QRect &at, QWidget *buddy = nullptr, bool bold = false);
    QLineEdit *AddText(int index, const QString &column, const QRect &at, const QString &tip = {});
    QPlainTextEdit *AddMemo(int index, const QString &column, const QRect &at, const QString &tip = {});
    // The hidden twin of a combo or check box.
    QLineEdit *AddTwin(int index, const QString &column, const QRect &at);
    QComboBox *AddCombo(int index, const QString &column, const QRect &at, const QString &tip = {},
                        bool editable = true);
    QCheckBox *AddCheck(int index, const QString &column, const QString &caption, const QRect &at,
                        const QString &tip = {});
    UpDown *AddUpDown(int index, QLineEdit *buddy, int min, int max, const QRect &at);
    // The password box of `column` (a txtProperty element) and its unbound
    // confirmation box txtConfirm (outside the array, filtered as the column).
    QLineEdit *AddPassword(int index, const QString &column, const QRect &at, const QString &tip = {});
    QLineEdit *AddConfirm(const QString &column, const QRect &at);

    // ---- services
    // The data source's open database; one whose connection was lost is taken
    // again from the registry (91 when it cannot be connected).
    dao::Database &db() const;
    const dao::Fields &FieldInfo() const { return m_fields; }
    QWidget *Box(const QString &column) const;     // the txtProperty element of the column
    QComboBox *Combo(const QString &column) const; // the cboDropdown element of the column
    void SetText(const QString &column, const QString &text);
    // The key values between the data source and the row's name ("" when absent).
    QString Parent(int index) const { return m_parents.value(index); }
    QStringList ParentKeys() const; // data source and parents
    QStringList RowKeys() const;    // and the row's name
    QString NodeKeyOf(const QString &name) const;
    // "'" & EscapeQuotes(value) & "'"
    static QString Quote(const QString &value);
    // "UPDATE <table> SET C = v, ... WHERE <where>": each column's box, quoted
    // for a text column, a checked number (modDatabase::NumberSQL) otherwise;
    // NULL for a box that still shows the stored Null it was filled with.
    QString UpdateStatement(const QStringList &columns, const QString &where) const;
    // Refills the combo of `column` from `sql`, keeping its text.
    void PopulateCombo(const QString &column, const QString &sql);
    // Validation: the message (information icon), the focus on `focus`, false.
    bool Refuse(const QString &message, QWidget *focus);
    // The rows of `sql` (a snapshot); a failure is the click's, with `sql`.
    std::unique_ptr<dao::Recordset> Query(const QString &sql);
    // True when `sql` returns a row; a failure is the click's, with `sql`.
    bool RowExists(const QString &sql);
    // The first value `sql` returns, as text: a total of the catalog (a SUM
    // over no rows, which is Null, and no row at all give "0").
    QString Total(const QString &sql) const;
    // A password typed into the box of `column` (not blank after trimming).
    bool PasswordGiven(const QString &column) const;
    // Validation of a password left blank under a new name: the question whether
    // to give one now; Yes puts the focus into the password box and gives false.
    bool KeepBlankPassword(const QString &column);
    // Validation of a typed password: its confirmation must be the same text,
    // else the message, the focus in the password box, false.
    bool PasswordConfirmed(const QString &column);
    // Lets `box` take only an optional leading "-" and digits, pasted text included.
    static void NumbersOnly(QLineEdit *box);
    // The parent grid pane of the collection.
    void ShowParentGrid();
    // Tree steps; each skips a node that is not in the tree and reports nothing.
    static void RemoveNode(const QString &key);
    static void ReKeyNode(const QString &oldKey, const QString &newKey, const QString &name);
    static void SelectNode(const QString &key);
    // Runs a tree step; a failure is not the save's (the step reports its own).
    static void TreeStep(const std::function<void()> &step);

    // While one lives, changes of the bound controls are the frame's own fills.
    class Filling
    {
    public:
        explicit Filling(EditorFrame *frame) : m_frame(frame) { ++m_frame->m_filling; }
        ~Filling() { --m_frame->m_filling; }
        Filling(const Filling &) = delete;
        Filling &operator=(const Filling &) = delete;

    private:
        EditorFrame *m_frame;
    };
    bool IsFilling() const { return m_filling > 0; }

    // The held key values.
    QStringList m_parents;
    QString m_shownKey;
    QString m_keyAsRead;
    bool m_keyChanged = false;

private:
    void Form_Load();
    bool open(ErrorHandler &handler, const QString &dataSource);
    void fetchFieldInfo();
    void txtProperty_Change(QWidget *box);
    void cboDropdown_Change(QComboBox *combo);
    void chkProperty_Click(QCheckBox *check);
    void writeTwin(QWidget *control, const char *procedure, const std::function<QString()> &value);
    void setMode(int mode, const QString &action);
    void addCommit();
    void editCommit();
    void deleteCommit();
    void returnToPane();
    QString word() const;
    QString nameColumn() const { return m_setup.keyColumns.value(m_setup.keyColumns.size() - 1); }
    void emptyBoxes();
    // The password boxes: the blanks of a stored password, or empty for a new row.
    void showPasswords(bool stored);
    QStringList passwordColumns() const;

    struct Password
    {
        QString column;
        QPointer<QLineEdit> box, confirm;
    };
    QList<Password> m_passwords;

    Setup m_setup;
    bool m_loaded = false;
    mutable dao::DatabasePtr m_db; // db() takes it again when it was lost
    dao::Fields m_fields;
    bool m_filtersInstalled = false;
    int m_filling = 0;
    ErrorHandler *m_click = nullptr; // the handler of the band click under way
};
