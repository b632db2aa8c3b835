// Expanding a large folder of the explorer tree: one query and one node (with
// its placeholder) per row, in a tree view as the program shows it; and Expand
// All of a data source in the program's window, with the collapse of its Files
// folder after it.
#include <QApplication>
#include <QElapsedTimer>
#include <QMenu>
#include <QMouseEvent>
#include <QStandardItem>
#include <QTimer>
#include <QTreeView>
#include <sqlite3.h>

#include "cases.h"
#include "core/cconnections.h"
#include "mainwindow/mdimain.h"
#include "panehost/forms.h"
#include "tree/cnodes.h"
#include "tree/explorer.h"
#include "tree/nodekey.h"
#include "tree/refreshnodepath.h"

namespace bench {

namespace {

// Opens the tree along `pathKey`, then times the expansion of the folder
// `folderKey` (collapsed before each run) until the view has laid it out.
Result expandFolder(const DataSource &source, const QString &pathKey, const QString &folderKey, int rows)
{
    QTreeView tree;
    tree.resize(300, 600);
    tree.show();
    gNodes().Clear();
    gNodes().setTreeview(&tree);
    ConnectExplorer(&tree);
    const CNodePtr ds = gNodes().Add(static_cast<const CNode *>(nullptr), QStringLiteral("DSN"), source.Name(),
                                     source.Name(), QStringLiteral("DSN Ghost"));
    gNodes().Add(ds, QString());
    modGUI::RefreshNodePath(pathKey);

    Result result;
    QStandardItem *folder = gNodes().Node(folderKey);
    if (!folder) {
        result.failure = QStringLiteral("no node %1").arg(folderKey);
    } else {
        double fastest = 1e300;
        for (int run = 0; run < 5; ++run) {
            gNodes().SetExpanded(folder, false);
            QCoreApplication::processEvents();
            QElapsedTimer timer;
            timer.start();
            gNodes().SetExpanded(folder, true);
            QCoreApplication::processEvents();
            fastest = std::min(fastest, double(timer.nsecsElapsed()) / 1e6);
        }
        result.ms = fastest;
        result.rows = folder->rowCount();
        result.figure = fastest;
        if (result.rows != rows)
            result.failure = QStringLiteral("%1 of %2 rows shown").arg(result.rows).arg(rows);
    }
    gNodes().setExpandHandlers({}, {});
    gNodes().setTreeview(nullptr);
    gNodes().Clear();
    gConnections().RemoveAll();
    return result;
}

constexpr int kFieldsPerFile = 10;

// A data source of `files` files of ten fields each.
void fillFiles(const DataSource &source, int files)
{
    Fill(source.File(), "INSERT INTO QN_FILE (FILE_NAME, RECORD_SIZE) VALUES (?, 100)", files,
         [](sqlite3_stmt *insert, int i) { BindText(insert, 1, "FILE_" + QByteArray::number(100000 + i)); });
    Fill(source.File(),
         "INSERT INTO QN_FIELD (FILE_NAME, FIELD_NUMBER, FIELD_NAME, LOCAL_TYPE_NAME, OFFSET, LENGTH) "
         "VALUES (?, ?, ?, 'STRING', ?, 10)",
         files * kFieldsPerFile, [](sqlite3_stmt *insert, int i) {
             const int field = i % kFieldsPerFile;
             BindText(insert, 1, "FILE_" + QByteArray::number(100000 + i / kFieldsPerFile));
             sqlite3_bind_int(insert, 2, field + 1);
             BindText(insert, 3, "FIELD_" + QByteArray::number(field));
             sqlite3_bind_int(insert, 4, field * 10);
         });
}

// A user who answers a question Yes and takes every other default.
class YesUi : public BenchUi
{
public:
    int MsgBox(const QString &, int style, const QString &) override
    {
        return (style & 7) == ui::vbYesNo || (style & 7) == ui::vbYesNoCancel ? ui::vbYes : ui::vbOK;
    }
};

// The program's main window on the bench's data sources; unloaded with all it loaded when it goes.
class MainWindow
{
public:
    MainWindow() : m_main(mdiMain::instance()) { m_main.show(); }
    ~MainWindow()
    {
        mdiMain::Unload();
        forms::UnloadAllExcept({});
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        gConnections().RemoveAll();
        gNodes().Clear();
    }
    MainWindow(const MainWindow &) = delete;
    MainWindow &operator=(const MainWindow &) = delete;

