#include "refreshnodepath.h"

#include <QStandardItem>

#include "cnodes.h"
#include "explorer.h"
#include "nodekey.h"
#include "qnerror.h"

namespace {

// Runs one step of the walk; a step that fails is skipped.
template <class Fn> void skipFailure(Fn &&fn)
{
    try {
        fn();
    } catch (const std::exception &) {
    }
}

} // namespace

namespace modGUI {

int RefreshNodePath(const QString &Key)
{
    CNodes &nodes = gNodes();
    qsizetype previous = 0;
    qsizetype position = Key.indexOf(QLatin1Char(':')) + 1; // 0: none
    while (position != 0) {
        const QString part = Key.left(position);
        const CNodePtr entry = nodes.Item(part);
        bool selected = false;
        skipFailure([&] {
            if (!entry)
                qnerr::raise(qnerr::ObjectNotSet);
            nodes.setSelectedItem(entry);
            selected = true;
        });
        // The parent lacks the child: read its children again.
        if (!selected && previous > 0)
            skipFailure([&] {
                QStandardItem *parent = nodes.TreeNode(Key.left(previous));
                nodes.SetExpanded(parent, false);
                nodes.SetExpanded(parent, true);
            });
        skipFailure([&] {
            QStandardItem *node = nodes.TreeNode(part);
            if (!nodes.Expanded(node))
                nodes.SetExpanded(node, true);
        });
        previous = position;
        position = Key.indexOf(QLatin1Char(':'), position) + 1;
    }
    // The last node's children are read afresh, expanded or not.
    if (!Key.isEmpty() && Key.at(0) >= QLatin1Char('A'))
        if (QStandardItem *node = nodes.Node(Key))
            skipFailure([&] { tvwExplorer_Expand(node); });
    return 0;
}

int RefreshFormNode(const QString &formName, const QStringList &Keys)
{
    QString key;
    if (formName == QLatin1String("frmFile") && Keys.size() >= 2)
        key = NodeKey::File(Keys[0], Keys[1]);
    else if ((formName == QLatin1String("frmColumn") || formName == QLatin1String("frmColumns")) && Keys.size() >= 2)
        key = NodeKey::Child(NodeKey::Database(Keys[0], Keys[1]), QStringLiteral("TA"), Keys[1]);
    return RefreshNodePath(key);
}

} // namespace modGUI
