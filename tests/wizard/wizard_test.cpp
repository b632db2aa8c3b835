// The file-to-table wizard: its pages and buttons, its lists, the checks of
// Finish in their order, the table written with one column per field by the
// type rule, the tree and the Tables pane afterwards, and a failure at any
// statement of Finish leaving nothing behind.

#include <QDir>
#include <QLabel>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>

#include "../editors/editorfixture.h"
#include "../copymove/dialogdriver.h"
#include "core/cconnections.h"
#include "panehost/panehost.h"
#include "wizard/frmwizardfiletotable.h"

namespace {

const QString kDs = QStringLiteral("QnTest2");

// In the new catalog "QnTest2": file ITEMF with a field of each kind the type
// rule tells apart (stored out of order; one longer than a 16-bit number
// holds), one of a local type the catalog
// lacks, one of a type whose SQL type has Null attributes; a file without
// fields; a file of a local type whose SQL type is missing; database SHOP
// holding a table ITEMS.
const char *const kCatalog[] = {
    "INSERT INTO QN_SQLDT (SQL_TYPE_NAME, SQL_DATA_TYPE, LENGTH, PRECISION, NULLABLE, CASE_SENSITIVE, SEARCHABLE, "
    "UNSIGNED_ATTRIBUTE, MONEY, AUTO_INCREMENT, RADIX) VALUES ('FLAGT', 1, 1, 1, NULL, 0, NULL, 0, 0, 0, NULL)",
    "INSERT INTO QN_LOCDT VALUES ('FLAG', 'FLAGT', ';LENGTH=1;', NULL), ('LOST', 'NOSUCH', ';', NULL)",
    "INSERT INTO QN_FILE (FILE_NAME) VALUES ('ITEMF'), ('EMPTYF'), ('LOSTF'), ('SMALLF')",
    "INSERT INTO QN_FIELD (FILE_NAME, FIELD_NUMBER, FIELD_NAME, LOCAL_TYPE_NAME, OFFSET, LENGTH, PRECISION, SCALE, "
    "DEFAULT_VALUE, REMARKS) VALUES "
    "('ITEMF', 5, 'PRICE', 'NUMERIC', 27, 7, 7, 2, NULL, NULL), "
    "('ITEMF', 1, 'CODE', 'STRING', 0, 8, 8, 0, 'd''v', 'the code'), "
    "('ITEMF', 2, 'QTY-ON-HAND', 'ZONED', 8, 6, 6, NULL, NULL, NULL), "
    "('ITEMF', 3, 'REF', 'ZONED-NUM', 14, 40000, 40000, 0, NULL, NULL), "
    "('ITEMF', 4, 'SINCE', 'DATE', 19, 8, 8, 0, NULL, NULL), "
    "('ITEMF', 6, 'ODD', 'WEIRD', 34, 3, 3, 0, NULL, NULL), "
    "('ITEMF', 7, 'F', 'FLAG', 37, 1, 1, 0, NULL, NULL), "
    "('LOSTF', 1, 'GONE', 'LOST', 0, 1, 1, 0, NULL, NULL), "
    "('SMALLF', 1, 'A', 'STRING', 0, 4, 4, 0, NULL, NULL), ('SMALLF', 2, 'B', 'INTEGER', 4, 4, 10, 0, NULL, NULL)",
    "INSERT INTO QN_DB (DATABASE_NAME) VALUES ('SHOP')",
    "INSERT INTO QN_TABLE (DATABASE_NAME, TABLE_NAME) VALUES ('SHOP', 'ITEMS')",
};

const QString kColumnInsert =
    QStringLiteral("INSERT INTO QN_COLUMN (DATABASE_NAME, TABLE_NAME, COLUMN_NUMBER, COLUMN_NAME, FIELD_NAME, "
                   "SQL_TYPE_NAME, LENGTH, PRECISION, SCALE, DEFAULT_VALUE, REMARKS, DISPLAY_NAME, VISIBLE, NULLABLE, "
                   "UNSIGNED_ATTRIBUTE, MONEY, AUTO_INCREMENT, CASE_SENSITIVE, SEARCHABLE, UPDATABLE, RADIX) VALUES (");

class Wizard : public EditorTest
{
public:
    void SetUp() override
    {
        EditorTest::SetUp();
        const auto db = open(kDs);
        for (const char *sql : kCatalog)
            db->Execute(QString::fromLatin1(sql));
    }

