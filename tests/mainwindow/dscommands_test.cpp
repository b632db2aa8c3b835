// The data-source commands (Connect, Clear Catalog, Disconnect) and
// Recalculate Offsets, on the stand-in catalog.

#include "menudriver.h"

#include <QStandardItem>
#include <QTreeView>

#include "core/frmqnerr.h"
#include "mainwindow/dscommands.h"
#include "mainwindow/frmabout.h"
#include "mainwindow/frmwelcome.h"
#include "tree/cnodes.h"
#include "tree/nodekey.h"
#include "uitest.h"

namespace {

const QString D = QStringLiteral("QnTest");

class DatasourceCommandTest : public MainWindowTest
{
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        main();
        node = gNodes().Item(NodeKey::Datasource(D));
        ASSERT_TRUE(node);
    }

    void TearDown() override
    {
        dao::SetStatementObserver(nullptr);
        MainWindowTest::TearDown();
    }

    void run(const char *item) { main().findChild<QAction *>(QLatin1String(item))->trigger(); }
    // Runs the item and returns the statements it sent that begin with `verb`;
    // with `status`, each after the status text showing as it was sent and "|".
    QStringList statementsOf(const char *item, const QString &verb, bool status = false)
    {
        QStringList sent;
        dao::SetStatementObserver([&](const QString &sql) {
            if (sql.startsWith(verb))
                sent << (status ? main().StatusText() + QLatin1Char('|') : QString()) + sql;
        });
        run(item);
        dao::SetStatementObserver(nullptr);
        return sent;
    }
    void execute(const QString &sql) { open()->Execute(sql); }
    QStandardItem *treeNode() const { return gNodes().Node(node->Key); }

    CNodePtr node;
};

// ------------------------------------------------------------ Clear Catalog

const QString kClearQuestion = QStringLiteral(
    "WARNING - You are about to remove ALL the catalog definitions for Datasource 'QnTest'.\r\n"
    "Are you sure you wish to completely clear the calaog?");

using ClearCatalog = DatasourceCommandTest;

