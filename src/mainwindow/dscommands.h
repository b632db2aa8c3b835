#pragma once

// The statement of Recalculate Offsets that moves one field.

#include <QString>
#include <QVariant>

namespace dscommands {

// The UPDATE that moves one QN_FIELD row to `offset`, written with one blank
// before a value of 0 or more and "-" before a negative one; the row is named
// by its stored FILE_NAME, FIELD_NAME and FIELD_NUMBER (a Null number matches
// with IS NULL; a stored number that is not one fails with 380).
QString OffsetStatement(qint32 offset, const QVariant &fileName, const QVariant &fieldName,
                        const QVariant &fieldNumber);

} // namespace dscommands
