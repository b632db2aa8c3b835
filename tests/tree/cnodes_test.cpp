#include <QRegularExpression>
#include <QSet>
#include <QStandardItem>
#include <QTreeView>
#include <gtest/gtest.h>

#include "qnerror.h"
#include "scriptedui.h"
#include "tree/cnodes.h"
#include "tree/explorerwindow.h"

namespace {

class CNodesTest : public ::testing::Test
{
protected:
    void SetUp() override { gNodes().Clear(); }
    void TearDown() override
    {
        gNodes().setExpandHandlers({}, {});
        gNodes().setTreeview(nullptr);
        gNodes().Clear();
        EXPECT_TRUE(m_ui.allAnswered());
    }

    // The one-to-one mirror: the collection and the tree hold the same keys,
    // and each tree node's key is its entry's key.
    static void expectMirrored()
    {
        QSet<QString> treeKeys;
        std::function<void(QStandardItem *)> walk = [&](QStandardItem *parent) {
            for (int row = 0; row < parent->rowCount(); ++row) {
                QStandardItem *child = parent->child(row);
                const QString key = CNodes::NodeKeyOf(child);
                EXPECT_FALSE(treeKeys.contains(key)) << key.toStdString();
                treeKeys.insert(key);
                EXPECT_EQ(gNodes().Node(key), child) << key.toStdString();
                walk(child);
            }
        };
        walk(gNodes().Model()->invisibleRootItem());
        QSet<QString> collectionKeys;
        for (const CNodePtr &node : gNodes().Nodes())
            collectionKeys.insert(node->Key);
        EXPECT_EQ(collectionKeys, treeKeys);
        EXPECT_EQ(gNodes().Count(), treeKeys.size());
    }

    // A data source d with its Databases folder, database "sales", its Tables
    // folder and table "t1" with a Columns folder holding column "c1".
    CNodePtr buildColumn()
    {
        CNodes &n = gNodes();
        CNodePtr ds = n.Add(static_cast<const CNode *>(nullptr), QStringLiteral("DSN"), QStringLiteral("d"),
                            QStringLiteral("d"), QStringLiteral("DSN Ghost"));
        CNodePtr dbs = n.Add(ds, QStringLiteral("DB"), QStringLiteral("d"), QStringLiteral("Databases"));
        CNodePtr db = n.Add(dbs, QStringLiteral("db"), QStringLiteral("sales"), QStringLiteral("sales"));
        CNodePtr tables = n.Add(db, QStringLiteral("TA"), QStringLiteral("sales"), QStringLiteral("Tables"));
        CNodePtr table = n.Add(tables, QStringLiteral("ta"), QStringLiteral("t1"), QStringLiteral("t1"));
        CNodePtr columns = n.Add(table, QStringLiteral("CO"), QStringLiteral("t1"), QStringLiteral("Columns"));
        return n.Add(columns, QStringLiteral("co"), QStringLiteral("c1"), QStringLiteral("c1"));
    }

