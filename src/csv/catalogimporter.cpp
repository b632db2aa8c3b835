#include "catalogimporter.h"

#include <QStringList>

#include "catalogcsv.h"
#include "core/cconnections.h"
#include "core/csqldts.h"
#include "core/moddatabase.h"
#include "core/modstring.h"

namespace {

// A number of the file as the whole number it was checked to be; empty is NULL.
QString number(const QString &value, const char *column)
{
    if (value.isEmpty())
        return modDatabase::StoredNumberOrNullSQL(QVariant(), QLatin1String(column));
    const auto whole = modString::WholeNumber(value);
    if (!whole)
        qnerr::raise(qnerr::ValidationFailed, QStringLiteral("The value '%1' of %2 is not a whole number.")
                                                  .arg(value, QLatin1String(column)));
    return modDatabase::StoredNumberOrNullSQL(QVariant(*whole), QLatin1String(column));
}

// An INSERT built value by value into one text.
class Insert
{
public:
    explicit Insert(const QString &head) : m_sql(head) { m_sql.reserve(head.size() + 320); }
    // A text value as read, or upper-cased.
    Insert &text(QStringView value)
    {
        next();
        modDatabase::AppendQuoted(m_sql, value);
        return *this;
    }
    Insert &upper(const QString &value) { return text(value.toUpper()); }
    Insert &number(const QString &value, const char *column)
    {
        next();
        m_sql += ::number(value, column);
        return *this;
    }
    // Values already in their SQL form.
    Insert &sql(const QString &values)
    {
        next();
        m_sql += values;
        return *this;
    }
    QString end(QLatin1StringView tail)
    {
        m_sql += tail;
        return std::move(m_sql);
    }

private:
    void next()
    {
        if (m_values++ > 0)
            m_sql += QStringLiteral(", ");
    }
    QString m_sql;
    int m_values = 0;
};

// The DELETE of the row whose key `columns` hold `values`.
QString keyDelete(const char *table, const QStringList &columns, const QStringList &values)
{
    return modDatabase::BuildDeleteSQL(QLatin1String(table), modDatabase::KeyWhere(columns, values));
}

} // namespace

void CatalogImporter::Reset(QHash<QString, qint32> lastFieldNumbers, bool held)
{
    m_held = held;
    m_fieldNumbers = std::move(lastFieldNumbers);
    m_columnNumbers.clear();
    m_parentsRead.clear();
    m_lastParents = {};
}

void CatalogImporter::parent(QStringList &parents, CatalogKeys::Set set, const char *table,
                             const QStringList &columns, const QStringList &values)
{
    if (m_held) {
        // The line before went under the same row: it was read already, or need not be.
        QStringList &last = m_lastParents[size_t(set)];
        if (values == last)
            return;
        last = values;
    }
    const QString key = CatalogKeys::Key(values);
    if (m_keys.Find(set, key) != CatalogKeys::InCatalog)
        return;
    if (m_held) {
        const QString read = QString::number(int(set)) + QLatin1Char(':') + key;
        if (m_parentsRead.contains(read))
            return;
        m_parentsRead.insert(read);
    }
    parents << modDatabase::RowSQL(QLatin1String(table), columns, values);
}

// PRECISION to RADIX of an SQL data type, each written "0" and its value.
const QString &CatalogImporter::typeAttributes(const QString &typeName)
{
    const auto known = m_typeAttributes.constFind(typeName);
    if (known != m_typeAttributes.constEnd())
        return *known;
    const auto type = m_connection.SQLDTs.Find(typeName);
    if (!type)
        qnerr::raise(qnerr::NoCurrentRecord, qnerr::standardDescription(qnerr::NoCurrentRecord));
    QStringList values;
    for (const int value : {type->PRECISION, int(type->NULLABLE), int(type->CASE_SENSITIVE), int(type->SEARCHABLE),
                            int(type->UNSIGNED_ATTRIBUTE), int(type->MONEY), int(type->AUTO_INCREMENT),
                            int(type->RADIX)})
        values << vb::ZeroText(value);
    return *m_typeAttributes.insert(typeName, values.join(QStringLiteral(", ")));
}

