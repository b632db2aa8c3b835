// The explorer tree driven as a user drives it: expanding and collapsing
// nodes, clicks that show panes, right clicks, drags; the loads of every
// folder family; the refresh along a node key.

#include <QDir>
#include <QFile>
#include <QFont>
#include <QLabel>
#include <QScrollBar>
#include <QSet>
#include <QRegularExpression>
#include <QStandardItem>
#include <QTest>
#include <QTimer>
#include <QTreeView>

#include "../mainwindow/mainwindowfixture.h"
#include "../mainwindow/menudriver.h"
#include "uitest.h"
#include "core/cconnections.h"
#include "core/errortrace.h"
#include "core/panetable.h"
#include "mainwindow/frmdsn.h"
#include "tree/dragdrop.h"
#include "tree/dragitem.h"
#include "tree/explorer.h"
#include "tree/nodekey.h"
#include "tree/refreshnodepath.h"

namespace {

const QString kDs = QStringLiteral("QnTest");

class Explorer : public MainWindowTest
{
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        setSetting(QStringLiteral("Options"), QStringLiteral("Items"), QStringLiteral("0"));
        // Recording panes for every pane a node shows but the data-source pane.
        for (const PaneFacts &row : PaneTable::All())
            if (row.name != QLatin1String("frmDSN") && row.name.startsWith(QLatin1String("frm")))
                forms::SetFactory(row.name, [name = row.name] { return static_cast<QWidget *>(new TestPane(name)); });
        main().show();
        tree()->setFocus();
        dao::SetStatementObserver([this](const QString &sql) { m_statements << sql; });
    }
    void TearDown() override
    {
        dao::SetStatementObserver(nullptr);
        SetDragDropHandler(nullptr);
        MainWindowTest::TearDown();
    }

    QTreeView *tree() { return main().tvwExplorer; }
    static QStandardItem *node(const QString &key) { return gNodes().Node(key); }

    // Where a user points at a node: its text, or its expand button.
    QPoint textOf(QStandardItem *item)
    {
        tree()->scrollTo(item->index());
        QRect rect = tree()->visualRect(item->index());
        // A deep node: scrolled sideways until its text shows.
        if (const int over = rect.left() + 30 - tree()->viewport()->width(); over > 0) {
            tree()->horizontalScrollBar()->setValue(tree()->horizontalScrollBar()->value() + over);
            rect = tree()->visualRect(item->index());
        }
        return QPoint(rect.left() + qMin(rect.width() / 2, 24), rect.center().y());
    }
    QPoint buttonOf(QStandardItem *item)
    {
        const QRect rect = tree()->visualRect(item->index());
        return QPoint(rect.left() - tree()->indentation() / 2, rect.center().y());
    }
    void click(QStandardItem *item, Qt::MouseButton button = Qt::LeftButton)
    {
        ASSERT_TRUE(item);
        QTest::mouseClick(tree()->viewport(), button, {}, textOf(item));
    }
    // A click on the node's expand button: expands a collapsed node, collapses an expanded one.
    void toggle(QStandardItem *item)
    {
        ASSERT_TRUE(item);
        textOf(item); // scrolled into view
        QTest::mouseClick(tree()->viewport(), Qt::LeftButton, {}, buttonOf(item));
    }
    // Expands each node of the path, from the data source down, as a user would.
    void open(const QStringList &keys)
    {
        for (const QString &key : keys) {
            QStandardItem *item = node(key);
            ASSERT_TRUE(item) << key.toStdString();
            if (!tree()->isExpanded(item->index()))
                toggle(item);
            ASSERT_TRUE(tree()->isExpanded(item->index())) << key.toStdString();
        }
    }

    // A node's children: "text|image", with "|grey" and "|bold" when shown so,
    // and "+" after the text when the child has a placeholder.
    static QStringList children(QStandardItem *item)
    {
        QStringList list;
        if (!item)
            return {QStringLiteral("(no node)")};
        for (int row = 0; row < item->rowCount(); ++row) {
            QStandardItem *child = item->child(row);
            QString text = child->text();
            if (child->rowCount() == 1 && CNodes::NodeKeyOf(child->child(0)).startsWith(QLatin1Char('K')))
                text += QLatin1Char('+');
            text += QLatin1Char('|') + CNodes::Image(child);
            if (child->data(Qt::ForegroundRole).isValid() &&
                child->foreground().color() == SystemGreyText())
                text += QStringLiteral("|grey");
            else if (child->data(Qt::ForegroundRole).isValid())
                text += QStringLiteral("|colour");
            if (child->font().bold())
                text += QStringLiteral("|bold");
            list << text;
        }
        return list;
    }
    // Every node in tree order: "key" and "+" when expanded.
    QStringList treeState()
    {
        QStringList list;
        std::function<void(QStandardItem *)> walk = [&](QStandardItem *parent) {
            for (int row = 0; row < parent->rowCount(); ++row) {
                QStandardItem *child = parent->child(row);
                list << CNodes::NodeKeyOf(child) + (tree()->isExpanded(child->index()) ? "+" : "");
                walk(child);
            }
        };
        walk(gNodes().Model()->invisibleRootItem());
        return list;
    }
    static bool onlyPlaceholder(QStandardItem *item)
    {
        return item && item->rowCount() == 1 && CNodes::NodeKeyOf(item->child(0)).startsWith(QLatin1Char('K'));
    }

    void exec(const QString &sql) { StandinTest::open(kDs)->Execute(sql); }

    QStringList m_statements;
};

TEST_F(Explorer, ExpandingADataSourceConnectsItAndShowsItsFolders)
{
    const QString dsKey = QStringLiteral("DSN=QnTest:");
    QStandardItem *ds = node(dsKey);
    ASSERT_TRUE(onlyPlaceholder(ds));
    EXPECT_EQ(gConnections().Count(), 0);

    toggle(ds);
    EXPECT_TRUE(tree()->isExpanded(ds->index()));
    EXPECT_EQ(gConnections().Count(), 1);
    EXPECT_EQ(CNodes::Image(ds), QStringLiteral("Datasource"));
    EXPECT_EQ(CNodes::SelectedImage(ds), QStringLiteral("Datasource"));
    EXPECT_EQ(children(ds), (QStringList{"Files+|Files", "Databases+|DBs", "Users+|Users"}));
    EXPECT_EQ(gNodes().Item(dsKey + "DB=QnTest:")->NodeData, kDs);
    EXPECT_EQ(gNodes().SelectedItem()->Key, dsKey);
    ASSERT_TRUE(gCurrentPane());
    auto *pane = dynamic_cast<frmDSN *>(gCurrentPane().data());
    ASSERT_TRUE(pane);
    EXPECT_EQ(pane->lblTitle.title->text(), QStringLiteral("QnTest (Connected) - Datasource Properties"));
    EXPECT_TRUE(tree()->isEnabled());
    EXPECT_TRUE(tree()->updatesEnabled());
    EXPECT_TRUE(m_statements.filter(QStringLiteral("QN_USER")).isEmpty()) << "no folder is read before it expands";
}

