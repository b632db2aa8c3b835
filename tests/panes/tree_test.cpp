// The list panes from the explorer tree: a click on a collection folder shows
// its pane, a row written in the pane shows in the folder, and a changed row
// is written before another pane shows or the window closes.

#include <QPointer>
#include <QStandardItem>
#include <QTreeView>

#include "../mainwindow/menudriver.h"
#include "appinfo.h"
#include "panefixture.h"
#include "panes/frmcolumns.h"
#include "panes/frmdbprvs.h"
#include "panes/frmfields.h"
#include "panes/frmfiles.h"
#include "panes/frmtables.h"
#include "panes/frmtblprvs.h"
#include "panes/frmusers.h"

namespace {

const QString kDiscard = QStringLiteral("The changes to this row could not be saved. Do you want to discard them?");
const QString kDs = QStringLiteral("DSN=QnTest:");
const QString kFiles = QStringLiteral("DSN=QnTest:FI=QnTest:");
const QString kUsers = QStringLiteral("DSN=QnTest:US=QnTest:");
const QString kDbs = QStringLiteral("DSN=QnTest:DB=QnTest:");
const QString kSales = kDbs + QStringLiteral("db=SALES:");
const QString kSalesTables = kSales + QStringLiteral("TA=SALES:");
const QString kCustomer = kSalesTables + QStringLiteral("ta=CUSTOMER:");
const QString kCustomerColumns = kCustomer + QStringLiteral("CO=CUSTOMER:");

class FromTree : public PaneTest
{
protected:
    QTreeView *tree() { return main().tvwExplorer; }
    static QStringList children(const QString &key)
    {
        QStringList texts;
        if (QStandardItem *item = gNodes().Node(key))
            for (int r = 0; r < item->rowCount(); ++r)
                texts << item->child(r)->text();
        return texts;
    }
    // A user's click on the text of the node `key`, as a real mouse gives
    // it: events run between the press (which takes the focus) and the release.
    void clickNode(const QString &key)
    {
        QStandardItem *item = gNodes().Node(key);
        ASSERT_NE(item, nullptr) << key.toStdString();
        tree()->scrollTo(item->index());
        const QRect rect = tree()->visualRect(item->index());
        const QPoint at(rect.left() + 12, rect.center().y());
        QTest::mousePress(tree()->viewport(), Qt::LeftButton, {}, at);
        settle();
        QTest::mouseRelease(tree()->viewport(), Qt::LeftButton, {}, at);
        settle();
    }
    // The pane of the folder `folder`, shown with a click on it, the nodes of `path` expanded.
    template <class T> T &fromTree(const QStringList &path, const QString &folder)
    {
        for (const QString &key : path)
            expandNode(key);
        clickNode(folder);
        auto *pane = dynamic_cast<T *>(gCurrentPane().data());
        EXPECT_NE(pane, nullptr);
        return *pane;
    }
    // The Files pane from its folder, the data source expanded.
    frmFiles &filesFromTree() { return fromTree<frmFiles>({kDs}, kFiles); }
    QString selectedKey() const
    {
        const CNodePtr selected = gNodes().SelectedItem();
        return selected ? selected->Key : QString();
    }
    // SALES.CUSTOMER's Columns pane from its folder, the path to it expanded.
    frmColumns &columnsFromTree()
    {
        return fromTree<frmColumns>({kDs, kDbs, kSales, kSalesTables, kCustomer}, kCustomerColumns);
    }
    QString openStringOf(const QString &file)
    {
        return scalar(QStringLiteral("SELECT OPEN_STRING FROM QN_FILE WHERE FILE_NAME = '%1'").arg(file)).toString();
    }
    // The ways a user makes the current pane go: a click on another node, a
    // menu command, a command that unloads every pane, the window's close (no
    // pane shows after it).
    struct Leave
    {
        const char *name;
        std::function<void()> act;
        const char *pane; // nullptr: the window closes
        QString selected; // the node selected after it
    };
    QList<Leave> leaves(const QString &paneNode = kFiles)
    {
        // (The offscreen platform leaves no window active after a popup.)
        const auto activate = [this] {
            settle();
            QApplication::setActiveWindow(&main());
        };
        return {{"a click on the Users folder", [this] { clickNode(kUsers); }, "frmUsers", kUsers},
                {"Help > About",
                 [this, activate] {
                     chooseFromMenuBar(main(), main().mnuHelp, QStringLiteral("&About ODBC Administrator"));
                     activate();
                 },
                 "frmAbout", paneNode},
                {"Disconnect from the data source's menu",
                 [this, activate] {
                     QStandardItem *item = gNodes().Node(kDs);
                     const QPoint at(tree()->visualRect(item->index()).left() + 12,
                                     tree()->visualRect(item->index()).center().y());
                     QTest::mousePress(tree()->viewport(), Qt::RightButton, {}, at);
                     whilePopup([&] { QTest::mouseRelease(tree()->viewport(), Qt::RightButton, {}, at); },
                                [](QMenu &menu) { ::clickItem(menu, QStringLiteral("&Disconnect")); });
                     activate();
                 },
                 "frmWelcome", kDs},
                {"File > Refresh Datasources",
                 [this, activate] {
                     chooseFromMenuBar(main(), main().mnuFile, QStringLiteral("&Refresh Datasources"));
                     activate();
                 },
                 "frmWelcome", {}},
                {"File > Exit",
                 [this, activate] {
                     chooseFromMenuBar(main(), main().mnuFile, QStringLiteral("E&xit"));
                     activate();
                 },
                 nullptr, {}},
                {"the window's close", [this] { main().close(); }, nullptr, {}}};
    }
    // A fresh main window after one that closed.
    void reopen()
    {
        mdiMain::Unload();
        flush();
        main().show();
        QApplication::setActiveWindow(&main());
        ASSERT_TRUE(QTest::qWaitForWindowActive(&main()));
    }
    // After `leave` the pane went: the window closed (true; it is opened
    // afresh), or the pane and the selected node are those `leave` names.
    bool expectGone(const Leave &leave)
    {
        if (!leave.pane) {
            EXPECT_FALSE(main().isVisible());
            reopen();
            return true;
        }
        EXPECT_EQ(gCurrentPane() ? gCurrentPane()->objectName() : QString(), QLatin1String(leave.pane));
        EXPECT_EQ(selectedKey(), leave.selected);
        return false;
    }
    // A user's click on the expand button of the node `key`.
    void expandNode(const QString &key)
    {
        QStandardItem *item = gNodes().Node(key);
        ASSERT_NE(item, nullptr) << key.toStdString();
        if (tree()->isExpanded(item->index()))
            return;
        tree()->scrollTo(item->index());
        const QRect rect = tree()->visualRect(item->index());
        QTest::mouseClick(tree()->viewport(), Qt::LeftButton, {},
                          QPoint(rect.left() - tree()->indentation() / 2, rect.center().y()));
        settle();
        ASSERT_TRUE(tree()->isExpanded(item->index())) << key.toStdString();
    }
};


TEST_F(FromTree, FilesFolderShowsTheFilesPane)
{
    expandNode(kDs);
    clickNode(kFiles);
    auto *files = dynamic_cast<frmFiles *>(gCurrentPane().data());
    ASSERT_NE(files, nullptr);
    EXPECT_EQ(files->lblTitle.title->text(), QStringLiteral("QnTest - Files"));
    EXPECT_EQ(files->grd->Rows(), 7);

    // A file added in the pane shows in the folder, which the commit reloads.
    expandNode(kFiles);
    EXPECT_FALSE(children(kFiles).contains(QStringLiteral("LEDGER")));
    const int fresh = files->grd->Rows() - 1;
    edit(*files, fresh, 0, QStringLiteral("LEDGER"));
    click(*files, 0, 0);
    EXPECT_TRUE(children(kFiles).contains(QStringLiteral("LEDGER")));
    EXPECT_EQ(gCurrentPane().data(), files); // the reload shows no other pane
    EXPECT_EQ(current(*files), QPoint(0, 0));
}

TEST_F(FromTree, ColumnsFolderShowsTheColumnsPane)
{
    const QString db = kDs + QStringLiteral("DB=QnTest:");
    const QString sales = db + QStringLiteral("db=SALES:");
    const QString tables = sales + QStringLiteral("TA=SALES:");
    const QString customer = tables + QStringLiteral("ta=CUSTOMER:");
    const QString columnsFolder = customer + QStringLiteral("CO=CUSTOMER:");
    for (const QString &key : {kDs, db, sales, tables, customer})
        expandNode(key);
    clickNode(columnsFolder);
    auto *columns = dynamic_cast<frmColumns *>(gCurrentPane().data());
    ASSERT_NE(columns, nullptr);
    EXPECT_EQ(columns->lblTitle.title->text(), QStringLiteral("SALES.CUSTOMER - Columns"));
    EXPECT_EQ(columns->grd->TextMatrix(3, 1), QStringLiteral("CITY"));

    expandNode(columnsFolder);
    edit(*columns, 3, 1, QStringLiteral("TOWN"));
    edit(*columns, 3, 2, QString());
    click(*columns, 0, 0);
    EXPECT_TRUE(children(columnsFolder).contains(QStringLiteral("TOWN")));
    EXPECT_FALSE(children(columnsFolder).contains(QStringLiteral("CITY")));
    EXPECT_EQ(gCurrentPane().data(), columns);
}

// Each further folder shows its pane; a row added there shows in the folder.
TEST_F(FromTree, FoldersOfTheOtherPanes)
{
    const QString db = kDs + QStringLiteral("DB=QnTest:");
    const QString sales = db + QStringLiteral("db=SALES:");
    const QString tables = sales + QStringLiteral("TA=SALES:");
    const QString orders = tables + QStringLiteral("ta=ORDERS:");
    const QString customerFile = kFiles + QStringLiteral("fi=CUSTOMER:");
    using Add = std::function<void(GridPane &, int)>;
    const struct
    {
        QStringList path; // expanded in turn; the last is the folder
        const char *pane, *title;
        Add add;          // fills the new row
        const char *node; // the new node's text
    } cases[] = {
        {{kDs, db, sales, tables}, "frmTables", "SALES - Tables",
         [](GridPane &p, int r) {
             edit(p, r, 0, QStringLiteral("LEDGER"));
             pick(p, r, 3, "c");
             edit(p, r, 4, QStringLiteral("LEDGER.DAT"));
         },
         "LEDGER"},
        {{kDs, db, sales, tables, orders, orders + QStringLiteral("TBLPRV=ORDERS:")}, "frmTBLPRVs",
         "SALES.ORDERS - User Privileges", [](GridPane &p, int r) { pick(p, r, 0, "j"); }, "JSMITH"},
        {{kDs, kDs + QStringLiteral("US=QnTest:")}, "frmUsers", "QnTest - Users",
         [](GridPane &p, int r) {
             edit(p, r, 0, QStringLiteral("CLERK"));
             edit(p, r, 1, QStringLiteral("pw"));
         },
         "CLERK"},
        {{kDs, db, sales, sales + QStringLiteral("DBPRV=SALES:")}, "frmDBPRVs", "SALES - Database Privileges",
         [](GridPane &p, int r) {
             pick(p, r, 0, "c"); // the user added above

             edit(p, r, 2, QStringLiteral("pw"));
         },
         "CLERK"},
        {{kDs, kFiles, customerFile, customerFile + QStringLiteral("FD=CUSTOMER:")}, "frmFields", "CUSTOMER - Fields",
         [](GridPane &p, int r) {
             edit(p, r, 0, QStringLiteral("FAX"));
             edit(p, r, 1, QStringLiteral("10"));
             edit(p, r, 2, QStringLiteral("133"));
             pick(p, r, 3, "s");
         },
         "FAX"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.pane);
        const QString folder = c.path.last();
        for (const QString &key : c.path.mid(0, c.path.size() - 1))
            expandNode(key);
        clickNode(folder);
        auto *pane = dynamic_cast<GridPane *>(gCurrentPane().data());
        ASSERT_NE(pane, nullptr);
        EXPECT_EQ(pane->objectName(), QLatin1String(c.pane));
        EXPECT_EQ(pane->lblTitle.title->text(), QLatin1String(c.title));
        expandNode(folder);
        EXPECT_FALSE(children(folder).contains(QLatin1String(c.node)));
        const int fresh = pane->grd->Rows() - 1;
        c.add(*pane, fresh);
        click(*pane, 0, 0);
        EXPECT_TRUE(children(folder).contains(QLatin1String(c.node))) << children(folder).join(QLatin1Char(',')).toStdString();
        EXPECT_EQ(gCurrentPane().data(), pane);
    }
}

// A changed row is written as leaving it writes it, its editor still open
// or already closed; the other pane shows with the tree's selection and the
// focus where the user put them.
TEST_F(FromTree, AChangedRowIsWrittenBeforeThePaneGoes)
{
    int n = 0;
    for (const Leave &leave : leaves()) {
        for (const bool editorOpen : {true, false}) {
            SCOPED_TRACE(std::string(leave.name) + (editorOpen ? ", editor open" : ", cell written back"));
            const QString typed = QStringLiteral("LEFT%1").arg(++n);
            frmFiles &f = filesFromTree();
            doubleClick(f, 0, 1);
            QTest::keyClick(focus(), Qt::Key_A, Qt::ControlModifier);
            type(typed);
            if (!editorOpen)
                key(Qt::Key_Return);
            ASSERT_TRUE(f.RowDirty() || f.EditorVisible());
            leave.act();
            settle();
            EXPECT_EQ(openStringOf(QStringLiteral("CUSTOMER")), typed);
            EXPECT_TRUE(ui().messages().isEmpty());
            EXPECT_TRUE(ui().errors().isEmpty());
            if (expectGone(leave))
                continue;
            if (leave.selected == kUsers) {
                EXPECT_EQ(focus(), tree());
            }
        }
    }
}

// A row its rule refuses keeps the pane, its failing cell open and the
// tree's selection on the pane's node, whichever way the pane was to go,
// when the user does not discard its changes. Once the row passes, the pane goes.
TEST_F(FromTree, ARefusedRowKeepsThePaneAndTheSelection)
{
    frmFiles &f = filesFromTree();
    empty(f, 0, 0);
    ASSERT_TRUE(f.RowDirty());
    for (const Leave &leave : leaves()) {
        SCOPED_TRACE(leave.name);
        ui().clear();
        ui().answerMsgBox(ui::vbOK);
        ui().answerMsgBox(ui::vbNo);
        leave.act();
        settle();
        EXPECT_EQ(ui().messages(), QStringList({QStringLiteral("Filename cannot be blank"), kDiscard}));
        EXPECT_EQ(gCurrentPane().data(), &f);
        EXPECT_TRUE(main().isVisible());
        EXPECT_EQ(visibleBands(), QStringList({"tbrMain", "tbrFiles"}));
        EXPECT_EQ(current(f), QPoint(0, 0));
        EXPECT_TRUE(f.EditorVisible());
        EXPECT_EQ(focus(), f.txtCell[0]);
        EXPECT_EQ(selectedKey(), kFiles);
        EXPECT_EQ(scalar(QStringLiteral("SELECT COUNT(*) FROM QN_FILE WHERE FILE_NAME = 'CUSTOMER'")).toInt(), 1);
    }
    type(QStringLiteral("CLIENT"));
    clickNode(kUsers);
    EXPECT_EQ(gCurrentPane()->objectName(), QStringLiteral("frmUsers"));
    EXPECT_EQ(scalar(QStringLiteral("SELECT REMARKS FROM QN_FILE WHERE FILE_NAME = 'CLIENT'")).toString(),
              QStringLiteral("Customer master"));
    EXPECT_EQ(selectedKey(), kUsers);
}

// A new row its checks refuse (a Display Name typed into the Columns' new
// row, its Column Number empty), whichever way the pane is to go: after the
// check's message the grid asks whether to discard the row's changes. No
// keeps the pane on the row, its failing cell open; Yes gives the changes up
// (the new row shows its defaults again), writes nothing, and the pane goes
// (the window closes).
TEST_F(FromTree, ARefusedRowIsKeptOrDiscarded)
{
    const QString rule = QStringLiteral("Column Number is out of range.\r\nPlease enter a value between 1 and 32767.");
    const QString count = QStringLiteral("SELECT COUNT(*) FROM QN_COLUMN WHERE DATABASE_NAME = 'SALES' AND "
                                         "TABLE_NAME = 'CUSTOMER'");
    const int stored = scalar(count).toInt();
    QList<Leave> ways = leaves(kCustomerColumns);
    ways.prepend({"the band's Up",
                  [this] {
                      modGUI::ToolbarButton(main().PaneBand(QStringLiteral("frmColumns")), QStringLiteral("Up1"))
                          ->trigger();
                  },
                  "frmTable", kCustomer});
    for (const Leave &leave : std::as_const(ways)) {
        for (const bool editorOpen : {true, false}) {
            SCOPED_TRACE(std::string(leave.name) + (editorOpen ? ", editor open" : ", cell written back"));
            frmColumns &c = columnsFromTree();
            const QPointer<frmColumns> pane(&c);
            const int fresh = c.grd->Rows() - 1;
            const QString defaults = row(c, fresh);
            doubleClick(c, fresh, 2);
            type(QStringLiteral("x"));
            if (!editorOpen)
                key(Qt::Key_Return);
            for (const int answer : {ui::vbNo, ui::vbYes}) {
                SCOPED_TRACE(answer == ui::vbNo ? "No" : "Yes");
                ui().clear();
                ui().answerMsgBox(ui::vbOK);
                ui().answerMsgBox(answer);
                leave.act();
                settle();
                EXPECT_EQ(ui().messages(), QStringList({rule, kDiscard}));
                ASSERT_EQ(ui().shown().size(), 2);
                EXPECT_EQ(ui().shown()[0].style, ui::vbInformation);
                EXPECT_EQ(ui().shown()[1].style, ui::vbYesNo + ui::vbQuestion);
                EXPECT_EQ(ui().shown()[1].title, appinfo::Title());
                EXPECT_TRUE(ui().errors().isEmpty());
                EXPECT_EQ(scalar(count).toInt(), stored);
                if (answer == ui::vbNo) {
                    EXPECT_EQ(gCurrentPane().data(), &c);
                    EXPECT_TRUE(main().isVisible());
                    EXPECT_EQ(selectedKey(), kCustomerColumns);
                    EXPECT_TRUE(c.RowDirty());
                    EXPECT_TRUE(c.EditorVisible());
                    EXPECT_EQ(current(c), QPoint(0, fresh));
                    EXPECT_EQ(c.grd->TextMatrix(fresh, 2), QStringLiteral("x"));
                }
            }
            if (pane) {
                EXPECT_FALSE(pane->RowDirty());
                EXPECT_FALSE(pane->EditorVisible());
                EXPECT_EQ(row(*pane, fresh), defaults);
            }
            expectGone(leave);
        }
    }
}

// A new Users row its check refuses (Remarks typed, User Name empty) is left
// with one click on another node, its Remarks editor still open (its move on
// would leave the row) or closed: the check's message, then the question. Yes
// shows the other pane at once and writes nothing; No keeps the pane on the
// row, its failing cell open and the Remarks kept.
TEST_F(FromTree, ARefusedRowIsLeftInOneClick)
{
    const QString count = QStringLiteral("SELECT COUNT(*) FROM QN_USER");
    const int stored = scalar(count).toInt();
    for (const bool editorOpen : {true, false}) {
        for (const int answer : {ui::vbYes, ui::vbNo}) {
            SCOPED_TRACE(std::string(editorOpen ? "editor open" : "editor closed") +
                         (answer == ui::vbYes ? ", Yes" : ", No"));
            frmUsers &u = fromTree<frmUsers>({kDs}, kUsers);
            const int fresh = u.grd->Rows() - 1;
            const QString defaults = row(u, fresh);
            doubleClick(u, fresh, 2);
            type(QStringLiteral("x"));
            if (!editorOpen)
                click(u, fresh, 0);
            ASSERT_EQ(u.EditorVisible(), editorOpen);
            ui().clear();
            ui().answerMsgBox(ui::vbOK);
            ui().answerMsgBox(answer);
            clickNode(kFiles);
            EXPECT_EQ(ui().messages(), QStringList({QStringLiteral("User Name cannot be blank"), kDiscard}));
            EXPECT_TRUE(ui().allAnswered());
            EXPECT_TRUE(ui().errors().isEmpty());
            EXPECT_EQ(scalar(count).toInt(), stored);
            if (answer == ui::vbYes) {
                ASSERT_TRUE(gCurrentPane());
                EXPECT_EQ(gCurrentPane()->objectName(), QStringLiteral("frmFiles"));
                EXPECT_EQ(selectedKey(), kFiles);
                EXPECT_FALSE(u.RowDirty());
                EXPECT_EQ(row(u, fresh), defaults);
                continue;
            }
            EXPECT_EQ(gCurrentPane().data(), &u);
            EXPECT_EQ(selectedKey(), kUsers);
            EXPECT_TRUE(u.RowDirty());
            EXPECT_EQ(current(u), QPoint(0, fresh));
            EXPECT_TRUE(u.EditorVisible());
            EXPECT_EQ(focus(), u.txtCell[0]);
            EXPECT_EQ(u.grd->TextMatrix(fresh, 2), QStringLiteral("x"));
            key(Qt::Key_Escape); // the next case starts clean
        }
    }
}

// The row's write fails during a click on another node: Retry writes it
// again and the other pane shows once, as asked.
TEST_F(FromTree, RetryDuringASwitchSwitchesOnce)
{
    frmFiles &f = filesFromTree();
    edit(f, 0, 1, QStringLiteral("RETRIED"));
    ASSERT_TRUE(f.RowDirty());
    QStringList sent;
    dao::SetStatementObserver([&](const QString &sql) { sent << sql; });
    dao::Faults::Add(dao::Faults::Statement, 1, QStringLiteral("HY000"), QStringLiteral("disk I/O error"));
    ui().answerError(ui::vbRetry);
    clickNode(kUsers);
    dao::SetStatementObserver(nullptr);
    EXPECT_EQ(ui().errors().size(), 1);
    EXPECT_EQ(openStringOf(QStringLiteral("CUSTOMER")), QStringLiteral("RETRIED"));
    EXPECT_EQ(sent.filter(QStringLiteral("UPDATE QN_FILE")).size(), 2); // failed, then retried
    EXPECT_EQ(sent.filter(QStringLiteral("FROM QN_USER ORDER BY")).size(), 1);
    ASSERT_TRUE(gCurrentPane());
    EXPECT_EQ(gCurrentPane()->objectName(), QStringLiteral("frmUsers"));
    EXPECT_EQ(selectedKey(), kUsers);
    EXPECT_EQ(visibleBands(), QStringList({"tbrMain", "tbrUsers"}));
}

} // namespace