    // Opens the wizard as the command does; `drive` works it as the user does.
    void wizard(const QString &file, const std::function<void(frmWizardFileToTable &)> &drive,
                const QString &ds = kDs)
    {
        driveNextDialog(ui(), [&](QDialog &d) { drive(static_cast<frmWizardFileToTable &>(d)); });
        dialogs::Open(QStringLiteral("frmWizardFileToTable"), {ds, file, QString()});
        flush();
    }
    static QStringList listed(const QListWidget *list)
    {
        QStringList names;
        for (int i = 0; i < list->count(); ++i)
            names << list->item(i)->text();
        return names;
    }
    static void pick(QListWidget *list, const QString &name)
    {
        QListWidgetItem *item = list->findItems(name, Qt::MatchExactly).value(0);
        ASSERT_TRUE(item) << name.toStdString();
        list->scrollToItem(item);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(item).center());
    }
    // The page shown, read from the panels' visibility.
    static int shownPage(const frmWizardFileToTable &w)
    {
        int shown = -1;
        for (int page = 0; page < 4; ++page)
            if (w.picPage[page]->isVisible()) {
                EXPECT_EQ(shown, -1) << "two pages shown";
                shown = page;
            }
        return shown;
    }
    // Goes to page 3 with Next and fills the properties by typing.
    void fillProperties(frmWizardFileToTable &w, const QString &display, const QString &spec, const QString &remarks)
    {
        while (shownPage(w) < 3)
            click(w.cmdNext);
        type(w.txtProperty[1], display);
        type(w.txtProperty[2], spec);
        type(w.txtProperty[4], remarks);
    }
    // The database picked on page 2 and the File Specification typed on page 3, nothing else.
    void readyToFinish(frmWizardFileToTable &w, const QString &database, const QString &spec)
    {
        w.SetCurrentPage(2);
        pick(w.lstDB, database);
        fillProperties(w, QString(), spec, QString());
    }
    int tables() { return scalar(QStringLiteral("SELECT COUNT(*) FROM QN_TABLE"), kDs).toInt(); }
    int columns() { return scalar(QStringLiteral("SELECT COUNT(*) FROM QN_COLUMN"), kDs).toInt(); }
};

