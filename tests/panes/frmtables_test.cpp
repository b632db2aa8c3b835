// The Tables pane: its listing and file list, the column count and the
// criteria builder, its rules and statements, and the Up button.

#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>

#include "dialogs/frmcriteriabuilder.h"
#include "panefixture.h"
#include "panes/frmtables.h"

namespace {

class Tables : public PaneTest
{
protected:
    frmTables &tables(const QString &db = QStringLiteral("SALES"))
    {
        return show<frmTables>(QStringLiteral("frmTables"), {QStringLiteral("QnTest"), db});
    }
    QString stored(const QString &table, const QString &db = QStringLiteral("SALES"))
    {
        return rows(QStringLiteral("SELECT * FROM QN_TABLE WHERE DATABASE_NAME = '%1' AND TABLE_NAME = '%2'")
                        .arg(db, table))
            .value(0);
    }
    // The criteria builder's next showing: records the columns it offers, then `drive` ends it.
    void onBuilder(std::function<void(frmCriteriaBuilder &)> drive)
    {
        ui().onModal([this, drive](QDialog &d) {
            auto &b = static_cast<frmCriteriaBuilder &>(d);
            offered.clear();
            for (int i = 0; i < b.lstColumns->count(); ++i)
                offered << b.lstColumns->item(i)->text();
            offered.sort();
            drive(b);
            return int(d.result());
        });
    }
    static void ok(frmCriteriaBuilder &b, const QString &criteria)
    {
        b.txtCriteria->setPlainText(criteria);
        b.cmdOK_Click();
    }
    QStringList offered;