// Each folder family: its rows in the data source's order, texts, pictures,
// placeholders, grey system objects, bold 'ADMIN', and the one query it sends.
TEST_F(Explorer, EveryFolderLoadsItsRowsWithItsQuery)
{
    setSetting(QStringLiteral("Options"), QStringLiteral("SysTables"), QStringLiteral("1"));
    exec(QStringLiteral("INSERT INTO QN_FILE (FILE_NAME) VALUES ('KEY'), ('file'), ('DB''DBPRV')"));
    exec(QStringLiteral("INSERT INTO QN_DB (DATABASE_NAME) VALUES ('qn'), ('O''NEIL')"));
    exec(QStringLiteral("INSERT INTO QN_TABLE (DATABASE_NAME, TABLE_NAME) VALUES ('O''NEIL', 'T''1')"));
    exec(QStringLiteral("INSERT INTO QN_COLUMN (DATABASE_NAME, TABLE_NAME, COLUMN_NAME, COLUMN_NUMBER, COLUMN_TYPE) "
                        "VALUES ('O''NEIL', 'T''1', 'C2', 2, 0), ('O''NEIL', 'T''1', 'ROWID', 1, 6), "
                        "('O''NEIL', 'T''1', 'C1', 1, 0)"));
    exec(QStringLiteral("INSERT INTO QN_TBLPRV (DATABASE_NAME, TABLE_NAME, USER_NAME) VALUES ('O''NEIL', 'T''1', "
                        "'U''1'), ('QN', 'FILE', 'ADMIN')"));
    exec(QStringLiteral("INSERT INTO QN_DBPRV (USER_NAME, DATABASE_NAME) VALUES ('GHOST', 'SALES')"));
    exec(QStringLiteral("INSERT INTO QN_USER (USER_NAME) VALUES ('admin')"));

    const QString ds = QStringLiteral("DSN=QnTest:");
    open({ds});
    const QString files = ds + "FI=QnTest:", dbs = ds + "DB=QnTest:", users = ds + "US=QnTest:";
    const QString qnFile = dbs + "db=QN:TA=QN:ta=FILE:", orders = dbs + "db=SALES:TA=SALES:ta=ORDERS:",
                  oneil = dbs + "db=O'NEIL:", t1 = oneil + "TA=O'NEIL:ta=T'1:";
    const struct
    {
        QString key;
        QStringList rows;
        QString query; // empty: none
    } folders[] = {
        {files,
         {"COLUMN+|File|grey", "CUSTOMER+|File", "DB+|File|grey", "DB'DBPRV+|File", "DBPRV+|File|grey",
          "DRIVER+|File|grey", "FIELD+|File|grey", "FILE+|File|grey", "KEY+|File", "LOCDT+|File|grey",
          "MOVEMENT+|File", "ORDERS+|File", "ORDLINE+|File", "PRODUCT+|File", "SQLDT+|File|grey", "STOCKBIN+|File",
          "TABLE+|File|grey", "TBLPRV+|File|grey", "USER+|File|grey", "file+|File"},
         "SELECT FILE_NAME FROM QN_FILE ORDER BY FILE_NAME ASC"},
        {files + "fi=CUSTOMER:", {"Fields+|Fields"}, {}},
        {files + "fi=CUSTOMER:FD=CUSTOMER:",
         {"ADDRESS|Field", "CITY|Field", "CREDIT-LIMIT|Field", "CUST-NO|Field", "NAME|Field", "PHONE|Field",
          "POSTCODE|Field", "REGION|Field", "SINCE|Field"},
         "SELECT FIELD_NAME FROM QN_FIELD WHERE FILE_NAME = 'CUSTOMER' ORDER BY FIELD_NAME ASC"},
        {files + "fi=FILE:", {"Fields+|Fields|grey"}, {}},
        {files + "fi=FILE:FD=FILE:",
         {"FILE_NAME|Field|grey", "FILE_ORGANISATION|Field|grey", "OPEN_STRING|Field|grey", "RECORD_SIZE|Field|grey",
          "RECORD_TYPE|Field|grey", "REMARKS|Field|grey"},
         "SELECT FIELD_NAME FROM QN_FIELD WHERE FILE_NAME = 'FILE' ORDER BY FIELD_NAME ASC"},
        {dbs,
         {"O'NEIL+|DB", "QN+|DB|grey", "SALES+|DB", "STOCK+|DB", "qn+|DB"},
         "SELECT DATABASE_NAME FROM QN_DB ORDER BY DATABASE_NAME ASC"},
        {dbs + "db=QN:", {"Tables+|Tables|grey", "Database Privileges+|Padlock"}, {}},
        {dbs + "db=QN:TA=QN:",
         {"COLUMN+|Table|grey", "DB+|Table|grey", "DBPRV+|Table|grey", "DRIVER+|Table|grey", "FIELD+|Table|grey",
          "FILE+|Table|grey", "LOCDT+|Table|grey", "SQLDT+|Table|grey", "TABLE+|Table|grey", "TBLPRV+|Table|grey",
          "USER+|Table|grey"},
         "SELECT TABLE_NAME FROM QN_TABLE WHERE DATABASE_NAME = 'QN' ORDER BY TABLE_NAME ASC"},
        {qnFile,
         {"Columns+|Columns|grey", "Special Columns|Special Columns|grey", "Table Privileges+|Padlock|grey"},
         {}},
        {qnFile + "CO=FILE:",
         {"FILE_NAME|Column|grey", "OPEN_STRING|Column|grey", "RECORD_SIZE|Column|grey",
          "FILE_ORGANISATION|Column|grey", "RECORD_TYPE|Column|grey", "REMARKS|Column|grey"},
         "SELECT COLUMN_NAME FROM QN_COLUMN WHERE DATABASE_NAME = 'QN' AND TABLE_NAME = 'FILE' AND COLUMN_TYPE = 0 "
         "ORDER BY COLUMN_NUMBER ASC"},
        {qnFile + "TBLPRV=FILE:", {"ADMIN|User|grey|bold"},
         "SELECT USER_NAME FROM QN_TBLPRV WHERE DATABASE_NAME = 'QN' AND TABLE_NAME = 'FILE' ORDER BY USER_NAME "},
        {dbs + "db=QN:DBPRV=QN:", {"ADMIN|User|bold"},
         "SELECT USER_NAME FROM QN_DBPRV WHERE DATABASE_NAME = 'QN' ORDER BY USER_NAME "},
        {dbs + "db=SALES:", {"Tables+|Tables", "Database Privileges+|Padlock"}, {}},
        {dbs + "db=SALES:TA=SALES:",
         {"CUSTOMER+|Table", "OPEN_ORDERS+|Table", "ORDERS+|Table", "ORDER_LINE+|Table"},
         "SELECT TABLE_NAME FROM QN_TABLE WHERE DATABASE_NAME = 'SALES' ORDER BY TABLE_NAME ASC"},
        {orders, {"Columns+|Columns", "Special Columns|Special Columns", "Table Privileges+|Padlock"}, {}},
        {orders + "CO=ORDERS:",
         {"ORDER_NO|Column", "CUST_NO|Column", "ORDER_DATE|Column", "ORDER_TIME|Column", "STATUS|Column",
          "TOTAL|Column", "CARD_REF|Column"},
         "SELECT COLUMN_NAME FROM QN_COLUMN WHERE DATABASE_NAME = 'SALES' AND TABLE_NAME = 'ORDERS' AND COLUMN_TYPE = "
         "0 ORDER BY COLUMN_NUMBER ASC"},
        {orders + "TBLPRV=ORDERS:", {"MBROWN|User", "REPORTS|User"},
         "SELECT USER_NAME FROM QN_TBLPRV WHERE DATABASE_NAME = 'SALES' AND TABLE_NAME = 'ORDERS' ORDER BY USER_NAME "},
        {dbs + "db=SALES:DBPRV=SALES:",
         {"ADMIN|User|bold", "GHOST|User", "JSMITH|User", "MBROWN|User", "REPORTS|User"},
         "SELECT USER_NAME FROM QN_DBPRV WHERE DATABASE_NAME = 'SALES' ORDER BY USER_NAME "},
        {oneil, {"Tables+|Tables", "Database Privileges+|Padlock"}, {}},
        {oneil + "TA=O'NEIL:", {"T'1+|Table"},
         "SELECT TABLE_NAME FROM QN_TABLE WHERE DATABASE_NAME = 'O''NEIL' ORDER BY TABLE_NAME ASC"},
        {t1, {"Columns+|Columns", "Special Columns|Special Columns", "Table Privileges+|Padlock"}, {}},
        {t1 + "CO=T'1:", {"C1|Column", "C2|Column"},
         "SELECT COLUMN_NAME FROM QN_COLUMN WHERE DATABASE_NAME = 'O''NEIL' AND TABLE_NAME = 'T''1' AND COLUMN_TYPE = "
         "0 ORDER BY COLUMN_NUMBER ASC"},
        {t1 + "TBLPRV=T'1:", {"U'1|User"},
         "SELECT USER_NAME FROM QN_TBLPRV WHERE DATABASE_NAME = 'O''NEIL' AND TABLE_NAME = 'T''1' ORDER BY USER_NAME "},
        {oneil + "DBPRV=O'NEIL:", {},
         "SELECT USER_NAME FROM QN_DBPRV WHERE DATABASE_NAME = 'O''NEIL' ORDER BY USER_NAME "},
        {users, {"ADMIN|User|bold", "JSMITH|User", "MBROWN|User", "REPORTS|User", "admin|User"},
         "SELECT USER_NAME FROM QN_USER ORDER BY USER_NAME ASC"},
    };
    for (const auto &folder : folders) {
        SCOPED_TRACE(folder.key.toStdString());
        QStandardItem *item = node(folder.key);
        ASSERT_TRUE(item);
        m_statements.clear();
        toggle(item);
        EXPECT_TRUE(tree()->isExpanded(item->index()));
        EXPECT_EQ(children(item), folder.rows);
        EXPECT_EQ(m_statements, folder.query.isEmpty() ? QStringList() : QStringList{folder.query});
    }
    // A row's NodeData is its name; the Special Columns folder cannot expand.
    EXPECT_EQ(gNodes().Item(t1)->NodeData, QStringLiteral("T'1"));
    QStandardItem *special = node(orders + "SCO=ORDERS:");
    ASSERT_TRUE(special);
    EXPECT_FALSE(gNodes().Model()->hasChildren(special->index()));
    m_statements.clear();
    tvwExplorer_Expand(special);
    EXPECT_EQ(special->rowCount(), 0);
    EXPECT_TRUE(m_statements.isEmpty());
}

