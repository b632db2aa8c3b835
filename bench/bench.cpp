#include "bench.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <sql.h>
#include <sqlext.h>
#include <cstdio>
#include <sql.h>
#include <sqlext.h>
#include <sqlite3.h>
#include <stdexcept>

#include <sql.h>
#include <sqlext.h>
#include <sqlite3.h>

#include "standin.h"

namespace bench {

namespace {

void print(const QString &line) { std::printf("%s\n", line.toUtf8().constData()); }

QString verdict(bool within) { return within ? QStringLiteral("ok") : QStringLiteral("MISS"); }

// The time per row in microseconds.
double perRow(const Result &result) { return result.rows > 0 ? result.ms * 1000.0 / double(result.rows) : 0; }

Result runOnce(const Case &c, int rows)
{
    try {
        return c.run(rows);
    } catch (const std::exception &e) {
        Result failed;
        failed.failure = QString::fromUtf8(e.what());
        return failed;
    }
}

// Runs one case at each of its row counts and prints its lines; returns its misses.
int runCase(const Case &c)
{
    print(QStringLiteral("%1: %2").arg(QLatin1String(c.name), QLatin1String(c.figure)));
    print(QStringLiteral("  %1 %2 %3 %4").arg(QStringLiteral("rows"), 9).arg(QStringLiteral("time"), 12)
              .arg(QStringLiteral("per row"), 12).arg(QStringLiteral("figure"), 8));
    QList<Result> results;
    int misses = 0;
    for (int rows : c.rows) {
        const Result r = runOnce(c, rows);
        if (!r.failure.isEmpty()) {
            print(QStringLiteral("  %1 FAILED: %2").arg(rows, 9).arg(r.failure));
            return misses + 1;
        }
        print(QStringLiteral("  %1 %2 ms %3 us %4").arg(r.rows, 9).arg(r.ms, 9, 'f', 1).arg(perRow(r), 9, 'f', 3)
                  .arg(r.figure, 8, 'f', 3));
        for (const QString &note : r.notes)
            print(QStringLiteral("            ") + note);
        results << r;
    }
    if (results.isEmpty())
        return misses;
    const Result &last = results.last();
    const bool figureWithin = last.figure <= c.limit;
    print(QStringLiteral("  figure %1 (limit %2) %3")
              .arg(last.figure, 0, 'f', 3)
              .arg(c.limit, 0, 'f', 2)
              .arg(verdict(figureWithin)));
    misses += figureWithin ? 0 : 1;
    if (results.size() > 1 && perRow(results.first()) > 0) {
        const double growth = perRow(last) / perRow(results.first());
        const bool growthWithin = growth <= c.growthLimit;
        print(QStringLiteral("  growth of the time per row from %1 to %2 rows: %3 (limit %4) %5")
                  .arg(results.first().rows)
                  .arg(last.rows)
                  .arg(growth, 0, 'f', 2)
                  .arg(c.growthLimit, 0, 'f', 2)
                  .arg(verdict(growthWithin)));
        misses += growthWithin ? 0 : 1;
    }
    return misses;
}

} // namespace

int Run(const QList<Case> &cases, const QStringList &filters)
{
    int misses = 0, ran = 0;
    for (const Case &c : cases) {
        const QString name = QLatin1String(c.name);
        if (!filters.isEmpty() &&
            std::none_of(filters.begin(), filters.end(), [&](const QString &f) { return name.contains(f); }))
            continue;
        ++ran;
        misses += runCase(c);
        print(QString());
    }
    print(QStringLiteral("%1 case(s), %2 miss(es)").arg(ran).arg(misses));
    return misses;
}

double Best(const std::function<void()> &operation, int runs)
{
    double fastest = 1e300;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        operation();
        fastest = std::min(fastest, double(timer.nsecsElapsed()) / 1e6);
    }
    return fastest;
}

DataSource::DataSource(const QString &name) : m_name(name)
{
    static QTemporaryDir folder;
    static QStringList names;
    if (!folder.isValid())
        throw std::runtime_error("no temporary folder");
    const QDir dir(folder.path());
    m_file = dir.filePath(name + QStringLiteral(".db"));
    QFile::remove(m_file);
    standin::CreateDatabase(m_file, {standin::CatalogScript()});
    if (!names.contains(name))
        names << name;
    QList<standin::DataSource> sources;
    for (const QString &known : std::as_const(names))
        sources.append({known, dir.filePath(known + QStringLiteral(".db")), {}});
    standin::WriteConfig(dir.path(), sources);
    standin::UseConfig(dir.path());
}

DataSource::~DataSource() { QFile::remove(m_file); }

