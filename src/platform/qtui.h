#pragma once

#include "ui.h"

namespace ui {

// The program's Ui: real Qt dialogs.
class QtUi : public Ui
{
public:
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
    void Beep() override;
    [[noreturn]] void EndProgram(int exitCode) override;
};

} // namespace ui
