// Drags against a catalog that changes under them and rows that hold Nulls:
// another connection deletes the target's parent or changes a source row
// while a question is on screen or between the plan and the write; a stored
// Null travels as NULL; a read ignored anywhere in an item's plan fails the
// whole item; a column without a place meets no other.

#include "copymove/dragops.h"
#include "dragfixture.h"

namespace {

using DragChanges = DragTest;

// A stored Null is written as NULL into every kind of copy, text columns
// included; only the privilege's password is the blank the copy gives it.
TEST_F(DragChanges, ACopyKeepsEveryNull)
{
    exec("INSERT INTO QN_USER (USER_NAME) VALUES ('BOB')");
    exec("INSERT INTO QN_FILE (FILE_NAME) VALUES ('NULLF')");
    exec("INSERT INTO QN_DB (DATABASE_NAME) VALUES ('NULLDB')");
    exec("INSERT INTO QN_TABLE (DATABASE_NAME, TABLE_NAME, FILE_NAME) VALUES ('SALES', 'NULLT', 'CUSTOMER'), "
         "('SALES', 'EMPTY', 'CUSTOMER')");
    exec("INSERT INTO QN_DBPRV (USER_NAME, DATABASE_NAME, DATABASE_PASSWORD) VALUES ('BOB', 'SALES', 'secret')");
    const struct
    {
        QString from, to;
        const char *dsn;
        const char *kept; // counts the copy when its Nulls are Null
    } cases[] = {
        {users(kDs) + "us=BOB:", ds(kDs2), "QnTest2",
         "SELECT COUNT(*) FROM QN_USER WHERE USER_NAME = 'BOB' AND USER_PASSWORD IS NULL AND REMARKS IS NULL"},
        {files(kDs) + "fi=NULLF:", ds(kDs2), "QnTest2",
         "SELECT COUNT(*) FROM QN_FILE WHERE FILE_NAME = 'NULLF' AND OPEN_STRING IS NULL AND FILE_ORGANISATION IS "
         "NULL AND RECORD_TYPE IS NULL AND REMARKS IS NULL"},
        {fields(kDs, "CUSTOMER") + "fd=ADDRESS:", file(kDs, "MOVEMENT"), "QnTest",
         "SELECT COUNT(*) FROM QN_FIELD WHERE FILE_NAME = 'MOVEMENT' AND FIELD_NAME = 'ADDRESS' AND FORMAT IS NULL "
         "AND DEFAULT_VALUE IS NULL AND REMARKS IS NULL"},
        {databases(kDs) + "db=NULLDB:", ds(kDs2), "QnTest2",
         "SELECT COUNT(*) FROM QN_DB WHERE DATABASE_NAME = 'NULLDB' AND DEFAULT_DIRECTORY IS NULL AND DRIVER_NAME IS "
         "NULL AND SETUP_PROCEDURE IS NULL AND CONNECT_STRING IS NULL AND REMARKS IS NULL AND DISPLAY_NAME IS NULL"},
        {tables(kDs, "SALES") + "ta=NULLT:", database(kDs, "STOCK"), "QnTest",
         "SELECT COUNT(*) FROM QN_TABLE WHERE DATABASE_NAME = 'STOCK' AND TABLE_NAME = 'NULLT' AND TABLE_TYPE IS NULL "
         "AND FILE_SPECIFICATION IS NULL AND CRITERIA IS NULL AND REMARKS IS NULL AND DISPLAY_NAME IS NULL"},
        {columns(kDs, "SALES", "CUSTOMER") + "co=ADDRESS:", table(kDs, "SALES", "EMPTY"), "QnTest",
         "SELECT COUNT(*) FROM QN_COLUMN WHERE TABLE_NAME = 'EMPTY' AND COLUMN_NAME = 'ADDRESS' AND DEFAULT_VALUE IS "
         "NULL AND REMARKS IS NULL"},
        {dbprvs(kDs, "SALES") + "dbprv=BOB:", database(kDs, "STOCK"), "QnTest",
         "SELECT COUNT(*) FROM QN_DBPRV WHERE USER_NAME = 'BOB' AND DATABASE_NAME = 'STOCK' AND DATABASE_USERNAME IS "
         "NULL AND DATABASE_PASSWORD = '' AND SECURITY_LEVEL IS NULL AND REMARKS IS NULL"},
        {tblprvs(kDs, "SALES", "ORDERS") + "tblprv=MBROWN:", table(kDs, "SALES", "EMPTY"), "QnTest",
         "SELECT COUNT(*) FROM QN_TBLPRV WHERE TABLE_NAME = 'EMPTY' AND USER_NAME = 'MBROWN' AND REMARKS IS NULL"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.from.toStdString());
        answerMoveCopy("cmdCopy");
        drag(c.from, c.to);
        EXPECT_TRUE(ui().errors().isEmpty());
        EXPECT_EQ(rows(c.kept, QLatin1String(c.dsn)), QStringList{"1"});
        takeMessages();
        takePrompts();
    }
    // The user's exact statement.
    exec("DELETE FROM QN_USER WHERE USER_NAME = 'BOB'", kDs2);
    answerMoveCopy("cmdCopy");
    drag(users(kDs) + "us=BOB:", ds(kDs2));
    EXPECT_EQ(takeWrites(),
              QStringList{"INSERT INTO QN_USER (USER_NAME, USER_PASSWORD, REMARKS) VALUES ('BOB', NULL, NULL)"});
}


// ------------------------------------------------------------------ a parent deleted meanwhile

struct ParentCase
{
    const char *what;
    QString from, to;
    QString after;      // the plan's read the change follows; empty: while the question is on screen
    const char *change; // another connection's statement
    const char *dsn;    // ... on this data source
    QString query;      // the unit's read that finds the parent gone
    int warnings;       // the plan's messages before the write
};

void PrintTo(const std::tuple<ParentCase, bool> &c, std::ostream *os)
{
    *os << std::get<0>(c).what << (std::get<1>(c) ? "" : ", without transactions");
}

// A case, on a data source with transactions or without.
class ParentGone : public DragTest, public ::testing::WithParamInterface<std::tuple<ParentCase, bool>>
{
protected:
    void TearDown() override
    {
        dao::IgnoreTransactionSupport(false);
        DragTest::TearDown();
    }
};

// A move under a parent another connection deleted meanwhile fails in its
// unit with 3021, the error dialog naming the read: nothing is written under
// the missing parent and the source keeps everything.
TEST_P(ParentGone, FailsTheItemAndWritesNothing)
{
    const ParentCase &c = std::get<0>(GetParam());
    dao::IgnoreTransactionSupport(!std::get<1>(GetParam()));
    exec("INSERT INTO QN_DB (DATABASE_NAME) VALUES ('EXTRA')");
    exec("INSERT INTO QN_TABLE (DATABASE_NAME, TABLE_NAME, FILE_NAME) VALUES ('SALES', 'T', 'CUSTOMER')");
    exec("INSERT INTO QN_DB (DATABASE_NAME) VALUES ('EXTRA')", kDs2);
    exec("INSERT INTO QN_FILE (FILE_NAME) VALUES ('CUSTOMER')", kDs2);
    reveal(c.from);
    reveal(c.to);
    QStringList changed;
    const auto change = [&] {
        exec(QLatin1String(c.change), QLatin1String(c.dsn));
        changed = catalogRows(kDs) + catalogRows(kDs2);
    };
    if (c.after.isEmpty()) {
        answerMoveCopy("cmdMove", change);
    } else {
        answerMoveCopy("cmdMove");
        changeAfter(c.after, change);
    }
    for (int i = 0; i < c.warnings; ++i)
        ui().answerMsgBox(ui::vbOK);
    ui().answerError(ui::vbIgnore);
    drag(c.from, c.to);
    ASSERT_FALSE(changed.isEmpty()) << "the other connection's change";
    ASSERT_EQ(ui().errors().size(), 1);
    EXPECT_EQ(ui().errors()[0].number, "3021");
    EXPECT_EQ(ui().errors()[0].additionalInfo, c.query);
    EXPECT_EQ(catalogRows(kDs) + catalogRows(kDs2), changed) << "nothing written, nothing deleted";
}

const QString kOrders = QStringLiteral("DSN=QnTest:DB=QnTest:db=SALES:TA=SALES:ta=ORDERS:");

INSTANTIATE_TEST_SUITE_P(
    Drags, ParentGone,
    ::testing::Combine(::testing::Values(
        ParentCase{"a table onto a database deleted while the question is on screen", kOrders,
                   "DSN=QnTest:DB=QnTest:db=STOCK:", {}, "DELETE FROM QN_DB WHERE DATABASE_NAME = 'STOCK'", "QnTest",
                   "SELECT DATABASE_NAME FROM QN_DB WHERE DATABASE_NAME = 'STOCK'", 2},
        ParentCase{"a field into a file", "DSN=QnTest:FI=QnTest:fi=CUSTOMER:FD=CUSTOMER:fd=CITY:",
                   "DSN=QnTest:FI=QnTest:fi=MOVEMENT:", "SELECT * FROM QN_FIELD WHERE FILE_NAME = 'CUSTOMER'",
                   "DELETE FROM QN_FILE WHERE FILE_NAME = 'MOVEMENT'", "QnTest",
                   "SELECT FILE_NAME FROM QN_FILE WHERE FILE_NAME = 'MOVEMENT'", 0},
        ParentCase{"a column into a table", kOrders + "CO=ORDERS:co=CARD_REF:",
                   "DSN=QnTest:DB=QnTest:db=SALES:TA=SALES:ta=OPEN_ORDERS:", "SELECT FIELD_NAME FROM QN_FIELD",
                   "DELETE FROM QN_TABLE WHERE TABLE_NAME = 'OPEN_ORDERS'", "QnTest",
                   "SELECT DATABASE_NAME, TABLE_NAME FROM QN_TABLE WHERE DATABASE_NAME = 'SALES' AND TABLE_NAME = "
                   "'OPEN_ORDERS'",
                   0},
        ParentCase{"a database privilege into a database", "DSN=QnTest:DB=QnTest:db=SALES:DBPRV=SALES:dbprv=REPORTS:",
                   "DSN=QnTest:DB=QnTest:db=EXTRA:",
                   "SELECT * FROM QN_DBPRV WHERE USER_NAME = 'REPORTS' AND DATABASE_NAME = 'SALES'",
                   "DELETE FROM QN_DB WHERE DATABASE_NAME = 'EXTRA'", "QnTest",
                   "SELECT DATABASE_NAME FROM QN_DB WHERE DATABASE_NAME = 'EXTRA'", 0},
        ParentCase{"a database privilege of a user deleted", "DSN=QnTest:DB=QnTest:db=SALES:DBPRV=SALES:dbprv=REPORTS:",
                   "DSN=QnTest:DB=QnTest:db=EXTRA:",
                   "SELECT * FROM QN_DBPRV WHERE USER_NAME = 'REPORTS' AND DATABASE_NAME = 'SALES'",
                   "DELETE FROM QN_USER WHERE USER_NAME = 'REPORTS'", "QnTest",
                   "SELECT USER_NAME FROM QN_USER WHERE USER_NAME IN ('REPORTS')", 0},
        ParentCase{"a table privilege into a table", kOrders + "TBLPRV=ORDERS:tblprv=MBROWN:",
                   "DSN=QnTest:DB=QnTest:db=SALES:TA=SALES:ta=CUSTOMER:", "SELECT * FROM QN_TBLPRV WHERE USER_NAME",
                   "DELETE FROM QN_TABLE WHERE TABLE_NAME = 'CUSTOMER'", "QnTest",
                   "SELECT DATABASE_NAME, TABLE_NAME FROM QN_TABLE WHERE DATABASE_NAME = 'SALES' AND TABLE_NAME = "
                   "'CUSTOMER'",
                   0},
        ParentCase{"a table whose privilege's user is deleted", kOrders, "DSN=QnTest:DB=QnTest:db=STOCK:",
                   "SELECT USER_NAME FROM QN_USER", "DELETE FROM QN_USER WHERE USER_NAME = 'MBROWN'", "QnTest",
                   "SELECT USER_NAME FROM QN_USER WHERE USER_NAME IN ('MBROWN', 'REPORTS')", 2},
        ParentCase{"a table onto a database of another data source", "DSN=QnTest:DB=QnTest:db=SALES:TA=SALES:ta=T:",
                   "DSN=QnTest2:DB=QnTest2:db=EXTRA:", "SELECT * FROM QN_TBLPRV WHERE DATABASE_NAME",
                   "DELETE FROM QN_DB WHERE DATABASE_NAME = 'EXTRA'", "QnTest2",
                   "SELECT DATABASE_NAME FROM QN_DB WHERE DATABASE_NAME = 'EXTRA'", 0}),
                       ::testing::Bool()),
    [](const ::testing::TestParamInfo<std::tuple<ParentCase, bool>> &info) {
        return "Case" + std::to_string(info.index / 2) + (std::get<1>(info.param) ? "" : "WithoutTransactions");
    });

// ------------------------------------------------------------------ a source changed meanwhile

// Between two data sources the source's unit reads each row again before it
// deletes: a user whose password another connection reset, or that it
// deleted, while the continue question was on screen stays as the other
// connection left it; the copy stays and the move says it was incomplete.
TEST_F(DragChanges, AMoveBetweenDataSourcesDeletesOnlyWhatItCopied)
{
    reveal(users(kDs2) + "us=ADMIN:");
    answerMoveCopy("cmdMove");
    ui().answerMsgBox(ui::vbOK); // the target has ADMIN
    answerContinue("cmdYes", [this] {
        exec("UPDATE QN_USER SET USER_PASSWORD = 'RESET' WHERE USER_NAME = 'JSMITH'");
        exec("DELETE FROM QN_USER WHERE USER_NAME = 'MBROWN'");
    });
    for (int i = 0; i < 2; ++i) {
        ui().answerError(ui::vbIgnore);
        ui().answerMsgBox(ui::vbOK);
    }
    drag(users(kDs), ds(kDs2));
    ASSERT_EQ(ui().errors().size(), 2);
    for (const auto &error : ui().errors())
        EXPECT_EQ(error.number, "3021");
    EXPECT_EQ(ui().errors()[0].additionalInfo,
              "SELECT USER_NAME, USER_PASSWORD, REMARKS FROM QN_USER WHERE USER_NAME = 'JSMITH'");
    EXPECT_EQ(takeMessages(),
              (QStringList{"Datasource 'QnTest2' already contains a User called 'ADMIN'!",
                           "The move of User 'JSMITH' was incomplete: what could not be moved is still in 'QnTest'.",
                           "The move of User 'MBROWN' was incomplete: what could not be moved is still in 'QnTest'."}));
    EXPECT_EQ(rows("SELECT * FROM QN_USER ORDER BY USER_NAME"),
              (QStringList{"ADMIN||Catalog administrator", "JSMITH|RESET|Sales office"}));
    EXPECT_EQ(rows("SELECT USER_NAME FROM QN_USER ORDER BY USER_NAME", kDs2),
              (QStringList{"ADMIN", "JSMITH", "MBROWN", "REPORTS"}))
        << "the committed copies stay";
}

// Within one data source the move is one unit: a row of the item changed or
// deleted by another connection after the plan read it fails the unit before
// its first write, and the whole move rolls back.
TEST_F(DragChanges, AMoveWithinADataSourceRollsBackWhenASourceRowChanged)
{
    const char *const changes[] = {
        "UPDATE QN_TABLE SET REMARKS = NULL WHERE TABLE_NAME = 'ORDERS'",
        "UPDATE QN_COLUMN SET REMARKS = 'changed' WHERE TABLE_NAME = 'ORDERS' AND COLUMN_NAME = 'CARD_REF'",
        "UPDATE QN_COLUMN SET DEFAULT_VALUE = '' WHERE TABLE_NAME = 'ORDERS' AND COLUMN_NAME = 'CARD_REF'",
        "DELETE FROM QN_TBLPRV WHERE TABLE_NAME = 'ORDERS' AND USER_NAME = 'MBROWN'",
    };
    reveal(tables(kDs, "SALES") + "ta=ORDERS:");
    reveal(tables(kDs, "STOCK"));
    for (const char *change : changes) {
        SCOPED_TRACE(change);
        QStringList changed;
        answerMoveCopy("cmdMove");
        ui().answerMsgBox(ui::vbOK); // INDEX_NUMBER is no field of ORDERS
        ui().answerMsgBox(ui::vbOK); // ROWID neither
        ui().answerError(ui::vbIgnore);
        changeAfter(QStringLiteral("SELECT USER_NAME FROM QN_USER"), [&] {
            exec(QLatin1String(change));
            changed = catalogRows(kDs);
        });
        drag(tables(kDs, "SALES") + "ta=ORDERS:", database(kDs, "STOCK"));
        ASSERT_EQ(ui().errors().size(), 1);
        EXPECT_EQ(ui().errors()[0].number, "3021");
        EXPECT_EQ(catalogRows(kDs), changed);
        EXPECT_EQ(takeMessages().size(), 2) << "no incomplete move";
        takePrompts();
    }
}

// ------------------------------------------------------------------ ignored reads, Null places

// A read of an item's plan that fails and is ignored fails the whole item,
// however deep: a database whose second table's columns cannot be read is not
// copied at all. In a collection such an item is a failed member: the
// continue question follows and the others go.
TEST_F(DragChanges, AnIgnoredReadFailsTheWholeItem)
{
    exec("INSERT INTO QN_DB (DATABASE_NAME) VALUES ('MINI')");
    exec("INSERT INTO QN_TABLE (DATABASE_NAME, TABLE_NAME, FILE_NAME) VALUES ('MINI', 'T1', 'CUSTOMER'), "
         "('MINI', 'T2', 'CUSTOMER')");
    exec("INSERT INTO QN_COLUMN (DATABASE_NAME, TABLE_NAME, COLUMN_NUMBER, COLUMN_NAME, FIELD_NAME, COLUMN_TYPE) "
         "VALUES ('MINI', 'T1', 1, 'CUST_NO', 'CUST-NO', 0), ('MINI', 'T2', 1, 'CUST_NO', 'CUST-NO', 0)");
    exec("INSERT INTO QN_FILE (FILE_NAME) VALUES ('CUSTOMER')", kDs2);
    exec("INSERT INTO QN_FIELD (FILE_NAME, FIELD_NAME) VALUES ('CUSTOMER', 'CUST-NO')", kDs2);
    reveal(tables(kDs, "MINI"));
    reveal(databases(kDs2));
    const QString mini = QStringLiteral("SELECT DATABASE_NAME, TABLE_NAME FROM QN_TABLE WHERE DATABASE_NAME = 'MINI' "
                                        "UNION ALL SELECT DATABASE_NAME, COLUMN_NAME FROM QN_COLUMN WHERE "
                                        "DATABASE_NAME = 'MINI' UNION ALL SELECT DATABASE_NAME, DATABASE_NAME FROM "
                                        "QN_DB WHERE DATABASE_NAME = 'MINI'");

    answerMoveCopy("cmdCopy");
    ui().answerError(ui::vbIgnore);
    failAt(QStringLiteral("SELECT * FROM QN_COLUMN WHERE DATABASE_NAME = 'MINI' AND TABLE_NAME = 'T2'"));
    drag(database(kDs, "MINI"), ds(kDs2));
    ASSERT_EQ(ui().errors().size(), 1);
    EXPECT_EQ(ui().errors()[0].trappedIn, "modDragAndDrop.DragColumnsToTable");
    EXPECT_EQ(takePrompts().size(), 1) << "no continue question: the database failed whole";
    EXPECT_TRUE(takeWrites().isEmpty());
    EXPECT_TRUE(rows(mini, kDs2).isEmpty());
    EXPECT_FALSE(node(databases(kDs2) + "db=MINI:"));
    ui().clear();

    // The Tables folder: T1 fails, T2 goes.
    exec("INSERT INTO QN_DB (DATABASE_NAME) VALUES ('MINI')", kDs2);
    answerMoveCopy("cmdCopy");
    ui().answerError(ui::vbIgnore);
    answerContinue("cmdYes");
    failAt(QStringLiteral("SELECT * FROM QN_COLUMN WHERE DATABASE_NAME = 'MINI' AND TABLE_NAME = 'T1'"));
    drag(tables(kDs, "MINI"), ds(kDs2) + "DB=QnTest2:db=MINI:");
    EXPECT_EQ(ui().errors().size(), 1);
    EXPECT_EQ(takePrompts().value(1), "Do you want to continue with the remainder of the Tables in this collection?");
    EXPECT_EQ(rows(mini, kDs2), (QStringList{"MINI|T2", "MINI|CUST_NO", "MINI|MINI"}));
}

// A column whose COLUMN_TYPE or COLUMN_NUMBER is Null has no place: dropped
// alone or with its Columns folder it meets no column of the target, not
// even one whose place is Null too; nothing is asked and nothing deleted.
TEST_F(DragChanges, AColumnWithoutAPlaceMeetsNoOther)
{
    exec("INSERT INTO QN_TABLE (DATABASE_NAME, TABLE_NAME, FILE_NAME) VALUES ('SALES', 'P', 'CUSTOMER'), "
         "('SALES', 'Q1', 'CUSTOMER'), ('SALES', 'Q2', 'CUSTOMER')");
    exec("INSERT INTO QN_COLUMN (DATABASE_NAME, TABLE_NAME, COLUMN_NUMBER, COLUMN_NAME, FIELD_NAME, COLUMN_TYPE) "
         "VALUES ('SALES', 'P', 5, 'A', 'NAME', NULL), ('SALES', 'P', NULL, 'B', 'CITY', 0), "
         "('SALES', 'Q1', 5, 'X', 'NAME', NULL), ('SALES', 'Q1', NULL, 'Y', 'CITY', 0), "
         "('SALES', 'Q2', 5, 'X', 'NAME', NULL), ('SALES', 'Q2', NULL, 'Y', 'CITY', 0)");
    reveal(columns(kDs, "SALES", "P") + "co=B:");
    reveal(tables(kDs, "SALES") + "ta=Q2:");
    const auto columnsOf = [this](const char *table) {
        return rows(QStringLiteral("SELECT COLUMN_NAME FROM QN_COLUMN WHERE DATABASE_NAME = 'SALES' AND TABLE_NAME = "
                                   "'%1' ORDER BY COLUMN_NAME")
                        .arg(QLatin1String(table)));
    };
    // A, of no type, is in no Columns folder of the tree: dropped by the drop's own call.
    DragItem a, q1;
    a.NodeType = QStringLiteral("co");
    a.Keys = QStringList{kDs, "SALES", "P", "A"};
    q1.NodeType = QStringLiteral("ta");
    q1.Keys = QStringList{kDs, "SALES", "Q1"};
    EXPECT_TRUE(modDragAndDrop::DragColumnToTable(a, q1, 2));
    answerMoveCopy("cmdCopy");
    drag(columns(kDs, "SALES", "P") + "co=B:", table(kDs, "SALES", "Q1"));
    answerMoveCopy("cmdCopy");
    drag(columns(kDs, "SALES", "P"), table(kDs, "SALES", "Q2"));
    EXPECT_TRUE(takeMessages().isEmpty()) << "no overwrite asked";
    EXPECT_EQ(columnsOf("Q1"), (QStringList{"A", "B", "X", "Y"}));
    EXPECT_EQ(columnsOf("Q2"), (QStringList{"A", "B", "X", "Y"}));
}

// A close of the main window issued while a drop asks its question is
// refused: the drop goes on and copies, and a close afterwards closes.
TEST_F(DragChanges, TheWindowStaysWhileADropRuns)
{
    bool closed = true;
    answerMoveCopy("cmdCopy", [&] { closed = main().close(); });
    drag(users(kDs) + "us=MBROWN:", ds(kDs2));
    EXPECT_FALSE(closed);
    EXPECT_EQ(ui().beeps(), 1);
    EXPECT_TRUE(main().isVisible());
    EXPECT_EQ(rows("SELECT USER_NAME FROM QN_USER WHERE USER_NAME = 'MBROWN'", kDs2), QStringList{"MBROWN"});
    EXPECT_TRUE(main().close());
}

} // namespace
