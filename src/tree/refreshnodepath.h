#pragma once

// Revealing and reloading the explorer tree along a node key after the
// catalog changed behind it.

#include <QString>
#include <QStringList>

namespace modGUI {

// Selects and expands each node on the path of `Key` ("DSN=d:DB=d:db=x:"),
// reloading a parent that lacks the expected child, and finally reloads the
// node of the whole key. Ignores every failure; always 0.
int RefreshNodePath(const QString &Key);

// RefreshNodePath for an editor's key values: frmFile gives the file's node,
// frmColumn and frmColumns the database's Tables folder; any other form nothing.
int RefreshFormNode(const QString &formName, const QStringList &Keys);

} // namespace modGUI
