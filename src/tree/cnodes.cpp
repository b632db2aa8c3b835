#include "cnodes.h"

#include <QApplication>
#include <QPainter>
#include <QStandardItem>
#include <QStyle>
#include <QTreeView>
#include <exception>
#include <optional>
#include <utility>

#include "core/errortrace.h"
#include "core/mousesleeper.h"
#include "core/modgui.h"
#include "explorerwindow.h"
#include "nodekey.h"

namespace {

constexpr long kElementNotFound = 35601;

[[noreturn]] void elementNotFound() { qnerr::raise(kElementNotFound, QStringLiteral("Element not found")); }

// A 16x16 picture drawn by `draw`.
QIcon drawnIcon(const std::function<void(QPainter &)> &draw)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    draw(painter);
    return QIcon(pixmap);
}

QIcon padlockIcon()
{
    return drawnIcon([](QPainter &p) {
        p.setPen(QPen(QColor(110, 110, 110), 2));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(4.5, 1.5, 7, 9), 0, 180 * 16);
        p.drawLine(QPointF(4.5, 6), QPointF(4.5, 8));
        p.drawLine(QPointF(11.5, 6), QPointF(11.5, 8));
        p.setPen(QPen(QColor(150, 110, 0), 1));
        p.setBrush(QColor(235, 185, 40));
        p.drawRoundedRect(QRectF(2.5, 7.5, 11, 8), 1.5, 1.5);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(90, 60, 0));
        p.drawEllipse(QRectF(7, 9.5, 2, 2));
        p.drawRect(QRectF(7.5, 11, 1, 2.5));
    });
}

QIcon userIcon()
{
    return drawnIcon([](QPainter &p) {
        p.setPen(QPen(QColor(30, 70, 140), 1));
        p.setBrush(QColor(90, 140, 215));
        p.drawRoundedRect(QRectF(2.5, 9.5, 11, 7), 4, 4);
        p.setBrush(QColor(245, 205, 165));
        p.setPen(QPen(QColor(150, 100, 60), 1));
        p.drawEllipse(QRectF(4.5, 1.5, 7, 7));
    });
}

QIcon columnIcon()
{
    return drawnIcon([](QPainter &p) {
        p.setPen(QPen(QColor(120, 120, 120), 1));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(1.5, 2.5, 13, 11));
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(70, 120, 200));
        p.drawRect(QRectF(6, 3, 4, 10));
        p.setPen(QPen(QColor(120, 120, 120), 1));
        for (double y : {5.5, 8.5, 11.5})
            p.drawLine(QPointF(1.5, y), QPointF(14.5, y));
    });
}

QIcon fieldIcon()
{
    return drawnIcon([](QPainter &p) {
        p.setPen(QPen(QColor(120, 120, 120), 1));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(0.5, 5.5, 15, 6));
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(40, 150, 90));
        p.drawRect(QRectF(5, 6, 6, 5));
        p.setPen(QPen(QColor(120, 120, 120), 1));
        for (double x : {3.5, 5.5, 10.5, 12.5})
            p.drawLine(QPointF(x, 5.5), QPointF(x, 11.5));
    });
}

QIcon databaseIcon()
{
    return drawnIcon([](QPainter &p) {
        p.setPen(QPen(QColor(60, 80, 120), 1));
        p.setBrush(QColor(170, 190, 225));
        p.drawRect(QRectF(2.5, 3.5, 11, 9));
        p.drawEllipse(QRectF(2.5, 10, 11, 5));
        p.setPen(Qt::NoPen);
        p.drawRect(QRectF(3, 4, 10, 8.5));
        p.setPen(QPen(QColor(60, 80, 120), 1));
        p.drawLine(QPointF(2.5, 3.5), QPointF(2.5, 12.5));
        p.drawLine(QPointF(13.5, 3.5), QPointF(13.5, 12.5));
        p.setBrush(QColor(215, 225, 245));
        p.drawEllipse(QRectF(2.5, 1.5, 11, 5));
    });
}

