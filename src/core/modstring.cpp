#include "modstring.h"

#include "errortrace.h"

namespace modString {

namespace {

// The characters of the Windows-1252 codes 128 to 159.
constexpr char16_t kAnsiHigh[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

} // namespace

int ansiCode(QChar c)
{
    const char16_t u = c.unicode();
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF))
        return u;
    for (int i = 0; i < 32; ++i)
        if (kAnsiHigh[i] == u)
            return 128 + i;
    return '?';
}

QChar ansiChar(unsigned char code)
{
    return code >= 0x80 && code < 0xA0 ? QChar(kAnsiHigh[code - 0x80]) : QChar(code);
}

QString Pluralise(const QString &word, const QVariant &count)
{
    bool ok = false;
    const double n = count.toDouble(&ok);
    if (ok && n == 1)
        return word;
    if (word.endsWith(QLatin1Char('y')))
        return word.left(word.size() - 1) + QStringLiteral("ies");
    return word + QLatin1Char('s');
}

QString TrimNull(const QString &text)
{
    const qsizetype nul = text.indexOf(QChar(0));
    return nul < 0 ? text : text.left(nul);
}

QString TrimBlanks(const QString &text)
{
    qsizetype start = 0, end = text.size();
    while (start < end && text[start] == QLatin1Char(' '))
        ++start;
    while (end > start && text[end - 1] == QLatin1Char(' '))
        --end;
    return text.mid(start, end - start);
}

namespace {

bool isOutside(QChar c)
{
    const int code = ansiCode(c);
    return code < 32 || code > 128;
}

} // namespace

QString TrimControlChars(const QString &text)
{
    QString s = TrimBlanks(text);
    while (!s.isEmpty() && isOutside(s.front()))
        s = TrimBlanks(s.mid(1));
    while (!s.isEmpty() && isOutside(s.back()))
        s = TrimBlanks(s.left(s.size() - 1));
    return s;
}

QString ExtractAttr(const QString &key, const QString &attributes)
{
    TraceScope trace(QStringLiteral("modString.ExtractAttr"));
    const qsizetype found = key.isEmpty() ? 0 : attributes.indexOf(key);
    if (found < 0)
        return {};
    const qsizetype start = found + key.size();
    qsizetype end = attributes.indexOf(QLatin1Char(';'), start);
    if (end < 0)
        end = attributes.size();
    QString value = attributes.mid(start, end - start);
    if (value.startsWith(QLatin1Char('=')))
        value.remove(0, 1);
    return value;
}

QString OutOfRange(const QString &what, qint64 low, qint64 high)
{
    return what + QStringLiteral(" is out of range.\r\nPlease enter a value between %1 and %2.").arg(low).arg(high);
}

std::optional<qint64> WholeNumber(const QString &text)
{
    // Checked by hand: a catalog import checks every number of every line here.
    // The common case first: digits alone, few enough that they cannot overflow.
    const qsizetype n = text.size();
    const qsizetype sign = n > 0 && text[0] == QLatin1Char('-') ? 1 : 0;
    if (n > sign && n <= 18) {
        qint64 number = 0;
        qsizetype i = sign;
        for (; i < n; ++i) {
            const char16_t c = text[i].unicode();
            if (c < u'0' || c > u'9')
                break;
            number = number * 10 + (c - u'0');
        }
        if (i == n)
            return sign ? -number : number;
    }
    const QStringView trimmed = QStringView(text).trimmed();
    const qsizetype first = trimmed.startsWith(QLatin1Char('-')) ? 1 : 0;
    if (trimmed.size() == first)
        return std::nullopt;
    for (qsizetype i = first; i < trimmed.size(); ++i)
        if (trimmed[i] < QLatin1Char('0') || trimmed[i] > QLatin1Char('9'))
            return std::nullopt;
    bool ok = false;
    const qint64 value = trimmed.toLongLong(&ok);
    if (!ok)
        return std::nullopt;
    return value;
}

bool NumberIn(const QString &text, qint64 low, qint64 high)
{
    const auto value = WholeNumber(text);
    return value && *value >= low && *value <= high;
}

} // namespace modString
