// The list panes from the explorer tree: a click on a collection folder shows
// its pane, and a row written in the pane shows in the folder.

#include <QStandardItem>
#include <QTreeView>

#include "panefixture.h"
#include "panes/frmcolumns.h"
#include "panes/frmfiles.h"

namespace {

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
    // A user's click on the text of the node `key`.
    void clickNode(const QString &key)
    {
        QStandardItem *item = gNodes().Node(key);
        ASSERT_NE(item, nullptr) << key.toStdString();
        tree()->scrollTo(item->index());
        const QRect rect = tree()->visualRect(item->index());
        QTest::mouseClick(tree()->viewport(), Qt::LeftButton, {}, QPoint(rect.left() + 12, rect.center().y()));
        settle();
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

const QString kDs = QStringLiteral("DSN=QnTest:");
const QString kFiles = QStringLiteral("DSN=QnTest:FI=QnTest:");

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

} // namespace