// The tree's own pictures, for the node image keys the toolbar images lack.
QIcon treeImage(const QString &key)
{
    static const QHash<QString, QStyle::StandardPixmap> pictures = {
        {QStringLiteral("DSN Ghost"), QStyle::SP_DriveNetIcon},  {QStringLiteral("Datasource"), QStyle::SP_DriveNetIcon},
        {QStringLiteral("Files"), QStyle::SP_DirIcon},           {QStringLiteral("File"), QStyle::SP_FileIcon},
        {QStringLiteral("Fields"), QStyle::SP_DirIcon},          {QStringLiteral("DBs"), QStyle::SP_DirIcon},
        {QStringLiteral("Tables"), QStyle::SP_DirIcon},          {QStringLiteral("Table"), QStyle::SP_FileDialogListView},
        {QStringLiteral("Columns"), QStyle::SP_DirIcon},         {QStringLiteral("Special Columns"), QStyle::SP_DirIcon},
        {QStringLiteral("Users"), QStyle::SP_DirIcon},
    };
    static const QHash<QString, QIcon (*)()> drawn = {
        {QStringLiteral("Padlock"), &padlockIcon}, {QStringLiteral("User"), &userIcon},
        {QStringLiteral("Column"), &columnIcon},   {QStringLiteral("Field"), &fieldIcon},
        {QStringLiteral("DB"), &databaseIcon},
    };
    if (const auto own = drawn.constFind(key); own != drawn.constEnd())
        return (*own)();
    const auto found = pictures.constFind(key);
    if (found == pictures.constEnd() || !QApplication::style())
        elementNotFound();
    const QIcon icon = QApplication::style()->standardIcon(*found);
    if (key != QLatin1String("DSN Ghost"))
        return icon;
    // Not connected: the data-source picture greyed.
    QIcon ghost;
    for (const QSize &size : icon.availableSizes())
        ghost.addPixmap(icon.pixmap(size, QIcon::Disabled));
    if (ghost.isNull())
        ghost.addPixmap(icon.pixmap(16, QIcon::Disabled));
    return ghost;
}

QIcon image(const QString &key)
{
    try {
        return treeImage(key);
    } catch (const QnError &) {
        return modGUI::ToolbarImage(key);
    }
}

// The picture of an image key; none for an unknown key.
QIcon nodeIcon(const QString &image, const QString &selectedImage)
{
    static QHash<QString, QIcon> cache;
    const QString cacheKey = image + QLatin1Char('|') + selectedImage;
    auto it = cache.constFind(cacheKey);
    if (it != cache.constEnd())
        return *it;
    QIcon icon;
    try {
        const QIcon normal = ::image(image);
        const QIcon selected = selectedImage.isEmpty() || selectedImage == image ? normal : ::image(selectedImage);
        icon.addPixmap(normal.pixmap(16), QIcon::Normal);
        icon.addPixmap(selected.pixmap(16), QIcon::Selected);
    } catch (const QnError &) {
        icon = QIcon();
    }
    cache.insert(cacheKey, icon);
    return icon;
}

} // namespace

CNodes::CNodes() { m_model.setColumnCount(1); }

CNodes::~CNodes() = default;

void CNodes::setTreeview(QTreeView *tree)
{
    if (m_tree)
        disconnect(m_tree, nullptr, this, nullptr);
    m_tree = tree;
    if (!tree)
        return;
    tree->setModel(&m_model);
    connect(tree, &QTreeView::expanded, this, [this](const QModelIndex &index) { onViewExpanded(index, true); });
    connect(tree, &QTreeView::collapsed, this, [this](const QModelIndex &index) { onViewExpanded(index, false); });
}

QTreeView *CNodes::Treeview() const { return m_tree; }