// Without SysTables the catalog's own files and database are left out; the
// field order follows FieldOrder; both are read at each expansion.
TEST_F(Explorer, SettingsAreReadAtEachExpansion)
{
    exec(QStringLiteral("INSERT INTO QN_FILE (FILE_NAME) VALUES ('KEY')"));
    const QString ds = QStringLiteral("DSN=QnTest:"), files = ds + "FI=QnTest:", dbs = ds + "DB=QnTest:";
    const QString fields = files + "fi=CUSTOMER:FD=CUSTOMER:";
    open({ds, files, dbs});
    EXPECT_EQ(children(node(files)), (QStringList{"CUSTOMER+|File", "KEY+|File", "MOVEMENT+|File", "ORDERS+|File",
                                                   "ORDLINE+|File", "PRODUCT+|File", "STOCKBIN+|File"}));
    EXPECT_EQ(children(node(dbs)), (QStringList{"SALES+|DB", "STOCK+|DB"}));

    setSetting(QStringLiteral("Options"), QStringLiteral("FieldOrder"), QStringLiteral("1"));
    m_statements.clear();
    open({files + "fi=CUSTOMER:", fields});
    EXPECT_EQ(m_statements, QStringList{"SELECT FIELD_NAME FROM QN_FIELD WHERE FILE_NAME = 'CUSTOMER' ORDER BY "
                                        "OFFSET ASC"});
    EXPECT_EQ(children(node(fields)), (QStringList{"CUST-NO|Field", "NAME|Field", "ADDRESS|Field", "CITY|Field",
                                                   "POSTCODE|Field", "PHONE|Field", "CREDIT-LIMIT|Field",
                                                   "SINCE|Field", "REGION|Field"}));

    // A new setting reaches a folder at its next expansion.
    setSetting(QStringLiteral("Options"), QStringLiteral("SysTables"), QStringLiteral("1"));
    EXPECT_EQ(node(dbs)->rowCount(), 2);
    m_statements.clear();
    toggle(node(dbs));
    toggle(node(dbs));
    EXPECT_EQ(m_statements, QStringList{"SELECT DATABASE_NAME FROM QN_DB ORDER BY DATABASE_NAME ASC"});
    EXPECT_EQ(children(node(dbs)), (QStringList{"QN+|DB|grey", "SALES+|DB", "STOCK+|DB"}));
    setSetting(QStringLiteral("Options"), QStringLiteral("SysTables"), QStringLiteral("0"));
    m_statements.clear();
    toggle(node(files));
    toggle(node(files));
    EXPECT_EQ(m_statements, QStringList{"SELECT FILE_NAME FROM QN_FILE WHERE FILE_NAME NOT IN ('CNTRL', 'COLUMN', "
                                        "'DB', 'DBPRV', 'DRIVER', 'FIELD', 'FILE', 'SQLDT', 'LOCDT', 'TABLE', "
                                        "'TBLPRV', 'USER') ORDER BY FILE_NAME ASC"});
    m_statements.clear();
    toggle(node(dbs));
    toggle(node(dbs));
    EXPECT_EQ(m_statements, QStringList{"SELECT DATABASE_NAME FROM QN_DB WHERE DATABASE_NAME <> 'QN' ORDER BY "
                                        "DATABASE_NAME ASC"});
}

// Collapsing forgets the children; the next expansion reads the catalog again.
TEST_F(Explorer, CollapsingForgetsTheChildren)
{
    const QString ds = QStringLiteral("DSN=QnTest:"), users = ds + "US=QnTest:";
    open({ds, users});
    const QString jsmith = users + "us=JSMITH:";
    ASSERT_TRUE(gNodes().Item(jsmith));
    const int entries = gNodes().Count();

    toggle(node(users));
    EXPECT_FALSE(tree()->isExpanded(node(users)->index()));
    EXPECT_TRUE(onlyPlaceholder(node(users)));
    EXPECT_EQ(gNodes().Item(jsmith), nullptr);
    EXPECT_EQ(gNodes().Count(), entries - 4 + 1);
    EXPECT_EQ(main().StatusText(), QStringLiteral("Collapse"));
    EXPECT_TRUE(gCurrentItem().NodeType.isEmpty()) << "a collapse leaves the current item without a type";

    // A user added behind the tree's back shows at the next expansion.
    exec(QStringLiteral("INSERT INTO QN_USER (USER_NAME) VALUES ('NEWBIE')"));
    toggle(node(users));
    EXPECT_EQ(children(node(users)),
              (QStringList{"ADMIN|User|bold", "JSMITH|User", "MBROWN|User", "NEWBIE|User", "REPORTS|User"}));

    // Collapsing the data source while one of its users is selected: the data
    // source is selected and its pane shown.
    click(node(jsmith));
    ASSERT_TRUE(gCurrentPane());
    EXPECT_EQ(gCurrentPane()->objectName(), QStringLiteral("frmUser"));
    toggle(node(ds));
    EXPECT_EQ(gNodes().SelectedItem()->Key, ds);
    EXPECT_EQ(gCurrentPane()->objectName(), QStringLiteral("frmDSN"));
    EXPECT_TRUE(onlyPlaceholder(node(ds)));
    EXPECT_EQ(gNodes().Item(users), nullptr);
    EXPECT_TRUE(tree()->hasFocus());

    // Collapsing a node beside the selection leaves the pane alone.
    open({ds, users});
    click(node(jsmith));
    TestPane *user = dynamic_cast<TestPane *>(gCurrentPane().data());
    ASSERT_TRUE(user);
    open({ds + "DB=QnTest:"});
    const int calls = int(user->calls.size());
    toggle(node(ds + "DB=QnTest:"));
    EXPECT_EQ(gCurrentPane().data(), user);
    EXPECT_EQ(user->calls.size(), calls);
}

