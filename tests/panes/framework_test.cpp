// The list panes' framework, over the particulars of the Files pane: keys,
// editors over the current cell, refused cells, validation order and commit.

#include <QClipboard>
#include <QGuiApplication>
#include <QScrollBar>
#include <QStyle>
#include <QTreeView>

#include "panefixture.h"
#include "panes/frmfiles.h"
#include "settings.h"

namespace {

class Framework : public PaneTest
{
protected:
    frmFiles &files() { return show<frmFiles>(QStringLiteral("frmFiles"), {QStringLiteral("QnTest")}); }
};

const QString kCustomer = QStringLiteral("CUSTOMER||133|INDEXED|FIXED|Customer master");

// Each case starts on a freshly shown pane with the CUSTOMER row's cell
// `start` current (a click), does `act`, and then finds the current cell,
// the editor showing (with its text) and the CUSTOMER row as given.
TEST_F(Framework, KeysAndEditors)
{
    using Act = std::function<void(Framework &, frmFiles &)>;
    auto keys = [](std::initializer_list<Qt::Key> given) {
        return [list = std::vector<Qt::Key>(given)](Framework &, frmFiles &) {
            for (Qt::Key k : list)
                key(k);
        };
    };
    auto typed = [](const char *text) { return [text](Framework &, frmFiles &) { type(QString::fromLatin1(text)); }; };
    const struct Case
    {
        const char *name;
        QPoint start; // column, row
        Act act;
        QPoint cell;         // current cell after
        const char *editor;  // the editor showing, "" for none
        const char *text;    // its text
        const char *rowText; // the CUSTOMER row after; nullptr: unchanged
        bool dirty;
    } cases[] = {
        {"right arrow moves one cell", {0, 0}, keys({Qt::Key_Right}), {1, 0}, "", "", nullptr, false},
        {"down arrow moves one row", {1, 0}, keys({Qt::Key_Down}), {1, 1}, "", "", nullptr, false},
        {"Tab moves right", {0, 0}, keys({Qt::Key_Tab}), {1, 0}, "", "", nullptr, false},
        {"Tab at the last column goes to the next row", {5, 0}, keys({Qt::Key_Tab}), {0, 1}, "", "", nullptr, false},
        {"Esc in the grid does nothing", {2, 0}, keys({Qt::Key_Escape}), {2, 0}, "", "", nullptr, false},
        {"F2 opens nothing", {2, 0}, keys({Qt::Key_F2}), {2, 0}, "", "", nullptr, false},
        {"Enter opens the text editor", {1, 0}, keys({Qt::Key_Return}), {1, 0}, "txtCell", "", nullptr, false},
        {"Enter on the record size opens the lookup editor", {2, 0}, keys({Qt::Key_Return}), {2, 0}, "ctlLUCell_0",
         "133", nullptr, false},
        {"Enter on the organisation opens its list", {3, 0}, keys({Qt::Key_Return}), {3, 0}, "cboCell_0", "INDEXED",
         nullptr, false},
        {"a double-click opens the editor",
         {5, 0},
         [](Framework &, frmFiles &f) { doubleClick(f, 0, 5); },
         {5, 0},
         "txtCell",
         "Customer master",
         nullptr,
         false},
        {"a typed character opens the editor with it, filtered", {1, 0}, typed("a b"), {1, 0}, "txtCell", "A_B",
         nullptr, false},
        {"remarks take any character", {5, 0}, typed("x y"), {5, 0}, "txtCell", "x y", nullptr, false},
        {"a typed character picks from a list", {3, 0}, typed("s"), {3, 0}, "cboCell_0", "SEQUENTIAL", nullptr, false},
        {"Backspace opens the editor empty", {5, 0}, keys({Qt::Key_Backspace}), {5, 0}, "txtCell", "", nullptr, false},
        {"a full stop opens the editor empty", {5, 0}, typed("."), {5, 0}, "txtCell", "", nullptr, false},
        {"Enter in the editor writes the cell back and moves on",
         {1, 0},
         [](Framework &, frmFiles &) {
             key(Qt::Key_Return);
             type(QStringLiteral("x"));
             key(Qt::Key_Return);
         },
         {2, 0},
         "",
         "",
         "CUSTOMER|X|133|INDEXED|FIXED|Customer master",
         true},
        {"Esc in the editor keeps the cell and stays on it",
         {1, 0},
         [](Framework &, frmFiles &) {
             key(Qt::Key_Return);
             type(QStringLiteral("x"));
             key(Qt::Key_Escape);
         },
         {1, 0},
         "",
         "",
         nullptr,
         false},
        {"an editor left unchanged leaves the row clean", {1, 0}, keys({Qt::Key_Return, Qt::Key_Return}), {2, 0}, "",
         "", nullptr, false},
        {"Tab in the editor ends the edit like Enter", {1, 0},
         [](Framework &, frmFiles &) {
             type(QStringLiteral("q"));
             key(Qt::Key_Tab);
         },
         {2, 0}, "", "", "CUSTOMER|Q|133|INDEXED|FIXED|Customer master", true},
        {"a click on another cell while editing lands on that cell",
         {1, 0},
         [](Framework &, frmFiles &f) {
             type(QStringLiteral("x"));
             click(f, 0, 4);
         },
         {4, 0},
         "",
         "",
         "CUSTOMER|X|133|INDEXED|FIXED|Customer master",
         true},
        {"the editor losing the focus to the grid moves on",
         {1, 0},
         [](Framework &, frmFiles &f) {
             type(QStringLiteral("x"));
             const QPoint blank = f.grd->viewport()->rect().bottomRight() - QPoint(2, 2); // beside the cells
             QTest::mouseClick(f.grd->viewport(), Qt::LeftButton, {}, blank);
             settle();
         },
         {2, 0},
         "",
         "",
         "CUSTOMER|X|133|INDEXED|FIXED|Customer master",
         true},
        {"the editor losing the focus outside the pane ends the edit on its cell",
         {1, 0},
         [](Framework &, frmFiles &) {
             type(QStringLiteral("x"));
             mdiMain::instance().tvwExplorer->setFocus();
             settle();
         },
         {1, 0},
         "",
         "",
         "CUSTOMER|X|133|INDEXED|FIXED|Customer master",
         true},
        {"scrolling the grid while editing moves on",
         {1, 0},
         [](Framework &, frmFiles &p) {
             type(QStringLiteral("x"));
             p.grd->horizontalScrollBar()->setValue(p.grd->horizontalScrollBar()->value() + 5);
             settle();
         },
         {2, 0},
         "",
         "",
         "CUSTOMER|X|133|INDEXED|FIXED|Customer master",
         true},
        {"a number editor takes digits only",
         {2, 0},
         [](Framework &, frmFiles &) {
             key(Qt::Key_Return);
             QTest::keyClick(focus(), Qt::Key_A, Qt::ControlModifier);
             type(QStringLiteral("12a-3.4"));
         },
         {2, 0},
         "ctlLUCell_0",
         "1234",
         nullptr,
         false},
        {"a number editor refuses a pasted non-number",
         {2, 0},
         [](Framework &, frmFiles &) {
             key(Qt::Key_Return);
             QGuiApplication::clipboard()->setText(QStringLiteral("5x"));
             key(Qt::Key_V, Qt::ControlModifier);
         },
         {2, 0},
         "ctlLUCell_0",
         "133",
         nullptr,
         false},
        {"Delete does nothing in a list editor", {3, 0}, keys({Qt::Key_Return, Qt::Key_Delete}), {3, 0}, "cboCell_0",
         "INDEXED", nullptr, false},
        {"Backspace does nothing in a list editor", {3, 0}, keys({Qt::Key_Return, Qt::Key_Backspace}), {3, 0},
         "cboCell_0", "INDEXED", nullptr, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        frmFiles &f = files();
        const int customer = rowOf(f, QStringLiteral("CUSTOMER"));
        ASSERT_EQ(customer, 0);
        ASSERT_EQ(row(f, customer), kCustomer);
        click(f, c.start.y(), c.start.x());
        c.act(*this, f);
        EXPECT_EQ(current(f), c.cell);
        const QString editor = f.EditorVisible() ? f.CellEditor()->objectName() : QString();
        EXPECT_EQ(editor, QLatin1String(c.editor));
        if (f.EditorVisible()) {
            QString text;
            if (auto *line = qobject_cast<QLineEdit *>(f.CellEditor()))
                text = line->text();
            else if (auto *list = qobject_cast<QComboBox *>(f.CellEditor()))
                text = list->currentText();
            else if (auto *lookup = qobject_cast<ctlTextLookup *>(f.CellEditor()))
                text = lookup->Text();
            EXPECT_EQ(text, QLatin1String(c.text));
            // Laid over its cell: one pixel beyond it on the left, the top and the right.
            const QRect cell = f.grd->CellRect(c.cell.y(), c.cell.x());
            const QRect at = f.CellEditor()->geometry();
            EXPECT_EQ(at.left(), cell.left() - 1);
            EXPECT_EQ(at.top(), cell.top() - 1);
            EXPECT_EQ(at.width(), cell.width() + 2);
            EXPECT_EQ(at.height(), 21);
            EXPECT_TRUE(f.CellEditor()->isAncestorOf(focus()) || f.CellEditor() == focus());
        }
        EXPECT_EQ(row(f, customer), c.rowText ? QLatin1String(c.rowText) : kCustomer);
        EXPECT_EQ(f.RowDirty(), c.dirty);
        EXPECT_TRUE(f.Statements().isEmpty()) << f.Statements().join(QLatin1Char('\n')).toStdString();
    }
    EXPECT_TRUE(ui().messages().isEmpty());
}

// Esc while a row is being edited gives up that row's changes, from its open
// editor or from the grid: a changed row shows its stored values again, a
// filled new row its defaults, a row its check refused is clean; leaving it
// then writes nothing and shows no message.
TEST_F(Framework, EscGivesUpTheRowsChanges)
{
    using Act = std::function<void(frmFiles &, int fresh)>;
    const QString freshRow = QStringLiteral("||0|INDEXED|FIXED|");
    const struct Case
    {
        const char *name;
        bool newRow; // the case edits the new row, else CUSTOMER's
        Act act;     // changes the row and ends with the Esc
    } cases[] = {
        {"Esc in the editor of a further cell", false,
         [](frmFiles &f, int) {
             edit(f, 0, 1, QStringLiteral("x"));
             doubleClick(f, 0, 5);
             type(QStringLiteral("y"));
             key(Qt::Key_Escape);
         }},
        {"Esc in the grid", false,
         [](frmFiles &f, int) {
             edit(f, 0, 1, QStringLiteral("x"));
             click(f, 0, 4);
             key(Qt::Key_Escape);
         }},
        {"Esc in a list editor", false,
         [](frmFiles &f, int) {
             edit(f, 0, 1, QStringLiteral("x"));
             pick(f, 0, 3, "s");
             click(f, 0, 4);
             type(QStringLiteral("v"));
             key(Qt::Key_Escape);
         }},
        {"Esc in a lookup editor", false,
         [](frmFiles &f, int) {
             edit(f, 0, 1, QStringLiteral("x"));
             click(f, 0, 2);
             key(Qt::Key_Backspace);
             type(QStringLiteral("99"));
             key(Qt::Key_Escape);
         }},
        {"Esc on the new row", true,
         [](frmFiles &f, int fresh) {
             edit(f, fresh, 0, QStringLiteral("DRAFT"));
             pick(f, fresh, 3, "r");
             key(Qt::Key_Escape);
         }},
        {"Esc on a row its check refused", false,
         [this](frmFiles &f, int) {
             empty(f, 0, 0);
             ui().answerMsgBox(ui::vbOK);
             click(f, 1, 0);
             EXPECT_EQ(ui().messages(), QStringList{QStringLiteral("Filename cannot be blank")});
             EXPECT_EQ(current(f), QPoint(0, 0));
             EXPECT_TRUE(f.EditorVisible());
             key(Qt::Key_Escape);
         }},
        {"Esc on a new row its check refused", true,
         [this](frmFiles &f, int fresh) {
             ui().answerMsgBox(ui::vbOK);
             edit(f, fresh, 5, QStringLiteral("Orphan")); // Enter on the last column leaves the row
             EXPECT_EQ(ui().messages(), QStringList{QStringLiteral("Filename cannot be blank")});
             EXPECT_EQ(current(f), QPoint(0, fresh));
             EXPECT_TRUE(f.EditorVisible());
             key(Qt::Key_Escape);
         }},
    };
    const QString files = QStringLiteral("SELECT * FROM QN_FILE ORDER BY FILE_NAME");
    const QStringList stored = rows(files);
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        ui().clear();
        frmFiles &f = this->files();
        const int fresh = f.grd->Rows() - 1;
        const int r = c.newRow ? fresh : 0;
        const QString before = row(f, r);
        ASSERT_EQ(before, c.newRow ? freshRow : kCustomer);
        c.act(f, fresh);
        EXPECT_FALSE(f.RowDirty());
        EXPECT_FALSE(f.EditorVisible());
        EXPECT_EQ(row(f, r), before);
        EXPECT_EQ(f.grd->Rows(), fresh + 1);
        const int messages = int(ui().messages().size());
        QStringList sent;
        dao::SetStatementObserver([&](const QString &sql) { sent << sql; });
        click(f, 2, 1);
        dao::SetStatementObserver(nullptr);
        EXPECT_EQ(ui().messages().size(), messages);
        EXPECT_TRUE(sent.isEmpty()) << sent.join(QLatin1Char('\n')).toStdString();
        EXPECT_EQ(rows(files), stored);
        // The row opens afresh: an edit then is written as usual.
        if (c.newRow) {
            edit(f, r, 0, QStringLiteral("AGAIN"));
            click(f, 2, 1);
            EXPECT_EQ(rows(QStringLiteral("SELECT * FROM QN_FILE WHERE FILE_NAME = 'AGAIN'")),
                      QStringList{QStringLiteral("AGAIN") + freshRow});
            open()->Execute(QStringLiteral("DELETE FROM QN_FILE WHERE FILE_NAME = 'AGAIN'"));
        } else {
            edit(f, r, 5, QStringLiteral("Again"));
            click(f, 2, 1);
            EXPECT_EQ(rows(QStringLiteral("SELECT * FROM QN_FILE WHERE FILE_NAME = 'CUSTOMER'")),
                      QStringList{QStringLiteral("CUSTOMER||133|INDEXED|FIXED|Again")});
            open()->Execute(QStringLiteral("UPDATE QN_FILE SET REMARKS = 'Customer master' WHERE FILE_NAME = 'CUSTOMER'"));
        }
    }
    EXPECT_TRUE(ui().errors().isEmpty());
}

// Esc in an open editor, of each kind, on a row changed before: the current
// cell stays where the editor was (on the last column too, where a move would
// leave the row), the row shows its stored values again, the focus is on the
// grid, and nothing is written.
TEST_F(Framework, EscStaysOnItsCell)
{
    const struct Case
    {
        const char *name;
        int col;
        std::function<void(frmFiles &)> open; // opens the cell's editor and types into it
        const char *editor;
    } cases[] = {
        {"a text cell", 5,
         [](frmFiles &f) {
             doubleClick(f, 0, 5);
             type(QStringLiteral("y"));
         },
         "txtCell"},
        {"a list cell", 3,
         [](frmFiles &f) {
             click(f, 0, 3);
             type(QStringLiteral("s"));
         },
         "cboCell_0"},
        {"a lookup cell", 2,
         [](frmFiles &f) {
             click(f, 0, 2);
             key(Qt::Key_Backspace);
             type(QStringLiteral("99"));
         },
         "ctlLUCell_0"},
    };
    const QStringList stored = rows(QStringLiteral("SELECT * FROM QN_FILE ORDER BY FILE_NAME"));
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        frmFiles &f = files();
        ASSERT_EQ(row(f, 0), kCustomer);
        edit(f, 0, 1, QStringLiteral("x"));
        c.open(f);
        ASSERT_TRUE(f.EditorVisible());
        ASSERT_EQ(f.CellEditor()->objectName(), QLatin1String(c.editor));
        ASSERT_TRUE(f.RowDirty());
        QStringList sent;
        dao::SetStatementObserver([&](const QString &sql) { sent << sql; });
        key(Qt::Key_Escape);
        settle();
        dao::SetStatementObserver(nullptr);
        EXPECT_EQ(current(f), QPoint(c.col, 0));
        EXPECT_FALSE(f.EditorVisible());
        EXPECT_FALSE(f.RowDirty());
        EXPECT_EQ(row(f, 0), kCustomer);
        EXPECT_EQ(focus(), f.grd);
        EXPECT_TRUE(sent.isEmpty()) << sent.join(QLatin1Char('\n')).toStdString();
        EXPECT_EQ(rows(QStringLiteral("SELECT * FROM QN_FILE ORDER BY FILE_NAME")), stored);
    }
    EXPECT_TRUE(ui().messages().isEmpty());
    EXPECT_TRUE(ui().errors().isEmpty());
}

