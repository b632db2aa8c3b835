// The Users pane: masked passwords written only when typed, the protected
// name of 'ADMIN', its rules, messages and statements.

#include "panefixture.h"
#include "panes/frmusers.h"

namespace {

class Users : public PaneTest
{
protected:
    frmUsers &users() { return show<frmUsers>(QStringLiteral("frmUsers"), {QStringLiteral("QnTest")}); }
    QString stored(const QString &user)
    {
        return rows(QStringLiteral("SELECT * FROM QN_USER WHERE USER_NAME = '%1'").arg(user)).value(0);
    }
    static const QString kMask;
    static constexpr int kAdmin = 0, kJsmith = 1, kMbrown = 2;
};

const QString Users::kMask = QStringLiteral("**********");

TEST_F(Users, Listing)
{
    frmUsers &u = users();
    EXPECT_EQ(u.lblTitle.title->text(), QStringLiteral("QnTest - Users"));
    EXPECT_EQ(u.grd->Model().Caption(1), QStringLiteral("User Password"));
    ASSERT_EQ(u.grd->Rows(), 5);
    // Every password shows the mask, the empty one of ADMIN and the new row's included.
    EXPECT_EQ(row(u, kAdmin), QStringLiteral("ADMIN|**********|Catalog administrator"));
    EXPECT_EQ(row(u, kJsmith), QStringLiteral("JSMITH|**********|Sales office"));
    EXPECT_EQ(row(u, 4), QStringLiteral("|**********|"));
    EXPECT_FALSE(u.ReadOnly());

    // The title changes only once a data source is connected.
    ui().answerMsgBox(ui::vbOK); // the registry's message
    EXPECT_EQ(u.Display({QStringLiteral("Other")}), -1);
    EXPECT_EQ(u.lblTitle.title->text(), QStringLiteral("QnTest - Users"));
}

// No editor opens on the name of 'ADMIN', by any key or a double-click; its
// password and remarks open; a user called 'admin' is an ordinary user.
TEST_F(Users, AdminKeepsItsName)
{
    open()->Execute(QStringLiteral("INSERT INTO QN_USER (USER_NAME) VALUES ('admin')"));
    frmUsers &u = users();
    ASSERT_EQ(u.grd->TextMatrix(kAdmin, 0), QStringLiteral("ADMIN"));
    const int lower = rowOf(u, QStringLiteral("admin"));
    ASSERT_GE(lower, 0);
    using Open = std::function<void()>;
    const std::pair<const char *, Open> ways[] = {
        {"Enter", [] { key(Qt::Key_Return); }},
        {"Backspace", [] { key(Qt::Key_Backspace); }},
        {"full stop", [] { type(QStringLiteral(".")); }},
        {"typed character", [] { type(QStringLiteral("X")); }},
    };
    for (const auto &[name, open] : ways) {
        SCOPED_TRACE(name);
        click(u, kAdmin, 0);
        open();
        EXPECT_FALSE(u.EditorVisible());
        key(Qt::Key_Escape);
        click(u, lower, 0);
        open();
        EXPECT_TRUE(u.EditorVisible());
        key(Qt::Key_Escape);
    }
    doubleClick(u, kAdmin, 0);
    EXPECT_FALSE(u.EditorVisible());
    for (int col : {1, 2}) {
        click(u, kAdmin, col);
        key(Qt::Key_Return);
        EXPECT_TRUE(u.EditorVisible()) << col;
        key(Qt::Key_Escape);
    }
    // Its remarks are written under its name.
    edit(u, kAdmin, 2, QStringLiteral("Root"));
    click(u, kJsmith, 0);
    EXPECT_EQ(u.Statements(), QStringList{QStringLiteral(
                                  "UPDATE QN_USER SET REMARKS = 'Root' WHERE USER_NAME = 'ADMIN' ")});
    EXPECT_EQ(u.grd->TextMatrix(kAdmin, 0), QStringLiteral("ADMIN"));
}

// The password box opens empty; typed text becomes the password, the cell
// keeps the mask; a box left empty keeps the stored password.
TEST_F(Users, Passwords)
{
    frmUsers &u = users();
    // Left empty: only the remarks are written.
    click(u, kJsmith, 1);
    key(Qt::Key_Return);
    ASSERT_TRUE(u.EditorVisible());
    EXPECT_EQ(u.CellEditor()->objectName(), QStringLiteral("txtCell_1"));
    EXPECT_EQ(u.txtCell[1]->text(), QString());
    key(Qt::Key_Return);
    edit(u, kJsmith, 2, QStringLiteral("Sales' office"));
    click(u, kMbrown, 0);
    EXPECT_EQ(u.Statements(), QStringList{QStringLiteral(
                                  "UPDATE QN_USER SET REMARKS = 'Sales'' office' WHERE USER_NAME = 'JSMITH' ")});
    EXPECT_EQ(stored(QStringLiteral("JSMITH")), QStringLiteral("JSMITH|WELCOME1|Sales' office"));

    // Typed: upper case as the column's filter makes it, never the mask.
    click(u, kJsmith, 1);
    type(QStringLiteral("new pw1"));
    EXPECT_EQ(u.txtCell[1]->text(), QStringLiteral("NEWPW1"));
    key(Qt::Key_Return);
    EXPECT_EQ(u.grd->TextMatrix(kJsmith, 1), kMask);
    click(u, kMbrown, 0);
    EXPECT_EQ(u.Statements(), QStringList{QStringLiteral("UPDATE QN_USER SET USER_PASSWORD = 'NEWPW1', REMARKS = "
                                                         "'Sales'' office' WHERE USER_NAME = 'JSMITH' ")});
    EXPECT_EQ(stored(QStringLiteral("JSMITH")), QStringLiteral("JSMITH|NEWPW1|Sales' office"));

    // The typed password of one row edit is forgotten by the next.
    edit(u, kJsmith, 2, QStringLiteral("Sales"));
    click(u, kMbrown, 0);
    EXPECT_EQ(stored(QStringLiteral("JSMITH")), QStringLiteral("JSMITH|NEWPW1|Sales"));
}

// A new name without a typed password is announced and blanks the password;
// with one typed, that one is inserted.
TEST_F(Users, RenamesAndNewUsers)
{
    frmUsers &u = users();
    edit(u, kMbrown, 0, QStringLiteral("MGREEN"));
    ui().answerMsgBox(ui::vbOK);
    click(u, kJsmith, 0);
    EXPECT_EQ(ui().messages().last(), QStringLiteral("User Name has changed - password will be set to blank"));
    EXPECT_EQ(ui().shown().last().style, ui::vbInformation);
    EXPECT_EQ(u.Statements(),
              QStringList({QStringLiteral("SELECT USER_NAME FROM QN_USER WHERE USER_NAME = 'MGREEN'"),
                           QStringLiteral("DELETE FROM QN_USER WHERE USER_NAME = 'MBROWN' "),
                           QStringLiteral("INSERT INTO QN_USER (USER_NAME, USER_PASSWORD, REMARKS) VALUES ('MGREEN', "
                                          "'', 'Warehouse') ")}));
    EXPECT_EQ(stored(QStringLiteral("MGREEN")), QStringLiteral("MGREEN||Warehouse"));
    EXPECT_EQ(stored(QStringLiteral("MBROWN")), QString());
    // The user's privileges keep the old name.
    EXPECT_EQ(scalar(QStringLiteral("SELECT COUNT(*) FROM QN_DBPRV WHERE USER_NAME = 'MBROWN'")).toInt(), 2);

    const int shown = int(ui().messages().size());
    edit(u, kMbrown, 0, QStringLiteral("MWHITE"));
    edit(u, kMbrown, 1, QStringLiteral("pale"));
    click(u, kJsmith, 0);
    EXPECT_EQ(ui().messages().size(), shown);
    EXPECT_EQ(u.Statements().last(), QStringLiteral("INSERT INTO QN_USER (USER_NAME, USER_PASSWORD, REMARKS) VALUES "
                                                    "('MWHITE', 'PALE', 'Warehouse') "));

    // A new user: announced, inserted with the empty password; a fresh masked new row follows.
    const int fresh = u.grd->Rows() - 1;
    edit(u, fresh, 0, QStringLiteral("o'neil"));
    ui().answerMsgBox(ui::vbOK);
    click(u, kJsmith, 0);
    EXPECT_EQ(ui().messages().last(), QStringLiteral("User Name has changed - password will be set to blank"));
    EXPECT_EQ(u.Statements().last(), QStringLiteral("INSERT INTO QN_USER (USER_NAME, USER_PASSWORD, REMARKS) VALUES "
                                                    "('ONEIL', '', '') "));
    EXPECT_EQ(u.grd->Rows(), fresh + 2);
    EXPECT_EQ(row(u, fresh + 1), QStringLiteral("|**********|"));
}

TEST_F(Users, Rules)
{
    frmUsers &u = users();
    edit(u, kMbrown, 0, QStringLiteral("JSMITH"));
    ui().answerMsgBox(ui::vbOK);
    click(u, kJsmith, 0);
    EXPECT_EQ(ui().messages().last(), QStringLiteral("This Datasource already contains a User called 'JSMITH'"));
    EXPECT_EQ(current(u), QPoint(0, kMbrown));
    ASSERT_TRUE(u.EditorVisible());
    QTest::keyClick(focus(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(focus(), Qt::Key_Backspace);
    key(Qt::Key_Return);
    ui().answerMsgBox(ui::vbOK);
    click(u, kJsmith, 0);
    EXPECT_EQ(ui().messages().last(), QStringLiteral("User Name cannot be blank"));
    EXPECT_EQ(current(u), QPoint(0, kMbrown));
    EXPECT_EQ(stored(QStringLiteral("MBROWN")), QStringLiteral("MBROWN|STOCK99|Warehouse"));
}

} // namespace
