#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <sqlite3.h>

#include "datasources.h"
#include "standinfixture.h"
#include "uitest.h"

using namespace dao;

namespace {

class DaoTest : public StandinTest
{
};

// Runs `sql` on `file` through SQLite itself, returning the first column of each row.
QStringList sqliteRows(const QString &file, const char *sql)
{
    sqlite3 *db = nullptr;
    QStringList out;
    if (sqlite3_open_v2(file.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
        sqlite3_stmt *stmt = nullptr;
        if (sqlite3_prepare_v2(db, sql, -1, &stmt, nullptr) == SQLITE_OK)
            while (sqlite3_step(stmt) == SQLITE_ROW)
                out << QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(stmt, 0)));
        sqlite3_finalize(stmt);
    }
    sqlite3_close(db);
    return out;
}

} // namespace

TEST_F(DaoTest, ConnectTextOpensTheDataSourcesOwnFileAndCreatesNoDatabaseFile)
{
    const QString before = QDir::currentPath();
    auto db = workspace().OpenDatabase(QString(), 0, false, QStringLiteral("ODBC;DSN=QnTest;DATABASE=PUBS"));
    EXPECT_EQ(db->Name(), QStringLiteral("QnTest"));
    db->Execute(QStringLiteral("CREATE TABLE PROBE (NAME VARCHAR(10))"));
    db->Execute(QStringLiteral("INSERT INTO PROBE (NAME) VALUES ('here')"));
    EXPECT_EQ(sqliteRows(fileOf(QStringLiteral("QnTest")), "SELECT NAME FROM PROBE"), QStringList{"here"});

    for (const QString &folder : {before, dataFolder(), m_dir->path(), QDir::homePath()}) {
        QDirIterator it(folder, {QStringLiteral("PUBS*"), QStringLiteral("pubs*")}, QDir::Files);
        EXPECT_FALSE(it.hasNext()) << "created " << it.next().toStdString();
    }
}

TEST_F(DaoTest, FailingStatementRaises3146AndFillsTheErrorList)
{
    auto db = open();
    QnError e = failureOf([&] { db->Execute(QStringLiteral("INSERT INTO NO_SUCH_TABLE (A) VALUES (1)")); });
    EXPECT_EQ(e.Number(), 3146);
    EXPECT_EQ(e.Description(), QStringLiteral("ODBC--call failed."));
    ASSERT_GE(Errors::Count(), 2);
    EXPECT_TRUE(Errors::Item(0).Description.contains(QStringLiteral("no such table"))) << Errors::Item(0).Description.toStdString();
    EXPECT_FALSE(Errors::Item(0).SQLState.isEmpty());
    EXPECT_EQ(Errors::list().last().Number, 3146);
    EXPECT_EQ(Errors::list().last().Description, QStringLiteral("ODBC--call failed."));

    // The list belongs to the latest call only.
    db->OpenRecordset(QStringLiteral("SELECT * FROM QN_DB"));
    EXPECT_EQ(Errors::Count(), 0);
    failureOf([&] { db->OpenRecordset(QStringLiteral("SELEC nonsense")); });
    EXPECT_GE(Errors::Count(), 2);
    db->Execute(QStringLiteral("CREATE TABLE AFTER_FAILURE (A INTEGER)"));
    EXPECT_EQ(Errors::Count(), 0);
}

TEST_F(DaoTest, ConnectingToAnUnknownDataSourceFailsWithTheDriverManagersDiagnostics)
{
    QnError e = failureOf([&] { workspace().OpenDatabase(QString(), 0, false, connectText(QStringLiteral("Nowhere"))); });
    EXPECT_EQ(e.Number(), 3146);
    ASSERT_GE(Errors::Count(), 2);
    EXPECT_EQ(Errors::Item(0).SQLState, QStringLiteral("IM002"));
}

