// Placeholder body of the node context menu until its own file replaces it.

#include "dragitem.h"
#include "nodemenu.h"

namespace modGUI {
void PopupNodeMenu(DragItem &) {}
} // namespace modGUI
