#pragma once

// Every modal interaction of the program goes through one Ui: the Qt one in
// the program, a scripted one in tests.

#include <QString>
#include <QStringList>
#include <QUrl>
#include <optional>

class QDialog;
class QnError;
class QWidget;

namespace ui {

// Message-box buttons, icons and default buttons, combined by addition.
enum MsgBoxStyle : int {
    vbOKOnly = 0,
    vbOKCancel = 1,
    vbAbortRetryIgnore = 2,
    vbYesNoCancel = 3,
    vbYesNo = 4,
    vbRetryCancel = 5,
    vbCritical = 16,
    vbQuestion = 32,
    vbExclamation = 48,
    vbInformation = 64,
    vbDefaultButton1 = 0,
    vbDefaultButton2 = 256,
    vbDefaultButton3 = 512,
};

// Message-box answers.
enum MsgBoxResult : int { vbOK = 1, vbCancel = 2, vbAbort = 3, vbRetry = 4, vbIgnore = 5, vbYes = 6, vbNo = 7 };

// The application's title, used as every message box's title.
QString AppTitle();

class Ui
{
public:
    virtual ~Ui() = default;

    // A message box; an empty title means the application title. Returns an answer.
    virtual int MsgBox(const QString &prompt, int style = vbOKOnly, const QString &title = {}) = 0;
    // An input box; nothing when cancelled.
    virtual std::optional<QString> InputBox(const QString &prompt, const QString &title = {},
                                            const QString &defaultText = {}) = 0;
    // File dialogs; nothing when cancelled. `filter` is written as "Text Files (*.txt)|*.txt|All Files (*.*)|*.*".
    virtual std::optional<QString> GetOpenFileName(const QString &title, const QString &startPath,
                                                   const QString &filter) = 0;
    virtual std::optional<QString> GetSaveFileName(const QString &title, const QString &startPath,
                                                   const QString &filter) = 0;
    // Reports a failure of `routine` with its additional information and returns the
    // answer (3 Abort, 4 Retry, 5 Ignore). By default the error dialog installed with
    // setErrorDialog fills and shows itself (through ErrorDialog); Abort when none is.
    virtual int ReportFailure(const QnError &error, const QString &routine, const QString &info);
    // The error dialog, filled by its owner: shows it modally and returns its answer (3, 4 or 5).
    virtual int ErrorDialog(QDialog &dialog) = 0;
    // One of the program's own modal dialogs; returns QDialog's result.
    virtual int RunModal(QDialog &dialog) = 0;
    // Opens a link or file with the desktop; false when that failed.
    virtual bool OpenUrl(const QUrl &url) = 0;
    // Starts an outside program; false when it could not start.
    virtual bool StartProgram(const QString &program, const QStringList &arguments) = 0;
    // Prints a title line (large, bold) and plain text on the default printer; false when that failed.
    virtual bool PrintText(const QString &title, const QString &text) = 0;
    virtual void SetClipboardText(const QString &text) = 0;
    virtual void Beep() = 0;
    // Ends the program at once: no further step or handler runs, shut-down is skipped.
    [[noreturn]] virtual void EndProgram(int exitCode) = 0;
};

// The installed Ui; the Qt one unless a test installed another.
Ui &current();
// Installs `ui` (not owned); nullptr restores the Qt one.
void install(Ui *ui);

// The error dialog behind Ui::ReportFailure: it fills itself from the failure,
// shows itself through Ui().ErrorDialog and returns the answer. Installed at start-up
// by the layer that owns it.
using ErrorDialogFn = int (*)(const QnError &error, const QString &routine, const QString &info);
void setErrorDialog(ErrorDialogFn dialog);

// The window that owns modal dialogs (the main window once it exists).
QWidget *dialogParent();
void setDialogParent(QWidget *parent);

} // namespace ui

inline ui::Ui &Ui() { return ui::current(); }
