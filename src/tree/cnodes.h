#pragma once

// The node model of the explorer tree: one CNode per tree node, each under its
// NodeKey, mirrored one to one in a QStandardItemModel that the tree view
// (mdiMain.tvwExplorer) shows. Keys compare case-sensitively, as catalog names
// do. Every change to the tree goes through gNodes().

#include <QElapsedTimer>
#include <QHash>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QSet>
#include <QStandardItemModel>
#include <QStringList>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

#include "cnode.h"

class QStandardItem;
class QTreeView;

class CNodes : public QObject
{
    Q_OBJECT
public:
    // Item data of a tree node.
    enum Role {
        KeyRole = Qt::UserRole + 1, // the NodeKey
        ImageRole,                  // the image key ("DSN Ghost", "Datasource", "Table", ...)
        SelectedImageRole,          // the image key shown while selected
    };

    CNodes();
    ~CNodes() override;

    // The tree view mirrored; the main window binds it once at load.
    void setTreeview(QTreeView *tree);
    QTreeView *Treeview() const;
    QStandardItemModel *Model() { return &m_model; }

    // Makes one node in the collection and in the tree, as the last child of
    // `relation` (a CNode or a tree node; none for a root node). The key:
    // "DSN=" & NodeData & ":" for "DSN"/"FDSN" whatever the relation, "K<n>" for a
    // placeholder (empty NodeType; n counts up for the life of the process), else
    // the relation's key & NodeType & "=" & NodeData & ":". SelectedImage defaults
    // to Image; with an empty Image the node has no picture. A failure (a key
    // already present, a relation not in the tree) goes to the error dialog and
    // gives nullptr after Ignore, leaving the collection as it was.
    CNodePtr Add(const CNode *relation, const QString &NodeType, const QString &NodeData = {},
                 const QString &Text = {}, const QString &Image = {}, const QString &SelectedImage = {});
    CNodePtr Add(const CNodePtr &relation, const QString &NodeType, const QString &NodeData = {},
                 const QString &Text = {}, const QString &Image = {}, const QString &SelectedImage = {})
    {
        return Add(relation.get(), NodeType, NodeData, Text, Image, SelectedImage);
    }
    CNodePtr Add(QStandardItem *relation, const QString &NodeType, const QString &NodeData = {},
                 const QString &Text = {}, const QString &Image = {}, const QString &SelectedImage = {});

    // The entry under a key, at a 1-based position (insertion order), or of a
    // tree node; nullptr when absent. Never raises. Each is constant time (by
    // position: after the first such access following removals).
    CNodePtr Item(const QString &key) const;
    CNodePtr Item(int position) const;
    CNodePtr Item(const QStandardItem *node) const;
    // The number of entries, placeholders included.
    int Count() const { return int(qsizetype(m_entries.size()) - m_gaps); }
    // The entries in insertion order.
    QList<CNodePtr> Nodes() const;

    // Removes a node with all its descendants from the collection and the tree.
    // Nothing, or a key no node has, does nothing; never raises.
    void Remove(const QString &key);
    void Remove(const CNodePtr &node);
    void Remove(QStandardItem *node);
    // Removes every descendant of the tree node (not the node itself).
    void RemoveChildren(QStandardItem *parent);
    // Empties the collection and the tree; the placeholder counter keeps counting.
    void Clear();

    // The entry of the tree's selected node; nullptr when none is selected.
    CNodePtr SelectedItem() const;
    // Selects the tree node under node's key (35601 when none has it).
    void setSelectedItem(const CNodePtr &node);

    // Gives one node a new key after its row was renamed: a new CNode with the
    // old NodeData and NodeType under NewKey, the tree node re-keyed in place
    // (text, pictures, place and children kept), the old entry removed. Its
    // descendants keep their old keys. A missing OldKey or a NewKey already
    // present changes nothing; never raises.
    void ChangeKey(const QString &OldKey, const QString &NewKey);

