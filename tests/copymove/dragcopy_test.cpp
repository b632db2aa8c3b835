// Copies and moves dragged in the explorer tree, between the two stand-in data
// sources and within one: the questions, the exact statements, the refusals
// with their messages, the rows that travel with an object, the refreshed
// tree and the pane shown.

#include <QDir>

#include "copymove/dragops.h"
#include "dragfixture.h"

namespace {

using DragCopy = DragTest;

// The pane shown and its title.
QString shownPane()
{
    QWidget *pane = gCurrentPane();
    const auto *title = pane ? pane->findChild<QLabel *>(QStringLiteral("lblTitle_0")) : nullptr;
    return pane ? pane->objectName() + QLatin1Char(':') + (title ? title->text() : QString()) : QString();
}

const QString kFieldColumns = QStringLiteral("INSERT INTO QN_FIELD (FILE_NAME, FIELD_NUMBER, FIELD_NAME, "
                                             "LOCAL_TYPE_NAME, OFFSET, LENGTH, PRECISION, SCALE, ENCRYPTED, FORMAT, "
                                             "DEFAULT_VALUE, REMARKS) VALUES (");
const QString kColumnColumns =
    QStringLiteral("INSERT INTO QN_COLUMN (DATABASE_NAME, TABLE_NAME, COLUMN_NUMBER, COLUMN_NAME, FIELD_NAME, "
                   "SQL_TYPE_NAME, LENGTH, PRECISION, SCALE, NULLABLE, UNSIGNED_ATTRIBUTE, UPDATABLE, VISIBLE, MONEY, "
                   "AUTO_INCREMENT, CASE_SENSITIVE, SEARCHABLE, RADIX, DEFAULT_VALUE, REMARKS, SETFILEPARAMETER, "
                   "COLUMN_TYPE, DISPLAY_NAME) VALUES (");

// The statements of `list` that begin with `start`.
QStringList starting(const QStringList &list, const QString &start)
{
    QStringList found;
    for (const QString &sql : list)
        if (sql.startsWith(start))
            found << sql;
    return found;
}

// A user travels alone, with its password as stored: a copy leaves the
// source as it was; a move deletes the source row after the insert and
// leaves the user's privileges behind; a name the target holds is refused.
TEST_F(DragCopy, UsersBetweenDataSources)
{
    reveal(users(kDs2) + "us=ADMIN:");
    answerMoveCopy("cmdCopy");
    drag(users(kDs) + "us=JSMITH:", users(kDs2));
    EXPECT_EQ(takePrompts(), QStringList{"Do you want to Move or Copy the User 'JSMITH' from Datasource 'QnTest' to "
                                         "Datasource 'QnTest2'?"});
    EXPECT_EQ(takeStatements(),
              (QStringList{"SELECT * FROM QN_USER WHERE USER_NAME = 'JSMITH'",
                           "SELECT * FROM QN_USER WHERE USER_NAME = 'JSMITH' ",
                           "INSERT INTO QN_USER (USER_NAME, USER_PASSWORD, REMARKS) VALUES ('JSMITH', 'WELCOME1', "
                           "'Sales office')"}));
    EXPECT_EQ(rows("SELECT * FROM QN_USER WHERE USER_NAME = 'JSMITH'", kDs2), QStringList{"JSMITH|WELCOME1|Sales office"});
    EXPECT_EQ(rows("SELECT USER_NAME FROM QN_USER WHERE USER_NAME = 'JSMITH'"), QStringList{"JSMITH"});
    EXPECT_TRUE(node(users(kDs2) + "us=JSMITH:")) << "the target's Users folder is reloaded";
    EXPECT_EQ(shownPane(), "frmUsers:QnTest2 - Users");
    EXPECT_EQ(main().StatusText(), "Ready");

    answerMoveCopy("cmdMove");
    drag(users(kDs) + "us=MBROWN:", ds(kDs2));
    EXPECT_EQ(takeWrites(), (QStringList{"INSERT INTO QN_USER (USER_NAME, USER_PASSWORD, REMARKS) VALUES ('MBROWN', "
                                         "'STOCK99', 'Warehouse')",
                                         "DELETE FROM QN_USER WHERE USER_NAME = 'MBROWN'"}));
    EXPECT_TRUE(rows("SELECT * FROM QN_USER WHERE USER_NAME = 'MBROWN'").isEmpty());
    EXPECT_EQ(rows("SELECT COUNT(*) FROM QN_DBPRV WHERE USER_NAME = 'MBROWN'"), QStringList{"2"});
    EXPECT_FALSE(node(users(kDs) + "us=MBROWN:")) << "the source's Users folder is reloaded";
    EXPECT_TRUE(node(users(kDs2) + "us=MBROWN:"));
    takePrompts();

    answerMoveCopy("cmdMove");
    ui().answerMsgBox(ui::vbOK);
    drag(users(kDs) + "us=JSMITH:", users(kDs2) + "us=ADMIN:");
    EXPECT_EQ(takeMessages(), QStringList{"Datasource 'QnTest2' already contains a User called 'JSMITH'!"});
    EXPECT_TRUE(takeWrites().isEmpty());
    EXPECT_EQ(rows("SELECT USER_NAME FROM QN_USER WHERE USER_NAME = 'JSMITH'"), QStringList{"JSMITH"});
    takePrompts();

    // A name with an apostrophe: doubled in the statements, as it is in the question.
    exec("INSERT INTO QN_USER (USER_NAME) VALUES ('O''NEIL')");
    toggle(users(kDs));
    toggle(users(kDs));
    answerMoveCopy("cmdMove");
    drag(users(kDs) + "us=O'NEIL:", ds(kDs2));
    EXPECT_EQ(takePrompts(), QStringList{"Do you want to Move or Copy the User 'O'NEIL' from Datasource 'QnTest' to "
                                         "Datasource 'QnTest2'?"});
    EXPECT_EQ(takeWrites(), (QStringList{"INSERT INTO QN_USER (USER_NAME, USER_PASSWORD, REMARKS) VALUES ('O''NEIL', "
                                         "NULL, NULL)",
                                         "DELETE FROM QN_USER WHERE USER_NAME = 'O''NEIL'"}));
}

// A collection asks once; a member the target holds is reported and the
// continue question follows; Yes to All silences it for the rest.
TEST_F(DragCopy, TheUsersFolderToAnotherDataSource)
{
    reveal(users(kDs2) + "us=ADMIN:");
    answerMoveCopy("cmdCopy");
    ui().answerMsgBox(ui::vbOK);
    answerContinue("cmdYesAll");
    drag(users(kDs), ds(kDs2));
    EXPECT_EQ(takePrompts(),
              (QStringList{"Do you want to Move or Copy the Users collection in Datasource 'QnTest' to the Datasource "
                           "'QnTest2'?",
                           "Do you want to continue with the remainder of the Users in this collection?"}));
    EXPECT_EQ(takeMessages(), QStringList{"Datasource 'QnTest2' already contains a User called 'ADMIN'!"});
    EXPECT_EQ(takeStatements(),
              (QStringList{"SELECT * FROM QN_USER ", "SELECT USER_NAME FROM QN_USER ",
                           "INSERT INTO QN_USER (USER_NAME, USER_PASSWORD, REMARKS) VALUES ('JSMITH', 'WELCOME1', "
                           "'Sales office')",
                           "INSERT INTO QN_USER (USER_NAME, USER_PASSWORD, REMARKS) VALUES ('MBROWN', 'STOCK99', "
                           "'Warehouse')",
                           "INSERT INTO QN_USER (USER_NAME, USER_PASSWORD, REMARKS) VALUES ('REPORTS', 'VIEWONLY', "
                           "'Reporting account, read only')"}));
    EXPECT_EQ(rows("SELECT USER_NAME FROM QN_USER ORDER BY USER_NAME", kDs2),
              (QStringList{"ADMIN", "JSMITH", "MBROWN", "REPORTS"}));
    EXPECT_EQ(shownPane(), "frmUsers:QnTest2 - Users");

    // Cancel, or the window closed, reads and writes nothing and refreshes nothing.
    for (const char *button : {"cmdCancel", ""}) {
        answerMoveCopy(button);
        drag(users(kDs), ds(kDs2));
        EXPECT_TRUE(takeStatements().isEmpty()) << button;
        EXPECT_EQ(shownPane(), "frmUsers:QnTest - Users") << "the pane of the click that began the drag";
    }
}

// A file travels with its fields, every value of the file quoted, a Null
// number as NULL; a move deletes each field after its copy and the file last,
// never the blanket delete of its fields.
TEST_F(DragCopy, FilesWithTheirFields)
{
    exec("INSERT INTO QN_FILE (FILE_NAME) VALUES ('NULLS')");
    exec("INSERT INTO QN_FIELD (FILE_NAME, FIELD_NAME, REMARKS) VALUES ('NULLS', 'F', 'It''s empty')");
    reveal(files(kDs2) + "fi=COLUMN:");
    answerMoveCopy("cmdCopy");
    drag(files(kDs) + "fi=NULLS:", files(kDs2));
    EXPECT_EQ(takePrompts(), QStringList{"Do you want to Move or Copy the File 'NULLS' from Datasource 'QnTest' to "
                                         "Datasource 'QnTest2'?"});
    EXPECT_EQ(takeStatements(),
              (QStringList{"SELECT * FROM QN_FILE WHERE FILE_NAME = 'NULLS'",
                           "SELECT * FROM QN_FILE WHERE FILE_NAME = 'NULLS'",
                           "SELECT * FROM QN_FIELD WHERE FILE_NAME = 'NULLS'",
                           "SELECT FIELD_NAME FROM QN_FIELD WHERE FILE_NAME = 'NULLS'",
                           "INSERT INTO QN_FILE (FILE_NAME, OPEN_STRING, RECORD_SIZE, FILE_ORGANISATION, RECORD_TYPE, "
                           "REMARKS) VALUES ('NULLS', NULL, NULL, NULL, NULL, NULL)",
                           kFieldColumns +
                               "'NULLS', NULL, 'F', NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, 'It''s empty')"}));
    EXPECT_EQ(rows("SELECT COUNT(*) FROM QN_FILE WHERE FILE_NAME = 'NULLS' AND RECORD_SIZE IS NULL AND OPEN_STRING "
                   "IS NULL AND REMARKS IS NULL",
                   kDs2),
              QStringList{"1"});
    EXPECT_EQ(rows("SELECT COUNT(*) FROM QN_FIELD WHERE FILE_NAME = 'NULLS' AND OFFSET IS NULL AND LENGTH IS NULL", kDs2),
              QStringList{"1"});
    EXPECT_TRUE(node(files(kDs2) + "fi=NULLS:"));
    EXPECT_EQ(shownPane(), "frmFiles:QnTest2 - Files");

    // Numbers quoted in the file, bare in its fields.
    answerMoveCopy("cmdMove");
    drag(files(kDs) + "fi=PRODUCT:", ds(kDs2));
    const QStringList writes = takeWrites();
    ASSERT_EQ(writes.size(), 1 + 7 + 7 + 1);
    EXPECT_EQ(writes[0], "INSERT INTO QN_FILE (FILE_NAME, OPEN_STRING, RECORD_SIZE, FILE_ORGANISATION, RECORD_TYPE, "
                         "REMARKS) VALUES ('PRODUCT', NULL, '88', 'INDEXED', 'FIXED', 'Product catalogue')");
    EXPECT_TRUE(writes.contains(kFieldColumns + "'PRODUCT', 4, 'BARCODE', 'ZONED-NUM', 55, 13, 13, 0, 0, NULL, NULL, "
                                                "'EAN-13')"));
    EXPECT_EQ(starting(writes.mid(1, 7), "INSERT INTO QN_FIELD").size(), 7) << "the inserts, then the deletes";
    EXPECT_TRUE(writes.contains("DELETE FROM QN_FIELD WHERE FILE_NAME = 'PRODUCT' AND FIELD_NAME = 'BARCODE'"));
    EXPECT_EQ(writes.last(), "DELETE FROM QN_FILE WHERE FILE_NAME = 'PRODUCT'");
    EXPECT_EQ(rows("SELECT COUNT(*) FROM QN_FIELD WHERE FILE_NAME = 'PRODUCT'", kDs2), QStringList{"7"});
    EXPECT_EQ(rows("SELECT COUNT(*) FROM QN_FIELD WHERE FILE_NAME = 'PRODUCT'"), QStringList{"0"});
    EXPECT_TRUE(rows("SELECT * FROM QN_FILE WHERE FILE_NAME = 'PRODUCT'").isEmpty());
    EXPECT_FALSE(node(files(kDs) + "fi=PRODUCT:"));
    takePrompts();

    // A file the target holds is refused, on a move too.
    answerMoveCopy("cmdMove");
    ui().answerMsgBox(ui::vbOK);
    drag(files(kDs2) + "fi=NULLS:", files(kDs));
    EXPECT_EQ(takeMessages(), QStringList{"Datasource 'QnTest' already contains a File called 'NULLS'!"});
    EXPECT_TRUE(takeWrites().isEmpty());
    EXPECT_EQ(rows("SELECT COUNT(*) FROM QN_FIELD WHERE FILE_NAME = 'NULLS'", kDs2), QStringList{"1"});
}

// A move keeps a file whose fields did not all move, says so, and deletes
// only the fields it copied; the field the target held stays in the source.
TEST_F(DragCopy, AnIncompleteFileMoveKeepsWhatWasNotMoved)
{
    exec("INSERT INTO QN_FIELD (FILE_NAME, FIELD_NUMBER, FIELD_NAME) VALUES ('ORDERS', 99, 'STATUS')", kDs2);
    reveal(files(kDs2) + "fi=COLUMN:");
    answerMoveCopy("cmdMove");
    ui().answerMsgBox(ui::vbOK);
    answerContinue("cmdYes");
    ui().answerMsgBox(ui::vbOK);
    drag(files(kDs) + "fi=ORDERS:", ds(kDs2));
    EXPECT_EQ(takeMessages(),
              (QStringList{"Datasource 'QnTest2', File 'ORDERS' already contains a field called  'STATUS'!",
                           "The move of File 'ORDERS' was incomplete: what could not be moved is still in 'QnTest'."}));
    EXPECT_EQ(takePrompts().value(1), "Do you want to continue with the remainder of the Fields in this collection?");
    const QStringList writes = takeWrites();
    EXPECT_EQ(starting(writes, "INSERT INTO QN_FIELD").size(), 6);
    EXPECT_EQ(starting(writes, "DELETE FROM QN_FIELD").size(), 6);
    EXPECT_FALSE(writes.contains("DELETE FROM QN_FILE WHERE FILE_NAME = 'ORDERS'"));
    EXPECT_EQ(rows("SELECT FIELD_NAME FROM QN_FIELD WHERE FILE_NAME = 'ORDERS'"), QStringList{"STATUS"});
    EXPECT_EQ(rows("SELECT FILE_NAME FROM QN_FILE WHERE FILE_NAME = 'ORDERS'"), QStringList{"ORDERS"});
    EXPECT_EQ(rows("SELECT COUNT(*) FROM QN_FIELD WHERE FILE_NAME = 'ORDERS'", kDs2), QStringList{"7"});
    EXPECT_EQ(rows("SELECT FIELD_NUMBER FROM QN_FIELD WHERE FILE_NAME = 'ORDERS' AND FIELD_NAME = 'STATUS'", kDs2),
              QStringList{"99"});
}

// The Files folder leaves the catalog's own twelve files out (KEY is not one
// of them) unless they are shown; Yes asks again at the next refusal.
TEST_F(DragCopy, TheFilesFolder)
{
    exec("INSERT INTO QN_FILE (FILE_NAME, RECORD_SIZE) VALUES ('KEY', 8)");
    exec("INSERT INTO QN_FILE (FILE_NAME, RECORD_SIZE) VALUES ('CUSTOMER', 1)", kDs2);
    exec("INSERT INTO QN_FILE (FILE_NAME, RECORD_SIZE) VALUES ('PRODUCT', 1)", kDs2);
    reveal(files(kDs2) + "fi=CUSTOMER:");
    answerMoveCopy("cmdCopy");
    for (int refused = 0; refused < 2; ++refused) {
        ui().answerMsgBox(ui::vbOK);
        answerContinue("cmdYes");
    }
    drag(files(kDs), files(kDs2) + "fi=CUSTOMER:");
    const QStringList statements = takeStatements();
    EXPECT_EQ(statements.value(0), "SELECT * FROM QN_FILE WHERE FILE_NAME NOT IN('CNTRL', 'COLUMN', 'DB', 'DBPRV', "
                                   "'DRIVER', 'FIELD', 'FILE', 'LOCDT', 'SQLDT', 'TABLE', 'TBLPRV', 'USER')");
    EXPECT_EQ(takeMessages(), (QStringList{"Datasource 'QnTest2' already contains a File called 'CUSTOMER'!",
                                           "Datasource 'QnTest2' already contains a File called 'PRODUCT'!"}));
    EXPECT_EQ(takePrompts(),
              (QStringList{"Do you want to Move or Copy the Files collection in Datasource 'QnTest' to Datasource "
                           "'QnTest2'?",
                           "Do you want to continue with the remainder of the Files in this collection?",
                           "Do you want to continue with the remainder of the Files in this collection?"}));
    EXPECT_EQ(rows("SELECT FILE_NAME FROM QN_FILE WHERE FILE_NAME IN ('KEY', 'ORDERS', 'ORDLINE', 'MOVEMENT', "
                   "'STOCKBIN') ORDER BY FILE_NAME",
                   kDs2),
              (QStringList{"KEY", "MOVEMENT", "ORDERS", "ORDLINE", "STOCKBIN"}));
    EXPECT_EQ(rows("SELECT COUNT(*) FROM QN_FILE", kDs2), QStringList{"18"}) << "11 own files, 2 held, 5 copied";
    EXPECT_EQ(starting(statements, "INSERT INTO QN_FIELD").size(), 7 + 6 + 6 + 6) << "ORDERS, ORDLINE, STOCKBIN, MOVEMENT";

    // With the own files shown the whole collection goes.
    options::Save(options::kSysTables, 1);
    answerMoveCopy("cmdCancel");
    drag(files(kDs2), ds(kDs));
    EXPECT_TRUE(takeStatements().isEmpty());
    answerMoveCopy("cmdCopy");
    answerContinue("cmdYesAll");
    for (int held = 0; held < 18; ++held)
        ui().answerMsgBox(ui::vbOK);
    drag(files(kDs2), ds(kDs));
    EXPECT_EQ(takeStatements().value(0), "SELECT * FROM QN_FILE ");
    EXPECT_EQ(takeMessages().size(), 18) << "every file is there already";
}

// Fields between two files of one data source: one item's exact statements;
// a collection's continue question: Yes asks again, Yes to All no more, No
// stops with the rest untouched.
TEST_F(DragCopy, FieldsWithinOneDataSource)
{
    reveal(fields(kDs, "CUSTOMER") + "fd=CITY:");
    reveal(fields(kDs, "MOVEMENT") + "fd=QTY:");
    answerMoveCopy("cmdMove");
    drag(fields(kDs, "CUSTOMER") + "fd=CITY:", fields(kDs, "MOVEMENT") + "fd=QTY:");
    EXPECT_EQ(takePrompts(), QStringList{"Do you want to Move or Copy the Field 'CITY' in Datasource 'QnTest', File "
                                         "'CUSTOMER' to Datasource 'QnTest', File 'MOVEMENT'"});
    EXPECT_EQ(takeStatements(),
              (QStringList{"SELECT * FROM QN_FIELD WHERE FILE_NAME = 'MOVEMENT' AND FIELD_NAME = 'CITY'",
                           "SELECT * FROM QN_FIELD WHERE FILE_NAME = 'CUSTOMER' AND FIELD_NAME = 'CITY'",
                           // In the unit: the target file, then the source row as it was read.
                           "SELECT FILE_NAME FROM QN_FILE WHERE FILE_NAME = 'MOVEMENT'",
                           "SELECT FIELD_NAME, FIELD_NUMBER, LOCAL_TYPE_NAME, OFFSET, LENGTH, PRECISION, SCALE, "
                           "ENCRYPTED, FORMAT, DEFAULT_VALUE, REMARKS FROM QN_FIELD WHERE FILE_NAME = 'CUSTOMER' AND "
                           "FIELD_NAME = 'CITY'",
                           kFieldColumns + "'MOVEMENT', 4, 'CITY', 'STRING', 74, 20, 20, 0, 0, NULL, NULL, NULL)",
                           "DELETE FROM QN_FIELD WHERE FILE_NAME = 'CUSTOMER' AND FIELD_NAME = 'CITY'"}));
    EXPECT_EQ(shownPane(), "frmFields:MOVEMENT - Fields");
    EXPECT_FALSE(node(fields(kDs, "CUSTOMER") + "fd=CITY:"));
    EXPECT_TRUE(node(fields(kDs, "MOVEMENT") + "fd=CITY:"));

    // STOCKBIN's BIN-NO and PRODUCT-CODE are in MOVEMENT already.
    answerMoveCopy("cmdCopy");
    ui().answerMsgBox(ui::vbOK);
    answerContinue("cmdYes");
    ui().answerMsgBox(ui::vbOK);
    answerContinue("cmdYesAll");
    drag(fields(kDs, "STOCKBIN"), file(kDs, "MOVEMENT"));
    EXPECT_EQ(takeMessages(),
              (QStringList{"Datasource 'QnTest', File 'MOVEMENT' already contains a field called  'BIN-NO'!",
                           "Datasource 'QnTest', File 'MOVEMENT' already contains a field called  'PRODUCT-CODE'!"}));
    EXPECT_EQ(takePrompts().value(0), "Do you want to Move or Copy the Fields collection in Datasource 'QnTest', File "
                                      "'STOCKBIN' to the Datasource 'QnTest', File 'MOVEMENT'?");
    EXPECT_EQ(rows("SELECT COUNT(*) FROM QN_FIELD WHERE FILE_NAME = 'MOVEMENT'"), QStringList{"11"});

    // ORDLINE's fields in name order: DISCOUNT, LINE-NO, ORDER-NO, PRODUCT-CODE (held), QTY (held), UNIT-PRICE.
    answerMoveCopy("cmdMove");
    ui().answerMsgBox(ui::vbOK);
    answerContinue("cmdNo");
    drag(fields(kDs, "ORDLINE"), fields(kDs, "MOVEMENT"));
    EXPECT_EQ(takeMessages().size(), 1);
    EXPECT_EQ(rows("SELECT FIELD_NAME FROM QN_FIELD WHERE FILE_NAME = 'ORDLINE' ORDER BY FIELD_NAME"),
              (QStringList{"PRODUCT-CODE", "QTY", "UNIT-PRICE"}));
    EXPECT_EQ(rows("SELECT COUNT(*) FROM QN_FIELD WHERE FILE_NAME = 'MOVEMENT'"), QStringList{"14"});
}

// A database travels with its tables, their columns and table privileges;
// its database privileges stay. A move keeps what could not go (a privilege
// of a user the target lacks) with the table and database above it, and says so.
TEST_F(DragCopy, ADatabaseWithItsTables)
{
    exec("INSERT INTO QN_DB (DATABASE_NAME, REMARKS) VALUES ('MINI', 'Small')");
    exec("INSERT INTO QN_TABLE (DATABASE_NAME, TABLE_NAME, FILE_NAME, NUMBER_COLUMNS) VALUES ('MINI', 'T1', "
         "'CUSTOMER', 2)");
    exec("INSERT INTO QN_TABLE (DATABASE_NAME, TABLE_NAME, FILE_NAME) VALUES ('MINI', 'T2', 'NOFILE')");
    exec("INSERT INTO QN_COLUMN (DATABASE_NAME, TABLE_NAME, COLUMN_NUMBER, COLUMN_NAME, FIELD_NAME, COLUMN_TYPE) "
         "VALUES ('MINI', 'T1', 1, 'CUST_NO', 'CUST-NO', 0), ('MINI', 'T1', 2, 'NAME', 'NAME', 0), "
         "('MINI', 'T2', 1, 'ID', 'ID', 0)");
    exec("INSERT INTO QN_TBLPRV (DATABASE_NAME, TABLE_NAME, USER_NAME, ALLOW_SELECT) VALUES ('MINI', 'T1', 'ADMIN', "
         "1), ('MINI', 'T1', 'JSMITH', 1)");
    exec("INSERT INTO QN_DBPRV (USER_NAME, DATABASE_NAME) VALUES ('JSMITH', 'MINI')");
    exec("INSERT INTO QN_FILE (FILE_NAME) VALUES ('CUSTOMER')", kDs2);
    exec("INSERT INTO QN_FIELD (FILE_NAME, FIELD_NAME) VALUES ('CUSTOMER', 'CUST-NO')", kDs2);
    reveal(databases(kDs) + "db=MINI:");
    reveal(users(kDs2));
    answerMoveCopy("cmdMove");
    ui().answerMsgBox(ui::vbOK); // NAME is no field of the target's CUSTOMER
    ui().answerMsgBox(ui::vbOK); // JSMITH is no user of the target
    answerContinue("cmdYes");
    ui().answerMsgBox(ui::vbOK); // T2's file
    ui().answerMsgBox(ui::vbOK); // ID is no field of the undefined NOFILE
    ui().answerMsgBox(ui::vbOK); // incomplete
    drag(databases(kDs) + "db=MINI:", ds(kDs2));
    EXPECT_EQ(takePrompts(),
              (QStringList{"Do you want to Move or Copy the Database 'MINI' from Datasource 'QnTest' to Datasource "
                           "'QnTest2'?",
                           "Do you want to continue with the remainder of the Table Privileges in this collection?"}));
    EXPECT_EQ(takeMessages(),
              (QStringList{"WARNING - The Column 'NAME' refers Field 'NAME' which does not exists in \r\nFile "
                           "'CUSTOMER' (refered to by Table 'T1')",
                           "Datasource 'QnTest2' does not contain the User 'JSMITH'",
                           "WARNING - Table 'T2 refrences File 'NOFILE'\r\nwhich has not been defined in Datasource "
                           "'QnTest2'",
                           "WARNING - The Column 'ID' refers Field 'ID' which does not exists in \r\nFile 'NOFILE' "
                           "(refered to by Table 'T2')",
                           "The move of Database 'MINI' was incomplete: what could not be moved is still in 'QnTest'."}));
    EXPECT_EQ(
        takeWrites(),
        (QStringList{
            "INSERT INTO QN_DB (DATABASE_NAME, DEFAULT_DIRECTORY, DRIVER_NAME, SETUP_PROCEDURE, CONNECT_STRING, "
            "REMARKS, DISPLAY_NAME) VALUES ('MINI', NULL, NULL, NULL, NULL, 'Small', NULL)",
            "INSERT INTO QN_TABLE (DATABASE_NAME, TABLE_NAME, TABLE_TYPE, FILE_NAME, FILE_SPECIFICATION, "
            "NUMBER_COLUMNS, CRITERIA, REMARKS, DISPLAY_NAME) VALUES ('MINI', 'T1', NULL, 'CUSTOMER', NULL, 2, NULL, NULL, NULL)",
            kColumnColumns + "'MINI', 'T1', 1, 'CUST_NO', 'CUST-NO', NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, "
                             "NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, 0, NULL)",
            kColumnColumns + "'MINI', 'T1', 2, 'NAME', 'NAME', NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, "
                             "NULL, NULL, NULL, NULL, NULL, NULL, NULL, 0, NULL)",
            "INSERT INTO QN_TBLPRV (DATABASE_NAME, TABLE_NAME, USER_NAME, ALLOW_SELECT, ALLOW_INSERT, ALLOW_UPDATE, "
            "ALLOW_DELETE, REMARKS) VALUES ('MINI', 'T1', 'ADMIN', '1', NULL, NULL, NULL, NULL)",
            "INSERT INTO QN_TABLE (DATABASE_NAME, TABLE_NAME, TABLE_TYPE, FILE_NAME, FILE_SPECIFICATION, "
            "NUMBER_COLUMNS, CRITERIA, REMARKS, DISPLAY_NAME) VALUES ('MINI', 'T2', NULL, 'NOFILE', NULL, NULL, NULL, NULL, "
            "NULL)",
            kColumnColumns + "'MINI', 'T2', 1, 'ID', 'ID', NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, "
                             "NULL, NULL, NULL, NULL, NULL, NULL, 0, NULL)",
            "DELETE FROM QN_COLUMN WHERE DATABASE_NAME = 'MINI' AND TABLE_NAME = 'T1' AND COLUMN_NAME = 'CUST_NO'",
            "DELETE FROM QN_COLUMN WHERE DATABASE_NAME = 'MINI' AND TABLE_NAME = 'T1' AND COLUMN_NAME = 'NAME'",
            "DELETE FROM QN_TBLPRV WHERE USER_NAME = 'ADMIN' AND DATABASE_NAME = 'MINI' AND TABLE_NAME = 'T1'",
            "DELETE FROM QN_COLUMN WHERE DATABASE_NAME = 'MINI' AND TABLE_NAME = 'T2' AND COLUMN_NAME = 'ID'",
            "DELETE FROM QN_TABLE WHERE DATABASE_NAME = 'MINI' AND TABLE_NAME = 'T2'"}));
    // The source keeps the database, the table and the privilege that stayed, and the database privileges.
    EXPECT_EQ(rows("SELECT DATABASE_NAME FROM QN_DB WHERE DATABASE_NAME = 'MINI'"), QStringList{"MINI"});
    EXPECT_EQ(rows("SELECT TABLE_NAME FROM QN_TABLE WHERE DATABASE_NAME = 'MINI'"), QStringList{"T1"});
    EXPECT_EQ(rows("SELECT USER_NAME FROM QN_TBLPRV WHERE DATABASE_NAME = 'MINI'"), QStringList{"JSMITH"});
    EXPECT_EQ(rows("SELECT COUNT(*) FROM QN_COLUMN WHERE DATABASE_NAME = 'MINI'"), QStringList{"0"});
    EXPECT_EQ(rows("SELECT COUNT(*) FROM QN_DBPRV WHERE DATABASE_NAME = 'MINI'"), QStringList{"1"});
    EXPECT_EQ(rows("SELECT COUNT(*) FROM QN_DBPRV WHERE DATABASE_NAME = 'MINI'", kDs2), QStringList{"0"});
    EXPECT_EQ(rows("SELECT COUNT(*) FROM QN_COLUMN WHERE DATABASE_NAME = 'MINI'", kDs2), QStringList{"3"});
    EXPECT_TRUE(node(databases(kDs2) + "db=MINI:"));
    EXPECT_EQ(shownPane(), "frmDatabases:QnTest2 - Databases");

    // Moved again, what stayed goes where it can: the target holds T1 now.
    exec("DELETE FROM QN_TBLPRV WHERE USER_NAME = 'JSMITH'");
    answerMoveCopy("cmdMove");
    ui().answerMsgBox(ui::vbOK);
    drag(databases(kDs) + "db=MINI:", databases(kDs2));
    EXPECT_EQ(takeMessages(), QStringList{"Datasource 'QnTest2' already contains a Database called 'MINI'!"});
    EXPECT_TRUE(takeWrites().isEmpty());
}

// The Databases and Tables folders between data sources: one question, a
// member the target holds refused with the continue question after it, the
// others each with their tables and columns; a move deletes the source's rows
// once their copy is committed.
TEST_F(DragCopy, TheDatabasesAndTablesFolders)
{
    exec("INSERT INTO QN_DB (DATABASE_NAME, REMARKS) VALUES ('NEWDB', 'New')", kDs2);
    exec("INSERT INTO QN_TABLE (DATABASE_NAME, TABLE_NAME, FILE_NAME, NUMBER_COLUMNS) VALUES ('NEWDB', 'T', "
         "'CUSTOMER', 1), ('NEWDB', 'U', 'CUSTOMER', 0)",
         kDs2);
    exec("INSERT INTO QN_COLUMN (DATABASE_NAME, TABLE_NAME, COLUMN_NUMBER, COLUMN_NAME, FIELD_NAME, COLUMN_TYPE) "
         "VALUES ('NEWDB', 'T', 1, 'CUST_NO', 'CUST-NO', 0)",
         kDs2);
    exec("INSERT INTO QN_TABLE (DATABASE_NAME, TABLE_NAME, FILE_NAME) VALUES ('STOCK', 'U', 'CUSTOMER')");
    reveal(tables(kDs2, "NEWDB"));
    reveal(tables(kDs, "STOCK"));

    // NEWDB's tables copied into STOCK, which holds a U of its own.
    answerMoveCopy("cmdCopy");
    ui().answerMsgBox(ui::vbOK);
    answerContinue("cmdYes");
    drag(tables(kDs2, "NEWDB"), database(kDs, "STOCK"));
    EXPECT_EQ(takePrompts(),
              (QStringList{"Do you want to Move or Copy the Table collection in Datasource 'QnTest2', Database 'NEWDB' "
                           "to Datasource 'QnTest', Database 'STOCK'?",
                           "Do you want to continue with the remainder of the Tables in this collection?"}));
    EXPECT_EQ(takeMessages(), QStringList{"Database 'STOCK' in Datasource 'QnTest' already contains a Table called 'U'!"});
    EXPECT_EQ(takeWrites(),
              (QStringList{"INSERT INTO QN_TABLE (DATABASE_NAME, TABLE_NAME, TABLE_TYPE, FILE_NAME, FILE_SPECIFICATION, "
                           "NUMBER_COLUMNS, CRITERIA, REMARKS, DISPLAY_NAME) VALUES ('STOCK', 'T', NULL, 'CUSTOMER', NULL, "
                           "1, NULL, NULL, NULL)",
                           kColumnColumns + "'STOCK', 'T', 1, 'CUST_NO', 'CUST-NO', NULL, NULL, NULL, NULL, NULL, NULL, "
                                            "NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, 0, NULL)"}));
    EXPECT_TRUE(node(tables(kDs, "STOCK") + "ta=T:"));
    EXPECT_EQ(shownPane(), "frmTables:STOCK - Tables");

    // The Databases folder moved: QN is there already; NEWDB goes with its tables.
    answerMoveCopy("cmdMove");
    ui().answerMsgBox(ui::vbOK);
    answerContinue("cmdYes");
    drag(databases(kDs2), ds(kDs));
    EXPECT_EQ(takePrompts(),
              (QStringList{"Do you want to Move or Copy the Database collection in Datasource 'QnTest2' to Datasource "
                           "'QnTest'?",
                           "Do you want to continue with the remainder of the Databases in this collection?"}));
    EXPECT_EQ(takeMessages(), QStringList{"Datasource 'QnTest' already contains a Database called 'QN'!"});
    EXPECT_EQ(takeWrites(),
              (QStringList{"INSERT INTO QN_DB (DATABASE_NAME, DEFAULT_DIRECTORY, DRIVER_NAME, SETUP_PROCEDURE, "
                           "CONNECT_STRING, REMARKS, DISPLAY_NAME) VALUES ('NEWDB', NULL, NULL, NULL, NULL, 'New', NULL)",
                           "INSERT INTO QN_TABLE (DATABASE_NAME, TABLE_NAME, TABLE_TYPE, FILE_NAME, FILE_SPECIFICATION, "
                           "NUMBER_COLUMNS, CRITERIA, REMARKS, DISPLAY_NAME) VALUES ('NEWDB', 'T', NULL, 'CUSTOMER', NULL, "
                           "1, NULL, NULL, NULL)",
                           kColumnColumns + "'NEWDB', 'T', 1, 'CUST_NO', 'CUST-NO', NULL, NULL, NULL, NULL, NULL, NULL, "
                                            "NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, 0, NULL)",
                           "INSERT INTO QN_TABLE (DATABASE_NAME, TABLE_NAME, TABLE_TYPE, FILE_NAME, FILE_SPECIFICATION, "
                           "NUMBER_COLUMNS, CRITERIA, REMARKS, DISPLAY_NAME) VALUES ('NEWDB', 'U', NULL, 'CUSTOMER', NULL, "
                           "0, NULL, NULL, NULL)",
                           "DELETE FROM QN_COLUMN WHERE DATABASE_NAME = 'NEWDB' AND TABLE_NAME = 'T' AND COLUMN_NAME = "
                           "'CUST_NO'",
                           "DELETE FROM QN_TABLE WHERE DATABASE_NAME = 'NEWDB' AND TABLE_NAME = 'T'",
                           "DELETE FROM QN_TABLE WHERE DATABASE_NAME = 'NEWDB' AND TABLE_NAME = 'U'",
                           "DELETE FROM QN_DB WHERE DATABASE_NAME = 'NEWDB'"}));
    EXPECT_TRUE(rows("SELECT * FROM QN_TABLE WHERE DATABASE_NAME = 'NEWDB'", kDs2).isEmpty());
    EXPECT_EQ(rows("SELECT TABLE_NAME FROM QN_TABLE WHERE DATABASE_NAME = 'NEWDB' ORDER BY TABLE_NAME"),
              (QStringList{"T", "U"}));
    EXPECT_TRUE(node(databases(kDs) + "db=NEWDB:"));
    EXPECT_FALSE(node(databases(kDs2) + "db=NEWDB:"));
    EXPECT_EQ(shownPane(), "frmDatabases:QnTest - Databases");
}

// A table moved to another database of its own data source: one unit, each
// column and privilege inserted then deleted in turn, the table deleted last.
TEST_F(DragCopy, ATableWithinOneDataSource)
{
    reveal(tables(kDs, "SALES") + "ta=ORDERS:");
    reveal(tables(kDs, "STOCK") + "ta=BIN:");
    answerMoveCopy("cmdMove");
    ui().answerMsgBox(ui::vbOK); // INDEX_NUMBER is no field of ORDERS
    ui().answerMsgBox(ui::vbOK); // ROWID neither
    drag(tables(kDs, "SALES") + "ta=ORDERS:", database(kDs, "STOCK"));
    EXPECT_EQ(takePrompts(), QStringList{"Do you want to Move or Copy the Table 'ORDERS' in Datasource 'QnTest', "
                                         "Database 'SALES' to the Database 'STOCK' in  the Datasource 'QnTest'?"});
    EXPECT_EQ(takeMessages().size(), 2);
    const QStringList writes = takeWrites();
    ASSERT_EQ(writes.size(), 1 + 2 * 9 + 2 * 2 + 1);
    EXPECT_EQ(writes[0], "INSERT INTO QN_TABLE (DATABASE_NAME, TABLE_NAME, TABLE_TYPE, FILE_NAME, FILE_SPECIFICATION, "
                         "NUMBER_COLUMNS, CRITERIA, REMARKS, DISPLAY_NAME) VALUES ('STOCK', 'ORDERS', 'TABLE', "
                         "'ORDERS', 'ORDERS.DAT', 9, NULL, 'Orders', 'Orders')");
    for (int i = 1; i < 1 + 2 * 11; i += 2) {
        EXPECT_TRUE(writes[i].startsWith("INSERT")) << writes[i].toStdString();
        EXPECT_TRUE(writes[i + 1].startsWith("DELETE")) << writes[i + 1].toStdString();
    }
    EXPECT_TRUE(writes.contains(kColumnColumns + "'STOCK', 'ORDERS', 1, 'ROWID', 'ROWID', 'INTEGER', 4, 10, 0, 1, 0, "
                                                 "0, 1, 0, 0, 0, 2, 1, '', '', 0, 6, 'ROWID')"));
    EXPECT_TRUE(writes.contains("INSERT INTO QN_TBLPRV (DATABASE_NAME, TABLE_NAME, USER_NAME, ALLOW_SELECT, "
                                "ALLOW_INSERT, ALLOW_UPDATE, ALLOW_DELETE, REMARKS) VALUES ('STOCK', 'ORDERS', "
                                "'MBROWN', '1', '0', '0', '0', NULL)"));
    EXPECT_EQ(writes.last(), "DELETE FROM QN_TABLE WHERE DATABASE_NAME = 'SALES' AND TABLE_NAME = 'ORDERS'");
    EXPECT_EQ(rows("SELECT COUNT(*) FROM QN_COLUMN WHERE DATABASE_NAME = 'STOCK' AND TABLE_NAME = 'ORDERS'"),
              QStringList{"9"});
    EXPECT_EQ(rows("SELECT COUNT(*) FROM QN_COLUMN WHERE DATABASE_NAME = 'SALES' AND TABLE_NAME = 'ORDERS'"),
              QStringList{"0"});
    EXPECT_FALSE(node(tables(kDs, "SALES") + "ta=ORDERS:"));
    EXPECT_TRUE(node(tables(kDs, "STOCK") + "ta=ORDERS:"));
    EXPECT_EQ(shownPane(), "frmTables:STOCK - Tables");
}

// A column: the overwrite question for a target column in its place (No
// writes nothing; Yes replaces it in one unit); a name the target holds
// elsewhere refuses the drop before anything is deleted; a special column
// meets only its own kind; a field the target's file lacks is warned about.
TEST_F(DragCopy, ColumnsOntoAnotherTable)
{
    exec("INSERT INTO QN_TABLE (DATABASE_NAME, TABLE_NAME, FILE_NAME) VALUES ('SALES', 'EMPTY', 'ORDERS')");
    exec("INSERT INTO QN_COLUMN (DATABASE_NAME, TABLE_NAME, COLUMN_NUMBER, COLUMN_NAME, COLUMN_TYPE) VALUES "
         "('SALES', 'EMPTY', 1, 'A', 0)");
    const QString orders = columns(kDs, "SALES", "ORDERS");
    reveal(orders + "co=CARD_REF:");
    reveal(columns(kDs, "SALES", "OPEN_ORDERS") + "co=TOTAL:");
    reveal(columns(kDs, "SALES", "CUSTOMER") + "co=NAME:");

    // CARD_REF, number 7: nothing in its place or of its name in OPEN_ORDERS.
    answerMoveCopy("cmdCopy");
    drag(orders + "co=CARD_REF:", table(kDs, "SALES", "OPEN_ORDERS"));
    EXPECT_EQ(takePrompts(), QStringList{"Do you want to Move or Copy the Column 'CARD_REF' from Datasource 'QnTest', "
                                         "Database 'SALES', Table 'ORDERS' to Datasource 'QnTest', Database & "
                                         "'SALES', Table 'OPEN_ORDERS'?"});
    EXPECT_EQ(takeStatements(),
              (QStringList{"SELECT * FROM QN_COLUMN WHERE DATABASE_NAME = 'SALES' AND TABLE_NAME = 'ORDERS' AND "
                           "COLUMN_NAME = 'CARD_REF'",
                           "SELECT * FROM QN_COLUMN WHERE DATABASE_NAME ='SALES' AND TABLE_NAME = 'OPEN_ORDERS' AND "
                           "COLUMN_TYPE = 0 AND COLUMN_NUMBER = 7 ",
                           "SELECT * FROM QN_COLUMN WHERE DATABASE_NAME = 'SALES' AND TABLE_NAME = 'OPEN_ORDERS' AND "
                           "COLUMN_NAME = 'CARD_REF'",
                           "SELECT FILE_NAME FROM QN_TABLE WHERE DATABASE_NAME = 'SALES' AND TABLE_NAME = "
                           "'OPEN_ORDERS' ",
                           "SELECT FIELD_NAME FROM QN_FIELD WHERE FILE_NAME = 'ORDERS' AND FIELD_NAME = 'CARD-REF' ",
                           "SELECT DATABASE_NAME, TABLE_NAME FROM QN_TABLE WHERE DATABASE_NAME = 'SALES' AND "
                           "TABLE_NAME = 'OPEN_ORDERS'",
                           kColumnColumns + "'SALES', 'OPEN_ORDERS', 7, 'CARD_REF', 'CARD-REF', 'VARCHAR', 16, 16, 0, "
                                            "1, 0, 1, 1, 0, 0, 1, 3, 0, NULL, 'Payment card reference', 0, 0, "
                                            "'CARD_REF')"}));
    EXPECT_EQ(shownPane(), "frmColumns:SALES.OPEN_ORDERS - Columns");

    // STATUS (number 5) where OPEN_ORDERS has TOTAL at 5 and a STATUS of its own at 4.
    answerMoveCopy("cmdMove");
    ui().answerMsgBox(ui::vbYes);
    ui().answerMsgBox(ui::vbOK);
    drag(orders + "co=STATUS:", columns(kDs, "SALES", "OPEN_ORDERS") + "co=TOTAL:");
    EXPECT_EQ(takeMessages(),
              (QStringList{"A column already exists is in Datasource 'QnTest', Database 'SALES', Table 'OPEN_ORDERS "
                           "with a Column Type of 0 and a column number of 5\r\nDo you want to overwrite it?",
                           "Datasource 'QnTest', Table 'OPEN_ORDERS', already contains a Column called 'STATUS'."}));
    EXPECT_TRUE(takeWrites().isEmpty());
    EXPECT_EQ(rows("SELECT COLUMN_NAME FROM QN_COLUMN WHERE DATABASE_NAME = 'SALES' AND TABLE_NAME = 'OPEN_ORDERS' "
                   "AND COLUMN_NUMBER = 5"),
              QStringList{"TOTAL"});
    takePrompts();

    // ORDER_DATE (number 3) onto CUSTOMER, whose ADDRESS is number 3: No, then Yes.
    answerMoveCopy("cmdMove");
    ui().answerMsgBox(ui::vbNo);
    drag(orders + "co=ORDER_DATE:", columns(kDs, "SALES", "CUSTOMER"));
    EXPECT_TRUE(takeWrites().isEmpty());
    answerMoveCopy("cmdMove");
    ui().answerMsgBox(ui::vbYes);
    ui().answerMsgBox(ui::vbOK); // ORDER-DATE is no field of CUSTOMER
    drag(orders + "co=ORDER_DATE:", columns(kDs, "SALES", "CUSTOMER") + "co=NAME:");
    EXPECT_EQ(takeMessages().last(), "WARNING - The Column 'ORDER_DATE' refers Field 'ORDER-DATE' which does not "
                                     "exists in \r\nFile 'CUSTOMER' (refered to by Table 'CUSTOMER')");
    EXPECT_EQ(takeWrites(),
              (QStringList{"DELETE FROM QN_COLUMN WHERE DATABASE_NAME = 'SALES'  AND TABLE_NAME = 'CUSTOMER'  AND "
                           "COLUMN_NUMBER = 3  AND COLUMN_TYPE = 0",
                           kColumnColumns + "'SALES', 'CUSTOMER', 3, 'ORDER_DATE', 'ORDER-DATE', 'DATE', 6, 10, 0, 1, "
                                            "0, 1, 1, 0, 0, 0, 2, 0, NULL, NULL, 0, 0, 'ORDER_DATE')",
                           "DELETE FROM QN_COLUMN WHERE DATABASE_NAME = 'SALES' AND TABLE_NAME = 'ORDERS' AND "
                           "COLUMN_NAME = 'ORDER_DATE'"}));
    EXPECT_EQ(rows("SELECT COLUMN_NAME FROM QN_COLUMN WHERE DATABASE_NAME = 'SALES' AND TABLE_NAME = 'CUSTOMER' AND "
                   "COLUMN_NUMBER = 3"),
              QStringList{"ORDER_DATE"});
    EXPECT_EQ(rows("SELECT NUMBER_COLUMNS FROM QN_TABLE WHERE TABLE_NAME IN ('ORDERS', 'CUSTOMER') ORDER BY "
                   "TABLE_NAME"),
              (QStringList{"9", "9"}))
        << "the column counts are the tables' own";

    // The whole collection, special columns too, onto a table with one column
    // A at number 1: ORDER_NO (number 1) asks to overwrite it; the special
    // columns (number 1 too) meet it nowhere.
    takePrompts();
    answerMoveCopy("cmdCopy");
    ui().answerMsgBox(ui::vbOK);  // INDEX_NUMBER is no field of ORDERS
    ui().answerMsgBox(ui::vbYes); // overwrite A
    ui().answerMsgBox(ui::vbOK);  // ROWID is no field of ORDERS
    drag(orders, table(kDs, "SALES", "EMPTY"));
    EXPECT_EQ(takePrompts(), QStringList{"Do you want to Move or Copy the Collumns collection in Datasource 'QnTest', "
                                         "Database 'SALES' Table 'ORDERS' to Datasource 'QnTest', Database 'SALES', "
                                         "Table 'EMPTY'?"});
    EXPECT_EQ(takeMessages().value(1), "A column already exists is in Datasource 'QnTest', Database 'SALES', Table "
                                       "'EMPTY with a Column Type of 0 and a column number of 1\r\nDo you want to "
                                       "overwrite it?");
    EXPECT_EQ(rows("SELECT COLUMN_TYPE, COLUMN_NAME FROM QN_COLUMN WHERE TABLE_NAME = 'EMPTY' AND COLUMN_NUMBER = 1 "
                   "ORDER BY COLUMN_TYPE"),
              (QStringList{"0|ORDER_NO", "2|INDEX_NUMBER", "6|ROWID"}));
    EXPECT_EQ(rows("SELECT COUNT(*) FROM QN_COLUMN WHERE TABLE_NAME = 'EMPTY'"), QStringList{"8"})
        << "the columns ORDERS has still (ORDER_DATE moved)";
}

// Privileges to another database or table: the target must hold the user,
// a privilege it has is refused, the password is blank and flags are quoted
// with a Null as NULL.
TEST_F(DragCopy, Privileges)
{
    exec("INSERT INTO QN_DB (DATABASE_NAME) VALUES ('EXTRA')");
    exec("UPDATE QN_DBPRV SET ALLOW_DELETE = NULL WHERE USER_NAME = 'REPORTS' AND DATABASE_NAME = 'SALES'");
    const QString sales = dbprvs(kDs, "SALES");
    reveal(sales + "dbprv=REPORTS:");
    reveal(databases(kDs) + "db=EXTRA:");
    answerMoveCopy("cmdCopy");
    drag(sales + "dbprv=REPORTS:", database(kDs, "EXTRA"));
    EXPECT_EQ(takePrompts(),
              QStringList{"Do you want to Move or Copy the Database User Privileges for User 'REPORTS' from "
                          "Datasource 'QnTest', Database 'SALES' to Datasource 'QnTest', Database 'EXTRA'?\r\n\r\n"
                          "NOTE: For security reasons, the password field will be set to blank in the new entry."});
    EXPECT_EQ(takeStatements(),
              (QStringList{"SELECT * FROM QN_DBPRV WHERE USER_NAME = 'REPORTS' AND DATABASE_NAME = 'EXTRA'",
                           "SELECT * FROM QN_USER WHERE USER_NAME = 'REPORTS'",
                           "SELECT * FROM QN_DBPRV WHERE USER_NAME = 'REPORTS' AND DATABASE_NAME = 'SALES'",
                           "SELECT DATABASE_NAME FROM QN_DB WHERE DATABASE_NAME = 'EXTRA'",
                           "SELECT USER_NAME FROM QN_USER WHERE USER_NAME IN ('REPORTS')",
                           "INSERT INTO QN_DBPRV (USER_NAME, DATABASE_NAME, DATABASE_USERNAME, DATABASE_PASSWORD, "
                           "ALLOW_SELECT, ALLOW_INSERT, ALLOW_UPDATE, ALLOW_DELETE, SECURITY_LEVEL, REMARKS) VALUES "
                           "('REPORTS', 'EXTRA', 'REPORTER', '', '1', '0', '0', NULL, 'TABLE', NULL)"}));
    EXPECT_EQ(shownPane(), "frmDBPRVs:EXTRA - Database Privileges");

    // The folder: JSMITH's password is not copied either; REPORTS is there already.
    answerMoveCopy("cmdCopy");
    ui().answerMsgBox(ui::vbOK);
    answerContinue("cmdYes");
    drag(sales, dbprvs(kDs, "EXTRA"));
    EXPECT_EQ(takePrompts(),
              (QStringList{"Do you want to Move or Copy the Users Database Privileges collection in Datasource "
                           "'QnTest', Database 'SALES' to the Datasource 'QnTest'?\r\n\r\nNOTE: For security reasons, "
                           "the passwords field will be set blank in the new entries.",
                           "Do you want to continue with the remainder of the User Privileges in this collection?"}));
    EXPECT_EQ(takeMessages(), QStringList{"Datasource 'QnTest', Database 'EXTRA' already contains a User Database "
                                          "Privilege for User 'REPORTS'!"});
    EXPECT_EQ(rows("SELECT USER_NAME, DATABASE_PASSWORD FROM QN_DBPRV WHERE DATABASE_NAME = 'EXTRA' ORDER BY "
                   "USER_NAME"),
              (QStringList{"ADMIN|", "JSMITH|", "MBROWN|", "REPORTS|"}));

    // To another data source: the user must be there.
    reveal(users(kDs2));
    exec("INSERT INTO QN_DB (DATABASE_NAME) VALUES ('SALES')", kDs2);
    reveal(databases(kDs2) + "db=SALES:");
    answerMoveCopy("cmdMove");
    ui().answerMsgBox(ui::vbOK);
    drag(sales + "dbprv=JSMITH:", database(kDs2, "SALES"));
    EXPECT_EQ(takeMessages(), QStringList{"Datasource 'QnTest2' does not contain the User 'JSMITH'"});
    EXPECT_TRUE(takeWrites().isEmpty());
    takePrompts();

    // Table privileges: MBROWN moves from ORDERS to CUSTOMER, REPORTS is there already.
    const QString orders = tblprvs(kDs, "SALES", "ORDERS");
    reveal(orders + "tblprv=MBROWN:");
    reveal(table(kDs, "SALES", "CUSTOMER"));
    answerMoveCopy("cmdMove");
    ui().answerMsgBox(ui::vbOK);
    answerContinue("cmdYes");
    drag(orders, table(kDs, "SALES", "CUSTOMER"));
    EXPECT_EQ(takePrompts(),
              (QStringList{"Do you want to Move or Copy the Users Tables Privileges collection in Datasource 'QnTest', "
                           "Database 'SALES', Table 'ORDERS' to the Datasource 'QnTest', Database 'SALES', Table "
                           "'CUSTOMER'?",
                           "Do you want to continue with the remainder of the Table Privileges in this collection?"}));
    EXPECT_EQ(takeMessages(), QStringList{"Datasource 'QnTest', Database 'SALES', Table 'CUSTOMER' contains a User "
                                          "Table Privilege for User 'REPORTS'!"});
    EXPECT_EQ(takeWrites(),
              (QStringList{"INSERT INTO QN_TBLPRV (DATABASE_NAME, TABLE_NAME, USER_NAME, ALLOW_SELECT, ALLOW_INSERT, "
                           "ALLOW_UPDATE, ALLOW_DELETE, REMARKS) VALUES ('SALES', 'CUSTOMER', 'MBROWN', '1', '0', '0', "
                           "'0', NULL)",
                           "DELETE FROM QN_TBLPRV WHERE USER_NAME = 'MBROWN' AND DATABASE_NAME = 'SALES' AND "
                           "TABLE_NAME = 'ORDERS'"}));
    EXPECT_EQ(rows("SELECT USER_NAME FROM QN_TBLPRV WHERE TABLE_NAME = 'ORDERS'"), QStringList{"REPORTS"});
    EXPECT_TRUE(node(tblprvs(kDs, "SALES", "CUSTOMER"))) << "the target table is reloaded";
    EXPECT_EQ(shownPane(), "frmTBLPRVs:SALES.CUSTOMER - User Privileges");
}

// A failure inside a drop stays inside it: the error dialog shows once, for
// the operation; Ignore writes and refreshes nothing; Retry runs the item's
// unit again, and the user is copied once.
TEST_F(DragCopy, AFailureStaysInsideTheDrop)
{
    reveal(users(kDs2) + "us=ADMIN:");
    for (const int answer : {ui::vbIgnore, ui::vbRetry}) {
        answerMoveCopy("cmdCopy");
        dragOver(users(kDs) + "us=JSMITH:", ds(kDs2));
        // The existence test, the source row, then the insert fails.
        dao::Faults::Add(dao::Faults::Statement, 3, QStringLiteral("HY000"), QStringLiteral("injected"));
        ui().answerError(answer);
        release();
        ASSERT_EQ(ui().errors().size(), 1) << answer;
        EXPECT_EQ(ui().errors()[0].trappedIn, "modDragAndDrop.DragUserToDSN");
        EXPECT_EQ(ui().errors()[0].additionalInfo,
                  shownSQL("INSERT INTO QN_USER (USER_NAME, USER_PASSWORD, REMARKS) VALUES ('JSMITH', '****', "
                           "'Sales office')"))
            << "the statement that failed, its password masked";
        const bool copied = answer == ui::vbRetry;
        EXPECT_EQ(rows("SELECT COUNT(*) FROM QN_USER WHERE USER_NAME = 'JSMITH'", kDs2),
                  QStringList{copied ? "1" : "0"});
        EXPECT_EQ(node(users(kDs2) + "us=JSMITH:") != nullptr, copied);
        EXPECT_FALSE(gDragInProgress());
        ui().clear();
    }
}

// Data sources are the same when the registry says so, letter case aside:
// a user is not moved onto its own data source, and a table moved to another
// database of it is one unit there (each insert followed by its delete).
TEST_F(DragCopy, DataSourcesCompareAsTheRegistryNamesThem)
{
    reveal(users(kDs));
    const auto item = [](const char *type, const QStringList &keys) {
        DragItem i;
        i.NodeType = QLatin1String(type);
        i.Keys = keys;
        return i;
    };
    ui().answerMsgBox(ui::vbOK);
    EXPECT_FALSE(modDragAndDrop::DragUserToDSN(item("us", {kDs, "JSMITH"}), item("DSN", {"QNTEST"}), 1));
    EXPECT_EQ(takeMessages(), QStringList{"The source and the destination Datasources are the same"});

    ui().answerMsgBox(ui::vbOK);
    ui().answerMsgBox(ui::vbOK); // the special columns' fields
    m_statements.clear();
    EXPECT_TRUE(modDragAndDrop::DragTableToDB(item("ta", {kDs, "SALES", "ORDERS"}), item("db", {"qntest", "STOCK"}), 1));
    const QStringList writes = takeWrites();
    ASSERT_GE(writes.size(), 3);
    EXPECT_TRUE(writes[1].startsWith("INSERT INTO QN_COLUMN")) << writes[1].toStdString();
    EXPECT_TRUE(writes[2].startsWith("DELETE FROM QN_COLUMN")) << writes[2].toStdString();
    EXPECT_EQ(rows("SELECT DATABASE_NAME FROM QN_TABLE WHERE TABLE_NAME = 'ORDERS'"), QStringList{"STOCK"});
}

// While an object is written the status bar names it and the pointer is busy
// (a column dropped alone leaves the pointer as it is); "Ready" afterwards.
TEST_F(DragCopy, TheStatusAndPointerWhileItWorks)
{
    QStringList seen;
    dao::SetStatementObserver([&](const QString &sql) {
        if (sql.startsWith(QLatin1String("INSERT")))
            seen << main().StatusText() + (main().cursor().shape() == Qt::WaitCursor ? " (busy)" : "");
    });
    exec("INSERT INTO QN_DB (DATABASE_NAME) VALUES ('EXTRA')");
    reveal(users(kDs2));
    reveal(columns(kDs, "SALES", "ORDERS") + "co=CARD_REF:");
    reveal(dbprvs(kDs, "SALES") + "dbprv=REPORTS:");
    reveal(databases(kDs) + "db=EXTRA:");
    const struct
    {
        QString from, to, status;
    } cases[] = {
        {users(kDs) + "us=JSMITH:", ds(kDs2), "Processing User 'JSMITH' (busy)"},
        {dbprvs(kDs, "SALES") + "dbprv=REPORTS:", database(kDs, "EXTRA"), "Processing User 'REPORTS' (busy)"},
        {columns(kDs, "SALES", "ORDERS") + "co=CARD_REF:", table(kDs, "SALES", "OPEN_ORDERS"),
         "Processing Column 'CARD_REF'"},
        {files(kDs) + "fi=PRODUCT:", ds(kDs2), "Processing File 'PRODUCT' (busy)"},
    };
    for (const auto &c : cases) {
        seen.clear();
        answerMoveCopy("cmdCopy");
        drag(c.from, c.to);
        ASSERT_FALSE(seen.isEmpty()) << c.from.toStdString();
        EXPECT_EQ(seen.first(), c.status);
        EXPECT_EQ(main().StatusText(), "Ready");
        EXPECT_NE(main().cursor().shape(), Qt::WaitCursor);
    }
}

// Pictures for looking at them: QN_SCREENSHOT_DIR=<folder> test_copymove --gtest_filter=DragCopy.Screenshots
TEST_F(DragCopy, Screenshots)
{
    const QString folder = qEnvironmentVariable("QN_SCREENSHOT_DIR");
    if (folder.isEmpty())
        GTEST_SKIP() << "QN_SCREENSHOT_DIR not set";
    QDir().mkpath(folder);
    reveal(users(kDs2));
    dragOver(table(kDs, "SALES", "ORDERS"), database(kDs, "STOCK"));
    EXPECT_TRUE(main().grab().save(QDir(folder).filePath("drag-over.png")));
    answerMoveCopy("cmdCopy");
    ui().answerMsgBox(ui::vbOK);
    ui().answerMsgBox(ui::vbOK);
    release();
    EXPECT_TRUE(main().grab().save(QDir(folder).filePath("drag-dropped.png")));
}

} // namespace
