#pragma once

// Data access over the ODBC C API: a workspace opens databases by connect text,
// a database runs statements, opens materialised snapshot recordsets and reads
// a result forward, a batch of rows at a time.

#include <QByteArrayView>
#include <QHash>
#include <QList>
#include <QString>
#include <QVariant>
#include <deque>
#include <functional>
#include <memory>
#include <vector>

#include "qnerror.h"

namespace dao {

// Field type codes, as the catalog code compares them.
enum FieldType : int {
    dbBoolean = 1,
    dbByte = 2,
    dbInteger = 3,
    dbLong = 4,
    dbCurrency = 5,
    dbSingle = 6,
    dbDouble = 7,
    dbDate = 8,
    dbBinary = 9,
    dbText = 10,
    dbLongBinary = 11,
    dbMemo = 12,
    dbGUID = 15,
    dbBigInt = 16,
    dbVarBinary = 17,
    dbChar = 18,
    dbNumeric = 19,
    dbDecimal = 20,
    dbFloat = 21,
    dbTime = 22,
    dbTimeStamp = 23,
};

enum RecordsetType : int { dbOpenDynaset = 2, dbOpenSnapshot = 4, dbOpenForwardOnly = 8 };

// One entry of the engine's error list.
struct Error
{
    long Number = 0;
    QString Description;
    QString Source;
    QString SQLState;
};

// The engine's error list (DBEngine.Errors): the diagnostics of the latest
// data-access call, followed by a final 3146 entry when an ODBC call failed.
// Every data-access call clears it first.
namespace Errors {
const QList<Error> &list();
int Count();
const Error &Item(int index);
void Clear();
void Set(QList<Error> errors); // for the data layer and tests
} // namespace Errors

struct FieldInfo
{
    QString Name;
    int Type = dbText;
    long Size = 0;
};

namespace detail {
struct RecordsetData
{
    std::vector<FieldInfo> fields;
    // The first column of each name: as described, and case-folded.
    QHash<QString, int> byName;
    QHash<QString, int> byFoldedName;
    std::deque<QVariant> cells; // row-major; grows without moving what it holds
    long rowCount = 0;
    long position = 0; // current row; -1 before the first, rowCount after the last
};
} // namespace detail

// One column of a recordset; Value reads the recordset's current row.
class Field
{
public:
    Field() = default;
    Field(std::shared_ptr<const detail::RecordsetData> data, int index) : m_data(std::move(data)), m_index(index) {}
    const QString &Name() const;
    int Type() const;
    long Size() const;
    const QVariant &Value() const; // 3021 without a current record
    QString Text() const { return Value().toString(); } // Null reads as empty

private:
    std::shared_ptr<const detail::RecordsetData> m_data;
    int m_index = 0;
};

// The columns of a recordset, by name (case-insensitive) or position (from 0).
class Fields
{
public:
    Fields() = default;
    explicit Fields(std::shared_ptr<const detail::RecordsetData> data) : m_data(std::move(data)) {}
    int Count() const;
    bool IsEmpty() const { return Count() == 0; }
    Field operator()(const QString &name) const; // 3265 when no such column
    Field operator()(int index) const;            // 9 when out of range
    Field operator[](const QString &name) const { return (*this)(name); }
    Field operator[](int index) const { return (*this)(index); }
    int IndexOf(const QString &name) const; // -1 when absent
    QList<FieldInfo> Info() const;

private:
    std::shared_ptr<const detail::RecordsetData> m_data;
};

// A snapshot: every row is read into memory when it opens.
class Recordset
{
public:
    explicit Recordset(std::shared_ptr<detail::RecordsetData> data);
    Recordset(const Recordset &) = delete;
    Recordset &operator=(const Recordset &) = delete;

    bool Eof() const { return m_data->position >= m_data->rowCount; }
    bool Bof() const { return m_data->position < 0 || m_data->rowCount == 0; }
    void MoveNext();
    void MovePrevious();
    void MoveFirst();
    void MoveLast();
    long RecordCount() const { return m_data->rowCount; }
    long AbsolutePosition() const { return (Bof() || Eof()) ? -1 : m_data->position; }
    void SetAbsolutePosition(long position);
    const Fields &GetFields() const { return m_fields; }
    Field operator()(const QString &name) const { return m_fields(name); }
    Field operator()(int index) const { return m_fields(index); }
    const QVariant &Value(const QString &name) const;
    const QVariant &Cell(long row, int column) const; // 9 when out of range
    void Close() {}

private:
    std::shared_ptr<detail::RecordsetData> m_data;
    Fields m_fields;
};

class Database;

// A forward-only read of one statement's result, a batch of rows at a time.
// The statement stays open (and the data source may hold a read lock) until
// the last row was read, the reader is closed, or its database closes; a
// reader keeps its database object alive.
class Reader
{
public:
    ~Reader();
    Reader(const Reader &) = delete;
    Reader &operator=(const Reader &) = delete;