TEST_F(Wizard, OpensWithItsChoicesAndMovesBetweenPages)
{
    QPoint closedAt;
    open(kDs)->Execute(QStringLiteral("INSERT INTO QN_FILE (FILE_NAME) VALUES ('lower')"));
    wizard(QStringLiteral("ITEMF"), [&](frmWizardFileToTable &w) {
        EXPECT_EQ(w.windowTitle(), QStringLiteral("File to Table Wizard"));
        EXPECT_EQ(shownPage(w), 0);
        EXPECT_EQ(w.findChild<QLabel *>(QStringLiteral("lblPage_0"))->text(), QStringLiteral("Page 1 of 4"));
        EXPECT_EQ(w.findChild<QLabel *>(QStringLiteral("lblTitle_0"))->text(), QStringLiteral("File to Table Wizard"));
        EXPECT_TRUE(w.findChild<QLabel *>(QStringLiteral("lblWelcome"))->text().contains(QStringLiteral("proccess")));
        // The data sources of the engine's driver only; the data source and file given chosen.
        EXPECT_EQ(items(w.cboFileDatasource), QStringList({"QnTest", "QnTest2"}));
        EXPECT_EQ(w.cboFileDatasource->currentText(), kDs);
        EXPECT_EQ(listed(w.lstFile), QStringList({"EMPTYF", "ITEMF", "LOSTF", "SMALLF", "lower"}));
        EXPECT_EQ(w.lstFile->currentItem()->text(), QStringLiteral("ITEMF"));
        EXPECT_EQ(w.txtProperty[0]->text(), QStringLiteral("ITEMF"));
        EXPECT_EQ(listed(w.lstDB), QStringList{"SHOP"});
        EXPECT_TRUE(w.lstDB->selectedItems().isEmpty());

        // The buttons page by page: Previous off on the first, Next hidden on the last.
        QStringList states;
        auto state = [&] {
            states << QStringLiteral("%1:%2%3%4%5")
                          .arg(shownPage(w))
                          .arg(w.cmdPrevious->isEnabled() ? '+' : '-')
                          .arg(w.cmdNext->isVisible() ? 'v' : 'h')
                          .arg(w.cmdNext->isEnabled() ? '+' : '-')
                          .arg(w.cmdFinish->isEnabled() ? '+' : '-');
        };
        state();
        for (int i = 0; i < 3; ++i) {
            click(w.cmdNext);
            state();
        }
        click(w.cmdPrevious);
        state();
        EXPECT_EQ(states, QStringList({"0:-v++", "1:+v++", "2:+v++", "3:+h-+", "2:+v++"}));
        EXPECT_EQ(w.findChild<QLabel *>(QStringLiteral("lblTitle_2"))->text(),
                  QStringLiteral("Step 2 - Selecting the Database"));
        // Out of range: the nearest page.
        w.SetCurrentPage(7);
        EXPECT_EQ(shownPage(w), 3);
        w.SetCurrentPage(-2);
        EXPECT_EQ(shownPage(w), 0);
        // Enter presses Next.
        QTest::keyClick(&w, Qt::Key_Return);
        EXPECT_EQ(shownPage(w), 1);
        // Selecting a file replaces the Table Name, in capitals.
        type(w.txtProperty[0], QStringLiteral("X"));
        pick(w.lstFile, QStringLiteral("lower"));
        EXPECT_EQ(w.txtProperty[0]->text(), QStringLiteral("LOWER"));
        w.move(60, 75);
        closedAt = w.pos();
        QTest::keyClick(w.lstFile, Qt::Key_Escape);
    });
    // Esc wrote nothing but the position, in twips.
    EXPECT_EQ(setting(QStringLiteral("frmWizard"), QStringLiteral("Left")), QStringLiteral("900"));
    EXPECT_EQ(setting(QStringLiteral("frmWizard"), QStringLiteral("Top")), QStringLiteral("1125"));
    EXPECT_FALSE(forms::Find(QStringLiteral("frmWizardFileToTable")));
    wizard(QString(), [&](frmWizardFileToTable &w) {
        EXPECT_EQ(w.pos(), closedAt);
        // Typing into the Datasource box reloads both lists.
        choose(w.cboFileDatasource, QStringLiteral("QnTest"));
        EXPECT_EQ(w.cboFileDatasource->currentText(), QStringLiteral("QnTest"));
        EXPECT_TRUE(listed(w.lstFile).contains(QStringLiteral("CUSTOMER")));
        EXPECT_EQ(listed(w.lstDB), QStringList({"SALES", "STOCK"}));
        click(w.cmdCancel);
    });
}

TEST_F(Wizard, TheCatalogsOwnFilesAndDatabaseAreListedWithSysTables)
{
    options::Save(options::kSysTables, 1);
    wizard(QString(), [&](frmWizardFileToTable &w) {
        EXPECT_EQ(listed(w.lstFile).size(), 4 + 11); // the catalog's eleven files too
        EXPECT_TRUE(listed(w.lstFile).contains(QStringLiteral("FIELD")));
        EXPECT_EQ(listed(w.lstDB), QStringList({"QN", "SHOP"}));
        click(w.cmdCancel);
    });
}

