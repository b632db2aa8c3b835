// The table data viewer in the main window on the stand-in: rows in a
// read-only grid with the record position, the default-database rule,
// explanations of empty and failing queries, Refresh, the incremental fill.
#include <QAction>
#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QTableView>
#include <QToolButton>

#include "criteriadriver.h"
#include "dataview/frmtabledata.h"
#include "dataview/tabledatamodel.h"
#include "../mainwindow/mainwindowfixture.h"
#include "core/errortrace.h"
#include "settings.h"

namespace {

const QString kDs = QStringLiteral("QnTest");
const QString kSales = QStringLiteral("SALES");
const QString kCustomer = QStringLiteral("CUSTOMER");

class Viewer : public MainWindowTest
{
protected:
    // Shows the viewer for the table through the pane host, answering the criteria dialog.
    frmTableData *view(const CriteriaAnswer &answer, const QString &database = kSales,
                       const QString &table = kCustomer)
    {
        ui().onModal([answer](QDialog &dialog) { return answerCriteria(dialog, answer); });
        return viewWithoutCriteria(database, table);
    }
    frmTableData *viewWithoutCriteria(const QString &database = kSales, const QString &table = kCustomer)
    {
        main().PaneDisplay(QStringLiteral("frmTableData"), {kDs, database, table});
        return qobject_cast<frmTableData *>(gCurrentPane().data());
    }
    void SetUp() override
    {
        MainWindowTest::SetUp();
        // The table's editor, which takes the viewer's place after a cancel.
        forms::SetFactory(QStringLiteral("frmTable"),
                          [] { return static_cast<QWidget *>(new TestPane(QStringLiteral("frmTable"))); });
    }

    QAction *refresh() { return main().tbrViewData->findChild<QAction *>(QStringLiteral("Refresh")); }
    static QString explanation(frmTableData *pane) { return pane->lblExplain->text(); }
    // What the pane shows: the grid with its caption, or the explanation.
    static QString showing(frmTableData *pane)
    {
        if (!pane->dbgEdit->isHidden() && pane->lblExplain->isHidden())
            return QStringLiteral("grid: ") + pane->datPrimary->Caption();
        if (pane->dbgEdit->isHidden() && !pane->lblExplain->isHidden() && pane->datPrimary->isHidden())
            return QStringLiteral("explanation: ") + explanation(pane);
        return QStringLiteral("both or neither");
    }
    // Runs the event loop until the pane has read every row.
    static void waitForFill(frmTableData *pane)
    {
        for (int i = 0; i < 100000 && pane->Filling(); ++i)
            QCoreApplication::processEvents();
        ASSERT_FALSE(pane->Filling());
    }
};

// "All" marks every column; OK follows.
CriteriaAnswer selectAll()
{
    CriteriaAnswer a;
    a.all = true;
    return a;
}

TEST_F(Viewer, ShowsTheRowsInAReadOnlyGridWithTheRecordPosition)
{
    main().show();
    ui().onModal([](QDialog &dialog) {
        dialog.show();
        QTest::mouseClick(child<QPushButton>(dialog, QStringLiteral("cmdSelectAll")), Qt::LeftButton);
        QTest::mouseClick(child<QPushButton>(dialog, QStringLiteral("cmdOK")), Qt::LeftButton);
        return dialog.result();
    });
    frmTableData *pane = viewWithoutCriteria();
    ASSERT_TRUE(pane);
    EXPECT_TRUE(pane->isVisible());
    EXPECT_EQ(showing(pane), QStringLiteral("grid: Record 1 of 20"));
    EXPECT_EQ(visibleBands(), (QStringList{"tbrMain", "tbrViewData"}));
    EXPECT_TRUE(refresh()->isEnabled());
    EXPECT_EQ(pane->lblTitle.title->text(), QStringLiteral("SALES_CUSTOMER - Table Data"));
    EXPECT_EQ(pane->lblTitle.shadow->text(), pane->lblTitle.title->text());
    EXPECT_EQ(pane->lblDescription->text(),
              QStringLiteral("This is the results of a sample snapshot query:\r\n\r\n\r\nSELECT\r\n    *\r\nFROM\r\n"
                             "    [SALES_CUSTOMER]\r\n\r\n run against the Datasource 'QnTest'"));

    // The rows as the data source serves them, every column.
    QTableView *grid = pane->dbgEdit;
    QAbstractItemModel *rows = grid->model();
    ASSERT_EQ(rows->rowCount(), 20);
    QStringList headers, first;
    for (int c = 0; c < rows->columnCount(); ++c) {
        headers << rows->headerData(c, Qt::Horizontal).toString();
        first << rows->index(0, c).data().toString();
    }
    EXPECT_EQ(headers, (QStringList{"CUST_NO", "NAME", "ADDRESS", "CITY", "POSTCODE", "PHONE", "CREDIT_LIMIT", "SINCE",
                                    "REGION"}));
    EXPECT_EQ(first, (QStringList{"1001", "Abbey Hardware Ltd", "12 Mill Lane", "Bristol", "BS1 4QT", "0117 496 0321",
                                  "5000", "2016-03-14", "1"}));

    // Read-only: neither a double click nor typing opens an editor.
    const QModelIndex cell = rows->index(1, 1);
    grid->scrollTo(cell);
    const QPoint at = grid->visualRect(cell).center();
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, at);
    QTest::keyClicks(grid, QStringLiteral("x"));
    QTest::keyClick(grid, Qt::Key_F2);
    EXPECT_FALSE(grid->indexWidget(cell));
    EXPECT_EQ(grid->findChildren<QLineEdit *>().size(), 0);
    EXPECT_FALSE(rows->flags(cell) & Qt::ItemIsEditable);
    EXPECT_EQ(rows->index(1, 1).data().toString(), QStringLiteral("Barton & Sons"));
    EXPECT_EQ(pane->datPrimary->Caption(), QStringLiteral("Record 2 of 20"));

