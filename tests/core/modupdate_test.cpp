// The key rename writers: statement texts, the rows
// after, the error dialog's names and statements, and failed renames that
// leave the catalog as it was.
#include <QCoreApplication>
#include <QRegularExpression>
#include <QSet>

#include "core/cconnections.h"
#include "core/frmqnerr.h"
#include "core/moddatabase.h"
#include "core/modupdate.h"
#include "standinfixture.h"
#include "uitest.h"

using namespace modUpdate;

namespace {

const QString kEditor = QStringLiteral("frmTest.cmdOK_Click");
const QString kDs = QStringLiteral("QnTest2");

// A small family of catalog rows in the new catalog "QnTest2": a file F1 with two
// fields, used by D1.T1 and D2.T3; a same-named table D2.T1 over another file with
// a column bound to a field A; a special column with Null attributes; users with
// database and table privileges, one on a table missing from QN_TABLE (GONE), one
// of a user without a database privilege there (U3), one in a database D9 where
// U1 has none.
const char *const kFamily[] = {
    "INSERT INTO QN_FILE VALUES ('F1', 'o''s', 12, 'INDEXED', NULL, 'O''Neil''s file'), "
    "('OTHER', NULL, 4, 'INDEXED', 'FIXED', NULL)",
    "INSERT INTO QN_FIELD VALUES ('F1', 1, 'A', 'STRING', 0, 4, 4, 0, 0, NULL, NULL, NULL), "
    "('F1', 2, 'B', 'INTEGER', 4, 4, 10, -3, 1, 'X9', 'd''v', 'r'), "
    "('OTHER', 1, 'A', 'STRING', 0, 4, 4, 0, 0, NULL, NULL, NULL)",
    "INSERT INTO QN_DB VALUES ('D1', 'dir', 'DISAM', NULL, 'c''s', 'r', 'Disp'), "
    "('D2', NULL, 'DISAM', NULL, NULL, NULL, 'D2')",
    "INSERT INTO QN_TABLE VALUES ('D1', 'T1', 'TABLE', 'F1', 'T1.DAT', 3, 'D1_T1.A = ''x'' ', 'rem', 'T1disp'), "
    "('D2', 'T1', 'TABLE', 'OTHER', NULL, 1, NULL, NULL, 'T1'), "
    "('D2', 'T3', 'TABLE', 'F1', NULL, 1, NULL, NULL, 'T3')",
    "INSERT INTO QN_COLUMN VALUES "
    "('D1', 'T1', 1, 'CA', 'A', 'VARCHAR', 4, 4, 0, 1, 0, 1, 1, 0, 0, 1, 3, 0, NULL, NULL, 0, 0, 'CA'), "
    "('D1', 'T1', 2, 'CB', 'B', 'INTEGER', 4, 10, -2, 1, 0, 1, 1, 0, 0, 0, 2, 12, '0', 'r''c', 0, 0, 'CB'), "
    "('D1', 'T1', 1, 'ROWID', 'ROWID', 'INTEGER', 4, 10, NULL, NULL, NULL, 0, 1, NULL, NULL, NULL, NULL, NULL, '', "
    "'', NULL, 6, 'ROWID'), "
    "('D2', 'T1', 1, 'CX', 'A', 'VARCHAR', 4, 4, 0, 1, 0, 1, 1, 0, 0, 1, 3, 0, NULL, NULL, 0, 0, 'CX'), "
    "('D2', 'T3', 1, 'CY', 'A', 'VARCHAR', 4, 4, 0, 1, 0, 1, 1, 0, 0, 1, 3, 0, NULL, NULL, 0, 0, 'CY')",
    "INSERT INTO QN_USER VALUES ('U1', 'secret', 'first user'), ('U2', NULL, NULL), ('U3', 'x', NULL)",
    "INSERT INTO QN_DBPRV VALUES ('U1', 'D1', 'dbu', 'dbp', 1, 1, 0, 0, 'TABLE', NULL), "
    "('U1', 'D2', NULL, NULL, 1, 0, 0, 0, 'DATABASE', 'r2'), "
    "('U2', 'D1', NULL, NULL, 1, 0, 0, 0, 'TABLE', NULL)",
    "INSERT INTO QN_TBLPRV VALUES ('D1', 'T1', 'U1', 1, 0, 1, 0, 'tp'), ('D1', 'T1', 'U2', 1, 0, 0, 0, NULL), "
    "('D1', 'GONE', 'U1', 1, -3, 0, 0, NULL), ('D1', 'GONE', 'U3', 1, 0, 0, 0, NULL), "
    "('D9', 'T9', 'U1', 1, 0, 0, 0, NULL)",
};

const auto &kTables = kCatalogTables;

// What the dialog's text boxes show of a text.
QString shownText(QString text) { return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")); }

class ModUpdateTest : public StandinTest
{
protected:
    void SetUp() override
    {
        StandinTest::SetUp();
        dao::IgnoreTransactionSupport(false);
        for (const char *sql : kFamily)
            exec(QString::fromLatin1(sql));
        frmQNErr::Push(kEditor); // the calling editor's own entry
    }
    void TearDown() override
    {
        dao::IgnoreTransactionSupport(false);
        StandinTest::TearDown();
    }
    void exec(const QString &sql, const QString &dsn = kDs) { open(dsn)->Execute(sql); }
    // Every row of the catalog tables the writers write, Null told apart from ''.
    QStringList catalog(const QString &dsn = kDs) { return catalogRows(dsn); }
    // The rows of the written tables as INSERT statements, to put them back between runs.
    QStringList saveCatalog()
    {
        QStringList inserts;
        for (const auto &t : kTables) {
            auto rs = open(kDs)->OpenRecordset(QStringLiteral("SELECT * FROM %1").arg(QLatin1String(t[0])));
            QStringList rowValues;
            for (long r = 0; r < rs->RecordCount(); ++r) {
                QStringList values;
                for (int c = 0; c < rs->GetFields().Count(); ++c) {
                    const QVariant &v = rs->Cell(r, c);
                    if (v.isNull())
                        values << QStringLiteral("NULL");
                    else if (v.typeId() == QMetaType::QString)
                        values << QLatin1Char('\'') + modDatabase::EscapeQuotes(v) + QLatin1Char('\'');
                    else
                        values << v.toString();
                }
                rowValues << QLatin1Char('(') + values.join(QStringLiteral(", ")) + QLatin1Char(')');
            }
            if (!rowValues.isEmpty())
                inserts << QStringLiteral("INSERT INTO %1 VALUES %2").arg(QLatin1String(t[0]), rowValues.join(", "));
        }
        return inserts;
    }
    void restoreCatalog(const QStringList &inserts)
    {
        for (const auto &t : kTables)
            exec(QStringLiteral("DELETE FROM %1").arg(QLatin1String(t[0])));
        for (const QString &sql : inserts)
            exec(sql);
    }
    // The registry's connection to kDs, connected now, writing without waiting
    // for the disk (loops of many renames).
    void connectFast()
    {
        open(kDs)->Execute(QStringLiteral("PRAGMA synchronous = OFF"));
        gConnections().Item(kDs)->db->Execute(QStringLiteral("PRAGMA synchronous = OFF"));
    }
    // The key of every row of the written tables, a key part `to` read as `from`.
    QSet<QString> keysAs(const QString &from, const QString &to)
    {
        QSet<QString> keys;
        for (const auto &t : kTables) {
            auto rs = open(kDs)->OpenRecordset(QStringLiteral("SELECT %1 FROM %2").arg(QLatin1String(t[1]), QLatin1String(t[0])));
            for (long r = 0; r < rs->RecordCount(); ++r) {
                QStringList parts;
                for (int c = 0; c < rs->GetFields().Count(); ++c)
                    parts << (rs->Cell(r, c).toString() == to ? from : rs->Cell(r, c).toString());
                keys << QLatin1String(t[0]) + QLatin1Char(':') + parts.join(QLatin1Char('|'));
            }
        }
        return keys;
    }
    static QStringList writes()
    {
        QStringList list;
        for (const QString &s : LastStatements())
            if (!s.startsWith(QLatin1String("SELECT")))
                list << s;
        return list;
    }
};

void expectStatements(const QStringList &actual, const QStringList &expected)
{
    EXPECT_EQ(actual.size(), expected.size());
    for (qsizetype i = 0; i < std::min(actual.size(), expected.size()); ++i)
        EXPECT_EQ(actual[i], expected[i]) << "statement " << i;
}

} // namespace

// ------------------------------------------------------------------ files and fields

TEST_F(ModUpdateTest, UpdateFileMovesTheTablesAndEveryFieldWithItsOwnOffset)
{
    EXPECT_TRUE(UpdateFile(kDs, QStringLiteral("F1"), QStringLiteral("G1")));
    expectStatements(
        LastStatements(),
        {
            "SELECT * FROM QN_FILE WHERE FILE_NAME = 'F1'",
            "DELETE FROM QN_FILE WHERE FILE_NAME = 'F1'",
            "INSERT INTO QN_FILE (FILE_NAME, OPEN_STRING, RECORD_SIZE, FILE_ORGANISATION, RECORD_TYPE, REMARKS) "
            "VALUES ('G1', 'o''s', 012, 'INDEXED', '', 'O''Neil''s file')",
            "UPDATE QN_TABLE SET FILE_NAME = 'G1' WHERE FILE_NAME = 'F1'",
            "SELECT FIELD_NAME, OFFSET FROM QN_FIELD WHERE FILE_NAME = 'F1'",
            "SELECT * FROM QN_FIELD WHERE FILE_NAME = 'F1' AND FIELD_NAME = 'A'",
            "DELETE FROM QN_FIELD WHERE FILE_NAME = 'F1' AND FIELD_NAME = 'A'",
            "INSERT INTO QN_FIELD (FILE_NAME, FIELD_NUMBER, FIELD_NAME, LOCAL_TYPE_NAME, OFFSET, LENGTH, PRECISION, "
            "SCALE, ENCRYPTED, FORMAT, DEFAULT_VALUE, REMARKS) VALUES ('G1', 01, 'A', 'STRING', 00, 04, 04, 00, 00, "
            "'', '', '')",
            "SELECT DATABASE_NAME, TABLE_NAME FROM QN_TABLE WHERE FILE_NAME='G1'",
            "UPDATE QN_COLUMN SET FIELD_NAME = 'A' WHERE FIELD_NAME = 'A' AND TABLE_NAME = 'T1' AND DATABASE_NAME = "
            "'D1'",
            "UPDATE QN_COLUMN SET FIELD_NAME = 'A' WHERE FIELD_NAME = 'A' AND TABLE_NAME = 'T3' AND DATABASE_NAME = "
            "'D2'",
            "SELECT * FROM QN_FIELD WHERE FILE_NAME = 'F1' AND FIELD_NAME = 'B'",
            "DELETE FROM QN_FIELD WHERE FILE_NAME = 'F1' AND FIELD_NAME = 'B'",
            "INSERT INTO QN_FIELD (FILE_NAME, FIELD_NUMBER, FIELD_NAME, LOCAL_TYPE_NAME, OFFSET, LENGTH, PRECISION, "
            "SCALE, ENCRYPTED, FORMAT, DEFAULT_VALUE, REMARKS) VALUES ('G1', 02, 'B', 'INTEGER', 04, 04, 010, 0-3, "
            "01, 'X9', 'd''v', 'r')",
            "SELECT DATABASE_NAME, TABLE_NAME FROM QN_TABLE WHERE FILE_NAME='G1'",
            "UPDATE QN_COLUMN SET FIELD_NAME = 'B' WHERE FIELD_NAME = 'B' AND TABLE_NAME = 'T1' AND DATABASE_NAME = "
            "'D1'",
            "UPDATE QN_COLUMN SET FIELD_NAME = 'B' WHERE FIELD_NAME = 'B' AND TABLE_NAME = 'T3' AND DATABASE_NAME = "
            "'D2'",
        });
    EXPECT_EQ(rows(QStringLiteral("SELECT * FROM QN_FILE WHERE FILE_NAME IN ('F1', 'G1')"), kDs),
              QStringList{"G1|o's|12|INDEXED||O'Neil's file"});
    EXPECT_EQ(rows(QStringLiteral("SELECT * FROM QN_FIELD WHERE FILE_NAME IN ('F1', 'G1') ORDER BY FIELD_NAME"), kDs),
              (QStringList{"G1|1|A|STRING|0|4|4|0|0|||", "G1|2|B|INTEGER|4|4|10|-3|1|X9|d'v|r"}));
    EXPECT_EQ(rows(QStringLiteral("SELECT DATABASE_NAME, TABLE_NAME, FILE_NAME FROM QN_TABLE WHERE DATABASE_NAME "
                                  "LIKE 'D_' ORDER BY 1, 2"),
                   kDs),
              (QStringList{"D1|T1|G1", "D2|T1|OTHER", "D2|T3|G1"}));
    EXPECT_EQ(frmQNErr::Trace(), QStringList{kEditor});
    EXPECT_TRUE(ui().shown().isEmpty());
}

TEST_F(ModUpdateTest, UpdateFileOfAFileWithoutFieldsOrTablesRewritesTheFileRowOnly)
{
    exec(QStringLiteral("INSERT INTO QN_FILE (FILE_NAME) VALUES ('LONE')"));
    EXPECT_TRUE(UpdateFile(kDs, QStringLiteral("LONE"), QStringLiteral("LONE2")));
    expectStatements(writes(), {
                                   "DELETE FROM QN_FILE WHERE FILE_NAME = 'LONE'",
                                   "INSERT INTO QN_FILE (FILE_NAME, OPEN_STRING, RECORD_SIZE, FILE_ORGANISATION, "
                                   "RECORD_TYPE, REMARKS) VALUES ('LONE2', '', 0, '', '', '')",
                                   "UPDATE QN_TABLE SET FILE_NAME = 'LONE2' WHERE FILE_NAME = 'LONE'",
                               });
    EXPECT_EQ(rows(QStringLiteral("SELECT * FROM QN_FILE WHERE FILE_NAME LIKE 'LONE%'"), kDs),
              QStringList{"LONE2||0|||"});
}

TEST_F(ModUpdateTest, UpdateFieldSetsTheOffsetAndMovesOnlyTheColumnsOfTablesOverTheFile)
{
    EXPECT_TRUE(UpdateField(kDs, QStringLiteral("F1"), QStringLiteral("F1"), QStringLiteral("A"),
                            QStringLiteral("AA"), 7));
    expectStatements(
        LastStatements(),
        {
            "SELECT * FROM QN_FIELD WHERE FILE_NAME = 'F1' AND FIELD_NAME = 'A'",
            "DELETE FROM QN_FIELD WHERE FILE_NAME = 'F1' AND FIELD_NAME = 'A'",
            "INSERT INTO QN_FIELD (FILE_NAME, FIELD_NUMBER, FIELD_NAME, LOCAL_TYPE_NAME, OFFSET, LENGTH, PRECISION, "
            "SCALE, ENCRYPTED, FORMAT, DEFAULT_VALUE, REMARKS) VALUES ('F1', 01, 'AA', 'STRING', 07, 04, 04, 00, 00, "
            "'', '', '')",
            "SELECT DATABASE_NAME, TABLE_NAME FROM QN_TABLE WHERE FILE_NAME='F1'",
            "UPDATE QN_COLUMN SET FIELD_NAME = 'AA' WHERE FIELD_NAME = 'A' AND TABLE_NAME = 'T1' AND DATABASE_NAME = "
            "'D1'",
            "UPDATE QN_COLUMN SET FIELD_NAME = 'AA' WHERE FIELD_NAME = 'A' AND TABLE_NAME = 'T3' AND DATABASE_NAME = "
            "'D2'",
        });
    EXPECT_EQ(rows(QStringLiteral("SELECT FILE_NAME, FIELD_NAME, OFFSET FROM QN_FIELD WHERE FIELD_NAME LIKE 'A%' "
                                  "AND FILE_NAME IN ('F1', 'OTHER') ORDER BY 1"),
                   kDs),
              (QStringList{"F1|AA|7", "OTHER|A|0"}));
    // D2.T1 has the same name as D1.T1 but lies over another file: its column keeps field A.
    EXPECT_EQ(rows(QStringLiteral("SELECT DATABASE_NAME, TABLE_NAME, COLUMN_NAME, FIELD_NAME FROM QN_COLUMN WHERE "
                                  "COLUMN_NAME IN ('CA', 'CX', 'CY') ORDER BY 1, 2"),
                   kDs),
              (QStringList{"D1|T1|CA|AA", "D2|T1|CX|A", "D2|T3|CY|AA"}));
}

// ------------------------------------------------------------------ databases, tables, columns

TEST_F(ModUpdateTest, UpdateDatabaseMovesTablesColumnsAndPrivilegesWithExactlyTheGivenStatements)
{
    EXPECT_TRUE(UpdateDatabase(kDs, QStringLiteral("D1"), QStringLiteral("E1")));
    const QString column = QStringLiteral(
        "INSERT INTO QN_COLUMN (DATABASE_NAME, TABLE_NAME, COLUMN_NUMBER, COLUMN_NAME, FIELD_NAME, SQL_TYPE_NAME, "
        "LENGTH, PRECISION, SCALE, NULLABLE, UNSIGNED_ATTRIBUTE, UPDATABLE, VISIBLE, MONEY, AUTO_INCREMENT, "
        "CASE_SENSITIVE, SEARCHABLE, RADIX, DEFAULT_VALUE, REMARKS, SETFILEPARAMETER, COLUMN_TYPE, DISPLAY_NAME) "
        "VALUES (%1)");
    const QString tblprv = QStringLiteral("INSERT INTO QN_TBLPRV (DATABASE_NAME, TABLE_NAME, USER_NAME, ALLOW_SELECT, "
                                          "ALLOW_INSERT, ALLOW_UPDATE, ALLOW_DELETE, REMARKS) VALUES (%1)");
    const QString dbprv = QStringLiteral(
        "INSERT INTO QN_DBPRV (USER_NAME, DATABASE_NAME, DATABASE_USERNAME, DATABASE_PASSWORD, ALLOW_SELECT, "
        "ALLOW_INSERT, ALLOW_UPDATE, ALLOW_DELETE, SECURITY_LEVEL, REMARKS) VALUES (%1)");
    expectStatements(
        LastStatements(),
        {
            "SELECT * FROM QN_DB WHERE DATABASE_NAME = 'D1' ",
            "DELETE FROM QN_DB WHERE DATABASE_NAME = 'D1' ",
            "INSERT INTO QN_DB (DATABASE_NAME, DEFAULT_DIRECTORY, DRIVER_NAME, SETUP_PROCEDURE, CONNECT_STRING, "
            "REMARKS, DISPLAY_NAME) VALUES ('E1', 'dir', 'DISAM', '', 'c''s', 'r', 'E1')",
            "SELECT TABLE_NAME FROM QN_TABLE WHERE DATABASE_NAME = 'D1'",
            "SELECT * FROM QN_TABLE WHERE DATABASE_NAME = 'D1' AND TABLE_NAME = 'T1'",
            "DELETE FROM QN_TABLE WHERE DATABASE_NAME = 'D1' AND TABLE_NAME = 'T1'",
            "INSERT INTO QN_TABLE (DATABASE_NAME, TABLE_NAME, TABLE_TYPE, FILE_NAME, FILE_SPECIFICATION, "
            "NUMBER_COLUMNS, CRITERIA, REMARKS, DISPLAY_NAME) VALUES ('E1', 'T1', 'TABLE', 'F1', 'T1.DAT', 03, "
            "'D1_T1.A = ''x'' ', 'rem', 'T1')",
            "SELECT COLUMN_TYPE, COLUMN_NUMBER, COLUMN_NAME, FIELD_NAME FROM QN_COLUMN WHERE DATABASE_NAME = 'D1' "
            "AND TABLE_NAME = 'T1'",
            "SELECT * FROM QN_COLUMN WHERE DATABASE_NAME = 'D1' AND TABLE_NAME = 'T1' AND COLUMN_NAME = 'CA'",
            "DELETE FROM QN_COLUMN WHERE DATABASE_NAME = 'D1' AND TABLE_NAME = 'T1' AND COLUMN_NAME = 'CA'",
            column.arg("'E1', 'T1', 01, 'CA', 'A', 'VARCHAR', 4, 4, 0, 1, 0, 1, 1, 0, 0, 1, 3, 0, '', '', 0, 0, 'CA'"),
            "SELECT * FROM QN_COLUMN WHERE DATABASE_NAME = 'D1' AND TABLE_NAME = 'T1' AND COLUMN_NAME = 'CB'",
            "DELETE FROM QN_COLUMN WHERE DATABASE_NAME = 'D1' AND TABLE_NAME = 'T1' AND COLUMN_NAME = 'CB'",
            column.arg(
                "'E1', 'T1', 02, 'CB', 'B', 'INTEGER', 4, 10, -2, 1, 0, 1, 1, 0, 0, 0, 2, 12, '0', 'r''c', 0, 0, 'CB'"),
            "SELECT * FROM QN_COLUMN WHERE DATABASE_NAME = 'D1' AND TABLE_NAME = 'T1' AND COLUMN_NAME = 'ROWID'",
            "DELETE FROM QN_COLUMN WHERE DATABASE_NAME = 'D1' AND TABLE_NAME = 'T1' AND COLUMN_NAME = 'ROWID'",
            column.arg("'E1', 'T1', 01, 'ROWID', 'ROWID', 'INTEGER', 4, 10, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, '', '', 0, "
                       "6, 'ROWID'"),
            "SELECT USER_NAME FROM QN_TBLPRV WHERE DATABASE_NAME = 'D1' AND TABLE_NAME = 'T1'",
            "SELECT * FROM QN_TBLPRV WHERE USER_NAME = 'U1' AND DATABASE_NAME = 'D1' AND TABLE_NAME = 'T1'",
            "DELETE FROM QN_TBLPRV WHERE USER_NAME = 'U1' AND DATABASE_NAME = 'D1' AND TABLE_NAME = 'T1'",
            tblprv.arg("'E1', 'T1', 'U1', 01, 00, 01, 00, 'tp'"),
            "SELECT * FROM QN_TBLPRV WHERE USER_NAME = 'U2' AND DATABASE_NAME = 'D1' AND TABLE_NAME = 'T1'",
            "DELETE FROM QN_TBLPRV WHERE USER_NAME = 'U2' AND DATABASE_NAME = 'D1' AND TABLE_NAME = 'T1'",
            tblprv.arg("'E1', 'T1', 'U2', 01, 00, 00, 00, ''"),
            "SELECT USER_NAME FROM QN_DBPRV WHERE DATABASE_NAME = 'D1' ",
            "SELECT * FROM QN_DBPRV WHERE DATABASE_NAME = 'D1' AND USER_NAME = 'U1' ",
            "DELETE FROM QN_DBPRV WHERE DATABASE_NAME = 'D1' AND USER_NAME = 'U1' ",
            dbprv.arg("'U1', 'E1', 'dbu', 'dbp', 01, 01, 00, 00, 'TABLE', ''"),
            "SELECT TABLE_NAME FROM QN_TBLPRV WHERE DATABASE_NAME = 'D1' AND USER_NAME = 'U1'",
            "SELECT * FROM QN_TBLPRV WHERE USER_NAME = 'U1' AND DATABASE_NAME = 'D1' AND TABLE_NAME = 'GONE'",
            "DELETE FROM QN_TBLPRV WHERE USER_NAME = 'U1' AND DATABASE_NAME = 'D1' AND TABLE_NAME = 'GONE'",
            tblprv.arg("'E1', 'GONE', 'U1', 01, 0-3, 00, 00, ''"),
            "SELECT * FROM QN_DBPRV WHERE DATABASE_NAME = 'D1' AND USER_NAME = 'U2' ",
            "DELETE FROM QN_DBPRV WHERE DATABASE_NAME = 'D1' AND USER_NAME = 'U2' ",
            dbprv.arg("'U2', 'E1', '', '', 01, 00, 00, 00, 'TABLE', ''"),
            "SELECT TABLE_NAME FROM QN_TBLPRV WHERE DATABASE_NAME = 'D1' AND USER_NAME = 'U2'",
        });
    EXPECT_EQ(rows(QStringLiteral("SELECT * FROM QN_DB WHERE DATABASE_NAME IN ('D1', 'E1')"), kDs),
              QStringList{"E1|dir|DISAM||c's|r|E1"});
    EXPECT_EQ(rows(QStringLiteral("SELECT * FROM QN_TABLE WHERE DATABASE_NAME IN ('D1', 'E1')"), kDs),
              QStringList{"E1|T1|TABLE|F1|T1.DAT|3|D1_T1.A = 'x' |rem|T1"});
    EXPECT_EQ(rows(QStringLiteral("SELECT * FROM QN_COLUMN WHERE DATABASE_NAME IN ('D1', 'E1') ORDER BY 4"), kDs),
              (QStringList{"E1|T1|1|CA|A|VARCHAR|4|4|0|1|0|1|1|0|0|1|3|0|||0|0|CA",
                           "E1|T1|2|CB|B|INTEGER|4|10|-2|1|0|1|1|0|0|0|2|12|0|r'c|0|0|CB",
                           "E1|T1|1|ROWID|ROWID|INTEGER|4|10|0|0|0|0|1|0|0|0|0|0|||0|6|ROWID"}));
    EXPECT_EQ(rows(QStringLiteral("SELECT USER_NAME, DATABASE_NAME FROM QN_DBPRV WHERE DATABASE_NAME IN ('D1', 'E1') "
                                  "ORDER BY 1"),
                   kDs),
              (QStringList{"U1|E1", "U2|E1"}));
    // U3 holds no database privilege on D1: its table privilege keeps the old database name.
    EXPECT_EQ(rows(QStringLiteral("SELECT DATABASE_NAME, TABLE_NAME, USER_NAME FROM QN_TBLPRV ORDER BY 1, 2, 3"), kDs),
              (QStringList{"D1|GONE|U3", "D9|T9|U1", "E1|GONE|U1", "E1|T1|U1", "E1|T1|U2"}));
    EXPECT_EQ(frmQNErr::Trace(), QStringList{kEditor});
}

TEST_F(ModUpdateTest, UpdateTableMovesItsColumnsAndPrivilegesAndNamesItselfInDisplayName)
{
    EXPECT_TRUE(UpdateTable(kDs, QStringLiteral("D1"), QStringLiteral("D1"), QStringLiteral("T1"),
                            QStringLiteral("T2")));
    const QStringList w = writes(); // the table, three columns, two table privileges
    ASSERT_EQ(w.size(), 12);
    EXPECT_EQ(w[1], QStringLiteral("INSERT INTO QN_TABLE (DATABASE_NAME, TABLE_NAME, TABLE_TYPE, FILE_NAME, "
                                   "FILE_SPECIFICATION, NUMBER_COLUMNS, CRITERIA, REMARKS, DISPLAY_NAME) VALUES ('D1', "
                                   "'T2', 'TABLE', 'F1', 'T1.DAT', 03, 'D1_T1.A = ''x'' ', 'rem', 'T2')"));
    EXPECT_EQ(rows(QStringLiteral("SELECT TABLE_NAME, COUNT(*) FROM QN_COLUMN WHERE DATABASE_NAME = 'D1' GROUP BY 1"),
                   kDs),
              QStringList{"T2|3"});
    EXPECT_EQ(rows(QStringLiteral("SELECT TABLE_NAME, USER_NAME FROM QN_TBLPRV WHERE DATABASE_NAME = 'D1' ORDER BY 1, "
                                  "2"),
                   kDs),
              (QStringList{"GONE|U1", "GONE|U3", "T2|U1", "T2|U2"}));
}

TEST_F(ModUpdateTest, UpdateColumnTakesNumberTypeAndFieldFromItsArguments)
{
    EXPECT_TRUE(UpdateColumn(kDs, QStringLiteral("D1"), QStringLiteral("D1"), QStringLiteral("T1"),
                             QStringLiteral("T1"), QStringLiteral("CB"), QStringLiteral("CB"), 3, -3,
                             QStringLiteral("B'2")));
    expectStatements(
        LastStatements(),
        {
            "SELECT * FROM QN_COLUMN WHERE DATABASE_NAME = 'D1' AND TABLE_NAME = 'T1' AND COLUMN_NAME = 'CB'",
            "DELETE FROM QN_COLUMN WHERE DATABASE_NAME = 'D1' AND TABLE_NAME = 'T1' AND COLUMN_NAME = 'CB'",
            "INSERT INTO QN_COLUMN (DATABASE_NAME, TABLE_NAME, COLUMN_NUMBER, COLUMN_NAME, FIELD_NAME, SQL_TYPE_NAME, "
            "LENGTH, PRECISION, SCALE, NULLABLE, UNSIGNED_ATTRIBUTE, UPDATABLE, VISIBLE, MONEY, AUTO_INCREMENT, "
            "CASE_SENSITIVE, SEARCHABLE, RADIX, DEFAULT_VALUE, REMARKS, SETFILEPARAMETER, COLUMN_TYPE, DISPLAY_NAME) "
            "VALUES ('D1', 'T1', 0-3, 'CB', 'B''2', 'INTEGER', 4, 10, -2, 1, 0, 1, 1, 0, 0, 0, 2, 12, '0', 'r''c', 0, "
            "3, 'CB')",
        });
    EXPECT_EQ(rows(QStringLiteral("SELECT COLUMN_NUMBER, FIELD_NAME, COLUMN_TYPE, DISPLAY_NAME FROM QN_COLUMN WHERE "
                                  "COLUMN_NAME = 'CB'"),
                   kDs),
              QStringList{"-3|B'2|3|CB"});
}

// ------------------------------------------------------------------ users and privileges

TEST_F(ModUpdateTest, UpdateUserEmptiesThePasswordAndMovesItsPrivilegesThroughItsDatabasePrivileges)
{
    EXPECT_TRUE(UpdateUser(kDs, QStringLiteral("U1"), QStringLiteral("V1")));
    const QString dbprv = QStringLiteral(
        "INSERT INTO QN_DBPRV (USER_NAME, DATABASE_NAME, DATABASE_USERNAME, DATABASE_PASSWORD, ALLOW_SELECT, "
        "ALLOW_INSERT, ALLOW_UPDATE, ALLOW_DELETE, SECURITY_LEVEL, REMARKS) VALUES (%1)");
    const QString tblprv = QStringLiteral("INSERT INTO QN_TBLPRV (DATABASE_NAME, TABLE_NAME, USER_NAME, ALLOW_SELECT, "
                                          "ALLOW_INSERT, ALLOW_UPDATE, ALLOW_DELETE, REMARKS) VALUES (%1)");
    expectStatements(
        LastStatements(),
        {
            "SELECT * FROM QN_USER WHERE USER_NAME = 'U1'",
            "DELETE FROM QN_USER WHERE USER_NAME = 'U1'",
            "INSERT INTO QN_USER (USER_NAME, USER_PASSWORD, REMARKS) VALUES ('V1', '', 'first user')",
            "SELECT DATABASE_NAME FROM QN_DBPRV WHERE USER_NAME = 'U1'",
            "SELECT * FROM QN_DBPRV WHERE DATABASE_NAME = 'D1' AND USER_NAME = 'U1' ",
            "DELETE FROM QN_DBPRV WHERE DATABASE_NAME = 'D1' AND USER_NAME = 'U1' ",
            dbprv.arg("'V1', 'D1', 'dbu', 'dbp', 01, 01, 00, 00, 'TABLE', ''"),
            "SELECT TABLE_NAME FROM QN_TBLPRV WHERE DATABASE_NAME = 'D1' AND USER_NAME = 'U1'",
            "SELECT * FROM QN_TBLPRV WHERE USER_NAME = 'U1' AND DATABASE_NAME = 'D1' AND TABLE_NAME = 'GONE'",
            "DELETE FROM QN_TBLPRV WHERE USER_NAME = 'U1' AND DATABASE_NAME = 'D1' AND TABLE_NAME = 'GONE'",
            tblprv.arg("'D1', 'GONE', 'V1', 01, 0-3, 00, 00, ''"),
            "SELECT * FROM QN_TBLPRV WHERE USER_NAME = 'U1' AND DATABASE_NAME = 'D1' AND TABLE_NAME = 'T1'",
            "DELETE FROM QN_TBLPRV WHERE USER_NAME = 'U1' AND DATABASE_NAME = 'D1' AND TABLE_NAME = 'T1'",
            tblprv.arg("'D1', 'T1', 'V1', 01, 00, 01, 00, 'tp'"),
            "SELECT * FROM QN_DBPRV WHERE DATABASE_NAME = 'D2' AND USER_NAME = 'U1' ",
            "DELETE FROM QN_DBPRV WHERE DATABASE_NAME = 'D2' AND USER_NAME = 'U1' ",
            dbprv.arg("'V1', 'D2', '', '', 01, 00, 00, 00, 'DATABASE', 'r2'"),
            "SELECT TABLE_NAME FROM QN_TBLPRV WHERE DATABASE_NAME = 'D2' AND USER_NAME = 'U1'",
        });
    EXPECT_EQ(rows(QStringLiteral("SELECT * FROM QN_USER WHERE USER_NAME IN ('U1', 'V1')"), kDs),
              QStringList{"V1||first user"});
    EXPECT_EQ(scalar(QStringLiteral("SELECT COUNT(*) FROM QN_USER WHERE USER_NAME = 'V1' AND USER_PASSWORD = ''"), kDs)
                  .toInt(),
              1);
    EXPECT_EQ(rows(QStringLiteral("SELECT * FROM QN_DBPRV WHERE USER_NAME IN ('U1', 'V1') ORDER BY 2"), kDs),
              (QStringList{"V1|D1|dbu|dbp|1|1|0|0|TABLE|", "V1|D2|||1|0|0|0|DATABASE|r2"}));
    // The table privilege in D9, where U1 holds no database privilege, keeps the old name.
    EXPECT_EQ(rows(QStringLiteral("SELECT DATABASE_NAME, TABLE_NAME, USER_NAME FROM QN_TBLPRV WHERE USER_NAME IN "
                                  "('U1', 'V1') ORDER BY 1, 2"),
                   kDs),
              (QStringList{"D1|GONE|V1", "D1|T1|V1", "D9|T9|U1"}));
}

TEST_F(ModUpdateTest, UpdateDBPRVMovesOnlyThatUsersTablePrivilegesInThatDatabase)
{
    EXPECT_TRUE(UpdateDBPRV(kDs, QStringLiteral("D1"), QStringLiteral("D1"), QStringLiteral("U1"),
                            QStringLiteral("U4")));
    EXPECT_EQ(writes().size(), 6);
    EXPECT_EQ(rows(QStringLiteral("SELECT * FROM QN_DBPRV WHERE USER_NAME IN ('U1', 'U4') ORDER BY 1, 2"), kDs),
              (QStringList{"U1|D2|||1|0|0|0|DATABASE|r2", "U4|D1|dbu|dbp|1|1|0|0|TABLE|"}));
    // Other users' privileges on the same tables, and U1's in other databases, stay.
    EXPECT_EQ(rows(QStringLiteral("SELECT DATABASE_NAME, TABLE_NAME, USER_NAME FROM QN_TBLPRV ORDER BY 1, 2, 3"), kDs),
              (QStringList{"D1|GONE|U3", "D1|GONE|U4", "D1|T1|U2", "D1|T1|U4", "D9|T9|U1"}));
}

TEST_F(ModUpdateTest, UpdateTBLPRVRewritesOneRow)
{
    EXPECT_TRUE(UpdateTBLPRV(kDs, QStringLiteral("D1"), QStringLiteral("D1"), QStringLiteral("T1"),
                             QStringLiteral("T1"), QStringLiteral("U2"), QStringLiteral("U3")));
    expectStatements(LastStatements(),
                     {
                         "SELECT * FROM QN_TBLPRV WHERE USER_NAME = 'U2' AND DATABASE_NAME = 'D1' AND TABLE_NAME = 'T1'",
                         "DELETE FROM QN_TBLPRV WHERE USER_NAME = 'U2' AND DATABASE_NAME = 'D1' AND TABLE_NAME = 'T1'",
                         "INSERT INTO QN_TBLPRV (DATABASE_NAME, TABLE_NAME, USER_NAME, ALLOW_SELECT, ALLOW_INSERT, "
                         "ALLOW_UPDATE, ALLOW_DELETE, REMARKS) VALUES ('D1', 'T1', 'U3', 01, 00, 00, 00, '')",
                     });
    EXPECT_EQ(rows(QStringLiteral("SELECT USER_NAME FROM QN_TBLPRV WHERE DATABASE_NAME = 'D1' AND TABLE_NAME = 'T1' "
                                  "ORDER BY 1"),
                   kDs),
              (QStringList{"U1", "U3"}));
}

TEST_F(ModUpdateTest, NamesWithApostrophesAreDoubledInConditionsAndValues)
{
    EXPECT_TRUE(UpdateUser(kDs, QStringLiteral("U2"), QStringLiteral("O'Brien")));
    EXPECT_TRUE(UpdateUser(kDs, QStringLiteral("O'Brien"), QStringLiteral("O'Neil")));
    const QStringList s = LastStatements();
    ASSERT_GE(s.size(), 3);
    EXPECT_EQ(s[0], QStringLiteral("SELECT * FROM QN_USER WHERE USER_NAME = 'O''Brien'"));
    EXPECT_EQ(s[1], QStringLiteral("DELETE FROM QN_USER WHERE USER_NAME = 'O''Brien'"));
    EXPECT_EQ(s[2], QStringLiteral("INSERT INTO QN_USER (USER_NAME, USER_PASSWORD, REMARKS) VALUES ('O''Neil', '', "
                                   "'')"));
    EXPECT_EQ(rows(QStringLiteral("SELECT USER_NAME, DATABASE_NAME FROM QN_DBPRV WHERE USER_NAME LIKE 'O%'"), kDs),
              QStringList{"O'Neil|D1"});
    EXPECT_EQ(rows(QStringLiteral("SELECT USER_NAME FROM QN_TBLPRV WHERE TABLE_NAME = 'T1' ORDER BY 1"), kDs),
              (QStringList{"O'Neil", "U1"}));
}

// ------------------------------------------------------------------ the demo catalog

TEST_F(ModUpdateTest, RenamingADemoDatabaseCarriesTheNewNameIntoEveryDependentRow)
{
    const QString ds = QStringLiteral("QnTest");
    auto dump = [&](const QString &db) {
        QStringList all;
        for (const char *sql :
             {"SELECT TABLE_NAME, TABLE_TYPE, FILE_NAME, FILE_SPECIFICATION, NUMBER_COLUMNS, CRITERIA, REMARKS FROM "
              "QN_TABLE WHERE DATABASE_NAME = '%1' ORDER BY 1",
              "SELECT TABLE_NAME, COLUMN_NUMBER, COLUMN_NAME, FIELD_NAME, SQL_TYPE_NAME, LENGTH, PRECISION, SCALE, "
              "NULLABLE, UNSIGNED_ATTRIBUTE, UPDATABLE, VISIBLE, MONEY, AUTO_INCREMENT, CASE_SENSITIVE, SEARCHABLE, "
              "RADIX, DEFAULT_VALUE, REMARKS, SETFILEPARAMETER, COLUMN_TYPE, DISPLAY_NAME FROM QN_COLUMN WHERE "
              "DATABASE_NAME = '%1' ORDER BY 1, 3",
              "SELECT USER_NAME, DATABASE_USERNAME, DATABASE_PASSWORD, ALLOW_SELECT, ALLOW_INSERT, ALLOW_UPDATE, "
              "ALLOW_DELETE, SECURITY_LEVEL, REMARKS FROM QN_DBPRV WHERE DATABASE_NAME = '%1' ORDER BY 1",
              "SELECT TABLE_NAME, USER_NAME, ALLOW_SELECT, ALLOW_INSERT, ALLOW_UPDATE, ALLOW_DELETE, REMARKS FROM "
              "QN_TBLPRV WHERE DATABASE_NAME = '%1' ORDER BY 1, 2"})
            all << rows(QString::fromLatin1(sql).arg(db), ds);
        return all;
    };
    const QStringList before = dump(QStringLiteral("SALES"));
    ASSERT_GT(before.size(), 40);
    EXPECT_TRUE(UpdateDatabase(ds, QStringLiteral("SALES"), QStringLiteral("SHOP")));
    EXPECT_EQ(dump(QStringLiteral("SHOP")), before);
    EXPECT_TRUE(dump(QStringLiteral("SALES")).isEmpty());
    EXPECT_EQ(rows(QStringLiteral("SELECT DATABASE_NAME, DISPLAY_NAME FROM QN_DB ORDER BY 1"), ds),
              (QStringList{"QN|QN", "SHOP|SHOP", "STOCK|Stock"}));
    // Every table is named in its DISPLAY_NAME now.
    EXPECT_EQ(scalar(QStringLiteral("SELECT COUNT(*) FROM QN_TABLE WHERE DATABASE_NAME = 'SHOP' AND DISPLAY_NAME <> "
                                    "TABLE_NAME"),
                     ds)
                  .toInt(),
              0);
    EXPECT_EQ(frmQNErr::Trace(), QStringList{kEditor});
}

TEST_F(ModUpdateTest, RenamingADemoFileMovesItsTablesInEveryDatabaseAndItsFields)
{
    const QString ds = QStringLiteral("QnTest");
    const QStringList fields =
        rows(QStringLiteral("SELECT FIELD_NUMBER, FIELD_NAME, LOCAL_TYPE_NAME, OFFSET, LENGTH, PRECISION, SCALE, "
                            "ENCRYPTED, FORMAT, DEFAULT_VALUE, REMARKS FROM QN_FIELD WHERE FILE_NAME = '%1' ORDER BY 1")
                 .arg(QLatin1String("ORDERS")),
             ds);
    EXPECT_TRUE(UpdateFile(ds, QStringLiteral("ORDERS"), QStringLiteral("ORDHEAD")));
    EXPECT_EQ(rows(QStringLiteral("SELECT FIELD_NUMBER, FIELD_NAME, LOCAL_TYPE_NAME, OFFSET, LENGTH, PRECISION, SCALE, "
                                  "ENCRYPTED, FORMAT, DEFAULT_VALUE, REMARKS FROM QN_FIELD WHERE FILE_NAME = 'ORDHEAD' "
                                  "ORDER BY 1"),
                   ds),
              fields);
    EXPECT_EQ(rows(QStringLiteral("SELECT TABLE_NAME FROM QN_TABLE WHERE FILE_NAME = 'ORDHEAD' ORDER BY 1"), ds),
              (QStringList{"OPEN_ORDERS", "ORDERS"}));
    EXPECT_EQ(scalar(QStringLiteral("SELECT COUNT(*) FROM QN_FIELD WHERE FILE_NAME = 'ORDERS'"), ds).toInt(), 0);
}

// ------------------------------------------------------------------ failed renames

namespace {

struct FailingRename
{
    const char *name;
    std::function<bool()> run;
    const char *pushed;  // the writer's trace name
    const char *handler; // the name it passes to the error dialog
    int breaks;          // line breaks between its statements
};

QList<FailingRename> takenKeys()
{
    const QString ds = kDs;
    auto s = [](const char *t) { return QString::fromLatin1(t); };
    return {
        {"file", [=] { return UpdateFile(ds, s("F1"), s("OTHER")); }, "modUpdate.UpdateFile", "modUpdate.UpdateFile", 1},
        {"field", [=] { return UpdateField(ds, s("F1"), s("F1"), s("A"), s("B"), 0); }, "modUpdate.UpdateField",
         "modUpdate.UpdateField", 2},
        {"database", [=] { return UpdateDatabase(ds, s("D1"), s("D2")); }, "modUpdate.UpdateDatabase",
         "modUpdate.UpdateDB", 1},
        {"table", [=] { return UpdateTable(ds, s("D1"), s("D2"), s("T1"), s("T1")); }, "modUpdate.UpdateTable",
         "modUpdate.UpdateTable", 1},
        {"column", [=] { return UpdateColumn(ds, s("D1"), s("D1"), s("T1"), s("T1"), s("CA"), s("CB"), 0, 1, s("A")); },
         "modUpdate.UpdateColumn", "modUpdate.UpdateColumn", 1},
        {"user", [=] { return UpdateUser(ds, s("U1"), s("U2")); }, "modUpdate.UpdateUser", "modUpdate.UpdateUser", 1},
        {"database privilege", [=] { return UpdateDBPRV(ds, s("D1"), s("D1"), s("U1"), s("U2")); },
         "modUpdate.UpdateDBPRV", "modUpdate.UpdateDB", 1},
        {"table privilege", [=] { return UpdateTBLPRV(ds, s("D1"), s("D1"), s("T1"), s("T1"), s("U1"), s("U2")); },
         "modUpdate.UpdateTBLPRV", "modUpdate.UpdateTBLPRV", 1},
    };
}

} // namespace

TEST_F(ModUpdateTest, ANewKeyThatIsTakenRollsBackBeforeTheDialogAndLeavesTheCatalogAsItWas)
{
    const QStringList before = catalog();
    for (const FailingRename &f : takenKeys()) {
        SCOPED_TRACE(f.name);
        ui().clear();
        QStringList duringDialog;
        ui().onError([&](QDialog &) {
            duringDialog = catalog(); // already rolled back
            return int(ui::vbIgnore);
        });
        EXPECT_FALSE(f.run());
        EXPECT_EQ(duringDialog, before);
        EXPECT_EQ(catalog(), before);
        const QStringList s = LastStatements();
        ASSERT_EQ(s.size(), 3); // the query, the DELETE, the refused INSERT
        EXPECT_TRUE(s[1].startsWith(QLatin1String("DELETE FROM ")));
        EXPECT_TRUE(s[2].startsWith(QLatin1String("INSERT INTO ")));
        ASSERT_EQ(ui().errors().size(), 1);
        const auto &e = ui().errors().first();
        EXPECT_EQ(e.number, QStringLiteral("ODBC Error"));
        EXPECT_TRUE(e.description.contains(QLatin1String("UNIQUE constraint failed"))) << e.description.toStdString();
        EXPECT_EQ(e.trappedIn, QString::fromLatin1(f.handler));
        EXPECT_EQ(e.callStack, (QStringList{QString::fromLatin1(f.pushed), kEditor}));
        const QString breaks = QStringLiteral("\r\n").repeated(f.breaks);
        // The password values written (U2's emptied one, the database password 'dbp') are shown masked.
        const QString shownInsert = QString(s[2])
                                        .replace(QStringLiteral("('U2', '', "), QStringLiteral("('U2', '****', "))
                                        .replace(QStringLiteral("'dbp'"), QStringLiteral("'****'"));
        EXPECT_EQ(e.additionalInfo, shownText(modDatabase::FormatSQL(s[0] + breaks + shownInsert + breaks + s[1])));
        EXPECT_FALSE(e.additionalInfo.contains(QLatin1String("dbp")));
        EXPECT_EQ(frmQNErr::Trace(), QStringList{kEditor});
    }
}

TEST_F(ModUpdateTest, WithoutTransactionsATakenKeyIsRefusedBeforeAnythingIsWritten)
{
    dao::IgnoreTransactionSupport(true);
    const QStringList before = catalog();
    for (const FailingRename &f : takenKeys()) {
        SCOPED_TRACE(f.name);
        ui().clear();
        ui().answerError(ui::vbIgnore);
        EXPECT_FALSE(f.run());
        EXPECT_EQ(catalog(), before);
        const QStringList s = LastStatements();
        ASSERT_EQ(s.size(), 2); // the query and the check of the new key; nothing written
        EXPECT_TRUE(s[1].startsWith(QLatin1String("SELECT * FROM ")));
        ASSERT_EQ(ui().errors().size(), 1);
        const auto &e = ui().errors().first();
        EXPECT_EQ(e.number, QStringLiteral("3022"));
        EXPECT_EQ(e.trappedIn, QString::fromLatin1(f.handler));
        EXPECT_EQ(e.callStack, (QStringList{QString::fromLatin1(f.pushed), kEditor}));
        EXPECT_TRUE(e.additionalInfo.startsWith(shownText(s[0])));
        EXPECT_EQ(frmQNErr::Trace(), QStringList{kEditor});
    }
    // Renames to free keys still run, statement by statement.
    EXPECT_TRUE(UpdateUser(kDs, QStringLiteral("U1"), QStringLiteral("V1")));
    EXPECT_EQ(LastStatements()[1], QStringLiteral("SELECT * FROM QN_USER WHERE USER_NAME = 'V1'"));
    EXPECT_EQ(rows(QStringLiteral("SELECT USER_NAME FROM QN_DBPRV WHERE USER_NAME IN ('U1', 'V1')"), kDs),
              (QStringList{"V1", "V1"}));
}

TEST_F(ModUpdateTest, WithoutTransactionsANullKeyPartReadsAsZeroSoTheCascadeCompletes)
{
    // Nothing could be undone after the parent row moved: no child may stay behind under the old key.
    dao::IgnoreTransactionSupport(true);
    exec(QStringLiteral("UPDATE QN_FIELD SET OFFSET = NULL WHERE FILE_NAME = 'F1' AND FIELD_NAME = 'B'"));
    exec(QStringLiteral("UPDATE QN_COLUMN SET COLUMN_TYPE = NULL WHERE COLUMN_NAME = 'CB'"));
    EXPECT_TRUE(UpdateFile(kDs, QStringLiteral("F1"), QStringLiteral("G1")));
    EXPECT_EQ(rows(QStringLiteral("SELECT FILE_NAME, FIELD_NAME, OFFSET FROM QN_FIELD WHERE FILE_NAME IN ('F1', 'G1') "
                                  "ORDER BY 2"),
                   kDs),
              (QStringList{"G1|A|0", "G1|B|0"}));
    EXPECT_TRUE(UpdateTable(kDs, QStringLiteral("D1"), QStringLiteral("D1"), QStringLiteral("T1"),
                            QStringLiteral("T2")));
    EXPECT_EQ(rows(QStringLiteral("SELECT TABLE_NAME, COLUMN_NAME, COLUMN_TYPE FROM QN_COLUMN WHERE DATABASE_NAME = "
                                  "'D1' ORDER BY 2"),
                   kDs),
              (QStringList{"T2|CA|0", "T2|CB|0", "T2|ROWID|6"}));
    EXPECT_TRUE(ui().errors().isEmpty());
}

TEST_F(ModUpdateTest, AFailureDeepInACascadeIsReportedByItsWriterAndUndoesTheWholeRename)
{
    // A table privilege already under the new database name makes the cascade fail in UpdateTBLPRV.
    exec(QStringLiteral("INSERT INTO QN_TBLPRV VALUES ('E1', 'T1', 'U2', 0, 0, 0, 0, 'in the way')"));
    const QStringList before = catalog();
    ui().answerError(ui::vbIgnore);
    EXPECT_FALSE(UpdateDatabase(kDs, QStringLiteral("D1"), QStringLiteral("E1")));
    EXPECT_EQ(catalog(), before);
    ASSERT_EQ(ui().errors().size(), 1);
    const auto &e = ui().errors().first();
    EXPECT_EQ(e.trappedIn, QStringLiteral("modUpdate.UpdateTBLPRV"));
    EXPECT_EQ(e.callStack, (QStringList{"modUpdate.UpdateTBLPRV", "modUpdate.UpdateTable", "modUpdate.UpdateDatabase",
                                        kEditor}));
    EXPECT_EQ(e.additionalInfo,
              shownText(modDatabase::FormatSQL(
                  QStringLiteral("SELECT * FROM QN_TBLPRV WHERE USER_NAME = 'U2' AND DATABASE_NAME = 'D1' AND "
                                 "TABLE_NAME = 'T1'\r\nINSERT INTO QN_TBLPRV (DATABASE_NAME, TABLE_NAME, USER_NAME, "
                                 "ALLOW_SELECT, ALLOW_INSERT, ALLOW_UPDATE, ALLOW_DELETE, REMARKS) VALUES ('E1', "
                                 "'T1', 'U2', 01, 00, 00, 00, '')\r\nDELETE FROM QN_TBLPRV WHERE USER_NAME = 'U2' AND "
                                 "DATABASE_NAME = 'D1' AND TABLE_NAME = 'T1'"))));
    EXPECT_EQ(frmQNErr::Trace(), QStringList{kEditor});
}

TEST_F(ModUpdateTest, RetryRunsTheWholeRenameAgain)
{
    exec(QStringLiteral("INSERT INTO QN_TBLPRV VALUES ('E1', 'T1', 'U2', 0, 0, 0, 0, 'in the way')"));
    ui().onError([&](QDialog &) {
        exec(QStringLiteral("DELETE FROM QN_TBLPRV WHERE DATABASE_NAME = 'E1'"));
        return int(ui::vbRetry);
    });
    EXPECT_TRUE(UpdateDatabase(kDs, QStringLiteral("D1"), QStringLiteral("E1")));
    EXPECT_EQ(ui().errors().size(), 1);
    EXPECT_EQ(LastStatements().first(), QStringLiteral("SELECT * FROM QN_DB WHERE DATABASE_NAME = 'D1' "));
    EXPECT_EQ(LastStatements().size(), 36);
    EXPECT_EQ(rows(QStringLiteral("SELECT DATABASE_NAME, TABLE_NAME, USER_NAME FROM QN_TBLPRV ORDER BY 1, 2, 3"), kDs),
              (QStringList{"D1|GONE|U3", "D9|T9|U1", "E1|GONE|U1", "E1|T1|U1", "E1|T1|U2"}));
    EXPECT_EQ(frmQNErr::Trace(), QStringList{kEditor});
}

TEST_F(ModUpdateTest, AbortEndsTheProgramWithTheRenameUndone)
{
    const QStringList before = catalog();
    ui().answerError(ui::vbAbort);
    EXPECT_THROW(UpdateUser(kDs, QStringLiteral("U1"), QStringLiteral("U2")), ProgramEnded);
    EXPECT_EQ(catalog(), before);
}

TEST_F(ModUpdateTest, NoRowUnderTheOldKeyFailsBeforeAnythingIsWritten)
{
    const QStringList before = catalog();
    ui().answerError(ui::vbIgnore);
    EXPECT_FALSE(UpdateUser(kDs, QStringLiteral("NOBODY"), QStringLiteral("X")));
    EXPECT_EQ(catalog(), before);
    EXPECT_EQ(LastStatements(), QStringList{"SELECT * FROM QN_USER WHERE USER_NAME = 'NOBODY'"});
    ASSERT_EQ(ui().errors().size(), 1);
    const auto &e = ui().errors().first();
    EXPECT_EQ(e.number, QStringLiteral("3021"));
    EXPECT_EQ(e.description, QStringLiteral("No current record."));
    EXPECT_EQ(e.trappedIn, QStringLiteral("modUpdate.UpdateUser"));
    EXPECT_EQ(e.additionalInfo, shownText(QStringLiteral("SELECT * FROM QN_USER WHERE USER_NAME = 'NOBODY'\r\n\r\n"
                                                         "DELETE FROM QN_USER WHERE USER_NAME = 'NOBODY'")));
}

TEST_F(ModUpdateTest, AFailureBeforeAnyStatementIsBuiltPassesOnlyTheLineBreaks)
{
    ui().answerMsgBox(ui::vbOK); // the registry's connect failure
    ui().answerError(ui::vbIgnore);
    EXPECT_FALSE(UpdateField(QStringLiteral("NoSuchSource"), QStringLiteral("F1"), QStringLiteral("F1"),
                             QStringLiteral("A"), QStringLiteral("AA"), 0));
    ui().answerMsgBox(ui::vbOK);
    ui().answerError(ui::vbIgnore);
    EXPECT_FALSE(UpdateFile(QStringLiteral("NoSuchSource"), QStringLiteral("F1"), QStringLiteral("G1")));
    ASSERT_EQ(ui().errors().size(), 2);
    EXPECT_EQ(ui().errors()[0].number, QStringLiteral("91"));
    EXPECT_EQ(ui().errors()[0].trappedIn, QStringLiteral("modUpdate.UpdateField"));
    EXPECT_EQ(ui().errors()[0].additionalInfo, shownText(QStringLiteral("\r\n\r\n\r\n\r\n")));
    EXPECT_EQ(ui().errors()[1].trappedIn, QStringLiteral("modUpdate.UpdateFile"));
    EXPECT_EQ(ui().errors()[1].additionalInfo, shownText(QStringLiteral("\r\n\r\n")));
    EXPECT_EQ(frmQNErr::Trace(), QStringList{kEditor});
}

TEST_F(ModUpdateTest, ANullOffsetOrColumnKeyPartIsReportedByTheWalkingWriterWithNothingChanged)
{
    exec(QStringLiteral("UPDATE QN_FIELD SET OFFSET = NULL WHERE FILE_NAME = 'F1' AND FIELD_NAME = 'B'"));
    exec(QStringLiteral("UPDATE QN_COLUMN SET COLUMN_TYPE = NULL WHERE COLUMN_NAME = 'CB'"));
    const QStringList before = catalog();
    ui().answerError(ui::vbIgnore);
    EXPECT_FALSE(UpdateFile(kDs, QStringLiteral("F1"), QStringLiteral("G1")));
    ui().answerError(ui::vbIgnore);
    EXPECT_FALSE(UpdateTable(kDs, QStringLiteral("D1"), QStringLiteral("D1"), QStringLiteral("T1"),
                             QStringLiteral("T2")));
    EXPECT_EQ(catalog(), before);
    ASSERT_EQ(ui().errors().size(), 2);
    const auto &file = ui().errors()[0];
    EXPECT_EQ(file.number, QStringLiteral("94"));
    EXPECT_EQ(file.trappedIn, QStringLiteral("modUpdate.UpdateFile"));
    EXPECT_EQ(file.callStack, (QStringList{"modUpdate.UpdateFile", kEditor}));
    EXPECT_TRUE(file.additionalInfo.startsWith(QStringLiteral("SELECT FIELD_NAME, OFFSET FROM QN_FIELD WHERE "
                                                              "FILE_NAME = 'F1'\nINSERT INTO QN_FILE")));
    const auto &table = ui().errors()[1];
    EXPECT_EQ(table.number, QStringLiteral("94"));
    EXPECT_EQ(table.trappedIn, QStringLiteral("modUpdate.UpdateTable"));
    EXPECT_TRUE(table.additionalInfo.startsWith(QStringLiteral("SELECT COLUMN_TYPE, COLUMN_NUMBER, COLUMN_NAME, "
                                                               "FIELD_NAME FROM QN_COLUMN")));
}

// ------------------------------------------------------------------ units of several writers

TEST_F(ModUpdateTest, RunUnitMakesSeveralWritersOneUnit)
{
    auto renumber = [&](const char *column, int number) {
        return UpdateColumn(kDs, QStringLiteral("D1"), QStringLiteral("D1"), QStringLiteral("T1"), QStringLiteral("T1"),
                            QString::fromLatin1(column), QString::fromLatin1(column), 0, number,
                            QStringLiteral("A"));
    };
    EXPECT_TRUE(RunUnit(kDs, QStringLiteral("frmReorder.cmdOK_Click"), [&] {
        renumber("CA", 2);
        renumber("CB", 1);
    }));
    EXPECT_EQ(writes().size(), 4);
    EXPECT_EQ(rows(QStringLiteral("SELECT COLUMN_NAME, COLUMN_NUMBER FROM QN_COLUMN WHERE COLUMN_NAME IN ('CA', 'CB') "
                                  "ORDER BY 1"),
                   kDs),
              (QStringList{"CA|2", "CB|1"}));

    // The second writer fails: the first one's rows are undone too.
    const QStringList before = catalog();
    ui().answerError(ui::vbIgnore);
    bool second = true;
    EXPECT_FALSE(RunUnit(kDs, QStringLiteral("frmReorder.cmdOK_Click"), [&] {
        renumber("CA", 5);
        second = UpdateColumn(kDs, QStringLiteral("D1"), QStringLiteral("D1"), QStringLiteral("T1"),
                              QStringLiteral("T1"), QStringLiteral("CB"), QStringLiteral("ROWID"), 0, 1,
                              QStringLiteral("B"));
    }));
    EXPECT_TRUE(second); // never returned: the unit ended at the failure
    EXPECT_EQ(catalog(), before);
    ASSERT_EQ(ui().errors().size(), 1);
    EXPECT_EQ(ui().errors()[0].trappedIn, QStringLiteral("modUpdate.UpdateColumn"));

    // A failure of the body's own statement is reported under the unit's name.
    ui().answerError(ui::vbIgnore);
    EXPECT_FALSE(RunUnit(kDs, QStringLiteral("frmReorder.cmdOK_Click"), [&] {
        renumber("CA", 7);
        gConnections().Item(kDs)->db->Execute(QStringLiteral("UPDATE QN_NOPE SET X = 1"));
    }));
    EXPECT_EQ(catalog(), before);
    ASSERT_EQ(ui().errors().size(), 2);
    EXPECT_EQ(ui().errors()[1].trappedIn, QStringLiteral("frmReorder.cmdOK_Click"));
    EXPECT_EQ(ui().errors()[1].number, QStringLiteral("ODBC Error"));
    EXPECT_EQ(frmQNErr::Trace(), QStringList{kEditor});

    // A data source that cannot be connected: the registry's message, no dialog.
    ui().answerMsgBox(ui::vbOK);
    bool ran = false;
    EXPECT_FALSE(RunUnit(QStringLiteral("NoSuchSource"), QStringLiteral("frmReorder.cmdOK_Click"), [&] { ran = true; }));
    EXPECT_FALSE(ran);
    EXPECT_EQ(ui().errors().size(), 2);
}

TEST_F(ModUpdateTest, TheBodysOwnStatementsAreRecordedAndNamedWhenOneFails)
{
    // Outside a unit nothing runs.
    EXPECT_EQ(failureOf([] { UnitExecute(QStringLiteral("DELETE FROM QN_TABLE")); }).Number(), qnerr::ObjectNotSet);
    const QStringList before = catalog();
    // A writer and the body's own statement, in order, in one unit.
    const QString update = QStringLiteral("UPDATE QN_TABLE SET REMARKS = 'r' WHERE DATABASE_NAME = 'D1'");
    EXPECT_TRUE(RunUnit(kDs, QStringLiteral("frmTable.tbr_ButtonClick"), [&] {
        UpdateTable(kDs, QStringLiteral("D1"), QStringLiteral("D1"), QStringLiteral("T1"), QStringLiteral("T9"));
        UnitExecute(update);
    }));
    EXPECT_EQ(LastStatements().first(),
              QStringLiteral("SELECT * FROM QN_TABLE WHERE DATABASE_NAME = 'D1' AND TABLE_NAME = 'T1'"));
    EXPECT_EQ(LastStatements().last(), update);
    // The body's statement that fails is the dialog's additional information; the writer before it is undone.
    const QStringList renamed = catalog();
    ui().answerError(ui::vbIgnore);
    const QString failing = QStringLiteral("UPDATE QN_NOPE SET X = 1");
    EXPECT_FALSE(RunUnit(kDs, QStringLiteral("frmTable.tbr_ButtonClick"), [&] {
        UpdateTable(kDs, QStringLiteral("D1"), QStringLiteral("D1"), QStringLiteral("T9"), QStringLiteral("T1"));
        UnitExecute(failing);
    }, QStringLiteral("the unit's own text")));
    EXPECT_EQ(catalog(), renamed);
    EXPECT_NE(catalog(), before);
    ASSERT_EQ(ui().errors().size(), 1);
    EXPECT_EQ(ui().errors()[0].trappedIn, QStringLiteral("frmTable.tbr_ButtonClick"));
    EXPECT_EQ(ui().errors()[0].additionalInfo, shownText(modDatabase::FormatSQL(failing)));
    EXPECT_EQ(LastStatements().last(), failing);
}

// A change that finds its row, or the parent it goes under, gone fails with
// 3021 inside its unit, and what the unit wrote before is undone.
TEST_F(ModUpdateTest, ARowGoneMeanwhileFailsTheUnit)
{
    const QStringList before = catalog();
    const QString rename = QStringLiteral("UPDATE QN_TABLE SET REMARKS = 'x' WHERE DATABASE_NAME = 'D1'");
    const QString parent = QStringLiteral("SELECT * FROM QN_DB WHERE DATABASE_NAME = 'GONE'");
    const QString update = QStringLiteral("UPDATE QN_DB SET REMARKS = 'r' WHERE DATABASE_NAME = 'GONE'");
    for (const auto &check : std::initializer_list<std::function<void()>>{[&] { UnitRequireRow(parent); },
                                                                          [&] { UnitExecuteFound(update); }}) {
        ui().answerError(ui::vbIgnore);
        EXPECT_FALSE(RunUnit(kDs, QStringLiteral("frmTable.tbr_ButtonClick"), [&] {
            UnitExecute(rename);
            check();
        }));
        ASSERT_EQ(ui().errors().size(), 1);
        EXPECT_EQ(ui().errors()[0].number, QStringLiteral("3021"));
        EXPECT_EQ(catalog(), before);
        ui().clear();
    }
    // Rows that are there pass.
    EXPECT_TRUE(RunUnit(kDs, QStringLiteral("frmTable.tbr_ButtonClick"), [&] {
        UnitRequireRow(QStringLiteral("SELECT * FROM QN_DB WHERE DATABASE_NAME = 'D1'"));
        EXPECT_EQ(UnitExecuteFound(rename), 1);
    }));
}

// A unit that must act on rows as they were read: each expected row must be
// found value for value, a Null only as a Null; anything else fails with 3021
// before the body's first write, naming the query.
TEST_F(ModUpdateTest, RowsThatChangedMeanwhileFailTheUnit)
{
    const QString users = QStringLiteral("SELECT USER_NAME, USER_PASSWORD, REMARKS FROM QN_USER");
    const QStringList columns{"USER_NAME", "USER_PASSWORD", "REMARKS"};
    const QVariantList u1{"U1", "secret", "first user"}, u2{"U2", QVariant(), QVariant()};
    const QString write = QStringLiteral("UPDATE QN_USER SET REMARKS = 'x' WHERE USER_NAME = 'U3'");
    const struct
    {
        const char *what;
        QList<QVariantList> expected;
        bool found;
    } cases[] = {
        {"as read", {u1, u2}, true},
        {"none expected", {}, true},
        {"a Null read as ''", {u1, {"U2", "", QVariant()}}, false},
        {"'' read as a Null", {{"U1", "secret", QVariant()}}, false},
        {"a value changed", {{"U1", "old", "first user"}}, false},
        {"a row gone", {u1, {"U9", QVariant(), QVariant()}}, false},
    };
    const QStringList before = catalog();
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        ui().clear();
        if (!c.found)
            ui().answerError(ui::vbIgnore);
        EXPECT_EQ(RunUnit(kDs, kEditor, [&] {
                      UnitRequireRows(users, columns, c.expected);
                      UnitExecute(write);
                  }),
                  c.found);
        if (c.found) {
            EXPECT_TRUE(ui().errors().isEmpty());
            exec(QStringLiteral("UPDATE QN_USER SET REMARKS = NULL WHERE USER_NAME = 'U3'"));
            continue;
        }
        ASSERT_EQ(ui().errors().size(), 1);
        EXPECT_EQ(ui().errors()[0].number, QStringLiteral("3021"));
        EXPECT_EQ(ui().errors()[0].additionalInfo, users);
        EXPECT_EQ(LastStatements(), QStringList{users}) << "nothing written";
        EXPECT_EQ(catalog(), before);
    }
}

