#include <cstdio>

#include "appinfo.h"
#include "core/frmqnerr.h"
#include "heap.h"
#include "mainwindow/mdimain.h"
#include "qnapplication.h"
#include "ui.h"

// True when Qt can open a window: a display server, or a platform that needs none.
static bool haveDisplay()
{
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    if (platform.startsWith("offscreen") || platform.startsWith("minimal") || platform.startsWith("vnc"))
        return true;
    return !qgetenv("DISPLAY").isEmpty() || !qgetenv("WAYLAND_DISPLAY").isEmpty();
}

int main(int argc, char **argv)
{
    if (!haveDisplay()) {
        std::fprintf(stderr, "qnadmin: no display found (DISPLAY is not set); cannot open the window.\n");
        return 1;
    }
    heap::KeepFreedMemory();
    QnApplication app(argc, argv);
    QApplication::setApplicationName(appinfo::Title());
    ui::setErrorDialog(&frmQNErr::OnError);
    mdiMain::instance().show();
    const int code = app.exec();
    mdiMain::Unload();
    return code;
}
