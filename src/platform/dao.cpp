#include "dao.h"

#include <sql.h>
#include <sqlext.h>

#include <QDate>
#include <QDateTime>
#include <QTime>
#include <algorithm>
#include <charconv>
#include <cstring>
#include <optional>
#include <utility>

namespace dao {

// ---------------------------------------------------------------- error list

namespace {
QList<Error> &errorList()
{
    static QList<Error> list;
    return list;
}
} // namespace

namespace Errors {
const QList<Error> &list() { return errorList(); }
int Count() { return int(errorList().size()); }
const Error &Item(int index)
{
    if (index < 0 || index >= errorList().size())
        qnerr::raise(qnerr::SubscriptOutOfRange);
    return errorList().at(index);
}
void Clear() { errorList().clear(); }
void Set(QList<Error> errors) { errorList() = std::move(errors); }
} // namespace Errors

namespace {

QByteArray utf8(const QString &text) { return text.toUtf8(); }

// Reads every diagnostic record of a handle, never cutting a message.
QList<Error> diagnostics(SQLSMALLINT handleType, SQLHANDLE handle)
{
    QList<Error> list;
    for (SQLSMALLINT rec = 1;; ++rec) {
        SQLCHAR state[6] = {};
        SQLINTEGER native = 0;
        std::vector<SQLCHAR> message(1024);
        SQLSMALLINT length = 0;
        SQLRETURN rc = SQLGetDiagRec(handleType, handle, rec, state, &native, message.data(),
                                     SQLSMALLINT(message.size()), &length);
        if (rc == SQL_SUCCESS_WITH_INFO && length >= SQLSMALLINT(message.size())) {
            message.resize(size_t(length) + 1);
            rc = SQLGetDiagRec(handleType, handle, rec, state, &native, message.data(),
                               SQLSMALLINT(message.size()), &length);
        }
        if (!SQL_SUCCEEDED(rc))
            break;
        Error e;
        e.Number = native;
        e.SQLState = QString::fromLatin1(reinterpret_cast<const char *>(state));
        e.Description = QString::fromUtf8(reinterpret_cast<const char *>(message.data()),
                                          qMin<int>(length, int(message.size()) - 1));
        e.Source = QStringLiteral("ODBC");
        list.append(e);
    }
    return list;
}

// The error list of a failed call: its diagnostics and the final 3146 entry.
void setFailure(QList<Error> list)
{
    list.append(Error{qnerr::OdbcCallFailed, qnerr::standardDescription(qnerr::OdbcCallFailed),
                      QStringLiteral("qnadmin.Database"), {}});
    Errors::Set(std::move(list));
}

[[noreturn]] void odbcFailure(SQLSMALLINT handleType, SQLHANDLE handle)
{
    setFailure(handle ? diagnostics(handleType, handle) : QList<Error>{});
    qnerr::raise(qnerr::OdbcCallFailed);
}

void check(SQLRETURN rc, SQLSMALLINT handleType, SQLHANDLE handle)
{
    if (!SQL_SUCCEEDED(rc) && rc != SQL_NO_DATA)
        odbcFailure(handleType, handle);
}

// A connection exception: the connection is gone or its state is unknown.
bool connectionFailed(const QList<Error> &errors)
{
    for (const Error &e : errors)
        if (e.SQLState.startsWith(QLatin1String("08")))
            return true;
    return false;
}

// ---------------------------------------------------------------- fault hook

struct Fault
{
    Faults::Call call;
    int remaining;
    QString sqlState;
    QString message;
};

std::vector<Fault> &faults()
{
    static std::vector<Fault> list;
    return list;
}

// Counts one call of `call`; true, with the error list set, when a fault hits it.
bool faultHits(Faults::Call call)
{
    auto &list = faults();
    if (list.empty())
        return false;
    std::optional<Fault> hit;
    for (auto it = list.begin(); it != list.end();) {
        if (it->call == call && --it->remaining <= 0) {
            if (!hit)
                hit = *it;
            it = list.erase(it);
        } else {
            ++it;
        }
    }
    if (!hit)
        return false;
    const QString message =
        hit->message.isEmpty() ? QStringLiteral("Injected fault (SQLSTATE %1)").arg(hit->sqlState) : hit->message;
    setFailure({Error{0, message, QStringLiteral("ODBC"), hit->sqlState}});
    return true;
}

std::function<void(const Database &)> &closedOnFailureHandler()
{
    static std::function<void(const Database &)> handler;
    return handler;
}

bool g_ignoreTransactionSupport = false;

std::function<void(const QString &)> &statementObserver()
{
    static std::function<void(const QString &)> observer;
    return observer;
}

// A statement handle freed on every way out.
class Statement
{
public:
    explicit Statement(SQLHDBC dbc)
    {
        if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_STMT, dbc, &m_stmt)))
            odbcFailure(SQL_HANDLE_DBC, dbc);
    }
    ~Statement()
    {
        if (m_stmt != SQL_NULL_HSTMT)
            SQLFreeHandle(SQL_HANDLE_STMT, m_stmt);
    }
    Statement(const Statement &) = delete;
    Statement &operator=(const Statement &) = delete;
    SQLHSTMT get() const { return m_stmt; }
    // Hands the handle over to the caller, who frees it.
    SQLHSTMT release() { return std::exchange(m_stmt, SQLHSTMT(SQL_NULL_HSTMT)); }
    void execDirect(const QString &sql) { execDirectOn(m_stmt, sql); }
    static void execDirectOn(SQLHSTMT stmt, const QString &sql)
    {
        if (const auto &observer = statementObserver())
            observer(sql);
        if (faultHits(Faults::Statement))
            qnerr::raise(qnerr::OdbcCallFailed);
        QByteArray text = utf8(sql);
        SQLRETURN rc = SQLExecDirect(stmt, reinterpret_cast<SQLCHAR *>(text.data()), SQLINTEGER(text.size()));
        check(rc, SQL_HANDLE_STMT, stmt);
    }

