#include "catalogcsv.h"

#include <QStringDecoder>
#include <charconv>
#include <cstring>
#include <type_traits>

#include "core/clocdts.h"
#include "dao.h"
#include "core/moddatabase.h"
#include "core/modstring.h"

namespace CatalogCSV {

namespace {

bool isTrimmed(QChar c) { return c.unicode() <= 0x20; }


// The length of the UTF-8 sequence at `at`, 0 when the byte there begins none.
int sequenceLength(QByteArrayView bytes, qsizetype at)
{
    const auto byte = [&](qsizetype i) { return i < bytes.size() ? static_cast<unsigned char>(bytes[i]) : 0u; };
    const unsigned lead = byte(at);
    int length = 0;
    unsigned low = 0x80, high = 0xBF; // the range of the second byte
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0)
            low = 0xA0;
        else if (lead == 0xED)
            high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0)
            low = 0x90;
        else if (lead == 0xF4)
            high = 0x8F;
    } else {
        return 0;
    }
    if (byte(at + 1) < low || byte(at + 1) > high)
        return 0;
    for (int i = 2; i < length; ++i)
        if (byte(at + i) < 0x80 || byte(at + i) > 0xBF)
            return 0;
    return length;
}

// A value as the file writes it: a line break as one blank.
QString withoutBreaks(QString text, bool &replaced)
{
    if (!text.contains(QLatin1Char('\r')) && !text.contains(QLatin1Char('\n')))
        return text;
    replaced = true;
    text.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    text.replace(QLatin1Char('\r'), QLatin1Char(' '));
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return text;
}

// Writes one record into the end of `out` through a pointer, the room for
// each piece made before it is written; `out` is cut to what was written when
// the writer goes.
class RecordWriter
{
public:
    explicit RecordWriter(QByteArray &out) : m_out(out), m_at(out.size()) {}
    ~RecordWriter() { m_out.truncate(m_at); }
    RecordWriter(const RecordWriter &) = delete;
    RecordWriter &operator=(const RecordWriter &) = delete;

    void put(char c) { *room(1) = c; ++m_at; }
    void put(QByteArrayView bytes)
    {
        memcpy(room(bytes.size()), bytes.data(), size_t(bytes.size()));
        m_at += bytes.size();
    }
    void put(qint64 number)
    {
        char *const to = room(24);
        m_at += std::to_chars(to, to + 24, number).ptr - to;
    }
    // `text` quoted, as UTF-8, its double quotes doubled.
    void quoted(const QString &text)
    {
        QByteArray bytes = text.toUtf8();
        bytes.replace('"', QByteArrayView("\"\""));
        put('"');
        put(bytes);
        put('"');
    }
    // An all-ASCII text (of QChars or of bytes) quoted, its double quotes
    // doubled and each line break (CR LF, CR or LF) a blank, as
    // quoted(withoutBreaks()) would; false, with nothing written, for a text
    // with other characters.
    template <class Text> bool quotedAscii(Text text, bool &replaced)
    {
        const auto code = [](auto c) -> char16_t {
            if constexpr (std::is_same_v<decltype(c), QChar>)
                return c.unicode();
            else
                return static_cast<unsigned char>(c);
        };
        const qsizetype n = text.size();
        char *const first = room(2 * n + 2);
        char *to = first;
        *to++ = '"';
        bool breaks = false;
        for (qsizetype i = 0; i < n; ++i) {
            const char16_t c = code(text[i]);
            if (c >= 0x80)
                return false; // nothing counts as written
            if (c == u'"') {
                *to++ = '"';
                *to++ = '"';
            } else if (c == u'\r' || c == u'\n') {
                breaks = true;
                *to++ = ' ';
                if (c == u'\r' && i + 1 < n && code(text[i + 1]) == u'\n')
                    ++i;
            } else {
                *to++ = char(c);
            }
        }
        *to++ = '"';
        m_at += to - first;
        replaced = replaced || breaks;
        return true;
    }

private:
    char *room(qsizetype n)
    {
        if (m_out.size() < m_at + n)
            m_out.resize(m_at + n + 256);
        return m_out.data() + m_at;
    }

    QByteArray &m_out;
    qsizetype m_at;
};

// A number in the C locale, without grouping.
QString numberText(const QVariant &value)
{
    switch (value.typeId()) {
    case QMetaType::Bool: return value.toBool() ? QStringLiteral("1") : QStringLiteral("0");
    case QMetaType::Double:
    case QMetaType::Float: return QString::number(value.toDouble(), 'g', 15);
    default: return value.toString();
    }
}

} // namespace

const QStringList &Tags()
{
    static const QStringList tags = {QStringLiteral("FILE"),   QStringLiteral("FIELD"), QStringLiteral("DB"),
                                     QStringLiteral("TABLE"),  QStringLiteral("COLUMN"), QStringLiteral("USER"),
                                     QStringLiteral("DBPRV"), QStringLiteral("TBLPRV")};
    return tags;
}

