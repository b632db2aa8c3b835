#include "catalogvalidator.h"

#include <algorithm>

#include "catalogcsv.h"
#include "core/cconnections.h"
#include "core/moddatabase.h"
#include "core/modstring.h"

namespace {

using Keys = CatalogKeys;

QString quoted(const QString &text) { return QLatin1Char('\'') + text + QLatin1Char('\''); }

// "<what> '<value>' (Col <n>)"
QString invalid(const char *what, const QString &value, int column)
{
    return QLatin1String(what) + QLatin1Char(' ') + quoted(value) + QStringLiteral(" (Col %1)").arg(column);
}

bool oneOf(const QString &value, std::initializer_list<const char *> words)
{
    for (const char *word : words)
        if (value == QLatin1String(word))
            return true;
    return false;
}

// The keywords of the special column types 1 to 7.
const char *const kSpecialNames[] = {"RFA", "INDEX_NUMBER", "INDEX_NAME", "INDEX_COLUMNS", "TABLE_ORDER", "ROWID",
                                     "RELATIVE_NUMBER"};

// The special column type of a COLUMN_TYPE value: 1 to 8, else 0.
int specialType(const QString &value)
{
    const auto type = modString::WholeNumber(value);
    return type && *type >= 1 && *type <= 8 ? int(*type) : 0;
}

} // namespace

bool CatalogValidator::IsValidNumeric(const QString &value, qint64 low, qint64 high)
{
    if (value.isEmpty())
        return true;
    const auto number = modString::WholeNumber(value);
    return number && *number >= low && *number <= high;
}

void CatalogValidator::ValidateLine(long line, const QString &text)
{
    if (text.isEmpty())
        return;
    m_line = line;
    m_erred = m_stopped = false;
    m_asRead = QStringList(); // the list read into is then its own
    CatalogCSV::ReadFields(text, m_fields);
    const QString tag = m_fields.value(0).toUpper();
    m_type = tag;
    if (tag == QLatin1String("FILE"))
        file();
    else if (tag == QLatin1String("FIELD"))
        field();
    else if (tag == QLatin1String("DB"))
        database();
    else if (tag == QLatin1String("TABLE"))
        table();
    else if (tag == QLatin1String("COLUMN"))
        column();
    else if (tag == QLatin1String("USER"))
        user();
    else if (tag == QLatin1String("DBPRV"))
        dbprv();
    else if (tag == QLatin1String("TBLPRV"))
        tblprv();
    else {
        m_type = QStringLiteral("?");
        error(QStringLiteral("Unknow line ID '") + m_fields.value(0) + QLatin1Char('\''));
    }
}

void CatalogValidator::upper(std::initializer_list<int> columns)
{
    m_asRead = m_fields;
    for (int n : columns) {
        // A value without a small letter stays as it is (and the list unshared).
        const QString &value = col(n);
        if (std::any_of(value.cbegin(), value.cend(),
                        [](QChar c) { return c.unicode() >= 0x80 || (c >= u'a' && c <= u'z'); }))
            m_fields[n - 1] = value.toUpper();
    }
}

bool CatalogValidator::badKey(Set set, std::initializer_list<std::pair<int, const char *>> parts)
{
    int part = 0;
    for (const auto &[n, caption] : parts) {
        const int width = m_keys.Width(set, part++);
        const bool empty = col(n).isEmpty();
        if (!empty && (width <= 0 || col(n).size() <= width))
            continue;
        error(QStringLiteral("Invalid ") + QLatin1String(caption) + QLatin1Char(' ') +
              quoted(empty ? QString() : m_asRead.value(n - 1)) + QStringLiteral(" (Col %1)").arg(n));
        return true;
    }
    return false;
}

void CatalogValidator::error(const QString &description)
{
    m_erred = true;
    if (!m_report.AddError(m_line, m_type, description))
        m_stopped = true;
}

void CatalogValidator::warning(const QString &description) { m_report.AddWarning(m_line, m_type, description); }

template <class Key> void CatalogValidator::passed(const Key &key)
{
    if (m_report.ListsPassed())
        m_report.AddPassed(m_line, m_type, key());
}

template <class Text> bool CatalogValidator::taken(Set set, const QString &key, const Text &text, int column)
{
    const Keys::Mark mark = m_keys.Find(set, key);
    if (mark == Keys::Absent)
        return false;
    error(text() + (mark == Keys::InCatalog ? QStringLiteral(" in Catalog") : QStringLiteral(" in CSV")) +
          QStringLiteral(" (Col %1)").arg(column));
    return true;
}

namespace {

// The answer of `check` for `name`, asked once per run: `known` keeps it.
template <class Check> bool checkedOnce(QHash<QString, bool> &known, const QString &name, const Check &check)
{
    const auto found = known.constFind(name);
    return found != known.constEnd() ? *found : *known.insert(name, check());
}

} // namespace