private:
    SQLHSTMT m_stmt = SQL_NULL_HSTMT;
};

int fieldTypeOf(SQLSMALLINT sqlType)
{
    switch (sqlType) {
    case SQL_BIT: return dbBoolean;
    case SQL_TINYINT: return dbByte;
    case SQL_SMALLINT: return dbInteger;
    case SQL_INTEGER: return dbLong;
    case SQL_BIGINT: return dbBigInt;
    case SQL_REAL: return dbSingle;
    case SQL_FLOAT: return dbDouble;
    case SQL_DOUBLE: return dbDouble;
    case SQL_NUMERIC: return dbNumeric;
    case SQL_DECIMAL: return dbDecimal;
    case SQL_DATE:
    case SQL_TYPE_DATE: return dbDate;
    case SQL_TIME:
    case SQL_TYPE_TIME: return dbTime;
    case SQL_TIMESTAMP:
    case SQL_TYPE_TIMESTAMP: return dbTimeStamp;
    case SQL_CHAR:
    case SQL_WCHAR: return dbChar;
    case SQL_VARCHAR:
    case SQL_WVARCHAR: return dbText;
    case SQL_LONGVARCHAR:
    case SQL_WLONGVARCHAR: return dbMemo;
    case SQL_GUID: return dbGUID;
    case SQL_BINARY: return dbBinary;
    case SQL_VARBINARY: return dbVarBinary;
    case SQL_LONGVARBINARY: return dbLongBinary;
    default: return dbText;
    }
}

bool isBinary(int type) { return type == dbBinary || type == dbVarBinary || type == dbLongBinary; }

// Turns a cell read as text into the value its column type asks for; a text
// that does not parse stays text.
QVariant typedValue(int type, const char *text, size_t length)
{
    switch (type) {
    case dbBoolean:
    case dbByte:
    case dbInteger:
    case dbLong:
    case dbBigInt: {
        long long v = 0;
        auto [end, ec] = std::from_chars(text, text + length, v);
        if (ec == std::errc() && end == text + length) {
            if (type == dbBoolean)
                return QVariant(v != 0);
            if (type == dbBigInt || v > INT32_MAX || v < INT32_MIN)
                return QVariant(qlonglong(v));
            return QVariant(int(v));
        }
        bool ok = false;
        double d = QByteArray::fromRawData(text, qsizetype(length)).toDouble(&ok);
        if (ok)
            return QVariant(d);
        break;
    }
    case dbCurrency:
    case dbSingle:
    case dbDouble:
    case dbNumeric:
    case dbDecimal:
    case dbFloat: {
        bool ok = false;
        double d = QByteArray::fromRawData(text, qsizetype(length)).toDouble(&ok);
        if (ok)
            return QVariant(d);
        break;
    }
    case dbDate: {
        QDate d = QDate::fromString(QString::fromLatin1(text, qsizetype(length)).left(10), Qt::ISODate);
        if (d.isValid())
            return QVariant(d);
        break;
    }
    case dbTime: {
        QTime t = QTime::fromString(QString::fromLatin1(text, qsizetype(length)), Qt::ISODate);
        if (t.isValid())
            return QVariant(t);
        break;
    }
    case dbTimeStamp: {
        QDateTime t = QDateTime::fromString(QString::fromLatin1(text, qsizetype(length)), Qt::ISODate);
        if (t.isValid())
            return QVariant(t);
        break;
    }
    default:
        if (isBinary(type))
            return QVariant(QByteArray(text, qsizetype(length)));
        break;
    }
    return QVariant(QString::fromUtf8(text, qsizetype(length)));
}