// A left click shows the node's pane with its key parts; the press made the
// node the current item with those parts and its drag picture.
TEST_F(Explorer, ALeftClickShowsTheNodesPane)
{
    const QString ds = QStringLiteral("DSN=QnTest:"), files = ds + "FI=QnTest:", dbs = ds + "DB=QnTest:",
                  users = ds + "US=QnTest:";
    const QString customer = files + "fi=CUSTOMER:", fields = customer + "FD=CUSTOMER:", sales = dbs + "db=SALES:",
                  tables = sales + "TA=SALES:", orders = tables + "ta=ORDERS:";
    open({ds, files, customer, fields, dbs, sales, tables, orders, orders + "CO=ORDERS:", orders + "TBLPRV=ORDERS:",
          sales + "DBPRV=SALES:", users});
    const struct
    {
        QString key, pane;
        QStringList keys;
        QString icon;
    } nodes[] = {
        {ds, "frmDSN", {"QnTest"}, ""},
        {files, "frmFiles", {"QnTest"}, "Drag File"},
        {customer, "frmFile", {"QnTest", "CUSTOMER"}, "Drag File"},
        {fields, "frmFields", {"QnTest", "CUSTOMER"}, "Drag Field"},
        {fields + "fd=CUST-NO:", "frmField", {"QnTest", "CUSTOMER", "CUST-NO"}, "Drag Field"},
        {dbs, "frmDatabases", {"QnTest"}, "Drag Database"},
        {sales, "frmDatabase", {"QnTest", "SALES"}, "Drag Database"},
        {tables, "frmTables", {"QnTest", "SALES"}, "Drag Table"},
        {orders, "frmTable", {"QnTest", "SALES", "ORDERS"}, "Drag Table"},
        {orders + "CO=ORDERS:", "frmColumns", {"QnTest", "SALES", "ORDERS"}, "Drag Column"},
        {orders + "CO=ORDERS:co=STATUS:", "frmColumn", {"QnTest", "SALES", "ORDERS", "STATUS"}, "Drag Column"},
        {orders + "SCO=ORDERS:", "frmSpecialCols", {"QnTest", "SALES", "ORDERS"}, ""},
        {orders + "TBLPRV=ORDERS:", "frmTBLPRVs", {"QnTest", "SALES", "ORDERS"}, "Drag User"},
        {orders + "TBLPRV=ORDERS:tblprv=REPORTS:", "frmTBLPRV", {"QnTest", "SALES", "ORDERS", "REPORTS"}, "Drag User"},
        {sales + "DBPRV=SALES:", "frmDBPRVs", {"QnTest", "SALES"}, "Drag User"},
        {sales + "DBPRV=SALES:dbprv=JSMITH:", "frmDBPRV", {"QnTest", "SALES", "JSMITH"}, "Drag User"},
        {users, "frmUsers", {"QnTest"}, "Drag User"},
        {users + "us=MBROWN:", "frmUser", {"QnTest", "MBROWN"}, "Drag User"},
    };
    for (const auto &n : nodes) {
        SCOPED_TRACE(n.key.toStdString());
        QStandardItem *item = node(n.key);
        ASSERT_TRUE(item);
        QTest::mousePress(tree()->viewport(), Qt::LeftButton, {}, textOf(item));
        EXPECT_EQ(main().StatusText(), QStringLiteral("MouseDown"));
        EXPECT_EQ(gCurrentItem().Node, gNodes().Item(n.key));
        EXPECT_EQ(gCurrentItem().Keys, n.keys);
        EXPECT_EQ(gCurrentItem().DragIcon, n.icon);
        QTest::mouseRelease(tree()->viewport(), Qt::LeftButton, {}, textOf(item));
        EXPECT_EQ(gNodes().SelectedItem()->Key, n.key);
        ASSERT_TRUE(gCurrentPane());
        EXPECT_EQ(gCurrentPane()->objectName(), n.pane);
        if (auto *pane = dynamic_cast<TestPane *>(gCurrentPane().data())) {
            EXPECT_EQ(pane->calls.value(pane->calls.size() - 1), "Display:" + n.keys.join(QLatin1Char(',')));
        }
        EXPECT_EQ(main().StatusText(), QStringLiteral("Ready"));
    }

    // The keyboard moves the selection without showing a pane; Enter does nothing.
    QWidget *shown = gCurrentPane();
    QTest::keyClick(tree(), Qt::Key_Up);
    EXPECT_NE(gNodes().SelectedItem()->Key, users + "us=MBROWN:");
    QTest::keyClick(tree(), Qt::Key_Return);
    QTest::keyClick(tree(), Qt::Key_Enter);
    EXPECT_EQ(gCurrentPane().data(), shown);

    // A click on empty space: a blank current item and no pane.
    toggle(node(ds));
    shown = gCurrentPane();
    const QPoint below(10, tree()->viewport()->height() - 2);
    ASSERT_FALSE(tree()->indexAt(below).isValid());
    QTest::mouseClick(tree()->viewport(), Qt::LeftButton, {}, below);
    EXPECT_EQ(gCurrentItem().Node, nullptr);
    EXPECT_TRUE(gCurrentItem().NodeType.isEmpty());
    EXPECT_TRUE(gCurrentItem().Keys.isEmpty());
    EXPECT_EQ(gCurrentPane().data(), shown);
}

// A right click leaves the selection as it was before the press when the
// menu ran no command.
TEST_F(Explorer, ARightClickKeepsTheSelectionWhenNoCommandRan)
{
    const QString ds = QStringLiteral("DSN=QnTest:"), users = ds + "US=QnTest:";
    open({ds, users});
    click(node(users + "us=JSMITH:"));
    QWidget *shown = gCurrentPane();
    QTest::mousePress(tree()->viewport(), Qt::RightButton, {}, textOf(node(users + "us=MBROWN:")));
    EXPECT_EQ(gNodes().SelectedItem()->Key, users + "us=MBROWN:") << "the press selects";
    // The release opens the user's menu, which the user closes without choosing.
    const auto menu = whilePopup(
        [&] { QTest::mouseRelease(tree()->viewport(), Qt::RightButton, {}, textOf(node(users + "us=MBROWN:"))); });
    EXPECT_EQ(menu, (QStringList{"&Add New User", "&Edit User", "&Delete User"}));
    EXPECT_EQ(gCurrentItem().Keys, (QStringList{"QnTest", "MBROWN"})) << "the menu's item is the node pressed";
    EXPECT_EQ(gNodes().SelectedItem()->Key, users + "us=JSMITH:");
    EXPECT_EQ(gCurrentPane().data(), shown);
    EXPECT_FALSE(gDragInProgress());
}

// Records what the tree hands a drag to.
class RecordingDrop : public DragDropHandler
{
public:
    bool DoDragOver(QTreeView *Source, const DragItem &SourceItem, const DragItem &TargetItem) override
    {
        calls << "over:" + SourceItem.Keys.join(QLatin1Char(',')) + ">" + TargetItem.Keys.join(QLatin1Char(','));
        SetDragPicture(Source, allow ? SourceItem.DragIcon : QStringLiteral("No Drop"));
        return allow;
    }
    void DoDragDrop(QTreeView *, const DragItem &SourceItem, const DragItem &TargetItem) override
    {
        calls << "drop:" + SourceItem.Keys.join(QLatin1Char(',')) + ">" + TargetItem.Keys.join(QLatin1Char(','));
    }
    QStringList calls;
    bool allow = true;
};

