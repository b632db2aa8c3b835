#include "modgui.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDropEvent>
#include <QEvent>
#include <QGuiApplication>
#include <QHash>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLinearGradient>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPointer>
#include <QScreen>
#include <QStyle>
#include <QTextCursor>
#include <QTextEdit>
#include <QToolBar>
#include <QValidator>
#include <QWidget>
#include <functional>
#include <optional>

#include "controls.h"
#include "dao.h"
#include "errortrace.h"
#include "moddatabase.h"
#include "settings.h"
#include "ui.h"

namespace modGUI {

namespace {

QPointer<QWidget> g_clientArea;
bool g_debugMode = false;

constexpr long kElementNotFound = 35601;

// Runs `fn`; a failure is skipped.
void tryStep(const std::function<void()> &fn)
{
    try {
        fn();
    } catch (const QnError &) {
    }
}

QAction *requireButton(const QToolBar *tbr, const QString &key)
{
    QAction *button = ToolbarButton(tbr, key);
    if (!button)
        qnerr::raise(kElementNotFound, QStringLiteral("Element not found"));
    return button;
}

void setBackground(QWidget *widget, const QColor &colour)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, colour);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

QColor buttonFace() { return QPalette().color(QPalette::Button); }

// A 16x16 picture drawn from a glyph.
QIcon glyphIcon(const QString &glyph, const QColor &colour)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    QFont font = painter.font();
    font.setBold(true);
    font.setPixelSize(15);
    painter.setFont(font);
    painter.setPen(colour);
    painter.drawText(pixmap.rect(), Qt::AlignCenter, glyph);
    return QIcon(pixmap);
}

QIcon standardIcon(QStyle::StandardPixmap which)
{
    QStyle *style = QApplication::style();
    return style ? style->standardIcon(which) : QIcon();
}

// iml16x16: a picture for every toolbar button key of the main window.
const QHash<QString, std::function<QIcon()>> &toolbarImages()
{
    static const QHash<QString, std::function<QIcon()>> images = [] {
        QHash<QString, std::function<QIcon()>> list;
        auto add = [&](const QString &key, std::function<QIcon()> make) { list.insert(key.toCaseFolded(), make); };
        add(QStringLiteral("DSN Refresh"), [] { return standardIcon(QStyle::SP_BrowserReload); });
        add(QStringLiteral("Refresh"), [] { return standardIcon(QStyle::SP_BrowserReload); });
        add(QStringLiteral("DSN Admin"), [] { return standardIcon(QStyle::SP_ComputerIcon); });
        add(QStringLiteral("Import"), [] { return standardIcon(QStyle::SP_DialogOpenButton); });
        add(QStringLiteral("Export"), [] { return standardIcon(QStyle::SP_DialogSaveButton); });
        add(QStringLiteral("Up1"), [] { return standardIcon(QStyle::SP_FileDialogToParent); });
        add(QStringLiteral("OK"), [] { return standardIcon(QStyle::SP_DialogApplyButton); });
        add(QStringLiteral("Cancel"), [] { return standardIcon(QStyle::SP_DialogCancelButton); });
        add(QStringLiteral("Undo"), [] { return standardIcon(QStyle::SP_ArrowBack); });
        add(QStringLiteral("ViewData"), [] { return standardIcon(QStyle::SP_FileDialogContentsView); });
        add(QStringLiteral("Special Column Edit"), [] { return glyphIcon(QStringLiteral("\u270E"), QColor(0, 0, 160)); });
        for (const char *tag : {"Column", "DB", "Field", "File", "Table", "User"}) {
            const QString word = QString::fromLatin1(tag);
            add(word + QStringLiteral(" Add"), [] { return glyphIcon(QStringLiteral("+"), QColor(0, 128, 0)); });
            add(word + QStringLiteral(" Edit"), [] { return glyphIcon(QStringLiteral("\u270E"), QColor(0, 0, 160)); });
            add(word + QStringLiteral(" Delete"), [] { return glyphIcon(QStringLiteral("\u00D7"), QColor(192, 0, 0)); });
        }
        return list;
    }();
    return images;
}

