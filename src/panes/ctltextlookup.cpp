#include "ctltextlookup.h"

#include <QApplication>
#include <QFrame>
#include <QLineEdit>
#include <QResizeEvent>
#include <QToolButton>

#include "core/modgui.h"
#include "qnerror.h"

namespace {

using modGUI::TwipsToPixels;

// The frame's fixed size and the button's inset in it (twips).
constexpr int kFrameWidth = 255;
constexpr int kFrameHeight = 315;
constexpr int kInset = 30;
constexpr int kMinHeight = 315;

qint16 sixteenBits(int value)
{
    if (value < -32768 || value > 32767)
        qnerr::raise(qnerr::Overflow);
    return qint16(value);
}

// A stored colour: a system colour (&H800000nn) or &H00BBGGRR.
QColor colourOf(qint32 stored)
{
    const quint32 value = quint32(stored);
    if (value & 0x80000000u) {
        switch (value & 0xFFu) {
        case 5: return QApplication::palette().color(QPalette::Base);
        case 8: return QApplication::palette().color(QPalette::Text);
        case 15: return QApplication::palette().color(QPalette::Button);
        case 18: return QApplication::palette().color(QPalette::ButtonText);
        default: return QApplication::palette().color(QPalette::Base);
        }
    }
    return QColor(int(value & 0xFFu), int((value >> 8) & 0xFFu), int((value >> 16) & 0xFFu));
}

QVariant lookup(const ctlTextLookup::PropertyBag &bag, const QString &key, const QVariant &fallback)
{
    for (const auto &[name, value] : bag)
        if (name.compare(key, Qt::CaseInsensitive) == 0)
            return value;
    return fallback;
}

} // namespace

ctlTextLookup::ctlTextLookup(const QString &name, QWidget *parent) : QWidget(parent)
{
    setObjectName(name);
    txt = new QLineEdit(this);
    txt->setObjectName(QStringLiteral("txt"));
    imgBorder = new QFrame(this);
    imgBorder->setObjectName(QStringLiteral("imgBorder"));
    imgBorder->setFrameShape(QFrame::Box);
    imgBorder->setFrameShadow(QFrame::Sunken);
    cmd = new QToolButton(imgBorder);
    cmd->setObjectName(QStringLiteral("cmd"));
    cmd->setFocusPolicy(Qt::NoFocus); // a click leaves the focus in the text box
    // The design positions; the layout rule places them on every resize.
    txt->setGeometry(0, 0, TwipsToPixels(2175), TwipsToPixels(315));
    imgBorder->setGeometry(TwipsToPixels(2160), 0, TwipsToPixels(kFrameWidth), TwipsToPixels(kFrameHeight));
    cmd->setGeometry(TwipsToPixels(kInset), TwipsToPixels(kInset), TwipsToPixels(195), TwipsToPixels(255));
    setMinimumSize(TwipsToPixels(195 + 120), TwipsToPixels(kMinHeight));
    resize(TwipsToPixels(2415), TwipsToPixels(315));
    setFocusProxy(txt);

    connect(cmd, &QToolButton::clicked, this, [this] { emit ButtonClick(); });
    connect(txt, &QLineEdit::textChanged, this, [this] { emit Changed(); });
    modGUI::InstallKeyPress(
        txt,
        [this](int key) {
            int KeyAscii = key;
            emit KeyPress(KeyAscii);
            return KeyAscii;
        },
        true);
    InitProperties();
}

QString ctlTextLookup::Text() const { return txt->text(); }
void ctlTextLookup::setText(const QString &text)
{
    txt->setText(text);
    emit propertyChanged(QStringLiteral("Text"));
}

bool ctlTextLookup::TextEnabled() const { return txt->isEnabled(); }
void ctlTextLookup::setTextEnabled(bool enabled)
{
    txt->setEnabled(enabled);
    emit propertyChanged(QStringLiteral("TextEnabled"));
}

bool ctlTextLookup::ButtonEnabled() const { return cmd->isEnabled(); }
void ctlTextLookup::setButtonEnabled(bool enabled)
{
    cmd->setEnabled(enabled);
    emit propertyChanged(QStringLiteral("ButtonEnabled"));
}

bool ctlTextLookup::Locked() const { return txt->isReadOnly(); }
void ctlTextLookup::setLocked(bool locked)
{
    txt->setReadOnly(locked);
    emit propertyChanged(QStringLiteral("Locked"));
}

QString ctlTextLookup::Caption() const { return cmd->text(); }
void ctlTextLookup::setCaption(const QString &caption) { cmd->setText(caption); }

void ctlTextLookup::setAppearance(qint32 appearance)
{
    m_appearance = appearance;
    txt->setFrame(appearance != 0);
    emit propertyChanged(QStringLiteral("Appearance"));
}

void ctlTextLookup::setBackColor(qint32 colour)
{
    m_backColor = colour;
    applyColours();
    emit propertyChanged(QStringLiteral("BackColor"));
}

void ctlTextLookup::setForeColor(qint32 colour)
{
    m_foreColor = colour;
    applyColours();
    emit propertyChanged(QStringLiteral("ForeColor"));
}

void ctlTextLookup::applyColours()
{
    QPalette palette = txt->palette();
    palette.setColor(QPalette::Base, colourOf(m_backColor));
    palette.setColor(QPalette::Text, colourOf(m_foreColor));
    txt->setPalette(palette);
}