// A drag begins with a move while the left button holds the selected node;
// moves over the tree highlight the target and ask the handler; the release
// drops on the highlighted node.
TEST_F(Explorer, DragOverAndDropGoToTheRegisteredHandler)
{
    const QString ds = QStringLiteral("DSN=QnTest:"), dbs = ds + "DB=QnTest:";
    const QString salesTables = dbs + "db=SALES:TA=SALES:", stockTables = dbs + "db=STOCK:TA=STOCK:";
    const QString orders = salesTables + "ta=ORDERS:";
    open({ds, dbs, dbs + "db=SALES:", salesTables, dbs + "db=STOCK:", stockTables});
    RecordingDrop drop;
    SetDragDropHandler(&drop);
    QWidget *viewport = tree()->viewport();

    click(node(orders));
    QWidget *shown = gCurrentPane();
    QTest::mousePress(viewport, Qt::LeftButton, {}, textOf(node(orders)));
    EXPECT_FALSE(gDragInProgress());
    QTest::mouseMove(viewport, textOf(node(orders)) + QPoint(3, 0));
    EXPECT_TRUE(gDragInProgress());
    EXPECT_EQ(main().StatusText(), QStringLiteral("BeginDrag"));
    EXPECT_EQ(DragPicture(), QStringLiteral("Drag Table"));

    QTest::mouseMove(viewport, textOf(node(stockTables)));
    EXPECT_EQ(main().StatusText(), QStringLiteral("DragOver"));
    EXPECT_EQ(DropHighlight(), node(stockTables));
    EXPECT_EQ(drop.calls, QStringList{"over:QnTest,SALES,ORDERS>QnTest,STOCK"});
    EXPECT_EQ(gNodes().SelectedItem()->Key, orders) << "a drag selects nothing";
    drop.allow = false;
    QTest::mouseMove(viewport, textOf(node(stockTables + "ta=BIN:")));
    EXPECT_EQ(DragPicture(), QStringLiteral("No Drop"));
    EXPECT_EQ(DropHighlight(), node(stockTables + "ta=BIN:"));

    drop.calls.clear();
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, textOf(node(stockTables + "ta=BIN:")));
    EXPECT_EQ(drop.calls, QStringList{"drop:QnTest,SALES,ORDERS>QnTest,STOCK,BIN"});
    EXPECT_EQ(main().StatusText(), QStringLiteral("DragDrop"));
    EXPECT_EQ(DropHighlight(), nullptr);
    EXPECT_FALSE(gDragInProgress());
    EXPECT_TRUE(DragPicture().isEmpty());
    EXPECT_EQ(gCurrentPane().data(), shown) << "a drop shows no pane of the tree's own";
    EXPECT_EQ(gNodes().SelectedItem()->Key, orders);

    // A drag that ends over no node drops nothing.
    drop.calls.clear();
    toggle(node(dbs));
    click(node(ds + "US=QnTest:"));
    const QPoint below(10, viewport->height() - 2);
    QTest::mousePress(viewport, Qt::LeftButton, {}, textOf(node(ds + "US=QnTest:")));
    QTest::mouseMove(viewport, textOf(node(ds + "US=QnTest:")) + QPoint(3, 0));
    ASSERT_TRUE(gDragInProgress());
    QTest::mouseMove(viewport, below);
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, below);
    EXPECT_TRUE(drop.calls.isEmpty());
    EXPECT_FALSE(gDragInProgress());

    // A data source is never dragged.
    click(node(ds));
    QTest::mousePress(viewport, Qt::LeftButton, {}, textOf(node(ds)));
    QTest::mouseMove(viewport, textOf(node(ds)) + QPoint(30, 0));
    EXPECT_FALSE(gDragInProgress());
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, textOf(node(ds)) + QPoint(30, 0));
}

// With no handler registered a drag shows "No Drop" and a drop does nothing.
TEST_F(Explorer, WithoutAHandlerNoDropIsAllowed)
{
    SetDragDropHandler(nullptr); // the main window registers the copy-and-move one
    const QString ds = QStringLiteral("DSN=QnTest:"), users = ds + "US=QnTest:";
    open({ds, users});
    QWidget *viewport = tree()->viewport();
    click(node(users + "us=JSMITH:"));
    QTest::mousePress(viewport, Qt::LeftButton, {}, textOf(node(users + "us=JSMITH:")));
    QTest::mouseMove(viewport, textOf(node(users + "us=JSMITH:")) + QPoint(3, 0));
    EXPECT_EQ(DragPicture(), QStringLiteral("Drag User"));
    QTest::mouseMove(viewport, textOf(node(users + "us=MBROWN:")));
    EXPECT_EQ(DragPicture(), QStringLiteral("No Drop"));
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, textOf(node(users + "us=MBROWN:")));
    EXPECT_FALSE(gDragInProgress());
    EXPECT_EQ(DropHighlight(), nullptr);
    EXPECT_EQ(gNodes().SelectedItem()->Key, users + "us=JSMITH:");
}

const QString kDbs = QStringLiteral("DSN=QnTest:DB=QnTest:");
const QString kTables = kDbs + "db=SALES:TA=SALES:";

// From a tree where nothing is open, a refresh opens every node of the path,
// selects the last and reads its children twice (the last time afresh).
TEST_F(Explorer, RefreshNodePathRevealsThePath)
{
    modGUI::RefreshNodePath(kTables);
    for (const QString &key : {QStringLiteral("DSN=QnTest:"), kDbs, kDbs + "db=SALES:", kTables})
        EXPECT_TRUE(tree()->isExpanded(node(key)->index())) << key.toStdString();
    EXPECT_EQ(CNodes::Image(node(QStringLiteral("DSN=QnTest:"))), QStringLiteral("Datasource"));
    EXPECT_EQ(gNodes().SelectedItem()->Key, kTables);
    EXPECT_EQ(children(node(kTables)),
              (QStringList{"CUSTOMER+|Table", "OPEN_ORDERS+|Table", "ORDERS+|Table", "ORDER_LINE+|Table"}));
    EXPECT_EQ(m_statements.filter(QStringLiteral("FROM QN_TABLE")).size(), 2);
}

// A row added behind the tree's back under a loaded folder: the folder is read
// again, the new row opened, and the folder stays selected.
TEST_F(Explorer, RefreshNodePathShowsARowAddedBehindTheTree)
{
    modGUI::RefreshNodePath(kTables);
    exec(QStringLiteral("INSERT INTO QN_TABLE (DATABASE_NAME, TABLE_NAME) VALUES ('SALES', 'NEWTAB')"));
    modGUI::RefreshNodePath(kTables + "ta=NEWTAB:");
    QStandardItem *added = node(kTables + "ta=NEWTAB:");
    ASSERT_TRUE(added);
    EXPECT_TRUE(tree()->isExpanded(added->index()));
    EXPECT_EQ(children(added), (QStringList{"Columns+|Columns", "Special Columns|Special Columns",
                                            "Table Privileges+|Padlock"}));
    EXPECT_EQ(gNodes().SelectedItem()->Key, kTables);
}

// With every node of the path expanded already, the last node's rows are still
// read again: a row added and a row deleted behind the tree both show.
TEST_F(Explorer, RefreshNodePathReloadsTheLastNodeEvenWhenAllIsOpen)
{
    const QString columns = kTables + "ta=ORDERS:CO=ORDERS:";
    open({QStringLiteral("DSN=QnTest:"), kDbs, kDbs + "db=SALES:", kTables, kTables + "ta=ORDERS:", columns});
    exec(QStringLiteral("INSERT INTO QN_COLUMN (DATABASE_NAME, TABLE_NAME, COLUMN_NAME, COLUMN_NUMBER, COLUMN_TYPE) "
                        "VALUES ('SALES', 'ORDERS', 'EXTRA', 8, 0)"));
    exec(QStringLiteral("DELETE FROM QN_COLUMN WHERE TABLE_NAME = 'ORDERS' AND COLUMN_NAME = 'STATUS'"));
    const QStringList before = treeState();
    m_statements.clear();
    modGUI::RefreshNodePath(columns);
    EXPECT_EQ(m_statements.size(), 1);
    EXPECT_EQ(children(node(columns)), (QStringList{"ORDER_NO|Column", "CUST_NO|Column", "ORDER_DATE|Column",
                                                    "ORDER_TIME|Column", "TOTAL|Column", "CARD_REF|Column",
                                                    "EXTRA|Column"}));
    EXPECT_EQ(gNodes().SelectedItem()->Key, columns);
    EXPECT_TRUE(tree()->isExpanded(node(columns)->index()));
}