TEST_F(DaoTest, SnapshotsReportTypesAndSizesAsDeclared)
{
    auto db = open();
    db->Execute(QStringLiteral("CREATE TABLE TYPES (T18 VARCHAR(18), L INTEGER, S SMALLINT, T254 VARCHAR(254))"));
    db->Execute(QStringLiteral("INSERT INTO TYPES VALUES ('abc', 123456, -12, NULL)"));
    auto rs = db->OpenRecordset(QStringLiteral("SELECT * FROM TYPES"));
    struct Expected
    {
        const char *name;
        int type;
        long size;
        QVariant value;
    } cases[] = {
        {"T18", dbText, 18, QStringLiteral("abc")},
        {"L", dbLong, 10, 123456},
        {"S", dbInteger, 5, -12},
        {"T254", dbText, 254, QVariant()},
    };
    ASSERT_EQ(rs->GetFields().Count(), 4);
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        Field f = (*rs)(QString::fromLatin1(c.name).toLower()); // names look up case-insensitively
        EXPECT_EQ(f.Name(), QString::fromLatin1(c.name));
        EXPECT_EQ(f.Type(), c.type);
        if (c.type == dbText) {
            EXPECT_EQ(f.Size(), c.size);
        }
        EXPECT_EQ(f.Value(), c.value);
        EXPECT_EQ(f.Value().isNull(), c.value.isNull());
    }
    EXPECT_EQ(rs->Value(QStringLiteral("L")).typeId(), QMetaType::Int);
}

TEST_F(DaoTest, CatalogColumnsAreTextOfTheirSizeOrNumbers)
{
    auto rs = open()->OpenFields(QStringLiteral("SELECT * FROM QN_DB"));
    ASSERT_GT(rs->GetFields().Count(), 0);
    EXPECT_EQ(rs->RecordCount(), 0);
    Field name = (*rs)(QStringLiteral("DATABASE_NAME"));
    EXPECT_EQ(name.Type(), dbText);
    EXPECT_GT(name.Size(), 0);
    EXPECT_LT(name.Size(), 4096);
}

TEST_F(DaoTest, AValueLongerThanItsDeclaredSizeIsReadWhole)
{
    auto db = open();
    db->Execute(QStringLiteral("CREATE TABLE SHORT (A VARCHAR(4), B INTEGER)"));
    const QString longText(5000, QLatin1Char('x'));
    db->Execute(QStringLiteral("INSERT INTO SHORT VALUES ('%1', 7)").arg(longText));
    db->Execute(QStringLiteral("INSERT INTO SHORT VALUES ('ok', 8)"));
    auto rs = db->OpenRecordset(QStringLiteral("SELECT A, B FROM SHORT ORDER BY B"));
    ASSERT_EQ(rs->RecordCount(), 2);
    EXPECT_EQ(rs->Cell(0, 0).toString(), longText);
    EXPECT_EQ(rs->Cell(1, 0).toString(), QStringLiteral("ok"));
    EXPECT_EQ(rs->Cell(1, 1).toInt(), 8);
}

TEST_F(DaoTest, RecordsetNavigationAndItsFailures)
{
    auto db = open();
    db->Execute(QStringLiteral("CREATE TABLE NAV (N INTEGER)"));
    db->Execute(QStringLiteral("INSERT INTO NAV VALUES (1)"));
    db->Execute(QStringLiteral("INSERT INTO NAV VALUES (2)"));
    auto rs = db->OpenRecordset(QStringLiteral("SELECT N FROM NAV ORDER BY N"));
    EXPECT_EQ(rs->RecordCount(), 2);
    EXPECT_FALSE(rs->Eof());
    EXPECT_EQ(rs->Value(QStringLiteral("N")).toInt(), 1);
    rs->MoveNext();
    EXPECT_EQ((*rs)(0).Value().toInt(), 2);
    rs->MoveNext();
    EXPECT_TRUE(rs->Eof());
    EXPECT_EQ(failureOf([&] { rs->Value(QStringLiteral("N")); }).Number(), 3021);
    EXPECT_EQ(failureOf([&] { (*rs)(QStringLiteral("NOPE")); }).Number(), 3265);
    EXPECT_EQ(failureOf([&] { (*rs)(3); }).Number(), 9);
    rs->MoveFirst();
    EXPECT_EQ(rs->AbsolutePosition(), 0);

    auto empty = db->OpenRecordset(QStringLiteral("SELECT N FROM NAV WHERE N > 5"));
    EXPECT_TRUE(empty->Eof());
    EXPECT_TRUE(empty->Bof());
    EXPECT_EQ(failureOf([&] { empty->Value(QStringLiteral("N")); }).Number(), 3021);
}

