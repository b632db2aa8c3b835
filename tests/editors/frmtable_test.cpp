// The table editor: its controls and reads, its validation, its statements,
// its rename with the columns and privileges, its delete, its number box, its
// criteria and count buttons and the tables of 'QN'. The frame's own behaviour
// is tested with the database editor.

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QToolButton>

#include "editorfixture.h"
#include "dialogs/frmcriteriabuilder.h"
#include "editors/schema/frmtable.h"

namespace {

const QString kTablesKey = QStringLiteral("DSN=QnTest:DB=QnTest:db=SALES:TA=SALES:");

class TableEditor : public EditorOf<frmTable>
{
protected:
    TableEditor()
        : EditorOf(QStringLiteral("frmTable"),
                   {"Table Add", "Table Edit", "Table Delete", "OK", "Cancel", "Undo", "ViewData"})
    {
    }
    frmTable &addNew(const QString &database = QStringLiteral("SALES")) { return EditorOf::addNew(database); }
    QStringList tableRow(const QString &database, const QString &table)
    {
        return rows(QStringLiteral("SELECT DATABASE_NAME, TABLE_NAME, TABLE_TYPE, FILE_NAME, FILE_SPECIFICATION, "
                                   "NUMBER_COLUMNS, CRITERIA, REMARKS, DISPLAY_NAME FROM QN_TABLE WHERE "
                                   "DATABASE_NAME = '%1' AND TABLE_NAME = '%2'")
                        .arg(database, table));
    }
    QString owned(const QString &table)
    {
        return counts({"QN_TABLE", "QN_COLUMN", "QN_TBLPRV"},
                      QStringLiteral("DATABASE_NAME = 'SALES' AND TABLE_NAME = '%1'").arg(table));
    }
    // The tree opened down to the Tables folder of SALES.
    void openTables()
    {
        openPath({QStringLiteral("DSN=QnTest:"), QStringLiteral("DSN=QnTest:DB=QnTest:"),
                  QStringLiteral("DSN=QnTest:DB=QnTest:db=SALES:"), kTablesKey});
    }
    // A new table that passes every rule.
    void fillNew(frmTable &e, const QString &name)
    {
        type(e.txtName, name);
        type(e.cboType, QStringLiteral("T"));
        type(e.cboFile, QStringLiteral("ORDERS"));
        type(e.txtSpecification, QStringLiteral("INV.DAT"));
    }
};

TEST_F(TableEditor, DisplayShowsEveryControlOfTheRow)
{
    frmTable &e = display(QStringLiteral("SALES"), QStringLiteral("OPEN_ORDERS"));
    EXPECT_EQ(e.lblTitle.title->text(), QStringLiteral("OPEN_ORDERS - Table Properties"));
    const QStringList shown = {textOf(e.txtDatabase),      textOf(e.txtName),    textOf(e.txtDisplay),
                               textOf(e.cboType),          textOf(e.txtType),    textOf(e.cboFile),
                               textOf(e.txtFile),          textOf(e.txtSpecification), textOf(e.txtColumns),
                               textOf(e.txtCriteria),      textOf(e.txtRemarks)};
    EXPECT_EQ(shown, QStringList({"SALES", "OPEN_ORDERS", "Open_Orders", "TABLE", "TABLE", "ORDERS", "ORDERS",
                                  "ORDERS.DAT", "5", "SALES_OPEN_ORDERS.STATUS = 'O' ", "Orders not yet shipped"}));
    EXPECT_EQ(items(e.cboFile), QStringList{"ORDERS"}); // the row's own file only
    EXPECT_EQ(items(e.cboType), QStringList{"TABLE"});
    for (QWidget *w : QList<QWidget *>{e.txtName, e.cboType, e.cboFile, e.txtColumns, e.cmdCalcColumns, e.cmdCriteria,
                                       e.txtRemarks, e.findChild<QWidget *>(QStringLiteral("spnUpDn_0"))})
        EXPECT_FALSE(w->isEnabled()) << w->objectName().toStdString();
    EXPECT_EQ(state(), QStringLiteral("+++---+"));
    EXPECT_EQ(visibleBands(), QStringList({"tbrMain", "tbrTable"}));

    // Editing: everything but the database name and the criteria box opens.
    edit(QStringLiteral("SALES"), QStringLiteral("OPEN_ORDERS"));
    EXPECT_EQ(e.lblTitle.title->text(), QStringLiteral("OPEN_ORDERS - Edit Table Properties"));
    EXPECT_FALSE(e.txtDatabase->isEnabled());
    EXPECT_FALSE(e.txtCriteria->isEnabled());
    for (QWidget *w : QList<QWidget *>{e.txtName, e.cboType, e.cboFile, e.txtColumns, e.cmdCalcColumns, e.cmdCriteria})
        EXPECT_TRUE(w->isEnabled()) << w->objectName().toStdString();
    EXPECT_EQ(state(), QStringLiteral("---++--"));
    EXPECT_TRUE(items(e.cboFile).contains(QStringLiteral("CUSTOMER")));
    EXPECT_EQ(textOf(e.cboFile), QStringLiteral("ORDERS"));
    EXPECT_FALSE(e.KeyChanged());

    // A row that is not there: an empty form under the table's title, browsing.
    display(QStringLiteral("SALES"), QStringLiteral("NOPE"));
    EXPECT_EQ(e.lblTitle.title->text(), QStringLiteral("NOPE - Table Properties"));
    EXPECT_EQ(textOf(e.txtName), QString());
    EXPECT_EQ(state(), QStringLiteral("+++---+"));
}

TEST_F(TableEditor, EditWritesTheGivenUpdate)
{
    open()->Execute(QStringLiteral("UPDATE QN_TABLE SET TABLE_TYPE = 'VIEW' WHERE TABLE_NAME = 'CUSTOMER'"));
    frmTable &e = edit(QStringLiteral("SALES"), QStringLiteral("CUSTOMER"));
    EXPECT_EQ(textOf(e.cboType), QStringLiteral("VIEW")); // a stored type no item has
    click(e.findChild<UpDown *>(QStringLiteral("spnUpDn_0"))->up);
    EXPECT_EQ(textOf(e.txtColumns), QStringLiteral("10"));
    type(e.txtRemarks, QStringLiteral(", it's ours"));
    click(e.cmdAction);
    EXPECT_EQ(modUpdate::LastStatements(),
              QStringList{"UPDATE QN_TABLE SET DISPLAY_NAME = 'Customer', TABLE_TYPE = 'VIEW', FILE_NAME = "
                          "'CUSTOMER', FILE_SPECIFICATION = 'CUSTOMER.DAT', NUMBER_COLUMNS = 010, CRITERIA = NULL, "
                          "REMARKS = 'Customers, it''s ours' WHERE DATABASE_NAME = 'SALES' AND TABLE_NAME = "
                          "'CUSTOMER'"});
    EXPECT_EQ(tableRow(QStringLiteral("SALES"), QStringLiteral("CUSTOMER")),
              QStringList{"SALES|CUSTOMER|VIEW|CUSTOMER|CUSTOMER.DAT|10||Customers, it's ours|Customer"});
    EXPECT_EQ(e.EditorMode(), QString());
    EXPECT_EQ(current(), QStringLiteral("frmTable"));
}

// A number box that shows a stored Null writes NULL back; emptied by the user it writes 0.
TEST_F(TableEditor, AStoredNullNumberStaysNullUntilTheUserChangesIt)
{
    open()->Execute(QStringLiteral("UPDATE QN_TABLE SET NUMBER_COLUMNS = NULL WHERE TABLE_NAME = 'CUSTOMER'"));
    const QString stored = QStringLiteral("SELECT NUMBER_COLUMNS, NUMBER_COLUMNS IS NULL, CRITERIA IS NULL FROM QN_TABLE "
                                          "WHERE TABLE_NAME = 'CUSTOMER'");
    frmTable &e = edit(QStringLiteral("SALES"), QStringLiteral("CUSTOMER"));
    type(e.txtRemarks, QStringLiteral("!"));
    click(e.cmdAction);
    EXPECT_TRUE(modUpdate::LastStatements().value(0).contains(QStringLiteral("NUMBER_COLUMNS = NULL, CRITERIA = NULL,")));
    EXPECT_EQ(rows(stored), QStringList{"|1|1"});

    edit(QStringLiteral("SALES"), QStringLiteral("CUSTOMER"));
    type(e.txtColumns, QStringLiteral("5"));
    QTest::keyClick(e.txtColumns, Qt::Key_Backspace);
    click(e.cmdAction);
    EXPECT_TRUE(modUpdate::LastStatements().value(0).contains(QStringLiteral("NUMBER_COLUMNS = 0, CRITERIA = NULL,")));
    EXPECT_EQ(rows(stored), QStringList{"0|0|1"});
}

TEST_F(TableEditor, RenameCarriesColumnsAndPrivilegesAndReKeysTheNode)
{
    openTables();
    EXPECT_EQ(owned(QStringLiteral("ORDERS")), QStringLiteral("1 9 2"));
    frmTable &e = edit(QStringLiteral("SALES"), QStringLiteral("ORDERS"));
    retype(e.txtName, QStringLiteral("ORDERS2"));
    // The display name must follow the name.
    ui().answerMsgBox(ui::vbOK);
    click(e.cmdAction);
    EXPECT_EQ(takeMessages(),
              QStringList{"The Display Name MUST match the Table Name (exclusive of case) or be Null."});
    EXPECT_EQ(focused(), e.txtDisplay);
    EXPECT_EQ(owned(QStringLiteral("ORDERS")), QStringLiteral("1 9 2"));
    retype(e.txtDisplay, QStringLiteral("orders2"));
    click(e.cmdAction);
    const QStringList s = modUpdate::LastStatements();
    ASSERT_GT(s.size(), 2);
    EXPECT_EQ(s.first(), QStringLiteral("SELECT * FROM QN_TABLE WHERE DATABASE_NAME = 'SALES' AND TABLE_NAME = 'ORDERS'"));
    EXPECT_EQ(s.last(), QStringLiteral("UPDATE QN_TABLE SET DISPLAY_NAME = 'orders2', TABLE_TYPE = 'TABLE', FILE_NAME = "
                                       "'ORDERS', FILE_SPECIFICATION = 'ORDERS.DAT', NUMBER_COLUMNS = 09, CRITERIA = NULL, "
                                       "REMARKS = 'Orders' WHERE DATABASE_NAME = 'SALES' AND TABLE_NAME = 'ORDERS2'"));
    EXPECT_EQ(owned(QStringLiteral("ORDERS")), QStringLiteral("0 0 0"));
    EXPECT_EQ(owned(QStringLiteral("ORDERS2")), QStringLiteral("1 9 2"));
    EXPECT_FALSE(gNodes().Item(kTablesKey + QStringLiteral("ta=ORDERS:")));
    const CNodePtr node = gNodes().Item(kTablesKey + QStringLiteral("ta=ORDERS2:"));
    ASSERT_TRUE(node);
    EXPECT_EQ(node->NodeData, QStringLiteral("ORDERS2"));
    EXPECT_EQ(gNodes().Node(node->Key)->text(), QStringLiteral("ORDERS2"));
    EXPECT_EQ(e.lblTitle.title->text(), QStringLiteral("ORDERS2 - Table Properties"));
    EXPECT_EQ(e.EditorMode(), QString());
    EXPECT_EQ(current(), QStringLiteral("frmTable"));
}

TEST_F(TableEditor, AddWritesTheGivenInsertIntoItsDatabase)
{
    frmTable &e = addNew();
    EXPECT_EQ(e.lblTitle.title->text(), QStringLiteral("Add New Table to SALES"));
    EXPECT_EQ(textOf(e.txtDatabase), QStringLiteral("SALES"));
    EXPECT_EQ(state(), QStringLiteral("---++--"));
    type(e.txtName, QStringLiteral("invoices"));
    type(e.txtDisplay, QStringLiteral("Invoices"));
    fillNew(e, QString());
    type(e.txtColumns, QStringLiteral("3"));
    type(e.txtRemarks, QStringLiteral("it's new"));
    click(e.cmdAction);
    // The database is read first in the unit: nothing goes under one deleted meanwhile.
    EXPECT_EQ(modUpdate::LastStatements(),
              QStringList({"SELECT DATABASE_NAME FROM QN_DB WHERE DATABASE_NAME = 'SALES'",
                          "INSERT INTO QN_TABLE (DISPLAY_NAME, REMARKS, CRITERIA, TABLE_NAME, NUMBER_COLUMNS, "
                          "FILE_SPECIFICATION, FILE_NAME, TABLE_TYPE, DATABASE_NAME) VALUES ('Invoices', 'it''s new', "
                          "'', 'INVOICES', 03, 'INV.DAT', 'ORDERS', 'TABLE', 'SALES')"}));
    EXPECT_EQ(tableRow(QStringLiteral("SALES"), QStringLiteral("INVOICES")),
              QStringList{"SALES|INVOICES|TABLE|ORDERS|INV.DAT|3||it's new|Invoices"});
    // The next table: the database kept, everything else empty.
    EXPECT_EQ(e.EditorMode(), QStringLiteral("Table Add"));
    EXPECT_EQ(textOf(e.txtDatabase), QStringLiteral("SALES"));
    EXPECT_EQ(textOf(e.txtName), QString());
    EXPECT_EQ(e.cboType->currentIndex(), -1);
    EXPECT_EQ(current(), QStringLiteral("frmTable"));

    // Undo keeps the database; the add after it writes the table into it. An
    // empty number of columns is written as 0; the same name in another database is fine.
    fillNew(e, QStringLiteral("PRODUCT"));
    clickBand(QStringLiteral("Undo"));
    EXPECT_EQ(textOf(e.txtName), QString());
    EXPECT_EQ(textOf(e.txtDatabase), QStringLiteral("SALES"));
    EXPECT_EQ(e.cboFile->currentIndex(), -1);
    fillNew(e, QStringLiteral("PRODUCT"));
    click(e.cmdAction);
    EXPECT_EQ(tableRow(QStringLiteral("SALES"), QStringLiteral("PRODUCT")),
              QStringList{"SALES|PRODUCT|TABLE|ORDERS|INV.DAT|0|||"});
}

TEST_F(TableEditor, DeleteRemovesTheTableWithItsColumnsAndPrivileges)
{
    openTables();
    display(QStringLiteral("SALES"), QStringLiteral("ORDERS"));
    ui().answerMsgBox(ui::vbYes);
    clickBand(QStringLiteral("Table Delete"));
    EXPECT_EQ(takeMessages(), QStringList{"Are you sure you want to delete this Table?"});
    EXPECT_EQ(modUpdate::LastStatements(),
              QStringList({"DELETE FROM QN_TABLE WHERE DATABASE_NAME = 'SALES'  AND TABLE_NAME = 'ORDERS'",
                           "DELETE FROM QN_COLUMN WHERE DATABASE_NAME = 'SALES' AND TABLE_NAME = 'ORDERS'",
                           "DELETE FROM QN_TBLPRV WHERE DATABASE_NAME = 'SALES' AND TABLE_NAME = 'ORDERS'"}));
    EXPECT_EQ(owned(QStringLiteral("ORDERS")), QStringLiteral("0 0 0"));
    EXPECT_EQ(owned(QStringLiteral("OPEN_ORDERS")), QStringLiteral("1 5 1"));
    EXPECT_EQ(scalar(QStringLiteral("SELECT COUNT(*) FROM QN_FIELD WHERE FILE_NAME = 'ORDERS'")).toInt(), 7);
    EXPECT_FALSE(gNodes().Item(kTablesKey + QStringLiteral("ta=ORDERS:")));
    EXPECT_EQ(current(), QStringLiteral("frmTables"));
    if (const QStringList c = calls(QStringLiteral("frmTables")); !c.isEmpty()) {
        EXPECT_EQ(c.last(), QStringLiteral("Display:QnTest,SALES"));
    }

    // No: delete mode stays; Cancel shows the row again.
    display(QStringLiteral("SALES"), QStringLiteral("CUSTOMER"));
    ui().answerMsgBox(ui::vbNo);
    clickBand(QStringLiteral("Table Delete"));
    EXPECT_EQ(editor().EditorMode(), QStringLiteral("Table Delete"));
    EXPECT_EQ(editor().lblTitle.title->text(), QStringLiteral("CUSTOMER - Delete Table"));
    clickBand(QStringLiteral("Cancel"));
    EXPECT_EQ(editor().EditorMode(), QString());
    EXPECT_EQ(owned(QStringLiteral("CUSTOMER")), QStringLiteral("1 9 1"));
}

// The rules in order, each with its message and focus; nothing is written when one fails.
TEST_F(TableEditor, ValidationRules)
{
    struct Case
    {
        const char *name;
        std::function<void(frmTable &)> change;
        QString message; // "" passes
        std::function<QWidget *(frmTable &)> focus;
    };
    const QString range = QStringLiteral("Number of Columns is out of range.\r\nPlease enter a value between 0 and 32767.");
    auto columnsBox = [](frmTable &e) -> QWidget * { return e.txtColumns; };
    const QList<Case> cases = {
        {"no name", [](frmTable &e) { e.txtName->clear(); }, "Please give this Table a name.",
         [](frmTable &e) -> QWidget * { return e.txtName; }},
        {"name taken", [](frmTable &e) { retype(e.txtName, QStringLiteral("ORDERS")); },
         "The Table Name 'ORDERS' is already used in the Database.", [](frmTable &e) -> QWidget * { return e.txtName; }},
        {"display name differs", [](frmTable &e) { retype(e.txtDisplay, QStringLiteral("Other")); },
         "The Display Name MUST match the Table Name (exclusive of case) or be Null.",
         [](frmTable &e) -> QWidget * { return e.txtDisplay; }},
        {"no table type", [](frmTable &e) { e.cboType->setCurrentIndex(-1); },
         "Please select a Table Type from the dropdown list", [](frmTable &e) -> QWidget * { return e.cboType; }},
        {"no file specification", [](frmTable &e) { e.txtSpecification->clear(); },
         "Please enter a file specification for this Table.",
         [](frmTable &e) -> QWidget * { return e.txtSpecification; }},
        {"no file", [](frmTable &e) { e.cboFile->setCurrentIndex(-1); },
         "Please select a file name from the drop down list.", [](frmTable &e) -> QWidget * { return e.cboFile; }},
        {"32768 columns", [](frmTable &e) { retype(e.txtColumns, QStringLiteral("32768")); }, range, columnsBox},
        {"a negative number", [](frmTable &e) { retype(e.txtColumns, QStringLiteral("-1")); }, range, columnsBox},
        // A box can still hold a non-number (not typed: the box refuses those); it never reaches SQL.
        {"not a number", [](frmTable &e) { e.txtColumns->setText(QStringLiteral("5 OR 1=1")); }, range, columnsBox},
        {"a decimal", [](frmTable &e) { e.txtColumns->setText(QStringLiteral("3.5")); }, range, columnsBox},
        {"32767 columns", [](frmTable &e) { retype(e.txtColumns, QStringLiteral("32767")); }, "", {}},
        {"0 columns", [](frmTable &e) { retype(e.txtColumns, QStringLiteral("0")); }, "", {}},
        {"display name in another case", [](frmTable &e) { retype(e.txtDisplay, QStringLiteral("nEwT")); }, "", {}},
    };
    const int tables = scalar(QStringLiteral("SELECT COUNT(*) FROM QN_TABLE")).toInt();
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        open()->Execute(QStringLiteral("DELETE FROM QN_TABLE WHERE TABLE_NAME = 'NEWT'"));
        frmTable &e = addNew();
        fillNew(e, QStringLiteral("NEWT"));
        type(e.txtDisplay, QStringLiteral("NewT"));
        c.change(e);
        takeMessages();
        if (!c.message.isEmpty())
            ui().answerMsgBox(ui::vbOK);
        clickBand(QStringLiteral("OK"));
        if (c.message.isEmpty()) {
            EXPECT_EQ(takeMessages(), QStringList());
            EXPECT_EQ(tableRow(QStringLiteral("SALES"), QStringLiteral("NEWT")).size(), 1);
            continue;
        }
        EXPECT_EQ(takeMessages(), QStringList{c.message});
        EXPECT_EQ(focused(), c.focus(e));
        EXPECT_EQ(scalar(QStringLiteral("SELECT COUNT(*) FROM QN_TABLE")).toInt(), tables);
        EXPECT_EQ(e.EditorMode(), QStringLiteral("Table Add"));
    }
}