TEST_F(ClearCatalog, KeepsOnlyTheCatalogsOwnDefinitions)
{
    // Beside the demo: a file KEY and a file CNTRL with fields, a file cntrl, a
    // privilege of another user on QN and a table privilege on a table of QN.
    for (const char *sql : {
             "INSERT INTO QN_FILE (FILE_NAME, RECORD_SIZE) VALUES ('KEY', 4), ('CNTRL', 4), ('cntrl', 4)",
             "INSERT INTO QN_FIELD (FILE_NAME, FIELD_NUMBER, FIELD_NAME, OFFSET, LENGTH) VALUES "
             "('KEY', 1, 'K', 0, 4), ('CNTRL', 1, 'C', 0, 4), ('cntrl', 1, 'c', 0, 4)",
             "INSERT INTO QN_DBPRV (USER_NAME, DATABASE_NAME, ALLOW_SELECT) VALUES ('JSMITH', 'QN', 1)",
             "INSERT INTO QN_TBLPRV (DATABASE_NAME, TABLE_NAME, USER_NAME, ALLOW_SELECT) VALUES ('QN', 'QN_DB', "
             "'ADMIN', 1)",
         })
        execute(QLatin1String(sql));
    const QString engineFiles = QStringLiteral(
        "('CNTRL', 'COLUMN', 'DB', 'DBPRV', 'DRIVER', 'FIELD', 'FILE', 'LOCDT', 'SQLDT', 'TABLE', 'TBLPRV', 'USER')");
    // What must survive, read before.
    const QList<std::pair<QString, QString>> kept = {
        {"SELECT * FROM QN_DB ORDER BY DATABASE_NAME", "SELECT * FROM QN_DB WHERE DATABASE_NAME = 'QN'"},
        {"SELECT * FROM QN_TABLE ORDER BY TABLE_NAME", "SELECT * FROM QN_TABLE WHERE DATABASE_NAME = 'QN' ORDER BY TABLE_NAME"},
        {"SELECT * FROM QN_COLUMN ORDER BY TABLE_NAME, COLUMN_NAME",
         "SELECT * FROM QN_COLUMN WHERE DATABASE_NAME = 'QN' ORDER BY TABLE_NAME, COLUMN_NAME"},
        {"SELECT * FROM QN_DBPRV", "SELECT * FROM QN_DBPRV WHERE USER_NAME = 'ADMIN' AND DATABASE_NAME = 'QN'"},
        {"SELECT * FROM QN_USER", "SELECT * FROM QN_USER WHERE USER_NAME = 'ADMIN'"},
        {"SELECT * FROM QN_FILE ORDER BY FILE_NAME",
         "SELECT * FROM QN_FILE WHERE FILE_NAME IN " + engineFiles + " ORDER BY FILE_NAME"},
        {"SELECT * FROM QN_FIELD ORDER BY FILE_NAME, FIELD_NAME",
         "SELECT * FROM QN_FIELD WHERE FILE_NAME IN " + engineFiles + " ORDER BY FILE_NAME, FIELD_NAME"},
        {"SELECT * FROM QN_TBLPRV", "SELECT * FROM QN_TBLPRV WHERE 0 = 1"},
        {"SELECT * FROM QN_SQLDT ORDER BY SQL_TYPE_NAME", "SELECT * FROM QN_SQLDT ORDER BY SQL_TYPE_NAME"},
        {"SELECT * FROM QN_LOCDT ORDER BY LOCAL_TYPE_NAME", "SELECT * FROM QN_LOCDT ORDER BY LOCAL_TYPE_NAME"},
        {"SELECT * FROM QN_DRIVER ORDER BY DRIVER_NAME", "SELECT * FROM QN_DRIVER ORDER BY DRIVER_NAME"},
    };
    QList<QStringList> expected;
    for (const auto &[after, before] : kept)
        expected << rows(before);
    ASSERT_EQ(expected[0].size(), 1);
    ASSERT_EQ(expected[5].size(), 12); // the eleven of a new catalog and CNTRL

    gNodes().Add(node, QString()); // expanded with a child, as after a connect
    gNodes().SetExpanded(treeNode(), true);
    setCurrentItem(QStringLiteral("DSN"), {D}, node);
    ui().answerMsgBox(ui::vbYes);
    ui().answerMsgBox(ui::vbOK);
    const QString files = QStringLiteral(
        "WHERE FILE_NAME NOT IN ('CNTRL', 'COLUMN', 'DB', 'DBPRV', 'DRIVER', 'FIELD', 'FILE', 'LOCDT', 'SQLDT', "
        "'TABLE', 'TBLPRV', 'USER')");
    EXPECT_EQ(statementsOf("mnu_DSNClear", QStringLiteral("DELETE"), true),
              (QStringList{
                  "Removing Column definitions...|DELETE FROM QN_COLUMN WHERE DATABASE_NAME <> 'QN'",
                  "Removing Database definitions...|DELETE FROM QN_DB WHERE DATABASE_NAME <> 'QN'",
                  "Removing Database privileges...|DELETE FROM QN_DBPRV WHERE USER_NAME <> 'ADMIN' ",
                  "Removing Database privileges...|DELETE FROM QN_DBPRV WHERE DATABASE_NAME <> 'QN' ",
                  "Removing Field definitions...|DELETE FROM QN_FIELD " + files,
                  "Removing File definitions...|DELETE FROM QN_FILE " + files,
                  "Removing Table definitions...|DELETE FROM QN_TABLE WHERE DATABASE_NAME <> 'QN'",
                  "Removing Table privileges...|DELETE FROM QN_TBLPRV ",
                  "Removing User privileges...|DELETE FROM QN_USER WHERE USER_NAME <> 'ADMIN'",
              }));

    for (qsizetype i = 0; i < kept.size(); ++i)
        EXPECT_EQ(rows(kept[i].first), expected[i]) << kept[i].first.toStdString();
    EXPECT_EQ(ui().messages(), (QStringList{kClearQuestion, QStringLiteral("The catalog has been cleared.")}));
    EXPECT_EQ(ui().shown()[0].style, ui::vbYesNo + ui::vbQuestion);
    EXPECT_EQ(ui().shown()[1].style, ui::vbInformation);
    EXPECT_FALSE(gNodes().Expanded(treeNode()));
    EXPECT_EQ(main().StatusText(), QStringLiteral("Ready"));
    EXPECT_TRUE(gMenuCommandRan());
}

