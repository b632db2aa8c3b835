#include <QLineEdit>
#include <QWidget>

#include "core/frmqnerr.h"
#include "core/moddatabase.h"
#include "standinfixture.h"
#include "uitest.h"

using namespace modDatabase;

namespace {

using Tags = QList<QPair<QString, QString>>;

// A form with one control array whose elements carry the given tags and texts.
struct Form
{
    QWidget widget;
    QList<QLineEdit *> boxes;
    explicit Form(const QList<QPair<QString, QString>> &tagsAndTexts)
    {
        int i = 0;
        for (const auto &[tag, text] : tagsAndTexts) {
            auto *box = new QLineEdit(text, &widget);
            box->setObjectName(QStringLiteral("txtProperty_%1").arg(i++));
            box->setProperty("Tag", tag);
            boxes << box;
        }
    }
};

class ModDatabaseTest : public StandinTest
{
protected:
    dao::Fields fieldsOf(const QString &create)
    {
        open()->Execute(create);
        const QString table = create.section(QLatin1Char(' '), 2, 2);
        return open()->OpenFields(QStringLiteral("SELECT * FROM ") + table)->GetFields();
    }
};

} // namespace

TEST(ModDatabase, EscapeQuotes)
{
    EXPECT_EQ(EscapeQuotes(QVariant()), QString());
    EXPECT_EQ(EscapeQuotes(QStringLiteral("O'Brien")), QStringLiteral("O''Brien"));
    EXPECT_EQ(EscapeQuotes(QStringLiteral("''")), QStringLiteral("''''"));
    EXPECT_EQ(EscapeQuotes(12), QStringLiteral("12"));
    EXPECT_EQ(EscapeQuotes(QStringLiteral("\"x\"")), QStringLiteral("\"x\""));
}

TEST(ModDatabase, NumberForm)
{
    struct Case
    {
        const char *text;
        const char *sql; // nullptr: rejected
    } cases[] = {
        {"", "0"},       {"12", "012"},  {"-5", "0-5"},   {"+5", "0+5"}, {"1.25", "01.25"}, {".5", "0.5"},
        {"abc", nullptr}, {"1e5", nullptr}, {"12 ", nullptr}, {"1;DROP TABLE QN_DB", nullptr}, {"--", nullptr},
        {"1.2.3", nullptr}, {"-", nullptr}, {"5.", "05."}, {"+.5", "0+.5"}, {".", nullptr}, {"-.", nullptr},
        {"1-2", nullptr}, {"\xd9\xa3", nullptr}, // an Arabic-Indic three
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.text);
        if (c.sql) {
            EXPECT_EQ(NumberSQL(QString::fromUtf8(c.text)), QString::fromLatin1(c.sql));
        } else {
            QnError e = failureOf([&] { NumberSQL(QString::fromUtf8(c.text), QStringLiteral("Offset must be a number.")); });
            EXPECT_EQ(e.Number(), qnerr::ValidationFailed);
            EXPECT_EQ(e.Description(), QStringLiteral("Offset must be a number."));
        }
    }
}