qint16 ctlTextLookup::MaxLength() const
{
    // QLineEdit's "no limit" is 32767, the largest 16-bit value; 0 stands for it.
    const int length = txt->maxLength();
    return length >= 32767 ? 0 : qint16(length);
}
void ctlTextLookup::setMaxLength(int length)
{
    const qint16 value = sixteenBits(length);
    txt->setMaxLength(value <= 0 ? 32767 : value);
    emit propertyChanged(QStringLiteral("MaxLength"));
}

QFont ctlTextLookup::Font() const { return txt->font(); }
void ctlTextLookup::setFont(const QFont &font)
{
    txt->setFont(font);
    emit propertyChanged(QStringLiteral("Font"));
}

QFont ctlTextLookup::defaultFont() const { return QWidget::font(); }

qint16 ctlTextLookup::SelStart() const
{
    return qint16(txt->hasSelectedText() ? txt->selectionStart() : txt->cursorPosition());
}
void ctlTextLookup::setSelStart(int start)
{
    const qint16 value = sixteenBits(start);
    txt->setCursorPosition(value);
    emit propertyChanged(QStringLiteral("SelStart"));
}

qint16 ctlTextLookup::SelLength() const { return qint16(txt->selectedText().size()); }
void ctlTextLookup::setSelLength(int length)
{
    const qint16 value = sixteenBits(length);
    const int start = SelStart();
    txt->setSelection(start, value);
    emit propertyChanged(QStringLiteral("SelLength"));
}

void ctlTextLookup::InitProperties()
{
    setText(objectName());
    setTextEnabled(true);
    setLocked(false);
    setAppearance(1);
    setBackColor(SystemWindow);
    setForeColor(SystemWindowText);
    setFont(defaultFont());
    setMaxLength(0);
    setSelStart(0);
    setSelLength(0);
    setButtonEnabled(true);
    setCaption(QStringLiteral("..."));
}

void ctlTextLookup::ReadProperties(const PropertyBag &bag)
{
    setText(lookup(bag, QStringLiteral("Text"), objectName()).toString());
    setTextEnabled(lookup(bag, QStringLiteral("TextEnabled"), true).toBool());
    setLocked(lookup(bag, QStringLiteral("Locked"), false).toBool());
    setAppearance(lookup(bag, QStringLiteral("Appearance"), 1).toInt());
    setBackColor(lookup(bag, QStringLiteral("BackColor"), SystemWindow).toInt());
    setForeColor(lookup(bag, QStringLiteral("ForeColor"), SystemWindowText).toInt());
    setMaxLength(lookup(bag, QStringLiteral("MaxLength"), 0).toInt());
    setFont(lookup(bag, QStringLiteral("Font"), defaultFont()).value<QFont>());
    setSelStart(lookup(bag, QStringLiteral("SelStart"), 0).toInt());
    setSelLength(lookup(bag, QStringLiteral("SelLength"), 0).toInt());
    setButtonEnabled(lookup(bag, QStringLiteral("ButtonEnabled"), true).toBool());
    setCaption(lookup(bag, QStringLiteral("Caption"), QStringLiteral("...")).toString());
}

ctlTextLookup::PropertyBag ctlTextLookup::WriteProperties() const
{
    PropertyBag bag;
    auto write = [&bag](const char *key, const QVariant &value, const QVariant &fallback) {
        if (value != fallback)
            bag.append({QString::fromLatin1(key), value});
    };
    write("Text", Text(), objectName());
    write("TextEnabled", TextEnabled(), true);
    write("Locked", Locked(), false);
    write("Appearance", Appearance(), 1);
    write("BackColor", BackColor(), SystemWindow);
    write("ForeColor", ForeColor(), SystemWindowText);
    write("MaxLength", qint32(MaxLength()), 0);
    write("Font", Font(), defaultFont());
    write("SelStart", qint32(SelStart()), 0);
    write("SelLength", qint32(SelLength()), 0);
    write("ButtonEnabled", ButtonEnabled(), true);
    write("Caption", Caption(), QStringLiteral("..."));
    return bag;
}

void ctlTextLookup::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    // The layout rule, in twips.
    const int buttonWidth = modGUI::PixelsToTwips(cmd->width());
    int width = modGUI::PixelsToTwips(event->size().width());
    int height = modGUI::PixelsToTwips(event->size().height());
    bool grow = false;
    if (buttonWidth + 120 > width) {
        width = buttonWidth + 120;
        grow = true;
    }
    if (height < kMinHeight) {
        height = kMinHeight;
        grow = true;
    }
    if (grow) {
        resize(TwipsToPixels(width), TwipsToPixels(height));
        return;
    }
    const int frameLeft = width - buttonWidth - 60;
    imgBorder->setGeometry(TwipsToPixels(frameLeft), imgBorder->y(), TwipsToPixels(kFrameWidth),
                           TwipsToPixels(kFrameHeight));
    cmd->setGeometry(TwipsToPixels(kInset), TwipsToPixels(kInset), TwipsToPixels(kFrameWidth - 2 * kInset),
                     TwipsToPixels(kFrameHeight - 2 * kInset));
    txt->setGeometry(0, 0, TwipsToPixels(frameLeft + 15), TwipsToPixels(height));
}
