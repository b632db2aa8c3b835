#pragma once

// ctlTextLookup: a one-line text box with a small lookup button at its right
// edge, in a frame. It performs no lookup itself: a click on the button raises
// ButtonClick and the host decides what it does. Every property reads or
// writes one of the inner controls (`txt`, `cmd`, `imgBorder`); setting one
// (but Caption) raises propertyChanged with its key, the notice a designer
// saves the instance's properties on.

#include <QFont>
#include <QList>
#include <QString>
#include <QVariant>
#include <QWidget>
#include <utility>

class QFrame;
class QLineEdit;
class QToolButton;

class ctlTextLookup : public QWidget
{
    Q_OBJECT
public:
    // The persisted properties of an instance: keys (compared without regard
    // to case) with their values, in the order they are written.
    using PropertyBag = QList<std::pair<QString, QVariant>>;

    // A new instance named `name` (its objectName), with the defaults.
    explicit ctlTextLookup(const QString &name, QWidget *parent = nullptr);

    // Text is the control's value (its default member).
    QString Text() const;
    void setText(const QString &text);
    bool TextEnabled() const;
    void setTextEnabled(bool enabled);
    bool ButtonEnabled() const;
    void setButtonEnabled(bool enabled);
    bool Locked() const;
    void setLocked(bool locked);
    QString Caption() const;
    void setCaption(const QString &caption);
    // 0 flat, 1 three-dimensional.
    qint32 Appearance() const { return m_appearance; }
    void setAppearance(qint32 appearance);
    // Colours as stored: &H00BBGGRR, or a system colour &H800000nn.
    qint32 BackColor() const { return m_backColor; }
    void setBackColor(qint32 colour);
    qint32 ForeColor() const { return m_foreColor; }
    void setForeColor(qint32 colour);
    // 16-bit values; a value beyond that range fails with 6 (overflow).
    qint16 MaxLength() const;
    void setMaxLength(int length);
    QFont Font() const;
    void setFont(const QFont &font);
    qint16 SelStart() const;
    void setSelStart(int start);
    qint16 SelLength() const;
    void setSelLength(int length);

    // The defaults of a new instance, in their order.
    void InitProperties();
    // Sets every persisted property from `bag`, the default where a key is absent.
    void ReadProperties(const PropertyBag &bag);
    // The persisted properties that differ from their defaults.
    PropertyBag WriteProperties() const;

    // The inner controls.
    QLineEdit *txt = nullptr;
    QFrame *imgBorder = nullptr;
    QToolButton *cmd = nullptr;

    static constexpr qint32 SystemWindow = qint32(0x80000005);
    static constexpr qint32 SystemWindowText = qint32(0x80000008);

signals:
    void ButtonClick();
    // The text changed, typed or assigned.
    void Changed();
    // A character typed into the text box (also Backspace 8, Return 13, Esc
    // 27), or one of a text pasted, dropped or committed into it; the host may
    // change it or set it to 0 to keep it out (modGUI::InstallKeyPress).
    void KeyPress(int &KeyAscii);
    void propertyChanged(const QString &key);

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void applyColours();
    QFont defaultFont() const;

    qint32 m_appearance = 1;
    qint32 m_backColor = SystemWindow;
    qint32 m_foreColor = SystemWindowText;
};