// A pane-corner picture: a quarter disc shading from `from` to `to` on `background`.
QPixmap cornerPicture(const QColor &from, const QColor &to, const QColor &background)
{
    QPixmap pixmap(96, 96);
    pixmap.fill(background);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient gradient(0, 0, 96, 96);
    gradient.setColorAt(0, from);
    gradient.setColorAt(1, to);
    painter.setPen(Qt::NoPen);
    painter.setBrush(gradient);
    painter.drawPie(QRect(-96, -96, 192, 192), 270 * 16, 90 * 16);
    return pixmap;
}

// A designed control: named by the form, not one of Qt's own inner widgets.
bool isDesigned(const QWidget *w)
{
    const QString name = w->objectName();
    return !name.isEmpty() && !name.startsWith(QLatin1String("qt_")) && !w->isWindow();
}

// Text entered other than key by key (pasted, dropped, committed by an input
// method) is typed into a copy of its control's text and selection, one
// character at a time, before anything reaches the control: while it is, the
// key filters read that copy.
struct Typing
{
    const QWidget *control = nullptr; // the line edit or text edit typed into
    TextState state;
    bool wholeOrNothing = false; // set by ControlKeyPress for a number column
    bool set = false;            // the hook set the text itself for this character (SetControlText)
    bool completed = false;      // ... for any character so far
};
Typing *g_typing = nullptr;

// The widget that holds a control's text: an editable combo's line edit, else the control.
QWidget *textWidget(QWidget *ctl)
{
    if (auto *c = qobject_cast<QComboBox *>(ctl); c && c->lineEdit())
        return c->lineEdit();
    return ctl;
}

Typing *typingInto(QWidget *ctl)
{
    return g_typing && ctl && g_typing->control == textWidget(ctl) ? g_typing : nullptr;
}

TextState textState(QWidget *ctl)
{
    if (const Typing *typing = typingInto(ctl))
        return typing->state;
    if (auto *c = qobject_cast<QComboBox *>(ctl)) {
        if (!c->lineEdit())
            return {c->currentText(), 0, 0};
        ctl = c->lineEdit();
    }
    if (auto *e = qobject_cast<QLineEdit *>(ctl)) {
        const int length = int(e->selectedText().size());
        return {e->text(), length ? e->selectionStart() : e->cursorPosition(), length};
    }
    QTextCursor cursor;
    QString text;
    if (auto *t = qobject_cast<QPlainTextEdit *>(ctl)) {
        cursor = t->textCursor();
        text = t->toPlainText();
    } else if (auto *t = qobject_cast<QTextEdit *>(ctl)) {
        cursor = t->textCursor();
        text = t->toPlainText();
    } else {
        qnerr::raise(qnerr::ObjectDoesntSupport);
    }
    return {text, cursor.selectionStart(), cursor.selectionEnd() - cursor.selectionStart()};
}

// A text control the user may not change (QLineEdit::insert and the text
// edits' insertPlainText would write into it all the same).
bool isReadOnly(QWidget *ctl)
{
    if (auto *c = qobject_cast<QComboBox *>(ctl))
        ctl = c->lineEdit();
    if (auto *e = qobject_cast<QLineEdit *>(ctl))
        return e->isReadOnly();
    if (auto *t = qobject_cast<QPlainTextEdit *>(ctl))
        return t->isReadOnly();
    if (auto *t = qobject_cast<QTextEdit *>(ctl))
        return t->isReadOnly();
    return true;
}

void insertText(QWidget *ctl, const QString &text)
{
    if (auto *c = qobject_cast<QComboBox *>(ctl))
        ctl = c->lineEdit();
    if (auto *e = qobject_cast<QLineEdit *>(ctl))
        e->insert(text);
    else if (auto *t = qobject_cast<QPlainTextEdit *>(ctl))
        t->insertPlainText(text);
    else if (auto *t = qobject_cast<QTextEdit *>(ctl))
        t->insertPlainText(text);
}

