// Placeholder bodies of the tree's public handlers until the tree's own files
// replace them.

#include "dragitem.h"
#include "explorer.h"
#include "qnerror.h"
#include "refreshnodepath.h"

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

DragItem NodeToDragItem(const QStandardItem *) { return {}; }

void tvwExplorer_Expand(QStandardItem *) {}

namespace modGUI {
int RefreshNodePath(const QString &) { return 0; }
int RefreshFormNode(const QString &, const QStringList &) { return 0; }
} // namespace modGUI
