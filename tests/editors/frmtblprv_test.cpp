// The table privilege editor: its row and user list, the statements of an add,
// an edit, a move to another user and a delete, its validation and the tree.

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include "editorfixture.h"
#include "editors/security/frmtblprv.h"

namespace {

const QString kSales = QStringLiteral("DSN=QnTest:DB=QnTest:db=SALES:");
const QString kOrders = kSales + QStringLiteral("TA=SALES:ta=ORDERS:");
const QString kOrdersPrv = kOrders + QStringLiteral("TBLPRV=ORDERS:");

class TblPrvEditor : public EditorOf<frmTBLPRV>
{
protected:
    TblPrvEditor()
        : EditorOf(QStringLiteral("frmTBLPRV"), {"User Add", "User Edit", "User Delete", "OK", "Cancel", "Undo"})
    {
    }
    void SetUp() override
    {
        EditorOf::SetUp();
        open()->Execute(QStringLiteral("INSERT INTO QN_USER (USER_NAME, USER_PASSWORD) VALUES ('BOB', 'B0B')"));
    }
    frmTBLPRV &edit(const QString &user) { return EditorOf::edit(QStringLiteral("SALES"), QStringLiteral("ORDERS"), user); }
    frmTBLPRV &addNew() { return EditorOf::addNew(QStringLiteral("SALES"), QStringLiteral("ORDERS")); }
    QStringList prvRow(const QString &table, const QString &user)
    {
        return rows(QStringLiteral("SELECT USER_NAME, ALLOW_SELECT, ALLOW_INSERT, ALLOW_UPDATE, ALLOW_DELETE, REMARKS "
                                   "FROM QN_TBLPRV WHERE DATABASE_NAME = 'SALES' AND TABLE_NAME = '%1' AND USER_NAME = "
                                   "'%2'")
                        .arg(table, user));
    }
    void openOrdersPrivileges()
    {
        openPath({QStringLiteral("DSN=QnTest:"), QStringLiteral("DSN=QnTest:DB=QnTest:"), kSales,
                  kSales + QStringLiteral("TA=SALES:"), kOrders, kOrdersPrv});
    }
};

TEST_F(TblPrvEditor, DisplayShowsTheRowWithItsUserOnly)
{
    frmTBLPRV &e = display(QStringLiteral("SALES"), QStringLiteral("ORDER_LINE"), QStringLiteral("MBROWN"));
    EXPECT_EQ(e.lblTitle.title->text(), QStringLiteral("MBROWN - User Table Privileges"));
    EXPECT_EQ(QStringList({textOf(e.txtDatabase), textOf(e.txtTable), textOf(e.cboUser), textOf(e.txtUser),
                           textOf(e.txtRemarks), checks(e.chkAllow)}),
              QStringList({"SALES", "ORDER_LINE", "MBROWN", "MBROWN", "May mark lines as picked", "1010"}));
    EXPECT_EQ(items(e.cboUser), QStringList{"MBROWN"});
    for (QWidget *w : QList<QWidget *>{e.txtDatabase, e.txtTable, e.cboUser, e.txtRemarks, e.chkAllow[0]})
        EXPECT_FALSE(w->isEnabled()) << w->objectName().toStdString();
    EXPECT_FALSE(e.cmdAction->isVisible());
    EXPECT_EQ(state(), QStringLiteral("+++---"));
    EXPECT_EQ(visibleBands(), QStringList({"tbrMain", "tbrTBLPRV"}));

    // Editing: every user listed, none chosen anew; the database and table stay closed.
    edit(QStringLiteral("REPORTS"));
    EXPECT_EQ(e.lblTitle.title->text(), QStringLiteral("REPORTS - Edit User Privileges"));
    EXPECT_EQ(items(e.cboUser), QStringList({"ADMIN", "BOB", "JSMITH", "MBROWN", "REPORTS"}));
    EXPECT_EQ(textOf(e.cboUser), QStringLiteral("REPORTS"));
    EXPECT_FALSE(e.KeyChanged());
    EXPECT_FALSE(e.cmdAction->isEnabled());
    EXPECT_FALSE(e.txtDatabase->isEnabled());
    EXPECT_FALSE(e.txtTable->isEnabled());
    EXPECT_TRUE(e.cboUser->isEnabled());
    EXPECT_TRUE(e.chkAllow[3]->isEnabled());

    // Null rights show unchecked.
    open()->Execute(QStringLiteral("INSERT INTO QN_TBLPRV (DATABASE_NAME, TABLE_NAME, USER_NAME) VALUES ('SALES', "
                                   "'ORDERS', 'BOB')"));
    display(QStringLiteral("SALES"), QStringLiteral("ORDERS"), QStringLiteral("BOB"));
    EXPECT_EQ(checks(e.chkAllow), QStringLiteral("0000"));
}

// Edit of a data source that cannot be opened: Display shows nothing, and the
// user list is not refilled (no database to read it from): no error dialog.
TEST_F(TblPrvEditor, EditWithoutAnOpenDatabaseShowsNothing)
{
    ui().answerMsgBox(ui::vbOK); // the registry says why it could not connect
    main().PaneEdit(QStringLiteral("frmTBLPRV"), {QStringLiteral("Nope"), QStringLiteral("SALES"),
                                                  QStringLiteral("ORDERS"), QStringLiteral("BOB")});
    EXPECT_TRUE(ui().errors().isEmpty());
    EXPECT_EQ(editor().EditorMode(), QString());
}

TEST_F(TblPrvEditor, AddWritesTheGivenInsertAndListsTheNode)
{
    openOrdersPrivileges();
    frmTBLPRV &e = addNew();
    EXPECT_EQ(e.lblTitle.title->text(), QStringLiteral("Add New User Privilege to SALES"));
    EXPECT_EQ(QStringList({textOf(e.txtDatabase), textOf(e.txtTable)}), QStringList({"SALES", "ORDERS"}));
    EXPECT_EQ(state(), QStringLiteral("---++-"));
    choose(e.cboUser, QStringLiteral("b"));
    click(e.chkAllow[0]);
    click(e.chkAllow[2]);
    EXPECT_TRUE(e.cmdAction->isEnabled());
    type(e.txtRemarks, QStringLiteral("Bob's"));
    QTest::keyClick(e.cboUser, Qt::Key_Return); // Enter presses the action button
    EXPECT_EQ(takeMessages(), QStringList());
    // The table and the user are read first in the unit.
    EXPECT_EQ(modUpdate::LastStatements(),
              QStringList({"SELECT DATABASE_NAME, TABLE_NAME FROM QN_TABLE WHERE DATABASE_NAME = 'SALES' AND "
                           "TABLE_NAME = 'ORDERS'",
                           "SELECT USER_NAME FROM QN_USER WHERE USER_NAME = 'BOB'",
                           "INSERT INTO QN_TBLPRV (REMARKS, ALLOW_SELECT, ALLOW_INSERT, ALLOW_UPDATE, ALLOW_DELETE, "
                           "USER_NAME, DATABASE_NAME, TABLE_NAME) VALUES ('Bob''s', 01, 0, 01, 0, 'BOB', 'SALES', "
                           "'ORDERS')"}));
    EXPECT_EQ(prvRow(QStringLiteral("ORDERS"), QStringLiteral("BOB")), QStringList{"BOB|1|0|1|0|Bob's"});
    EXPECT_TRUE(node(kOrdersPrv + QStringLiteral("tblprv=BOB:")));
    EXPECT_EQ(e.EditorMode(), QStringLiteral("User Add"));
    EXPECT_EQ(QStringList({textOf(e.txtDatabase), textOf(e.txtTable), textOf(e.cboUser), checks(e.chkAllow)}),
              QStringList({"SALES", "ORDERS", "", "0000"}));
    EXPECT_EQ(current(), QStringLiteral("frmTBLPRV"));
    EXPECT_TRUE(ui().errors().isEmpty());
}

TEST_F(TblPrvEditor, ValidationRules)
{
    struct Case
    {
        const char *name;
        std::function<void(frmTBLPRV &)> change;
        QString message; // "" saves
    };
    const QString noUser = QStringLiteral("Please enter select a Username.");
    const QList<Case> cases = {
        {"no user", [](frmTBLPRV &e) { e.cboUser->setCurrentIndex(-1); }, noUser},
        // Typed keys only pick list items: the name comes as a paste from the context menu would.
        {"a name that is no user", [](frmTBLPRV &e) { e.cboUser->setEditText(QStringLiteral("NOBODY")); }, noUser},
        {"the user has privileges on the table", [](frmTBLPRV &e) { choose(e.cboUser, QStringLiteral("R")); },
         "This Table already has User privileges set for User 'REPORTS'"},
        {"privileges on another table only", [](frmTBLPRV &e) { choose(e.cboUser, QStringLiteral("J")); }, ""},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        frmTBLPRV &e = addNew();
        choose(e.cboUser, QStringLiteral("B"));
        c.change(e);
        takeMessages();
        if (!c.message.isEmpty())
            ui().answerMsgBox(ui::vbOK);
        click(e.cmdAction);
        if (c.message.isEmpty()) {
            EXPECT_EQ(takeMessages(), QStringList());
            continue;
        }
        EXPECT_EQ(takeMessages(), QStringList{c.message});
        EXPECT_EQ(focused(), e.cboUser);
        EXPECT_EQ(e.EditorMode(), QStringLiteral("User Add"));
    }
    EXPECT_EQ(rows(QStringLiteral("SELECT USER_NAME FROM QN_TBLPRV WHERE TABLE_NAME = 'ORDERS' ORDER BY USER_NAME")),
              QStringList({"JSMITH", "MBROWN", "REPORTS"}));
}

TEST_F(TblPrvEditor, MovedToAnotherUser)
{
    openOrdersPrivileges();
    frmTBLPRV &e = edit(QStringLiteral("MBROWN"));
    choose(e.cboUser, QStringLiteral("B"));
    click(e.chkAllow[3]);
    click(e.cmdAction);
    EXPECT_EQ(takeMessages(), QStringList());
    const QStringList s = modUpdate::LastStatements();
    ASSERT_GT(s.size(), 2);
    EXPECT_EQ(s.first(), QStringLiteral("SELECT * FROM QN_TBLPRV WHERE USER_NAME = 'MBROWN' AND DATABASE_NAME = "
                                        "'SALES' AND TABLE_NAME = 'ORDERS'"));
    EXPECT_EQ(s.last(), QStringLiteral("UPDATE QN_TBLPRV SET ALLOW_SELECT = 01, ALLOW_INSERT = 00, ALLOW_UPDATE = 00, "
                                       "ALLOW_DELETE = 01, REMARKS = NULL WHERE DATABASE_NAME = 'SALES' AND TABLE_NAME "
                                       "= 'ORDERS' AND USER_NAME = 'BOB'"));
    EXPECT_EQ(prvRow(QStringLiteral("ORDERS"), QStringLiteral("MBROWN")), QStringList());
    EXPECT_EQ(prvRow(QStringLiteral("ORDERS"), QStringLiteral("BOB")), QStringList{"BOB|1|0|0|1|"});
    EXPECT_EQ(prvRow(QStringLiteral("ORDER_LINE"), QStringLiteral("MBROWN")).size(), 1); // another table's stays
    EXPECT_FALSE(gNodes().Item(kOrdersPrv + QStringLiteral("tblprv=MBROWN:")));
    const CNodePtr moved = gNodes().Item(kOrdersPrv + QStringLiteral("tblprv=BOB:"));
    ASSERT_TRUE(moved);
    EXPECT_EQ(node(moved->Key)->text(), QStringLiteral("BOB"));
    EXPECT_EQ(e.lblTitle.title->text(), QStringLiteral("BOB - User Table Privileges"));
    EXPECT_EQ(e.EditorMode(), QString());
    EXPECT_EQ(current(), QStringLiteral("frmTBLPRV"));
    EXPECT_TRUE(ui().errors().isEmpty());

    // Keeping the user: one UPDATE, the node as it was.
    edit(QStringLiteral("BOB"));
    choose(e.cboUser, QStringLiteral("J"));
    choose(e.cboUser, QStringLiteral("B"));
    type(e.txtRemarks, QStringLiteral("picker"));
    click(e.cmdAction);
    EXPECT_EQ(modUpdate::LastStatements(),
              QStringList{"UPDATE QN_TBLPRV SET ALLOW_SELECT = 01, ALLOW_INSERT = 00, ALLOW_UPDATE = 00, ALLOW_DELETE "
                          "= 01, REMARKS = 'picker' WHERE DATABASE_NAME = 'SALES' AND TABLE_NAME = 'ORDERS' AND "
                          "USER_NAME = 'BOB'"});
    EXPECT_TRUE(node(kOrdersPrv + QStringLiteral("tblprv=BOB:")));
}

TEST_F(TblPrvEditor, DeleteRemovesTheRowAndItsNode)
{
    openOrdersPrivileges();
    display(QStringLiteral("SALES"), QStringLiteral("ORDERS"), QStringLiteral("MBROWN"));
    ui().answerMsgBox(ui::vbNo);
    clickBand(QStringLiteral("User Delete"));
    EXPECT_EQ(takeMessages(), QStringList{"Are you sure you want to delete this users table privileges?"});
    EXPECT_EQ(editor().EditorMode(), QStringLiteral("User Delete"));
    EXPECT_EQ(editor().lblTitle.title->text(), QStringLiteral("MBROWN - Delete User Privileges"));
    clickBand(QStringLiteral("OK")); // deletes without asking again
    EXPECT_EQ(takeMessages(), QStringList());
    EXPECT_EQ(modUpdate::LastStatements(), QStringList{"DELETE FROM QN_TBLPRV WHERE DATABASE_NAME = 'SALES' AND "
                                                       "TABLE_NAME = 'ORDERS' AND USER_NAME = 'MBROWN'"});
    EXPECT_EQ(prvRow(QStringLiteral("ORDERS"), QStringLiteral("MBROWN")), QStringList());
    EXPECT_EQ(prvRow(QStringLiteral("ORDER_LINE"), QStringLiteral("MBROWN")).size(), 1);
    EXPECT_FALSE(node(kOrdersPrv + QStringLiteral("tblprv=MBROWN:")));
    EXPECT_TRUE(node(kOrdersPrv + QStringLiteral("tblprv=REPORTS:")));
    EXPECT_EQ(current(), QStringLiteral("frmTBLPRVs"));
    if (const QStringList c = calls(QStringLiteral("frmTBLPRVs")); !c.isEmpty()) {
        EXPECT_EQ(c.last(), QStringLiteral("Display:QnTest,SALES,ORDERS"));
    }
}

TEST_F(TblPrvEditor, CancelUndoAndUp)
{
    openOrdersPrivileges();
    frmTBLPRV &e = addNew();
    choose(e.cboUser, QStringLiteral("B"));
    click(e.chkAllow[1]);
    clickBand(QStringLiteral("Undo"));
    EXPECT_EQ(QStringList({textOf(e.txtTable), textOf(e.cboUser), checks(e.chkAllow)}), QStringList({"ORDERS", "", "0000"}));
    QTest::keyClick(e.cboUser, Qt::Key_Escape); // Esc cancels
    EXPECT_EQ(current(), QStringLiteral("frmTBLPRVs"));

    edit(QStringLiteral("REPORTS"));
    click(e.chkAllow[1]);
    click(e.cmdCancel);
    EXPECT_EQ(e.EditorMode(), QString());
    EXPECT_EQ(checks(e.chkAllow), QStringLiteral("1000"));
    clickBand(QStringLiteral("Up1"));
    EXPECT_EQ(current(), QStringLiteral("frmTBLPRVs"));
    ASSERT_TRUE(gNodes().SelectedItem());
    EXPECT_EQ(gNodes().SelectedItem()->Key, kOrdersPrv);
}

} // namespace