// Without transactions a row a unit deleted with UnitDelete is inserted again
// when the body fails, among the inserts' DELETEs, newest first; with
// transactions the rollback keeps it and no undo runs.
TEST_F(ModUpdateTest, WithoutTransactionsADeletedRowIsPutBack)
{
    const QString del = QStringLiteral("DELETE FROM QN_USER WHERE USER_NAME = 'U1'");
    const QString putBack = QStringLiteral("INSERT INTO QN_USER VALUES ('U1', 'secret', 'first user')");
    const QString add = QStringLiteral("INSERT INTO QN_USER (USER_NAME) VALUES ('N1')");
    const QString undoAdd = QStringLiteral("DELETE FROM QN_USER WHERE USER_NAME = 'N1'");
    const QString failing = QStringLiteral("INSERT INTO QN_NOPE VALUES (1)");
    const QStringList before = catalog();
    for (const bool transactions : {true, false})
        for (const bool withInsert : {false, true}) {
            SCOPED_TRACE(std::string(transactions ? "with" : "without") + " transactions" +
                         (withInsert ? ", an insert after it" : ""));
            dao::IgnoreTransactionSupport(!transactions);
            ui().clear();
            ui().answerError(ui::vbIgnore);
            EXPECT_FALSE(RunUnit(kDs, kEditor, [&] {
                EXPECT_EQ(UnitDelete(del, {putBack}), 1);
                if (withInsert)
                    UnitInsert(add, undoAdd);
                UnitExecute(failing);
            }));
            EXPECT_EQ(catalog(), before);
            EXPECT_TRUE(LastUnitUndone());
            EXPECT_EQ(LastUnitDeletedAgain(), !transactions && withInsert) << "only inserted rows are deleted again";
            QStringList ran{del};
            if (withInsert)
                ran << add;
            ran << failing;
            if (!transactions) {
                if (withInsert)
                    ran << undoAdd;
                ran << putBack;
            }
            EXPECT_EQ(LastStatements(), ran);
        }
}

