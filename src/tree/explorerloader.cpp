// The lazy loader: a node's children are built only when it expands, each
// folder from one snapshot query of the catalog.

#include <QCoreApplication>
#include <QGuiApplication>
#include <QHash>
#include <QPalette>
#include <QPointer>
#include <QSet>
#include <QStandardItem>
#include <QTreeView>
#include <functional>

#include "cnodes.h"
#include "core/cconnections.h"
#include "core/errortrace.h"
#include "core/moddatabase.h"
#include "core/mousesleeper.h"
#include "explorer.h"
#include "explorertree.h"
#include "settings.h"

namespace {

const QString kRoutine = QStringLiteral("mdiMain.tvwExplorer_Expand");

[[noreturn]] void missingObject() { qnerr::raise(qnerr::ObjectNotSet); }

// The node `levels` up from `node`; 91 when there is none.
QStandardItem *ancestor(QStandardItem *node, int levels)
{
    for (int i = 0; i < levels && node; ++i)
        node = node->parent();
    if (!node)
        missingObject();
    return node;
}

// The NodeData of a tree node; 91 when it has no gNodes entry.
QString dataOf(const QStandardItem *node)
{
    const CNodePtr entry = gNodes().Item(node);
    if (!entry)
        missingObject();
    return entry->NodeData;
}

// The fore colour a row takes.
enum class Colour {
    Default,
    SystemFile,     // grey for the catalog's own files
    SystemDatabase, // grey for the catalog's own database 'QN'
    Parent,         // the folder's own
};

// One catalog folder: its query and its rows.
struct FolderLoad
{
    int levelsUp = 1;  // from the folder to its data-source node
    QString column;    // the name column
    QString rowType;   // the row nodes' type
    QString image;     // and picture
    bool placeholder;  // rows that can expand get one
    Colour colour;
    bool boldAdmin;    // the user 'ADMIN' in bold
    std::function<QString(QStandardItem *folder)> query; // reads the settings the query depends on
};

// One folder made under a row, with no query.
struct SubFolder
{
    QString type, text, image;
    bool copyColour;
    bool placeholder;
};

const QHash<QString, FolderLoad> &folderLoads()
{
    static const QHash<QString, FolderLoad> byType = {
        {QStringLiteral("FI"),
         {1, QStringLiteral("FILE_NAME"), QStringLiteral("fi"), QStringLiteral("File"), true, Colour::SystemFile, false,
          [](QStandardItem *) {
              return options::SysTables() == 0
                         ? QStringLiteral("SELECT FILE_NAME FROM QN_FILE WHERE FILE_NAME NOT IN ('CNTRL', 'COLUMN', "
                                          "'DB', 'DBPRV', 'DRIVER', 'FIELD', 'FILE', 'SQLDT', 'LOCDT', 'TABLE', "
                                          "'TBLPRV', 'USER') ORDER BY FILE_NAME ASC")
                         : QStringLiteral("SELECT FILE_NAME FROM QN_FILE ORDER BY FILE_NAME ASC");
          }}},
        {QStringLiteral("FD"),
         {3, QStringLiteral("FIELD_NAME"), QStringLiteral("fd"), QStringLiteral("Field"), false, Colour::Parent, false,
          [](QStandardItem *folder) {
              const bool byName = options::FieldOrder() == 0;
              return QStringLiteral("SELECT FIELD_NAME FROM QN_FIELD WHERE FILE_NAME = ") +
                     modDatabase::Quoted(dataOf(ancestor(folder, 1))) +
                     (byName ? QStringLiteral(" ORDER BY FIELD_NAME ASC") : QStringLiteral(" ORDER BY OFFSET ASC"));
          }}},
        {QStringLiteral("DB"),
         {1, QStringLiteral("DATABASE_NAME"), QStringLiteral("db"), QStringLiteral("DB"), true, Colour::SystemDatabase,
          false,
          [](QStandardItem *) {
              return options::SysTables() == 0
                         ? QStringLiteral("SELECT DATABASE_NAME FROM QN_DB WHERE DATABASE_NAME <> 'QN' ORDER BY "
                                          "DATABASE_NAME ASC")
                         : QStringLiteral("SELECT DATABASE_NAME FROM QN_DB ORDER BY DATABASE_NAME ASC");
          }}},
        {QStringLiteral("TA"),
         {3, QStringLiteral("TABLE_NAME"), QStringLiteral("ta"), QStringLiteral("Table"), true, Colour::Parent, false,
          [](QStandardItem *folder) {
              return QStringLiteral("SELECT TABLE_NAME FROM QN_TABLE WHERE DATABASE_NAME = ") +
                     modDatabase::Quoted(dataOf(folder)) +
                     QStringLiteral(" ORDER BY TABLE_NAME ASC");
          }}},
        {QStringLiteral("CO"),
         {5, QStringLiteral("COLUMN_NAME"), QStringLiteral("co"), QStringLiteral("Column"), false, Colour::Parent, false,
          [](QStandardItem *folder) {
              return QStringLiteral("SELECT COLUMN_NAME FROM QN_COLUMN WHERE DATABASE_NAME = ") +
                     modDatabase::Quoted(dataOf(ancestor(folder, 3))) + QStringLiteral(" AND TABLE_NAME = ") +
                     modDatabase::Quoted(dataOf(folder)) +
                     QStringLiteral(" AND COLUMN_TYPE = 0 ORDER BY COLUMN_NUMBER ASC");
          }}},
        {QStringLiteral("US"),
         {1, QStringLiteral("USER_NAME"), QStringLiteral("us"), QStringLiteral("User"), false, Colour::Default, true,
          [](QStandardItem *) { return QStringLiteral("SELECT USER_NAME FROM QN_USER ORDER BY USER_NAME ASC"); }}},
        {QStringLiteral("DBPRV"),
         {3, QStringLiteral("USER_NAME"), QStringLiteral("dbprv"), QStringLiteral("User"), false, Colour::Default, true,
          [](QStandardItem *folder) {
              return QStringLiteral("SELECT USER_NAME FROM QN_DBPRV WHERE DATABASE_NAME = ") +
                     modDatabase::Quoted(dataOf(ancestor(folder, 1))) + QStringLiteral(" ORDER BY USER_NAME ");
          }}},
        {QStringLiteral("TBLPRV"),
         {5, QStringLiteral("USER_NAME"), QStringLiteral("tblprv"), QStringLiteral("User"), false, Colour::Parent, true,
          [](QStandardItem *folder) {
              return QStringLiteral("SELECT USER_NAME FROM QN_TBLPRV WHERE DATABASE_NAME = ") +
                     modDatabase::Quoted(dataOf(ancestor(folder, 2))) + QStringLiteral(" AND TABLE_NAME = ") +
                     modDatabase::Quoted(dataOf(folder)) + QStringLiteral(" ORDER BY USER_NAME ");
          }}},
    };
    return byType;
}

const QHash<QString, QList<SubFolder>> &subFolders()
{
    static const QHash<QString, QList<SubFolder>> byType = {
        {QStringLiteral("fi"), {{QStringLiteral("FD"), QStringLiteral("Fields"), QStringLiteral("Fields"), true, true}}},
        {QStringLiteral("db"),
         {{QStringLiteral("TA"), QStringLiteral("Tables"), QStringLiteral("Tables"), true, true},
          {QStringLiteral("DBPRV"), QStringLiteral("Database Privileges"), QStringLiteral("Padlock"), false, true}}},
        {QStringLiteral("ta"),
         {{QStringLiteral("CO"), QStringLiteral("Columns"), QStringLiteral("Columns"), true, true},
          {QStringLiteral("SCO"), QStringLiteral("Special Columns"), QStringLiteral("Special Columns"), true, false},
          {QStringLiteral("TBLPRV"), QStringLiteral("Table Privileges"), QStringLiteral("Padlock"), true, true}}},
    };
    return byType;
}

// The data-source level: opens the data source and adds its three folders.
void loadDatasource(ErrorHandler &handler, QStandardItem *Node, const CNodePtr &entry)
{
    const QPointer<QTreeView> tree = gNodes().Treeview(); // the connect may show a message
    const QString name = entry->NodeData;
    CConnections::Ptr connection;
    const bool opened = handler.step([&] {
        if (tree)
            tree->setUpdatesEnabled(true);
        // The node shows selected while its data source opens.
        gNodes().setSelectedItem(entry);
        if (tree)
            tree->viewport()->repaint();
    }) && handler.step([&] { connection = gConnections().Item(name); });
    if (tree)
        tree->setUpdatesEnabled(false);
    if (!opened)
        return;
    if (!connection) {
        if (!handler.step([&] {
                gNodes().SetExpanded(Node, false);
                gNodes().Add(entry, QString());
            }))
            return;
    } else {
        if (!handler.step([&] {
                gNodes().SetImages(Node, QStringLiteral("Datasource"), QStringLiteral("Datasource"));
                gNodes().setSelectedItem(entry);
            }))
            return;
        const struct
        {
            QString type, text, image;
        } folders[] = {
            {QStringLiteral("FI"), QStringLiteral("Files"), QStringLiteral("Files")},
            {QStringLiteral("DB"), QStringLiteral("Databases"), QStringLiteral("DBs")},
            {QStringLiteral("US"), QStringLiteral("Users"), QStringLiteral("Users")},
        };
        for (const auto &folder : folders) {
            CNodePtr added;
            if (!handler.step([&] { added = gNodes().Add(entry, folder.type, name, folder.text, folder.image); }))
                return;
            if (added && !handler.step([&] { gNodes().Add(added, QString()); }))
                return;
        }
    }
    handler.step([&] { gNodes().ShowPane(QStringLiteral("frmDSN"), {name}); });
}

// A row's folders.
void loadSubFolders(ErrorHandler &handler, QStandardItem *Node, const CNodePtr &entry, const QList<SubFolder> &folders)
{
    for (const SubFolder &folder : folders) {
        CNodePtr added;
        if (!handler.step([&] {
                added = gNodes().Add(entry, folder.type, entry->NodeData, folder.text, folder.image);
            }))
            return;
        if (!added)
            continue;
        if (folder.copyColour && !handler.step([&] {
                gNodes().Node(added->Key)->setData(Node->data(Qt::ForegroundRole), Qt::ForegroundRole);
            }))
            return;
        if (folder.placeholder && !handler.step([&] { gNodes().Add(added, QString()); }))
            return;
    }
}

// A catalog folder: one snapshot query, one row node per row.
void loadFolder(ErrorHandler &handler, QStandardItem *Node, const CNodePtr &entry, const FolderLoad &load)
{
    dao::DatabasePtr db;
    QString sql;
    std::unique_ptr<dao::Recordset> rs;
    if (!handler.step([&] {
            const CConnections::Ptr connection = gConnections().Item(dataOf(ancestor(Node, load.levelsUp)));
            if (!connection || !connection->db)
                missingObject();
            db = connection->db;
        }) ||
        !handler.step([&] { sql = load.query(Node); }) ||
        !handler.step([&] { rs = db->OpenRecordset(sql, dao::dbOpenSnapshot); }))
        return;

    const QVariant folderColour = Node->data(Qt::ForegroundRole);
    const QVariant grey = QBrush(SystemGreyText());
    const QString admin = QStringLiteral("ADMIN");
    for (;;) {
        bool atEnd = true;
        QString name;
        if (!handler.step([&] {
                atEnd = rs->Eof();
                if (!atEnd)
                    name = rs->Value(load.column).toString();
            }))
            return;
        if (atEnd)
            break;
        CNodePtr row;
        if (!handler.step([&] { row = gNodes().Add(entry, load.rowType, name, name, load.image); }))
            return;
        if (row) {
            if (load.placeholder && !handler.step([&] { gNodes().Add(row, QString()); }))
                return;
            if (!handler.step([&] {
                    QStandardItem *item = gNodes().Node(row->Key);
                    if (!item)
                        missingObject();
                    switch (load.colour) {
                    case Colour::Default: break;
                    case Colour::SystemFile:
                        if (IsEngineFile(name))
                            item->setData(grey, Qt::ForegroundRole);
                        break;
                    case Colour::SystemDatabase:
                        if (name == QLatin1String("QN"))
                            item->setData(grey, Qt::ForegroundRole);
                        break;
                    case Colour::Parent: item->setData(folderColour, Qt::ForegroundRole); break;
                    }
                    if (load.boldAdmin && name == admin) {
                        QFont font = item->font();
                        font.setBold(true);
                        item->setFont(font);
                    }
                }))
                return;
        }
        if (!handler.step([&] { rs->MoveNext(); }))
            return;
    }
}

} // namespace