// Finish checks every page in order, each with its message and focus, and
// writes nothing while one fails; the wizard stays open.
TEST_F(Wizard, FinishChecksEveryPageInOrder)
{
    struct Case
    {
        const char *name;
        const char *file; // given to the wizard
        std::function<void(Wizard &, frmWizardFileToTable &)> prepare;
        QStringList messages;
        int page;
        std::function<QWidget *(frmWizardFileToTable &)> focus;
    };
    const QList<Case> cases = {
        {"no file", "", [](Wizard &, frmWizardFileToTable &) {}, {"Please select a file to convert"}, 1,
         [](frmWizardFileToTable &w) { return w.lstFile; }},
        {"no database", "ITEMF", [](Wizard &, frmWizardFileToTable &) {},
         {"Please select a database to create the table in."}, 2, [](frmWizardFileToTable &w) { return w.lstDB; }},
        {"no table name", "ITEMF",
         [](Wizard &t, frmWizardFileToTable &w) {
             click(w.cmdNext);
             click(w.cmdNext);
             t.pick(w.lstDB, QStringLiteral("SHOP"));
             retype(w.txtProperty[0], QStringLiteral("  "));
             click(w.cmdPrevious);
         },
         {"Please enter a Table Name for this Table."}, 3, [](frmWizardFileToTable &w) { return w.txtProperty[0]; }},
        {"display name and specification", "ITEMF",
         [](Wizard &t, frmWizardFileToTable &w) {
             click(w.cmdNext);
             click(w.cmdNext);
             t.pick(w.lstDB, QStringLiteral("SHOP"));
             t.fillProperties(w, QStringLiteral("Item"), QString(), QString());
         },
         {"Display Name must match the Table Name, but may be mixed case.",
          "Please enter a File Specification for this Table."},
         3, [](frmWizardFileToTable &w) { return w.txtProperty[2]; }},
    };
    const int before = tables();
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        wizard(QLatin1String(c.file), [&](frmWizardFileToTable &w) {
            c.prepare(*this, w);
            for (int i = 0; i < c.messages.size(); ++i)
                ui().answerMsgBox(ui::vbOK);
            click(w.cmdFinish);
            EXPECT_EQ(takeMessages(), c.messages);
            EXPECT_EQ(shownPage(w), c.page);
            EXPECT_EQ(focused(), c.focus(w));
            EXPECT_TRUE(w.isVisible());
            EXPECT_EQ(main().StatusText(), QStringLiteral("Ready"));
            click(w.cmdCancel);
        });
        EXPECT_EQ(tables(), before);
    }
}

