// Failures in the middle of a move, injected at each of its statements in
// turn (a failing statement, a lost connection), at its commits and at the
// start of its transactions: afterwards both catalogs hold the state before,
// or a complete copy with the source intact, or the complete move; the source
// keeps every row that was not copied and the target is never half-written.

#include <algorithm>

#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "copymove/dragops.h"
#include "core/cconnections.h"
#include "standinfixture.h"

namespace {

const QString kDs = QStringLiteral("QnTest"), kDs2 = QStringLiteral("QnTest2");

class DragFaults : public StandinTest
{
protected:
    void SetUp() override
    {
        StandinTest::SetUp();
        dao::SetStatementObserver([this](const QString &sql) {
            m_statements << sql;
            if (!m_failing.isEmpty() && sql.startsWith(m_failing)) {
                m_failing.clear();
                dao::Faults::Add(dao::Faults::Statement, 1, QStringLiteral("HY000"), QStringLiteral("injected"));
            }
        });
    }
    void TearDown() override
    {
        dao::SetStatementObserver(nullptr);
        dao::IgnoreTransactionSupport(false);
        gConnections().RemoveAll();
        StandinTest::TearDown();
    }

    static DragItem item(const char *type, const QStringList &keys)
    {
        DragItem i;
        i.NodeType = QLatin1String(type);
        i.Keys = keys;
        return i;
    }
    // Runs the statements on the data source in one transaction.
    void exec(const QStringList &statements, const QString &dsn)
    {
        const dao::DatabasePtr db = open(dsn);
        db->BeginTrans();
        for (const QString &sql : statements)
            db->Execute(sql);
        db->CommitTrans();
    }
    // Both data sources connected, so that a fault counts the drag's statements only.
    static void connectBoth()
    {
        ASSERT_TRUE(gConnections().Item(kDs));
        ASSERT_TRUE(gConnections().Item(kDs2));
    }

    // The outcomes a failure may leave.
    enum Outcome { Before, Copied, Moved };

    // Runs `drag` once without a fault for its statements, then again after
    // `reset` with a fault at each statement, and at the start and the commit
    // of each of its `units` transactions. `state` says which outcome the
    // catalogs show. The error dialog is answered `answer`; `expected` gives
    // the outcome for a fault at statement `index` of `statements` (-1 for the
    // first transaction's start or commit, -2 for the second's); `incomplete`
    // the message the move shows then (none when empty).
    void faultEach(const std::function<bool()> &drag, const std::function<void()> &reset,
                   const std::function<Outcome()> &state, int answer, int units,
                   const std::function<Outcome(int index, const QStringList &statements)> &expected,
                   const std::function<QString(Outcome)> &incomplete)
    {
        reset();
        connectBoth();
        m_statements.clear();
        ASSERT_TRUE(drag());
        const QStringList statements = std::exchange(m_statements, {});
        ASSERT_EQ(state(), Moved);
        const auto once = [&](dao::Faults::Call call, int nth, const QString &sqlState, int index, const QString &sql) {
            reset();
            connectBoth();
            ui().clear();
            dao::Faults::Add(call, nth, sqlState, QStringLiteral("injected"));
            ui().answerError(answer);
            const Outcome outcome = expected(index, statements);
            if (!incomplete(outcome).isEmpty())
                ui().answerMsgBox(ui::vbOK);
            const bool done = drag();
            const std::string where = "fault " + sqlState.toStdString() + " at " + std::to_string(nth) + ": " +
                                      sql.toStdString();
            EXPECT_EQ(dao::Faults::Pending(), 0) << where;
            dao::Faults::Clear();
            EXPECT_EQ(state(), outcome) << where;
            EXPECT_EQ(done, outcome != Before) << where;
            EXPECT_EQ(ui().messages(), incomplete(outcome).isEmpty() ? QStringList() : QStringList{incomplete(outcome)})
                << where;
            EXPECT_EQ(ui().errors().size(), 1) << where;
        };
        for (const char *sqlState : {"HY000", "08S01"})
            for (int n = 1; n <= statements.size(); ++n)
                once(dao::Faults::Statement, n, QLatin1String(sqlState), n - 1, statements[n - 1]);
        for (const auto call : {dao::Faults::Begin, dao::Faults::Commit})
            for (int n = 1; n <= units; ++n)
                once(call, n, QStringLiteral("HY000"), -n, call == dao::Faults::Begin ? "begin" : "commit");
    }

