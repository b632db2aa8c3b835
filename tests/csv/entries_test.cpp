// The ways to the export and import panes a user takes besides the toolbar:
// the File menu and the data source's context menu, clicked, reaching the
// real panes for the data source pressed; and the import's Open dialog.

#include "../mainwindow/menudriver.h"
#include "csvfixture.h"

namespace {

class Entries : public CsvTest
{
protected:
    // Presses the data source's node in the tree.
    QPoint pressNode(const QString &ds)
    {
        QTreeView *tree = main().tvwExplorer;
        QStandardItem *node = gNodes().Node(NodeKey::Datasource(ds));
        EXPECT_TRUE(node) << ds.toStdString();
        if (!node)
            return {};
        tree->scrollTo(node->index());
        const QRect rect = tree->visualRect(node->index());
        const QPoint at(rect.left() + 12, rect.center().y());
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, at);
        settle();
        return at;
    }

    // A right click on the data source's node and `caption` chosen from its menu.
    void fromContextMenu(const QString &ds, const QString &caption)
    {
        const QPoint at = pressNode(ds);
        QWidget *viewport = main().tvwExplorer->viewport();
        QTest::mousePress(viewport, Qt::RightButton, {}, at);
        const auto shown = whilePopup([&] { QTest::mouseRelease(viewport, Qt::RightButton, {}, at); },
                                      [&](QMenu &menu) { ::clickItem(menu, caption); });
        ASSERT_TRUE(shown);
        EXPECT_TRUE(shown->contains(caption)) << shown->join(QLatin1Char(',')).toStdString();
        settle();
    }
};

TEST_F(Entries, TheFileMenuAndTheContextMenuShowThePaneOfTheDataSourcePressed)
{
    pressNode(QStringLiteral("QnTest2"));
    chooseFromMenuBar(main(), main().mnuFile, QStringLiteral("&Export Catalog"));
    settle();
    auto *exporter = dynamic_cast<frmCSVExport *>(gCurrentPane().data());
    ASSERT_TRUE(exporter);
    EXPECT_TRUE(exporter->isVisible());
    EXPECT_EQ(exporter->lblTitle.title->text(), QStringLiteral("Export Datasource 'QnTest2' Catalog to File."));

    chooseFromMenuBar(main(), main().mnuFile, QStringLiteral("&Import Catalog"));
    settle();
    ASSERT_TRUE(dynamic_cast<frmCSVImport *>(gCurrentPane().data()));
    EXPECT_FALSE(exporter->isVisible());

    // A data source not connected yet offers only Connect; connected, the two commands.
    fromContextMenu(QStringLiteral("QnTest"), QStringLiteral("&Connect"));
    fromContextMenu(QStringLiteral("QnTest"), QStringLiteral("&Export Catalog"));
    exporter = dynamic_cast<frmCSVExport *>(gCurrentPane().data());
    ASSERT_TRUE(exporter);
    EXPECT_EQ(exporter->lblTitle.title->text(), QStringLiteral("Export Datasource 'QnTest' Catalog to File."));

    fromContextMenu(QStringLiteral("QnTest"), QStringLiteral("&Import Catalog"));
    auto *importer = dynamic_cast<frmCSVImport *>(gCurrentPane().data());
    ASSERT_TRUE(importer);
    EXPECT_EQ(importer->lblTitle.title->text(), QStringLiteral("Import Catalog"));
    EXPECT_EQ(importer->cmdAction->text(), QStringLiteral("&Import"));
    EXPECT_TRUE(ui().messages().isEmpty());
    EXPECT_TRUE(ui().errors().isEmpty());
}

// The Open dialog asks for an existing catalog file; cancelled, nothing
// follows. A file chosen opens the validation dialog on it for the data
// source of the pane.
TEST_F(Entries, ImportAsksForTheFileAndCancelShowsNothing)
{
    auto *pane = openPane<frmCSVImport>(QStringLiteral("QnTest2"), "Import");
    ASSERT_TRUE(pane);
    ui().answerOpen(std::nullopt);
    click(pane->cmdAction);
    ASSERT_EQ(ui().shown().size(), 1);
    EXPECT_EQ(ui().shown()[0].kind, QStringLiteral("Open"));
    EXPECT_EQ(ui().shown()[0].title, QStringLiteral("Select the CSV file to import..."));
    EXPECT_EQ(ui().shown()[0].text,
              QStringLiteral("|CSV File (*.csv)|*.csv|Text File (*.txt)|*.txt|All Files (*.*)|*.*"));
    EXPECT_FALSE(forms::LoadedForm<frmCSVValidate>());

    // A name chosen without its extension is the ".txt" file of that name.
    writeFile(QStringLiteral("cat.txt"), QByteArray("\"USER\",\"NEWU\",\"PW\"\r\n"));
    ui().answerOpen(path(QStringLiteral("cat")));
    QString caption;
    ui().onModal([&](QDialog &d) {
        caption = d.windowTitle();
        return 0;
    });
    click(pane->cmdAction);
    EXPECT_EQ(caption, QStringLiteral("\"/cat.txt\" - Validating..."));
    EXPECT_FALSE(forms::LoadedForm<frmCSVValidate>());
}

} // namespace