// Without transactions a unit undoes what its body wrote with the undo
// statements kept for it, last first; a write without one, or an undo that
// fails, leaves something behind, and the unit says so.
TEST_F(ModUpdateTest, WithoutTransactionsTheKeptUndoStatementsRunLastFirst)
{
    const QStringList before = catalog();
    const QString add1 = QStringLiteral("INSERT INTO QN_USER (USER_NAME) VALUES ('N1')");
    const QString add2 = QStringLiteral("INSERT INTO QN_USER (USER_NAME) VALUES ('N2')");
    const QString undo1 = QStringLiteral("DELETE FROM QN_USER WHERE USER_NAME = 'N1'");
    const QString undo2 = QStringLiteral("DELETE FROM QN_USER WHERE USER_NAME = 'N2'");
    const QString failing = QStringLiteral("INSERT INTO QN_NOPE VALUES (1)");
    auto run = [&](const std::function<void()> &extra) {
        ui().clear();
        ui().answerError(ui::vbIgnore);
        return RunUnit(kDs, QStringLiteral("frmTest.cmdOK_Click"), [&] {
            UnitInsert(add1, undo1);
            UnitInsert(add2, undo2);
            extra();
            UnitExecute(failing);
        });
    };
    for (bool transactions : {true, false}) {
        SCOPED_TRACE(transactions ? "with transactions" : "without transactions");
        dao::IgnoreTransactionSupport(!transactions);
        EXPECT_FALSE(run([] {}));
        EXPECT_EQ(catalog(), before);
        EXPECT_TRUE(LastUnitUndone());
        const QStringList written = {add1, add2, failing};
        const QStringList undone = {undo2, undo1};
        EXPECT_EQ(LastStatements(), transactions ? written : written + undone);
        ASSERT_EQ(ui().errors().size(), 1);
        EXPECT_EQ(ui().errors()[0].additionalInfo, shownText(modDatabase::FormatSQL(failing)));
    }
    // A write without an undo stays; an undo that fails leaves its row.
    const QString plain = QStringLiteral("UPDATE QN_DB SET REMARKS = 'x' WHERE DATABASE_NAME = 'D1'");
    EXPECT_FALSE(run([&] { UnitExecute(plain); }));
    EXPECT_FALSE(LastUnitUndone());
    EXPECT_EQ(scalar(QStringLiteral("SELECT COUNT(*) FROM QN_USER WHERE USER_NAME LIKE 'N_'"), kDs).toInt(), 0);
    exec(QStringLiteral("UPDATE QN_DB SET REMARKS = 'r' WHERE DATABASE_NAME = 'D1'"));
    EXPECT_EQ(catalog(), before);
    EXPECT_FALSE(run([&] { UnitInsert(QStringLiteral("UPDATE QN_DB SET REMARKS = 'y' WHERE DATABASE_NAME "
                                                            "= 'D1'"),
                                             QStringLiteral("UPDATE QN_NOPE SET X = 1")); }));
    EXPECT_FALSE(LastUnitUndone());
    EXPECT_EQ(scalar(QStringLiteral("SELECT COUNT(*) FROM QN_USER WHERE USER_NAME LIKE 'N_'"), kDs).toInt(), 0);
    // The dialog names the body's failing statement; the undo's failure follows the body's.
    ASSERT_EQ(ui().errors().size(), 1);
    EXPECT_EQ(ui().errors()[0].additionalInfo, shownText(modDatabase::FormatSQL(failing)));
    // A unit that succeeds leaves nothing to undo.
    EXPECT_TRUE(RunUnit(kDs, QStringLiteral("frmTest.cmdOK_Click"), [&] { UnitExecute(plain); }));
    EXPECT_TRUE(LastUnitUndone());
}

