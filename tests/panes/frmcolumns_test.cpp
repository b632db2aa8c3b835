// The Columns pane: value words, the type attributes, the next-number lookup,
// its rules and statements, the special columns kept out of its writes, a
// failed re-key, unusual stored values and the Up button.

#include <QToolButton>

#include "panefixture.h"
#include "panes/frmcolumns.h"

namespace {

class Columns : public PaneTest
{
protected:
    frmColumns &columns(const QString &db = QStringLiteral("SALES"), const QString &table = QStringLiteral("CUSTOMER"))
    {
        return show<frmColumns>(QStringLiteral("frmColumns"), {QStringLiteral("QnTest"), db, table});
    }
    // The whole catalog row of a column of SALES.CUSTOMER (or of `table`).
    QString stored(const QString &column, const QString &table = QStringLiteral("CUSTOMER"))
    {
        return rows(QStringLiteral("SELECT * FROM QN_COLUMN WHERE DATABASE_NAME = 'SALES' AND TABLE_NAME = '%1' AND "
                                   "COLUMN_NAME = '%2'")
                        .arg(table, column))
            .value(0);
    }

    static constexpr int kCity = 3; // SALES.CUSTOMER's fourth column, a VARCHAR
    static constexpr int kCustNo = 0; // its first, an INTEGER
    static const QString kCityRow;
};

const QString Columns::kCityRow =
    QStringLiteral("4|CITY|CITY|CITY|VARCHAR|20|20|0|Yes|No|Yes|Yes|No|No|Yes|Searchable|0|0||");

TEST_F(Columns, Listing)
{
    frmColumns &c = columns();
    EXPECT_EQ(c.lblTitle.title->text(), QStringLiteral("SALES.CUSTOMER - Columns"));
    ASSERT_EQ(c.grd->Cols(), 20);
    const GridModel &m = c.grd->Model();
    EXPECT_EQ(m.Caption(0), QStringLiteral("Column Number"));
    EXPECT_EQ(m.Caption(4), QStringLiteral("Sql Type Name"));
    EXPECT_EQ(m.Caption(9), QStringLiteral("Unsigned Attribute"));
    EXPECT_EQ(m.Caption(17), QStringLiteral("Setfileparameter"));
    EXPECT_EQ(m.Alignment(0), Qt::AlignRight);
    EXPECT_EQ(m.Alignment(1), Qt::AlignLeft);
    EXPECT_EQ(m.Alignment(15), Qt::AlignRight);
    ASSERT_EQ(c.grd->Rows(), 10);
    EXPECT_EQ(row(c, 0),
              QStringLiteral("1|CUST_NO|CUST_NO|CUST-NO|INTEGER|4|10|0|Yes|No|Yes|Yes|No|No|No|All except LIKE|1|0||"
                             "Customer number"));
    EXPECT_EQ(row(c, kCity), kCityRow);
    EXPECT_EQ(row(c, 9), QStringLiteral("|||||||0|No|No|Yes|Yes|No|No|No|All except LIKE|0|0||"));
    // The type list in the cache's order; the fields of the table's file.
    EXPECT_EQ(items(c.cboCell[1]),
              QStringList({QStringLiteral("CHAR"), QStringLiteral("DATE"), QStringLiteral("DECIMAL"),
                           QStringLiteral("DOUBLE"), QStringLiteral("INTEGER"), QStringLiteral("NUMERIC"),
                           QStringLiteral("SMALLINT"), QStringLiteral("TIME"), QStringLiteral("VARCHAR")}));
    QStringList fields = items(c.cboCell[0]);
    fields.sort();
    EXPECT_EQ(fields, QStringList({QStringLiteral("ADDRESS"), QStringLiteral("CITY"), QStringLiteral("CREDIT-LIMIT"),
                                   QStringLiteral("CUST-NO"), QStringLiteral("NAME"), QStringLiteral("PHONE"),
                                   QStringLiteral("POSTCODE"), QStringLiteral("REGION"), QStringLiteral("SINCE")}));
    EXPECT_EQ(items(c.cboCell[3]), modGrid::SearchableWords());
}

// The catalog's own database: its columns are listed, without a new row, and nothing opens.
TEST_F(Columns, CatalogDatabaseIsReadOnly)
{
    frmColumns &c = columns(QStringLiteral("QN"), QStringLiteral("DB"));
    EXPECT_TRUE(c.ReadOnly());
    EXPECT_EQ(c.grd->Rows(), 7);
    EXPECT_EQ(c.grd->TextMatrix(6, 1), QStringLiteral("DISPLAY_NAME"));
    click(c, 6, 1);
    key(Qt::Key_Return);
    type(QStringLiteral("x"));
    key(Qt::Key_Backspace);
    doubleClick(c, 6, 19);
    EXPECT_FALSE(c.EditorVisible());
    key(Qt::Key_Tab);
    EXPECT_EQ(current(c), QPoint(0, 6)); // Tab still moves: from the last cell to the first of the last row
}

// The nine type attributes open only in rows whose type has "CHAR" in its name.
TEST_F(Columns, TypeAttributesOpenOnlyForCharTypes)
{
    frmColumns &c = columns();
    for (int col = 5; col <= 16; ++col) {
        SCOPED_TRACE(col);
        const bool attribute = col != 7 && col != 10 && col != 11;
        click(c, kCustNo, col);
        key(Qt::Key_Return);
        EXPECT_EQ(c.EditorVisible(), !attribute);
        key(Qt::Key_Escape);
        click(c, kCity, col);
        key(Qt::Key_Return);
        EXPECT_TRUE(c.EditorVisible());
        EXPECT_EQ(c.CellEditor()->objectName(), col == 15   ? QStringLiteral("cboCell_3")
                                                : col >= 8 && col <= 14 ? QStringLiteral("cboCell_2")
                                                                        : QStringLiteral("txtCell"));
        key(Qt::Key_Escape);
    }
    EXPECT_FALSE(c.RowDirty());
}

// A type without "CHAR" brings its attributes into the row at once; opening
// the type cell brings nothing.
TEST_F(Columns, NewTypeCopiesItsAttributes)
{
    open()->Execute(QStringLiteral("UPDATE QN_COLUMN SET LENGTH = 99, RADIX = 7 WHERE DATABASE_NAME = 'SALES' AND "
                                   "TABLE_NAME = 'CUSTOMER' AND COLUMN_NAME = 'CUST_NO'"));
    frmColumns &c = columns();
    const QString before = row(c, kCustNo);
    click(c, kCustNo, 4);
    key(Qt::Key_Return);
    EXPECT_EQ(c.CellEditor()->objectName(), QStringLiteral("cboCell_1"));
    EXPECT_EQ(row(c, kCustNo), before);
    key(Qt::Key_Escape);
    click(c, kCity, 0);
    EXPECT_TRUE(c.Statements().isEmpty());

    click(c, kCustNo, 4);
    key(Qt::Key_Return);
    QTest::keyClick(focus(), Qt::Key_A, Qt::ControlModifier);
    type(QStringLiteral("s"));
    EXPECT_EQ(row(c, kCustNo),
              QStringLiteral("1|CUST_NO|CUST_NO|CUST-NO|INTEGER|2|5|0|Yes|No|Yes|Yes|No|No|No|All except LIKE|1|0||"
                             "Customer number"));
    key(Qt::Key_Return);
    click(c, kCity, 0);
    EXPECT_EQ(c.Statements(),
              QStringList{QStringLiteral(
                  "UPDATE QN_COLUMN SET DISPLAY_NAME = 'CUST_NO', SQL_TYPE_NAME = 'SMALLINT', LENGTH = 2, PRECISION = "
                  "5, SCALE = 0, NULLABLE = 1, UNSIGNED_ATTRIBUTE = 0, UPDATABLE = 1, VISIBLE = 1, MONEY = 0, "
                  "AUTO_INCREMENT = 0, CASE_SENSITIVE = 0, SEARCHABLE = 2, RADIX = 1, SETFILEPARAMETER = 0, "
                  "DEFAULT_VALUE = NULL, REMARKS = 'Customer number' WHERE DATABASE_NAME = 'SALES' AND TABLE_NAME = "
                  "'CUSTOMER' AND COLUMN_NUMBER = 1 AND COLUMN_TYPE = 0")});

    // A type with "CHAR" copies nothing: the row keeps its values, now editable.
    pick(c, kCustNo, 4, "v");
    EXPECT_EQ(c.grd->TextMatrix(kCustNo, 4), QStringLiteral("VARCHAR"));
    EXPECT_EQ(c.grd->TextMatrix(kCustNo, 5), QStringLiteral("2"));
    edit(c, kCustNo, 5, QStringLiteral("12"));
    EXPECT_EQ(c.grd->TextMatrix(kCustNo, 5), QStringLiteral("12"));
}

// The lookup proposes the number after the highest of the table, special
// columns counted; a proposal that differs from the cell is an edit.
TEST_F(Columns, NextNumberLookup)
{
    open()->Execute(QStringLiteral("INSERT INTO QN_TABLE (DATABASE_NAME, TABLE_NAME, FILE_NAME) VALUES "
                                   "('SALES', 'EMPTY', 'CUSTOMER')"));
    const struct
    {
        const char *db, *table, *proposed;
    } cases[] = {{"SALES", "CUSTOMER", "10"}, {"STOCK", "PRODUCT", "7"}, {"SALES", "EMPTY", "1"}};
    for (const auto &k : cases) {
        SCOPED_TRACE(k.table);
        frmColumns &c = columns(QLatin1String(k.db), QLatin1String(k.table));
        const int fresh = c.grd->Rows() - 1;
        click(c, fresh, 0);
        key(Qt::Key_Return);
        QTest::mouseClick(c.ctlLUCell[0]->cmd, Qt::LeftButton);
        EXPECT_EQ(c.ctlLUCell[0]->Text(), QLatin1String(k.proposed));
        key(Qt::Key_Return);
        EXPECT_EQ(c.grd->TextMatrix(fresh, 0), QLatin1String(k.proposed));
        EXPECT_TRUE(c.RowDirty());
    }
}

// Each rule with its message; the failing cell becomes current and opens.
TEST_F(Columns, Rules)
{
    enum How { Typed, Emptied, Picked };
    const struct
    {
        int col;
        How how;
        const char *text;
        const char *message; // nullptr: passes
    } rules[] = {
        {0, Typed, "0", "Column Number is out of range.\r\nPlease enter a value between 1 and 32767."},
        {0, Typed, "32768", "Column Number is out of range.\r\nPlease enter a value between 1 and 32767."},
        {0, Typed, "2", "This Table already contains a column with a \r\nColumn Number of 2"},
        {0, Typed, "04", nullptr}, // its own number: not looked up
        {1, Typed, "", "Column Name cannot be blank"},
        {1, Typed, "NAME", "This Table already contains a Column called 'NAME'"},
        {1, Typed, "ROWID", "That is a reserved Column Name"},
        {2, Typed, "Town", "The Display Name (if used) MUST exactly match the Column Name (exclusive of case)."},
        {2, Typed, "city", nullptr},
        {2, Typed, "", nullptr},
        {3, Emptied, "", "Please select a Field Name from the dropdown list."},
        {3, Picked, "n", "The Field 'NAME' is already used\r\nby Column 'NAME' in this Table."},
        {4, Emptied, "", "Please select an SQL Type Name from the dropdown list."},
        {5, Typed, "255", "Length is out of range.\r\nPlease enter a value between 0 and 254."},
        {5, Typed, "254", nullptr},
        {6, Typed, "", "Precision is out of range.\r\nPlease enter a value between 0 and 254."},
        {7, Typed, "32768", "Scale is out of range.\r\nPlease enter a value between 0 and 32767."},
        {16, Typed, "65536", "Radix is out of range.\r\nPlease enter a value between 0 and 65535."},
        {17, Typed, "-1", "SetFileParameter is out of range.\r\nPlease enter a value between 0 and 65535."},
    };
    for (const auto &r : rules) {
        SCOPED_TRACE(std::to_string(r.col) + " " + r.text);
        frmColumns &c = columns();
        switch (r.how) {
        case Typed: edit(c, kCity, r.col, QString::fromLatin1(r.text)); break;
        case Emptied: empty(c, kCity, r.col); break;
        case Picked: pick(c, kCity, r.col, r.text); break;
        }
        expectRule(c, kCity, r.col, r.message, QPoint(1, 0));
    }
}

TEST_F(Columns, Statements)
{
    open()->Execute(QStringLiteral("INSERT INTO QN_FIELD (FILE_NAME, FIELD_NUMBER, FIELD_NAME) VALUES ('CUSTOMER', 10, "
                                   "'FAX')"));
    frmColumns &c = columns();
    // No key changed: one UPDATE of the ordinary column with that number.
    edit(c, kCity, 19, QStringLiteral("Town's name"));
    EXPECT_EQ(c.Statements(),
              QStringList{QStringLiteral(
                  "UPDATE QN_COLUMN SET DISPLAY_NAME = 'CITY', SQL_TYPE_NAME = 'VARCHAR', LENGTH = 20, PRECISION = "
                  "20, SCALE = 0, NULLABLE = 1, UNSIGNED_ATTRIBUTE = 0, UPDATABLE = 1, VISIBLE = 1, MONEY = 0, "
                  "AUTO_INCREMENT = 0, CASE_SENSITIVE = 1, SEARCHABLE = 3, RADIX = 0, SETFILEPARAMETER = 0, "
                  "DEFAULT_VALUE = NULL, REMARKS = 'Town''s name' WHERE DATABASE_NAME = 'SALES' AND TABLE_NAME = "
                  "'CUSTOMER' AND COLUMN_NUMBER = 4 AND COLUMN_TYPE = 0")});

    // A new name: the row goes under its former number and name, and comes back.
    edit(c, kCity, 1, QStringLiteral("TOWN"));
    edit(c, kCity, 2, QStringLiteral("Town"));
    click(c, 0, 0);
    EXPECT_EQ(c.Statements(),
              QStringList({QStringLiteral("SELECT COLUMN_NAME FROM QN_COLUMN WHERE DATABASE_NAME = 'SALES' AND "
                                          "TABLE_NAME = 'CUSTOMER' AND COLUMN_NAME = 'TOWN'"),
                           QStringLiteral("DELETE FROM QN_COLUMN WHERE DATABASE_NAME = 'SALES' AND TABLE_NAME = "
                                          "'CUSTOMER' AND COLUMN_NUMBER = 4 AND COLUMN_TYPE = 0 AND COLUMN_NAME = "
                                          "'CITY'"),
                           QStringLiteral("INSERT INTO QN_COLUMN (DATABASE_NAME, TABLE_NAME, COLUMN_NUMBER, "
                                          "COLUMN_NAME, FIELD_NAME, SQL_TYPE_NAME, LENGTH, PRECISION, SCALE, NULLABLE, "
                                          "UNSIGNED_ATTRIBUTE, UPDATABLE, VISIBLE, MONEY, AUTO_INCREMENT, "
                                          "CASE_SENSITIVE, SEARCHABLE, RADIX, DEFAULT_VALUE, REMARKS, "
                                          "SETFILEPARAMETER, COLUMN_TYPE, DISPLAY_NAME) VALUES ('SALES','CUSTOMER', 4, "
                                          "'TOWN', 'CITY', 'VARCHAR', 20, 20, 0, 1, 0, 1, 1, 0, 0, 1, 3, 0, NULL, "
                                          "'Town''s name', 0, 0,'Town')")}));
    EXPECT_EQ(stored(QStringLiteral("CITY")), QString());
    EXPECT_EQ(stored(QStringLiteral("TOWN")),
              QStringLiteral("SALES|CUSTOMER|4|TOWN|CITY|VARCHAR|20|20|0|1|0|1|1|0|0|1|3|0||Town's name|0|0|Town"));

    // A new column through the new row; a fresh new row follows.
    const int fresh = c.grd->Rows() - 1;
    edit(c, fresh, 0, QStringLiteral("10"));
    edit(c, fresh, 1, QStringLiteral("FAX"));
    pick(c, fresh, 3, "f");
    pick(c, fresh, 4, "c");
    edit(c, fresh, 5, QStringLiteral("16"));
    edit(c, fresh, 6, QStringLiteral("16"));
    click(c, 0, 0);
    EXPECT_EQ(c.Statements().last(),
              QStringLiteral("INSERT INTO QN_COLUMN (DATABASE_NAME, TABLE_NAME, COLUMN_NUMBER, COLUMN_NAME, "
                             "FIELD_NAME, SQL_TYPE_NAME, LENGTH, PRECISION, SCALE, NULLABLE, UNSIGNED_ATTRIBUTE, "
                             "UPDATABLE, VISIBLE, MONEY, AUTO_INCREMENT, CASE_SENSITIVE, SEARCHABLE, RADIX, "
                             "DEFAULT_VALUE, REMARKS, SETFILEPARAMETER, COLUMN_TYPE, DISPLAY_NAME) VALUES "
                             "('SALES','CUSTOMER', 10, 'FAX', 'FAX', 'CHAR', 16, 16, 0, 0, 0, 1, 1, 0, 0, 0, 2, 0, "
                             "'', '', 0, 0,'')"));
    EXPECT_EQ(c.grd->Rows(), fresh + 2);
}

// The special columns, all numbered 1, are never touched by the ordinary column numbered 1.
TEST_F(Columns, SpecialColumnsStayOutOfTheWrites)
{
    const QString specials = QStringLiteral("SELECT * FROM QN_COLUMN WHERE DATABASE_NAME = 'SALES' AND TABLE_NAME = "
                                            "'ORDERS' AND COLUMN_TYPE <> 0 ORDER BY COLUMN_NAME");
    const QStringList before = rows(specials);
    ASSERT_EQ(before.size(), 2);
    frmColumns &c = columns(QStringLiteral("SALES"), QStringLiteral("ORDERS"));
    ASSERT_EQ(c.grd->TextMatrix(0, 1), QStringLiteral("ORDER_NO"));
    edit(c, 0, 19, QStringLiteral("Changed"));
    edit(c, 0, 1, QStringLiteral("ORDER_ID"));
    edit(c, 0, 2, QString());
    click(c, 2, 0);
    EXPECT_EQ(rows(specials), before);
    EXPECT_EQ(rows(QStringLiteral("SELECT COLUMN_NAME, REMARKS FROM QN_COLUMN WHERE DATABASE_NAME = 'SALES' AND "
                                  "TABLE_NAME = 'ORDERS' AND COLUMN_NUMBER = 1 AND COLUMN_TYPE = 0")),
              QStringList{QStringLiteral("ORDER_ID|Changed")});
}

// A re-key is one unit: a failed INSERT leaves the old row; Ignore gives the
// change up and the row shows the catalog again; Retry writes it.
TEST_F(Columns, FailedReKey)
{
    const QString city = stored(QStringLiteral("CITY"));
    frmColumns &c = columns();
    edit(c, kCity, 1, QStringLiteral("TOWN"));
    edit(c, kCity, 2, QString());
    // The name check, then the DELETE and the INSERT.
    dao::Faults::Add(dao::Faults::Statement, 3, QStringLiteral("23000"), QStringLiteral("constraint failed"));
    ui().answerError(ui::vbIgnore);
    click(c, 0, 0);
    ASSERT_EQ(ui().errors().size(), 1);
    EXPECT_EQ(ui().errors()[0].trappedIn, QStringLiteral("frmColumns.EnterCell"));
    EXPECT_TRUE(ui().errors()[0].additionalInfo.simplified().startsWith(QLatin1String("INSERT INTO QN_COLUMN (")));
    EXPECT_EQ(stored(QStringLiteral("CITY")), city);
    EXPECT_EQ(stored(QStringLiteral("TOWN")), QString());
    EXPECT_EQ(row(c, kCity), kCityRow);
    EXPECT_FALSE(c.RowDirty());
    EXPECT_EQ(current(c), QPoint(0, 0));

    edit(c, kCity, 1, QStringLiteral("TOWN"));
    edit(c, kCity, 2, QString());
    dao::Faults::Add(dao::Faults::Statement, 3, QStringLiteral("23000"), QStringLiteral("constraint failed"));
    ui().answerError(ui::vbRetry);
    click(c, 0, 0);
    EXPECT_EQ(stored(QStringLiteral("CITY")), QString());
    EXPECT_TRUE(stored(QStringLiteral("TOWN")).startsWith(QLatin1String("SALES|CUSTOMER|4|TOWN|CITY|")));
    EXPECT_EQ(c.grd->TextMatrix(kCity, 1), QStringLiteral("TOWN"));
}

// Without transactions a new identity is inserted before the old row goes;
// an identity kept (a number changed) can only be deleted first.
TEST_F(Columns, ReKeyWithoutTransactions)
{
    dao::IgnoreTransactionSupport(true);
    frmColumns &c = columns();
    edit(c, kCity, 1, QStringLiteral("TOWN"));
    edit(c, kCity, 2, QString());
    click(c, 0, 0);
    // The old row is read first: nothing would undo the INSERT were it gone.
    ASSERT_EQ(c.Statements().size(), 4);
    EXPECT_EQ(c.Statements()[1], QStringLiteral("SELECT * ") + c.Statements()[3].mid(7));
    EXPECT_TRUE(c.Statements()[2].startsWith(QLatin1String("INSERT")));
    EXPECT_TRUE(c.Statements()[3].startsWith(QLatin1String("DELETE")));
    edit(c, kCity, 0, QStringLiteral("40"));
    click(c, 0, 0);
    ASSERT_EQ(c.Statements().size(), 3);
    EXPECT_TRUE(c.Statements()[1].startsWith(QLatin1String("DELETE")));
    EXPECT_TRUE(c.Statements()[2].startsWith(QLatin1String("INSERT")));
    EXPECT_TRUE(stored(QStringLiteral("TOWN")).startsWith(QLatin1String("SALES|CUSTOMER|40|TOWN|")));
}

// Names with apostrophes, Null and odd flags, and a type the data source does
// not know: the pane shows them and writes the row.
TEST_F(Columns, UnusualStoredValues)
{
    auto db = open();
    db->Execute(QStringLiteral("INSERT INTO QN_TABLE (DATABASE_NAME, TABLE_NAME, FILE_NAME) VALUES "
                               "('SALES', 'O''NEIL', 'CUSTOMER')"));
    db->Execute(QStringLiteral(
        "INSERT INTO QN_COLUMN (DATABASE_NAME, TABLE_NAME, COLUMN_NUMBER, COLUMN_NAME, FIELD_NAME, SQL_TYPE_NAME, "
        "LENGTH, PRECISION, SCALE, NULLABLE, UNSIGNED_ATTRIBUTE, UPDATABLE, VISIBLE, MONEY, AUTO_INCREMENT, "
        "CASE_SENSITIVE, SEARCHABLE, RADIX, SETFILEPARAMETER, COLUMN_TYPE) VALUES ('SALES', 'O''NEIL', 1, 'A', "
        "'NAME', 'FOO', 20, 20, 0, NULL, 'x', 2, 1, NULL, NULL, NULL, NULL, 0, 0, 0), ('SALES', 'O''NEIL', 2, 'B', "
        "'CITY', 'VARCHAR', 20, 20, 0, 1, 0, 1, 1, 0, 0, 1, 7, 0, 0, 0)"));
    frmColumns &c = columns(QStringLiteral("SALES"), QStringLiteral("O'NEIL"));
    EXPECT_EQ(c.lblTitle.title->text(), QStringLiteral("SALES.O'NEIL - Columns"));
    ASSERT_EQ(c.grd->Rows(), 3);
    EXPECT_EQ(row(c, 0), QStringLiteral("1|A||NAME|FOO|20|20|0|No|No|No|Yes|No|No|No||0|0||"));
    EXPECT_EQ(row(c, 1), QStringLiteral("2|B||CITY|VARCHAR|20|20|0|Yes|No|Yes|Yes|No|No|Yes|7|0|0||"));

    // An unknown type: its attributes stay closed, and its row is written without the type's bounds;
    // its stored Nulls stay Null.
    click(c, 0, 5);
    key(Qt::Key_Return);
    EXPECT_FALSE(c.EditorVisible());
    edit(c, 0, 19, QStringLiteral("Unknown type"));
    click(c, 1, 0);
    ASSERT_EQ(c.Statements().size(), 1);
    EXPECT_TRUE(c.Statements()[0].contains(
        QLatin1String("NULLABLE = NULL, UNSIGNED_ATTRIBUTE = 0, UPDATABLE = 0, VISIBLE = 1, MONEY = NULL, "
                      "AUTO_INCREMENT = NULL, CASE_SENSITIVE = NULL, SEARCHABLE = NULL, RADIX = 0")));
    EXPECT_TRUE(c.Statements()[0].endsWith(QLatin1String("WHERE DATABASE_NAME = 'SALES' AND TABLE_NAME = 'O''NEIL' "
                                                         "AND COLUMN_NUMBER = 1 AND COLUMN_TYPE = 0")));
    // Lookups and checks quote the names too.
    click(c, 2, 0);
    key(Qt::Key_Return);
    QTest::mouseClick(c.ctlLUCell[0]->cmd, Qt::LeftButton);
    EXPECT_EQ(c.ctlLUCell[0]->Text(), QStringLiteral("3"));
    EXPECT_TRUE(ui().errors().isEmpty());
}

// Up shows the table's editor after revealing the table in the tree.
TEST_F(Columns, UpShowsTheTableEditor)
{
    columns();
    expectUp(main().tbrColumns, QStringLiteral("frmTable"),
             QStringLiteral("DSN=QnTest:DB=QnTest:db=SALES:TA=SALES:ta=CUSTOMER:"));
}

} // namespace
