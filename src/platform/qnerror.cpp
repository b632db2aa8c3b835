#include "qnerror.h"

namespace qnerr {

QString standardDescription(long number)
{
    switch (number) {
    case InvalidProcedureCall: return QStringLiteral("Invalid procedure call or argument");
    case Overflow: return QStringLiteral("Overflow");
    case OutOfMemory: return QStringLiteral("Out of memory");
    case SubscriptOutOfRange: return QStringLiteral("Subscript out of range");
    case TypeMismatch: return QStringLiteral("Type mismatch");
    case InternalError: return QStringLiteral("Internal error");
    case ObjectNotSet: return QStringLiteral("Object variable or With block variable not set");
    case InvalidUseOfNull: return QStringLiteral("Invalid use of Null");
    case ValidationFailed: return QStringLiteral("Invalid property value");
    case ObjectDoesntSupport: return QStringLiteral("Object doesn't support this property or method");
    case KeyAlreadyAssociated: return QStringLiteral("This key is already associated with an element of this collection");
    case NoCurrentRecord: return QStringLiteral("No current record.");
    case ConnectCancelled: return QStringLiteral("Operation canceled by user.");
    case OdbcCallFailed: return QStringLiteral("ODBC--call failed.");
    case FileDialogCancelled: return QStringLiteral("Cancel was selected.");
    default: return QStringLiteral("Application-defined or object-defined error");
    }
}

void raise(long number, const QString &description)
{
    throw QnError(number, description.isEmpty() ? standardDescription(number) : description);
}

} // namespace qnerr
