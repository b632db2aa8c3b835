#pragma once

// What a local data type's attribute string (QN_LOCDT.ATTRIBUTES) makes of a
// field's length, precision, scale and format: the starting values, their
// bounds, which of them may be changed, and the format. Read from the text
// wrapped in one ";" at each end, the way the field editor and the fields
// grid read it: BINARY and PACKED count as the first item, STRING as the
// second after a six-letter first item, INTEGER and UNSIGNED as whole items
// anywhere; keys and flags compare exactly.

#include <QString>

namespace localtype {

// The attribute text with one ";" at each end; an end that has its ";"
// already gets none, so a stored ";A;B;" reads as "A;B" does.
QString Wrap(const QString &attributes);
// The number of item `key` (";LENGTH=") of a wrapped text: a signed whole
// number; 0 when the item is absent, empty or not a number.
qint32 Number(const QString &key, const QString &wrapped);

// Flags of a wrapped text.
bool IsBinary(const QString &wrapped); // ";BINARY" first
bool IsPacked(const QString &wrapped); // ";PACKED" first
bool IsString(const QString &wrapped); // "STRING;" as characters 9 to 15

// The decimal digits of a binary integer of `bytes` bytes (1 to 8); 0 for any other length.
qint32 IntegerDigits(qint32 bytes, bool isUnsigned);

// "(<min> to <max>)" and "(<value> - Fixed)".
QString RangeLabel(qint32 min, qint32 max);
QString FixedLabel(qint32 value);

// One value with its bounds; a fixed value has equal bounds and a "Fixed" label.
struct Value
{
    qint32 value = 0;
    qint32 min = 0;
    qint32 max = 0;
    bool enabled = false; // the box may be typed into
    QString label;
};

struct Rules
{
    Value length, precision, scale;
    QString format;
    bool formatEnabled = false; // the format box and its builder button
    bool packed = false;
};

// The rules of an attribute string as stored (not yet wrapped).
Rules Derive(const QString &attributes);

} // namespace localtype
