// The context menu's add, edit and delete commands, the copy items and the wizard.

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>

#include "menudriver.h"
#include "tree/cnodes.h"

namespace {

const QStringList kEditors = {"frmFile",  "frmField", "frmDatabase", "frmTable",
                              "frmColumn", "frmUser",  "frmDBPRV",    "frmTBLPRV"};

struct EditorCommand
{
    const char *item;
    const char *form;
    const char *member;
    int keys;
    const char *pushed; // "" for none
    const char *reported;
};

// The 24 commands: their editor, the member the host calls, the key parts
// passed, the trace pushed and the name the error dialog is given.
const QList<EditorCommand> kCommands = {
    {"mnu_FileAdd", "frmFile", "AddNew", 1, "mdiMain.mnu_FileAdd_Click", "mdiMain.mnu_FileAdd_Click"},
    {"mnu_FileEdit", "frmFile", "Edit", 2, "", "mdiMain.mnu_FileEdit_Click"},
    {"mnu_FileDelete", "frmFile", "Delete", 2, "", "mdiMain.mnu_FileDelete"},
    {"mnu_FieldAddNew", "frmField", "AddNew", 2, "mdiMain.mnu_FieldAddNew_Click", "mdiMain.mnu_FieldAddNew"},
    {"mnu_FieldEdit", "frmField", "Edit", 3, "mdiMain.mnu_FieldEdit_Click", "mdiMain.mnu_FieldEdit_Click"},
    {"mnu_FieldDelete", "frmField", "Delete", 3, "mdiMain.mnu_FieldDelete_Click", "mdiMain.mnu_FieldDelete_Click"},
    {"mnu_DBAdd", "frmDatabase", "AddNew", 1, "mdiMain.mnu_DBAdd_Click", "mdiMain.mnu_DBAdd_Click"},
    {"mnu_DBEdit", "frmDatabase", "Edit", 2, "mdiMain.mnu_DBEdit_Click", "mdiMain.mnu_DBEdit_Click"},
    {"mnu_DBDelete", "frmDatabase", "Delete", 2, "mdiMain.mnu_DBDelete_Click", "mdiMain.mnu_DBDelete_Click"},
    {"mnu_TableAddNew", "frmTable", "AddNew", 2, "", "mdiMain.mnu_TableAddNew_Click"},
    {"mnu_TableEdit", "frmTable", "Edit", 3, "", "mdiMain.mnu_TableEdit_Click"},
    {"mnu_TableDelete", "frmTable", "Delete", 3, "", "mdiMain.mnu_TableDelete_Click"},
    {"mnu_ColumnAddNew", "frmColumn", "AddNew", 3, "mdiMain.mnu_ColumnAddNew_Click", "mdiMain.mnu_ColumnAddNew_Click"},
    {"mnu_ColumnEdit", "frmColumn", "Edit", 4, "mdiMain.mnu_ColumnEdit_Click", "mdiMain.mnu_ColumnEdit_Click"},
    {"mnu_ColumnDelete", "frmColumn", "Delete", 4, "mdiMain.mnu_ColumnDelete_Click", "mdiMain.mnu_ColumnDelete_Click"},
    {"mnu_UserAddNew", "frmUser", "AddNew", 1, "", "mdiMain.mnu_UserAddNew_Click"},
    {"mnu_UserEdit", "frmUser", "Edit", 2, "", "mdiMain.mnu_UserEdit_Click"},
    {"mnu_UserDelete", "frmUser", "Delete", 2, "", "mdiMain.mnu_UserDelete_Click"},
    {"mnu_DBPRVAddNew", "frmDBPRV", "AddNew", 2, "mdiMain.mnu_DBPRVAddNew_Click", "mdiMain.mnu_DBPRVAddNew_Click"},
    {"mnu_DBPRVEdit", "frmDBPRV", "Edit", 3, "mdiMain.mnu_DBPRVEdit_Click", "mdiMain.mnu_DBPRVEdit_Click"},
    {"mnu_DBPRVDelete", "frmDBPRV", "Delete", 3, "mdiMain.mnu_DBPRVDelete_Click", "mdiMain.mnuDBPRVDelete_Click"},
    {"mnu_TBLPRVAddNew", "frmTBLPRV", "AddNew", 3, "", "mdiMain.mnu_TBLPRVAddNew_Click"},
    {"mnu_TBLPRVEdit", "frmTBLPRV", "Edit", 4, "", "mdiMain.mnu_TBLPRVEdit_Click"},
    {"mnu_TBLPRVDelete", "frmTBLPRV", "Delete", 4, "", "mdiMain.mnu_TBLPRVDelete_Click"},
};

class NodeCommandTest : public MainWindowTest
{
protected:
    QAction *item(const QString &name)
    {
        auto *action = main().findChild<QAction *>(name);
        EXPECT_TRUE(action) << name.toStdString();
        return action;
    }
};

TEST_F(NodeCommandTest, EachEditorCommandOpensItsEditorWithItsKeyParts)
{
    RecordingPanes panes(kEditors);
    // A data source the tree does not show: the refresh after a column's delete finds nothing to reload.
    const QStringList keys = {"Elsewhere", "K1", "K2", "K3"};
    for (const EditorCommand &c : kCommands) {
        SCOPED_TRACE(c.item);
        const QString form = QString::fromLatin1(c.form);
        // Exactly as many key parts as the command passes.
        setCurrentItem(QStringLiteral("x"), keys.mid(0, c.keys));
        gMenuCommandRan() = false;
        item(QString::fromLatin1(c.item))->trigger();
        EXPECT_TRUE(gMenuCommandRan());
        RecordingPane *pane = RecordingPanes::pane(form);
        ASSERT_TRUE(pane);
        EXPECT_EQ(pane->calls, QStringList{QLatin1String(c.member) + QLatin1Char(':') + keys.mid(0, c.keys).join(',')});
        EXPECT_EQ(pane->traces, QStringList{QString::fromLatin1(c.pushed)});
        EXPECT_EQ(gCurrentPane().data(), pane);
        EXPECT_TRUE(gErrorTrace().List().isEmpty());
        pane->calls.clear();
        pane->traces.clear();

        // One key part fewer: a failure under the command's name; Ignore leaves it with the trace as it was.
        setCurrentItem(QStringLiteral("x"), keys.mid(0, c.keys - 1));
        ui().answerError(ui::vbIgnore);
        item(QString::fromLatin1(c.item))->trigger();
        ASSERT_EQ(ui().errors().size(), 1);
        EXPECT_EQ(ui().errors()[0].number, QStringLiteral("9"));
        EXPECT_EQ(ui().errors()[0].trappedIn, QString::fromLatin1(c.reported));
        if (*c.pushed) {
            EXPECT_EQ(ui().errors()[0].callStack.value(0), QString::fromLatin1(c.pushed));
        }
        EXPECT_TRUE(pane->calls.isEmpty());
        EXPECT_TRUE(gErrorTrace().List().isEmpty());
        ui().clear();
    }
}

TEST_F(NodeCommandTest, AnAddOnARowPassesItsParentsKeyParts)
{
    RecordingPanes panes(kEditors);
    setCurrentItem(QStringLiteral("co"), {"QnTest", "SALES", "CUSTOMER", "NAME"});
    item(QStringLiteral("mnu_ColumnAddNew"))->trigger();
    setCurrentItem(QStringLiteral("ta"), {"QnTest", "SALES", "CUSTOMER"});
    item(QStringLiteral("mnu_TableAddNew"))->trigger();
    EXPECT_EQ(RecordingPanes::calls("frmColumn"), QStringList{"AddNew:QnTest,SALES,CUSTOMER"});
    EXPECT_EQ(RecordingPanes::calls("frmTable"), QStringList{"AddNew:QnTest,SALES"});
}

// The copy items and the wizard open their dialogs with the current item's
// key parts; the table's copy leaves gMenuCommandRan alone. A key part
// missing goes to the error dialog under the command's name.
TEST_F(NodeCommandTest, CopyAndWizardItemsOpenTheirDialogs)
{
    struct Row
    {
        const char *item;
        const char *type;
        QStringList keys;
        const char *dialog;
        const char *shows; // the child whose text shows the item's name
        bool ran;
        const char *reported;
    };
    const QList<Row> rows = {
        {"mnu_DBCopy", "db", {"QnTest", "SALES"}, "frmDBCopy", "lblDB", true, "mdiMain.mnu_DBCopy_Click"},
        {"mnu_TableCopy", "ta", {"QnTest", "SALES", "CUSTOMER"}, "frmTableCopy", "lblTable", false,
         "mdiMain.mnu_TableCopy_Click"},
        {"mnu_FileCopy", "fi", {"QnTest", "CUSTOMER"}, "frmFileCopy", "lblFilename", true, "mdiMain.mnu_FileCopy_Click"},
        {"mnu_FileFileToTableWizard", "fi", {"QnTest", "CUSTOMER"}, "frmWizardFileToTable", "txtProperty_0", true,
         "mdiMain.mnu_FileFileToTableWizard_Click"},
    };
    for (const Row &r : rows) {
        SCOPED_TRACE(r.item);
        setCurrentItem(QString::fromLatin1(r.type), r.keys);
        gMenuCommandRan() = false;
        QString shown;
        ui().onModal([&](QDialog &d) {
            EXPECT_EQ(d.objectName(), QLatin1String(r.dialog));
            if (auto *label = d.findChild<QLabel *>(QLatin1String(r.shows)))
                shown = label->text();
            else if (auto *box = d.findChild<QLineEdit *>(QLatin1String(r.shows)))
                shown = box->text();
            return 0;
        });
        item(QString::fromLatin1(r.item))->trigger();
        EXPECT_EQ(gMenuCommandRan(), r.ran);
        EXPECT_EQ(shown, r.keys.last());
        EXPECT_TRUE(ui().errors().isEmpty());
        EXPECT_TRUE(gErrorTrace().List().isEmpty());

        if (QLatin1String(r.item) == QLatin1String("mnu_FileFileToTableWizard"))
            continue; // it opens on the data source alone for a node that is no file
        setCurrentItem(QString::fromLatin1(r.type), r.keys.mid(0, r.keys.size() - 1));
        ui().answerError(ui::vbIgnore);
        item(QString::fromLatin1(r.item))->trigger();
        ASSERT_EQ(ui().errors().size(), 1);
        EXPECT_EQ(ui().errors()[0].trappedIn, QString::fromLatin1(r.reported));
        ui().clear();
    }
    EXPECT_TRUE(ui().allAnswered());

    // The wizard on a node that is no file: the data source only, no file chosen.
    setCurrentItem(QStringLiteral("FI"), {"QnTest", "QnTest"});
    ui().onModal([&](QDialog &d) {
        EXPECT_EQ(d.findChild<QComboBox *>(QStringLiteral("cboFileDatasource"))->currentText(), QStringLiteral("QnTest"));
        EXPECT_EQ(d.findChild<QListWidget *>(QStringLiteral("lstFile"))->selectedItems().size(), 0);
        return 0;
    });
    item(QStringLiteral("mnu_FileFileToTableWizard"))->trigger();
    EXPECT_TRUE(ui().errors().isEmpty());
}

// View Data shows the table's data viewer through the pane host; the field
// reorder item refuses a node that is no field nor Fields folder.
TEST_F(NodeCommandTest, ViewDataAndReorderFieldsRunTheirCommands)
{
    RecordingPanes panes({"frmTableData"});
    setCurrentItem(QStringLiteral("ta"), {"QnTest", "SALES", "CUSTOMER"});
    gMenuCommandRan() = false;
    item(QStringLiteral("mnu_TableViewData"))->trigger();
    EXPECT_TRUE(gMenuCommandRan());
    ASSERT_TRUE(RecordingPanes::pane("frmTableData"));
    EXPECT_EQ(RecordingPanes::calls("frmTableData"), QStringList{"Display:QnTest,SALES,CUSTOMER"});

    setCurrentItem(QStringLiteral("ta"), {"QnTest"});
    ui().answerError(ui::vbIgnore);
    item(QStringLiteral("mnu_TableViewData"))->trigger();
    ASSERT_EQ(ui().errors().size(), 1);
    EXPECT_EQ(ui().errors()[0].trappedIn, QStringLiteral("mdiMain.mnu_TableViewData"));
    ui().clear();

    setCurrentItem(QStringLiteral("ta"), {"QnTest", "SALES", "CUSTOMER"});
    gMenuCommandRan() = false;
    ui().answerMsgBox(ui::vbOK);
    item(QStringLiteral("mnu_FieldReorder"))->trigger();
    EXPECT_TRUE(gMenuCommandRan());
    ASSERT_EQ(ui().shown().size(), 1);
    EXPECT_EQ(ui().shown()[0].text, QStringLiteral("Please select a Field Collection or field in a collection to re-order"));
}

} // namespace