CNodePtr CNodes::Add(const CNode *relation, const QString &NodeType, const QString &NodeData, const QString &Text,
                     const QString &Image, const QString &SelectedImage)
{
    TraceScope trace(QStringLiteral("CNodes.Add"));
    ErrorHandler handler(QStringLiteral("CNodes.Add"));
    QString key;
    QStandardItem *parent = nullptr;
    // The key, checked before anything changes.
    if (!handler.step([&] {
            if (NodeType.isEmpty())
                key = QStringLiteral("K%1").arg(m_placeholders + 1);
            else if (NodeKey::IsDatasourceType(NodeType))
                key = NodeKey::Datasource(NodeData);
            else if (!relation)
                qnerr::raise(qnerr::ObjectNotSet);
            else
                key = NodeKey::Child(relation->Key, NodeType, NodeData);
            if (m_index.contains(key) || m_nodes.contains(key))
                qnerr::raise(qnerr::KeyAlreadyAssociated);
        }))
        return nullptr;
    // The parent tree node.
    if (relation && !handler.step([&] {
            parent = m_nodes.value(relation->Key);
            if (!parent)
                elementNotFound();
        }))
        return nullptr;

    if (NodeType.isEmpty())
        ++m_placeholders;
    auto node = std::make_shared<CNode>(CNode{key, NodeData, NodeType});
    append(node);

    auto *item = new QStandardItem(Text);
    item->setEditable(false);
    item->setData(key, KeyRole);
    m_nodes.insert(key, item);
    if (!Image.isEmpty())
        SetImages(item, Image, SelectedImage.isEmpty() ? Image : SelectedImage);
    if (parent && NodeType.isEmpty() && m_expandingAll && parent->model()) {
        // Held back: the next load of the parent most likely takes it away again.
        m_held[parent].append(item);
        m_holder.insert(item, parent);
    } else if (parent) {
        showHeld(parent);
        parent->appendRow(item);
    } else {
        m_model.appendRow(item);
    }
    return node;
}

CNodePtr CNodes::Add(QStandardItem *relation, const QString &NodeType, const QString &NodeData, const QString &Text,
                     const QString &Image, const QString &SelectedImage)
{
    if (!relation)
        return Add(static_cast<const CNode *>(nullptr), NodeType, NodeData, Text, Image, SelectedImage);
    const CNode byKey{NodeKeyOf(relation), {}, {}};
    return Add(&byKey, NodeType, NodeData, Text, Image, SelectedImage);
}

CNodePtr CNodes::Item(const QString &key) const
{
    auto it = m_index.constFind(key);
    if (it == m_index.constEnd())
        return nullptr;
    return m_entries[size_t(*it)];
}

CNodePtr CNodes::Item(int position) const
{
    if (position < 1 || position > Count())
        return nullptr;
    closeGaps();
    return m_entries[size_t(position - 1)];
}

CNodePtr CNodes::Item(const QStandardItem *node) const { return node ? Item(NodeKeyOf(node)) : nullptr; }

QList<CNodePtr> CNodes::Nodes() const
{
    QList<CNodePtr> list;
    list.reserve(Count());
    for (const CNodePtr &entry : m_entries)
        if (entry)
            list.append(entry);
    return list;
}

void CNodes::append(const CNodePtr &node)
{
    m_index.insert(node->Key, qsizetype(m_entries.size()));
    m_entries.push_back(node);
}

void CNodes::removeEntry(const QString &key)
{
    dropEntry(key);
    closeSparseGaps();
}

// Takes the entry out, leaving a gap.
void CNodes::dropEntry(const QString &key)
{
    auto it = m_index.find(key);
    if (it == m_index.end())
        return;
    m_entries[size_t(*it)].reset();
    ++m_gaps;
    m_index.erase(it);
}

// Keeps the gaps from outgrowing the entries while nothing reads by position.
void CNodes::closeSparseGaps()
{
    if (m_gaps > 64 && m_gaps * 2 > qsizetype(m_entries.size()))
        closeGaps();
}

// Moves the entries up over the gaps that removals left, in one pass.
void CNodes::closeGaps() const
{
    if (!m_gaps)
        return;
    size_t to = 0;
    for (size_t from = 0; from < m_entries.size(); ++from) {
        if (!m_entries[from])
            continue;
        if (to != from) {
            m_entries[to] = std::move(m_entries[from]);
            m_index[m_entries[to]->Key] = qsizetype(to);
        }
        ++to;
    }
    m_entries.resize(to);
    m_gaps = 0;
}

