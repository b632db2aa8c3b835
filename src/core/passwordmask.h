#pragma once

#include <QString>

// `text` (statements, a connect text, a message) with every password value
// shown as ****, for what the program shows or reports of a failure; the
// statements that run are never masked. Masked are:
// - the value written to or compared with USER_PASSWORD or DATABASE_PASSWORD
//   ("SET USER_PASSWORD = 'x'", "WHERE T.DATABASE_PASSWORD = 'x'"), any case;
// - in "INSERT INTO t (columns) VALUES (values)[, (values)...]" the value at
//   the position of such a column (QN_USER and QN_DBPRV without a column list
//   by their catalog positions);
// - the value of a PWD= or PASSWORD= part of a connect text, plain or inside a
//   quoted SQL text (up to ";", the end of the line or of the quoted text; a
//   value in braces up to its closing brace).
// A quoted value stays quoted ('****'); apostrophes doubled inside quotes are
// taken as part of the value. Masking a masked text changes nothing.
QString MaskPasswords(const QString &text);
