// The database privilege editor: its row and user list, the password never
// shown, the statements of an add, an edit, a move to another user and a
// delete, the validation messages and the tree.

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include "editorfixture.h"
#include "editors/security/frmdbprv.h"

namespace {

const QString kSalesPrv = QStringLiteral("DSN=QnTest:DB=QnTest:db=SALES:DBPRV=SALES:");
const QString kBlanks = QString(9, QLatin1Char(' ')); // DATABASE_PASSWORD is VARCHAR(10)
const QString kQuestion = QStringLiteral("The password will be re-set to blank unless you specify a new one.\r\n"
                                         "Do you wish to specify a new password now?");

class DbPrvEditor : public EditorOf<frmDBPRV>
{
protected:
    DbPrvEditor()
        : EditorOf(QStringLiteral("frmDBPRV"), {"User Add", "User Edit", "User Delete", "OK", "Cancel", "Undo"})
    {
    }
    void SetUp() override
    {
        EditorOf::SetUp();
        // A user without privileges.
        open()->Execute(QStringLiteral("INSERT INTO QN_USER (USER_NAME, USER_PASSWORD) VALUES ('BOB', 'B0B')"));
    }
    QStringList prvRow(const QString &database, const QString &user)
    {
        return rows(QStringLiteral("SELECT USER_NAME, DATABASE_NAME, DATABASE_USERNAME, COALESCE(DATABASE_PASSWORD, "
                                   "'<null>'), ALLOW_SELECT, ALLOW_INSERT, ALLOW_UPDATE, ALLOW_DELETE, SECURITY_LEVEL, "
                                   "REMARKS FROM QN_DBPRV WHERE DATABASE_NAME = '%1' AND USER_NAME = '%2'")
                        .arg(database, user));
    }
    // The user's database and table privileges in SALES.
    QString owned(const QString &user)
    {
        return counts({"QN_DBPRV", "QN_TBLPRV"}, QStringLiteral("DATABASE_NAME = 'SALES' AND USER_NAME = '%1'").arg(user));
    }
    void openSalesPrivileges()
    {
        openPath({QStringLiteral("DSN=QnTest:"), QStringLiteral("DSN=QnTest:DB=QnTest:"),
                  QStringLiteral("DSN=QnTest:DB=QnTest:db=SALES:"), kSalesPrv});
    }
};

TEST_F(DbPrvEditor, DisplayShowsTheRowWithItsUserOnlyAndNoPassword)
{
    display(QStringLiteral("SALES"), QStringLiteral("JSMITH"));
    frmDBPRV &e = editor();
    QStringList held;
    for (QLineEdit *box : {e.txtPassword, e.txtConfirm})
        QObject::connect(box, &QLineEdit::textChanged, &e, [&](const QString &text) { held << text; });
    display(QStringLiteral("STOCK"), QStringLiteral("MBROWN"));
    EXPECT_EQ(e.lblTitle.title->text(), QStringLiteral("MBROWN - User Database Privileges"));
    EXPECT_EQ(QStringList({textOf(e.txtDatabase), textOf(e.cboUser), textOf(e.txtUser), textOf(e.txtDbUser),
                           textOf(e.txtPassword), textOf(e.txtConfirm), textOf(e.cboLevel), textOf(e.txtLevel),
                           textOf(e.txtRemarks), checks(e.chkAllow)}),
              QStringList({"STOCK", "MBROWN", "MBROWN", "STOCKAPP", kBlanks, kBlanks, "DATABASE", "DATABASE", "",
                           "1111"}));
    EXPECT_EQ(items(e.cboUser), QStringList{"MBROWN"});
    EXPECT_EQ(e.txtConfirm->maxLength(), 10);
    for (QWidget *w : QList<QWidget *>{e.txtDatabase, e.cboUser, e.txtDbUser, e.txtPassword, e.txtConfirm, e.cboLevel,
                                       e.txtRemarks, e.chkAllow[0]})
        EXPECT_FALSE(w->isEnabled()) << w->objectName().toStdString();
    EXPECT_FALSE(e.txtUser->isVisible()); // the twins
    EXPECT_EQ(state(), QStringLiteral("+++---"));
    EXPECT_EQ(visibleBands(), QStringList({"tbrMain", "tbrDBPRV"}));

    // Editing: every user in the list, the row's user kept, no change counted.
    edit(QStringLiteral("SALES"), QStringLiteral("MBROWN"));
    EXPECT_EQ(e.lblTitle.title->text(), QStringLiteral("MBROWN - Edit User Privileges"));
    EXPECT_EQ(items(e.cboUser), QStringList({"ADMIN", "BOB", "JSMITH", "MBROWN", "REPORTS"}));
    EXPECT_EQ(textOf(e.cboUser), QStringLiteral("MBROWN"));
    EXPECT_EQ(checks(e.chkAllow), QStringLiteral("1000"));
    EXPECT_FALSE(e.KeyChanged());
    EXPECT_FALSE(e.cmdAction->isEnabled());
    EXPECT_EQ(state(), QStringLiteral("---++-"));
    EXPECT_FALSE(e.txtDatabase->isEnabled());
    EXPECT_FALSE(e.txtUser->isEnabled());
    for (QWidget *w : QList<QWidget *>{e.cboUser, e.txtDbUser, e.txtPassword, e.txtConfirm, e.cboLevel, e.txtRemarks,
                                       e.chkAllow[3]})
        EXPECT_TRUE(w->isEnabled()) << w->objectName().toStdString();
    for (const QString &text : std::as_const(held))
        for (const char *stored : {"ORDERS24", "BINS2024"})
            EXPECT_FALSE(text.contains(QLatin1String(stored))) << stored;
}

TEST_F(DbPrvEditor, AddWritesTheTenColumnsAndListsTheNode)
{
    openSalesPrivileges();
    frmDBPRV &e = addNew(QStringLiteral("SALES"));
    EXPECT_EQ(e.lblTitle.title->text(), QStringLiteral("Add New User Privileges to SALES"));
    EXPECT_EQ(textOf(e.txtDatabase), QStringLiteral("SALES"));
    EXPECT_EQ(e.cboUser->currentIndex(), -1);
    EXPECT_EQ(checks(e.chkAllow), QStringLiteral("0000"));
    EXPECT_EQ(state(), QStringLiteral("---++-"));
    type(e.cboUser, QStringLiteral("b")); // type-ahead
    EXPECT_EQ(textOf(e.txtUser), QStringLiteral("BOB"));
    EXPECT_TRUE(e.KeyChanged());
    type(e.txtDbUser, QStringLiteral("bob app"));
    type(e.txtPassword, QStringLiteral("pw1"));
    type(e.txtConfirm, QStringLiteral("pw1"));
    type(e.cboLevel, QStringLiteral("t"));
    click(e.chkAllow[0]);
    click(e.chkAllow[2]);
    EXPECT_EQ(textOf(e.findChild<QLineEdit *>(QStringLiteral("txtProperty_8"))), QStringLiteral("1"));
    type(e.txtRemarks, QStringLiteral("Bob's"));
    click(e.cmdAction);
    EXPECT_EQ(takeMessages(), QStringList());
    // The database and the user are read first in the unit.
    EXPECT_EQ(modUpdate::LastStatements(),
              QStringList({"SELECT DATABASE_NAME FROM QN_DB WHERE DATABASE_NAME = 'SALES'",
                           "SELECT USER_NAME FROM QN_USER WHERE USER_NAME = 'BOB'",
                           "INSERT INTO QN_DBPRV (DATABASE_NAME, USER_NAME, DATABASE_USERNAME, DATABASE_PASSWORD, "
                           "SECURITY_LEVEL, REMARKS, ALLOW_SELECT, ALLOW_INSERT, ALLOW_UPDATE, ALLOW_DELETE) VALUES "
                           "('SALES', 'BOB', 'BOB_APP', 'PW1', 'TABLE', 'Bob''s', 01, 0, 01, 0)"}));
    EXPECT_EQ(prvRow(QStringLiteral("SALES"), QStringLiteral("BOB")),
              QStringList{"BOB|SALES|BOB_APP|PW1|1|0|1|0|TABLE|Bob's"});
    EXPECT_TRUE(node(kSalesPrv + QStringLiteral("dbprv=BOB:")));
    // The next row: empty but for the database, still adding.
    EXPECT_EQ(e.EditorMode(), QStringLiteral("User Add"));
    EXPECT_EQ(textOf(e.txtDatabase), QStringLiteral("SALES"));
    EXPECT_EQ(textOf(e.cboUser), QString());
    EXPECT_EQ(checks(e.chkAllow), QStringLiteral("0000"));
    EXPECT_EQ(current(), QStringLiteral("frmDBPRV"));
    EXPECT_TRUE(ui().errors().isEmpty());
}

// The rules in order, each with its message and focus; nothing written.
TEST_F(DbPrvEditor, ValidationRules)
{
    struct Case
    {
        const char *name;
        std::function<void(frmDBPRV &)> change;
        QList<int> answers;   // to the questions and messages, in order
        QStringList messages; // empty: saved
        std::function<QWidget *(frmDBPRV &)> focus;
    };
    const QString level = QStringLiteral("Please select a Secutity Level from the dropdown list");
    const QString noUser = QStringLiteral("Please select a Username from the dropdown list.");
    const QString mismatch = QStringLiteral("Password and Confirmation do not match!  Please re-enter the password.");
    auto userBox = [](frmDBPRV &e) -> QWidget * { return e.cboUser; };
    auto passwordBox = [](frmDBPRV &e) -> QWidget * { return e.txtPassword; };
    const QList<Case> cases = {
        {"no user", [](frmDBPRV &e) { e.cboUser->setCurrentIndex(-1); }, {ui::vbOK}, {noUser}, userBox},
        // (Typed keys only pick list items: the name comes as a paste from the context menu would.)
        {"a name that is no user", [](frmDBPRV &e) { e.cboUser->setEditText(QStringLiteral("NOBODY")); },
         {ui::vbOK}, {noUser}, userBox},
        {"the user has privileges here", [](frmDBPRV &e) { choose(e.cboUser, QStringLiteral("J")); }, {ui::vbOK},
         {"User 'JSMITH' already has Database Privileges set for this Database."},
         [](frmDBPRV &e) -> QWidget * { return e.cmdAction; }}, // the focus stays
        {"no password: Yes to the question", [](frmDBPRV &e) { e.txtPassword->clear(); }, {ui::vbYes}, {kQuestion},
         passwordBox},
        {"no level", [](frmDBPRV &e) { e.cboLevel->setCurrentIndex(-1); }, {ui::vbOK}, {level},
         [](frmDBPRV &e) -> QWidget * { return e.cboLevel; }},
        {"no password and no level", [](frmDBPRV &e) {
             e.txtPassword->clear();
             e.cboLevel->setCurrentIndex(-1);
         },
         {ui::vbNo, ui::vbOK}, {kQuestion, level}, [](frmDBPRV &e) -> QWidget * { return e.cboLevel; }},
        {"confirmation differs", [](frmDBPRV &e) { type(e.txtConfirm, QStringLiteral("X")); }, {ui::vbOK},
         {mismatch}, passwordBox},
        {"no confirmation", [](frmDBPRV &e) { e.txtConfirm->clear(); }, {ui::vbOK}, {mismatch}, passwordBox},
        {"no password: No to the question", [](frmDBPRV &e) { e.txtPassword->clear(); }, {ui::vbNo}, {kQuestion},
         {}},
        {"all given", [](frmDBPRV &) {}, {}, {}, {}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        open()->Execute(QStringLiteral("DELETE FROM QN_DBPRV WHERE USER_NAME = 'BOB'"));
        frmDBPRV &e = addNew(QStringLiteral("SALES"));
        type(e.cboUser, QStringLiteral("B"));
        type(e.txtPassword, QStringLiteral("PW"));
        type(e.txtConfirm, QStringLiteral("PW"));
        type(e.cboLevel, QStringLiteral("D"));
        c.change(e);
        takeMessages();
        for (int answer : c.answers)
            ui().answerMsgBox(answer);
        click(e.cmdAction);
        EXPECT_EQ(takeMessages(), c.messages);
        const bool saved = c.focus == nullptr;
        EXPECT_EQ(prvRow(QStringLiteral("SALES"), QStringLiteral("BOB")).size(), saved ? 1 : 0);
        if (!saved) {
            EXPECT_EQ(focused(), c.focus(e));
            EXPECT_EQ(e.EditorMode(), QStringLiteral("User Add"));
        }
    }
    EXPECT_EQ(scalar(QStringLiteral("SELECT DATABASE_PASSWORD FROM QN_DBPRV WHERE USER_NAME = 'BOB'")).toString(),
              QStringLiteral("PW"));
}

// Choosing another user moves the row, the stored password and the old
// user's table privileges in the database with it; the node follows.
TEST_F(DbPrvEditor, MovedToAnotherUser)
{
    openSalesPrivileges();
    EXPECT_EQ(owned(QStringLiteral("MBROWN")), QStringLiteral("1 2"));
    frmDBPRV &e = edit(QStringLiteral("SALES"), QStringLiteral("MBROWN"));
    choose(e.cboUser, QStringLiteral("B"));
    EXPECT_EQ(textOf(e.txtUser), QStringLiteral("BOB"));
    ui().answerMsgBox(ui::vbNo); // the password question
    click(e.cmdAction);
    EXPECT_EQ(takeMessages(), QStringList{kQuestion});
    const QStringList s = modUpdate::LastStatements();
    ASSERT_GT(s.size(), 2);
    EXPECT_EQ(s.first(), QStringLiteral("SELECT * FROM QN_DBPRV WHERE DATABASE_NAME = 'SALES' AND USER_NAME = 'MBROWN' "));
    EXPECT_EQ(s.last(), QStringLiteral("UPDATE QN_DBPRV SET DATABASE_USERNAME = 'STOCKAPP', ALLOW_SELECT = 01, "
                                       "ALLOW_INSERT = 00, ALLOW_UPDATE = 00, ALLOW_DELETE = 00, SECURITY_LEVEL = "
                                       "'TABLE', REMARKS = 'Orders to pick' WHERE DATABASE_NAME = 'SALES' AND "
                                       "USER_NAME = 'BOB'"));
    EXPECT_EQ(owned(QStringLiteral("MBROWN")), QStringLiteral("0 0"));
    EXPECT_EQ(owned(QStringLiteral("BOB")), QStringLiteral("1 2"));
    EXPECT_EQ(prvRow(QStringLiteral("SALES"), QStringLiteral("BOB")),
              QStringList{"BOB|SALES|STOCKAPP|BINS2024|1|0|0|0|TABLE|Orders to pick"});
    EXPECT_EQ(prvRow(QStringLiteral("STOCK"), QStringLiteral("MBROWN")).size(), 1); // another database's stays
    EXPECT_FALSE(gNodes().Item(kSalesPrv + QStringLiteral("dbprv=MBROWN:")));
    const CNodePtr moved = gNodes().Item(kSalesPrv + QStringLiteral("dbprv=BOB:"));
    ASSERT_TRUE(moved);
    EXPECT_EQ(moved->NodeData, QStringLiteral("BOB"));
    EXPECT_EQ(node(moved->Key)->text(), QStringLiteral("BOB"));
    EXPECT_EQ(e.lblTitle.title->text(), QStringLiteral("BOB - User Database Privileges"));
    EXPECT_EQ(e.EditorMode(), QString());
    EXPECT_TRUE(ui().errors().isEmpty());
}

// An edit that keeps the user (the list refilled, or a user chosen and put
// back) runs no move and asks nothing: a Null password stays Null.
TEST_F(DbPrvEditor, AnEditThatKeepsTheUserRunsNoMove)
{
    frmDBPRV &e = edit(QStringLiteral("SALES"), QStringLiteral("REPORTS"));
    click(e.chkAllow[3]);
    choose(e.cboUser, QStringLiteral("B"));
    choose(e.cboUser, QStringLiteral("R"));
    EXPECT_EQ(textOf(e.txtUser), QStringLiteral("REPORTS"));
    click(e.cmdAction);
    EXPECT_EQ(takeMessages(), QStringList());
    EXPECT_EQ(modUpdate::LastStatements(),
              QStringList{"UPDATE QN_DBPRV SET DATABASE_USERNAME = 'REPORTER', ALLOW_SELECT = 01, ALLOW_INSERT = 00, "
                          "ALLOW_UPDATE = 00, ALLOW_DELETE = 01, SECURITY_LEVEL = 'TABLE', REMARKS = NULL WHERE "
                          "DATABASE_NAME = 'SALES' AND USER_NAME = 'REPORTS'"});
    EXPECT_EQ(prvRow(QStringLiteral("SALES"), QStringLiteral("REPORTS")),
              QStringList{"REPORTS|SALES|REPORTER|<null>|1|0|0|1|TABLE|"});

    // A password typed and confirmed is written.
    edit(QStringLiteral("SALES"), QStringLiteral("REPORTS"));
    type(e.txtPassword, QStringLiteral("r3p"));
    type(e.txtConfirm, QStringLiteral("R3P"));
    click(e.cmdAction);
    EXPECT_EQ(modUpdate::LastStatements(),
              QStringList{"UPDATE QN_DBPRV SET DATABASE_USERNAME = 'REPORTER', DATABASE_PASSWORD = 'R3P', ALLOW_SELECT "
                          "= 01, ALLOW_INSERT = 00, ALLOW_UPDATE = 00, ALLOW_DELETE = 01, SECURITY_LEVEL = 'TABLE', "
                          "REMARKS = NULL WHERE DATABASE_NAME = 'SALES' AND USER_NAME = 'REPORTS'"});
}

TEST_F(DbPrvEditor, DeleteRemovesOnlyThisRow)
{
    openSalesPrivileges();
    display(QStringLiteral("SALES"), QStringLiteral("MBROWN"));
    ui().answerMsgBox(ui::vbYes);
    clickBand(QStringLiteral("User Delete"));
    EXPECT_EQ(takeMessages(), QStringList{"Are you sure you wish to delete this users database privileges?"});
    EXPECT_EQ(modUpdate::LastStatements(),
              QStringList{"DELETE FROM QN_DBPRV WHERE DATABASE_NAME = 'SALES' AND USER_NAME = 'MBROWN'"});
    EXPECT_EQ(owned(QStringLiteral("MBROWN")), QStringLiteral("0 2")); // the table privileges stay
    EXPECT_EQ(prvRow(QStringLiteral("STOCK"), QStringLiteral("MBROWN")).size(), 1);
    EXPECT_FALSE(node(kSalesPrv + QStringLiteral("dbprv=MBROWN:")));
    EXPECT_EQ(current(), QStringLiteral("frmDBPRVs"));
    if (const QStringList c = calls(QStringLiteral("frmDBPRVs")); !c.isEmpty()) {
        EXPECT_EQ(c.last(), QStringLiteral("Display:QnTest,SALES"));
    }

    // No: the delete stays pending; Cancel shows the row again.
    display(QStringLiteral("SALES"), QStringLiteral("JSMITH"));
    ui().answerMsgBox(ui::vbNo);
    clickBand(QStringLiteral("User Delete"));
    EXPECT_EQ(editor().EditorMode(), QStringLiteral("User Delete"));
    EXPECT_EQ(editor().lblTitle.title->text(), QStringLiteral("JSMITH - Delete User Privileges"));
    clickBand(QStringLiteral("Cancel"));
    EXPECT_EQ(editor().EditorMode(), QString());
    EXPECT_EQ(owned(QStringLiteral("JSMITH")), QStringLiteral("1 0"));
}

// The error dialog never shows a password: neither the UPDATE's nor the one
// the move copies.
TEST_F(DbPrvEditor, AFailedSaveShowsNoPassword)
{
    frmDBPRV &e = edit(QStringLiteral("SALES"), QStringLiteral("JSMITH"));
    type(e.txtPassword, QStringLiteral("SECRET9"));
    type(e.txtConfirm, QStringLiteral("SECRET9"));
    dao::Faults::Add(dao::Faults::Statement, 1, QStringLiteral("HY000"), QStringLiteral("disk full"));
    ui().answerError(ui::vbIgnore);
    click(e.cmdAction);
    ASSERT_EQ(ui().errors().size(), 1);
    EXPECT_EQ(ui().errors()[0].trappedIn, QStringLiteral("frmDBPRV.tbr_ButtonClick"));
    EXPECT_TRUE(ui().errors()[0].additionalInfo.contains(QStringLiteral("DATABASE_PASSWORD = '****'")));
    EXPECT_FALSE(ui().errors()[0].additionalInfo.contains(QStringLiteral("SECRET9")));
    EXPECT_EQ(prvRow(QStringLiteral("SALES"), QStringLiteral("JSMITH")).value(0).section(QLatin1Char('|'), 3, 3),
              QStringLiteral("ORDERS24"));

    // A move whose every statement after the first read fails in turn: the
    // writer's INSERT, which copies the stored password, shows it masked.
    int shownInsert = 0;
    for (int nth = 3; nth <= 6; ++nth) {
        SCOPED_TRACE(nth);
        edit(QStringLiteral("SALES"), QStringLiteral("JSMITH"));
        choose(e.cboUser, QStringLiteral("B"));
        ui().clear();
        // The user check and the duplicate check come first.
        dao::Faults::Add(dao::Faults::Statement, nth, QStringLiteral("HY000"), QStringLiteral("disk full"));
        ui().answerMsgBox(ui::vbNo);
        ui().answerError(ui::vbIgnore);
        click(e.cmdAction);
        ASSERT_EQ(ui().errors().size(), 1);
        const QString info = ui().errors()[0].additionalInfo;
        if (info.contains(QStringLiteral("INSERT INTO QN_DBPRV")))
            shownInsert += info.count(QStringLiteral("'****'"));
        EXPECT_FALSE(ui().errors()[0].additionalInfo.contains(QStringLiteral("ORDERS24")))
            << ui().errors()[0].additionalInfo.toStdString();
        EXPECT_EQ(owned(QStringLiteral("JSMITH")), QStringLiteral("1 0"));
        EXPECT_EQ(owned(QStringLiteral("BOB")), QStringLiteral("0 0"));
    }
    EXPECT_GT(shownInsert, 0);
}

TEST_F(DbPrvEditor, CancelAndUp)
{
    openSalesPrivileges();
    frmDBPRV &e = addNew(QStringLiteral("SALES"));
    type(e.cboUser, QStringLiteral("B"));
    click(e.cmdCancel);
    EXPECT_EQ(current(), QStringLiteral("frmDBPRVs"));
    EXPECT_EQ(owned(QStringLiteral("BOB")), QStringLiteral("0 0"));

    edit(QStringLiteral("SALES"), QStringLiteral("JSMITH"));
    click(e.chkAllow[3]);
    clickBand(QStringLiteral("Undo"));
    EXPECT_EQ(checks(e.chkAllow), QStringLiteral("1110"));
    EXPECT_EQ(e.EditorMode(), QStringLiteral("User Edit"));
    clickBand(QStringLiteral("Up1"));
    EXPECT_EQ(current(), QStringLiteral("frmDBPRVs"));
    ASSERT_TRUE(gNodes().SelectedItem());
    EXPECT_EQ(gNodes().SelectedItem()->Key, kSalesPrv);
}

} // namespace
