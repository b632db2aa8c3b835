#pragma once

// The benchmark. A case is a function that builds its data at a given row
// count, times one operation (and its baseline, where one exists) and returns
// the figure that its row in the case table (main.cpp) limits. The runner runs
// every case at each of its row counts, smallest first, and prints per row
// count the time, the time per row and the figure; then the growth of the time
// per row from the smallest to the largest count. The figure at the largest
// count must stay within the case's limit and the growth within its growth
// limit; any miss makes the program exit with 1.
//
// Adding a case: write `bench::Result MyCase(int rows)` in a file of bench/
// (declared in cases.h) and add its row to the table in main.cpp.

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

struct sqlite3_stmt;
#include "ui.h"

namespace bench {

// What one run of a case measured.
struct Result
{
    double figure = 0; // compared with the case's limit; lower is better
    double ms = 0;     // the measured operation's time (the best of its runs)
    long rows = 0;     // the rows that operation handled
    QStringList notes; // further lines: the baseline's time, ...
    QString failure;   // set when the run went wrong (counts as a miss)
};

using CaseFunction = Result (*)(int rows);

struct Case
{
    const char *name;         // "read.snapshot"
    const char *figure;       // what the figure is: "data layer / plain ODBC loop"
    double limit;             // the largest allowed figure
    QList<int> rows;          // the row counts, smallest first
    CaseFunction run;
    double growthLimit = 2.0; // the largest allowed growth of the time per row
};

// Runs the cases whose name contains one of `filters` (all when empty) and
// prints their figures; returns the number of misses.
int Run(const QList<Case> &cases, const QStringList &filters);

// The fastest of `runs` runs of `operation`, in milliseconds.
double Best(const std::function<void()> &operation, int runs = 5);

// A stand-in data source holding a fresh new catalog; its file is removed with
// the object. The driver manager reads its configuration folder once per
// process, so every data source lives in one folder of the process.
class DataSource
{
public:
    explicit DataSource(const QString &name = QStringLiteral("Bench"));
    ~DataSource();
    DataSource(const DataSource &) = delete;
    DataSource &operator=(const DataSource &) = delete;

    QString Name() const { return m_name; }
    // Its SQLite file, for filling with the SQLite C API.
    QString File() const { return m_file; }
    // The connect text as the program builds it.
    QString ConnectText() const;

private:
    QString m_name;
    QString m_file;
};

// Runs `sql` once per row on a data source's SQLite file, in one transaction,
// `bind` filling the parameters of row i.
void Fill(const QString &file, const char *sql, int rows, const std::function<void(sqlite3_stmt *, int)> &bind);
// The same, binding the row number (from 1) to the first parameter.
void Fill(const QString &file, int rows, const char *sql);
void BindText(sqlite3_stmt *statement, int column, const QByteArray &text);

// A plain ODBC connection of its own to a data source: the baseline of the
// cases that measure the data layer or the program against the bare API.
class PlainConnection
{
public:
    explicit PlainConnection(const QString &dsn);
    ~PlainConnection();
    PlainConnection(const PlainConnection &) = delete;
    PlainConnection &operator=(const PlainConnection &) = delete;

    // Every cell of every row of `sql` as text (SQLFetch, SQLGetData per cell); the row count.
    long ReadAll(const char *sql) const;
    // Runs each statement (SQLExecDirect), all in one transaction.
    void ExecuteAll(const QStringList &statements) const;

private:
    void *m_env = nullptr;
    void *m_dbc = nullptr;
};

// The result of a write that took `ms` and ran `inserts`, beside a plain ODBC
// loop of the same INSERTs in one transaction (figure: their time ratio). The
// loop writes them under other names: `written`, the name the write gave its
// rows, becomes 'P1', 'P2', ... in each run.
Result BesideInsertLoop(const PlainConnection &plain, double ms, const QStringList &inserts, const QString &written);

// A Ui that answers as a user who takes every default: OK, no file, the error
// dialog's Abort; a case overrides what it needs to answer otherwise.
class BenchUi : public ui::Ui
{
public:
    BenchUi() { ui::install(this); }
    ~BenchUi() override { ui::install(nullptr); }
    int MsgBox(const QString &, int, const QString &) override { return ui::vbOK; }
    std::optional<QString> InputBox(const QString &, const QString &, const QString &) override { return {}; }
    std::optional<QString> GetOpenFileName(const QString &, const QString &, const QString &) override { return {}; }
    std::optional<QString> GetSaveFileName(const QString &, const QString &, const QString &) override { return {}; }
    int ErrorDialog(QDialog &) override { return ui::vbAbort; }
    int RunModal(QDialog &) override { return 0; }
    bool OpenUrl(const QUrl &) override { return false; }
    bool StartProgram(const QString &, const QStringList &) override { return false; }
    bool PrintText(const QString &, const QString &) override { return false; }
    void SetClipboardText(const QString &) override {}
    void Beep() override {}
    [[noreturn]] void EndProgram(int) override;
};

} // namespace bench
