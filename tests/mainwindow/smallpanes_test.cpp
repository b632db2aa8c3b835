// The small panes: Options, About, Data Source and Welcome.

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardItem>
#include <QTest>

#include "core/frmqnerr.h"
#include "mainwindow/frmabout.h"
#include "mainwindow/frmdsn.h"
#include "mainwindow/frmoptions.h"
#include "mainwindow/frmwelcome.h"
#include "mainwindowfixture.h"

namespace {

class SmallPanes : public MainWindowTest
{
protected:
    frmOptions &showOptions()
    {
        main().PaneDisplay(&forms::Get<frmOptions>(), {});
        return forms::Get<frmOptions>();
    }
    QString option(const char *key) { return setting(QStringLiteral("Options"), QLatin1String(key)); }
    static void click(QWidget *w) { QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(5, w->height() / 2)); }
    static void pick(QComboBox *box, int index)
    {
        box->setCurrentIndex(index);
        emit box->activated(index);
    }
};

TEST_F(SmallPanes, OptionsFirstRunShowsTheDefaults)
{
    main().show();
    frmOptions &o = showOptions();
    EXPECT_EQ(gCurrentPane().data(), &o);
    EXPECT_TRUE(o.chkWin98->isChecked());
    EXPECT_FALSE(o.chkSysTable->isChecked());
    EXPECT_FALSE(o.lblWarning->isVisible());
    EXPECT_FALSE(o.lblSysTable->isVisible());
    EXPECT_TRUE(o.optFieldOrder[0]->isChecked());
    EXPECT_EQ(o.cboItems->currentText(), QStringLiteral("Edit"));
    EXPECT_FALSE(o.cmdOK->isEnabled());

    // Ticking View System Tables shows the warning at once and enables OK; unticking hides it.
    click(o.chkSysTable);
    EXPECT_TRUE(o.lblWarning->isVisible());
    EXPECT_TRUE(o.lblSysTable->isVisible());
    EXPECT_TRUE(o.cmdOK->isEnabled());
    click(o.chkSysTable);
    EXPECT_FALSE(o.lblWarning->isVisible());

    // Re-choosing the same value enables OK; OK saves every key and shows the Welcome pane.
    main().PaneDisplay(&o, {});
    EXPECT_FALSE(o.cmdOK->isEnabled());
    pick(o.cboItems, 1);
    EXPECT_TRUE(o.cmdOK->isEnabled());
    click(o.cmdOK);
    EXPECT_EQ(option("Win98"), QStringLiteral("1"));
    EXPECT_EQ(option("SysTables"), QStringLiteral("0"));
    EXPECT_EQ(option("FieldOrder"), QStringLiteral("0"));
    EXPECT_EQ(option("Items"), QStringLiteral("1"));
    EXPECT_EQ(gCurrentPane().data(), forms::LoadedForm<frmWelcome>());
    EXPECT_EQ(forms::LoadedForm<frmOptions>(), &o); // nothing unloaded
    EXPECT_TRUE(o.isHidden());
}

TEST_F(SmallPanes, OptionsOkAppliesEachChange)
{
    main().show();
    QWidget *welcome = forms::LoadedForm<frmWelcome>();

    // Field order and default view: saved, nothing unloaded.
    frmOptions *o = &showOptions();
    click(o->optFieldOrder[1]);
    pick(o->cboItems, 0);
    click(o->cmdOK);
    EXPECT_EQ(option("FieldOrder"), QStringLiteral("1"));
    EXPECT_EQ(option("Items"), QStringLiteral("0"));
    EXPECT_EQ(forms::LoadedForm<frmOptions>(), o);
    EXPECT_EQ(forms::LoadedForm<frmWelcome>(), welcome);

    // System tables: the tree root is rebuilt (connections dropped), the Options pane unloaded.
    ASSERT_TRUE(gConnections().Item(QStringLiteral("QnTest")));
    const QString placeholder = CNodes::NodeKeyOf(gNodes().Node(QStringLiteral("DSN=QnTest:"))->child(0));
    o = &showOptions();
    click(o->chkSysTable);
    click(o->cmdOK);
    EXPECT_EQ(option("SysTables"), QStringLiteral("1"));
    EXPECT_EQ(gConnections().Count(), 0);
    EXPECT_NE(CNodes::NodeKeyOf(gNodes().Node(QStringLiteral("DSN=QnTest:"))->child(0)), placeholder);
    EXPECT_EQ(forms::LoadedForm<frmOptions>(), nullptr);
    EXPECT_EQ(forms::LoadedForm<frmWelcome>(), welcome);
    EXPECT_EQ(gCurrentPane().data(), welcome);
    flush(); // the unloaded pane goes once its handler has returned

    // The look: every form unloaded, the Welcome pane back in the plain look, the trace empty.
    m_ui->clear();
    main().PaneDisplay(&forms::Get<frmAbout>(), {});
    o = &showOptions();
    EXPECT_TRUE(o->chkSysTable->isChecked()); // loaded afresh from the settings
    click(o->chkWin98);
    click(o->cmdOK);
    EXPECT_EQ(option("Win98"), QStringLiteral("0"));
    EXPECT_EQ(forms::LoadedForm<frmOptions>(), nullptr);
    EXPECT_EQ(forms::LoadedForm<frmAbout>(), nullptr);
    auto *fresh = forms::LoadedForm<frmWelcome>();
    ASSERT_TRUE(fresh);
    EXPECT_NE(fresh, welcome);
    EXPECT_EQ(gCurrentPane().data(), fresh);
    EXPECT_TRUE(fresh->isVisible());
    EXPECT_TRUE(fresh->imgCorner->isHidden());
    EXPECT_TRUE(fresh->lblDescription->isHidden());
    EXPECT_TRUE(frmQNErr::Trace().isEmpty());
    flush();
}

