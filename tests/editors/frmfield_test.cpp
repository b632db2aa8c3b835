// The field editor: its controls and reads, the fields of the catalog's own
// files, the local types' rules and the columns' reactions, its validation,
// its statements, its rename, the length copy to the columns, the delete with
// its column check, and the number, offset and format buttons. The frame's own
// behaviour is tested with the database editor.

#include <QClipboard>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>

#include "editorfixture.h"
#include "editors/storage/frmfield.h"
#include "dialogs/frmformatpicker.h"

namespace {

const QString kFieldsKey = QStringLiteral("DSN=QnTest:FI=QnTest:fi=ORDERS:FD=ORDERS:");

class FieldEditor : public EditorOf<frmField>
{
protected:
    FieldEditor()
        : EditorOf(QStringLiteral("frmField"), {"Field Add", "Field Edit", "Field Delete", "OK", "Cancel", "Undo"})
    {
    }
    frmField &addNew(const QString &file = QStringLiteral("ORDERS")) { return EditorOf::addNew(file); }

    // The stored row, every column.
    QStringList fieldRow(const QString &file, const QString &field)
    {
        return rows(QStringLiteral("SELECT FILE_NAME, FIELD_NUMBER, FIELD_NAME, LOCAL_TYPE_NAME, OFFSET, LENGTH, "
                                   "PRECISION, SCALE, ENCRYPTED, FORMAT, DEFAULT_VALUE, REMARKS FROM QN_FIELD WHERE "
                                   "FILE_NAME = '%1' AND FIELD_NAME = '%2'")
                        .arg(file, field));
    }
    void openFields()
    {
        openPath({QStringLiteral("DSN=QnTest:"), QStringLiteral("DSN=QnTest:FI=QnTest:"),
                  QStringLiteral("DSN=QnTest:FI=QnTest:fi=ORDERS:"), kFieldsKey});
    }
    // LENGTH, PRECISION and SCALE as shown: value, on/off, the spinner's bounds and
    // the label; then the format with its box's and its button's state.
    static QString rulesShown(frmField &e)
    {
        auto value = [&](QLineEdit *box, int spinner, int label) {
            return QStringLiteral("%1 %2 [%3..%4] %5")
                .arg(box->text(), box->isEnabled() ? QStringLiteral("on") : QStringLiteral("off"))
                .arg(e.spnUpDn[spinner]->Min)
                .arg(e.spnUpDn[spinner]->Max)
                .arg(e.lblMinMax[label]->text());
        };
        return QStringLiteral("L ") + value(e.txtLength, 2, 0) + QStringLiteral(" | P ") + value(e.txtPrecision, 3, 1) +
               QStringLiteral(" | S ") + value(e.txtScale, 4, 2) + QStringLiteral(" | F '") + e.txtFormat->text() +
               QStringLiteral("' ") + (e.txtFormat->isEnabled() ? QStringLiteral("on") : QStringLiteral("off")) +
               (e.cmdFormat->isEnabled() ? QStringLiteral(" builder") : QString());
    }
    // Chooses a local type by typing its name into the type list (type-ahead).
    static void chooseType(frmField &e, const QString &name)
    {
        e.cboType->setFocus();
        e.cboType->lineEdit()->selectAll();
        QTest::keyClicks(e.cboType, name);
    }
    // Chooses a local type from the list (as a click in its drop-down does).
    static void pickType(frmField &e, const QString &name)
    {
        const int index = e.cboType->findText(name);
        ASSERT_GE(index, 0) << name.toStdString();
        e.cboType->setCurrentIndex(index);
    }
    // Pastes a name into the type list's edit part (its context menu; typed keys only search the list).
    static void pasteType(frmField &e, const QString &name)
    {
        QApplication::clipboard()->setText(name);
        e.cboType->lineEdit()->selectAll();
        e.cboType->lineEdit()->paste();
    }
    // A new field of ORDERS that passes every rule.
    void fillNew(frmField &e, const QString &name)
    {
        type(e.txtName, name);
        chooseType(e, QStringLiteral("STRING"));
    }
    QString columnLengths(const QString &field)
    {
        return rows(QStringLiteral("SELECT DATABASE_NAME, TABLE_NAME, LENGTH FROM QN_COLUMN WHERE FIELD_NAME = '%1' "
                                   "ORDER BY DATABASE_NAME, TABLE_NAME")
                        .arg(field))
            .join(QLatin1Char(','));
    }
};

TEST_F(FieldEditor, DisplayShowsTheRowWithItsTypeAndEncryption)
{
    frmField &e = display(QStringLiteral("CUSTOMER"), QStringLiteral("SINCE"));
    EXPECT_EQ(e.lblTitle.title->text(), QStringLiteral("CUSTOMER.SINCE - Field Properties"));
    EXPECT_EQ(e.lblTitle.shadow->text(), e.lblTitle.title->text());
    const QStringList shown = {textOf(e.txtFile),      textOf(e.txtName),      textOf(e.txtNumber),
                               textOf(e.cboType),      textOf(e.txtType),      textOf(e.txtOffset),
                               textOf(e.txtLength),    textOf(e.txtPrecision), textOf(e.txtScale),
                               textOf(e.cboEncrypted), textOf(e.txtEncrypted), textOf(e.txtFormat),
                               textOf(e.txtDefault),   textOf(e.txtRemarks)};
    EXPECT_EQ(shown, QStringList({"CUSTOMER", "SINCE", "8", "DATE", "DATE", "123", "8", "8", "0", "No", "0",
                                  "YYYYMMDD", "", "Date of the first order"}));
    EXPECT_EQ(e.cboType->count(), 1); // the row's own type only
    for (QWidget *w : QList<QWidget *>{e.txtName, e.txtNumber, e.cboType, e.txtOffset, e.txtLength, e.txtPrecision,
                                       e.txtScale, e.cboEncrypted, e.txtFormat, e.txtDefault, e.txtRemarks,
                                       e.cmdNextFieldNumber, e.cmdCalcOffset, e.cmdFormat, e.spnUpDn[2]})
        EXPECT_FALSE(w->isEnabled()) << w->objectName().toStdString();
    EXPECT_FALSE(e.txtType->isVisible());
    EXPECT_FALSE(e.txtEncrypted->isVisible());
    EXPECT_EQ(state(), QStringLiteral("+++---"));
    EXPECT_EQ(visibleBands(), QStringList({"tbrMain", "tbrField"}));

    // Editing: every type listed in the cache's order; everything opens but the
    // file; the format builder for the types DATE and TIME only.
    edit(QStringLiteral("CUSTOMER"), QStringLiteral("SINCE"));
    EXPECT_EQ(e.lblTitle.title->text(), QStringLiteral("CUSTOMER.SINCE - Edit Field Properties"));
    EXPECT_EQ(e.cboType->count(), 13);
    EXPECT_EQ(e.cboType->itemText(0), QStringLiteral("DATE"));
    EXPECT_EQ(textOf(e.cboType), QStringLiteral("DATE"));
    EXPECT_FALSE(e.txtFile->isEnabled());
    for (QWidget *w : QList<QWidget *>{e.txtName, e.txtNumber, e.cboType, e.txtOffset, e.txtLength, e.txtPrecision,
                                       e.txtScale, e.cboEncrypted, e.txtFormat, e.cmdNextFieldNumber, e.cmdCalcOffset,
                                       e.cmdFormat})
        EXPECT_TRUE(w->isEnabled()) << w->objectName().toStdString();
    EXPECT_EQ(e.cmdAction->text(), QStringLiteral("&Update"));
    EXPECT_FALSE(e.cmdAction->isEnabled());
    EXPECT_FALSE(e.KeyChanged());
    EXPECT_FALSE(e.LengthChanged());
    edit(QStringLiteral("ORDERS"), QStringLiteral("CARD-REF"));
    EXPECT_FALSE(e.cmdFormat->isEnabled());
    EXPECT_EQ(textOf(e.cboEncrypted), QStringLiteral("Yes - Read/Write"));
    // A choice in the encryption list stores its position.
    e.cboEncrypted->setFocus();
    QTest::keyClick(e.cboEncrypted, Qt::Key_Down);
    EXPECT_EQ(textOf(e.txtEncrypted), QStringLiteral("2"));
    EXPECT_TRUE(e.cmdAction->isEnabled());

    // A stored encryption outside 0 to 2 leaves the list without a selection.
    open()->Execute(QStringLiteral("UPDATE QN_FIELD SET ENCRYPTED = 7 WHERE FIELD_NAME = 'STATUS'"));
    display(QStringLiteral("ORDERS"), QStringLiteral("STATUS"));
    EXPECT_EQ(e.cboEncrypted->currentIndex(), -1);
    EXPECT_EQ(textOf(e.txtEncrypted), QStringLiteral("7"));
}

// A click on a file's or a field's node shows its editor; with the "Items" option on, for editing.
TEST_F(FieldEditor, AClickOnANodeShowsItsEditor)
{
    openFields();
    clickNode(QStringLiteral("DSN=QnTest:FI=QnTest:fi=ORDERS:"));
    EXPECT_EQ(current(), QStringLiteral("frmFile"));
    EXPECT_EQ(bandState(QStringLiteral("frmFile"), {"File Edit"}), QStringLiteral("+"));
    clickNode(kFieldsKey + QStringLiteral("fd=STATUS:"));
    EXPECT_EQ(current(), QStringLiteral("frmField"));
    EXPECT_EQ(editor().lblTitle.title->text(), QStringLiteral("ORDERS.STATUS - Field Properties"));
    options::Save(options::kItems, 1);
    clickNode(kFieldsKey + QStringLiteral("fd=TOTAL:"));
    EXPECT_EQ(editor().lblTitle.title->text(), QStringLiteral("ORDERS.TOTAL - Edit Field Properties"));
    EXPECT_EQ(editor().EditorMode(), QStringLiteral("Field Edit"));
}

TEST_F(FieldEditor, AFieldThatIsGoneShowsAnEmptyFormAndItsUpdateIsNoSuccess)
{
    frmField &e = display(QStringLiteral("ORDERS"), QStringLiteral("STATUS"));
    EXPECT_EQ(main().PaneDisplay(QStringLiteral("frmField"), {kDs, QStringLiteral("ORDERS"), QStringLiteral("GONE")}), 0);
    EXPECT_EQ(e.lblTitle.title->text(), QStringLiteral("ORDERS.GONE - Field Properties"));
    for (QWidget *w : QList<QWidget *>{e.txtName, e.txtNumber, e.cboType, e.txtOffset, e.txtLength, e.txtPrecision,
                                       e.txtScale, e.cboEncrypted, e.txtFormat, e.txtDefault, e.txtRemarks})
        EXPECT_EQ(textOf(w), QString()) << w->objectName().toStdString();
    EXPECT_EQ(state(), QStringLiteral("+++---"));
    EXPECT_TRUE(ui().errors().isEmpty());

    // A field deleted while it is edited: its UPDATE changes no row, which is reported, not taken for a save.
    edit(QStringLiteral("ORDERS"), QStringLiteral("STATUS"));
    type(e.txtRemarks, QStringLiteral("!"));
    open()->Execute(QStringLiteral("DELETE FROM QN_FIELD WHERE FILE_NAME = 'ORDERS' AND FIELD_NAME = 'STATUS'"));
    ui().answerError(ui::vbIgnore);
    click(e.cmdAction);
    ASSERT_EQ(ui().errors().size(), 1);
    EXPECT_EQ(ui().errors()[0].number, QStringLiteral("3021"));
    EXPECT_EQ(ui().errors()[0].trappedIn, QStringLiteral("frmField.tbr_ButtonClick"));
    EXPECT_TRUE(ui().errors()[0].additionalInfo.contains(QStringLiteral("QN_FIELD"))) << ui().errors()[0].additionalInfo.toStdString();
    EXPECT_EQ(e.EditorMode(), QStringLiteral("Field Edit"));
    EXPECT_TRUE(fieldRow(QStringLiteral("ORDERS"), QStringLiteral("STATUS")).isEmpty());
}

TEST_F(FieldEditor, TheFieldsOfTheCatalogsOwnFilesAreReadOnlyAndNeverDeleted)
{
    frmField &e = display(QStringLiteral("FIELD"), QStringLiteral("LENGTH"));
    EXPECT_EQ(state(), QStringLiteral("---++-"));
    edit(QStringLiteral("FIELD"), QStringLiteral("LENGTH"));
    EXPECT_EQ(e.lblTitle.title->text(), QStringLiteral("FIELD.LENGTH - Field Properties"));
    EXPECT_FALSE(e.txtName->isEnabled());
    EXPECT_FALSE(e.cmdAction->isVisible());
    EXPECT_EQ(e.cboType->count(), 1);
    clickBand(QStringLiteral("OK")); // nothing pending: nothing happens

    ui().answerMsgBox(ui::vbOK);
    main().PaneDelete(QStringLiteral("frmField"), {kDs, QStringLiteral("FIELD"), QStringLiteral("LENGTH")});
    EXPECT_EQ(takeMessages(), QStringList{"You cannot delete Field 'LENGTH' of File 'FIELD'"});
    EXPECT_EQ(e.EditorMode(), QStringLiteral("Field Delete"));
    EXPECT_EQ(e.lblTitle.title->text(), QStringLiteral("FIELD.LENGTH - Delete Field"));
    ui().answerMsgBox(ui::vbOK);
    clickBand(QStringLiteral("OK"));
    ASSERT_EQ(ui().shown().size(), 1);
    EXPECT_EQ(ui().shown()[0].style, int(ui::vbInformation));
    EXPECT_EQ(fieldRow(QStringLiteral("FIELD"), QStringLiteral("LENGTH")).size(), 1);
    clickBand(QStringLiteral("Cancel"));
    EXPECT_EQ(e.EditorMode(), QString());
    EXPECT_EQ(state(), QStringLiteral("---++-"));
}

// A packed type's precision lies within 2 x LENGTH and 2 x LENGTH + 1: a
// stored precision there is shown (and an edit keeps it), any other shows as 2 x LENGTH.
TEST_F(FieldEditor, APackedTypeKeepsAValidStoredPrecision)
{
    struct Case
    {
        int stored;
        const char *shown;
    };
    for (const Case &c : {Case{10, "10"}, Case{11, "11"}, Case{9, "10"}, Case{14, "10"}}) {
        SCOPED_TRACE(c.stored);
        open()->Execute(QStringLiteral("UPDATE QN_FIELD SET PRECISION = %1 WHERE FILE_NAME = 'CUSTOMER' AND "
                                       "FIELD_NAME = 'CREDIT-LIMIT'")
                            .arg(c.stored));
        frmField &e = display(QStringLiteral("CUSTOMER"), QStringLiteral("CREDIT-LIMIT"));
        EXPECT_EQ(textOf(e.txtPrecision), QLatin1String(c.shown));
        EXPECT_EQ(e.lblMinMax[1]->text(), QStringLiteral("(10 to 11)"));
        EXPECT_EQ(e.spnUpDn[3]->Min, 10);
        EXPECT_EQ(e.spnUpDn[3]->Max, 11);
    }
    // Editing only the remarks of a field stored with 11 writes 11 back.
    open()->Execute(QStringLiteral("UPDATE QN_FIELD SET PRECISION = 11 WHERE FIELD_NAME = 'CREDIT-LIMIT'"));
    frmField &e = edit(QStringLiteral("CUSTOMER"), QStringLiteral("CREDIT-LIMIT"));
    type(e.txtRemarks, QStringLiteral("."));
    click(e.cmdAction);
    EXPECT_EQ(modUpdate::LastStatements(),
              QStringList{"UPDATE QN_FIELD SET FIELD_NUMBER = 07, LOCAL_TYPE_NAME = 'PACKED', LENGTH = 05, PRECISION = "
                          "011, SCALE = 02, ENCRYPTED = 00, FORMAT = NULL, DEFAULT_VALUE = '0', REMARKS = 'Credit limit "
                          "in pounds and pence.' WHERE FILE_NAME = 'CUSTOMER' AND FIELD_NAME = 'CREDIT-LIMIT'"});
    EXPECT_TRUE(takeMessages().isEmpty()); // the length did not change: no question
}

// Each local type of the stand-in, chosen for a new field, and what it makes
// of the length, precision, scale and format.
TEST_F(FieldEditor, EachLocalTypeAppliesItsRules)
{
    const struct
    {
        const char *type;
        const char *shown;
    } cases[] = {
        {"DATE", "L 8 on [1..32] (1 to 32) | P 8 on [1..32] (1 to 32) | S 0 off [0..0] (0 - Fixed) | F 'YYYYMMDD' on builder"},
        {"HEXADECIMAL",
         "L 2 on [1..127] (1 to 127) | P 4 off [1..127] (1 to 127) | S 0 off [0..0] (0 - Fixed) | F '' off"},
        {"INTEGER", "L 4 off [4..4] (4 - Fixed) | P 10 off [10..10] (10 - Fixed) | S 0 off [0..0] (0 - Fixed) | F '' off"},
        {"NUMERIC", "L 8 on [1..18] (1 to 18) | P 8 on [1..18] (1 to 18) | S 0 on [-32..32] (-32 to 32) | F '' off"},
        {"PACKED", "L 5 on [1..10] (1 to 10) | P 10 on [10..11] (10 to 11) | S 0 on [-32..32] (-32 to 32) | F '' off"},
        {"SMALLINT", "L 2 off [2..2] (2 - Fixed) | P 5 off [5..5] (5 - Fixed) | S 0 off [0..0] (0 - Fixed) | F '' off"},
        {"STRING", "L 10 on [1..254] (1 to 254) | P 10 on [1..254] (1 to 254) | S 0 off [0..0] (0 - Fixed) | F '' off"},
        {"TIME", "L 6 on [1..32] (1 to 32) | P 6 on [1..32] (1 to 32) | S 0 off [0..0] (0 - Fixed) | F 'hhmmss' on builder"},
        {"UNSIGNED", "L 2 off [2..2] (2 - Fixed) | P 5 off [5..5] (5 - Fixed) | S 0 off [0..0] (0 - Fixed) | F '' off"},
        {"ZONED", "L 8 on [1..18] (1 to 18) | P 8 on [1..18] (1 to 18) | S 0 on [-32..32] (-32 to 32) | F '' off"},
        {"ZONED-NUM", "L 8 on [1..18] (1 to 18) | P 8 on [1..18] (1 to 18) | S 0 off [0..0] (0 - Fixed) | F '' off"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.type);
        frmField &e = addNew();
        EXPECT_EQ(e.lblMinMax[0]->text(), QStringLiteral("(Set the Local Type)"));
        chooseType(e, QString::fromLatin1(c.type));
        EXPECT_EQ(textOf(e.txtType), QString::fromLatin1(c.type));
        EXPECT_EQ(rulesShown(e), QString::fromLatin1(c.shown));
        EXPECT_TRUE(e.LengthChanged());
    }
    // The same rules lock the boxes of a shown row's type; Edit then opens every box.
    frmField &e = display(QStringLiteral("CUSTOMER"), QStringLiteral("CUST-NO"));
    EXPECT_EQ(rulesShown(e), QStringLiteral("L 4 off [4..4] (4 - Fixed) | P 10 off [10..10] (10 - Fixed) | S 0 off "
                                            "[0..0] (0 - Fixed) | F '' off"));
    edit(QStringLiteral("CUSTOMER"), QStringLiteral("CUST-NO"));
    EXPECT_TRUE(e.txtLength->isEnabled());
}

TEST_F(FieldEditor, LengthAndFormatKeepThePrecisionInLine)
{
    frmField &e = addNew();
    // HEXADECIMAL: twice the length.
    chooseType(e, QStringLiteral("HEXADECIMAL"));
    retype(e.txtLength, QStringLiteral("6"));
    EXPECT_EQ(textOf(e.txtPrecision), QStringLiteral("12"));
    // PACKED: twice the length, with one more allowed.
    chooseType(e, QStringLiteral("PACKED"));
    retype(e.txtLength, QStringLiteral("7"));
    EXPECT_EQ(textOf(e.txtPrecision), QStringLiteral("14"));
    EXPECT_EQ(e.lblMinMax[1]->text(), QStringLiteral("(14 to 15)"));
    EXPECT_EQ(e.spnUpDn[3]->Max, 15);
    // Any other type: the precision stays.
    chooseType(e, QStringLiteral("STRING"));
    retype(e.txtLength, QStringLiteral("20"));
    EXPECT_EQ(textOf(e.txtPrecision), QStringLiteral("10"));
    // A format sets the length and precision to its own length.
    chooseType(e, QStringLiteral("DATE"));
    retype(e.txtFormat, QStringLiteral("YY-MM-DD"));
    EXPECT_EQ(textOf(e.txtLength), QStringLiteral("8"));
    EXPECT_EQ(textOf(e.txtPrecision), QStringLiteral("8"));
    // A type the data source does not have (pasted) applies no rules.
    chooseType(e, QStringLiteral("STRING"));
    const QString before = rulesShown(e);
    pasteType(e, QStringLiteral("NOSUCH"));
    EXPECT_EQ(textOf(e.txtType), QStringLiteral("NOSUCH"));
    EXPECT_EQ(rulesShown(e), before);
}

// Local types the catalog could hold beside the stand-in's: a packed type with a
// fixed precision, negative scale bounds, and names holding DATE and TIME.
TEST_F(FieldEditor, MoreLocalTypesAndTheFormatBuilderTheyOpen)
{
    open()->Execute(QStringLiteral(
        "INSERT INTO QN_LOCDT (LOCAL_TYPE_NAME, SQL_TYPE_NAME, ATTRIBUTES) VALUES "
        "('PACKED-F', 'DECIMAL', ';PACKED;DEFAULT_LENGTH=5;PRECISION=7;'), "
        "('SIGNED-S', 'NUMERIC', 'DEFAULT_LENGTH=4;DEFAULT_SCALE=-2;MIN_SCALE=-5;MAX_SCALE=5'), "
        "('DATE-TIME', 'CHAR', ';DEFAULT_LENGTH=14;DEFAULT_FORMAT=YYYYMMDDhhmmss;'), "
        "('LOGTIME', 'CHAR', ';DEFAULT_LENGTH=6;DEFAULT_FORMAT=hhmmss;')"));
    frmField &e = addNew();
    // Signed scale bounds; then a packed type with a fixed precision: the
    // precision stays in the box, the length's reaction bounds it.
    pickType(e, QStringLiteral("SIGNED-S"));
    EXPECT_EQ(rulesShown(e), QStringLiteral("L 4 on [1..65535] (1 to 65535) | P 4 off [4..4] (4 - Fixed) | S -2 on "
                                            "[-5..5] (-5 to 5) | F '' off"));
    pickType(e, QStringLiteral("PACKED-F"));
    EXPECT_EQ(rulesShown(e), QStringLiteral("L 5 on [1..65535] (1 to 65535) | P 7 off [10..11] (10 to 11) | S 0 off "
                                            "[0..0] (0 - Fixed) | F '' off"));

    // The builder: the date picker for a name holding DATE (also with TIME), the time picker for TIME.
    FormatBuilder::Clock() = [] { return QDateTime(QDate(2024, 3, 7), QTime(14, 5, 9)); };
    struct Case
    {
        const char *type;
        const char *picker;
        const char *press; // component buttons pressed, by index
        const char *format;
    };
    for (const Case &c : {Case{"DATE-TIME", "frmDateFormat", "0", "YYYYMMDDhhmmssDD"},
                          Case{"LOGTIME", "frmTimeFormat", "1", "hhmmssmm"}}) {
        SCOPED_TRACE(c.type);
        chooseType(e, QString::fromLatin1(c.type));
        ASSERT_TRUE(e.cmdFormat->isEnabled());
        QString picker;
        ui().onModal([&](QDialog &d) {
            picker = d.objectName();
            auto &p = static_cast<FormatPicker &>(d);
            QTest::mouseClick(p.cmdComp(QString::fromLatin1(c.press).toInt()), Qt::LeftButton);
            QTest::mouseClick(p.cmdOK, Qt::LeftButton);
            return 1;
        });
        click(e.cmdFormat);
        EXPECT_EQ(picker, QLatin1String(c.picker));
        EXPECT_EQ(textOf(e.txtFormat), QLatin1String(c.format));
        EXPECT_EQ(textOf(e.txtLength), QString::number(qstrlen(c.format)));
        EXPECT_EQ(textOf(e.txtPrecision), QString::number(qstrlen(c.format)));
    }
    // Cancel leaves the format as it was.
    ui().onModal([](QDialog &d) {
        QTest::mouseClick(static_cast<FormatPicker &>(d).cmdComp(3), Qt::LeftButton);
        QTest::mouseClick(static_cast<FormatPicker &>(d).cmdCancel, Qt::LeftButton);
        return 0;
    });
    click(e.cmdFormat);
    EXPECT_EQ(textOf(e.txtFormat), QStringLiteral("hhmmssmm"));
    FormatBuilder::Clock() = nullptr;

    // In Edit the builder opens for the exact names DATE and TIME only.
    open()->Execute(QStringLiteral("UPDATE QN_FIELD SET LOCAL_TYPE_NAME = 'DATE-TIME' WHERE FIELD_NAME = 'SINCE'"));
    edit(QStringLiteral("CUSTOMER"), QStringLiteral("SINCE"));
    EXPECT_FALSE(e.cmdFormat->isEnabled());
    edit(QStringLiteral("ORDERS"), QStringLiteral("ORDER-TIME"));
    EXPECT_TRUE(e.cmdFormat->isEnabled());
}

TEST_F(FieldEditor, AddWritesTheInsertAndPreparesTheNextField)
{
    openFields();
    frmField &e = addNew();
    EXPECT_EQ(e.lblTitle.title->text(), QStringLiteral("Add New Field to ORDERS"));
    EXPECT_EQ(textOf(e.txtFile), QStringLiteral("ORDERS"));
    EXPECT_FALSE(e.txtFile->isEnabled());
    EXPECT_EQ(textOf(e.txtNumber), QStringLiteral("8"));  // after the highest, 7
    EXPECT_EQ(textOf(e.txtOffset), QStringLiteral("52")); // the lengths of fields 1 to 7
    EXPECT_EQ(textOf(e.cboEncrypted), QStringLiteral("No"));
    EXPECT_EQ(textOf(e.cboType), QString());
    EXPECT_EQ(e.cboType->count(), 13);
    EXPECT_EQ(focused(), e.txtName);
    EXPECT_EQ(e.cmdAction->text(), QStringLiteral("&Add"));
    EXPECT_FALSE(e.cmdAction->isEnabled());
    EXPECT_FALSE(e.cmdFormat->isEnabled());
    EXPECT_EQ(state(), QStringLiteral("---++-"));

    type(e.txtName, QStringLiteral("ship date"));
    EXPECT_EQ(textOf(e.txtName), QStringLiteral("SHIP_DATE"));
    chooseType(e, QStringLiteral("DATE"));
    type(e.txtRemarks, QStringLiteral("it's new"));
    click(e.cmdAction);
    // The file is read first in the unit.
    EXPECT_EQ(modUpdate::LastStatements(),
              QStringList({"SELECT FILE_NAME FROM QN_FILE WHERE FILE_NAME = 'ORDERS'",
                           "INSERT INTO QN_FIELD (FIELD_NAME, REMARKS, DEFAULT_VALUE, FORMAT, ENCRYPTED, SCALE, "
                           "PRECISION, LENGTH, OFFSET, LOCAL_TYPE_NAME, FILE_NAME, FIELD_NUMBER) VALUES ('SHIP_DATE', "
                           "'it''s new', '', 'YYYYMMDD', 00, 00, 08, 08, 052, 'DATE', 'ORDERS', 08)"}));
    EXPECT_EQ(fieldRow(QStringLiteral("ORDERS"), QStringLiteral("SHIP_DATE")),
              QStringList{"ORDERS|8|SHIP_DATE|DATE|52|8|8|0|0|YYYYMMDD||it's new"});
    EXPECT_TRUE(childTexts(kFieldsKey).contains(QStringLiteral("SHIP_DATE")));
    // The next field: its number and offset follow the new one.
    EXPECT_EQ(e.EditorMode(), QStringLiteral("Field Add"));
    EXPECT_EQ(textOf(e.txtName), QString());
    EXPECT_EQ(textOf(e.txtNumber), QStringLiteral("9"));
    EXPECT_EQ(textOf(e.txtOffset), QStringLiteral("60"));
    EXPECT_EQ(current(), QStringLiteral("frmField"));

    // Undo empties everything but the file, the number and offset included; the
    // add after it still belongs to the file.
    fillNew(e, QStringLiteral("NOTE"));
    clickBand(QStringLiteral("Undo"));
    EXPECT_EQ(textOf(e.txtName), QString());
    EXPECT_EQ(textOf(e.txtNumber), QString());
    EXPECT_EQ(textOf(e.txtOffset), QString());
    EXPECT_EQ(textOf(e.txtFile), QStringLiteral("ORDERS"));
    EXPECT_EQ(bandState(QStringLiteral("frmField"), {"Undo"}), QStringLiteral("-"));
    fillNew(e, QStringLiteral("NOTE"));
    type(e.txtNumber, QStringLiteral("12"));
    click(e.cmdAction);
    EXPECT_EQ(fieldRow(QStringLiteral("ORDERS"), QStringLiteral("NOTE")),
              QStringList{"ORDERS|12|NOTE|STRING|0|10|10|0|0|||"});

    // Cancel while adding shows the file's Fields grid.
    clickBand(QStringLiteral("Cancel"));
    EXPECT_EQ(current(), QStringLiteral("frmFields"));
    if (const QStringList c = calls(QStringLiteral("frmFields")); !c.isEmpty()) {
        EXPECT_EQ(c.last(), QStringLiteral("Display:QnTest,ORDERS"));
    }
}

TEST_F(FieldEditor, NextFieldNumberAndNextOffset)
{
    open()->Execute(QStringLiteral("INSERT INTO QN_FILE (FILE_NAME, RECORD_SIZE, FILE_ORGANISATION, RECORD_TYPE) VALUES "
                                   "('GAPS', 0, 'INDEXED', 'FIXED'), ('BARE', 0, 'INDEXED', 'FIXED')"));
    open()->Execute(QStringLiteral("INSERT INTO QN_FIELD (FILE_NAME, FIELD_NUMBER, FIELD_NAME, LOCAL_TYPE_NAME, OFFSET, "
                                   "LENGTH) VALUES ('GAPS', 1, 'A', 'STRING', 0, 4), ('GAPS', 2, 'B', 'STRING', 4, 10), "
                                   "('GAPS', 5, 'C', 'STRING', 14, 2), ('GAPS', 2, 'B2', 'STRING', 4, 3)"));
    // A file numbered 1, 2 and 5 gets 6; its offset counts every lower field, shared offsets too.
    frmField &e = addNew(QStringLiteral("GAPS"));
    EXPECT_EQ(textOf(e.txtNumber), QStringLiteral("6"));
    EXPECT_EQ(textOf(e.txtOffset), QStringLiteral("19"));
    struct Case
    {
        const char *number;
        const char *offset;
    };
    for (const Case &c : {Case{"5", "17"}, Case{"2", "4"}, Case{"1", "0"}, Case{"", "19"}}) {
        SCOPED_TRACE(c.number);
        retype(e.txtNumber, QString::fromLatin1(c.number));
        click(e.cmdCalcOffset);
        EXPECT_EQ(textOf(e.txtOffset), QLatin1String(c.offset));
    }
    EXPECT_EQ(textOf(e.txtNumber), QStringLiteral("6")); // an empty number was filled first
    // A file without fields: number 1, offset 0.
    addNew(QStringLiteral("BARE"));
    EXPECT_EQ(textOf(e.txtNumber), QStringLiteral("1"));
    EXPECT_EQ(textOf(e.txtOffset), QStringLiteral("0"));
    // The number button in an edit proposes the next free number.
    edit(QStringLiteral("GAPS"), QStringLiteral("A"));
    click(e.cmdNextFieldNumber);
    EXPECT_EQ(textOf(e.txtNumber), QStringLiteral("6"));
    EXPECT_TRUE(ui().errors().isEmpty());
}

TEST_F(FieldEditor, EditWritesOneUpdateAndARenameCarriesTheColumns)
{
    openFields();
    frmField &e = edit(QStringLiteral("ORDERS"), QStringLiteral("STATUS"));
    type(e.txtDefault, QStringLiteral("'S"));
    e.cboEncrypted->setFocus();
    QTest::keyClick(e.cboEncrypted, Qt::Key_Down);
    click(e.cmdAction);
    EXPECT_EQ(modUpdate::LastStatements(),
              QStringList{"UPDATE QN_FIELD SET FIELD_NUMBER = 05, LOCAL_TYPE_NAME = 'STRING', LENGTH = 01, PRECISION = "
                          "01, SCALE = 00, ENCRYPTED = 01, FORMAT = NULL, DEFAULT_VALUE = 'O''S', REMARKS = 'O open, S "
                          "shipped, C cancelled' WHERE FILE_NAME = 'ORDERS' AND FIELD_NAME = 'STATUS'"});
    EXPECT_EQ(fieldRow(QStringLiteral("ORDERS"), QStringLiteral("STATUS")),
              QStringList{"ORDERS|5|STATUS|STRING|26|1|1|0|1||O'S|O open, S shipped, C cancelled"});
    EXPECT_EQ(e.lblTitle.title->text(), QStringLiteral("ORDERS.STATUS - Field Properties"));
    EXPECT_EQ(e.EditorMode(), QString());

    // A rename: the writer moves the row and the columns bound to it; the node follows.
    const QString columns = columnLengths(QStringLiteral("STATUS"));
    edit(QStringLiteral("ORDERS"), QStringLiteral("STATUS"));
    retype(e.txtName, QStringLiteral("STATE"));
    click(e.cmdAction);
    const QStringList s = modUpdate::LastStatements();
    ASSERT_GT(s.size(), 3);
    EXPECT_EQ(s.first(), QStringLiteral("SELECT * FROM QN_FIELD WHERE FILE_NAME = 'ORDERS' AND FIELD_NAME = 'STATUS'"));
    EXPECT_TRUE(s.last().endsWith(QStringLiteral("WHERE FILE_NAME = 'ORDERS' AND FIELD_NAME = 'STATE'")));
    EXPECT_TRUE(fieldRow(QStringLiteral("ORDERS"), QStringLiteral("STATUS")).isEmpty());
    EXPECT_EQ(fieldRow(QStringLiteral("ORDERS"), QStringLiteral("STATE")).size(), 1);
    EXPECT_EQ(columnLengths(QStringLiteral("STATE")), columns);
    EXPECT_FALSE(gNodes().Item(kFieldsKey + QStringLiteral("fd=STATUS:")));
    const CNodePtr node = gNodes().Item(kFieldsKey + QStringLiteral("fd=STATE:"));
    ASSERT_TRUE(node);
    EXPECT_EQ(node->NodeData, QStringLiteral("STATE"));
    EXPECT_EQ(gNodes().Node(node->Key)->text(), QStringLiteral("STATE"));
    EXPECT_EQ(e.lblTitle.title->text(), QStringLiteral("ORDERS.STATE - Field Properties"));

    // A new offset alone goes through the writer too, under the same name; the node keeps its key.
    edit(QStringLiteral("ORDERS"), QStringLiteral("STATE"));
    retype(e.txtOffset, QStringLiteral("99"));
    click(e.cmdAction);
    EXPECT_EQ(modUpdate::LastStatements().first(),
              QStringLiteral("SELECT * FROM QN_FIELD WHERE FILE_NAME = 'ORDERS' AND FIELD_NAME = 'STATE'"));
    EXPECT_EQ(fieldRow(QStringLiteral("ORDERS"), QStringLiteral("STATE")).value(0).section('|', 4, 4),
              QStringLiteral("99"));
    EXPECT_TRUE(gNodes().Item(kFieldsKey + QStringLiteral("fd=STATE:")));
    // An emptied offset is 0.
    edit(QStringLiteral("ORDERS"), QStringLiteral("STATE"));
    e.txtOffset->clear();
    click(e.cmdAction);
    EXPECT_EQ(fieldRow(QStringLiteral("ORDERS"), QStringLiteral("STATE")).value(0).section('|', 4, 4),
              QStringLiteral("0"));
    EXPECT_TRUE(ui().errors().isEmpty());
}

// A changed length may go to the columns bound to the field, in the tables over
// its file only: a table of the same name in another database, over another file
// with a field of the same name, keeps its length.
TEST_F(FieldEditor, AChangedLengthGoesToTheBoundColumnsOnYes)
{
    open()->Execute(QStringLiteral("INSERT INTO QN_TABLE (DATABASE_NAME, TABLE_NAME, TABLE_TYPE, FILE_NAME) VALUES "
                                   "('STOCK', 'ORDERS', 'TABLE', 'MOVEMENT')"));
    open()->Execute(QStringLiteral("INSERT INTO QN_COLUMN (DATABASE_NAME, TABLE_NAME, COLUMN_NUMBER, COLUMN_NAME, "
                                   "FIELD_NAME, LENGTH, COLUMN_TYPE) VALUES ('STOCK', 'ORDERS', 1, 'STATUS', 'STATUS', "
                                   "30, 0)"));
    open()->Execute(QStringLiteral("INSERT INTO QN_FIELD (FILE_NAME, FIELD_NUMBER, FIELD_NAME, LOCAL_TYPE_NAME, OFFSET, "
                                   "LENGTH, PRECISION, SCALE) VALUES ('MOVEMENT', 7, 'STATUS', 'STRING', 63, 30, 30, 0)"));
    EXPECT_EQ(columnLengths(QStringLiteral("STATUS")),
              QStringLiteral("SALES|OPEN_ORDERS|1,SALES|ORDERS|1,STOCK|ORDERS|30"));
    const QString question = QStringLiteral("You have changed the length of this Field.\r\nDo you want to update the "
                                            "length of any columns\r\nthat refer to this Field to match?");
    frmField &e = edit(QStringLiteral("ORDERS"), QStringLiteral("STATUS"));
    retype(e.txtLength, QStringLiteral("2"));
    ui().answerMsgBox(ui::vbNo);
    click(e.cmdAction);
    EXPECT_EQ(takeMessages(), QStringList{question});
    EXPECT_EQ(fieldRow(QStringLiteral("ORDERS"), QStringLiteral("STATUS")).value(0).section('|', 5, 6),
              QStringLiteral("2|1"));
    EXPECT_EQ(columnLengths(QStringLiteral("STATUS")),
              QStringLiteral("SALES|OPEN_ORDERS|1,SALES|ORDERS|1,STOCK|ORDERS|30"));

    edit(QStringLiteral("ORDERS"), QStringLiteral("STATUS"));
    retype(e.txtLength, QStringLiteral("3"));
    ui().answerMsgBox(ui::vbYes);
    ui().answerMsgBox(ui::vbOK);
    click(e.cmdAction);
    EXPECT_EQ(takeMessages(), QStringList({question, "Columns lengths updated"}));
    const QStringList s = modUpdate::LastStatements();
    ASSERT_EQ(s.size(), 4);
    EXPECT_TRUE(s[0].startsWith(QStringLiteral("UPDATE QN_FIELD SET")));
    EXPECT_EQ(s[1], QStringLiteral("SELECT DATABASE_NAME, TABLE_NAME FROM QN_TABLE WHERE FILE_NAME = 'ORDERS'"));
    EXPECT_EQ(QStringList(s.mid(2)).join('\n'),
              QStringLiteral("UPDATE QN_COLUMN SET LENGTH = 3 WHERE DATABASE_NAME = 'SALES' AND TABLE_NAME = 'ORDERS' "
                             "AND FIELD_NAME = 'STATUS'\n"
                             "UPDATE QN_COLUMN SET LENGTH = 3 WHERE DATABASE_NAME = 'SALES' AND TABLE_NAME = "
                             "'OPEN_ORDERS' AND FIELD_NAME = 'STATUS'"));
    EXPECT_EQ(columnLengths(QStringLiteral("STATUS")),
              QStringLiteral("SALES|OPEN_ORDERS|3,SALES|ORDERS|3,STOCK|ORDERS|30"));

    // A file no table uses: Yes changes nothing and still says so.
    edit(QStringLiteral("MOVEMENT"), QStringLiteral("STATUS"));
    open()->Execute(QStringLiteral("UPDATE QN_TABLE SET FILE_NAME = 'X' WHERE FILE_NAME = 'MOVEMENT'"));
    retype(e.txtLength, QStringLiteral("31"));
    ui().answerMsgBox(ui::vbYes);
    ui().answerMsgBox(ui::vbOK);
    click(e.cmdAction);
    EXPECT_EQ(takeMessages(), QStringList({question, "Columns lengths updated"}));
    EXPECT_EQ(columnLengths(QStringLiteral("STATUS")),
              QStringLiteral("SALES|OPEN_ORDERS|3,SALES|ORDERS|3,STOCK|ORDERS|30"));
}

TEST_F(FieldEditor, DeleteAsksWhenAColumnUsesTheField)
{
    openFields();
    display(QStringLiteral("ORDERS"), QStringLiteral("STATUS"));
    const QString question = QStringLiteral("This Field is used by Column 'STATUS' in Database 'SALES, Table '%1'\r\n"
                                            "Are you sure you want to delete it?");
    ui().answerMsgBox(ui::vbYes);
    ui().answerMsgBox(ui::vbNo);
    clickBand(QStringLiteral("Field Delete"));
    const QStringList asked = takeMessages();
    ASSERT_EQ(asked.size(), 2);
    EXPECT_EQ(asked[0], QStringLiteral("Are you sure you want to delete this field?"));
    EXPECT_TRUE(asked[1] == question.arg(QStringLiteral("ORDERS")) || asked[1] == question.arg(QStringLiteral("OPEN_ORDERS")))
        << asked[1].toStdString();
    EXPECT_EQ(fieldRow(QStringLiteral("ORDERS"), QStringLiteral("STATUS")).size(), 1);
    EXPECT_EQ(editor().EditorMode(), QStringLiteral("Field Delete"));
    // Yes: only the field row goes; the columns keep its name.
    const QString columns = columnLengths(QStringLiteral("STATUS"));
    ui().answerMsgBox(ui::vbYes);
    clickBand(QStringLiteral("OK"));
    EXPECT_EQ(modUpdate::LastStatements(),
              QStringList{"DELETE FROM QN_FIELD WHERE FILE_NAME = 'ORDERS' AND FIELD_NAME = 'STATUS'"});
    EXPECT_TRUE(fieldRow(QStringLiteral("ORDERS"), QStringLiteral("STATUS")).isEmpty());
    EXPECT_EQ(columnLengths(QStringLiteral("STATUS")), columns);
    EXPECT_FALSE(gNodes().Item(kFieldsKey + QStringLiteral("fd=STATUS:")));
    EXPECT_EQ(current(), QStringLiteral("frmFields"));
    takeMessages();

    // A field no column of the file's tables uses is deleted after the one question, even
    // when a table of the same name in another database has a column bound to a field of that name.
    open()->Execute(QStringLiteral("INSERT INTO QN_FIELD (FILE_NAME, FIELD_NUMBER, FIELD_NAME, LOCAL_TYPE_NAME, OFFSET, "
                                   "LENGTH) VALUES ('ORDERS', 8, 'SPARE', 'STRING', 52, 4)"));
    open()->Execute(QStringLiteral("INSERT INTO QN_TABLE (DATABASE_NAME, TABLE_NAME, TABLE_TYPE, FILE_NAME) VALUES "
                                   "('STOCK', 'ORDERS', 'TABLE', 'MOVEMENT')"));
    open()->Execute(QStringLiteral("INSERT INTO QN_COLUMN (DATABASE_NAME, TABLE_NAME, COLUMN_NUMBER, COLUMN_NAME, "
                                   "FIELD_NAME, COLUMN_TYPE) VALUES ('STOCK', 'ORDERS', 1, 'SPARE', 'SPARE', 0)"));
    ui().answerMsgBox(ui::vbYes);
    main().PaneDelete(QStringLiteral("frmField"), {kDs, QStringLiteral("ORDERS"), QStringLiteral("SPARE")});
    EXPECT_EQ(takeMessages(), QStringList{"Are you sure you want to delete this field?"});
    EXPECT_TRUE(fieldRow(QStringLiteral("ORDERS"), QStringLiteral("SPARE")).isEmpty());
}

// The rules in order, each with its message and focus; nothing is written when one fails.
TEST_F(FieldEditor, ValidationRules)
{
    auto box = [](QLineEdit *frmField::*member) {
        return [member](frmField &e) -> QWidget * { return e.*member; };
    };
    const QString number = QStringLiteral("Invalid Field Number, must be an integer between 1 and 32767.");
    const QString offset = QStringLiteral("Invalid Offset, must be an integer between 0 and 65535.");
    const QList<Rule> rules = {
        {"no name", [](frmField &e) { e.txtName->clear(); }, "Please give this Field a name.", box(&frmField::txtName)},
        {"no number", [](frmField &e) { e.txtNumber->clear(); }, number, box(&frmField::txtNumber)},
        {"number 0", [](frmField &e) { retype(e.txtNumber, QStringLiteral("0")); }, number, box(&frmField::txtNumber)},
        {"number 32768", [](frmField &e) { retype(e.txtNumber, QStringLiteral("32768")); }, number,
         box(&frmField::txtNumber)},
        {"a lone minus", [](frmField &e) { retype(e.txtNumber, QStringLiteral("-")); }, number, box(&frmField::txtNumber)},
        {"not a number", [](frmField &e) { e.txtNumber->setText(QStringLiteral("9 OR 1=1")); }, number,
         box(&frmField::txtNumber)},
        {"no type", [](frmField &e) { e.cboType->setEditText(QString()); },
         "Please select a Local Data Type for this field from the drop down list.",
         [](frmField &e) -> QWidget * { return e.cboType; }},
        {"unknown type", [](frmField &e) { pasteType(e, QStringLiteral("NOSUCH")); },
         "Please select a Local Data Type for this field from the drop down list.",
         [](frmField &e) -> QWidget * { return e.cboType; }},
        {"offset -1", [](frmField &e) { retype(e.txtOffset, QStringLiteral("-1")); }, offset, box(&frmField::txtOffset)},
        {"offset 65536", [](frmField &e) { retype(e.txtOffset, QStringLiteral("65536")); }, offset,
         box(&frmField::txtOffset)},
        {"length past the type's", [](frmField &e) { retype(e.txtLength, QStringLiteral("255")); },
         "Invalid length, must be an integer between 1 and 254.", box(&frmField::txtLength)},
        {"packed precision",
         [](frmField &e) {
             chooseType(e, QStringLiteral("PACKED"));
             retype(e.txtPrecision, QStringLiteral("12"));
         },
         "Invalid Precision, must be an integer between 10 and 11.", box(&frmField::txtPrecision)},
        {"scale -33",
         [](frmField &e) {
             chooseType(e, QStringLiteral("NUMERIC"));
             retype(e.txtScale, QStringLiteral("-33"));
         },
         "Invalid Scale, must be an integer between -32 and 32.", box(&frmField::txtScale)},
        {"name taken", [](frmField &e) { retype(e.txtName, QStringLiteral("STATUS")); },
         "This File already contains a Field called 'STATUS'", box(&frmField::txtName)},
        // The focus goes to the name box, as given.
        {"number taken", [](frmField &e) { retype(e.txtNumber, QStringLiteral("05")); },
         "Field Number '05' is already used in this File.", box(&frmField::txtName)},
        {"empty offset", [](frmField &e) { e.txtOffset->clear(); }, "", {}},
        {"packed precision 11",
         [](frmField &e) {
             chooseType(e, QStringLiteral("PACKED"));
             retype(e.txtPrecision, QStringLiteral("11"));
         },
         "", {}},
    };
    checkRules(
        rules,
        [&]() -> frmField & {
            open()->Execute(QStringLiteral("DELETE FROM QN_FIELD WHERE FIELD_NAME = 'NEWF'"));
            frmField &e = addNew();
            fillNew(e, QStringLiteral("NEWF"));
            return e;
        },
        QStringLiteral("QN_FIELD"), [&] { return fieldRow(QStringLiteral("ORDERS"), QStringLiteral("NEWF")).size() == 1; });

    // Editing: the field's own number, however written, is no duplicate; a fixed
    // length typed past its bounds is refused.
    frmField &e = edit(QStringLiteral("ORDERS"), QStringLiteral("CUST-NO"));
    retype(e.txtNumber, QStringLiteral("02"));
    click(e.cmdAction);
    EXPECT_EQ(takeMessages(), QStringList());
    EXPECT_EQ(fieldRow(QStringLiteral("ORDERS"), QStringLiteral("CUST-NO")).value(0).section('|', 1, 1),
              QStringLiteral("2"));
    edit(QStringLiteral("ORDERS"), QStringLiteral("CUST-NO"));
    retype(e.txtLength, QStringLiteral("9"));
    ui().answerMsgBox(ui::vbOK);
    click(e.cmdAction);
    EXPECT_EQ(takeMessages(), QStringList{"Invalid length, must be an integer between 4 and 4."});
    EXPECT_EQ(focused(), e.txtLength);
}

} // namespace