// ------------------------------------------------------------------ stored numbers

TEST_F(ModUpdateTest, AStoredTextThatIsNotANumberIsRefusedBeforeAnythingIsWritten)
{
    struct Case
    {
        const char *plant; // puts the text into a number column
        const char *column;
        const char *value;
        std::function<bool()> run;
        const char *routine;
    };
    const QString ds = kDs;
    auto s = [](const char *t) { return QString::fromLatin1(t); };
    const Case cases[] = {
        {"UPDATE QN_FILE SET RECORD_SIZE = '%1' WHERE FILE_NAME = 'F1'", "RECORD_SIZE", "abc",
         [=] { return UpdateFile(ds, s("F1"), s("G1")); }, "modUpdate.UpdateFile"},
        {"UPDATE QN_FIELD SET SCALE = '%1' WHERE FIELD_NAME = 'B'", "SCALE", "1, 2",
         [=] { return UpdateField(ds, s("F1"), s("F1"), s("B"), s("BB"), 4); }, "modUpdate.UpdateField"},
        {"UPDATE QN_TABLE SET NUMBER_COLUMNS = '%1' WHERE DATABASE_NAME = 'D1'", "NUMBER_COLUMNS",
         "3); DELETE FROM QN_USER; --", [=] { return UpdateTable(ds, s("D1"), s("D1"), s("T1"), s("T2")); },
         "modUpdate.UpdateTable"},
        {"UPDATE QN_COLUMN SET LENGTH = '%1' WHERE COLUMN_NAME = 'CA'", "LENGTH", "0x10",
         [=] { return UpdateColumn(ds, s("D1"), s("D1"), s("T1"), s("T1"), s("CA"), s("CA2"), 0, 1, s("A")); },
         "modUpdate.UpdateColumn"},
        {"UPDATE QN_COLUMN SET SETFILEPARAMETER = '%1' WHERE COLUMN_NAME = 'CB'", "SETFILEPARAMETER", "1 2",
         [=] { return UpdateColumn(ds, s("D1"), s("D1"), s("T1"), s("T1"), s("CB"), s("CB2"), 0, 2, s("B")); },
         "modUpdate.UpdateColumn"},
        {"UPDATE QN_DBPRV SET ALLOW_UPDATE = '%1' WHERE USER_NAME = 'U1' AND DATABASE_NAME = 'D1'", "ALLOW_UPDATE",
         "yes", [=] { return UpdateDBPRV(ds, s("D1"), s("D1"), s("U1"), s("U4")); }, "modUpdate.UpdateDB"},
        {"UPDATE QN_TBLPRV SET ALLOW_DELETE = '%1' WHERE USER_NAME = 'U2'", "ALLOW_DELETE", "12abc",
         [=] { return UpdateTBLPRV(ds, s("D1"), s("D1"), s("T1"), s("T1"), s("U2"), s("U3")); },
         "modUpdate.UpdateTBLPRV"},
    };
    connectFast();
    const QStringList saved = saveCatalog();
    for (bool transactions : {true, false}) {
        dao::IgnoreTransactionSupport(!transactions);
        for (const Case &c : cases) {
            SCOPED_TRACE(testing::Message() << c.column << (transactions ? "" : " without transactions"));
            restoreCatalog(saved);
            exec(QString::fromLatin1(c.plant).arg(modDatabase::EscapeQuotes(QString::fromLatin1(c.value))));
            const QStringList before = catalog();
            ui().clear();
            ui().answerError(ui::vbIgnore);
            EXPECT_FALSE(c.run());
            EXPECT_EQ(catalog(), before);
            ASSERT_EQ(LastStatements().size(), 1); // the query of the old row, nothing after it
            EXPECT_TRUE(LastStatements()[0].startsWith(QLatin1String("SELECT * FROM ")));
            ASSERT_EQ(ui().errors().size(), 1);
            const auto &e = ui().errors()[0];
            EXPECT_EQ(e.number, QStringLiteral("380"));
            EXPECT_EQ(e.description, QStringLiteral("The stored value '%1' of %2 is not a number.")
                                         .arg(QString::fromLatin1(c.value), QString::fromLatin1(c.column)));
            EXPECT_EQ(e.trappedIn, QString::fromLatin1(c.routine));
            EXPECT_EQ(frmQNErr::Trace(), QStringList{kEditor});
        }
    }
}

