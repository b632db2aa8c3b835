#include "scriptedui.h"

#include <QComboBox>
#include <gtest/gtest.h>

#include "core/controls.h"

ScriptedUi::ScriptedUi() { ui::install(this); }

ScriptedUi::~ScriptedUi() { ui::install(nullptr); }

QStringList ScriptedUi::messages() const
{
    QStringList list;
    for (const Shown &s : m_shown)
        if (s.kind == QLatin1String("MsgBox"))
            list << s.text;
    return list;
}

bool ScriptedUi::allAnswered() const
{
    return m_msgBox.empty() && m_input.empty() && m_open.empty() && m_save.empty() && m_error.empty() &&
           m_modal.empty() && m_errorHandlers.empty();
}

int ScriptedUi::MsgBox(const QString &prompt, int style, const QString &title)
{
    m_shown.append({QStringLiteral("MsgBox"), prompt, title.isEmpty() ? ui::AppTitle() : title, style});
    if (m_msgBox.empty()) {
        ADD_FAILURE() << "unexpected message box: " << prompt.toStdString();
        return ui::vbCancel;
    }
    int answer = m_msgBox.front();
    m_msgBox.pop_front();
    return answer;
}

std::optional<QString> ScriptedUi::InputBox(const QString &prompt, const QString &title, const QString &)
{
    m_shown.append({QStringLiteral("InputBox"), prompt, title, 0});
    if (m_input.empty()) {
        ADD_FAILURE() << "unexpected input box: " << prompt.toStdString();
        return std::nullopt;
    }
    auto answer = m_input.front();
    m_input.pop_front();
    return answer;
}

std::optional<QString> ScriptedUi::GetOpenFileName(const QString &title, const QString &startPath,
                                                   const QString &filter)
{
    m_shown.append({QStringLiteral("Open"), startPath + QLatin1Char('|') + filter, title, 0});
    if (m_open.empty()) {
        ADD_FAILURE() << "unexpected open dialog: " << title.toStdString();
        return std::nullopt;
    }
    auto answer = m_open.front();
    m_open.pop_front();
    return answer;
}

std::optional<QString> ScriptedUi::GetSaveFileName(const QString &title, const QString &startPath,
                                                   const QString &filter)
{
    m_shown.append({QStringLiteral("Save"), startPath + QLatin1Char('|') + filter, title, 0});
    if (m_save.empty()) {
        ADD_FAILURE() << "unexpected save dialog: " << title.toStdString();
        return std::nullopt;
    }
    auto answer = m_save.front();
    m_save.pop_front();
    return answer;
}

static QString textOf(QDialog &dialog, const char *name)
{
    const QWidget *w = dialog.findChild<QWidget *>(QLatin1String(name));
    return w ? controls::Text(w) : QString();
}

ScriptedUi::ErrorShown ScriptedUi::readErrorDialog(QDialog &dialog)
{
    ErrorShown e;
    e.caption = dialog.windowTitle();
    e.number = textOf(dialog, "lblErrNo");
    e.description = textOf(dialog, "txtDescription");
    e.additionalInfo = textOf(dialog, "txtAdditionalInfo");
    e.trappedIn = textOf(dialog, "lblTrappedIn");
    if (auto *c = dialog.findChild<QComboBox *>(QStringLiteral("cboCallStack")))
        for (int i = 0; i < c->count(); ++i)
            e.callStack << c->itemText(i);
    return e;
}

int ScriptedUi::ErrorDialog(QDialog &dialog)
{
    ErrorShown e = readErrorDialog(dialog);
    m_errors.append(e);
    m_shown.append({QStringLiteral("Error"), e.description, e.caption, 0});
    if (!m_errorHandlers.empty()) {
        auto handler = std::move(m_errorHandlers.front());
        m_errorHandlers.pop_front();
        return handler(dialog);
    }
    if (m_error.empty()) {
        ADD_FAILURE() << "unexpected error dialog: " << e.number.toStdString() << " " << e.description.toStdString()
                      << " in " << e.trappedIn.toStdString();
        return ui::vbIgnore;
    }
    int answer = m_error.front();
    m_error.pop_front();
    return answer;
}

int ScriptedUi::RunModal(QDialog &dialog)
{
    m_shown.append({QStringLiteral("Modal"), dialog.objectName(), dialog.windowTitle(), 0});
    if (m_modal.empty()) {
        ADD_FAILURE() << "unexpected modal dialog: " << dialog.objectName().toStdString();
        return QDialog::Rejected;
    }
    auto handler = std::move(m_modal.front());
    m_modal.pop_front();
    return handler(dialog);
}

bool ScriptedUi::OpenUrl(const QUrl &url)
{
    m_urls.append(url);
    return !m_failOpenUrl;
}

bool ScriptedUi::StartProgram(const QString &program, const QStringList &arguments)
{
    m_programs.append(QStringList{program} + arguments);
    return true;
}

bool ScriptedUi::PrintText(const QString &title, const QString &text)
{
    m_printed.append(title + QLatin1Char('\n') + text);
    return !m_failPrint;
}

void ScriptedUi::SetClipboardText(const QString &text) { m_clipboard = text; }

void ScriptedUi::EndProgram(int exitCode) { throw ProgramEnded{exitCode}; }
