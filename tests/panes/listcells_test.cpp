// The list cells of the grids as a user meets them: the list dropped down
// with a click on its arrow, an item clicked in it, the row written when it
// is left; a pick of the item a cell already shows applies that item's rule.

#include "panefixture.h"
#include "panes/frmfiles.h"

namespace {

using ListCells = PaneTest;

// One list cell of each grid that has one (the Users grid has none): the pick
// keeps the edit open, leaving the row writes the item.
TEST_F(ListCells, AMousePickInEachGridWritesTheRow)
{
    const QString ds = QStringLiteral("QnTest");
    const struct Case
    {
        const char *form;
        QStringList keys;
        const char *row; // the row's first cell
        int col;
        const char *item;
        const char *stored; // the query of the written value
        const char *value;  // as stored
    } cases[] = {
        {"frmDatabases", {ds}, "SALES", 3, "VAX-RMS", "SELECT DRIVER_NAME FROM QN_DB WHERE DATABASE_NAME = 'SALES'",
         "VAX-RMS"},
        {"frmFiles", {ds}, "CUSTOMER", 4, "VARIABLE", "SELECT RECORD_TYPE FROM QN_FILE WHERE FILE_NAME = 'CUSTOMER'",
         "VARIABLE"},
        {"frmTables", {ds, QStringLiteral("SALES")}, "CUSTOMER", 3, "PRODUCT",
         "SELECT FILE_NAME FROM QN_TABLE WHERE DATABASE_NAME = 'SALES' AND TABLE_NAME = 'CUSTOMER'", "PRODUCT"},
        {"frmColumns", {ds, QStringLiteral("SALES"), QStringLiteral("CUSTOMER")}, "4", 11, "No",
         "SELECT VISIBLE FROM QN_COLUMN WHERE DATABASE_NAME = 'SALES' AND TABLE_NAME = 'CUSTOMER' AND "
         "COLUMN_NAME = 'CITY'",
         "0"},
        {"frmFields", {ds, QStringLiteral("CUSTOMER")}, "CITY", 7, "Yes - Read Only",
         "SELECT ENCRYPTED FROM QN_FIELD WHERE FILE_NAME = 'CUSTOMER' AND FIELD_NAME = 'CITY'", "2"},
        {"frmDBPRVs", {ds, QStringLiteral("SALES")}, "JSMITH", 3, "TABLE",
         "SELECT SECURITY_LEVEL FROM QN_DBPRV WHERE DATABASE_NAME = 'SALES' AND USER_NAME = 'JSMITH'", "TABLE"},
        {"frmTBLPRVs", {ds, QStringLiteral("SALES"), QStringLiteral("ORDERS")}, "MBROWN", 4, "Yes",
         "SELECT ALLOW_DELETE FROM QN_TBLPRV WHERE DATABASE_NAME = 'SALES' AND TABLE_NAME = 'ORDERS' AND "
         "USER_NAME = 'MBROWN'",
         "1"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.form);
        auto &p = show<GridPane>(QLatin1String(c.form), c.keys);
        const int r = rowOf(p, QLatin1String(c.row));
        ASSERT_GE(r, 0);
        pickFromList(p, r, c.col, QLatin1String(c.item));
        click(p, r == 0 ? 1 : 0, 0);
        EXPECT_FALSE(p.RowDirty());
        EXPECT_EQ(scalar(QLatin1String(c.stored)).toString(), QLatin1String(c.value));
    }
    EXPECT_TRUE(ui().messages().isEmpty());
    EXPECT_TRUE(ui().errors().isEmpty());
}

// A list dropped down and closed again (Esc) leaves the edit open and the cell unchanged.
TEST_F(ListCells, ADropDownClosedAgainKeepsTheEdit)
{
    auto &f = show<frmFiles>(QStringLiteral("frmFiles"), {QStringLiteral("QnTest")});
    QComboBox *list = dropDown(f, 0, 3);
    ASSERT_NE(list, nullptr);
    QTest::keyClick(list->view(), Qt::Key_Escape);
    settle();
    EXPECT_FALSE(list->view()->isVisible());
    EXPECT_TRUE(f.EditorVisible());
    EXPECT_TRUE(list->hasFocus());
    EXPECT_EQ(current(f), QPoint(3, 0));
    key(Qt::Key_Return);
    EXPECT_FALSE(f.RowDirty());
    EXPECT_EQ(current(f), QPoint(4, 0));
}

// A row that fails a check on a cell it cannot open (its type fixes the
// value) is mended by picking its type again, with a click or with Enter in
// the list: the pick applies the type's values though the type's text does
// not change.
TEST_F(ListCells, APickOfTheShownItemAppliesItsRule)
{
    const struct Case
    {
        const char *form;
        QStringList keys;
        const char *plant; // a stored value the row's type refuses
        const char *row;
        int typeCol, textCol; // the type cell, a text cell to change
        const char *type;
        const char *message; // the check's message while the value stays
        const char *stored;  // the row written after the pick
        const char *value;
        bool byKey; // Enter on the item the list shows, instead of a click
    } cases[] = {
        {"frmFields", {QStringLiteral("QnTest"), QStringLiteral("CUSTOMER")},
         "UPDATE QN_FIELD SET SCALE = 5 WHERE FILE_NAME = 'CUSTOMER' AND FIELD_NAME = 'CITY'", "CITY", 3, 9,
         "STRING", "Scale is out of range.\r\nPlease enter a value between 0 and 0.",
         "SELECT SCALE || '|' || DEFAULT_VALUE FROM QN_FIELD WHERE FILE_NAME = 'CUSTOMER' AND FIELD_NAME = 'CITY'",
         "0|X", false},
        {"frmColumns", {QStringLiteral("QnTest"), QStringLiteral("SALES"), QStringLiteral("CUSTOMER")},
         "UPDATE QN_COLUMN SET SQL_TYPE_NAME = 'SMALLINT', LENGTH = 99 WHERE DATABASE_NAME = 'SALES' AND "
         "TABLE_NAME = 'CUSTOMER' AND COLUMN_NAME = 'CITY'",
         "4", 4, 18, "SMALLINT", "Length is out of range.\r\nPlease enter a value between 0 and 2.",
         "SELECT LENGTH || '|' || DEFAULT_VALUE FROM QN_COLUMN WHERE DATABASE_NAME = 'SALES' AND TABLE_NAME = 'CUSTOMER' "
         "AND COLUMN_NAME = 'CITY'",
         "2|X", true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.form);
        open()->Execute(QLatin1String(c.plant));
        auto &p = show<GridPane>(QLatin1String(c.form), c.keys);
        const int r = rowOf(p, QLatin1String(c.row));
        ASSERT_GE(r, 0);
        edit(p, r, c.textCol, QStringLiteral("X"));
        // The failing cell cannot open: every try to leave repeats the message.
        for (int i = 0; i < 2; ++i) {
            ui().answerMsgBox(ui::vbOK);
            click(p, r == 0 ? 1 : 0, 0);
            EXPECT_EQ(ui().messages().last(), QLatin1String(c.message));
            EXPECT_TRUE(p.RowDirty());
        }
        if (c.byKey) {
            QComboBox *list = dropDown(p, r, c.typeCol);
            ASSERT_NE(list, nullptr);
            QTest::keyClick(list->view(), Qt::Key_Return);
            settle();
            EXPECT_FALSE(list->view()->isVisible());
            EXPECT_TRUE(p.EditorVisible());
        } else {
            pickFromList(p, r, c.typeCol, QLatin1String(c.type));
        }
        const int shown = int(ui().messages().size());
        click(p, r == 0 ? 1 : 0, 0);
        EXPECT_EQ(ui().messages().size(), shown);
        EXPECT_FALSE(p.RowDirty());
        EXPECT_EQ(scalar(QLatin1String(c.stored)).toString(), QLatin1String(c.value));
    }
}

} // namespace
