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

// Showing the Columns pane of a table with that many columns, and the Files
// pane of a data source with that many files (figure: the time of one Display
// in milliseconds).
Result ColumnsPane(int rows);
Result FilesPane(int rows);

} // namespace bench
