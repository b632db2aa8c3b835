// Expanding a large folder of the explorer tree: one query and one node (with
// its placeholder) per row, in a tree view as the program shows it.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QStandardItem>
#include <QTreeView>
#include <sqlite3.h>

#include "cases.h"
#include "core/cconnections.h"
#include "tree/cnodes.h"
#include "tree/explorer.h"
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

} // namespace bench
