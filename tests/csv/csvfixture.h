#pragma once

// The catalog export and import on the stand-in, through the main window as a
// user meets them: the data source's node pressed in the tree, the main
// toolbar's Export or Import button, the pane's button, the file dialog
// answered, and the validation dialog driven with mouse clicks.

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTreeView>
#include <QTreeWidget>

#include "../panes/panefixture.h"
#include "core/modgui.h"
#include "csv/frmcsvexport.h"
#include "csv/frmcsvimport.h"
#include "csv/frmcsvvalidate.h"
#include "tree/nodekey.h"

class CsvTest : public PaneTest
{
protected:
    static void click(QWidget *widget)
    {
        QTest::mouseClick(widget, Qt::LeftButton);
        settle();
    }

    // Presses the data source's node in the tree, then the main toolbar's
    // button `button` ("Export" or "Import"); the pane it showed.
    template <class T> T *openPane(const QString &ds, const char *button)
    {
        QTreeView *tree = main().tvwExplorer;
        QStandardItem *node = gNodes().Node(NodeKey::Datasource(ds));
        EXPECT_TRUE(node) << ds.toStdString();
        if (!node)
            return nullptr;
        tree->scrollTo(node->index());
        const QRect rect = tree->visualRect(node->index());
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, QPoint(rect.left() + 12, rect.center().y()));
        settle();
        click(main().tbrMain->widgetForAction(modGUI::ToolbarButton(main().tbrMain, QLatin1String(button))));
        return dynamic_cast<T *>(gCurrentPane().data());
    }

    QString path(const QString &name) const { return QDir(m_dir->path()).filePath(name); }
    void writeFile(const QString &name, const QByteArray &bytes) const
    {
        QFile file(path(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
    }
    QByteArray readFile(const QString &name) const
    {
        QFile file(path(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<no file>");
    }

    // Exports the catalog of `ds` into the file `name` with the pane's button.
    void exportTo(const QString &ds, const QString &name)
    {
        auto *pane = openPane<frmCSVExport>(ds, "Export");
        ASSERT_TRUE(pane);
        ui().answerSave(path(name));
        ui().answerMsgBox(ui::vbOK);
        click(pane->cmdAction);
    }

    // Imports the file `name` into `ds`: the pane's button, the file chosen,
    // and the validation dialog shown and handed to `drive`.
    void importFrom(const QString &ds, const QString &name, const std::function<void(frmCSVValidate &)> &drive)
    {
        auto *pane = openPane<frmCSVImport>(ds, "Import");
        ASSERT_TRUE(pane);
        ui().answerOpen(path(name));
        ui().onModal([&](QDialog &d) {
            d.show();
            EXPECT_TRUE(QTest::qWaitForWindowExposed(&d));
            drive(static_cast<frmCSVValidate &>(d));
            return 0;
        });
        click(pane->cmdAction);
        flush();
    }
    // Imports a file expected to be clean: Start, then the success message.
    void importClean(const QString &ds, const QString &name)
    {
        importFrom(ds, name, [&](frmCSVValidate &d) {
            ui().answerMsgBox(ui::vbOK);
            click(d.cmdAction);
            EXPECT_EQ(listed(d), QStringList());
        });
        EXPECT_EQ(ui().messages().value(ui().messages().size() - 1), QStringLiteral("CSV Successfully imported."));
    }

    // The rows of the dialog's list: "line|severity|type|description".
    static QStringList listed(const frmCSVValidate &d)
    {
        QStringList rows;
        for (int i = 0; i < d.lvwErr->topLevelItemCount(); ++i) {
            const QTreeWidgetItem *item = d.lvwErr->topLevelItem(i);
            rows << QStringList{item->text(1), item->text(2), item->text(3), item->text(4)}.join(QLatin1Char('|'));
        }
        return rows;
    }

    QStringList catalog(const QString &ds) { return catalogRows(ds); }
};
