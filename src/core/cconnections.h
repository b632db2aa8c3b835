#pragma once

// The registry of open data sources: the first look-up of a name
// connects the data source and loads its two data-type caches; later look-ups
// hand out the same connection until it is removed, or until its connection
// failed and closed (then the next look-up connects again).

#include <QList>
#include <QString>
#include <functional>
#include <memory>

#include "clocdts.h"
#include "csqldts.h"
#include "dao.h"
#include "keyedcollection.h"

// One open data source.
class CConnection
{
public:
    dao::DatabasePtr db; // its Name is the registry key
    CSQLDTs SQLDTs;
    CLOCDTs LOCDTs;
};

class CConnections
{
public:
    using Ptr = std::shared_ptr<CConnection>;
    // Opens a database from a connect text; the workspace's OpenDatabase unless a test set another.
    using Opener = std::function<dao::DatabasePtr(const QString &connect)>;

    // The registered connection; a name not registered yet is connected (Add)
    // and its caches loaded, SQL types first. Nothing when the connect failed
    // (already reported) or was cancelled. A failed cache load closes and
    // unregisters the new connection and passes up.
    Ptr Item(const QString &DSN);
    // The open database of DSN through Item: the registered one, or, once its
    // connection was closed (a lost link, a failed commit), a new connection;
    // 91 when there is none. What reads a data source across user actions
    // takes its database here each time, so Retry after a lost link works.
    dao::DatabasePtr Db(const QString &DSN);
    // `held` while it is open; else Db(DSN), which `held` then keeps.
    dao::Database &Hold(dao::DatabasePtr &held, const QString &DSN);
    // By position, from 1 (no connect); 9 when out of range.
    Ptr Item(int position) const { return m_items.Item(position); }
    qint32 Count() const { return m_items.Count(); }
    // Closes the entry's database, then removes the entry (5 / 9 when not there).
    void Remove(const QString &DSN);
    void Remove(int position);
    // Empties the registry: Remove(1) while any entry is left.
    void RemoveAll();
    // Removes the entry of `db` (nothing when none holds it) without closing it:
    // a database that closed itself after its connection failed leaves the
    // registry, so that the next look-up of its name connects again.
    void Forget(const dao::Database &db);
    // The connections in the order they were added.
    QList<Ptr> NewEnum() const { return m_items.Items(); }
    // True when two data-source names name one registry entry (letter case aside).
    static bool SameName(const QString &a, const QString &b) { return a.toCaseFolded() == b.toCaseFolded(); }

    // Connects DSN and registers it: "ODBC;DSN=<DSN>;DATABASE=PUBS", or FILEDSN
    // for a name ending in ".DSN". A cancel returns nothing quietly; an ODBC
    // failure shows "Failed to connect for the following reason:" and the
    // driver's errors and returns nothing; other failures go to the error dialog.
    // Called only by Item.
    Ptr Add(const QString &DSN);

    // Test seam: replaces the workspace's OpenDatabase (nullptr restores it).
    void setOpener(Opener opener) { m_opener = std::move(opener); }

private:
    KeyedCollection<CConnection> m_items;
    Opener m_opener;
};

// The process's one registry, created on first use.
CConnections &gConnections();

// The process's one ODBC workspace, created on first use (the main window's
// start-up makes the first use).
dao::Workspace &gWorkspace();
// Empties the registry and frees the workspace; the next use creates both anew
// (tests end with it, so that no connection outlives its data source).
void ReleaseWorkspace();
