// The single-record editor frame, with the database editor as its fixture:
// the modes on the band, the fills, the twins, the key-changed flag, Enter and
// Esc, the three saves as units (Retry, Ignore), the tree steps and the pane
// the editor returns to. The later editors test only what is their own.

#include <QEventLoop>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QTreeView>

#include "core/errortrace.h"
#include "editorfixture.h"
#include "editors/schema/frmdatabase.h"

namespace {

class Frame : public EditorOf<frmDatabase>
{
protected:
    Frame() : EditorOf(QStringLiteral("frmDatabase"), {"DB Add", "DB Edit", "DB Delete", "OK", "Cancel", "Undo"}) {}

    QStringList dbRow(const QString &name)
    {
        return rows(QStringLiteral("SELECT DATABASE_NAME, DEFAULT_DIRECTORY, DRIVER_NAME, SETUP_PROCEDURE, "
                                   "CONNECT_STRING, REMARKS, DISPLAY_NAME FROM QN_DB WHERE DATABASE_NAME = '%1'")
                        .arg(name));
    }
    // The catalog rows that belong to a database, counted per table.
    QString owned(const QString &name)
    {
        return counts({"QN_DB", "QN_TABLE", "QN_COLUMN", "QN_DBPRV", "QN_TBLPRV"},
                      QStringLiteral("DATABASE_NAME = '%1'").arg(name));
    }
    // The tree opened down to the Databases folder of the test data source.
    void openDatabases() { openPath({QStringLiteral("DSN=QnTest:"), kDbs}); }
    const QString kDbs = QStringLiteral("DSN=QnTest:DB=QnTest:");
};

TEST_F(Frame, DisplayShowsTheRowReadOnlyAndBrowses)
{
    frmDatabase &e = display(QStringLiteral("SALES"));
    EXPECT_EQ(current(), QStringLiteral("frmDatabase"));
    EXPECT_EQ(e.lblTitle.title->text(), QStringLiteral("SALES - Database Properties"));
    EXPECT_EQ(e.lblTitle.shadow->text(), e.lblTitle.title->text());
    const QStringList shown = {textOf(e.txtName),    textOf(e.txtDisplay), textOf(e.txtDirectory),
                               textOf(e.cboDriver),  textOf(e.txtDriver),  textOf(e.txtSetup),
                               textOf(e.txtConnect), textOf(e.txtRemarks)};
    EXPECT_EQ(shown, QStringList({"SALES", "Sales", "SALES_DATA:", "DISAM", "DISAM", "", "", "Customers and orders"}));
    // A shown row lists only its own driver.
    EXPECT_EQ(e.cboDriver->count(), 1);
    for (QWidget *w : QList<QWidget *>{e.txtName, e.txtDisplay, e.txtDirectory, e.cboDriver, e.txtConnect, e.txtRemarks})
        EXPECT_FALSE(w->isEnabled()) << w->objectName().toStdString();
    EXPECT_FALSE(e.txtDriver->isVisible()); // the twin
    EXPECT_FALSE(e.txtSetup->isVisible());
    EXPECT_EQ(state(), QStringLiteral("+++---"));
    EXPECT_EQ(e.EditorMode(), QString());
    EXPECT_FALSE(e.cmdAction->isVisible());
    EXPECT_FALSE(e.cmdCancel->isVisible());
    EXPECT_EQ(e.KeyAsRead(), QStringLiteral("SALES"));
    EXPECT_FALSE(e.KeyChanged());
    EXPECT_EQ(visibleBands(), QStringList({"tbrMain", "tbrDatabase"}));
}

TEST_F(Frame, ARowThatIsGoneIsReportedWithItsRead)
{
    display(QStringLiteral("SALES"));
    ui().answerError(ui::vbIgnore);
    EXPECT_EQ(main().PaneDisplay(QStringLiteral("frmDatabase"), {kDs, QStringLiteral("GONE")}), -1);
    ASSERT_EQ(ui().errors().size(), 1);
    EXPECT_EQ(ui().errors()[0].trappedIn, QStringLiteral("frmDatabase.Display"));
    EXPECT_EQ(ui().errors()[0].number, QStringLiteral("3021"));
    EXPECT_EQ(ui().errors()[0].additionalInfo, QStringLiteral("SELECT * FROM QN_DB WHERE DATABASE_NAME = 'GONE'"));
    EXPECT_EQ(textOf(editor().txtName), QString()); // the boxes emptied
}

TEST_F(Frame, NoOpenDatabaseShowsNothing)
{
    display(QStringLiteral("SALES"));
    // The registry says why it could not connect; the editor adds nothing and keeps its row.
    ui().answerMsgBox(ui::vbOK);
    EXPECT_EQ(main().PaneDisplay(QStringLiteral("frmDatabase"), {QStringLiteral("Nope"), QStringLiteral("X")}), -1);
    ui().answerMsgBox(ui::vbOK);
    main().PaneEdit(QStringLiteral("frmDatabase"), {QStringLiteral("Nope"), QStringLiteral("X")});
    ui().answerMsgBox(ui::vbOK);
    main().PaneAddNew(QStringLiteral("frmDatabase"), {QStringLiteral("Nope")});
    EXPECT_TRUE(ui().errors().isEmpty());
    EXPECT_EQ(editor().ShownKey(), QStringLiteral("SALES"));
    EXPECT_EQ(editor().DataSource(), QStringLiteral("QnTest"));
}

TEST_F(Frame, TheCatalogsOwnDatabaseIsReadOnly)
{
    frmDatabase &e = display(QStringLiteral("QN"));
    EXPECT_EQ(textOf(e.cboDriver), QStringLiteral("SYSTEM"));
    EXPECT_EQ(state(), QStringLiteral("---++-"));
    // OK does nothing; Cancel shows the row again, still read-only.
    const QStringList before = dbRow(QStringLiteral("QN"));
    clickBand(QStringLiteral("OK"));
    clickBand(QStringLiteral("Cancel"));
    EXPECT_EQ(dbRow(QStringLiteral("QN")), before);
    EXPECT_EQ(state(), QStringLiteral("---++-"));
    // Edit leaves it read-only: no edit title, no action button, nothing enabled.
    edit(QStringLiteral("QN"));
    EXPECT_EQ(e.lblTitle.title->text(), QStringLiteral("QN - Database Properties"));
    EXPECT_FALSE(e.txtRemarks->isEnabled());
    EXPECT_FALSE(e.cmdAction->isVisible());
    EXPECT_EQ(e.EditorMode(), QString());
    // "qn" is an ordinary name: only 'QN' is the catalog's own.
    open()->Execute(QStringLiteral("INSERT INTO QN_DB (DATABASE_NAME, DRIVER_NAME) VALUES ('qn', 'DISAM')"));
    edit(QStringLiteral("qn"));
    EXPECT_EQ(e.EditorMode(), QStringLiteral("DB Edit"));
}

TEST_F(Frame, AddNewEmptiesTheFormAndTheFirstKeyEnablesUndoAndTheAction)
{
    display(QStringLiteral("SALES"));
    clickBand(QStringLiteral("DB Add"));
    frmDatabase &e = editor();
    EXPECT_EQ(e.lblTitle.title->text(), QStringLiteral("Add New Database to QnTest"));
    for (QWidget *w : QList<QWidget *>{e.txtName, e.txtDisplay, e.txtDirectory, e.txtDriver, e.txtConnect, e.txtRemarks})
        EXPECT_EQ(textOf(w), QString()) << w->objectName().toStdString();
    EXPECT_EQ(e.cboDriver->currentIndex(), -1);
    // The driver list never offers SYSTEM or the empty name.
    QStringList drivers;
    for (int i = 0; i < e.cboDriver->count(); ++i)
        drivers << e.cboDriver->itemText(i);
    EXPECT_EQ(drivers, QStringList({"DISAM", "VAX-RMS"}));
    EXPECT_EQ(state(), QStringLiteral("---++-"));
    EXPECT_EQ(e.EditorMode(), QStringLiteral("DB Add"));
    EXPECT_TRUE(e.cmdAction->isVisible());
    EXPECT_EQ(e.cmdAction->text(), QStringLiteral("&Add"));
    EXPECT_FALSE(e.cmdAction->isEnabled());
    EXPECT_TRUE(e.cmdCancel->isVisible());
    EXPECT_TRUE(e.txtName->isEnabled());
    type(e.txtName, QStringLiteral("a"));
    EXPECT_EQ(textOf(e.txtName), QStringLiteral("A")); // the key filter upper-cases a name
    EXPECT_TRUE(e.cmdAction->isEnabled());
    EXPECT_EQ(state(), QStringLiteral("---+++"));
}

TEST_F(Frame, AddWritesTheInsertAndStartsTheNextRow)
{
    frmDatabase &e = addNew();
    type(e.txtName, QStringLiteral("archive"));
    type(e.txtDisplay, QStringLiteral("Archive"));
    type(e.txtDirectory, QStringLiteral("ARCH:"));
    type(e.cboDriver, QStringLiteral("v")); // type-ahead picks VAX-RMS
    EXPECT_EQ(textOf(e.txtDriver), QStringLiteral("VAX-RMS"));
    type(e.txtConnect, QStringLiteral("BUFFERS=4"));
    type(e.txtRemarks, QStringLiteral("Old orders"));
    click(e.cmdAction);
    EXPECT_EQ(modUpdate::LastStatements(),
              QStringList{"INSERT INTO QN_DB (DATABASE_NAME, DEFAULT_DIRECTORY, DRIVER_NAME, SETUP_PROCEDURE, "
                          "CONNECT_STRING, REMARKS, DISPLAY_NAME) VALUES ('ARCHIVE', 'ARCH:', 'VAX-RMS', '', "
                          "'BUFFERS=4', 'Old orders', 'Archive')"});
    EXPECT_EQ(dbRow(QStringLiteral("ARCHIVE")), QStringList{"ARCHIVE|ARCH:|VAX-RMS||BUFFERS=4|Old orders|Archive"});
    // Continuous entry: the form is empty again, in the add state, and the pane is still the editor.
    EXPECT_EQ(current(), QStringLiteral("frmDatabase"));
    EXPECT_EQ(e.EditorMode(), QStringLiteral("DB Add"));
    EXPECT_EQ(textOf(e.txtName), QString());
    EXPECT_FALSE(e.cmdAction->isEnabled());
    EXPECT_EQ(e.lblTitle.title->text(), QStringLiteral("Add New Database to QnTest"));
}

TEST_F(Frame, EditWritesOneUpdateAndTheFillsCountAsNoChange)
{
    open()->Execute(QStringLiteral("UPDATE QN_DB SET SETUP_PROCEDURE = 'SETUP1', DRIVER_NAME = 'OLDDRV' "
                                   "WHERE DATABASE_NAME = 'SALES'"));
    frmDatabase &e = edit(QStringLiteral("SALES"));
    EXPECT_EQ(e.lblTitle.title->text(), QStringLiteral("SALES - Edit Database Properties"));
    EXPECT_EQ(e.cmdAction->text(), QStringLiteral("&Update"));
    // Filling the row and the driver list is no change of the user's.
    EXPECT_FALSE(e.KeyChanged());
    EXPECT_FALSE(e.cmdAction->isEnabled());
    EXPECT_EQ(state(), QStringLiteral("---++-"));
    // The full list now, the row's own driver (in no list) kept in the edit portion.
    EXPECT_EQ(e.cboDriver->count(), 2);
    EXPECT_EQ(textOf(e.cboDriver), QStringLiteral("OLDDRV"));
    // OK straight away: one UPDATE (no uniqueness query, no rename), the hidden
    // setup procedure and the driver written back, the stored Null as NULL.
    QStringList sent;
    dao::SetStatementObserver([&](const QString &sql) { sent << sql; });
    clickBand(QStringLiteral("OK"));
    dao::SetStatementObserver(nullptr);
    const QString update = QStringLiteral(
        "UPDATE QN_DB SET DISPLAY_NAME = 'Sales', DEFAULT_DIRECTORY = 'SALES_DATA:', DRIVER_NAME = 'OLDDRV', "
        "SETUP_PROCEDURE = 'SETUP1', CONNECT_STRING = NULL, REMARKS = 'Customers and orders' WHERE DATABASE_NAME = "
        "'SALES'");
    EXPECT_EQ(modUpdate::LastStatements(), QStringList{update});
    ASSERT_FALSE(sent.isEmpty());
    EXPECT_EQ(sent.first(), update); // then the row is read again
    EXPECT_EQ(e.EditorMode(), QString());
    EXPECT_EQ(state(), QStringLiteral("+++---"));

    // An apostrophe is doubled in the statement and reads back unchanged.
    edit(QStringLiteral("SALES"));
    type(e.txtRemarks, QStringLiteral(" - it's ours"));
    QTest::keyClick(e.txtDisplay, Qt::Key_Return); // Enter presses the action button
    EXPECT_TRUE(modUpdate::LastStatements().value(0).contains(QStringLiteral("REMARKS = 'Customers and orders - it''s ours'")));
    EXPECT_EQ(scalar(QStringLiteral("SELECT REMARKS FROM QN_DB WHERE DATABASE_NAME = 'SALES'")).toString(),
              QStringLiteral("Customers and orders - it's ours"));
}

TEST_F(Frame, RenameCarriesTheDependantsAndReKeysTheNode)
{
    openDatabases();
    EXPECT_EQ(owned(QStringLiteral("SALES")), QStringLiteral("1 4 30 4 5"));
    frmDatabase &e = edit(QStringLiteral("SALES"));
    retype(e.txtName, QStringLiteral("SALES2"));
    EXPECT_TRUE(e.KeyChanged());
    retype(e.txtDisplay, QStringLiteral("Sales2"));
    click(e.cmdAction);
    const QStringList s = modUpdate::LastStatements();
    ASSERT_GT(s.size(), 2);
    EXPECT_EQ(s.first(), QStringLiteral("SELECT * FROM QN_DB WHERE DATABASE_NAME = 'SALES' "));
    EXPECT_EQ(s.last(), QStringLiteral("UPDATE QN_DB SET DISPLAY_NAME = 'Sales2', DEFAULT_DIRECTORY = 'SALES_DATA:', "
                                       "DRIVER_NAME = 'DISAM', SETUP_PROCEDURE = NULL, CONNECT_STRING = NULL, REMARKS = "
                                       "'Customers and orders' WHERE DATABASE_NAME = 'SALES2'"));
    EXPECT_EQ(owned(QStringLiteral("SALES")), QStringLiteral("0 0 0 0 0"));
    EXPECT_EQ(owned(QStringLiteral("SALES2")), QStringLiteral("1 4 30 4 5"));
    // The node under its new key, with the new name; the row shown again in the browse state.
    EXPECT_FALSE(gNodes().Item(QStringLiteral("DSN=QnTest:DB=QnTest:db=SALES:")));
    const CNodePtr node = gNodes().Item(QStringLiteral("DSN=QnTest:DB=QnTest:db=SALES2:"));
    ASSERT_TRUE(node);
    EXPECT_EQ(node->NodeData, QStringLiteral("SALES2"));
    EXPECT_EQ(gNodes().Node(node->Key)->text(), QStringLiteral("SALES2"));
    EXPECT_EQ(e.lblTitle.title->text(), QStringLiteral("SALES2 - Database Properties"));
    EXPECT_EQ(e.KeyAsRead(), QStringLiteral("SALES2"));
    EXPECT_EQ(state(), QStringLiteral("+++---"));
    EXPECT_EQ(current(), QStringLiteral("frmDatabase"));

    // A name typed back to itself still runs the rename writer; the node keeps its key.
    edit(QStringLiteral("SALES2"));
    retype(e.txtName, QStringLiteral("SALES2"));
    clickBand(QStringLiteral("OK"));
    EXPECT_EQ(modUpdate::LastStatements().first(), QStringLiteral("SELECT * FROM QN_DB WHERE DATABASE_NAME = 'SALES2' "));
    EXPECT_EQ(owned(QStringLiteral("SALES2")), QStringLiteral("1 4 30 4 5"));
    EXPECT_TRUE(gNodes().Item(QStringLiteral("DSN=QnTest:DB=QnTest:db=SALES2:")));
}

TEST_F(Frame, ASaveIsOneUnitRetriedWholeOrLeftUnwritten)
{
    // A rename whose UPDATE fails: the rename is rolled back with it.
    frmDatabase &e = edit(QStringLiteral("SALES"));
    retype(e.txtName, QStringLiteral("SALES2"));
    retype(e.txtDisplay, QString());
    click(e.cmdAction);
    const qsizetype statements = modUpdate::LastStatements().size(); // the rename and the UPDATE
    edit(QStringLiteral("SALES2"));
    retype(e.txtName, QStringLiteral("SALES"));
    // The duplicate check, then the unit's statements: the last one is the UPDATE.
    dao::Faults::Add(dao::Faults::Statement, int(1 + statements), QStringLiteral("HY000"), QStringLiteral("disk full"));
    ui().answerError(ui::vbIgnore);
    click(e.cmdAction);
    ASSERT_EQ(ui().errors().size(), 1);
    const ScriptedUi::ErrorShown shown = ui().errors().first();
    EXPECT_EQ(shown.trappedIn, QStringLiteral("frmDatabase.tbr_ButtonClick"));
    EXPECT_EQ(shown.additionalInfo,
              shownSQL(QStringLiteral("UPDATE QN_DB SET DISPLAY_NAME = '', DEFAULT_DIRECTORY = 'SALES_DATA:', "
                                      "DRIVER_NAME = 'DISAM', SETUP_PROCEDURE = NULL, CONNECT_STRING = NULL, REMARKS = "
                                      "'Customers and orders' WHERE DATABASE_NAME = 'SALES'")));
    EXPECT_EQ(owned(QStringLiteral("SALES2")), QStringLiteral("1 4 30 4 5"));
    EXPECT_EQ(owned(QStringLiteral("SALES")), QStringLiteral("0 0 0 0 0"));
    // Ignore leaves the editor pending on the row it had, the typed name kept.
    EXPECT_EQ(e.EditorMode(), QStringLiteral("DB Edit"));
    EXPECT_EQ(textOf(e.txtName), QStringLiteral("SALES"));
    EXPECT_EQ(e.ShownKey(), QStringLiteral("SALES2"));

    // Retry runs the whole save again, which now succeeds: every row moved once.
    dao::Faults::Add(dao::Faults::Statement, int(1 + statements), QStringLiteral("HY000"), QStringLiteral("disk full"));
    ui().answerError(ui::vbRetry);
    click(e.cmdAction);
    EXPECT_EQ(owned(QStringLiteral("SALES")), QStringLiteral("1 4 30 4 5"));
    EXPECT_EQ(owned(QStringLiteral("SALES2")), QStringLiteral("0 0 0 0 0"));
    EXPECT_EQ(modUpdate::LastStatements().size(), statements);
    EXPECT_EQ(e.EditorMode(), QString());
    EXPECT_EQ(e.ShownKey(), QStringLiteral("SALES"));
}

// A close of the main window issued while a failed save's error dialog waits
// (from the dialog's own event loop) is refused: the editor the save returns
// into stays, and the window closes once the save has returned.
TEST_F(Frame, TheWindowStaysWhileASavesErrorDialogIsUp)
{
    frmDatabase &e = edit(QStringLiteral("SALES"));
    type(e.txtRemarks, QStringLiteral(" (typed)"));
    // The unit's UPDATE fails, and again on Retry; each answer is given after a close.
    dao::Faults::Add(dao::Faults::Statement, 1, QStringLiteral("HY000"), QStringLiteral("disk full"));
    QList<bool> closed;
    for (const int answer : {ui::vbRetry, ui::vbIgnore})
        ui().onError([this, &closed, answer](QDialog &) {
            if (answer == ui::vbRetry)
                dao::Faults::Add(dao::Faults::Statement, 1, QStringLiteral("HY000"), QStringLiteral("disk full"));
            QEventLoop loop;
            QTimer::singleShot(0, &loop, [&] {
                closed << main().close();
                QTimer::singleShot(0, &loop, &QEventLoop::quit); // after the deferred deletes
            });
            loop.exec();
            return answer;
        });
    click(e.cmdAction);
    EXPECT_EQ(closed, QList<bool>({false, false}));
    EXPECT_EQ(ui().beeps(), 2);
    ASSERT_EQ(ui().errors().size(), 2);
    ASSERT_TRUE(forms::Find(QStringLiteral("frmDatabase")));
    EXPECT_EQ(e.EditorMode(), QStringLiteral("DB Edit"));
    EXPECT_EQ(textOf(e.txtRemarks), QStringLiteral("Customers and orders (typed)"));
    EXPECT_EQ(dbRow(QStringLiteral("SALES")).value(0).section(QLatin1Char('|'), 5, 5),
              QStringLiteral("Customers and orders"));
    EXPECT_TRUE(main().isVisible());
}

// So too while the error dialog of a failed read is up.
TEST_F(Frame, TheWindowStaysWhileAReadsErrorDialogIsUp)
{
    display(QStringLiteral("SALES"));
    dao::Faults::Add(dao::Faults::Statement, 1, QStringLiteral("HY000"), QStringLiteral("disk I/O error"));
    bool closed = true;
    ui().onError([this, &closed](QDialog &) {
        QEventLoop loop;
        QTimer::singleShot(0, &loop, [&] {
            closed = main().close();
            QTimer::singleShot(0, &loop, &QEventLoop::quit);
        });
        loop.exec();
        return int(ui::vbIgnore);
    });
    main().PaneDisplay(QStringLiteral("frmDatabase"), {kDs, QStringLiteral("STOCK")});
    EXPECT_EQ(ui().errors().size(), 1);
    EXPECT_FALSE(closed);
    EXPECT_EQ(ui().beeps(), 1);
    EXPECT_TRUE(forms::Find(QStringLiteral("frmDatabase")));
    EXPECT_TRUE(main().isVisible());
}

// OK after a save that lost the connection (it closed itself and left the
// registry): the editor takes the data source's connection again.
TEST_F(Frame, OkAfterALostConnectionConnectsAgain)
{
    frmDatabase &e = edit(QStringLiteral("SALES"));
    retype(e.txtName, QStringLiteral("SALES2")); // the duplicate check reads through the editor's connection
    retype(e.txtDisplay, QStringLiteral("Sales2"));
    // The duplicate check, then the unit's first statement, which loses the link.
    dao::Faults::Add(dao::Faults::Statement, 2, QStringLiteral("08S01"), QStringLiteral("link down"));
    ui().answerError(ui::vbIgnore);
    click(e.cmdAction);
    ASSERT_EQ(ui().errors().size(), 1);
    EXPECT_EQ(owned(QStringLiteral("SALES")), QStringLiteral("1 4 30 4 5"));
    EXPECT_EQ(e.EditorMode(), QStringLiteral("DB Edit"));

    click(e.cmdAction);
    EXPECT_EQ(ui().errors().size(), 1);
    EXPECT_EQ(owned(QStringLiteral("SALES2")), QStringLiteral("1 4 30 4 5"));
    EXPECT_EQ(e.EditorMode(), QString());
    EXPECT_EQ(e.lblTitle.title->text(), QStringLiteral("SALES2 - Database Properties"));
}

// A box that shows a stored Null and was not changed writes NULL back; one
// the user changed writes its text, emptied or not.
TEST_F(Frame, AStoredNullIsWrittenBackUnlessTheUserChangedIt)
{
    // SALES has no setup procedure and no connect string.
    open()->Execute(QStringLiteral("UPDATE QN_DB SET DISPLAY_NAME = NULL, REMARKS = NULL WHERE DATABASE_NAME = 'SALES'"));
    const QString stored = QStringLiteral("SELECT DISPLAY_NAME IS NULL, SETUP_PROCEDURE IS NULL, CONNECT_STRING IS NULL, "
                                          "REMARKS FROM QN_DB WHERE DATABASE_NAME = 'SALES'");
    frmDatabase &e = edit(QStringLiteral("SALES"));
    // Typed and undone: the row read again shows its Nulls again.
    type(e.txtDisplay, QStringLiteral("SALES"));
    clickBand(QStringLiteral("Undo"));
    type(e.txtConnect, QStringLiteral("x"));
    QTest::keyClick(e.txtConnect, Qt::Key_Backspace);
    paste(e.txtRemarks, QStringLiteral("note"));
    click(e.cmdAction);
    EXPECT_EQ(modUpdate::LastStatements(),
              QStringList{"UPDATE QN_DB SET DISPLAY_NAME = NULL, DEFAULT_DIRECTORY = 'SALES_DATA:', DRIVER_NAME = "
                          "'DISAM', SETUP_PROCEDURE = NULL, CONNECT_STRING = '', REMARKS = 'note' WHERE DATABASE_NAME "
                          "= 'SALES'"});
    EXPECT_EQ(rows(stored), QStringList{"1|1|0|note"});

    // The row shown again after the save keeps track of its Nulls.
    edit(QStringLiteral("SALES"));
    type(e.txtRemarks, QStringLiteral("!"));
    click(e.cmdAction);
    EXPECT_EQ(rows(stored), QStringList{"1|1|0|note!"});
}

TEST_F(Frame, DeleteAsksThenRemovesTheDatabaseWithItsDependants)
{
    openDatabases();
    const QString files = scalar(QStringLiteral("SELECT COUNT(*) FROM QN_FILE")).toString();
    const QString stock = owned(QStringLiteral("STOCK"));
    display(QStringLiteral("SALES"));
    ui().answerMsgBox(ui::vbNo);
    clickBand(QStringLiteral("DB Delete"));
    EXPECT_EQ(takeMessages(), QStringList{"Are you sure you want to delete this database?"});
    // No: the delete stays pending; OK on the band then deletes without asking again.
    frmDatabase &e = editor();
    EXPECT_EQ(e.EditorMode(), QStringLiteral("DB Delete"));
    EXPECT_EQ(e.lblTitle.title->text(), QStringLiteral("SALES - Delete Database"));
    EXPECT_FALSE(e.txtName->isEnabled());
    EXPECT_FALSE(e.cmdAction->isVisible());
    EXPECT_EQ(owned(QStringLiteral("SALES")), QStringLiteral("1 4 30 4 5"));
    clickBand(QStringLiteral("OK"));
    EXPECT_EQ(modUpdate::LastStatements(),
              QStringList({"DELETE FROM QN_DB WHERE DATABASE_NAME = 'SALES'",
                           "DELETE FROM QN_TABLE WHERE DATABASE_NAME ='SALES'",
                           "DELETE FROM QN_COLUMN WHERE DATABASE_NAME ='SALES'",
                           "DELETE FROM QN_DBPRV WHERE DATABASE_NAME = 'SALES'",
                           "DELETE FROM QN_TBLPRV WHERE DATABASE_NAME = 'SALES'"}));
    EXPECT_EQ(owned(QStringLiteral("SALES")), QStringLiteral("0 0 0 0 0"));
    EXPECT_EQ(owned(QStringLiteral("STOCK")), stock);
    EXPECT_EQ(scalar(QStringLiteral("SELECT COUNT(*) FROM QN_FILE")).toString(), files);
    EXPECT_FALSE(gNodes().Item(QStringLiteral("DSN=QnTest:DB=QnTest:db=SALES:")));
    EXPECT_EQ(current(), QStringLiteral("frmDatabases"));
    EXPECT_EQ(main().StatusText(), QStringLiteral("Ready"));
}

TEST_F(Frame, DeleteAnnouncesEachStatementAndAFailureDeletesNothing)
{
    display(QStringLiteral("SALES"));
    QString status;
    // The third statement fails: the status then names it; Ignore rolls the whole delete back.
    // The row's read, then the DELETEs: the fourth statement is the third DELETE.
    dao::Faults::Add(dao::Faults::Statement, 4, QStringLiteral("HY000"), QStringLiteral("locked"));
    ui().onError([&](QDialog &) {
        status = main().StatusText();
        return int(ui::vbIgnore);
    });
    ui().answerMsgBox(ui::vbYes);
    clickBand(QStringLiteral("DB Delete"));
    EXPECT_EQ(status, QStringLiteral("Deleting Columns"));
    EXPECT_EQ(ui().errors().value(0).additionalInfo,
              shownSQL(QStringLiteral("DELETE FROM QN_COLUMN WHERE DATABASE_NAME ='SALES'")));
    EXPECT_EQ(owned(QStringLiteral("SALES")), QStringLiteral("1 4 30 4 5"));
    EXPECT_EQ(current(), QStringLiteral("frmDatabase"));
    EXPECT_EQ(editor().EditorMode(), QStringLiteral("DB Delete"));
}

TEST_F(Frame, CancelAndUndoRestore)
{
    frmDatabase &e = edit(QStringLiteral("SALES"));
    type(e.txtRemarks, QStringLiteral(" (typed)"));
    // Undo reads the row again and stays in the edit state; Undo and the action wait for the next change.
    clickBand(QStringLiteral("Undo"));
    EXPECT_EQ(textOf(e.txtRemarks), QStringLiteral("Customers and orders"));
    EXPECT_EQ(e.EditorMode(), QStringLiteral("DB Edit"));
    EXPECT_EQ(state(), QStringLiteral("---++-"));
    EXPECT_FALSE(e.cmdAction->isEnabled());
    // Esc presses Cancel: the stored row, browsing.
    retype(e.txtDisplay, QStringLiteral("Other"));
    QTest::keyClick(e.txtDisplay, Qt::Key_Escape);
    EXPECT_EQ(textOf(e.txtDisplay), QStringLiteral("Sales"));
    EXPECT_EQ(state(), QStringLiteral("+++---"));
    // Esc while browsing does nothing.
    QTest::keyClick(&e, Qt::Key_Escape);
    EXPECT_EQ(current(), QStringLiteral("frmDatabase"));
    EXPECT_EQ(e.EditorMode(), QString());

    // Adding: Undo empties the form again; Cancel shows the Databases grid.
    clickBand(QStringLiteral("DB Add"));
    type(e.txtName, QStringLiteral("NEW"));
    clickBand(QStringLiteral("Undo"));
    EXPECT_EQ(textOf(e.txtName), QString());
    EXPECT_EQ(e.EditorMode(), QStringLiteral("DB Add"));
    click(e.cmdCancel);
    EXPECT_EQ(current(), QStringLiteral("frmDatabases"));
    if (const QStringList c = calls(QStringLiteral("frmDatabases")); !c.isEmpty()) {
        EXPECT_EQ(c.last(), QStringLiteral("Display:QnTest"));
    }
    EXPECT_EQ(dbRow(QStringLiteral("NEW")), QStringList());
}

TEST_F(Frame, EnterCommitsOnlyThroughAnEnabledActionButton)
{
    open()->Execute(QStringLiteral("UPDATE QN_DB SET REMARKS = NULL WHERE DATABASE_NAME = 'SALES'"));
    frmDatabase &e = edit(QStringLiteral("SALES"));
    QTest::keyClick(e.txtDisplay, Qt::Key_Return); // the action is still disabled
    EXPECT_EQ(e.EditorMode(), QStringLiteral("DB Edit"));
    display(QStringLiteral("SALES"));
    QTest::keyClick(&e, Qt::Key_Return); // hidden while browsing
    // Nothing was written (an UPDATE would have made the Null remarks empty).
    EXPECT_TRUE(scalar(QStringLiteral("SELECT REMARKS FROM QN_DB WHERE DATABASE_NAME = 'SALES'")).isNull());
}

TEST_F(Frame, LongTextIsCutToTheColumnSize)
{
    frmDatabase &e = edit(QStringLiteral("SALES"));
    paste(e.txtRemarks, QString(300, QLatin1Char('r')));
    EXPECT_EQ(textOf(e.txtRemarks).size(), 254);
    paste(e.txtName, QStringLiteral("ABCDEFGHIJKL"));
    EXPECT_EQ(textOf(e.txtName), QStringLiteral("ABCDEFGHIJ"));
    // Typing stops at the size.
    type(e.txtName, QStringLiteral("X"));
    EXPECT_EQ(textOf(e.txtName), QStringLiteral("ABCDEFGHIJ"));
}

TEST_F(Frame, UpShowsTheGridAndSelectsTheFolderWhenItIsInTheTree)
{
    display(QStringLiteral("SALES"));
    clickBand(QStringLiteral("Up1"));
    EXPECT_EQ(current(), QStringLiteral("frmDatabases"));
    EXPECT_EQ(ui().errors().size(), 0);

    openDatabases();
    display(QStringLiteral("SALES"));
    clickBand(QStringLiteral("Up1"));
    const CNodePtr selected = gNodes().SelectedItem();
    ASSERT_TRUE(selected);
    EXPECT_EQ(selected->Key, QStringLiteral("DSN=QnTest:DB=QnTest:"));
    EXPECT_TRUE(main().tvwExplorer->hasFocus());
}

// A table of the validation rules: each case starts from a new row that would
// pass and breaks one rule; the message, the focus, nothing written.
TEST_F(Frame, ValidationRulesOfTheDatabaseEditor)
{
    struct Case
    {
        const char *name;
        std::function<void(frmDatabase &)> change;
        QString message; // "" passes
        std::function<QWidget *(frmDatabase &)> focus;
    };
    auto nameBox = [](frmDatabase &e) -> QWidget * { return e.txtName; };
    const QList<Case> cases = {
        {"empty name", [](frmDatabase &e) { e.txtName->clear(); }, "Please give this Database a name.", nameBox},
        // Typed or pasted blanks become "_": only a text set by the program holds blanks.
        {"blanks only", [](frmDatabase &e) { e.txtName->setText(QStringLiteral("   ")); },
         "Please give this Database a name.", nameBox},
        {"name taken", [](frmDatabase &e) { retype(e.txtName, QStringLiteral("STOCK")); },
         "This Datasource already contains a Database called 'STOCK'", nameBox},
        {"display name differs", [](frmDatabase &e) { retype(e.txtDisplay, QStringLiteral("Other")); },
         "The Display Name (if used) MUST match the Database Name (exclusive of case).", nameBox},
        {"no driver", [](frmDatabase &e) { e.cboDriver->setCurrentIndex(-1); },
         "Please select a Driver from the drop down list.", [](frmDatabase &e) -> QWidget * { return e.cboDriver; }},
        {"display name in another case", [](frmDatabase &e) { retype(e.txtDisplay, QStringLiteral("nEwDb")); }, "", {}},
        {"no display name", [](frmDatabase &e) { e.txtDisplay->clear(); }, "", {}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        open()->Execute(QStringLiteral("DELETE FROM QN_DB WHERE DATABASE_NAME = 'NEWDB'"));
        frmDatabase &e = addNew();
        type(e.txtName, QStringLiteral("NEWDB"));
        type(e.txtDisplay, QStringLiteral("NewDb"));
        type(e.cboDriver, QStringLiteral("D"));
        c.change(e);
        takeMessages();
        if (!c.message.isEmpty())
            ui().answerMsgBox(ui::vbOK);
        clickBand(QStringLiteral("OK"));
        if (c.message.isEmpty()) {
            EXPECT_EQ(takeMessages(), QStringList());
            EXPECT_EQ(dbRow(QStringLiteral("NEWDB")).size(), 1);
            continue;
        }
        EXPECT_EQ(takeMessages(), QStringList{c.message});
        EXPECT_EQ(focused(), c.focus(e));
        EXPECT_EQ(scalar(QStringLiteral("SELECT COUNT(*) FROM QN_DB")).toInt(), 3);
        EXPECT_EQ(e.EditorMode(), QStringLiteral("DB Add"));
    }
}

} // namespace