// Columns up to this size are bound; longer ones are read with SQLGetData.
constexpr SQLULEN kBindLimit = 4096;

} // namespace

// ---------------------------------------------------------------- fields

const QString &Field::Name() const
{
    if (!m_data)
        qnerr::raise(qnerr::ObjectNotSet);
    return m_data->fields[size_t(m_index)].Name;
}

int Field::Type() const
{
    if (!m_data)
        qnerr::raise(qnerr::ObjectNotSet);
    return m_data->fields[size_t(m_index)].Type;
}

long Field::Size() const
{
    if (!m_data)
        qnerr::raise(qnerr::ObjectNotSet);
    return m_data->fields[size_t(m_index)].Size;
}

const QVariant &Field::Value() const
{
    if (!m_data)
        qnerr::raise(qnerr::ObjectNotSet);
    if (m_data->position < 0 || m_data->position >= m_data->rowCount)
        qnerr::raise(qnerr::NoCurrentRecord);
    return m_data->cells[size_t(m_data->position) * m_data->fields.size() + size_t(m_index)];
}

int Fields::Count() const { return m_data ? int(m_data->fields.size()) : 0; }

int Fields::IndexOf(const QString &name) const
{
    if (!m_data)
        return -1;
    const int exact = m_data->byName.value(name, -1);
    return exact >= 0 ? exact : m_data->byFoldedName.value(name.toCaseFolded(), -1);
}

Field Fields::operator()(const QString &name) const
{
    int index = IndexOf(name);
    if (index < 0)
        throw QnError(3265, QStringLiteral("Item not found in this collection."));
    return Field(m_data, index);
}

Field Fields::operator()(int index) const
{
    if (index < 0 || index >= Count())
        qnerr::raise(qnerr::SubscriptOutOfRange);
    return Field(m_data, index);
}

QList<FieldInfo> Fields::Info() const
{
    QList<FieldInfo> list;
    if (m_data)
        list = QList<FieldInfo>(m_data->fields.begin(), m_data->fields.end());
    return list;
}

// ---------------------------------------------------------------- recordset

Recordset::Recordset(std::shared_ptr<detail::RecordsetData> data) : m_data(std::move(data)), m_fields(m_data)
{
    m_data->position = 0;
}

void Recordset::MoveNext()
{
    if (Eof())
        qnerr::raise(qnerr::NoCurrentRecord);
    ++m_data->position;
}

void Recordset::MovePrevious()
{
    if (Bof())
        qnerr::raise(qnerr::NoCurrentRecord);
    --m_data->position;
}

void Recordset::MoveFirst()
{
    if (m_data->rowCount == 0)
        qnerr::raise(qnerr::NoCurrentRecord);
    m_data->position = 0;
}

void Recordset::MoveLast()
{
    if (m_data->rowCount == 0)
        qnerr::raise(qnerr::NoCurrentRecord);
    m_data->position = m_data->rowCount - 1;
}

void Recordset::SetAbsolutePosition(long position)
{
    if (position < 0 || position >= m_data->rowCount)
        qnerr::raise(qnerr::NoCurrentRecord);
    m_data->position = position;
}

const QVariant &Recordset::Value(const QString &name) const { return m_fields(name).Value(); }

const QVariant &Recordset::Cell(long row, int column) const
{
    if (row < 0 || row >= m_data->rowCount || column < 0 || size_t(column) >= m_data->fields.size())
        qnerr::raise(qnerr::SubscriptOutOfRange);
    return m_data->cells[size_t(row) * m_data->fields.size() + size_t(column)];
}

// ---------------------------------------------------------------- database

Database::Database(void *dbc, QString name, QString connect)
    : m_dbc(dbc), m_name(std::move(name)), m_connect(std::move(connect))
{
    SQLUSMALLINT txn = SQL_TC_NONE;
    if (SQL_SUCCEEDED(SQLGetInfo(static_cast<SQLHDBC>(m_dbc), SQL_TXN_CAPABLE, &txn, sizeof txn, nullptr)))
        m_txnCapable = txn != SQL_TC_NONE;
    SQLUINTEGER getData = 0;
    if (SQL_SUCCEEDED(SQLGetInfo(static_cast<SQLHDBC>(m_dbc), SQL_GETDATA_EXTENSIONS, &getData, sizeof getData,
                                 nullptr)))
        m_getDataExtensions = getData;
}

Database::~Database() { Close(); }