// Forgets the descendants of `node` in the collection and the key index of
// the tree; the placeholders held back under it go. The gaps left in the
// collection are the caller's to close.
void CNodes::forgetSubtree(QStandardItem *node)
{
    const auto forget = [this](QStandardItem *child) {
        forgetSubtree(child);
        const QString key = NodeKeyOf(child);
        dropEntry(key);
        if (const auto it = m_nodes.find(key); it != m_nodes.end() && *it == child) {
            m_nodes.erase(it);
            if (!m_deferredExpanded.isEmpty())
                m_deferredExpanded.remove(key);
        }
    };
    for (int row = 0; row < node->rowCount(); ++row)
        if (QStandardItem *child = node->child(row))
            forget(child);
    if (!m_held.isEmpty())
        for (QStandardItem *placeholder : m_held.take(node)) {
            forget(placeholder);
            m_holder.remove(placeholder);
            delete placeholder;
        }
}

// Puts the placeholders held back under `node` into the tree.
void CNodes::showHeld(QStandardItem *node)
{
    if (m_held.isEmpty())
        return;
    const QList<QStandardItem *> placeholders = m_held.take(node);
    for (QStandardItem *placeholder : placeholders)
        m_holder.remove(placeholder);
    if (!placeholders.isEmpty())
        node->appendRows(placeholders);
}

QStandardItem *CNodes::ChildAt(QStandardItem *node, int row) const
{
    if (!node || row < 0)
        return nullptr;
    if (row < node->rowCount())
        return node->child(row);
    const auto held = m_held.constFind(node);
    row -= node->rowCount();
    return held != m_held.constEnd() && row < held->size() ? held->at(row) : nullptr;
}

void CNodes::Remove(const QString &key)
{
    if (key.isEmpty())
        return;
    if (QStandardItem *node = m_nodes.value(key)) {
        forgetSubtree(node);
        m_nodes.remove(key);
        m_deferredExpanded.remove(key);
        if (QStandardItem *holder = m_holder.take(node)) {
            m_held[holder].removeOne(node);
            delete node;
        } else {
            QStandardItem *parent = node->parent() ? node->parent() : m_model.invisibleRootItem();
            parent->removeRow(node->row());
        }
    }
    removeEntry(key);
}

void CNodes::Remove(const CNodePtr &node)
{
    if (node)
        Remove(node->Key);
}

void CNodes::Remove(QStandardItem *node)
{
    if (node)
        Remove(NodeKeyOf(node));
}

void CNodes::RemoveChildren(QStandardItem *parent)
{
    if (!parent)
        qnerr::raise(qnerr::ObjectNotSet);
    forgetSubtree(parent);
    closeSparseGaps();
    parent->removeRows(0, parent->rowCount());
}

void CNodes::Clear()
{
    m_entries.clear();
    m_index.clear();
    m_gaps = 0;
    m_nodes.clear();
    m_deferredExpanded.clear();
    for (const QList<QStandardItem *> &placeholders : std::as_const(m_held))
        qDeleteAll(placeholders);
    m_held.clear();
    m_holder.clear();
    m_heldPane.reset();
    m_model.removeRows(0, m_model.rowCount());
}

CNodePtr CNodes::SelectedItem() const
{
    if (!m_tree || !m_tree->selectionModel())
        return nullptr;
    const QModelIndexList selected = m_tree->selectionModel()->selectedIndexes();
    if (selected.isEmpty())
        return nullptr;
    return Item(m_model.itemFromIndex(selected.first()));
}

void CNodes::setSelectedItem(const CNodePtr &node)
{
    if (!node || !m_tree)
        qnerr::raise(qnerr::ObjectNotSet);
    m_tree->setCurrentIndex(TreeNode(node->Key)->index());
}

