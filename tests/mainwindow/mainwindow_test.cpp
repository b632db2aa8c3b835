// The main window: start-up, the data-source root, settings, the pane host,
// the coolbar bands and the status bar.

#include <QAction>
#include <QDir>
#include <QHash>
#include <QLabel>
#include <QMenuBar>
#include <QRegularExpression>
#include <QStandardItem>
#include <QStatusBar>
#include <QTest>
#include <QToolBar>
#include <QTreeView>

#include "core/frmqnerr.h"
#include "core/modgui.h"
#include "core/panetable.h"
#include "mainwindow/frmabout.h"
#include "mainwindow/frmwelcome.h"
#include "mainwindowfixture.h"
#include "tree/explorerwindow.h"

namespace {

TestPane *makePane(mdiMain &main, const QString &name)
{
    auto *pane = new TestPane(name);
    pane->setParent(main.ClientArea()); // destroyed with the main window
    pane->hide();
    forms::Register(pane); // loaded, as every pane the host is given
    return pane;
}

// The data-source nodes at the root: "name|image|child keys".
QStringList rootNodes()
{
    QStringList list;
    QStandardItem *root = gNodes().Model()->invisibleRootItem();
    for (int row = 0; row < root->rowCount(); ++row) {
        QStandardItem *node = root->child(row);
        QStringList children;
        for (int c = 0; c < node->rowCount(); ++c)
            children << CNodes::NodeKeyOf(node->child(c));
        list << QStringLiteral("%1|%2|%3|%4")
                    .arg(node->text(), CNodes::NodeKeyOf(node), CNodes::Image(node), children.join(QLatin1Char(',')));
    }
    return list;
}

long placeholderNumber(const QString &key) { return key.mid(1).toLong(); }

using MainWindowStartUp = MainWindowTest;

TEST_F(MainWindowStartUp, ShowsTheEngineDataSourcesAndTheWelcomePane)
{
    mdiMain &m = main();
    EXPECT_EQ(m.windowTitle(), QStringLiteral("Quarnel ODBC Administrator"));
    // Exactly the data sources of the engine's driver, unconnected, each with one placeholder.
    const QStringList nodes = rootNodes();
    ASSERT_EQ(nodes.size(), 2) << nodes.join(QLatin1Char('\n')).toStdString();
    const QRegularExpression row(QStringLiteral("^(QnTest2?)\\|DSN=\\1:\\|DSN Ghost\\|K\\d+$"));
    for (const QString &node : nodes)
        EXPECT_TRUE(row.match(node).hasMatch()) << node.toStdString();
    EXPECT_TRUE(nodes[0].startsWith(QLatin1String("QnTest|")));
    EXPECT_EQ(gNodes().Count(), 4);
    EXPECT_EQ(gNodes().Item(QStringLiteral("DSN=QnTest:"))->NodeType, QStringLiteral("DSN"));
    EXPECT_EQ(m.tvwExplorer->model(), gNodes().Model());

    // The Welcome pane is current and shown; only the main toolbar shows; "Ready".
    auto *welcome = forms::LoadedForm<frmWelcome>();
    ASSERT_TRUE(welcome);
    EXPECT_EQ(gCurrentPane().data(), welcome);
    EXPECT_TRUE(welcome->isVisibleTo(&m));
    EXPECT_EQ(welcome->parentWidget(), m.ClientArea());
    EXPECT_EQ(visibleBands(), QStringList{QStringLiteral("tbrMain")});
    EXPECT_EQ(m.StatusText(), QStringLiteral("Ready"));
    EXPECT_EQ(m.sbrMain->findChild<QLabel *>(QStringLiteral("Status"))->text(), QStringLiteral("Ready"));
    EXPECT_TRUE(frmQNErr::Trace().isEmpty());
    // The menus' frame.
    QStringList menus;
    for (QAction *menu : m.menuBar()->actions())
        menus << menu->text();
    EXPECT_EQ(menus, (QStringList{QStringLiteral("&File"), QStringLiteral("&View"), QStringLiteral("&Help")}));
    EXPECT_TRUE(m.mnuViewToolbar->isChecked());
    EXPECT_TRUE(m.mnuViewStatusBar->isChecked());
}

TEST_F(MainWindowStartUp, OnlyTheExactDriverDescriptionIsListed)
{
    const QDir dir(dataFolder());
    const QString file = dir.filePath(QStringLiteral("qntest2.db"));
    const QString longName = QStringLiteral("Quarnel Demo Catalogue of the Sales Department");
    standin::WriteConfig(dir.path(), {{QStringLiteral("Lower"), file, {}, QStringLiteral("quarnel odbc")},
                                      {QStringLiteral("Suffixed"), file, {}, QStringLiteral("Quarnel ODBC 2")},
                                      {QStringLiteral("Exact"), file, {}, QStringLiteral("Quarnel ODBC")},
                                      {QStringLiteral("Other"), file, {}, standin::kOtherDriverName},
                                      {longName, file, {}, QStringLiteral("Quarnel ODBC")}});
    main();
    QStringList names;
    for (const QString &node : rootNodes())
        names << node.section(QLatin1Char('|'), 0, 0);
    // A name longer than SQL_MAX_DSN_LENGTH (32) is listed whole.
    EXPECT_EQ(names, (QStringList{QStringLiteral("Exact"), longName}));
    EXPECT_TRUE(gNodes().Item(QStringLiteral("DSN=%1:").arg(longName)));

    // No data source of the engine: an empty tree, the Welcome pane all the same.
    standin::WriteConfig(dir.path(), {{QStringLiteral("Other"), file, {}, standin::kOtherDriverName}});
    main().FetchTreeviewRoot();
    EXPECT_EQ(gNodes().Count(), 0);
    EXPECT_EQ(gCurrentPane().data(), forms::LoadedForm<frmWelcome>());
}

TEST_F(MainWindowStartUp, RefreshRebuildsTheRootAndUnloadsTheOtherForms)
{
    mdiMain &m = main();
    const long firstPlaceholder = placeholderNumber(rootNodes().last().section(QLatin1Char('|'), 3));
    ASSERT_TRUE(gConnections().Item(QStringLiteral("QnTest")));
    gNodes().SetImages(gNodes().Node(QStringLiteral("DSN=QnTest:")), QStringLiteral("Datasource"),
                       QStringLiteral("Datasource"));
    m.PaneDisplay(&forms::Get<frmAbout>(), {});
    QWidget *welcome = forms::LoadedForm<frmWelcome>();

    // The main toolbar's "DSN Refresh", clicked.
    m.show();
    QTest::mouseClick(m.tbrMain->widgetForAction(modGUI::ToolbarButton(m.tbrMain, QStringLiteral("DSN Refresh"))),
                      Qt::LeftButton);
    EXPECT_EQ(gConnections().Count(), 0);
    const QStringList nodes = rootNodes();
    ASSERT_EQ(nodes.size(), 2);
    for (const QString &node : nodes) {
        EXPECT_EQ(node.section(QLatin1Char('|'), 2, 2), QStringLiteral("DSN Ghost")) << node.toStdString();
        EXPECT_GT(placeholderNumber(node.section(QLatin1Char('|'), 3)), firstPlaceholder);
    }
    EXPECT_EQ(forms::LoadedForm<frmAbout>(), nullptr);
    EXPECT_EQ(forms::LoadedForm<frmWelcome>(), welcome); // Welcome survives
    EXPECT_EQ(gCurrentPane().data(), welcome);
    EXPECT_TRUE(welcome->isVisibleTo(&m));
    EXPECT_EQ(visibleBands(), QStringList{QStringLiteral("tbrMain")});
    EXPECT_FALSE(frmQNErr::isLoaded() && !frmQNErr::Trace().isEmpty());
}

TEST_F(MainWindowStartUp, SettingsDefaultsAndRoundTrip)
{
    // First run: the defaults, and written back at close.
    {
        mdiMain &m = main();
        EXPECT_EQ(m.pos(), QPoint(0, 0));
        EXPECT_EQ(m.size(), QSize(9600 / 15, 8700 / 15));
        EXPECT_EQ(m.TreeviewWidth(), 2475);
        EXPECT_EQ(m.picTreeview->width(), 2475 / 15);
        EXPECT_EQ(m.picSplitter->x(), 2400 / 15);
        EXPECT_EQ(m.tvwExplorer->width(), (2475 - 60) / 15);
        mdiMain::Unload();
    }
    for (const auto &[key, value] : {std::pair{"Left", "0"}, {"Top", "0"}, {"Width", "9600"}, {"Height", "8700"},
                                     {"TreeviewWidth", "2475"}})
        EXPECT_EQ(setting(QStringLiteral("mdiMain"), QLatin1String(key)), QLatin1String(value)) << key;

    // A stored layout is restored; the splitter drag moves in steps of 15 twips.
    setSetting(QStringLiteral("mdiMain"), QStringLiteral("Left"), QStringLiteral("1500"));
    setSetting(QStringLiteral("mdiMain"), QStringLiteral("Top"), QStringLiteral("750"));
    setSetting(QStringLiteral("mdiMain"), QStringLiteral("Width"), QStringLiteral("12000"));
    setSetting(QStringLiteral("mdiMain"), QStringLiteral("Height"), QStringLiteral("9000"));
    setSetting(QStringLiteral("mdiMain"), QStringLiteral("TreeviewWidth"), QStringLiteral("3000"));
    {
        mdiMain &m = main();
        EXPECT_EQ(m.pos(), QPoint(100, 50));
        EXPECT_EQ(m.size(), QSize(800, 600));
        EXPECT_EQ(m.picTreeview->width(), 200);
        m.picSplitter_MouseMove(2, 0, 900, 0); // not the left button alone: nothing
        EXPECT_EQ(m.TreeviewWidth(), 3000);
        // left 2925 + 900 - 37.5 = 3787.5, rounded to even 3788, cut to 3780; the pane is 60 wider.
        m.picSplitter_MouseMove(1, 0, 900, 0);
        EXPECT_EQ(m.TreeviewWidth(), 3840);
        EXPECT_EQ(m.picSplitter->x(), 3780 / 15);
        m.picSplitter_MouseMove(1, 0, -5000, 0); // at or left of the origin: nothing
        EXPECT_EQ(m.TreeviewWidth(), 3840);
        // Closed maximised: only the tree width is written.
        m.setWindowState(Qt::WindowMaximized);
        mdiMain::Unload();
    }
    EXPECT_EQ(setting(QStringLiteral("mdiMain"), QStringLiteral("Width")), QStringLiteral("12000"));
    EXPECT_EQ(setting(QStringLiteral("mdiMain"), QStringLiteral("Left")), QStringLiteral("1500"));
    EXPECT_EQ(setting(QStringLiteral("mdiMain"), QStringLiteral("TreeviewWidth")), QStringLiteral("3840"));
}

TEST_F(MainWindowStartUp, ABadStoredSettingEndsTheStartUpAtIgnore)
{
    setSetting(QStringLiteral("mdiMain"), QStringLiteral("Width"), QStringLiteral("wide"));
    ui().answerError(ui::vbIgnore);
    mdiMain &m = main();
    ASSERT_EQ(ui().errors().size(), 1);
    EXPECT_EQ(ui().errors()[0].number, QStringLiteral("13"));
    EXPECT_EQ(ui().errors()[0].trappedIn, QStringLiteral("mdiMain.MDIForm_Load"));
    // The later steps did not run: no tree root, no pane.
    EXPECT_EQ(gNodes().Count(), 0);
    EXPECT_EQ(gCurrentPane().data(), nullptr);
    EXPECT_TRUE(m.StatusText().isEmpty());
}

using PaneHost = MainWindowTest;

TEST_F(PaneHost, CallsEachMemberWithTheKeyPartsTheFormTakes)
{
    mdiMain &m = main();
    const QStringList keys = {QStringLiteral("ds"), QStringLiteral("db"), QStringLiteral("t"), QStringLiteral("c"),
                              QStringLiteral("u")};
    struct Case
    {
        const char *form;
        const char *items; // Options\Items
        const char *member;
        const char *expected; // the call recorded; empty: none
    };
    const Case cases[] = {
        {"frmTable", "0", "Display", "Display:ds,db,t"},
        {"frmTable", "1", "Display", "Edit:ds,db,t"}, // an editor opens for editing
        {"frmTable", " 1.4 ", "Display", "Edit:ds,db,t"}, // read as the Options pane reads it: 1
        {"frmColumn", "0", "Display", "Display:ds,db,t,c"},
        {"frmDatabase", "1", "Display", "Edit:ds,db"},
        {"frmSpecialCols", "1", "Display", "Display:ds,db,t"}, // never redirected
        {"frmColumns", "1", "Display", "Display:ds,db,t"},
        {"frmDSN", "1", "Display", "Display:ds"},
        {"frmOptions", "1", "Display", "Display:"},
        {"frmUnknown", "0", "Display", ""},
        {"frmFile", "0", "AddNew", "AddNew:ds"},
        {"frmField", "0", "AddNew", "AddNew:ds,db"},
        {"frmTBLPRV", "0", "AddNew", "AddNew:ds,db,t"},
        {"frmUser", "0", "Edit", "Edit:ds,db"},
        {"frmDBPRV", "0", "Delete", "Delete:ds,db,t"},
        {"frmColumn", "0", "Delete", "Delete:ds,db,t,c"},
        {"frmTables", "0", "AddNew", ""}, // no editor: nothing called
    };
    for (const Case &c : cases) {
        setSetting(QStringLiteral("Options"), QStringLiteral("Items"), QLatin1String(c.items));
        TestPane *pane = makePane(m, QLatin1String(c.form));
        const QString member = QLatin1String(c.member);
        if (member == QLatin1String("Display"))
            m.PaneDisplay(pane, keys);
        else if (member == QLatin1String("AddNew"))
            m.PaneAddNew(pane, keys);
        else if (member == QLatin1String("Edit"))
            m.PaneEdit(pane, keys);
        else
            m.PaneDelete(pane, keys);
        const QStringList expected = *c.expected ? QStringList{QLatin1String(c.expected)} : QStringList();
        EXPECT_EQ(pane->calls, expected) << c.form << " " << c.member << " Items=" << c.items;
        EXPECT_EQ(gCurrentPane().data(), pane) << c.form;
        EXPECT_EQ(m.StatusText(), QStringLiteral("Ready"));
    }
    EXPECT_TRUE(ui().errors().isEmpty());
}

TEST_F(PaneHost, ShowsOnePaneAtATimeWithItsBand)
{
    mdiMain &m = main();
    setSetting(QStringLiteral("Options"), QStringLiteral("Items"), QStringLiteral("0"));
    TestPane *table = makePane(m, QStringLiteral("frmTable"));
    TestPane *columns = makePane(m, QStringLiteral("frmColumns"));
    QWidget *welcome = gCurrentPane();

    EXPECT_EQ(m.PaneDisplay(table, {QStringLiteral("ds"), QStringLiteral("db"), QStringLiteral("t")}), 7);
    EXPECT_TRUE(welcome->isHidden());
    EXPECT_TRUE(table->isVisibleTo(&m));
    EXPECT_EQ(table->geometry(), m.ClientArea()->rect());
    EXPECT_EQ(visibleBands(), (QStringList{QStringLiteral("tbrMain"), QStringLiteral("tbrTable")}));

    m.PaneDisplay(columns, {QStringLiteral("ds"), QStringLiteral("db"), QStringLiteral("t")});
    EXPECT_TRUE(table->isHidden());
    EXPECT_EQ(visibleBands(), (QStringList{QStringLiteral("tbrMain"), QStringLiteral("tbrColumns")}));

    // The same pane again: Display runs again with the new keys, nothing is hidden.
    m.PaneDisplay(columns, {QStringLiteral("ds"), QStringLiteral("db"), QStringLiteral("t2")});
    EXPECT_EQ(columns->calls, (QStringList{QStringLiteral("Display:ds,db,t"), QStringLiteral("Display:ds,db,t2")}));
    EXPECT_TRUE(columns->isVisibleTo(&m));

    // The Welcome pane has no band; the pane fits the client area as it resizes.
    m.PaneDisplay(&forms::Get<frmWelcome>(), {});
    EXPECT_EQ(visibleBands(), QStringList{QStringLiteral("tbrMain")});
    m.resize(m.width() + 40, m.height() + 30);
    EXPECT_EQ(gCurrentPane()->size(), m.ClientArea()->size());
}

TEST_F(PaneHost, BandClicksReachTheCurrentPane)
{
    mdiMain &m = main();
    m.show();
    setSetting(QStringLiteral("Options"), QStringLiteral("Items"), QStringLiteral("0"));
    TestPane *table = makePane(m, QStringLiteral("frmTable"));
    m.PaneDisplay(table, {QStringLiteral("ds"), QStringLiteral("db"), QStringLiteral("t")});
    for (const char *key : {"Table Edit", "ViewData", "Up1"}) {
        QAction *button = modGUI::ToolbarButton(m.tbrTable, QLatin1String(key));
        ASSERT_TRUE(button) << key;
        QTest::mouseClick(m.tbrTable->widgetForAction(button), Qt::LeftButton);
    }
    // OK is disabled as stored: a click does nothing.
    QTest::mouseClick(m.tbrTable->widgetForAction(modGUI::ToolbarButton(m.tbrTable, QStringLiteral("OK"))), Qt::LeftButton);
    EXPECT_EQ(table->calls.mid(1), (QStringList{QStringLiteral("tbr:Table Edit"), QStringLiteral("tbr:ViewData"),
                                                QStringLiteral("tbr:Up1")}));
}

TEST_F(PaneHost, FailuresInAPane)
{
    mdiMain &m = main();
    m.show();
    setSetting(QStringLiteral("Options"), QStringLiteral("Items"), QStringLiteral("0"));
    TestPane *table = makePane(m, QStringLiteral("frmTable"));
    const QStringList keys = {QStringLiteral("ds"), QStringLiteral("db"), QStringLiteral("t")};

    // A missing object ends the request quietly with -1.
    m.Status(QStringLiteral("Busy"));
    table->failWith = qnerr::ObjectNotSet;
    EXPECT_EQ(m.PaneDisplay(table, keys), -1);
    EXPECT_EQ(m.StatusText(), QStringLiteral("Busy"));

    // Any other failure: the dialog, with the main window hidden meanwhile; Retry runs Display again.
    bool hiddenDuringDialog = false;
    table->failWith = qnerr::InvalidProcedureCall;
    ui().onError([&](QDialog &) {
        hiddenDuringDialog = m.isHidden();
        return int(ui::vbRetry);
    });
    EXPECT_EQ(m.PaneDisplay(table, keys), 7);
    EXPECT_TRUE(hiddenDuringDialog);
    EXPECT_TRUE(m.isVisible());
    EXPECT_EQ(table->calls, QStringList{QStringLiteral("Display:ds,db,t")});

    // Ignore: 0, "Ready", the window shown again.
    table->failWith = qnerr::InvalidProcedureCall;
    ui().answerError(ui::vbIgnore);
    EXPECT_EQ(m.PaneDisplay(table, keys), 0);
    EXPECT_TRUE(m.isVisible());
    EXPECT_EQ(m.StatusText(), QStringLiteral("Ready"));

    // Too few key parts: error 9; a non-number "Items": error 13.
    ui().answerError(ui::vbIgnore);
    m.PaneDisplay(table, {QStringLiteral("ds")});
    setSetting(QStringLiteral("Options"), QStringLiteral("Items"), QStringLiteral("x"));
    ui().answerError(ui::vbIgnore);
    m.PaneDisplay(table, keys);
    // "Items" is read for every request, not only for an editor's.
    TestPane *columns = makePane(m, QStringLiteral("frmColumns"));
    ui().answerError(ui::vbIgnore);
    EXPECT_EQ(m.PaneDisplay(columns, keys), 0);
    EXPECT_TRUE(columns->calls.isEmpty());
    // The editor members report under their own names and leave the window shown.
    table->failWith = qnerr::InvalidProcedureCall;
    ui().answerError(ui::vbIgnore);
    m.PaneEdit(table, keys);
    EXPECT_TRUE(m.isVisible());

    QStringList seen;
    for (const auto &e : ui().errors())
        seen << e.number + QLatin1Char('@') + e.trappedIn;
    EXPECT_EQ(seen, (QStringList{QStringLiteral("5@mdiMain.PaneDisplay"), QStringLiteral("5@mdiMain.PaneDisplay"),
                                 QStringLiteral("9@mdiMain.PaneDisplay"), QStringLiteral("13@mdiMain.PaneDisplay"),
                                 QStringLiteral("13@mdiMain.PaneDisplay"), QStringLiteral("5@mdiMain.PaneEdit")}));
}

TEST_F(PaneHost, EachPaneRowShowsItsBand)
{
    mdiMain &m = main();
    // The toolbar of each band, by the pane it belongs to.
    const QHash<QString, QString> toolbars = {
        {"frmColumn", "tbrColumn"},         {"frmColumns", "tbrColumns"},   {"frmDatabase", "tbrDatabase"},
        {"frmDatabases", "tbrDatabases"},   {"frmDBPRV", "tbrDBPRV"},       {"frmDBPRVs", "tbrDBPRVs"},
        {"frmField", "tbrField"},           {"frmFields", "tbrFields"},     {"frmFile", "tbrFile"},
        {"frmFiles", "tbrFiles"},           {"frmSpecialCols", "tbrSpecialCols"}, {"frmTable", "tbrTable"},
        {"frmTables", "tbrTables"},         {"frmTBLPRV", "tbrTBLPRV"},     {"frmTBLPRVs", "tbrTBLPRVs"},
        {"frmUser", "tbrUser"},             {"frmUsers", "tbrUsers"},       {"frmAbout", "tbrAbout"},
        {"frmTableData", "tbrViewData"},
    };
    setSetting(QStringLiteral("Options"), QStringLiteral("Items"), QStringLiteral("0"));
    for (const PaneFacts &row : PaneTable::All()) {
        SCOPED_TRACE(row.name.toStdString());
        QToolBar *band = m.PaneBand(row.name);
        EXPECT_EQ(band ? band->objectName() : QString(), toolbars.value(row.name));
        // Shown, it is the one band beside the main toolbar.
        m.PaneDisplay(makePane(m, row.name), {"ds", "a", "b", "c", "d"});
        QStringList expected = {QStringLiteral("tbrMain")};
        if (band)
            expected << band->objectName();
        EXPECT_EQ(visibleBands(), expected);
    }
}

TEST_F(PaneHost, PanesByNameThroughTheTreesInterface)
{
    mdiMain &m = main();
    m.show();
    ExplorerWindow *window = ExplorerWindow::Current();
    ASSERT_EQ(window, static_cast<ExplorerWindow *>(&m));
    EXPECT_EQ(window->Treeview(), m.tvwExplorer);
    window->Status(QStringLiteral("Busy"));
    EXPECT_EQ(m.StatusText(), QStringLiteral("Busy"));

    // A pane not loaded yet is loaded by its name.
    EXPECT_EQ(forms::LoadedForm<frmAbout>(), nullptr);
    EXPECT_EQ(window->PaneDisplay(QStringLiteral("frmAbout"), {}), 0);
    ASSERT_TRUE(forms::LoadedForm<frmAbout>());
    EXPECT_EQ(gCurrentPane().data(), forms::LoadedForm<frmAbout>());
    EXPECT_EQ(visibleBands(), (QStringList{QStringLiteral("tbrMain"), QStringLiteral("tbrAbout")}));
    EXPECT_EQ(m.StatusText(), QStringLiteral("Ready"));

    // A loaded pane is reused, and the editor members reach it.
    setSetting(QStringLiteral("Options"), QStringLiteral("Items"), QStringLiteral("1"));
    TestPane *table = makePane(m, QStringLiteral("frmTable"));
    const QStringList keys = {QStringLiteral("ds"), QStringLiteral("db"), QStringLiteral("t")};
    window->PaneDisplay(QStringLiteral("frmTable"), keys);
    window->PaneAddNew(QStringLiteral("frmTable"), keys);
    window->PaneDelete(QStringLiteral("frmTable"), keys);
    EXPECT_EQ(table->calls, (QStringList{QStringLiteral("Edit:ds,db,t"), QStringLiteral("AddNew:ds,db"),
                                         QStringLiteral("Delete:ds,db,t")}));

    // A name no form has: the error dialog under the host's name; Ignore leaves the pane as it was.
    ui().answerError(ui::vbIgnore);
    ui().answerError(ui::vbIgnore);
    EXPECT_EQ(window->PaneDisplay(QStringLiteral("frmNowhere"), keys), 0);
    window->PaneEdit(QStringLiteral("frmNowhere"), keys);
    ASSERT_EQ(ui().errors().size(), 2);
    EXPECT_EQ(ui().errors()[0].number, QStringLiteral("35601"));
    EXPECT_EQ(ui().errors()[0].trappedIn, QStringLiteral("mdiMain.PaneDisplay"));
    EXPECT_EQ(ui().errors()[1].trappedIn, QStringLiteral("mdiMain.PaneEdit"));
    EXPECT_EQ(gCurrentPane().data(), table);

    // The window goes, and with it the interface.
    mdiMain::Unload();
    EXPECT_EQ(ExplorerWindow::Current(), nullptr);
}

TEST_F(PaneHost, TheDataViewerIsUnloadedByEveryRequest)
{
    mdiMain &m = main();
    auto *viewer = new TestPane(QStringLiteral("frmTableData"));
    forms::Register(viewer, [] { return static_cast<QWidget *>(new TestPane(QStringLiteral("frmTableData"))); });
    const QStringList keys = {QStringLiteral("ds"), QStringLiteral("db"), QStringLiteral("t")};
    m.PaneDisplay(viewer, keys);
    EXPECT_EQ(visibleBands(), (QStringList{QStringLiteral("tbrMain"), QStringLiteral("tbrViewData")}));

    // A request for the viewer itself closes it and opens a fresh one.
    m.PaneDisplay(viewer, keys);
    EXPECT_FALSE(forms::IsLoaded(viewer));
    auto *fresh = dynamic_cast<TestPane *>(gCurrentPane().data());
    ASSERT_TRUE(fresh);
    EXPECT_NE(fresh, viewer);
    EXPECT_EQ(fresh->calls, QStringList{QStringLiteral("Display:ds,db,t")});

    m.PaneDisplay(&forms::Get<frmWelcome>(), {});
    EXPECT_EQ(forms::LoadedForm<TestPane>(), nullptr);
    flush();
}

TEST_F(PaneHost, BandsAsStored)
{
    mdiMain &m = main();
    auto buttons = [](QToolBar *band) {
        QStringList list;
        for (QAction *a : band->actions())
            list << (a->isSeparator() ? QStringLiteral("|")
                                      : a->objectName() + QLatin1Char('=') + a->toolTip() + (a->isVisible() ? "" : " hidden") +
                                            (a->isEnabled() ? "" : " disabled"));
        return list.join(QLatin1Char(';'));
    };
    EXPECT_EQ(buttons(m.tbrMain),
              "DSN Refresh=Refresh Datasources;DSN Admin=Datasource Administrator;|;Import=Import Catalog;"
              "Export=Export Catalog");
    EXPECT_EQ(buttons(m.tbrDBPRV),
              "Up1=Up to Database Privilige collection;|;User Add=Add New User Privileges;"
              "User Edit=Edit User Privileges;User Delete=Delete User Privileges;|;OK=OK disabled;"
              "Cancel=Cancel disabled;|;Undo=Undo changes");
    EXPECT_EQ(buttons(m.tbrTable),
              "Up1=Up to Table collection;|;Table Add=Add New Table;Table Edit=Edit Table;Table Delete=Delete Table;|;"
              "OK=OK disabled;Cancel=Cancel disabled;|;Undo=Undo changes;|;ViewData=View Data");
    EXPECT_EQ(buttons(m.tbrSpecialCols),
              "Up1=Up to Table ?;|;Special Column Edit=Edit Special Columns;|;OK=OK disabled;Cancel=Cancel disabled");
    EXPECT_EQ(buttons(m.tbrTBLPRV).section(QLatin1Char(';'), 0, 0), "Up1=Up to Table Privilieges collection");
    EXPECT_EQ(buttons(m.tbrFields), "Up1=Up to File '?'");
    EXPECT_EQ(buttons(m.tbrColumns), "Up1=No where to go!");
    for (QToolBar *band : {m.tbrDatabases, m.tbrFiles, m.tbrUsers})
        EXPECT_TRUE(buttons(band).startsWith("Up1=No where to go! hidden")) << band->objectName().toStdString();
    EXPECT_EQ(buttons(m.tbrAbout), "");
    EXPECT_EQ(buttons(m.tbrViewData), "Refresh=Refresh Grid");
    EXPECT_EQ(m.tbrViewData->toolButtonStyle(), Qt::ToolButtonTextBesideIcon);
    EXPECT_EQ(m.tbrDatabase->property("Tag").toString(), QStringLiteral("DB"));
    EXPECT_EQ(m.tbrTBLPRVs->property("Tag").toString(), QStringLiteral("TBLPRVS"));
    // Every keyed button has its picture.
    for (QToolBar *band : m.cbrMain->findChildren<QToolBar *>())
        for (QAction *a : band->actions())
            EXPECT_TRUE(a->isSeparator() || !a->icon().isNull()) << a->objectName().toStdString();

    // The administrator applet is started; its result is not looked at.
    modGUI::ToolbarButton(m.tbrMain, QStringLiteral("DSN Admin"))->trigger();
    ASSERT_EQ(ui().startedPrograms().size(), 1);
    m.Status(QStringLiteral("Working"));
    m.Status();
    EXPECT_EQ(m.StatusText(), QStringLiteral("Ready"));
}

} // namespace
