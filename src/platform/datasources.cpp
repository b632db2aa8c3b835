#include "datasources.h"

#include <odbcinst.h>
#include <sql.h>
#include <sqlext.h>

#include <vector>

namespace datasources {

QList<DataSource> List()
{
    QList<DataSource> list;
    SQLHENV env = SQL_NULL_HENV;
    if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &env)))
        return list;
    SQLSetEnvAttr(env, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
    SQLUSMALLINT direction = SQL_FETCH_FIRST;
    for (;;) {
        SQLCHAR name[1024] = {}; // wider than SQL_MAX_DSN_LENGTH: longer names are listed whole
        SQLCHAR description[1024] = {};
        SQLSMALLINT nameLength = 0, descriptionLength = 0;
        SQLRETURN rc = SQLDataSources(env, direction, name, sizeof name, &nameLength, description,
                                      sizeof description, &descriptionLength);
        if (!SQL_SUCCEEDED(rc))
            break;
        list.append({QString::fromUtf8(reinterpret_cast<const char *>(name)),
                     QString::fromUtf8(reinterpret_cast<const char *>(description))});
        direction = SQL_FETCH_NEXT;
    }
    SQLFreeHandle(SQL_HANDLE_ENV, env);
    return list;
}

QStringList EngineNames()
{
    QStringList names;
    for (const DataSource &source : List())
        if (source.driver.trimmed() == QLatin1String("Quarnel ODBC"))
            names << source.name.trimmed();
    return names;
}

QString Entry(const QString &dataSource, const QString &key, const QString &fallback)
{
    std::vector<char> buffer(1024);
    QByteArray section = dataSource.toUtf8();
    QByteArray entry = key.toUtf8();
    QByteArray def = fallback.toUtf8();
    int length = SQLGetPrivateProfileString(section.constData(), entry.constData(), def.constData(),
                                            buffer.data(), int(buffer.size()), "odbc.ini");
    if (length < 0)
        return fallback;
    return QString::fromUtf8(buffer.data(), qMin<int>(length, int(buffer.size()) - 1));
}

} // namespace datasources