void CNodes::ChangeKey(const QString &OldKey, const QString &NewKey)
{
    const CNodePtr old = Item(OldKey);
    if (!old || m_index.contains(NewKey))
        return;
    append(std::make_shared<CNode>(CNode{NewKey, old->NodeData, old->NodeType}));
    QStandardItem *node = m_nodes.value(OldKey);
    if (!node || m_nodes.contains(NewKey))
        return;
    node->setData(NewKey, KeyRole);
    m_nodes.remove(OldKey);
    m_nodes.insert(NewKey, node);
    if (m_deferredExpanded.remove(OldKey))
        m_deferredExpanded.insert(NewKey);
    removeEntry(OldKey);
}

void CNodes::ExpandChildren(const CNodePtr &ParentNode)
{
    if (!ParentNode)
        qnerr::raise(qnerr::ObjectNotSet);
    if (m_expandingAll) {
        expandSubtree(ParentNode->Key, false);
        return;
    }
    // The whole walk as one load: the busy pointer, and the tree disabled and
    // not redrawn until it ends (each load then leaves them so).
    struct Walk
    {
        CNodes &nodes;
        CMouseSleeper sleeper;
        QPointer<QTreeView> tree;
        bool enabled = false, redrawn = false, focused = false;
        explicit Walk(CNodes &n) : nodes(n), tree(n.m_tree)
        {
            nodes.m_expandingAll = true;
            if (tree) {
                enabled = !tree->testAttribute(Qt::WA_ForceDisabled);
                redrawn = !tree->testAttribute(Qt::WA_ForceUpdatesDisabled);
                focused = tree->hasFocus();
                tree->setUpdatesEnabled(false);
                tree->setEnabled(false);
            }
        }
        ~Walk()
        {
            nodes.m_expandingAll = false;
            nodes.showDeferredExpansions();
            if (tree) {
                tree->setEnabled(enabled);
                tree->setUpdatesEnabled(redrawn);
                if (focused)
                    tree->setFocus();
            }
        }
    };
    std::exception_ptr failure;
    {
        const Walk walk(*this);
        try {
            expandSubtree(ParentNode->Key, true);
        } catch (...) {
            failure = std::current_exception();
        }
    }
    showHeldPane();
    if (failure)
        std::rethrow_exception(failure);
}

// The walk of ExpandChildren over the node under `key` and its subtree.
void CNodes::expandSubtree(const QString &key, bool outermost)
{
    walkStatus(QStringLiteral("Expanding ") + key, outermost);
    SetExpanded(TreeNode(key), false);
    SetExpanded(TreeNode(key), true);
    // The node is looked up afresh after each step: the handlers rebuild its children.
    for (int row = 0; QStandardItem *child = ChildAt(TreeNode(key), row); ++row) {
        const CNodePtr entry = Item(child);
        if (!entry)
            qnerr::raise(qnerr::ObjectNotSet);
        expandSubtree(entry->Key, false);
    }
    walkStatus(QStringLiteral("Ready"), outermost);
}

void CNodes::ShowPane(const QString &form, const QStringList &keys)
{
    if (m_expandingAll) {
        m_heldPane.emplace(form, keys);
        return;
    }
    if (ExplorerWindow *window = ExplorerWindow::Current())
        window->PaneDisplay(form, keys);
}

void CNodes::showHeldPane()
{
    if (const auto pane = std::exchange(m_heldPane, std::nullopt))
        ShowPane(pane->first, pane->second);
}

QStandardItem *CNodes::Node(const QString &key) const { return m_nodes.value(key); }

QStandardItem *CNodes::TreeNode(const QString &key) const
{
    QStandardItem *node = m_nodes.value(key);
    if (!node)
        elementNotFound();
    return node;
}

QString CNodes::NodeKeyOf(const QStandardItem *node) { return node ? node->data(KeyRole).toString() : QString(); }
QString CNodes::Image(const QStandardItem *node) { return node ? node->data(ImageRole).toString() : QString(); }
QString CNodes::SelectedImage(const QStandardItem *node)
{
    return node ? node->data(SelectedImageRole).toString() : QString();
}

QIcon CNodes::Picture(const QString &imageKey)
{
    try {
        return image(imageKey);
    } catch (const QnError &) {
        return {};
    }
}

