// The file-to-table wizard's Finish for a file of many fields: the count and
// the name's look-up, the columns worked out, the table and its columns written
// as one unit; beside a plain ODBC loop of the same INSERTs in one transaction.
#include <stdexcept>

#include "cases.h"
#include "core/cconnections.h"
#include "core/modupdate.h"
#include "wizard/filetotable.h"

namespace bench {

Result WizardFinish(int fields)
{
    DataSource source;
    Fill(source.File(), 1, "INSERT INTO QN_DB (DATABASE_NAME) VALUES ('BENCH')");
    Fill(source.File(), 1, "INSERT INTO QN_FILE (FILE_NAME, RECORD_SIZE) VALUES ('BENCHF', 0)");
    // Fields of the four kinds the type rule tells apart.
    Fill(source.File(), fields,
         "INSERT INTO QN_FIELD (FILE_NAME, FIELD_NUMBER, FIELD_NAME, LOCAL_TYPE_NAME, OFFSET, LENGTH, PRECISION, "
         "SCALE, ENCRYPTED, REMARKS) VALUES ('BENCHF', ?1, 'FIELD-' || ?1, CASE ?1 % 4 WHEN 0 THEN 'STRING' WHEN 1 "
         "THEN 'INTEGER' WHEN 2 THEN 'DATE' ELSE 'ZONED' END, ?1 * 8, 8, 8, 0, 0, 'A field of a benchmark file')");
    const PlainConnection plain(source.Name());

    int runs = 0;
    bool written = true;
    const double layer = Best([&] {
        fileToTable::NewTable table;
        table.database = QStringLiteral("BENCH");
        table.table = QStringLiteral("T%1").arg(++runs);
        table.file = QStringLiteral("BENCHF");
        table.specification = QStringLiteral("BENCH.DAT");
        dao::Database &db = *gConnections().Item(source.Name())->db;
        table.fieldCount = db.OpenRecordset(fileToTable::CountSQL(table.file))->Value(QStringLiteral("COLUMN_COUNT"))
                               .toLongLong();
        if (!db.OpenRecordset(fileToTable::ExistsSQL(table.database, table.table))->Eof())
            throw std::runtime_error("the table is there already");
        QString statement;
        const QList<fileToTable::Column> columns = fileToTable::PlanColumns(db, source.Name(), table, statement);
        written = modUpdate::RunUnit(source.Name(), QStringLiteral("bench"),
                                     [&] { fileToTable::WriteRows(table, columns); }) &&
                  written;
    });
    const QStringList inserts = modUpdate::LastStatements().filter(QStringLiteral("INSERT INTO"));
    Result result = BesideInsertLoop(plain, layer, inserts, QStringLiteral("T%1").arg(runs));
    ReleaseWorkspace();
    if (!written || inserts.size() != fields + 1)
        result.failure = QStringLiteral("%1 rows written of %2").arg(inserts.size()).arg(fields + 1);
    return result;
}

} // namespace bench