    static constexpr int kCustomer = 0, kOpenOrders = 1, kOrders = 2;
    static const QString kCustomerRow;
};

const QString Tables::kCustomerRow = QStringLiteral("CUSTOMER|Customer|TABLE|CUSTOMER|CUSTOMER.DAT|9||Customers");

TEST_F(Tables, Listing)
{
    frmTables &t = tables();
    EXPECT_EQ(t.lblTitle.title->text(), QStringLiteral("SALES - Tables"));
    QStringList captions;
    for (int c = 0; c < t.grd->Cols(); ++c)
        captions << t.grd->Model().Caption(c);
    EXPECT_EQ(captions, QStringList({QStringLiteral("Table Name"), QStringLiteral("Display Name"),
                                     QStringLiteral("Table Type"), QStringLiteral("File Name"),
                                     QStringLiteral("File Specification"), QStringLiteral("Number Columns"),
                                     QStringLiteral("Criteria"), QStringLiteral("Remarks")}));
    EXPECT_EQ(t.grd->Model().Alignment(5), Qt::AlignRight);
    ASSERT_EQ(t.grd->Rows(), 5);
    EXPECT_EQ(row(t, kCustomer), kCustomerRow);
    EXPECT_EQ(row(t, kOpenOrders), QStringLiteral("OPEN_ORDERS|Open_Orders|TABLE|ORDERS|ORDERS.DAT|5|"
                                                  "SALES_OPEN_ORDERS.STATUS = 'O' |Orders not yet shipped"));
    EXPECT_EQ(t.grd->TextMatrix(3, 0), QStringLiteral("ORDER_LINE"));
    EXPECT_EQ(row(t, 4), QStringLiteral("||TABLE|||0||"));
    EXPECT_FALSE(t.ReadOnly());
    EXPECT_EQ(items(t.cboCell[0]), QStringList{QStringLiteral("TABLE")});
    QStringList files = items(t.cboCell[1]);
    files.sort();
    EXPECT_EQ(files, QStringList({QStringLiteral("CUSTOMER"), QStringLiteral("MOVEMENT"), QStringLiteral("ORDERS"),
                                  QStringLiteral("ORDLINE"), QStringLiteral("PRODUCT"), QStringLiteral("STOCKBIN")}));
    EXPECT_TRUE(t.ctlLUCell[0]->TextEnabled());
    EXPECT_FALSE(t.ctlLUCell[1]->TextEnabled());

    // With the option the catalog's own files are offered too, KEY among them when there is one.
    open()->Execute(QStringLiteral("INSERT INTO QN_FILE (FILE_NAME) VALUES ('KEY')"));
    setSetting(QStringLiteral("Options"), QStringLiteral("SysTables"), QStringLiteral("1"));
    tables();
    EXPECT_EQ(t.cboCell[1]->count(), 18);
    EXPECT_TRUE(items(t.cboCell[1]).contains(QStringLiteral("KEY")));
}

// The catalog's own database lists its tables with no new row, and nothing opens.
TEST_F(Tables, CatalogDatabaseIsReadOnly)
{
    frmTables &t = tables(QStringLiteral("QN"));
    EXPECT_TRUE(t.ReadOnly());
    EXPECT_EQ(t.grd->Rows(), 11);
    EXPECT_EQ(t.grd->TextMatrix(0, 0), QStringLiteral("COLUMN"));
    for (int col : {0, 3, 5, 6}) {
        SCOPED_TRACE(col);
        click(t, 0, col);
        key(Qt::Key_Return);
        type(QStringLiteral("x"));
        key(Qt::Key_Backspace);
        doubleClick(t, 0, col);
        EXPECT_FALSE(t.EditorVisible());
    }
}

// The count of the columns saved under the row's saved name, special columns
// included; the new row gets 0 without a query. A count that differs is an edit.
TEST_F(Tables, ColumnCountLookup)
{
    open()->Execute(QStringLiteral("UPDATE QN_TABLE SET NUMBER_COLUMNS = 0 WHERE TABLE_NAME = 'ORDERS'"));
    frmTables &t = tables();
    edit(t, kOrders, 0, QStringLiteral("ORDERS2")); // a new name, not yet saved
    edit(t, kOrders, 1, QString());
    lookup(t, kOrders, 5, 0);
    EXPECT_EQ(t.ctlLUCell[0]->Text(), QStringLiteral("9")); // seven ordinary columns and two special ones
    EXPECT_EQ(t.Statements(), QStringList{QStringLiteral("SELECT COUNT(*) AS COLUMN_COUNT FROM QN_COLUMN WHERE "
                                                         "DATABASE_NAME = 'SALES' AND TABLE_NAME = 'ORDERS'")});
    click(t, kCustomer, 0);
    EXPECT_EQ(stored(QStringLiteral("ORDERS2")), QStringLiteral("SALES|ORDERS2|TABLE|ORDERS|ORDERS.DAT|9||Orders|"));

    const int fresh = t.grd->Rows() - 1;
    lookup(t, fresh, 5, 0);
    EXPECT_EQ(t.ctlLUCell[0]->Text(), QStringLiteral("0"));
    EXPECT_TRUE(t.Statements().isEmpty());

    // A failed count goes to the error dialog; Ignore leaves the cell.
    key(Qt::Key_Escape);
    click(t, kCustomer, 1);
    dao::Faults::Add(dao::Faults::Statement, 1, QStringLiteral("HY000"), QStringLiteral("disk I/O error"));
    ui().answerError(ui::vbIgnore);
    lookup(t, kCustomer, 5, 0);
    ASSERT_EQ(ui().errors().size(), 1);
    EXPECT_EQ(ui().errors()[0].trappedIn, QStringLiteral("frmTables.ctlLUCell_ButtonClick"));
    EXPECT_EQ(t.ctlLUCell[0]->Text(), QStringLiteral("9"));
}

// The builder offers the columns of the saved table (or of the name typed in
// the new row); a confirmed text is an edit of the cell, written when the row
// is left; a cancelled one changes nothing.
TEST_F(Tables, CriteriaLookup)
{
    frmTables &t = tables();
    onBuilder([](frmCriteriaBuilder &b) { ok(b, QStringLiteral("SALES_ORDERS.TOTAL > 100 ")); });
    lookup(t, kOrders, 6, 1);
    EXPECT_EQ(offered.size(), 9);
    EXPECT_TRUE(offered.contains(QStringLiteral("CARD_REF")));
    EXPECT_EQ(t.ctlLUCell[1]->Text(), QStringLiteral("SALES_ORDERS.TOTAL > 100 "));
    EXPECT_TRUE(t.RowDirty());
    // The editor takes no focus: Enter reaches the grid, which opens the cell again with the picked text.
    key(Qt::Key_Return);
    EXPECT_EQ(t.ctlLUCell[1]->Text(), QStringLiteral("SALES_ORDERS.TOTAL > 100 "));
    click(t, kCustomer, 0);
    EXPECT_EQ(t.Statements().last(),
              QStringLiteral("UPDATE QN_TABLE SET DISPLAY_NAME = 'Orders', TABLE_TYPE = 'TABLE', FILE_NAME = 'ORDERS', "
                             "FILE_SPECIFICATION = 'ORDERS.DAT', NUMBER_COLUMNS = 9, CRITERIA = 'SALES_ORDERS.TOTAL > "
                             "100 ', REMARKS = 'Orders' WHERE DATABASE_NAME = 'SALES' AND TABLE_NAME = 'ORDERS' "));
    EXPECT_EQ(scalar(QStringLiteral("SELECT CRITERIA FROM QN_TABLE WHERE TABLE_NAME = 'ORDERS'")).toString(),
              QStringLiteral("SALES_ORDERS.TOTAL > 100 "));

    // Cancelled: the row stays as it was and clean.
    onBuilder([](frmCriteriaBuilder &b) {
        b.txtCriteria->setPlainText(QStringLiteral("ignored"));
        b.cmdCancel_Click();
    });
    lookup(t, kOpenOrders, 6, 1);
    EXPECT_EQ(t.ctlLUCell[1]->Text(), QStringLiteral("SALES_OPEN_ORDERS.STATUS = 'O' "));
    click(t, kCustomer, 0);
    EXPECT_FALSE(t.RowDirty());
    EXPECT_TRUE(t.Statements().isEmpty());

    // The new row: its typed name, or a message when it has none.
    const int fresh = t.grd->Rows() - 1;
    ui().answerMsgBox(ui::vbOK);
    lookup(t, fresh, 6, 1);
    EXPECT_EQ(ui().messages().last(), QStringLiteral("Please enter a Table Name before adding criteria."));
    EXPECT_EQ(ui().shown().last().style, ui::vbInformation);
    EXPECT_EQ(t.ctlLUCell[1]->Text(), QString());
    key(Qt::Key_Escape);
    edit(t, fresh, 0, QStringLiteral("CUSTOMER"));
    onBuilder([](frmCriteriaBuilder &b) { b.cmdCancel_Click(); });
    lookup(t, fresh, 6, 1);
    EXPECT_TRUE(offered.contains(QStringLiteral("CREDIT_LIMIT")));
    EXPECT_TRUE(ui().allAnswered());
}

// A character typed on the criteria cell opens its editor without changing
// the text; Backspace and "." empty it.
TEST_F(Tables, KeysOnTheCriteriaCell)
{
    frmTables &t = tables();
    const QString criteria = QStringLiteral("SALES_OPEN_ORDERS.STATUS = 'O' ");
    click(t, kOpenOrders, 6);
    type(QStringLiteral("x"));
    ASSERT_TRUE(t.EditorVisible());
    EXPECT_EQ(t.CellEditor()->objectName(), QStringLiteral("ctlLUCell_1"));
    EXPECT_EQ(t.ctlLUCell[1]->Text(), criteria);
    click(t, kCustomer, 6);
    EXPECT_FALSE(t.RowDirty());
    EXPECT_EQ(t.grd->TextMatrix(kOpenOrders, 6), criteria);

    for (const char *clear : {"\b", "."}) {
        SCOPED_TRACE(clear);
        open()->Execute(QStringLiteral("UPDATE QN_TABLE SET CRITERIA = 'X = 1' WHERE TABLE_NAME = 'OPEN_ORDERS'"));
        tables();
        click(t, kOpenOrders, 6);
        if (*clear == '\b')
            key(Qt::Key_Backspace);
        else
            type(QStringLiteral("."));
        EXPECT_EQ(t.ctlLUCell[1]->Text(), QString());
        click(t, kCustomer, 0);
        EXPECT_EQ(scalar(QStringLiteral("SELECT CRITERIA FROM QN_TABLE WHERE TABLE_NAME = 'OPEN_ORDERS'")).toString(),
                  QString());
    }
}

// Each rule with its message; the failing cell becomes current and opens.
TEST_F(Tables, Rules)
{
    enum How { Typed, Emptied };
    const struct
    {
        int col;
        How how;
        const char *text;
        const char *message; // nullptr: passes
    } rules[] = {
        {0, Typed, "", "Table Name cannot be blank"},
        {0, Typed, "ORDERS", "This Database already contains a Table called 'ORDERS'"},
        {1, Typed, "Client", "The Display Name (if used) MUST exactly match the Table Name (exclusive of case)."},
        {1, Typed, "cUSTOMER", nullptr},
        {1, Typed, "", nullptr},
        {3, Emptied, "", "Please select a File Name from the dropdown list"},
        {4, Typed, "", "File Specification cannot be blank"},
        {5, Typed, "", "Column Number is out of range.\r\nPlease enter a value between 0 and 32767."},
        {5, Typed, "32768", "Column Number is out of range.\r\nPlease enter a value between 0 and 32767."},
        {5, Typed, "-1", "Column Number is out of range.\r\nPlease enter a value between 0 and 32767."},
        {5, Typed, "32767", nullptr},
        {5, Typed, "0", nullptr},
    };
    for (const auto &r : rules) {
        SCOPED_TRACE(std::to_string(r.col) + " " + r.text);
        frmTables &t = tables();
        if (r.how == Typed)
            edit(t, kCustomer, r.col, QString::fromLatin1(r.text));
        else
            empty(t, kCustomer, r.col);
        expectRule(t, kCustomer, r.col, r.message, QPoint(1, kOrders));
    }
}

TEST_F(Tables, Statements)
{
    frmTables &t = tables();
    // No key changed: one UPDATE under the saved name; apostrophes doubled.
    edit(t, kCustomer, 7, QStringLiteral("Customers' master"));
    click(t, kOrders, 0);
    EXPECT_EQ(t.Statements(),
              QStringList{QStringLiteral(
                  "UPDATE QN_TABLE SET DISPLAY_NAME = 'Customer', TABLE_TYPE = 'TABLE', FILE_NAME = 'CUSTOMER', "
                  "FILE_SPECIFICATION = 'CUSTOMER.DAT', NUMBER_COLUMNS = 9, CRITERIA = NULL, REMARKS = 'Customers'' "
                  "master' WHERE DATABASE_NAME = 'SALES' AND TABLE_NAME = 'CUSTOMER' ")});

    // A new name: the row goes and comes back under it; its columns and privileges keep the old name.
    edit(t, kCustomer, 0, QStringLiteral("CLIENT"));
    edit(t, kCustomer, 1, QStringLiteral("Client"));
    click(t, kOrders, 0);
    EXPECT_EQ(t.Statements(),
              QStringList({QStringLiteral("SELECT TABLE_NAME FROM QN_TABLE WHERE DATABASE_NAME = 'SALES' AND "
                                          "TABLE_NAME = 'CLIENT' "),
                           QStringLiteral("DELETE FROM QN_TABLE WHERE DATABASE_NAME = 'SALES' AND TABLE_NAME = "
                                          "'CUSTOMER' "),
                           QStringLiteral("INSERT INTO QN_TABLE (DATABASE_NAME, TABLE_NAME, DISPLAY_NAME, TABLE_TYPE, "
                                          "FILE_NAME, FILE_SPECIFICATION, NUMBER_COLUMNS, CRITERIA, REMARKS) VALUES "
                                          "('SALES','CLIENT', 'Client', 'TABLE', 'CUSTOMER', 'CUSTOMER.DAT', 9, NULL, "
                                          "'Customers'' master') ")}));
    EXPECT_EQ(stored(QStringLiteral("CUSTOMER")), QString());
    EXPECT_EQ(stored(QStringLiteral("CLIENT")),
              QStringLiteral("SALES|CLIENT|TABLE|CUSTOMER|CUSTOMER.DAT|9||Customers' master|Client"));
    EXPECT_EQ(scalar(QStringLiteral("SELECT COUNT(*) FROM QN_COLUMN WHERE TABLE_NAME = 'CUSTOMER'")).toInt(), 9);
    EXPECT_EQ(scalar(QStringLiteral("SELECT COUNT(*) FROM QN_TBLPRV WHERE TABLE_NAME = 'CUSTOMER'")).toInt(), 1);

    // A new table through the new row, with the new row's defaults; a fresh new row follows.
    const int fresh = t.grd->Rows() - 1;
    edit(t, fresh, 0, QStringLiteral("stock levels"));
    pick(t, fresh, 3, "p");
    edit(t, fresh, 4, QStringLiteral("PRODUCT.IDX"));
    click(t, kOrders, 0);
    EXPECT_EQ(t.Statements().last(),
              QStringLiteral("INSERT INTO QN_TABLE (DATABASE_NAME, TABLE_NAME, DISPLAY_NAME, TABLE_TYPE, FILE_NAME, "
                             "FILE_SPECIFICATION, NUMBER_COLUMNS, CRITERIA, REMARKS) VALUES ('SALES','STOCK_LEVELS', "
                             "'', 'TABLE', 'PRODUCT', 'PRODUCT.IDX', 0, '', '') "));
    EXPECT_EQ(t.grd->Rows(), fresh + 2);
    EXPECT_EQ(row(t, fresh + 1), QStringLiteral("||TABLE|||0||"));
}

// A database and a table whose names hold an apostrophe, and a Null count.
TEST_F(Tables, UnusualNames)
{
    auto db = open();
    db->Execute(QStringLiteral("INSERT INTO QN_TABLE (DATABASE_NAME, TABLE_NAME, TABLE_TYPE, FILE_NAME, "
                               "FILE_SPECIFICATION) VALUES ('O''DB', 'T''1', 'TABLE', 'ORDERS', 'X')"));
    db->Execute(QStringLiteral("INSERT INTO QN_COLUMN (DATABASE_NAME, TABLE_NAME, COLUMN_NUMBER, COLUMN_NAME, "
                               "COLUMN_TYPE) VALUES ('O''DB', 'T''1', 1, 'A', 0)"));
    frmTables &t = tables(QStringLiteral("O'DB"));
    EXPECT_EQ(t.lblTitle.title->text(), QStringLiteral("O'DB - Tables"));
    ASSERT_EQ(t.grd->Rows(), 2);
    EXPECT_EQ(row(t, 0), QStringLiteral("T'1||TABLE|ORDERS|X|||"));
    lookup(t, 0, 5, 0);
    EXPECT_EQ(t.ctlLUCell[0]->Text(), QStringLiteral("1"));
    click(t, 1, 0);
    EXPECT_EQ(t.Statements().last(),
              QStringLiteral("UPDATE QN_TABLE SET DISPLAY_NAME = NULL, TABLE_TYPE = 'TABLE', FILE_NAME = 'ORDERS', "
                             "FILE_SPECIFICATION = 'X', NUMBER_COLUMNS = 1, CRITERIA = NULL, REMARKS = NULL WHERE "
                             "DATABASE_NAME = 'O''DB' AND TABLE_NAME = 'T''1' "));
    EXPECT_TRUE(ui().errors().isEmpty());
}

// Up shows the database's editor after revealing the database in the tree.
TEST_F(Tables, UpShowsTheDatabaseEditor)
{
    tables();
    expectUp(main().tbrTables, QStringLiteral("frmDatabase"), QStringLiteral("DSN=QnTest:DB=QnTest:db=SALES:"));
}

} // namespace
