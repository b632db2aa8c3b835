// Showing a list pane over a large collection: the time of one Display (the
// query, the fill of the grid, the value words, the new row).
#include <stdexcept>

#include "cases.h"
#include "core/cconnections.h"
#include "panes/frmcolumns.h"
#include "panes/frmfields.h"
#include "panes/frmfiles.h"

namespace bench {

namespace {

// The best time of Display on `pane` with `keys`; the rows it shows (the new row left out).
Result display(GridPane &pane, const QStringList &keys)
{
    pane.resize(800, 600);
    pane.show();
    if (pane.Display(keys) != 0)
        throw std::runtime_error("the pane found no connection");
    Result result;
    // The pane as the user sees it: filled, laid out and painted.
    result.ms = Best([&] {
        pane.Display(keys);
        pane.repaint();
    });
    result.rows = pane.grd->Rows() - 1;
    result.figure = result.ms;
    return result;
}

} // namespace

Result ColumnsPane(int rows)
{
    DataSource source;
    Fill(source.File(), rows,
         "INSERT INTO QN_COLUMN (DATABASE_NAME, TABLE_NAME, COLUMN_NUMBER, COLUMN_NAME, FIELD_NAME, SQL_TYPE_NAME, "
         "LENGTH, PRECISION, SCALE, NULLABLE, UNSIGNED_ATTRIBUTE, UPDATABLE, VISIBLE, MONEY, AUTO_INCREMENT, "
         "CASE_SENSITIVE, SEARCHABLE, RADIX, DEFAULT_VALUE, REMARKS, SETFILEPARAMETER, COLUMN_TYPE, DISPLAY_NAME) "
         "VALUES ('BENCH', 'T', ?1, 'COLUMN_' || ?1, 'FIELD-' || ?1, 'VARCHAR', 30, 30, 0, 1, 0, 1, 1, 0, 0, 1, 3, 0, "
         "NULL, 'A column of a benchmark table', 0, 0, 'COLUMN_' || ?1)");
    Result result;
    {
        frmColumns pane;
        result = display(pane, {source.Name(), QStringLiteral("BENCH"), QStringLiteral("T")});
    }
    ReleaseWorkspace();
    if (result.rows != rows)
        result.failure = QStringLiteral("%1 rows shown, %2 written").arg(result.rows).arg(rows);
    return result;
}

Result FilesPane(int rows)
{
    DataSource source;
    Fill(source.File(), rows,
         "INSERT INTO QN_FILE (FILE_NAME, OPEN_STRING, RECORD_SIZE, FILE_ORGANISATION, RECORD_TYPE, REMARKS) "
         "VALUES ('BENCH' || ?1, NULL, ?1, 'INDEXED', 'FIXED', 'A file of the benchmark')");
    Result result;
    {
        frmFiles pane;
        result = display(pane, {source.Name()});
    }
    ReleaseWorkspace();
    if (result.rows != rows)
        result.failure = QStringLiteral("%1 rows shown, %2 written").arg(result.rows).arg(rows);
    return result;
}

Result FieldsPane(int rows)
{
    DataSource source;
    Fill(source.File(), rows,
         "INSERT INTO QN_FIELD (FILE_NAME, FIELD_NUMBER, FIELD_NAME, LOCAL_TYPE_NAME, OFFSET, LENGTH, PRECISION, "
         "SCALE, ENCRYPTED, FORMAT, DEFAULT_VALUE, REMARKS) VALUES ('BENCH', ?1, 'FIELD-' || ?1, 'STRING', 10 * ?1, "
         "10, 10, 0, ?1 % 3, NULL, NULL, 'A field of the benchmark')");
    Result result;
    {
        frmFields pane;
        result = display(pane, {source.Name(), QStringLiteral("BENCH")});
    }
    ReleaseWorkspace();
    if (result.rows != rows)
        result.failure = QStringLiteral("%1 rows shown, %2 written").arg(result.rows).arg(rows);
    return result;
}

} // namespace bench
