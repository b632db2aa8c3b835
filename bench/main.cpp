// The benchmark's case table and its runner: `qnbench [name ...]` runs the
// cases whose name contains one of the words given (all without any), prints
// every figure with its limit and exits with 1 when one is missed.
#include <QApplication>
#include <QDir>
#include <QSettings>
#include <QTemporaryDir>

#include "cases.h"
#include "heap.h"

namespace {

// name, figure, limit, row counts (smallest first), function[, growth limit]
const QList<bench::Case> kCases = {
    {"read.snapshot", "data layer snapshot / plain ODBC loop", 1.2, {10000, 100000}, &bench::ReadSnapshot},
    // Out of the caches at the larger count a walk costs two or three times as
    // much a node; a walk that is linear in the position costs ten times more.
    {"tree.nodes_by_position", "microseconds per node", 0.5, {10000, 100000}, &bench::NodesByPosition, 4.0},
    // A user waits for these: well under a second at the largest count.
    {"tree.expand_tables", "milliseconds to expand a Tables folder", 250, {500, 5000}, &bench::ExpandTables},
    {"tree.expand_fields", "milliseconds to expand a Fields folder", 100, {200, 2000}, &bench::ExpandFields},
    // One query a folder and a few nodes a row, whatever the tree holds already.
    {"tree.expand_all", "milliseconds of Expand All of a data source", 2000, {500, 5000}, &bench::ExpandAll},
    {"tree.collapse_after_expand_all", "milliseconds to collapse the Files folder after Expand All", 250,
     {1000, 5000}, &bench::CollapseAfterExpandAll},
    {"tree.expand_all_after_collapse", "milliseconds of Expand All of a data source after a folder's collapse", 2000,
     {500, 5000}, &bench::ExpandAllAfterCollapse},
    // The viewer reads the first rows only before it shows; the stand-in's
    // driver, though, reads a whole result when the statement executes (its
    // streaming mode leaves statements that begin with WITH unfinished), and
    // that share grows with the rows.
    {"view.first_screen", "milliseconds to the first rows", 250, {10000, 100000}, &bench::ViewFirstScreen},
    // No step of the fill keeps the window from its events for a noticeable time.
    {"view.fill", "longest wait of the window while filling, ms", 100, {10000, 100000}, &bench::ViewFill},
    // A user waits for a pane: well under a second for the largest collections met.
    {"panes.columns", "milliseconds per Display", 250, {500, 2000}, &bench::ColumnsPane},
    {"panes.files", "milliseconds per Display", 250, {1000, 5000}, &bench::FilesPane},
    {"panes.fields", "milliseconds per Display", 250, {500, 2000}, &bench::FieldsPane},
    // The drag reads the fields and the target's names once, then writes one
    // INSERT a field as the loop does.
    {"copy.file", "file drag copy / plain ODBC loop of its INSERTs", 4, {500, 2000}, &bench::CopyFile},
    // The writes read their source rows once and write one INSERT a row.
    {"copy.database", "copy of a database / plain ODBC INSERT loop", 3, {50, 200}, &bench::CopyDatabase},
    {"wizard.finish", "Finish / plain ODBC INSERT loop", 3, {500, 2000}, &bench::WizardFinish},
    // The file's lines are built from the rows as they are read, and the import
    // checks each line against keys held in memory: no row costs a query. The
    // import's own work a line (its checks, its statement built) is at most
    // half its INSERT's, its time a line nearly flat from 10,000 to 50,000.
    {"csv.export", "export pane / sqlite3 shell's .mode csv export", 2.0, {10000, 50000}, &bench::CsvExport},
    {"csv.import", "two-stage import / plain ODBC loop of the same INSERTs", 1.5, {10000, 50000}, &bench::CsvImport,
     1.3},
};

} // namespace

int main(int argc, char **argv)
{
    // Cases may build panes and the tree: no display needed.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    heap::KeepFreedMemory(); // as the program does
    QApplication app(argc, argv);
    // The user's own settings stay untouched.
    QTemporaryDir settings;
    QSettings::setDefaultFormat(QSettings::IniFormat);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, QDir(settings.path()).filePath(QStringLiteral("settings")));

    const QStringList filters = QCoreApplication::arguments().mid(1);
    return bench::Run(kCases, filters) == 0 ? 0 : 1;
}
