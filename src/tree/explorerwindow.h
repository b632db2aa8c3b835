#pragma once

// What the explorer tree uses of the window it lives in: the tree view, the
// status text and the pane host. The main window implements it and registers
// itself while it exists, so the tree never includes the main window.
// (The busy cursor needs no window here: CMouseSleeper finds it itself.)

#include <QString>
#include <QtGlobal>
#include <QStringList>

class QMenu;
class QTreeView;

class ExplorerWindow
{
public:
    virtual ~ExplorerWindow() = default;

    // The registered window; nullptr while there is none.
    static ExplorerWindow *Current();
    // Registers `window` (nullptr: none). A window registers itself when it
    // is made and unregisters when it goes.
    static void SetCurrent(ExplorerWindow *window);

    // The explorer tree's view (gNodes is bound to it).
    virtual QTreeView *Treeview() const = 0;

    // Shows `message` in the status bar at once.
    virtual void Status(const QString &message = QStringLiteral("Ready")) = 0;
    virtual QString StatusText() const = 0;

    // The pane host, with the pane named by its form name (PaneTable) and the
    // key parts, data-source name first; each member takes as many leading key
    // parts as the pane's row says. Failures are reported by the host (the
    // error dialog), not raised. PaneDisplay returns the pane's Display result:
    // 0 when nothing was called or the request went to PaneEdit, -1 when a
    // missing object ended it.
    virtual int PaneDisplay(const QString &form, const QStringList &keys) = 0;
    virtual void PaneAddNew(const QString &form, const QStringList &keys) = 0;
    virtual void PaneEdit(const QString &form, const QStringList &keys) = 0;
    virtual void PaneDelete(const QString &form, const QStringList &keys) = 0;

    // The explorer's context menus: the window's menu group named `group`
    // ("mnu_DSN", "mnu_File", ...), each item a QAction named as the item
    // ("mnu_FileAdd"); nullptr for a name no group has (a window without
    // context menus has none).
    virtual QMenu *NodeMenu(const QString &group) const
    {
        Q_UNUSED(group);
        return nullptr;
    }
    // Pops `menu` up at the pointer and returns when it has closed; the
    // command of the item chosen has run by then.
    virtual void PopupMenu(QMenu *menu) { Q_UNUSED(menu); }
};