// Nothing opens on the catalog's own files, by any key or a double-click; Tab still moves.
TEST_F(Framework, RefusedCellsOpenNothing)
{
    setSetting(QStringLiteral("Options"), QStringLiteral("SysTables"), QStringLiteral("1"));
    frmFiles &f = files();
    const int column = rowOf(f, QStringLiteral("COLUMN"));
    ASSERT_GE(column, 0);
    for (int col : {0, 2, 3, 5}) {
        SCOPED_TRACE(col);
        click(f, column, col);
        key(Qt::Key_Return);
        type(QStringLiteral("x"));
        key(Qt::Key_Backspace);
        doubleClick(f, column, col);
        EXPECT_FALSE(f.EditorVisible());
        EXPECT_EQ(current(f), QPoint(col, column));
    }
    click(f, column, 2);
    key(Qt::Key_Tab);
    EXPECT_EQ(current(f), QPoint(3, column));
}

// The protection compares names exactly: a file named 'key' is an ordinary file.
TEST_F(Framework, ProtectionIsCaseSensitive)
{
    setSetting(QStringLiteral("Options"), QStringLiteral("SysTables"), QStringLiteral("1"));
    open()->Execute(QStringLiteral("INSERT INTO QN_FILE (FILE_NAME, RECORD_SIZE) VALUES ('key', 0), ('KEY', 0)"));
    frmFiles &f = files();
    ASSERT_GE(rowOf(f, QStringLiteral("KEY")), 0);
    click(f, rowOf(f, QStringLiteral("key")), 5);
    type(QStringLiteral("x"));
    EXPECT_TRUE(f.EditorVisible());
    click(f, rowOf(f, QStringLiteral("KEY")), 5);
    type(QStringLiteral("x"));
    EXPECT_FALSE(f.EditorVisible());
}

