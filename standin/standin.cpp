#include "standin.h"

#include <odbcinst.h>
#include <sqlite3.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTextStream>

#include "qnerror.h"

namespace standin {

namespace {

// The driver manager keeps the entries it read (a data source's
// "DefaultDatabase", say) for a while, however the file changes meanwhile.
// Removing an entry through it drops what it kept, so a rewritten
// configuration is read afresh. The entry named here is never there, so the
// file keeps its content.
void dropEntryCache()
{
    UWORD mode = ODBC_BOTH_DSN;
    SQLGetConfigMode(&mode);
    SQLSetConfigMode(ODBC_SYSTEM_DSN);
    SQLWritePrivateProfileString("Quarnel stand-in", "Never written", nullptr, "odbc.ini");
    SQLSetConfigMode(mode);
}

bool inUse(const QString &folder)
{
    const QString current = QString::fromLocal8Bit(qgetenv("ODBCSYSINI"));
    return !current.isEmpty() && QDir(current).absolutePath() == QDir(folder).absolutePath();
}

} // namespace

QString CatalogScript() { return QStringLiteral(QN_STANDIN_DIR "/catalog.sql"); }
QString DemoScript() { return QStringLiteral(QN_STANDIN_DIR "/demo.sql"); }

void CreateDatabase(const QString &file, const QStringList &scripts)
{
    if (QFileInfo::exists(file))
        return;
    QDir().mkpath(QFileInfo(file).absolutePath());
    const QString partial = file + QStringLiteral(".part");
    QFile::remove(partial);
    sqlite3 *db = nullptr;
    if (sqlite3_open(partial.toUtf8().constData(), &db) != SQLITE_OK) {
        sqlite3_close(db);
        throw QnError(75, QStringLiteral("Cannot create %1").arg(partial));
    }
    for (const QString &script : scripts) {
        QFile in(script);
        if (!in.open(QIODevice::ReadOnly)) {
            sqlite3_close(db);
            throw QnError(53, QStringLiteral("File not found: %1").arg(script));
        }
        QByteArray sql = in.readAll();
        char *message = nullptr;
        if (sqlite3_exec(db, sql.constData(), nullptr, nullptr, &message) != SQLITE_OK) {
            QString text = QString::fromUtf8(message ? message : "");
            sqlite3_free(message);
            sqlite3_close(db);
            QFile::remove(partial);
            throw QnError(3146, QStringLiteral("%1: %2").arg(script, text));
        }
    }
    sqlite3_close(db);
    if (!QFile::rename(partial, file))
        throw QnError(75, QStringLiteral("Cannot create %1").arg(file));
}

void WriteConfig(const QString &folder, const QList<DataSource> &sources)
{
    QDir().mkpath(folder);
    QFile inst(QDir(folder).filePath(QStringLiteral("odbcinst.ini")));
    if (!inst.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text))
        throw QnError(75, QStringLiteral("Cannot write %1").arg(inst.fileName()));
    QTextStream i(&inst);
    i << "[" << kDriverName << "]\n"
      << "Description = Quarnel ODBC stand-in\n"
      << "Driver = " << QN_STANDIN_DRIVER << "\n"
      << "Setup = " << QN_STANDIN_DRIVER << "\n\n"
      << "[" << kOtherDriverName << "]\n"
      << "Description = SQLite3 ODBC\n"
      << "Driver = " << QN_SQLITE_ODBC_DRIVER << "\n"
      << "Setup = " << QN_SQLITE_ODBC_DRIVER << "\n";
    i.flush();

    QFile ini(QDir(folder).filePath(QStringLiteral("odbc.ini")));
    if (!ini.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text))
        throw QnError(75, QStringLiteral("Cannot write %1").arg(ini.fileName()));
    QTextStream o(&ini);
    for (const DataSource &s : sources) {
        QString file = QFileInfo(s.file).absoluteFilePath();
        CreateDatabase(file, s.scripts);
        o << "[" << s.name << "]\n"
          << "Driver = " << s.driver << "\n"
          << "Database = " << file << "\n"
          << "NoCreat = 1\n"
          << "Timeout = 2000\n";
        if (!s.defaultDatabase.isEmpty())
            o << "DefaultDatabase = " << s.defaultDatabase << "\n";
        o << "\n";
    }
    o.flush();
    ini.close();
    if (inUse(folder))
        dropEntryCache();
}

void UseConfig(const QString &folder)
{
    QByteArray dir = QDir(folder).absolutePath().toUtf8();
    qputenv("ODBCSYSINI", dir);
    // System data sources only: the user file is left empty so none is listed twice.
    qputenv("ODBCINI", dir + "/user-odbc.ini");
    dropEntryCache();
}

} // namespace standin