    // Status "Expanding <key>", collapses and expands the node (its handlers
    // reload the children), does the same for each child depth first, then
    // status "Ready" (below the node, one status a frame at most). Failures
    // reach the caller (91 for no node). Throughout, the busy pointer shows and
    // the tree is disabled and not redrawn. The view learns which nodes are
    // expanded when the outermost call ends (also by a failure), in one layout:
    // until then the node shows collapsed, and Expanded() answers from the
    // record kept. Placeholders added meanwhile under nodes of the view join
    // them then (ChildAt and Node find them before). The pane the handlers
    // ask for meanwhile (ShowPane) shows after that, once.
    void ExpandChildren(const CNodePtr &ParentNode);

    // Shows the pane `form` with its key parts through the window's pane host
    // (nothing without a window). While ExpandChildren runs, the request waits
    // for its end, which shows the last one asked: the walk's loads and
    // collapses would otherwise show a pane, and paint the window, per node.
    void ShowPane(const QString &form, const QStringList &keys);

    // Tree-node access.
    QStandardItem *Node(const QString &key) const; // nullptr when no tree node has the key
    // The child of `node` at `row` (from 0), a placeholder held back included;
    // nullptr past the last.
    QStandardItem *ChildAt(QStandardItem *node, int row) const;
    QStandardItem *TreeNode(const QString &key) const; // raises 35601 when none has it
    static QString NodeKeyOf(const QStandardItem *node);
    static QString Image(const QStandardItem *node);
    static QString SelectedImage(const QStandardItem *node);
    // The picture of an image key ("Table", "DSN Ghost", ...); null for an unknown key.
    static QIcon Picture(const QString &imageKey);
    // Sets both picture keys of a node (an empty image: no picture).
    void SetImages(QStandardItem *node, const QString &image, const QString &selectedImage);
    bool Expanded(const QStandardItem *node) const;
    // Expands or collapses the node in the view, then runs the expand or collapse
    // handler (as a user's expand or collapse does). While ExpandChildren runs,
    // an expansion is recorded and given to the view when it ends.
    void SetExpanded(QStandardItem *node, bool expanded);
    using NodeHandler = std::function<void(QStandardItem *)>;
    void setExpandHandlers(NodeHandler collapse, NodeHandler expand);

private:
    void append(const CNodePtr &node);
    void removeEntry(const QString &key);
    void dropEntry(const QString &key);
    void closeSparseGaps();
    void closeGaps() const;
    void forgetSubtree(QStandardItem *node);
    void onViewExpanded(const QModelIndex &index, bool expanded);
    void expandSubtree(const QString &key, bool outermost);
    void walkStatus(const QString &text, bool always);
    void showHeldPane();
    void showHeld(QStandardItem *node);
    void showDeferredExpansions();

    QStandardItemModel m_model;
    QPointer<QTreeView> m_tree;
    // The collection in insertion order, and the key index into it. A removed
    // entry leaves a gap (null) that the next access by position closes.
    mutable std::vector<CNodePtr> m_entries;
    mutable QHash<QString, qsizetype> m_index;
    mutable qsizetype m_gaps = 0;
    // The tree nodes by key.
    QHash<QString, QStandardItem *> m_nodes;
    long m_placeholders = 0;
    NodeHandler m_onCollapse, m_onExpand;
    bool m_settingExpanded = false;
    // While ExpandChildren runs, the nodes expanded meanwhile, by
    // key, that the view has not been told of. Each expansion told to the view
    // at once would cost a layout of every row shown and a persistent index that
    // every later removal of rows walks: work growing with the tree per node.
    bool m_expandingAll = false;
    QSet<QString> m_deferredExpanded;
    QElapsedTimer m_walkStatusShown;
    // Meanwhile also the placeholders added under nodes of the tree, held back
    // from it (by the node, in the order added; a held one's node): the load
    // that follows takes each away again, and a row removed from the tree costs
    // a walk of every persistent index of the view.
    QHash<QStandardItem *, QList<QStandardItem *>> m_held;
    QHash<QStandardItem *, QStandardItem *> m_holder;
    // And the pane asked for last (form, key parts).
    std::optional<std::pair<QString, QStringList>> m_heldPane;
};

// The one node collection of the process (made on first use).
CNodes &gNodes();
