#pragma once

// What the explorer tree hands a drag to. The tree runs the drag itself with
// its own mouse events (a left press on the selected node and a move begin
// it; moves over the tree are drag-overs; the release over the tree is the
// drop) and asks the one registered handler, the copy-and-move subsystem,
// what a drag-over and a drop mean. With no handler registered no drop is
// allowed: a drag-over shows "No Drop" and a drop does nothing.

#include <QString>

class QTreeView;
struct DragItem;

class DragDropHandler
{
public:
    virtual ~DragDropHandler() = default;

    // Called on every drag-over of a node while a drag runs (gDragInProgress),
    // with the dragged item (gCurrentItem) and the item of the node under the
    // pointer, which the tree has drop-highlighted. Decides whether the dragged
    // item may be dropped there, remembers that for the drop, and shows it with
    // SetDragPicture(Source, SourceItem.DragIcon or "No Drop"). The tree does
    // not use the result.
    virtual bool DoDragOver(QTreeView *Source, const DragItem &SourceItem, const DragItem &TargetItem) = 0;

    // Called on the drop, when the dragged item has a node type and a node is
    // drop-highlighted (the target: the node of the last drag-over, not one
    // found again under the pointer). Does nothing unless the last drag-over
    // allowed the drop; otherwise copies or moves the catalog rows, refreshes
    // the tree along the source and target keys (modGUI::RefreshNodePath) and
    // shows the target's collection pane. The tree clears the highlight and
    // gDragInProgress afterwards.
    virtual void DoDragDrop(QTreeView *Source, const DragItem &SourceItem, const DragItem &TargetItem) = 0;
};

// Registers the handler (nullptr: none). Not owned; the handler outlives its
// registration.
void SetDragDropHandler(DragDropHandler *handler);
DragDropHandler *CurrentDragDropHandler();

// Shows the picture of `imageKey` ("Drag File", "Drag Field", "Drag Database",
// "Drag Table", "Drag Column", "Drag User" or "No Drop") as the pointer over
// Source while its drag runs; an empty or unknown key shows the plain drag
// pointer. The tree sets the dragged item's picture when a drag begins.
void SetDragPicture(QTreeView *Source, const QString &imageKey);
// The key of the picture shown; empty when no drag runs.
QString DragPicture();
// Restores Source's own pointer (the tree, when its drag ends).
void EndDragPicture(QTreeView *Source);