TEST_F(SmallPanes, OptionsCancelSavesNothingAndKeepsTheChoices)
{
    main().show();
    QWidget *welcome = forms::LoadedForm<frmWelcome>();
    frmOptions &o = showOptions();
    click(o.chkSysTable);
    click(o.cmdCancel);
    EXPECT_TRUE(option("SysTables").isEmpty());
    // The Welcome pane is loaded afresh and shown.
    auto *fresh = forms::LoadedForm<frmWelcome>();
    EXPECT_NE(fresh, welcome);
    EXPECT_EQ(gCurrentPane().data(), fresh);
    // The Options pane was only hidden: it shows the unsaved choice, OK disabled.
    EXPECT_EQ(&showOptions(), &o);
    EXPECT_TRUE(o.chkSysTable->isChecked());
    EXPECT_FALSE(o.cmdOK->isEnabled());
    // Esc presses Cancel.
    QTest::keyClick(o.cboItems, Qt::Key_Escape);
    EXPECT_EQ(gCurrentPane().data(), forms::LoadedForm<frmWelcome>());
    // Enter on the focused Cancel button cancels too: nothing is saved.
    showOptions();
    click(o.chkWin98);
    QTest::keyClick(o.cmdCancel, Qt::Key_Return);
    EXPECT_TRUE(option("Win98").isEmpty());
    EXPECT_EQ(gCurrentPane().data(), forms::LoadedForm<frmWelcome>());
    // Enter anywhere else presses OK.
    showOptions();
    click(o.chkWin98);
    QTest::keyClick(o.chkWin98, Qt::Key_Return);
    EXPECT_EQ(option("Win98"), QStringLiteral("1"));
    flush();
}

TEST_F(SmallPanes, OptionsRefuseStoredValuesTheControlsCannotTake)
{
    for (const auto &[key, value, number] : {std::tuple{"Items", "5", "380"}, {"FieldOrder", "2", "340"},
                                             {"SysTables", "x", "13"}, {"Win98", "7", "380"}}) {
        setSetting(QStringLiteral("Options"), QLatin1String(key), QLatin1String(value));
        ui().clear();
        ui().answerError(ui::vbIgnore);
        main().PaneDisplay(&forms::Get<frmOptions>(), {});
        ASSERT_EQ(ui().errors().size(), 1) << key;
        EXPECT_EQ(ui().errors()[0].number, QLatin1String(number)) << key;
        EXPECT_EQ(ui().errors()[0].trappedIn, QStringLiteral("mdiMain.PaneDisplay"));
        setSetting(QStringLiteral("Options"), QLatin1String(key), QStringLiteral("0"));
        forms::Unload(forms::LoadedForm<frmOptions>());
    }
}

