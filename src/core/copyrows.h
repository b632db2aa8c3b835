#pragma once

// The row statements of the copies (the copy dialogs, the wizard, the drags).

#include <QString>
#include <QStringList>

#include "dao.h"

namespace copyRows {

// Statements of the copies, from a source row `rs` read with "SELECT *".
// A stored value is written as it is stored: texts quoted, numbers bare or
// quoted as each statement gives them, and a Null, text or number, as the
// bare word NULL (a stored '' stays '').

// The value of `column` as text (a Null as "").
QString Value(const dao::Recordset &rs, const char *column);
// The value of `column` as a quoted text literal; a Null as NULL.
QString Text(const dao::Recordset &rs, const char *column);
// The stored number of `column`: bare or quoted, a Null as NULL; 380 for a text that is no number.
QString Number(const dao::Recordset &rs, const char *column, bool quoted = false);

// The 23-column INSERT of a column row under `database` and `table`.
QString ColumnInsert(const QString &database, const QString &table, const dao::Recordset &rs);
// The INSERT of a table privilege row under `database` and `table`.
QString TablePrivilegeInsert(const QString &database, const QString &table, const dao::Recordset &rs);
// The DELETE of the one row of `catalogTable` whose key columns `keys` hold `values`.
QString RowDelete(const QString &catalogTable, const QStringList &keys, const QStringList &values);

// After a copy's or a wizard Finish's unit failed: when it had no transaction
// and deleted again the rows it had written, tells the user so.
void TellIfDeletedAgain();

} // namespace copyRows