bool Database::SupportsTransactions() const { return m_txnCapable && !g_ignoreTransactionSupport; }

void Database::Close()
{
    if (!m_dbc)
        return;
    // The readers' statements go before the connection that holds them.
    for (Reader *reader : std::exchange(m_readers, {}))
        reader->release();
    if (const auto stmt = static_cast<SQLHSTMT>(std::exchange(m_executeStmt, nullptr)))
        SQLFreeHandle(SQL_HANDLE_STMT, stmt);
    auto dbc = static_cast<SQLHDBC>(m_dbc);
    if (m_inTransaction) {
        SQLEndTran(SQL_HANDLE_DBC, dbc, SQL_ROLLBACK);
        m_inTransaction = false;
    }
    // A driver refuses to disconnect inside a transaction it could not roll
    // back; the handle is then left to the driver rather than committed.
    if (SQL_SUCCEEDED(SQLDisconnect(dbc)))
        SQLFreeHandle(SQL_HANDLE_DBC, dbc);
    m_dbc = nullptr;
}

void Database::closeAfterFailure()
{
    if (!m_dbc)
        return;
    const auto self = weak_from_this().lock(); // the handler may drop the last other owner
    QList<Error> list = Errors::list();
    const QString note = m_inTransaction
                             ? QStringLiteral("The connection to %1 was closed, so the data source rolls back what "
                                              "it had not committed. The next use connects again.")
                             : QStringLiteral("The connection to %1 was closed. The next use connects again.");
    Close();
    const qsizetype at = !list.isEmpty() && list.last().Number == qnerr::OdbcCallFailed ? list.size() - 1 : list.size();
    list.insert(at, Error{0, note.arg(m_name), QStringLiteral("qnadmin.Database"), {}});
    Errors::Set(std::move(list));
    if (const auto &handler = closedOnFailureHandler())
        handler(*this);
}

template <class Fn>
auto Database::guarded(Fn &&fn) -> decltype(fn())
{
    try {
        return fn();
    } catch (const QnError &e) {
        if (e.Number() == qnerr::OdbcCallFailed && connectionFailed(Errors::list()))
            closeAfterFailure();
        throw;
    }
}

static SQLHDBC openHandle(void *dbc)
{
    if (!dbc)
        qnerr::raise(qnerr::ObjectNotSet);
    return static_cast<SQLHDBC>(dbc);
}

void Database::Execute(const QString &sql)
{
    Errors::Clear();
    guarded([&] {
        const SQLHDBC dbc = openHandle(m_dbc);
        const auto run = [&](SQLHSTMT stmt) {
            Statement::execDirectOn(stmt, sql);
            SQLLEN rows = 0;
            if (SQL_SUCCEEDED(SQLRowCount(stmt, &rows)))
                m_recordsAffected = long(rows);
        };
        if (m_executing) { // a statement sent while one runs (by the statement observer)
            Statement stmt(dbc);
            run(stmt.get());
            return;
        }
        // One statement handle serves every Execute: allocating one costs
        // about as much as running a short INSERT.
        if (!m_executeStmt)
            m_executeStmt = Statement(dbc).release();
        const auto stmt = static_cast<SQLHSTMT>(m_executeStmt);
        struct Done
        {
            Database &db;
            SQLHSTMT stmt;
            ~Done()
            {
                db.m_executing = false;
                if (db.m_executeStmt == stmt) // not freed by a Close meanwhile
                    SQLFreeStmt(stmt, SQL_CLOSE);
            }
        } done{*this, stmt};
        m_executing = true;
        run(stmt);
    });
}

