// The user editor: the password never shown and its rules, the statements of
// an add, an edit, a rename and a delete, the tree following a rename, the
// protection of 'ADMIN' and the validation messages.

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include "editorfixture.h"
#include "editors/security/frmuser.h"

namespace {

const QString kDsKey = QStringLiteral("DSN=QnTest:");
const QString kUsers = QStringLiteral("DSN=QnTest:US=QnTest:");
const QString kDbs = QStringLiteral("DSN=QnTest:DB=QnTest:");
const QString kBlanks = QString(9, QLatin1Char(' ')); // USER_PASSWORD is VARCHAR(10)
const QString kQuestion = QStringLiteral("The password will be re-set to blank unless you specify a new one.\r\n"
                                         "Do you wish to specify a new password now?");
const QString kMismatch = QStringLiteral("Password and Confirmation do not match!  Please re-enter the password.");

class UserEditor : public EditorOf<frmUser>
{
protected:
    UserEditor() : EditorOf(QStringLiteral("frmUser"), {"User Add", "User Edit", "User Delete", "OK", "Cancel", "Undo"}) {}

    QStringList userRow(const QString &name)
    {
        return rows(QStringLiteral("SELECT USER_NAME, USER_PASSWORD, REMARKS FROM QN_USER WHERE USER_NAME = '%1'").arg(name));
    }
    QString password(const QString &name)
    {
        const QVariant v = scalar(QStringLiteral("SELECT USER_PASSWORD FROM QN_USER WHERE USER_NAME = '%1'").arg(name));
        return v.isNull() ? QStringLiteral("<null>") : v.toString();
    }
    // The user's rows in QN_USER, QN_DBPRV and QN_TBLPRV.
    QString owned(const QString &name)
    {
        return counts({"QN_USER", "QN_DBPRV", "QN_TBLPRV"}, QStringLiteral("USER_NAME = '%1'").arg(name));
    }
    void openUsers() { openPath({kDsKey, kUsers}); }
};

TEST_F(UserEditor, DisplayNeverShowsTheStoredPassword)
{
    // Every text the password boxes ever hold while rows are shown and edited.
    display(QStringLiteral("ADMIN"));
    frmUser &e = editor();
    QStringList held;
    for (QLineEdit *box : {e.txtPassword, e.txtConfirm})
        QObject::connect(box, &QLineEdit::textChanged, &e, [&](const QString &text) { held << text; });
    display(QStringLiteral("JSMITH"));
    EXPECT_EQ(e.lblTitle.title->text(), QStringLiteral("JSMITH - User Properties"));
    EXPECT_EQ(e.lblTitle.shadow->text(), e.lblTitle.title->text());
    EXPECT_EQ(textOf(e.txtName), QStringLiteral("JSMITH"));
    EXPECT_EQ(textOf(e.txtRemarks), QStringLiteral("Sales office"));
    EXPECT_EQ(textOf(e.txtPassword), kBlanks);
    EXPECT_EQ(textOf(e.txtConfirm), kBlanks);
    EXPECT_EQ(e.txtConfirm->maxLength(), 10);
    EXPECT_EQ(e.txtPassword->echoMode(), QLineEdit::Password);
    EXPECT_EQ(e.txtConfirm->echoMode(), QLineEdit::Password);
    for (QWidget *w : QList<QWidget *>{e.txtName, e.txtPassword, e.txtConfirm, e.txtRemarks})
        EXPECT_FALSE(w->isEnabled()) << w->objectName().toStdString();
    EXPECT_EQ(state(), QStringLiteral("+++---"));
    EXPECT_FALSE(e.cmdAction->isVisible());
    EXPECT_EQ(visibleBands(), QStringList({"tbrMain", "tbrUser"}));

    edit(QStringLiteral("MBROWN"));
    EXPECT_EQ(e.lblTitle.title->text(), QStringLiteral("MBROWN - Edit User Properties"));
    EXPECT_EQ(textOf(e.txtPassword), kBlanks);
    EXPECT_TRUE(e.txtConfirm->isEnabled());
    EXPECT_EQ(state(), QStringLiteral("---++-"));
    clickBand(QStringLiteral("Undo"));
    ui().answerMsgBox(ui::vbNo);
    main().PaneDelete(QStringLiteral("frmUser"), {kDs, QStringLiteral("REPORTS")});
    EXPECT_EQ(textOf(e.txtPassword), kBlanks);
    EXPECT_FALSE(e.txtConfirm->isEnabled());
    for (const QString &text : std::as_const(held))
        for (const char *stored : {"WELCOME1", "STOCK99", "VIEWONLY"})
            EXPECT_FALSE(text.contains(QLatin1String(stored))) << stored;

    // A new user: both boxes empty, the confirmation limited to the column's size.
    addNew();
    EXPECT_EQ(e.lblTitle.title->text(), QStringLiteral("Add New User to QnTest"));
    EXPECT_EQ(textOf(e.txtPassword), QString());
    EXPECT_EQ(textOf(e.txtConfirm), QString());
    EXPECT_EQ(e.txtConfirm->maxLength(), 10);
}

// What the password boxes take: the blanks go with the first character,
// letters are upper-cased, blanks and other characters refused, pasting
// included; the confirmation box follows the same rules, and neither box's
// blanks ever become a password.
TEST_F(UserEditor, ThePasswordBoxesTakeOnlyPasswordCharacters)
{
    frmUser &e = edit(QStringLiteral("JSMITH"));
    for (QLineEdit *box : {e.txtPassword, e.txtConfirm}) {
        SCOPED_TRACE(box->objectName().toStdString());
        edit(QStringLiteral("JSMITH"));
        type(box, QStringLiteral("a b!c-_9")); // typed after the blanks, caret at the end
        EXPECT_EQ(textOf(box), QStringLiteral("ABC-_9"));
        // A pasted password is refused whole when it holds a character typing refuses.
        paste(box, QStringLiteral("x y"));
        EXPECT_EQ(textOf(box), QStringLiteral("ABC-_9"));
        paste(box, QStringLiteral("no;pe"));
        EXPECT_EQ(textOf(box), QStringLiteral("ABC-_9"));
        paste(box, QStringLiteral("xy"));
        EXPECT_EQ(textOf(box), QStringLiteral("XY"));
        QTest::keyClick(box, Qt::Key_End);
        QTest::keyClicks(box, QStringLiteral("0123456789"));
        EXPECT_EQ(textOf(box), QStringLiteral("XY01234567")); // the column's 10 characters
    }
    // Typing into the blanks after a click, anywhere: the blanks are gone.
    edit(QStringLiteral("JSMITH"));
    QTest::mouseClick(e.txtPassword, Qt::LeftButton, {}, QPoint(4, e.txtPassword->height() / 2));
    QCoreApplication::processEvents();
    EXPECT_EQ(e.txtPassword->selectedText(), kBlanks); // the focus selects the whole box
    QTest::keyClick(e.txtPassword, Qt::Key_Home);
    QTest::keyClicks(e.txtPassword, QStringLiteral("k"));
    EXPECT_EQ(textOf(e.txtPassword), QStringLiteral("K"));
    // Typing in the confirmation box alone changes nothing of the record.
    edit(QStringLiteral("JSMITH"));
    type(e.txtConfirm, QStringLiteral("Z"));
    EXPECT_FALSE(e.cmdAction->isEnabled());
    EXPECT_EQ(state(), QStringLiteral("---++-"));
}

TEST_F(UserEditor, AddWritesTheGivenInsertAndListsTheUser)
{
    openUsers();
    frmUser &e = addNew();
    type(e.txtName, QStringLiteral("bob"));
    type(e.txtPassword, QStringLiteral("secret1"));
    type(e.txtConfirm, QStringLiteral("secret1"));
    type(e.txtRemarks, QStringLiteral("Bob's first"));
    click(e.cmdAction);
    EXPECT_EQ(takeMessages(), QStringList());
    EXPECT_EQ(modUpdate::LastStatements(),
              QStringList{"INSERT INTO QN_USER (USER_PASSWORD, REMARKS, USER_NAME) VALUES ('SECRET1', 'Bob''s first', "
                          "'BOB')"});
    EXPECT_EQ(userRow(QStringLiteral("BOB")), QStringList{"BOB|SECRET1|Bob's first"});
    EXPECT_TRUE(node(kUsers + QStringLiteral("us=BOB:")));
    // The next user: an empty form, still adding, the pane kept.
    EXPECT_EQ(e.EditorMode(), QStringLiteral("User Add"));
    EXPECT_EQ(textOf(e.txtName), QString());
    EXPECT_EQ(textOf(e.txtPassword), QString());
    EXPECT_EQ(textOf(e.txtConfirm), QString());
    EXPECT_EQ(current(), QStringLiteral("frmUser"));

    // No password: the question; Yes goes back to the password box, No adds the user without one.
    type(e.txtName, QStringLiteral("CAROL"));
    ui().answerMsgBox(ui::vbYes);
    click(e.cmdAction);
    EXPECT_EQ(takeMessages(), QStringList{kQuestion});
    EXPECT_EQ(focused(), e.txtPassword);
    EXPECT_EQ(owned(QStringLiteral("CAROL")), QStringLiteral("0 0 0"));
    ui().answerMsgBox(ui::vbNo);
    click(e.cmdAction);
    EXPECT_EQ(takeMessages(), QStringList{kQuestion});
    EXPECT_EQ(userRow(QStringLiteral("CAROL")), QStringList{"CAROL||"});
    EXPECT_EQ(password(QStringLiteral("CAROL")), QString());
}

TEST_F(UserEditor, EditWritesThePasswordOnlyWhenOneIsTyped)
{
    frmUser &e = edit(QStringLiteral("JSMITH"));
    type(e.txtRemarks, QStringLiteral(" (north)"));
    type(e.txtConfirm, QStringLiteral("IGNORED")); // a confirmation alone is not compared
    click(e.cmdAction);
    EXPECT_EQ(takeMessages(), QStringList());
    EXPECT_EQ(modUpdate::LastStatements(),
              QStringList{"UPDATE QN_USER SET REMARKS = 'Sales office (north)' WHERE USER_NAME = 'JSMITH'"});
    EXPECT_EQ(userRow(QStringLiteral("JSMITH")), QStringList{"JSMITH|WELCOME1|Sales office (north)"});
    EXPECT_EQ(e.EditorMode(), QString());
    EXPECT_EQ(textOf(e.txtPassword), kBlanks);

    // A new password and its confirmation.
    edit(QStringLiteral("JSMITH"));
    type(e.txtPassword, QStringLiteral("new1"));
    type(e.txtConfirm, QStringLiteral("new1"));
    click(e.cmdAction);
    EXPECT_EQ(modUpdate::LastStatements(),
              QStringList{"UPDATE QN_USER SET USER_PASSWORD = 'NEW1', REMARKS = 'Sales office (north)' WHERE "
                          "USER_NAME = 'JSMITH'"});
    EXPECT_EQ(password(QStringLiteral("JSMITH")), QStringLiteral("NEW1"));

    // A password whose confirmation was left at its blanks, or differs: refused.
    for (const QString &confirm : {QString(), QStringLiteral("NEW3")}) {
        edit(QStringLiteral("JSMITH"));
        takeMessages(); // the second time: the question about the refused changes
        type(e.txtPassword, QStringLiteral("NEW2"));
        if (!confirm.isEmpty())
            type(e.txtConfirm, confirm);
        ui().answerMsgBox(ui::vbOK);
        click(e.cmdAction);
        EXPECT_EQ(takeMessages(), QStringList{kMismatch});
        EXPECT_EQ(focused(), e.txtPassword);
        EXPECT_EQ(e.EditorMode(), QStringLiteral("User Edit"));
        EXPECT_EQ(password(QStringLiteral("JSMITH")), QStringLiteral("NEW1"));
    }
}

TEST_F(UserEditor, RenameMovesThePrivilegesAndTheirNodesFollow)
{
    // The tree open at the user, at SALES's database privileges and at the
    // table privileges of SALES.ORDERS; STOCK's privilege folder stays closed.
    const QString sales = kDbs + QStringLiteral("db=SALES:");
    const QString salesPrv = sales + QStringLiteral("DBPRV=SALES:");
    const QString orders = sales + QStringLiteral("TA=SALES:ta=ORDERS:");
    const QString ordersPrv = orders + QStringLiteral("TBLPRV=ORDERS:");
    openPath({kDsKey, kUsers, kDbs, sales, salesPrv, sales + QStringLiteral("TA=SALES:"), orders, ordersPrv});
    ASSERT_TRUE(node(salesPrv + QStringLiteral("dbprv=MBROWN:")));
    ASSERT_TRUE(node(ordersPrv + QStringLiteral("tblprv=MBROWN:")));
    EXPECT_EQ(owned(QStringLiteral("MBROWN")), QStringLiteral("1 2 2"));

    frmUser &e = edit(QStringLiteral("MBROWN"));
    retype(e.txtName, QStringLiteral("MGREEN"));
    ui().answerMsgBox(ui::vbNo); // no new password now
    click(e.cmdAction);
    EXPECT_EQ(takeMessages(), QStringList{kQuestion});
    const QStringList s = modUpdate::LastStatements();
    ASSERT_GT(s.size(), 2);
    EXPECT_EQ(s.first(), QStringLiteral("SELECT * FROM QN_USER WHERE USER_NAME = 'MBROWN'"));
    EXPECT_EQ(s.last(), QStringLiteral("UPDATE QN_USER SET REMARKS = 'Warehouse' WHERE USER_NAME = 'MGREEN'"));
    EXPECT_EQ(owned(QStringLiteral("MBROWN")), QStringLiteral("0 0 0"));
    EXPECT_EQ(owned(QStringLiteral("MGREEN")), QStringLiteral("1 2 2"));
    EXPECT_EQ(password(QStringLiteral("MGREEN")), QString()); // emptied, as the user was told
    EXPECT_EQ(rows(QStringLiteral("SELECT DATABASE_NAME, DATABASE_USERNAME, DATABASE_PASSWORD FROM QN_DBPRV WHERE "
                                  "USER_NAME = 'MGREEN' ORDER BY DATABASE_NAME")),
              QStringList({"SALES|STOCKAPP|BINS2024", "STOCK|STOCKAPP|BINS2024"}));

    // The nodes: the user's, and its privileges' under the open folders.
    for (const QString &folder : {kUsers + QStringLiteral("us="), salesPrv + QStringLiteral("dbprv="),
                                  ordersPrv + QStringLiteral("tblprv=")}) {
        SCOPED_TRACE(folder.toStdString());
        EXPECT_FALSE(gNodes().Item(folder + QStringLiteral("MBROWN:")));
        const CNodePtr renamed = gNodes().Item(folder + QStringLiteral("MGREEN:"));
        ASSERT_TRUE(renamed);
        EXPECT_EQ(renamed->NodeData, QStringLiteral("MGREEN"));
        EXPECT_EQ(node(renamed->Key)->text(), QStringLiteral("MGREEN"));
    }
    EXPECT_EQ(e.lblTitle.title->text(), QStringLiteral("MGREEN - User Properties"));
    EXPECT_EQ(e.EditorMode(), QString());
    EXPECT_TRUE(ui().errors().isEmpty());

    // A rename with a new password writes it under the new name; Yes to the
    // question goes back to the password box first.
    edit(QStringLiteral("MGREEN"));
    retype(e.txtName, QStringLiteral("MBROWN"));
    ui().answerMsgBox(ui::vbYes);
    click(e.cmdAction);
    EXPECT_EQ(focused(), e.txtPassword);
    EXPECT_EQ(owned(QStringLiteral("MGREEN")), QStringLiteral("1 2 2"));
    type(e.txtPassword, QStringLiteral("bins"));
    type(e.txtConfirm, QStringLiteral("BINS"));
    click(e.cmdAction);
    EXPECT_EQ(takeMessages(), QStringList{kQuestion});
    EXPECT_EQ(userRow(QStringLiteral("MBROWN")), QStringList{"MBROWN|BINS|Warehouse"});
}

// A name typed back to the one shown is no rename: no question, no writer, the password kept.
TEST_F(UserEditor, ANameTypedBackRunsNoRename)
{
    frmUser &e = edit(QStringLiteral("JSMITH"));
    type(e.txtName, QStringLiteral("X"));
    QTest::keyClick(e.txtName, Qt::Key_Backspace);
    EXPECT_TRUE(e.KeyChanged());
    click(e.cmdAction);
    EXPECT_EQ(takeMessages(), QStringList());
    EXPECT_EQ(modUpdate::LastStatements(),
              QStringList{"UPDATE QN_USER SET REMARKS = 'Sales office' WHERE USER_NAME = 'JSMITH'"});
    EXPECT_EQ(password(QStringLiteral("JSMITH")), QStringLiteral("WELCOME1"));
}

TEST_F(UserEditor, AdminCanBeNeitherDeletedNorRenamed)
{
    // Delete from the host (the context menu's way): a critical refusal, no question.
    ui().answerMsgBox(ui::vbOK);
    main().PaneDelete(QStringLiteral("frmUser"), {kDs, QStringLiteral("ADMIN")});
    frmUser &e = editor();
    ASSERT_EQ(ui().shown().size(), 1);
    EXPECT_EQ(ui().shown()[0].text, QStringLiteral("You cannot delete User 'ADMIN'"));
    EXPECT_EQ(ui().shown()[0].style & 0x70, int(ui::vbCritical));
    ui().clear();
    EXPECT_EQ(e.EditorMode(), QStringLiteral("User Delete"));
    // OK of the pending delete refuses again; Cancel shows the row.
    ui().answerMsgBox(ui::vbOK);
    clickBand(QStringLiteral("OK"));
    EXPECT_EQ(takeMessages(), QStringList{"You cannot delete the ADMIN User!"});
    EXPECT_EQ(owned(QStringLiteral("ADMIN")), QStringLiteral("1 3 0"));
    clickBand(QStringLiteral("Cancel"));
    EXPECT_EQ(e.EditorMode(), QString());
    // The band's Delete refuses without entering the delete mode.
    ui().answerMsgBox(ui::vbOK);
    clickBand(QStringLiteral("User Delete"));
    EXPECT_EQ(takeMessages(), QStringList{"You cannot delete the ADMIN User!"});
    EXPECT_EQ(e.EditorMode(), QString());

    // A rename is refused and the name put back; saving then writes the remarks
    // only, with no question and no rename: the Null password stays Null.
    edit(QStringLiteral("ADMIN"));
    retype(e.txtName, QStringLiteral("ROOT"));
    type(e.txtRemarks, QStringLiteral("!"));
    ui().answerMsgBox(ui::vbOK);
    click(e.cmdAction);
    EXPECT_EQ(takeMessages(), QStringList{"You cannot change the name of the ADMIN user."});
    EXPECT_EQ(textOf(e.txtName), QStringLiteral("ADMIN"));
    EXPECT_EQ(focused(), e.txtName);
    EXPECT_EQ(e.EditorMode(), QStringLiteral("User Edit"));
    EXPECT_EQ(owned(QStringLiteral("ROOT")), QStringLiteral("0 0 0"));
    click(e.cmdAction);
    EXPECT_EQ(takeMessages(), QStringList());
    EXPECT_EQ(modUpdate::LastStatements(),
              QStringList{"UPDATE QN_USER SET REMARKS = 'Catalog administrator!' WHERE USER_NAME = 'ADMIN'"});
    EXPECT_EQ(password(QStringLiteral("ADMIN")), QStringLiteral("<null>"));

    // Only 'ADMIN' exactly: 'admin' is an ordinary user.
    open()->Execute(QStringLiteral("INSERT INTO QN_USER (USER_NAME, USER_PASSWORD) VALUES ('admin', 'X')"));
    ui().answerMsgBox(ui::vbYes);
    main().PaneDelete(QStringLiteral("frmUser"), {kDs, QStringLiteral("admin")});
    EXPECT_EQ(takeMessages(), QStringList{"Are you sure you want to delete this user?"});
    EXPECT_EQ(owned(QStringLiteral("admin")), QStringLiteral("0 0 0"));
}

TEST_F(UserEditor, DeleteTakesTheUsersPrivileges)
{
    openPath({kDsKey, kUsers, kDbs});
    display(QStringLiteral("MBROWN"));
    ui().answerMsgBox(ui::vbNo);
    clickBand(QStringLiteral("User Delete"));
    EXPECT_EQ(takeMessages(), QStringList{"Are you sure you want to delete this user?"});
    frmUser &e = editor();
    EXPECT_EQ(e.EditorMode(), QStringLiteral("User Delete"));
    EXPECT_EQ(e.lblTitle.title->text(), QStringLiteral("MBROWN - Delete User"));
    EXPECT_EQ(owned(QStringLiteral("MBROWN")), QStringLiteral("1 2 2"));
    // No leaves the delete pending: OK deletes without asking again.
    clickBand(QStringLiteral("OK"));
    EXPECT_EQ(takeMessages(), QStringList());
    EXPECT_EQ(modUpdate::LastStatements(), QStringList({"DELETE FROM QN_USER WHERE USER_NAME = 'MBROWN'",
                                                        "DELETE FROM QN_DBPRV WHERE USER_NAME = 'MBROWN'",
                                                        "DELETE FROM QN_TBLPRV WHERE USER_NAME = 'MBROWN'"}));
    EXPECT_EQ(owned(QStringLiteral("MBROWN")), QStringLiteral("0 0 0"));
    EXPECT_EQ(owned(QStringLiteral("JSMITH")), QStringLiteral("1 2 2"));
    EXPECT_FALSE(node(kUsers + QStringLiteral("us=MBROWN:")));
    EXPECT_TRUE(node(kUsers + QStringLiteral("us=JSMITH:")));
    ASSERT_TRUE(gNodes().SelectedItem());
    EXPECT_EQ(gNodes().SelectedItem()->Key, kDbs);
    EXPECT_EQ(current(), QStringLiteral("frmUsers"));
    if (const QStringList c = calls(QStringLiteral("frmUsers")); !c.isEmpty()) {
        EXPECT_EQ(c.last(), QStringLiteral("Display:QnTest"));
    }
    EXPECT_TRUE(ui().errors().isEmpty());
}

// Each rule with its message and focus; nothing written.
TEST_F(UserEditor, ValidationRules)
{
    struct Case
    {
        const char *name;
        std::function<void(frmUser &)> change;
        QString message;
    };
    const QList<Case> cases = {
        {"no name", [](frmUser &e) { e.txtName->clear(); }, "Please enter a User Name."},
        // Typed or pasted blanks become "_": only a text set by the program holds blanks.
        {"blanks for a name", [](frmUser &e) { e.txtName->setText(QStringLiteral("  ")); }, "Please enter a User Name."},
        {"name taken", [](frmUser &e) { retype(e.txtName, QStringLiteral("REPORTS")); },
         "A user called 'REPORTS' already exits in the Datasource.\r\nUse a unique name to identify this user."},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        frmUser &e = edit(QStringLiteral("JSMITH"));
        c.change(e);
        takeMessages();
        ui().answerMsgBox(ui::vbOK);
        click(e.cmdAction);
        EXPECT_EQ(takeMessages(), QStringList{c.message});
        EXPECT_EQ(focused(), e.txtName);
        EXPECT_EQ(e.EditorMode(), QStringLiteral("User Edit"));
        EXPECT_EQ(userRow(QStringLiteral("JSMITH")), QStringList{"JSMITH|WELCOME1|Sales office"});
    }
    EXPECT_EQ(scalar(QStringLiteral("SELECT COUNT(*) FROM QN_USER")).toInt(), 4);
}

// The error dialog and its report never show a password.
TEST_F(UserEditor, AFailedSaveShowsNoPassword)
{
    frmUser &e = edit(QStringLiteral("JSMITH"));
    type(e.txtPassword, QStringLiteral("TOPSECRET"));
    type(e.txtConfirm, QStringLiteral("TOPSECRET"));
    dao::Faults::Add(dao::Faults::Statement, 1, QStringLiteral("HY000"), QStringLiteral("disk full"));
    ui().answerError(ui::vbIgnore);
    click(e.cmdAction);
    ASSERT_EQ(ui().errors().size(), 1);
    const ScriptedUi::ErrorShown shown = ui().errors().first();
    EXPECT_EQ(shown.trappedIn, QStringLiteral("frmUser.tbr_ButtonClick"));
    EXPECT_FALSE(shown.additionalInfo.contains(QStringLiteral("TOPSECRET")));
    EXPECT_EQ(shown.additionalInfo, shownSQL(QStringLiteral("UPDATE QN_USER SET USER_PASSWORD = '****', REMARKS = "
                                                            "'Sales office' WHERE USER_NAME = 'JSMITH'")));
    EXPECT_EQ(password(QStringLiteral("JSMITH")), QStringLiteral("WELCOME1"));
    EXPECT_EQ(e.EditorMode(), QStringLiteral("User Edit"));

    // The INSERT of a new user likewise.
    addNew();
    type(e.txtName, QStringLiteral("EVE"));
    type(e.txtPassword, QStringLiteral("HUSH42"));
    type(e.txtConfirm, QStringLiteral("HUSH42"));
    dao::Faults::Add(dao::Faults::Statement, 2, QStringLiteral("HY000"), QStringLiteral("disk full"));
    ui().answerError(ui::vbIgnore);
    click(e.cmdAction);
    ASSERT_EQ(ui().errors().size(), 2);
    EXPECT_EQ(ui().errors()[1].additionalInfo,
              shownSQL(QStringLiteral("INSERT INTO QN_USER (USER_PASSWORD, REMARKS, USER_NAME) VALUES ('****', '', "
                                      "'EVE')")));
    EXPECT_EQ(owned(QStringLiteral("EVE")), QStringLiteral("0 0 0"));
}

// A rename with its privileges and the UPDATE after it are one unit: a
// failure of the UPDATE leaves every row under the old name, password included.
TEST_F(UserEditor, ARenameIsWrittenWholeOrNotAtAll)
{
    frmUser &e = edit(QStringLiteral("MBROWN"));
    retype(e.txtName, QStringLiteral("MGREEN"));
    ui().answerMsgBox(ui::vbNo);
    click(e.cmdAction);
    const qsizetype statements = modUpdate::LastStatements().size(); // the rename's and the UPDATE
    ASSERT_EQ(owned(QStringLiteral("MGREEN")), QStringLiteral("1 2 2"));

    edit(QStringLiteral("MGREEN"));
    retype(e.txtName, QStringLiteral("MBROWN"));
    type(e.txtPassword, QStringLiteral("BINS"));
    type(e.txtConfirm, QStringLiteral("BINS"));
    // The duplicate check, then the unit: its last statement is the UPDATE.
    dao::Faults::Add(dao::Faults::Statement, int(1 + statements), QStringLiteral("HY000"), QStringLiteral("disk full"));
    ui().answerError(ui::vbIgnore);
    click(e.cmdAction);
    ASSERT_EQ(ui().errors().size(), 1);
    EXPECT_EQ(ui().errors()[0].additionalInfo,
              shownSQL(QStringLiteral("UPDATE QN_USER SET USER_PASSWORD = '****', REMARKS = 'Warehouse' WHERE "
                                      "USER_NAME = 'MBROWN'")));
    EXPECT_EQ(owned(QStringLiteral("MGREEN")), QStringLiteral("1 2 2"));
    EXPECT_EQ(owned(QStringLiteral("MBROWN")), QStringLiteral("0 0 0"));
    EXPECT_EQ(e.EditorMode(), QStringLiteral("User Edit"));
    EXPECT_EQ(e.ShownKey(), QStringLiteral("MGREEN"));
}

TEST_F(UserEditor, CancelUndoAndUp)
{
    openUsers();
    frmUser &e = edit(QStringLiteral("JSMITH"));
    type(e.txtRemarks, QStringLiteral(" typed"));
    type(e.txtPassword, QStringLiteral("P"));
    clickBand(QStringLiteral("Undo"));
    EXPECT_EQ(textOf(e.txtRemarks), QStringLiteral("Sales office"));
    EXPECT_EQ(textOf(e.txtPassword), kBlanks);
    EXPECT_EQ(e.EditorMode(), QStringLiteral("User Edit"));
    EXPECT_FALSE(button(QStringLiteral("frmUser"), QStringLiteral("Undo"))->isEnabled());
    type(e.txtRemarks, QStringLiteral(" typed"));
    click(e.cmdCancel);
    EXPECT_EQ(e.EditorMode(), QString());
    EXPECT_EQ(textOf(e.txtRemarks), QStringLiteral("Sales office"));

    clickBand(QStringLiteral("User Add"));
    type(e.txtName, QStringLiteral("NEW"));
    click(e.cmdCancel);
    EXPECT_EQ(current(), QStringLiteral("frmUsers"));
    EXPECT_EQ(owned(QStringLiteral("NEW")), QStringLiteral("0 0 0"));

    display(QStringLiteral("JSMITH"));
    clickBand(QStringLiteral("Up1"));
    EXPECT_EQ(current(), QStringLiteral("frmUsers"));
    ASSERT_TRUE(gNodes().SelectedItem());
    EXPECT_EQ(gNodes().SelectedItem()->Key, kUsers);
}

} // namespace