// Moving the cursor ends a line edit's undo step: the undo history then takes
// an insert as a step of its own, as it takes a paste.
void separateUndo(QLineEdit *e)
{
    const int at = e->cursorPosition();
    e->setCursorPosition(at == 0 ? int(e->text().size()) : 0);
    e->setCursorPosition(at);
}

// Puts `text` over the control's selection as one step of its undo history.
void insertAsOneStep(QWidget *ctl, const QString &text)
{
    auto *e = qobject_cast<QLineEdit *>(ctl);
    if (!e) {
        insertText(ctl, text);
        return;
    }
    const int length = int(e->selectedText().size());
    const int start = length ? e->selectionStart() : e->cursorPosition();
    separateUndo(e);
    e->setSelection(start, length);
    e->insert(text);
    separateUndo(e);
}

// Line breaks as a control takes them: one blank each in a line edit, one "\n"
// each in a text edit (CR LF, LF and CR alike).
QString lineBreaks(QString text, bool multiLine)
{
    const QString brk = multiLine ? QStringLiteral("\n") : QStringLiteral(" ");
    text.replace(QLatin1String("\r\n"), brk);
    text.replace(QLatin1Char('\r'), brk);
    if (!multiLine)
        text.replace(QLatin1Char('\n'), brk);
    return text;
}

// The context menu's Paste.
QAction *pasteAction(const QMenu *menu)
{
    const QString shortcut = QLatin1Char('\t') + QKeySequence(QKeySequence::Paste).toString(QKeySequence::NativeText);
    for (QAction *action : menu->actions())
        if (action->objectName() == QLatin1String("edit-paste") || action->text().endsWith(shortcut))
            return action;
    return nullptr;
}

const QString kNameSet = QStringLiteral("01234567890_-abcdefghijklmnopqrstuvwxyz");
constexpr int kLineBreak = '\n';

int upper(int key) { return key ? int(QChar(key).toUpper().unicode()) : 0; }

class KeyFilter : public QObject
{
public:
    KeyFilter(QWidget *ctl, KeyPressHook hook, bool controlKeys)
        : QObject(ctl), m_ctl(ctl), m_hook(std::move(hook)), m_controlKeys(controlKeys),
          m_memo(qobject_cast<QPlainTextEdit *>(ctl))
    {
    }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        // A line edit (an editable combo's included) or a text edit takes entered text typed.
        const auto entries = [&] { return (line() || m_memo) && !m_resending && !isReadOnly(m_ctl); };
        switch (event->type()) {
        case QEvent::KeyPress: return keyPress(static_cast<QKeyEvent *>(event), entries());
        case QEvent::InputMethod:
            // A read-only box takes no text from an input method either.
            if ((line() || m_memo) && !m_resending && isReadOnly(m_ctl))
                return true;
            return entries() && inputMethod(watched, static_cast<QInputMethodEvent *>(event));
        case QEvent::ContextMenu: return entries() && contextMenu(static_cast<QContextMenuEvent *>(event));
        case QEvent::Drop: return entries() && drop(watched, static_cast<QDropEvent *>(event));
        case QEvent::MouseButtonRelease: return entries() && middleClick(static_cast<QMouseEvent *>(event));
        default: return QObject::eventFilter(watched, event);
        }
    }