    QTreeView &Tree() { return *m_main.tvwExplorer; }

private:
    YesUi m_ui;
    mdiMain &m_main;
};

// A click of `button` at `at` in `widget`: its press and its release, each
// handled (with all it starts) before the next.
void click(QWidget *widget, Qt::MouseButton button, const QPoint &at)
{
    const QPointF global = widget->mapToGlobal(QPointF(at));
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(at), global, button, button, Qt::NoModifier);
    QApplication::sendEvent(widget, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(at), global, button, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &release);
    QCoreApplication::processEvents();
}

// Where a click on the node's text and on its expand button goes in the view.
QPoint textOf(QTreeView &tree, QStandardItem *node)
{
    tree.scrollTo(node->index());
    const QRect rect = tree.visualRect(node->index());
    return {rect.left() + qMin(rect.width() / 2, 24), rect.center().y()};
}
QPoint buttonOf(QTreeView &tree, QStandardItem *node)
{
    tree.scrollTo(node->index());
    const QRect rect = tree.visualRect(node->index());
    return {rect.left() - tree.indentation() / 2, rect.center().y()};
}

// A right click on the node and, in the menu it pops up, a click on `caption`;
// false when no such item showed.
bool chooseFromNodeMenu(QTreeView &tree, QStandardItem *node, const QString &caption)
{
    bool chosen = false;
    QTimer waiting; // for the menu, whose own event loop runs inside the release
    waiting.setInterval(1);
    QObject::connect(&waiting, &QTimer::timeout, [&] {
        auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        if (!menu)
            return;
        waiting.stop();
        for (QAction *action : menu->actions())
            if (action->isVisible() && action->text() == caption) {
                chosen = true;
                click(menu, Qt::LeftButton, menu->actionGeometry(action).center());
                return;
            }
        menu->close();
    });
    waiting.start();
    click(tree.viewport(), Qt::RightButton, textOf(tree, node));
    return chosen;
}

// The files of the Files folder `filesKey` and their fields that the tree shows;
// a failure when they are not all there.
QString checkShown(const QString &filesKey, int files)
{
    QStandardItem *folder = gNodes().Node(filesKey);
    if (!folder)
        return QStringLiteral("no node %1").arg(filesKey);
    long fields = 0;
    for (int row = 0; row < folder->rowCount(); ++row)
        if (QStandardItem *fieldsFolder = folder->child(row)->child(0))
            fields += fieldsFolder->rowCount();
    if (folder->rowCount() == files && fields == long(files) * kFieldsPerFile)
        return {};
    return QStringLiteral("%1 of %2 files and %3 of %4 fields shown")
        .arg(folder->rowCount())
        .arg(files)
        .arg(fields)
        .arg(files * kFieldsPerFile);
}

// In the program's window, Expand All of a data source of `files` files of
// ten fields each, its connection open, until the window has handled what the
// command left it; with `collapseFiles`, the user's collapse of the Files folder
// after it instead. The figure is the best of three that each find the tree
// loaded and expanded before, as a second Expand All does; the first one's
// time is noted.
Result expandAll(int files, bool collapseFiles)
{
    const DataSource source;
    fillFiles(source, files);
    MainWindow window;
    QTreeView &tree = window.Tree();
    const QString dsKey = NodeKey::Datasource(source.Name());
    const QString filesKey = NodeKey::Child(dsKey, QStringLiteral("FI"), source.Name());
    Result result;
    QStandardItem *ds = gNodes().Node(dsKey);
    if (!ds) {
        result.failure = QStringLiteral("no node %1").arg(dsKey);
        return result;
    }
    // Expanded (connected), then the right press on it that opens the command's menu.
    tree.expand(ds->index());
    QCoreApplication::processEvents();
    gNodes().setSelectedItem(gNodes().Item(dsKey));
    const QPoint at = tree.visualRect(ds->index()).center();
    tvwExplorer_MouseDown(2, 0, at.x(), at.y());

    double fastest = 1e300, first = 0;
    for (int run = 0; run <= 3; ++run) {
        QElapsedTimer timer;
        timer.start();
        gNodes().ExpandChildren(gNodes().SelectedItem()); // the command, once its question is answered Yes
        QCoreApplication::processEvents();
        double ms = double(timer.nsecsElapsed()) / 1e6;
        result.failure = checkShown(filesKey, files);
        if (!result.failure.isEmpty())
            return result;
        result.rows = files;
        result.notes = QStringList{QStringLiteral("%1 nodes in the tree").arg(gNodes().Count())};
        if (collapseFiles) {
            // A click on the folder's expand button: the view collapses it and tells the handler.
            timer.restart();
            tree.collapse(gNodes().Node(filesKey)->index());
            QCoreApplication::processEvents();
            ms = double(timer.nsecsElapsed()) / 1e6;
            QStandardItem *folder = gNodes().Node(filesKey);
            if (tree.isExpanded(folder->index()) || folder->rowCount() != 1) {
                result.failure = QStringLiteral("the Files folder did not collapse to its placeholder");
                return result;
            }
        }
        if (run > 0)
            fastest = std::min(fastest, ms);
        else
            first = ms;
    }
    result.notes << QStringLiteral("the first run: %1 ms").arg(first, 0, 'f', 1);
    result.ms = fastest;
    result.figure = fastest;
    return result;
}

} // namespace

