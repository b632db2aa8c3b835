#pragma once

// The second stage of a catalog import: the INSERT of one line the first stage
// accepted, read by the same reader and completed the same way, with the
// field and column numbers given afresh.

#include <QHash>
#include <QString>
#include <optional>

class CConnection;

class CatalogImporter
{
public:
    // The statements of one line: the INSERT, and the DELETE of the row it adds.
    struct Statements
    {
        QString insert;
        QString undo;
    };

    explicit CatalogImporter(const CConnection &connection) : m_connection(connection) {}

    // Starts the numbering again: field numbers of a file go on after
    // `lastFieldNumbers` (its highest FIELD_NUMBER in the catalog, by
    // FILE_NAME as stored), column numbers start at 1.
    void Reset(QHash<QString, qint32> lastFieldNumbers);

    // The statements of one line; nothing for an empty line or an unknown tag.
    // Numbers are written as the whole numbers they were checked to be, an
    // empty one as NULL; anything else in a number position fails with 380
    // before a statement is built.
    std::optional<Statements> ImportLine(const QString &text);

private:
    const QString &typeAttributes(const QString &typeName);

    const CConnection &m_connection;
    QHash<QString, qint32> m_fieldNumbers;  // by FILE_NAME as inserted
    QHash<QString, qint32> m_columnNumbers; // by DATABASE_NAME and TABLE_NAME as inserted (apart)
    QHash<QString, QString> m_typeAttributes; // by SQL_TYPE_NAME: its attributes as SQL
};
