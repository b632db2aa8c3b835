// The explorer's context menus: the main window's nine menu groups, and the
// one table that says what each item runs. An item without a row in the table
// shows (as the tree decides) but runs nothing; connecting it is adding its row.

#include "nodecommands.h"

#include <QAction>
#include <QCursor>
#include <QMenu>
#include <QStandardItem>
#include <functional>
#include <optional>

#include "core/errortrace.h"
#include "core/modgui.h"
#include "mdimain.h"
#include "panehost/panehost.h"
#include "tree/cnodes.h"
#include "tree/dragitem.h"
#include "tree/nodekey.h"
#include "tree/refreshnodepath.h"
#include "ui.h"

namespace {

// The groups and their items in menu order; "-" is a separator.
struct MenuItem
{
    const char *name;
    const char *caption;
};
struct MenuGroup
{
    const char *name;
    const char *caption;
    QList<MenuItem> items;
};

const QList<MenuGroup> &menuGroups()
{
    static const QList<MenuGroup> groups = {
        {"mnu_DSN",
         "DSN",
         {{"mnu_DSNConnect", "&Connect"},
          {"mnu_DSNExpandAll", "E&xpand All"},
          {"mnu_DSNImport", "&Import Catalog"},
          {"mnu_DSNExport", "&Export Catalog"},
          {"mnu_DSNClear", "C&lear Catalog"},
          {"mnu_DSNDisconnect", "&Disconnect"}}},
        {"mnu_File",
         "_File",
         {{"mnu_FileExpandAll", "E&xpand All"},
          {"mnu_FileAdd", "&Add New File"},
          {"mnu_FileEdit", "&Edit File"},
          {"mnu_FileSep1", "-"},
          {"mnu_FileCopy", "&Copy"},
          {"mnu_FileSep2", "-"},
          {"mnu_FileDelete", "&Delete File"},
          {"mnu_FileFileToTableWizard", "File to Table &Wizard"}}},
        {"mnu_Field",
         "_Field",
         {{"mnu_FieldAddNew", "&Add New Field"},
          {"mnu_FieldEdit", "&Edit Field"},
          {"mnu_FieldDelete", "&Delete Field"},
          {"mnu_FieldRecalculate", "Recalulate &Offsets"},
          {"mnu_FieldReorder", "&Reorder Fields"}}},
        {"mnu_DB",
         "_DB",
         {{"mnu_DBExpandAll", "E&xpand All"},
          {"mnu_DBAdd", "&Add New Database"},
          {"mnu_DBEdit", "&Edit Database"},
          {"mnu_DBDelete", "&Delete Database"},
          {"mnu_DBSep1", "-"},
          {"mnu_DBCopy", "&Copy"}}},
        {"mnu_Table",
         "_Table",
         {{"mnu_TableExpandAll", "E&xpand All"},
          {"mnu_TableAddNew", "&Add New Table"},
          {"mnu_TableEdit", "&Edit Table"},
          {"mnu_TableDelete", "&Delete Table"},
          {"mnu_TableViewData", "&View Data"},
          {"mnu_TableSep1", "-"},
          {"mnu_TableCopy", "&Copy"}}},
        {"mnu_Column",
         "_Column",
         {{"mnu_ColumnAddNew", "&Add New Column"},
          {"mnu_ColumnEdit", "&Edit Column"},
          {"mnu_ColumnDelete", "&Delete Column"},
          {"mnu_ColumnReorder", "&Reorder Columns"}}},
        {"mnu_User",
         "_User",
         {{"mnu_UserAddNew", "&Add New User"}, {"mnu_UserEdit", "&Edit User"}, {"mnu_UserDelete", "&Delete User"}}},
        {"mnu_DBPRV",
         "DBPRV",
         {{"mnu_DBPRVAddNew", "&Add New User Privileges"},
          {"mnu_DBPRVEdit", "&Edit User's Privileges"},
          {"mnu_DBPRVDelete", "&Delete User's Privileges"}}},
        {"mnu_TBLPRV",
         "TBLPRV",
         {{"mnu_TBLPRVAddNew", "&Add New User Priveleges"},
          {"mnu_TBLPRVEdit", "&Edit User's Privileges"},
          {"mnu_TBLPRVDelete", "&Delete User's Privileges"}}},
    };
    return groups;
}

// ------------------------------------------------------------ editor commands

enum class Host { AddNew, Edit, Delete };

using Command = std::function<void(mdiMain &)>;

// The first `count` key parts of the current item; a part it lacks is a failure.
QStringList currentKeys(int count)
{
    QStringList keys;
    for (int part = 0; part < count; ++part)
        keys << gCurrentItem().Key(part);
    return keys;
}

// A command that opens the single-record editor `form` through the pane host:
// pushes `pushed` (none when empty), sets gMenuCommandRan, takes the first
// `keys` key parts of the current item (a part it lacks is a failure), calls
// the host, then `after` with the key parts. Failures go to the error dialog
// as `reported`; Ignore leaves (popping what it pushed).
Command editor(const char *form, Host host, int keys, const char *pushed, const char *reported,
               std::function<void(const QStringList &)> after = {})
{
    return [=, form = QString::fromLatin1(form), pushed = QString::fromLatin1(pushed),
            reported = QString::fromLatin1(reported)](mdiMain &main) {
        std::optional<TraceScope> trace;
        if (!pushed.isEmpty())
            trace.emplace(pushed);
        ErrorHandler handler(reported);
        gMenuCommandRan() = true;
        QStringList arguments;
        const bool built = handler.step([&] { arguments = currentKeys(keys); });
        if (!built || !handler.step([&] {
                switch (host) {
                case Host::AddNew: main.PaneAddNew(form, arguments); break;
                case Host::Edit: main.PaneEdit(form, arguments); break;
                case Host::Delete: main.PaneDelete(form, arguments); break;
                }
            }))
            return;
        if (after)
            handler.step([&] { after(arguments); });
    };
}

// After a column's delete, whatever the answer: the Columns folder of its table.
void refreshColumns(const QStringList &k)
{
    modGUI::RefreshNodePath(NodeKey::Child(NodeKey::Table(k[0], k[1], k[2]), QStringLiteral("CO"), k[2]));
}

// The field reorder dialog on a file's Fields folder or one of its fields; then
// the tree revealed and reloaded along the Fields folder and the file's Fields grid.
void mnu_FieldReorder_Click()
{
    const QString routine = QStringLiteral("mdiMain.mnu_FieldReorder");
    TraceScope trace(routine);
    ErrorHandler handler(routine);
    gMenuCommandRan() = true;
    const DragItem item = gCurrentItem();
    if (item.NodeType != QLatin1String("FD") && item.NodeType != QLatin1String("fd")) {
        Ui().MsgBox(QStringLiteral("Please select a Field Collection or field in a collection to re-order"),
                    ui::vbInformation);
        return;
    }
    QString ds, file;
    if (!handler.step([&] {
            ds = item.Key(0);
            file = item.Key(1);
            dialogs::Open(QStringLiteral("frmFieldReorder"), {ds, file});
        }))
        return;
    // From here a failing step is passed over and the next one runs.
    try {
        modGUI::RefreshNodePath(NodeKey::Child(NodeKey::File(ds, file), QStringLiteral("FD"), file));
    } catch (const std::exception &) {
    }
    if (ExplorerWindow *window = ExplorerWindow::Current())
        window->PaneDisplay(QStringLiteral("frmFields"), {ds, file});
}

// A copy dialog opened with the current item's first `keys` key parts;
// `ran` sets gMenuCommandRan. Failures go to the error dialog as `reported`.
Command copyDialog(const char *form, int keys, bool ran, const char *reported)
{
    return [=, form = QString::fromLatin1(form), reported = QString::fromLatin1(reported)](mdiMain &) {
        ErrorHandler handler(reported);
        if (ran)
            gMenuCommandRan() = true;
        QStringList k;
        handler.step([&] { k = currentKeys(keys); }) && handler.step([&] { dialogs::Open(form, k); });
    };
}

Command slot(void (mdiMain::*handler)())
{
    return [handler](mdiMain &main) { (main.*handler)(); };
}

// What each item runs.
struct CommandRow
{
    const char *item;
    Command run;
};

const QList<CommandRow> &commandTable()
{
    static const QList<CommandRow> rows = {
        // Data sources.
        {"mnu_DSNConnect", slot(&mdiMain::mnu_DSNConnect_Click)},
        {"mnu_DSNExpandAll", slot(&mdiMain::mnu_DSNExpandAll_Click)},
        {"mnu_DSNImport", slot(&mdiMain::mnuFileImportCSV_Click)},
        {"mnu_DSNExport", slot(&mdiMain::mnuFileExportCSV_Click)},
        {"mnu_DSNClear", slot(&mdiMain::mnu_DSNClear_Click)},
        {"mnu_DSNDisconnect", slot(&mdiMain::mnu_DSNDisconnect_Click)},
        // Expand All below a file, a database or a table.
        {"mnu_FileExpandAll",
         [](mdiMain &) { nodecommands::ExpandAll(QStringLiteral("mdiMain.mnu_FileExpandAll_Click"), true, false); }},
        {"mnu_DBExpandAll",
         [](mdiMain &) { nodecommands::ExpandAll(QStringLiteral("mdiMain.mnu_DBExpandAll_Click"), true, false); }},
        {"mnu_TableExpandAll",
         [](mdiMain &) { nodecommands::ExpandAll(QStringLiteral("mdiMain.mnu_TableExpandAll_Click"), false, false); }},
        {"mnu_FieldRecalculate", slot(&mdiMain::mnu_FieldRecalculate_Click)},
        // Add, edit and delete: the editor form, the host operation, the key
        // parts passed, the trace name pushed (none: "") and the name the error
        // dialog is given.
        {"mnu_FileAdd", editor("frmFile", Host::AddNew, 1, "mdiMain.mnu_FileAdd_Click", "mdiMain.mnu_FileAdd_Click")},
        {"mnu_FileEdit", editor("frmFile", Host::Edit, 2, "", "mdiMain.mnu_FileEdit_Click")},
        {"mnu_FileDelete", editor("frmFile", Host::Delete, 2, "", "mdiMain.mnu_FileDelete")},
        {"mnu_FieldAddNew",
         editor("frmField", Host::AddNew, 2, "mdiMain.mnu_FieldAddNew_Click", "mdiMain.mnu_FieldAddNew")},
        {"mnu_FieldEdit",
         editor("frmField", Host::Edit, 3, "mdiMain.mnu_FieldEdit_Click", "mdiMain.mnu_FieldEdit_Click")},
        {"mnu_FieldDelete",
         editor("frmField", Host::Delete, 3, "mdiMain.mnu_FieldDelete_Click", "mdiMain.mnu_FieldDelete_Click")},
        {"mnu_DBAdd", editor("frmDatabase", Host::AddNew, 1, "mdiMain.mnu_DBAdd_Click", "mdiMain.mnu_DBAdd_Click")},
        {"mnu_DBEdit", editor("frmDatabase", Host::Edit, 2, "mdiMain.mnu_DBEdit_Click", "mdiMain.mnu_DBEdit_Click")},
        {"mnu_DBDelete",
         editor("frmDatabase", Host::Delete, 2, "mdiMain.mnu_DBDelete_Click", "mdiMain.mnu_DBDelete_Click")},
        {"mnu_TableAddNew", editor("frmTable", Host::AddNew, 2, "", "mdiMain.mnu_TableAddNew_Click")},
        {"mnu_TableEdit", editor("frmTable", Host::Edit, 3, "", "mdiMain.mnu_TableEdit_Click")},
        {"mnu_TableDelete", editor("frmTable", Host::Delete, 3, "", "mdiMain.mnu_TableDelete_Click")},
        {"mnu_ColumnAddNew",
         editor("frmColumn", Host::AddNew, 3, "mdiMain.mnu_ColumnAddNew_Click", "mdiMain.mnu_ColumnAddNew_Click")},
        {"mnu_ColumnEdit",
         editor("frmColumn", Host::Edit, 4, "mdiMain.mnu_ColumnEdit_Click", "mdiMain.mnu_ColumnEdit_Click")},
        {"mnu_ColumnDelete", editor("frmColumn", Host::Delete, 4, "mdiMain.mnu_ColumnDelete_Click",
                                    "mdiMain.mnu_ColumnDelete_Click", refreshColumns)},
        // The column reorder dialog; the Columns folder refreshed once it closed, by OK or Cancel.
        {"mnu_ColumnReorder",
         [](mdiMain &) {
             const QString routine = QStringLiteral("mdiMain.mnu_ColumnReorder_Click");
             TraceScope trace(routine);
             ErrorHandler handler(routine);
             gMenuCommandRan() = true;
             QStringList k;
             handler.step([&] { k = currentKeys(3); }) &&
                 handler.step([&] { dialogs::Open(QStringLiteral("frmColumnReorder"), k); }) &&
                 handler.step([&] { refreshColumns(k); });
         }},
        {"mnu_FieldReorder", [](mdiMain &) { mnu_FieldReorder_Click(); }},
        // The copy dialogs, with the current item's data source and name(s).
        {"mnu_DBCopy", copyDialog("frmDBCopy", 2, true, "mdiMain.mnu_DBCopy_Click")},
        {"mnu_TableCopy", copyDialog("frmTableCopy", 3, false, "mdiMain.mnu_TableCopy_Click")},
        {"mnu_FileCopy", copyDialog("frmFileCopy", 2, true, "mdiMain.mnu_FileCopy_Click")},
        // The wizard: on a file, with its data source and the file; otherwise with the data source only.
        {"mnu_FileFileToTableWizard",
         [](mdiMain &) {
             ErrorHandler handler(QStringLiteral("mdiMain.mnu_FileFileToTableWizard_Click"));
             gMenuCommandRan() = true;
             QStringList k;
             handler.step([&] {
                 k = gCurrentItem().NodeType == QLatin1String("fi") ? currentKeys(2) : currentKeys(1);
                 k.resize(3);
             }) && handler.step([&] { dialogs::Open(QStringLiteral("frmWizardFileToTable"), k); });
         }},
        // The table's data viewer through the pane host.
        {"mnu_TableViewData",
         [](mdiMain &main) {
             ErrorHandler handler(QStringLiteral("mdiMain.mnu_TableViewData"));
             gMenuCommandRan() = true;
             QStringList k;
             handler.step([&] { k = currentKeys(3); }) &&
                 handler.step([&] { main.PaneDisplay(QStringLiteral("frmTableData"), k); });
         }},
        {"mnu_UserAddNew", editor("frmUser", Host::AddNew, 1, "", "mdiMain.mnu_UserAddNew_Click")},
        {"mnu_UserEdit", editor("frmUser", Host::Edit, 2, "", "mdiMain.mnu_UserEdit_Click")},
        {"mnu_UserDelete", editor("frmUser", Host::Delete, 2, "", "mdiMain.mnu_UserDelete_Click")},
        {"mnu_DBPRVAddNew",
         editor("frmDBPRV", Host::AddNew, 2, "mdiMain.mnu_DBPRVAddNew_Click", "mdiMain.mnu_DBPRVAddNew_Click")},
        {"mnu_DBPRVEdit",
         editor("frmDBPRV", Host::Edit, 3, "mdiMain.mnu_DBPRVEdit_Click", "mdiMain.mnu_DBPRVEdit_Click")},
        {"mnu_DBPRVDelete",
         editor("frmDBPRV", Host::Delete, 3, "mdiMain.mnu_DBPRVDelete_Click", "mdiMain.mnuDBPRVDelete_Click")},
        {"mnu_TBLPRVAddNew", editor("frmTBLPRV", Host::AddNew, 3, "", "mdiMain.mnu_TBLPRVAddNew_Click")},
        {"mnu_TBLPRVEdit", editor("frmTBLPRV", Host::Edit, 4, "", "mdiMain.mnu_TBLPRVEdit_Click")},
        {"mnu_TBLPRVDelete", editor("frmTBLPRV", Host::Delete, 4, "", "mdiMain.mnu_TBLPRVDelete_Click")},
    };
    return rows;
}

const Command *commandOf(const QString &item)
{
    for (const CommandRow &row : commandTable())
        if (item == QLatin1String(row.item))
            return &row.run;
    return nullptr;
}

} // namespace

