#pragma once

// NodeKey: the identity of every tree node, a path of parts "<tag>=<value>:"
// beginning with "DSN=<data source>:". An upper-case tag is a folder carrying
// its parent's name, a lower-case tag one catalog row. Values are not escaped;
// keys compare case-sensitively.

#include <QString>

namespace NodeKey {

// "DSN=" & dataSource & ":"
inline QString Datasource(const QString &dataSource) { return QStringLiteral("DSN=") + dataSource + QLatin1Char(':'); }
// parentKey & tag & "=" & value & ":"
inline QString Child(const QString &parentKey, const QString &tag, const QString &value)
{
    return parentKey + tag + QLatin1Char('=') + value + QLatin1Char(':');
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

} // namespace NodeKey