    // The record bar moves through the rows.
    struct Move
    {
        QToolButton *button;
        const char *caption;
    } moves[] = {{pane->datPrimary->cmdLast, "Record 20 of 20"}, {pane->datPrimary->cmdNext, "Record 20 of 20"},
                 {pane->datPrimary->cmdPrevious, "Record 19 of 20"}, {pane->datPrimary->cmdFirst, "Record 1 of 20"},
                 {pane->datPrimary->cmdPrevious, "Record 1 of 20"}, {pane->datPrimary->cmdNext, "Record 2 of 20"}};
    for (const Move &m : moves) {
        QTest::mouseClick(m.button, Qt::LeftButton);
        EXPECT_EQ(pane->datPrimary->Caption(), QLatin1String(m.caption)) << m.button->objectName().toStdString();
    }

    // Its own connection: the registry holds only the catalog's.
    EXPECT_EQ(gConnections().Count(), 1);
}

TEST_F(Viewer, TheDefaultDatabaseNamesTheTableOrRefusesIt)
{
    // With a default database a table goes by its plain name.
    open()->Execute(QStringLiteral("CREATE VIEW CUSTOMER AS SELECT * FROM SALES_CUSTOMER WHERE REGION = 1"));
    const QString refused = QStringLiteral("explanation: You cannot view data from any Table in this Database "
                                           "because\r\nthe datasource specifies the default Database as '%1'");
    struct Case
    {
        const char *defaultDatabase, *database, *table;
        QString shows, from;
    } cases[] = {
        {"", "SALES", "CUSTOMER", QStringLiteral("grid: Record 1 of 20"), QStringLiteral("[SALES_CUSTOMER]")},
        {"SALES", "SALES", "CUSTOMER", QStringLiteral("grid: Record 1 of 5"), QStringLiteral("[CUSTOMER]")},
        {"SALES", "STOCK", "PRODUCT", refused.arg(QLatin1String("SALES")), {}},
        {"sales", "SALES", "CUSTOMER", refused.arg(QLatin1String("sales")), {}},
        {"SALES", "QN", "QN_DB", refused.arg(QLatin1String("SALES")), {}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << c.defaultDatabase << " " << c.database << "." << c.table);
        setDefaultDatabase(kDs, QLatin1String(c.defaultDatabase));
        ui().clear();
        const bool asks = !c.from.isEmpty();
        if (asks)
            ui().onModal([](QDialog &dialog) { return answerCriteria(dialog, selectAll()); });
        frmTableData *pane = viewWithoutCriteria(QLatin1String(c.database), QLatin1String(c.table));
        ASSERT_TRUE(pane);
        EXPECT_EQ(showing(pane), c.shows);
        EXPECT_EQ(refresh()->isEnabled(), asks);
        EXPECT_EQ(ui().shown().size(), asks ? 1 : 0) << "the criteria dialog only for a table that may be viewed";
        if (asks) {
            EXPECT_TRUE(pane->lblDescription->text().contains(QStringLiteral("FROM\r\n    ") + c.from));
            // The title joins database and table whatever the rule gave the statement.
            EXPECT_EQ(pane->lblTitle.title->text(),
                      QStringLiteral("%1_%2 - Table Data").arg(QLatin1String(c.database), QLatin1String(c.table)));
        }
    }
}

