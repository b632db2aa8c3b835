// The explorer node's context menu: which items of the window's menu group a
// node offers, and the pop-up.

#include "nodemenu.h"

#include <QAction>
#include <QMenu>

#include "cnodes.h"
#include "dragitem.h"
#include "explorer.h"
#include "explorerwindow.h"
#include "qnerror.h"

namespace {

// What a visibility setting depends on.
enum class When {
    Always,
    Never,
    Unconnected,    // the data-source node shows "DSN Ghost"
    Connected,      // any other picture
    EngineFile,     // key part 1 is one of the engine's own files
    CatalogDatabase // key part 1 is the catalog's own database
};

// Items made visible or invisible when a condition holds.
struct Setting
{
    When when;
    bool visible;
    QStringList items;
};

// A node type's menu group, its settings in order (a later one overrides an
// earlier one; items not named keep the state the last menu left), and when
// no menu opens at all.
struct MenuRow
{
    QStringList types;
    QString group;
    QList<Setting> settings;
    When noMenu = When::Never;
};

const QList<MenuRow> &menuRows()
{
    const When always = When::Always;
    static const QList<MenuRow> rows = {
        {{QStringLiteral("DSN"), QStringLiteral("FDSN")},
         QStringLiteral("mnu_DSN"),
         {{When::Unconnected, true, {QStringLiteral("mnu_DSNConnect")}},
          {When::Unconnected, false,
           {QStringLiteral("mnu_DSNClear"), QStringLiteral("mnu_DSNDisconnect"), QStringLiteral("mnu_DSNExpandAll"),
            QStringLiteral("mnu_DSNExport"), QStringLiteral("mnu_DSNImport")}},
          {When::Connected, true,
           {QStringLiteral("mnu_DSNClear"), QStringLiteral("mnu_DSNDisconnect"), QStringLiteral("mnu_DSNExpandAll"),
            QStringLiteral("mnu_DSNExport"), QStringLiteral("mnu_DSNImport")}},
          {When::Connected, false, {QStringLiteral("mnu_DSNConnect")}}}},
        {{QStringLiteral("FI")},
         QStringLiteral("mnu_File"),
         {{always, false,
           {QStringLiteral("mnu_FileDelete"), QStringLiteral("mnu_FileEdit"), QStringLiteral("mnu_FileFileToTableWizard"),
            QStringLiteral("mnu_FileSep1"), QStringLiteral("mnu_FileSep2"), QStringLiteral("mnu_FileCopy")}}}},
        {{QStringLiteral("fi")},
         QStringLiteral("mnu_File"),
         {{always, true,
           {QStringLiteral("mnu_FileDelete"), QStringLiteral("mnu_FileEdit"), QStringLiteral("mnu_FileAdd"),
            QStringLiteral("mnu_FileFileToTableWizard"), QStringLiteral("mnu_FileSep1"), QStringLiteral("mnu_FileSep2"),
            QStringLiteral("mnu_FileCopy")}},
          {When::EngineFile, false,
           {QStringLiteral("mnu_FileDelete"), QStringLiteral("mnu_FileEdit"),
            QStringLiteral("mnu_FileFileToTableWizard")}}}},
        {{QStringLiteral("FD")},
         QStringLiteral("mnu_Field"),
         {{always, false, {QStringLiteral("mnu_FieldDelete"), QStringLiteral("mnu_FieldEdit")}}},
         When::EngineFile},
        {{QStringLiteral("fd")},
         QStringLiteral("mnu_Field"),
         {{always, true,
           {QStringLiteral("mnu_FieldDelete"), QStringLiteral("mnu_FieldEdit"), QStringLiteral("mnu_FieldRecalculate")}}},
         When::EngineFile},
        {{QStringLiteral("DB")},
         QStringLiteral("mnu_DB"),
         {{always, false,
           {QStringLiteral("mnu_DBDelete"), QStringLiteral("mnu_DBEdit"), QStringLiteral("mnu_DBCopy"),
            QStringLiteral("mnu_DBSep1")}}}},
        {{QStringLiteral("db")},
         QStringLiteral("mnu_DB"),
         {{always, true, {QStringLiteral("mnu_DBDelete"), QStringLiteral("mnu_DBEdit")}},
          {When::CatalogDatabase, false, {QStringLiteral("mnu_DBDelete"), QStringLiteral("mnu_DBEdit")}},
          {always, true, {QStringLiteral("mnu_DBCopy"), QStringLiteral("mnu_DBSep1")}}}},
        {{QStringLiteral("TA")},
         QStringLiteral("mnu_Table"),
         {{always, true, {QStringLiteral("mnu_TableAddNew")}},
          {always, false,
           {QStringLiteral("mnu_TableDelete"), QStringLiteral("mnu_TableEdit"), QStringLiteral("mnu_TableViewData"),
            QStringLiteral("mnu_TableCopy"), QStringLiteral("mnu_TableSep1")}},
          {When::CatalogDatabase, false, {QStringLiteral("mnu_TableAddNew")}}}},
        {{QStringLiteral("ta")},
         QStringLiteral("mnu_Table"),
         {{always, true,
           {QStringLiteral("mnu_TableAddNew"), QStringLiteral("mnu_TableDelete"), QStringLiteral("mnu_TableEdit"),
            QStringLiteral("mnu_TableViewData")}},
          {When::CatalogDatabase, false,
           {QStringLiteral("mnu_TableAddNew"), QStringLiteral("mnu_TableDelete"), QStringLiteral("mnu_TableEdit")}},
          {always, true, {QStringLiteral("mnu_TableCopy"), QStringLiteral("mnu_TableSep1")}}}},
        {{QStringLiteral("CO")},
         QStringLiteral("mnu_Column"),
         {{always, false, {QStringLiteral("mnu_ColumnDelete"), QStringLiteral("mnu_ColumnEdit")}}},
         When::CatalogDatabase},
        {{QStringLiteral("co")},
         QStringLiteral("mnu_Column"),
         {{always, true, {QStringLiteral("mnu_ColumnDelete"), QStringLiteral("mnu_ColumnEdit")}}},
         When::CatalogDatabase},
        {{QStringLiteral("US")},
         QStringLiteral("mnu_User"),
         {{always, false, {QStringLiteral("mnu_UserDelete"), QStringLiteral("mnu_UserEdit")}}}},
        {{QStringLiteral("us")},
         QStringLiteral("mnu_User"),
         {{always, true, {QStringLiteral("mnu_UserDelete"), QStringLiteral("mnu_UserEdit")}}}},
        {{QStringLiteral("DBPRV")},
         QStringLiteral("mnu_DBPRV"),
         {{always, false, {QStringLiteral("mnu_DBPRVDelete"), QStringLiteral("mnu_DBPRVEdit")}}}},
        {{QStringLiteral("dbprv")},
         QStringLiteral("mnu_DBPRV"),
         {{always, true, {QStringLiteral("mnu_DBPRVDelete"), QStringLiteral("mnu_DBPRVEdit")}}}},
        {{QStringLiteral("TBLPRV")},
         QStringLiteral("mnu_TBLPRV"),
         {{always, false, {QStringLiteral("mnu_TBLPRVDelete"), QStringLiteral("mnu_TBLPRVEdit")}}},
         When::CatalogDatabase},
        {{QStringLiteral("tblprv")},
         QStringLiteral("mnu_TBLPRV"),
         {{always, true, {QStringLiteral("mnu_TBLPRVDelete"), QStringLiteral("mnu_TBLPRVEdit")}}},
         When::CatalogDatabase},
    };
    return rows;
}

const MenuRow *menuRow(const QString &nodeType)
{
    for (const MenuRow &row : menuRows())
        if (row.types.contains(nodeType)) // exact and case-sensitive
            return &row;
    return nullptr;
}

// True when the data-source node of the item shows the unconnected picture.
bool unconnected(const DragItem &item)
{
    if (!item.Node)
        qnerr::raise(qnerr::ObjectNotSet);
    return CNodes::Image(gNodes().TreeNode(item.Node->Key)) == QLatin1String("DSN Ghost");
}

bool holds(When when, const DragItem &item)
{
    switch (when) {
    case When::Always: return true;
    case When::Never: return false;
    case When::Unconnected: return unconnected(item);
    case When::Connected: return !unconnected(item);
    case When::EngineFile: return IsEngineFile(item.Key(1));
    case When::CatalogDatabase: return item.Key(1) == QLatin1String("QN");
    }
    return false;
}

QAction *menuItem(const QMenu &menu, const QString &name)
{
    for (QAction *action : menu.actions())
        if (action->objectName() == name)
            return action;
    qnerr::raise(qnerr::ObjectNotSet, QStringLiteral("The menu %1 has no item %2.").arg(menu.objectName(), name));
}

} // namespace

namespace modGUI {

void PopupNodeMenu(DragItem &Item)
{
    gMenuCommandRan() = false;
    const MenuRow *row = menuRow(Item.NodeType);
    if (!row)
        return; // "SCO", a placeholder, empty space, any other type: no menu
    ExplorerWindow *window = ExplorerWindow::Current();
    QMenu *menu = window ? window->NodeMenu(row->group) : nullptr;
    if (!menu)
        qnerr::raise(qnerr::ObjectNotSet);
    for (const Setting &setting : row->settings)
        if (holds(setting.when, Item))
            for (const QString &name : setting.items)
                menuItem(*menu, name)->setVisible(setting.visible);
    if (holds(row->noMenu, Item))
        return;
    window->PopupMenu(menu);
}

} // namespace modGUI