TEST_F(Wizard, FinishWritesTheTableAndOneColumnPerField)
{
    QStringList statuses;
    wizard(QStringLiteral("ITEMF"), [&](frmWizardFileToTable &w) {
        click(w.cmdNext);
        click(w.cmdNext);
        pick(w.lstDB, QStringLiteral("SHOP"));
        // A Display Name differing only in case passes.
        fillProperties(w, QStringLiteral("Itemf"), QStringLiteral("ITEMF.DAT"), QStringLiteral("it's"));
        ui().answerMsgBox(ui::vbOK); // the field skipped
        ui().answerMsgBox(ui::vbOK); // Table Created
        statuses = statusesWhile(main(), [&] { click(w.cmdFinish); });
    });
    const QList<ScriptedUi::Shown> shown = messageBoxes(ui());
    ASSERT_EQ(shown.size(), 2);
    EXPECT_EQ(shown[0].text,
              QStringLiteral("Unable to find information about the Local Data Type 'WEIRD'\r\nused in File 'ITEMF, Field "
                             "'ODD.\r\nThis datatype is not supported in Datasource 'QnTest2' and the Field has been "
                             "skipped."));
    EXPECT_EQ(shown[0].style, ui::vbOKOnly);
    EXPECT_EQ(shown[1].text, QStringLiteral("Table Created"));
    EXPECT_EQ(shown[1].style, ui::vbInformation);
    EXPECT_EQ(modUpdate::LastStatements(),
              QStringList({
                  // The database read first: nothing goes into one deleted meanwhile.
                  "SELECT DATABASE_NAME FROM QN_DB WHERE DATABASE_NAME = 'SHOP'",
                  "INSERT INTO QN_TABLE (DATABASE_NAME, TABLE_NAME, TABLE_TYPE, FILE_NAME, FILE_SPECIFICATION, "
                  "NUMBER_COLUMNS, REMARKS, DISPLAY_NAME) VALUES ('SHOP', 'ITEMF', 'TABLE', 'ITEMF', 'ITEMF.DAT', 7, "
                  "'it''s', 'Itemf' )",
                  // STRING: the field's length twice.
                  kColumnInsert + "'SHOP', 'ITEMF', 1, 'CODE', 'CODE', 'VARCHAR', 8, 8, 0, 'd''v', 'the code', "
                                  "'CODE', 1, 1, 0, 0, 0, 1, 3, 1, 0 )",
                  // ZONED on NUMERIC: the field's length, the SQL type's precision.
                  kColumnInsert + "'SHOP', 'ITEMF', 2, 'QTY_ON_HAND', 'QTY-ON-HAND', 'NUMERIC', 6, 18, 0, NULL, NULL, "
                                  "'QTY_ON_HAND', 1, 1, 0, 0, 0, 0, 2, 1, 1 )",
                  // ZONED-NUM on VARCHAR: the field's length twice, however long.
                  kColumnInsert + "'SHOP', 'ITEMF', 3, 'REF', 'REF', 'VARCHAR', 40000, 40000, 0, NULL, NULL, 'REF', 1, 1, "
                                  "0, 0, 0, 1, 3, 1, 0 )",
                  // Any other type: the SQL type's length and precision.
                  kColumnInsert + "'SHOP', 'ITEMF', 4, 'SINCE', 'SINCE', 'DATE', 6, 10, 0, NULL, NULL, 'SINCE', 1, 1, 0, "
                                  "0, 0, 0, 2, 1, 0 )",
                  // Decimals: DOUBLE, the rest from the local type's SQL type.
                  kColumnInsert + "'SHOP', 'ITEMF', 5, 'PRICE', 'PRICE', 'DOUBLE', 7, 18, 0, NULL, NULL, 'PRICE', 1, 1, "
                                  "0, 0, 0, 0, 2, 1, 1 )",
                  // A Null attribute of the SQL type stays Null.
                  kColumnInsert + "'SHOP', 'ITEMF', 7, 'F', 'F', 'FLAGT', 1, 1, 0, NULL, NULL, 'F', 1, NULL, 0, 0, 0, "
                                  "0, NULL, 1, NULL )",
              }));
    EXPECT_EQ(statuses.mid(statuses.indexOf(QStringLiteral("Processing File 'ITEMF', Field 'CODE'")), 7), QStringList({"Processing File 'ITEMF', Field 'CODE'",
                                               "Processing File 'ITEMF', Field 'QTY-ON-HAND'",
                                               "Processing File 'ITEMF', Field 'REF'",
                                               "Processing File 'ITEMF', Field 'SINCE'",
                                               "Processing File 'ITEMF', Field 'PRICE'",
                                               "Processing File 'ITEMF', Field 'ODD'",
                                               "Processing File 'ITEMF', Field 'F'"}));
    EXPECT_EQ(main().StatusText(), QStringLiteral("Ready"));
    // The tree shows the new table in the database's Tables folder, and the Tables pane is current.
    const QString folder = QStringLiteral("DSN=QnTest2:DB=QnTest2:db=SHOP:TA=SHOP:");
    ASSERT_TRUE(node(folder));
    EXPECT_TRUE(tree()->isExpanded(node(folder)->index()));
    EXPECT_EQ(childTexts(folder), QStringList({"ITEMF", "ITEMS"}));
    EXPECT_EQ(current(), QStringLiteral("frmTables"));
    EXPECT_FALSE(forms::Find(QStringLiteral("frmWizardFileToTable")));
}

TEST_F(Wizard, FinishStopsOnAFileWithoutFieldsAndOnATableThatExists)
{
    const int before = tables();
    wizard(QStringLiteral("EMPTYF"), [&](frmWizardFileToTable &w) {
        readyToFinish(w, QStringLiteral("SHOP"), QStringLiteral("E.DAT"));
        ui().answerMsgBox(ui::vbOK);
        ui().clear();
        click(w.cmdFinish);
        ASSERT_EQ(messageBoxes(ui()).size(), 1);
        EXPECT_EQ(messageBoxes(ui())[0].text, QStringLiteral("File 'EMPTYF' does not contain any Fields!"));
        EXPECT_EQ(messageBoxes(ui())[0].style, ui::vbExclamation);
        ui().clear();
        // A table of that name in the database: page 3, the focus on the Table Name.
        w.SetCurrentPage(1);
        pick(w.lstFile, QStringLiteral("ITEMF"));
        retype(w.txtProperty[0], QStringLiteral("ITEMS"));
        w.SetCurrentPage(0);
        ui().answerMsgBox(ui::vbOK);
        click(w.cmdFinish);
        ASSERT_EQ(messageBoxes(ui()).size(), 1);
        EXPECT_EQ(messageBoxes(ui())[0].text, QStringLiteral("Database 'SHOP' already contains a Table called 'ITEMS'"));
        EXPECT_EQ(messageBoxes(ui())[0].style, ui::vbOKOnly);
        EXPECT_EQ(shownPage(w), 3);
        EXPECT_EQ(focused(), w.txtProperty[0]);
        EXPECT_TRUE(w.isVisible());
        click(w.cmdCancel);
    });
    EXPECT_EQ(tables(), before);
}