void ReadFields(QStringView line, QStringList &fields)
{
    qsizetype count = 0;
    // The next field, trimmed, written over the text in its place where that
    // is no one else's, so that a list read into line after line keeps its room.
    const auto put = [&](QStringView value) {
        qsizetype from = 0, to = value.size();
        while (from < to && isTrimmed(value[from]))
            ++from;
        while (to > from && isTrimmed(value[to - 1]))
            --to;
        value = value.sliced(from, to - from);
        if (count < fields.size()) {
            QString &slot = fields[count];
            if (slot.isDetached()) {
                slot.resize(value.size());
                if (!value.isEmpty())
                    std::memcpy(slot.data(), value.data(), size_t(value.size()) * sizeof(QChar));
            } else {
                slot = value.toString();
            }
        } else {
            fields.append(value.toString());
        }
        ++count;
    };
    // The position of `c` in `line` from `from` on, -1 when there is none.
    const auto find = [&](char16_t c, qsizetype from) -> qsizetype {
        const char16_t *const data = line.utf16();
        for (qsizetype at = from; at < line.size(); ++at)
            if (data[at] == c)
                return at;
        return -1;
    };
    const qsizetype n = line.size();
    qsizetype i = 0;
    QString unquoted; // a value with doubled quotes, as it reads
    while (n > 0) {
        while (i < n && isTrimmed(line[i]))
            ++i;
        if (i < n && line[i] == QLatin1Char('"')) {
            const qsizetype start = ++i;
            qsizetype close = find(u'"', i);
            if (close < 0 || close + 1 >= n || line[close + 1] != QLatin1Char('"')) {
                // The common case: no doubled quote inside.
                i = close < 0 ? n : close + 1;
                put(line.sliced(start, (close < 0 ? n : close) - start));
            } else {
                unquoted.clear();
                for (;;) {
                    if (close < 0) {
                        unquoted += line.sliced(i);
                        i = n;
                        break;
                    }
                    unquoted += line.sliced(i, close - i);
                    if (close + 1 < n && line[close + 1] == QLatin1Char('"')) {
                        unquoted += QLatin1Char('"');
                        i = close + 2;
                        close = find(u'"', i);
                        continue;
                    }
                    i = close + 1; // after the closing quote
                    break;
                }
                put(unquoted);
            }
            while (i < n && isTrimmed(line[i]))
                ++i;
            if (i >= n)
                break;
            if (line[i] == QLatin1Char(',')) {
                ++i;
                if (i >= n) {
                    put({});
                    break;
                }
            }
            // Anything else after the closing quote begins the next value.
            continue;
        }
        const qsizetype comma = find(u',', i);
        if (comma < 0) {
            put(line.sliced(i));
            break;
        }
        put(line.sliced(i, comma - i));
        i = comma + 1;
        if (i >= n) {
            put({});
            break;
        }
    }
    fields.resize(count);
}

QStringList ReadFields(QStringView line)
{
    QStringList fields;
    ReadFields(line, fields);
    return fields;
}

QString CompleteShortForm(QStringList &fields, const CLOCDTs &types)
{
    const QString tag = fields.value(0).toUpper();
    const qsizetype count = fields.size();
    if (tag == QLatin1String("FIELD") && count == 6) {
        fields.resize(11);
        if (const auto type = types.Item(fields[3])) {
            fields[6] = QString::number(type->DEFAULT_PRECISION());
            fields[7] = QString::number(type->DEFAULT_LENGTH());
            fields[8] = QStringLiteral("0");
            fields[9] = type->DEFAULT_FORMAT();
        }
        return QStringLiteral("Missing DT information - Assuming default");
    }
    if (tag == QLatin1String("DB") && count == 5) {
        fields << fields[1]; // DATABASE_NAME
        return {};
    }
    if (tag == QLatin1String("TABLE") && count == 7) {
        fields << fields[2]; // TABLE_NAME
        return {};
    }
    if (tag == QLatin1String("COLUMN") && count == 10) {
        fields << fields[3] << QStringLiteral("0");
        return {};
    }
    if (tag == QLatin1String("COLUMN") && count == 11) {
        if (!fields[10].isEmpty() && modDatabase::IsNumber(fields[10])) {
            fields << fields[10];
            fields[10] = fields[3];
            return {};
        }
        fields << QStringLiteral("0");
        return QStringLiteral("Missing Column Type - Assuming Default");
    }
    return {};
}

