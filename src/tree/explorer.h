#pragma once

// The explorer tree's handlers: the lazy loader, the collapse handler, the
// mouse and key events, the drag over the tree and the pane of a node.
//
// Mouse buttons and shift states are given as bit sets: Button 1 left,
// 2 right, 4 middle; Shift 1 Shift, 2 Ctrl, 4 Alt. Positions are in the tree
// view's viewport coordinates.

#include <QColor>
#include <QString>
#include <QStringList>

class QStandardItem;
class QTreeView;

// Connects `tree`'s mouse and key events to the handlers below, registers the
// collapse and expand handlers with gNodes() and lets the tree show names
// whole (scrolling sideways). The main window calls it once at load, after
// binding gNodes() to the tree.
void ConnectExplorer(QTreeView *tree);

// The lazy loader (the tree's expand handler): throws away the node's children
// and builds them afresh from the catalog. Called directly, it reloads a node
// and keeps its expanded state.
void tvwExplorer_Expand(QStandardItem *Node);

// Reloads the folder `Key` after a catalog write, by its child count: a folder
// without children is loaded directly; any other is collapsed and expanded
// again (both handlers run, so it ends expanded). A key no node has does nothing.
void ReloadFolder(const QString &Key);

// The collapse handler: forgets the node's children (one placeholder instead),
// takes the selected node as the current item, shows its pane when the node
// selected at the last press went with the children, and empties the current
// item's type.
void tvwExplorer_Collapse(QStandardItem *Node);

// The tree's events.
void tvwExplorer_MouseDown(int Button, int Shift, int x, int y);
void tvwExplorer_MouseMove(int Button, int Shift, int x, int y);
void tvwExplorer_MouseUp(int Button, int Shift, int x, int y);
// Enter (13) becomes 0; nothing else happens.
void tvwExplorer_KeyPress(int &KeyAscii);
void tvwExplorer_DragOver(QTreeView *Source, int x, int y, int State);
void tvwExplorer_DragDrop(QTreeView *Source, int x, int y);

// Shows the pane of the current item's node type with its key parts through
// the window's pane host; nothing for a type without a pane. Failures are ignored.
void DisplayNode();

// The drop-highlighted node; nullptr when none.
QStandardItem *DropHighlight();

// The system's grey-text colour, the fore colour of the catalog's own objects.
QColor SystemGreyText();

// The file definitions the tree treats as the catalog's own, in name order:
// CNTRL, COLUMN, DB, DBPRV, DRIVER, FIELD, FILE, LOCDT, SQLDT, TABLE, TBLPRV
// and USER (KEY is not one of them).
const QStringList &EngineFiles();
// True for one of EngineFiles (compared exactly).
bool IsEngineFile(const QString &name);