TEST_F(Viewer, EmptyAndFailingQueriesAreExplainedInThePane)
{
    const QString unsuccessful = QStringLiteral("explanation: The query was unsuccessfull because:\r\n");
    struct Case
    {
        const char *name;
        CriteriaAnswer answer;
        QString table, shows, statement;
    } cases[] = {
        {"no rows",
         {{"CUST_NO"}, {{"WHERE", "CUST_NO", ">", "5000"}}},
         kCustomer,
         QStringLiteral("explanation: The Query did not return any data."),
         QStringLiteral("SELECT [CUST_NO] FROM [SALES_CUSTOMER] WHERE [CUST_NO] > 5000 ")},
        // The date literal is kept; the stand-in engine refuses it.
        {"a date condition",
         {{"NAME"}, {{"WHERE", "SINCE", "=", "1/2/99"}}},
         kCustomer,
         unsuccessful + QStringLiteral("[SQLite]near \"#1\": syntax error (1)"),
         QStringLiteral("SELECT [NAME] FROM [SALES_CUSTOMER] WHERE [SINCE] = #1/2/99# ")},
        // A message with "&" shows it once.
        {"no data table",
         {{"A&B"}, {}},
         QStringLiteral("R&D"),
         unsuccessful + QStringLiteral("[SQLite]no such table: SALES_R&D (1)"),
         QStringLiteral("SELECT * FROM [SALES_R&D] ")},
    };
    open()->Execute(QStringLiteral("INSERT INTO QN_COLUMN (DATABASE_NAME, TABLE_NAME, COLUMN_NAME, SQL_TYPE_NAME) "
                                   "VALUES ('SALES', 'R&D', 'A&B', 'CHAR')"));
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        frmTableData *pane = view(c.answer, kSales, c.table);
        ASSERT_TRUE(pane);
        EXPECT_EQ(showing(pane), c.shows);
        EXPECT_EQ(pane->lblExplain->textFormat(), Qt::PlainText);
        EXPECT_TRUE(pane->isVisible() || !main().isVisible());
        EXPECT_FALSE(refresh()->isEnabled());
        // The description keeps its one-line form.
        EXPECT_EQ(pane->lblDescription->text(), QStringLiteral("This is the results of a sample snapshot query (") +
                                                     c.statement + QStringLiteral(") run against the Datasource 'QnTest'"));
        EXPECT_EQ(gErrorTrace().Count(), 0);
    }
}

TEST_F(Viewer, CancellingTheCriteriaShowsTheTableEditorInstead)
{
    QPointer<QWidget> viewer;
    ui().onModal([&](QDialog &dialog) {
        viewer = gCurrentPane();
        return answerCriteria(dialog, {{}, {}, QStringLiteral("cmdCancel")});
    });
    main().PaneDisplay(QStringLiteral("frmTableData"), {kDs, kSales, kCustomer});
    auto *editor = dynamic_cast<TestPane *>(gCurrentPane().data());
    ASSERT_TRUE(editor);
    EXPECT_EQ(editor->calls, QStringList{QStringLiteral("Edit:QnTest,SALES,CUSTOMER")});
    EXPECT_EQ(visibleBands(), (QStringList{"tbrMain", "tbrTable"}));
    ASSERT_TRUE(viewer);
    EXPECT_FALSE(forms::IsLoaded(viewer));
    flush();
    EXPECT_FALSE(viewer);
}