// The row is checked column by column when the current row leaves it; the
// first failure shows its message and reopens the editor on its cell.
TEST_F(Framework, ValidationOrderAndCommit)
{
    frmFiles &f = files();
    const int fresh = f.grd->Rows() - 1;
    EXPECT_EQ(row(f, fresh), QStringLiteral("||0|INDEXED|FIXED|"));

    // Two failing cells: the first column's message only, and its editor opens.
    ui().answerMsgBox(ui::vbOK);
    edit(f, fresh, 5, QStringLiteral("Remark")); // Enter on the last column leaves the row
    ASSERT_EQ(ui().messages(), QStringList{QStringLiteral("Filename cannot be blank")});
    EXPECT_EQ(ui().shown().last().style, ui::vbInformation);
    EXPECT_EQ(ui().shown().last().title, QStringLiteral("Quarnel ODBC Administrator"));
    EXPECT_EQ(current(f), QPoint(0, fresh));
    ASSERT_TRUE(f.EditorVisible());
    EXPECT_EQ(f.CellEditor()->objectName(), QStringLiteral("txtCell"));
    EXPECT_TRUE(f.RowDirty());

    // Every try to leave shows the first failure left; nothing is written meanwhile.
    type(QStringLiteral("NEWFILE"));
    key(Qt::Key_Return); // to the next cell of the same row: no check yet
    EXPECT_EQ(current(f), QPoint(1, fresh));
    edit(f, fresh, 2, QString());
    EXPECT_EQ(ui().messages().size(), 1);
    ui().answerMsgBox(ui::vbOK);
    click(f, 0, 3);
    EXPECT_EQ(ui().messages().last(),
              QStringLiteral("Record Size out of range.\r\nPlease enter a value between 0 and 65535."));
    EXPECT_EQ(current(f), QPoint(2, fresh));
    ASSERT_TRUE(f.EditorVisible());
    EXPECT_EQ(f.CellEditor()->objectName(), QStringLiteral("ctlLUCell_0"));
    EXPECT_EQ(scalar(QStringLiteral("SELECT COUNT(*) FROM QN_FILE WHERE FILE_NAME = 'NEWFILE'")).toInt(), 0);

    // Valid at last: one INSERT, a fresh new row after it, the catalog holds the row.
    type(QStringLiteral("65535"));
    key(Qt::Key_Return);
    click(f, 0, 0);
    EXPECT_EQ(f.Statements(),
              QStringList({QStringLiteral("SELECT FILE_NAME FROM QN_FILE WHERE FILE_NAME = 'NEWFILE'"),
                           QStringLiteral("INSERT INTO QN_FILE (FILE_NAME, OPEN_STRING, RECORD_SIZE, "
                                          "FILE_ORGANISATION, RECORD_TYPE, REMARKS) VALUES ('NEWFILE', '', 65535, "
                                          "'INDEXED', 'FIXED', 'Remark') ")}));
    EXPECT_EQ(rows(QStringLiteral("SELECT * FROM QN_FILE WHERE FILE_NAME = 'NEWFILE'")),
              QStringList{QStringLiteral("NEWFILE||65535|INDEXED|FIXED|Remark")});
    EXPECT_EQ(f.grd->Rows(), fresh + 2);
    EXPECT_EQ(row(f, fresh + 1), QStringLiteral("||0|INDEXED|FIXED|"));
    EXPECT_FALSE(f.RowDirty());
    EXPECT_EQ(current(f), QPoint(0, 0)); // the click's cell
}