namespace {

// How the columns of a result may be read.
struct ReadMode
{
    bool bind = true;          // bind the short columns
    bool bindPastLong = false; // SQLGetData may read a column before a bound one
    bool reReadBound = false;  // SQLGetData may read a bound column again
};

ReadMode readMode(unsigned getDataExtensions)
{
    ReadMode mode;
    mode.bindPastLong = getDataExtensions & SQL_GD_ANY_COLUMN;
    mode.reReadBound = (getDataExtensions & SQL_GD_BOUND) && (getDataExtensions & SQL_GD_ANY_COLUMN);
    return mode;
}

// Reads column `c` of the current row whole with SQLGetData, in pieces of
// `buffer`'s size; false for Null.
bool readWhole(SQLHSTMT h, SQLUSMALLINT c, int type, std::vector<char> &buffer, std::string &value)
{
    value.clear();
    const SQLSMALLINT cType = isBinary(type) ? SQL_C_BINARY : SQL_C_CHAR;
    // A character piece ends with a terminator that is not part of the value.
    const size_t room = cType == SQL_C_CHAR ? buffer.size() - 1 : buffer.size();
    for (;;) {
        SQLLEN indicator = 0;
        const SQLRETURN rc = SQLGetData(h, c, cType, buffer.data(), SQLLEN(buffer.size()), &indicator);
        if (rc == SQL_NO_DATA)
            return true;
        check(rc, SQL_HANDLE_STMT, h);
        if (indicator == SQL_NULL_DATA)
            return false;
        const size_t got = (indicator == SQL_NO_TOTAL || size_t(indicator) > room) ? room : size_t(indicator);
        value.append(buffer.data(), got);
        if (rc == SQL_SUCCESS)
            return true;
    }
}

void describeColumns(SQLHSTMT h, detail::RecordsetData &data)
{
    SQLSMALLINT columns = 0;
    check(SQLNumResultCols(h, &columns), SQL_HANDLE_STMT, h);
    data.fields.clear();
    data.fields.reserve(size_t(columns));
    data.byName.clear();
    data.byFoldedName.clear();
    std::vector<SQLCHAR> name(256);
    for (SQLSMALLINT c = 1; c <= columns; ++c) {
        SQLSMALLINT nameLength = 0, sqlType = 0, digits = 0, nullable = 0;
        SQLULEN size = 0;
        for (;;) {
            check(SQLDescribeCol(h, SQLUSMALLINT(c), name.data(), SQLSMALLINT(name.size()), &nameLength, &sqlType,
                                 &size, &digits, &nullable),
                  SQL_HANDLE_STMT, h);
            // Never cut a name: a driver may report the length it copied, so
            // a full buffer is tried again twice as large.
            if (size_t(nameLength) + 1 < name.size() || name.size() >= 16384)
                break;
            name.resize(name.size() * 2);
        }
        FieldInfo info;
        info.Name = QString::fromUtf8(reinterpret_cast<const char *>(name.data()), nameLength);
        info.Type = fieldTypeOf(sqlType);
        info.Size = long(qMin<SQLULEN>(size, SQLULEN(INT32_MAX)));
        data.fields.push_back(std::move(info));
    }
    // Names compare without regard to case, the first column of a name
    // winning; a name asked for as described is found without folding it.
    for (size_t i = 0; i < data.fields.size(); ++i) {
        const QString folded = data.fields[i].Name.toCaseFolded();
        if (!data.byFoldedName.contains(folded))
            data.byFoldedName.insert(folded, int(i));
    }
    for (const FieldInfo &f : data.fields)
        if (!data.byName.contains(f.Name))
            data.byName.insert(f.Name, data.byFoldedName.value(f.Name.toCaseFolded()));
}

// Reads the rows of an executed statement one at a time, appending their
// cells. The short columns are bound; a bound value longer than its column's
// declared size is read again whole where the driver allows it, else the row
// cannot be read bound (Unbound) and the caller reads again without binding.
class RowFetcher
{
public:
    enum class Outcome { Row, End, Unbound };

    RowFetcher(SQLHSTMT h, const std::vector<FieldInfo> &fields, ReadMode mode) : m_h(h), m_fields(fields)
    {
        const size_t columns = fields.size();
        m_bound = std::vector<Bound>(columns);
        // Bind the short columns. Without SQL_GD_ANY_COLUMN a driver allows
        // SQLGetData only after the last bound column, so binding then stops at
        // the first long one.
        for (size_t i = 0; mode.bind && i < columns; ++i) {
            const FieldInfo &info = fields[i];
            const SQLULEN size = SQLULEN(info.Size);
            if (size == 0 || size > kBindLimit || isBinary(info.Type)) {
                if (mode.bindPastLong)
                    continue;
                break;
            }
            Bound &b = m_bound[i];
            // Room for digits of numbers, four bytes a character of text, and the terminator.
            b.buffer.resize(qMax<size_t>(size * 4 + 1, 64));
            check(SQLBindCol(h, SQLUSMALLINT(i + 1), SQL_C_CHAR, b.buffer.data(), SQLLEN(b.buffer.size()),
                             &b.indicator),
                  SQL_HANDLE_STMT, h);
            b.bound = true;
        }
        m_reReadBound = mode.reReadBound;
    }

    // Fetches one row and appends its cells (after Unbound, none).
    Outcome next(std::deque<QVariant> &cells)
    {
        const Outcome outcome = nextText();
        if (outcome != Outcome::Row)
            return outcome;
        for (size_t i = 0; i < m_fields.size(); ++i) {
            const QByteArrayView text = m_text[i];
            Bound &b = m_bound[i];
            const int type = m_fields[i].Type;
            if (text.isNull()) {
                cells.emplace_back();
            } else if (b.bound && text.data() == b.buffer.data()) {
                const size_t length = size_t(text.size());
                if (!b.hasLast || b.lastBytes.size() != length ||
                    memcmp(b.lastBytes.data(), text.data(), length) != 0) {
                    b.lastBytes.assign(text.data(), length);
                    b.lastValue = typedValue(type, text.data(), length);
                    b.hasLast = true;
                }
                cells.push_back(b.lastValue);
            } else {
                cells.push_back(typedValue(type, text.data(), size_t(text.size())));
            }
        }
        return Outcome::Row;
    }

