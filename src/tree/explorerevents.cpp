// The explorer tree's events: the current item from a press, the node's pane
// on a release, its context menu on a right release, the drag, the collapse.

#include <QCoreApplication>
#include <QHash>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPersistentModelIndex>
#include <QPointer>
#include <QStandardItem>
#include <QTreeView>

#include "cnodes.h"
#include "core/errortrace.h"
#include "dragdrop.h"
#include "dragitem.h"
#include "explorer.h"
#include "explorerwindow.h"
#include "explorertree.h"
#include "nodemenu.h"

namespace {

// The node that was selected when a mouse button last went down on the tree.
QPersistentModelIndex mPreviousNode;
// The drop-highlighted node.
QPersistentModelIndex mDropHighlight;
// The tree's drag mode: on from the mouse move that begins a drag until it ends.
bool mDragging = false;

void status(const QString &text)
{
    if (ExplorerWindow *window = ExplorerWindow::Current())
        window->Status(text);
}

// Drag 1: the moves over the tree become drag-overs and the release a drop.
void beginDrag(QTreeView *tree)
{
    mDragging = true;
    SetDragPicture(tree, gCurrentItem().DragIcon);
}

// Drag 2.
void endDrag()
{
    if (!mDragging)
        return;
    mDragging = false;
    EndDragPicture(gNodes().Treeview());
}

void setDropHighlight(QStandardItem *node)
{
    QStandardItem *old = DropHighlight();
    if (old == node)
        return;
    if (old)
        old->setData(QVariant(), Qt::BackgroundRole);
    mDropHighlight = node ? QPersistentModelIndex(node->index()) : QPersistentModelIndex();
    if (node)
        if (QTreeView *tree = gNodes().Treeview())
            node->setData(tree->palette().brush(QPalette::Highlight).color().lighter(160), Qt::BackgroundRole);
}

int buttonsOf(Qt::MouseButtons buttons)
{
    return (buttons & Qt::LeftButton ? 1 : 0) | (buttons & Qt::RightButton ? 2 : 0) |
           (buttons & Qt::MiddleButton ? 4 : 0);
}

int shiftOf(Qt::KeyboardModifiers modifiers)
{
    return (modifiers & Qt::ShiftModifier ? 1 : 0) | (modifiers & Qt::ControlModifier ? 2 : 0) |
           (modifiers & Qt::AltModifier ? 4 : 0);
}

// The tree view's events, handed to the handlers. Presses reach the handler
// before the view selects; moves with a button held do not reach the view (no
// drag-selection); during a drag, moves and the release over the tree are the
// drag-over and the drop.
class ExplorerEvents : public QObject
{
public:
    explicit ExplorerEvents(QTreeView *tree) : QObject(tree), m_tree(tree), m_viewport(tree->viewport()) {}

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == m_tree && event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent *>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter) {
                int KeyAscii = 13;
                tvwExplorer_KeyPress(KeyAscii);
                return KeyAscii == 0;
            }
            return false;
        }
        // (Compared only: events may come while the tree is being destroyed.)
        if (watched != m_viewport)
            return false;
        switch (event->type()) {
        case QEvent::MouseButtonPress: {
            auto *mouse = static_cast<QMouseEvent *>(event);
            const QPoint at = mouse->position().toPoint();
            tvwExplorer_MouseDown(buttonsOf(mouse->button()), shiftOf(mouse->modifiers()), at.x(), at.y());
            return false;
        }
        case QEvent::MouseMove: {
            auto *mouse = static_cast<QMouseEvent *>(event);
            const QPoint at = mouse->position().toPoint();
            if (mDragging) {
                if (m_viewport->rect().contains(at))
                    tvwExplorer_DragOver(m_tree, at.x(), at.y(), 2);
                return true;
            }
            tvwExplorer_MouseMove(buttonsOf(mouse->buttons()), shiftOf(mouse->modifiers()), at.x(), at.y());
            return mDragging || mouse->buttons() != Qt::NoButton;
        }
        case QEvent::MouseButtonRelease: {
            auto *mouse = static_cast<QMouseEvent *>(event);
            const QPoint at = mouse->position().toPoint();
            if (mDragging) {
                if (m_viewport->rect().contains(at)) {
                    tvwExplorer_DragDrop(m_tree, at.x(), at.y());
                } else {
                    // Dropped outside the tree: nothing takes it.
                    setDropHighlight(nullptr);
                    gDragInProgress() = false;
                }
                endDrag();
                // Not to the view: it would select the node under the pointer.
                return true;
            }
            tvwExplorer_MouseUp(buttonsOf(mouse->button()), shiftOf(mouse->modifiers()), at.x(), at.y());
            return false;
        }
        default:
            return false;
        }
    }

