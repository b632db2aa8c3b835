// The context menu driven through the explorer tree as a user drives it: a
// right click on a node, an item chosen, and what the command leaves in the
// tree and the catalog.

#include "menudriver.h"

#include <QStandardItem>
#include <QTreeView>
#include <ostream>
#include <vector>

#include "mainwindow/frmdsn.h"
#include "mainwindow/frmwelcome.h"
#include "tree/cnodes.h"

namespace {

const QString kDsn = QStringLiteral("DSN=QnTest:");
const QString kFiles = kDsn + "FI=QnTest:";
const QString kDbs = kDsn + "DB=QnTest:";
const QString kSales = kDbs + "db=SALES:";
const QString kTables = kSales + "TA=SALES:";
const QString kCustomer = kTables + "ta=CUSTOMER:";
const QString kColumns = kCustomer + "CO=CUSTOMER:";

class ExplorerMenu : public MainWindowTest
{
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        m_panes = std::make_unique<RecordingPanes>(RecordingPanes::Undeclared());
        main().show();
    }
    void TearDown() override
    {
        MainWindowTest::TearDown();
        m_panes.reset();
    }

    QTreeView *tree() { return main().tvwExplorer; }
    static QStandardItem *node(const QString &key) { return gNodes().Node(key); }
    QPoint textOf(QStandardItem *item)
    {
        tree()->scrollTo(item->index());
        const QRect rect = tree()->visualRect(item->index());
        return QPoint(rect.left() + qMin(rect.width() / 2, 24), rect.center().y());
    }
    // A click on the node's expand button.
    void clickButton(const QString &key)
    {
        QStandardItem *item = node(key);
        ASSERT_TRUE(item) << key.toStdString();
        textOf(item);
        const QRect rect = tree()->visualRect(item->index());
        QTest::mouseClick(tree()->viewport(), Qt::LeftButton, {},
                          QPoint(rect.left() - tree()->indentation() / 2, rect.center().y()));
    }
    // Expands each node of the path with its expand button, as a user does.
    void open(const QStringList &keys)
    {
        for (const QString &key : keys) {
            QStandardItem *item = node(key);
            ASSERT_TRUE(item) << key.toStdString();
            if (tree()->isExpanded(item->index()))
                continue;
            clickButton(key);
            ASSERT_TRUE(tree()->isExpanded(node(key)->index())) << key.toStdString();
        }
    }
    void leftClick(const QString &key) { QTest::mouseClick(tree()->viewport(), Qt::LeftButton, {}, textOf(node(key))); }
    // A right click on the node: the menu it showed (nothing when none), and `caption` chosen from it.
    std::optional<QStringList> rightClick(const QString &key, const QString &caption = {},
                                          const std::function<void()> &beforeChoosing = {})
    {
        QStandardItem *item = node(key);
        EXPECT_TRUE(item) << key.toStdString();
        if (!item)
            return std::nullopt;
        const QPoint at = textOf(item);
        QTest::mousePress(tree()->viewport(), Qt::RightButton, {}, at);
        return whilePopup([&] { QTest::mouseRelease(tree()->viewport(), Qt::RightButton, {}, at); },
                          [&](QMenu &menu) {
                              if (beforeChoosing)
                                  beforeChoosing();
                              if (caption.isEmpty())
                                  menu.close();
                              else
                                  clickItem(menu, caption);
                          });
    }
    QStringList childKeys(const QString &key)
    {
        QStringList keys;
        if (QStandardItem *item = node(key))
            for (int row = 0; row < item->rowCount(); ++row)
                keys << CNodes::NodeKeyOf(item->child(row));
        return keys;
    }
    QString selected() { return gNodes().SelectedItem() ? gNodes().SelectedItem()->Key : QString(); }

    std::unique_ptr<RecordingPanes> m_panes;
};

