// The commands of a data source's context menu (Connect, Expand All, Clear
// Catalog, Disconnect) and Recalculate Offsets on a file's fields.

#include "dscommands.h"

#include <QStandardItem>

#include "core/cconnections.h"
#include "core/csqldts.h"
#include "core/errortrace.h"
#include "core/moddatabase.h"
#include "core/modupdate.h"
#include "core/mousesleeper.h"
#include "panehost/forms.h"
#include "mdimain.h"
#include "nodecommands.h"
#include "tree/cnodes.h"
#include "tree/dragitem.h"
#include "tree/explorer.h"
#include "tree/nodekey.h"
#include "ui.h"

namespace {

const QString kGhost = QStringLiteral("DSN Ghost");

// One statement of Clear Catalog and the status shown before it (empty: the
// previous status stays).
struct ClearStep
{
    QString status;
    QString sql;
};

// The nine statements of Clear Catalog, in the order they run.
const QList<ClearStep> &ClearCatalogSteps()
{
    static const QString engineFiles = QStringLiteral(
        "WHERE FILE_NAME NOT IN ('CNTRL', 'COLUMN', 'DB', 'DBPRV', 'DRIVER', 'FIELD', 'FILE', 'LOCDT', 'SQLDT', "
        "'TABLE', 'TBLPRV', 'USER')");
    static const QList<ClearStep> steps = {
        {QStringLiteral("Removing Column definitions..."),
         QStringLiteral("DELETE FROM QN_COLUMN WHERE DATABASE_NAME <> 'QN'")},
        {QStringLiteral("Removing Database definitions..."),
         QStringLiteral("DELETE FROM QN_DB WHERE DATABASE_NAME <> 'QN'")},
        {QStringLiteral("Removing Database privileges..."),
         QStringLiteral("DELETE FROM QN_DBPRV WHERE USER_NAME <> 'ADMIN' ")},
        {QString(), QStringLiteral("DELETE FROM QN_DBPRV WHERE DATABASE_NAME <> 'QN' ")},
        {QStringLiteral("Removing Field definitions..."), QStringLiteral("DELETE FROM QN_FIELD ") + engineFiles},
        {QStringLiteral("Removing File definitions..."), QStringLiteral("DELETE FROM QN_FILE ") + engineFiles},
        {QStringLiteral("Removing Table definitions..."),
         QStringLiteral("DELETE FROM QN_TABLE WHERE DATABASE_NAME <> 'QN'")},
        {QStringLiteral("Removing Table privileges..."), QStringLiteral("DELETE FROM QN_TBLPRV ")},
        {QStringLiteral("Removing User privileges..."),
         QStringLiteral("DELETE FROM QN_USER WHERE USER_NAME <> 'ADMIN'")},
    };
    return steps;
}

// A number as the offset statements write it: one blank before a value of 0
// or more, "-" before a negative one.
QString Str(qint64 value)
{
    return value < 0 ? QString::number(value) : QLatin1Char(' ') + QString::number(value);
}

// The name of the open database of `ds` inside a unit of that data source.
QString unitDatabaseName(const QString &ds)
{
    const auto connection = gConnections().Item(ds);
    if (!connection || !connection->db)
        qnerr::raise(qnerr::ObjectNotSet);
    return connection->db->Name();
}

// A tree step after a write that succeeded: a failure of the tree does not
// make the write look failed, so it is passed over.
void afterWrite(const std::function<void()> &step)
{
    try {
        step();
    } catch (const std::exception &) {
    }
}

// A catalog number that the command computes with: a Null fails with 94.
qint32 storedNumber(const QVariant &value, const QString &what)
{
    if (value.isNull())
        qnerr::raise(qnerr::InvalidUseOfNull, QStringLiteral("Invalid use of Null (%1)").arg(what));
    return vb::CLng(value.toString());
}

// The offsets of a file's fields, packed in their present offset order.
struct Packed
{
    QString database; // the open database's name
    qint32 recordSize = 0;
    qint32 total = 0;
};

// Reads and checks every field first; runs the UPDATEs only when all are sound.
Packed packOffsets(const QString &ds, const QString &file)
{
    Packed packed;
    packed.database = unitDatabaseName(ds);
    const auto size = modUpdate::UnitOpen(QStringLiteral("SELECT RECORD_SIZE FROM QN_FILE WHERE FILE_NAME = ") +
                                          modDatabase::Quoted(file));
    if (!size->Eof())
        packed.recordSize = storedNumber(size->Value(QStringLiteral("RECORD_SIZE")),
                                         QStringLiteral("RECORD_SIZE of file '%1'").arg(file));
    const auto fields = modUpdate::UnitOpen(QStringLiteral("SELECT * FROM QN_FIELD WHERE FILE_NAME = ") +
                                            modDatabase::Quoted(file) + QStringLiteral(" ORDER BY OFFSET ASC"));
    QStringList statements;
    qint32 offset = 0;
    for (; !fields->Eof(); fields->MoveNext()) {
        const QVariant &field = fields->Value(QStringLiteral("FIELD_NAME"));
        statements << dscommands::OffsetStatement(offset, fields->Value(QStringLiteral("FILE_NAME")), field,
                                                  fields->Value(QStringLiteral("FIELD_NUMBER")));
        const qint32 length = storedNumber(fields->Value(QStringLiteral("LENGTH")),
                                           QStringLiteral("LENGTH of field '%1'").arg(field.toString()));
        if (__builtin_add_overflow(offset, length, &offset))
            qnerr::raise(qnerr::Overflow);
    }
    for (const QString &sql : std::as_const(statements))
        modUpdate::UnitExecute(sql);
    packed.total = offset;
    return packed;
}

} // namespace

