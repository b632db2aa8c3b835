#pragma once

// The list panes' one framework: a pane lists one catalog collection in a grid
// and edits it in place, cell by cell; a changed row is validated and written
// when the current row leaves it; an editable pane ends with an empty new row.
//
// Building a list pane on it
// --------------------------
// 1. Declare. Derive from GridPane, give the form its name (setObjectName, the
//    name of its row in PaneTable, which says how many key parts Display
//    gets), and call SetParticulars once in the constructor:
//      - catalogTable: the table whose fields filter the editors' keys;
//      - columns, in the order of the fill query's select list, each a
//        Column("CATALOG_NAME") with, as needed: .List(i) / .Lookup(i) /
//        .Password() (the editor; Text otherwise; a password box opens
//        empty, and what is typed into it becomes NewPassword() while its
//        cell keeps the mask), .Key() (a change re-keys
//        the row: DELETE and INSERT; .Key(true) when the column is part of the
//        row's identity in the catalog), .Kept() (kept with the keys from the
//        row's first opening without being a key), .Number() (whole numbers
//        only: its editor refuses anything else, typed or pasted), .YesNo(),
//        .Words(list) or .Mask() (how a stored value shows after the fill),
//        .NewRow("text") (its text in the new row);
//      - lists: the stored items of each cboCell(i) (empty: filled by
//        PopulateCombos); lookups: how many ctlLUCell(i) there are (a
//        ctlLUCell whose TextEnabled is false takes no typed character: a key
//        typed on its cell only opens it; Backspace and "." still empty it);
//        titleAfterConnect, editorFollowsScroll where the pane has them.
//    Captions and alignments come from the query (modGrid::PopulateGrid).
//    Declare the form by name in the pane's own .cpp:
//      [[maybe_unused]] const bool declared = forms::Declare<frmX>(QStringLiteral("frmX"));
// 2. Supply what is the pane's own by overriding the hooks below: Title,
//    Query, ValidateCell (the rule of one column: its message, or empty when
//    it passes; columns are checked in order and the first failure stops),
//    DeleteSQL / InsertSQL / UpdateSQL (the statement texts: the row's cells
//    through Quoted, Number, Flag and Code, which keep a stored Null the
//    user did not change; the former keys through OrigKey and Esc),
//    FolderKey; where the pane has them: ParentSQL, PopulateCombos,
//    IsReadOnly, RefuseCell, ListChanged, ListDropDown, LookupClick (with
//    SetEditorText: a different text is an edit of the cell), LookupRoutine,
//    NewRow, UpTarget.
//    Everything else is the framework's: the fill, the value words, the
//    editors over the current cell, the keys, the validation order, the
//    commit and the tree refresh.
// 3. Commit. The framework writes a validated row as ONE unit
//    (modUpdate::RunUnit on the data source, routine "frmColumns.EnterCell"):
//    the UPDATE, or the DELETE under the former keys and the INSERT when a key
//    changed (for the new row the INSERT, after reading its ParentSQL row).
//    An UPDATE or DELETE that changes no row, or a parent row gone, fails the
//    unit with 3021 (no current record). A failure rolls the unit back and
//    shows the error dialog: Retry writes again, Ignore gives the change up
//    (the row shows again what it held when its editing began), Abort ends
//    the program. Without transactions a re-key whose identity changed
//    inserts before it deletes. After a write: a fresh new row when the new
//    row was written, then modGUI::RefreshNodePath(FolderKey()) with the row
//    already clean. Esc, in an editor or in the grid, gives up the changes
//    of the row being edited (it shows again what it held when its editing
//    began; a new row its defaults) and stays on the current cell. An editor
//    that loses the focus to the grid moves the current cell on; one that
//    loses it outside the pane (the tree, a menu) ends its edit on its cell,
//    the row's checks waiting until the row or the pane is left, so that
//    they never take the click that leaves the pane. Before the host hides
//    or refills the pane (QueryLeave) the row is left the same way; a row
//    its checks refuse then asks whether to discard its changes: Yes gives
//    them up and the pane goes, No keeps the pane on the row.
// 4. Test. Drive the pane as a user would, with the PaneTest fixture of
//    tests/panes/panefixture.h: show<frmX>(name, keys) through the pane host,
//    then click(), doubleClick(), key(), type(), edit(), pick(), empty(),
//    lookup(), dropDown(), clickItem() and pickFromList() on the cells of
//    `grd` and the editor that opens (txtCell, cboCell_i, ctlLUCell_i); a
//    list is dropped down with the mouse and its item clicked with the event
//    loop running; leave the row (expectRule() for a rule's
//    message), then compare Statements() with the exact texts and the catalog
//    rows with what the grid shows; answer message boxes and the error dialog
//    with ScriptedUi, fail statements with dao::Faults. Test the pane's own
//    particulars only: the framework's behaviour is covered once, over the
//    Files pane (tests/panes/framework_test.cpp).

