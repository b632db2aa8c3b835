#pragma once

// The explorer tree's handlers that other code calls directly.

class QStandardItem;

// The lazy loader (the tree's expand handler): throws away the node's children
// and builds them afresh from the catalog. Called directly, it reloads a node
// and keeps it expanded.
void tvwExplorer_Expand(QStandardItem *Node);
