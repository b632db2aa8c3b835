#include "localtyperules.h"

#include "modstring.h"

namespace localtype {

namespace {

constexpr qint32 kSignedDigits[8] = {3, 5, 7, 10, 12, 15, 17, 19};
constexpr qint32 kUnsignedDigits[8] = {3, 5, 8, 10, 13, 15, 17, 20};

const QString kSemicolon = QStringLiteral(";");

Value variable(qint32 value, qint32 min, qint32 max)
{
    return {value, min, max, true, RangeLabel(min, max)};
}

Value fixed(qint32 value) { return {value, value, value, false, FixedLabel(value)}; }

} // namespace

QString Wrap(const QString &attributes)
{
    QString wrapped = attributes;
    if (!wrapped.startsWith(kSemicolon))
        wrapped.prepend(kSemicolon);
    if (wrapped.size() == 1 || !wrapped.endsWith(kSemicolon))
        wrapped.append(kSemicolon);
    return wrapped;
}

qint32 Number(const QString &key, const QString &wrapped)
{
    bool ok = false;
    const qint32 value = modString::ExtractAttr(key, wrapped).trimmed().toInt(&ok);
    return ok ? value : 0;
}

bool IsBinary(const QString &wrapped) { return wrapped.startsWith(QLatin1String(";BINARY")); }
bool IsPacked(const QString &wrapped) { return wrapped.startsWith(QLatin1String(";PACKED")); }
bool IsString(const QString &wrapped) { return wrapped.mid(8, 7) == QLatin1String("STRING;"); }

qint32 IntegerDigits(qint32 bytes, bool isUnsigned)
{
    if (bytes < 1 || bytes > 8)
        return 0;
    return isUnsigned ? kUnsignedDigits[bytes - 1] : kSignedDigits[bytes - 1];
}

QString RangeLabel(qint32 min, qint32 max) { return QStringLiteral("(%1 to %2)").arg(min).arg(max); }

QString FixedLabel(qint32 value) { return QStringLiteral("(%1 - Fixed)").arg(value); }

Rules Derive(const QString &attributes)
{
    const QString a = Wrap(attributes);
    auto number = [&](const char *key) { return Number(QLatin1String(key), a); };
    Rules r;
    r.packed = IsPacked(a);

    // Length: a default makes it variable within its bounds, else fixed.
    const qint32 defaultLength = number(";DEFAULT_LENGTH=");
    if (defaultLength != 0) {
        const qint32 min = number(";MIN_LENGTH="), max = number(";MAX_LENGTH=");
        r.length = variable(defaultLength, min != 0 ? min : 1, max != 0 ? max : 65535);
    } else {
        r.length = fixed(number(";LENGTH="));
    }
    const qint32 L = r.length.value;

    // Precision: derived from the length when a default precision is given, else fixed.
    const qint32 defaultPrecision = number(";DEFAULT_PRECISION=");
    if (defaultPrecision == 0) {
        const qint32 precision = number(";PRECISION=");
        r.precision = fixed(precision != 0 ? precision : L);
    } else {
        qint32 P = defaultPrecision;
        if (IsBinary(a)) {
            if (a.contains(QLatin1String(";INTEGER;"))) {
                if (const qint32 digits = IntegerDigits(L, a.contains(QLatin1String(";UNSIGNED;"))))
                    P = digits;
            } else if (IsString(a)) {
                P = 2 * L;
            }
        } else {
            P = r.packed ? 2 * L : L;
        }
        r.precision = r.packed ? variable(P, 2 * L, 2 * L + 1) : variable(P, r.length.min, r.length.max);
        r.precision.enabled = !IsString(a);
    }

    // Scale: a default (0 included) makes it variable.
    if (!modString::ExtractAttr(QStringLiteral(";DEFAULT_SCALE="), a).isEmpty()) {
        const qint32 min = number(";MIN_SCALE="), max = number(";MAX_SCALE=");
        r.scale = variable(number(";DEFAULT_SCALE="), min != 0 ? min : -32, max != 0 ? max : 32);
    } else {
        r.scale = fixed(number(";SCALE="));
    }

    // Format: a default format may be chosen unless the length is fixed.
    r.format = modString::ExtractAttr(QStringLiteral(";DEFAULT_FORMAT="), a);
    if (r.format.isEmpty()) {
        r.format = modString::ExtractAttr(QStringLiteral(";FORMAT="), a);
        r.formatEnabled = false;
    } else {
        r.formatEnabled = !a.contains(QLatin1String(";LENGTH="));
    }
    return r;
}

} // namespace localtype
