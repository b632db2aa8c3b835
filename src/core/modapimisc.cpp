#include "modapimisc.h"

#include <QComboBox>
#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>

#include "qnerror.h"

namespace modAPIMisc {

int AutoCompleteCombo(QComboBox *cbo, int KeyAscii)
{
    if (!cbo)
        qnerr::raise(qnerr::ObjectNotSet);
    if (KeyAscii >= 32 && KeyAscii <= 128) {
        QLineEdit *edit = cbo->lineEdit();
        const QString text = edit ? edit->text() : cbo->currentText();
        const int selLength = edit ? int(edit->selectedText().size()) : 0;
        const int selStart = edit ? (selLength ? edit->selectionStart() : edit->cursorPosition()) : 0;
        const QString search = (selLength != 0 ? text.left(selStart) : text) + QChar(KeyAscii);
        // Starts-with and no case-sensitive flag: the first item that begins with the text, case ignored.
        const int found = cbo->findText(search, Qt::MatchStartsWith);
        if (found >= 0) {
            cbo->setCurrentIndex(found);
            if (edit) {
                const QString item = cbo->itemText(found);
                edit->setText(item);
                edit->setSelection(int(search.size()), int(item.size() - search.size()));
            }
        }
    }
    return 0;
}

namespace {

class AutoCompleteFilter : public QObject
{
public:
    explicit AutoCompleteFilter(QComboBox *cbo) : QObject(cbo), m_cbo(cbo) {}

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::KeyPress)
            return QObject::eventFilter(watched, event);
        auto *key = static_cast<QKeyEvent *>(event);
        switch (key->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Escape:
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
        case Qt::Key_Delete:
            return false;
        default: break;
        }
        const QString text = key->text();
        if (text.size() != 1)
            return false;
        // Alt with a key is a menu key: it types and searches nothing (Ctrl+Alt is AltGr).
        const Qt::KeyboardModifiers held = key->modifiers() & (Qt::AltModifier | Qt::ControlModifier);
        if (held != Qt::AltModifier)
            AutoCompleteCombo(m_cbo, text[0].unicode());
        return true;
    }

private:
    QComboBox *m_cbo;
};

} // namespace

void InstallAutoComplete(QComboBox *cbo)
{
    auto *filter = new AutoCompleteFilter(cbo);
    cbo->installEventFilter(filter);
    if (cbo->lineEdit())
        cbo->lineEdit()->installEventFilter(filter);
}

} // namespace modAPIMisc