TEST_F(TableEditor, TheNumberBoxTakesOnlyNumbers)
{
    frmTable &e = edit(QStringLiteral("SALES"), QStringLiteral("CUSTOMER"));
    paste(e.txtColumns, QStringLiteral("5 OR 1=1"));
    EXPECT_EQ(textOf(e.txtColumns), QStringLiteral("9")); // the paste is refused
    paste(e.txtColumns, QStringLiteral("12"));
    EXPECT_EQ(textOf(e.txtColumns), QStringLiteral("12"));
    retype(e.txtColumns, QStringLiteral("3.5x"));
    EXPECT_EQ(textOf(e.txtColumns), QStringLiteral("35"));
    retype(e.txtColumns, QStringLiteral("4-"));
    EXPECT_EQ(textOf(e.txtColumns), QStringLiteral("4"));
    // The spinner stays within 0 and 32767.
    retype(e.txtColumns, QStringLiteral("32767"));
    click(e.findChild<UpDown *>(QStringLiteral("spnUpDn_0"))->up);
    EXPECT_EQ(textOf(e.txtColumns), QStringLiteral("32767"));
    retype(e.txtColumns, QStringLiteral("0"));
    click(e.findChild<UpDown *>(QStringLiteral("spnUpDn_0"))->down);
    EXPECT_EQ(textOf(e.txtColumns), QStringLiteral("0"));
}

