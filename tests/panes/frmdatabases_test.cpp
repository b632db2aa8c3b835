// The Databases pane: its listing, the driver list, the catalog's own
// database, the new row, its rules and statements.

#include "panefixture.h"
#include "panes/frmdatabases.h"

namespace {

class Databases : public PaneTest
{
protected:
    frmDatabases &databases(const QString &dsn = QStringLiteral("QnTest"))
    {
        return show<frmDatabases>(QStringLiteral("frmDatabases"), {dsn});
    }
};

TEST_F(Databases, ListingAndTheCatalogsOwnDatabase)
{
    frmDatabases &d = databases();
    EXPECT_EQ(d.lblTitle.title->text(), QStringLiteral("QnTest - Databases"));
    QStringList captions;
    for (int c = 0; c < d.grd->Cols(); ++c)
        captions << d.grd->Model().Caption(c);
    EXPECT_EQ(captions, QStringList({QStringLiteral("Database Name"), QStringLiteral("Display Name"),
                                     QStringLiteral("Default Directory"), QStringLiteral("Driver Name"),
                                     QStringLiteral("Setup Procedure"), QStringLiteral("Connect String"),
                                     QStringLiteral("Remarks")}));
    EXPECT_EQ(d.grd->Rows(), 3);
    EXPECT_EQ(row(d, 0), QStringLiteral("SALES|Sales|SALES_DATA:|DISAM|||Customers and orders"));
    EXPECT_EQ(row(d, 1), QStringLiteral("STOCK|Stock|STOCK_DATA:|VAX-RMS|||Products, bins and stock movements"));
    // The new row takes the driver of the row above it.
    EXPECT_EQ(row(d, 2), QStringLiteral("|||VAX-RMS|||"));
    EXPECT_EQ(items(d.cboCell[0]), QStringList({QStringLiteral("DISAM"), QStringLiteral("VAX-RMS")}));

    // With the option 'QN' shows in its place and nothing opens on it; 'qn' is an ordinary database.
    open()->Execute(QStringLiteral("INSERT INTO QN_DB (DATABASE_NAME, DRIVER_NAME) VALUES ('qn', 'DISAM')"));
    setSetting(QStringLiteral("Options"), QStringLiteral("SysTables"), QStringLiteral("1"));
    databases();
    ASSERT_EQ(d.grd->TextMatrix(0, 0), QStringLiteral("QN"));
    EXPECT_EQ(d.grd->TextMatrix(3, 0), QStringLiteral("qn"));
    for (int col : {0, 3, 6}) {
        click(d, 0, col);
        key(Qt::Key_Return);
        type(QStringLiteral("x"));
        key(Qt::Key_Backspace);
        doubleClick(d, 0, col);
        EXPECT_FALSE(d.EditorVisible()) << col;
    }
    click(d, 3, 6);
    type(QStringLiteral("x"));
    EXPECT_TRUE(d.EditorVisible());
}

// With no database listed the new row starts without a driver.
TEST_F(Databases, EmptyCollection)
{
    frmDatabases &d = databases(QStringLiteral("QnTest2"));
    EXPECT_EQ(d.grd->Rows(), 1);
    EXPECT_EQ(row(d, 0), QStringLiteral("||||||"));
}

// The driver list is read again each time it drops down; dropping it down
// changes nothing in the cell, and a driver picked from it is written.
TEST_F(Databases, DriverListRefilledOnDropDown)
{
    frmDatabases &d = databases();
    open()->Execute(QStringLiteral("INSERT INTO QN_DRIVER (DRIVER_NAME) VALUES ('C-ISAM')"));
    QComboBox *list = dropDown(d, 0, 3);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(items(list), QStringList({QStringLiteral("C-ISAM"), QStringLiteral("DISAM"), QStringLiteral("VAX-RMS")}));
    EXPECT_EQ(list->currentText(), QStringLiteral("DISAM"));
    EXPECT_FALSE(d.RowDirty());
    clickItem(list, QStringLiteral("C-ISAM"));
    EXPECT_TRUE(d.EditorVisible());
    click(d, 1, 0);
    EXPECT_EQ(d.Statements(),
              QStringList{QStringLiteral("UPDATE QN_DB SET DEFAULT_DIRECTORY = 'SALES_DATA:',DRIVER_NAME= "
                                         "'C-ISAM',SETUP_PROCEDURE = NULL,CONNECT_STRING = NULL,REMARKS = 'Customers "
                                         "and orders',DISPLAY_NAME = 'Sales' WHERE DATABASE_NAME = 'SALES'")});
}

// The catalog's own name typed into the new row is refused, and the row stays
// editable: its name cell reopens with the typed name.
TEST_F(Databases, TheCatalogsNameTypedIsRefusedAndTheRowStaysEditable)
{
    frmDatabases &d = databases();
    const int fresh = d.grd->Rows() - 1;
    edit(d, fresh, 0, QStringLiteral("QN"));
    ui().answerMsgBox(ui::vbOK);
    click(d, 0, 0);
    EXPECT_EQ(ui().messages().last(), QStringLiteral("The Database Name 'QN' has already been used in this Datasource."));
    EXPECT_EQ(current(d), QPoint(0, fresh));
    ASSERT_TRUE(d.EditorVisible());
    EXPECT_EQ(d.txtCell[0]->text(), QStringLiteral("QN"));
    type(QStringLiteral("X"));
    key(Qt::Key_Return);
    click(d, 0, 0);
    EXPECT_FALSE(d.RowDirty());
    EXPECT_EQ(scalar(QStringLiteral("SELECT DRIVER_NAME FROM QN_DB WHERE DATABASE_NAME = 'QNX'")).toString(),
              QStringLiteral("VAX-RMS"));
}

TEST_F(Databases, RulesAndStatements)
{
    frmDatabases &d = databases();
    const struct
    {
        int col;
        const char *typed;
        const char *message; // nullptr: passes
    } rules[] = {
        {0, "", "Database Name cannot be blank"},
        {0, "STOCK", "The Database Name 'STOCK' has already been used in this Datasource."},
        {1, "Other", "The Display Name (if used) MUST match the Database Name (exclusive of case)."},
        {1, "sales", nullptr},
        {1, "", nullptr},
    };
    for (const auto &r : rules) {
        SCOPED_TRACE(r.typed);
        databases();
        edit(d, 0, r.col, QString::fromLatin1(r.typed));
        if (r.message)
            ui().answerMsgBox(ui::vbOK);
        click(d, 1, 2);
        if (r.message) {
            EXPECT_EQ(ui().messages().last(), QLatin1String(r.message));
            EXPECT_EQ(current(d), QPoint(r.col, 0));
            EXPECT_TRUE(d.EditorVisible());
            EXPECT_TRUE(d.RowDirty());
        } else {
            EXPECT_EQ(current(d), QPoint(2, 1));
            EXPECT_FALSE(d.RowDirty());
        }
    }
    EXPECT_EQ(scalar(QStringLiteral("SELECT DISPLAY_NAME FROM QN_DB WHERE DATABASE_NAME = 'SALES'")).toString(),
              QString());

    // A new name: the row goes and comes back under it, apostrophes doubled; its tables keep the old name.
    databases();
    edit(d, 0, 0, QStringLiteral("SHOP"));
    edit(d, 0, 6, QStringLiteral("Bob's shop"));
    EXPECT_EQ(d.Statements(),
              QStringList({QStringLiteral("SELECT DATABASE_NAME FROM QN_DB WHERE DATABASE_NAME = 'SHOP'"),
                           QStringLiteral("DELETE FROM QN_DB WHERE DATABASE_NAME = 'SALES' "),
                           QStringLiteral("INSERT INTO QN_DB (DATABASE_NAME, DEFAULT_DIRECTORY, DRIVER_NAME, "
                                          "SETUP_PROCEDURE, CONNECT_STRING, REMARKS, DISPLAY_NAME) VALUES ('SHOP', "
                                          "'SALES_DATA:', 'DISAM', NULL, NULL, 'Bob''s shop', '')")}));
    EXPECT_EQ(rows(QStringLiteral("SELECT DATABASE_NAME FROM QN_DB ORDER BY DATABASE_NAME")),
              QStringList({QStringLiteral("QN"), QStringLiteral("SHOP"), QStringLiteral("STOCK")}));
    EXPECT_EQ(scalar(QStringLiteral("SELECT COUNT(*) FROM QN_TABLE WHERE DATABASE_NAME = 'SALES'")).toInt(), 4);

    // A new database through the new row; a fresh new row follows with the driver of the row above.
    const int fresh = d.grd->Rows() - 1;
    edit(d, fresh, 0, QStringLiteral("ARCHIVE"));
    click(d, 0, 0);
    EXPECT_EQ(d.Statements().last(),
              QStringLiteral("INSERT INTO QN_DB (DATABASE_NAME, DEFAULT_DIRECTORY, DRIVER_NAME, SETUP_PROCEDURE, "
                             "CONNECT_STRING, REMARKS, DISPLAY_NAME) VALUES ('ARCHIVE', '', 'VAX-RMS', '', '', '', '')"));
    EXPECT_EQ(row(d, fresh + 1), QStringLiteral("|||VAX-RMS|||"));
}

} // namespace