TEST_F(ExplorerMenu, ConnectAndDisconnectFromTheDataSourcesMenu)
{
    EXPECT_EQ(rightClick(kDsn, "&Connect"), QStringList{"&Connect"});
    EXPECT_EQ(CNodes::Image(node(kDsn)), QStringLiteral("Datasource"));
    EXPECT_EQ(childKeys(kDsn), (QStringList{kFiles, kDbs, kDsn + "US=QnTest:"}));
    EXPECT_EQ(gCurrentPane().data(), forms::LoadedForm<frmDSN>());
    EXPECT_EQ(gConnections().Count(), 1);

    open({kDsn, kDbs});
    EXPECT_EQ(rightClick(kDsn, "&Disconnect"),
              (QStringList{"E&xpand All", "&Import Catalog", "&Export Catalog", "C&lear Catalog", "&Disconnect"}));
    flush();
    EXPECT_EQ(CNodes::Image(node(kDsn)), QStringLiteral("DSN Ghost"));
    EXPECT_FALSE(tree()->isExpanded(node(kDsn)->index()));
    EXPECT_EQ(childKeys(kDsn).size(), 1); // the placeholder
    EXPECT_FALSE(node(kDbs));
    EXPECT_EQ(gConnections().Count(), 0);
    EXPECT_EQ(gCurrentPane().data(), forms::LoadedForm<frmWelcome>());
    EXPECT_EQ(rightClick(kDsn), QStringList{"&Connect"});
}

TEST_F(ExplorerMenu, ExpandAllLoadsEverythingBelowTheNodeClicked)
{
    open({kDsn});
    ui().answerMsgBox(ui::vbNo);
    rightClick(kFiles, "E&xpand All");
    EXPECT_FALSE(node(kFiles + "fi=CUSTOMER:FD=CUSTOMER:fd=NAME:"));
    EXPECT_EQ(selected(), kFiles) << "a command ran: the selection stays";

    ui().answerMsgBox(ui::vbYes);
    rightClick(kFiles, "E&xpand All");
    EXPECT_TRUE(node(kFiles + "fi=CUSTOMER:FD=CUSTOMER:fd=NAME:"));
    EXPECT_TRUE(node(kFiles + "fi=MOVEMENT:FD=MOVEMENT:fd=REASON:"));
    EXPECT_EQ(main().StatusText(), QStringLiteral("Ready"));

    // A table: no question, and the selection goes back to the node selected before.
    open({kDbs, kSales, kTables});
    leftClick(kSales);
    ui().clear();
    rightClick(kCustomer, "E&xpand All");
    EXPECT_TRUE(ui().messages().isEmpty());
    EXPECT_TRUE(node(kColumns + "co=NAME:"));
    EXPECT_TRUE(node(kCustomer + "TBLPRV=CUSTOMER:tblprv=REPORTS:"));
    EXPECT_EQ(selected(), kSales);
}

TEST_F(ExplorerMenu, ExpandAllOnADataSourceThatNoLongerConnectsLeavesItCollapsed)
{
    open({kDsn});
    gConnections().RemoveAll();
    gConnections().setOpener([](const QString &) -> dao::DatabasePtr { qnerr::raise(qnerr::ConnectCancelled); });
    ui().answerMsgBox(ui::vbYes);
    rightClick(kDsn, "E&xpand All");
    gConnections().setOpener(nullptr);
    // Collapsed, and expandable again: placeholders only.
    EXPECT_FALSE(tree()->isExpanded(node(kDsn)->index()));
    const QStringList children = childKeys(kDsn);
    EXPECT_FALSE(children.isEmpty());
    for (const QString &child : children)
        EXPECT_TRUE(child.startsWith(QLatin1Char('K'))) << child.toStdString();
    EXPECT_TRUE(ui().errors().isEmpty());
}

// The panes the tree shows, in order ("<form>:<keys>"), each marked when the
// tree was busy at the time (an expansion or a walk running).
QStringList gShownPanes;

