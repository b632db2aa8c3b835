#pragma once

#include <QString>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

#include "dao.h"
#include "scriptedui.h"
#include "standin.h"

// The catalog tables the writers write, each with its key columns.
inline constexpr const char *kCatalogTables[][2] = {
    {"QN_FILE", "FILE_NAME"},
    {"QN_FIELD", "FILE_NAME, FIELD_NAME"},
    {"QN_DB", "DATABASE_NAME"},
    {"QN_TABLE", "DATABASE_NAME, TABLE_NAME"},
    {"QN_COLUMN", "DATABASE_NAME, TABLE_NAME, COLUMN_NAME"},
    {"QN_USER", "USER_NAME"},
    {"QN_DBPRV", "USER_NAME, DATABASE_NAME"},
    {"QN_TBLPRV", "DATABASE_NAME, TABLE_NAME, USER_NAME"},
};

// Fresh stand-in data sources, an empty connection registry and error state for each test, in a folder the driver manager is
// pointed at: "QnTest" (a new catalog plus the demo catalog), "QnTest2" (a new
// catalog) and "Other" (another driver). Settings go to a temporary folder of
// the test (m_dir); a ScriptedUi is installed for the test's lifetime.
class StandinTest : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

    // The connect text as the program builds it.
    static QString connectText(const QString &dsn) { return QStringLiteral("ODBC;DSN=%1;DATABASE=PUBS").arg(dsn); }
    dao::Workspace &workspace();
    dao::DatabasePtr open(const QString &dsn = QStringLiteral("QnTest"));
    // The first column of the first row of `sql`, or a null value.
    QVariant scalar(const QString &sql, const QString &dsn = QStringLiteral("QnTest"));
    // Rows of `sql` as text, columns joined by "|".
    QStringList rows(const QString &sql, const QString &dsn = QStringLiteral("QnTest"));
    // Every row of the catalog tables the writers write (kCatalogTables),
    // ordered by key, as "<table>:" and its cells joined by "|",
    // a Null shown as "<null>".
    QStringList catalogRows(const QString &dsn);
    QString fileOf(const QString &dsn) const;
    // Gives the data source `dsn` the entry "DefaultDatabase" (none when empty)
    // for the rest of the test.
    void setDefaultDatabase(const QString &dsn, const QString &defaultDatabase);
    // The folder of the data sources and their odbc.ini/odbcinst.ini (one per process).
    static QString dataFolder();

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<ScriptedUi> m_ui;
    ScriptedUi &ui() { return *m_ui; }

private:
    QList<standin::DataSource> m_sources;
    std::unique_ptr<dao::Workspace> m_workspace;
    QMap<QString, dao::DatabasePtr> m_open;
};
