// Copying a database of many tables with ten columns each under a new name,
// as the copy dialog's OK does (its one unit), beside a plain ODBC loop of the
// same INSERTs in one transaction.
#include <stdexcept>

#include "cases.h"
#include "copymove/frmdbcopy.h"
#include "core/cconnections.h"
#include "core/modupdate.h"

namespace bench {

Result CopyDatabase(int tables)
{
    DataSource source;
    Fill(source.File(), 1,
         "INSERT INTO QN_DB VALUES ('BENCH', 'BENCH_DATA:', 'DISAM', NULL, NULL, 'A benchmark database', 'Bench')");
    Fill(source.File(), tables,
         "INSERT INTO QN_TABLE VALUES ('BENCH', 'TABLE_' || ?1, 'TABLE', 'BENCHF', 'TABLE.DAT', 10, NULL, "
         "'A table of a benchmark database', 'Table_' || ?1)");
    Fill(source.File(), tables * 10,
         "INSERT INTO QN_COLUMN VALUES ('BENCH', 'TABLE_' || ((?1 - 1) / 10 + 1), (?1 - 1) % 10 + 1, 'COLUMN_' || "
         "((?1 - 1) % 10 + 1), 'FIELD-' || ?1, 'VARCHAR', 30, 30, 0, 1, 0, 1, 1, 0, 0, 1, 3, 0, NULL, "
         "'A column of a benchmark table', 0, 0, 'COLUMN_' || ((?1 - 1) % 10 + 1))");
    const PlainConnection plain(source.Name());

    int copies = 0;
    bool copied = true;
    const double layer = Best([&] {
        const QString target = QStringLiteral("C%1").arg(++copies);
        copied = modUpdate::RunUnit(source.Name(), QStringLiteral("bench"),
                                    [&] { frmDBCopy::CopyRows(QStringLiteral("BENCH"), target); }) &&
                 copied;
    });
    const QStringList inserts = modUpdate::LastStatements().filter(QStringLiteral("INSERT INTO"));
    Result result = BesideInsertLoop(plain, layer, inserts, QStringLiteral("C%1").arg(copies));
    ReleaseWorkspace();
    if (!copied || inserts.size() != 1 + tables * 11)
        result.failure = QStringLiteral("%1 rows written of %2").arg(inserts.size()).arg(1 + tables * 11);
    return result;
}

} // namespace bench