TEST_F(ClearCatalog, ChangesNothingUnlessConfirmedOnADataSource)
{
    const QString count = QStringLiteral("SELECT COUNT(*) FROM QN_DB");
    const QVariant before = scalar(count);
    // Not a data source.
    setCurrentItem(QStringLiteral("DB"), {D});
    ui().answerMsgBox(ui::vbOK);
    run("mnu_DSNClear");
    EXPECT_EQ(ui().messages(), QStringList{"Please select a Datasource before selecting 'Clear Catalog'"});
    // Answered No.
    setCurrentItem(QStringLiteral("DSN"), {D}, node);
    ui().clear();
    ui().answerMsgBox(ui::vbNo);
    main().Status(QStringLiteral("Busy"));
    run("mnu_DSNClear");
    EXPECT_EQ(ui().messages(), QStringList{kClearQuestion});
    EXPECT_EQ(main().StatusText(), QStringLiteral("Ready"));
    // A data source that does not connect (cancelled): no message of the command's own.
    gConnections().setOpener([](const QString &) -> dao::DatabasePtr { qnerr::raise(qnerr::ConnectCancelled); });
    ui().clear();
    ui().answerMsgBox(ui::vbYes);
    run("mnu_DSNClear");
    gConnections().setOpener(nullptr);
    EXPECT_EQ(ui().messages(), QStringList{kClearQuestion});
    EXPECT_EQ(main().StatusText(), QStringLiteral("Ready"));
    EXPECT_EQ(scalar(count), before);
}

TEST_F(ClearCatalog, AFailureIsReportedAndUndoesTheWholeClear)
{
    ASSERT_TRUE(gConnections().Item(D)); // connected: the statements counted are the command's
    const QString everything = QStringLiteral(
        "SELECT (SELECT COUNT(*) FROM QN_COLUMN), (SELECT COUNT(*) FROM QN_DB), (SELECT COUNT(*) FROM QN_DBPRV), "
        "(SELECT COUNT(*) FROM QN_FIELD), (SELECT COUNT(*) FROM QN_FILE), (SELECT COUNT(*) FROM QN_TABLE), "
        "(SELECT COUNT(*) FROM QN_TBLPRV), (SELECT COUNT(*) FROM QN_USER)");
    const QStringList before = rows(everything);
    setCurrentItem(QStringLiteral("DSN"), {D}, node);

    // The fifth statement (the fields) fails: reported with the status it showed; Ignore leaves all as it was.
    dao::Faults::Add(dao::Faults::Statement, 5, QStringLiteral("HY000"), QStringLiteral("disk I/O error"));
    QString statusAtError;
    ui().answerMsgBox(ui::vbYes);
    ui().onError([&](QDialog &) {
        statusAtError = main().StatusText();
        return int(ui::vbIgnore);
    });
    run("mnu_DSNClear");
    ASSERT_EQ(ui().errors().size(), 1);
    EXPECT_EQ(ui().errors()[0].trappedIn, QStringLiteral("mdiMain.mnu_DSNClear_Click"));
    EXPECT_TRUE(ui().errors()[0].description.contains(QStringLiteral("disk I/O error")))
        << ui().errors()[0].description.toStdString();
    // The dialog names the failing statement (laid out on several lines).
    EXPECT_TRUE(ui().errors()[0].additionalInfo.simplified().startsWith(
        QStringLiteral("DELETE FROM QN_FIELD WHERE FILE_NAME NOT IN")))
        << ui().errors()[0].additionalInfo.toStdString();
    EXPECT_EQ(statusAtError, QStringLiteral("Removing Field definitions..."));
    EXPECT_EQ(rows(everything), before);
    EXPECT_EQ(ui().messages(), QStringList{kClearQuestion});
    EXPECT_EQ(main().StatusText(), QStringLiteral("Ready"));

    // Retry runs the whole clear again, which now succeeds.
    ui().clear();
    dao::Faults::Add(dao::Faults::Statement, 8, QStringLiteral("HY000"), QStringLiteral("disk I/O error"));
    ui().answerMsgBox(ui::vbYes);
    ui().answerError(ui::vbRetry);
    ui().answerMsgBox(ui::vbOK);
    run("mnu_DSNClear");
    EXPECT_EQ(ui().errors().size(), 1);
    EXPECT_EQ(ui().messages(), (QStringList{kClearQuestion, QStringLiteral("The catalog has been cleared.")}));
    EXPECT_EQ(scalar(QStringLiteral("SELECT COUNT(*) FROM QN_USER")), QVariant(1));
}