// Unattended runs Finish unseen: with nothing to fill the File Specification,
// it stops at that check and writes nothing.
TEST_F(Wizard, UnattendedStopsAtTheFileSpecification)
{
    const int before = tables();
    ui().answerMsgBox(ui::vbOK);
    frmWizardFileToTable::Unattended(kDs, QStringLiteral("ITEMF"), kDs, QStringLiteral("SHOP"));
    EXPECT_EQ(takeMessages(), QStringList{"Please enter a File Specification for this Table."});
    EXPECT_EQ(tables(), before);
    flush();
    EXPECT_FALSE(forms::Find(QStringLiteral("frmWizardFileToTable")));
}

// A failure at each statement of Finish in turn, answered Ignore: nothing is
// written and the wizard stays open. Without transactions the rows written
// are deleted again, and the user is told so.
TEST_F(Wizard, AFailureAtAnyStatementOfFinishLeavesNothing)
{
    auto finish = [&](const std::function<void(frmWizardFileToTable &)> &before) {
        wizard(QStringLiteral("SMALLF"), [&](frmWizardFileToTable &w) {
            readyToFinish(w, QStringLiteral("SHOP"), QStringLiteral("S.DAT"));
            before(w);
            const QPointer<frmWizardFileToTable> shown(&w);
            click(w.cmdFinish);
            if (shown && shown->isVisible())
                click(shown->cmdCancel);
        });
    };
    QStringList sent;
    ui().answerMsgBox(ui::vbOK);
    finish([&](frmWizardFileToTable &) { dao::SetStatementObserver([&](const QString &sql) { sent << sql; }); });
    dao::SetStatementObserver(nullptr);
    EXPECT_EQ(takeMessages(), QStringList{"Table Created"});
    sent = sent.mid(0, sent.indexOf(modUpdate::LastStatements().last()) + 1);
    ASSERT_EQ(sent.size(), 9); // count, look-up, fields, two type tables, the database, the table, two columns
    open(kDs)->Execute(QStringLiteral("DELETE FROM QN_TABLE WHERE TABLE_NAME = 'SMALLF'"));
    open(kDs)->Execute(QStringLiteral("DELETE FROM QN_COLUMN WHERE TABLE_NAME = 'SMALLF'"));
    const int tablesBefore = tables(), columnsBefore = columns();

    for (bool transactions : {true, false}) {
        dao::IgnoreTransactionSupport(!transactions);
        for (int n = 1; n <= sent.size(); ++n) {
            SCOPED_TRACE(QStringLiteral("statement %1, transactions %2").arg(n).arg(transactions).toStdString());
            const bool written = !transactions && n > 7;
            ui().answerError(ui::vbIgnore);
            if (written)
                ui().answerMsgBox(ui::vbOK);
            finish([&](frmWizardFileToTable &) {
                dao::Faults::Add(dao::Faults::Statement, n, QStringLiteral("HY000"), QStringLiteral("refused"));
            });
            ASSERT_EQ(ui().errors().size(), 1);
            EXPECT_EQ(ui().errors()[0].trappedIn, QStringLiteral("frmWizardFileToTable.cmdFinish_Click"));
            EXPECT_EQ(ui().errors()[0].additionalInfo, shownSQL(sent[n - 1]));
            EXPECT_EQ(takeMessages(), written ? QStringList{"The copy failed; the rows it had written have been "
                                                            "deleted again."}
                                              : QStringList());
            EXPECT_EQ(tables(), tablesBefore);
            EXPECT_EQ(columns(), columnsBefore);
        }
    }
}