TEST_F(TableEditor, TheTablesOfQnAreReadOnly)
{
    frmTable &e = display(QStringLiteral("QN"), QStringLiteral("TABLE"));
    EXPECT_EQ(state(), QStringLiteral("---++--"));
    EXPECT_EQ(e.EditorMode(), QString());
    edit(QStringLiteral("QN"), QStringLiteral("TABLE"));
    EXPECT_EQ(e.lblTitle.title->text(), QStringLiteral("TABLE - Table Properties"));
    EXPECT_FALSE(e.txtName->isEnabled());
    EXPECT_FALSE(e.cmdAction->isVisible());
    EXPECT_EQ(items(e.cboFile), QStringList{"TABLE"}); // no file list filled
    clickBand(QStringLiteral("OK"));
    EXPECT_EQ(e.EditorMode(), QString());
    // 'qn' in another case is an ordinary database.
    open()->Execute(QStringLiteral("INSERT INTO QN_TABLE (DATABASE_NAME, TABLE_NAME, TABLE_TYPE, FILE_NAME) VALUES "
                                   "('qn', 'T1', 'TABLE', 'ORDERS')"));
    edit(QStringLiteral("qn"), QStringLiteral("T1"));
    EXPECT_EQ(e.EditorMode(), QStringLiteral("Table Edit"));
}

