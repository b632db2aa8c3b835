#pragma once

// The explorer node's context menu.

struct DragItem;

namespace modGUI {

// Sets the visibility of the item's menu group and pops it up at the pointer;
// returns after the menu closed (a chosen command has run by then).
void PopupNodeMenu(DragItem &Item);

} // namespace modGUI