// Keys the refresh cannot follow change nothing.
TEST_F(Explorer, RefreshNodePathIgnoresKeysItCannotFollow)
{
    modGUI::RefreshNodePath(kTables);
    const QString selected = gNodes().SelectedItem()->Key;
    const QStringList before = treeState();
    m_statements.clear();
    for (const QString &key : {QString(), QStringLiteral("1DSN=QnTest:"), QStringLiteral("DSN=QnTest;DB=SALES;TBL=ORDERS;"),
                               QStringLiteral("DSN=Nowhere:DB=Nowhere:db=SALES:")}) {
        SCOPED_TRACE(key.toStdString());
        EXPECT_EQ(modGUI::RefreshNodePath(key), 0);
        EXPECT_EQ(treeState(), before);
        EXPECT_EQ(gNodes().SelectedItem()->Key, selected);
    }
    EXPECT_TRUE(m_statements.isEmpty());
    EXPECT_EQ(modGUI::RefreshFormNode(QStringLiteral("frmTable"), {"QnTest", "SALES", "ORDERS"}), 0);
    EXPECT_EQ(modGUI::RefreshFormNode(QStringLiteral("frmColumn"), {"QnTest"}), 0);
    EXPECT_EQ(treeState(), before);
    EXPECT_TRUE(m_statements.isEmpty());
}

// Names holding the key's own marks (":" and "=") take keys of their own: a
// database "A:TA=A" does not take the key of database A's Tables folder, and
// every key reads back to the values it was made of.
TEST_F(Explorer, NamesWithTheKeysMarksKeepDistinctKeys)
{
    exec(QStringLiteral("INSERT INTO QN_DB (DATABASE_NAME) VALUES ('A'), ('A:TA=A'), ('A=.'), ('A:')"));
    exec(QStringLiteral("INSERT INTO QN_TABLE (DATABASE_NAME, TABLE_NAME) VALUES ('A', 'T'), ('A:TA=A', 'X:Y=')"));
    const QStringList names = {"A", "A:TA=A", "A=.", "A:"};
    QSet<QString> keys;
    for (const QString &name : names) {
        const QString key = NodeKey::Database(QStringLiteral("QnTest"), name);
        keys.insert(key);
        EXPECT_EQ(NodeKey::Values(key), (QStringList{"QnTest", "QnTest", name}));
    }
    EXPECT_EQ(keys.size(), names.size());
    EXPECT_EQ(NodeKey::Database(QStringLiteral("QnTest"), QStringLiteral("A")), kDbs + "db=A:") << "plain names as before";

    const QString table = NodeKey::Table(QStringLiteral("QnTest"), QStringLiteral("A:TA=A"), QStringLiteral("X:Y="));
    EXPECT_EQ(NodeKey::Values(table), (QStringList{"QnTest", "QnTest", "A:TA=A", "A:TA=A", "X:Y="}));
    modGUI::RefreshNodePath(table);
    modGUI::RefreshNodePath(NodeKey::Table(QStringLiteral("QnTest"), QStringLiteral("A"), QStringLiteral("T")));
    EXPECT_TRUE(ui().errors().isEmpty());
    for (const QString &name : names) {
        QStandardItem *db = node(NodeKey::Database(QStringLiteral("QnTest"), name));
        ASSERT_TRUE(db) << name.toStdString();
        EXPECT_EQ(db->text(), name);
        open({NodeKey::Database(QStringLiteral("QnTest"), name)});
        EXPECT_TRUE(children(db).value(0).startsWith(QLatin1String("Tables"))) << name.toStdString();
    }
    ASSERT_TRUE(node(table));
    EXPECT_EQ(node(table)->text(), QStringLiteral("X:Y="));
    EXPECT_EQ(gNodes().Item(table)->NodeData, QStringLiteral("X:Y="));
}

// An editor's keys name the node to refresh: a file, or a column's Tables folder.
TEST_F(Explorer, RefreshFormNodeByTheEditorsKeys)
{
    const QString orders = kTables + "ta=ORDERS:";
    open({QStringLiteral("DSN=QnTest:"), kDbs, kDbs + "db=SALES:", kTables, orders, orders + "CO=ORDERS:"});
    modGUI::RefreshFormNode(QStringLiteral("frmColumn"), {"QnTest", "SALES", "ORDERS", "STATUS"});
    EXPECT_EQ(gNodes().SelectedItem()->Key, kTables);
    EXPECT_TRUE(onlyPlaceholder(node(orders))) << "the tables come back closed";
    EXPECT_EQ(gNodes().Item(orders + "CO=ORDERS:co=STATUS:"), nullptr);

    modGUI::RefreshFormNode(QStringLiteral("frmFile"), {"QnTest", "CUSTOMER"});
    const QString file = QStringLiteral("DSN=QnTest:FI=QnTest:fi=CUSTOMER:");
    EXPECT_EQ(gNodes().SelectedItem()->Key, file);
    EXPECT_EQ(children(node(file)), QStringList{"Fields+|Fields"});
}

// A failing query goes to the error dialog: Ignore leaves the folder open and
// empty, Retry reads it again; the tree is usable afterwards either way.
TEST_F(Explorer, AFailingQueryAsksTheErrorDialog)
{
    const QString users = QStringLiteral("DSN=QnTest:US=QnTest:");
    open({QStringLiteral("DSN=QnTest:")});
    dao::Faults::Add(dao::Faults::Statement, 1, QStringLiteral("42000"), QStringLiteral("Injected"));
    ui().answerError(ui::vbIgnore);
    toggle(node(users));
    ASSERT_EQ(ui().errors().size(), 1);
    EXPECT_EQ(ui().errors()[0].trappedIn, QStringLiteral("mdiMain.tvwExplorer_Expand"));
    EXPECT_EQ(ui().errors()[0].additionalInfo, QStringLiteral("None"));
    EXPECT_TRUE(tree()->isExpanded(node(users)->index()));
    EXPECT_EQ(node(users)->rowCount(), 0);
    EXPECT_TRUE(tree()->isEnabled());
    EXPECT_TRUE(tree()->updatesEnabled());
    EXPECT_TRUE(gErrorTrace().List().isEmpty());

    // An open folder without children shows no expand button: the keyboard closes it.
    click(node(users));
    QTest::keyClick(tree(), Qt::Key_Left);
    EXPECT_FALSE(tree()->isExpanded(node(users)->index()));
    toggle(node(users));
    EXPECT_EQ(node(users)->rowCount(), 4);
    toggle(node(users));

    dao::Faults::Add(dao::Faults::Statement, 1, QStringLiteral("42000"), QStringLiteral("Injected"));
    ui().answerError(ui::vbRetry);
    toggle(node(users));
    EXPECT_EQ(ui().errors().size(), 2);
    EXPECT_EQ(node(users)->rowCount(), 4);

    // A setting that is not a number fails the same way.
    setSetting(QStringLiteral("Options"), QStringLiteral("SysTables"), QStringLiteral("many"));
    ui().answerError(ui::vbIgnore);
    toggle(node(QStringLiteral("DSN=QnTest:DB=QnTest:")));
    ASSERT_EQ(ui().errors().size(), 3);
    EXPECT_EQ(ui().errors()[2].number, QStringLiteral("13"));
    EXPECT_EQ(node(QStringLiteral("DSN=QnTest:DB=QnTest:"))->rowCount(), 0);
}

