#include "dragdrop.h"

#include <QHash>
#include <QPainter>
#include <QPixmap>
#include <QTreeView>

#include "cnodes.h"

namespace {

DragDropHandler *s_handler = nullptr;
QString s_picture;

// A circle with a bar across it.
QPixmap noDrop()
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(200, 0, 0), 2));
    painter.drawEllipse(QRectF(2, 2, 12, 12));
    painter.drawLine(QPointF(4.5, 4.5), QPointF(11.5, 11.5));
    return pixmap;
}

// The pointer of a drag picture; the plain drag pointer for an unknown key.
QCursor pointer(const QString &key)
{
    if (key == QLatin1String("No Drop"))
        return QCursor(noDrop(), 8, 8);
    // Each object's drag picture is its node picture.
    static const QHash<QString, QString> nodeImages = {
        {QStringLiteral("Drag File"), QStringLiteral("File")},     {QStringLiteral("Drag Field"), QStringLiteral("Field")},
        {QStringLiteral("Drag Database"), QStringLiteral("DB")},   {QStringLiteral("Drag Table"), QStringLiteral("Table")},
        {QStringLiteral("Drag Column"), QStringLiteral("Column")}, {QStringLiteral("Drag User"), QStringLiteral("User")},
    };
    const QIcon icon = CNodes::Picture(nodeImages.value(key));
    if (icon.isNull())
        return QCursor(Qt::DragMoveCursor);
    return QCursor(icon.pixmap(16), 0, 0);
}

} // namespace

void SetDragDropHandler(DragDropHandler *handler) { s_handler = handler; }

DragDropHandler *CurrentDragDropHandler() { return s_handler; }

void SetDragPicture(QTreeView *Source, const QString &imageKey)
{
    s_picture = imageKey;
    if (Source && Source->viewport())
        Source->viewport()->setCursor(pointer(imageKey));
}

QString DragPicture() { return s_picture; }

// The tree's end of a drag: the pointer comes back.
void EndDragPicture(QTreeView *Source)
{
    s_picture.clear();
    if (Source && Source->viewport())
        Source->viewport()->unsetCursor();
}
