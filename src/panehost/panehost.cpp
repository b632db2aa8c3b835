#include "panehost.h"

#include <QHash>
#include <QWidget>

#include "qnerror.h"

namespace {
PaneHost *s_host = nullptr;

QHash<QString, dialogs::Opener> &openers()
{
    static QHash<QString, dialogs::Opener> map;
    return map;
}
} // namespace

PaneHost *PaneHost::Current() { return s_host; }

void PaneHost::SetCurrent(PaneHost *host) { s_host = host; }

PaneHost &PaneHost::Get()
{
    if (!s_host)
        qnerr::raise(qnerr::ObjectNotSet);
    return *s_host;
}

QPointer<QWidget> &gCurrentPane()
{
    static QPointer<QWidget> pane;
    return pane;
}

namespace dialogs {

bool Declare(const QString &name, Opener open)
{
    openers().insert(name, std::move(open));
    return true;
}

int Open(const QString &name, const QStringList &keys)
{
    const Opener open = openers().value(name);
    if (!open)
        qnerr::raise(35601, QStringLiteral("Element not found"));
    return open(keys);
}

} // namespace dialogs
