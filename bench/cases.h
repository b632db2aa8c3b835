#pragma once

// The benchmark's cases; each row of the case table in main.cpp names one.

#include "bench.h"

namespace bench {

// Reading every row of a large QN_FIELD table: the data layer's snapshot
// against a plain ODBC loop over the same file (figure: their time ratio).
Result ReadSnapshot(int rows);

// Walking the tree's node collection by position after removals (figure: the
// time per node in microseconds).
Result NodesByPosition(int rows);

// Expanding a Tables folder of a database, and a file's Fields folder, in the
// explorer tree (figure: the milliseconds of one expansion, until the view has
// laid out the rows).
Result ExpandTables(int rows);
Result ExpandFields(int rows);
// Expand All of a data source with that many files of ten fields each, and
// the collapse of its Files folder after it (figure: the milliseconds of one,
// until the view has laid the tree out).
Result ExpandAll(int files);
Result CollapseAfterExpandAll(int files);
// In a fresh program window each run, as a user does it with the mouse: the
// data source expanded, Expand All of its Files folder (answered Yes), the
// folder collapsed with its button, then Expand All of the data source from
// its menu (figure: the milliseconds of that last command).
Result ExpandAllAfterCollapse(int files);
// The table data viewer on a table of that many rows: the time until its first
// rows show (figure: that time in milliseconds), and the fill of the rest
// (figure: the longest time in milliseconds one step of it kept the window
// from its events).
Result ViewFirstScreen(int rows);
Result ViewFill(int rows);
// Showing the Columns pane of a table with that many columns, the Files pane
// of a data source with that many files, and the Fields pane of a file with
// that many fields (figure: the time of one Display in milliseconds).
Result ColumnsPane(int rows);
Result FilesPane(int rows);
Result FieldsPane(int rows);
// The catalog exchange file on a catalog of that many user rows: the export
// pane against the sqlite3 shell's CSV export of the same rows, and the
// two-stage import into a new catalog against a plain ODBC loop running the
// same INSERTs in one transaction (figures: the time ratios).
Result CsvExport(int rows);
Result CsvImport(int rows);

// Copying a file of that many fields to another data source with the file
// drag, the answer Copy given (figure: its time over that of the same INSERTs
// through a plain ODBC loop in one transaction).
Result CopyFile(int rows);

// Copying a database of that many tables of ten columns each under a new name
// (the copy dialog's unit), and the wizard's Finish for a file of that many
// fields, each beside a plain ODBC loop of the same INSERTs in one transaction
// (figure: their time ratio).
Result CopyDatabase(int tables);
Result WizardFinish(int fields);

} // namespace bench
