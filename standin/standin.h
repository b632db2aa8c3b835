#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// The stand-in engine: SQLite files behind the stand-in ODBC driver, registered
// in an odbcinst.ini/odbc.ini pair that the driver manager is pointed at.
namespace standin {

inline const QString kDriverName = QStringLiteral("Quarnel ODBC");
inline const QString kOtherDriverName = QStringLiteral("SQLite3 Plain");

struct DataSource
{
    DataSource(QString name_, QString file_, QStringList scripts_, QString driver_ = kDriverName,
               QString defaultDatabase_ = {})
        : name(std::move(name_)), file(std::move(file_)), scripts(std::move(scripts_)), driver(std::move(driver_)),
          defaultDatabase(std::move(defaultDatabase_))
    {
    }
    QString name;
    QString file;                      // the SQLite file
    QStringList scripts;               // SQL scripts that create the file when it is missing
    QString driver;
    QString defaultDatabase; // "DefaultDatabase" entry; none when empty
};

QString CatalogScript(); // schema and seed rows of a new catalog
QString DemoScript();    // a user catalog and a data table

// Creates `file` from the scripts (paths) unless it exists. Throws QnError on failure.
void CreateDatabase(const QString &file, const QStringList &scripts);

// Writes odbcinst.ini (both drivers) and odbc.ini (the data sources) into `folder`,
// creating each data source's file when missing.
void WriteConfig(const QString &folder, const QList<DataSource> &sources);

// Points the driver manager at the configuration in `folder` (ODBCSYSINI, ODBCINI).
void UseConfig(const QString &folder);

} // namespace standin
