#pragma once

// What the explorer's handlers share among themselves.

class QStandardItem;

// The node at a point of the tree's viewport: the row's text and picture,
// not its expand button or indentation; nullptr for none.
QStandardItem *HitTest(int x, int y);

// gNodes().RemoveChildren(Node); a selected descendant first hands the
// selection to Node, as the tree control does when a selected node goes.
void RemoveChildrenOf(QStandardItem *Node);

// Ends a drag of the tree: gDragInProgress off, no drop highlight, the tree's
// own pointer back.
void EndTreeDrag();
