// Pictures of the main window and its small panes, for looking at them:
// QN_SCREENSHOT_DIR=<folder> test_mainwindow --gtest_filter=Screenshot.*

#include <QDir>

#include "mainwindow/frmabout.h"
#include "mainwindow/frmdsn.h"
#include "mainwindow/frmoptions.h"
#include "mainwindow/frmwelcome.h"
#include "mainwindowfixture.h"

namespace {

using Screenshot = MainWindowTest;

TEST_F(Screenshot, MainWindowAndSmallPanes)
{
    const QString folder = qEnvironmentVariable("QN_SCREENSHOT_DIR");
    if (folder.isEmpty())
        GTEST_SKIP() << "QN_SCREENSHOT_DIR not set";
    QDir().mkpath(folder);
    mdiMain &m = main();
    m.show();
    auto grab = [&](const char *name) {
        QCoreApplication::processEvents();
        ASSERT_TRUE(m.grab().save(QDir(folder).filePath(QLatin1String(name)))) << name;
    };
    grab("mdiMain.png");
    m.PaneDisplay(&forms::Get<frmAbout>(), {});
    grab("frmAbout.png");
    m.PaneDisplay(&forms::Get<frmOptions>(), {});
    grab("frmOptions.png");
    m.PaneDisplay(&forms::Get<frmDSN>(), {QStringLiteral("QnTest")});
    grab("frmDSN.png");
}

} // namespace
