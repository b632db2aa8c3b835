#pragma once

// The keys an import checks the lines of a catalog file against: those of the
// rows the catalog holds, read once per run, and those of the lines accepted
// so far. A key is made of the names of one row joined by a separator that no
// name holds, and compares as the catalog compares names, letter case
// included: the checks look a line up by the upper-cased names the import
// writes and reads, so a row stored in lower case is neither that line's
// parent nor a row of its name. A key carries the mark of where it came from,
// so that a message can say "Catalog" or "CSV".

#include <QHash>
#include <QString>
#include <QStringList>
#include <array>
#include <functional>
#include <initializer_list>
#include <vector>

namespace dao {
class Database;
}

class CatalogKeys
{
public:
    enum Set {
        FileKeys,        // FILE_NAME
        FieldKeys,       // FILE_NAME, FIELD_NAME
        DatabaseKeys,    // DATABASE_NAME
        TableKeys,       // DATABASE_NAME, TABLE_NAME
        ColumnNameKeys,  // DATABASE_NAME, TABLE_NAME, COLUMN_NAME
        ColumnFieldKeys, // DATABASE_NAME, TABLE_NAME, FIELD_NAME
        UserKeys,        // USER_NAME
        DBPRVKeys,       // USER_NAME, DATABASE_NAME
        TBLPRVKeys,      // USER_NAME, DATABASE_NAME, TABLE_NAME
        SetCount
    };
    // Where a key came from: the catalog ('*') or an earlier line (' ').
    enum Mark : char { Absent = 0, InCatalog = '*', InFile = ' ' };

    static QString Key(std::initializer_list<QString> parts);
    static QString Key(const QStringList &parts);

    Mark Find(Set set, const QString &key) const { return Mark(m_sets[set].value(key, Absent)); }
    bool Exists(Set set, const QString &key) const { return m_sets[set].contains(key); }
    // Files the key of an accepted line; a key already there keeps its mark.
    void File(Set set, const QString &key)
    {
        char &mark = m_sets[set][key]; // Absent when new
        if (mark == Absent)
            mark = InFile;
    }

    // The file of a table named on a TABLE line of the file, by the table's
    // key (database and table); the first line of a database and table wins.
    const QString *TableFile(const QString &tableKey) const
    {
        const auto found = m_tableFiles.constFind(tableKey);
        return found == m_tableFiles.constEnd() ? nullptr : &*found;
    }
    void FileTable(const QString &tableKey, const QString &file)
    {
        if (!m_tableFiles.contains(tableKey))
            m_tableFiles.insert(tableKey, file);
    }

    // The width the catalog reports for the column that part `part` (from 0)
    // of a key of `set` is read from; 0 when it reports none.
    int Width(Set set, int part) const
    {
        return size_t(part) < m_widths[set].size() ? m_widths[set][size_t(part)] : 0;
    }

    void Clear();
    // Fills the sets from the catalog's eight tables, every row of them (the
    // catalog's own rows too), and the widths of their key columns; a key two
    // rows share keeps one entry. `status` hears the text of each row read.
    // Failures pass up.
    void ReadCurrentCatalog(dao::Database &db, const std::function<void(const QString &)> &status);

private:
    std::array<QHash<QString, char>, SetCount> m_sets;
    std::array<std::vector<int>, SetCount> m_widths;
    QHash<QString, QString> m_tableFiles;
};
