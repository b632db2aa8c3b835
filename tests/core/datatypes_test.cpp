// The SQL and local data-type caches against stand-in rows.
#include "core/cconnections.h"
#include "core/clocdts.h"
#include "core/csqldts.h"
#include "core/frmqnerr.h"
#include "core/modstring.h"
#include "standinfixture.h"

namespace {

class DataTypesTest : public StandinTest
{
protected:
    void exec(const QString &sql) { open()->Execute(sql); }
    static long failureNumber(const std::function<void()> &fn)
    {
        try {
            fn();
        } catch (const QnError &e) {
            return e.Number();
        }
        return 0;
    }
    template <class Collection>
    static QStringList names(const Collection &c)
    {
        QStringList list;
        for (const auto &item : c.NewEnum()) {
            if constexpr (std::is_same_v<Collection, CSQLDTs>)
                list << item->SQL_TYPE_NAME;
            else
                list << item->LOCAL_TYPE_NAME;
        }
        return list;
    }
};

} // namespace

TEST(VbConversions, ZeroTextThenCLngOrCInt)
{
    struct Case
    {
        QVariant value;
        qint32 lng;   // the result, or
        long failure; // its failure number
    } cases[] = {
        {QVariant(), 0, 0},
        {12, 12, 0},
        {QStringLiteral("12"), 12, 0},
        {QString(), 0, 0},
        {-5, 0, qnerr::TypeMismatch}, // "0-5"
        {1.5, 2, 0},                  // rounded half to even
        {2.5, 2, 0},
        {3.5, 4, 0},
        {QStringLiteral("abc"), 0, qnerr::TypeMismatch},
        {QStringLiteral(" 7"), 0, qnerr::TypeMismatch}, // "0 7"
        {qlonglong(2147483647), 2147483647, 0},
        {qlonglong(2147483648), 0, qnerr::Overflow},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.value.toString().toStdString());
        const QString text = vb::ZeroText(c.value);
        if (c.failure) {
            try {
                vb::CLng(text);
                ADD_FAILURE() << "no failure";
            } catch (const QnError &e) {
                EXPECT_EQ(e.Number(), c.failure);
            }
        } else {
            EXPECT_EQ(vb::CLng(text), c.lng);
        }
    }
    EXPECT_EQ(vb::ZeroText(QVariant()), QStringLiteral("0"));
    EXPECT_EQ(vb::ZeroText(12), QStringLiteral("012"));
    EXPECT_EQ(vb::ZeroText(-3), QStringLiteral("0-3"));
    EXPECT_EQ(vb::CInt(QStringLiteral("032767")), 32767);
    try {
        vb::CInt(QStringLiteral("032768"));
        ADD_FAILURE() << "no failure";
    } catch (const QnError &e) {
        EXPECT_EQ(e.Number(), qnerr::Overflow);
    }
}

TEST_F(DataTypesTest, SqlTypesAreStoredAsReturnedAndFoundInAnyLetterCase)
{
    auto c = gConnections().Item(QStringLiteral("QnTest"));
    ASSERT_TRUE(c);
    EXPECT_EQ(names(c->SQLDTs), (QStringList{"CHAR", "DATE", "DECIMAL", "DOUBLE", "INTEGER", "NUMERIC", "SMALLINT",
                                            "TIME", "VARCHAR"}));
    const auto &ch = c->SQLDTs.Item(QStringLiteral("char"));
    EXPECT_EQ(ch->SQL_TYPE_NAME, QStringLiteral("CHAR"));
    EXPECT_EQ(ch->SQL_DATA_TYPE, QStringLiteral("1"));
    EXPECT_EQ(ch->Length, 254);
    EXPECT_EQ(ch->PRECISION, 254);
    EXPECT_EQ(ch->LITERAL_PREFIX, QStringLiteral("'"));
    EXPECT_EQ(ch->LITERAL_SUFFIX, QStringLiteral("'"));
    EXPECT_EQ(ch->CREATE_PARAMS, QStringLiteral("max length"));
    EXPECT_EQ(ch->NULLABLE, 1);
    EXPECT_EQ(ch->CASE_SENSITIVE, 1);
    EXPECT_EQ(ch->SEARCHABLE, 3);
    EXPECT_EQ(ch->UNSIGNED_ATTRIBUTE, 0);
    EXPECT_EQ(ch->MONEY, 0);
    EXPECT_EQ(ch->AUTO_INCREMENT, 0);
    EXPECT_EQ(ch->RADIX, 0);
    EXPECT_EQ(ch->LOCAL_TYPE_NAME, QStringLiteral("STRING"));
    EXPECT_EQ(ch->REMARKS, QStringLiteral("Fixed-length character string"));
    EXPECT_EQ(c->SQLDTs.Item(3)->SQL_TYPE_NAME, QStringLiteral("DECIMAL"));
    EXPECT_EQ(c->SQLDTs.Item(QStringLiteral("DOUBLE"))->LOCAL_TYPE_NAME, QString()); // Null
    EXPECT_EQ(failureNumber([&] { c->SQLDTs.Item(QStringLiteral("BLOB")); }), qnerr::InvalidProcedureCall);
    EXPECT_EQ(failureNumber([&] { c->SQLDTs.Item(10); }), qnerr::SubscriptOutOfRange);

    // Loading again gives the same cache.
    c->SQLDTs.FetchDTs(QStringLiteral("QnTest"));
    EXPECT_EQ(c->SQLDTs.Count(), 9);
    EXPECT_EQ(c->SQLDTs.Item(1)->SQL_TYPE_NAME, QStringLiteral("CHAR"));
}

