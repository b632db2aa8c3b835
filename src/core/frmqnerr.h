#pragma once

#include <QDialog>
#include <QStringList>

#include "qnerror.h"

class QComboBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;

// The error dialog: keeps the error trace, shows one failure at a time and
// returns the user's answer (3 Abort, 4 Retry, 5 Ignore); its report buttons
// print, save, mail or look up the failure. One hidden instance, loaded on
// first use; unloading it empties the trace.
class frmQNErr : public QDialog
{
    Q_OBJECT
public:
    // The loaded instance; loads it (hidden, centred, empty trace) when needed.
    static frmQNErr &instance();
    static bool isLoaded();
    // Unloads the dialog; the trace is lost.
    static void Unload();

    static int OnError(const QnError &error, const QString &routine, const QString &additionalInfo = QStringLiteral("None"));
    static int StandardErr(const QnError &error, const QString &routine,
                           const QString &additionalInfo = QStringLiteral("None"));
    static int ODBCErr(const QString &routine, const QString &sql = {});
    static void Push(const QString &text);
    static void Pop();
    // The engine's error list as text.
    static QString FetchODBCErrors();
    static QString FetchISAMError(int code);
    // The trace, newest first.
    static QStringList Trace();

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
    int showModal();
    void setTrace();
    void setDescription(const QString &text);
    void setAdditionalInfo(const QString &text);

    QStringList m_trace;
    QString m_description;    // as given, line breaks included
    QString m_additionalInfo;
    int m_answer = 3;
    bool m_closed = false;

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