#include <QPointer>
#include <QStringList>
#include <QWidget>
#include <functional>
#include <optional>

#include "dao.h"
#include "panehost/panelook.h"
#include "panehost/paneprotocol.h"
#include "panes/modgrid.h"

class CConnection;
class QComboBox;
class QLineEdit;
class QRegularExpressionValidator;
class ctlTextLookup;

class GridPane : public QWidget, public PaneProtocol
{
    Q_OBJECT
public:
    enum class Editor { Text, Password, List, Lookup };
    enum class Shown { Stored, YesNo, Words, Mask };

    // One grid column: its catalog column, editor and rules.
    struct Column
    {
        explicit Column(QString catalogName) : name(std::move(catalogName)) {}
        Column &List(int element) { editor = Editor::List, this->element = element; return *this; }
        Column &Lookup(int element) { editor = Editor::Lookup, this->element = element; return *this; }
        Column &Password() { editor = Editor::Password; return *this; }
        Column &Key(bool partOfIdentity = false) { key = kept = true, identity = partOfIdentity; return *this; }
        Column &Kept() { kept = true; return *this; }
        Column &Number() { number = true; return *this; }
        Column &YesNo() { shown = Shown::YesNo; return *this; }
        Column &Words(QStringList list) { shown = Shown::Words, words = std::move(list); return *this; }
        Column &Mask() { shown = Shown::Mask; return *this; }
        Column &NewRow(QString text) { newRow = std::move(text); return *this; }

        QString name;
        Editor editor = Editor::Text;
        int element = 0;
        bool key = false;
        bool kept = false;
        bool identity = false;
        bool number = false;
        Shown shown = Shown::Stored;
        QStringList words;
        QString newRow;
    };

    struct Particulars
    {
        QString catalogTable;
        QList<Column> columns;
        QList<QStringList> lists; // one per cboCell(i): its stored items, or empty
        int lookups = 0;          // ctlLUCell(0) .. ctlLUCell(lookups - 1)
        bool titleAfterConnect = false;
        // Scrolling the grid keeps the editor open, laid over the current
        // cell, instead of moving the current cell on.
        bool editorFollowsScroll = false;
    };

    // The parent row's editor that "Up1" shows, after revealing `nodeKey`.
    struct Up
    {
        QString nodeKey;
        QString form;
        QStringList keys;
    };

    static const QString kMask; // "**********"

    explicit GridPane(QWidget *parent = nullptr);

    // keys: the data-source name, then the pane's key parts. -1 when the data
    // source has no connection (nothing shown), 0 once shown.
    int Display(const QStringList &keys) override;
    // Any button of the pane's band: Up to the parent's editor, when the pane has one.
    void tbr_ButtonClick(const QString &key) override;
    // The row being edited is left as a click on the header leaves it (its
    // checks, messages and write); a row the checks refuse is discarded or
    // kept as the user answers. False while it stays changed.
    bool QueryLeave() override;

