#pragma once

#include <QDialog>
#include <QStringList>

#include "qnerror.h"

class QComboBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;

// The error dialog: shows one failure at a time with the error trace, and
// returns the user's answer (3 Abort, 4 Retry, 5 Ignore); its report buttons
// print, save, mail or look up the failure. One hidden instance, loaded when a
// failure is first shown. The trace itself is the core object gErrorTrace,
// which the dialog reads when it shows; unloading the dialog empties it.
// Failures reach the dialog through ReportFailure and the Ui seam (installed
// with ui::setErrorDialog(&frmQNErr::OnError)). Every text it shows, prints,
// saves or copies has its password values masked (MaskPasswords).
class frmQNErr : public QDialog
{
    Q_OBJECT
public:
    // The loaded instance; loads it (hidden, centred) when needed.
    static frmQNErr &instance();
    static bool isLoaded();
    // Unloads the dialog and empties the trace. While the dialog is on show it
    // stays up until it is answered and is unloaded then.
    static void Unload();

    // Shows the failure and returns the answer. A failure raised while an error
    // dialog is on show (through a yield, a timer or a report button) is shown
    // in a dialog of its own over it; the one below keeps waiting for its answer.
    static int OnError(const QnError &error, const QString &routine, const QString &additionalInfo = QStringLiteral("None"));
    int StandardErr(const QnError &error, const QString &routine, const QString &additionalInfo = QStringLiteral("None"));
    int ODBCErr(const QString &routine, const QString &sql = {});
    // The trace (forwarded to gErrorTrace; the dialog is not loaded by them).
    static void Push(const QString &text);
    static void Pop();
    static QStringList Trace(); // newest first
    // Forwarded to the core routines of the same name.
    static QString FetchODBCErrors();
    static QString FetchISAMError(int code);

    // The report of the failure on show.
    QString FetchErrorReport() const;

protected:
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private slots:
    void cmdResponce_Click();
    void cmdReport_Click();

private:
    frmQNErr();
    ~frmQNErr() override;
    void Form_Load();
    int onError(const QnError &error, const QString &routine, const QString &additionalInfo);
    int showModal();
    void setTrace();
    void setDescription(const QString &text);
    void setAdditionalInfo(const QString &text);

    QString m_description;    // as shown, line breaks included
    QString m_additionalInfo;
    int m_answer = 3;
    bool m_closed = false;
    bool m_showing = false;       // in its modal showing
    bool m_unloadPending = false; // unloaded while on show

    QLabel *lblApp[2] = {};
    QLabel *lblSysInfo = nullptr;
    QLabel *lblErrNo = nullptr;
    QPlainTextEdit *txtDescription = nullptr;
    QPlainTextEdit *txtAdditionalInfo = nullptr;
    QLabel *lblTrappedIn = nullptr;
    QComboBox *cboCallStack = nullptr;
    QPushButton *cmdReport[4] = {};
    QPushButton *cmdResponce[3] = {};
};
