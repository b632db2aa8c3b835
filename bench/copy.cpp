// Copying a file definition of many fields to another data source with the
// file drag (the answer Copy given, so nothing is asked), beside the same
// INSERTs through a plain ODBC loop in one transaction.
#include <QElapsedTimer>
#include <sqlite3.h>

#include <algorithm>

#include "cases.h"
#include "copymove/dragops.h"
#include "core/cconnections.h"

namespace bench {

namespace {

const QString kFile = QStringLiteral("BIGFILE");

// The target as it was: without the copied file and its fields.
void clear(const QString &dsn)
{
    const auto db = gConnections().Item(dsn)->db;
    db->Execute(QStringLiteral("DELETE FROM QN_FIELD WHERE FILE_NAME = 'BIGFILE'"));
    db->Execute(QStringLiteral("DELETE FROM QN_FILE WHERE FILE_NAME = 'BIGFILE'"));
}

long fieldsIn(const QString &dsn)
{
    return gConnections()
        .Item(dsn)
        ->db->OpenRecordset(QStringLiteral("SELECT FIELD_NAME FROM QN_FIELD WHERE FILE_NAME = 'BIGFILE'"))
        ->RecordCount();
}

} // namespace

Result CopyFile(int rows)
{
    const DataSource source(QStringLiteral("BenchCopyFrom")), target(QStringLiteral("BenchCopyTo"));
    Fill(source.File(),
         "INSERT INTO QN_FILE (FILE_NAME, OPEN_STRING, RECORD_SIZE, FILE_ORGANISATION, RECORD_TYPE, REMARKS) "
         "VALUES ('BIGFILE', NULL, 0, 'INDEXED', 'FIXED', 'A file of many fields')",
         1, [](sqlite3_stmt *, int) {});
    Fill(source.File(),
         "INSERT INTO QN_FIELD (FILE_NAME, FIELD_NUMBER, FIELD_NAME, LOCAL_TYPE_NAME, OFFSET, LENGTH, PRECISION, "
         "SCALE, ENCRYPTED, FORMAT, DEFAULT_VALUE, REMARKS) VALUES ('BIGFILE', ?, ?, 'STRING', ?, 10, 10, 0, 0, NULL, "
         "'0', 'A field of a benchmark file')",
         rows, [](sqlite3_stmt *insert, int i) {
             sqlite3_bind_int(insert, 1, i + 1);
             BindText(insert, 2, "FIELD_" + QByteArray::number(100000 + i));
             sqlite3_bind_int(insert, 3, i * 10);
         });

    DragItem from, to;
    from.NodeType = QStringLiteral("fi");
    from.Keys = QStringList{source.Name(), kFile};
    to.NodeType = QStringLiteral("DSN");
    to.Keys = QStringList{target.Name()};

    // The same rows as the copy writes them, for the plain loop.
    QStringList inserts{QStringLiteral("INSERT INTO QN_FILE (FILE_NAME, OPEN_STRING, RECORD_SIZE, FILE_ORGANISATION, "
                                       "RECORD_TYPE, REMARKS) VALUES ('BIGFILE', NULL, '0', 'INDEXED', 'FIXED', "
                                       "'A file of many fields')")};
    for (int i = 0; i < rows; ++i)
        inserts << QStringLiteral("INSERT INTO QN_FIELD (FILE_NAME, FIELD_NUMBER, FIELD_NAME, LOCAL_TYPE_NAME, OFFSET, "
                                  "LENGTH, PRECISION, SCALE, ENCRYPTED, FORMAT, DEFAULT_VALUE, REMARKS) VALUES "
                                  "('BIGFILE', %1, 'FIELD_%2', 'STRING', %3, 10, 10, 0, 0, NULL, '0', "
                                  "'A field of a benchmark file')")
                       .arg(i + 1)
                       .arg(100000 + i)
                       .arg(i * 10);

    double copy = 1e300;
    long copied = 0;
    QString failure;
    for (int run = 0; run < 3; ++run) {
        clear(target.Name());
        QElapsedTimer timer;
        timer.start();
        const bool done = modDragAndDrop::DragFileToDSN(from, to, 2);
        copy = std::min(copy, double(timer.nsecsElapsed()) / 1e6);
        copied = fieldsIn(target.Name());
        if (!done || copied != rows) {
            failure = QStringLiteral("the copy wrote %1 of %2 fields").arg(copied).arg(rows);
            break;
        }
    }
    Result result;
    if (failure.isEmpty()) {
        const PlainConnection connection(target.Name());
        result = BesideInsertLoop(connection, copy, inserts, kFile);
    }
    gConnections().RemoveAll();
    result.failure = failure;
    result.rows = copied;
    return result;
}

} // namespace bench