TEST_F(DaoTest, TransactionsRollBackAndCommit)
{
    auto db = open();
    ASSERT_TRUE(db->SupportsTransactions());
    db->Execute(QStringLiteral("CREATE TABLE TX (N INTEGER)"));
    db->BeginTrans();
    db->Execute(QStringLiteral("INSERT INTO TX VALUES (1)"));
    db->Execute(QStringLiteral("INSERT INTO TX VALUES (2)"));
    db->Rollback();
    EXPECT_FALSE(db->InTransaction());
    EXPECT_EQ(scalar(QStringLiteral("SELECT COUNT(*) FROM TX")).toInt(), 0);

    db->BeginTrans();
    db->Execute(QStringLiteral("INSERT INTO TX VALUES (3)"));
    db->CommitTrans();
    db->Execute(QStringLiteral("INSERT INTO TX VALUES (4)")); // autocommit again
    EXPECT_EQ(sqliteRows(fileOf(QStringLiteral("QnTest")), "SELECT N FROM TX ORDER BY N"),
              (QStringList{"3", "4"}));
}

TEST_F(DaoTest, RecordsAffectedCountsTheRowsOfTheLastStatement)
{
    auto db = open();
    db->Execute(QStringLiteral("CREATE TABLE RA (N INTEGER)"));
    for (int i = 0; i < 3; ++i)
        db->Execute(QStringLiteral("INSERT INTO RA VALUES (%1)").arg(i));
    db->Execute(QStringLiteral("UPDATE RA SET N = N + 10 WHERE N > 0"));
    EXPECT_EQ(db->RecordsAffected(), 2);
}

TEST_F(DaoTest, DataSourceListNamesEachDriver)
{
    QMap<QString, QString> drivers;
    for (const auto &s : datasources::List())
        drivers.insert(s.name, s.driver);
    EXPECT_EQ(drivers.value(QStringLiteral("QnTest")), QStringLiteral("Quarnel ODBC"));
    EXPECT_EQ(drivers.value(QStringLiteral("QnTest2")), QStringLiteral("Quarnel ODBC"));
    EXPECT_EQ(drivers.value(QStringLiteral("Other")), QStringLiteral("SQLite3 Plain"));
    EXPECT_EQ(drivers.size(), 3);
}

TEST_F(DaoTest, DataSourceEntriesAreReadFromTheConfiguration)
{
    EXPECT_EQ(datasources::Entry(QStringLiteral("QnTest"), QStringLiteral("NoCreat")), QStringLiteral("1"));
    EXPECT_EQ(datasources::Entry(QStringLiteral("QnTest"), QStringLiteral("DefaultDatabase"), QStringLiteral("-")),
              QStringLiteral("-"));
    // A rewritten configuration is read afresh, though the driver manager keeps what it read.
    for (const char *value : {"SALES", "STOCK", ""}) {
        setDefaultDatabase(QStringLiteral("QnTest"), QString::fromLatin1(value));
        EXPECT_EQ(datasources::Entry(QStringLiteral("QnTest"), QStringLiteral("DefaultDatabase")), QString::fromLatin1(value));
    }
}

// ------------------------------------------------------------------ reading