TEST_F(TableEditor, TheFileListFollowsSysTables)
{
    frmTable &e = addNew();
    EXPECT_TRUE(items(e.cboFile).contains(QStringLiteral("DB"))); // an absent key lists the catalog's files
    EXPECT_TRUE(items(e.cboFile).contains(QStringLiteral("CUSTOMER")));
    options::Save(options::kSysTables, 0);
    addNew();
    EXPECT_FALSE(items(e.cboFile).contains(QStringLiteral("DB")));
    EXPECT_FALSE(items(e.cboFile).contains(QStringLiteral("TBLPRV")));
    EXPECT_TRUE(items(e.cboFile).contains(QStringLiteral("CUSTOMER")));
}

TEST_F(TableEditor, CountCountsEveryColumnOfTheHeldTable)
{
    frmTable &e = edit(QStringLiteral("SALES"), QStringLiteral("ORDERS"));
    retype(e.txtColumns, QStringLiteral("1"));
    retype(e.txtName, QStringLiteral("OTHER")); // a typed name is not used
    click(e.cmdCalcColumns);
    EXPECT_EQ(textOf(e.txtColumns), QStringLiteral("9")); // the two special columns included
    addNew();
    click(e.cmdCalcColumns);
    EXPECT_EQ(textOf(e.txtColumns), QStringLiteral("0"));
    EXPECT_TRUE(e.cmdAction->isEnabled()); // a change like typing
}

