// The root of the explorer tree: one unconnected node per data source of the
// engine's driver.

#include "core/cconnections.h"
#include "core/errortrace.h"
#include "datasources.h"
#include "panehost/forms.h"
#include "frmwelcome.h"
#include "mdimain.h"
#include "tree/cnodes.h"

namespace {
const QString kGhost = QStringLiteral("DSN Ghost");
} // namespace

void mdiMain::FetchTreeviewRoot()
{
    TraceScope trace(QStringLiteral("mdiMain.FetchTreeviewRoot"));
    ErrorHandler handler(QStringLiteral("mdiMain.FetchTreeviewRoot"));
    // Every pane goes: the current one is asked first.
    if (!leaveCurrent(handler.routine))
        return;
    QStringList names;
    if (!handler.step([] { gNodes().Clear(); }) || !handler.step([] { gConnections().RemoveAll(); }) ||
        !handler.step([&] { names = datasources::EngineNames(); }))
        return;
    for (const QString &name : std::as_const(names)) {
        if (!handler.step([&] {
                if (const CNodePtr node = gNodes().Add(static_cast<const CNode *>(nullptr), QStringLiteral("DSN"), name,
                                                       name, kGhost, kGhost))
                    gNodes().Add(node, QString());
            }))
            return;
    }
    if (!handler.step([this] { PaneDisplay(&forms::Get<frmWelcome>(), {}); }))
        return;
    handler.step([] { forms::UnloadAllExcept({QStringLiteral("frmWelcome")}); });
}
