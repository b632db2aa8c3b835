#pragma once

#include <QDialog>
#include <QList>
#include <QString>
#include <deque>
#include <functional>
#include <optional>

#include "ui.h"

// Thrown by ScriptedUi::EndProgram so a test observes the program's end.
struct ProgramEnded
{
    int exitCode;
};

// A Ui that answers from queues, records what it was shown, and fails the
// running test on a prompt it has no answer for.
class ScriptedUi : public ui::Ui
{
public:
    struct Shown
    {
        QString kind; // "MsgBox", "InputBox", "Open", "Save", "Error", "Modal"
        QString text; // the prompt (the error dialog: its description; file dialogs: "start|filter")
        QString title;
        int style = 0;
    };
    // What the error dialog showed, read from its controls by name.
    struct ErrorShown
    {
        QString caption, number, description, additionalInfo, trappedIn;
        QStringList callStack;
    };

    ScriptedUi();  // installs itself
    ~ScriptedUi() override; // restores the Qt Ui

    // Queues
    void answerMsgBox(int answer) { m_msgBox.push_back(answer); }
    void answerInput(std::optional<QString> text) { m_input.push_back(std::move(text)); }
    void answerOpen(std::optional<QString> file) { m_open.push_back(std::move(file)); }
    void answerSave(std::optional<QString> file) { m_save.push_back(std::move(file)); }
    void answerError(int answer) { m_error.push_back(answer); }
    // The next modal dialog is handed to `handler`, which drives it and returns its result.
    void onModal(std::function<int(QDialog &)> handler) { m_modal.push_back(std::move(handler)); }
    // The next error dialog is handed to `handler` (e.g. to click its buttons); returns its answer.
    void onError(std::function<int(QDialog &)> handler) { m_errorHandlers.push_back(std::move(handler)); }
    void failOpenUrl(bool fail = true) { m_failOpenUrl = fail; }
    void failPrint(bool fail = true) { m_failPrint = fail; }

    // Records
    const QList<Shown> &shown() const { return m_shown; }
    QStringList messages() const; // texts of the message boxes, in order
    const QList<ErrorShown> &errors() const { return m_errors; }
    const QList<QUrl> &openedUrls() const { return m_urls; }
    const QStringList &printed() const { return m_printed; } // each: title, line feed, text
    const QString &clipboard() const { return m_clipboard; }
    const QList<QStringList> &startedPrograms() const { return m_programs; }
    int beeps() const { return m_beeps; }
    bool allAnswered() const;
    void clear() { m_shown.clear(); m_errors.clear(); }

    int MsgBox(const QString &prompt, int style, const QString &title) override;
    std::optional<QString> InputBox(const QString &prompt, const QString &title, const QString &defaultText) override;
    std::optional<QString> GetOpenFileName(const QString &title, const QString &startPath,
                                           const QString &filter) override;
    std::optional<QString> GetSaveFileName(const QString &title, const QString &startPath,
                                           const QString &filter) override;
    int ErrorDialog(QDialog &dialog) override;
    int RunModal(QDialog &dialog) override;
    bool OpenUrl(const QUrl &url) override;
    bool StartProgram(const QString &program, const QStringList &arguments) override;
    bool PrintText(const QString &title, const QString &text) override;
    void SetClipboardText(const QString &text) override;
    void Beep() override { ++m_beeps; }
    [[noreturn]] void EndProgram(int exitCode) override;

    static ErrorShown readErrorDialog(QDialog &dialog);

private:
    std::deque<int> m_msgBox;
    std::deque<std::optional<QString>> m_input, m_open, m_save;
    std::deque<int> m_error;
    std::deque<std::function<int(QDialog &)>> m_modal, m_errorHandlers;
    QList<Shown> m_shown;
    QList<ErrorShown> m_errors;
    QList<QUrl> m_urls;
    QStringList m_printed;
    QString m_clipboard;
    QList<QStringList> m_programs;
    int m_beeps = 0;
    bool m_failOpenUrl = false;
    bool m_failPrint = false;
};
