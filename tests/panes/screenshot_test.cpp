// Pictures of the list panes, for looking at them:
// QN_SCREENSHOT_DIR=<folder> test_panes --gtest_filter=Screenshot.*

#include <QDir>
#include <QPainter>

#include "panefixture.h"
#include "panes/frmcolumns.h"
#include "panes/frmdatabases.h"
#include "panes/frmdbprvs.h"
#include "panes/frmfields.h"
#include "panes/frmfiles.h"
#include "panes/frmtables.h"
#include "panes/frmtblprvs.h"
#include "panes/frmusers.h"

namespace {

using Screenshot = PaneTest;

TEST_F(Screenshot, ListPanes)
{
    const QString folder = qEnvironmentVariable("QN_SCREENSHOT_DIR");
    if (folder.isEmpty())
        GTEST_SKIP() << "QN_SCREENSHOT_DIR not set";
    QDir().mkpath(folder);
    main().resize(1000, 560);
    auto grab = [&](const char *name) {
        settle();
        ASSERT_TRUE(main().grab().save(QDir(folder).filePath(QLatin1String(name)))) << name;
    };
    frmColumns &c = show<frmColumns>(QStringLiteral("frmColumns"),
                                     {QStringLiteral("QnTest"), QStringLiteral("SALES"), QStringLiteral("CUSTOMER")});
    click(c, 3, 4);
    key(Qt::Key_Return);
    grab("frmColumns.png");
    key(Qt::Key_Escape);
    frmDatabases &d = show<frmDatabases>(QStringLiteral("frmDatabases"), {QStringLiteral("QnTest")});
    click(d, 0, 1);
    type(QStringLiteral("S"));
    grab("frmDatabases.png");
    key(Qt::Key_Escape);
    frmFiles &f = show<frmFiles>(QStringLiteral("frmFiles"), {QStringLiteral("QnTest")});
    click(f, 1, 2);
    key(Qt::Key_Return);
    grab("frmFiles.png");
    key(Qt::Key_Escape);
    grab("frmFiles-escaped.png"); // the cell stays current, the editor gone
    frmTables &t = show<frmTables>(QStringLiteral("frmTables"), {QStringLiteral("QnTest"), QStringLiteral("SALES")});
    click(t, 1, 3);
    key(Qt::Key_Return);
    grab("frmTables.png");
    key(Qt::Key_Escape);
    click(t, 1, 6);
    type(QStringLiteral("x")); // opens the criteria editor, whose text is not typed into
    grab("frmTables-criteria.png");
    click(t, 1, 0);
    frmTBLPRVs &tp = show<frmTBLPRVs>(QStringLiteral("frmTBLPRVs"),
                                      {QStringLiteral("QnTest"), QStringLiteral("SALES"), QStringLiteral("ORDERS")});
    click(tp, 0, 2);
    key(Qt::Key_Return);
    grab("frmTBLPRVs.png");
    key(Qt::Key_Escape);
    frmUsers &u = show<frmUsers>(QStringLiteral("frmUsers"), {QStringLiteral("QnTest")});
    click(u, 1, 1);
    type(QStringLiteral("SECRET"));
    grab("frmUsers.png");
    key(Qt::Key_Escape);
    frmDBPRVs &dp = show<frmDBPRVs>(QStringLiteral("frmDBPRVs"), {QStringLiteral("QnTest"), QStringLiteral("SALES")});
    click(dp, 1, 3);
    key(Qt::Key_Return);
    grab("frmDBPRVs.png");
    key(Qt::Key_Escape);
    frmFields &fd = show<frmFields>(QStringLiteral("frmFields"), {QStringLiteral("QnTest"), QStringLiteral("CUSTOMER")});
    click(fd, 8, 3);
    key(Qt::Key_Return);
    grab("frmFields.png");
    key(Qt::Key_Escape);
}

// Each grid with a list cell, its list dropped down with the mouse: the main
// window with the list's popup (a window of its own) drawn where it shows.
TEST_F(Screenshot, ListsDroppedDown)
{
    const QString folder = qEnvironmentVariable("QN_SCREENSHOT_DIR");
    if (folder.isEmpty())
        GTEST_SKIP() << "QN_SCREENSHOT_DIR not set";
    QDir().mkpath(folder);
    main().resize(1000, 560);
    const QString ds = QStringLiteral("QnTest");
    const struct
    {
        const char *form;
        QStringList keys;
        int row, col;
    } shots[] = {
        {"frmDatabases", {ds}, 0, 3},
        {"frmFiles", {ds}, 1, 3},
        {"frmTables", {ds, QStringLiteral("SALES")}, 1, 3},
        {"frmColumns", {ds, QStringLiteral("SALES"), QStringLiteral("CUSTOMER")}, 3, 4},
        {"frmFields", {ds, QStringLiteral("CUSTOMER")}, 2, 3},
        {"frmDBPRVs", {ds, QStringLiteral("SALES")}, 1, 0},
        {"frmTBLPRVs", {ds, QStringLiteral("SALES"), QStringLiteral("ORDERS")}, 0, 4},
    };
    for (const auto &shot : shots) {
        SCOPED_TRACE(shot.form);
        auto &p = show<GridPane>(QLatin1String(shot.form), shot.keys);
        QComboBox *list = dropDown(p, shot.row, shot.col);
        ASSERT_NE(list, nullptr);
        settle();
        QPixmap picture = main().grab();
        QWidget *popup = list->view()->window();
        {
            QPainter painter(&picture);
            painter.drawPixmap(main().mapFromGlobal(popup->mapToGlobal(QPoint(0, 0))), popup->grab());
        }
        const QString name = QLatin1String(shot.form) + QStringLiteral("-list.png");
        ASSERT_TRUE(picture.save(QDir(folder).filePath(name))) << name.toStdString();
        QTest::keyClick(list->view(), Qt::Key_Escape);
        key(Qt::Key_Escape);
    }
}

} // namespace
