#pragma once

// The commands of the explorer's context menu, shared by their files.

#include <QString>

namespace nodecommands {

// Expand All on the tree's selected node (not the current item): when `ask`,
// sets gMenuCommandRan and asks first (No ends it); reloads the node and every
// node below it from the catalog; with `collapseLoneChild`, collapses the node
// again when all it holds afterwards is one child (a data source whose
// connection failed keeps only its placeholder). Failures go to the error
// dialog as `routine`.
void ExpandAll(const QString &routine, bool ask, bool collapseLoneChild);

} // namespace nodecommands