// ------------------------------------------------------------ Disconnect and Connect

using Disconnect = DatasourceCommandTest;

TEST_F(Disconnect, ClosesTheConnectionAndLeavesOnlyTheWelcomePane)
{
    mdiMain &m = main();
    // An error shown earlier loads the error form, which stays loaded with its trace.
    setCurrentItem(QStringLiteral("DSN"), {D}, node);
    ui().answerError(ui::vbIgnore);
    run("mnu_DSNDisconnect"); // nothing selected
    ASSERT_EQ(ui().errors().size(), 1);
    EXPECT_EQ(ui().errors()[0].trappedIn, QStringLiteral("mdiMain.mnu_DSNDisconnect"));
    EXPECT_EQ(ui().errors()[0].callStack.value(0), QStringLiteral("mdiMain.mnu_DSNDisconnect_Click"));
    EXPECT_TRUE(gErrorTrace().List().isEmpty());
    ASSERT_TRUE(frmQNErr::isLoaded());

    // Connected, expanded, with panes loaded.
    ASSERT_TRUE(gConnections().Item(D));
    gNodes().SetImages(treeNode(), QStringLiteral("Datasource"), QStringLiteral("Datasource"));
    gNodes().Add(node, QString());
    gNodes().SetExpanded(treeNode(), true);
    gNodes().setSelectedItem(node);
    m.PaneDisplay(&forms::Get<frmAbout>(), {});
    QWidget *oldWelcome = forms::LoadedForm<frmWelcome>();
    gMenuCommandRan() = false;
    run("mnu_DSNDisconnect");
    flush();
    EXPECT_TRUE(gMenuCommandRan());
    EXPECT_EQ(gConnections().Count(), 0);
    EXPECT_EQ(CNodes::Image(treeNode()), QStringLiteral("DSN Ghost"));
    EXPECT_EQ(CNodes::SelectedImage(treeNode()), QStringLiteral("DSN Ghost"));
    EXPECT_FALSE(gNodes().Expanded(treeNode()));
    QStringList loaded;
    for (QWidget *form : forms::Loaded())
        loaded << form->objectName();
    EXPECT_EQ(loaded, QStringList{"frmWelcome"});
    EXPECT_NE(forms::LoadedForm<frmWelcome>(), oldWelcome);
    EXPECT_EQ(gCurrentPane().data(), forms::LoadedForm<frmWelcome>());
    EXPECT_TRUE(frmQNErr::isLoaded());
    EXPECT_TRUE(gErrorTrace().List().isEmpty());

    // Already unconnected: nothing happens.
    m.PaneDisplay(&forms::Get<frmAbout>(), {});
    run("mnu_DSNDisconnect");
    EXPECT_EQ(gCurrentPane().data(), forms::LoadedForm<frmAbout>());
    EXPECT_EQ(ui().errors().size(), 1);
}

TEST_F(Disconnect, AConnectionLostEarlierStillDisconnectsTheNode)
{
    // The registry forgot the connection when it failed; the node still shows it connected.
    gNodes().SetImages(treeNode(), QStringLiteral("Datasource"), QStringLiteral("Datasource"));
    gNodes().setSelectedItem(node);
    setCurrentItem(QStringLiteral("DSN"), {D}, node);
    ASSERT_EQ(gConnections().Count(), 0);
    run("mnu_DSNDisconnect");
    EXPECT_TRUE(ui().errors().isEmpty());
    EXPECT_EQ(CNodes::Image(treeNode()), QStringLiteral("DSN Ghost"));
    EXPECT_EQ(gCurrentPane().data(), forms::LoadedForm<frmWelcome>());
}

TEST_F(Disconnect, ConnectOnADataSourceNoLongerInTheTreeIsReported)
{
    setCurrentItem(QStringLiteral("DSN"), {QStringLiteral("Gone")});
    gMenuCommandRan() = false;
    ui().answerError(ui::vbIgnore);
    run("mnu_DSNConnect");
    ASSERT_EQ(ui().errors().size(), 1);
    EXPECT_EQ(ui().errors()[0].trappedIn, QStringLiteral("mdiMain.mnu_DSNConnect_Click"));
    EXPECT_EQ(ui().errors()[0].number, QStringLiteral("35601"));
    EXPECT_FALSE(gMenuCommandRan());
}

