#pragma once

// What the panes, editors, dialogs and viewer use of the pane host: showing a
// pane, calling its members with key parts, and reaching its toolbar band.
// The main window implements it and installs itself at start, so nothing below
// the main window includes it.

#include <QPointer>
#include <QString>
#include <QStringList>
#include <functional>

class QToolBar;
class QWidget;

class PaneHost
{
public:
    virtual ~PaneHost() = default;

    // The installed host; nullptr while there is none.
    static PaneHost *Current();
    // Installs `host` (nullptr: none).
    static void SetCurrent(PaneHost *host);
    // The installed host; raises 91 when there is none.
    static PaneHost &Get();

    // `form` is a loaded form that derives from PaneProtocol, or a form's name
    // (loaded through forms::Load); `keys` are the key parts, data-source name
    // first, cut to the counts of the pane's row in PaneTable. Failures are
    // reported by the host (the error dialog), not raised. PaneDisplay returns
    // the pane's Display result, 0 when nothing was called or the request went
    // to PaneEdit, -1 when a missing object ended it. These four first ask the
    // current pane (PaneProtocol::QueryLeave) and do nothing when it stays.
    virtual int PaneDisplay(QWidget *form, const QStringList &keys) = 0;
    virtual int PaneDisplay(const QString &form, const QStringList &keys) = 0;
    virtual void PaneAddNew(const QString &form, const QStringList &keys) = 0;
    virtual void PaneEdit(const QString &form, const QStringList &keys) = 0;
    virtual void PaneDelete(const QString &form, const QStringList &keys) = 0;
    // Makes `form` the current pane again, with its band, without calling any
    // of its members; the pane it hides is not asked.
    virtual void PaneShow(QWidget *form) = 0;
    // The band shown for a pane of that name; nullptr for a pane without one.
    virtual QToolBar *PaneBand(const QString &formName) const = 0;
};

// The current pane of the pane host; none at start-up.
QPointer<QWidget> &gCurrentPane();

// The modal dialogs the commands open by name: a dialog's own file declares
// how it opens with the key parts (data-source name first), so a command runs
// it without its class being known:
//   [[maybe_unused]] const bool declared = dialogs::Declare(QStringLiteral("frmX"), &frmX::Open);
namespace dialogs {

using Opener = std::function<int(const QStringList &keys)>;
bool Declare(const QString &name, Opener open);
// Runs the dialog named `name` and returns its result; a name no dialog has
// raises 35601 (Element not found).
int Open(const QString &name, const QStringList &keys);

} // namespace dialogs