namespace dscommands {

QString OffsetStatement(qint32 offset, const QVariant &fileName, const QVariant &fieldName,
                        const QVariant &fieldNumber)
{
    return QStringLiteral("UPDATE QN_FIELD SET OFFSET = ") + Str(offset) +
           QStringLiteral(" WHERE FILE_NAME = '") + modDatabase::EscapeQuotes(fileName) +
           QStringLiteral("' AND FIELD_NAME = '") + modDatabase::EscapeQuotes(fieldName) + QStringLiteral("' ") +
           (fieldNumber.isNull() ? QStringLiteral("AND FIELD_NUMBER IS NULL")
                                 : QStringLiteral("AND FIELD_NUMBER = ") +
                                       modDatabase::StoredNumberSQL(fieldNumber, QStringLiteral("FIELD_NUMBER"),
                                                                    modDatabase::NumberForm::Bare));
}

} // namespace dscommands

// ---------------------------------------------------------------------------
// Data sources

void mdiMain::mnu_DSNConnect_Click()
{
    ErrorHandler handler(QStringLiteral("mdiMain.mnu_DSNConnect_Click"));
    QStandardItem *node = nullptr;
    handler.step([&] { node = gNodes().TreeNode(NodeKey::Datasource(gCurrentItem().Key(0))); }) &&
        handler.step([&] { tvwExplorer_Expand(node); });
}

void mdiMain::mnu_DSNExpandAll_Click()
{
    nodecommands::ExpandAll(QStringLiteral("mdiMain.mnu_DSNExpandAll_Click"), true, true);
}