TEST_F(DaoTest, ValuesRoundTripWholeInShortBoundAndLongColumns)
{
    auto db = open();
    // B is longer than a bound column may be; A and C, before and after it, are bound.
    db->Execute(QStringLiteral("CREATE TABLE RT (N INTEGER, A VARCHAR(10), B TEXT, C VARCHAR(4000))"));
    const QString e = QString::fromUtf8("\xc3\xa9");         // two bytes
    const QString euro = QString::fromUtf8("\xe2\x82\xac");  // three bytes
    const QString clef = QString::fromUtf8("\xf0\x9d\x84\x9e"); // four bytes
    // A read piece holds 8191 bytes: these characters straddle its end.
    const QList<QVariant> values = {
        QVariant(),
        QString(""),
        QString::fromUtf8("Gr\xc3\xbc\xc3\x9f" "e"),
        QString(9000, QLatin1Char('x')),
        QString(8190, QLatin1Char('a')) + e + QStringLiteral("tail"),
        QString(8189, QLatin1Char('a')) + euro + QStringLiteral("tail"),
        QString(8190, QLatin1Char('a')) + clef + QString(8190, QLatin1Char('b')) + clef,
        QString(3000, QChar(0x20AC)), // 9000 bytes of three-byte characters
        QStringLiteral("it's"),
    };
    auto literal = [](const QVariant &v) {
        return v.isNull() ? QStringLiteral("NULL") : QLatin1Char('\'') + v.toString().replace(QLatin1Char('\''), QStringLiteral("''")) + QLatin1Char('\'');
    };
    for (int i = 0; i < values.size(); ++i)
        db->Execute(QStringLiteral("INSERT INTO RT VALUES (%1, %2, %2, %2)").arg(i).arg(literal(values[i])));

    dao::Faults::Add(dao::Faults::Statement, 2, QStringLiteral("HY000"));
    auto rs = db->OpenRecordset(QStringLiteral("SELECT N, A, B, C FROM RT ORDER BY N"));
    EXPECT_EQ(dao::Faults::Pending(), 1) << "the statement ran again"; // a long value re-reads its cell only
    dao::Faults::Clear();
    ASSERT_EQ(rs->RecordCount(), values.size());
    for (int i = 0; i < values.size(); ++i) {
        for (int column = 1; column <= 3; ++column) {
            SCOPED_TRACE(testing::Message() << "row " << i << " column " << column);
            const QVariant &cell = rs->Cell(i, column);
            EXPECT_EQ(cell.isNull(), values[i].isNull());
            EXPECT_EQ(cell.toString(), values[i].toString());
        }
        EXPECT_EQ(rs->Cell(i, 0).toInt(), i);
    }
}

TEST_F(DaoTest, NonAsciiNamesAreReadWholeAndFoundInAnyLetterCase)
{
    auto db = open();
    const QString table = QString::fromUtf8("Gr\xc3\xb6\xc3\x9f" "e");
    const QString longName = QString(120, QChar(0x00C4)); // 240 bytes and more with the prefix
    db->Execute(QStringLiteral("CREATE TABLE \"%1\" (\"%2\" VARCHAR(8), \"%3\" INTEGER, \"X%4\" INTEGER)")
                    .arg(table, QString::fromUtf8("Ma\xc3\x9f"), QString::fromUtf8("\xc3\x96l"), longName + longName));
    db->Execute(QStringLiteral("INSERT INTO \"%1\" VALUES ('m', 7, 9)").arg(table));
    auto rs = db->OpenRecordset(QStringLiteral("SELECT * FROM \"%1\"").arg(table));
    const auto &fields = rs->GetFields();
    ASSERT_EQ(fields.Count(), 3);
    EXPECT_EQ(fields(0).Name(), QString::fromUtf8("Ma\xc3\x9f"));
    EXPECT_EQ(fields(2).Name().toStdString(), (QStringLiteral("X") + longName + longName).toStdString());
    EXPECT_EQ(rs->Value(QString::fromUtf8("\xc3\xb6L")).toInt(), 7);
    EXPECT_EQ(rs->Value(QStringLiteral("x") + longName.toLower() + longName).toInt(), 9);
}

TEST_F(DaoTest, AFieldNameFindsTheFirstColumnOfThatNameInAnyLetterCase)
{
    auto rs = open()->OpenRecordset(QStringLiteral("SELECT 1 AS a, 2 AS A, 3 AS b"));
    for (const char *name : {"a", "A"})
        EXPECT_EQ(rs->Value(QString::fromLatin1(name)).toInt(), 1) << name;
    EXPECT_EQ(rs->GetFields().IndexOf(QStringLiteral("B")), 2);
    EXPECT_EQ(rs->GetFields().IndexOf(QStringLiteral("c")), -1);
}