std::optional<CatalogImporter::Statements> CatalogImporter::ImportLine(const QString &line)
{
    if (line.isEmpty())
        return std::nullopt;
    QStringList f = CatalogCSV::ReadFields(line);
    const QString tag = f.value(0).toUpper();
    CatalogCSV::CompleteShortForm(f, m_connection.LOCDTs);
    const auto v = [&](int n) { return f.value(n); };
    Statements s;
    if (tag == QLatin1String("FILE")) {
        s.insert = Insert(QStringLiteral("INSERT INTO QN_FILE (FILE_NAME, FILE_ORGANISATION, RECORD_TYPE, "
                                         "RECORD_SIZE) VALUES ("))
                       .upper(v(1))
                       .upper(v(2))
                       .upper(v(3))
                       .number(v(4), "RECORD_SIZE")
                       .end(QLatin1StringView(")"));
        s.undo = keyDelete("QN_FILE", {QStringLiteral("FILE_NAME")}, {v(1).toUpper()});
    } else if (tag == QLatin1String("FIELD")) {
        const QString file = v(1).toUpper();
        const qint32 fieldNumber = ++m_fieldNumbers[file];
        s.insert = Insert(QStringLiteral("INSERT INTO QN_FIELD (FILE_NAME, FIELD_NAME, LOCAL_TYPE_NAME, OFFSET, "
                                         "LENGTH, PRECISION, SCALE, ENCRYPTED, FORMAT, FIELD_NUMBER, "
                                         "DEFAULT_VALUE)VALUES ("))
                       .text(file)
                       .upper(v(2))
                       .upper(v(3))
                       .number(v(4), "OFFSET")
                       .number(v(5), "LENGTH")
                       .number(v(6), "PRECISION")
                       .number(v(7), "SCALE")
                       .number(v(8), "ENCRYPTED")
                       .upper(v(9))
                       .sql(QString::number(fieldNumber))
                       .text(v(10))
                       .end(QLatin1StringView(") "));
        s.undo = keyDelete("QN_FIELD", {QStringLiteral("FILE_NAME"), QStringLiteral("FIELD_NAME")},
                           {file, v(2).toUpper()});
        parent(s.parents, CatalogKeys::FileKeys, "QN_FILE", {QStringLiteral("FILE_NAME")}, {file});
    } else if (tag == QLatin1String("DB")) {
        s.insert = Insert(QStringLiteral("INSERT INTO QN_DB (DATABASE_NAME, DEFAULT_DIRECTORY, DRIVER_NAME, "
                                         "CONNECT_STRING, DISPLAY_NAME) VALUES ("))
                       .upper(v(1))
                       .text(v(2))
                       .upper(v(3))
                       .text(v(4))
                       .text(v(5))
                       .end(QLatin1StringView(")"));
        s.undo = keyDelete("QN_DB", {QStringLiteral("DATABASE_NAME")}, {v(1).toUpper()});
    } else if (tag == QLatin1String("TABLE")) {
        s.insert = Insert(QStringLiteral("INSERT INTO QN_TABLE (DATABASE_NAME, TABLE_NAME, TABLE_TYPE, FILE_NAME, "
                                         "FILE_SPECIFICATION, CRITERIA, DISPLAY_NAME) VALUES ("))
                       .upper(v(1))
                       .upper(v(2))
                       .upper(v(3))
                       .upper(v(4))
                       .text(v(5))
                       .text(v(6))
                       .text(v(7))
                       .end(QLatin1StringView(")"));
        s.undo = keyDelete("QN_TABLE", {QStringLiteral("DATABASE_NAME"), QStringLiteral("TABLE_NAME")},
                           {v(1).toUpper(), v(2).toUpper()});
        parent(s.parents, CatalogKeys::DatabaseKeys, "QN_DB", {QStringLiteral("DATABASE_NAME")}, {v(1).toUpper()});
    } else if (tag == QLatin1String("COLUMN")) {
        const QString db = v(1).toUpper(), table = v(2).toUpper();
        const QString typeName = v(5).toUpper();
        const QString &attributes = typeAttributes(typeName);
        const QString columnType = number(v(11), "COLUMN_TYPE");
        const auto special = modString::WholeNumber(v(11));
        qint32 columnNumber = 1;
        if (!special || *special == 0)
            columnNumber = ++m_columnNumbers[db + QChar(0x1F) + table];
        // A relative index keeps the column it names in REMARKS, where the
        // special columns editor keeps it.
        const bool relativeIndex = special && *special == 8;
        Insert insert(QStringLiteral("INSERT INTO QN_COLUMN (DATABASE_NAME, TABLE_NAME, COLUMN_NAME, FIELD_NAME, "
                                     "SQL_TYPE_NAME, LENGTH, UPDATABLE, VISIBLE, DEFAULT_VALUE, COLUMN_NUMBER, "
                                     "DISPLAY_NAME, PRECISION, NULLABLE, CASE_SENSITIVE, SEARCHABLE, "
                                     "UNSIGNED_ATTRIBUTE, MONEY, AUTO_INCREMENT, RADIX, COLUMN_TYPE") +
                      (relativeIndex ? QStringLiteral(", REMARKS) VALUES (") : QStringLiteral(") VALUES (")));
        insert.text(db)
            .text(table)
            .upper(v(3))
            .upper(v(4))
            .text(typeName)
            .number(v(6), "LENGTH")
            .number(v(7), "UPDATABLE")
            .number(v(8), "VISIBLE")
            .text(v(9))
            .sql(QString::number(columnNumber))
            .text(relativeIndex ? v(3) : v(10))
            .sql(attributes)
            .sql(columnType);
        if (relativeIndex)
            insert.upper(v(10));
        s.insert = insert.end(QLatin1StringView(")"));
        s.undo = keyDelete("QN_COLUMN",
                           {QStringLiteral("DATABASE_NAME"), QStringLiteral("TABLE_NAME"), QStringLiteral("COLUMN_NAME")},
                           {db, table, v(3).toUpper()});
        parent(s.parents, CatalogKeys::TableKeys, "QN_TABLE",
               {QStringLiteral("DATABASE_NAME"), QStringLiteral("TABLE_NAME")}, {db, table});
    } else if (tag == QLatin1String("USER")) {
        s.insert = Insert(QStringLiteral("INSERT INTO QN_USER (USER_NAME, USER_PASSWORD) VALUES ("))
                       .upper(v(1))
                       .upper(v(2))
                       .end(QLatin1StringView(") "));
        s.undo = keyDelete("QN_USER", {QStringLiteral("USER_NAME")}, {v(1).toUpper()});
    } else if (tag == QLatin1String("DBPRV")) {
        s.insert = Insert(QStringLiteral("INSERT INTO QN_DBPRV (USER_NAME, DATABASE_NAME, DATABASE_USERNAME, "
                                         "DATABASE_PASSWORD, ALLOW_SELECT, ALLOW_INSERT, ALLOW_UPDATE, ALLOW_DELETE, "
                                         "SECURITY_LEVEL) VALUES ("))
                       .upper(v(1))
                       .upper(v(2))
                       .upper(v(3))
                       .text(v(4))
                       .number(v(5), "ALLOW_SELECT")
                       .number(v(6), "ALLOW_INSERT")
                       .number(v(7), "ALLOW_UPDATE")
                       .number(v(8), "ALLOW_DELETE")
                       .upper(v(9))
                       .end(QLatin1StringView(")"));
        s.undo = keyDelete("QN_DBPRV", {QStringLiteral("USER_NAME"), QStringLiteral("DATABASE_NAME")},
                           {v(1).toUpper(), v(2).toUpper()});
        parent(s.parents, CatalogKeys::UserKeys, "QN_USER", {QStringLiteral("USER_NAME")}, {v(1).toUpper()});
        parent(s.parents, CatalogKeys::DatabaseKeys, "QN_DB", {QStringLiteral("DATABASE_NAME")}, {v(2).toUpper()});
    } else if (tag == QLatin1String("TBLPRV")) {
        s.insert = Insert(QStringLiteral("INSERT INTO QN_TBLPRV (USER_NAME, DATABASE_NAME, TABLE_NAME, ALLOW_SELECT, "
                                         "ALLOW_INSERT, ALLOW_UPDATE, ALLOW_DELETE) VALUES ("))
                       .upper(v(1))
                       .upper(v(2))
                       .upper(v(3))
                       .number(v(4), "ALLOW_SELECT")
                       .number(v(5), "ALLOW_INSERT")
                       .number(v(6), "ALLOW_UPDATE")
                       .number(v(7), "ALLOW_DELETE")
                       .end(QLatin1StringView(")"));
        s.undo = keyDelete("QN_TBLPRV",
                           {QStringLiteral("USER_NAME"), QStringLiteral("DATABASE_NAME"), QStringLiteral("TABLE_NAME")},
                           {v(1).toUpper(), v(2).toUpper(), v(3).toUpper()});
        parent(s.parents, CatalogKeys::UserKeys, "QN_USER", {QStringLiteral("USER_NAME")}, {v(1).toUpper()});
        parent(s.parents, CatalogKeys::DatabaseKeys, "QN_DB", {QStringLiteral("DATABASE_NAME")}, {v(2).toUpper()});
        parent(s.parents, CatalogKeys::TableKeys, "QN_TABLE",
               {QStringLiteral("DATABASE_NAME"), QStringLiteral("TABLE_NAME")}, {v(2).toUpper(), v(3).toUpper()});
    } else {
        return std::nullopt;
    }
    return s;
}