TEST(ModDatabase, StoredNumbersAreCheckedLikeTypedOnes)
{
    struct Case
    {
        QVariant value;
        const char *zeroPrefixed; // nullptr: refused
        const char *bare;
        const char *orNull = nullptr; // StoredNumberOrNullSQL, quoted
    } cases[] = {
        {QVariant(), "0", "0", "NULL"},
        {QString(), "0", "0", "NULL"},
        {12, "012", "12", "'12'"},
        {-3, "0-3", "-3", "'-3'"},
        {qlonglong(5000000000), "05000000000", "5000000000", "'5000000000'"},
        {4.5, "04.5", "4.5", "'4.5'"},
        {true, "01", "1", "'1'"},
        {QStringLiteral("7"), "07", "7", "'7'"},
        {QStringLiteral("abc"), nullptr, nullptr},
        {QStringLiteral("1, 2"), nullptr, nullptr},
        {QStringLiteral("1); DELETE FROM QN_USER; --"), nullptr, nullptr},
        {QStringLiteral("0x10"), nullptr, nullptr},
        {QStringLiteral("1 2"), nullptr, nullptr},
        {QStringLiteral("12abc"), nullptr, nullptr},
        {QStringLiteral("-"), nullptr, nullptr},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.value.toString().toStdString());
        if (c.zeroPrefixed) {
            EXPECT_EQ(StoredNumberSQL(c.value, QStringLiteral("LENGTH")), QString::fromLatin1(c.zeroPrefixed));
            EXPECT_EQ(StoredNumberSQL(c.value, QStringLiteral("LENGTH"), NumberForm::Bare), QString::fromLatin1(c.bare));
            EXPECT_EQ(StoredNumberOrNullSQL(c.value, QStringLiteral("LENGTH"), NumberForm::Quoted),
                      QString::fromLatin1(c.orNull));
            continue;
        }
        EXPECT_EQ(failureOf([&] { StoredNumberOrNullSQL(c.value, QStringLiteral("LENGTH")); }).Number(),
                  qnerr::ValidationFailed);
        for (NumberForm form : {NumberForm::ZeroPrefixed, NumberForm::Bare}) {
            const QnError e = failureOf([&] { StoredNumberSQL(c.value, QStringLiteral("LENGTH"), form); });
            EXPECT_EQ(e.Number(), qnerr::ValidationFailed);
            EXPECT_EQ(e.Description(),
                      QStringLiteral("The stored value '%1' of LENGTH is not a number.").arg(c.value.toString()));
        }
    }
}

TEST(ModDatabase, NamesOutsideQuotesAreChecked)
{
    for (const char *good : {"QN_DB", "SALES_2024", "T$1", "A#B", "x@y", "SALES.ORDERS", "Gr\xc3\xb6\xc3\x9f" "e",
                             "\xe6\x97\xa5\xe6\x9c\xac", "Cafe\xcc\x81"}) {
        const QString name = QString::fromUtf8(good);
        EXPECT_EQ(NameSQL(name), name) << good;
    }
    struct Bad
    {
        const char *name;
        const char *shown; // the character the message names
    } bad[] = {
        {" QN_DB", " "},  {"QN DB", " "},   {"QN'DB", "'"},   {"QN\"DB", "\""}, {"QN`DB", "`"},
        {"QN_DB;", ";"},  {"QN_DB--", "-"}, {"QN/*x*/", "/"}, {"QN(1)", "("},   {"QN)", ")"},
        {"QN,DB", ","},   {"QN\tDB", "\t"}, {"QN\nDB", "\n"}, {"QN=DB", "="},    {"QN*", "*"},
        {"[QN]", "["},
    };
    for (const Bad &b : bad) {
        SCOPED_TRACE(b.name);
        const QnError e = failureOf([&] { NameSQL(QString::fromLatin1(b.name)); });
        EXPECT_EQ(e.Number(), qnerr::ValidationFailed);
        EXPECT_EQ(e.Description(), QStringLiteral("The name '%1' cannot be used in a statement: it contains '%2'.")
                                       .arg(QString::fromLatin1(b.name), QString::fromLatin1(b.shown)));
    }
    const QnError empty = failureOf([&] { NameSQL(QString()); });
    EXPECT_EQ(empty.Number(), qnerr::ValidationFailed);
    EXPECT_EQ(empty.Description(), QStringLiteral("An empty name cannot be used in a statement."));
}

TEST(ModDatabase, BuildDeleteSQL)
{
    EXPECT_EQ(BuildDeleteSQL(QStringLiteral("QN_DB"), QStringLiteral("DATABASE_NAME = 'D1'")),
              QStringLiteral("DELETE FROM QN_DB WHERE DATABASE_NAME = 'D1'"));
}