// ------------------------------------------------------------------ failing connections

TEST_F(ModUpdateTest, AFailedCommitClosesTheConnectionCommitsNothingAndTheNextUseConnectsAgain)
{
    const QStringList saved = saveCatalog();
    for (const char *state : {"HY000", "08S01"}) {
        SCOPED_TRACE(state);
        restoreCatalog(saved);
        ui().clear();
        const auto connection = gConnections().Item(kDs);
        const QStringList before = catalog();
        dao::Faults::Add(dao::Faults::Commit, 1, QString::fromLatin1(state), QStringLiteral("commit refused"));
        ui().answerError(ui::vbIgnore);
        EXPECT_FALSE(UpdateDatabase(kDs, QStringLiteral("D1"), QStringLiteral("E1")));
        EXPECT_EQ(dao::Faults::Pending(), 0);
        EXPECT_EQ(catalog(), before); // nothing half-committed
        EXPECT_FALSE(connection->db->IsOpen());
        EXPECT_EQ(gConnections().Count(), 0);
        ASSERT_EQ(ui().errors().size(), 1);
        const auto &e = ui().errors()[0];
        EXPECT_EQ(e.number, QStringLiteral("ODBC Error"));
        EXPECT_TRUE(e.description.contains(QLatin1String("commit refused"))) << e.description.toStdString();
        EXPECT_TRUE(e.description.contains(QLatin1String(
            "The connection to QnTest2 was closed, so the data source rolls back what it had not committed.")));
        EXPECT_EQ(e.trappedIn, QStringLiteral("modUpdate.UpdateDB"));
        EXPECT_EQ(e.callStack, QStringList{kEditor});

        // The next use connects again.
        EXPECT_TRUE(UpdateDatabase(kDs, QStringLiteral("D1"), QStringLiteral("E1")));
        EXPECT_NE(gConnections().Item(kDs), connection);
        EXPECT_EQ(rows(QStringLiteral("SELECT DATABASE_NAME FROM QN_DB WHERE DATABASE_NAME IN ('D1', 'E1')"), kDs),
                  QStringList{"E1"});
        EXPECT_EQ(frmQNErr::Trace(), QStringList{kEditor});
    }
}