// A data source that cannot be opened: its node ends collapsed, expandable and
// unconnected; a folder whose data source went away ends empty without a
// dialog of the loader's own.
TEST_F(Explorer, ADataSourceThatCannotBeOpened)
{
    ASSERT_TRUE(QFile::remove(fileOf(QStringLiteral("QnTest2"))));
    QStandardItem *ds = node(QStringLiteral("DSN=QnTest2:"));
    ui().answerMsgBox(ui::vbOK);
    toggle(ds);
    EXPECT_TRUE(ui().messages().value(0).startsWith(QStringLiteral("Failed to connect for the following reason:")));
    EXPECT_FALSE(tree()->isExpanded(ds->index()));
    EXPECT_TRUE(gNodes().Model()->hasChildren(ds->index()));
    EXPECT_EQ(CNodes::Image(ds), QStringLiteral("DSN Ghost"));
    auto *pane = dynamic_cast<frmDSN *>(gCurrentPane().data());
    ASSERT_TRUE(pane);
    EXPECT_EQ(pane->lblTitle.title->text(), QStringLiteral("QnTest2 (Unconnected) - Datasource Properties"));
    EXPECT_TRUE(ui().errors().isEmpty());

    // The next expansion tries again.
    ui().answerMsgBox(ui::vbOK);
    toggle(ds);
    EXPECT_EQ(ui().messages().size(), 2);
    EXPECT_FALSE(tree()->isExpanded(ds->index()));

    // A folder of a data source that closed and cannot reopen.
    const QString users = QStringLiteral("DSN=QnTest:US=QnTest:");
    open({QStringLiteral("DSN=QnTest:")});
    gConnections().Remove(kDs);
    ASSERT_TRUE(QFile::remove(fileOf(kDs)));
    ui().answerMsgBox(ui::vbOK);
    toggle(node(users));
    EXPECT_EQ(ui().messages().size(), 3);
    EXPECT_TRUE(ui().errors().isEmpty());
    EXPECT_TRUE(tree()->isExpanded(node(users)->index()));
    EXPECT_EQ(node(users)->rowCount(), 0);
    EXPECT_TRUE(tree()->isEnabled());
}

// Called directly, the loader reloads a node and keeps its expanded state.
TEST_F(Explorer, TheLoaderCalledDirectly)
{
    const QString ds = QStringLiteral("DSN=QnTest:"), users = ds + "US=QnTest:";
    open({ds});
    toggle(node(ds));
    ASSERT_FALSE(tree()->isExpanded(node(ds)->index()));
    tvwExplorer_Expand(node(ds));
    EXPECT_FALSE(tree()->isExpanded(node(ds)->index()));
    EXPECT_EQ(children(node(ds)), (QStringList{"Files+|Files", "Databases+|DBs", "Users+|Users"}));
    EXPECT_EQ(gConnections().Count(), 1);
    EXPECT_EQ(gNodes().SelectedItem()->Key, ds);

    tvwExplorer_Expand(node(users));
    EXPECT_FALSE(tree()->isExpanded(node(users)->index()));
    EXPECT_EQ(node(users)->rowCount(), 4);
    // A node of a type without a load loses its children and gets none.
    QStandardItem *admin = node(users + "us=ADMIN:");
    gNodes().Add(gNodes().Item(admin), QString());
    tvwExplorer_Expand(admin);
    EXPECT_EQ(admin->rowCount(), 0);
    // No node: nothing happens, quietly.
    tvwExplorer_Expand(nullptr);
    EXPECT_TRUE(ui().errors().isEmpty());
}

// After a write an editor reloads a folder by its child count: an empty one is
// loaded in place, any other collapsed and expanded again.
TEST_F(Explorer, ReloadFolderAfterAWrite)
{
    const QString privileges = kTables + "ta=CUSTOMER:TBLPRV=CUSTOMER:";
    const QString users = QStringLiteral("DSN=QnTest:US=QnTest:");
    exec(QStringLiteral("DELETE FROM QN_TBLPRV WHERE TABLE_NAME = 'CUSTOMER'"));
    open({QStringLiteral("DSN=QnTest:"), kDbs, kDbs + "db=SALES:", kTables, kTables + "ta=CUSTOMER:", privileges});
    ASSERT_EQ(node(privileges)->rowCount(), 0);
    exec(QStringLiteral("INSERT INTO QN_TBLPRV (DATABASE_NAME, TABLE_NAME, USER_NAME) VALUES ('SALES', 'CUSTOMER', "
                        "'JSMITH')"));
    ReloadFolder(privileges);
    EXPECT_EQ(children(node(privileges)), QStringList{"JSMITH|User"});

    exec(QStringLiteral("INSERT INTO QN_USER (USER_NAME) VALUES ('ZED')"));
    ReloadFolder(users);
    EXPECT_TRUE(tree()->isExpanded(node(users)->index()));
    EXPECT_EQ(node(users)->rowCount(), 5);
    ReloadFolder(users + "us=NOBODY:");
    EXPECT_TRUE(ui().errors().isEmpty());
}

