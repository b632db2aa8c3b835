// Reads every row of a large QN_FIELD table three ways on the same file: the
// data layer's snapshot, a plain ODBC loop (SQLExecDirect, SQLFetch, SQLGetData
// per cell) and SQLite's C API. Prints the times and the two ratios; exits 1
// when the data layer takes more than 1.5 times the plain ODBC loop.
#include <sql.h>
#include <sqlext.h>
#include <sqlite3.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <functional>

#include "dao.h"
#include "standin.h"

namespace {

constexpr int kRows = 100000;
constexpr int kRuns = 5;
const char *kQuery = "SELECT * FROM QN_FIELD";

void fill(const QString &file)
{
    sqlite3 *db = nullptr;
    sqlite3_open(file.toUtf8().constData(), &db);
    sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
    sqlite3_stmt *insert = nullptr;
    sqlite3_prepare_v2(db,
                       "INSERT INTO QN_FIELD (FILE_NAME, FIELD_NUMBER, FIELD_NAME, LOCAL_TYPE_NAME, OFFSET, LENGTH, "
                       "PRECISION, SCALE, ENCRYPTED, FORMAT, DEFAULT_VALUE, REMARKS) "
                       "VALUES (?, ?, ?, 'STRING', ?, 10, 10, 0, 0, ?, ?, ?)",
                       -1, &insert, nullptr);
    for (int i = 0; i < kRows; ++i) {
        const int file = i / 100, field = i % 100;
        const QByteArray fileName = "BENCH" + QByteArray::number(file);
        const QByteArray fieldName = "FIELD_" + QByteArray::number(field);
        sqlite3_bind_text(insert, 1, fileName.constData(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_int(insert, 2, field + 1);
        sqlite3_bind_text(insert, 3, fieldName.constData(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_int(insert, 4, field * 10);
        if (field % 3 == 0)
            sqlite3_bind_null(insert, 5);
        else
            sqlite3_bind_text(insert, 5, "YYYYMMDD", -1, SQLITE_STATIC);
        sqlite3_bind_text(insert, 6, "0", -1, SQLITE_STATIC);
        sqlite3_bind_text(insert, 7, "A field of a benchmark file, with a remark of ordinary length", -1,
                          SQLITE_STATIC);
        sqlite3_step(insert);
        sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_close(db);
}

// The fastest of several runs, in milliseconds; `rows` receives the row count.
double best(const std::function<long()> &run, long &rows)
{
    double fastest = 1e18;
    for (int i = 0; i < kRuns; ++i) {
        QElapsedTimer timer;
        timer.start();
        rows = run();
        fastest = std::min(fastest, timer.nsecsElapsed() / 1e6);
    }
    return fastest;
}

long viaDataLayer(dao::Database &db)
{
    auto rs = db.OpenRecordset(QString::fromLatin1(kQuery));
    return rs->RecordCount();
}

long viaPlainOdbc(SQLHDBC dbc)
{
    SQLHSTMT stmt = SQL_NULL_HSTMT;
    SQLAllocHandle(SQL_HANDLE_STMT, dbc, &stmt);
    SQLExecDirect(stmt, (SQLCHAR *)kQuery, SQL_NTS);
    SQLSMALLINT columns = 0;
    SQLNumResultCols(stmt, &columns);
    char buffer[1024];
    SQLLEN indicator = 0;
    long rows = 0;
    while (SQL_SUCCEEDED(SQLFetch(stmt))) {
        for (SQLUSMALLINT c = 1; c <= columns; ++c)
            SQLGetData(stmt, c, SQL_C_CHAR, buffer, sizeof buffer, &indicator);
        ++rows;
    }
    SQLFreeHandle(SQL_HANDLE_STMT, stmt);
    return rows;
}

long viaSqlite(sqlite3 *db)
{
    sqlite3_stmt *stmt = nullptr;
    sqlite3_prepare_v2(db, kQuery, -1, &stmt, nullptr);
    const int columns = sqlite3_column_count(stmt);
    long rows = 0;
    volatile size_t bytes = 0;
    while (sqlite3_step(stmt) == SQLITE_ROW) {
        for (int c = 0; c < columns; ++c)
            if (const unsigned char *text = sqlite3_column_text(stmt, c))
                bytes = bytes + text[0];
        ++rows;
    }
    sqlite3_finalize(stmt);
    return rows;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const QString file = QDir(dir.path()).filePath(QStringLiteral("bench.db"));
    standin::CreateDatabase(file, {standin::CatalogScript()});
    fill(file);
    standin::WriteConfig(dir.path(), {{QStringLiteral("Bench"), file, {}}});
    standin::UseConfig(dir.path());

    dao::Workspace workspace;
    auto db = workspace.OpenDatabase(QString(), 0, false, QStringLiteral("ODBC;DSN=Bench;DATABASE=PUBS"));

    SQLHENV env = SQL_NULL_HENV;
    SQLHDBC dbc = SQL_NULL_HDBC;
    SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &env);
    SQLSetEnvAttr(env, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
    SQLAllocHandle(SQL_HANDLE_DBC, env, &dbc);
    SQLCHAR out[1024];
    SQLSMALLINT outLength = 0;
    SQLDriverConnect(dbc, nullptr, (SQLCHAR *)"DSN=Bench;DATABASE=PUBS", SQL_NTS, out, sizeof out, &outLength,
                     SQL_DRIVER_NOPROMPT);

    sqlite3 *lite = nullptr;
    sqlite3_open_v2(file.toUtf8().constData(), &lite, SQLITE_OPEN_READONLY, nullptr);

    long layerRows = 0, odbcRows = 0, liteRows = 0;
    const double layer = best([&] { return viaDataLayer(*db); }, layerRows);
    const double odbc = best([&] { return viaPlainOdbc(dbc); }, odbcRows);
    const double lite3 = best([&] { return viaSqlite(lite); }, liteRows);

    sqlite3_close(lite);
    SQLDisconnect(dbc);
    SQLFreeHandle(SQL_HANDLE_DBC, dbc);
    SQLFreeHandle(SQL_HANDLE_ENV, env);

    std::printf("rows read: data layer %ld, plain ODBC %ld, SQLite C API %ld (12 columns)\n", layerRows, odbcRows,
                liteRows);
    std::printf("data layer snapshot : %8.1f ms\n", layer);
    std::printf("plain ODBC loop     : %8.1f ms\n", odbc);
    std::printf("SQLite C API        : %8.1f ms\n", lite3);
    const double layerRatio = layer / odbc, odbcRatio = odbc / lite3;
    std::printf("data layer / plain ODBC   = %.2f (limit 1.50)\n", layerRatio);
    std::printf("plain ODBC / SQLite C API = %.2f\n", odbcRatio);
    if (layerRows != odbcRows || odbcRows != liteRows) {
        std::printf("FAIL: the three reads disagree on the row count\n");
        return 1;
    }
    if (layerRatio > 1.5) {
        std::printf("FAIL: the data layer takes more than 1.5 times the plain ODBC loop\n");
        return 1;
    }
    return 0;
}