// A field's stored Null (default value, remarks) stays Null in its column, a
// stored '' stays ''; a box the user left empty writes ''.
TEST_F(Wizard, StoredNullsStayNullAndEmptyBoxesWriteEmptyTexts)
{
    open(kDs)->Execute(QStringLiteral("UPDATE QN_FIELD SET DEFAULT_VALUE = '', REMARKS = '' WHERE FILE_NAME = 'SMALLF' "
                                      "AND FIELD_NAME = 'B'"));
    ui().answerMsgBox(ui::vbOK);
    wizard(QStringLiteral("SMALLF"), [&](frmWizardFileToTable &w) {
        readyToFinish(w, QStringLiteral("SHOP"), QStringLiteral("S.DAT"));
        click(w.cmdFinish);
    });
    EXPECT_EQ(takeMessages(), QStringList{"Table Created"});
    EXPECT_EQ(rows(QStringLiteral("SELECT COLUMN_NAME || '|' || quote(DEFAULT_VALUE) || '|' || quote(REMARKS) FROM "
                                  "QN_COLUMN WHERE TABLE_NAME = 'SMALLF' ORDER BY 1"),
                   kDs),
              QStringList({"A|NULL|NULL", "B|''|''"}));
    EXPECT_EQ(rows(QStringLiteral("SELECT quote(REMARKS) || '|' || quote(DISPLAY_NAME) FROM QN_TABLE WHERE TABLE_NAME "
                                  "= 'SMALLF'"),
                   kDs),
              QStringList{"''|''"});
}

// A close of the main window issued while the wizard is on screen is
// refused: the wizard goes on and writes, and a close afterwards closes.
TEST_F(Wizard, TheWindowStaysWhileTheWizardIsOpen)
{
    bool closed = true;
    ui().answerMsgBox(ui::vbOK);
    wizard(QStringLiteral("SMALLF"), [&](frmWizardFileToTable &w) {
        closed = main().close();
        readyToFinish(w, QStringLiteral("SHOP"), QStringLiteral("S.DAT"));
        click(w.cmdFinish);
    });
    EXPECT_FALSE(closed);
    EXPECT_EQ(ui().beeps(), 1);
    EXPECT_EQ(takeMessages(), QStringList{"Table Created"});
    EXPECT_TRUE(main().isVisible());
    EXPECT_TRUE(main().close());
}

// The database deleted by another connection while the wizard is on screen:
// Finish reads it first inside its unit, fails with 3021 naming that query,
// writes nothing and stays open; with and without transactions.
TEST_F(Wizard, FinishWritesNothingIntoADatabaseDeletedMeanwhile)
{
    const QString parent = QStringLiteral("SELECT DATABASE_NAME FROM QN_DB WHERE DATABASE_NAME = 'GONE'");
    for (bool transactions : {true, false}) {
        SCOPED_TRACE(transactions);
        dao::IgnoreTransactionSupport(!transactions);
        open(kDs)->Execute(QStringLiteral("INSERT INTO QN_DB (DATABASE_NAME) VALUES ('GONE')"));
        const int tablesBefore = tables(), columnsBefore = columns();
        ui().answerError(ui::vbIgnore);
        wizard(QStringLiteral("SMALLF"), [&](frmWizardFileToTable &w) {
            readyToFinish(w, QStringLiteral("GONE"), QStringLiteral("S.DAT"));
            open(kDs)->Execute(QStringLiteral("DELETE FROM QN_DB WHERE DATABASE_NAME = 'GONE'"));
            const QPointer<frmWizardFileToTable> shown(&w);
            click(w.cmdFinish);
            ASSERT_TRUE(shown && shown->isVisible());
            click(shown->cmdCancel);
        });
        ASSERT_EQ(ui().errors().size(), 1);
        EXPECT_EQ(ui().errors()[0].number, QStringLiteral("3021"));
        EXPECT_EQ(ui().errors()[0].trappedIn, QStringLiteral("frmWizardFileToTable.cmdFinish_Click"));
        EXPECT_EQ(ui().errors()[0].additionalInfo, parent);
        EXPECT_EQ(takeMessages(), QStringList());
        EXPECT_EQ(tables(), tablesBefore);
        EXPECT_EQ(columns(), columnsBefore);
    }
    dao::IgnoreTransactionSupport(false);
}