bool CatalogValidator::isValidLOCDT(const QString &type)
{
    return checkedOnce(m_localTypes, type, [&] {
        const auto found = m_connection.LOCDTs.Item(type);
        return found && found->LOCAL_TYPE_NAME == type;
    });
}

bool CatalogValidator::isValidSQLDT(const QString &type)
{
    return checkedOnce(m_sqlTypes, type, [&] {
        const auto found = m_connection.SQLDTs.Find(type);
        return found && found->SQL_TYPE_NAME == type;
    });
}

bool CatalogValidator::isValidDriverName(const QString &driver)
{
    return checkedOnce(m_drivers, driver, [&] {
        return !m_database()
                    .OpenRecordset(QStringLiteral("SELECT DRIVER_NAME FROM QN_DRIVER WHERE DRIVER_NAME = '") +
                                   modDatabase::EscapeQuotes(driver) + QLatin1Char('\''))
                    ->Eof();
    });
}

void CatalogValidator::file()
{
    if (m_fields.size() < 5)
        return error(QStringLiteral("Insufficient information to describe a File"));
    upper({2, 3, 4});
    if (badKey(Keys::FileKeys, {{2, "File Name"}}))
        return;
    const QString &name = col(2);
    if (taken(Keys::FileKeys, Keys::Key({name}), [&] { return quoted(name) + QStringLiteral(" already defined"); }, 2))
        return;
    if (!oneOf(col(3), {"INDEXED", "RELATIVE", "SEQUENTIAL"}))
        return error(invalid("Invalid File Organisation", col(3), 3));
    if (!oneOf(col(4), {"FIXED", "VARIABLE"}))
        return error(invalid("Invalid Record Type", col(4), 4));
    if (!IsValidNumeric(col(5), 0, 65535))
        return error(invalid("Invalid Record Size", col(5), 5));
    m_keys.File(Keys::FileKeys, Keys::Key({name}));
    passed([&] { return name; });
}

void CatalogValidator::field()
{
    if (m_fields.size() == 6)
        warning(CatalogCSV::CompleteShortForm(m_fields, m_connection.LOCDTs));
    if (m_fields.size() < 11)
        return error(QStringLiteral("Insufficient information to describe a Field"));
    upper({2, 3, 4});
    if (badKey(Keys::FieldKeys, {{2, "File Name"}, {3, "Field Name"}}))
        return;
    const QString &file = col(2), &name = col(3);
    if (!m_keys.Exists(Keys::FileKeys, Keys::Key({file})))
        return error(QStringLiteral("File ") + quoted(file) + QStringLiteral(" is not defined (Col 2)"));
    const QString key = Keys::Key({file, name});
    if (taken(
            Keys::FieldKeys, key,
            [&] { return quoted(file + QLatin1Char('.') + name) + QStringLiteral(" is already defined"); }, 3))
        return;
    if (!isValidLOCDT(col(4)))
        return error(invalid("Invalid Local Type Name", col(4), 4));
    static const std::pair<int, const char *> ranges[] = {
        {5, "Invalid Offset"}, {6, "Invalid Length"}, {7, "Invalid Precision"}, {8, "Invalid Scale"}};
    for (const auto &[n, what] : ranges)
        if (!IsValidNumeric(col(n), 0, 65535))
            return error(invalid(what, col(n), n));
    // ENCRYPTED: 0 to 2, as the catalog keeps it ("Yes - Read Only" is 2).
    if (!IsValidNumeric(col(9), 0, 2))
        return error(invalid("Invalid Encrypted Flag", col(9), 9));
    m_keys.File(Keys::FieldKeys, key);
    passed([&] { return file + QLatin1Char('.') + name; });
}

void CatalogValidator::database()
{
    CatalogCSV::CompleteShortForm(m_fields, m_connection.LOCDTs);
    if (m_fields.size() < 6)
        return error(QStringLiteral("Insufficient information to describe a Database"));
    upper({2, 4});
    if (badKey(Keys::DatabaseKeys, {{2, "Database Name"}}))
        return;
    const QString &name = col(2);
    const auto defined = [&] { return quoted(name) + QStringLiteral(" is already defined"); };
    if (taken(Keys::DatabaseKeys, Keys::Key({name}), defined, 2))
        return;
    if (!isValidDriverName(col(4)))
        return error(invalid("Invalid Driver Name", col(4), 4));
    if (!col(6).isEmpty() && col(6).toUpper() != name)
        return error(QStringLiteral("Display Name must match Database Name"));
    m_keys.File(Keys::DatabaseKeys, Keys::Key({name}));
    passed([&] { return name; });
}

