#pragma once

// Turning values into SQL text, building statements, showing SQL readably and
// reading a little catalog metadata.

#include <QString>
#include <QStringList>
#include <QVariant>

#include "dao.h"

class QWidget;

namespace modDatabase {

// The value as text with every apostrophe doubled; Null gives "".
QString EscapeQuotes(const QVariant &value);
// The value as an SQL text literal: between apostrophes, its own doubled ('' for Null).
QString Quoted(const QVariant &value);
// The same, but a Null stays Null: the bare word NULL. The writers that copy a
// stored row (drags, copies, the wizard) go through here.
QString QuotedOrNull(const QVariant &value);
// The same literal of `text`, appended to `sql` (a statement built piece by piece).
void AppendQuoted(QString &sql, QStringView text);
// "DATABASE_NAME = '<database>' AND TABLE_NAME = '<table>'": the rows of one table.
QString TableWhere(const QString &database, const QString &table);

// "<c1> = '<v1>' AND <c2> = '<v2>'": the rows whose `columns` hold `values` (quoted).
QString KeyWhere(const QStringList &columns, const QStringList &values);
// "SELECT <c1>, <c2> FROM <table> WHERE <c1> = '<v1>' AND <c2> = '<v2>'": the
// catalog row whose key `columns` hold `values` (quoted).
QString RowSQL(const QString &table, const QStringList &columns, const QStringList &values);

// True for an optional sign, digits and an optional decimal part (or an empty text).
bool IsNumber(const QString &text);
// A number typed or read from a file in its SQL form: "0" followed by the text as
// given ("" -> "0", "12" -> "012", "-5" -> "0-5"). Anything that is not a number
// fails with a validation error carrying `message` before any statement runs.
QString NumberSQL(const QString &text, const QString &message = {});

// How a number read back from a catalog row is written: "0" and its text, its
// text alone, or its text alone between apostrophes.
enum class NumberForm { ZeroPrefixed, Bare, Quoted };
// A number read back from a catalog row (column `column`) in its SQL form: the
// stored text checked as a typed number is, then written as `form` says; a Null
// or empty value gives "0" in either form. A stored text that is not a number
// fails with 380 before any statement runs. Every writer that copies a stored
// number into a statement (rename, copy, import, grid) goes through here.
QString StoredNumberSQL(const QVariant &value, const QString &column, NumberForm form = NumberForm::ZeroPrefixed);
// The same, but a Null (or empty) value stays Null: the bare word NULL. The
// writers that copy a row (drags, copies, import, grid) go through here.
QString StoredNumberOrNullSQL(const QVariant &value, const QString &column, NumberForm form = NumberForm::Bare);

// A name written into SQL outside quotes ("SELECT * FROM <name>"), returned as
// given once checked: letters and digits of any script, combining marks, and
// _ $ # @ . only. Anything that could end the name inside the statement (a
// blank, a quote, a semicolon, a comment mark, a parenthesis, a comma, an
// operator) and the empty name fail with 380 before any statement runs.
const QString &NameSQL(const QString &name);

// "INSERT INTO <table> (<tags>) VALUES (<values>)" from the tagged elements of
// `control`'s array on `form`, in the form's control order.
QString BuildInsertSQL(const QWidget *form, const QWidget *control, const dao::Fields &fields, const QString &table);
QString BuildDeleteSQL(const QString &table, const QString &condition);

// SQL text laid out for reading: one clause a line, lists broken after commas.
QString FormatSQL(const QVariant &sql);

// True for the catalog's own file definitions (FILE, FIELD, TABLE, ...), shown
// only with the SysTables option and never editable.
bool IsSystemFile(const QString &name);

// The fields of `table` (no row is read); no fields after an ignored failure.
dao::Fields FetchFieldInfo(dao::Database &db, const QString &table);
// The file of a catalog table; empty when there is no such table.
QString FetchTableFile(dao::Database &db, const QString &databaseName, const QString &tableName);
// The most characters an input for a column of this type and size may hold; 0 means no limit.
int CalcMaxLength(const dao::Field &field);
int CalcMaxLength(int type, long size);
// The first name, made of `base` without its trailing digits and a counter, for which
// `queryTemplate` (its last "?" replaced by the escaped candidate) finds no row.
// Each candidate is cut to the width of the query's first column; 380 when
// no candidate of that width is free.
QString CalcUniqueName(dao::Database &db, const QString &queryTemplate, QString base);

} // namespace modDatabase