// ------------------------------------------------------------------ failures and the fault hook

namespace {

// Databases closed after a failure, as the registry would hear of them.
struct ClosedOnFailure
{
    ClosedOnFailure()
    {
        dao::SetClosedOnFailureHandler([this](const dao::Database &db) { closed << &db; });
    }
    ~ClosedOnFailure() { dao::SetClosedOnFailureHandler(nullptr); }
    QList<const dao::Database *> closed;
};

QStringList states()
{
    QStringList list;
    for (const auto &e : Errors::list())
        list << e.SQLState;
    return list;
}

} // namespace

TEST_F(DaoTest, AFaultFailsTheChosenStatementAndAConnectionExceptionClosesTheConnection)
{
    struct Case
    {
        const char *state;
        bool closes;
    } cases[] = {{"HY000", false}, {"42000", false}, {"08S01", true}, {"08003", true}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.state);
        ClosedOnFailure hook;
        auto db = workspace().OpenDatabase(QString(), 0, false, connectText(QStringLiteral("QnTest")));
        db->Execute(QStringLiteral("CREATE TABLE IF NOT EXISTS F (N INTEGER)"));
        db->Execute(QStringLiteral("DELETE FROM F"));
        dao::Faults::Add(dao::Faults::Statement, 2, QString::fromLatin1(c.state), QStringLiteral("link down"));
        db->Execute(QStringLiteral("INSERT INTO F VALUES (1)"));
        const QnError e = failureOf([&] { db->Execute(QStringLiteral("INSERT INTO F VALUES (2)")); });
        EXPECT_EQ(e.Number(), 3146);
        EXPECT_EQ(dao::Faults::Pending(), 0);
        ASSERT_GE(Errors::Count(), 2);
        EXPECT_EQ(Errors::Item(0).SQLState, QString::fromLatin1(c.state));
        EXPECT_EQ(Errors::Item(0).Description, QStringLiteral("link down"));
        EXPECT_EQ(Errors::list().last().Number, 3146);
        EXPECT_EQ(db->IsOpen(), !c.closes);
        EXPECT_EQ(hook.closed.size(), c.closes ? 1 : 0);
        EXPECT_EQ(Errors::Count(), c.closes ? 3 : 2); // the failure, the note that the connection closed, 3146
        if (c.closes) {
            EXPECT_TRUE(Errors::Item(1).Description.contains(QLatin1String("The connection to QnTest was closed")));
            EXPECT_EQ(failureOf([&] { db->Execute(QStringLiteral("SELECT 1")); }).Number(), 91);
        }
        EXPECT_EQ(sqliteRows(fileOf(QStringLiteral("QnTest")), "SELECT N FROM F"), QStringList{"1"}); // 2 never ran
    }
}

TEST_F(DaoTest, AFailedCommitOrRollbackClosesTheConnectionAndCommitsNothing)
{
    struct Case
    {
        dao::Faults::Call call;
        const char *state;
    } cases[] = {{dao::Faults::Commit, "HY000"}, {dao::Faults::Commit, "08S01"}, {dao::Faults::Rollback, "HY000"},
                 {dao::Faults::Rollback, "08S01"}};
    open()->Execute(QStringLiteral("CREATE TABLE TX (N INTEGER)"));
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << c.call << " " << c.state);
        ClosedOnFailure hook;
        auto db = workspace().OpenDatabase(QString(), 0, false, connectText(QStringLiteral("QnTest")));
        db->BeginTrans();
        db->Execute(QStringLiteral("INSERT INTO TX VALUES (1)"));
        dao::Faults::Add(c.call, 1, QString::fromLatin1(c.state));
        const QnError e = failureOf([&] {
            if (c.call == dao::Faults::Commit)
                db->CommitTrans();
            else
                db->Rollback();
        });
        EXPECT_EQ(e.Number(), 3146);
        // The failed call's diagnostics are kept, not replaced by a later call's.
        EXPECT_EQ(states(), (QStringList{QString::fromLatin1(c.state), QString(), QString()}));
        EXPECT_TRUE(Errors::Item(1).Description.contains(QLatin1String("rolls back what it had not committed")));
        EXPECT_FALSE(db->IsOpen());
        EXPECT_FALSE(db->InTransaction());
        EXPECT_EQ(hook.closed, QList<const dao::Database *>{db.get()});
        EXPECT_TRUE(sqliteRows(fileOf(QStringLiteral("QnTest")), "SELECT N FROM TX").isEmpty());
    }
}