TEST_F(SmallPanes, AboutShowsTheApplicationAndOpensItsLinks)
{
    mdiMain &m = main();
    m.show();
    EXPECT_EQ(m.PaneDisplay(&forms::Get<frmAbout>(), {}), 0);
    frmAbout &a = forms::Get<frmAbout>();
    EXPECT_EQ(a.lblTitle.title->text(), QStringLiteral("About Quarnel ODBC Administrator"));
    EXPECT_EQ(a.lblAppTitle->text(), QStringLiteral("Quarnel ODBC Administrator"));
    EXPECT_EQ(a.lblAppVersion->text(), QStringLiteral("%1.%2").arg(appinfo::VersionMajor()).arg(appinfo::VersionMinor()));
    EXPECT_EQ(a.lblAppBuild->text(), QStringLiteral("%1 (Beta)").arg(appinfo::VersionRevision()));
    EXPECT_EQ(a.shpShadow->geometry(), a.imgLogo->geometry().translated(8, 8));
    EXPECT_EQ(a.lblWWW->toolTip(), QStringLiteral("Click to visit the Quarnel Website"));
    EXPECT_EQ(a.lblEMail->toolTip(), QStringLiteral("Click to send an Email to the Quarnel Support department"));
    EXPECT_EQ(visibleBands(), (QStringList{QStringLiteral("tbrMain"), QStringLiteral("tbrAbout")}));

    // Opened: the label stays enabled and can be clicked again.
    click(a.lblEMail);
    click(a.lblWWW);
    EXPECT_TRUE(a.lblEMail->isEnabled());
    ASSERT_EQ(ui().openedUrls().size(), 2);
    EXPECT_EQ(ui().openedUrls()[0], QUrl(QStringLiteral("mailto:") + appinfo::SupportEmail()));
    EXPECT_EQ(ui().openedUrls()[1], QUrl(appinfo::SupportWeb()));

    // Nothing can open them: a message each, then the links are disabled.
    ui().failOpenUrl();
    ui().answerMsgBox(ui::vbOK);
    ui().answerMsgBox(ui::vbOK);
    click(a.lblEMail);
    click(a.lblWWW);
    click(a.lblEMail); // disabled: no second message
    EXPECT_EQ(ui().messages(), (QStringList{QStringLiteral("No default EMail Editor is registered"),
                                            QStringLiteral("No Default Browser is registered")}));
    EXPECT_EQ(ui().shown().last().style, int(ui::vbInformation));
    EXPECT_FALSE(a.lblEMail->isEnabled());
    EXPECT_FALSE(a.lblWWW->isEnabled());
    // Shown again, it stays as it was.
    m.PaneDisplay(&forms::Get<frmWelcome>(), {});
    m.PaneDisplay(&forms::Get<frmAbout>(), {});
    EXPECT_FALSE(a.lblEMail->isEnabled());
}

TEST_F(SmallPanes, DataSourcePaneTellsTheConnectionFromTheNodeImage)
{
    mdiMain &m = main();
    m.PaneDisplay(&forms::Get<frmDSN>(), {QStringLiteral("QnTest")});
    frmDSN &d = forms::Get<frmDSN>();
    EXPECT_EQ(d.lblTitle.title->text(), QStringLiteral("QnTest (Unconnected) - Datasource Properties"));
    EXPECT_EQ(d.lblTitle.shadow->text(), d.lblTitle.title->text());
    EXPECT_EQ(d.lblDescription->text(), QStringLiteral("Please connect to this datasource to explorer it further..."));
    EXPECT_EQ(visibleBands(), QStringList{QStringLiteral("tbrMain")});

    gNodes().SetImages(gNodes().Node(QStringLiteral("DSN=QnTest:")), QStringLiteral("Datasource"),
                       QStringLiteral("Datasource"));
    m.PaneDisplay(&d, {QStringLiteral("QnTest")});
    EXPECT_EQ(d.lblTitle.title->text(), QStringLiteral("QnTest (Connected) - Datasource Properties"));
    EXPECT_TRUE(d.lblDescription->text().isEmpty());

    // A data source with no node fails to the pane host.
    ui().answerError(ui::vbIgnore);
    EXPECT_EQ(m.PaneDisplay(&d, {QStringLiteral("Other")}), 0);
    ASSERT_EQ(ui().errors().size(), 1);
    EXPECT_EQ(ui().errors()[0].number, QStringLiteral("35601"));
}

TEST_F(SmallPanes, WelcomeLook)
{
    mdiMain &m = main();
    m.show();
    auto &w = forms::Get<frmWelcome>();
    EXPECT_EQ(w.lblDescription->text(),
              QStringLiteral("Use the treeview on the left to explore and modify your Quarnel ODBC datasources..."));
    EXPECT_TRUE(w.imgCorner->isVisible());
    EXPECT_FALSE(w.imgCorner->pixmap().isNull());
    // The title labels reach the strip's right edge.
    for (QLabel *label : {static_cast<QLabel *>(w.lblTitleBar.title), static_cast<QLabel *>(w.lblTitleBar.shadow)})
        EXPECT_EQ(label->geometry().right(), w.picTitlebar->width() - 1);
    EXPECT_EQ(w.picTitlebar->width(), w.width());
    EXPECT_GE(w.width(), 6675 / 15);
    EXPECT_GE(w.height(), 5655 / 15);

    // "Win98" = 0: the plain look, also for a pane already loaded.
    setSetting(QStringLiteral("Options"), QStringLiteral("Win98"), QStringLiteral("0"));
    EXPECT_EQ(w.Display(), 0);
    EXPECT_TRUE(w.imgCorner->isHidden());
    EXPECT_EQ(w.palette().color(QPalette::Window), w.palette().color(QPalette::Button));
}

} // namespace