TEST_F(DataTypesTest, NullsReadAsZeroAndEmptyTextAndRowsKeepTheQueryOrder)
{
    exec(QStringLiteral("DELETE FROM QN_SQLDT"));
    exec(QStringLiteral("INSERT INTO QN_SQLDT (SQL_TYPE_NAME, SQL_DATA_TYPE, LENGTH, RADIX) VALUES "
                        "('ZED', NULL, NULL, NULL), ('ALPHA', -7, 2.5, 10)"));
    auto c = gConnections().Item(QStringLiteral("QnTest"));
    ASSERT_TRUE(c);
    EXPECT_EQ(names(c->SQLDTs), (QStringList{"ZED", "ALPHA"}));
    const auto &zed = c->SQLDTs.Item(QStringLiteral("zed"));
    EXPECT_EQ(zed->Length, 0);
    EXPECT_EQ(zed->RADIX, 0);
    EXPECT_EQ(zed->SQL_DATA_TYPE, QString());
    EXPECT_EQ(zed->LITERAL_PREFIX, QString());
    const auto &alpha = c->SQLDTs.Item(QStringLiteral("ALPHA"));
    EXPECT_EQ(alpha->SQL_DATA_TYPE, QStringLiteral("-7")); // read as text: no conversion
    EXPECT_EQ(alpha->Length, 2);                          // 2.5 rounded half to even
    EXPECT_EQ(alpha->RADIX, 10);
}

TEST_F(DataTypesTest, AnEmptyTableGivesAnEmptyCache)
{
    exec(QStringLiteral("DELETE FROM QN_SQLDT"));
    auto c = gConnections().Item(QStringLiteral("QnTest"));
    ASSERT_TRUE(c);
    EXPECT_EQ(c->SQLDTs.Count(), 0);
    EXPECT_EQ(failureNumber([&] { c->SQLDTs.Item(QStringLiteral("CHAR")); }), qnerr::InvalidProcedureCall);
}

TEST_F(DataTypesTest, TheLoadStopsAtTheFirstBadRowKeepingTheRowsBefore)
{
    auto c = gConnections().Item(QStringLiteral("QnTest"));
    ASSERT_TRUE(c);
    struct Case
    {
        const char *change, *undo;
        long failure;
        qint32 kept;
    } cases[] = {
        {"UPDATE QN_SQLDT SET RADIX = -1 WHERE SQL_TYPE_NAME = 'DATE'",
         "UPDATE QN_SQLDT SET RADIX = 0 WHERE SQL_TYPE_NAME = 'DATE'", qnerr::TypeMismatch, 1}, // "0-1"
        {"UPDATE QN_SQLDT SET RADIX = 40000 WHERE SQL_TYPE_NAME = 'DATE'",
         "UPDATE QN_SQLDT SET RADIX = 0 WHERE SQL_TYPE_NAME = 'DATE'", qnerr::Overflow, 1}, // 16 bits
        {"UPDATE QN_SQLDT SET LENGTH = 'ten' WHERE SQL_TYPE_NAME = 'DECIMAL'",
         "UPDATE QN_SQLDT SET LENGTH = 20 WHERE SQL_TYPE_NAME = 'DECIMAL'", qnerr::TypeMismatch, 2},
        {"INSERT INTO QN_SQLDT (SQL_TYPE_NAME) VALUES ('decimal')",
         "DELETE FROM QN_SQLDT WHERE SQL_TYPE_NAME = 'decimal'", qnerr::KeyAlreadyAssociated, 9},
    };
    for (const Case &k : cases) {
        SCOPED_TRACE(k.change);
        exec(QString::fromLatin1(k.change));
        EXPECT_EQ(failureNumber([&] { c->SQLDTs.FetchDTs(QStringLiteral("QnTest")); }), k.failure);
        EXPECT_EQ(c->SQLDTs.Count(), k.kept);
        exec(QString::fromLatin1(k.undo));
        c->SQLDTs.FetchDTs(QStringLiteral("QnTest"));
        EXPECT_EQ(c->SQLDTs.Count(), 9);
    }
    // A look-up that connects fails the same way and registers nothing.
    gConnections().RemoveAll();
    exec(QStringLiteral("UPDATE QN_SQLDT SET NULLABLE = -1 WHERE SQL_TYPE_NAME = 'TIME'"));
    EXPECT_EQ(failureNumber([&] { gConnections().Item(QStringLiteral("QnTest")); }), qnerr::TypeMismatch);
    EXPECT_EQ(gConnections().Count(), 0);
}

