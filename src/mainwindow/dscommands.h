#pragma once

// The statements of the data-source commands and of Recalculate Offsets.

#include <QList>
#include <QString>
#include <QVariant>

namespace dscommands {

// One statement of Clear Catalog and the status shown before it (empty: the
// previous status stays).
struct ClearStep
{
    QString status;
    QString sql;
};
// The nine statements, in the order they run.
const QList<ClearStep> &ClearCatalogSteps();

// A number as the statements write an offset: one blank before a value of 0 or
// more, "-" before a negative one.
QString Str(qint64 value);

// The UPDATE that moves one QN_FIELD row to `offset`; the row is named by its
// stored FILE_NAME, FIELD_NAME and FIELD_NUMBER (a Null number matches with
// IS NULL; a stored number that is not one fails with 380).
QString OffsetStatement(qint32 offset, const QVariant &fileName, const QVariant &fieldName,
                        const QVariant &fieldNumber);

} // namespace dscommands