QColor SystemGreyText() { return QGuiApplication::palette().color(QPalette::Disabled, QPalette::Text); }

void tvwExplorer_Expand(QStandardItem *Node)
{
    TraceScope trace(kRoutine);
    ErrorHandler handler(kRoutine);
    // A missing object (a node or an ancestor not in the tree, no connection
    // for a folder) ends the load quietly.
    handler.treat = [](const QnError &e) { return e.Number() == qnerr::ObjectNotSet ? Treated::Exit : Treated::No; };

    const QPointer<QTreeView> tree = gNodes().Treeview(); // a yield may take it away
    const bool hadFocus = tree && tree->hasFocus();
    // Restored as found: a walk over many nodes keeps the tree disabled and not redrawn.
    const bool wasEnabled = tree && !tree->testAttribute(Qt::WA_ForceDisabled);
    const bool wasRedrawn = tree && !tree->testAttribute(Qt::WA_ForceUpdatesDisabled);
    if (tree) {
        tree->setUpdatesEnabled(false);
        tree->setEnabled(false);
    }
    {
        CMouseSleeper sleeper;
        EndTreeDrag();
        CNodePtr entry;
        if (handler.step([&] { RemoveChildrenOf(Node); }) && handler.step([&] {
                entry = gNodes().Item(Node);
                if (!entry)
                    missingObject();
            })) {
            const QString &type = entry->NodeType;
            if (type == QLatin1String("DSN")) {
                loadDatasource(handler, Node, entry);
            } else if (const auto folder = folderLoads().constFind(type); folder != folderLoads().constEnd()) {
                loadFolder(handler, Node, entry, *folder);
            } else if (const auto folders = subFolders().constFind(type); folders != subFolders().constEnd()) {
                loadSubFolders(handler, Node, entry, *folders);
            }
        }
        // The events queued meanwhile are handled while the tree is still disabled.
        QCoreApplication::processEvents();
    }
    if (tree && gNodes().Treeview() == tree) {
        tree->setEnabled(wasEnabled);
        tree->setUpdatesEnabled(wasRedrawn);
        if (hadFocus)
            tree->setFocus();
    }
}

void ReloadFolder(const QString &Key)
{
    QStandardItem *folder = gNodes().Node(Key);
    if (!folder)
        return;
    if (folder->rowCount() == 0) {
        tvwExplorer_Expand(folder);
        return;
    }
    gNodes().SetExpanded(folder, false);
    if ((folder = gNodes().Node(Key)))
        gNodes().SetExpanded(folder, true);
}

const QStringList &EngineFiles()
{
    static const QStringList names = {
        QStringLiteral("CNTRL"), QStringLiteral("COLUMN"), QStringLiteral("DB"),    QStringLiteral("DBPRV"),
        QStringLiteral("DRIVER"), QStringLiteral("FIELD"), QStringLiteral("FILE"),  QStringLiteral("LOCDT"),
        QStringLiteral("SQLDT"), QStringLiteral("TABLE"),  QStringLiteral("TBLPRV"), QStringLiteral("USER"),
    };
    return names;
}

bool IsEngineFile(const QString &name)
{
    static const QSet<QString> names(EngineFiles().begin(), EngineFiles().end());
    return names.contains(name);
}
