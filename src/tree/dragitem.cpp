#include "dragitem.h"

#include <QHash>
#include <QStandardItem>

#include "cnodes.h"
#include "core/errortrace.h"

namespace {

// Per node type: the key parts, as the number of levels up to the node whose
// NodeData each part is (0: the node itself), and the drag picture.
struct ItemShape
{
    QList<int> levels;
    QString dragIcon;
};

const QHash<QString, ItemShape> &shapes()
{
    const QString file = QStringLiteral("Drag File"), field = QStringLiteral("Drag Field"),
                  database = QStringLiteral("Drag Database"), table = QStringLiteral("Drag Table"),
                  column = QStringLiteral("Drag Column"), user = QStringLiteral("Drag User");
    static const QHash<QString, ItemShape> byType = {
        {QStringLiteral("DSN"), {{0}, {}}},
        {QStringLiteral("FDSN"), {{0}, {}}},
        {QStringLiteral("FI"), {{0}, file}},
        {QStringLiteral("DB"), {{0}, database}},
        {QStringLiteral("US"), {{1}, user}},
        {QStringLiteral("fi"), {{2, 0}, file}},
        {QStringLiteral("db"), {{2, 0}, database}},
        {QStringLiteral("us"), {{2, 0}, user}},
        {QStringLiteral("FD"), {{3, 1}, field}},
        {QStringLiteral("TA"), {{3, 1}, table}},
        {QStringLiteral("DBPRV"), {{3, 1}, user}},
        {QStringLiteral("fd"), {{4, 2, 0}, field}},
        {QStringLiteral("ta"), {{4, 2, 0}, table}},
        {QStringLiteral("dbprv"), {{4, 2, 0}, user}},
        {QStringLiteral("CO"), {{4, 3, 1}, column}},
        {QStringLiteral("SCO"), {{4, 3, 1}, {}}},
        {QStringLiteral("TBLPRV"), {{5, 3, 1}, user}},
        {QStringLiteral("co"), {{5, 3, 2, 0}, column}},
        {QStringLiteral("sco"), {{5, 3, 2, 0}, {}}},
        {QStringLiteral("tblprv"), {{6, 4, 2, 0}, user}},
    };
    return byType;
}

// The NodeData of the node `levels` up from `node`; 91 when an ancestor or its
// gNodes entry is missing.
QString dataUp(const QStandardItem *node, int levels)
{
    for (int i = 0; i < levels && node; ++i)
        node = node->parent();
    const CNodePtr entry = gNodes().Item(node);
    if (!entry)
        qnerr::raise(qnerr::ObjectNotSet);
    return entry->NodeData;
}

} // namespace

const QString &DragItem::Key(int index) const
{
    if (index < 0 || index >= Keys.size())
        qnerr::raise(qnerr::SubscriptOutOfRange);
    return Keys[index];
}

DragItem &gCurrentItem()
{
    static DragItem item;
    return item;
}

bool &gDragInProgress()
{
    static bool flag = false;
    return flag;
}

bool &gMenuCommandRan()
{
    static bool flag = false;
    return flag;
}

DragItem NodeToDragItem(const QStandardItem *node)
{
    const QString routine = QStringLiteral("mdiMain.NodeToDragItem");
    TraceScope trace(routine);
    ErrorHandler handler(routine);
    DragItem item;
    if (!node)
        return item;
    if (!handler.step([&] {
            item.Node = gNodes().Item(node);
            if (!item.Node)
                qnerr::raise(qnerr::ObjectNotSet);
            item.NodeType = item.Node->NodeType;
        }))
        return item;
    const auto shape = shapes().constFind(item.NodeType);
    if (shape == shapes().constEnd())
        return item;
    if (!handler.step([&] {
            QStringList keys;
            for (int levels : shape->levels)
                keys << dataUp(node, levels);
            item.Keys = keys;
        }))
        return item;
    item.DragIcon = shape->dragIcon;
    return item;
}