// A row deleted through another connection while it was edited: its UPDATE,
// or its re-key's DELETE, finds nothing and fails with 3021 through the error
// dialog; Retry fails again, Ignore gives the change up; nothing is written.
TEST_F(Framework, ARowDeletedMeanwhileIsNotWritten)
{
    const struct
    {
        const char *name;
        bool transactions;
        int col;
        const char *text;
    } cases[] = {
        {"update", true, 1, "X"},
        {"re-key", true, 0, "CLIENT"},
        {"re-key without transactions", false, 0, "CLIENT"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        dao::IgnoreTransactionSupport(!c.transactions);
        frmFiles &f = files();
        const int r = rowOf(f, QStringLiteral("CUSTOMER"));
        ASSERT_GE(r, 0);
        edit(f, r, c.col, QLatin1String(c.text));
        open()->Execute(QStringLiteral("DELETE FROM QN_FILE WHERE FILE_NAME = 'CUSTOMER'"));
        ui().answerError(ui::vbRetry);
        ui().answerError(ui::vbIgnore);
        click(f, r == 0 ? 1 : 0, 0);
        ASSERT_EQ(ui().errors().size(), 2);
        for (const auto &error : ui().errors()) {
            EXPECT_EQ(error.number, QStringLiteral("3021"));
            EXPECT_EQ(error.trappedIn, QStringLiteral("frmColumns.EnterCell"));
        }
        EXPECT_EQ(rows(QStringLiteral("SELECT * FROM QN_FILE WHERE FILE_NAME IN ('CUSTOMER', 'CLIENT')")),
                  QStringList());
        EXPECT_EQ(row(f, r), kCustomer); // the change given up
        EXPECT_FALSE(f.RowDirty());
        EXPECT_TRUE(ui().messages().isEmpty());
        ui().clear();
        open()->Execute(QStringLiteral("INSERT INTO QN_FILE VALUES ('CUSTOMER', NULL, 133, 'INDEXED', 'FIXED', "
                                       "'Customer master')"));
    }
}

// A cell that showed a stored Null and was not changed writes NULL, in the
// UPDATE and in a re-key's INSERT, however often the row is written; a cell
// changed writes its text.
TEST_F(Framework, StoredNullsStayNull)
{
    open()->Execute(QStringLiteral("INSERT INTO QN_FILE VALUES ('NULLS', NULL, 7, NULL, NULL, NULL)"));
    const QString stored = QStringLiteral("SELECT FILE_NAME, COALESCE(OPEN_STRING, 'null'), RECORD_SIZE, "
                                          "COALESCE(FILE_ORGANISATION, 'null'), COALESCE(RECORD_TYPE, 'null'), "
                                          "COALESCE(REMARKS, 'null') FROM QN_FILE WHERE FILE_NAME LIKE 'NULLS%'");
    frmFiles &f = files();
    const int r = rowOf(f, QStringLiteral("NULLS"));
    ASSERT_GE(r, 0);
    ASSERT_EQ(row(f, r), QStringLiteral("NULLS||7|||"));
    edit(f, r, 1, QStringLiteral("OPEN"));
    click(f, 0, 0);
    EXPECT_EQ(f.Statements(),
              QStringList{QStringLiteral("UPDATE QN_FILE SET OPEN_STRING = 'OPEN',RECORD_SIZE = 7,FILE_ORGANISATION "
                                         "= NULL,RECORD_TYPE = NULL,REMARKS = NULL WHERE FILE_NAME = 'NULLS'")});
    EXPECT_EQ(rows(stored), QStringList{QStringLiteral("NULLS|OPEN|7|null|null|null")});
    // Written again: the cell given a value is no Null any more.
    edit(f, r, 4, QStringLiteral("V"));
    click(f, 0, 0);
    EXPECT_EQ(rows(stored), QStringList{QStringLiteral("NULLS|OPEN|7|null|VARIABLE|null")});
    // A re-key's INSERT keeps them too.
    edit(f, r, 0, QStringLiteral("NULLS2"));
    click(f, 0, 0);
    EXPECT_TRUE(f.Statements().last().endsWith(QLatin1String("VALUES ('NULLS2', 'OPEN', 7, NULL, 'VARIABLE', NULL) ")));
    EXPECT_EQ(rows(stored), QStringList{QStringLiteral("NULLS2|OPEN|7|null|VARIABLE|null")});
    EXPECT_TRUE(ui().messages().isEmpty());
    EXPECT_TRUE(ui().errors().isEmpty());
}

// A stored number the user left alone is written back as stored, not refused
// for not being a whole number (a row without a known type is not checked).
TEST_F(Framework, AStoredNumberLeftAloneIsWrittenAsStored)
{
    open()->Execute(QStringLiteral("INSERT INTO QN_FIELD (FILE_NAME, FIELD_NUMBER, FIELD_NAME, LOCAL_TYPE_NAME, OFFSET, "
                                   "LENGTH, PRECISION, SCALE, ENCRYPTED) VALUES ('CUSTOMER', 10, 'ODD', 'FOO', 133, "
                                   "12.5, NULL, -2, NULL)"));
    auto &f = show<GridPane>(QStringLiteral("frmFields"), {QStringLiteral("QnTest"), QStringLiteral("CUSTOMER")});
    const int r = rowOf(f, QStringLiteral("ODD"));
    ASSERT_GE(r, 0);
    edit(f, r, 9, QStringLiteral("D"));
    click(f, 0, 0);
    EXPECT_TRUE(ui().errors().isEmpty());
    EXPECT_EQ(rows(QStringLiteral("SELECT LENGTH, COALESCE(PRECISION, 'null'), SCALE, COALESCE(ENCRYPTED, 'null'), "
                                  "DEFAULT_VALUE FROM QN_FIELD WHERE FIELD_NAME = 'ODD'")),
              QStringList{QStringLiteral("12.5|null|-2|null|D")});
}

// Tab on the last cell of the new row writes it and goes to the fresh new row.
TEST_F(Framework, TabOnTheLastCellOfTheNewRow)
{
    frmFiles &f = files();
    const int fresh = f.grd->Rows() - 1;
    edit(f, fresh, 0, QStringLiteral("TABBED"));
    click(f, fresh, 5);
    key(Qt::Key_Tab);
    EXPECT_EQ(scalar(QStringLiteral("SELECT RECORD_TYPE FROM QN_FILE WHERE FILE_NAME = 'TABBED'")).toString(),
              QStringLiteral("FIXED"));
    EXPECT_EQ(f.grd->Rows(), fresh + 2);
    EXPECT_EQ(current(f), QPoint(0, fresh + 1));
    EXPECT_EQ(row(f, fresh + 1), QStringLiteral("||0|INDEXED|FIXED|"));
    // On a clean new row Tab stays on the last row, at its first column.
    click(f, fresh + 1, 5);
    key(Qt::Key_Tab);
    EXPECT_EQ(current(f), QPoint(0, fresh + 1));
    EXPECT_EQ(f.grd->Rows(), fresh + 2);
}

// Display forgets a row left changed, so it is never written into the next collection.
// Shown again through the host, the pane first writes its changed row, then
// starts without an edit state.
TEST_F(Framework, ShownAgainWritesItsChangedRowFirst)
{
    frmFiles &f = files();
    edit(f, 0, 1, QStringLiteral("LEFT"));
    EXPECT_TRUE(f.RowDirty());
    EXPECT_EQ(main().PaneDisplay(QStringLiteral("frmFiles"), {QStringLiteral("QnTest2")}), 0);
    EXPECT_EQ(gCurrentPane().data(), &f);
    EXPECT_EQ(f.lblTitle.title->text(), QStringLiteral("QnTest2 - Files"));
    EXPECT_FALSE(f.RowDirty());
    EXPECT_EQ(f.EditRow(), -1);
    EXPECT_EQ(scalar(QStringLiteral("SELECT OPEN_STRING FROM QN_FILE WHERE FILE_NAME = 'CUSTOMER'")).toString(),
              QStringLiteral("LEFT"));
    EXPECT_EQ(scalar(QStringLiteral("SELECT COUNT(*) FROM QN_FILE WHERE OPEN_STRING = 'LEFT'"), QStringLiteral("QnTest2")).toInt(), 0);
    EXPECT_TRUE(ui().messages().isEmpty());
}

// Shown again through the host while a failed check holds its row (the
// editor reopened), the pane stays with the check's message when the user
// keeps the row. Shown afresh it forgets the edit, and a click on its current
// cell opens that cell.
TEST_F(Framework, ShownAgainWithAnOpenEditor)
{
    frmFiles &f = files();
    const int fresh = f.grd->Rows() - 1;
    ui().answerMsgBox(ui::vbOK);
    edit(f, fresh, 5, QStringLiteral("Orphan"));
    ASSERT_TRUE(f.EditorVisible());
    ui().answerMsgBox(ui::vbOK);
    ui().answerMsgBox(ui::vbNo);
    main().PaneDisplay(QStringLiteral("frmFiles"), {QStringLiteral("QnTest")});
    settle();
    EXPECT_EQ(ui().messages(),
              QStringList({QStringLiteral("Filename cannot be blank"), QStringLiteral("Filename cannot be blank"),
                           QStringLiteral("The changes to this row could not be saved. Do you want to discard them?")}));
    EXPECT_TRUE(f.EditorVisible());
    EXPECT_EQ(current(f), QPoint(0, fresh));
    EXPECT_EQ(row(f, fresh), QStringLiteral("||0|INDEXED|FIXED|Orphan"));

    files();
    EXPECT_FALSE(f.EditorVisible());
    doubleClick(f, 0, 0);
    EXPECT_EQ(current(f), QPoint(0, 0));
    EXPECT_TRUE(f.EditorVisible());
    EXPECT_EQ(row(f, f.grd->Rows() - 1), QStringLiteral("||0|INDEXED|FIXED|"));
}

} // namespace