namespace {

// One value of a record after its comma, where no fast path of the cell's
// text serves.
void appendValue(RecordWriter &w, const QVariant &value, bool quoted, bool &replaced)
{
    if (quoted) {
        if (value.isNull())
            w.put(QByteArrayView("\"\""));
        else if (const QString text = value.toString(); !w.quotedAscii(QStringView(text), replaced))
            w.quoted(withoutBreaks(text, replaced));
        return;
    }
    if (value.isNull())
        return;
    switch (value.typeId()) {
    case QMetaType::Int: w.put(qint64(*static_cast<const int *>(value.constData()))); return;
    case QMetaType::LongLong: w.put(qint64(*static_cast<const qlonglong *>(value.constData()))); return;
    case QMetaType::Short: w.put(qint64(*static_cast<const short *>(value.constData()))); return;
    default: break;
    }
    const QString text = withoutBreaks(numberText(value), replaced);
    if (text.contains(QLatin1Char(',')) || text.contains(QLatin1Char('"')))
        w.quoted(text);
    else
        w.put(text.toUtf8());
}

} // namespace

bool AppendTextRecord(QByteArray &out, const QString &tag, const QByteArrayView *cells, const int *types,
                      const bool *quoted, int count)
{
    bool replaced = false;
    RecordWriter w(out);
    if (!w.quotedAscii(QStringView(tag), replaced))
        w.quoted(tag);
    for (int i = 0; i < count; ++i) {
        w.put(',');
        const QByteArrayView cell = cells[i];
        if (cell.isNull()) {
            if (quoted[i])
                w.put(QByteArrayView("\"\""));
            continue;
        }
        // ASCII text as it is, and whole numbers as their digits, straight
        // from the cell's text; anything else as the value read from it.
        if (quoted[i] && w.quotedAscii(cell, replaced))
            continue;
        if (!quoted[i] && (types[i] == dao::dbInteger || types[i] == dao::dbLong || types[i] == dao::dbByte ||
                           types[i] == dao::dbBigInt)) {
            qint64 number = 0;
            const auto [end, ec] = std::from_chars(cell.data(), cell.data() + cell.size(), number);
            if (ec == std::errc() && end == cell.data() + cell.size()) {
                w.put(number);
                continue;
            }
        }
        appendValue(w, dao::ValueOfText(types[i], cell), quoted[i], replaced);
    }
    w.put(QByteArrayView("\r\n"));
    return replaced;
}

QString DecodeLine(QByteArrayView bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return text;
    text.clear();
    text.reserve(bytes.size());
    for (qsizetype i = 0; i < bytes.size();) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        if (lead < 0x80) {
            text += QLatin1Char(char(lead));
            ++i;
            continue;
        }
        const int length = sequenceLength(bytes, i);
        if (length == 0) {
            text += modString::ansiChar(lead);
            ++i;
            continue;
        }
        text += QString::fromUtf8(bytes.sliced(i, length));
        i += length;
    }
    return text;
}

bool LineReader::Open(const QString &fileName)
{
    m_file.close();
    m_file.setFileName(fileName);
    return m_file.open(QIODevice::ReadOnly);
}

bool LineReader::Next(QString &line)
{
    QByteArrayView bytes;
    if (!nextBytes(bytes))
        return false;
    if (std::memchr(bytes.data(), 0, size_t(bytes.size()))) {
        QByteArray kept = bytes.toByteArray();
        kept.removeIf([](char c) { return c == '\0'; });
        line = DecodeLine(kept);
    } else {
        line = DecodeLine(bytes);
    }
    return true;
}

bool LineReader::Skip()
{
    QByteArrayView bytes;
    return nextBytes(bytes);
}

bool LineReader::nextBytes(QByteArrayView &bytes)
{
    // Read into one buffer kept from line to line (a line longer than it is
    // read in pieces).
    if (m_buffer.size() < kChunk)
        m_buffer.resize(kChunk);
    qsizetype length = 0;
    for (;;) {
        const qint64 read = m_file.readLine(m_buffer.data() + length, m_buffer.size() - length);
        if (read <= 0)
            break;
        length += read;
        if (m_buffer[length - 1] == '\n' || length + 1 < m_buffer.size())
            break;
        m_buffer.resize(m_buffer.size() * 2);
    }
    if (length == 0)
        return false;
    bytes = QByteArrayView(m_buffer.constData(), length);
    if (bytes.endsWith('\n'))
        bytes.chop(1);
    while (bytes.endsWith('\r'))
        bytes.chop(1);
    return true;
}

void Lines::Clear()
{
    m_text = QString();
    m_ends = {};
}

void Lines::Append(QStringView line)
{
    m_text += line;
    m_ends.push_back(m_text.size());
}

QStringView Lines::At(qsizetype index) const
{
    const qsizetype start = index == 0 ? 0 : m_ends[size_t(index - 1)];
    return QStringView(m_text).sliced(start, m_ends[size_t(index)] - start);
}

} // namespace CatalogCSV