    // Fetches one row and points text() at its cells' text (a Null cell
    // null), valid until the next fetch.
    Outcome nextText()
    {
        std::vector<QByteArrayView> &cells = m_text;
        const SQLRETURN rc = SQLFetch(m_h);
        if (rc == SQL_NO_DATA)
            return Outcome::End;
        check(rc, SQL_HANDLE_STMT, m_h);
        const size_t columns = m_fields.size();
        cells.resize(columns);
        m_wholeValues.resize(columns);
        for (size_t i = 0; i < columns; ++i) {
            const Bound &b = m_bound[i];
            if (b.bound && b.indicator == SQL_NULL_DATA) {
                cells[i] = QByteArrayView();
            } else if (b.bound && b.indicator >= 0 && size_t(b.indicator) < b.buffer.size()) {
                cells[i] = QByteArrayView(b.buffer.data(), qsizetype(b.indicator));
            } else if (b.bound && !m_reReadBound) {
                return Outcome::Unbound;
            } else {
                // Unbound, or longer than declared: read whole.
                std::string &whole = m_wholeValues[i];
                cells[i] = readWhole(m_h, SQLUSMALLINT(i + 1), m_fields[i].Type, m_longBuffer, whole)
                               ? QByteArrayView(whole.data(), qsizetype(whole.size()))
                               : QByteArrayView();
            }
        }
        return Outcome::Row;
    }
    const QByteArrayView *text() const { return m_text.data(); }

private:
    struct Bound
    {
        std::vector<char> buffer;
        SQLLEN indicator = 0;
        bool bound = false;
        // The previous row's value: catalog columns repeat (a file's name on
        // each of its fields), and an equal value shares its text.
        std::string lastBytes;
        QVariant lastValue;
        bool hasLast = false;
    };

    SQLHSTMT m_h;
    const std::vector<FieldInfo> &m_fields;
    std::vector<Bound> m_bound; // never resized once bound: the driver writes into the buffers
    bool m_reReadBound = false;
    std::vector<char> m_longBuffer = std::vector<char>(8192);
    std::vector<std::string> m_wholeValues; // the cells of a row read whole
    std::vector<QByteArrayView> m_text;     // the row fetched last, as text
};

// Reads the result of an executed statement into `data`: the columns' metadata,
// then (unless `fieldsOnly`) every row. False when a row could not be read
// bound (RowFetcher::Outcome::Unbound).
bool readResult(SQLHSTMT h, detail::RecordsetData &data, ReadMode mode, bool fieldsOnly)
{
    describeColumns(h, data);
    if (fieldsOnly)
        return true;
    RowFetcher fetcher(h, data.fields, mode);
    for (;;) {
        switch (fetcher.next(data.cells)) {
        case RowFetcher::Outcome::End: return true;
        case RowFetcher::Outcome::Unbound: return false;
        case RowFetcher::Outcome::Row: ++data.rowCount; break;
        }
    }
}

} // namespace

std::unique_ptr<Recordset> Database::OpenRecordset(const QString &sql, int /*type*/)
{
    Errors::Clear();
    auto data = std::make_shared<detail::RecordsetData>();
    guarded([&] {
        ReadMode mode = readMode(m_getDataExtensions);
        for (;;) {
            Statement stmt(openHandle(m_dbc));
            stmt.execDirect(sql);
            if (readResult(stmt.get(), *data, mode, false) || !mode.bind)
                break;
            *data = detail::RecordsetData();
            mode.bind = false;
        }
    });
    return std::make_unique<Recordset>(std::move(data));
}

std::unique_ptr<Recordset> Database::OpenFields(const QString &sql)
{
    Errors::Clear();
    auto data = std::make_shared<detail::RecordsetData>();
    guarded([&] {
        Statement stmt(openHandle(m_dbc));
        stmt.execDirect(sql);
        readResult(stmt.get(), *data, ReadMode{}, true);
    });
    return std::make_unique<Recordset>(std::move(data));
}

// ---------------------------------------------------------------- reader

struct Reader::State
{
    SQLHSTMT stmt = SQL_NULL_HSTMT;
    std::unique_ptr<RowFetcher> fetcher; // binds into itself: made once, never moved
};

