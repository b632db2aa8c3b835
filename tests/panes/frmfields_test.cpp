// The Fields pane: its listing and order, the local-type rules of each row's
// own type, the number, offset and format lookups, its rules and statements.

#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <QTreeView>

#include "core/modgui.h"
#include "panefixture.h"
#include "dialogs/frmformatpicker.h"
#include "panes/frmfields.h"

namespace {

class Fields : public PaneTest
{
protected:
    frmFields &fields(const QString &file = QStringLiteral("CUSTOMER"))
    {
        return show<frmFields>(QStringLiteral("frmFields"), {QStringLiteral("QnTest"), file});
    }
    QString stored(const QString &field, const QString &file = QStringLiteral("CUSTOMER"))
    {
        return rows(QStringLiteral("SELECT * FROM QN_FIELD WHERE FILE_NAME = '%1' AND FIELD_NAME = '%2'").arg(file, field))
            .value(0);
    }
    // Chooses a local type on the row's type cell by typing its name.
    static void choose(GridPane &p, int row, const QString &name)
    {
        click(p, row, 3);
        type(name);
        key(Qt::Key_Return);
    }
    // Replaces the text of the open editor and presses Enter.
    static void retype(const QString &text)
    {
        QTest::keyClick(focus(), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(focus(), Qt::Key_Backspace);
        type(text);
        key(Qt::Key_Return);
    }
    // The cells 4, 5, 6 and 8 of a row (length, precision, scale, format).
    static QString rules(const GridPane &p, int row)
    {
        return QStringList({p.grd->TextMatrix(row, 4), p.grd->TextMatrix(row, 5), p.grd->TextMatrix(row, 6),
                            p.grd->TextMatrix(row, 8)})
            .join(QLatin1Char('|'));
    }
    // Which of the cells 4, 5, 6 and 8 of a row open: "LPSF" with "." for a closed one.
    static QString opening(GridPane &p, int row)
    {
        QString open;
        const char letters[] = "LPSF";
        const int cols[] = {4, 5, 6, 8};
        for (int i = 0; i < 4; ++i) {
            click(p, row, cols[i]);
            key(Qt::Key_Return);
            open += p.EditorVisible() ? QLatin1Char(letters[i]) : QLatin1Char('.');
            if (p.EditorVisible())
                key(Qt::Key_Return); // unchanged: the row keeps its changes
        }
        return open;
    }

    // CUSTOMER's fields by name.
    static constexpr int kAddress = 0, kCity = 1, kCreditLimit = 2, kCustNo = 3, kName = 4, kSince = 8;
};

TEST_F(Fields, Listing)
{
    auto db = open();
    db->Execute(QStringLiteral("UPDATE QN_FIELD SET ENCRYPTED = 2 WHERE FILE_NAME = 'CUSTOMER' AND FIELD_NAME = 'CITY'"));
    db->Execute(QStringLiteral("UPDATE QN_FIELD SET ENCRYPTED = NULL WHERE FILE_NAME = 'CUSTOMER' AND FIELD_NAME = "
                               "'PHONE'"));
    db->Execute(QStringLiteral("UPDATE QN_FIELD SET ENCRYPTED = 5 WHERE FILE_NAME = 'CUSTOMER' AND FIELD_NAME = "
                               "'POSTCODE'"));
    frmFields &f = fields();
    EXPECT_EQ(f.lblTitle.title->text(), QStringLiteral("CUSTOMER - Fields"));
    QStringList captions;
    for (int c = 0; c < f.grd->Cols(); ++c)
        captions << f.grd->Model().Caption(c);
    EXPECT_EQ(captions, QStringList({QStringLiteral("Field Name"), QStringLiteral("Field Number"),
                                     QStringLiteral("Offset"), QStringLiteral("Local Type Name"),
                                     QStringLiteral("Length"), QStringLiteral("Precision"), QStringLiteral("Scale"),
                                     QStringLiteral("Encrypted"), QStringLiteral("Format"),
                                     QStringLiteral("Default Value"), QStringLiteral("Remarks")}));
    ASSERT_EQ(f.grd->Rows(), 10);
    // By name; stored codes as their words (an empty one empty, one beyond the words as stored).
    EXPECT_EQ(row(f, kAddress), QStringLiteral("ADDRESS|3|34|STRING|40|40|0|No|||"));
    EXPECT_EQ(row(f, kCity), QStringLiteral("CITY|4|74|STRING|20|20|0|Yes - Read Only|||"));
    EXPECT_EQ(row(f, 5), QStringLiteral("PHONE|6|102|STRING|16|16|0||||"));
    EXPECT_EQ(row(f, 6), QStringLiteral("POSTCODE|5|94|STRING|8|8|0|5|||"));
    EXPECT_EQ(row(f, kSince), QStringLiteral("SINCE|8|123|DATE|8|8|0|No|YYYYMMDD||Date of the first order"));
    EXPECT_EQ(row(f, 9), QStringLiteral("|||||||No|||"));
    EXPECT_EQ(items(f.cboCell[0]).size(), 13);
    EXPECT_EQ(items(f.cboCell[0]).first(), QStringLiteral("DATE"));
    EXPECT_EQ(items(f.cboCell[1]), modGrid::EncryptedWords());

    // By offset when the option says so.
    setSetting(QStringLiteral("Options"), QStringLiteral("FieldOrder"), QStringLiteral("1"));
    fields();
    QStringList names;
    for (int r = 0; r < f.grd->Rows() - 1; ++r)
        names << f.grd->TextMatrix(r, 0);
    EXPECT_EQ(names, QStringList({QStringLiteral("CUST-NO"), QStringLiteral("NAME"), QStringLiteral("ADDRESS"),
                                  QStringLiteral("CITY"), QStringLiteral("POSTCODE"), QStringLiteral("PHONE"),
                                  QStringLiteral("CREDIT-LIMIT"), QStringLiteral("SINCE"), QStringLiteral("REGION")}));
}

// The catalog's own files list their fields with no new row, and nothing
// opens; a file called 'Field' is an ordinary file.
TEST_F(Fields, CatalogFilesAreReadOnly)
{
    open()->Execute(QStringLiteral("INSERT INTO QN_FIELD (FILE_NAME, FIELD_NUMBER, FIELD_NAME) VALUES ('Field', 1, 'A')"));
    frmFields &f = fields(QStringLiteral("FIELD"));
    EXPECT_TRUE(f.ReadOnly());
    EXPECT_EQ(f.grd->Rows(), 12);
    for (int col : {0, 1, 3, 7}) {
        click(f, 0, col);
        key(Qt::Key_Return);
        type(QStringLiteral("x"));
        doubleClick(f, 0, col);
        EXPECT_FALSE(f.EditorVisible()) << col;
    }
    fields(QStringLiteral("Field"));
    EXPECT_FALSE(f.ReadOnly());
    EXPECT_EQ(f.grd->Rows(), 2);
}

// Each local type of the stand-in, chosen on a row: what it writes into the
// row, which of length, precision, scale and format open, and the bounds the
// row is then checked against.
TEST_F(Fields, LocalTypeRules)
{
    const struct
    {
        const char *type;
        const char *written; // length|precision|scale|format
        const char *opens;   // "LPSF", "." for a closed cell
        int lengthMax, precisionMin, precisionMax;
    } cases[] = {
        {"DATE", "8|8|0|YYYYMMDD", "LP.F", 32, 1, 32},
        {"HEXADECIMAL", "2|4|0|", "LP..", 127, 1, 127},
        {"INTEGER", "4|10|0|", "....", 0, 0, 0},
        {"NUMERIC", "8|8|0|", "LPS.", 18, 1, 18},
        {"PACKED", "5|10|0|", "LPS.", 10, 10, 11},
        {"SMALLINT", "2|5|0|", "....", 0, 0, 0},
        {"STRING", "10|10|0|", "LP..", 254, 1, 254},
        {"TIME", "6|6|0|hhmmss", "LP.F", 32, 1, 32},
        {"UNSIGNED", "2|5|0|", "....", 0, 0, 0},
        {"ZONED", "8|8|0|", "LPS.", 18, 1, 18},
        {"ZONED-NUM", "8|8|0|", "LP..", 18, 1, 18},
        {"ZONED-S", "8|8|0|", "LPS.", 18, 1, 18},
        {"ZONED-U", "8|8|0|", "LPS.", 18, 1, 18},
    };
    const QString range = QStringLiteral(" is out of range.\r\nPlease enter a value between %1 and %2.");
    for (const auto &c : cases) {
        SCOPED_TRACE(c.type);
        frmFields &f = fields();
        const QString type = QString::fromLatin1(c.type);
        choose(f, kCity, type);
        EXPECT_EQ(f.grd->TextMatrix(kCity, 3), type);
        EXPECT_EQ(rules(f, kCity), QLatin1String(c.written));
        EXPECT_TRUE(f.RowDirty());
        EXPECT_EQ(opening(f, kCity), QLatin1String(c.opens));
        // A value beyond each open bound is refused with the bounds; the bound itself passes.
        const struct
        {
            char letter;
            int col;
            const char *name;
            int beyond, low, high;
        } bounds[] = {
            {'L', 4, "Length", c.lengthMax + 1, 1, c.lengthMax},
            {'P', 5, "Precision", c.precisionMin - 1, c.precisionMin, c.precisionMax},
            {'S', 6, "Scale", -33, -32, 32},
        };
        for (const auto &b : bounds) {
            if (!QLatin1String(c.opens).contains(QLatin1Char(b.letter)))
                continue;
            edit(f, kCity, b.col, QString::number(b.beyond));
            ui().answerMsgBox(ui::vbOK);
            click(f, kName, 0);
            EXPECT_EQ(ui().messages().last(), QLatin1String(b.name) + range.arg(b.low).arg(b.high));
            retype(QString::number(b.beyond < b.low ? b.low : b.high)); // into the editor reopened there
        }
        click(f, kName, 0);
        EXPECT_FALSE(f.RowDirty());
        EXPECT_TRUE(stored(QStringLiteral("CITY")).startsWith(QStringLiteral("CUSTOMER|4|CITY|") + type + QLatin1Char('|')));
    }
}

// Opening the type cell writes nothing; each row is checked against its own
// type; a row without a known type opens none of the four and is not checked.
TEST_F(Fields, RulesOfTheRowsOwnType)
{
    auto db = open();
    db->Execute(QStringLiteral("INSERT INTO QN_FIELD (FILE_NAME, FIELD_NUMBER, FIELD_NAME, LOCAL_TYPE_NAME, OFFSET, "
                               "LENGTH, PRECISION, SCALE, ENCRYPTED) VALUES ('CUSTOMER', 10, 'X-NONE', '', 133, 99999, "
                               "0, 0, 0), ('CUSTOMER', 11, 'X-ODD', 'FOO', 133, 99999, 0, 0, 0)"));
    frmFields &f = fields();
    const QString name = row(f, kName);
    click(f, kName, 3);
    key(Qt::Key_Return);
    ASSERT_EQ(f.CellEditor()->objectName(), QStringLiteral("cboCell_0"));
    key(Qt::Key_Return);
    EXPECT_EQ(row(f, kName), name);
    EXPECT_FALSE(f.RowDirty());

    // A date row opened first does not bound the string row: 100 fits a string.
    click(f, kSince, 4);
    key(Qt::Key_Return);
    key(Qt::Key_Escape);
    edit(f, kName, 4, QStringLiteral("100"));
    click(f, kCity, 0);
    EXPECT_TRUE(ui().messages().isEmpty());
    EXPECT_TRUE(stored(QStringLiteral("NAME")).startsWith(QLatin1String("CUSTOMER|2|NAME|STRING|4|100|")));

    for (const char *field : {"X-NONE", "X-ODD"}) {
        SCOPED_TRACE(field);
        const int r = rowOf(f, QLatin1String(field));
        ASSERT_GE(r, 0);
        EXPECT_EQ(opening(f, r), QStringLiteral("...."));
        edit(f, r, 10, QStringLiteral("kept"));
        click(f, kCity, 0);
        EXPECT_TRUE(ui().messages().isEmpty());
        EXPECT_TRUE(stored(QLatin1String(field)).endsWith(QLatin1String("|99999|0|0|0|||kept")));
    }
}

TEST_F(Fields, NumberAndOffsetLookups)
{
    open()->Execute(QStringLiteral("INSERT INTO QN_FILE (FILE_NAME) VALUES ('EMPTY')"));
    frmFields &f = fields();
    const int fresh = f.grd->Rows() - 1;
    lookup(f, fresh, 1, 0);
    EXPECT_EQ(f.ctlLUCell[0]->Text(), QStringLiteral("10"));
    EXPECT_EQ(f.Statements(), QStringList{QStringLiteral("SELECT FIELD_NUMBER FROM QN_FIELD WHERE FILE_NAME = "
                                                         "'CUSTOMER' ORDER BY FIELD_NUMBER DESC")});
    key(Qt::Key_Escape);

    // The offset: the lengths of the saved fields numbered below the row's.
    lookup(f, kCity, 2, 1);
    EXPECT_EQ(f.ctlLUCell[1]->Text(), QStringLiteral("74"));
    EXPECT_EQ(f.Statements(), QStringList{QStringLiteral("SELECT SUM(LENGTH) AS NextOffset FROM QN_FIELD WHERE "
                                                         "FILE_NAME = 'CUSTOMER' AND FIELD_NUMBER < 04")});
    key(Qt::Key_Escape);
    lookup(f, kCustNo, 2, 1);
    EXPECT_EQ(f.ctlLUCell[1]->Text(), QStringLiteral("0"));
    key(Qt::Key_Escape);
    // Without a number: a message in a plain box, and nothing changes.
    ui().answerMsgBox(ui::vbOK);
    lookup(f, fresh, 2, 1);
    EXPECT_EQ(ui().messages().last(), QStringLiteral("Please enter a Field Number for this Field."));
    EXPECT_EQ(ui().shown().last().style, ui::vbOKOnly);
    EXPECT_EQ(f.ctlLUCell[1]->Text(), QString());
    key(Qt::Key_Escape);

    // A new offset is an edit of the cell.
    open()->Execute(QStringLiteral("UPDATE QN_FIELD SET OFFSET = 0 WHERE FILE_NAME = 'CUSTOMER' AND FIELD_NAME = 'CITY'"));
    fields();
    lookup(f, kCity, 2, 1);
    click(f, kName, 0);
    EXPECT_EQ(scalar(QStringLiteral("SELECT OFFSET FROM QN_FIELD WHERE FILE_NAME = 'CUSTOMER' AND FIELD_NAME = "
                                    "'CITY'")).toInt(), 74);

    fields(QStringLiteral("EMPTY"));
    lookup(f, 0, 1, 0);
    EXPECT_EQ(f.ctlLUCell[0]->Text(), QStringLiteral("1"));
}

// Each rule with its message; the failing cell becomes current and opens.
TEST_F(Fields, Rules)
{
    const struct
    {
        int col;
        const char *text;
        const char *message; // nullptr: passes
    } rules[] = {
        {0, "", "The Field Name cannot be blank"},
        {0, "NAME", "The Field Name 'NAME' already has already been used in this File."},
        {1, "", "Field Number is out of range.\r\nPlease enter a value between 1 and 65535."},
        {1, "0", "Field Number is out of range.\r\nPlease enter a value between 1 and 65535."},
        {1, "65536", "Field Number is out of range.\r\nPlease enter a value between 1 and 65535."},
        {1, "2", "That Field Number has already been used in this File."},
        {1, "04", nullptr}, // its own number: not looked up
        {1, "65535", nullptr},
        {2, "", "Offset is out of range.\r\nPlease enter a value between 0 and 65535."},
        {2, "65536", "Offset is out of range.\r\nPlease enter a value between 0 and 65535."},
        {2, "0", nullptr},
        {4, "", "Length is out of range.\r\nPlease enter a value between 1 and 254."},
        {5, "255", "Precision is out of range.\r\nPlease enter a value between 1 and 254."},
    };
    for (const auto &r : rules) {
        SCOPED_TRACE(std::to_string(r.col) + " " + r.text);
        frmFields &f = fields();
        edit(f, kCity, r.col, QString::fromLatin1(r.text));
        expectRule(f, kCity, r.col, r.message, QPoint(0, kName));
    }
}

TEST_F(Fields, Statements)
{
    frmFields &f = fields();
    // No key changed: one UPDATE under the saved name; words as codes, apostrophes doubled.
    pick(f, kCity, 7, "y");
    edit(f, kCity, 10, QStringLiteral("Town's"));
    click(f, kName, 0);
    EXPECT_EQ(f.Statements(),
              QStringList{QStringLiteral(
                  "UPDATE QN_FIELD SET FIELD_NUMBER = 4, LOCAL_TYPE_NAME = 'STRING', OFFSET = 74, LENGTH = 20, "
                  "PRECISION = 20, SCALE = 0, ENCRYPTED = 1, FORMAT = NULL, DEFAULT_VALUE = NULL, REMARKS = 'Town''s' "
                  "WHERE FILE_NAME = 'CUSTOMER' AND FIELD_NAME = 'CITY'")});

    // A new name: the row goes and comes back under it; the columns bound to it keep the old name.
    edit(f, kCity, 0, QStringLiteral("town"));
    click(f, kName, 0);
    EXPECT_EQ(f.Statements(),
              QStringList({QStringLiteral("SELECT FIELD_NAME FROM QN_FIELD WHERE FILE_NAME = 'CUSTOMER' AND "
                                          "FIELD_NAME = 'TOWN'"),
                           QStringLiteral("DELETE FROM QN_FIELD WHERE FILE_NAME = 'CUSTOMER' AND FIELD_NAME = 'CITY'"),
                           QStringLiteral("INSERT INTO QN_FIELD (FILE_NAME, FIELD_NUMBER, FIELD_NAME, LOCAL_TYPE_NAME, "
                                          "OFFSET, LENGTH, PRECISION, SCALE, ENCRYPTED, FORMAT, DEFAULT_VALUE, REMARKS "
                                          ") VALUES ('CUSTOMER', 4, 'TOWN', 'STRING', 74, 20, 20, 0, 1, NULL, NULL, "
                                          "'Town''s')")}));
    EXPECT_EQ(stored(QStringLiteral("CITY")), QString());
    EXPECT_EQ(scalar(QStringLiteral("SELECT COUNT(*) FROM QN_COLUMN WHERE FIELD_NAME = 'CITY'")).toInt(), 1);

    // A new field through the new row; a fresh new row follows.
    const int fresh = f.grd->Rows() - 1;
    edit(f, fresh, 0, QStringLiteral("fax"));
    edit(f, fresh, 1, QStringLiteral("10"));
    edit(f, fresh, 2, QStringLiteral("133"));
    choose(f, fresh, QStringLiteral("STRING"));
    edit(f, fresh, 4, QStringLiteral("16"));
    click(f, kName, 0);
    EXPECT_EQ(f.Statements().last(),
              QStringLiteral("INSERT INTO QN_FIELD (FILE_NAME, FIELD_NUMBER, FIELD_NAME, LOCAL_TYPE_NAME, OFFSET, "
                             "LENGTH, PRECISION, SCALE, ENCRYPTED, FORMAT, DEFAULT_VALUE, REMARKS ) VALUES ('CUSTOMER', "
                             "10, 'FAX', 'STRING', 133, 16, 10, 0, 0, '', '', '')"));
    EXPECT_EQ(f.grd->Rows(), fresh + 2);
    EXPECT_EQ(row(f, fresh + 1), QStringLiteral("|||||||No|||"));
}

// A file whose name holds an apostrophe: listed, checked and written quoted.
TEST_F(Fields, QuotedFileName)
{
    open()->Execute(QStringLiteral("INSERT INTO QN_FIELD (FILE_NAME, FIELD_NUMBER, FIELD_NAME, LOCAL_TYPE_NAME, OFFSET, "
                                   "LENGTH, PRECISION, SCALE, ENCRYPTED) VALUES ('O''FILE', 1, 'A', 'STRING', 0, 5, 5, "
                                   "0, 0)"));
    frmFields &f = fields(QStringLiteral("O'FILE"));
    ASSERT_EQ(f.grd->Rows(), 2);
    edit(f, 0, 1, QStringLiteral("2"));
    lookup(f, 0, 2, 1);
    click(f, 1, 0);
    EXPECT_EQ(f.Statements(),
              QStringList({QStringLiteral("SELECT FIELD_NAME FROM QN_FIELD WHERE FILE_NAME = 'O''FILE' AND "
                                          "FIELD_NUMBER = 2"),
                           QStringLiteral("UPDATE QN_FIELD SET FIELD_NUMBER = 2, LOCAL_TYPE_NAME = 'STRING', OFFSET = "
                                          "5, LENGTH = 5, PRECISION = 5, SCALE = 0, ENCRYPTED = 0, FORMAT = NULL, "
                                          "DEFAULT_VALUE = NULL, REMARKS = NULL WHERE FILE_NAME = 'O''FILE' AND FIELD_NAME "
                                          "= 'A'")}));
    EXPECT_TRUE(ui().errors().isEmpty());
}

// The format cell's lookup opens the picker of the row's own type with the
// cell's text; OK writes the built format, Cancel keeps the cell as it was.
TEST_F(Fields, FormatLookupOpensThePickerOfTheRowsType)
{
    open()->Execute(QStringLiteral(
        "INSERT INTO QN_LOCDT (LOCAL_TYPE_NAME, SQL_TYPE_NAME, ATTRIBUTES) VALUES "
        "('DATETIME', 'CHAR', ';DEFAULT_LENGTH=14;MAX_LENGTH=32;DEFAULT_PRECISION=14;DEFAULT_FORMAT=YYYYMMDDhhmmss;'), "
        "('STAMP', 'CHAR', ';DEFAULT_LENGTH=4;MAX_LENGTH=32;DEFAULT_PRECISION=4;DEFAULT_FORMAT=X;')"));
    // The picker shown: its title and the text it started from; then OK or Cancel.
    QStringList opened;
    auto picker = [&](bool ok, int component = -1) {
        ui().onModal([&opened, ok, component](QDialog &d) {
            auto &p = static_cast<FormatPicker &>(d);
            opened << p.windowTitle() + QStringLiteral(": ") + p.lblFormat->text();
            if (component >= 0)
                QTest::mouseClick(p.cmdComp(component), Qt::LeftButton);
            QTest::mouseClick(ok ? p.cmdOK : p.cmdCancel, Qt::LeftButton);
            return int(d.result());
        });
    };

    frmFields &f = fields();
    picker(true, 7); // "/" appended
    lookup(f, kSince, 8, 2);
    EXPECT_EQ(opened, QStringList{"Date Format: YYYYMMDD"});
    click(f, kName, 0);
    EXPECT_TRUE(f.Statements().value(0).contains(QLatin1String("FORMAT = 'YYYYMMDD/'")))
        << f.Statements().value(0).toStdString();
    EXPECT_EQ(stored(QStringLiteral("SINCE")).section(QLatin1Char('|'), 9, 9), QStringLiteral("YYYYMMDD/"));

    opened.clear();
    picker(false, 7);
    lookup(f, kSince, 8, 2);
    key(Qt::Key_Escape);
    click(f, kName, 0);
    EXPECT_EQ(opened, QStringList{"Date Format: YYYYMMDD/"});
    EXPECT_TRUE(f.Statements().isEmpty());

    // A time type opens the time picker; a name holding DATE the date picker.
    opened.clear();
    frmFields &orders = fields(QStringLiteral("ORDERS"));
    picker(false);
    lookup(orders, rowOf(orders, QStringLiteral("ORDER-TIME")), 8, 2);
    key(Qt::Key_Escape);
    EXPECT_EQ(opened, QStringList{"Time Format: hhmmss"});

    // A type with a format but neither DATE nor TIME in its name opens nothing.
    opened.clear();
    frmFields &g = fields();
    for (const char *type : {"DATETIME", "STAMP"}) {
        choose(g, kCity, QString::fromLatin1(type));
        if (QString::fromLatin1(type) == QLatin1String("DATETIME"))
            picker(false);
        lookup(g, kCity, 8, 2);
        key(Qt::Key_Escape);
    }
    EXPECT_EQ(opened, QStringList{"Date Format: YYYYMMDDhhmmss"});
    EXPECT_TRUE(ui().allAnswered());
}

// Up shows the file's editor after revealing the file in the tree.
TEST_F(Fields, UpShowsTheFileEditor)
{
    fields();
    expectUp(main().tbrFields, QStringLiteral("frmFile"), QStringLiteral("DSN=QnTest:FI=QnTest:fi=CUSTOMER:"));
}

} // namespace