Result ExpandTables(int rows)
{
    const DataSource source;
    Fill(source.File(), "INSERT INTO QN_DB (DATABASE_NAME) VALUES ('BENCH')", 1, [](sqlite3_stmt *, int) {});
    Fill(source.File(), "INSERT INTO QN_TABLE (DATABASE_NAME, TABLE_NAME, FILE_NAME) VALUES ('BENCH', ?, 'BIGFILE')",
         rows, [](sqlite3_stmt *insert, int i) { BindText(insert, 1, "TABLE_" + QByteArray::number(100000 + i)); });
    const QString db = QStringLiteral("DSN=%1:DB=%1:db=BENCH:").arg(source.Name());
    return expandFolder(source, db, db + QStringLiteral("TA=BENCH:"), rows);
}

Result ExpandFields(int rows)
{
    const DataSource source;
    Fill(source.File(), "INSERT INTO QN_FILE (FILE_NAME, RECORD_SIZE) VALUES ('BIGFILE', 0)", 1,
         [](sqlite3_stmt *, int) {});
    Fill(source.File(),
         "INSERT INTO QN_FIELD (FILE_NAME, FIELD_NUMBER, FIELD_NAME, LOCAL_TYPE_NAME, OFFSET, LENGTH) "
         "VALUES ('BIGFILE', ?, ?, 'STRING', ?, 10)",
         rows, [](sqlite3_stmt *insert, int i) {
             sqlite3_bind_int(insert, 1, i + 1);
             BindText(insert, 2, "FIELD_" + QByteArray::number(100000 + i));
             sqlite3_bind_int(insert, 3, i * 10);
         });
    const QString file = QStringLiteral("DSN=%1:FI=%1:fi=BIGFILE:").arg(source.Name());
    return expandFolder(source, file, file + QStringLiteral("FD=BIGFILE:"), rows);
}

Result ExpandAll(int files) { return expandAll(files, false); }

Result ExpandAllAfterCollapse(int files)
{
    const DataSource source;
    fillFiles(source, files);
    const QString dsKey = NodeKey::Datasource(source.Name());
    const QString filesKey = NodeKey::Child(dsKey, QStringLiteral("FI"), source.Name());
    const QString expandAll = QStringLiteral("E&xpand All");
    Result result;
    double fastest = 1e300, filesMs = 0, collapseMs = 0;
    for (int run = 0; run < 3; ++run) {
        MainWindow window;
        QTreeView &tree = window.Tree();
        QStandardItem *ds = gNodes().Node(dsKey);
        if (!ds) {
            result.failure = QStringLiteral("no node %1").arg(dsKey);
            return result;
        }
        click(tree.viewport(), Qt::LeftButton, buttonOf(tree, ds));
        QStandardItem *folder = gNodes().Node(filesKey);
        if (!folder) {
            result.failure = QStringLiteral("the data source did not open");
            return result;
        }
        QElapsedTimer timer;
        timer.start();
        if (!chooseFromNodeMenu(tree, folder, expandAll)) {
            result.failure = QStringLiteral("no Expand All on the Files folder");
            return result;
        }
        const double files1 = double(timer.nsecsElapsed()) / 1e6;
        timer.restart();
        click(tree.viewport(), Qt::LeftButton, buttonOf(tree, gNodes().Node(filesKey)));
        const double collapse = double(timer.nsecsElapsed()) / 1e6;
        if (tree.isExpanded(gNodes().Node(filesKey)->index()) || gNodes().Node(filesKey)->rowCount() != 1) {
            result.failure = QStringLiteral("the Files folder did not collapse to its placeholder");
            return result;
        }
        timer.restart();
        if (!chooseFromNodeMenu(tree, gNodes().Node(dsKey), expandAll)) {
            result.failure = QStringLiteral("no Expand All on the data source");
            return result;
        }
        const double ms = double(timer.nsecsElapsed()) / 1e6;
        result.failure = checkShown(filesKey, files);
        if (!result.failure.isEmpty())
            return result;
        if (ms < fastest) {
            fastest = ms;
            filesMs = files1;
            collapseMs = collapse;
        }
        result.notes = QStringList{QStringLiteral("%1 nodes in the tree").arg(gNodes().Count())};
    }
    result.notes << QStringLiteral("before it: the Files folder's Expand All %1 ms, its collapse %2 ms")
                        .arg(filesMs, 0, 'f', 1)
                        .arg(collapseMs, 0, 'f', 1);
    result.rows = files;
    result.ms = fastest;
    result.figure = fastest;
    return result;
}

Result CollapseAfterExpandAll(int files) { return expandAll(files, true); }

} // namespace bench
