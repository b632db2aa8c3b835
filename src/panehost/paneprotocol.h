#pragma once

// What the pane host calls on a right-hand pane. A pane is a QWidget that also
// derives from PaneProtocol; the host passes the key parts (data-source name
// first) cut to the count the pane's name takes, and forwards the clicks on the
// pane's toolbar band to tbr_ButtonClick with the button's key. A member the
// pane does not have raises 438 (object doesn't support this method).

#include <QString>
#include <QStringList>

#include "qnerror.h"

class PaneProtocol
{
public:
    virtual ~PaneProtocol() = default;

    // Loads (when needed), fills and shows the pane; the result is the host's result.
    virtual int Display(const QStringList &keys) = 0;
    // The single-record editors: a new row under the parent `keys`, or the row `keys`.
    virtual void AddNew(const QStringList &) { qnerr::raise(qnerr::ObjectDoesntSupport); }
    virtual void Edit(const QStringList &) { qnerr::raise(qnerr::ObjectDoesntSupport); }
    virtual void Delete(const QStringList &) { qnerr::raise(qnerr::ObjectDoesntSupport); }
    // A click on the pane's toolbar band; `key` is the button's key ("OK", "Table Add", "Up1", ...).
    virtual void tbr_ButtonClick(const QString &) { qnerr::raise(qnerr::ObjectDoesntSupport); }
    // Asked before the host hides, refills or unloads the current pane and
    // before the window closes: the pane writes or gives up the edit it holds,
    // as the user decides. False keeps the pane (the request is not carried
    // out). A pane without edits of its own always lets go.
    virtual bool QueryLeave() { return true; }
};
