// The rules a local type's attribute string gives a field: hand-made strings
// for each rule, and the stand-in's own local types as their catalog stores them.
#include "core/cconnections.h"
#include "core/localtyperules.h"
#include "standinfixture.h"

namespace {

// "L 8 [1..32] on | P 8 [1..32] on | S 0 [0..0] off | F 'YYYYMMDD' on" and " packed" for a packed type.
QString describe(const localtype::Rules &r)
{
    auto value = [](const char *name, const localtype::Value &v) {
        return QStringLiteral("%1 %2 [%3..%4] %5 %6")
            .arg(QLatin1String(name))
            .arg(v.value)
            .arg(v.min)
            .arg(v.max)
            .arg(v.enabled ? QStringLiteral("on") : QStringLiteral("off"), v.label);
    };
    return value("L", r.length) + QStringLiteral(" | ") + value("P", r.precision) + QStringLiteral(" | ") +
           value("S", r.scale) + QStringLiteral(" | F '") + r.format +
           (r.formatEnabled ? QStringLiteral("' on") : QStringLiteral("' off")) +
           (r.packed ? QStringLiteral(" packed") : QString());
}

TEST(LocalTypeRules, WrapAddsOneSemicolonAtAnEndThatHasNone)
{
    EXPECT_EQ(localtype::Wrap(QStringLiteral("PACKED;LENGTH=5")), QStringLiteral(";PACKED;LENGTH=5;"));
    EXPECT_EQ(localtype::Wrap(QStringLiteral(";PACKED;LENGTH=5;")), QStringLiteral(";PACKED;LENGTH=5;"));
    EXPECT_EQ(localtype::Wrap(QString()), QStringLiteral(";;"));
    // The flags read the same from either form.
    for (const QString &stored : {QStringLiteral("BINARY;STRING;X=1"), QStringLiteral(";BINARY;STRING;X=1;")}) {
        const QString a = localtype::Wrap(stored);
        EXPECT_TRUE(localtype::IsBinary(a)) << stored.toStdString();
        EXPECT_TRUE(localtype::IsString(a)) << stored.toStdString();
        EXPECT_FALSE(localtype::IsPacked(a)) << stored.toStdString();
    }
    EXPECT_FALSE(localtype::IsPacked(localtype::Wrap(QStringLiteral("packed;LENGTH=5")))); // exact case
    EXPECT_FALSE(localtype::IsString(localtype::Wrap(QStringLiteral("PACKED;X;STRING"))));  // second item only
}

TEST(LocalTypeRules, NumbersAreSignedAndAbsentReadsZero)
{
    const QString a = localtype::Wrap(QStringLiteral("MIN_SCALE=-5;MAX_SCALE=+7;LENGTH=;PRECISION=x;DEFAULT_LENGTH=12"));
    EXPECT_EQ(localtype::Number(QStringLiteral(";MIN_SCALE="), a), -5);
    EXPECT_EQ(localtype::Number(QStringLiteral(";MAX_SCALE="), a), 7);
    EXPECT_EQ(localtype::Number(QStringLiteral(";LENGTH="), a), 0);
    EXPECT_EQ(localtype::Number(QStringLiteral(";PRECISION="), a), 0);
    EXPECT_EQ(localtype::Number(QStringLiteral(";SCALE="), a), 0);
    EXPECT_EQ(localtype::Number(QStringLiteral(";DEFAULT_LENGTH="), a), 12);
}

TEST(LocalTypeRules, EachRuleOfTheAttributeString)
{
    const struct
    {
        const char *attributes;
        const char *rules;
    } cases[] = {
        // Binary integers: digits by bytes, the unsigned row with UNSIGNED, the default precision outside 1 to 8.
        {"BINARY;INTEGER;UNSIGNED;DEFAULT_LENGTH=3;DEFAULT_PRECISION=1",
         "L 3 [1..65535] on (1 to 65535) | P 8 [1..65535] on (1 to 65535) | S 0 [0..0] off (0 - Fixed) | F '' off"},
        {"BINARY;INTEGER;DEFAULT_LENGTH=3;DEFAULT_PRECISION=1",
         "L 3 [1..65535] on (1 to 65535) | P 7 [1..65535] on (1 to 65535) | S 0 [0..0] off (0 - Fixed) | F '' off"},
        {"BINARY;INTEGER;UNSIGNED;DEFAULT_LENGTH=5;DEFAULT_PRECISION=1",
         "L 5 [1..65535] on (1 to 65535) | P 13 [1..65535] on (1 to 65535) | S 0 [0..0] off (0 - Fixed) | F '' off"},
        {"BINARY;INTEGER;DEFAULT_LENGTH=5;DEFAULT_PRECISION=1",
         "L 5 [1..65535] on (1 to 65535) | P 12 [1..65535] on (1 to 65535) | S 0 [0..0] off (0 - Fixed) | F '' off"},
        {"BINARY;INTEGER;DEFAULT_LENGTH=9;DEFAULT_PRECISION=6",
         "L 9 [1..65535] on (1 to 65535) | P 6 [1..65535] on (1 to 65535) | S 0 [0..0] off (0 - Fixed) | F '' off"},
        // Binary strings: twice the length, not typed; other binaries keep the default precision.
        {"BINARY;STRING;DEFAULT_LENGTH=3;MAX_LENGTH=127;DEFAULT_PRECISION=1",
         "L 3 [1..127] on (1 to 127) | P 6 [1..127] off (1 to 127) | S 0 [0..0] off (0 - Fixed) | F '' off"},
        {"BINARY;DEFAULT_LENGTH=4;DEFAULT_PRECISION=6",
         "L 4 [1..65535] on (1 to 65535) | P 6 [1..65535] on (1 to 65535) | S 0 [0..0] off (0 - Fixed) | F '' off"},
        // Packed: twice the length, one more allowed.
        {"PACKED;DEFAULT_LENGTH=5;DEFAULT_PRECISION=1;DEFAULT_SCALE=0",
         "L 5 [1..65535] on (1 to 65535) | P 10 [10..11] on (10 to 11) | S 0 [-32..32] on (-32 to 32) | F '' off packed"},
        {"PACKED;DEFAULT_LENGTH=5;PRECISION=7",
         "L 5 [1..65535] on (1 to 65535) | P 7 [7..7] off (7 - Fixed) | S 0 [0..0] off (0 - Fixed) | F '' off packed"},
        // Other types: the precision follows the length; a fixed one is PRECISION or the length.
        {"DEFAULT_LENGTH=8;MIN_LENGTH=2;MAX_LENGTH=32;DEFAULT_PRECISION=8;DEFAULT_FORMAT=YYYYMMDD",
         "L 8 [2..32] on (2 to 32) | P 8 [2..32] on (2 to 32) | S 0 [0..0] off (0 - Fixed) | F 'YYYYMMDD' on"},
        {"LENGTH=4;PRECISION=9", "L 4 [4..4] off (4 - Fixed) | P 9 [9..9] off (9 - Fixed) | S 0 [0..0] off (0 - Fixed) | F '' off"},
        {"LENGTH=4", "L 4 [4..4] off (4 - Fixed) | P 4 [4..4] off (4 - Fixed) | S 0 [0..0] off (0 - Fixed) | F '' off"},
        {"REMARK=x", "L 0 [0..0] off (0 - Fixed) | P 0 [0..0] off (0 - Fixed) | S 0 [0..0] off (0 - Fixed) | F '' off"},
        // Scale: a default, 0 included, makes it variable; signed bounds; a fixed SCALE.
        {"LENGTH=8;DEFAULT_SCALE=2;MIN_SCALE=-5;MAX_SCALE=5",
         "L 8 [8..8] off (8 - Fixed) | P 8 [8..8] off (8 - Fixed) | S 2 [-5..5] on (-5 to 5) | F '' off"},
        {"LENGTH=8;SCALE=-2", "L 8 [8..8] off (8 - Fixed) | P 8 [8..8] off (8 - Fixed) | S -2 [-2..-2] off (-2 - Fixed) | F '' off"},
        // Format: a fixed length locks the default format; FORMAT alone is fixed.
        {"LENGTH=8;DEFAULT_FORMAT=YYMMDD",
         "L 8 [8..8] off (8 - Fixed) | P 8 [8..8] off (8 - Fixed) | S 0 [0..0] off (0 - Fixed) | F 'YYMMDD' off"},
        {"DEFAULT_LENGTH=6;DEFAULT_FORMAT=;FORMAT=hhmmss",
         "L 6 [1..65535] on (1 to 65535) | P 6 [6..6] off (6 - Fixed) | S 0 [0..0] off (0 - Fixed) | F 'hhmmss' off"},
    };
    for (const auto &c : cases) {
        const QString attributes = QString::fromLatin1(c.attributes);
        EXPECT_EQ(describe(localtype::Derive(attributes)), QString::fromLatin1(c.rules)) << c.attributes;
        // Stored with a ";" at both ends it reads the same.
        EXPECT_EQ(describe(localtype::Derive(QLatin1Char(';') + attributes + QLatin1Char(';'))),
                  QString::fromLatin1(c.rules))
            << c.attributes;
    }
}

// Every local type of a new catalog, read from the stand-in's QN_LOCDT rows.
TEST_F(StandinTest, LocalTypeRulesOfTheCatalogsOwnTypes)
{
    const auto connection = gConnections().Item(QStringLiteral("QnTest"));
    ASSERT_TRUE(connection);
    QStringList got;
    for (const auto &type : connection->LOCDTs.NewEnum())
        got << type->LOCAL_TYPE_NAME + QStringLiteral(": ") + describe(localtype::Derive(type->ATTRIBUTES));
    const QStringList expected = {
        "DATE: L 8 [1..32] on (1 to 32) | P 8 [1..32] on (1 to 32) | S 0 [0..0] off (0 - Fixed) | F 'YYYYMMDD' on",
        "HEXADECIMAL: L 2 [1..127] on (1 to 127) | P 4 [1..127] off (1 to 127) | S 0 [0..0] off (0 - Fixed) | F '' off",
        "INTEGER: L 4 [4..4] off (4 - Fixed) | P 10 [10..10] off (10 - Fixed) | S 0 [0..0] off (0 - Fixed) | F '' off",
        "NUMERIC: L 8 [1..18] on (1 to 18) | P 8 [1..18] on (1 to 18) | S 0 [-32..32] on (-32 to 32) | F '' off",
        "PACKED: L 5 [1..10] on (1 to 10) | P 10 [10..11] on (10 to 11) | S 0 [-32..32] on (-32 to 32) | F '' off packed",
        "SMALLINT: L 2 [2..2] off (2 - Fixed) | P 5 [5..5] off (5 - Fixed) | S 0 [0..0] off (0 - Fixed) | F '' off",
        "STRING: L 10 [1..254] on (1 to 254) | P 10 [1..254] on (1 to 254) | S 0 [0..0] off (0 - Fixed) | F '' off",
        "TIME: L 6 [1..32] on (1 to 32) | P 6 [1..32] on (1 to 32) | S 0 [0..0] off (0 - Fixed) | F 'hhmmss' on",
        "UNSIGNED: L 2 [2..2] off (2 - Fixed) | P 5 [5..5] off (5 - Fixed) | S 0 [0..0] off (0 - Fixed) | F '' off",
        "ZONED: L 8 [1..18] on (1 to 18) | P 8 [1..18] on (1 to 18) | S 0 [-32..32] on (-32 to 32) | F '' off",
        "ZONED-NUM: L 8 [1..18] on (1 to 18) | P 8 [1..18] on (1 to 18) | S 0 [0..0] off (0 - Fixed) | F '' off",
        "ZONED-S: L 8 [1..18] on (1 to 18) | P 8 [1..18] on (1 to 18) | S 0 [-32..32] on (-32 to 32) | F '' off",
        "ZONED-U: L 8 [1..18] on (1 to 18) | P 8 [1..18] on (1 to 18) | S 0 [-32..32] on (-32 to 32) | F '' off",
    };
    EXPECT_EQ(got, expected);
}

} // namespace