TEST_F(TableEditor, TheCriteriaButtonUsesTheBuilder)
{
    frmTable &e = edit(QStringLiteral("SALES"), QStringLiteral("ORDERS"));
    ui().onModal([](QDialog &d) {
        auto &b = static_cast<frmCriteriaBuilder &>(d);
        d.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&d));
        QListWidgetItem *status = b.lstColumns->findItems(QStringLiteral("STATUS"), Qt::MatchExactly).value(0);
        const QPoint at = b.lstColumns->visualItemRect(status).center();
        QTest::mouseClick(b.lstColumns->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(b.lstColumns->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseClick(b.cmdComp[5], Qt::LeftButton);
        QTest::keyClicks(b.txtColVal, QStringLiteral("'S'"));
        QTest::mouseClick(b.cmdInsert, Qt::LeftButton);
        QTest::mouseClick(b.cmdOK, Qt::LeftButton);
        return int(QDialog::Accepted);
    });
    click(e.cmdCriteria);
    EXPECT_EQ(textOf(e.txtCriteria), QStringLiteral("SALES_ORDERS.STATUS = 'S' "));
    EXPECT_TRUE(e.cmdAction->isEnabled());
    // Cancel keeps the text.
    ui().onModal([](QDialog &d) {
        auto &b = static_cast<frmCriteriaBuilder &>(d);
        d.show();
        QTest::mouseClick(b.cmdClear, Qt::LeftButton);
        QTest::mouseClick(b.cmdCancel, Qt::LeftButton);
        return int(QDialog::Rejected);
    });
    click(e.cmdCriteria);
    EXPECT_EQ(textOf(e.txtCriteria), QStringLiteral("SALES_ORDERS.STATUS = 'S' "));
    // A name typed but not written has no columns: the builder says so, the text stays.
    retype(e.txtName, QStringLiteral("NEWNAME"));
    ui().answerMsgBox(ui::vbOK);
    click(e.cmdCriteria);
    EXPECT_EQ(takeMessages().value(0),
              QStringLiteral("This Table contains no columns.\r\nAdd some columns before entering a table criteria."));
    EXPECT_EQ(textOf(e.txtCriteria), QStringLiteral("SALES_ORDERS.STATUS = 'S' "));
}