TEST_F(Viewer, EachDisplayIsAFreshPaneAndRefreshRunsTheStatementAgain)
{
    frmTableData *first = view({{"NAME", "CITY"}, {{"WHERE", "REGION", "=", "1"}}});
    ASSERT_TRUE(first);
    EXPECT_EQ(showing(first), QStringLiteral("grid: Record 1 of 5"));
    EXPECT_EQ(first->dbgEdit->model()->columnCount(), 2);
    const QPointer<frmTableData> held(first);
    first->dbgEdit->setColumnWidth(0, 222);
    QTest::mouseClick(first->datPrimary->cmdLast, Qt::LeftButton);

    open()->Execute(QStringLiteral("INSERT INTO SALES_CUSTOMER (CUST_NO, NAME, CITY, REGION) VALUES (2001, 'New & Co', 'Ely', 1)"));
    refresh()->trigger();
    EXPECT_EQ(showing(first), QStringLiteral("grid: Record 1 of 6"));
    EXPECT_EQ(first->dbgEdit->model()->index(5, 1).data().toString(), QStringLiteral("New & Co"));
    EXPECT_EQ(first->dbgEdit->columnWidth(0), 222) << "the columns stay as they were";

    // A failure on Refresh is explained like one on display.
    open()->Execute(QStringLiteral("DROP TABLE SALES_CUSTOMER"));
    refresh()->trigger();
    EXPECT_EQ(showing(first), QStringLiteral("explanation: The query was unsuccessfull because:\r\n"
                                             "[SQLite]no such table: SALES_CUSTOMER (1)"));
    EXPECT_FALSE(refresh()->isEnabled());

    // Showing the viewer again unloads this one.
    frmTableData *second = view({{}, {}, QStringLiteral("cmdCancel")}, QStringLiteral("STOCK"), QStringLiteral("BIN"));
    Q_UNUSED(second);
    flush();
    EXPECT_FALSE(held);
}

TEST_F(Viewer, AFailureOtherThanTheQuerysGoesToTheErrorDialog)
{
    ui().answerMsgBox(ui::vbOK);   // the registry cannot connect
    ui().answerError(ui::vbIgnore);
    main().PaneDisplay(QStringLiteral("frmTableData"), {QStringLiteral("Nowhere"), kSales, kCustomer});
    ASSERT_EQ(ui().errors().size(), 1);
    EXPECT_EQ(ui().errors()[0].number, QStringLiteral("91"));
    EXPECT_TRUE(ui().errors()[0].trappedIn.startsWith(QStringLiteral("frmTableData.Display")));
    auto *pane = qobject_cast<frmTableData *>(gCurrentPane().data());
    ASSERT_TRUE(pane);
    EXPECT_TRUE(pane->dbgEdit->isHidden());
    EXPECT_EQ(explanation(pane), QString());
    EXPECT_EQ(gErrorTrace().Count(), 0) << "Ignore leaves through the clean-up";
}

TEST_F(Viewer, AManyRowTableShowsItsFirstRowsAtOnceAndFillsWhileTheWindowRuns)
{
    auto db = open();
    db->Execute(QStringLiteral("CREATE TABLE SALES_BIG (N INTEGER, T VARCHAR(20))"));
    db->Execute(QStringLiteral("WITH RECURSIVE K(N) AS (SELECT 1 UNION ALL SELECT N + 1 FROM K WHERE N < 5000) "
                               "INSERT INTO SALES_BIG SELECT N, 'row ' || N FROM K"));
    db->Execute(QStringLiteral("INSERT INTO QN_COLUMN (DATABASE_NAME, TABLE_NAME, COLUMN_NAME, SQL_TYPE_NAME) VALUES "
                               "('SALES', 'BIG', 'N', 'INTEGER'), ('SALES', 'BIG', 'T', 'VARCHAR')"));
    frmTableData *pane = view(selectAll(), kSales, QStringLiteral("BIG"));
    ASSERT_TRUE(pane);
    const int first = int(frmTableData::FirstRows);
    EXPECT_EQ(pane->dbgEdit->model()->rowCount(), first);
    EXPECT_EQ(showing(pane), QStringLiteral("grid: Record 1 of %1").arg(first));
    EXPECT_TRUE(pane->Filling());
    QTest::mouseClick(pane->datPrimary->cmdNext, Qt::LeftButton); // the user moves while the rows come

    waitForFill(pane);
    EXPECT_EQ(pane->dbgEdit->model()->rowCount(), 5000);
    EXPECT_EQ(showing(pane), QStringLiteral("grid: Record 2 of 5000"));
    EXPECT_EQ(pane->dbgEdit->model()->index(4999, 1).data().toString(), QStringLiteral("row 5000"));

    // A read that fails part-way is explained too.
    pane = view(selectAll(), kSales, QStringLiteral("BIG"));
    ASSERT_TRUE(pane);
    dao::Faults::Add(dao::Faults::Fetch, 2, QStringLiteral("HY000"), QStringLiteral("Lost & not found"));
    waitForFill(pane);
    EXPECT_EQ(showing(pane), QStringLiteral("explanation: The query was unsuccessfull because:\r\nLost & not found"));
    EXPECT_FALSE(refresh()->isEnabled());

    // Another pane ends a fill that is still running.
    pane = view(selectAll(), kSales, QStringLiteral("BIG"));
    ASSERT_TRUE(pane && pane->Filling());
    const QPointer<frmTableData> held(pane);
    main().PaneDisplay(QStringLiteral("frmDSN"), {kDs});
    EXPECT_FALSE(pane->Filling());
    flush();
    EXPECT_FALSE(held);
}

