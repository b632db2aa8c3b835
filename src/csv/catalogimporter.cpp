#include "catalogimporter.h"

#include <QStringList>
#include <algorithm>
#include <charconv>
#include <cstring>

#include "catalogcsv.h"
#include "core/cconnections.h"
#include "core/csqldts.h"
#include "core/moddatabase.h"
#include "core/modstring.h"

namespace {

// The whole number a non-empty number of the file was checked to be (380 when it is none).
qint64 wholeNumber(const QString &value, const char *column)
{
    const auto whole = modString::WholeNumber(value);
    if (!whole)
        qnerr::raise(qnerr::ValidationFailed, QStringLiteral("The value '%1' of %2 is not a whole number.")
                                                  .arg(value, QLatin1String(column)));
    return *whole;
}

// A number of the file in SQL; empty is NULL.
QString number(const QString &value, const char *column)
{
    return value.isEmpty() ? QStringLiteral("NULL") : QString::number(wholeNumber(value, column));
}

// An INSERT written value by value through a pointer into room made ahead.
class Insert
{
public:
    explicit Insert(QLatin1StringView head)
    {
        m_sql.reserve(head.size() + 320); // a line's values fit mostly
        m_sql.resize(head.size() + 320);
        latin1(head);
    }
    // A text value as read, between apostrophes, each apostrophe doubled.
    Insert &text(QStringView value) { return quoted(value, false); }
    // The same upper-cased.
    Insert &upper(QStringView value) { return quoted(value, true); }
    Insert &number(const QString &value, const char *column)
    {
        next();
        if (value.isEmpty())
            return latin1(QLatin1StringView("NULL"));
        char digits[24];
        const auto end = std::to_chars(digits, digits + sizeof digits, wholeNumber(value, column)).ptr;
        return latin1(QLatin1StringView(digits, end - digits));
    }
    Insert &number(qint32 value)
    {
        next();
        char digits[12];
        const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
        return latin1(QLatin1StringView(digits, end - digits));
    }
    // Values already in their SQL form.
    Insert &sql(QStringView values)
    {
        next();
        std::memcpy(room(values.size()), values.data(), size_t(values.size()) * sizeof(QChar));
        m_at += values.size();
        return *this;
    }
    QString end(QLatin1StringView tail)
    {
        latin1(tail);
        m_sql.truncate(m_at);
        return std::move(m_sql);
    }

private:
    QChar *room(qsizetype n)
    {
        if (m_sql.size() < m_at + n)
            m_sql.resize(std::max(m_at + n, 2 * m_sql.size()) + 64);
        return m_sql.data() + m_at;
    }
    Insert &latin1(QLatin1StringView text)
    {
        QChar *to = room(text.size());
        for (const char c : text)
            *to++ = QLatin1Char(c);
        m_at += text.size();
        return *this;
    }
    void next()
    {
        if (m_values++ > 0)
            latin1(QLatin1StringView(", "));
    }
    Insert &quoted(QStringView value, bool upperCase)
    {
        next();
        QString upper;
        if (upperCase && std::any_of(value.cbegin(), value.cend(), [](QChar c) { return c.unicode() >= 0x80; })) {
            upper = value.toString().toUpper(); // beyond ASCII by the full rule
            value = upper;
            upperCase = false;
        }
        // Room for every character doubled and the two apostrophes.
        QChar *const first = room(2 * value.size() + 2);
        QChar *to = first;
        *to++ = u'\'';
        for (QChar c : value) {
            if (c == u'\'')
                *to++ = c;
            else if (upperCase && c >= u'a' && c <= u'z')
                c = QChar(c.unicode() - (u'a' - u'A'));
            *to++ = c;
        }
        *to++ = u'\'';
        m_at += to - first;
        return *this;
    }