// Empties the catalog down to the catalog's own definitions, as one unit.
void mdiMain::mnu_DSNClear_Click()
{
    const QString routine = QStringLiteral("mdiMain.mnu_DSNClear_Click");
    gMenuCommandRan() = true;
    ErrorHandler handler(routine);
    QString ds;
    const DragItem &item = gCurrentItem();
    if (!NodeKey::IsDatasourceType(item.NodeType)) {
        Ui().MsgBox(QStringLiteral("Please select a Datasource before selecting 'Clear Catalog'"), ui::vbInformation);
    } else if (handler.step([&] { ds = item.Key(0); }) &&
               Ui().MsgBox(QStringLiteral("WARNING - You are about to remove ALL the catalog definitions for "
                                          "Datasource '") +
                               ds +
                               QStringLiteral("'.\r\nAre you sure you wish to completely clear the calaog?"),
                           ui::vbYesNo + ui::vbQuestion) == ui::vbYes) {
        CMouseSleeper sleeper;
        QString database;
        const bool cleared = modUpdate::RunUnit(ds, routine, [&] {
            database = unitDatabaseName(ds);
            for (const ClearStep &step : ClearCatalogSteps()) {
                if (!step.status.isEmpty())
                    Status(step.status);
                modUpdate::UnitExecute(step.sql);
            }
        });
        if (cleared) {
            // Collapsed, the node reads the cleared catalog when it is next expanded.
            afterWrite([&] {
                if (QStandardItem *node = gNodes().Node(NodeKey::Datasource(database)))
                    gNodes().SetExpanded(node, false);
            });
            Ui().MsgBox(QStringLiteral("The catalog has been cleared."), ui::vbInformation);
        }
    }
    Status();
}

void mdiMain::mnu_DSNDisconnect_Click()
{
    TraceScope trace(QStringLiteral("mdiMain.mnu_DSNDisconnect_Click"));
    ErrorHandler handler(QStringLiteral("mdiMain.mnu_DSNDisconnect"));
    gMenuCommandRan() = true;
    QString key;
    bool connected = false;
    if (!handler.step([&] {
            const CNodePtr selected = gNodes().SelectedItem();
            if (!selected)
                qnerr::raise(qnerr::ObjectNotSet);
            key = selected->Key;
            connected = CNodes::SelectedImage(gNodes().TreeNode(key)) != kGhost;
        }) ||
        !connected)
        return;
    // Every pane goes: the current one is asked first (its write may reload tree nodes).
    if (!leaveCurrent(handler.routine))
        return;
    // A connection that failed has left the registry already (5): it is closed.
    bool removing = true;
    handler.treat = [&](const QnError &e) {
        return removing && e.Number() == qnerr::InvalidProcedureCall ? Treated::Resume : Treated::No;
    };
    if (!handler.step([&] { gConnections().Remove(gCurrentItem().Key(0)); }))
        return;
    removing = false;
    handler.step([&] {
        QStandardItem *node = gNodes().TreeNode(key);
        gNodes().SetImages(node, kGhost, kGhost);
        gNodes().SetExpanded(node, false);
    }) && handler.step([] { forms::UnloadAllExcept({QStringLiteral("mdiMain"), QStringLiteral("frmQNErr")}); }) &&
        handler.step([] { gCurrentPane() = nullptr; }) &&
        handler.step([this] { PaneDisplay(QStringLiteral("frmWelcome"), {}); });
}

// ---------------------------------------------------------------------------
// Fields

void mdiMain::mnu_FieldRecalculate_Click()
{
    const QString routine = QStringLiteral("mdiMain.mnu_FieldRecalculate_Click");
    TraceScope trace(routine);
    ErrorHandler handler(routine);
    gMenuCommandRan() = true;
    const DragItem &item = gCurrentItem();
    if (item.NodeType != QLatin1String("FD") && item.NodeType != QLatin1String("fd")) {
        Ui().MsgBox(QStringLiteral("Please select a Field Collection or Field in a Field Collection to recalculate."),
                    ui::vbInformation);
        return;
    }
    QString ds, file;
    if (!handler.step([&] {
            ds = item.Key(0);
            file = item.Key(1);
        }))
        return;
    Packed packed;
    if (!modUpdate::RunUnit(ds, routine, [&] { packed = packOffsets(ds, file); }))
        return; // not connected (reported there), or the failure was reported and ignored
    if (packed.total > packed.recordSize)
        Ui().MsgBox(QStringLiteral("WARNING!\r\nTotal length of Fields exceeds Record size by ") +
                        QString::number(qint64(packed.total) - packed.recordSize) + QStringLiteral(" bytes."),
                    ui::vbInformation);
    Ui().MsgBox(QStringLiteral("Field offsets recalulated for File '") + file + QLatin1Char('\''), ui::vbInformation);
    handler.step([&] { PaneDisplay(QStringLiteral("frmFields"), {packed.database, file}); });
}