// ------------------------------------------------------------ Recalculate Offsets

using RecalculateOffsets = DatasourceCommandTest;

const QString kOffsets = QStringLiteral("SELECT FIELD_NAME, OFFSET FROM QN_FIELD WHERE FILE_NAME = '%1' ORDER BY FIELD_NUMBER");

TEST_F(RecalculateOffsets, PacksTheFieldsInOffsetOrderAndWarnsOfTheExcess)
{
    RecordingPanes panes({"frmFields"});
    // A file of record size 10 with B (0, 6), A (10, 4) and C (12, 2); an apostrophe in its name.
    execute("INSERT INTO QN_FILE (FILE_NAME, RECORD_SIZE) VALUES ('O''NEIL', 10)");
    execute("INSERT INTO QN_FIELD (FILE_NAME, FIELD_NUMBER, FIELD_NAME, OFFSET, LENGTH) VALUES "
            "('O''NEIL', 1, 'B', 0, 6), ('O''NEIL', 2, 'A', 10, 4), ('O''NEIL', 3, 'C', 12, 2)");
    setCurrentItem(QStringLiteral("FD"), {D, QStringLiteral("O'NEIL")});
    ui().answerMsgBox(ui::vbOK);
    ui().answerMsgBox(ui::vbOK);
    ASSERT_TRUE(gConnections().Item(D)); // connected first: only the command's statements follow
    EXPECT_EQ(statementsOf("mnu_FieldRecalculate", QString()),
              (QStringList{
                  "SELECT RECORD_SIZE FROM QN_FILE WHERE FILE_NAME = 'O''NEIL'",
                  "SELECT * FROM QN_FIELD WHERE FILE_NAME = 'O''NEIL' ORDER BY OFFSET ASC",
                  "UPDATE QN_FIELD SET OFFSET =  0 WHERE FILE_NAME = 'O''NEIL' AND FIELD_NAME = 'B' AND FIELD_NUMBER = 1",
                  "UPDATE QN_FIELD SET OFFSET =  6 WHERE FILE_NAME = 'O''NEIL' AND FIELD_NAME = 'A' AND FIELD_NUMBER = 2",
                  "UPDATE QN_FIELD SET OFFSET =  10 WHERE FILE_NAME = 'O''NEIL' AND FIELD_NAME = 'C' AND FIELD_NUMBER = 3",
              }));
    EXPECT_EQ(rows(kOffsets.arg("O''NEIL")), (QStringList{"B|0", "A|6", "C|10"}));
    EXPECT_EQ(ui().messages(), (QStringList{"WARNING!\r\nTotal length of Fields exceeds Record size by 2 bytes.",
                                            "Field offsets recalulated for File 'O'NEIL'"}));
    for (const ScriptedUi::Shown &shown : ui().shown())
        EXPECT_EQ(shown.style, ui::vbInformation);
    EXPECT_EQ(RecordingPanes::calls("frmFields"), QStringList{"Display:QnTest,O'NEIL"});
    EXPECT_TRUE(gMenuCommandRan());
    EXPECT_TRUE(gErrorTrace().List().isEmpty());

    // A demo file whose fields drifted apart: packed again to its record size, no warning.
    const QStringList packed = rows(kOffsets.arg("CUSTOMER"));
    execute("UPDATE QN_FIELD SET OFFSET = OFFSET * 3 + 5 WHERE FILE_NAME = 'CUSTOMER'");
    setCurrentItem(QStringLiteral("fd"), {D, QStringLiteral("CUSTOMER"), QStringLiteral("NAME")});
    ui().clear();
    ui().answerMsgBox(ui::vbOK);
    run("mnu_FieldRecalculate");
    EXPECT_EQ(rows(kOffsets.arg("CUSTOMER")), packed);
    EXPECT_EQ(ui().messages(), QStringList{"Field offsets recalulated for File 'CUSTOMER'"});
}