TEST_F(DaoTest, IgnoringTransactionSupportRunsEveryStatementOnItsOwn)
{
    auto db = open();
    db->Execute(QStringLiteral("CREATE TABLE TX (N INTEGER)"));
    dao::IgnoreTransactionSupport(true);
    EXPECT_FALSE(db->SupportsTransactions());
    db->BeginTrans();
    EXPECT_FALSE(db->InTransaction());
    db->Execute(QStringLiteral("INSERT INTO TX VALUES (1)"));
    EXPECT_EQ(sqliteRows(fileOf(QStringLiteral("QnTest")), "SELECT N FROM TX"), QStringList{"1"});
    db->Rollback();
    EXPECT_EQ(sqliteRows(fileOf(QStringLiteral("QnTest")), "SELECT N FROM TX"), QStringList{"1"});
    dao::IgnoreTransactionSupport(false);
    EXPECT_TRUE(db->SupportsTransactions());
}

// ------------------------------------------------------------------ forward-only reader

namespace {

// The cells of every row of `sql` read by a reader in batches of `batch` rows.
std::deque<QVariant> readInBatches(dao::Database &db, const QString &sql, long batch, QList<long> *sizes = nullptr)
{
    auto reader = db.OpenReader(sql);
    std::deque<QVariant> cells;
    while (!reader->AtEnd()) {
        const long got = reader->Fetch(batch, cells);
        if (sizes)
            *sizes << got;
    }
    EXPECT_EQ(reader->Fetch(batch, cells), 0) << "nothing after the end";
    EXPECT_EQ(size_t(reader->RowsRead()) * size_t(reader->ColumnCount()), cells.size());
    return cells;
}

} // namespace

TEST_F(DaoTest, AReaderReadsInBatchesWhatASnapshotReads)
{
    auto db = open();
    // Short bound columns around a long one, Nulls, a value longer than its declared size.
    db->Execute(QStringLiteral("CREATE TABLE RD (N INTEGER, A VARCHAR(4), B TEXT, D DATE, X DOUBLE)"));
    for (int i = 0; i < 10; ++i)
        db->Execute(QStringLiteral("INSERT INTO RD VALUES (%1, %2, '%3', '2020-01-%4', %5)")
                        .arg(i)
                        .arg(i % 3 == 0 ? QStringLiteral("NULL") : QStringLiteral("'a%1'").arg(QString(i * 300, QLatin1Char('y'))))
                        .arg(QString(i * 1000, QLatin1Char('z')))
                        .arg(i + 10)
                        .arg(i * 0.5));
    const QString sql = QStringLiteral("SELECT * FROM RD ORDER BY N");
    auto rs = db->OpenRecordset(sql);
    QList<long> sizes;
    const std::deque<QVariant> cells = readInBatches(*db, sql, 4, &sizes);
    EXPECT_EQ(sizes, (QList<long>{4, 4, 2}));
    ASSERT_EQ(cells.size(), size_t(rs->RecordCount()) * 5);
    for (long r = 0; r < rs->RecordCount(); ++r)
        for (int c = 0; c < 5; ++c) {
            const QVariant &cell = cells[size_t(r) * 5 + size_t(c)];
            EXPECT_EQ(cell, rs->Cell(r, c)) << "row " << r << " column " << c;
            EXPECT_EQ(cell.isNull(), rs->Cell(r, c).isNull());
        }

    // Read as the driver's text, each cell gives the same value, a Null a null view.
    auto texts = db->OpenReader(sql);
    long row = 0;
    while (!texts->AtEnd())
        texts->FetchText(3, [&](const QByteArrayView *text) {
            for (int c = 0; c < 5; ++c) {
                const QVariant value = dao::ValueOfText(texts->Columns()[size_t(c)].Type, text[c]);
                EXPECT_EQ(value, rs->Cell(row, c)) << "row " << row << " column " << c;
                EXPECT_EQ(text[c].isNull(), rs->Cell(row, c).isNull());
            }
            ++row;
        });
    EXPECT_EQ(row, rs->RecordCount());
    EXPECT_EQ(texts->RowsRead(), rs->RecordCount());

    auto reader = db->OpenReader(sql);
    ASSERT_EQ(reader->ColumnCount(), 5);
    EXPECT_EQ(reader->Columns()[3].Name, QStringLiteral("D"));
    EXPECT_EQ(reader->Columns()[3].Type, dbDate);
    EXPECT_EQ(reader->RowsRead(), 0);

    // An empty result ends at the first fetch.
    EXPECT_TRUE(readInBatches(*db, QStringLiteral("SELECT * FROM RD WHERE N < 0"), 100).empty());
}