private:
    // The line edit that holds the text: the control's own, or an editable combo's.
    QLineEdit *line() const { return qobject_cast<QLineEdit *>(textWidget(m_ctl)); }

    bool keyPress(QKeyEvent *key, bool entries)
    {
        if (entries && key->matches(QKeySequence::Paste)) {
            paste(QClipboard::Clipboard);
            return true;
        }
        const QString text = key->text();
        const bool ctrl = key->modifiers() & Qt::ControlModifier;
        const bool alt = key->modifiers() & Qt::AltModifier;
        // A key that types several characters types them one by one.
        if (entries && text.size() > 1 && ctrl == alt) {
            enter(text, textState(m_ctl));
            return true;
        }
        if (text.size() != 1 || key->key() == Qt::Key_Delete || (ctrl && !alt))
            return false;
        const int typed = text[0].unicode();
        // Only character keys reach the hook, and on request Backspace, Return
        // and Esc; other control characters and Ctrl commands pass as typed.
        if (typed < 32 && !(m_controlKeys && (typed == 8 || typed == 13 || typed == 27)))
            return false;
        // Alt with a key is a menu key and types nothing (Ctrl+Alt is AltGr: a character, filtered).
        if (alt && !ctrl)
            return true;
        const int result = m_hook(typed);
        if (result == typed)
            return false;
        if (result >= 32 && !isReadOnly(m_ctl))
            insertText(m_ctl, QString(QChar(result)));
        return true;
    }

    // What typing `text` at `at` gives, character by character: the text and
    // selection it leaves, and whether a hook set them itself (a type-ahead's
    // completion) rather than only inserting characters at `at`; nothing when
    // the control refuses the text whole (a number column or a masked box with
    // a character refused). One beep for any refused character.
    struct Entered
    {
        TextState state;
        QString inserted; // the characters put in at `at`
        bool completed = false;
    };
    std::optional<Entered> typed(const QString &text, const TextState &at)
    {
        QLineEdit *const edit = line();
        Typing typing{textWidget(m_ctl), at};
        Typing *const outer = std::exchange(g_typing, &typing);
        QString inserted;
        bool refused = false;
        for (const QChar c : lineBreaks(text, m_memo != nullptr)) {
            const int key = c.unicode();
            typing.set = false;
            const int result = key < 32 && key != kLineBreak ? 0 : m_hook(key);
            if (typing.set)
                continue;
            if ((result < 32 && result != kLineBreak) || !typeInto(edit, typing.state, QChar(result))) {
                refused = true;
                continue;
            }
            inserted += QChar(result);
        }
        g_typing = outer;
        if (refused)
            Ui().Beep();
        if (refused && (typing.wholeOrNothing || (edit && edit->echoMode() != QLineEdit::Normal)))
            return std::nullopt;
        return Entered{typing.state, inserted, typing.completed};
    }

    // Types one character into `state` as the control takes it: over the
    // selection, within its length, past its validator; false when refused.
    static bool typeInto(const QLineEdit *edit, TextState &state, QChar c)
    {
        if (edit && state.selLength == 0 && state.text.size() >= edit->maxLength())
            return false;
        if (const QValidator *v = edit ? edit->validator() : nullptr) {
            QString text = state.text;
            text.replace(state.selStart, state.selLength, c);
            int cursor = state.selStart + 1;
            if (v->validate(text, cursor) == QValidator::Invalid)
                return false;
            state = {text, cursor, 0};
            return true;
        }
        state.text.replace(state.selStart, state.selLength, c);
        state.selStart += 1;
        state.selLength = 0;
        return true;
    }

    // Text entered at the control's selection.
    void enter(const QString &text, const TextState &at)
    {
        const std::optional<Entered> entered = typed(text, at);
        if (!entered)
            return;
        if (entered->completed) {
            SetControlText(m_ctl, entered->state);
            return;
        }
        if (!entered->inserted.isEmpty())
            insertAsOneStep(textWidget(m_ctl), entered->inserted);
    }

    void paste(QClipboard::Mode mode)
    {
        const QString clip = QGuiApplication::clipboard()->text(mode);
        if (!clip.isEmpty())
            enter(clip, textState(m_ctl));
    }

    // The context menu, its Paste filtered.
    bool contextMenu(const QContextMenuEvent *event)
    {
        QLineEdit *const edit = line();
        QMenu *menu = edit ? edit->createStandardContextMenu() : m_memo->createStandardContextMenu(event->pos());
        if (QAction *action = pasteAction(menu)) {
            QObject::disconnect(action, &QAction::triggered, nullptr, nullptr);
            connect(action, &QAction::triggered, this, [this] { paste(QClipboard::Clipboard); });
        }
        menu->setAttribute(Qt::WA_DeleteOnClose);
        menu->popup(event->globalPos());
        return true;
    }

    // The selection's text pasted where the middle button was released (X11).
    bool middleClick(const QMouseEvent *event)
    {
        if (event->button() != Qt::MiddleButton || !QGuiApplication::clipboard()->supportsSelection())
            return false;
        const QPoint at = event->position().toPoint();
        if (QLineEdit *const edit = line()) {
            edit->deselect();
            edit->setCursorPosition(edit->cursorPositionAt(at));
        } else {
            m_memo->setTextCursor(m_memo->cursorForPosition(at));
        }
        paste(QClipboard::Selection);
        return true;
    }

    // A drop goes on to the control with its text typed at the drop position; a
    // text moved within the control itself is left as it is. A text a hook
    // completed is the control's text at once, the drop taken as a copy.
    bool drop(QObject *watched, QDropEvent *event)
    {
        const QMimeData *data = event->mimeData();
        const QObject *source = event->source();
        QLineEdit *const edit = line();
        if (!data || !data->hasText() ||
            ((source == textWidget(m_ctl) || (m_memo && source == m_memo->viewport())) &&
             event->dropAction() == Qt::MoveAction))
            return false;
        const QPoint at = event->position().toPoint();
        const TextState position{textState(m_ctl).text,
                                 edit ? edit->cursorPositionAt(at) : m_memo->cursorForPosition(at).position(), 0};
        const std::optional<Entered> entered = typed(data->text(), position);
        if (entered && entered->completed) {
            SetControlText(m_ctl, entered->state);
            event->setDropAction(Qt::CopyAction);
            event->accept();
            return true;
        }
        QMimeData filtered;
        if (entered && !entered->inserted.isEmpty())
            filtered.setText(entered->inserted);
        QDropEvent copy(event->position(), event->possibleActions(), &filtered, event->buttons(), event->modifiers());
        copy.setDropAction(event->dropAction());
        resend(watched, &copy);
        event->setDropAction(copy.dropAction());
        event->setAccepted(copy.isAccepted());
        return true;
    }

    // An input method's commit goes on to the control typed; a text a hook
    // completed is set after the event, which then commits nothing.
    bool inputMethod(QObject *watched, QInputMethodEvent *event)
    {
        if (event->commitString().isEmpty())
            return false;
        const std::optional<Entered> entered = typed(event->commitString(), textState(m_ctl));
        const bool completed = entered && entered->completed;
        QInputMethodEvent copy(event->preeditString(), event->attributes());
        copy.setCommitString(entered && !completed ? entered->inserted : QString(), event->replacementStart(),
                             event->replacementLength());
        resend(watched, &copy);
        event->setAccepted(copy.isAccepted());
        if (completed)
            SetControlText(m_ctl, entered->state);
        return true;
    }

    void resend(QObject *watched, QEvent *event)
    {
        const bool was = std::exchange(m_resending, true);
        QCoreApplication::sendEvent(watched, event);
        m_resending = was;
    }

    QWidget *m_ctl;
    KeyPressHook m_hook;
    bool m_controlKeys;
    QPlainTextEdit *m_memo;
    bool m_resending = false;
};

} // namespace

