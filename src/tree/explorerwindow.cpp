#include "explorerwindow.h"

namespace {
ExplorerWindow *s_window = nullptr;
} // namespace

ExplorerWindow *ExplorerWindow::Current() { return s_window; }

void ExplorerWindow::SetCurrent(ExplorerWindow *window) { s_window = window; }
