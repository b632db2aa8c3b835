#pragma once

#include <QString>
#include <QVariant>
#include <optional>

// Small text routines shared by the editors, the catalog import and the data viewer.
namespace modString {

// The character's code in the 8-bit Windows-1252 code page; 63 ("?") when it has none.
int ansiCode(QChar c);
// The character of a Windows-1252 code.
QChar ansiChar(unsigned char code);

// The word, or its plural when the count is not 1 ("entry" -> "entries", "day" -> "daies").
QString Pluralise(const QString &word, const QVariant &count);

// The text without the blanks (spaces only, not tabs) at its two ends.
QString TrimBlanks(const QString &text);

// The text before its first NUL character.
QString TrimNull(const QString &text);

// The text without spaces, control characters and characters above code 128 at its two ends.
QString TrimControlChars(const QString &text);

// The range message of a number: "<what> is out of range.", a line break and
// "Please enter a value between <low> and <high>."
QString OutOfRange(const QString &what, qint64 low, qint64 high);

// The value of the first item `key` (written with its ";" and "=", as ";LENGTH=") in an
// attribute text such as ";LENGTH=10;SCALE=2;"; empty when absent.
QString ExtractAttr(const QString &key, const QString &attributes);

// A number cell's or a file's whole number: an optional "-" and digits, blanks
// around them allowed; nothing for anything else (or a number beyond 64 bits).
std::optional<qint64> WholeNumber(const QString &text);
// True when `text` is a whole number from `low` to `high`.
bool NumberIn(const QString &text, qint64 low, qint64 high);

} // namespace modString

// A counter kept in keyed collections by the catalog import.
class clsCount
{
public:
    qint32 Value() const { return m_value; }
    void setValue(qint32 value) { m_value = value; }

private:
    qint32 m_value = 0;
};