Reader::Reader(std::shared_ptr<Database> db, std::unique_ptr<State> state, std::vector<FieldInfo> columns)
    : m_db(std::move(db)), m_state(std::move(state)), m_columns(std::move(columns))
{
}

Reader::~Reader() { Close(); }

void Reader::release()
{
    if (m_state && m_state->stmt != SQL_NULL_HSTMT) {
        m_state->fetcher.reset();
        SQLFreeHandle(SQL_HANDLE_STMT, m_state->stmt);
        m_state->stmt = SQL_NULL_HSTMT;
    }
}

void Reader::Close()
{
    if (!m_state || m_state->stmt == SQL_NULL_HSTMT)
        return;
    auto &open = m_db->m_readers;
    open.erase(std::remove(open.begin(), open.end(), this), open.end());
    release();
}

long Reader::fetchRows(long maxRows, const std::function<bool()> &readRow)
{
    Errors::Clear();
    if (m_atEnd)
        return 0;
    if (!m_state || m_state->stmt == SQL_NULL_HSTMT)
        qnerr::raise(qnerr::ObjectNotSet);
    long rows = 0;
    try {
        m_db->guarded([&] {
            if (faultHits(Faults::Fetch))
                qnerr::raise(qnerr::OdbcCallFailed);
            while (rows < maxRows) {
                if (!readRow()) {
                    m_atEnd = true;
                    break;
                }
                ++rows;
            }
        });
    } catch (...) {
        m_rowsRead += rows;
        throw;
    }
    m_rowsRead += rows;
    if (m_atEnd)
        Close();
    return rows;
}

// A row of the reader's fetcher: false at the end.
static bool fetched(RowFetcher::Outcome outcome)
{
    if (outcome == RowFetcher::Outcome::Unbound) // never: a reader binds only re-readable columns
        qnerr::raise(qnerr::InternalError, QStringLiteral("A row could not be read."));
    return outcome == RowFetcher::Outcome::Row;
}

long Reader::Fetch(long maxRows, std::deque<QVariant> &cells)
{
    const size_t before = cells.size();
    const long rowsBefore = m_rowsRead;
    try {
        return fetchRows(maxRows, [&] { return fetched(m_state->fetcher->next(cells)); });
    } catch (...) {
        // No part of the failed row stays.
        cells.resize(before + size_t(m_rowsRead - rowsBefore) * m_columns.size());
        throw;
    }
}

long Reader::FetchText(long maxRows, const std::function<void(const QByteArrayView *cells)> &row)
{
    return fetchRows(maxRows, [&] {
        RowFetcher &fetcher = *m_state->fetcher;
        if (!fetched(fetcher.nextText()))
            return false;
        row(fetcher.text());
        return true;
    });
}

QVariant ValueOfText(int type, QByteArrayView text)
{
    return text.isNull() ? QVariant() : typedValue(type, text.data(), size_t(text.size()));
}

std::unique_ptr<Reader> Database::OpenReader(const QString &sql)
{
    Errors::Clear();
    std::unique_ptr<Reader> reader;
    guarded([&] {
        Statement stmt(openHandle(m_dbc));
        stmt.execDirect(sql);
        detail::RecordsetData described;
        describeColumns(stmt.get(), described);
        // Bound cells are read again whole when they outgrow their column; a
        // driver that cannot do that gets every cell read with SQLGetData.
        ReadMode mode = readMode(m_getDataExtensions);
        mode.bind = mode.reReadBound;
        auto state = std::make_unique<Reader::State>();
        reader.reset(new Reader(shared_from_this(), std::move(state), std::move(described.fields)));
        reader->m_state->fetcher = std::make_unique<RowFetcher>(stmt.get(), reader->m_columns, mode);
        reader->m_state->stmt = stmt.release();
        m_readers.push_back(reader.get());
    });
    return reader;
}

void Database::BeginTrans()
{
    Errors::Clear();
    if (!SupportsTransactions() || m_inTransaction)
        return;
    auto dbc = openHandle(m_dbc);
    guarded([&] {
        if (faultHits(Faults::Begin))
            qnerr::raise(qnerr::OdbcCallFailed);
        check(SQLSetConnectAttr(dbc, SQL_ATTR_AUTOCOMMIT, reinterpret_cast<SQLPOINTER>(SQL_AUTOCOMMIT_OFF), 0),
              SQL_HANDLE_DBC, dbc);
    });
    m_inTransaction = true;
}