    // The table T of SALES, with two columns and a table privilege, as it is before each drag.
    void resetTableT()
    {
        exec({"DELETE FROM QN_COLUMN WHERE TABLE_NAME = 'T'", "DELETE FROM QN_TBLPRV WHERE TABLE_NAME = 'T'",
              "DELETE FROM QN_TABLE WHERE TABLE_NAME = 'T'",
              "INSERT INTO QN_TABLE (DATABASE_NAME, TABLE_NAME, FILE_NAME, NUMBER_COLUMNS) VALUES ('SALES', 'T', "
              "'CUSTOMER', 2)",
              "INSERT INTO QN_COLUMN (DATABASE_NAME, TABLE_NAME, COLUMN_NUMBER, COLUMN_NAME, FIELD_NAME, COLUMN_TYPE) "
              "VALUES ('SALES', 'T', 1, 'CUST_NO', 'CUST-NO', 0), ('SALES', 'T', 2, 'NAME', 'NAME', 0)",
              "INSERT INTO QN_TBLPRV (DATABASE_NAME, TABLE_NAME, USER_NAME, ALLOW_SELECT) VALUES ('SALES', 'T', "
              "'REPORTS', 1)"},
             kDs);
    }
    // T's rows as "database|name": the table, then its columns and privileges.
    QStringList tableT()
    {
        return rows("SELECT DATABASE_NAME, TABLE_NAME FROM QN_TABLE WHERE TABLE_NAME = 'T' UNION ALL SELECT "
                    "DATABASE_NAME, COLUMN_NAME FROM QN_COLUMN WHERE TABLE_NAME = 'T' UNION ALL SELECT DATABASE_NAME, "
                    "USER_NAME FROM QN_TBLPRV WHERE TABLE_NAME = 'T' ORDER BY 1, 2",
                    kDs);
    }
    // Where T's rows are: all in SALES, or all in STOCK.
    Outcome tableTPlace()
    {
        const QStringList t = tableT();
        if (t == QStringList{"SALES|CUST_NO", "SALES|NAME", "SALES|REPORTS", "SALES|T"})
            return Before;
        if (t == QStringList{"STOCK|CUST_NO", "STOCK|NAME", "STOCK|REPORTS", "STOCK|T"})
            return Moved;
        ADD_FAILURE() << "rows " << t.join(" / ").toStdString();
        return Copied;
    }
    static bool moveT()
    {
        return modDragAndDrop::DragTableToDB(item("ta", {kDs, "SALES", "T"}), item("db", {kDs, "STOCK"}), 1);
    }

    // The file MOVEME of QnTest, with three fields, as it is before each drag; none in QnTest2.
    void resetMoveme()
    {
        exec({"DELETE FROM QN_FIELD WHERE FILE_NAME = 'MOVEME'", "DELETE FROM QN_FILE WHERE FILE_NAME = 'MOVEME'"},
             kDs2);
        exec({"DELETE FROM QN_FIELD WHERE FILE_NAME = 'MOVEME'", "DELETE FROM QN_FILE WHERE FILE_NAME = 'MOVEME'",
              "INSERT INTO QN_FILE (FILE_NAME, OPEN_STRING, RECORD_SIZE, FILE_ORGANISATION, RECORD_TYPE, REMARKS) "
              "VALUES ('MOVEME', 'o', 24, 'INDEXED', 'FIXED', 'r')",
              "INSERT INTO QN_FIELD (FILE_NAME, FIELD_NUMBER, FIELD_NAME, LOCAL_TYPE_NAME, OFFSET, LENGTH, PRECISION, "
              "SCALE, ENCRYPTED, FORMAT, DEFAULT_VALUE, REMARKS) VALUES ('MOVEME', 1, 'A', 'STRING', 0, 8, 8, 0, 0, "
              "'f', 'd', 'r'), ('MOVEME', 2, 'B', 'INTEGER', 8, 4, 10, 0, 0, 'f', 'd', 'r'), ('MOVEME', 3, 'C', "
              "'STRING', 12, 12, 12, 0, 0, 'f', 'd', 'r')"},
             kDs);
    }
    // Where MOVEME's rows are, each row whole or not at all.
    Outcome moveme()
    {
        const QString file = QStringLiteral("SELECT * FROM QN_FILE WHERE FILE_NAME = 'MOVEME'");
        const QString fields = QStringLiteral("SELECT * FROM QN_FIELD WHERE FILE_NAME = 'MOVEME' ORDER BY FIELD_NAME");
        const QStringList original{"MOVEME|o|24|INDEXED|FIXED|r", "MOVEME|1|A|STRING|0|8|8|0|0|f|d|r",
                                   "MOVEME|2|B|INTEGER|8|4|10|0|0|f|d|r", "MOVEME|3|C|STRING|12|12|12|0|0|f|d|r"};
        return place(rows(file, kDs) + rows(fields, kDs), rows(file, kDs2) + rows(fields, kDs2), original);
    }
    // The outcome the rows of an item moved to the other data source show.
    static Outcome place(const QStringList &source, const QStringList &target, const QStringList &original)
    {
        if (source == original && target.isEmpty())
            return Before;
        if (source == original && target == original)
            return Copied;
        if (source.isEmpty() && target == original)
            return Moved;
        ADD_FAILURE() << "source " << source.join(" / ").toStdString() << "; target "
                      << target.join(" / ").toStdString();
        return Before;
    }
    static bool moveMoveme()
    {
        return modDragAndDrop::DragFileToDSN(item("fi", {kDs, "MOVEME"}), item("DSN", {kDs2}), 1);
    }