// The current item of a tree node that the node model does not know: the
// error dialog, and after Ignore the item as far as it was built.
// Expand All of a data source: every node below it loaded, in the loaders'
// order, and no placeholder left; each shown expanded but the rows without
// children (an empty folder too: what is added to it later shows at once); the
// same again over the expanded tree and from one of its folders; the
// collection and the tree alike.
TEST_F(Explorer, ExpandAllLoadsEveryNodeBelowInOrder)
{
    const auto run = [this](const char *sql) { StandinTest::open(QStringLiteral("QnTest2"))->Execute(QString::fromLatin1(sql)); };
    run("INSERT INTO QN_FILE (FILE_NAME) VALUES ('B'), ('C'), ('A')");
    run("INSERT INTO QN_FIELD (FILE_NAME, FIELD_NAME, OFFSET) VALUES ('A', 'Y', 0), ('A', 'X', 5), ('B', 'Z', 0)");
    run("INSERT INTO QN_DB (DATABASE_NAME) VALUES ('S')");
    run("INSERT INTO QN_TABLE (DATABASE_NAME, TABLE_NAME) VALUES ('S', 'T')");
    run("INSERT INTO QN_COLUMN (DATABASE_NAME, TABLE_NAME, COLUMN_NAME, COLUMN_NUMBER, COLUMN_TYPE) "
        "VALUES ('S', 'T', 'C2', 2, 0), ('S', 'T', 'C1', 1, 0)");
    run("INSERT INTO QN_USER (USER_NAME) VALUES ('U')");
    run("INSERT INTO QN_DBPRV (USER_NAME, DATABASE_NAME) VALUES ('U', 'S')");
    run("INSERT INTO QN_TBLPRV (DATABASE_NAME, TABLE_NAME, USER_NAME) VALUES ('S', 'T', 'U')");

    const QString ds = QStringLiteral("DSN=QnTest2:");
    QStringList expected;
    for (const char *below :
         {"+", "FI=QnTest2:+", "FI=QnTest2:fi=A:+", "FI=QnTest2:fi=A:FD=A:+", "FI=QnTest2:fi=A:FD=A:fd=X:",
          "FI=QnTest2:fi=A:FD=A:fd=Y:", "FI=QnTest2:fi=B:+", "FI=QnTest2:fi=B:FD=B:+", "FI=QnTest2:fi=B:FD=B:fd=Z:",
          "FI=QnTest2:fi=C:+", "FI=QnTest2:fi=C:FD=C:+", "DB=QnTest2:+", "DB=QnTest2:db=S:+",
          "DB=QnTest2:db=S:TA=S:+", "DB=QnTest2:db=S:TA=S:ta=T:+", "DB=QnTest2:db=S:TA=S:ta=T:CO=T:+",
          "DB=QnTest2:db=S:TA=S:ta=T:CO=T:co=C1:", "DB=QnTest2:db=S:TA=S:ta=T:CO=T:co=C2:",
          "DB=QnTest2:db=S:TA=S:ta=T:SCO=T:+", "DB=QnTest2:db=S:TA=S:ta=T:TBLPRV=T:+",
          "DB=QnTest2:db=S:TA=S:ta=T:TBLPRV=T:tblprv=U:", "DB=QnTest2:db=S:DBPRV=S:+",
          "DB=QnTest2:db=S:DBPRV=S:dbprv=U:", "US=QnTest2:+", "US=QnTest2:us=ADMIN:", "US=QnTest2:us=U:"})
        expected << ds + QLatin1String(below);
    // Every node under `key` in tree order, "+" when the view shows it expanded;
    // and the collection holding exactly the tree's nodes.
    const auto expandedTree = [&](const QString &key) {
        QStringList shown = treeState().filter(QRegularExpression(QLatin1Char('^') + QRegularExpression::escape(key)));
        int nodes = 0;
        std::function<void(QStandardItem *)> walk = [&](QStandardItem *parent) {
            for (int row = 0; row < parent->rowCount(); ++row) {
                QStandardItem *child = parent->child(row);
                ++nodes;
                EXPECT_EQ(gNodes().Node(CNodes::NodeKeyOf(child)), child);
                EXPECT_TRUE(gNodes().Item(child));
                walk(child);
            }
        };
        walk(gNodes().Model()->invisibleRootItem());
        EXPECT_EQ(gNodes().Count(), nodes);
        return shown;
    };

    open({ds});
    gNodes().ExpandChildren(gNodes().Item(ds));
    EXPECT_EQ(expandedTree(ds), expected);
    gNodes().ExpandChildren(gNodes().Item(ds));
    EXPECT_EQ(expandedTree(ds), expected) << "again over the expanded tree";
    gNodes().ExpandChildren(gNodes().Item(ds + "FI=QnTest2:"));
    EXPECT_EQ(expandedTree(ds), expected) << "from the Files folder";
    EXPECT_EQ(main().StatusText(), QStringLiteral("Ready"));

    run("INSERT INTO QN_FIELD (FILE_NAME, FIELD_NAME, OFFSET) VALUES ('C', 'W', 0)");
    ReloadFolder(ds + "FI=QnTest2:fi=C:FD=C:");
    EXPECT_TRUE(expandedTree(ds).contains(ds + "FI=QnTest2:fi=C:FD=C:fd=W:"));
    EXPECT_TRUE(tree()->isExpanded(node(ds + "FI=QnTest2:fi=C:FD=C:")->index()));
}

// A row removed from the tree's model costs a walk over every persistent index
// of the view, one per expanded node. Expand All removes rows only at the node
// it starts from, however many it loads and reloads below.
TEST_F(Explorer, ExpandAllRemovesRowsOnlyWhereItStarts)
{
    const QString ds = QStringLiteral("DSN=QnTest:");
    open({ds});
    int removals = 0;
    const QMetaObject::Connection counting =
        QObject::connect(gNodes().Model(), &QAbstractItemModel::rowsAboutToBeRemoved, [&] { ++removals; });
    gNodes().ExpandChildren(gNodes().Item(ds));
    EXPECT_EQ(removals, 1) << "the data source's folders";
    const int nodes = gNodes().Count();
    ASSERT_GT(nodes, 100);

    removals = 0;
    gNodes().ExpandChildren(gNodes().Item(ds));
    EXPECT_EQ(removals, 1) << "the data source's loaded tree, at once";
    EXPECT_EQ(gNodes().Count(), nodes);
    QObject::disconnect(counting);
}

// From its first node to its last, Expand All shows the busy pointer and keeps
// the user's clicks and keys from the tree, also while it yields between loads;
// afterwards both are as before.
TEST_F(Explorer, ExpandAllIsBusyThroughout)
{
    const QString ds = QStringLiteral("DSN=QnTest:");
    open({ds});
    tree()->setFocus();
    ASSERT_TRUE(tree()->hasFocus());
    QStringList seen;
    QTimer probe; // fires at each yield
    probe.setInterval(0);
    QObject::connect(&probe, &QTimer::timeout, [&] {
        seen << QStringLiteral("%1 pointer, tree %2")
                    .arg(main().cursor().shape() == Qt::WaitCursor ? QStringLiteral("busy") : QStringLiteral("normal"),
                         tree()->isEnabled() ? QStringLiteral("enabled") : QStringLiteral("disabled"));
    });
    probe.start();
    gNodes().ExpandChildren(gNodes().Item(ds));
    probe.stop();
    ASSERT_GT(seen.size(), 100);
    EXPECT_EQ(seen.filter(QStringLiteral("busy pointer, tree disabled")).size(), seen.size()) << seen.join('\n').toStdString();
    EXPECT_NE(main().cursor().shape(), Qt::WaitCursor);
    EXPECT_TRUE(tree()->isEnabled());
    EXPECT_TRUE(tree()->updatesEnabled());
    EXPECT_TRUE(tree()->hasFocus());
}

TEST(CurrentItem, ANodeWithoutAnEntryGoesToTheErrorDialog)
{
    ScriptedUi ui;
    gNodes().Clear();
    auto *stray = new QStandardItem(QStringLiteral("stray"));
    stray->setData(QStringLiteral("DSN=stray:"), CNodes::KeyRole);
    gNodes().Model()->appendRow(stray);
    ui.answerError(ui::vbIgnore);
    const DragItem item = NodeToDragItem(stray);
    ASSERT_EQ(ui.errors().size(), 1);
    EXPECT_EQ(ui.errors()[0].number, QStringLiteral("91"));
    EXPECT_EQ(ui.errors()[0].trappedIn, QStringLiteral("mdiMain.NodeToDragItem"));
    EXPECT_EQ(item.Node, nullptr);
    EXPECT_TRUE(item.NodeType.isEmpty());
    EXPECT_TRUE(item.Keys.isEmpty());
    EXPECT_TRUE(gErrorTrace().List().isEmpty());
    // A key part the item does not have is a reportable failure, not a crash.
    EXPECT_EQ(failureOf([&] { item.Key(0); }).Number(), qnerr::SubscriptOutOfRange);
    gNodes().Clear();
    ResetErrorState();
}

// A picture of the tree, for looking at it:
// QN_SCREENSHOT_DIR=<folder> test_tree --gtest_filter=Explorer.Screenshot
TEST_F(Explorer, Screenshot)
{
    const QString folder = qEnvironmentVariable("QN_SCREENSHOT_DIR");
    if (folder.isEmpty())
        GTEST_SKIP() << "QN_SCREENSHOT_DIR not set";
    setSetting(QStringLiteral("Options"), QStringLiteral("SysTables"), QStringLiteral("1"));
    main().resize(900, 900);
    const QString qnFile = kDbs + "db=QN:TA=QN:ta=FILE:";
    open({QStringLiteral("DSN=QnTest:"), kDbs, kDbs + "db=QN:", kDbs + "db=QN:TA=QN:", qnFile, qnFile + "CO=FILE:",
          kDbs + "db=SALES:", kDbs + "db=SALES:DBPRV=SALES:", QStringLiteral("DSN=QnTest:US=QnTest:")});
    click(node(kDbs + "db=SALES:DBPRV=SALES:dbprv=ADMIN:"));
    QCoreApplication::processEvents();
    QDir().mkpath(folder);
    ASSERT_TRUE(main().grab().save(QDir(folder).filePath(QStringLiteral("explorer.png"))));
}

} // namespace