TEST_F(DataTypesTest, LocalTypesAreStoredAsReturnedAndAMissingNameGivesNothing)
{
    auto c = gConnections().Item(QStringLiteral("QnTest"));
    ASSERT_TRUE(c);
    EXPECT_EQ(names(c->LOCDTs), (QStringList{"DATE", "HEXADECIMAL", "INTEGER", "NUMERIC", "PACKED", "SMALLINT",
                                            "STRING", "TIME", "UNSIGNED", "ZONED", "ZONED-NUM", "ZONED-S",
                                            "ZONED-U"}));
    auto packed = c->LOCDTs.Item(QStringLiteral("packed"));
    ASSERT_TRUE(packed);
    EXPECT_EQ(packed->LOCAL_TYPE_NAME, QStringLiteral("PACKED"));
    EXPECT_EQ(packed->SQL_TYPE_NAME, QStringLiteral("DECIMAL"));
    EXPECT_EQ(packed->ATTRIBUTES,
              QStringLiteral(";PACKED;DEFAULT_LENGTH=5;MAX_LENGTH=10;DEFAULT_PRECISION=10;DEFAULT_SCALE=0;"));
    EXPECT_EQ(packed->REMARKS, QStringLiteral("Packed decimal, two digits a byte"));
    EXPECT_FALSE(c->LOCDTs.Item(QStringLiteral("BLOB")));
    EXPECT_FALSE(c->LOCDTs.Item(0));
    EXPECT_FALSE(c->LOCDTs.Item(14));
    EXPECT_EQ(c->LOCDTs.Item(13)->LOCAL_TYPE_NAME, QStringLiteral("ZONED-U"));

    // The seed's types and their derived defaults.
    struct Seed
    {
        const char *name;
        qint32 length, precision;
        const char *format;
    } seeds[] = {
        {"DATE", 8, 8, "YYYYMMDD"},   {"HEXADECIMAL", 2, 4, ""}, {"INTEGER", 4, 10, ""}, {"NUMERIC", 8, 8, ""},
        {"PACKED", 5, 10, ""},        {"SMALLINT", 2, 5, ""},    {"STRING", 10, 10, ""}, {"TIME", 6, 6, "hhmmss"},
        {"UNSIGNED", 2, 5, ""},       {"ZONED-U", 8, 8, ""},
    };
    for (const Seed &s : seeds) {
        SCOPED_TRACE(s.name);
        auto t = c->LOCDTs.Item(QString::fromLatin1(s.name));
        ASSERT_TRUE(t);
        EXPECT_EQ(t->DEFAULT_LENGTH(), s.length);
        EXPECT_EQ(t->DEFAULT_PRECISION(), s.precision);
        EXPECT_EQ(t->DEFAULT_FORMAT(), QString::fromLatin1(s.format));
    }
}

TEST_F(DataTypesTest, ADuplicateLocalTypeNameStopsTheLoad)
{
    auto c = gConnections().Item(QStringLiteral("QnTest"));
    ASSERT_TRUE(c);
    exec(QStringLiteral("INSERT INTO QN_LOCDT (LOCAL_TYPE_NAME) VALUES ('string')"));
    EXPECT_EQ(failureNumber([&] { c->LOCDTs.FetchDTs(QStringLiteral("QnTest")); }), qnerr::KeyAlreadyAssociated);
    EXPECT_EQ(c->LOCDTs.Count(), 13);
    exec(QStringLiteral("DELETE FROM QN_LOCDT"));
    c->LOCDTs.FetchDTs(QStringLiteral("QnTest"));
    EXPECT_EQ(c->LOCDTs.Count(), 0);
}