    // The open editor's key handling: Enter and Esc end the edit (Esc gives
    // up the row's changes and stays on the cell), a list editor
    // completes from its list, the others filter by the column's catalog field.
    int Cell_Keypress(int KeyAscii);

    // The statements the latest cell change ran (its checks and writes), and
    // the latest lookup's query.
    const QStringList &Statements() const { return m_statements; }

    // Controls.
    QWidget *picTitlebar = nullptr;
    panelook::EmbossedTitle lblTitle;
    GridView *grd = nullptr;
    QList<QLineEdit *> txtCell; // one, or two ("txtCell_0" plain, "txtCell_1" password)
    QList<QComboBox *> cboCell;
    QList<ctlTextLookup *> ctlLUCell;

    // Edit state, for the pane's hooks (and tests).
    int EditRow() const { return m_editRow; }
    int EditCol() const { return m_editCol; }
    bool RowDirty() const { return m_rowDirty; }
    bool KeyChanged() const { return m_keyChanged; }
    bool ReadOnly() const { return m_readOnly; }
    // The editor in use (txtCell, a cboCell or a ctlLUCell) and whether it shows.
    QWidget *CellEditor() const { return m_editor; }
    bool EditorVisible() const;

protected:
    // --- the pane's particulars and hooks ---
    void SetParticulars(Particulars particulars);
    const Particulars &Spec() const { return m_spec; }

    virtual QString Title(const QStringList &keys) const = 0;
    virtual QString Query() const = 0;
    // Fills the run-time lists; Display calls it before the fill.
    virtual void PopulateCombos() {}
    virtual bool IsReadOnly() const { return false; }
    // True when no editor may open on (row, col); asked after the row's keys
    // were taken. A rule on the row's name tests the stored one (OrigKey),
    // so that a typed name a check refused can still be corrected.
    virtual bool RefuseCell(int /*row*/, int /*col*/) const { return false; }
    // A new value of cboCell(element): a changed text, and every pick of an
    // item from its list (a click or Enter), the item it already shows
    // included (not while an editor opens).
    virtual void ListChanged(int /*element*/, const QString & /*text*/) {}
    // cboCell(element) is about to drop down.
    virtual void ListDropDown(int /*element*/) {}
    // The button of ctlLUCell(element). Failures go to the error dialog under LookupRoutine.
    virtual void LookupClick(int /*element*/) {}
    virtual QString LookupRoutine() const { return objectName() + QStringLiteral(".ctlLUCell_ButtonClick"); }
    // Defaults of the new row `row` beyond the columns' NewRow texts.
    virtual void NewRow(int /*row*/) {}
    // The rule of column `col` of `row`: its message, or empty when it passes.
    virtual QString ValidateCell(int row, int col) = 0;
    virtual QString DeleteSQL() = 0;
    virtual QString InsertSQL() = 0;
    virtual QString UpdateSQL() = 0;
    // The node key the tree reloads after a write.
    virtual QString FolderKey() const = 0;
    // The query of the catalog row the collection belongs to (a database, a
    // table, a file); empty when it belongs to the data source. The new row's
    // INSERT reads it first, in the same unit, and fails with 3021 when it is gone.
    virtual QString ParentSQL() const { return {}; }
    virtual std::optional<Up> UpTarget() const { return std::nullopt; }

