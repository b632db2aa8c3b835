#pragma once

// NodeKey: the identity of every tree node, a path of parts "<tag>=<value>:"
// beginning with "DSN=<data source>:". An upper-case tag is a folder carrying
// its parent's name, a lower-case tag one catalog row. Keys compare
// case-sensitively.
//
// A value is escaped so that a name holding ":" or "=" cannot take another
// node's key: "=" is written "==" and ":" is written "=.". A ":" in a key thus
// always ends a part, the first "=" of a part ends its tag, and the names
// without either character are written as they are.

#include <QString>
#include <QStringList>

namespace NodeKey {

// `value` as it stands in a key.
inline QString Escaped(const QString &value)
{
    if (!value.contains(QLatin1Char(':')) && !value.contains(QLatin1Char('=')))
        return value;
    QString text;
    text.reserve(value.size() + 8);
    for (const QChar c : value) {
        if (c == QLatin1Char('='))
            text += QLatin1String("==");
        else if (c == QLatin1Char(':'))
            text += QLatin1String("=.");
        else
            text += c;
    }
    return text;
}
// The values of a key's parts, in order, as they were given.
inline QStringList Values(const QString &key)
{
    QStringList values;
    QString value;
    bool inTag = true;
    for (qsizetype i = 0; i < key.size(); ++i) {
        const QChar c = key.at(i);
        if (inTag) {
            inTag = c != QLatin1Char('=');
        } else if (c == QLatin1Char(':')) {
            values.append(value);
            value.clear();
            inTag = true;
        } else if (c == QLatin1Char('=') && i + 1 < key.size()) {
            value += key.at(++i) == QLatin1Char('.') ? QLatin1Char(':') : QLatin1Char('=');
        } else {
            value += c;
        }
    }
    return values;
}

// "DSN=" & dataSource & ":"
inline QString Datasource(const QString &dataSource)
{
    return QStringLiteral("DSN=") + Escaped(dataSource) + QLatin1Char(':');
}
// parentKey & tag & "=" & value & ":"
inline QString Child(const QString &parentKey, const QString &tag, const QString &value)
{
    return parentKey + tag + QLatin1Char('=') + Escaped(value) + QLatin1Char(':');
}
// The nodes of one catalog row: "DSN=<ds>:DB=<ds>:db=<database>:",
// then "TA=<database>:ta=<table>:"; "DSN=<ds>:FI=<ds>:fi=<file>:".
inline QString Database(const QString &dataSource, const QString &database)
{
    return Child(Child(Datasource(dataSource), QStringLiteral("DB"), dataSource), QStringLiteral("db"), database);
}
inline QString Table(const QString &dataSource, const QString &database, const QString &table)
{
    return Child(Child(Database(dataSource, database), QStringLiteral("TA"), database), QStringLiteral("ta"), table);
}
inline QString File(const QString &dataSource, const QString &file)
{
    return Child(Child(Datasource(dataSource), QStringLiteral("FI"), dataSource), QStringLiteral("fi"), file);
}
// True for the node types of a data source ("DSN", and "FDSN", which nothing makes).
inline bool IsDatasourceType(const QString &nodeType)
{
    return nodeType == QLatin1String("DSN") || nodeType == QLatin1String("FDSN");
}
// True for an upper-case type: a collection of catalog rows, or a data source
// (a lower-case type is one catalog row; a placeholder's is empty).
inline bool IsFolderType(const QString &nodeType) { return !nodeType.isEmpty() && nodeType.at(0).isUpper(); }

} // namespace NodeKey
