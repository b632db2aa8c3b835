#pragma once

// The second stage of a catalog import: the INSERT of one line the first stage
// accepted, read by the same reader and completed the same way, with the
// field and column numbers given afresh, and the reads of the rows it goes
// under that the first stage found in the catalog.

#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>
#include <array>
#include <initializer_list>
#include <optional>

#include "catalogkeys.h"

class CConnection;

class CatalogImporter
{
public:
    // The statements of one line: the INSERT, the DELETE of the row it adds
    // (where no transaction holds the import: else empty), and the reads of
    // the parent rows to find before the INSERT.
    struct Statements
    {
        QString insert;
        QString undo;
        QStringList parents;
    };

    // `keys`: the keys the first stage checked the lines against; a parent
    // they mark as read from the catalog is read again before a child is
    // written (another connection may have deleted it meanwhile).
    CatalogImporter(const CConnection &connection, const CatalogKeys &keys) : m_connection(connection), m_keys(keys)
    {
    }

    // Starts the numbering again: field numbers of a file go on after
    // `lastFieldNumbers` (its highest FIELD_NUMBER in the catalog, by
    // FILE_NAME as stored), column numbers start at 1; every parent is read
    // again. `held`: the statements run in one transaction, which holds a
    // parent once read, so it is read before its first child only; otherwise
    // before each.
    void Reset(QHash<QString, qint32> lastFieldNumbers, bool held);

    // The statements of one line; nothing for an empty line or an unknown tag.
    // Numbers are written as the whole numbers they were checked to be, an
    // empty one as NULL; anything else in a number position fails with 380
    // before a statement is built.
    std::optional<Statements> ImportLine(QStringView text);

private:
    const QString &typeAttributes(const QString &typeName);
    // Adds to `parents` the read of the row of `table` whose key `columns`
    // hold `values`, when the first stage found it in the catalog (its key in
    // `set`), and, where a transaction holds it, it was not read since Reset.
    void parent(QStringList &parents, CatalogKeys::Set set, const char *table,
                std::initializer_list<const char *> columns, std::initializer_list<QString> values);

    const CConnection &m_connection;
    const CatalogKeys &m_keys;
    bool m_held = true;
    QSet<QString> m_parentsRead; // the parents read: their set and key
    std::array<QStringList, CatalogKeys::SetCount> m_lastParents; // per set, the key values met last
    QHash<QString, qint32> m_fieldNumbers;  // by FILE_NAME as inserted
    QHash<QString, qint32> m_columnNumbers; // by DATABASE_NAME and TABLE_NAME as inserted (apart)
    QHash<QString, QString> m_typeAttributes; // by SQL_TYPE_NAME: its attributes as SQL
    QStringList m_fields; // of the line being imported
};
