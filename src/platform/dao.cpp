#include "dao.h"

#include <sql.h>
#include <sqlext.h>

#include <QDate>
#include <QDateTime>
#include <QTime>
#include <charconv>
#include <cstring>

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

[[noreturn]] void odbcFailure(SQLSMALLINT handleType, SQLHANDLE handle)
{
    QList<Error> list = handle ? diagnostics(handleType, handle) : QList<Error>{};
    list.append(Error{qnerr::OdbcCallFailed, qnerr::standardDescription(qnerr::OdbcCallFailed),
                      QStringLiteral("qnadmin.Database"), {}});
    Errors::Set(std::move(list));
    qnerr::raise(qnerr::OdbcCallFailed);
}

void check(SQLRETURN rc, SQLSMALLINT handleType, SQLHANDLE handle)
{
    if (!SQL_SUCCEEDED(rc) && rc != SQL_NO_DATA)
        odbcFailure(handleType, handle);
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
    ~Statement() { SQLFreeHandle(SQL_HANDLE_STMT, m_stmt); }
    Statement(const Statement &) = delete;
    Statement &operator=(const Statement &) = delete;
    SQLHSTMT get() const { return m_stmt; }
    void execDirect(const QString &sql)
    {
        QByteArray text = utf8(sql);
        SQLRETURN rc = SQLExecDirect(m_stmt, reinterpret_cast<SQLCHAR *>(text.data()), SQLINTEGER(text.size()));
        check(rc, SQL_HANDLE_STMT, m_stmt);
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
    for (size_t i = 0; i < m_data->fields.size(); ++i)
        if (m_data->fields[i].Name.compare(name, Qt::CaseInsensitive) == 0)
            return int(i);
    return -1;
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
}

Database::~Database() { Close(); }

void Database::Close()
{
    if (!m_dbc)
        return;
    auto dbc = static_cast<SQLHDBC>(m_dbc);
    if (m_inTransaction) {
        SQLEndTran(SQL_HANDLE_DBC, dbc, SQL_ROLLBACK);
        m_inTransaction = false;
    }
    SQLDisconnect(dbc);
    SQLFreeHandle(SQL_HANDLE_DBC, dbc);
    m_dbc = nullptr;
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
    Statement stmt(openHandle(m_dbc));
    stmt.execDirect(sql);
    SQLLEN rows = 0;
    if (SQL_SUCCEEDED(SQLRowCount(stmt.get(), &rows)))
        m_recordsAffected = long(rows);
}

namespace {

// Reads the result of an executed statement into `data`: the columns' metadata,
// then (unless `fieldsOnly`) every row. With `bind`, the leading run of short
// columns is bound; returns false when a bound value was longer than its
// column's declared size, so the caller reads again without binding.
bool readResult(SQLHSTMT h, detail::RecordsetData &data, bool bind, bool fieldsOnly)
{
    SQLSMALLINT columns = 0;
    check(SQLNumResultCols(h, &columns), SQL_HANDLE_STMT, h);
    data.fields.clear();
    data.fields.reserve(size_t(columns));
    for (SQLSMALLINT c = 1; c <= columns; ++c) {
        SQLCHAR name[256] = {};
        SQLSMALLINT nameLength = 0, sqlType = 0, digits = 0, nullable = 0;
        SQLULEN size = 0;
        check(SQLDescribeCol(h, c, name, sizeof name, &nameLength, &sqlType, &size, &digits, &nullable),
              SQL_HANDLE_STMT, h);
        FieldInfo info;
        info.Name = QString::fromUtf8(reinterpret_cast<const char *>(name));
        info.Type = fieldTypeOf(sqlType);
        info.Size = long(qMin<SQLULEN>(size, SQLULEN(INT32_MAX)));
        data.fields.push_back(info);
    }
    if (fieldsOnly)
        return true;

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
    std::vector<Bound> bound(static_cast<size_t>(columns));
    // Bind the leading run of short columns; the rest are read with SQLGetData,
    // which drivers allow only after the last bound column.
    for (SQLSMALLINT c = 1; bind && c <= columns; ++c) {
        const FieldInfo &info = data.fields[size_t(c - 1)];
        SQLULEN size = SQLULEN(info.Size);
        if (size == 0 || size > kBindLimit || isBinary(info.Type))
            break;
        Bound &b = bound[size_t(c - 1)];
        // Room for digits of numbers, four bytes a character of text, and the terminator.
        b.buffer.resize(qMax<size_t>(size * 4 + 1, 64));
        check(SQLBindCol(h, c, SQL_C_CHAR, b.buffer.data(), SQLLEN(b.buffer.size()), &b.indicator),
              SQL_HANDLE_STMT, h);
        b.bound = true;
    }

    std::vector<char> longBuffer(8192);
    for (;;) {
        SQLRETURN rc = SQLFetch(h);
        if (rc == SQL_NO_DATA)
            break;
        check(rc, SQL_HANDLE_STMT, h);
        for (SQLSMALLINT c = 1; c <= columns; ++c) {
            Bound &b = bound[size_t(c - 1)];
            int type = data.fields[size_t(c - 1)].Type;
            if (b.bound) {
                if (b.indicator == SQL_NULL_DATA)
                    data.cells.emplace_back();
                else if (b.indicator >= 0 && size_t(b.indicator) < b.buffer.size()) {
                    const size_t length = size_t(b.indicator);
                    if (!b.hasLast || size_t(b.lastBytes.size()) != length ||
                        memcmp(b.lastBytes.data(), b.buffer.data(), length) != 0) {
                        b.lastBytes.assign(b.buffer.data(), length);
                        b.lastValue = typedValue(type, b.buffer.data(), length);
                        b.hasLast = true;
                    }
                    data.cells.push_back(b.lastValue);
                }
                else
                    return false; // longer than declared: never cut a value
                continue;
            }
            // Unbound: read in pieces until the whole value is in.
            std::string value;
            SQLLEN indicator = 0;
            bool isNull = false;
            SQLSMALLINT cType = isBinary(type) ? SQL_C_BINARY : SQL_C_CHAR;
            for (;;) {
                rc = SQLGetData(h, c, cType, longBuffer.data(), SQLLEN(longBuffer.size()), &indicator);
                if (rc == SQL_NO_DATA)
                    break;
                check(rc, SQL_HANDLE_STMT, h);
                if (indicator == SQL_NULL_DATA) {
                    isNull = true;
                    break;
                }
                size_t room = cType == SQL_C_CHAR ? longBuffer.size() - 1 : longBuffer.size();
                size_t got = (indicator == SQL_NO_TOTAL || size_t(indicator) > room) ? room : size_t(indicator);
                value.append(longBuffer.data(), got);
                if (rc == SQL_SUCCESS)
                    break;
            }
            if (isNull)
                data.cells.emplace_back();
            else
                data.cells.push_back(typedValue(type, value.data(), value.size()));
        }
        ++data.rowCount;
    }
    return true;
}

} // namespace

std::unique_ptr<Recordset> Database::OpenRecordset(const QString &sql, int /*type*/)
{
    Errors::Clear();
    auto data = std::make_shared<detail::RecordsetData>();
    for (bool bind : {true, false}) {
        Statement stmt(openHandle(m_dbc));
        stmt.execDirect(sql);
        if (readResult(stmt.get(), *data, bind, false))
            break;
        *data = detail::RecordsetData();
    }
    return std::make_unique<Recordset>(std::move(data));
}

std::unique_ptr<Recordset> Database::OpenFields(const QString &sql)
{
    Errors::Clear();
    auto data = std::make_shared<detail::RecordsetData>();
    Statement stmt(openHandle(m_dbc));
    stmt.execDirect(sql);
    readResult(stmt.get(), *data, false, true);
    return std::make_unique<Recordset>(std::move(data));
}

void Database::BeginTrans()
{
    Errors::Clear();
    if (!m_txnCapable)
        return;
    auto dbc = openHandle(m_dbc);
    check(SQLSetConnectAttr(dbc, SQL_ATTR_AUTOCOMMIT, reinterpret_cast<SQLPOINTER>(SQL_AUTOCOMMIT_OFF), 0),
          SQL_HANDLE_DBC, dbc);
    m_inTransaction = true;
}

void Database::CommitTrans()
{
    Errors::Clear();
    if (!m_txnCapable || !m_inTransaction)
        return;
    auto dbc = openHandle(m_dbc);
    check(SQLEndTran(SQL_HANDLE_DBC, dbc, SQL_COMMIT), SQL_HANDLE_DBC, dbc);
    m_inTransaction = false;
    check(SQLSetConnectAttr(dbc, SQL_ATTR_AUTOCOMMIT, reinterpret_cast<SQLPOINTER>(SQL_AUTOCOMMIT_ON), 0),
          SQL_HANDLE_DBC, dbc);
}

void Database::Rollback()
{
    Errors::Clear();
    if (!m_txnCapable || !m_inTransaction)
        return;
    auto dbc = openHandle(m_dbc);
    m_inTransaction = false;
    SQLRETURN rc = SQLEndTran(SQL_HANDLE_DBC, dbc, SQL_ROLLBACK);
    SQLSetConnectAttr(dbc, SQL_ATTR_AUTOCOMMIT, reinterpret_cast<SQLPOINTER>(SQL_AUTOCOMMIT_ON), 0);
    check(rc, SQL_HANDLE_DBC, dbc);
}

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