class WatchedPane : public RecordingPane
{
public:
    using RecordingPane::RecordingPane;
    int Display(const QStringList &keys) override
    {
        gShownPanes << objectName() + QLatin1Char(':') + keys.join(QLatin1Char(',')) +
                           (mdiMain::instance().tvwExplorer->isEnabled() ? QString() : QStringLiteral(" (tree busy)"));
        return RecordingPane::Display(keys);
    }
};

class ExpandAllPane;

// Expand All from a node's menu, after the user's clicks that set it up.
struct ExpandAllCase
{
    const char *name;
    std::function<void(ExpandAllPane &)> open; // the clicks before the panes are watched
    std::function<void(ExpandAllPane &)> then; // and after
    QString node;
    QStringList panes; // shown from then on
    QString paneAfter; // the current pane at the end
};

void PrintTo(const ExpandAllCase &c, std::ostream *os) { *os << c.name; }

class ExpandAllPane : public ExplorerMenu, public ::testing::WithParamInterface<ExpandAllCase>
{
public:
    // Lets the cases' steps reach the driver.
    using ExplorerMenu::clickButton;
    using ExplorerMenu::leftClick;
    using ExplorerMenu::open;
    using ExplorerMenu::rightClick;
    using ExplorerMenu::ui;
};

// The walk below the node shows no pane per node it collapses and loads: the
// pane the user sees changes at most once, when the walk is over, to the pane
// of the node selected then; where the press before it left the pane alone, it
// stays.
TEST_P(ExpandAllPane, ShowsAtMostOnePaneWhenTheWalkIsOver)
{
    const ExpandAllCase &c = GetParam();
    const RecordingPanes watched({QStringLiteral("frmDSN"), QStringLiteral("frmFiles"), QStringLiteral("frmFile")},
                                 [](const QString &name) { return new WatchedPane(name); });
    c.open(*this);
    gShownPanes.clear();
    if (c.then)
        c.then(*this);
    if (HasFatalFailure())
        return;
    ui().answerMsgBox(ui::vbYes);
    rightClick(c.node, QStringLiteral("E&xpand All"));
    EXPECT_TRUE(ui().errors().isEmpty());
    EXPECT_EQ(gShownPanes, c.panes);
    ASSERT_TRUE(gCurrentPane());
    EXPECT_EQ(gCurrentPane()->objectName(), c.paneAfter);
    EXPECT_TRUE(gCurrentPane()->isVisible());
    EXPECT_TRUE(node(kFiles + "fi=MOVEMENT:FD=MOVEMENT:fd=REASON:")) << "the walk went through";
    EXPECT_TRUE(tree()->isExpanded(node(kFiles)->index()));
    EXPECT_EQ(main().StatusText(), QStringLiteral("Ready"));
    gShownPanes.clear();
}

const std::vector<ExpandAllCase> kExpandAllCases = {
    // The Files folder's walk leaves the data source's pane (the data source,
    // selected at the press, stays in the tree); the press on the data source
    // finds the folder selected, and the walk's first collapse takes it away.
    {"DataSourceAfterItsFilesFolderWasCollapsed", [](ExpandAllPane &t) { t.open({kDsn}); },
     [](ExpandAllPane &t) {
         t.ui().answerMsgBox(ui::vbYes);
         t.rightClick(kFiles, QStringLiteral("E&xpand All"));
         t.clickButton(kFiles);
     },
     kDsn, {"frmDSN:QnTest"}, "frmDSN"},
    {"DataSourceRightAfterItOpened", [](ExpandAllPane &t) { t.open({kDsn}); }, {}, kDsn, {"frmDSN:QnTest"}, "frmDSN"},
    // A file's pane shown: the file goes with the Files folder's collapse.
    {"FilesFolderWithAFileShown",
     [](ExpandAllPane &t) {
         t.open({kDsn, kFiles});
         t.leftClick(kFiles + "fi=CUSTOMER:");
     },
     {}, kFiles, {"frmFiles:QnTest"}, "frmFiles"},
};

