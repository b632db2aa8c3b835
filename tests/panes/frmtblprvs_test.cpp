// The Table privileges pane: its listing and user list, the permission words,
// its rules and statements, its scrolling and the Up button.

#include <QScrollBar>

#include "panefixture.h"
#include "panes/frmtblprvs.h"

namespace {

class TablePrivileges : public PaneTest
{
protected:
    frmTBLPRVs &privileges(const QString &db = QStringLiteral("SALES"), const QString &table = QStringLiteral("ORDERS"))
    {
        return show<frmTBLPRVs>(QStringLiteral("frmTBLPRVs"), {QStringLiteral("QnTest"), db, table});
    }
    QStringList stored(const QString &table = QStringLiteral("ORDERS"))
    {
        return rows(QStringLiteral("SELECT USER_NAME, ALLOW_SELECT, ALLOW_INSERT, ALLOW_UPDATE, ALLOW_DELETE, REMARKS "
                                   "FROM QN_TBLPRV WHERE DATABASE_NAME = 'SALES' AND TABLE_NAME = '%1' ORDER BY "
                                   "USER_NAME")
                        .arg(table));
    }
    static constexpr int kMbrown = 0, kReports = 1;
};

TEST_F(TablePrivileges, Listing)
{
    // Any value but 1 shows "No", a Null and a text included.
    open()->Execute(QStringLiteral("INSERT INTO QN_TBLPRV (DATABASE_NAME, TABLE_NAME, USER_NAME, ALLOW_SELECT, "
                                   "ALLOW_INSERT, ALLOW_UPDATE, ALLOW_DELETE) VALUES ('SALES', 'ORDERS', 'JSMITH', 2, "
                                   "NULL, 'x', 1)"));
    frmTBLPRVs &p = privileges();
    EXPECT_EQ(p.lblTitle.title->text(), QStringLiteral("SALES.ORDERS - User Privileges"));
    QStringList captions;
    for (int c = 0; c < p.grd->Cols(); ++c)
        captions << p.grd->Model().Caption(c);
    EXPECT_EQ(captions, QStringList({QStringLiteral("User Name"), QStringLiteral("Allow Select"),
                                     QStringLiteral("Allow Insert"), QStringLiteral("Allow Update"),
                                     QStringLiteral("Allow Delete"), QStringLiteral("Remarks")}));
    ASSERT_EQ(p.grd->Rows(), 4);
    EXPECT_EQ(row(p, 0), QStringLiteral("JSMITH|No|No|No|Yes|"));
    EXPECT_EQ(row(p, 1), QStringLiteral("MBROWN|Yes|No|No|No|"));
    EXPECT_EQ(row(p, 3), QStringLiteral("|No|No|No|No|"));
    QStringList users = items(p.cboCell[0]);
    users.sort();
    EXPECT_EQ(users, QStringList({QStringLiteral("ADMIN"), QStringLiteral("JSMITH"), QStringLiteral("MBROWN"),
                                  QStringLiteral("REPORTS")}));
    EXPECT_EQ(items(p.cboCell[1]), QStringList({QStringLiteral("No"), QStringLiteral("Yes")}));

    // A row left as it was is not written; a changed one writes its words as 0 and 1, and
    // keeps the Null it did not change.
    pick(p, 0, 1, "n");
    click(p, 0, 2);
    EXPECT_TRUE(p.Statements().isEmpty());
    edit(p, 0, 5, QStringLiteral("Odd"));
    click(p, 1, 0);
    EXPECT_EQ(stored().value(0), QStringLiteral("JSMITH|0||0|1|Odd"));
}

// A table of the catalog's own database: listed with no new row, nothing opens.
TEST_F(TablePrivileges, CatalogDatabaseIsReadOnly)
{
    open()->Execute(QStringLiteral("INSERT INTO QN_TBLPRV (DATABASE_NAME, TABLE_NAME, USER_NAME, ALLOW_SELECT) VALUES "
                                   "('QN', 'DB', 'ADMIN', 1)"));
    frmTBLPRVs &p = privileges(QStringLiteral("QN"), QStringLiteral("DB"));
    EXPECT_TRUE(p.ReadOnly());
    ASSERT_EQ(p.grd->Rows(), 1);
    EXPECT_EQ(row(p, 0), QStringLiteral("ADMIN|Yes|No|No|No|"));
    for (int col : {0, 1, 5}) {
        click(p, 0, col);
        key(Qt::Key_Return);
        type(QStringLiteral("y"));
        key(Qt::Key_Backspace);
        doubleClick(p, 0, col);
        EXPECT_FALSE(p.EditorVisible()) << col;
    }
}

TEST_F(TablePrivileges, RulesAndStatements)
{
    frmTBLPRVs &p = privileges();
    // A permission and the remarks: one UPDATE under the saved user.
    pick(p, kMbrown, 2, "y");
    edit(p, kMbrown, 5, QStringLiteral("Can't delete"));
    click(p, kReports, 0);
    EXPECT_EQ(p.Statements(),
              QStringList{QStringLiteral(
                  "UPDATE QN_TBLPRV SET ALLOW_SELECT = 1, ALLOW_INSERT = 1, ALLOW_UPDATE = 0, ALLOW_DELETE = 0, "
                  "REMARKS = 'Can''t delete' WHERE DATABASE_NAME = 'SALES' AND TABLE_NAME = 'ORDERS' AND USER_NAME = "
                  "'MBROWN'")});

    // A user who already has a row is refused; the row's own user again passes without a look-up.
    pick(p, kMbrown, 0, "r");
    ui().answerMsgBox(ui::vbOK);
    click(p, kReports, 1);
    EXPECT_EQ(ui().messages().last(), QStringLiteral("This Table already has privileges set for User 'REPORTS'"));
    EXPECT_EQ(current(p), QPoint(0, kMbrown));
    ASSERT_TRUE(p.EditorVisible());
    key(Qt::Key_Return);
    pick(p, kMbrown, 0, "m");
    click(p, kReports, 1);
    EXPECT_FALSE(p.RowDirty());
    ASSERT_EQ(p.Statements().size(), 2);
    EXPECT_TRUE(p.Statements()[0].startsWith(QLatin1String("DELETE")));

    // Another user: the row goes and comes back under that user.
    pick(p, kMbrown, 0, "j");
    click(p, kReports, 1);
    EXPECT_EQ(p.Statements(),
              QStringList({QStringLiteral("SELECT USER_NAME FROM QN_TBLPRV WHERE DATABASE_NAME = 'SALES' AND "
                                          "TABLE_NAME = 'ORDERS' AND USER_NAME = 'JSMITH'"),
                           QStringLiteral("DELETE FROM QN_TBLPRV WHERE DATABASE_NAME = 'SALES' AND TABLE_NAME = "
                                          "'ORDERS' AND USER_NAME = 'MBROWN'"),
                           QStringLiteral("INSERT INTO QN_TBLPRV (DATABASE_NAME, TABLE_NAME, USER_NAME, ALLOW_SELECT, "
                                          "ALLOW_INSERT, ALLOW_UPDATE, ALLOW_DELETE, REMARKS) VALUES "
                                          "('SALES','ORDERS', 'JSMITH', 1, 1, 0, 0, 'Can''t delete') ")}));
    EXPECT_EQ(stored(), QStringList({QStringLiteral("JSMITH|1|1|0|0|Can't delete"), QStringLiteral("REPORTS|1|0|0|0|")}));

    // The new row: a permission alone stops at the user; a user alone inserts zeros.
    const int fresh = p.grd->Rows() - 1;
    pick(p, fresh, 4, "y");
    ui().answerMsgBox(ui::vbOK);
    click(p, kReports, 1);
    EXPECT_EQ(ui().messages().last(), QStringLiteral("User Name Cannot be blank."));
    EXPECT_EQ(current(p), QPoint(0, fresh));
    type(QStringLiteral("a"));
    key(Qt::Key_Return);
    click(p, kReports, 1);
    EXPECT_EQ(p.Statements().last(),
              QStringLiteral("INSERT INTO QN_TBLPRV (DATABASE_NAME, TABLE_NAME, USER_NAME, ALLOW_SELECT, ALLOW_INSERT, "
                             "ALLOW_UPDATE, ALLOW_DELETE, REMARKS) VALUES ('SALES','ORDERS', 'ADMIN', 0, 0, 0, 1, '') "));
    EXPECT_EQ(p.grd->Rows(), fresh + 2);
    EXPECT_EQ(row(p, fresh + 1), QStringLiteral("|No|No|No|No|"));
}

// A database and a table whose names hold an apostrophe.
TEST_F(TablePrivileges, QuotedNames)
{
    open()->Execute(QStringLiteral("INSERT INTO QN_TBLPRV (DATABASE_NAME, TABLE_NAME, USER_NAME, ALLOW_SELECT) VALUES "
                                   "('O''DB', 'T''1', 'JSMITH', 1)"));
    frmTBLPRVs &p = privileges(QStringLiteral("O'DB"), QStringLiteral("T'1"));
    EXPECT_EQ(p.lblTitle.title->text(), QStringLiteral("O'DB.T'1 - User Privileges"));
    ASSERT_EQ(p.grd->Rows(), 2);
    edit(p, 0, 5, QStringLiteral("x"));
    click(p, 1, 0);
    EXPECT_EQ(p.Statements(),
              QStringList{QStringLiteral("UPDATE QN_TBLPRV SET ALLOW_SELECT = 1, ALLOW_INSERT = NULL, ALLOW_UPDATE = NULL, "
                                         "ALLOW_DELETE = NULL, REMARKS = 'x' WHERE DATABASE_NAME = 'O''DB' AND TABLE_NAME "
                                         "= 'T''1' AND USER_NAME = 'JSMITH'")});
    EXPECT_TRUE(ui().errors().isEmpty());
}

// Scrolling keeps the editor open over the current cell, two pixels higher.
TEST_F(TablePrivileges, ScrollingKeepsTheEditorOpen)
{
    auto db = open();
    for (int i = 0; i < 40; ++i)
        db->Execute(QStringLiteral("INSERT INTO QN_TBLPRV (DATABASE_NAME, TABLE_NAME, USER_NAME, ALLOW_SELECT) VALUES "
                                   "('SALES', 'ORDERS', 'U%1', 0)")
                        .arg(i, 2, 10, QLatin1Char('0')));
    frmTBLPRVs &p = privileges();
    click(p, 2, 5);
    type(QStringLiteral("x"));
    ASSERT_TRUE(p.EditorVisible());
    p.grd->verticalScrollBar()->setValue(p.grd->verticalScrollBar()->value() + 3);
    settle();
    EXPECT_TRUE(p.EditorVisible());
    EXPECT_EQ(current(p), QPoint(5, 2));
    const QRect cell = p.grd->CellRect(2, 5);
    const QRect at = p.CellEditor()->geometry();
    EXPECT_EQ(at.left(), cell.left());
    EXPECT_EQ(at.top(), cell.top() - 2);
    EXPECT_EQ(at.width(), cell.width() + 2);
    key(Qt::Key_Return);
    EXPECT_EQ(p.grd->TextMatrix(2, 5), QStringLiteral("x"));
}

// Up shows the table's editor after revealing the table in the tree.
TEST_F(TablePrivileges, UpShowsTheTableEditor)
{
    privileges();
    expectUp(main().tbrTBLPRVs, QStringLiteral("frmTable"),
             QStringLiteral("DSN=QnTest:DB=QnTest:db=SALES:TA=SALES:ta=ORDERS:"));
}

} // namespace
