#include "textentry.h"

#include <QAbstractScrollArea>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDropEvent>
#include <QInputMethodEvent>
#include <QMenu>
#include <QMimeData>
#include <QTest>
#include <gtest/gtest.h>

namespace textentry {

namespace {

QWidget *mouseTarget(QWidget *box)
{
    if (auto *area = qobject_cast<QAbstractScrollArea *>(box))
        return area->viewport();
    return box;
}

void settle()
{
    for (int i = 0; i < 3; ++i)
        QCoreApplication::processEvents();
}

} // namespace

void Paste(QWidget *box, const QString &text, bool all)
{
    QApplication::clipboard()->setText(text);
    box->setFocus();
    if (all)
        QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
    settle();
}

void PasteFromMenu(QWidget *box, const QString &text)
{
    QApplication::clipboard()->setText(text);
    box->setFocus();
    // What the window sends on a right-click.
    QWidget *target = mouseTarget(box);
    const QPoint at(5, 5);
    QContextMenuEvent click(QContextMenuEvent::Mouse, at, target->mapToGlobal(at));
    QApplication::sendEvent(target, &click);
    settle();
    auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
    ASSERT_NE(menu, nullptr) << "no context menu";
    QAction *paste = nullptr;
    for (QAction *action : menu->actions())
        if (action->text().startsWith(QLatin1String("&Paste")))
            paste = action;
    ASSERT_NE(paste, nullptr) << "no Paste in the context menu";
    QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(paste).center());
    settle();
}

bool Drop(QWidget *box, const QString &text, QPoint at)
{
    QWidget *target = mouseTarget(box);
    QMimeData data;
    data.setText(text);
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(target, &enter);
    QDragMoveEvent move(at, Qt::CopyAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(target, &move);
    QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(target, &drop);
    settle();
    return drop.isAccepted();
}

void Commit(QWidget *box, const QString &text)
{
    box->setFocus();
    QInputMethodEvent commit;
    commit.setCommitString(text);
    QApplication::sendEvent(box, &commit);
    settle();
}

} // namespace textentry
