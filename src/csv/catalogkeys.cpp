#include "catalogkeys.h"

#include <cstring>
#include <deque>

#include "dao.h"

namespace {

const QChar kSeparator(0x1F); // the unit separator: no name holds it

// One catalog query and the keys each of its rows files.
struct Source
{
    const char *sql;
    const char *word; // "Reading current catalog <word> '<name>'"
    int nameColumn;   // the column the status names
    // The sets and, for each, the columns its key joins.
    std::vector<std::pair<CatalogKeys::Set, std::vector<int>>> keys;
};

} // namespace

namespace {

template <class Parts> QString joinedKey(const Parts &parts)
{
    if (parts.size() == 1)
        return *parts.begin();
    qsizetype size = -1;
    for (const QString &part : parts)
        size += part.size() + 1;
    QString key(size, Qt::Uninitialized);
    QChar *to = key.data();
    bool first = true;
    for (const QString &part : parts) {
        if (!first)
            *to++ = kSeparator;
        first = false;
        std::memcpy(to, part.constData(), size_t(part.size()) * sizeof(QChar));
        to += part.size();
    }
    return key;
}

} // namespace

QString CatalogKeys::Key(std::initializer_list<QString> parts) { return joinedKey(parts); }

QString CatalogKeys::Key(const QStringList &parts) { return joinedKey(parts); }

void CatalogKeys::Clear()
{
    for (auto &set : m_sets)
        set.clear();
    for (auto &widths : m_widths)
        widths.clear();
    m_tableFiles.clear();
}

void CatalogKeys::ReadCurrentCatalog(dao::Database &db, const std::function<void(const QString &)> &status)
{
    static const Source sources[] = {
        {"SELECT FILE_NAME FROM QN_FILE", "File", 0, {{FileKeys, {0}}}},
        {"SELECT FILE_NAME, FIELD_NAME, OFFSET FROM QN_FIELD", "Field", 1, {{FieldKeys, {0, 1}}}},
        {"SELECT DATABASE_NAME FROM QN_DB", "Database", 0, {{DatabaseKeys, {0}}}},
        {"SELECT DATABASE_NAME, TABLE_NAME, FILE_NAME FROM QN_TABLE", "Table", 1, {{TableKeys, {0, 1}}}},
        {"SELECT DATABASE_NAME, TABLE_NAME, COLUMN_NAME, COLUMN_NUMBER, FIELD_NAME, COLUMN_TYPE FROM QN_COLUMN",
         "Column",
         2,
         {{ColumnNameKeys, {0, 1, 2}}, {ColumnFieldKeys, {0, 1, 4}}}},
        {"SELECT USER_NAME FROM QN_USER", "User", 0, {{UserKeys, {0}}}},
        {"SELECT DATABASE_NAME, USER_NAME FROM QN_DBPRV", "DBPRV", 1, {{DBPRVKeys, {1, 0}}}},
        {"SELECT DATABASE_NAME, TABLE_NAME, USER_NAME FROM QN_TBLPRV", "TBLPRV", 2, {{TBLPRVKeys, {2, 0, 1}}}},
    };
    for (const Source &source : sources) {
        const auto reader = db.OpenReader(QString::fromLatin1(source.sql));
        const int columns = reader->ColumnCount();
        for (const auto &[set, parts] : source.keys) {
            m_widths[set].clear();
            for (const int part : parts)
                m_widths[set].push_back(int(reader->Columns()[size_t(part)].Size));
        }
        const QString prefix = QStringLiteral("Reading current catalog ") + QLatin1String(source.word) +
                               QStringLiteral(" '");
        std::deque<QVariant> cells;
        while (!reader->AtEnd()) {
            cells.clear();
            const long rows = reader->Fetch(1000, cells);
            for (long r = 0; r < rows; ++r) {
                const auto cell = [&](int c) { return cells[size_t(r * columns + c)].toString(); };
                status(prefix + cell(source.nameColumn) + QLatin1Char('\''));
                for (const auto &[set, parts] : source.keys) {
                    QString key;
                    for (size_t p = 0; p < parts.size(); ++p) {
                        if (p > 0)
                            key += kSeparator;
                        key += cell(parts[p]);
                    }
                    if (!m_sets[set].contains(key))
                        m_sets[set].insert(key, InCatalog);
                }
            }
        }
    }
}