Result BesideInsertLoop(const PlainConnection &plain, double ms, const QStringList &inserts, const QString &written)
{
    int loops = 0;
    const double odbc = Best([&] {
        plain.ExecuteAll(QStringList(inserts).replaceInStrings(QLatin1Char('\'') + written + QLatin1Char('\''),
                                                               QStringLiteral("'P%1'").arg(++loops)));
    });
    Result result;
    result.ms = ms;
    result.rows = inserts.size();
    result.figure = ms / odbc;
    result.notes << QStringLiteral("plain ODBC loop of the same %1 INSERTs %2 ms").arg(inserts.size()).arg(odbc, 0, 'f', 1);
    return result;
}

QString DataSource::ConnectText() const { return QStringLiteral("ODBC;DSN=%1;DATABASE=PUBS").arg(m_name); }

void Fill(const QString &file, const char *sql, int rows, const std::function<void(sqlite3_stmt *, int)> &bind)
{
    sqlite3 *db = nullptr;
    if (sqlite3_open(file.toUtf8().constData(), &db) != SQLITE_OK)
        throw std::runtime_error("cannot open the bench file");
    sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
    sqlite3_stmt *insert = nullptr;
    if (sqlite3_prepare_v2(db, sql, -1, &insert, nullptr) != SQLITE_OK)
        throw std::runtime_error(sqlite3_errmsg(db));
    for (int i = 0; i < rows; ++i) {
        bind(insert, i);
        if (sqlite3_step(insert) != SQLITE_DONE)
            throw std::runtime_error(sqlite3_errmsg(db));
        sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_close(db);
}

void Fill(const QString &file, int rows, const char *sql)
{
    Fill(file, sql, rows, [](sqlite3_stmt *statement, int i) { sqlite3_bind_int(statement, 1, i + 1); });
}

void BindText(sqlite3_stmt *statement, int column, const QByteArray &text)
{
    sqlite3_bind_text(statement, column, text.constData(), int(text.size()), SQLITE_TRANSIENT);
}

PlainConnection::PlainConnection(const QString &dsn)
{
    SQLHENV env = SQL_NULL_HENV;
    SQLHDBC dbc = SQL_NULL_HDBC;
    SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &env);
    SQLSetEnvAttr(env, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
    SQLAllocHandle(SQL_HANDLE_DBC, env, &dbc);
    m_env = env;
    m_dbc = dbc;
    const QByteArray connect = "DSN=" + dsn.toUtf8() + ";DATABASE=PUBS";
    SQLCHAR out[1024];
    SQLSMALLINT outLength = 0;
    const SQLRETURN rc = SQLDriverConnect(dbc, nullptr, (SQLCHAR *)connect.constData(), SQL_NTS, out, sizeof out,
                                          &outLength, SQL_DRIVER_NOPROMPT);
    if (!SQL_SUCCEEDED(rc))
        throw std::runtime_error("plain ODBC connect failed");
}

PlainConnection::~PlainConnection()
{
    SQLDisconnect(SQLHDBC(m_dbc));
    SQLFreeHandle(SQL_HANDLE_DBC, SQLHDBC(m_dbc));
    SQLFreeHandle(SQL_HANDLE_ENV, SQLHENV(m_env));
}

long PlainConnection::ReadAll(const char *sql) const
{
    SQLHSTMT stmt = SQL_NULL_HSTMT;
    SQLAllocHandle(SQL_HANDLE_STMT, SQLHDBC(m_dbc), &stmt);
    SQLExecDirect(stmt, (SQLCHAR *)sql, SQL_NTS);
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

void PlainConnection::ExecuteAll(const QStringList &statements) const
{
    const SQLHDBC dbc = SQLHDBC(m_dbc);
    SQLSetConnectAttr(dbc, SQL_ATTR_AUTOCOMMIT, reinterpret_cast<SQLPOINTER>(SQL_AUTOCOMMIT_OFF), 0);
    SQLHSTMT stmt = SQL_NULL_HSTMT;
    SQLAllocHandle(SQL_HANDLE_STMT, dbc, &stmt);
    bool failed = false;
    for (const QString &sql : statements) {
        const QByteArray text = sql.toUtf8();
        failed = failed || !SQL_SUCCEEDED(SQLExecDirect(stmt, (SQLCHAR *)text.constData(), SQL_NTS));
        SQLFreeStmt(stmt, SQL_CLOSE);
    }
    SQLFreeHandle(SQL_HANDLE_STMT, stmt);
    SQLEndTran(SQL_HANDLE_DBC, dbc, failed ? SQL_ROLLBACK : SQL_COMMIT);
    SQLSetConnectAttr(dbc, SQL_ATTR_AUTOCOMMIT, reinterpret_cast<SQLPOINTER>(SQL_AUTOCOMMIT_ON), 0);
    if (failed)
        throw std::runtime_error("a statement of the plain ODBC loop failed");
}

void BenchUi::EndProgram(int) { throw std::runtime_error("a failure was reported"); }

} // namespace bench
