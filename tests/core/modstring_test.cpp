#include <gtest/gtest.h>

#include "core/frmqnerr.h"
#include "core/modstring.h"

using namespace modString;

TEST(ModString, Pluralise)
{
    struct Case
    {
        const char *word;
        QVariant count;
        const char *expected;
    } cases[] = {
        {"problem", 1, "problem"},      {"problem", 0, "problems"}, {"problem", 2, "problems"},
        {"entry", 3, "entries"},        {"day", 2, "daies"},        {"DAY", 2, "DAYs"},
        {"yard", 2, "yards"},           {"entry", QStringLiteral("1"), "entry"},
        {"entry", 1.0, "entry"},        {"entry", QVariant(), "entries"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(Pluralise(QString::fromLatin1(c.word), c.count), QString::fromLatin1(c.expected))
            << c.word << " " << c.count.toString().toStdString();
}

TEST(ModString, TrimNull)
{
    EXPECT_EQ(TrimNull(QStringLiteral("abc")), QStringLiteral("abc"));
    EXPECT_EQ(TrimNull(QString(QChar(0)) + QStringLiteral("abc")), QString());
    EXPECT_EQ(TrimNull(QStringLiteral("abc") + QChar(0) + QStringLiteral("def")), QStringLiteral("abc"));
    EXPECT_EQ(TrimNull(QString()), QString());
    const QString longText = QString(40000, QLatin1Char('x')) + QChar(0) + QStringLiteral("y");
    EXPECT_EQ(TrimNull(longText).size(), 40000);
}

TEST(ModString, TrimControlChars)
{
    struct Case
    {
        QString text;
        QString expected;
    } cases[] = {
        {QStringLiteral("\t\r\n  \t "), QString()},
        {QStringLiteral("\t abc\r\n"), QStringLiteral("abc")},
        {QStringLiteral(" a\tb "), QStringLiteral("a\tb")},
        {QStringLiteral("caf\u00e9"), QStringLiteral("caf")},
        {QStringLiteral("\u00e9t\u00e9"), QStringLiteral("t")},
        {QStringLiteral("\u20ac5\u20ac"), QStringLiteral("\u20ac5\u20ac")}, // code 128 stays
        {QStringLiteral("\u2019x\u2019"), QStringLiteral("x")},             // code 146 goes
        {QStringLiteral("\u4e2dx"), QStringLiteral("\u4e2dx")},             // no ANSI code: "?" stays
        {QStringLiteral(" \x01 a \x02 "), QStringLiteral("a")},
    };
    for (const auto &c : cases)
        EXPECT_EQ(TrimControlChars(c.text), c.expected) << c.text.toStdString();
}

TEST(ModString, AnsiCodes)
{
    EXPECT_EQ(ansiCode(QLatin1Char('A')), 65);
    EXPECT_EQ(ansiCode(QChar(0x20AC)), 128);
    EXPECT_EQ(ansiCode(QChar(0x2122)), 153);
    EXPECT_EQ(ansiCode(QChar(0x00E9)), 233);
    EXPECT_EQ(ansiCode(QChar(0x0100)), 63);
}

TEST(ModString, ExtractAttrKeepsNoTrace)
{
    frmQNErr::Unload();
    struct Case
    {
        const char *key, *attributes, *expected;
    } cases[] = {
        {";LENGTH=", ";LENGTH=10;DEFAULT_LENGTH=4;", "10"},
        {";DEFAULT_LENGTH=", ";LENGTH=10;DEFAULT_LENGTH=4;", "4"},
        {";LENGTH=", ";DEFAULT_LENGTH=4;", ""},
        {";FORMAT=", ";FORMAT=YYMMDD", "YYMMDD"},
        {";SCALE", ";SCALE=2;", "2"},
        {";PRECISION=", ";PRECISION=;", ""},
        {";LENGTH=", "", ""},
    };
    for (const auto &c : cases)
        EXPECT_EQ(ExtractAttr(QString::fromLatin1(c.key), QString::fromLatin1(c.attributes)),
                  QString::fromLatin1(c.expected))
            << c.key << " in " << c.attributes;
    EXPECT_TRUE(frmQNErr::Trace().isEmpty());
    frmQNErr::Unload();
}

TEST(ModString, Counter)
{
    clsCount count;
    EXPECT_EQ(count.Value(), 0);
    count.setValue(5);
    EXPECT_EQ(count.Value(), 5);
}

TEST(ModString, WholeNumbers)
{
    const struct
    {
        const char *text;
        std::optional<qint64> value;
    } cases[] = {
        {"12", 12},     {" 12 ", 12},       {"-5", -5},         {"07", 7},
        {"12abc", {}},  {"1e3", {}},        {"0-5", {}},        {"", {}},
        {"1.0", {}},    {"- 5", {}},        {"99999999999999999999", {}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(WholeNumber(QString::fromLatin1(c.text)), c.value);
    }
    EXPECT_TRUE(NumberIn(QStringLiteral("65535"), 0, 65535));
    EXPECT_FALSE(NumberIn(QStringLiteral("65536"), 0, 65535));
    EXPECT_FALSE(NumberIn(QStringLiteral("12abc"), 0, 65535));
}
