#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// The ODBC data sources the driver manager knows, through the installer API.
namespace datasources {

struct DataSource
{
    QString name;
    QString driver; // the driver's description, as the driver manager reports it
};

// User and system data sources in the driver manager's order. The ODBC
// environment used for the listing is released before this returns.
QList<DataSource> List();
// The names of the data sources of the engine's driver, whose description is
// "Quarnel ODBC" once trimmed (compared exactly), each trimmed, in List's order.
QStringList EngineNames();

// One entry of a data source's configuration ("DefaultDatabase"); `fallback` when absent.
QString Entry(const QString &dataSource, const QString &key, const QString &fallback = {});

} // namespace datasources
