#pragma once

// The explorer tree's drag handler: which node may take a dragged item (the
// drop rules, shown with the drag picture), and on the drop the copy or move
// of the dragged item's kind (dragops.h), after which both tree paths are
// refreshed and the target's collection pane is shown. The main window
// registers the one handler with SetDragDropHandler.

#include "tree/dragdrop.h"

namespace modDragAndDrop {

class Handler : public DragDropHandler
{
public:
    // The one handler.
    static Handler &Instance();

    // Decides from the two items alone (no catalog read, no dialog, no failure):
    // the dragged item's picture when the node may take it, "No Drop" when not,
    // the picture unchanged over the dragged node itself. Always false.
    bool DoDragOver(QTreeView *Source, const DragItem &SourceItem, const DragItem &TargetItem) override;
    // Runs the copy or move when the last drag-over allowed it, on copies of
    // the items; every failure is handled inside.
    void DoDragDrop(QTreeView *Source, const DragItem &SourceItem, const DragItem &TargetItem) override;

private:
    bool m_dropAllowed = false; // the verdict of the last drag-over
};

} // namespace modDragAndDrop