TEST(LocalTypes, ExtractAttrCases)
{
    struct Case
    {
        const char *attributes, *key, *result;
    } cases[] = {
        {";DEFAULT_LENGTH=8;LENGTH=4;", ";LENGTH=", "4"},
        {";DEFAULT_LENGTH=8;LENGTH=4;", ";DEFAULT_LENGTH=", "8"},
        {";FORMAT=;LENGTH=4", ";FORMAT=", ""},
        {";LENGTH=4", ";SCALE=", ""},
        {";LENGTH=12", ";LENGTH=", "12"},
        {";LENGTH=4;", ";LENGTH", "4"},
        {";LENGTH=4;", ";length=", ""},
        {";BINARY;STRING;DEFAULT_LENGTH=2;MAX_LENGTH=127;DEFAULT_PRECISION=4;", ";MAX_LENGTH=", "127"},
        {";DEFAULT_LENGTH=6;MAX_LENGTH=32;DEFAULT_PRECISION=6;DEFAULT_FORMAT=hhmmss;", ";DEFAULT_FORMAT=", "hhmmss"},
        {";DEFAULT_LENGTH=6;DEFAULT_FORMAT=hhmmss;", ";FORMAT=", ""},
        {"", ";LENGTH=", ""},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(c.attributes) + " " + c.key);
        EXPECT_EQ(modString::ExtractAttr(QString::fromLatin1(c.key), QString::fromLatin1(c.attributes)),
                  QString::fromLatin1(c.result));
    }
}

TEST(LocalTypes, DerivedDefaultsCases)
{
    enum Property { Length, Precision, Format };
    struct Case
    {
        const char *attributes;
        Property property;
        const char *result; // nullptr: fails with 13
    } cases[] = {
        {"DEFAULT_LENGTH=8;LENGTH=4", Length, "4"},
        {";BINARY;INTEGER;DEFAULT_PRECISION=1;LENGTH=4;", Precision, "10"},
        {";BINARY;INTEGER;DEFAULT_PRECISION=1;LENGTH=4;UNSIGNED;", Precision, "10"},
        {";BINARY;INTEGER;DEFAULT_PRECISION=1;LENGTH=3;", Precision, "7"},
        {";BINARY;INTEGER;DEFAULT_PRECISION=1;LENGTH=3;UNSIGNED;", Precision, "8"},
        {";BINARY;INTEGER;DEFAULT_PRECISION=1;LENGTH=1;", Precision, "3"},
        {";BINARY;INTEGER;DEFAULT_PRECISION=1;LENGTH=5;UNSIGNED;", Precision, "13"},
        {";BINARY;INTEGER;DEFAULT_PRECISION=1;LENGTH=8;", Precision, "19"},
        {";BINARY;INTEGER;DEFAULT_PRECISION=1;LENGTH=8;UNSIGNED;", Precision, "20"},
        {";BINARY;INTEGER;DEFAULT_PRECISION=6;LENGTH=9;", Precision, "6"},
        {";BINARY;DEFAULT_PRECISION=6;LENGTH=4;", Precision, "6"},
        {";PACKED;DEFAULT_PRECISION=1;LENGTH=5;", Precision, "10"},
        {";DEFAULT_PRECISION=1;LENGTH=5;", Precision, "5"},
        {";BINARY;INTEGER;LENGTH=4;", Precision, "4"},
        {";PRECISION=9;LENGTH=4;", Precision, "9"},
        {";REMARK=x;", Length, "0"},
        {";REMARK=x;", Precision, "0"},
        {";DEFAULT_FORMAT=;FORMAT=YYMMDD;", Format, "YYMMDD"},
        {";DEFAULT_FORMAT=DDMMYY;FORMAT=YYMMDD;", Format, "DDMMYY"},
        {";LENGTH=4;", Format, ""},
        {"BINARY;INTEGER;DEFAULT_PRECISION=1;LENGTH=4;", Precision, "4"}, // no ";" in front: no flag
        {";LENGTH=-4;", Length, nullptr},
        {";LENGTH=x;", Length, nullptr},
        {";DEFAULT_PRECISION=-1;", Precision, nullptr},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.attributes);
        CLOCDT t;
        t.ATTRIBUTES = QString::fromLatin1(c.attributes);
        auto read = [&]() -> QString {
            switch (c.property) {
            case Length: return QString::number(t.DEFAULT_LENGTH());
            case Precision: return QString::number(t.DEFAULT_PRECISION());
            case Format: return t.DEFAULT_FORMAT();
            }
            return {};
        };
        if (c.result) {
            EXPECT_EQ(read(), QString::fromLatin1(c.result));
        } else {
            try {
                read();
                ADD_FAILURE() << "no failure";
            } catch (const QnError &e) {
                EXPECT_EQ(e.Number(), qnerr::TypeMismatch);
            }
        }
    }
    frmQNErr::Unload(); // the failed reads left their entries
}