QAction *ToolbarButton(const QToolBar *tbr, const QString &key)
{
    if (!tbr || key.isEmpty())
        return nullptr;
    for (QAction *action : tbr->actions())
        if (action->objectName().compare(key, Qt::CaseInsensitive) == 0)
            return action;
    return nullptr;
}

QString EditorMode(const QToolBar *tbr)
{
    QAction *ok = ToolbarButton(tbr, QStringLiteral("OK"));
    return ok ? ok->property("Tag").toString() : QString();
}

void SetToolbarMode(QToolBar *tbr, int Mode, const QString &OKTag)
{
    if (Mode != ToolbarBrowse && Mode != ToolbarPending)
        return;
    const bool browse = Mode == ToolbarBrowse;
    const QString tag = tbr ? tbr->property("Tag").toString() : QString();
    auto enable = [&](const QString &key, bool on) { tryStep([&] { requireButton(tbr, key)->setEnabled(on); }); };
    enable(tag + QStringLiteral(" Add"), browse);
    enable(tag + QStringLiteral(" Edit"), browse);
    enable(tag + QStringLiteral(" Delete"), browse);
    enable(QStringLiteral("OK"), !browse);
    tryStep([&] { requireButton(tbr, QStringLiteral("OK"))->setProperty("Tag", browse ? QString() : OKTag); });
    enable(QStringLiteral("Cancel"), !browse);
    enable(QStringLiteral("Undo"), false);
    enable(QStringLiteral("ViewData"), browse);
}