TEST_F(ModUpdateTest, RetryAfterALostConnectionRunsTheRenameAgainOnANewConnection)
{
    const auto connection = gConnections().Item(kDs);
    dao::Faults::Add(dao::Faults::Statement, 5, QStringLiteral("08S01")); // inside the privilege cascade
    ui().answerError(ui::vbRetry);
    EXPECT_TRUE(UpdateUser(kDs, QStringLiteral("U1"), QStringLiteral("V1")));
    EXPECT_FALSE(connection->db->IsOpen());
    EXPECT_NE(gConnections().Item(kDs), connection);
    ASSERT_EQ(ui().errors().size(), 1);
    EXPECT_TRUE(ui().errors()[0].description.contains(QLatin1String("Injected fault (SQLSTATE 08S01)")));
    EXPECT_TRUE(ui().errors()[0].description.contains(QLatin1String("The connection to QnTest2 was closed")));
    EXPECT_EQ(rows(QStringLiteral("SELECT USER_NAME FROM QN_USER WHERE USER_NAME IN ('U1', 'V1')"), kDs),
              QStringList{"V1"});
    EXPECT_EQ(rows(QStringLiteral("SELECT USER_NAME, DATABASE_NAME FROM QN_DBPRV WHERE USER_NAME IN ('U1', 'V1') "
                                  "ORDER BY 2"),
                   kDs),
              (QStringList{"V1|D1", "V1|D2"}));
}