void CNodes::SetImages(QStandardItem *node, const QString &image, const QString &selectedImage)
{
    if (!node)
        qnerr::raise(qnerr::ObjectNotSet);
    node->setData(image, ImageRole);
    node->setData(selectedImage, SelectedImageRole);
    node->setData(image.isEmpty() ? QIcon() : nodeIcon(image, selectedImage), Qt::DecorationRole);
}

bool CNodes::Expanded(const QStandardItem *node) const
{
    return node && m_tree &&
           (m_tree->isExpanded(node->index()) ||
            (!m_deferredExpanded.isEmpty() && m_deferredExpanded.contains(NodeKeyOf(node))));
}

void CNodes::SetExpanded(QStandardItem *node, bool expanded)
{
    if (!node)
        qnerr::raise(qnerr::ObjectNotSet);
    if (m_tree && m_expandingAll) {
        // Recorded for the view; a node the view shows expanded collapses at once.
        const QString key = NodeKeyOf(node);
        if (expanded) {
            m_deferredExpanded.insert(key);
        } else {
            m_deferredExpanded.remove(key);
            if (m_tree->isExpanded(node->index())) {
                const bool was = m_settingExpanded;
                m_settingExpanded = true;
                m_tree->collapse(node->index());
                m_settingExpanded = was;
            }
        }
    } else if (m_tree) {
        const bool was = m_settingExpanded;
        m_settingExpanded = true;
        if (expanded)
            m_tree->expand(node->index());
        else
            m_tree->collapse(node->index());
        m_settingExpanded = was;
    }
    const NodeHandler &handler = expanded ? m_onExpand : m_onCollapse;
    if (handler)
        handler(node);
}

// A status text of the walk over a node's subtree. The window paints each at
// once: within the walk, one a frame at most, so that a walk over thousands of
// nodes spends its time loading them; the walk's first and last always.
void CNodes::walkStatus(const QString &text, bool always)
{
    constexpr qint64 kFrameMs = 40;
    ExplorerWindow *window = ExplorerWindow::Current();
    if (!window || (!always && m_walkStatusShown.isValid() && !m_walkStatusShown.hasExpired(kFrameMs)))
        return;
    window->Status(text);
    m_walkStatusShown.start();
}

// Tells the view of the expansions recorded while ExpandChildren ran. With a
// depth of 0, expandRecursively expands the one node after scheduling a layout
// of the view: each node is only noted, and the rows are laid out once. A row
// (or placeholder) left without children is not told: it shows nothing more
// expanded, and each node the view keeps expanded is a persistent index that
// every later removal of rows walks (a folder may still be filled later).
void CNodes::showDeferredExpansions()
{
    for (auto it = m_held.begin(); it != m_held.end(); it = m_held.erase(it)) {
        for (QStandardItem *placeholder : std::as_const(it.value()))
            m_holder.remove(placeholder);
        if (!it.value().isEmpty())
            it.key()->appendRows(it.value());
    }
    const QSet<QString> keys = std::exchange(m_deferredExpanded, {});
    if (!m_tree)
        return;
    const bool was = m_settingExpanded;
    m_settingExpanded = true;
    for (const QString &key : keys) {
        QStandardItem *node = m_nodes.value(key);
        const CNodePtr entry = Item(key);
        if (!node || !entry || (!node->hasChildren() && !NodeKey::IsFolderType(entry->NodeType)))
            continue;
        m_tree->expandRecursively(node->index(), 0);
    }
    m_settingExpanded = was;
}

void CNodes::setExpandHandlers(NodeHandler collapse, NodeHandler expand)
{
    m_onCollapse = std::move(collapse);
    m_onExpand = std::move(expand);
}

void CNodes::onViewExpanded(const QModelIndex &index, bool expanded)
{
    if (m_settingExpanded)
        return;
    const NodeHandler &handler = expanded ? m_onExpand : m_onCollapse;
    if (QStandardItem *node = m_model.itemFromIndex(index); node && handler)
        handler(node);
}

CNodes &gNodes()
{
    static CNodes *nodes = new CNodes; // lives for the whole process
    return *nodes;
}