void CatalogValidator::table()
{
    CatalogCSV::CompleteShortForm(m_fields, m_connection.LOCDTs);
    if (m_fields.size() < 8)
        return error(QStringLiteral("Insufficient information to describe a Table"));
    upper({2, 3, 4, 5});
    if (badKey(Keys::TableKeys, {{2, "Database Name"}, {3, "Table Name"}}))
        return;
    const QString &db = col(2), &name = col(3), &file = col(5);
    if (!m_keys.Exists(Keys::DatabaseKeys, Keys::Key({db})))
        return error(QStringLiteral("Database ") + quoted(db) + QStringLiteral(" does not exist (Col 2)"));
    // A table without a type is still written: it is checked as any other.
    if (col(4).isEmpty())
        warning(QStringLiteral("Table Type not set (Col 4)"));
    if (!m_keys.Exists(Keys::FileKeys, Keys::Key({file})))
        return error(QStringLiteral("File ") + quoted(file) + QStringLiteral(" is not defined (Col 5)"));
    const QString key = Keys::Key({db, name});
    const auto shown = [&] { return db + QLatin1Char('_') + name; };
    if (!taken(Keys::TableKeys, key, [&] { return quoted(shown()) + QStringLiteral(" is already defined"); }, 3)) {
        m_keys.File(Keys::TableKeys, key);
        passed(shown);
    }
    if (!m_stopped)
        m_keys.FileTable(key, file);
}

void CatalogValidator::column()
{
    const QString completion = CatalogCSV::CompleteShortForm(m_fields, m_connection.LOCDTs);
    if (!completion.isEmpty())
        warning(completion);
    if (m_fields.size() < 12)
        return error(QStringLiteral("Insufficient information to describe a Column"));
    upper({2, 3, 4, 5, 6});
    if (badKey(Keys::ColumnNameKeys, {{2, "Database Name"}, {3, "Table Name"}, {4, "Column Name"}}))
        return;
    const QString &db = col(2), &table = col(3), &name = col(4), &field = col(5);
    if (!m_keys.Exists(Keys::DatabaseKeys, Keys::Key({db})))
        return error(QStringLiteral("Database ") + quoted(db) + QStringLiteral(" does not exist (Col 2)"));
    const QString tableKey = Keys::Key({db, table});
    if (!m_keys.Exists(Keys::TableKeys, tableKey))
        return error(QStringLiteral("Table ") + quoted(table) + QStringLiteral(" does not exist (Col 3)"));
    const QString *tableFile = m_keys.TableFile(tableKey);
    if (!tableFile)
        return error(QStringLiteral("Reference to ") + table + QStringLiteral(" has not been defined in catalog"));
    // A special column maps no field of the file.
    const int special = specialType(col(12));
    if (special == 0 && !m_keys.Exists(Keys::FieldKeys, Keys::Key({*tableFile, field})))
        return error(QStringLiteral("Field ") + quoted(field) + QStringLiteral(" does not exist (Col 5)"));
    if (!isValidSQLDT(col(6)))
        return error(invalid("SQL Type Name Invalid", col(6), 6));
    if (!IsValidNumeric(col(7), 0, 65535))
        return error(invalid("Invalid Length", col(7), 7));
    if (!IsValidNumeric(col(8), 0, 1))
        return error(invalid("Invalid Updatable flag", col(8), 8));
    if (!IsValidNumeric(col(9), 0, 1))
        return error(invalid("Invalid Visible flag", col(9), 9));
    if (!IsValidNumeric(col(12), 0, 8))
        return error(invalid("Invalid Column Type", col(12), 12));
    if (special >= 1 && special <= 7 && name != QLatin1String(kSpecialNames[special - 1]))
        return error(QStringLiteral("Invalid Column Name - Column Type indicates ") +
                     QLatin1String(kSpecialNames[special - 1]));
    if (special == 8) {
        // The relative index names its column here (empty: none).
        const QString reference = col(11).toUpper();
        if (!reference.isEmpty() && !m_keys.Exists(Keys::ColumnNameKeys, Keys::Key({db, table, reference})))
            return error(QStringLiteral("Column ") + quoted(reference) + QStringLiteral(" undefined (Col 11)"));
    }
    const auto shown = [&] { return db + QLatin1Char('_') + table + QLatin1Char('.') + name; };
    const QString nameKey = Keys::Key({db, table, name});
    const QString fieldKey = Keys::Key({db, table, field});
    taken(Keys::ColumnNameKeys, nameKey, [&] { return quoted(shown()) + QStringLiteral(" is already defined"); }, 4);
    if (m_stopped)
        return;
    if (special == 0)
        taken(Keys::ColumnFieldKeys, fieldKey, [&] { return quoted(field) + QStringLiteral(" is already mapped"); }, 5);
    if (m_stopped)
        return;
    passed(shown);
    if (!m_erred) {
        m_keys.File(Keys::ColumnNameKeys, nameKey);
        m_keys.File(Keys::ColumnFieldKeys, fieldKey);
    }
}