void ApplyFormStyle(QWidget *frm)
{
    if (!frm)
        return;
    // A stored value that cannot be read gives the plain look.
    bool web = false;
    tryStep([&] { web = options::Win98() != 0; });
    auto *corner = frm->findChild<QWidget *>(QStringLiteral("imgCorner"));
    if (web) {
        tryStep([&] {
            if (auto *label = qobject_cast<QLabel *>(corner))
                label->setPixmap(BackgroundImage(QStringLiteral("Blue Corner")));
        });
        if (g_clientArea)
            setBackground(g_clientArea, Qt::white);
    } else {
        if (corner)
            corner->hide();
        setBackground(frm, buttonFace());
        if (auto *description = frm->findChild<QWidget *>(QStringLiteral("lblDescription")))
            description->hide();
        if (g_clientArea)
            setBackground(g_clientArea, buttonFace());
    }
    if (g_debugMode)
        for (QWidget *w : frm->findChildren<QWidget *>())
            if (isDesigned(w))
                w->setVisible(true);
}

void SetToolbarImages(QToolBar *tbr)
{
    if (!tbr)
        qnerr::raise(qnerr::ObjectNotSet);
    tbr->setIconSize(QSize(16, 16));
    for (QAction *button : tbr->actions()) {
        const QString key = button->objectName();
        if (!key.isEmpty())
            button->setIcon(ToolbarImage(key));
    }
}

void EnforceMinSize(QWidget *frm)
{
    if (!frm)
        qnerr::raise(qnerr::ObjectNotSet);
    if (frm->width() < TwipsToPixels(6675))
        frm->resize(TwipsToPixels(6675), frm->height());
    if (frm->height() < TwipsToPixels(5655))
        frm->resize(frm->width(), TwipsToPixels(5655));
}

void ResizeTitleBar(QWidget *frm)
{
    if (!frm)
        qnerr::raise(qnerr::ObjectNotSet);
    auto *title = frm->findChild<QWidget *>(QStringLiteral("lblTitle_0"));
    if (!title)
        qnerr::raise(qnerr::ObjectDoesntSupport);
    title->resize(frm->width() - title->x(), title->height());
}

void SetMainClientArea(QWidget *clientArea) { g_clientArea = clientArea; }
QWidget *MainClientArea() { return g_clientArea.data(); }

bool DebugMode() { return g_debugMode; }
void SetDebugMode(bool on) { g_debugMode = on; }

QIcon ToolbarImage(const QString &key)
{
    const auto &images = toolbarImages();
    const auto found = images.constFind(key.toCaseFolded());
    if (found == images.constEnd())
        qnerr::raise(kElementNotFound, QStringLiteral("Element not found"));
    return found.value()();
}

QPixmap BackgroundImage(const QString &key)
{
    if (key.compare(QLatin1String("Blue Corner"), Qt::CaseInsensitive) == 0) {
        static const QPixmap picture = cornerPicture(QColor(140, 165, 250), QColor(236, 241, 255), Qt::white);
        return picture;
    }
    if (key.compare(QLatin1String("Purple Corner"), Qt::CaseInsensitive) == 0) {
        static const QPixmap picture = cornerPicture(QColor(120, 60, 160), QColor(238, 228, 248), QColor(238, 228, 248));
        return picture;
    }
    qnerr::raise(kElementNotFound, QStringLiteral("Element not found"));
}

