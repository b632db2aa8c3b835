#include "dragdrop.h"

#include <QSet>
#include <QTreeView>
#include <algorithm>
#include <utility>

#include "core/cconnections.h"
#include "core/errortrace.h"
#include "core/modupdate.h"
#include "dragops.h"
#include "panehost/panehost.h"
#include "tree/cnodes.h"
#include "tree/dragitem.h"
#include "tree/nodekey.h"
#include "tree/refreshnodepath.h"
#include "ui.h"

namespace modDragAndDrop {

namespace {

using Types = QSet<QString>;
using Operation = bool (*)(const DragItem &, const DragItem &, int);
using Refusal = bool (*)(const DragItem &source, const DragItem &target);

// Node types as a set.
Types types(std::initializer_list<const char *> names)
{
    Types set;
    for (const char *name : names)
        set.insert(QLatin1String(name));
    return set;
}

// The target types a rule names: all but `types` (`all`), or just `types`.
struct Accepted
{
    bool all;
    Types types;
    bool operator()(const QString &type) const { return all != types.contains(type); }
};

// What a dragged node type may be dropped on and what its drop does.
struct Route
{
    Types sources;
    Accepted over;  // the drag-over's target types ...
    Refusal refused; // ... and its refusals
    Accepted drop;  // the targets the drop runs the operation for
    Operation operation;
    QList<std::pair<QString, int>> path; // the folder refreshed: after "DSN=<K0>:", tag and key part
    QString pane;                        // the pane shown with the target's key parts
    bool expand = false;                 // the refreshed folder is expanded too
};

// The first `count` key parts of both items are the same (the data source as
// the registry names it, the others exactly); a part one of them lacks is not.
bool same(const DragItem &a, const DragItem &b, int count)
{
    for (int i = 0; i < count; ++i) {
        if (i >= a.Keys.size() || i >= b.Keys.size())
            return false;
        if (i == 0 ? !CConnections::SameName(a.Keys[0], b.Keys[0]) : a.Keys[i] != b.Keys[i])
            return false;
    }
    return true;
}

bool inCatalogDatabase(const DragItem &target) { return target.Keys.value(1) == QLatin1String("QN"); }

// A database's nodes down to its columns.
const Types &databaseRows()
{
    static const Types set = types({"db", "TA", "ta", "CO", "co"});
    return set;
}
// The database side of a data source, its Databases folder included, and the user side.
const Types &databaseAndUserSide()
{
    static const Types set = types({"DB", "db", "TA", "ta", "CO", "co", "US", "us", "DBPRV", "dbprv", "TBLPRV", "tblprv"});
    return set;
}

// One row per draggable node type.
QList<Route> buildRoutes()
{
    const Types fields = types({"fi", "FD", "fd"});
    const Types columnSide = types({"ta", "CO", "co"});
    const Types dbprvSide = types({"db", "DBPRV", "dbprv"});
    const Types tblprvSide = types({"ta", "CO", "co", "TBLPRV", "tblprv"});
    const Accepted all{true, {}};
    using P = QList<std::pair<QString, int>>;
    const P files{{"FI", 0}}, file{{"FI", 0}, {"fi", 1}}, databases{{"DB", 0}}, oneDatabase{{"DB", 0}, {"db", 1}};
    const P tables = oneDatabase + P{{"TA", 1}}, table = tables + P{{"ta", 2}};
    const QList<Route> folders = {
        {types({"FI"}), all, [](const DragItem &s, const DragItem &t) { return same(s, t, 1); },
         {true, databaseAndUserSide()}, &DragFilesToDSN, files, QStringLiteral("frmFiles")},
        {types({"fi"}), all,
         [](const DragItem &s, const DragItem &t) {
             return same(s, t, 1) || databaseAndUserSide().contains(t.NodeType);
         },
         {true, databaseRows()}, &DragFileToDSN, files, QStringLiteral("frmFiles")},
        {types({"FD"}), {false, fields}, [](const DragItem &s, const DragItem &t) {
             // The catalog's own files, KEY included.
             static const Types own = types({"CNTRL", "COLUMN", "DB", "DBPRV", "DRIVER", "FIELD", "FILE", "KEY",
                                             "LOCDT", "SQLDT", "TABLE", "TBLPRV", "USER"});
             return same(s, t, 2) || own.contains(t.Keys.value(1));
         },
         {false, fields}, &DragFieldsToFile, file, QStringLiteral("frmFields")},
        {types({"DB"}), all, [](const DragItem &s, const DragItem &t) {
             return same(s, t, 1) || (databaseRows().contains(t.NodeType) && inCatalogDatabase(t));
         },
         all, &DragDBsToDSN, databases, QStringLiteral("frmDatabases")},
        {types({"TA"}), {false, databaseRows()},
         [](const DragItem &s, const DragItem &t) { return inCatalogDatabase(t) || same(s, t, 2); },
         {false, databaseRows()},
         &DragTablesToDB, tables, QStringLiteral("frmTables")},
        {types({"CO"}), {false, columnSide},
         [](const DragItem &s, const DragItem &t) { return inCatalogDatabase(t) || same(s, t, 3); },
         {false, columnSide}, &DragColumnsToTable, table + P{{"CO", 2}}, QStringLiteral("frmColumns")},
        {types({"US"}), all, [](const DragItem &s, const DragItem &t) { return same(s, t, 1); }, all, &DragUsersToDSN,
         P{{"US", 0}}, QStringLiteral("frmUsers")},
        {types({"DBPRV"}), {false, dbprvSide}, [](const DragItem &s, const DragItem &t) { return same(s, t, 2); },
         {false, dbprvSide}, &DragDBPRVsToDB, oneDatabase + P{{"DBPRV", 1}}, QStringLiteral("frmDBPRVs")},
        {types({"TBLPRV"}), {false, tblprvSide}, [](const DragItem &s, const DragItem &t) { return same(s, t, 3); },
         {false, tblprvSide}, &DragTBLPRVsToTable, table, QStringLiteral("frmTBLPRVs")},
    };
    // The one-item rows: their folder's rules, their own operation.
    const auto item = [&](const char *folder, const char *type, Operation operation) {
        Route row = *std::find_if(folders.begin(), folders.end(),
                                  [&](const Route &r) { return r.sources.contains(QLatin1String(folder)); });
        row.sources = types({type});
        row.operation = operation;
        return row;
    };
    Route field = item("FD", "fd", &DragFieldToFile);
    field.path << std::pair<QString, int>{QStringLiteral("FD"), 1};
    Route database = item("DB", "db", &DragDBToDSN);
    database.drop = {false, types({"DSN", "FDSN", "DB", "db", "TA", "ta", "CO", "co"})};
    Route tblprv = item("TBLPRV", "tblprv", &DragTBLPRVToTable);
    tblprv.path << std::pair<QString, int>{QStringLiteral("TBLPRV"), 2};
    tblprv.expand = true;
    return folders + QList<Route>{field,
                                  database,
                                  item("TA", "ta", &DragTableToDB),
                                  item("CO", "co", &DragColumnToTable),
                                  item("US", "us", &DragUserToDSN),
                                  item("DBPRV", "dbprv", &DragDBPRVToDB),
                                  tblprv};
}

const QList<Route> &routes()
{
    static const QList<Route> list = buildRoutes();
    return list;
}

const Route *routeOf(const QString &type)
{
    for (const Route &route : routes())
        if (route.sources.contains(type))
            return &route;
    return nullptr;
}

// The node key of the route's folder for an item's key parts.
QString pathOf(const Route &route, const DragItem &item)
{
    QString key = NodeKey::Datasource(item.Keys.value(0));
    for (const auto &[tag, part] : route.path)
        key = NodeKey::Child(key, tag, item.Keys.value(part));
    return key;
}

// Runs one step after a drop was done; a failure skips it.
template <class Fn> void quietly(Fn &&fn)
{
    try {
        fn();
    } catch (const std::exception &) {
    }
}

void refresh(const Route &route, const QString &key)
{
    quietly([&] { modGUI::RefreshNodePath(key); });
    if (route.expand)
        quietly([&] { gNodes().SetExpanded(gNodes().TreeNode(key), true); });
}

} // namespace

Handler &Handler::Instance()
{
    static Handler handler;
    return handler;
}

bool Handler::DoDragOver(QTreeView *Source, const DragItem &SourceItem, const DragItem &TargetItem)
{
    TraceScope trace(QStringLiteral("modDragAndDrop.DoDragOver"));
    m_dropAllowed = true;
    if (SourceItem.NodeType.isEmpty() || !gDragInProgress() || TargetItem.NodeType.isEmpty() || !Source)
        return false;
    // Over the dragged node itself: no drop, the picture unchanged.
    if (TargetItem.NodeType == SourceItem.NodeType && same(SourceItem, TargetItem, int(SourceItem.Keys.size()))) {
        m_dropAllowed = false;
        return false;
    }
    // A data source is never dragged.
    if (NodeKey::IsDatasourceType(SourceItem.NodeType))
        return false;
    try {
        const Route *route = routeOf(SourceItem.NodeType);
        m_dropAllowed = route && route->over(TargetItem.NodeType) && !route->refused(SourceItem, TargetItem);
    } catch (const std::exception &) {
        m_dropAllowed = false;
    }
    SetDragPicture(Source, m_dropAllowed ? SourceItem.DragIcon : QStringLiteral("No Drop"));
    return false;
}

void Handler::DoDragDrop(QTreeView *, const DragItem &SourceItem, const DragItem &TargetItem)
{
    TraceScope trace(QStringLiteral("modDragAndDrop.DoDragDrop"));
    // Its questions and units hold the tree's items: the window stays meanwhile.
    const modUpdate::WorkInProgress work;
    gDragInProgress() = false;
    const bool allowed = std::exchange(m_dropAllowed, false);
    try {
        // Copies: a refresh rewrites the current item and destroys nodes.
        const DragItem source = SourceItem, target = TargetItem;
        const Route *route = routeOf(source.NodeType);
        if (!allowed || !route || !route->drop(target.NodeType))
            return;
        const QString sourcePath = pathOf(*route, source), targetPath = pathOf(*route, target);
        const QStringList paneKeys = target.Keys;
        bool done = false;
        try {
            done = route->operation(source, target, -1);
        } catch (const std::exception &) {
            // Not run again: part of it may be written already.
            if (ReportFailure(currentFailure(std::current_exception()), QStringLiteral("modDragAndDrop.DoDragDrop")) ==
                ui::vbAbort)
                AbortProgram();
            return;
        }
        if (!done)
            return;
        refresh(*route, sourcePath);
        refresh(*route, targetPath);
        quietly([&] { PaneHost::Get().PaneDisplay(route->pane, paneKeys); });
    } catch (const std::exception &) {
    }
}

} // namespace modDragAndDrop
