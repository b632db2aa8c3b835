#include "panelook.h"

#include <QApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace panelook {

QRect Twips(int left, int top, int width, int height) { return {left / 15, top / 15, width / 15, height / 15}; }

QFont Font(double points, bool bold, bool italic)
{
    QFont font = QApplication::font();
    font.setPointSizeF(points);
    font.setBold(bold);
    font.setItalic(italic);
    return font;
}

QColor System(QPalette::ColorRole role) { return QApplication::palette().color(role); }

QPixmap Logo(const QSize &size)
{
    QPixmap pixmap(size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF box = QRectF(pixmap.rect()).adjusted(1, 1, -1, -1);
    QLinearGradient gradient(box.topLeft(), box.bottomRight());
    gradient.setColorAt(0, QColor(40, 90, 200));
    gradient.setColorAt(1, QColor(10, 30, 110));
    painter.setPen(Qt::NoPen);
    painter.setBrush(gradient);
    const double radius = box.width() / 6;
    painter.drawRoundedRect(box, radius, radius);
    // A stylised "Q": a ring with a tail.
    const double side = qMin(box.width(), box.height()) * 0.56;
    const QRectF ring(box.center().x() - side / 2, box.center().y() - side / 2, side, side);
    painter.setPen(QPen(Qt::white, side / 6, Qt::SolidLine, Qt::RoundCap));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(ring);
    painter.drawLine(ring.center() + QPointF(side * 0.15, side * 0.15), ring.bottomRight() + QPointF(side * 0.1, side * 0.1));
    return pixmap;
}

QPixmap Icon()
{
    static const QPixmap icon = Logo(QSize(32, 32));
    return icon;
}

void SetBackground(QWidget *widget, const QColor &colour)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, colour);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

void SetTextColour(QWidget *widget, const QColor &colour)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Active, QPalette::WindowText, colour);
    palette.setColor(QPalette::Inactive, QPalette::WindowText, colour);
    widget->setPalette(palette);
}

QLabel *CornerImage(QWidget *pane)
{
    auto *corner = new QLabel(pane);
    corner->setObjectName(QStringLiteral("imgCorner"));
    corner->setGeometry(Twips(0, 600, 2730, 3555));
    corner->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return corner;
}

QWidget *TitleStrip(QWidget *pane, int heightTwips)
{
    auto *strip = new QWidget(pane);
    strip->setObjectName(QStringLiteral("picTitlebar"));
    SetBackground(strip, System(QPalette::Mid));
    strip->setGeometry(0, 0, pane->width(), heightTwips / 15);
    auto *icon = new QLabel(strip);
    icon->setObjectName(QStringLiteral("imgIcon"));
    icon->setPixmap(Icon());
    icon->setGeometry(Twips(60, 60, 480, 480));
    return strip;
}

ShadowLabel::ShadowLabel(QLabel *source, QWidget *parent) : QLabel(parent), m_source(source) {}

void ShadowLabel::paintEvent(QPaintEvent *event)
{
    if (m_source && text() != m_source->text())
        setText(m_source->text());
    QLabel::paintEvent(event);
}

void EmbossedTitle::setText(const QString &text)
{
    title->setText(text);
    shadow->setText(text);
    if (title->property("sizeToText").toBool()) {
        title->adjustSize();
        shadow->adjustSize();
    }
}

EmbossedTitle MakeTitle(QWidget *parent, const QString &name, const QString &text, const QFont &font,
                        const QRect &geometry, bool sizeToText)
{
    EmbossedTitle t;
    t.title = new QLabel(parent);
    t.title->setObjectName(name + QStringLiteral("_0"));
    t.title->setProperty("sizeToText", sizeToText);
    t.shadow = new ShadowLabel(t.title, parent);
    t.shadow->setObjectName(name + QStringLiteral("_1"));
    for (QLabel *label : {static_cast<QLabel *>(t.title), static_cast<QLabel *>(t.shadow)}) {
        label->setFont(font);
        label->setAttribute(Qt::WA_TranslucentBackground);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    }
    SetTextColour(t.title, System(QPalette::Light));
    SetTextColour(t.shadow, System(QPalette::Shadow));
    t.title->setGeometry(geometry);
    t.shadow->setGeometry(geometry.translated(2, 2));
    t.shadow->raise();
    t.setText(text);
    return t;
}

} // namespace panelook
