// Reads every row of a QN_FIELD table three ways on the same file: the data
// layer's snapshot, a plain ODBC loop (SQLExecDirect, SQLFetch, SQLGetData per
// cell) and SQLite's C API.
#include <sqlite3.h>

#include <stdexcept>

#include "cases.h"
#include "dao.h"

namespace bench {

namespace {

const char *kQuery = "SELECT * FROM QN_FIELD";

// `rows` fields of 100 per file, a third of them with a Null FORMAT.
void fill(const QString &file, int rows)
{
    sqlite3 *db = nullptr;
    if (sqlite3_open(file.toUtf8().constData(), &db) != SQLITE_OK)
        throw std::runtime_error("cannot open the bench file");
    sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
    sqlite3_stmt *insert = nullptr;
    sqlite3_prepare_v2(db,
                       "INSERT INTO QN_FIELD (FILE_NAME, FIELD_NUMBER, FIELD_NAME, LOCAL_TYPE_NAME, OFFSET, LENGTH, "
                       "PRECISION, SCALE, ENCRYPTED, FORMAT, DEFAULT_VALUE, REMARKS) "
                       "VALUES (?, ?, ?, 'STRING', ?, 10, 10, 0, 0, ?, ?, ?)",
                       -1, &insert, nullptr);
    for (int i = 0; i < rows; ++i) {
        const int fileNumber = i / 100, field = i % 100;
        const QByteArray fileName = "BENCH" + QByteArray::number(fileNumber);
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

long readWithSqlite(const QString &file)
{
    sqlite3 *db = nullptr;
    sqlite3_open_v2(file.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr);
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
    sqlite3_close(db);
    return rows;
}

} // namespace

Result ReadSnapshot(int rows)
{
    DataSource source;
    fill(source.File(), rows);
    dao::Workspace workspace;
    const dao::DatabasePtr db = workspace.OpenDatabase(QString(), 0, false, source.ConnectText());
    const PlainConnection plain(source.Name());

    long layerRows = 0, odbcRows = 0, liteRows = 0;
    const double layer = Best([&] { layerRows = db->OpenRecordset(QString::fromLatin1(kQuery))->RecordCount(); });
    const double odbc = Best([&] { odbcRows = plain.ReadAll(kQuery); });
    const double lite = Best([&] { liteRows = readWithSqlite(source.File()); });
    db->Close();

    Result result;
    result.ms = layer;
    result.rows = layerRows;
    result.figure = layer / odbc;
    result.notes << QStringLiteral("plain ODBC loop %1 ms; SQLite C API %2 ms (plain ODBC / SQLite %3)")
                        .arg(odbc, 0, 'f', 1)
                        .arg(lite, 0, 'f', 1)
                        .arg(odbc / lite, 0, 'f', 2);
    // The new catalog's own fields come on top of the rows written.
    if (layerRows != odbcRows || odbcRows != liteRows || liteRows < rows)
        result.failure = QStringLiteral("rows read: data layer %1, plain ODBC %2, SQLite %3; %4 written")
                             .arg(layerRows)
                             .arg(odbcRows)
                             .arg(liteRows)
                             .arg(rows);
    return result;
}

} // namespace bench