void mdiMain::createNodeMenus()
{
    for (const MenuGroup &group : menuGroups()) {
        auto *menu = new QMenu(QString::fromUtf8(group.caption), this);
        menu->setObjectName(QString::fromLatin1(group.name));
        // A separator shows wherever the tree leaves it visible, first or last included.
        menu->setSeparatorsCollapsible(false);
        for (const MenuItem &item : group.items) {
            const QString caption = QString::fromUtf8(item.caption);
            QAction *action = caption == QLatin1String("-") ? menu->addSeparator() : menu->addAction(caption);
            action->setObjectName(QString::fromLatin1(item.name));
            if (const Command *command = commandOf(action->objectName()))
                connect(action, &QAction::triggered, this, [this, command] { (*command)(*this); });
        }
        m_nodeMenus.append(menu);
    }
}

QMenu *mdiMain::NodeMenu(const QString &group) const
{
    for (QMenu *menu : m_nodeMenus)
        if (menu->objectName() == group)
            return menu;
    return nullptr;
}

void mdiMain::PopupMenu(QMenu *menu)
{
    if (!menu)
        qnerr::raise(qnerr::ObjectNotSet);
    menu->exec(QCursor::pos());
}

namespace nodecommands {

void ExpandAll(const QString &routine, bool ask, bool collapseLoneChild)
{
    if (ask) {
        gMenuCommandRan() = true;
        if (Ui().MsgBox(QStringLiteral("This process could take some time.\r\nAre you sure you wish to Expand All?"),
                        ui::vbYesNo + ui::vbQuestion) != ui::vbYes)
            return;
    }
    ErrorHandler handler(routine);
    if (!handler.step([] { gNodes().ExpandChildren(gNodes().SelectedItem()); }) || !collapseLoneChild)
        return;
    // The node selected now: the loader may have moved the selection.
    handler.step([] {
        const CNodePtr selected = gNodes().SelectedItem();
        if (!selected)
            qnerr::raise(qnerr::ObjectNotSet);
        QStandardItem *node = gNodes().TreeNode(selected->Key);
        if (node->rowCount() == 1)
            gNodes().SetExpanded(node, false);
    });
}

} // namespace nodecommands