    // --- services for the hooks ---
    const QStringList &Keys() const { return m_keys; } // data-source name first
    QString Datasource() const { return m_ds; }
    // The data source's open database (connecting it again when it was lost); 91 when none.
    dao::Database &Db() const;
    // The data source's connection (its type caches); 91 when none.
    CConnection &Connection() const;
    // The field of `column` in the catalog table, when it has one.
    std::optional<dao::Field> CatalogField(const QString &column) const;
    // The text of column `col` of the row being edited, or of `row`.
    QString Cell(int col) const { return grd->TextMatrix(m_editRow, col); }
    QString Cell(int row, int col) const { return grd->TextMatrix(row, col); }
    // Sets a cell of the row being edited (a list reaction); a different
    // text leaves the cell and the row changed.
    void SetCell(int col, const QString &text);
    // The text of a kept column at the row's first opening; empty for the new row.
    QString OrigKey(int col) const { return m_origKeys.value(col); }
    // True while the row being edited is the new row.
    bool EditingNewRow() const { return m_editNewRow; }
    // The password typed into the row being edited since its first opening; empty when none.
    QString NewPassword() const { return m_newPassword; }
    // Text as it goes between apostrophes.
    static QString Esc(const QString &text);
    // True when the cell `col` of the row being edited showed a stored Null at
    // the row's first opening and has not been changed since: it writes NULL.
    bool KeptNull(int col) const;
    // The cells of the row being edited as they go into its statements; a
    // kept Null gives NULL in each.
    // A text cell between apostrophes.
    QString Quoted(int col) const;
    // A number cell: a changed one as its whole number in decimal ("NULL"
    // when empty; 380 for anything else), an unchanged one as stored
    // (modDatabase::StoredNumberOrNullSQL).
    QString Number(int col) const;
    static QString NumberText(const QString &text);
    // A Yes/No cell as 1 or 0 (modGrid::ToBoolean).
    QString Flag(int col) const;
    // A cell of value words as its word's position in the column's Words (0 for any other text).
    QString Code(int col) const;
    // True when `sql` finds a row (the first column of it into `first`). A
    // failure goes to the error dialog under the running routine; Ignore
    // counts as no row.
    bool Exists(const QString &sql, QString *first = nullptr);
    // A query of a lookup (recorded; its failure passes to the lookup's handler).
    std::unique_ptr<dao::Recordset> OpenQuery(const QString &sql);
    // The open editor's text: set as if typed (a different text is an edit).
    QString EditorText() const;
    void SetEditorText(const QString &text);
    // A message box with the information icon and the application title.
    static void Inform(const QString &message);
    // Refills cboCell(element) from `sql` keeping its text (unchanged, not an edit).
    void RefillList(int element, const QString &sql);
    void RefillList(int element, const QStringList &items);

    // The framework's procedures, by their names.
    bool grd_DblClick();
    void grd_EnterCell(int row, int col);
    void grd_KeyPress(QKeyEvent *event, bool &handled);
    void grd_Scroll();
    void CellLostFocus();
    void AddNewRow(bool makeCurrent);
    void Form_Resize();

    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    const Column &column(int col) const { return m_spec.columns.at(col); }
    QWidget *editorFor(int col) const;
    QLineEdit *editorLine() const;
    bool holdsFocus(const QWidget *widget) const;
    void setEditorTextOpening(const QString &text);
    void closeEditor();
    void writeBack();
    void takeKeys(int row);
    void clearEditState();
    void showWords();
    void leaveRow();
    bool validateRow(int row, int &failing);
    bool writeRow();
    void revertRow();
    void touch(int col);
    void tab();
    void lookupClicked(int element);

    Particulars m_spec;
    QStringList m_keys;
    QString m_ds;
    dao::Fields m_catalogFields;
    QRegularExpressionValidator *m_numberValidator = nullptr;

    QWidget *m_editor = nullptr;
    int m_editRow = -1, m_editCol = -1;
    QString m_origText;
    QStringList m_origKeys;  // per column: the kept columns' texts at the first opening
    QStringList m_origRow;   // the whole row at the first opening
    QList<bool> m_origNull;  // per column: a stored Null at the first opening
    QList<bool> m_touched;   // per column: changed since the first opening
    QString m_newPassword;
    bool m_editNewRow = false;
    bool m_cellDirty = false;
    bool m_rowDirty = false;
    bool m_keyChanged = false;
    bool m_readOnly = false;
    bool m_busy = false;
    bool m_opening = false;
    int m_suppress = 0;     // cell changes made by the pane itself
    unsigned m_change = 0;  // counts cell changes and openings (a focus loss acts only if none came since)
    QString m_routine;      // the handler's routine of the running procedure
    QStringList m_statements;
};