TEST_F(RecalculateOffsets, ChecksEveryRowBeforeWritingAny)
{
    struct Case
    {
        const char *name;
        const char *recordSize;
        const char *fields; // (number, name, offset, length) rows
        const char *error;  // the failure reported, "" for none
        QStringList offsets;
        QStringList messages;
    };
    const QList<Case> cases = {
        {"Null length of the last field", "10", "(1, 'A', 5, 4), (2, 'B', 9, NULL)", "94", {"A|5", "B|9"}, {}},
        {"Null record size", "NULL", "(1, 'A', 5, 4)", "94", {"A|5"}, {}},
        {"offsets beyond 32 bits", "10", "(1, 'A', 5, 2000000000), (2, 'B', 9, 2000000000)", "6", {"A|5", "B|9"}, {}},
        {"offsets beyond 16 bits", "60000", "(1, 'A', 5, 30000), (2, 'B', 9, 30000)", "", {"A|0", "B|30000"},
         {"Field offsets recalulated for File 'W'"}},
        {"Null field number", "2", "(NULL, 'A', 5, 2)", "", {"A|0"}, {"Field offsets recalulated for File 'W'"}},
        {"no fields, no record", nullptr, "", "", {}, {"Field offsets recalulated for File 'W'"}},
        {"no record", nullptr, "(1, 'A', 5, 3)", "", {"A|0"},
         {"WARNING!\r\nTotal length of Fields exceeds Record size by 3 bytes.",
          "Field offsets recalulated for File 'W'"}},
    };
    RecordingPanes panes({"frmFields"});
    setCurrentItem(QStringLiteral("FD"), {D, QStringLiteral("W")});
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        execute("DELETE FROM QN_FILE WHERE FILE_NAME = 'W'");
        execute("DELETE FROM QN_FIELD WHERE FILE_NAME = 'W'");
        if (c.recordSize)
            execute(QStringLiteral("INSERT INTO QN_FILE (FILE_NAME, RECORD_SIZE) VALUES ('W', %1)").arg(c.recordSize));
        if (*c.fields)
            execute(QStringLiteral("INSERT INTO QN_FIELD (FILE_NAME, FIELD_NUMBER, FIELD_NAME, OFFSET, LENGTH) "
                                   "SELECT 'W', * FROM (VALUES %1)")
                        .arg(c.fields));
        ui().clear();
        if (*c.error)
            ui().answerError(ui::vbIgnore);
        for (qsizetype i = 0; i < c.messages.size(); ++i)
            ui().answerMsgBox(ui::vbOK);
        run("mnu_FieldRecalculate");
        if (*c.error) {
            ASSERT_EQ(ui().errors().size(), 1);
            EXPECT_EQ(ui().errors()[0].number, QLatin1String(c.error));
            EXPECT_EQ(ui().errors()[0].trappedIn, QStringLiteral("mdiMain.mnu_FieldRecalculate_Click"));
        } else {
            EXPECT_TRUE(ui().errors().isEmpty());
        }
        EXPECT_EQ(rows(QStringLiteral("SELECT FIELD_NAME, OFFSET FROM QN_FIELD WHERE FILE_NAME = 'W' ORDER BY FIELD_NAME")),
                  c.offsets);
        EXPECT_EQ(ui().messages(), c.messages);
        EXPECT_TRUE(gErrorTrace().List().isEmpty());
    }

    // Not a field collection or a field: the message, nothing else.
    setCurrentItem(QStringLiteral("fi"), {D, QStringLiteral("W")});
    ui().clear();
    ui().answerMsgBox(ui::vbOK);
    run("mnu_FieldRecalculate");
    EXPECT_EQ(ui().messages(),
              QStringList{"Please select a Field Collection or Field in a Field Collection to recalculate."});
}

TEST(OffsetStatement, NamesTheRowAsStored)
{
    using dscommands::OffsetStatement;
    EXPECT_EQ(OffsetStatement(0, "O'NEIL", "B", 1),
              QStringLiteral("UPDATE QN_FIELD SET OFFSET =  0 WHERE FILE_NAME = 'O''NEIL' AND FIELD_NAME = 'B' AND "
                             "FIELD_NUMBER = 1"));
    EXPECT_EQ(OffsetStatement(-5, "F", "A", QVariant()),
              QStringLiteral("UPDATE QN_FIELD SET OFFSET = -5 WHERE FILE_NAME = 'F' AND FIELD_NAME = 'A' AND "
                             "FIELD_NUMBER IS NULL"));
    EXPECT_EQ(failureOf([] { OffsetStatement(6, "F", "A", "1 OR 1=1"); }).Number(), qnerr::ValidationFailed);
}

} // namespace