    ScriptedUi m_ui;
};

TEST_F(CNodesTest, KeysFollowTheNodeKeyRule)
{
    CNodes &n = gNodes();
    const CNodePtr column = buildColumn();
    ASSERT_TRUE(column);
    EXPECT_EQ(column->Key, QStringLiteral("DSN=d:DB=d:db=sales:TA=sales:ta=t1:CO=t1:co=c1:"));
    EXPECT_EQ(column->NodeType, QStringLiteral("co"));
    EXPECT_EQ(column->NodeData, QStringLiteral("c1"));

    // A data-source node's key ignores any relation given.
    const CNodePtr other = n.Add(column, QStringLiteral("DSN"), QStringLiteral("e"));
    ASSERT_TRUE(other);
    EXPECT_EQ(other->Key, QStringLiteral("DSN=e:"));

    // Rows of every kind, each under its folder.
    const CNodePtr files = n.Add(other, QStringLiteral("FI"), QStringLiteral("e"));
    const CNodePtr file = n.Add(files, QStringLiteral("fi"), QStringLiteral("f"));
    const CNodePtr fields = n.Add(file, QStringLiteral("FD"), QStringLiteral("f"));
    EXPECT_EQ(n.Add(fields, QStringLiteral("fd"), QStringLiteral("x"))->Key, QStringLiteral("DSN=e:FI=e:fi=f:FD=f:fd=x:"));
    const CNodePtr users = n.Add(other, QStringLiteral("US"), QStringLiteral("e"));
    EXPECT_EQ(n.Add(users, QStringLiteral("us"), QStringLiteral("u"))->Key, QStringLiteral("DSN=e:US=e:us=u:"));

    // Placeholders count up and keep counting after Clear.
    const CNodePtr first = n.Add(column, QString());
    const CNodePtr second = n.Add(column, QString());
    const QRegularExpression placeholder(QStringLiteral("^K(\\d+)$"));
    const auto number = [&](const CNodePtr &node) { return placeholder.match(node->Key).captured(1).toLong(); };
    ASSERT_TRUE(placeholder.match(first->Key).hasMatch()) << first->Key.toStdString();
    EXPECT_EQ(number(second), number(first) + 1);
    EXPECT_TRUE(first->NodeType.isEmpty());
    n.Clear();
    EXPECT_EQ(n.Count(), 0);
    EXPECT_EQ(n.Model()->rowCount(), 0);
    const CNodePtr ds = n.Add(static_cast<const CNode *>(nullptr), QStringLiteral("DSN"), QStringLiteral("d"));
    EXPECT_EQ(number(n.Add(ds, QString())), number(second) + 1);
    expectMirrored();
}

TEST_F(CNodesTest, TextAndPictures)
{
    CNodes &n = gNodes();
    const CNodePtr ds = n.Add(static_cast<const CNode *>(nullptr), QStringLiteral("DSN"), QStringLiteral("d"),
                              QStringLiteral("d text"), QStringLiteral("DSN Ghost"), QStringLiteral("DSN Ghost"));
    const CNodePtr table = n.Add(ds, QStringLiteral("ta"), QStringLiteral("t"), QStringLiteral("t"), QStringLiteral("Table"));
    const CNodePtr bare = n.Add(ds, QStringLiteral("TA"), QStringLiteral("t"), QStringLiteral("Tables"), QString(),
                                QStringLiteral("Tables"));
    EXPECT_EQ(n.Node(ds->Key)->text(), QStringLiteral("d text"));
    EXPECT_EQ(CNodes::Image(n.Node(ds->Key)), QStringLiteral("DSN Ghost"));
    // SelectedImage defaults to Image; without an Image there is no picture at all.
    EXPECT_EQ(CNodes::Image(n.Node(table->Key)), QStringLiteral("Table"));
    EXPECT_EQ(CNodes::SelectedImage(n.Node(table->Key)), QStringLiteral("Table"));
    EXPECT_TRUE(CNodes::Image(n.Node(bare->Key)).isEmpty());
    EXPECT_TRUE(CNodes::SelectedImage(n.Node(bare->Key)).isEmpty());
    EXPECT_TRUE(n.Node(bare->Key)->icon().isNull());
    EXPECT_FALSE(n.Node(ds->Key)->icon().isNull());
    n.SetImages(n.Node(ds->Key), QStringLiteral("Datasource"), QStringLiteral("Datasource"));
    EXPECT_EQ(CNodes::SelectedImage(n.Node(ds->Key)), QStringLiteral("Datasource"));
}

TEST_F(CNodesTest, ItemByKeyPositionAndTreeNode)
{
    CNodes &n = gNodes();
    const CNodePtr column = buildColumn();
    EXPECT_EQ(n.Item(column->Key), column);
    EXPECT_EQ(n.Item(n.Node(column->Key)), column);
    EXPECT_EQ(n.Item(1)->Key, QStringLiteral("DSN=d:"));
    EXPECT_EQ(n.Item(n.Count()), column);
    EXPECT_EQ(n.Item(0), nullptr);
    EXPECT_EQ(n.Item(n.Count() + 1), nullptr);
    EXPECT_EQ(n.Item(QStringLiteral("DSN=nowhere:")), nullptr);
    EXPECT_EQ(n.Item(static_cast<const QStandardItem *>(nullptr)), nullptr);
    QStringList order;
    for (const CNodePtr &node : n.Nodes())
        order << node->NodeType;
    EXPECT_EQ(order.join(QLatin1Char(',')), QStringLiteral("DSN,DB,db,TA,ta,CO,co"));
}

TEST_F(CNodesTest, PositionsFollowInsertionOrderThroughRemovals)
{
    CNodes &n = gNodes();
    const CNodePtr ds = n.Add(static_cast<const CNode *>(nullptr), QStringLiteral("DSN"), QStringLiteral("d"));
    const CNodePtr users = n.Add(ds, QStringLiteral("US"), QStringLiteral("d"));
    QStringList expected = {ds->Key, users->Key};
    for (int i = 0; i < 300; ++i)
        expected << n.Add(users, QStringLiteral("us"), QStringLiteral("u%1").arg(i))->Key;
    auto positions = [&] {
        QStringList keys;
        for (int i = 1; i <= n.Count(); ++i)
            keys << n.Item(i)->Key;
        return keys;
    };
    ASSERT_EQ(positions(), expected);

    // A few removals, then reads by position; then enough removals to close
    // the gaps on their own; then a re-key (the new entry comes last) and adds.
    for (int i : {5, 17, 18, 200}) {
        n.Remove(QStringLiteral("DSN=d:US=d:us=u%1:").arg(i));
        expected.removeOne(QStringLiteral("DSN=d:US=d:us=u%1:").arg(i));
    }
    EXPECT_EQ(positions(), expected);
    for (int i = 100; i < 250; ++i) {
        n.Remove(QStringLiteral("DSN=d:US=d:us=u%1:").arg(i));
        expected.removeOne(QStringLiteral("DSN=d:US=d:us=u%1:").arg(i));
    }
    EXPECT_EQ(n.Item(QStringLiteral("DSN=d:US=d:us=u99:"))->Key, QStringLiteral("DSN=d:US=d:us=u99:"));
    n.ChangeKey(QStringLiteral("DSN=d:US=d:us=u0:"), QStringLiteral("DSN=d:US=d:us=x:"));
    expected.removeOne(QStringLiteral("DSN=d:US=d:us=u0:"));
    expected << QStringLiteral("DSN=d:US=d:us=x:");
    expected << n.Add(users, QStringLiteral("us"), QStringLiteral("y"))->Key;
    EXPECT_EQ(positions(), expected);
    EXPECT_EQ(n.Item(n.Count() + 1), nullptr);
    QStringList walked;
    for (const CNodePtr &node : n.Nodes())
        walked << node->Key;
    EXPECT_EQ(walked, expected);
    expectMirrored();

    n.RemoveChildren(n.Node(users->Key));
    EXPECT_EQ(positions(), (QStringList{ds->Key, users->Key}));
}

// The tree reaches the window only through ExplorerWindow.
class RecordingWindow : public ExplorerWindow
{
public:
    QTreeView *Treeview() const override { return nullptr; }
    void Status(const QString &message) override { statuses << message; }
    QString StatusText() const override { return statuses.value(statuses.size() - 1); }
    int PaneDisplay(const QString &, const QStringList &) override { return 0; }
    void PaneAddNew(const QString &, const QStringList &) override {}
    void PaneEdit(const QString &, const QStringList &) override {}
    void PaneDelete(const QString &, const QStringList &) override {}
    QStringList statuses;
};

TEST_F(CNodesTest, ExpandChildrenReportsThroughTheWindow)
{
    CNodes &n = gNodes();
    const CNodePtr ds = n.Add(static_cast<const CNode *>(nullptr), QStringLiteral("DSN"), QStringLiteral("d"));
    n.ExpandChildren(ds); // no window: nothing to report to
    RecordingWindow window;
    ExplorerWindow::SetCurrent(&window);
    n.ExpandChildren(ds);
    ExplorerWindow::SetCurrent(nullptr);
    EXPECT_EQ(window.statuses, (QStringList{QStringLiteral("Expanding DSN=d:"), QStringLiteral("Ready")}));
}

TEST_F(CNodesTest, NamesDifferingOnlyInCaseAreTwoNodes)
{
    CNodes &n = gNodes();
    const CNodePtr ds = n.Add(static_cast<const CNode *>(nullptr), QStringLiteral("DSN"), QStringLiteral("d"));
    const CNodePtr users = n.Add(ds, QStringLiteral("US"), QStringLiteral("d"));
    ASSERT_TRUE(n.Add(users, QStringLiteral("us"), QStringLiteral("admin")));
    ASSERT_TRUE(n.Add(users, QStringLiteral("us"), QStringLiteral("ADMIN")));
    EXPECT_EQ(n.Node(users->Key)->rowCount(), 2);
    expectMirrored();
}

TEST_F(CNodesTest, FailedAddsChangeNothing)
{
    CNodes &n = gNodes();
    const CNodePtr ds = n.Add(static_cast<const CNode *>(nullptr), QStringLiteral("DSN"), QStringLiteral("d"));
    n.Add(ds, QStringLiteral("US"), QStringLiteral("d"));
    const int count = n.Count();

    // A key already present: the error dialog, then nothing after Ignore.
    m_ui.answerError(ui::vbIgnore);
    EXPECT_EQ(n.Add(ds, QStringLiteral("US"), QStringLiteral("d")), nullptr);
    // A relation no tree node has: the collection entry is withdrawn too.
    const CNode stranger{QStringLiteral("DSN=x:"), QStringLiteral("x"), QStringLiteral("DSN")};
    m_ui.answerError(ui::vbIgnore);
    EXPECT_EQ(n.Add(&stranger, QStringLiteral("US"), QStringLiteral("x")), nullptr);
    EXPECT_EQ(n.Item(QStringLiteral("DSN=x:US=x:")), nullptr);

    ASSERT_EQ(m_ui.errors().size(), 2);
    EXPECT_EQ(m_ui.errors()[0].number, QStringLiteral("457"));
    EXPECT_EQ(m_ui.errors()[0].trappedIn, QStringLiteral("CNodes.Add"));
    EXPECT_EQ(m_ui.errors()[1].number, QStringLiteral("35601"));
    EXPECT_EQ(n.Count(), count);
    expectMirrored();
}

TEST_F(CNodesTest, RemoveTakesTheSubtreeFromBoth)
{
    CNodes &n = gNodes();
    const CNodePtr column = buildColumn();
    const QString tableKey = QStringLiteral("DSN=d:DB=d:db=sales:TA=sales:ta=t1:");
    n.Add(n.Item(tableKey), QStringLiteral("SCO"), QStringLiteral("t1"));

    n.Remove(n.Item(tableKey)); // by object
    EXPECT_EQ(n.Item(tableKey), nullptr);
    EXPECT_EQ(n.Item(column->Key), nullptr);
    EXPECT_EQ(n.Node(column->Key), nullptr);
    EXPECT_EQ(n.Count(), 4);
    expectMirrored();

    n.Remove(QStringLiteral("DSN=d:DB=d:")); // by key
    EXPECT_EQ(n.Count(), 1);
    expectMirrored();

    // Nothing, or a key no node has, does nothing.
    n.Remove(CNodePtr());
    n.Remove(QStringLiteral("DSN=nowhere:"));
    EXPECT_EQ(n.Count(), 1);
}

TEST_F(CNodesTest, RemoveChildrenAndClear)
{
    CNodes &n = gNodes();
    buildColumn();
    QStandardItem *ds = n.Node(QStringLiteral("DSN=d:"));
    n.RemoveChildren(ds);
    EXPECT_EQ(ds->rowCount(), 0);
    EXPECT_EQ(n.Count(), 1);
    expectMirrored();
    n.Clear();
    EXPECT_EQ(n.Count(), 0);
    EXPECT_EQ(n.Model()->rowCount(), 0);
}

TEST_F(CNodesTest, ChangeKeyRekeysOneNode)
{
    CNodes &n = gNodes();
    const CNodePtr column = buildColumn();
    const QString oldKey = QStringLiteral("DSN=d:DB=d:db=sales:");
    const QString newKey = QStringLiteral("DSN=d:DB=d:db=stock:");
    QStandardItem *tree = n.Node(oldKey);

    n.ChangeKey(oldKey, newKey);
    EXPECT_EQ(n.Item(oldKey), nullptr);
    const CNodePtr renamed = n.Item(newKey);
    ASSERT_TRUE(renamed);
    EXPECT_EQ(renamed->NodeType, QStringLiteral("db"));
    EXPECT_EQ(renamed->NodeData, QStringLiteral("sales")); // the caller sets the new name
    EXPECT_EQ(n.Node(newKey), tree);                       // the same tree node, children kept
    EXPECT_EQ(CNodes::NodeKeyOf(tree), newKey);
    EXPECT_EQ(tree->rowCount(), 1);
    // Descendants keep their old keys.
    EXPECT_EQ(n.Item(column->Key), column);
    expectMirrored();

    // A missing old key or a new key already present changes nothing.
    const int count = n.Count();
    n.ChangeKey(QStringLiteral("DSN=nowhere:"), QStringLiteral("DSN=elsewhere:"));
    n.ChangeKey(newKey, QStringLiteral("DSN=d:"));
    EXPECT_EQ(n.Count(), count);
    EXPECT_TRUE(n.Item(newKey));
    expectMirrored();
}

TEST_F(CNodesTest, SelectedItemFollowsTheView)
{
    QTreeView view;
    CNodes &n = gNodes();
    n.setTreeview(&view);
    EXPECT_EQ(n.SelectedItem(), nullptr);
    const CNodePtr column = buildColumn();
    n.setSelectedItem(column);
    EXPECT_EQ(n.SelectedItem(), column);
    n.Remove(column);
    EXPECT_NE(n.SelectedItem(), column);
}

TEST_F(CNodesTest, ExpandChildrenReloadsDepthFirst)
{
    QTreeView view;
    CNodes &n = gNodes();
    n.setTreeview(&view);
    QStringList calls;
    // A stand-in loader: collapsing drops the children, expanding a folder
    // gives it two rows, each with a placeholder.
    n.setExpandHandlers(
        [&](QStandardItem *node) {
            calls << QStringLiteral("-") + CNodes::NodeKeyOf(node);
            n.RemoveChildren(node);
        },
        [&](QStandardItem *node) {
            const QString key = CNodes::NodeKeyOf(node);
            calls << QStringLiteral("+") + key;
            const CNodePtr parent = n.Item(key);
            if (parent->NodeType == QLatin1String("US"))
                for (const char *user : {"a", "b"})
                    n.Add(n.Add(parent, QStringLiteral("us"), QString::fromLatin1(user)), QString());
        });
    const CNodePtr ds = n.Add(static_cast<const CNode *>(nullptr), QStringLiteral("DSN"), QStringLiteral("d"));
    const CNodePtr users = n.Add(ds, QStringLiteral("US"), QStringLiteral("d"));

    n.ExpandChildren(users);
    QStringList expected = {QStringLiteral("-DSN=d:US=d:"), QStringLiteral("+DSN=d:US=d:")};
    for (const char *user : {"a", "b"}) {
        const QString key = QStringLiteral("DSN=d:US=d:us=%1:").arg(QLatin1String(user));
        expected << QStringLiteral("-") + key << QStringLiteral("+") + key;
    }
    EXPECT_EQ(calls, expected);
    EXPECT_TRUE(n.Expanded(n.Node(users->Key)));
    EXPECT_THROW(n.ExpandChildren(nullptr), QnError);
    expectMirrored();
}

// A walk that a failure cuts short leaves the view as far as it got: the nodes
// expanded so far shown expanded (a row without children shows no more so),
// the placeholders added meanwhile in the tree, the tree enabled and redrawn.
TEST_F(CNodesTest, ExpandChildrenCutShortLeavesTheTreeWhole)
{
    QTreeView view;
    CNodes &n = gNodes();
    n.setTreeview(&view);
    RecordingWindow window;
    ExplorerWindow::SetCurrent(&window);
    // A stand-in loader: collapsing puts a placeholder back, expanding the
    // Users folder gives it three users with a placeholder each, expanding user b fails.
    n.setExpandHandlers(
        [&](QStandardItem *node) {
            n.RemoveChildren(node);
            n.Add(node, QString());
        },
        [&](QStandardItem *node) {
            n.RemoveChildren(node);
            const CNodePtr entry = n.Item(node);
            if (entry->NodeType == QLatin1String("US"))
                for (const char *user : {"a", "b", "c"})
                    n.Add(n.Add(entry, QStringLiteral("us"), QString::fromLatin1(user)), QString());
            if (entry->NodeData == QLatin1String("b"))
                qnerr::raise(3146, QStringLiteral("ODBC--call failed."));
        });
    const CNodePtr ds = n.Add(static_cast<const CNode *>(nullptr), QStringLiteral("DSN"), QStringLiteral("d"));
    const CNodePtr users = n.Add(ds, QStringLiteral("US"), QStringLiteral("d"));
    n.Add(users, QString());

    EXPECT_THROW(n.ExpandChildren(users), QnError);
    ExplorerWindow::SetCurrent(nullptr);
    expectMirrored();
    const auto shown = [&](const char *user) {
        QStandardItem *node = n.Node(users->Key + QStringLiteral("us=%1:").arg(QLatin1String(user)));
        return QStringLiteral("%1 %2 child(ren)")
            .arg(view.isExpanded(node->index()) ? QStringLiteral("expanded") : QStringLiteral("collapsed"))
            .arg(node->rowCount());
    };
    EXPECT_TRUE(view.isExpanded(n.Node(users->Key)->index()));
    EXPECT_EQ(shown("a"), QStringLiteral("collapsed 0 child(ren)"));
    EXPECT_EQ(shown("b"), QStringLiteral("collapsed 0 child(ren)"));
    EXPECT_EQ(shown("c"), QStringLiteral("collapsed 1 child(ren)"));
    EXPECT_TRUE(view.isEnabled());
    EXPECT_TRUE(view.updatesEnabled());
    EXPECT_EQ(window.statuses.value(0), QStringLiteral("Expanding DSN=d:US=d:"));
}

} // namespace
