#pragma once

// The catalog exchange file: one line per catalog row, its record tag first
// ("FILE", "FIELD", "DB", "TABLE", "COLUMN", "USER", "DBPRV", "TBLPRV"), then
// the row's values, separated by commas. Written as UTF-8 without a byte-order
// mark, every line ending with CR LF; read as UTF-8, a byte that is no part of
// a UTF-8 sequence read as Windows-1252 (a file written in that code page).

#include <QByteArray>
#include <QByteArrayView>
#include <QFile>
#include <QString>
#include <QStringList>
#include <vector>

class CLOCDTs;

namespace CatalogCSV {

// The record tags, in the order of the file's blocks.
const QStringList &Tags();

// Takes one line apart into its fields: the tag as written, then the values.
// An empty line gives none. A value that begins with a double quote runs to
// the closing quote, two double quotes inside it standing for one; any other
// value runs to the next comma. Every field is trimmed of blanks and control
// characters (codes below 32); letters beyond ASCII stay. A comma at the end
// of the line gives a last, empty value, so that a Null written last keeps
// its place. Both stages of an import read a line here, so that what is
// checked is what is inserted.
QStringList ReadFields(QStringView line);
// The same into `fields`, whose texts are written over where they are its own
// (a list read into line after line allocates little).
void ReadFields(QStringView line, QStringList &fields);

// Completes a record written in one of its shorter forms, `fields` as read
// (the tag first; its tag decides, in any letter case): a FIELD of 6 fields
// takes PRECISION, SCALE (the type's default length), ENCRYPTED 0, FORMAT and
// an empty DEFAULT_VALUE from the local data type it names in `types` (all
// empty for a type `types` lacks); a DB of 5 and a TABLE of 7 take their name
// as written for DISPLAY_NAME; a COLUMN of 10 takes its COLUMN_NAME for
// DISPLAY_NAME and COLUMN_TYPE 0, and one of 11 takes its last value as
// COLUMN_TYPE when it is a number (then the name as DISPLAY_NAME), else as
// DISPLAY_NAME with COLUMN_TYPE 0. Returns the warning to list for the
// completion, or nothing.
QString CompleteShortForm(QStringList &fields, const CLOCDTs &types);

// One record from its cells' text as a reader gives it, each of a column of
// type `types[i]`: `tag` and the values joined by commas, the tag and each
// value of a text column (`quoted`) between double quotes with each double
// quote doubled; a Null cell (a null view) of a text column is "", of any
// other column nothing. A value of another column is written bare unless it
// holds a comma or a double quote (a long text), which then go between quotes
// too. A line break in a value is written as a blank. Appends the line and its
// CR LF to `out` as UTF-8; true when a line break was replaced.
bool AppendTextRecord(QByteArray &out, const QString &tag, const QByteArrayView *cells, const int *types,
                      const bool *quoted, int count);

// The text of one line's bytes: UTF-8, any byte that is not part of a valid
// UTF-8 sequence taken as its Windows-1252 character.
QString DecodeLine(QByteArrayView bytes);

// Reads a file one line at a time, without holding it whole.
class LineReader
{
public:
    // False when the file cannot be opened for reading.
    bool Open(const QString &fileName);
    // The next line without its line end ("\n" and any "\r" before it); false
    // at the end of the file. A last line without a line end counts. A NUL
    // character is dropped wherever it stands.
    bool Next(QString &line);
    // Passes over the next line; false at the end of the file.
    bool Skip();
    void Close() { m_file.close(); }

private:
    // The next line's bytes without its line end, valid until the next read.
    bool nextBytes(QByteArrayView &bytes);

    static constexpr qsizetype kChunk = 64 * 1024;
    QFile m_file;
    QByteArray m_buffer;
};

// Lines kept as read, in one text: what the first stage of an import checked,
// for the second stage to insert.
class Lines
{
public:
    void Clear();
    void Append(QStringView line);
    qsizetype Count() const { return qsizetype(m_ends.size()); }
    // The line at `index`, from 0 (valid while the lines are).
    QStringView At(qsizetype index) const;

private:
    QString m_text;
    std::vector<qsizetype> m_ends; // where each line ends in m_text
};

} // namespace CatalogCSV