void CatalogValidator::user()
{
    if (m_fields.size() != 3)
        return error(QStringLiteral("Insufficient information to describe a User"));
    upper({2, 3});
    if (badKey(Keys::UserKeys, {{2, "User Name"}}))
        return;
    const QString &name = col(2);
    if (name == QLatin1String("ADMIN"))
        return error(QStringLiteral("ADMIN cannot be imported"));
    const auto defined = [&] { return quoted(name) + QStringLiteral(" is already defined"); };
    if (taken(Keys::UserKeys, Keys::Key({name}), defined, 2))
        return;
    if (col(3).isEmpty())
        warning(QStringLiteral("Password is blank"));
    m_keys.File(Keys::UserKeys, Keys::Key({name}));
    passed([&] { return name; });
}

void CatalogValidator::dbprv()
{
    if (m_fields.size() != 10)
        return error(QStringLiteral("Insufficient information to describe a Database Privilege"));
    upper({2, 3, 4, 5, 10});
    if (badKey(Keys::DBPRVKeys, {{2, "User Name"}, {3, "Database Name"}}))
        return;
    const QString &user = col(2), &db = col(3);
    if (!m_keys.Exists(Keys::UserKeys, Keys::Key({user})))
        return error(QStringLiteral("User ") + quoted(user) + QStringLiteral(" does not exist (Col 2)"));
    if (!m_keys.Exists(Keys::DatabaseKeys, Keys::Key({db})))
        return error(QStringLiteral("Database ") + quoted(db) + QStringLiteral(" does not exist (Col 3)"));
    const QString key = Keys::Key({user, db});
    if (taken(
            Keys::DBPRVKeys, key,
            [&] {
                return QStringLiteral("'User ") + quoted(user) + QStringLiteral(", Database ") + quoted(db) +
                       QStringLiteral(" privileges already defined");
            },
            2))
        return;
    if (col(5).isEmpty())
        warning(QStringLiteral("Database Password is blank"));
    static const std::pair<int, const char *> flags[] = {{6, "Invalid Allow Select flag"},
                                                         {7, "Invalid Allow Insert flag"},
                                                         {8, "Invalid Allow Update flag"},
                                                         {9, "Invalid Allow Delete flag"}};
    for (const auto &[n, what] : flags)
        if (!IsValidNumeric(col(n), 0, 1))
            return error(QLatin1String(what) + QStringLiteral(" (Col %1)").arg(n));
    if (!oneOf(col(10), {"DATABASE", "TABLE"}))
        return error(QStringLiteral("Invalid Security Level (Col 10)"));
    m_keys.File(Keys::DBPRVKeys, key);
}

void CatalogValidator::tblprv()
{
    if (m_fields.size() != 8)
        return error(QStringLiteral("Insufficient information to describe a Table Privilege"));
    upper({2, 3, 4});
    if (badKey(Keys::TBLPRVKeys, {{2, "User Name"}, {3, "Database Name"}, {4, "Table Name"}}))
        return;
    const QString &user = col(2), &db = col(3), &table = col(4);
    if (!m_keys.Exists(Keys::UserKeys, Keys::Key({user})))
        return error(QStringLiteral("User ") + quoted(user) + QStringLiteral(" does not exist (Col 2)"));
    if (!m_keys.Exists(Keys::DatabaseKeys, Keys::Key({db})))
        return error(QStringLiteral("Database ") + quoted(db) + QStringLiteral(" does not exist (Col 3)"));
    if (!m_keys.Exists(Keys::TableKeys, Keys::Key({db, table})))
        return error(QStringLiteral("Table ") + quoted(db + QLatin1Char('_') + table) +
                     QStringLiteral(" does not exist (Col 4)"));
    static const std::pair<int, const char *> flags[] = {{5, "Invalid Allow Select flag"},
                                                         {6, "Invalid Allow Insert flag"},
                                                         {7, "Invalid Allow Update flag"},
                                                         {8, "Invalid Allow Delete flag"}};
    for (const auto &[n, what] : flags)
        if (!IsValidNumeric(col(n), 0, 1))
            return error(QLatin1String(what) + QStringLiteral(" (Col %1)").arg(n));
    const QString key = Keys::Key({user, db, table});
    if (taken(
            Keys::TBLPRVKeys, key,
            [&] {
                return QStringLiteral("'User ") + quoted(user) + QStringLiteral(", Table ") + quoted(db + table) +
                       QStringLiteral(" privileges already defined");
            },
            2))
        return;
    m_keys.File(Keys::TBLPRVKeys, key);
    passed([&] { return user + QLatin1Char(' ') + db + QLatin1Char('_') + table; });
}
