#include "qtui.h"

#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QDialog>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPointer>
#include <QPrinter>
#include <QProcess>
#include <QSettings>
#include <QTextCursor>
#include <QTextDocument>
#include <cstdio>
#include <cstdlib>

#include "appinfo.h"
#include "qnerror.h"

namespace ui {

namespace {
Ui *g_installed = nullptr;
ErrorDialogFn g_errorDialog = nullptr;
QPointer<QWidget> g_dialogParent;

QtUi &qtUi()
{
    static QtUi instance;
    return instance;
}
} // namespace

QString AppTitle() { return appinfo::Title(); }

Ui &current() { return g_installed ? *g_installed : qtUi(); }
void install(Ui *ui) { g_installed = ui; }
QWidget *dialogParent() { return g_dialogParent.data(); }
void setDialogParent(QWidget *parent) { g_dialogParent = parent; }
void setErrorDialog(ErrorDialogFn dialog) { g_errorDialog = dialog; }

int Ui::ReportFailure(const QnError &error, const QString &routine, const QString &info)
{
    if (g_errorDialog)
        return g_errorDialog(error, routine, info);
    // No dialog to ask: the number and routine only (the texts may carry passwords).
    std::fprintf(stderr, "%s: error %ld in %s\n", qPrintable(AppTitle()), error.Number(), qPrintable(routine));
    return vbAbort;
}

int QtUi::MsgBox(const QString &prompt, int style, const QString &title)
{
    QMessageBox box(dialogParent());
    box.setWindowTitle(title.isEmpty() ? AppTitle() : title);
    box.setText(prompt);
    switch (style & 0x70) {
    case vbCritical: box.setIcon(QMessageBox::Critical); break;
    case vbQuestion: box.setIcon(QMessageBox::Question); break;
    case vbExclamation: box.setIcon(QMessageBox::Warning); break;
    case vbInformation: box.setIcon(QMessageBox::Information); break;
    default: box.setIcon(QMessageBox::NoIcon); break;
    }
    struct Button
    {
        QMessageBox::StandardButton button;
        int answer;
    };
    QList<Button> buttons;
    switch (style & 0x7) {
    case vbOKCancel: buttons = {{QMessageBox::Ok, vbOK}, {QMessageBox::Cancel, vbCancel}}; break;
    case vbAbortRetryIgnore:
        buttons = {{QMessageBox::Abort, vbAbort}, {QMessageBox::Retry, vbRetry}, {QMessageBox::Ignore, vbIgnore}};
        break;
    case vbYesNoCancel:
        buttons = {{QMessageBox::Yes, vbYes}, {QMessageBox::No, vbNo}, {QMessageBox::Cancel, vbCancel}};
        break;
    case vbYesNo: buttons = {{QMessageBox::Yes, vbYes}, {QMessageBox::No, vbNo}}; break;
    case vbRetryCancel: buttons = {{QMessageBox::Retry, vbRetry}, {QMessageBox::Cancel, vbCancel}}; break;
    default: buttons = {{QMessageBox::Ok, vbOK}}; break;
    }
    QMessageBox::StandardButtons all;
    for (const Button &b : buttons)
        all |= b.button;
    box.setStandardButtons(all);
    int defaultIndex = (style & 0x300) >> 8;
    if (defaultIndex < buttons.size())
        box.setDefaultButton(buttons[defaultIndex].button);
    auto clicked = QMessageBox::StandardButton(box.exec());
    for (const Button &b : buttons)
        if (b.button == clicked)
            return b.answer;
    // Closed without a button: the cancel answer where there is one.
    for (const Button &b : buttons)
        if (b.answer == vbCancel || b.answer == vbNo)
            return b.answer;
    return buttons.constFirst().answer;
}

std::optional<QString> QtUi::InputBox(const QString &prompt, const QString &title, const QString &defaultText)
{
    bool ok = false;
    QString text = QInputDialog::getText(dialogParent(), title.isEmpty() ? AppTitle() : title, prompt,
                                         QLineEdit::Normal, defaultText, &ok);
    if (!ok)
        return std::nullopt;
    return text;
}

// "Text Files (*.txt)|*.txt|All Files (*.*)|*.*" -> "Text Files (*.txt);;All Files (*.*)"
static QString qtFilter(const QString &filter)
{
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList out;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString name = parts[i];
        if (!name.contains(QLatin1Char('(')))
            name += QStringLiteral(" (") + QString(parts[i + 1]).replace(QLatin1Char(';'), QLatin1Char(' ')) +
                    QLatin1Char(')');
        out << name;
    }
    return out.join(QStringLiteral(";;"));
}

std::optional<QString> QtUi::GetOpenFileName(const QString &title, const QString &startPath, const QString &filter)
{
    QString file = QFileDialog::getOpenFileName(dialogParent(), title, startPath, qtFilter(filter));
    if (file.isEmpty())
        return std::nullopt;
    return file;
}

std::optional<QString> QtUi::GetSaveFileName(const QString &title, const QString &startPath, const QString &filter)
{
    QString file = QFileDialog::getSaveFileName(dialogParent(), title, startPath, qtFilter(filter));
    if (file.isEmpty())
        return std::nullopt;
    return file;
}

int QtUi::ErrorDialog(QDialog &dialog) { return dialog.exec(); }

int QtUi::RunModal(QDialog &dialog) { return dialog.exec(); }

bool QtUi::OpenUrl(const QUrl &url) { return QDesktopServices::openUrl(url); }

bool QtUi::StartProgram(const QString &program, const QStringList &arguments)
{
    return QProcess::startDetached(program, arguments);
}

bool QtUi::PrintText(const QString &title, const QString &text)
{
    QPrinter printer;
    if (!printer.isValid())
        return false;
    QTextDocument document;
    QTextCursor cursor(&document);
    QTextCharFormat titleFormat;
    titleFormat.setFontPointSize(14);
    titleFormat.setFontWeight(QFont::Bold);
    cursor.insertText(title, titleFormat);
    cursor.insertBlock(); // the title line, then a blank line
    cursor.insertBlock();
    QTextCharFormat bodyFormat;
    bodyFormat.setFontPointSize(10);
    cursor.insertText(QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")), bodyFormat);
    document.print(&printer);
    return true;
}

void QtUi::SetClipboardText(const QString &text) { QApplication::clipboard()->setText(text); }

void QtUi::Beep() { QApplication::beep(); }

void QtUi::EndProgram(int exitCode)
{
    std::fflush(nullptr);
    std::_Exit(exitCode);
}

} // namespace ui
