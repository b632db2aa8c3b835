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
}
