// The column editor: its reads (no data-type rule while showing), the rule
// when the user chooses a type, its add, edit, rename and delete statements,
// the precision a character column takes from its length, the validation
// rules, the next number, a row gone meanwhile, and the reported failures of
// an unknown type and a search level out of range. The frame's own behaviour
// is tested with the database editor.

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>

#include "editorfixture.h"
#include "editors/schema/frmcolumn.h"

namespace {

const QString kOpenOrders = QStringLiteral("OPEN_ORDERS");
const QString kColumnsKey =
    QStringLiteral("DSN=QnTest:DB=QnTest:db=SALES:TA=SALES:ta=OPEN_ORDERS:CO=OPEN_ORDERS:");

class ColumnEditor : public EditorOf<frmColumn>
{
protected:
    ColumnEditor()
        : EditorOf(QStringLiteral("frmColumn"), {"Column Add", "Column Edit", "Column Delete", "OK", "Cancel", "Undo"})
    {
    }

    frmColumn &addNew(const QString &table = kOpenOrders) { return EditorOf::addNew(QStringLiteral("SALES"), table); }
    frmColumn &edit(const QString &column, const QString &table = kOpenOrders)
    {
        return EditorOf::edit(QStringLiteral("SALES"), table, column);
    }
    frmColumn &display(const QString &column, const QString &table = kOpenOrders)
    {
        return EditorOf::display(QStringLiteral("SALES"), table, column);
    }
    // The stored row, its 23 columns in catalog order.
    QStringList columnRow(const QString &column, const QString &table = kOpenOrders)
    {
        return rows(QStringLiteral("SELECT DATABASE_NAME, TABLE_NAME, COLUMN_NUMBER, COLUMN_NAME, FIELD_NAME, "
                                   "SQL_TYPE_NAME, LENGTH, PRECISION, SCALE, NULLABLE, UNSIGNED_ATTRIBUTE, UPDATABLE, "
                                   "VISIBLE, MONEY, AUTO_INCREMENT, CASE_SENSITIVE, SEARCHABLE, RADIX, DEFAULT_VALUE, "
                                   "REMARKS, SETFILEPARAMETER, COLUMN_TYPE, DISPLAY_NAME FROM QN_COLUMN WHERE "
                                   "DATABASE_NAME = 'SALES' AND TABLE_NAME = '%1' AND COLUMN_NAME = '%2'")
                        .arg(table, column));
    }
    void openColumns()
    {
        openPath({QStringLiteral("DSN=QnTest:"), QStringLiteral("DSN=QnTest:DB=QnTest:"),
                  QStringLiteral("DSN=QnTest:DB=QnTest:db=SALES:"), QStringLiteral("DSN=QnTest:DB=QnTest:db=SALES:TA=SALES:"),
                  QStringLiteral("DSN=QnTest:DB=QnTest:db=SALES:TA=SALES:ta=OPEN_ORDERS:"), kColumnsKey});
    }
    // Chooses the first item of a list that begins with `prefix`, typed into its emptied edit portion.
    static void choose(QComboBox *combo, const QString &prefix)
    {
        combo->lineEdit()->clear();
        type(combo, prefix);
    }
    static QStringList items(const QComboBox *combo)
    {
        QStringList list;
        for (int i = 0; i < combo->count(); ++i)
            list << combo->itemText(i);
        return list;
    }
    // The nine flags as the check boxes show them, "1" checked, in the order 1 to 8 then 0.
    static QString flags(const frmColumn &e)
    {
        QString shown;
        for (int i : {1, 2, 3, 4, 5, 6, 7, 8, 0})
            shown += e.chkProperty[std::size_t(i)]->isChecked() ? QLatin1Char('1') : QLatin1Char('0');
        return shown;
    }
    // The governed controls' enabled state: length, precision, searchable, flags 1 2 5 6 7 8.
    static QString governed(const frmColumn &e)
    {
        QString state;
        for (const QWidget *w : QList<const QWidget *>{e.txtLength, e.txtPrecision, e.cboSearchable,
                                                       e.chkProperty[1], e.chkProperty[2], e.chkProperty[5],
                                                       e.chkProperty[6], e.chkProperty[7], e.chkProperty[8]})
            state += w->isEnabled() ? QLatin1Char('+') : QLatin1Char('-');
        return state;
    }
    // A new column of OPEN_ORDERS that passes every rule (the number left to the editor).
    void fillNew(frmColumn &e, const QString &field = QStringLiteral("CARD-REF"),
                 const QString &name = QStringLiteral("card_ref"))
    {
        type(e.cboField, field);
        type(e.txtName, name);
        type(e.cboType, QStringLiteral("V"));
        type(e.txtLength, QStringLiteral("16"));
    }
};

TEST_F(ColumnEditor, DisplayShowsTheStoredRowAndEditKeepsIt)
{
    // Stored values a DOUBLE's defaults would overwrite.
    open()->Execute(QStringLiteral("UPDATE QN_COLUMN SET PRECISION = 7, MONEY = 1, SEARCHABLE = 1 WHERE TABLE_NAME = "
                                   "'OPEN_ORDERS' AND COLUMN_NAME = 'TOTAL'"));
    frmColumn &e = display(QStringLiteral("TOTAL"));
    EXPECT_EQ(e.lblTitle.title->text(), QStringLiteral("OPEN_ORDERS.TOTAL - Column Properties"));
    const QStringList shown = {textOf(e.txtDatabase), textOf(e.txtTable),     textOf(e.cboField),  textOf(e.txtName),
                               textOf(e.txtDisplay),  textOf(e.txtNumber),    textOf(e.cboType),   textOf(e.txtLength),
                               textOf(e.txtPrecision), textOf(e.txtScale),    textOf(e.txtDefault), textOf(e.cboSearchable),
                               textOf(e.txtSearchable), textOf(e.txtRemarks), textOf(e.txtColumnType)};
    EXPECT_EQ(shown, QStringList({"SALES", "OPEN_ORDERS", "TOTAL", "TOTAL", "TOTAL", "5", "DOUBLE", "8", "7", "2", "0",
                                  "LIKE only", "1", "Order value including tax", "0"}));
    EXPECT_EQ(flags(e), QStringLiteral("101110010"));
    for (QWidget *w : QList<QWidget *>{e.cboField, e.txtName, e.txtNumber, e.cboType, e.txtLength, e.txtScale,
                                       e.cboSearchable, e.txtRemarks, e.chkProperty[0], e.chkProperty[3],
                                       e.spnUpDn[0], e.cmdNextColumnNumber})
        EXPECT_FALSE(w->isEnabled()) << w->objectName().toStdString();
    EXPECT_EQ(items(e.cboType), QStringList()); // showing fills no list
    EXPECT_EQ(state(), QStringLiteral("+++---"));
    EXPECT_EQ(visibleBands(), QStringList({"tbrMain", "tbrColumn"}));

    // Editing: the stored values stay, and the controls the type governs are locked.
    edit(QStringLiteral("TOTAL"));
    EXPECT_EQ(e.lblTitle.title->text(), QStringLiteral("OPEN_ORDERS.TOTAL - Edit Column Properties"));
    EXPECT_EQ(textOf(e.txtPrecision), QStringLiteral("7"));
    EXPECT_EQ(textOf(e.cboSearchable), QStringLiteral("LIKE only"));
    EXPECT_EQ(flags(e), QStringLiteral("101110010"));
    EXPECT_EQ(governed(e), QStringLiteral("---------"));
    for (QWidget *w : QList<QWidget *>{e.cboField, e.txtName, e.txtDisplay, e.txtNumber, e.cboType, e.txtScale,
                                       e.txtDefault, e.txtRemarks, e.chkProperty[3], e.chkProperty[4], e.chkProperty[0],
                                       e.spnUpDn[0], e.spnUpDn[3], e.cmdNextColumnNumber})
        EXPECT_TRUE(w->isEnabled()) << w->objectName().toStdString();
    EXPECT_FALSE(e.txtDatabase->isEnabled());
    EXPECT_FALSE(e.txtTable->isEnabled());
    EXPECT_EQ(focused(), e.cboField);
    EXPECT_FALSE(e.KeyChanged());
    EXPECT_FALSE(e.cmdAction->isEnabled());
    EXPECT_EQ(state(), QStringLiteral("---++-"));
    // The lists: the fields of the table's file as stored, the SQL types as the data source gave them.
    EXPECT_EQ(items(e.cboField), rows(QStringLiteral("SELECT FIELD_NAME FROM QN_FIELD WHERE FILE_NAME = 'ORDERS'")));
    EXPECT_EQ(items(e.cboField).size(), 7);
    EXPECT_EQ(items(e.cboType), rows(QStringLiteral("SELECT SQL_TYPE_NAME FROM QN_SQLDT")));
    EXPECT_EQ(textOf(e.cboType), QStringLiteral("DOUBLE"));

    // OK at once writes the stored values back: one UPDATE, no rename.
    clickBand(QStringLiteral("OK"));
    EXPECT_EQ(modUpdate::LastStatements(),
              QStringList{"UPDATE QN_COLUMN SET SQL_TYPE_NAME = 'DOUBLE', LENGTH = 08, PRECISION = 07, SCALE = 02, "
                          "NULLABLE = 01, UNSIGNED_ATTRIBUTE = 00, UPDATABLE = 01, VISIBLE = 01, MONEY = 01, "
                          "AUTO_INCREMENT = 00, CASE_SENSITIVE = 00, SEARCHABLE = 01, RADIX = 01, DEFAULT_VALUE = '0', "
                          "REMARKS = 'Order value including tax', SETFILEPARAMETER = 00, DISPLAY_NAME = 'TOTAL' WHERE "
                          "DATABASE_NAME = 'SALES' AND TABLE_NAME = 'OPEN_ORDERS' AND COLUMN_NAME = 'TOTAL'"});
    EXPECT_EQ(e.EditorMode(), QString());

    // A character type leaves its attributes open.
    edit(QStringLiteral("STATUS"));
    EXPECT_EQ(governed(e), QStringLiteral("+++++++++"));
}

TEST_F(ColumnEditor, ChoosingATypeCopiesItsDefaultsAndLocksOrUnlocks)
{
    frmColumn &e = addNew();
    EXPECT_EQ(e.lblTitle.title->text(), QStringLiteral("Add New Column to SALES"));
    EXPECT_EQ(textOf(e.txtDatabase), QStringLiteral("SALES"));
    EXPECT_EQ(textOf(e.txtTable), QStringLiteral("OPEN_ORDERS"));
    EXPECT_EQ(flags(e), QStringLiteral("001100000")); // updatable and visible
    EXPECT_EQ(textOf(e.txtColumnType), QStringLiteral("0"));
    EXPECT_EQ(textOf(e.txtNumber), QString());
    EXPECT_EQ(textOf(e.cboType), QString());
    EXPECT_EQ(e.cboSearchable->currentIndex(), -1);
    EXPECT_EQ(governed(e), QStringLiteral("+++++++++"));
    EXPECT_EQ(focused(), e.cboField);
    EXPECT_EQ(state(), QStringLiteral("---++-"));
    EXPECT_FALSE(e.cmdAction->isEnabled());

    // Attributes no type touches.
    type(e.txtScale, QStringLiteral("3"));
    type(e.txtDefault, QStringLiteral("X"));
    click(e.chkProperty[4]); // visible off
    click(e.chkProperty[0]); // set file parameter on
    click(e.chkProperty[5]); // money on
    type(e.txtLength, QStringLiteral("77"));

    type(e.cboType, QStringLiteral("I")); // INTEGER
    EXPECT_EQ(textOf(e.txtType), QStringLiteral("INTEGER"));
    EXPECT_EQ(QStringList({textOf(e.txtLength), textOf(e.txtPrecision), textOf(e.txtSearchable), textOf(e.cboSearchable)}),
              QStringList({"4", "10", "2", "All except LIKE"}));
    EXPECT_EQ(flags(e), QStringLiteral("101000011")); // nullable, updatable, radix, set file parameter
    EXPECT_EQ(governed(e), QStringLiteral("---------"));
    EXPECT_EQ(QStringList({textOf(e.txtScale), textOf(e.txtDefault)}), QStringList({"3", "X"}));
    EXPECT_TRUE(e.txtScale->isEnabled());
    EXPECT_TRUE(e.chkProperty[3]->isEnabled());
    EXPECT_TRUE(e.cmdAction->isEnabled());

    // A character type opens them again and keeps what they hold.
    choose(e.cboType, QStringLiteral("V")); // VARCHAR
    EXPECT_EQ(textOf(e.txtType), QStringLiteral("VARCHAR"));
    EXPECT_EQ(governed(e), QStringLiteral("+++++++++"));
    EXPECT_EQ(QStringList({textOf(e.txtLength), textOf(e.txtPrecision), textOf(e.txtSearchable)}),
              QStringList({"4", "10", "2"}));
    // Picking another field changes no attribute.
    type(e.cboField, QStringLiteral("ORDER-T"));
    EXPECT_EQ(textOf(e.txtField), QStringLiteral("ORDER-TIME"));
    EXPECT_EQ(textOf(e.txtLength), QStringLiteral("4"));
    EXPECT_EQ(textOf(e.cboType), QStringLiteral("VARCHAR"));
}

TEST_F(ColumnEditor, AddWritesTheInsertAndStartsTheNextColumn)
{
    openColumns();
    EXPECT_EQ(childTexts(kColumnsKey), QStringList({"ORDER_NO", "CUST_NO", "ORDER_DATE", "STATUS", "TOTAL"}));
    frmColumn &e = addNew();
    type(e.cboField, QStringLiteral("ORDER-T"));
    type(e.txtName, QStringLiteral("order time"));
    EXPECT_EQ(textOf(e.txtName), QStringLiteral("ORDER_TIME")); // the key filter
    type(e.txtDisplay, QStringLiteral("Order_Time"));
    type(e.cboType, QStringLiteral("V"));
    type(e.txtLength, QStringLiteral("6"));
    e.cboSearchable->setFocus();
    QTest::keyClick(e.cboSearchable, Qt::Key_Down);
    EXPECT_EQ(textOf(e.txtSearchable), QStringLiteral("0"));
    type(e.txtRemarks, QStringLiteral("it's new"));
    click(e.cmdAction);
    // The number was left empty: the next free one; the precision takes the length.
    // The table is read first in the unit.
    EXPECT_EQ(modUpdate::LastStatements(),
              QStringList({"SELECT DATABASE_NAME, TABLE_NAME FROM QN_TABLE WHERE DATABASE_NAME = 'SALES' AND "
                           "TABLE_NAME = 'OPEN_ORDERS'",
                           "INSERT INTO QN_COLUMN (DATABASE_NAME, TABLE_NAME, COLUMN_NUMBER, COLUMN_NAME, FIELD_NAME, "
                          "SQL_TYPE_NAME, LENGTH, PRECISION, SCALE, NULLABLE, UNSIGNED_ATTRIBUTE, UPDATABLE, VISIBLE, "
                          "MONEY, AUTO_INCREMENT, CASE_SENSITIVE, SEARCHABLE, RADIX, DEFAULT_VALUE, REMARKS, "
                          "SETFILEPARAMETER, COLUMN_TYPE, DISPLAY_NAME) VALUES ('SALES', 'OPEN_ORDERS', 06, "
                          "'ORDER_TIME', 'ORDER-TIME', 'VARCHAR', 06, 06, 0, 0, 0, 01, 01, 0, 0, 0, 00, 0, '', "
                          "'it''s new', 0, 00, 'Order_Time')"}));
    EXPECT_EQ(columnRow(QStringLiteral("ORDER_TIME")),
              QStringList{"SALES|OPEN_ORDERS|6|ORDER_TIME|ORDER-TIME|VARCHAR|6|6|0|0|0|1|1|0|0|0|0|0||it's new|0|0|"
                          "Order_Time"});
    // The folder shows it; the form is empty again for the next column of the table.
    EXPECT_EQ(childTexts(kColumnsKey).last(), QStringLiteral("ORDER_TIME"));
    EXPECT_EQ(current(), QStringLiteral("frmColumn"));
    EXPECT_EQ(e.EditorMode(), QStringLiteral("Column Add"));
    EXPECT_EQ(QStringList({textOf(e.txtDatabase), textOf(e.txtTable), textOf(e.txtName), textOf(e.txtField),
                           textOf(e.txtType), textOf(e.txtColumnType)}),
              QStringList({"SALES", "OPEN_ORDERS", "", "", "", "0"}));
    EXPECT_EQ(flags(e), QStringLiteral("001100000"));
    EXPECT_EQ(focused(), e.cboField);
    EXPECT_FALSE(e.cmdAction->isEnabled());

    // Undo while adding empties the form again.
    type(e.txtName, QStringLiteral("X"));
    clickBand(QStringLiteral("Undo"));
    EXPECT_EQ(textOf(e.txtName), QString());
    EXPECT_EQ(e.EditorMode(), QStringLiteral("Column Add"));
}

// A new column whose visible type ends in "CHAR" (case-sensitive) and has no
// precision takes its length as precision; no other add, and no edit, does.
TEST_F(ColumnEditor, ACharacterColumnWithoutPrecisionTakesItsLength)
{
    open()->Execute(QStringLiteral("INSERT INTO QN_SQLDT (SQL_TYPE_NAME, LENGTH, PRECISION, SEARCHABLE) VALUES "
                                   "('CHARACTER', 100, 0, 3), ('LONGVARCHAR', 1000, 0, 3), ('widechar', 50, 0, 3)"));
    struct Case
    {
        const char *type;   // typed into the type list
        const char *length; // typed ("" leaves the box as the type left it)
        const char *precision;
        const char *stored; // PRECISION written
    };
    const Case cases[] = {
        {"V", "30", "", "30"},        {"V", "30", "0", "30"},  {"V", "30", "10", "10"},
        {"C", "6", "", "6"},          {"LO", "40", "", "40"},  {"CHARA", "12", "", "0"},
        {"W", "", "", "0"},           {"N", "", "", "18"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(c.type) + " " + c.length + " " + c.precision);
        open()->Execute(QStringLiteral("DELETE FROM QN_COLUMN WHERE COLUMN_NAME = 'CARD_REF'"));
        frmColumn &e = addNew();
        type(e.cboField, QStringLiteral("CARD-REF"));
        type(e.txtName, QStringLiteral("CARD_REF"));
        type(e.cboType, QLatin1String(c.type));
        if (*c.length)
            retype(e.txtLength, QLatin1String(c.length));
        if (*c.precision)
            retype(e.txtPrecision, QLatin1String(c.precision));
        click(e.cmdAction);
        EXPECT_EQ(scalar(QStringLiteral("SELECT PRECISION FROM QN_COLUMN WHERE COLUMN_NAME = 'CARD_REF'")).toString(),
                  QLatin1String(c.stored));
    }
    // An edit never copies.
    frmColumn &e = edit(QStringLiteral("STATUS"));
    retype(e.txtPrecision, QStringLiteral("0"));
    click(e.cmdAction);
    EXPECT_EQ(scalar(QStringLiteral("SELECT PRECISION FROM QN_COLUMN WHERE TABLE_NAME = 'OPEN_ORDERS' AND "
                                    "COLUMN_NAME = 'STATUS'"))
                  .toString(),
              QStringLiteral("0"));
}

TEST_F(ColumnEditor, EditsOfTheKeyGoThroughTheRenameWriterInOneUnit)
{
    openColumns();
    // The number only: the writer rewrites the row under its own name, then the UPDATE.
    frmColumn &e = edit(QStringLiteral("TOTAL"));
    retype(e.txtNumber, QStringLiteral("9"));
    EXPECT_TRUE(e.KeyChanged());
    click(e.cmdAction);
    QStringList s = modUpdate::LastStatements();
    ASSERT_GT(s.size(), 2);
    EXPECT_EQ(s.first(), QStringLiteral("SELECT * FROM QN_COLUMN WHERE DATABASE_NAME = 'SALES' AND TABLE_NAME = "
                                        "'OPEN_ORDERS' AND COLUMN_NAME = 'TOTAL'"));
    EXPECT_TRUE(s.last().startsWith(QStringLiteral("UPDATE QN_COLUMN SET SQL_TYPE_NAME = 'DOUBLE', ")));
    EXPECT_TRUE(s.last().endsWith(QStringLiteral("COLUMN_NAME = 'TOTAL'")));
    EXPECT_EQ(scalar(QStringLiteral("SELECT COLUMN_NUMBER FROM QN_COLUMN WHERE TABLE_NAME = 'OPEN_ORDERS' AND "
                                    "COLUMN_NAME = 'TOTAL'"))
                  .toInt(),
              9);
    EXPECT_TRUE(gNodes().Item(kColumnsKey + QStringLiteral("co=TOTAL:")));
    EXPECT_EQ(e.EditorMode(), QString());

    // The name and the field: the node re-keyed and retitled, the row shown under its new name.
    edit(QStringLiteral("TOTAL"));
    retype(e.txtName, QStringLiteral("GRAND_TOTAL"));
    retype(e.txtDisplay, QStringLiteral("Grand_Total"));
    choose(e.cboField, QStringLiteral("CA"));
    EXPECT_EQ(textOf(e.txtField), QStringLiteral("CARD-REF"));
    click(e.cmdAction);
    EXPECT_EQ(columnRow(QStringLiteral("TOTAL")), QStringList());
    EXPECT_EQ(columnRow(QStringLiteral("GRAND_TOTAL")),
              QStringList{"SALES|OPEN_ORDERS|9|GRAND_TOTAL|CARD-REF|DOUBLE|8|15|2|1|0|1|1|0|0|0|2|1|0|Order value "
                          "including tax|0|0|Grand_Total"});
    EXPECT_FALSE(gNodes().Item(kColumnsKey + QStringLiteral("co=TOTAL:")));
    const CNodePtr node = gNodes().Item(kColumnsKey + QStringLiteral("co=GRAND_TOTAL:"));
    ASSERT_TRUE(node);
    EXPECT_EQ(gNodes().Node(node->Key)->text(), QStringLiteral("GRAND_TOTAL"));
    EXPECT_EQ(e.lblTitle.title->text(), QStringLiteral("OPEN_ORDERS.GRAND_TOTAL - Column Properties"));
    EXPECT_EQ(e.FieldAsRead(), QStringLiteral("CARD-REF"));
    EXPECT_EQ(current(), QStringLiteral("frmColumn"));

    // A rename whose UPDATE fails is rolled back with it; Ignore keeps the edit pending.
    edit(QStringLiteral("GRAND_TOTAL"));
    retype(e.txtName, QStringLiteral("TOTAL"));
    retype(e.txtDisplay, QString());
    QStringList sent;
    dao::SetStatementObserver([&](const QString &sql) { sent << sql; });
    click(e.cmdAction);
    dao::SetStatementObserver(nullptr);
    // The same save again, its UPDATE failing: the checks and the rename come first.
    const qsizetype update = sent.indexOf(modUpdate::LastStatements().last());
    ASSERT_GT(update, 0);
    edit(QStringLiteral("TOTAL"));
    retype(e.txtName, QStringLiteral("GRAND_TOTAL"));
    dao::Faults::Add(dao::Faults::Statement, int(update + 1), QStringLiteral("HY000"), QStringLiteral("disk full"));
    ui().answerError(ui::vbIgnore);
    click(e.cmdAction);
    ASSERT_EQ(ui().errors().size(), 1);
    EXPECT_EQ(ui().errors()[0].trappedIn, QStringLiteral("frmColumn.tbr_ButtonClick"));
    const QString failed = modUpdate::LastStatements().last();
    EXPECT_TRUE(failed.startsWith(QStringLiteral("UPDATE QN_COLUMN SET ")));
    EXPECT_EQ(ui().errors()[0].additionalInfo, shownSQL(failed));
    EXPECT_EQ(columnRow(QStringLiteral("GRAND_TOTAL")), QStringList());
    EXPECT_EQ(columnRow(QStringLiteral("TOTAL")).size(), 1);
    EXPECT_EQ(e.EditorMode(), QStringLiteral("Column Edit"));
}

TEST_F(ColumnEditor, DeleteRemovesOneRowAfterItsQuestions)
{
    openColumns();
    const QStringList table = rows(QStringLiteral("SELECT NUMBER_COLUMNS, CRITERIA FROM QN_TABLE WHERE TABLE_NAME = "
                                                  "'OPEN_ORDERS'"));
    // A column the table's criteria names: a second question; No keeps it, in the delete state.
    display(QStringLiteral("STATUS"));
    ui().answerMsgBox(ui::vbYes);
    ui().answerMsgBox(ui::vbNo);
    clickBand(QStringLiteral("Column Delete"));
    EXPECT_EQ(takeMessages(), QStringList({"Are you sure you want to delete this column?",
                                           "This coulm is used as part of the Table criteria for this table.  Removing "
                                           "it will invalidate your criteria.\r\nAre you sure you want to delete this "
                                           "Column?"}));
    frmColumn &e = editor();
    EXPECT_EQ(e.EditorMode(), QStringLiteral("Column Delete"));
    EXPECT_EQ(e.lblTitle.title->text(), QStringLiteral("OPEN_ORDERS.STATUS - Delete Column"));
    EXPECT_EQ(columnRow(QStringLiteral("STATUS")).size(), 1);
    // OK deletes without asking again: one statement, the table's row untouched.
    clickBand(QStringLiteral("OK"));
    EXPECT_EQ(takeMessages(), QStringList());
    EXPECT_EQ(modUpdate::LastStatements(),
              QStringList{"DELETE FROM QN_COLUMN WHERE DATABASE_NAME = 'SALES' AND TABLE_NAME = 'OPEN_ORDERS' AND "
                          "COLUMN_NAME = 'STATUS'"});
    EXPECT_EQ(columnRow(QStringLiteral("STATUS")), QStringList());
    EXPECT_EQ(columnRow(QStringLiteral("STATUS"), QStringLiteral("ORDERS")).size(), 1);
    EXPECT_EQ(rows(QStringLiteral("SELECT NUMBER_COLUMNS, CRITERIA FROM QN_TABLE WHERE TABLE_NAME = 'OPEN_ORDERS'")),
              table);
    EXPECT_EQ(childTexts(kColumnsKey), QStringList({"ORDER_NO", "CUST_NO", "ORDER_DATE", "TOTAL"}));
    EXPECT_EQ(current(), QStringLiteral("frmColumns"));
    if (const QStringList c = calls(QStringLiteral("frmColumns")); !c.isEmpty()) {
        EXPECT_EQ(c.last(), QStringLiteral("Display:QnTest,SALES,OPEN_ORDERS"));
    }

    // A column the criteria do not name: one question.
    ui().answerMsgBox(ui::vbYes);
    main().PaneDelete(QStringLiteral("frmColumn"), {kDs, QStringLiteral("SALES"), kOpenOrders, QStringLiteral("TOTAL")});
    EXPECT_EQ(takeMessages(), QStringList{"Are you sure you want to delete this column?"});
    EXPECT_EQ(columnRow(QStringLiteral("TOTAL")), QStringList());
}

// Each case starts from a new column that would pass (or from the stored
// TOTAL) and breaks one rule: its message, its focus, nothing written.
TEST_F(ColumnEditor, ValidationRules)
{
    struct Case
    {
        const char *name;
        const char *edited; // "" adds a column of OPEN_ORDERS, else edits this one
        std::function<void(frmColumn &)> change;
        QString message; // "" passes
        std::function<QWidget *(frmColumn &)> focus; // nullptr: the focus stays
    };
    auto nameBox = [](frmColumn &e) -> QWidget * { return e.txtName; };
    auto numberBox = [](frmColumn &e) -> QWidget * { return e.txtNumber; };
    const QString numberRange = QStringLiteral("Column Number is out of range.\r\nPlease enter a value between 1 and 32767.");
    const QList<Case> cases = {
        {"no field", "", [](frmColumn &e) { e.cboField->lineEdit()->clear(); },
         "Please select a Field Name to map this column to.", [](frmColumn &e) -> QWidget * { return e.cboField; }},
        {"no name", "", [](frmColumn &e) { e.txtName->clear(); },
         "Please enter a Column Name to uniquely identify this column.", nameBox},
        {"name used", "", [](frmColumn &e) { retype(e.txtName, QStringLiteral("STATUS")); },
         "The Column Name 'STATUS' is already used in Table 'OPEN_ORDERS'.\r\nPlease use another name.", nameBox},
        {"number used", "", [](frmColumn &e) { retype(e.txtNumber, QStringLiteral("3")); },
         "The Column Number '3' is already used in Table 'OPEN_ORDERS'.\r\nPlease use another name.", numberBox},
        {"reserved", "", [](frmColumn &e) { retype(e.txtName, QStringLiteral("ROWID")); },
         "That is a reserved Column Name", nameBox},
        {"field mapped", "", [](frmColumn &e) { choose(e.cboField, QStringLiteral("ST")); },
         "The Field 'STATUS' has already been mapped to Column 'STATUS'",
         [](frmColumn &e) -> QWidget * { return e.cboField; }},
        {"display name differs", "", [](frmColumn &e) { type(e.txtDisplay, QStringLiteral("Other")); },
         "The Display Name (if used) MUST exactly match the Column Name (exclusive of case).",
         [](frmColumn &e) -> QWidget * { return e.txtDisplay; }},
        {"no type", "", [](frmColumn &e) { e.cboType->lineEdit()->clear(); },
         "Please select an SQL Data Type for this column.", [](frmColumn &e) -> QWidget * { return e.cboType; }},
        {"number 0", "", [](frmColumn &e) { retype(e.txtNumber, QStringLiteral("0")); }, numberRange, numberBox},
        {"number 32768", "", [](frmColumn &e) { retype(e.txtNumber, QStringLiteral("32768")); }, numberRange, numberBox},
        // Not typed (the box refuses it), and never sent in a query.
        {"number not a number", "", [](frmColumn &e) { e.txtNumber->setText(QStringLiteral("5 OR 1=1")); },
         numberRange, numberBox},
        {"length 65536", "", [](frmColumn &e) { retype(e.txtLength, QStringLiteral("65536")); },
         "Length is out of range.\r\nPlease enter a value between 0 and 65535.",
         [](frmColumn &e) -> QWidget * { return e.txtLength; }},
        {"precision 65536", "", [](frmColumn &e) { retype(e.txtPrecision, QStringLiteral("65536")); },
         "Precision is out of range.\r\nPlease enter a value between 0 and 65535.",
         [](frmColumn &e) -> QWidget * { return e.txtPrecision; }},
        {"scale 33", "", [](frmColumn &e) { retype(e.txtScale, QStringLiteral("33")); },
         "Scale is out of range.\r\nPlease enter a value between -32 and 32.",
         [](frmColumn &e) -> QWidget * { return e.txtScale; }},
        {"scale -33", "", [](frmColumn &e) { retype(e.txtScale, QStringLiteral("-33")); },
         "Scale is out of range.\r\nPlease enter a value between -32 and 32.",
         [](frmColumn &e) -> QWidget * { return e.txtScale; }},
        {"scale -32", "", [](frmColumn &e) { retype(e.txtScale, QStringLiteral("-32")); }, "", {}},
        {"scale 32, number 32767", "",
         [](frmColumn &e) {
             retype(e.txtScale, QStringLiteral("32"));
             retype(e.txtNumber, QStringLiteral("32767"));
         },
         "", {}},
        {"display name in another case", "", [](frmColumn &e) { type(e.txtDisplay, QStringLiteral("Card_Ref")); }, "",
         {}},
        // A pasted name in mixed case is not reserved (typing upper-cases it).
        {"Rowid pasted", "", [](frmColumn &e) { paste(e.txtName, QStringLiteral("Rowid")); }, "", {}},
        // Edits: the rules that look at other rows leave the row's own out.
        {"edit: number taken", "TOTAL", [](frmColumn &e) { retype(e.txtNumber, QStringLiteral("4")); },
         "Column Number 4 has already been assigned to Column 'STATUS'.", nullptr},
        {"edit: name taken", "TOTAL",
         [](frmColumn &e) {
             retype(e.txtName, QStringLiteral("STATUS"));
             e.txtDisplay->clear();
         },
         "Column Name 'STATUS' has already been used in this Table.", nameBox},
        {"edit: field mapped", "TOTAL", [](frmColumn &e) { choose(e.cboField, QStringLiteral("CU")); },
         "The Field 'CUST-NO' has already been mapped to Column 'CUST_NO'",
         [](frmColumn &e) -> QWidget * { return e.cboField; }},
        {"edit: reserved", "TOTAL",
         [](frmColumn &e) {
             retype(e.txtName, QStringLiteral("RFA"));
             e.txtDisplay->clear();
         },
         "That is a reserved Column Name", nameBox},
        {"edit: keeps number, field and name", "TOTAL", [](frmColumn &e) { type(e.txtRemarks, QStringLiteral("!")); },
         "", {}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        open()->Execute(QStringLiteral("DELETE FROM QN_COLUMN WHERE FIELD_NAME = 'CARD-REF'"));
        const bool adding = !*c.edited;
        frmColumn &e = adding ? addNew() : edit(QLatin1String(c.edited));
        if (adding)
            fillNew(e);
        c.change(e);
        QWidget *before = focused();
        const QStringList stored = rows(QStringLiteral("SELECT * FROM QN_COLUMN WHERE TABLE_NAME = 'OPEN_ORDERS' "
                                                       "ORDER BY COLUMN_NAME"));
        takeMessages();
        if (!c.message.isEmpty())
            ui().answerMsgBox(ui::vbOK);
        QStringList sent;
        dao::SetStatementObserver([&](const QString &sql) { sent << sql; });
        clickBand(QStringLiteral("OK"));
        dao::SetStatementObserver(nullptr);
        EXPECT_FALSE(sent.join(QLatin1Char('\n')).contains(QStringLiteral("OR 1=1")));
        if (c.message.isEmpty()) {
            EXPECT_EQ(takeMessages(), QStringList());
            EXPECT_EQ(e.EditorMode(), adding ? QStringLiteral("Column Add") : QString());
            if (adding) {
                EXPECT_EQ(scalar(QStringLiteral("SELECT COUNT(*) FROM QN_COLUMN WHERE FIELD_NAME = 'CARD-REF'")).toInt(), 1);
            }
            continue;
        }
        EXPECT_EQ(takeMessages(), QStringList{c.message});
        EXPECT_EQ(focused(), c.focus ? c.focus(e) : before);
        EXPECT_EQ(rows(QStringLiteral("SELECT * FROM QN_COLUMN WHERE TABLE_NAME = 'OPEN_ORDERS' ORDER BY COLUMN_NAME")),
                  stored);
        EXPECT_EQ(e.EditorMode(), adding ? QStringLiteral("Column Add") : QStringLiteral("Column Edit"));
    }
}

// Both duplicate-number checks count ordinary columns only: the special
// columns all stand at number 1, as ORDERS's INDEX_NUMBER and ROWID do.
TEST_F(ColumnEditor, TheNumberChecksCountOrdinaryColumnsOnly)
{
    QStringList sent;
    dao::SetStatementObserver([&](const QString &sql) { sent << sql; });
    frmColumn &e = edit(QStringLiteral("ORDER_NO"), QStringLiteral("ORDERS"));
    type(e.txtRemarks, QStringLiteral("!"));
    click(e.cmdAction);
    EXPECT_EQ(takeMessages(), QStringList());
    EXPECT_EQ(e.EditorMode(), QString());
    EXPECT_TRUE(sent.contains(QStringLiteral("SELECT COLUMN_NAME FROM QN_COLUMN WHERE DATABASE_NAME = 'SALES' AND "
                                             "TABLE_NAME = 'ORDERS' AND COLUMN_NUMBER = 1 AND COLUMN_NAME <> 'ORDER_NO' "
                                             "AND COLUMN_TYPE = 0")));
    EXPECT_EQ(columnRow(QStringLiteral("ORDER_NO"), QStringLiteral("ORDERS")).value(0).section(QLatin1Char('|'), 19, 19),
              QStringLiteral("!"));

    // A new column numbered 1 beside a special column only.
    open()->Execute(QStringLiteral("INSERT INTO QN_TABLE (DATABASE_NAME, TABLE_NAME, TABLE_TYPE, FILE_NAME) VALUES "
                                   "('SALES', 'T1', 'TABLE', 'ORDERS')"));
    open()->Execute(QStringLiteral("INSERT INTO QN_COLUMN (DATABASE_NAME, TABLE_NAME, COLUMN_NAME, COLUMN_NUMBER, "
                                   "COLUMN_TYPE) VALUES ('SALES', 'T1', 'ROWID', 1, 6)"));
    sent.clear();
    addNew(QStringLiteral("T1"));
    fillNew(e);
    type(e.txtNumber, QStringLiteral("1"));
    click(e.cmdAction);
    EXPECT_EQ(takeMessages(), QStringList());
    EXPECT_TRUE(sent.contains(QStringLiteral("SELECT * FROM QN_COLUMN WHERE DATABASE_NAME = 'SALES' AND TABLE_NAME = "
                                             "'T1' AND COLUMN_NUMBER = 01 AND COLUMN_TYPE = 0")));
    EXPECT_EQ(columnRow(QStringLiteral("CARD_REF"), QStringLiteral("T1")).value(0).section(QLatin1Char('|'), 2, 2),
              QStringLiteral("1"));

    // An ordinary column at that number still refuses the next.
    fillNew(e, QStringLiteral("CUST-NO"), QStringLiteral("cust_no"));
    type(e.txtNumber, QStringLiteral("1"));
    ui().answerMsgBox(ui::vbOK);
    click(e.cmdAction);
    dao::SetStatementObserver(nullptr);
    EXPECT_EQ(takeMessages(),
              QStringList{"The Column Number '1' is already used in Table 'T1'.\r\nPlease use another name."});
    EXPECT_TRUE(columnRow(QStringLiteral("CUST_NO"), QStringLiteral("T1")).isEmpty());
}

// A flag stored as Null writes NULL back unless the user clicked it.
TEST_F(ColumnEditor, AStoredNullFlagStaysNullUntilClicked)
{
    open()->Execute(QStringLiteral("UPDATE QN_COLUMN SET UPDATABLE = NULL, VISIBLE = NULL WHERE TABLE_NAME = "
                                   "'OPEN_ORDERS' AND COLUMN_NAME = 'TOTAL'"));
    frmColumn &e = edit(QStringLiteral("TOTAL"));
    click(e.chkProperty[4]); // VISIBLE on and off again
    click(e.chkProperty[4]);
    click(e.cmdAction);
    EXPECT_TRUE(modUpdate::LastStatements().value(0).contains(QStringLiteral("UPDATABLE = NULL, VISIBLE = 00,")));
    EXPECT_EQ(rows(QStringLiteral("SELECT UPDATABLE IS NULL, VISIBLE FROM QN_COLUMN WHERE TABLE_NAME = 'OPEN_ORDERS' "
                                  "AND COLUMN_NAME = 'TOTAL'")),
              QStringList{"1|0"});
}

TEST_F(ColumnEditor, TheMissingNameHasItsOwnTitleAndTheNumberIsFilledFirst)
{
    frmColumn &e = addNew();
    type(e.cboField, QStringLiteral("CA"));
    ui().answerMsgBox(ui::vbOK);
    click(e.cmdAction);
    ASSERT_EQ(ui().shown().size(), 1);
    EXPECT_EQ(ui().shown()[0].title, QStringLiteral("Missing COLUMN_NAME"));
    EXPECT_EQ(ui().shown()[0].style, int(ui::vbInformation));
    EXPECT_EQ(textOf(e.txtNumber), QStringLiteral("6")); // filled before any message
}

TEST_F(ColumnEditor, TheNextNumberFollowsTheHighestOfTheTable)
{
    open()->Execute(QStringLiteral("INSERT INTO QN_TABLE (DATABASE_NAME, TABLE_NAME, TABLE_TYPE, FILE_NAME) VALUES "
                                   "('SALES', 'T1', 'TABLE', 'ORDERS')"));
    frmColumn &e = addNew(QStringLiteral("T1"));
    click(e.cmdNextColumnNumber);
    EXPECT_EQ(textOf(e.txtNumber), QStringLiteral("1"));
    open()->Execute(QStringLiteral("INSERT INTO QN_COLUMN (DATABASE_NAME, TABLE_NAME, COLUMN_NAME, COLUMN_NUMBER, "
                                   "COLUMN_TYPE) VALUES ('SALES', 'T1', 'ROWID', 1, 6)"));
    click(e.cmdNextColumnNumber);
    EXPECT_EQ(textOf(e.txtNumber), QStringLiteral("2")); // special columns count
    open()->Execute(QStringLiteral("INSERT INTO QN_COLUMN (DATABASE_NAME, TABLE_NAME, COLUMN_NAME, COLUMN_NUMBER, "
                                   "COLUMN_TYPE) VALUES ('SALES', 'T1', 'A', 1, 0), ('SALES', 'T1', 'B', 2, 0), "
                                   "('SALES', 'T1', 'C', 5, 0)"));
    click(e.cmdNextColumnNumber);
    EXPECT_EQ(textOf(e.txtNumber), QStringLiteral("6"));
    EXPECT_TRUE(e.cmdAction->isEnabled());
}

TEST_F(ColumnEditor, AColumnDeletedMeanwhileIsSaidToBeGone)
{
    openColumns();
    frmColumn &e = display(QStringLiteral("TOTAL"));
    open()->Execute(QStringLiteral("DELETE FROM QN_COLUMN WHERE TABLE_NAME = 'OPEN_ORDERS' AND COLUMN_NAME = 'STATUS'"));
    ASSERT_TRUE(gNodes().Item(kColumnsKey + QStringLiteral("co=STATUS:")));
    ui().answerMsgBox(ui::vbOK);
    EXPECT_EQ(main().PaneDisplay(QStringLiteral("frmColumn"), {kDs, QStringLiteral("SALES"), kOpenOrders,
                                                              QStringLiteral("STATUS")}),
              -1);
    ASSERT_EQ(ui().shown().size(), 1);
    EXPECT_EQ(ui().shown()[0].text, QStringLiteral("This Column has been deleted"));
    EXPECT_EQ(ui().shown()[0].style, int(ui::vbCritical));
    EXPECT_TRUE(ui().errors().isEmpty());
    // The boxes keep what they showed; the stale node is gone with the reload of the tables.
    EXPECT_EQ(textOf(e.txtName), QStringLiteral("TOTAL"));
    EXPECT_FALSE(gNodes().Item(kColumnsKey + QStringLiteral("co=STATUS:")));
}

TEST_F(ColumnEditor, AnUnknownTypeAndASearchLevelOutOfRangeAreReported)
{
    // A name edited in the list's edit portion is looked up in the data source's types.
    frmColumn &e = edit(QStringLiteral("TOTAL"));
    ui().answerError(ui::vbIgnore);
    e.cboType->setFocus();
    QTest::keyClick(e.cboType->lineEdit(), Qt::Key_Home);
    QTest::keyClick(e.cboType->lineEdit(), Qt::Key_Delete);
    EXPECT_EQ(textOf(e.txtType), QStringLiteral("OUBLE"));
    ASSERT_EQ(ui().errors().size(), 1);
    EXPECT_EQ(ui().errors()[0].trappedIn, QStringLiteral("frmColumn.cboDropdown_Click"));
    EXPECT_EQ(ui().errors()[0].number, QStringLiteral("5"));
    EXPECT_EQ(ui().errors()[0].additionalInfo, QString());
    // Ignore leaves the boxes and the locks as they were.
    EXPECT_EQ(QStringList({textOf(e.txtLength), textOf(e.txtPrecision)}), QStringList({"8", "15"}));
    EXPECT_EQ(governed(e), QStringLiteral("---------"));

    // A stored search level that no list position has.
    ui().clear();
    open()->Execute(QStringLiteral("UPDATE QN_COLUMN SET SEARCHABLE = 7 WHERE TABLE_NAME = 'OPEN_ORDERS' AND "
                                   "COLUMN_NAME = 'TOTAL'"));
    ui().answerError(ui::vbIgnore);
    display(QStringLiteral("TOTAL"));
    ASSERT_EQ(ui().errors().size(), 1);
    EXPECT_EQ(ui().errors()[0].trappedIn, QStringLiteral("frmColumn.txtProperty_Change"));
    EXPECT_EQ(ui().errors()[0].number, QStringLiteral("380"));
    EXPECT_EQ(textOf(e.txtSearchable), QStringLiteral("7"));
    EXPECT_EQ(textOf(e.txtName), QStringLiteral("TOTAL"));
    // -1 leaves the list without a choice.
    open()->Execute(QStringLiteral("UPDATE QN_COLUMN SET SEARCHABLE = -1 WHERE TABLE_NAME = 'OPEN_ORDERS' AND "
                                   "COLUMN_NAME = 'TOTAL'"));
    display(QStringLiteral("TOTAL"));
    EXPECT_EQ(e.cboSearchable->currentIndex(), -1);
    EXPECT_EQ(ui().errors().size(), 1);
}

TEST_F(ColumnEditor, CancelAndUpShowTheColumnsPane)
{
    openColumns();
    frmColumn &e = edit(QStringLiteral("TOTAL"));
    type(e.txtRemarks, QStringLiteral(" (typed)"));
    // Undo while editing reads the row again.
    clickBand(QStringLiteral("Undo"));
    EXPECT_EQ(textOf(e.txtRemarks), QStringLiteral("Order value including tax"));
    EXPECT_EQ(e.EditorMode(), QStringLiteral("Column Edit"));
    type(e.txtRemarks, QStringLiteral(" (typed)"));
    QTest::keyClick(e.txtName, Qt::Key_Escape);
    EXPECT_EQ(current(), QStringLiteral("frmColumns"));
    if (const QStringList c = calls(QStringLiteral("frmColumns")); !c.isEmpty()) {
        EXPECT_EQ(c.last(), QStringLiteral("Display:QnTest,SALES,OPEN_ORDERS"));
    }
    EXPECT_EQ(columnRow(QStringLiteral("TOTAL")).value(0).section(QLatin1Char('|'), 19, 19),
              QStringLiteral("Order value including tax"));

    display(QStringLiteral("TOTAL"));
    clickBand(QStringLiteral("Up1"));
    EXPECT_EQ(current(), QStringLiteral("frmColumns"));
    ASSERT_TRUE(gNodes().SelectedItem());
    EXPECT_EQ(gNodes().SelectedItem()->Key, kColumnsKey);

    // Read-only 'QN': OK does nothing, Cancel still shows the Columns pane.
    EditorOf::display(QStringLiteral("QN"), QStringLiteral("TABLE"), QStringLiteral("TABLE_NAME"));
    EXPECT_EQ(state(), QStringLiteral("---++-"));
    EditorOf::edit(QStringLiteral("QN"), QStringLiteral("TABLE"), QStringLiteral("TABLE_NAME"));
    EXPECT_FALSE(e.txtName->isEnabled());
    EXPECT_EQ(e.EditorMode(), QString());
    clickBand(QStringLiteral("OK"));
    EXPECT_EQ(e.EditorMode(), QString());
    clickBand(QStringLiteral("Cancel"));
    EXPECT_EQ(current(), QStringLiteral("frmColumns"));
}

} // namespace