    QString m_sql;
    qsizetype m_at = 0;
    int m_values = 0;
};

QStringList texts(std::initializer_list<const char *> names)
{
    QStringList list;
    for (const char *name : names)
        list << QLatin1String(name);
    return list;
}

// The DELETE of the row whose key `columns` hold `values`.
QString keyDelete(const char *table, std::initializer_list<const char *> columns, std::initializer_list<QString> values)
{
    return modDatabase::BuildDeleteSQL(QLatin1String(table), modDatabase::KeyWhere(texts(columns), values));
}

// The read of that row.
QString keyRead(const char *table, std::initializer_list<const char *> columns, std::initializer_list<QString> values)
{
    return modDatabase::RowSQL(QLatin1String(table), texts(columns), values);
}

enum class Kind { None, File, Field, Database, Table, Column, User, DatabasePrivilege, TablePrivilege };

// The record kind of a tag, in any letter case: upper-cased as the checks
// upper-case it (beyond ASCII by the full rule).
Kind kindOf(const QString &tag)
{
    static const std::pair<QLatin1StringView, Kind> kinds[] = {
        {QLatin1StringView("FILE"), Kind::File},     {QLatin1StringView("FIELD"), Kind::Field},
        {QLatin1StringView("DB"), Kind::Database},   {QLatin1StringView("TABLE"), Kind::Table},
        {QLatin1StringView("COLUMN"), Kind::Column}, {QLatin1StringView("USER"), Kind::User},
        {QLatin1StringView("DBPRV"), Kind::DatabasePrivilege}, {QLatin1StringView("TBLPRV"), Kind::TablePrivilege},
    };
    const bool ascii = std::none_of(tag.cbegin(), tag.cend(), [](QChar c) { return c.unicode() >= 0x80; });
    const QString upper = ascii ? tag : tag.toUpper();
    for (const auto &[name, kind] : kinds)
        if (upper.compare(name, ascii ? Qt::CaseInsensitive : Qt::CaseSensitive) == 0)
            return kind;
    return Kind::None;
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
                             std::initializer_list<const char *> columns, std::initializer_list<QString> values)
{
    if (m_held) {
        // The line before went under the same row: it was read already, or need not be.
        QStringList &last = m_lastParents[size_t(set)];
        if (std::equal(values.begin(), values.end(), last.cbegin(), last.cend()))
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
    parents << keyRead(table, columns, values);
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

std::optional<CatalogImporter::Statements> CatalogImporter::ImportLine(QStringView line)
{
    if (line.isEmpty())
        return std::nullopt;
    QStringList &f = m_fields;
    CatalogCSV::ReadFields(line, f);
    const Kind kind = kindOf(f.value(0));
    if (kind == Kind::None)
        return std::nullopt;
    CatalogCSV::CompleteShortForm(f, m_connection.LOCDTs);
    f.resize(12); // every value asked for below is there, empty when the line has none
    const auto v = [&](int n) -> const QString & { return f[n]; };
    // The undo DELETE serves only where no transaction undoes the INSERT.
    const bool undo = !m_held;
    Statements s;
    switch (kind) {
    case Kind::File: {
        const QString name = v(1).toUpper();
        s.insert = Insert(QLatin1StringView("INSERT INTO QN_FILE (FILE_NAME, FILE_ORGANISATION, RECORD_TYPE, "
                                            "RECORD_SIZE) VALUES ("))
                       .text(name)
                       .upper(v(2))
                       .upper(v(3))
                       .number(v(4), "RECORD_SIZE")
                       .end(QLatin1StringView(")"));
        if (undo)
            s.undo = keyDelete("QN_FILE", {"FILE_NAME"}, {name});
        break;
    }
    case Kind::Field: {
        const QString file = v(1).toUpper(), name = v(2).toUpper();
        const qint32 fieldNumber = ++m_fieldNumbers[file];
        s.insert = Insert(QLatin1StringView("INSERT INTO QN_FIELD (FILE_NAME, FIELD_NAME, LOCAL_TYPE_NAME, OFFSET, "
                                            "LENGTH, PRECISION, SCALE, ENCRYPTED, FORMAT, FIELD_NUMBER, "
                                            "DEFAULT_VALUE)VALUES ("))
                       .text(file)
                       .text(name)
                       .upper(v(3))
                       .number(v(4), "OFFSET")
                       .number(v(5), "LENGTH")
                       .number(v(6), "PRECISION")
                       .number(v(7), "SCALE")
                       .number(v(8), "ENCRYPTED")
                       .upper(v(9))
                       .number(fieldNumber)
                       .text(v(10))
                       .end(QLatin1StringView(") "));
        if (undo)
            s.undo = keyDelete("QN_FIELD", {"FILE_NAME", "FIELD_NAME"}, {file, name});
        parent(s.parents, CatalogKeys::FileKeys, "QN_FILE", {"FILE_NAME"}, {file});
        break;
    }
    case Kind::Database: {
        const QString name = v(1).toUpper();
        s.insert = Insert(QLatin1StringView("INSERT INTO QN_DB (DATABASE_NAME, DEFAULT_DIRECTORY, DRIVER_NAME, "
                                            "CONNECT_STRING, DISPLAY_NAME) VALUES ("))
                       .text(name)
                       .text(v(2))
                       .upper(v(3))
                       .text(v(4))
                       .text(v(5))
                       .end(QLatin1StringView(")"));
        if (undo)
            s.undo = keyDelete("QN_DB", {"DATABASE_NAME"}, {name});
        break;
    }
    case Kind::Table: {
        const QString db = v(1).toUpper(), name = v(2).toUpper();
        s.insert = Insert(QLatin1StringView("INSERT INTO QN_TABLE (DATABASE_NAME, TABLE_NAME, TABLE_TYPE, FILE_NAME, "
                                            "FILE_SPECIFICATION, CRITERIA, DISPLAY_NAME) VALUES ("))
                       .text(db)
                       .text(name)
                       .upper(v(3))
                       .upper(v(4))
                       .text(v(5))
                       .text(v(6))
                       .text(v(7))
                       .end(QLatin1StringView(")"));
        if (undo)
            s.undo = keyDelete("QN_TABLE", {"DATABASE_NAME", "TABLE_NAME"}, {db, name});
        parent(s.parents, CatalogKeys::DatabaseKeys, "QN_DB", {"DATABASE_NAME"}, {db});
        break;
    }
    case Kind::Column: {
        const QString db = v(1).toUpper(), table = v(2).toUpper(), name = v(3).toUpper();
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
        Insert insert(relativeIndex
                          ? QLatin1StringView("INSERT INTO QN_COLUMN (DATABASE_NAME, TABLE_NAME, COLUMN_NAME, "
                                              "FIELD_NAME, SQL_TYPE_NAME, LENGTH, UPDATABLE, VISIBLE, DEFAULT_VALUE, "
                                              "COLUMN_NUMBER, DISPLAY_NAME, PRECISION, NULLABLE, CASE_SENSITIVE, "
                                              "SEARCHABLE, UNSIGNED_ATTRIBUTE, MONEY, AUTO_INCREMENT, RADIX, "
                                              "COLUMN_TYPE, REMARKS) VALUES (")
                          : QLatin1StringView("INSERT INTO QN_COLUMN (DATABASE_NAME, TABLE_NAME, COLUMN_NAME, "
                                              "FIELD_NAME, SQL_TYPE_NAME, LENGTH, UPDATABLE, VISIBLE, DEFAULT_VALUE, "
                                              "COLUMN_NUMBER, DISPLAY_NAME, PRECISION, NULLABLE, CASE_SENSITIVE, "
                                              "SEARCHABLE, UNSIGNED_ATTRIBUTE, MONEY, AUTO_INCREMENT, RADIX, "
                                              "COLUMN_TYPE) VALUES ("));
        insert.text(db)
            .text(table)
            .text(name)
            .upper(v(4))
            .text(typeName)
            .number(v(6), "LENGTH")
            .number(v(7), "UPDATABLE")
            .number(v(8), "VISIBLE")
            .text(v(9))
            .number(columnNumber)
            .text(relativeIndex ? v(3) : v(10))
            .sql(attributes)
            .sql(columnType);
        if (relativeIndex)
            insert.upper(v(10));
        s.insert = insert.end(QLatin1StringView(")"));
        if (undo)
            s.undo = keyDelete("QN_COLUMN", {"DATABASE_NAME", "TABLE_NAME", "COLUMN_NAME"}, {db, table, name});
        parent(s.parents, CatalogKeys::TableKeys, "QN_TABLE", {"DATABASE_NAME", "TABLE_NAME"}, {db, table});
        break;
    }
    case Kind::User: {
        const QString name = v(1).toUpper();
        s.insert = Insert(QLatin1StringView("INSERT INTO QN_USER (USER_NAME, USER_PASSWORD) VALUES ("))
                       .text(name)
                       .upper(v(2))
                       .end(QLatin1StringView(") "));
        if (undo)
            s.undo = keyDelete("QN_USER", {"USER_NAME"}, {name});
        break;
    }
    case Kind::DatabasePrivilege: {
        const QString user = v(1).toUpper(), db = v(2).toUpper();
        s.insert = Insert(QLatin1StringView("INSERT INTO QN_DBPRV (USER_NAME, DATABASE_NAME, DATABASE_USERNAME, "
                                            "DATABASE_PASSWORD, ALLOW_SELECT, ALLOW_INSERT, ALLOW_UPDATE, "
                                            "ALLOW_DELETE, SECURITY_LEVEL) VALUES ("))
                       .text(user)
                       .text(db)
                       .upper(v(3))
                       .text(v(4))
                       .number(v(5), "ALLOW_SELECT")
                       .number(v(6), "ALLOW_INSERT")
                       .number(v(7), "ALLOW_UPDATE")
                       .number(v(8), "ALLOW_DELETE")
                       .upper(v(9))
                       .end(QLatin1StringView(")"));
        if (undo)
            s.undo = keyDelete("QN_DBPRV", {"USER_NAME", "DATABASE_NAME"}, {user, db});
        parent(s.parents, CatalogKeys::UserKeys, "QN_USER", {"USER_NAME"}, {user});
        parent(s.parents, CatalogKeys::DatabaseKeys, "QN_DB", {"DATABASE_NAME"}, {db});
        break;
    }
    case Kind::TablePrivilege: {
        const QString user = v(1).toUpper(), db = v(2).toUpper(), table = v(3).toUpper();
        s.insert = Insert(QLatin1StringView("INSERT INTO QN_TBLPRV (USER_NAME, DATABASE_NAME, TABLE_NAME, "
                                            "ALLOW_SELECT, ALLOW_INSERT, ALLOW_UPDATE, ALLOW_DELETE) VALUES ("))
                       .text(user)
                       .text(db)
                       .text(table)
                       .number(v(4), "ALLOW_SELECT")
                       .number(v(5), "ALLOW_INSERT")
                       .number(v(6), "ALLOW_UPDATE")
                       .number(v(7), "ALLOW_DELETE")
                       .end(QLatin1StringView(")"));
        if (undo)
            s.undo = keyDelete("QN_TBLPRV", {"USER_NAME", "DATABASE_NAME", "TABLE_NAME"}, {user, db, table});
        parent(s.parents, CatalogKeys::UserKeys, "QN_USER", {"USER_NAME"}, {user});
        parent(s.parents, CatalogKeys::DatabaseKeys, "QN_DB", {"DATABASE_NAME"}, {db});
        parent(s.parents, CatalogKeys::TableKeys, "QN_TABLE", {"DATABASE_NAME", "TABLE_NAME"}, {db, table});
        break;
    }
    case Kind::None:
        return std::nullopt;
    }
    return s;
}