namespace {

// From the tree: a click on a user edits it (Items at Edit); a privilege node shows its editor.
TEST_F(UserEditor, ClicksOnTheTreeShowTheEditors)
{
    options::Save(options::kItems, 1);
    openUsers();
    clickNode(kUsers + QStringLiteral("us=JSMITH:"));
    ASSERT_EQ(current(), QStringLiteral("frmUser"));
    frmUser &e = editor();
    EXPECT_EQ(e.EditorMode(), QStringLiteral("User Edit"));
    EXPECT_EQ(textOf(e.txtName), QStringLiteral("JSMITH"));
    EXPECT_EQ(textOf(e.txtPassword), kBlanks);
    EXPECT_FALSE(e.KeyChanged());

    const QString sales = kDbs + QStringLiteral("db=SALES:");
    openPath({kDbs, sales, sales + QStringLiteral("DBPRV=SALES:")});
    clickNode(sales + QStringLiteral("DBPRV=SALES:dbprv=REPORTS:"));
    EXPECT_EQ(current(), QStringLiteral("frmDBPRV"));
    EXPECT_EQ(visibleBands(), QStringList({"tbrMain", "tbrDBPRV"}));
    EXPECT_EQ(modGUI::EditorMode(band(QStringLiteral("frmDBPRV"))), QStringLiteral("User Edit"));
    EXPECT_TRUE(ui().errors().isEmpty());
}

} // namespace