int FilterKey(int key, const QString &allowed, bool ignoreCase)
{
    QString accepted = allowed + QChar(8);
    QChar typed(key);
    if (ignoreCase) {
        accepted = accepted.toUpper();
        typed = typed.toUpper();
    }
    return accepted.contains(typed) ? key : 0;
}

int ControlKeyPress(QWidget *ctl, int key, const dao::Field &fld)
{
    const QString name = QStringLiteral("modGUI.ControlKeyPress");
    TraceScope trace(name);
    ErrorHandler handler(name);
    int KeyAscii = key;
    handler.step([&] {
        if (!ctl)
            qnerr::raise(qnerr::ObjectNotSet);
        if (controls::Tag(ctl) == QLatin1String("DATABASE_NAME") && KeyAscii == '-')
            KeyAscii = '.';
        if (KeyAscii < 32 && KeyAscii != kLineBreak)
            return;
        // Pasted text with a character the number rules refuse is refused whole.
        const auto numberRules = [typing = typingInto(ctl)] {
            if (typing)
                typing->wholeOrNothing = true;
        };
        const TextState state = textState(ctl);
        const int maxLength = modDatabase::CalcMaxLength(fld);
        // A line break takes a place of the length and, as a typed Return, no other rule.
        if (maxLength > 0 && state.text.size() >= maxLength && state.selLength == 0) {
            KeyAscii = 0;
        } else if (KeyAscii != kLineBreak) {
            switch (fld.Type()) {
            case dao::dbBoolean:
                numberRules();
                KeyAscii = FilterKey(KeyAscii, QStringLiteral("01"));
                break;
            case dao::dbByte:
                numberRules();
                KeyAscii = FilterKey(KeyAscii, QStringLiteral("0123456789"));
                break;
            case dao::dbInteger:
            case dao::dbBigInt:
                numberRules();
                KeyAscii = FilterKey(KeyAscii, QStringLiteral("0123456789-"));
                if (KeyAscii == '-' && state.selStart != 0)
                    KeyAscii = 0;
                break;
            case dao::dbLong:
            case dao::dbCurrency:
            case dao::dbSingle:
            case dao::dbDouble:
            case dao::dbDecimal:
            case dao::dbFloat:
                numberRules();
                KeyAscii = FilterKey(KeyAscii, QStringLiteral("0123456789-."));
                if (KeyAscii == '-' && state.selStart != 0)
                    KeyAscii = 0;
                if (KeyAscii == '.' && state.text.contains(QLatin1Char('.')))
                    KeyAscii = 0;
                break;
            case dao::dbDate:
            case dao::dbText:
            case dao::dbGUID:
            case dao::dbChar:
            case dao::dbTime:
            case dao::dbTimeStamp: {
                const QString column = fld.Name().toUpper();
                if (column == QLatin1String("DISPLAY_NAME")) {
                    if (KeyAscii == ' ')
                        KeyAscii = '_';
                    KeyAscii = FilterKey(KeyAscii, kNameSet, true);
                } else if (column == QLatin1String("REMARKS") || column == QLatin1String("DEFAULT_VALUE") ||
                           column == QLatin1String("CONNECT_STRING") || column == QLatin1String("FILE_SPECIFICATION") ||
                           column == QLatin1String("DEFAULT_DIRECTORY")) {
                } else if (column == QLatin1String("USER_PASSWORD") || column == QLatin1String("DATABASE_PASSWORD")) {
                    KeyAscii = upper(FilterKey(KeyAscii, kNameSet, true));
                } else {
                    if (KeyAscii == ' ')
                        KeyAscii = '_';
                    KeyAscii = upper(FilterKey(KeyAscii, kNameSet, true));
                }
                break;
            }
            default: break;
            }
        }
        // Text typed for a paste beeps once, when it is done.
        if (KeyAscii == 0 && !typingInto(ctl))
            Ui().Beep();
    });
    return KeyAscii;
}