    // The next statement that begins with `start` fails.
    void failAt(const QString &start) { m_failing = start; }

    QStringList m_statements;
    QString m_failing;
};

// A file of three fields moved to the other data source: the copy commits on
// the target before the source's deletes; a failure before that commit leaves
// both as they were, one after it a complete copy and the source intact.
TEST_F(DragFaults, AFileMovedToAnotherDataSource)
{
    const auto reset = [this] { resetMoveme(); };
    const auto state = [this] { return moveme(); };
    const auto drag = [] { return moveMoveme(); };
    const auto incomplete = [](Outcome outcome) {
        return outcome == Copied ? QStringLiteral("The move of File 'MOVEME' was incomplete: what could not be moved "
                                                  "is still in 'QnTest'.")
                                 : QString();
    };
    // Ignored: before the target's commit nothing is written; after it (in the
    // source's unit, which reads the rows again before it deletes) the copy stays.
    const auto ignored = [](int index, const QStringList &statements) {
        const auto inserts = std::find_if(statements.rbegin(), statements.rend(),
                                          [](const QString &sql) { return sql.startsWith(QLatin1String("INSERT")); });
        return index == -2 || index >= statements.rend() - inserts ? Copied : Before;
    };
    faultEach(drag, reset, state, ui::vbIgnore, 2, ignored, incomplete);
    // Retried: the move completes.
    faultEach(drag, reset, state, ui::vbRetry, 2, [](int, const QStringList &) { return Moved; }, incomplete);
}

// A table moved to another database of its own data source is one unit: a
// failure anywhere leaves the catalog as it was; Retry completes the move.
TEST_F(DragFaults, ATableMovedWithinOneDataSource)
{
    const auto state = [this] { return tableTPlace(); };
    const auto reset = [this] { resetTableT(); };
    const auto none = [](Outcome) { return QString(); };
    faultEach(moveT, reset, state, ui::vbIgnore, 1, [](int, const QStringList &) { return Before; }, none);
    faultEach(moveT, reset, state, ui::vbRetry, 1, [](int, const QStringList &) { return Moved; }, none);
}

// Where the data source has no transactions a move within it copies first,
// then deletes what was copied: a failing insert (or a connection lost at it)
// deletes again what the copy had written and says so; a failing delete keeps
// the rest in the source and says the move was incomplete. The target never
// holds part of the table, and the source keeps every row the target lacks.
TEST_F(DragFaults, ATableMovedWithoutTransactions)
{
    dao::IgnoreTransactionSupport(true);
    const QStringList names{"CUST_NO", "NAME", "REPORTS", "T"};
    const auto split = [&](QStringList &source, QStringList &target) {
        source.clear();
        target.clear();
        for (const QString &row : tableT())
            (row.startsWith(QLatin1String("SALES|")) ? source : target) << row.section(QLatin1Char('|'), 1);
    };
    resetTableT();
    connectBoth();
    m_statements.clear();
    ASSERT_TRUE(moveT());
    const QStringList statements = std::exchange(m_statements, {});
    QStringList writes;
    for (const QString &sql : statements)
        if (!sql.startsWith(QLatin1String("SELECT")))
            writes << sql;
    ASSERT_EQ(writes.size(), 8);
    for (int i = 0; i < 4; ++i)
        EXPECT_TRUE(writes[i].startsWith("INSERT") && writes[i + 4].startsWith("DELETE")) << "the copy, then the deletes";
    const int firstInsert = int(statements.indexOf(writes[0]));
    for (const char *sqlState : {"HY000", "08S01"})
        for (int n = 1; n <= statements.size(); ++n) {
            const QString &sql = statements[n - 1];
            const std::string where = std::string(sqlState) + " at " + sql.toStdString();
            resetTableT();
            connectBoth();
            ui().clear();
            const bool insertFails = sql.startsWith(QLatin1String("INSERT"));
            const bool deletesFail = n - 1 > statements.indexOf(writes[3]);
            if ((insertFails && n - 1 > firstInsert) || deletesFail)
                ui().answerMsgBox(ui::vbOK);
            dao::Faults::Add(dao::Faults::Statement, n, QLatin1String(sqlState), QStringLiteral("injected"));
            ui().answerError(ui::vbIgnore);
            const bool done = moveT();
            dao::Faults::Clear();
            QStringList source, target;
            split(source, target);
            EXPECT_TRUE(target.isEmpty() || target == names) << where << ": the target holds part of T";
            QStringList all = source + target;
            all.removeDuplicates();
            all.sort();
            EXPECT_EQ(all, names) << where << ": a row was lost";
            EXPECT_EQ(done, target == names) << where;
            EXPECT_EQ(ui().errors().size(), 1) << where;
            QStringList said;
            if (insertFails && n - 1 > firstInsert)
                said << "The copy failed; the rows it had written have been deleted again.";
            if (deletesFail)
                said << "The move of Table 'T' was incomplete: what could not be moved is still in 'QnTest'.";
            EXPECT_EQ(ui().messages(), said) << where;
            if (!deletesFail) {
                EXPECT_EQ(source, names) << where << ": the source changed before the copy was done";
            }
        }
}

// An overwritten column is there again when the insert replacing it fails:
// with transactions the rollback keeps it, without them the overwrite's
// DELETE is undone by inserting the column again as it was read.
TEST_F(DragFaults, AnOverwrittenColumnStaysWhenItsReplacementFails)
{
    const QString address = QStringLiteral("SELECT * FROM QN_COLUMN WHERE TABLE_NAME = 'CUSTOMER' AND COLUMN_NUMBER = 3");
    exec({"UPDATE QN_COLUMN SET REMARKS = NULL, DEFAULT_VALUE = 'it''s' WHERE TABLE_NAME = 'CUSTOMER' AND "
          "COLUMN_NUMBER = 3"},
         kDs);
    const QStringList before = catalogRows(kDs);
    for (const bool transactions : {true, false}) {
        SCOPED_TRACE(transactions ? "with transactions" : "without transactions");
        dao::IgnoreTransactionSupport(!transactions);
        connectBoth();
        ui().clear();
        ui().answerMsgBox(ui::vbYes); // overwrite ADDRESS, number 3
        ui().answerMsgBox(ui::vbOK);  // ORDER-DATE is no field of CUSTOMER
        ui().answerError(ui::vbIgnore);
        m_statements.clear();
        failAt(QStringLiteral("INSERT INTO QN_COLUMN (DATABASE_NAME, TABLE_NAME, COLUMN_NUMBER, COLUMN_NAME, "
                              "FIELD_NAME, SQL_TYPE_NAME, LENGTH, PRECISION, SCALE, NULLABLE, UNSIGNED_ATTRIBUTE, "
                              "UPDATABLE, VISIBLE, MONEY, AUTO_INCREMENT, CASE_SENSITIVE, SEARCHABLE, RADIX, "
                              "DEFAULT_VALUE, REMARKS, SETFILEPARAMETER, COLUMN_TYPE, DISPLAY_NAME) VALUES ('SALES', "
                              "'CUSTOMER', 3, 'ORDER_DATE'"));
        EXPECT_FALSE(modDragAndDrop::DragColumnToTable(item("co", {kDs, "SALES", "ORDERS", "ORDER_DATE"}),
                                                       item("ta", {kDs, "SALES", "CUSTOMER"}), 1));
        const auto deleted = m_statements.indexOf(
            "DELETE FROM QN_COLUMN WHERE DATABASE_NAME = 'SALES'  AND TABLE_NAME = 'CUSTOMER'  AND COLUMN_NUMBER = 3  "
            "AND COLUMN_TYPE = 0");
        ASSERT_GE(deleted, 0);
        EXPECT_TRUE(m_statements.value(deleted + 1).startsWith("INSERT INTO QN_COLUMN")) << "the replacement";
        if (!transactions) {
            EXPECT_EQ(m_statements.mid(deleted + 2),
                      QStringList{"INSERT INTO QN_COLUMN (DATABASE_NAME, TABLE_NAME, COLUMN_NUMBER, COLUMN_NAME, "
                                  "FIELD_NAME, SQL_TYPE_NAME, LENGTH, PRECISION, SCALE, NULLABLE, UNSIGNED_ATTRIBUTE, "
                                  "UPDATABLE, VISIBLE, MONEY, AUTO_INCREMENT, CASE_SENSITIVE, SEARCHABLE, RADIX, "
                                  "DEFAULT_VALUE, REMARKS, SETFILEPARAMETER, COLUMN_TYPE, DISPLAY_NAME) VALUES "
                                  "('SALES', 'CUSTOMER', 3, 'ADDRESS', 'ADDRESS', 'VARCHAR', 40, 40, 0, 1, 0, 1, 1, "
                                  "0, 0, 1, 3, 0, 'it''s', NULL, 0, 0, 'ADDRESS')"})
                << "the overwritten column put back";
        }
        ASSERT_EQ(ui().errors().size(), 1);
        EXPECT_EQ(ui().errors()[0].trappedIn, "modDragAndDrop.DragColumnToTable");
        EXPECT_EQ(ui().messages().size(), 2) << "the question and the warning; nothing was left behind";
        EXPECT_EQ(catalogRows(kDs), before);
        EXPECT_EQ(rows(address), QStringList{"SALES|CUSTOMER|3|ADDRESS|ADDRESS|VARCHAR|40|40|0|1|0|1|1|0|0|1|3|0|it's||"
                                             "0|0|ADDRESS"});
    }
}

// In a collection each member is a unit of its own: one whose unit fails and
// is ignored is left out, and the continue question follows as after a refusal.
TEST_F(DragFaults, AMemberIgnoredInACollection)
{
    connectBoth();
    QStringList prompts;
    const auto answerContinue = [&](const char *button) {
        ui().onModal([&prompts, button](QDialog &d) {
            prompts << d.findChild<QLabel *>(QStringLiteral("lblPrompt"))->text();
            QTest::mouseClick(d.findChild<QPushButton *>(QLatin1String(button)), Qt::LeftButton);
            return d.result();
        });
    };
    ui().answerMsgBox(ui::vbOK); // the target has ADMIN
    answerContinue("cmdYes");
    ui().answerError(ui::vbIgnore); // JSMITH's insert
    answerContinue("cmdYesAll");
    // The users and the target's names read; ADMIN refused; JSMITH's insert fails.
    dao::Faults::Add(dao::Faults::Statement, 3, QStringLiteral("HY000"), QStringLiteral("injected"));
    EXPECT_TRUE(modDragAndDrop::DragUsersToDSN(item("US", {kDs}), item("DSN", {kDs2}), 2));
    EXPECT_EQ(prompts.size(), 2);
    EXPECT_EQ(rows("SELECT USER_NAME FROM QN_USER ORDER BY USER_NAME", kDs2),
              (QStringList{"ADMIN", "MBROWN", "REPORTS"}));
}

// Without transactions a move's source unit that fails after some of its
// deletes is retried from where it stood: the rows it deleted itself count as
// done, and Retry completes the move, whichever statement failed.
TEST_F(DragFaults, WithoutTransactionsRetryCompletesAMove)
{
    dao::IgnoreTransactionSupport(true);
    const auto moved = [](int, const QStringList &) { return Moved; };
    const auto none = [](Outcome) { return QString(); };
    {
        SCOPED_TRACE("a file to another data source");
        faultEach([] { return moveMoveme(); }, [this] { resetMoveme(); }, [this] { return moveme(); }, ui::vbRetry, 0,
                  moved, none);
    }
    {
        SCOPED_TRACE("a table within its data source");
        faultEach(moveT, [this] { resetTableT(); }, [this] { return tableTPlace(); }, ui::vbRetry, 0, moved, none);
    }
    {
        SCOPED_TRACE("a database to another data source");
        const auto reset = [this] {
            const QStringList clear{"DELETE FROM QN_COLUMN WHERE DATABASE_NAME = 'MOVEDB'",
                                    "DELETE FROM QN_TABLE WHERE DATABASE_NAME = 'MOVEDB'",
                                    "DELETE FROM QN_DB WHERE DATABASE_NAME = 'MOVEDB'"};
            exec(clear, kDs2);
            exec(clear + QStringList{"INSERT INTO QN_DB (DATABASE_NAME, DISPLAY_NAME) VALUES ('MOVEDB', 'M')",
                                     "INSERT INTO QN_TABLE (DATABASE_NAME, TABLE_NAME, FILE_NAME, NUMBER_COLUMNS) "
                                     "VALUES ('MOVEDB', 'T1', 'USER', 2), ('MOVEDB', 'T2', 'USER', 1)",
                                     "INSERT INTO QN_COLUMN (DATABASE_NAME, TABLE_NAME, COLUMN_NUMBER, COLUMN_NAME, "
                                     "FIELD_NAME, COLUMN_TYPE) VALUES ('MOVEDB', 'T1', 1, 'A', 'USER_NAME', 0), "
                                     "('MOVEDB', 'T1', 2, 'B', 'REMARKS', 0), ('MOVEDB', 'T2', 1, 'C', 'USER_NAME', 0)"},
                 kDs);
        };
        const auto where = [this](const QString &ds) {
            return rows("SELECT DATABASE_NAME FROM QN_DB WHERE DATABASE_NAME = 'MOVEDB' UNION ALL SELECT TABLE_NAME "
                        "FROM QN_TABLE WHERE DATABASE_NAME = 'MOVEDB' UNION ALL SELECT COLUMN_NAME FROM QN_COLUMN "
                        "WHERE DATABASE_NAME = 'MOVEDB' ORDER BY 1",
                        ds);
        };
        const auto state = [&] { return place(where(kDs), where(kDs2), {"A", "B", "C", "MOVEDB", "T1", "T2"}); };
        faultEach([] { return modDragAndDrop::DragDBToDSN(item("db", {kDs, "MOVEDB"}), item("DSN", {kDs2}), 1); },
                  reset, state, ui::vbRetry, 0, moved, none);
    }
}

// A row of the move that another connection deletes between the attempts is
// not the move's own: the retried attempt fails with 3021 and deletes nothing
// more; the rows the first attempt deleted stay deleted (the copy holds them).
TEST_F(DragFaults, WithoutTransactionsARowDeletedMeanwhileStillFailsTheRetry)
{
    dao::IgnoreTransactionSupport(true);
    resetMoveme();
    connectBoth();
    failAt(QStringLiteral("DELETE FROM QN_FIELD WHERE FILE_NAME = 'MOVEME' AND FIELD_NAME = 'B'"));
    QStringList deletedBefore;
    ui().onError([&](QDialog &) {
        deletedBefore = rows("SELECT FIELD_NAME FROM QN_FIELD WHERE FILE_NAME = 'MOVEME' ORDER BY 1", kDs);
        exec({"DELETE FROM QN_FIELD WHERE FILE_NAME = 'MOVEME' AND FIELD_NAME = 'C'"}, kDs);
        return int(ui::vbRetry);
    });
    ui().answerError(ui::vbIgnore);
    ui().answerMsgBox(ui::vbOK);
    EXPECT_TRUE(moveMoveme());
    EXPECT_EQ(deletedBefore, (QStringList{"B", "C"})) << "A was deleted when B failed";
    ASSERT_EQ(ui().errors().size(), 2);
    EXPECT_EQ(ui().errors()[1].number, QStringLiteral("3021"));
    EXPECT_EQ(ui().messages(), QStringList{"The move of File 'MOVEME' was incomplete: what could not be moved is "
                                           "still in 'QnTest'."});
    EXPECT_EQ(rows("SELECT FIELD_NAME FROM QN_FIELD WHERE FILE_NAME = 'MOVEME' ORDER BY 1", kDs), QStringList{"B"});
    EXPECT_EQ(rows("SELECT FILE_NAME FROM QN_FILE WHERE FILE_NAME = 'MOVEME'", kDs), QStringList{"MOVEME"});
    EXPECT_EQ(rows("SELECT FIELD_NAME FROM QN_FIELD WHERE FILE_NAME = 'MOVEME' ORDER BY 1", kDs2),
              (QStringList{"A", "B", "C"}));
}

} // namespace