// The link lost (the connection closed, or a failure of class 08 that closes
// it) before Finish or at any of its statements, answered Retry: Finish takes
// the data source's connection from the registry again and writes the table.
TEST_F(Wizard, RetryAfterALostLinkWritesTheTable)
{
    for (bool transactions : {true, false}) {
        dao::IgnoreTransactionSupport(!transactions);
        // 0: the connection closed before Finish; n: the n-th statement of Finish loses the link.
        for (int n = 0; n <= 9; ++n) {
            SCOPED_TRACE(QStringLiteral("statement %1, transactions %2").arg(n).arg(transactions).toStdString());
            if (n > 0)
                ui().answerError(ui::vbRetry);
            ui().answerMsgBox(ui::vbOK); // Table Created
            wizard(QStringLiteral("SMALLF"), [&](frmWizardFileToTable &w) {
                readyToFinish(w, QStringLiteral("SHOP"), QStringLiteral("S.DAT"));
                if (n == 0)
                    gConnections().Item(kDs)->db->Close();
                else
                    dao::Faults::Add(dao::Faults::Statement, n, QStringLiteral("08S01"), QStringLiteral("link down"));
                click(w.cmdFinish);
            });
            EXPECT_EQ(ui().errors().size(), n > 0 ? 1 : 0);
            EXPECT_EQ(takeMessages(), QStringList{"Table Created"});
            EXPECT_EQ(dao::Faults::Pending(), 0);
            EXPECT_EQ(rows(QStringLiteral("SELECT COLUMN_NAME FROM QN_COLUMN WHERE TABLE_NAME = 'SMALLF' ORDER BY 1"), kDs),
                      QStringList({"A", "B"}));
            EXPECT_FALSE(forms::Find(QStringLiteral("frmWizardFileToTable")));
            open(kDs)->Execute(QStringLiteral("DELETE FROM QN_TABLE WHERE TABLE_NAME = 'SMALLF'"));
            open(kDs)->Execute(QStringLiteral("DELETE FROM QN_COLUMN WHERE TABLE_NAME = 'SMALLF'"));
        }
    }
    dao::IgnoreTransactionSupport(false);
}

// A local type whose SQL type is missing fails Finish with the SQL type's
// query named, before anything is written.
TEST_F(Wizard, AMissingSqlTypeFailsBeforeAnythingIsWritten)
{
    const int before = tables();
    ui().answerError(ui::vbIgnore);
    wizard(QStringLiteral("LOSTF"), [&](frmWizardFileToTable &w) {
        readyToFinish(w, QStringLiteral("SHOP"), QStringLiteral("L.DAT"));
        click(w.cmdFinish);
        EXPECT_TRUE(w.isVisible());
        click(w.cmdCancel);
    });
    ASSERT_EQ(ui().errors().size(), 1);
    EXPECT_EQ(ui().errors()[0].number, QStringLiteral("3021"));
    EXPECT_EQ(ui().errors()[0].additionalInfo, QStringLiteral("SELECT * FROM QN_SQLDT WHERE SQL_TYPE_NAME = 'NOSUCH'"));
    EXPECT_EQ(tables(), before);
}

TEST_F(Wizard, Pictures)
{
    const QString folder = qEnvironmentVariable("QN_SCREENSHOT_DIR");
    if (folder.isEmpty())
        GTEST_SKIP() << "QN_SCREENSHOT_DIR not set";
    QDir().mkpath(folder);
    wizard(QStringLiteral("ITEMF"), [&](frmWizardFileToTable &w) {
        pick(w.lstDB, QStringLiteral("SHOP"));
        w.txtProperty[1]->setText(QStringLiteral("Itemf"));
        w.txtProperty[2]->setText(QStringLiteral("ITEMF.DAT"));
        for (int page = 0; page < 4; ++page) {
            w.SetCurrentPage(page);
            QCoreApplication::processEvents();
            EXPECT_TRUE(w.grab().save(QDir(folder).filePath(QStringLiteral("frmWizardFileToTable-page%1.png").arg(page + 1))));
        }
        click(w.cmdCancel);
    });
}

} // namespace