void InstallKeyPress(QWidget *ctl, KeyPressHook hook, bool controlKeys)
{
    if (!ctl)
        qnerr::raise(qnerr::ObjectNotSet);
    auto *filter = new KeyFilter(ctl, std::move(hook), controlKeys);
    ctl->installEventFilter(filter);
    // An editable combo box passes its keys to its line edit.
    if (auto *combo = qobject_cast<QComboBox *>(ctl); combo && combo->lineEdit())
        combo->lineEdit()->installEventFilter(filter);
    // A text edit gets its mouse's drops and context menus on its viewport.
    if (auto *memo = qobject_cast<QPlainTextEdit *>(ctl))
        memo->viewport()->installEventFilter(filter);
}

TextState ControlText(QWidget *ctl)
{
    if (!ctl)
        qnerr::raise(qnerr::ObjectNotSet);
    return textState(ctl);
}

void SetControlText(QWidget *ctl, const TextState &state)
{
    if (!ctl)
        qnerr::raise(qnerr::ObjectNotSet);
    if (Typing *typing = typingInto(ctl)) {
        typing->state = state;
        typing->set = typing->completed = true;
        return;
    }
    if (auto *c = qobject_cast<QComboBox *>(ctl)) {
        if (const int item = c->findText(state.text, Qt::MatchExactly | Qt::MatchCaseSensitive); item >= 0)
            c->setCurrentIndex(item);
        if (!c->lineEdit())
            return;
        ctl = c->lineEdit();
    }
    if (auto *e = qobject_cast<QLineEdit *>(ctl)) {
        e->setText(state.text);
        e->setSelection(state.selStart, state.selLength);
        return;
    }
    const auto place = [&](QTextCursor cursor) {
        cursor.setPosition(state.selStart);
        cursor.setPosition(state.selStart + state.selLength, QTextCursor::KeepAnchor);
        return cursor;
    };
    if (auto *t = qobject_cast<QPlainTextEdit *>(ctl)) {
        t->setPlainText(state.text);
        t->setTextCursor(place(t->textCursor()));
    } else if (auto *t = qobject_cast<QTextEdit *>(ctl)) {
        t->setPlainText(state.text);
        t->setTextCursor(place(t->textCursor()));
    } else {
        qnerr::raise(qnerr::ObjectDoesntSupport);
    }
}

void InstallKeyFilter(QWidget *ctl, const dao::Field &fld)
{
    InstallKeyPress(ctl, [ctl, fld](int key) { return ControlKeyPress(ctl, key, fld); });
}

namespace {

// Where `dialog` stands centred on its screen.
QPoint centred(const QWidget *dialog)
{
    const QScreen *screen = dialog->screen() ? dialog->screen() : QGuiApplication::primaryScreen();
    const QRect area = screen ? screen->geometry() : QRect();
    return {area.x() + (area.width() - dialog->width()) / 2, area.y() + (area.height() - dialog->height()) / 2};
}

} // namespace

void PlaceAtSavedPosition(QWidget *dialog, const QString &section)
{
    const QPoint centre = centred(dialog);
    auto coordinate = [&](const QString &key, int fallback) {
        return GetSetting(section, key).isEmpty() ? fallback
                                                  : TwipsToPixels(int(GetSettingNumber(section, key, 0)));
    };
    dialog->move(coordinate(QStringLiteral("Left"), centre.x()), coordinate(QStringLiteral("Top"), centre.y()));
}

void CentreOnScreen(QWidget *dialog) { dialog->move(centred(dialog)); }

void SavePosition(const QWidget *dialog, const QString &section)
{
    SaveSetting(section, QStringLiteral("Left"), QString::number(PixelsToTwips(dialog->x())));
    SaveSetting(section, QStringLiteral("Top"), QString::number(PixelsToTwips(dialog->y())));
}

} // namespace modGUI