INSTANTIATE_TEST_SUITE_P(ExplorerMenu, ExpandAllPane, ::testing::ValuesIn(kExpandAllCases),
                         [](const auto &info) { return std::string(info.param.name); });

TEST_F(ExplorerMenu, DeleteColumnRevealsAndReloadsTheColumnsFolder)
{
    const RecordingPanes standIn({QStringLiteral("frmColumn")}); // the column editor records the command's call
    open({kDsn, kDbs, kSales, kTables, kCustomer, kColumns});
    leftClick(kTables);
    // The editor deletes the row (here: behind the tree's back) and returns.
    const auto menu = rightClick(kColumns + "co=PHONE:", "&Delete Column",
                                 [this] { StandinTest::open()->Execute("DELETE FROM QN_COLUMN WHERE COLUMN_NAME = 'PHONE'"); });
    EXPECT_EQ(menu, (QStringList{"&Add New Column", "&Edit Column", "&Delete Column", "&Reorder Columns"}));
    EXPECT_EQ(RecordingPanes::calls("frmColumn"), QStringList{"Delete:QnTest,SALES,CUSTOMER,PHONE"});
    EXPECT_FALSE(node(kColumns + "co=PHONE:"));
    EXPECT_TRUE(node(kColumns + "co=NAME:"));
    EXPECT_TRUE(tree()->isExpanded(node(kColumns)->index()));
    EXPECT_EQ(selected(), kColumns) << "the refresh selected the folder and the command kept it";
}

TEST_F(ExplorerMenu, EditTableOpensTheTableEditorOnThatTable)
{
    open({kDsn, kDbs, kSales, kTables});
    rightClick(kCustomer, "&Edit Table");
    ASSERT_TRUE(gCurrentPane());
    EXPECT_EQ(gCurrentPane()->objectName(), QStringLiteral("frmTable"));
    EXPECT_TRUE(gCurrentPane()->isVisible());
    EXPECT_EQ(selected(), kCustomer);
    EXPECT_TRUE(ui().errors().isEmpty());
}

TEST_F(ExplorerMenu, ClearCatalogCollapsesTheDataSourceWhichThenShowsTheEmptiedCatalog)
{
    open({kDsn, kDbs});
    ASSERT_EQ(childKeys(kDbs), (QStringList{kDbs + "db=SALES:", kDbs + "db=STOCK:"}));
    ui().answerMsgBox(ui::vbYes);
    ui().answerMsgBox(ui::vbOK);
    rightClick(kDsn, "C&lear Catalog");
    EXPECT_FALSE(tree()->isExpanded(node(kDsn)->index()));
    open({kDsn, kDbs, kFiles, kDsn + "US=QnTest:"});
    EXPECT_TRUE(childKeys(kDbs).isEmpty()); // 'QN' is hidden without SysTables
    EXPECT_TRUE(childKeys(kFiles).isEmpty());
    EXPECT_EQ(childKeys(kDsn + "US=QnTest:"), QStringList{kDsn + "US=QnTest:us=ADMIN:"});
}

TEST_F(ExplorerMenu, RecalculateOffsetsFromAFieldsFolderShowsTheFieldsGrid)
{
    const RecordingPanes standIn({QStringLiteral("frmFields")}); // the Fields pane records the command's call
    const QString fields = kFiles + "fi=ORDLINE:FD=ORDLINE:";
    open({kDsn, kFiles, kFiles + "fi=ORDLINE:", fields});
    EXPECT_EQ(rightClick(fields), (QStringList{"&Add New Field", "Recalulate &Offsets", "&Reorder Fields"}));
    ui().answerMsgBox(ui::vbOK);
    rightClick(fields, "Recalulate &Offsets");
    EXPECT_EQ(ui().messages(), QStringList{"Field offsets recalulated for File 'ORDLINE'"});
    EXPECT_EQ(RecordingPanes::calls("frmFields"), QStringList{"Display:QnTest,ORDLINE"});
    EXPECT_EQ(gCurrentPane().data(), RecordingPanes::pane("frmFields"));
}

} // namespace
