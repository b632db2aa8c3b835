#pragma once

// The current item: one explorer node as the commands see it, built from the
// node model alone (never from the catalog).

#include <QString>
#include <QStringList>

#include "cnode.h"

class QStandardItem;

struct DragItem
{
    CNodePtr Node;    // the node's gNodes entry; none when built from no node
    QString NodeType; // a copy of Node->NodeType; "" when built from no node
    QStringList Keys; // key parts, data-source name first; empty for no node or an unknown type
    QString DragIcon; // the image key of the drag picture ("Drag Table", ...); "" for none

    // Key part `index` (from 0); raises 9 when the item has no such part.
    const QString &Key(int index) const;
};

// The item of the node last pressed or collapsed; blank before the first press.
DragItem &gCurrentItem();

// The item of a tree node (nullptr: a blank item). A tree node without a gNodes
// entry raises 91.
DragItem NodeToDragItem(const QStandardItem *node);

// True from the tree mouse move that starts a drag until the drag ends.
bool &gDragInProgress();
// Cleared by the node context menu before it opens; set by the commands it runs.
bool &gMenuCommandRan();