void Database::endTransaction(short completion, int faultCall)
{
    Errors::Clear();
    if (!m_inTransaction)
        return;
    auto dbc = openHandle(m_dbc);
    bool failed = faultHits(Faults::Call(faultCall));
    if (!failed && !SQL_SUCCEEDED(SQLEndTran(SQL_HANDLE_DBC, dbc, completion))) {
        setFailure(diagnostics(SQL_HANDLE_DBC, dbc));
        failed = true;
    }
    if (failed) {
        // Its outcome is unknown, and switching autocommit on would commit:
        // the connection is closed instead, which rolls back what was not committed.
        closeAfterFailure();
        qnerr::raise(qnerr::OdbcCallFailed);
    }
    m_inTransaction = false;
    guarded([&] {
        check(SQLSetConnectAttr(dbc, SQL_ATTR_AUTOCOMMIT, reinterpret_cast<SQLPOINTER>(SQL_AUTOCOMMIT_ON), 0),
              SQL_HANDLE_DBC, dbc);
    });
}

void Database::CommitTrans() { endTransaction(SQL_COMMIT, Faults::Commit); }

void Database::Rollback() { endTransaction(SQL_ROLLBACK, Faults::Rollback); }

// ---------------------------------------------------------------- workspace

Workspace::Workspace()
{
    SQLHENV env = SQL_NULL_HENV;
    if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &env)))
        odbcFailure(SQL_HANDLE_ENV, nullptr);
    SQLSetEnvAttr(env, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
    m_env = env;
}

Workspace::~Workspace() { Close(); }

void Workspace::Close()
{
    if (m_env) {
        SQLFreeHandle(SQL_HANDLE_ENV, static_cast<SQLHENV>(m_env));
        m_env = nullptr;
    }
}

void SetClosedOnFailureHandler(std::function<void(const Database &)> handler)
{
    closedOnFailureHandler() = std::move(handler);
}

void IgnoreTransactionSupport(bool ignore) { g_ignoreTransactionSupport = ignore; }

void SetStatementObserver(std::function<void(const QString &)> observer)
{
    statementObserver() = std::move(observer);
}

namespace Faults {
void Add(Call call, int nth, const QString &sqlState, const QString &message)
{
    faults().push_back(Fault{call, qMax(1, nth), sqlState, message});
}
void Clear() { faults().clear(); }
int Pending() { return int(faults().size()); }
} // namespace Faults

QString ConnectAttribute(const QString &connect, const QString &key)
{
    const QStringList parts = connect.split(QLatin1Char(';'));
    for (const QString &part : parts) {
        int eq = part.indexOf(QLatin1Char('='));
        if (eq > 0 && part.left(eq).trimmed().compare(key, Qt::CaseInsensitive) == 0)
            return part.mid(eq + 1);
    }
    return {};
}

DatabasePtr Workspace::OpenDatabase(const QString &name, int /*options*/, bool /*readOnly*/, const QString &connect)
{
    Errors::Clear();
    if (!m_env)
        qnerr::raise(qnerr::ObjectNotSet);
    QString text = connect;
    if (text.startsWith(QLatin1String("ODBC;"), Qt::CaseInsensitive))
        text = text.mid(5);
    SQLHDBC dbc = SQL_NULL_HDBC;
    if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_DBC, static_cast<SQLHENV>(m_env), &dbc)))
        odbcFailure(SQL_HANDLE_ENV, static_cast<SQLHENV>(m_env));
    QByteArray in = utf8(text);
    SQLCHAR out[1024] = {};
    SQLSMALLINT outLength = 0;
    SQLRETURN rc = SQLDriverConnect(dbc, nullptr, reinterpret_cast<SQLCHAR *>(in.data()), SQLSMALLINT(in.size()),
                                    out, sizeof out, &outLength, SQL_DRIVER_NOPROMPT);
    if (rc == SQL_NO_DATA) {
        SQLFreeHandle(SQL_HANDLE_DBC, dbc);
        qnerr::raise(qnerr::ConnectCancelled);
    }
    if (!SQL_SUCCEEDED(rc)) {
        QList<Error> list = diagnostics(SQL_HANDLE_DBC, dbc);
        SQLFreeHandle(SQL_HANDLE_DBC, dbc);
        list.append(Error{qnerr::OdbcCallFailed, qnerr::standardDescription(qnerr::OdbcCallFailed),
                          QStringLiteral("qnadmin.Workspace"), {}});
        Errors::Set(std::move(list));
        qnerr::raise(qnerr::OdbcCallFailed);
    }
    QString dsName = ConnectAttribute(text, QStringLiteral("DSN"));
    if (dsName.isEmpty())
        dsName = ConnectAttribute(text, QStringLiteral("FILEDSN"));
    if (dsName.isEmpty())
        dsName = name;
    return DatabasePtr(new Database(dbc, dsName, connect));
}

} // namespace dao
