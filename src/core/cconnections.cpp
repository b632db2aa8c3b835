#include "cconnections.h"

#include "errortrace.h"
#include "mousesleeper.h"
#include "ui.h"

namespace {

std::unique_ptr<dao::Workspace> &workspace()
{
    static std::unique_ptr<dao::Workspace> instance;
    return instance;
}

} // namespace

dao::Workspace &gWorkspace()
{
    auto &instance = workspace();
    if (!instance)
        instance = std::make_unique<dao::Workspace>();
    return *instance;
}

void ReleaseWorkspace()
{
    gConnections().RemoveAll();
    workspace().reset();
}

CConnections &gConnections()
{
    workspace(); // made first, so that the workspace outlives the registry's databases
    static CConnections registry;
    static const bool forgetsFailedConnections = [] {
        dao::SetClosedOnFailureHandler([](const dao::Database &db) { registry.Forget(db); });
        return true;
    }();
    Q_UNUSED(forgetsFailedConnections);
    return registry;
}

CConnections::Ptr CConnections::Item(const QString &DSN)
{
    TraceScope trace(QStringLiteral("CConnections.Item[PropertyGet]"));
    if (Ptr found = m_items.Find(DSN)) {
        if (found->db && found->db->IsOpen())
            return found;
        m_items.Remove(DSN); // its connection was closed: connect anew
    }
    Ptr connection = Add(DSN);
    if (connection) {
        try {
            connection->SQLDTs.FetchDTs(DSN);
            connection->LOCDTs.FetchDTs(DSN);
        } catch (...) {
            // Not left registered with half-filled caches: the next look-up tries again.
            if (m_items.Find(DSN) == connection)
                Remove(DSN);
            throw;
        }
    }
    return connection;
}

dao::DatabasePtr CConnections::Db(const QString &DSN)
{
    const Ptr connection = Item(DSN);
    if (!connection || !connection->db)
        qnerr::raise(qnerr::ObjectNotSet);
    return connection->db;
}

dao::Database &CConnections::Hold(dao::DatabasePtr &held, const QString &DSN)
{
    if (!held || !held->IsOpen())
        held = Db(DSN);
    return *held;
}

CConnections::Ptr CConnections::Add(const QString &DSN)
{
    TraceScope trace(QStringLiteral("CConnections.Add"));
    CMouseSleeper sleeper;
    auto connection = std::make_shared<CConnection>();
    const QString connect = DSN.right(4).toUpper() == QLatin1String(".DSN")
                                ? QStringLiteral("ODBC;FILEDSN=") + DSN + QStringLiteral(";DATABASE=PUBS")
                                : QStringLiteral("ODBC;DSN=") + DSN + QStringLiteral(";DATABASE=PUBS");
    ErrorHandler handler(QStringLiteral("CConnections.Add"), QStringLiteral("None"));
    handler.treat = [](const QnError &e) {
        if (e.Number() == qnerr::ConnectCancelled)
            return Treated::Exit;
        if (e.Number() == qnerr::OdbcCallFailed) {
            Ui().MsgBox(QStringLiteral("Failed to connect for the following reason:\r\n") + FetchODBCErrors(),
                        ui::vbExclamation);
            return Treated::Exit;
        }
        return Treated::No;
    };
    if (!handler.step([&] {
            connection->db = m_opener ? m_opener(connect) : gWorkspace().OpenDatabase(QString(), 0, false, connect);
        }))
        return {};
    if (!connection->db)
        return {};
    m_items.Add(DSN, connection);
    return connection;
}

void CConnections::Remove(const QString &DSN)
{
    const Ptr &entry = m_items.Item(DSN);
    if (entry->db)
        entry->db->Close();
    m_items.Remove(DSN);
}

void CConnections::Remove(int position)
{
    const Ptr &entry = m_items.Item(position);
    if (entry->db)
        entry->db->Close();
    m_items.Remove(position);
}

void CConnections::Forget(const dao::Database &db)
{
    for (int position = 1; position <= Count(); ++position) {
        if (m_items.Item(position)->db.get() == &db) {
            m_items.Remove(position);
            return;
        }
    }
}

void CConnections::RemoveAll()
{
    while (Count() > 0)
        Remove(1);
}
