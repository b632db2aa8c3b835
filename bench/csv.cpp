// The catalog exchange file on a large catalog: the export pane against the
// sqlite3 shell's own CSV export of the same rows, and the whole two-stage
// import (catalog keys read, file counted, every line checked, every line
// inserted in one unit) against a plain ODBC loop that runs the same INSERTs
// in one transaction.
#include <QCoreApplication>
#include <QDialog>
#include <QEvent>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <sqlite3.h>

#include <stdexcept>

#include "cases.h"
#include "core/cconnections.h"
#include "csv/frmcsvexport.h"
#include "csv/frmcsvvalidate.h"
#include "panehost/panehost.h"
#include "ui.h"

namespace bench {

namespace {

// The export's queries, as the pane runs them.
const QString kSystemFiles = QStringLiteral(
    "('CNTRL','COLUMN','DB','DBPRV','DRIVER','FIELD','FILE','KEY','LOCDT','SQLDT','TABLE','TBLPRV','USER')");
QStringList exportQueries()
{
    return {
        QStringLiteral("SELECT 'FILE', FILE_NAME, FILE_ORGANISATION, RECORD_TYPE, RECORD_SIZE FROM QN_FILE WHERE "
                       "FILE_NAME NOT IN ") + kSystemFiles,
        QStringLiteral("SELECT 'FIELD', FILE_NAME, FIELD_NAME, LOCAL_TYPE_NAME, OFFSET, LENGTH, PRECISION, SCALE, "
                       "ENCRYPTED, FORMAT, DEFAULT_VALUE FROM QN_FIELD WHERE FILE_NAME NOT IN ") + kSystemFiles,
        QStringLiteral("SELECT 'DB', DATABASE_NAME, DEFAULT_DIRECTORY, DRIVER_NAME, CONNECT_STRING, DISPLAY_NAME FROM "
                       "QN_DB WHERE DATABASE_NAME <>'QN'"),
        QStringLiteral("SELECT 'TABLE', DATABASE_NAME, TABLE_NAME, TABLE_TYPE, FILE_NAME, FILE_SPECIFICATION, "
                       "CRITERIA, DISPLAY_NAME FROM QN_TABLE WHERE DATABASE_NAME <>'QN'"),
        QStringLiteral("SELECT 'COLUMN', DATABASE_NAME, TABLE_NAME, COLUMN_NAME, FIELD_NAME, SQL_TYPE_NAME, LENGTH, "
                       "UPDATABLE, VISIBLE, DEFAULT_VALUE, DISPLAY_NAME, COLUMN_TYPE FROM QN_COLUMN WHERE "
                       "DATABASE_NAME <>'QN'"),
        QStringLiteral("SELECT 'USER', USER_NAME, USER_PASSWORD FROM QN_USER WHERE USER_NAME <>'ADMIN'"),
        QStringLiteral("SELECT 'DBPRV', USER_NAME, DATABASE_NAME, DATABASE_USERNAME, DATABASE_PASSWORD, ALLOW_SELECT, "
                       "ALLOW_INSERT, ALLOW_UPDATE, ALLOW_DELETE, SECURITY_LEVEL FROM QN_DBPRV WHERE DATABASE_NAME "
                       "<>'QN'"),
        QStringLiteral("SELECT 'TBLPRV', USER_NAME, DATABASE_NAME, TABLE_NAME, ALLOW_SELECT, ALLOW_INSERT, "
                       "ALLOW_UPDATE, ALLOW_DELETE FROM QN_TBLPRV WHERE DATABASE_NAME <>'QN'"),
    };
}

// A user catalog of `rows` rows that imports without a warning: per 100 rows a
// file of 40 fields with a table of 40 columns over it; databases, users with a
// database privilege each, and table privileges for the rest.
void fill(const QString &file, int rows)
{
    const int files = qMax(1, rows / 100), databases = qMax(1, rows / 1000), users = qMax(1, rows / 40);
    const int privileges = rows - (files * 82 + databases + users * 2);
    if (privileges < 0 || privileges > users * files)
        throw std::runtime_error("no catalog of that size");
    // Each statement numbers its rows with ?1 from 0; ?2 and ?3 carry counts.
    const struct
    {
        const char *sql;
        int count;
    } tables[] = {
        {"INSERT INTO QN_FILE VALUES ('BF' || ?1, NULL, 400, 'INDEXED', 'FIXED', 'A file of the benchmark')", files},
        {"INSERT INTO QN_FIELD VALUES ('BF' || (?1 / 40), ?1 % 40 + 1, 'FIELD-' || (?1 % 40 + 1), 'STRING', "
         "10 * (?1 % 40), 10, 10, 0, 0, NULL, NULL, 'A field')",
         files * 40},
        {"INSERT INTO QN_DB VALUES ('BDB' || ?1, '/data/bench', 'DISAM', NULL, 'DSN=bench', NULL, 'Bdb' || ?1)",
         databases},
        {"INSERT INTO QN_TABLE VALUES ('BDB' || (?1 % ?2), 'BT' || ?1, 'TABLE', 'BF' || ?1, 'bt.dat', 40, NULL, "
         "NULL, 'Bt' || ?1)",
         files},
        {"INSERT INTO QN_COLUMN VALUES ('BDB' || ((?1 / 40) % ?2), 'BT' || (?1 / 40), ?1 % 40 + 1, 'COL_' || "
         "(?1 % 40 + 1), 'FIELD-' || (?1 % 40 + 1), 'VARCHAR', 10, 10, 0, 1, 0, 1, 1, 0, 0, 1, 3, 0, NULL, NULL, 0, "
         "0, 'Col_' || (?1 % 40 + 1))",
         files * 40},
        {"INSERT INTO QN_USER VALUES ('BU' || ?1, 'PW' || ?1, NULL)", users},
        {"INSERT INTO QN_DBPRV VALUES ('BU' || ?1, 'BDB' || (?1 % ?2), 'APP', 'Pass', 1, 1, 0, 0, 'DATABASE', NULL)",
         users},
        {"INSERT INTO QN_TBLPRV VALUES ('BDB' || ((?1 / ?3) % ?2), 'BT' || (?1 / ?3), 'BU' || (?1 % ?3), 1, 0, 0, "
         "0, NULL)",
         privileges},
    };
    for (const auto &t : tables)
        Fill(file, t.sql, t.count, [&](sqlite3_stmt *insert, int i) {
            sqlite3_bind_int(insert, 1, i);
            sqlite3_bind_int(insert, 2, databases);
            sqlite3_bind_int(insert, 3, users);
        });
}

// The answers of the file dialogs, the messages and the validation dialog.
class AnsweringUi : public BenchUi
{
public:
    QString file;
    QStringList messages;
    int MsgBox(const QString &prompt, int style, const QString &) override
    {
        messages << prompt;
        return (style & 7) == ui::vbYesNo ? ui::vbYes : ui::vbOK;
    }
    std::optional<QString> GetOpenFileName(const QString &, const QString &, const QString &) override { return file; }
    std::optional<QString> GetSaveFileName(const QString &, const QString &, const QString &) override { return file; }
    // The validation dialog: Start runs both stages.
    int RunModal(QDialog &dialog) override
    {
        if (auto *start = dialog.findChild<QPushButton *>(QStringLiteral("cmdAction")))
            start->click();
        return 0;
    }
};

// A pane host that only makes a pane current.
class QuietHost : public PaneHost
{
public:
    QuietHost() { PaneHost::SetCurrent(this); }
    ~QuietHost() override { PaneHost::SetCurrent(nullptr); }
    int PaneDisplay(QWidget *, const QStringList &) override { return 0; }
    int PaneDisplay(const QString &, const QStringList &) override { return 0; }
    void PaneAddNew(const QString &, const QStringList &) override {}
    void PaneEdit(const QString &, const QStringList &) override {}
    void PaneDelete(const QString &, const QStringList &) override {}
    void PaneShow(QWidget *form) override { gCurrentPane() = form; }
    QToolBar *PaneBand(const QString &) const override { return nullptr; }
};

QString sqliteShell()
{
    const QString shell = QStandardPaths::findExecutable(QStringLiteral("sqlite3"));
    if (shell.isEmpty())
        throw std::runtime_error("the sqlite3 shell is not installed (scripts/install-deps)");
    return shell;
}

// Runs the sqlite3 shell on `file` with `script`; its time in milliseconds.
double runShell(const QString &file, const QString &script)
{
    QProcess shell;
    shell.setStandardErrorFile(QProcess::nullDevice());
    shell.setStandardOutputFile(QProcess::nullDevice());
    QElapsedTimer clock;
    clock.start();
    shell.start(sqliteShell(), {QStringLiteral("-batch"), file});
    if (!shell.waitForStarted())
        throw std::runtime_error("the sqlite3 shell did not start");
    shell.write(script.toUtf8());
    shell.closeWriteChannel();
    shell.waitForFinished(-1);
    const double ms = double(clock.nsecsElapsed()) / 1e6;
    if (shell.exitStatus() != QProcess::NormalExit)
        throw std::runtime_error("the sqlite3 shell failed");
    return ms;
}

long linesOf(const QString &name)
{
    QFile file(name);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    long lines = 0;
    while (!file.readLine().isEmpty())
        ++lines;
    return lines;
}

// The export pane of `source` writing `file`; its time in milliseconds.
double exportWithPane(const DataSource &source, const QString &file, AnsweringUi &answers)
{
    QuietHost host;
    frmCSVExport pane;
    if (pane.Display({source.Name()}) != 0)
        throw std::runtime_error("the export pane found no connection");
    answers.file = file;
    answers.messages.clear();
    QElapsedTimer clock;
    clock.start();
    pane.cmdAction->click();
    const double ms = double(clock.nsecsElapsed()) / 1e6;
    if (answers.messages != QStringList{QStringLiteral("Catalog Exported")})
        throw std::runtime_error(("the export said: " + answers.messages.join(QLatin1Char('/'))).toStdString());
    return ms;
}

// Runs of each side, the best of which counts: enough that a moment's load
// on the machine does not decide a figure.
constexpr int kRuns = 6;

} // namespace

Result CsvExport(int rows)
{
    DataSource source(QStringLiteral("BenchCsv"));
    fill(source.File(), rows);
    QTemporaryDir folder;
    const QString ours = QDir(folder.path()).filePath(QStringLiteral("pane.csv"));
    const QString theirs = QDir(folder.path()).filePath(QStringLiteral("shell.csv"));
    AnsweringUi answers;
    if (!gConnections().Item(source.Name())) // the connection is not timed
        throw std::runtime_error("cannot connect the bench data source");
    double pane = 1e300, shell = 1e300;
    QString script = QStringLiteral(".mode csv\n.output ") + theirs + QLatin1Char('\n');
    for (const QString &query : exportQueries())
        script += query + QStringLiteral(";\n");
    for (int run = 0; run < kRuns; ++run) {
        pane = qMin(pane, exportWithPane(source, ours, answers));
        shell = qMin(shell, runShell(source.File(), script));
    }
    ReleaseWorkspace();
    Result result;
    result.ms = pane;
    result.rows = linesOf(ours);
    result.figure = pane / shell;
    result.notes << QStringLiteral("sqlite3 shell .mode csv export %1 ms").arg(shell, 0, 'f', 1);
    if (result.rows != rows || linesOf(theirs) != rows)
        result.failure = QStringLiteral("lines written: pane %1, shell %2; %3 rows")
                             .arg(result.rows)
                             .arg(linesOf(theirs))
                             .arg(rows);
    return result;
}

Result CsvImport(int rows)
{
    QTemporaryDir folder;
    const QString file = QDir(folder.path()).filePath(QStringLiteral("catalog.csv"));
    AnsweringUi answers;
    {
        DataSource source(QStringLiteral("BenchCsv"));
        fill(source.File(), rows);
        if (!gConnections().Item(source.Name()))
            throw std::runtime_error("cannot connect the bench data source");
        exportWithPane(source, file, answers);
        ReleaseWorkspace();
    }
    // Each run imports into a new catalog, connected before the clock starts;
    // the baseline's runs alternate with the import's, so both meet the same
    // load of the machine. The first import hands the baseline its INSERTs.
    double ours = 1e300, plain = 1e300, shell = 1e300;
    QStringList inserts;
    for (int run = 0; run < kRuns; ++run) {
        {
            DataSource target(QStringLiteral("BenchCsvTarget"));
            if (!gConnections().Item(target.Name()))
                throw std::runtime_error("cannot connect the bench target");
            answers.file = file;
            answers.messages.clear();
            if (run == 0)
                dao::SetStatementObserver([&](const QString &sql) {
                    if (sql.startsWith(QLatin1String("INSERT")))
                        inserts << sql;
                });
            QElapsedTimer clock;
            clock.start();
            frmCSVValidate::Validate(target.Name(), file);
            const double ms = double(clock.nsecsElapsed()) / 1e6;
            dao::SetStatementObserver(nullptr);
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            if (answers.messages != QStringList{QStringLiteral("CSV Successfully imported.")})
                throw std::runtime_error(("the import said: " + answers.messages.join(QLatin1Char('/'))).toStdString());
            ReleaseWorkspace();
            if (run > 0) // the first run also recorded the statements
                ours = qMin(ours, ms);
        }
        {
            DataSource target(QStringLiteral("BenchCsvTarget"));
            const PlainConnection connection(target.Name());
            QElapsedTimer clock;
            clock.start();
            connection.ExecuteAll(inserts);
            plain = qMin(plain, double(clock.nsecsElapsed()) / 1e6);
        }
    }
    for (int run = 0; run < kRuns; ++run) {
        DataSource target(QStringLiteral("BenchCsvTarget"));
        shell = qMin(shell, runShell(target.File(),
                                     QStringLiteral("CREATE TABLE CSV (C1, C2, C3, C4, C5, C6, C7, C8, C9, C10, C11, "
                                                    "C12);\n.import --csv ") +
                                         file + QStringLiteral(" CSV\n")));
    }
    Result result;
    result.ms = ours;
    result.rows = inserts.size();
    result.figure = ours / plain;
    result.notes << QStringLiteral("plain ODBC loop of the same INSERTs in one transaction %1 ms; sqlite3 shell "
                                   ".import of the file into one table %2 ms (a note)")
                        .arg(plain, 0, 'f', 1)
                        .arg(shell, 0, 'f', 1);
    if (result.rows != rows)
        result.failure = QStringLiteral("%1 rows imported of %2").arg(result.rows).arg(rows);
    return result;
}

} // namespace bench