private:
    QTreeView *m_tree;
    QWidget *m_viewport;
};

// The tree node of the tree's selection; nullptr when none.
QStandardItem *selectedNode()
{
    const CNodePtr selected = gNodes().SelectedItem();
    return selected ? gNodes().Node(selected->Key) : nullptr;
}

// Runs `fn`, ignoring its failure.
void quietly(const std::function<void()> &fn)
{
    try {
        fn();
    } catch (const std::exception &) {
    }
}

// The pane of each node type.
const QHash<QString, QString> &panes()
{
    static const QHash<QString, QString> byType = {
        {QStringLiteral("DSN"), QStringLiteral("frmDSN")},          {QStringLiteral("FI"), QStringLiteral("frmFiles")},
        {QStringLiteral("fi"), QStringLiteral("frmFile")},          {QStringLiteral("FD"), QStringLiteral("frmFields")},
        {QStringLiteral("fd"), QStringLiteral("frmField")},         {QStringLiteral("DB"), QStringLiteral("frmDatabases")},
        {QStringLiteral("db"), QStringLiteral("frmDatabase")},      {QStringLiteral("TA"), QStringLiteral("frmTables")},
        {QStringLiteral("ta"), QStringLiteral("frmTable")},         {QStringLiteral("CO"), QStringLiteral("frmColumns")},
        {QStringLiteral("SCO"), QStringLiteral("frmSpecialCols")},  {QStringLiteral("co"), QStringLiteral("frmColumn")},
        {QStringLiteral("US"), QStringLiteral("frmUsers")},         {QStringLiteral("us"), QStringLiteral("frmUser")},
        {QStringLiteral("DBPRV"), QStringLiteral("frmDBPRVs")},     {QStringLiteral("dbprv"), QStringLiteral("frmDBPRV")},
        {QStringLiteral("TBLPRV"), QStringLiteral("frmTBLPRVs")},   {QStringLiteral("tblprv"), QStringLiteral("frmTBLPRV")},
    };
    return byType;
}

} // namespace

QStandardItem *HitTest(int x, int y)
{
    QTreeView *tree = gNodes().Treeview();
    if (!tree)
        return nullptr;
    const QPoint at(x, y);
    const QModelIndex index = tree->indexAt(at);
    // The expand button and the indentation before a node are no part of it.
    if (!index.isValid() || !tree->visualRect(index).contains(at))
        return nullptr;
    return gNodes().Model()->itemFromIndex(index);
}

void RemoveChildrenOf(QStandardItem *Node)
{
    // A selected descendant hands the selection to the node, as the tree control does.
    if (QStandardItem *selected = selectedNode(); selected && Node && selected != Node) {
        for (QStandardItem *up = selected->parent(); up; up = up->parent())
            if (up == Node) {
                if (QTreeView *tree = gNodes().Treeview())
                    tree->setCurrentIndex(Node->index());
                break;
            }
    }
    gNodes().RemoveChildren(Node);
}

void EndTreeDrag()
{
    gDragInProgress() = false;
    setDropHighlight(nullptr);
    endDrag();
}

void ConnectExplorer(QTreeView *tree)
{
    if (!tree)
        return;
    auto *events = new ExplorerEvents(tree);
    tree->installEventFilter(events);
    tree->viewport()->installEventFilter(events);
    // The context menu opens on the right button's release, not on Qt's own menu event.
    tree->setContextMenuPolicy(Qt::PreventContextMenu);
    tree->viewport()->setContextMenuPolicy(Qt::PreventContextMenu);
    // Names show whole; a deep or long one scrolls the tree sideways.
    tree->header()->setStretchLastSection(false);
    tree->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    tree->setTextElideMode(Qt::ElideNone);
    gNodes().setExpandHandlers(tvwExplorer_Collapse, tvwExplorer_Expand);
}

void tvwExplorer_MouseDown(int, int, int x, int y)
{
    status(QStringLiteral("MouseDown"));
    gCurrentItem() = NodeToDragItem(HitTest(x, y));
    QStandardItem *selected = selectedNode();
    mPreviousNode = selected ? QPersistentModelIndex(selected->index()) : QPersistentModelIndex();
    endDrag();
}

void tvwExplorer_MouseMove(int Button, int, int x, int y)
{
    gDragInProgress() = false;
    status(QStringLiteral("MouseMove"));
    ErrorHandler handler(QStringLiteral("mdiMain.tvwExplorer_MouseMove"));
    handler.step([&] {
        const QString &type = gCurrentItem().NodeType;
        if (Button != 1 || type.contains(QLatin1String("DSN")))
            return;
        QStandardItem *node = HitTest(x, y);
        if (!node)
            return;
        if (node == selectedNode() && type != QLatin1String("DSN") && type != QLatin1String("FDSN")) {
            gDragInProgress() = true;
            beginDrag(gNodes().Treeview());
            status(QStringLiteral("BeginDrag"));
        }
    });
}