TEST_F(DaoTest, AReaderFailsLikeAStatementAndKeepsNoPartOfAFailedBatch)
{
    auto db = open();
    QnError e = failureOf([&] { db->OpenReader(QStringLiteral("SELECT * FROM [T] WHERE [C] = #1/2/99# ")); });
    EXPECT_EQ(e.Number(), 3146);
    ASSERT_GE(Errors::Count(), 2);
    EXPECT_TRUE(Errors::Item(0).Description.contains(QLatin1String("syntax error"))) << Errors::Item(0).Description.toStdString();

    db->Execute(QStringLiteral("CREATE TABLE FB (N INTEGER)"));
    for (int i = 0; i < 6; ++i)
        db->Execute(QStringLiteral("INSERT INTO FB VALUES (%1)").arg(i));
    auto reader = db->OpenReader(QStringLiteral("SELECT N FROM FB ORDER BY N"));
    std::deque<QVariant> cells;
    dao::Faults::Add(dao::Faults::Fetch, 2, QStringLiteral("HY000"), QStringLiteral("read failed"));
    EXPECT_EQ(reader->Fetch(2, cells), 2);
    EXPECT_EQ(failureOf([&] { reader->Fetch(2, cells); }).Number(), 3146);
    EXPECT_EQ(Errors::Item(0).Description, QStringLiteral("read failed"));
    EXPECT_EQ(cells.size(), 2u);
    // The read goes on where it stopped.
    EXPECT_EQ(reader->Fetch(10, cells), 4);
    EXPECT_TRUE(reader->AtEnd());
    ASSERT_EQ(cells.size(), 6u);
    EXPECT_EQ(cells[5].toInt(), 5);
}

TEST_F(DaoTest, ClosingTheDatabaseOrLosingTheConnectionEndsItsReaders)
{
    for (const char *how : {"Close", "08S01"}) {
        SCOPED_TRACE(how);
        ClosedOnFailure hook;
        auto db = workspace().OpenDatabase(QString(), 0, false, connectText(QStringLiteral("QnTest")));
        auto first = db->OpenReader(QStringLiteral("SELECT * FROM QN_FIELD"));
        auto second = db->OpenReader(QStringLiteral("SELECT * FROM QN_COLUMN"));
        std::deque<QVariant> cells;
        first->Fetch(1, cells);
        if (QLatin1String(how) == QLatin1String("Close")) {
            db->Close();
        } else {
            dao::Faults::Add(dao::Faults::Fetch, 1, QStringLiteral("08S01"));
            EXPECT_EQ(failureOf([&] { first->Fetch(1, cells); }).Number(), 3146);
            EXPECT_EQ(hook.closed.size(), 1);
        }
        EXPECT_FALSE(db->IsOpen());
        for (auto *reader : {first.get(), second.get()}) {
            EXPECT_EQ(failureOf([&] { reader->Fetch(1, cells); }).Number(), 91);
            EXPECT_FALSE(reader->AtEnd());
        }
        first.reset(); // after its connection: nothing is freed twice
        db.reset();    // the second reader keeps the database object
        second->Close();
    }
}
