#pragma once

// The key rename writers: each gives one catalog row a
// new key, copies its other columns, and carries the new key into the rows
// that refer to it. One rename with its whole cascade runs as one transaction
// on the data source (where the driver has transactions): a failure rolls it
// back before the error dialog shows, named and described as by the writer
// that failed; Retry runs the whole rename again; Ignore returns false with
// the catalog unchanged, or, when the rollback itself failed, with the
// connection closed (the data source rolls back what was not committed; the
// dialog said so); Abort ends the program. Without transactions a new key that
// differs from the old one is checked to be free and written before the old
// row is deleted, so that a failure leaves every row under its old key, its
// new key or both; a Null in a walked row's key parts reads as '' or 0.
// A number copied from the old row is checked first (380 when it is not one).
// Every writer returns true when the rename was written; a caller that gets
// false stops (the user has seen the dialog).

#include <QString>
#include <QStringList>
#include <QVariant>
#include <functional>
#include <memory>

#include "dao.h"

namespace modUpdate {

// QN_FILE row OldFile as NewFile; QN_TABLE.FILE_NAME follows; each field through UpdateField.
bool UpdateFile(const QString &ds, const QString &OldFile, const QString &NewFile);
// QN_FIELD row (OldFile, OldField) as (NewFile, NewField) with OFFSET = Offset; the
// columns bound to it in the tables over the file (each in its own database) follow.
bool UpdateField(const QString &ds, const QString &OldFile, const QString &NewFile, const QString &OldField,
                 const QString &NewField, qint32 Offset);
// QN_DB row OldDb as NewDb (DISPLAY_NAME NewDb); its tables through UpdateTable, then its
// database privileges through UpdateDBPRV.
bool UpdateDatabase(const QString &ds, const QString &OldDb, const QString &NewDb);
// QN_TABLE row as (NewDb, NewTable) (DISPLAY_NAME NewTable); its columns through
// UpdateColumn, then its table privileges through UpdateTBLPRV.
bool UpdateTable(const QString &ds, const QString &OldDb, const QString &NewDb, const QString &OldTable,
                 const QString &NewTable);
// QN_COLUMN row as (NewDb, NewTable, NewColumn) with the given type, number and field.
bool UpdateColumn(const QString &ds, const QString &OldDb, const QString &NewDb, const QString &OldTable,
                  const QString &NewTable, const QString &OldColumn, const QString &NewColumn, qint32 COLUMN_TYPE,
                  qint32 COLUMN_NUMBER, const QString &FIELD_NAME);
// QN_USER row OldUser as NewUser with an empty password; its database privileges through UpdateDBPRV.
bool UpdateUser(const QString &ds, const QString &OldUser, const QString &NewUser);
// QN_DBPRV row as (NewDb, NewUser); the user's table privileges in OldDb through UpdateTBLPRV.
bool UpdateDBPRV(const QString &ds, const QString &OldDb, const QString &NewDb, const QString &OldUser,
                 const QString &NewUser);
// QN_TBLPRV row as (NewUser, NewDb, NewTable).
bool UpdateTBLPRV(const QString &ds, const QString &OldDb, const QString &NewDb, const QString &OldTable,
                  const QString &NewTable, const QString &OldUser, const QString &NewUser);

// Runs `body` as one unit on the data source: the writers it calls, and any
// statement it runs on the data source's database, share one transaction.
// Every catalog change that writes several statements (an editor's save, a
// grid row's re-key, a copy, an import, a reorder) runs its statements here, on
// `gConnections().Item(ds)->db`, looked up inside the body. A failure ends the
// body at once (a writer inside never returns false: its failure passes up
// through the body, which must not catch it), rolls back and shows the error
// dialog: under the failing writer's name and statements, or `routine` and
// `additionalInfo` for the body's own failures. Retry runs the body again
// (connecting again when the connection was lost); Ignore returns false. False
// without a dialog when the data source cannot be connected (that was reported
// already).
//
// A unit belongs to its data source. Inside the body, a writer or RunUnit of
// the same data source joins the unit; one of another data source runs as a
// unit of its own and commits on its own (between two data sources no
// transaction spans both). A catalog change started from an event while a unit
// runs (the body yields to the event loop) is refused: a beep, false, nothing
// written.
bool RunUnit(const QString &ds, const QString &routine, const std::function<void()> &body,
             const QString &additionalInfo = QStringLiteral("None"));

// Inside a RunUnit body: runs one statement of the body's own on the unit's
// database. The statement is recorded with the writers' statements
// (LastStatements), and should the body fail after it was built, the error
// dialog shows it as the additional information instead of RunUnit's
// `additionalInfo`. Outside a unit it fails with 91 before anything runs.
// Returns the number of rows the statement changed (-1 when the driver does
// not say).
long UnitExecute(const QString &sql);
// Inside a RunUnit body: reads `sql` as a snapshot on the unit's database,
// recorded and reported as UnitExecute's statements are.
std::unique_ptr<dao::Recordset> UnitOpen(const QString &sql);
// Inside a RunUnit body: runs `sql`, an UPDATE or DELETE of rows that must be
// there, and fails with 3021 (no current record) when it changed no row: the
// row was deleted meanwhile (by another connection). Returns the rows changed.
long UnitExecuteFound(const QString &sql);
// Inside a RunUnit body: reads `sql`, the row a change depends on (the parent
// an add goes under), and fails with 3021 when it finds none, so that nothing
// is written under a parent deleted meanwhile.
void UnitRequireRow(const QString &sql);
// Inside a RunUnit body: reads `sql` and fails with 3021 unless each of
// `rows` is among the rows it finds: the values of `columns`, in order, as
// they were read before (a Null equals only a Null). So a change goes ahead
// only on rows as they were read: a row another connection deleted or changed
// meanwhile is neither deleted nor copied over.
void UnitRequireRows(const QString &sql, const QStringList &columns, const QList<QVariantList> &rows);
// Inside a RunUnit body: runs `insert`, a statement that adds rows, as
// UnitExecute does, with `undo`, the DELETE of exactly those rows. Where the
// unit has no transaction (the driver has none), a failure of the body runs
// the DELETEs of the inserts that succeeded, newest first, before the error
// dialog shows (see LastUnitUndone, LastUnitDeletedAgain). A DELETE that
// fails itself is passed over (the others still run) and its diagnostics
// follow the failure's in the error dialog. Inside a transaction `undo` is not
// run: the rollback undoes the insert.
long UnitInsert(const QString &insert, const QString &undo);
// Inside a RunUnit body: runs `del`, a DELETE of rows read before, as
// UnitExecute does, with `undo`, the INSERTs that put those rows back as they
// were read. Where the unit has no transaction, a failure of the body runs
// them with UnitInsert's DELETEs, newest first, so that what the body deleted
// is there again; inside a transaction the rollback puts the rows back.
long UnitDelete(const QString &del, const QStringList &undo);

// True while a unit runs (until RunUnit or the writer returns: its error
// dialog and every Retry included), while an error dialog is up, or while a
// WorkInProgress lives: work that yields to the event loop outside its unit
// (an import checking its file). The main window does not close meanwhile.
bool UnitRunning();
class WorkInProgress
{
public:
    WorkInProgress();
    ~WorkInProgress();
    WorkInProgress(const WorkInProgress &) = delete;
    WorkInProgress &operator=(const WorkInProgress &) = delete;
};

// The statements, queries included, that the latest rename or unit ran, in
// order (its last attempt; rolled back or not).
QStringList LastStatements();
// After the latest unit: false only when it failed and left some of what it
// wrote in the catalog: without a transaction, a statement was written without
// an undo (UnitExecute, the writers), or an undo statement failed too.
bool LastUnitUndone();
// After the latest unit: true only when it failed without a transaction and
// deleted again every row its UnitInserts had written (there was at least one),
// and put back every row its UnitDeletes had deleted.
bool LastUnitDeletedAgain();

} // namespace modUpdate