TEST_F(TableEditor, UndoReadsTheRowAgainAndUpAndViewDataShowTheirPanes)
{
    openTables();
    frmTable &e = edit(QStringLiteral("SALES"), QStringLiteral("ORDERS"));
    retype(e.txtSpecification, QStringLiteral("X.DAT"));
    clickBand(QStringLiteral("Undo"));
    EXPECT_EQ(textOf(e.txtSpecification), QStringLiteral("ORDERS.DAT"));
    EXPECT_EQ(e.EditorMode(), QStringLiteral("Table Edit"));
    EXPECT_FALSE(button(QStringLiteral("frmTable"), QStringLiteral("Undo"))->isEnabled());

    // View Data shows the viewer of the table, which first asks for its selection
    // (cancelled, it gives the pane back to the table's editor).
    display(QStringLiteral("SALES"), QStringLiteral("ORDERS"));
    QString asked;
    ui().onModal([&](QDialog &d) {
        // The selection offers the columns of SALES.ORDERS.
        const auto *columns = d.findChild<QListWidget *>(QStringLiteral("lstColumns"));
        asked = d.objectName() + QLatin1Char('|') +
                (columns && !columns->findItems(QStringLiteral("CARD_REF"), Qt::MatchExactly).isEmpty()
                     ? QStringLiteral("ORDERS")
                     : QString());
        return int(QDialog::Rejected);
    });
    clickBand(QStringLiteral("ViewData"));
    EXPECT_EQ(asked, QStringLiteral("frmTableCriteria|ORDERS"));
    EXPECT_EQ(current(), QStringLiteral("frmTable"));

    display(QStringLiteral("SALES"), QStringLiteral("ORDERS"));
    clickBand(QStringLiteral("Up1"));
    EXPECT_EQ(current(), QStringLiteral("frmTables"));
    ASSERT_TRUE(gNodes().SelectedItem());
    EXPECT_EQ(gNodes().SelectedItem()->Key, kTablesKey);
}

} // namespace