    // The result's columns.
    const std::vector<FieldInfo> &Columns() const { return m_columns; }
    int ColumnCount() const { return int(m_columns.size()); }
    // Reads up to `maxRows` further rows and appends their cells, row after
    // row, to `cells`; returns the rows read, fewer than `maxRows` only at the
    // end. Fails with 3146 like any statement, and with 91 once the reader or
    // its database was closed before the end.
    long Fetch(long maxRows, std::deque<QVariant> &cells);
    // Reads the same rows as the driver's text, without a value made for each
    // cell: `row` gets each row's cells in turn, a Null cell as a null view,
    // valid while it runs (ValueOfText gives the value Fetch would give). For
    // a reader that writes the cells out as they come.
    long FetchText(long maxRows, const std::function<void(const QByteArrayView *cells)> &row);
    // True once the last row was read (the statement is then closed).
    bool AtEnd() const { return m_atEnd; }
    long RowsRead() const { return m_rowsRead; }
    // Ends the read early and frees the statement.
    void Close();

private:
    friend class Database;
    struct State;
    Reader(std::shared_ptr<Database> db, std::unique_ptr<State> state, std::vector<FieldInfo> columns);
    void release(); // frees the statement; the reader stays readable as closed
    // Reads up to `maxRows` rows with `readRow` (false at the end); the rows
    // read before a failure count as read.
    long fetchRows(long maxRows, const std::function<bool()> &readRow);

    std::shared_ptr<Database> m_db;
    std::unique_ptr<State> m_state;
    std::vector<FieldInfo> m_columns;
    long m_rowsRead = 0;
    bool m_atEnd = false;
};

// The value Fetch gives a cell of a column of `type` whose text FetchText gave
// as `text` (Null for a null view).
QVariant ValueOfText(int type, QByteArrayView text);

// A database closes its connection itself when the connection fails: after a
// failed commit or rollback (the outcome is unknown, and switching autocommit
// back on would commit), and after any call that fails with an SQLSTATE of
// class 08 (connection exception). The disconnect makes the data source roll
// back what was not committed; the error list keeps the failed call's
// diagnostics followed by a note that the connection was closed.
class Database : public std::enable_shared_from_this<Database>
{
public:
    ~Database();
    Database(const Database &) = delete;
    Database &operator=(const Database &) = delete;

    const QString &Name() const { return m_name; }
    const QString &Connect() const { return m_connect; }
    bool IsOpen() const { return m_dbc != nullptr; }

    std::unique_ptr<Recordset> OpenRecordset(const QString &sql, int type = dbOpenSnapshot);
    // The result's fields without its rows (no row is read).
    std::unique_ptr<Recordset> OpenFields(const QString &sql);
    // Runs a query and returns a forward-only reader of its result; no row is
    // read yet. Closing the database frees the statement of every reader open on it.
    std::unique_ptr<Reader> OpenReader(const QString &sql);
    void Execute(const QString &sql);
    long RecordsAffected() const { return m_recordsAffected; }

    // The driver's transaction support, unless IgnoreTransactionSupport is set.
    bool SupportsTransactions() const;
    bool InTransaction() const { return m_inTransaction; }
    void BeginTrans();
    void CommitTrans();
    void Rollback();

    void Close();

private:
    friend class Workspace;
    friend class Reader;
    Database(void *dbc, QString name, QString connect);
    // Runs `fn`; a failure of class 08 closes the connection before it passes on.
    template <class Fn>
    auto guarded(Fn &&fn) -> decltype(fn());
    void endTransaction(short completion, int faultCall);
    void closeAfterFailure();

    void *m_dbc = nullptr;
    QString m_name;
    QString m_connect;
    long m_recordsAffected = 0;
    bool m_txnCapable = false;
    bool m_inTransaction = false;
    unsigned m_getDataExtensions = 0; // SQL_GETDATA_EXTENSIONS of the driver
    std::vector<Reader *> m_readers;   // the readers whose statement is open
    void *m_executeStmt = nullptr;     // the statement handle Execute keeps
    bool m_executing = false;          // Execute's statement runs
};

using DatabasePtr = std::shared_ptr<Database>;

class Workspace
{
public:
    Workspace();
    ~Workspace();
    Workspace(const Workspace &) = delete;
    Workspace &operator=(const Workspace &) = delete;

    // The connect text as the system builds it: "ODBC;DSN=<name>;DATABASE=<x>".
    // Fails with 3059 when the driver reports a cancelled connect, 3146 otherwise.
    DatabasePtr OpenDatabase(const QString &name, int options, bool readOnly, const QString &connect);
    void Close();

private:
    void *m_env = nullptr;
};

// The value of a connect text's attribute, e.g. DSN; empty when absent.
QString ConnectAttribute(const QString &connect, const QString &key);

// Called after a database closed its connection because the connection failed
// (see Database); the connection registry forgets it there. One handler per
// process; nullptr removes it.
void SetClosedOnFailureHandler(std::function<void(const Database &)> handler);

// Runs every database as on a driver without transactions: SupportsTransactions
// is false and BeginTrans, CommitTrans and Rollback do nothing.
void IgnoreTransactionSupport(bool ignore);

// The fault hook: makes chosen data-access calls fail as the driver would fail
// them, without reaching the driver. Each fault counts the calls of its kind
// from the moment it is added; the `nth` one (1 = the next) fails with an error
// list of one diagnostic record (`sqlState`, `message`) and the final 3146
// entry, and raises 3146 like any failed ODBC call. A class 08 state on any
// call, or any state on a commit or rollback, closes the connection as a real
// failure would.
namespace Faults {
enum Call : int {
    Statement, // every statement sent: Execute, OpenRecordset, OpenFields, OpenReader
    Begin,     // BeginTrans switching autocommit off
    Commit,
    Rollback,
    Fetch, // every batch a Reader fetches
};
void Add(Call call, int nth, const QString &sqlState, const QString &message = {});
// Removes the faults not hit yet.
void Clear();
// The faults added and not hit yet.
int Pending();
} // namespace Faults

// Test seam: while set, every statement text sent (Execute, OpenRecordset,
// OpenFields, OpenReader) is handed to `observer` just before it goes to the
// driver. nullptr removes it.
void SetStatementObserver(std::function<void(const QString &sql)> observer);

} // namespace dao
