// The table data viewer on a table of many rows: how soon the first rows show,
// and how the rest fill while the window keeps handling its events.
#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QPushButton>
#include <sqlite3.h>

#include <stdexcept>

#include "cases.h"
#include "core/cconnections.h"
#include "dataview/frmtabledata.h"
#include "dataview/tabledatamodel.h"
#include "ui.h"

namespace bench {

namespace {

// A table BENCH_ROWS of `rows` customer-like rows, described in the catalog as
// table ROWS of database BENCH.
void fill(const QString &file, int rows)
{
    sqlite3 *db = nullptr;
    if (sqlite3_open(file.toUtf8().constData(), &db) != SQLITE_OK)
        throw std::runtime_error("cannot open the bench file");
    const char *schema =
        "CREATE TABLE BENCH_ROWS (CUST_NO INTEGER, NAME VARCHAR(30), ADDRESS VARCHAR(40), CITY VARCHAR(20), "
        "POSTCODE VARCHAR(8), PHONE VARCHAR(16), CREDIT_LIMIT DOUBLE, SINCE DATE, REGION SMALLINT);"
        "INSERT INTO QN_COLUMN (DATABASE_NAME, TABLE_NAME, COLUMN_NAME, SQL_TYPE_NAME) VALUES "
        "('BENCH', 'ROWS', 'CUST_NO', 'INTEGER'), ('BENCH', 'ROWS', 'NAME', 'VARCHAR'), "
        "('BENCH', 'ROWS', 'ADDRESS', 'VARCHAR'), ('BENCH', 'ROWS', 'CITY', 'VARCHAR'), "
        "('BENCH', 'ROWS', 'POSTCODE', 'VARCHAR'), ('BENCH', 'ROWS', 'PHONE', 'VARCHAR'), "
        "('BENCH', 'ROWS', 'CREDIT_LIMIT', 'DOUBLE'), ('BENCH', 'ROWS', 'SINCE', 'DATE'), "
        "('BENCH', 'ROWS', 'REGION', 'SMALLINT');";
    if (sqlite3_exec(db, schema, nullptr, nullptr, nullptr) != SQLITE_OK)
        throw std::runtime_error("cannot create the bench table");
    sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
    sqlite3_stmt *insert = nullptr;
    sqlite3_prepare_v2(db,
                       "INSERT INTO BENCH_ROWS VALUES (?, 'Customer ' || ?, ? || ' High Street', 'Bristol', "
                       "'BS1 4QT', '0117 496 0321', ? * 0.5, '2020-03-14', ? % 5 + 1)",
                       -1, &insert, nullptr);
    for (int i = 0; i < rows; ++i) {
        for (int p = 1; p <= 5; ++p)
            sqlite3_bind_int(insert, p, i + 1);
        sqlite3_step(insert);
        sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_close(db);
}

// Answers the criteria dialog with every column and nothing else.
class AllColumnsUi : public BenchUi
{
public:
    int RunModal(QDialog &dialog) override
    {
        for (const char *name : {"cmdSelectAll", "cmdOK"})
            if (auto *button = dialog.findChild<QPushButton *>(QLatin1String(name)))
                button->click();
        return dialog.result();
    }
};

struct Viewing
{
    double execute = 0;     // the driver's execution of the statement alone
    double firstScreen = 0; // Display until it returned with the first rows shown
    double fill = 0;        // from then until every row was read
    double longestStep = 0; // the longest time the window waited for its events
    long rows = 0;
    QString caption;
};

Viewing viewOnce(const QString &dataSource)
{
    Viewing v;
    auto *pane = new frmTableData;
    pane->resize(800, 600);
    pane->show();
    QElapsedTimer clock;
    clock.start();
    pane->Display({dataSource, QStringLiteral("BENCH"), QStringLiteral("ROWS")});
    v.firstScreen = double(clock.nsecsElapsed()) / 1e6;
    clock.restart();
    while (pane->Filling())
        QCoreApplication::processEvents();
    v.fill = double(clock.nsecsElapsed()) / 1e6;
    v.longestStep = pane->LongestFillStep();
    v.rows = pane->Model()->rowCount();
    v.caption = pane->datPrimary->Caption();
    delete pane;
    return v;
}

// The best of five viewings of a fresh table of `rows` rows.
Viewing view(int rows)
{
    DataSource source(QStringLiteral("BenchView"));
    fill(source.File(), rows);
    AllColumnsUi answers;
    Viewing best;
    if (!gConnections().Item(source.Name())) // the catalog's connection is not timed
        throw std::runtime_error("cannot connect the bench data source");
    const dao::DatabasePtr db = gConnections().Item(source.Name())->db;
    for (int run = 0; run < 5; ++run) {
        Viewing v = viewOnce(source.Name());
        std::unique_ptr<dao::Reader> reader; // freed after the timing
        v.execute = Best([&] { reader = db->OpenReader(QStringLiteral("SELECT * FROM [BENCH_ROWS] ")); }, 1);
        reader.reset();
        if (run == 0 || v.execute < best.execute)
            best.execute = v.execute;
        if (run == 0 || v.firstScreen < best.firstScreen)
            best.firstScreen = v.firstScreen;
        if (run == 0 || v.fill < best.fill)
            best.fill = v.fill;
        if (run == 0 || v.longestStep < best.longestStep)
            best.longestStep = v.longestStep;
        best.rows = v.rows;
        best.caption = v.caption;
    }
    ReleaseWorkspace();
    if (best.rows != rows || best.caption != QStringLiteral("Record 1 of %1").arg(rows))
        throw std::runtime_error(QStringLiteral("%1 rows shown (%2) of %3").arg(best.rows).arg(best.caption).arg(rows).toStdString());
    return best;
}

} // namespace

Result ViewFirstScreen(int rows)
{
    const Viewing v = view(rows);
    Result result;
    result.ms = v.firstScreen;
    result.rows = v.rows;
    result.figure = v.firstScreen;
    result.notes << QStringLiteral("of which the driver's execution of the statement %1 ms; then every row read in %2 ms")
                        .arg(v.execute, 0, 'f', 1)
                        .arg(v.fill, 0, 'f', 1);
    return result;
}

Result ViewFill(int rows)
{
    const Viewing v = view(rows);
    Result result;
    result.ms = v.fill;
    result.rows = v.rows;
    result.figure = v.longestStep;
    result.notes << QStringLiteral("first screen after %1 ms").arg(v.firstScreen, 0, 'f', 1);
    return result;
}

} // namespace bench