TEST(ModDatabase, FormatSQLWorkedExamples)
{
    const QString R = QStringLiteral("\r\n");
    struct Case
    {
        QVariant sql;
        QStringList lines;
    } cases[] = {
        {QStringLiteral("UPDATE QN_TABLE SET REMARKS = 'x' WHERE DATABASE_NAME = 'D1' AND TABLE_NAME = 'T1'"),
         {"UPDATE ", "\tQN_TABLE", "SET", "\tREMARKS = 'x'", "WHERE", "\tDATABASE_NAME = 'D1'",
          "\tAND TABLE_NAME = 'T1'"}},
        {QStringLiteral("SELECT * FROM QN_DB WHERE DATABASE_NAME = 'D1' ORDER BY DATABASE_NAME"),
         {"", "SELECT", "\t*", "FROM", "\tQN_DB", "WHERE", "\tDATABASE_NAME = 'D1'", "ORDER BY ", "\tDATABASE_NAME"}},
        {QStringLiteral("INSERT INTO QN_DB (DATABASE_NAME, REMARKS) VALUES ('D1', 'a, b')"),
         {"INSERT INTO ", "\tQN_DB (", "\tDATABASE_NAME,", "\tREMARKS)", "", "VALUES (", "\t'D1',", "\t'a,", "\tb')",
          "\t"}},
        {QStringLiteral("DELETE FROM QN_DB WHERE DATABASE_NAME = 'D1'"),
         {"DELETE", "FROM", "\tQN_DB", "WHERE", "\tDATABASE_NAME = 'D1'"}},
        {QStringLiteral("None"), {"None"}},
        {QStringLiteral(""), {""}},
        {QVariant(), {""}},
        {QStringLiteral("select *\tfrom   t"), {"select * from t"}},
        {QStringLiteral("a OR b"), {"a", "\tOR b"}},
        {QStringLiteral("  x\u00e9y  "), {"x y"}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(FormatSQL(c.sql), c.lines.join(R)) << c.sql.toString().toStdString();
}

TEST(ModDatabase, CalcMaxLength)
{
    struct Case
    {
        int type;
        long size;
        int expected;
    } cases[] = {
        {dao::dbBoolean, 1, 1}, {dao::dbByte, 1, 3},   {dao::dbInteger, 2, 6}, {dao::dbCurrency, 8, 20},
        {dao::dbText, 18, 18},  {dao::dbChar, 10, 10}, {dao::dbLong, 10, 9},   {dao::dbDouble, 15, 9},
        {dao::dbDate, 10, 9},   {dao::dbMemo, 1000, 1000}, {dao::dbMemo, 0, 0}, {dao::dbMemo, INT32_MAX, 0},
    };
    for (const auto &c : cases)
        EXPECT_EQ(CalcMaxLength(c.type, c.size), c.expected) << c.type << "/" << c.size;
}

TEST_F(ModDatabaseTest, BuildInsertSQLQuotesTextAndWritesNumbersInTheNumberForm)
{
    dao::Fields fields = fieldsOf(QStringLiteral("CREATE TABLE QN_X (A VARCHAR(18), B VARCHAR(254), N INTEGER, S SMALLINT)"));
    struct Case
    {
        QList<QPair<QString, QString>> boxes;
        QString expected;
    } cases[] = {
        {{{"A", "D1"}, {"B", "it's"}, {"N", "12"}}, "INSERT INTO QN_X (A, B, N) VALUES ('D1', 'it''s', 012)"},
        {{{"N", ""}, {"", "unbound"}, {"A", "x"}, {"S", "-5"}}, "INSERT INTO QN_X (N, A, S) VALUES (0, 'x', 0-5)"},
    };
    for (const auto &c : cases) {
        Form form(c.boxes);
        EXPECT_EQ(BuildInsertSQL(&form.widget, form.boxes.last(), fields, QStringLiteral("QN_X")), c.expected);
    }
    // Another array on the same form plays no part.
    Form form(Tags{{"A", "a"}});
    auto *other = new QLineEdit(QStringLiteral("zz"), &form.widget);
    other->setObjectName(QStringLiteral("txtOther_0"));
    other->setProperty("Tag", QStringLiteral("B"));
    EXPECT_EQ(BuildInsertSQL(&form.widget, form.boxes[0], fields, QStringLiteral("QN_X")),
              QStringLiteral("INSERT INTO QN_X (A) VALUES ('a')"));

    EXPECT_EQ(failureOf([&] { Form f(Tags{{"N", "twelve"}}); BuildInsertSQL(&f.widget, f.boxes[0], fields, "QN_X"); }).Number(),
              qnerr::ValidationFailed);
    EXPECT_EQ(failureOf([&] { Form f(Tags{{"NOPE", "1"}}); BuildInsertSQL(&f.widget, f.boxes[0], fields, "QN_X"); }).Number(),
              3265);
    EXPECT_EQ(failureOf([&] { Form f(Tags{{"", "1"}}); BuildInsertSQL(&f.widget, f.boxes[0], fields, "QN_X"); }).Number(),
              qnerr::InvalidProcedureCall);
}

TEST_F(ModDatabaseTest, FetchFieldInfoReadsTypesWithoutRows)
{
    dao::Fields fields = FetchFieldInfo(*open(), QStringLiteral("QN_DB"));
    ASSERT_GT(fields.Count(), 0);
    EXPECT_EQ(fields(QStringLiteral("DATABASE_NAME")).Type(), dao::dbText);
    EXPECT_TRUE(frmQNErr::Trace().isEmpty());

    ui().answerError(ui::vbIgnore);
    EXPECT_TRUE(FetchFieldInfo(*open(), QStringLiteral("NO_SUCH")).IsEmpty());
    ASSERT_EQ(ui().errors().size(), 1);
    EXPECT_EQ(ui().errors()[0].trappedIn, QStringLiteral("modDatabase.FetchFieldInfo"));
    EXPECT_EQ(ui().errors()[0].additionalInfo, QStringLiteral("None"));
    EXPECT_TRUE(frmQNErr::Trace().isEmpty());
}

TEST_F(ModDatabaseTest, FetchFieldInfoRefusesAnUnsafeTableNameBeforeAnyStatement)
{
    const QVariant users = open()->OpenRecordset(QStringLiteral("SELECT COUNT(*) FROM QN_USER"))->Cell(0, 0);
    for (const char *table : {"QN_DB; DELETE FROM QN_USER", "QN_DB --", "QN_DB WHERE 1=0", "(SELECT 1)", "QN_DB'"}) {
        SCOPED_TRACE(table);
        ui().clear();
        dao::Faults::Add(dao::Faults::Statement, 1, QStringLiteral("HY000")); // fails the first statement sent
        ui().answerError(ui::vbIgnore);
        EXPECT_TRUE(FetchFieldInfo(*open(), QString::fromLatin1(table)).IsEmpty());
        EXPECT_EQ(dao::Faults::Pending(), 1) << "a statement ran";
        dao::Faults::Clear();
        ASSERT_EQ(ui().errors().size(), 1);
        EXPECT_EQ(ui().errors()[0].number, QStringLiteral("380"));
        EXPECT_TRUE(ui().errors()[0].description.startsWith(QStringLiteral("The name '%1' cannot be used")
                                                                 .arg(QString::fromLatin1(table))));
        EXPECT_EQ(ui().errors()[0].trappedIn, QStringLiteral("modDatabase.FetchFieldInfo"));
    }
    EXPECT_EQ(open()->OpenRecordset(QStringLiteral("SELECT COUNT(*) FROM QN_USER"))->Cell(0, 0), users);

    // A name of any script is no reason to refuse.
    const QString table = QString::fromUtf8("Gr\xc3\xb6\xc3\x9f" "e");
    open()->Execute(QStringLiteral("CREATE TABLE %1 (%2 VARCHAR(12))").arg(table, QString::fromUtf8("Ma\xc3\x9f")));
    const dao::Fields fields = FetchFieldInfo(*open(), table);
    ASSERT_EQ(fields.Count(), 1);
    EXPECT_EQ(fields(QString::fromUtf8("MA\xc3\x9f")).Size(), 12);
}

TEST_F(ModDatabaseTest, FetchTableFile)
{
    auto db = open();
    db->Execute(QStringLiteral("DELETE FROM QN_TABLE WHERE DATABASE_NAME = 'D''1'"));
    db->Execute(QStringLiteral("INSERT INTO QN_TABLE (DATABASE_NAME, TABLE_NAME, FILE_NAME) VALUES ('D''1', 'T1', 'F1')"));
    EXPECT_EQ(FetchTableFile(*db, QStringLiteral("D'1"), QStringLiteral("T1")), QStringLiteral("F1"));
    EXPECT_EQ(FetchTableFile(*db, QStringLiteral("D'1"), QStringLiteral("T2")), QString());
}

TEST_F(ModDatabaseTest, CalcUniqueNameProposesTheFirstFreeName)
{
    auto db = open();
    db->Execute(QStringLiteral("CREATE TABLE NAMES (NAME VARCHAR(6))"));
    const QString query = QStringLiteral("SELECT NAME FROM NAMES WHERE NAME='?'");
    auto names = [&](const QStringList &list) {
        db->Execute(QStringLiteral("DELETE FROM NAMES"));
        for (const QString &n : list)
            db->Execute(QStringLiteral("INSERT INTO NAMES VALUES ('%1')").arg(EscapeQuotes(n)));
    };
    struct Case
    {
        QStringList taken;
        const char *base;
        const char *expected;
    } cases[] = {
        {{}, "SALES12", "SALES"},
        {{"SALES"}, "SALES12", "SALES1"},
        {{"SALES", "SALES1", "SALES2"}, "SALES", "SALES3"},
        {{"O'B"}, "O'B", "O'B1"},                        // escaped, so a quote cannot break the query
        {{"", "1"}, "123", "2"},                          // digits only: the empty name first
        {{"ABCDEF"}, "ABCDEF", "ABCDE1"},                // the base shortens so the counter fits
        {{"ABCDEF", "ABCDE1", "ABCDE2", "ABCDE3", "ABCDE4", "ABCDE5", "ABCDE6", "ABCDE7", "ABCDE8", "ABCDE9"},
         "ABCDEF", "ABCD10"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.base);
        names(c.taken);
        EXPECT_EQ(CalcUniqueName(*db, query, QString::fromLatin1(c.base)), QString::fromLatin1(c.expected));
    }
    // A name quoted into the template ahead of the candidate may hold a "?" of its own.
    names({"SALES"});
    EXPECT_EQ(CalcUniqueName(*db, "SELECT NAME FROM NAMES WHERE 'W?' <> '' AND NAME = '?'", "SALES"),
              QStringLiteral("SALES1"));

    // It ends: once the counter alone no longer fits, it fails.
    db->Execute(QStringLiteral("CREATE TABLE ONE (NAME VARCHAR(1))"));
    for (int i = 0; i <= 9; ++i)
        db->Execute(QStringLiteral("INSERT INTO ONE VALUES ('%1')").arg(i == 0 ? QStringLiteral("A") : QString::number(i)));
    EXPECT_EQ(failureOf([&] { CalcUniqueName(*db, "SELECT NAME FROM ONE WHERE NAME='?'", "A"); }).Number(),
              qnerr::ValidationFailed);
    EXPECT_EQ(failureOf([&] { CalcUniqueName(*db, "SELECT NAME FROM ONE", "A"); }).Number(),
              qnerr::InvalidProcedureCall);
}