TEST_F(Viewer, TheGridFollowsThePaneByTheLook)
{
    for (int win98 : {1, 0}) {
        SCOPED_TRACE(win98);
        options::Save(options::kWin98, win98);
        main().show();
        frmTableData *pane = view(selectAll());
        ASSERT_TRUE(pane);
        pane->resize(700, 500);
        const QRect grid = pane->dbgEdit->geometry();
        if (win98) {
            EXPECT_EQ(grid.topLeft(), QPoint(148, 52));
            EXPECT_EQ(grid.width(), 700 - 2340 / 15);
            EXPECT_EQ(grid.height(), 500 - 1485 / 15);
            EXPECT_EQ(pane->lblExplain->geometry(), grid);
            EXPECT_FALSE(pane->lblDescription->isHidden());
            EXPECT_EQ(pane->lblDescription->geometry().bottom(), 499);
        } else {
            EXPECT_EQ(grid, QRect(0, 780 / 15, 700, 500 - 1485 / 15));
            EXPECT_TRUE(pane->lblDescription->isHidden());
            EXPECT_TRUE(pane->imgCorner->isHidden());
        }
        EXPECT_EQ(pane->datPrimary->geometry().left(), grid.left());
        EXPECT_EQ(pane->datPrimary->width(), grid.width());
        EXPECT_GT(pane->datPrimary->geometry().top(), grid.bottom());
        EXPECT_LE(pane->datPrimary->geometry().bottom(), 499);
    }
}

// Pictures of the viewer and the criteria dialog, for looking at them:
// QN_SCREENSHOT_DIR=<folder> test_dataview --gtest_filter=Viewer.Pictures
TEST_F(Viewer, Pictures)
{
    const QString folder = qEnvironmentVariable("QN_SCREENSHOT_DIR");
    if (folder.isEmpty())
        GTEST_SKIP() << "QN_SCREENSHOT_DIR not set";
    QDir().mkpath(folder);
    mdiMain &m = main();
    m.show();
    auto save = [&](QWidget &w, const char *name) {
        QCoreApplication::processEvents();
        EXPECT_TRUE(w.grab().save(QDir(folder).filePath(QLatin1String(name)))) << name;
    };
    ui().onModal([&](QDialog &dialog) {
        dialog.show();
        clickItem(child<QListWidget>(dialog, QStringLiteral("lstColumns")), QStringLiteral("CITY"));
        clickItem(child<QListWidget>(dialog, QStringLiteral("lstColumns")), QStringLiteral("NAME"));
        fillRow(dialog, 0, {QStringLiteral("WHERE"), QStringLiteral("REGION"), QStringLiteral("<"), QStringLiteral("3")});
        fillRow(dialog, 1, {QStringLiteral("AND"), QStringLiteral("NAME"), QStringLiteral("LIKE"), QStringLiteral("%& %")});
        save(dialog, "frmTableCriteria.png");
        QTest::mouseClick(child<QPushButton>(dialog, QStringLiteral("cmdCancel")), Qt::LeftButton);
        return dialog.result();
    });
    viewWithoutCriteria();
    view(selectAll());
    save(m, "frmTableData.png");
    view({{"NAME", "CITY", "SINCE"}, {{"WHERE", "SINCE", ">", "1/2/99"}}});
    save(m, "frmTableData-failed.png");
    setDefaultDatabase(kDs, QStringLiteral("STOCK"));
    viewWithoutCriteria();
    save(m, "frmTableData-refused.png");
    setDefaultDatabase(kDs, QString());
    options::Save(options::kWin98, 0);
    view(selectAll());
    save(m, "frmTableData-plain.png");
}

} // namespace
