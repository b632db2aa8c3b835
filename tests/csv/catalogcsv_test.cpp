// The catalog file's own rules: how a line is taken apart (both stages of an
// import read it so), how a record is written, and how bytes become text.

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "core/clocdts.h"
#include "csv/catalogcsv.h"
#include "dao.h"

namespace {

using CatalogCSV::ReadFields;

TEST(CatalogCsv, ALineIsTakenApartQuoteAware)
{
    const struct
    {
        const char *line;
        QStringList fields;
    } cases[] = {
        {"", {}},
        {"   ", {""}},
        {R"("FILE","CUST","INDEXED","FIXED",120)", {"FILE", "CUST", "INDEXED", "FIXED", "120"}},
        {"file,cust", {"file", "cust"}},
        // A comma inside quotes stays in its value; two quotes inside are one.
        {R"("DB","SALES","C:\data, old","DISAM")", {"DB", "SALES", "C:\\data, old", "DISAM"}},
        {R"("FIELD","say ""hi""",2)", {"FIELD", "say \"hi\"", "2"}},
        {R"("A","""")", {"A", "\""}},
        {R"("A","","")", {"A", "", ""}},
        // Empty values keep their places, a last one too (a Null number written last).
        {R"("A",,3)", {"A", "", "3"}},
        {R"("A",1,)", {"A", "1", ""}},
        {R"("A","x",)", {"A", "x", ""}},
        // Blanks and control characters around a value go, inside quotes too.
        {" \"A\" , \" b \" ,\tc\t", {"A", "b", "c"}},
        {"\"FILE\"\t,x\x01", {"FILE", "x"}},
        // Letters beyond ASCII stay, at the ends of a value too.
        {"\"A\",\"Zoë Müller\",\"café\"", {"A", "Zoë Müller", "café"}},
        // No closing quote: the value runs to the end; text after a closing quote begins the next value.
        {R"("A","open)", {"A", "open"}},
        {R"("A","x"y,z)", {"A", "x", "y", "z"}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(ReadFields(QString::fromUtf8(c.line)), c.fields) << c.line;
}

TEST(CatalogCsv, ARecordQuotesTextColumnsAndKeepsEveryValueWhole)
{
    // The cells as a reader gives them: the driver's text, a Null a null view.
    const QByteArray zoe = QStringLiteral("Zoë").toUtf8();
    const QByteArrayView cells[] = {"CUST",       "120",     QByteArrayView(), QByteArrayView(), "say \"hi\"",
                                    "two\r\nlines\nthree", "a, b", "-7",             zoe};
    const int types[] = {dao::dbText, dao::dbLong,     dao::dbText, dao::dbLong, dao::dbText,
                         dao::dbText, dao::dbMemo,     dao::dbLong, dao::dbText};
    const bool quoted[] = {true, false, true, false, true, true, false, false, true};
    QByteArray out;
    EXPECT_TRUE(CatalogCSV::AppendTextRecord(out, QStringLiteral("FILE"), cells, types, quoted, 9));
    EXPECT_EQ(out, QByteArray("\"FILE\",\"CUST\",120,\"\",,\"say \"\"hi\"\"\",\"two lines three\",\"a, b\",-7,"
                              "\"Zo\xC3\xAB\"\r\n"));
    // Read back, every value is as written (the line break as a blank).
    QByteArray line = out;
    line.chop(2);
    EXPECT_EQ(ReadFields(QString::fromUtf8(line)),
              QStringList({"FILE", "CUST", "120", "", "", "say \"hi\"", "two lines three", "a, b", "-7", "Zoë"}));
    out.clear();
    EXPECT_FALSE(CatalogCSV::AppendTextRecord(out, QStringLiteral("USER"), cells, types, quoted, 1));
    EXPECT_EQ(out, QByteArray("\"USER\",\"CUST\"\r\n"));
    // Appended after what the buffer holds: other number types as written.
    const QByteArrayView numbers[] = {"9000000000", "2.5", "-3"};
    const int numberTypes[] = {dao::dbBigInt, dao::dbDouble, dao::dbInteger};
    const bool bare[] = {false, false, false};
    EXPECT_FALSE(CatalogCSV::AppendTextRecord(out, QStringLiteral("COLUMN"), numbers, numberTypes, bare, 3));
    EXPECT_EQ(out, QByteArray("\"USER\",\"CUST\"\r\n\"COLUMN\",9000000000,2.5,-3\r\n"));
}

TEST(CatalogCsv, BytesAreUtf8AndOtherwiseWestern)
{
    const struct
    {
        QByteArray bytes;
        QString text;
    } cases[] = {
        {"caf\xC3\xA9", QStringLiteral("café")},
        {"caf\xE9", QStringLiteral("café")},
        {"\x80 \x9C", QStringLiteral("€ œ")},
        {"\xC3\xA9 \xE9", QStringLiteral("é é")},
        {"\xC0\xAF", QStringLiteral("À¯")},        // an overlong sequence is no UTF-8
        {"\xE2\x82", QStringLiteral("â\u201A")}, // nor is a cut one
    };
    for (const auto &c : cases)
        EXPECT_EQ(CatalogCSV::DecodeLine(c.bytes), c.text) << c.bytes.toHex().toStdString();
}

// The lines the reader gives for a file of `bytes`.
QStringList readLines(const QTemporaryDir &dir, QByteArrayView bytes)
{
    const QString name = dir.filePath(QStringLiteral("lines.csv"));
    QFile file(name);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return {QStringLiteral("<not written>")};
    file.write(bytes.data(), bytes.size());
    file.close();
    CatalogCSV::LineReader reader;
    if (!reader.Open(name))
        return {QStringLiteral("<not read>")};
    QStringList lines;
    QString line;
    while (reader.Next(line))
        lines << line;
    return lines;
}

TEST(CatalogCsv, LinesEndAtLineFeedsWithoutTheirCarriageReturns)
{
    QTemporaryDir dir;
    EXPECT_EQ(readLines(dir, "a\r\nb\nc\r\r\n\r\nlast"), QStringList({"a", "b", "c", "", "last"}));
    CatalogCSV::LineReader reader;
    EXPECT_FALSE(reader.Open(dir.filePath(QStringLiteral("missing.csv"))));
}

// A NUL character is no part of a line, wherever it stands.
TEST(CatalogCsv, TheLineReaderDropsNulCharacters)
{
    QTemporaryDir dir;
    static const char bytes[] = "\0a,\0\0b\0\r\n\0\r\n\"caf\xC3\0\xA9\"\0";
    EXPECT_EQ(readLines(dir, QByteArrayView(bytes, sizeof bytes - 1)), QStringList({"a,b", "", "\"café\""}));
}

TEST(CatalogCsv, ShortFormsAreCompletedAsTheFullOnes)
{
    CLOCDTs types;
    types.Add(QStringLiteral("DATE"), QStringLiteral("DATE"),
              QStringLiteral(";DEFAULT_LENGTH=8;PRECISION=6;DEFAULT_FORMAT=YYYYMMDD;"), {});
    const struct
    {
        QStringList read;
        QStringList completed;
        const char *warning;
    } cases[] = {
        {{"FIELD", "F", "D", "date", "0", "8"},
         {"FIELD", "F", "D", "date", "0", "8", "6", "8", "0", "YYYYMMDD", ""},
         "Missing DT information - Assuming default"},
        {{"field", "F", "D", "NONE", "0", "8"},
         {"field", "F", "D", "NONE", "0", "8", "", "", "", "", ""},
         "Missing DT information - Assuming default"},
        {{"DB", "Sales", "dir", "DISAM", "c"}, {"DB", "Sales", "dir", "DISAM", "c", "Sales"}, ""},
        {{"TABLE", "S", "Cust", "TABLE", "F", "f.dat", ""}, {"TABLE", "S", "Cust", "TABLE", "F", "f.dat", "", "Cust"}, ""},
        {{"COLUMN", "S", "T", "Col", "F", "VARCHAR", "4", "1", "1", ""},
         {"COLUMN", "S", "T", "Col", "F", "VARCHAR", "4", "1", "1", "", "Col", "0"},
         ""},
        {{"COLUMN", "S", "T", "Col", "F", "VARCHAR", "4", "1", "1", "", "3"},
         {"COLUMN", "S", "T", "Col", "F", "VARCHAR", "4", "1", "1", "", "Col", "3"},
         ""},
        {{"COLUMN", "S", "T", "Col", "F", "VARCHAR", "4", "1", "1", "", "Shown"},
         {"COLUMN", "S", "T", "Col", "F", "VARCHAR", "4", "1", "1", "", "Shown", "0"},
         "Missing Column Type - Assuming Default"},
        // Full forms and other counts stay as they are.
        {{"DB", "S", "d", "DISAM", "c", "S"}, {"DB", "S", "d", "DISAM", "c", "S"}, ""},
        {{"FILE", "F"}, {"FILE", "F"}, ""},
    };
    for (const auto &c : cases) {
        QStringList fields = c.read;
        EXPECT_EQ(CatalogCSV::CompleteShortForm(fields, types), QString::fromLatin1(c.warning)) << c.read.join(',').toStdString();
        EXPECT_EQ(fields, c.completed) << c.read.join(',').toStdString();
    }
}

} // namespace