void tvwExplorer_MouseUp(int Button, int, int, int)
{
    ErrorHandler handler(QStringLiteral("mdiMain.tvwExplorer_MouseUp"));
    handler.step([&] {
        if (Button == 2) {
            modGUI::PopupNodeMenu(gCurrentItem());
            if (!gMenuCommandRan())
                quietly([] {
                    QTreeView *tree = gNodes().Treeview();
                    if (!mPreviousNode.isValid() || !tree)
                        qnerr::raise(qnerr::ObjectNotSet);
                    tree->setCurrentIndex(mPreviousNode);
                });
        } else {
            DisplayNode();
        }
    });
    gDragInProgress() = false;
}

void tvwExplorer_KeyPress(int &KeyAscii)
{
    if (KeyAscii == 13)
        KeyAscii = 0;
}

void tvwExplorer_Collapse(QStandardItem *Node)
{
    status(QStringLiteral("Collapse"));
    const QPointer<QTreeView> tree = gNodes().Treeview(); // the yield below may take it away
    // Resumed as found: a load or a walk over many nodes may have stopped it.
    const bool wasRedrawn = tree && !tree->testAttribute(Qt::WA_ForceUpdatesDisabled);
    ErrorHandler handler(QStringLiteral("mdiMain.tvwExplorer_Collapse"));
    const auto redraw = [&](bool on) {
        if (tree)
            tree->setUpdatesEnabled(on && wasRedrawn);
    };
    const bool done = handler.step([&] { redraw(false); }) && handler.step([&] { RemoveChildrenOf(Node); }) &&
                      handler.step([&] { gNodes().Add(Node, QString()); }) &&
                      handler.step([&] { gCurrentItem() = NodeToDragItem(selectedNode()); });
    if (!done) {
        redraw(true);
        return;
    }
    quietly([] {
        if (!mPreviousNode.isValid())
            DisplayNode();
    });
    gCurrentItem().NodeType.clear();
    QCoreApplication::processEvents();
    EndTreeDrag();
    quietly([&] {
        if (tree) {
            tree->setFocus();
            redraw(true);
        }
    });
}

void tvwExplorer_DragOver(QTreeView *Source, int x, int y, int)
{
    status(QStringLiteral("DragOver"));
    ErrorHandler handler(QStringLiteral("mdiMain.tvwExplorer_DragOver"));
    handler.step([&] {
        if (!gDragInProgress())
            return;
        QStandardItem *target = HitTest(x, y);
        setDropHighlight(target);
        if (!target)
            return;
        if (QTreeView *tree = gNodes().Treeview())
            tree->scrollTo(target->index());
        const DragItem targetItem = NodeToDragItem(target);
        if (DragDropHandler *dropHandler = CurrentDragDropHandler())
            dropHandler->DoDragOver(Source, gCurrentItem(), targetItem);
        else
            SetDragPicture(Source, QStringLiteral("No Drop"));
    });
}

void tvwExplorer_DragDrop(QTreeView *Source, int, int)
{
    status(QStringLiteral("DragDrop"));
    ErrorHandler handler(QStringLiteral("mdiMain.tvwExplorer_DragDrop"));
    handler.step([&] {
        QStandardItem *target = DropHighlight();
        if (gCurrentItem().NodeType.isEmpty() || !target) {
            setDropHighlight(nullptr);
            gDragInProgress() = false;
            return;
        }
        const DragItem targetItem = NodeToDragItem(target);
        if (DragDropHandler *dropHandler = CurrentDragDropHandler())
            dropHandler->DoDragDrop(Source, gCurrentItem(), targetItem);
    });
    // The drag is over, also after a failure.
    setDropHighlight(nullptr);
    gDragInProgress() = false;
}

void DisplayNode()
{
    quietly([] {
        const DragItem &item = gCurrentItem();
        const auto pane = panes().constFind(item.NodeType);
        if (pane == panes().constEnd())
            return;
        QStringList keys = item.Keys;
        if (item.NodeType == QLatin1String("DSN")) {
            if (!item.Node)
                return;
            keys = QStringList{item.Node->NodeData};
        }
        gNodes().ShowPane(*pane, keys);
    });
}

QStandardItem *DropHighlight()
{
    return mDropHighlight.isValid() ? gNodes().Model()->itemFromIndex(mDropHighlight) : nullptr;
}
