// The main road through the explorer tree: a click on a node shows its
// editor; a save re-keys, adds or removes nodes; after the tree has been
// reloaded the editor is the current pane again and its band reaches it.

#include <QCheckBox>
#include <QPushButton>

#include "editorfixture.h"
#include "editors/schema/frmcolumn.h"
#include "editors/schema/frmdatabase.h"
#include "editors/schema/frmspecialcols.h"
#include "editors/schema/frmtable.h"

namespace {

const QString kDsKey = QStringLiteral("DSN=QnTest:");
const QString kDbs = QStringLiteral("DSN=QnTest:DB=QnTest:");
const QString kSales = kDbs + QStringLiteral("db=SALES:");
const QString kTables = kSales + QStringLiteral("TA=SALES:");

class ThroughTheTree : public EditorTest
{
protected:
    frmTable &table() { return *forms::LoadedForm<frmTable>(); }
    frmDatabase &database() { return *forms::LoadedForm<frmDatabase>(); }
    void editByClick() { options::Save(options::kItems, 1); }
};

TEST_F(ThroughTheTree, AClickOnATableShowsItsEditor)
{
    openPath({kDsKey, kDbs, kSales, kTables});
    clickNode(kTables + QStringLiteral("ta=ORDERS:"));
    ASSERT_EQ(current(), QStringLiteral("frmTable"));
    frmTable &e = table();
    EXPECT_EQ(e.lblTitle.title->text(), QStringLiteral("ORDERS - Table Properties"));
    EXPECT_EQ(QStringList({textOf(e.txtDatabase), textOf(e.txtName), textOf(e.cboFile), textOf(e.txtSpecification),
                           textOf(e.txtColumns)}),
              QStringList({"SALES", "ORDERS", "ORDERS", "ORDERS.DAT", "9"}));
    EXPECT_EQ(e.EditorMode(), QString());
    EXPECT_EQ(visibleBands(), QStringList({"tbrMain", "tbrTable"}));
    // With "Items" at Edit a click opens the row for editing.
    editByClick();
    clickNode(kTables + QStringLiteral("ta=CUSTOMER:"));
    EXPECT_EQ(e.EditorMode(), QStringLiteral("Table Edit"));
    EXPECT_EQ(textOf(e.txtName), QStringLiteral("CUSTOMER"));
}

TEST_F(ThroughTheTree, ARenamedTableIsReKeyedAndTheEditorKeepsItsBand)
{
    editByClick();
    openPath({kDsKey, kDbs, kSales, kTables});
    clickNode(kTables + QStringLiteral("ta=ORDERS:"));
    frmTable &e = table();
    retype(e.txtName, QStringLiteral("ORDERS2"));
    retype(e.txtDisplay, QStringLiteral("Orders2"));
    click(e.cmdAction);
    EXPECT_FALSE(node(kTables + QStringLiteral("ta=ORDERS:")));
    ASSERT_TRUE(node(kTables + QStringLiteral("ta=ORDERS2:")));
    EXPECT_TRUE(childTexts(kTables).contains(QStringLiteral("ORDERS2")));
    EXPECT_FALSE(childTexts(kTables).contains(QStringLiteral("ORDERS")));
    EXPECT_EQ(current(), QStringLiteral("frmTable"));
    EXPECT_EQ(visibleBands(), QStringList({"tbrMain", "tbrTable"}));
    EXPECT_EQ(e.lblTitle.title->text(), QStringLiteral("ORDERS2 - Table Properties"));
    EXPECT_TRUE(ui().errors().isEmpty());
    // The band's clicks reach the editor.
    clickBand(QStringLiteral("frmTable"), QStringLiteral("Table Edit"));
    EXPECT_EQ(e.EditorMode(), QStringLiteral("Table Edit"));
    EXPECT_EQ(textOf(e.txtName), QStringLiteral("ORDERS2"));
}

TEST_F(ThroughTheTree, AnAddedTableAppearsAndTheNextOneIsReady)
{
    openPath({kDsKey, kDbs, kSales, kTables});
    clickNode(kTables + QStringLiteral("ta=ORDERS:"));
    clickBand(QStringLiteral("frmTable"), QStringLiteral("Table Add"));
    frmTable &e = table();
    type(e.txtName, QStringLiteral("INVOICES"));
    type(e.cboType, QStringLiteral("T"));
    type(e.cboFile, QStringLiteral("ORDERS"));
    type(e.txtSpecification, QStringLiteral("INV.DAT"));
    click(e.cmdAction);
    ASSERT_TRUE(node(kTables + QStringLiteral("ta=INVOICES:")));
    EXPECT_EQ(current(), QStringLiteral("frmTable"));
    EXPECT_EQ(e.EditorMode(), QStringLiteral("Table Add"));
    EXPECT_EQ(textOf(e.txtDatabase), QStringLiteral("SALES"));
    EXPECT_TRUE(button(QStringLiteral("frmTable"), QStringLiteral("OK"))->isEnabled());
    EXPECT_TRUE(ui().errors().isEmpty());
}

TEST_F(ThroughTheTree, ADeletedTableLeavesTheTree)
{
    openPath({kDsKey, kDbs, kSales, kTables});
    clickNode(kTables + QStringLiteral("ta=CUSTOMER:"));
    ui().answerMsgBox(ui::vbYes);
    clickBand(QStringLiteral("frmTable"), QStringLiteral("Table Delete"));
    EXPECT_FALSE(node(kTables + QStringLiteral("ta=CUSTOMER:")));
    EXPECT_TRUE(childTexts(kTables).contains(QStringLiteral("ORDERS")));
    EXPECT_EQ(current(), QStringLiteral("frmTables"));
}

// The database editor reloads the Databases folder by collapsing it: the
// collapse shows the pane of the node then selected, and the editor takes the
// pane back.
TEST_F(ThroughTheTree, DatabasesAddedAndRenamedFromTheirNodes)
{
    editByClick();
    openPath({kDsKey, kDbs});
    // Clicked twice: the node selected at the last press lies inside the folder the save reloads.
    clickNode(kSales);
    clickNode(kSales);
    ASSERT_EQ(current(), QStringLiteral("frmDatabase"));
    frmDatabase &e = database();
    retype(e.txtName, QStringLiteral("SALES2"));
    retype(e.txtDisplay, QStringLiteral("Sales2"));
    click(e.cmdAction);
    EXPECT_EQ(childTexts(kDbs), QStringList({"SALES2", "STOCK"}));
    EXPECT_EQ(current(), QStringLiteral("frmDatabase"));
    EXPECT_EQ(visibleBands(), QStringList({"tbrMain", "tbrDatabase"}));
    EXPECT_EQ(e.lblTitle.title->text(), QStringLiteral("SALES2 - Database Properties"));

    clickBand(QStringLiteral("frmDatabase"), QStringLiteral("DB Add"));
    type(e.txtName, QStringLiteral("ARCHIVE"));
    type(e.cboDriver, QStringLiteral("D"));
    click(e.cmdAction);
    EXPECT_EQ(childTexts(kDbs), QStringList({"ARCHIVE", "SALES2", "STOCK"}));
    EXPECT_EQ(current(), QStringLiteral("frmDatabase"));
    EXPECT_EQ(e.EditorMode(), QStringLiteral("DB Add"));
    EXPECT_TRUE(ui().errors().isEmpty());
}

// A column node opens the column editor, whose save reloads the Columns
// folder and keeps the pane; the Special Columns node shows the special columns.
TEST_F(ThroughTheTree, AColumnAndTheSpecialColumnsOfATableShowTheirPanes)
{
    editByClick();
    const QString orders = kTables + QStringLiteral("ta=ORDERS:");
    const QString columns = orders + QStringLiteral("CO=ORDERS:");
    openPath({kDsKey, kDbs, kSales, kTables, orders, columns});
    EXPECT_EQ(childTexts(orders), QStringList({"Columns", "Special Columns", "Table Privileges"}));
    clickNode(columns + QStringLiteral("co=TOTAL:"));
    ASSERT_EQ(current(), QStringLiteral("frmColumn"));
    frmColumn &e = *forms::LoadedForm<frmColumn>();
    EXPECT_EQ(e.EditorMode(), QStringLiteral("Column Edit"));
    EXPECT_EQ(e.lblTitle.title->text(), QStringLiteral("ORDERS.TOTAL - Edit Column Properties"));
    EXPECT_EQ(visibleBands(), QStringList({"tbrMain", "tbrColumn"}));
    retype(e.txtName, QStringLiteral("ORDER_TOTAL"));
    e.txtDisplay->clear();
    click(e.cmdAction);
    EXPECT_TRUE(ui().errors().isEmpty());
    ASSERT_TRUE(node(columns + QStringLiteral("co=ORDER_TOTAL:")));
    EXPECT_FALSE(node(columns + QStringLiteral("co=TOTAL:")));
    EXPECT_EQ(current(), QStringLiteral("frmColumn"));
    clickBand(QStringLiteral("frmColumn"), QStringLiteral("Column Edit"));
    EXPECT_EQ(textOf(e.txtName), QStringLiteral("ORDER_TOTAL"));

    clickNode(orders + QStringLiteral("SCO=ORDERS:"));
    ASSERT_EQ(current(), QStringLiteral("frmSpecialCols"));
    frmSpecialCols &f = *forms::LoadedForm<frmSpecialCols>();
    EXPECT_EQ(f.lblTitle.title->text(), QStringLiteral("ORDERS - Special Columns"));
    EXPECT_TRUE(f.chkActive(2)->isChecked());
    EXPECT_TRUE(f.chkActive(6)->isChecked());
    EXPECT_EQ(visibleBands(), QStringList({"tbrMain", "tbrSpecialCols"}));
}

} // namespace
