// Pictures of the user and privilege editors, for looking at them:
// QN_SCREENSHOT_DIR=<folder> test_editors --gtest_filter=SecurityScreenshot.*

#include <QDir>
#include <QLineEdit>

#include "editorfixture.h"
#include "editors/security/frmdbprv.h"
#include "editors/security/frmtblprv.h"
#include "editors/security/frmuser.h"

namespace {

using SecurityScreenshot = EditorTest;

TEST_F(SecurityScreenshot, UserAndPrivileges)
{
    const QString folder = qEnvironmentVariable("QN_SCREENSHOT_DIR");
    if (folder.isEmpty())
        GTEST_SKIP() << "QN_SCREENSHOT_DIR not set";
    QDir().mkpath(folder);
    mdiMain &m = main();
    m.resize(1000, 640);
    auto grab = [&](QWidget *w, const char *name) {
        QCoreApplication::processEvents();
        ASSERT_TRUE(w->grab().save(QDir(folder).filePath(QLatin1String(name)))) << name;
    };
    const QString ds = QStringLiteral("QnTest");
    m.PaneDisplay(QStringLiteral("frmUser"), {ds, QStringLiteral("JSMITH")});
    grab(&m, "frmUser-browse.png");
    m.PaneEdit(QStringLiteral("frmUser"), {ds, QStringLiteral("ADMIN")});
    grab(&m, "frmUser-edit.png");
    m.PaneAddNew(QStringLiteral("frmUser"), {ds});
    grab(&m, "frmUser-add.png");
    m.PaneDisplay(QStringLiteral("frmDBPRV"), {ds, QStringLiteral("SALES"), QStringLiteral("JSMITH")});
    grab(&m, "frmDBPRV-browse.png");
    m.PaneEdit(QStringLiteral("frmDBPRV"), {ds, QStringLiteral("SALES"), QStringLiteral("MBROWN")});
    grab(&m, "frmDBPRV-edit.png");
    m.PaneDisplay(QStringLiteral("frmTBLPRV"),
                  {ds, QStringLiteral("SALES"), QStringLiteral("ORDER_LINE"), QStringLiteral("MBROWN")});
    grab(&m, "frmTBLPRV-browse.png");
    m.PaneAddNew(QStringLiteral("frmTBLPRV"), {ds, QStringLiteral("SALES"), QStringLiteral("ORDERS")});
    grab(&m, "frmTBLPRV-add.png");
}

} // namespace
