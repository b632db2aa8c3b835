// The Database privileges pane: its listing and lists, masked database
// passwords written only when typed, the new row's security level, its rules,
// messages and statements, its scrolling and the Up button.

#include <QScrollBar>

#include "panefixture.h"
#include "panes/frmdbprvs.h"

namespace {

class DatabasePrivileges : public PaneTest
{
protected:
    frmDBPRVs &privileges(const QString &db = QStringLiteral("SALES"))
    {
        return show<frmDBPRVs>(QStringLiteral("frmDBPRVs"), {QStringLiteral("QnTest"), db});
    }
    QString stored(const QString &user, const QString &db = QStringLiteral("SALES"))
    {
        return rows(QStringLiteral("SELECT * FROM QN_DBPRV WHERE DATABASE_NAME = '%1' AND USER_NAME = '%2'").arg(db, user))
            .value(0);
    }
    static constexpr int kAdmin = 0, kJsmith = 1, kMbrown = 2, kReports = 3;
};

TEST_F(DatabasePrivileges, Listing)
{
    open()->Execute(QStringLiteral("INSERT INTO QN_DBPRV (USER_NAME, DATABASE_NAME, ALLOW_SELECT, ALLOW_INSERT, "
                                   "ALLOW_UPDATE, ALLOW_DELETE) VALUES ('ODD', 'SALES', NULL, -1, 2, 'x')"));
    frmDBPRVs &p = privileges();
    EXPECT_EQ(p.lblTitle.title->text(), QStringLiteral("SALES - Database Privileges"));
    QStringList captions;
    for (int c = 0; c < p.grd->Cols(); ++c)
        captions << p.grd->Model().Caption(c);
    EXPECT_EQ(captions, QStringList({QStringLiteral("User Name"), QStringLiteral("Database Username"),
                                     QStringLiteral("Database Password"), QStringLiteral("Security Level"),
                                     QStringLiteral("Allow Select"), QStringLiteral("Allow Insert"),
                                     QStringLiteral("Allow Update"), QStringLiteral("Allow Delete"),
                                     QStringLiteral("Remarks")}));
    ASSERT_EQ(p.grd->Rows(), 6);
    EXPECT_EQ(row(p, kAdmin), QStringLiteral("ADMIN||**********|DATABASE|Yes|Yes|Yes|Yes|"));
    EXPECT_EQ(row(p, kJsmith), QStringLiteral("JSMITH|SALESAPP|**********|DATABASE|Yes|Yes|Yes|No|"));
    EXPECT_EQ(row(p, 3), QStringLiteral("ODD||**********||No|No|No|No|"));
    // The new row repeats the level of the row above it.
    EXPECT_EQ(row(p, 5), QStringLiteral("||**********|TABLE|No|No|No|No|"));
    EXPECT_EQ(items(p.cboCell[0]), QStringList({QStringLiteral("ADMIN"), QStringLiteral("JSMITH"),
                                                QStringLiteral("MBROWN"), QStringLiteral("REPORTS")}));
    EXPECT_EQ(items(p.cboCell[1]), QStringList({QStringLiteral("DATABASE"), QStringLiteral("TABLE")}));
    EXPECT_EQ(items(p.cboCell[2]), QStringList({QStringLiteral("No"), QStringLiteral("Yes")}));

    // A database without privileges: the new row starts without a level.
    privileges(QStringLiteral("NEWDB"));
    ASSERT_EQ(p.grd->Rows(), 1);
    EXPECT_EQ(row(p, 0), QStringLiteral("||**********||No|No|No|No|"));

    // The catalog's own database is listed and edited like any other.
    privileges(QStringLiteral("QN"));
    EXPECT_FALSE(p.ReadOnly());
    EXPECT_EQ(p.grd->Rows(), 2);
    pick(p, 0, 7, "n");
    click(p, 1, 0);
    EXPECT_EQ(stored(QStringLiteral("ADMIN"), QStringLiteral("QN")), QStringLiteral("ADMIN|QN|||1|1|1|0|DATABASE|"));
}

TEST_F(DatabasePrivileges, PasswordsAndUpdates)
{
    frmDBPRVs &p = privileges();
    // Changes without a typed password leave the stored one.
    pick(p, kMbrown, 3, "d");
    pick(p, kMbrown, 6, "y");
    edit(p, kMbrown, 8, QStringLiteral("Pick 'n' pack"));
    click(p, kAdmin, 0);
    EXPECT_EQ(p.Statements(),
              QStringList{QStringLiteral(
                  "UPDATE QN_DBPRV SET DATABASE_USERNAME = 'STOCKAPP', ALLOW_SELECT = 1, ALLOW_INSERT = 0, "
                  "ALLOW_UPDATE = 1, ALLOW_DELETE = 0, SECURITY_LEVEL = 'DATABASE', REMARKS = 'Pick ''n'' pack' WHERE "
                  "DATABASE_NAME = 'SALES' AND USER_NAME = 'MBROWN'")});
    EXPECT_EQ(stored(QStringLiteral("MBROWN")),
              QStringLiteral("MBROWN|SALES|STOCKAPP|BINS2024|1|0|1|0|DATABASE|Pick 'n' pack"));

    // The password box opens empty; left empty it changes nothing.
    click(p, kMbrown, 2);
    key(Qt::Key_Return);
    ASSERT_TRUE(p.EditorVisible());
    EXPECT_EQ(p.CellEditor()->objectName(), QStringLiteral("txtCell_1"));
    EXPECT_EQ(p.txtCell[1]->text(), QString());
    key(Qt::Key_Return);
    EXPECT_FALSE(p.RowDirty());

    // A typed password is written, the cell keeps the mask.
    click(p, kMbrown, 2);
    type(QStringLiteral("bins25"));
    key(Qt::Key_Return);
    EXPECT_EQ(p.grd->TextMatrix(kMbrown, 2), QStringLiteral("**********"));
    click(p, kAdmin, 0);
    EXPECT_EQ(p.Statements(),
              QStringList{QStringLiteral(
                  "UPDATE QN_DBPRV SET DATABASE_USERNAME = 'STOCKAPP', DATABASE_PASSWORD = 'BINS25', ALLOW_SELECT = "
                  "1, ALLOW_INSERT = 0, ALLOW_UPDATE = 1, ALLOW_DELETE = 0, SECURITY_LEVEL = 'DATABASE', REMARKS = "
                  "'Pick ''n'' pack' WHERE DATABASE_NAME = 'SALES' AND USER_NAME = 'MBROWN'")});
    EXPECT_EQ(stored(QStringLiteral("MBROWN")),
              QStringLiteral("MBROWN|SALES|STOCKAPP|BINS25|1|0|1|0|DATABASE|Pick 'n' pack"));
}

// Another user or a new row: refused when the user already holds privileges
// here; otherwise announced when no password was typed, and written.
TEST_F(DatabasePrivileges, UsersAndNewRows)
{
    open()->Execute(QStringLiteral("INSERT INTO QN_USER (USER_NAME) VALUES ('NEWCOMER')"));
    frmDBPRVs &p = privileges();
    pick(p, kReports, 0, "j");
    ui().answerMsgBox(ui::vbOK);
    click(p, kAdmin, 1);
    EXPECT_EQ(ui().messages().last(), QStringLiteral("The User Name 'JSMITH' already has privileges set for this Database."));
    EXPECT_EQ(current(p), QPoint(0, kReports));
    ASSERT_TRUE(p.EditorVisible());
    key(Qt::Key_Escape);
    pick(p, kReports, 0, "n");
    ui().answerMsgBox(ui::vbOK);
    click(p, kAdmin, 1);
    EXPECT_EQ(ui().messages().last(), QStringLiteral("User Name has changed - password will be set to blank"));
    EXPECT_EQ(p.Statements(),
              QStringList({QStringLiteral("SELECT USER_NAME FROM QN_DBPRV WHERE DATABASE_NAME = 'SALES' AND "
                                          "USER_NAME = 'NEWCOMER'"),
                           QStringLiteral("DELETE FROM QN_DBPRV WHERE DATABASE_NAME = 'SALES' AND USER_NAME = "
                                          "'REPORTS'"),
                           QStringLiteral("INSERT INTO QN_DBPRV (USER_NAME, DATABASE_NAME, DATABASE_USERNAME, "
                                          "DATABASE_PASSWORD, ALLOW_SELECT, ALLOW_INSERT, ALLOW_UPDATE, ALLOW_DELETE, "
                                          "SECURITY_LEVEL, REMARKS ) VALUES ('NEWCOMER', 'SALES', 'REPORTER', '', 1, 0, "
                                          "0, 0, 'TABLE', NULL)")}));
    // The old user's table privileges keep its name.
    EXPECT_EQ(scalar(QStringLiteral("SELECT COUNT(*) FROM QN_TBLPRV WHERE DATABASE_NAME = 'SALES' AND USER_NAME = "
                                    "'REPORTS'")).toInt(), 3);

    // The new row: an empty user is refused; a user with a typed password is written without the announcement.
    const int fresh = p.grd->Rows() - 1;
    edit(p, fresh, 1, QStringLiteral("guest"));
    ui().answerMsgBox(ui::vbOK);
    click(p, kAdmin, 1);
    EXPECT_EQ(ui().messages().last(), QStringLiteral("Please select a User Name from the drop down list"));
    EXPECT_EQ(current(p), QPoint(0, fresh));
    type(QStringLiteral("r"));
    key(Qt::Key_Return);
    edit(p, fresh, 2, QStringLiteral("pw"));
    const int shown = int(ui().messages().size());
    click(p, kAdmin, 1);
    EXPECT_EQ(ui().messages().size(), shown);
    EXPECT_EQ(p.Statements().last(),
              QStringLiteral("INSERT INTO QN_DBPRV (USER_NAME, DATABASE_NAME, DATABASE_USERNAME, DATABASE_PASSWORD, "
                             "ALLOW_SELECT, ALLOW_INSERT, ALLOW_UPDATE, ALLOW_DELETE, SECURITY_LEVEL, REMARKS ) VALUES "
                             "('REPORTS', 'SALES', 'GUEST', 'PW', 0, 0, 0, 0, 'TABLE', '')"));
    EXPECT_EQ(p.grd->Rows(), fresh + 2);
    EXPECT_EQ(row(p, fresh + 1), QStringLiteral("||**********|TABLE|No|No|No|No|"));
}

// A database whose name holds an apostrophe.
TEST_F(DatabasePrivileges, QuotedDatabaseName)
{
    open()->Execute(QStringLiteral("INSERT INTO QN_DBPRV (USER_NAME, DATABASE_NAME, ALLOW_SELECT, SECURITY_LEVEL) "
                                   "VALUES ('JSMITH', 'O''DB', 1, 'TABLE')"));
    frmDBPRVs &p = privileges(QStringLiteral("O'DB"));
    ASSERT_EQ(p.grd->Rows(), 2);
    edit(p, 0, 8, QStringLiteral("x"));
    click(p, 1, 0);
    EXPECT_EQ(stored(QStringLiteral("JSMITH"), QStringLiteral("O''DB")),
              QStringLiteral("JSMITH|O'DB|||1||||TABLE|x"));
    EXPECT_TRUE(ui().errors().isEmpty());
}

// Scrolling keeps the editor open over the current cell, two pixels higher.
TEST_F(DatabasePrivileges, ScrollingKeepsTheEditorOpen)
{
    auto db = open();
    for (int i = 0; i < 40; ++i)
        db->Execute(QStringLiteral("INSERT INTO QN_DBPRV (USER_NAME, DATABASE_NAME) VALUES ('U%1', 'SALES')")
                        .arg(i, 2, 10, QLatin1Char('0')));
    frmDBPRVs &p = privileges();
    click(p, 1, 3);
    key(Qt::Key_Return);
    ASSERT_TRUE(p.EditorVisible());
    p.grd->verticalScrollBar()->setValue(p.grd->verticalScrollBar()->value() + 2);
    settle();
    EXPECT_TRUE(p.EditorVisible());
    EXPECT_EQ(current(p), QPoint(3, 1));
    const QRect cell = p.grd->CellRect(1, 3);
    EXPECT_EQ(p.CellEditor()->geometry().topLeft(), QPoint(cell.left(), cell.top() - 2));
}

// Up shows the database's editor after revealing the database in the tree.
TEST_F(DatabasePrivileges, UpShowsTheDatabaseEditor)
{
    privileges();
    expectUp(main().tbrDBPRVs, QStringLiteral("frmDatabase"), QStringLiteral("DSN=QnTest:DB=QnTest:db=SALES:"));
}

} // namespace
