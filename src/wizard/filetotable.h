#pragma once

// A new catalog table made from a file definition: its QN_TABLE row and one
// QN_COLUMN row per field of the file, in field-number order, each column's
// SQL type, length and precision worked out from the field's local data type
// (QN_LOCDT) and that type's SQL data type (QN_SQLDT). No widget here: the
// wizard's Finish plans the columns, says which fields it skips, then writes
// the rows as one unit.

#include <QList>
#include <QString>

namespace dao {
class Database;
}

namespace fileToTable {

// The new table: the choices of the wizard's pages.
struct NewTable
{
    QString database;
    QString table;
    QString file;
    QString specification;
    QString remarks;
    QString displayName;
    qint64 fieldCount = 0; // every field of the file, skipped ones included
};

// One field of the file and what becomes of it.
struct Column
{
    QString fileName;  // the field row's FILE_NAME
    QString fieldName; // its FIELD_NAME
    QString insert;    // the column's INSERT; empty for a field skipped
    QString undo;      // the DELETE of that column
    QString skipped;   // why the field gets no column (its local type is unknown); empty otherwise
};

// The query that counts the fields of `file`, and the one that finds `table` in `database`.
QString CountSQL(const QString &file);
QString ExistsSQL(const QString &database, const QString &table);

// Reads the file's fields in field-number order and the two type tables once,
// and works out each field's column; `statement` holds the query a failure
// concerns (a field whose local type names no QN_SQLDT row fails with 3021,
// reported with the query of that type). `dsn` names the data source in the
// skip message.
QList<Column> PlanColumns(dao::Database &db, const QString &dsn, const NewTable &table, QString &statement);

// Inside a unit of the data source: the database's row read (3021 when it is
// gone), then the QN_TABLE row and the planned columns, with the status text
// "Processing File ..." for every field.
void WriteRows(const NewTable &table, const QList<Column> &columns);

} // namespace fileToTable