TEST_F(ModUpdateTest, AFailedRollbackClosesTheConnectionAndReportsBothFailures)
{
    struct Case
    {
        const char *name;
        const char *setup;
        std::function<bool()> run;
        const char *first; // what the first failure says
        const char *routine;
    } cases[] = {
        {"taken key", nullptr, [] { return UpdateUser(kDs, QStringLiteral("U1"), QStringLiteral("U2")); },
         "UNIQUE constraint failed", "modUpdate.UpdateUser"},
        {"null key part", "UPDATE QN_COLUMN SET COLUMN_TYPE = NULL WHERE COLUMN_NAME = 'CB'",
         [] { return UpdateTable(kDs, QStringLiteral("D1"), QStringLiteral("D1"), QStringLiteral("T1"),
                                 QStringLiteral("T2")); },
         "Invalid use of Null", "modUpdate.UpdateTable"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        ui().clear();
        if (c.setup)
            exec(QString::fromLatin1(c.setup));
        const auto connection = gConnections().Item(kDs);
        const QStringList before = catalog();
        dao::Faults::Add(dao::Faults::Rollback, 1, QStringLiteral("HY000"), QStringLiteral("rollback refused"));
        ui().answerError(ui::vbIgnore);
        EXPECT_FALSE(c.run());
        EXPECT_EQ(catalog(), before); // autocommit was not switched on: the writes were never committed
        EXPECT_FALSE(connection->db->IsOpen());
        EXPECT_EQ(gConnections().Count(), 0);
        ASSERT_EQ(ui().errors().size(), 1);
        const auto &e = ui().errors()[0];
        EXPECT_EQ(e.number, QStringLiteral("ODBC Error"));
        const QString description = e.description;
        const qsizetype first = description.indexOf(QLatin1String(c.first));
        const qsizetype rollback = description.indexOf(QLatin1String("rollback refused"));
        const qsizetype closed = description.indexOf(QLatin1String("The connection to QnTest2 was closed"));
        EXPECT_GE(first, 0) << description.toStdString();
        EXPECT_GT(rollback, first);
        EXPECT_GT(closed, rollback);
        EXPECT_EQ(e.trappedIn, QString::fromLatin1(c.routine));
        EXPECT_EQ(frmQNErr::Trace(), QStringList{kEditor});
    }
}

TEST_F(ModUpdateTest, WithoutTransactionsARenameThatFailsAtAnyStatementLosesNoRow)
{
    dao::IgnoreTransactionSupport(true);
    struct Rename
    {
        const char *from, *to;
        std::function<bool(const QString &, const QString &)> run;
    } renames[] = {
        {"D1", "E1", [](const QString &a, const QString &b) { return UpdateDatabase(kDs, a, b); }},
        {"F1", "G1", [](const QString &a, const QString &b) { return UpdateFile(kDs, a, b); }},
        {"U1", "V1", [](const QString &a, const QString &b) { return UpdateUser(kDs, a, b); }},
    };
    const QStringList saved = saveCatalog();
    const QSet<QString> keys = keysAs(QString(), QString());
    for (const Rename &r : renames) {
        const QString from = QString::fromLatin1(r.from), to = QString::fromLatin1(r.to);
        // The statements of the whole rename, counted on a run that succeeds.
        connectFast();
        ASSERT_TRUE(r.run(from, to));
        const qsizetype statements = LastStatements().size();
        ASSERT_GT(statements, 5);
        EXPECT_EQ(keysAs(from, to), keys);
        for (const char *state : {"HY000", "08S01"}) {
            for (int at = 1; at <= statements; ++at) {
                SCOPED_TRACE(testing::Message() << r.from << " " << state << " at statement " << at);
                restoreCatalog(saved);
                connectFast(); // connected before: only the rename's statements count
                ui().clear();
                dao::Faults::Add(dao::Faults::Statement, at, QString::fromLatin1(state));
                ui().answerError(ui::vbIgnore);
                EXPECT_FALSE(r.run(from, to));
                EXPECT_EQ(LastStatements().size(), at);
                EXPECT_EQ(keysAs(from, to), keys); // every row under its old key, its new key, or both
                EXPECT_EQ(ui().errors().size(), 1);
            }
        }
        restoreCatalog(saved);
    }
}

// Without transactions a unit that fails deletes again the rows its inserts
// wrote, newest first (on a new connection when the failure lost the old
// one), which LastUnitDeletedAgain tells. A DELETE that fails itself is passed
// over and shown with the failure; the rows are then not said to be deleted.
TEST_F(ModUpdateTest, WithoutTransactionsAFailedUnitDeletesTheRowsItInserted)
{
    dao::IgnoreTransactionSupport(true);
    const QStringList before = catalog();
    auto body = [] {
        UnitInsert(QStringLiteral("INSERT INTO QN_USER (USER_NAME) VALUES ('N1')"),
                   QStringLiteral("DELETE FROM QN_USER WHERE USER_NAME = 'N1'"));
        UnitInsert(QStringLiteral("INSERT INTO QN_USER (USER_NAME) VALUES ('N2')"),
                   QStringLiteral("DELETE FROM QN_USER WHERE USER_NAME = 'N2'"));
        UnitExecute(QStringLiteral("UPDATE QN_USER SET REMARKS = 'x' WHERE USER_NAME = 'N2'"));
    };
    for (const char *state : {"HY000", "08S01"}) {
        SCOPED_TRACE(state);
        gConnections().Item(kDs);
        dao::Faults::Add(dao::Faults::Statement, 3, QString::fromLatin1(state), QStringLiteral("refused"));
        ui().answerError(ui::vbIgnore);
        EXPECT_FALSE(RunUnit(kDs, kEditor, body));
        EXPECT_TRUE(LastUnitDeletedAgain());
        EXPECT_TRUE(LastUnitUndone());
        EXPECT_EQ(catalog(), before);
        EXPECT_EQ(LastStatements().mid(3), QStringList({"DELETE FROM QN_USER WHERE USER_NAME = 'N2'",
                                                        "DELETE FROM QN_USER WHERE USER_NAME = 'N1'"}));
        ui().clear();
    }

    // The DELETE of N2 fails as well: N1 is still deleted, both failures are shown.
    gConnections().Item(kDs);
    dao::Faults::Add(dao::Faults::Statement, 3, QStringLiteral("HY000"), QStringLiteral("the update refused"));
    dao::Faults::Add(dao::Faults::Statement, 4, QStringLiteral("HY000"), QStringLiteral("the delete refused"));
    ui().answerError(ui::vbIgnore);
    EXPECT_FALSE(RunUnit(kDs, kEditor, body));
    EXPECT_EQ(rows(QStringLiteral("SELECT USER_NAME FROM QN_USER WHERE USER_NAME LIKE 'N_'"), kDs), QStringList{"N2"});
    ASSERT_EQ(ui().errors().size(), 1);
    EXPECT_TRUE(ui().errors()[0].description.contains(QStringLiteral("the update refused")));
    EXPECT_TRUE(ui().errors()[0].description.contains(QStringLiteral("the delete refused")));
    EXPECT_FALSE(LastUnitDeletedAgain());
    EXPECT_FALSE(LastUnitUndone());

    // Inside a transaction the rollback undoes the inserts; no DELETE runs.
    exec(QStringLiteral("DELETE FROM QN_USER WHERE USER_NAME = 'N2'"));
    dao::IgnoreTransactionSupport(false);
    gConnections().Item(kDs);
    ui().clear();
    ui().answerError(ui::vbIgnore);
    dao::Faults::Add(dao::Faults::Statement, 3, QStringLiteral("HY000"));
    EXPECT_FALSE(RunUnit(kDs, kEditor, body));
    EXPECT_EQ(catalog(), before);
    EXPECT_EQ(LastStatements().size(), 3);
    EXPECT_FALSE(LastUnitDeletedAgain());
    EXPECT_TRUE(LastUnitUndone());
}

// ------------------------------------------------------------------ units and events

TEST_F(ModUpdateTest, ACatalogChangeStartedFromAnEventWhileAUnitRunsIsRefused)
{
    auto renumber = [&](const char *column, int number) {
        return UpdateColumn(kDs, QStringLiteral("D1"), QStringLiteral("D1"), QStringLiteral("T1"), QStringLiteral("T1"),
                            QString::fromLatin1(column), QString::fromLatin1(column), 0, number,
                            QStringLiteral("A"));
    };
    bool fromEvent[3] = {true, true, true};
    bool ranInside = false;
    EXPECT_TRUE(RunUnit(kDs, QStringLiteral("frmTest.cmdOK_Click"), [&] {
        EXPECT_TRUE(renumber("CA", 2));
        QMetaObject::invokeMethod(
            QCoreApplication::instance(),
            [&] {
                fromEvent[0] = UpdateUser(kDs, QStringLiteral("U1"), QStringLiteral("V1"));
                fromEvent[1] = RunUnit(kDs, QStringLiteral("frmOther.cmdOK_Click"), [&] { ranInside = true; });
                fromEvent[2] = UpdateUser(QStringLiteral("QnTest"), QStringLiteral("JSMITH"), QStringLiteral("J2"));
            },
            Qt::QueuedConnection);
        QCoreApplication::processEvents(); // the body yields, say to refresh the tree
        EXPECT_TRUE(renumber("CB", 1));    // and goes on in its own unit
    }));
    EXPECT_FALSE(fromEvent[0]);
    EXPECT_FALSE(fromEvent[1]);
    EXPECT_FALSE(fromEvent[2]);
    EXPECT_FALSE(ranInside);
    EXPECT_EQ(ui().beeps(), 3);
    EXPECT_TRUE(ui().errors().isEmpty());
    EXPECT_EQ(writes().size(), 4); // the two renumbers only
    EXPECT_EQ(rows(QStringLiteral("SELECT COLUMN_NAME, COLUMN_NUMBER FROM QN_COLUMN WHERE COLUMN_NAME IN ('CA', 'CB') "
                                  "ORDER BY 1"),
                   kDs),
              (QStringList{"CA|2", "CB|1"}));
    EXPECT_EQ(scalar(QStringLiteral("SELECT COUNT(*) FROM QN_USER WHERE USER_NAME = 'U1'"), kDs).toInt(), 1);
    EXPECT_EQ(scalar(QStringLiteral("SELECT COUNT(*) FROM QN_USER WHERE USER_NAME = 'JSMITH'")).toInt(), 1);
}

TEST_F(ModUpdateTest, AWriterOfAnotherDataSourceNeverJoinsTheUnit)
{
    auto renumber = [&](int number) {
        return UpdateColumn(kDs, QStringLiteral("D1"), QStringLiteral("D1"), QStringLiteral("T1"), QStringLiteral("T1"),
                            QStringLiteral("CA"), QStringLiteral("CA"), 0, number, QStringLiteral("A"));
    };
    const QString other = QStringLiteral("QnTest");
    // It commits on its own: the unit's failure afterwards does not undo it.
    const QStringList before = catalog();
    bool renamed = false;
    ui().answerError(ui::vbIgnore);
    EXPECT_FALSE(RunUnit(kDs, QStringLiteral("frmTest.cmdOK_Click"), [&] {
        renumber(5);
        renamed = UpdateUser(other, QStringLiteral("JSMITH"), QStringLiteral("JSMITH2"));
        gConnections().Item(kDs)->db->Execute(QStringLiteral("UPDATE QN_NOPE SET X = 1"));
    }));
    EXPECT_TRUE(renamed);
    EXPECT_EQ(catalog(), before);
    EXPECT_EQ(rows(QStringLiteral("SELECT USER_NAME FROM QN_USER WHERE USER_NAME LIKE 'JSMITH%'")),
              QStringList{"JSMITH2"});

    // Its failure is its own: reported under its name and undone alone; the unit goes on.
    ui().answerError(ui::vbIgnore);
    bool missing = true;
    EXPECT_TRUE(RunUnit(kDs, QStringLiteral("frmTest.cmdOK_Click"), [&] {
        renumber(6);
        missing = UpdateUser(other, QStringLiteral("NOBODY"), QStringLiteral("X"));
    }));
    EXPECT_FALSE(missing);
    ASSERT_EQ(ui().errors().size(), 2);
    EXPECT_EQ(ui().errors()[0].trappedIn, QStringLiteral("frmTest.cmdOK_Click"));
    EXPECT_EQ(ui().errors()[1].trappedIn, QStringLiteral("modUpdate.UpdateUser"));
    EXPECT_EQ(rows(QStringLiteral("SELECT COLUMN_NUMBER FROM QN_COLUMN WHERE COLUMN_NAME = 'CA'"), kDs),
              QStringList{"6"});
    EXPECT_EQ(frmQNErr::Trace(), QStringList{kEditor});
}

// The main window stays while a unit's error dialog is up: the unit runs until
// it returns, through every Retry, whether a writer or a body failed.
TEST_F(ModUpdateTest, AUnitRunsUntilItsErrorDialogIsAnswered)
{
    const struct
    {
        const char *name;
        std::function<bool()> run;
    } cases[] = {
        {"a rename", [] { return UpdateUser(kDs, QStringLiteral("NOBODY"), QStringLiteral("X")); }},
        {"a body",
         [] {
             return RunUnit(kDs, kEditor, [] { UnitExecute(QStringLiteral("UPDATE QN_NOPE SET X = 1")); });
         }},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        QList<bool> running;
        for (const int answer : {ui::vbRetry, ui::vbIgnore})
            ui().onError([&running, answer](QDialog &) {
                running << UnitRunning();
                return answer;
            });
        EXPECT_FALSE(UnitRunning());
        EXPECT_FALSE(c.run());
        EXPECT_EQ(running, QList<bool>({true, true}));
        EXPECT_FALSE(UnitRunning());
    }
}
