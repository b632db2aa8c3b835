// The File, View and Help menus and the main toolbar, clicked as a user does.

#include <QLabel>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>

#include "menudriver.h"
#include "core/modgui.h"
#include "mainwindow/frmabout.h"
#include "mainwindow/frmoptions.h"
#include "mainwindow/frmwelcome.h"
#include "tree/cnodes.h"

namespace {

class MenuTest : public MainWindowTest
{
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        main().show();
    }

    // Opens `menu` on the menu bar and clicks its item `caption`.
    void choose(QMenu *menu, const QString &caption) { chooseFromMenuBar(main(), menu, caption); }

    void clickButton(const QString &key)
    {
        QTest::mouseClick(main().tbrMain->widgetForAction(modGUI::ToolbarButton(main().tbrMain, key)), Qt::LeftButton);
    }
};

TEST_F(MenuTest, ImportAndExportOpenTheirPaneOnlyForADataSource)
{
    RecordingPanes panes({"frmCSVImport", "frmCSVExport"});
    mdiMain &m = main();
    const CNodePtr ds = gNodes().Item(QStringLiteral("DSN=QnTest:"));
    // The three ways to each command: the File menu, the main toolbar, the data source's context menu.
    struct Way
    {
        const char *name;
        const char *pane;
        const char *command;
        std::function<void()> run;
    };
    const QList<Way> ways = {
        {"File > Import", "frmCSVImport", "Import Catalog", [&] { choose(m.mnuFile, "&Import Catalog"); }},
        {"File > Export", "frmCSVExport", "Export Catalog", [&] { choose(m.mnuFile, "&Export Catalog"); }},
        {"toolbar Import", "frmCSVImport", "Import Catalog", [&] { clickButton("Import"); }},
        {"toolbar Export", "frmCSVExport", "Export Catalog", [&] { clickButton("Export"); }},
        {"context Import", "frmCSVImport", "Import Catalog",
         [&] { m.findChild<QAction *>("mnu_DSNImport")->trigger(); }},
        {"context Export", "frmCSVExport", "Export Catalog",
         [&] { m.findChild<QAction *>("mnu_DSNExport")->trigger(); }},
    };
    for (const Way &way : ways) {
        SCOPED_TRACE(way.name);
        // Before any press, and on anything but a data source: the message, no pane.
        for (const auto &[type, keys] : {std::pair<QString, QStringList>{"", {}},
                                         {"FI", {"QnTest"}},
                                         {"fi", {"QnTest", "CUSTOMER"}},
                                         {"us", {"QnTest", "ADMIN"}}}) {
            setCurrentItem(type, keys);
            ui().clear();
            ui().answerMsgBox(ui::vbOK);
            way.run();
            EXPECT_EQ(ui().messages(), QStringList{QStringLiteral("Please select a Datasource before selecting '") +
                                                   QLatin1String(way.command) + QLatin1Char('\'')})
                << type.toStdString();
            EXPECT_EQ(ui().shown().value(0).style, ui::vbInformation);
        }
        EXPECT_FALSE(RecordingPanes::pane(way.pane));
        // A data source, connected or not: its pane, for that data source; the flag untouched.
        setCurrentItem("DSN", {"QnTest"}, ds);
        ui().clear();
        gMenuCommandRan() = false;
        way.run();
        EXPECT_TRUE(ui().shown().isEmpty());
        EXPECT_FALSE(gMenuCommandRan());
        EXPECT_EQ(RecordingPanes::calls(way.pane), QStringList{"Display:QnTest"});
        EXPECT_EQ(gCurrentPane().data(), RecordingPanes::pane(way.pane));
        forms::Unload(RecordingPanes::pane(way.pane));
        flush();
    }
}

TEST_F(MenuTest, RefreshRebuildsTheDataSources)
{
    mdiMain &m = main();
    ASSERT_TRUE(gConnections().Item(QStringLiteral("QnTest")));
    const QString before = CNodes::NodeKeyOf(gNodes().Node(QStringLiteral("DSN=QnTest:"))->child(0));
    m.PaneDisplay(&forms::Get<frmAbout>(), {});
    choose(m.mnuFile, "&Refresh Datasources");
    EXPECT_EQ(gConnections().Count(), 0);
    EXPECT_NE(CNodes::NodeKeyOf(gNodes().Node(QStringLiteral("DSN=QnTest:"))->child(0)), before);
    EXPECT_EQ(gCurrentPane().data(), forms::LoadedForm<frmWelcome>());
    EXPECT_FALSE(forms::LoadedForm<frmAbout>());
}

TEST_F(MenuTest, ViewItemsShowAndHideTheBarsAndOpenOptions)
{
    mdiMain &m = main();
    m.PaneDisplay(&forms::Get<frmAbout>(), {});
    const QStringList bands = visibleBands();
    ASSERT_EQ(bands, (QStringList{"tbrMain", "tbrAbout"}));

    choose(m.mnuView, "&Tool Bar");
    EXPECT_FALSE(m.mnuViewToolbar->isChecked());
    EXPECT_FALSE(m.cbrMain->isVisible());
    EXPECT_EQ(visibleBands(), bands); // each band keeps its state
    choose(m.mnuView, "&Tool Bar");
    EXPECT_TRUE(m.mnuViewToolbar->isChecked());
    EXPECT_TRUE(m.cbrMain->isVisible());
    EXPECT_TRUE(m.tbrAbout->isVisible());

    choose(m.mnuView, "&Status Bar");
    EXPECT_FALSE(m.mnuViewStatusBar->isChecked());
    EXPECT_FALSE(m.sbrMain->isVisible());
    m.Status(QStringLiteral("Working"));
    EXPECT_EQ(m.StatusText(), QStringLiteral("Working")); // written while hidden
    choose(m.mnuView, "&Status Bar");
    EXPECT_TRUE(m.sbrMain->isVisible());

    choose(m.mnuView, "&Options");
    EXPECT_EQ(gCurrentPane().data(), forms::LoadedForm<frmOptions>());
    EXPECT_TRUE(gCurrentPane()->isVisible());
    choose(m.mnuHelp, "&About ODBC Administrator");
    EXPECT_EQ(gCurrentPane().data(), forms::LoadedForm<frmAbout>());
    EXPECT_TRUE(m.tbrAbout->isVisible());
    EXPECT_TRUE(ui().shown().isEmpty());
}

TEST_F(MenuTest, ExitClosesTheWindowAsItsCloseBoxDoes)
{
    mdiMain &m = main();
    m.resize(700, 500);
    choose(m.mnuFile, "E&xit");
    EXPECT_FALSE(m.isVisible());
    EXPECT_EQ(setting(QStringLiteral("mdiMain"), QStringLiteral("Width")), QStringLiteral("10500"));
    EXPECT_FALSE(forms::LoadedForm<frmWelcome>());
}

TEST_F(MenuTest, TheDataSourceAdministratorButtonStartsTheOutsideProgram)
{
    clickButton(QStringLiteral("DSN Admin"));
    EXPECT_EQ(ui().startedPrograms().size(), 1);
    EXPECT_TRUE(ui().errors().isEmpty());
}

} // namespace