namespace {

// A pane with a password column: enough of the users' collection to show how
// the framework treats a password box.
class PasswordPane : public GridPane
{
public:
    PasswordPane()
    {
        setObjectName(QStringLiteral("PasswordPane"));
        Particulars p;
        p.catalogTable = QStringLiteral("QN_USER");
        p.columns = {Column(QStringLiteral("USER_NAME")).Key(true),
                     Column(QStringLiteral("USER_PASSWORD")).Password().Mask().NewRow(kMask),
                     Column(QStringLiteral("REMARKS"))};
        SetParticulars(std::move(p));
    }
    QString typed() const { return NewPassword(); }

protected:
    QString Title(const QStringList &keys) const override { return keys.value(0); }
    QString Query() const override
    {
        return QStringLiteral("SELECT USER_NAME, USER_PASSWORD, REMARKS FROM QN_USER ORDER BY USER_NAME ASC");
    }
    QString ValidateCell(int, int) override { return {}; }
    QString DeleteSQL() override { return {}; }
    QString InsertSQL() override { return {}; }
    QString UpdateSQL() override
    {
        return QStringLiteral("UPDATE QN_USER SET REMARKS = '") + Esc(Cell(2)) + QStringLiteral("' WHERE USER_NAME = '") +
               Esc(OrigKey(0)) + QLatin1Char('\'');
    }
    QString FolderKey() const override { return {}; }
};

// A password never shows: its cells hold the mask, its box opens empty, and
// only what is typed into it reaches the pane, never the mask.
TEST_F(Framework, PasswordBox)
{
    PasswordPane p;
    p.resize(600, 300);
    ASSERT_EQ(p.Display({QStringLiteral("QnTest")}), 0);
    QApplication::setActiveWindow(&p);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&p));
    settle();
    ASSERT_EQ(p.grd->TextMatrix(0, 0), QStringLiteral("ADMIN"));
    EXPECT_EQ(p.grd->TextMatrix(0, 1), GridPane::kMask);
    click(p, 0, 1);
    key(Qt::Key_Return);
    ASSERT_TRUE(p.EditorVisible());
    EXPECT_EQ(p.CellEditor()->objectName(), QStringLiteral("txtCell_1"));
    EXPECT_EQ(p.txtCell[1]->echoMode(), QLineEdit::Password);
    EXPECT_EQ(p.txtCell[1]->style()->styleHint(QStyle::SH_LineEdit_PasswordCharacter, nullptr, p.txtCell[1]), '*');
    EXPECT_EQ(p.txtCell[1]->text(), QString());
    key(Qt::Key_Return); // left empty: no new password, the row stays clean
    EXPECT_FALSE(p.RowDirty());
    EXPECT_EQ(p.grd->TextMatrix(0, 1), GridPane::kMask);

    click(p, 0, 1);
    type(QStringLiteral("secret"));
    key(Qt::Key_Return);
    EXPECT_EQ(p.typed(), QStringLiteral("SECRET")); // the key filter of USER_PASSWORD
    EXPECT_EQ(p.grd->TextMatrix(0, 1), GridPane::kMask);
    EXPECT_TRUE(p.RowDirty());
    p.hide();
}

} // namespace
