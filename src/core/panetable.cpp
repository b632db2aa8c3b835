#include "panetable.h"

#include <QHash>

namespace PaneTable {

const QList<PaneFacts> &All()
{
    // name, Display keys, editor group, band
    static const QList<PaneFacts> rows = {
        // The small panes.
        {QStringLiteral("frmWelcome"), 0, 0, 0},
        {QStringLiteral("frmAbout"), 0, 0, 19},
        {QStringLiteral("frmOptions"), 0, 0, 0},
        {QStringLiteral("frmDSN"), 1, 0, 0},
        {QStringLiteral("frmCSVExport"), 1, 0, 0},
        {QStringLiteral("frmCSVImport"), 1, 0, 0},
        // The grid panes.
        {QStringLiteral("frmDatabases"), 1, 0, 5},
        {QStringLiteral("frmFiles"), 1, 0, 11},
        {QStringLiteral("frmUsers"), 1, 0, 18},
        {QStringLiteral("frmFields"), 2, 0, 9},
        {QStringLiteral("frmTables"), 2, 0, 14},
        {QStringLiteral("frmDBPRVs"), 2, 0, 7},
        {QStringLiteral("frmColumns"), 3, 0, 3},
        {QStringLiteral("frmTBLPRVs"), 3, 0, 16},
        // The single-record editors.
        {QStringLiteral("frmDatabase"), 2, 1, 4},
        {QStringLiteral("frmFile"), 2, 1, 10},
        {QStringLiteral("frmUser"), 2, 1, 17},
        {QStringLiteral("frmField"), 3, 2, 8},
        {QStringLiteral("frmTable"), 3, 2, 13},
        {QStringLiteral("frmDBPRV"), 3, 2, 6},
        {QStringLiteral("frmColumn"), 4, 3, 2},
        {QStringLiteral("frmTBLPRV"), 4, 3, 15},
        // The special columns and the table data viewer.
        {QStringLiteral("frmSpecialCols"), 3, 0, 12},
        {QStringLiteral("frmTableData"), 3, 0, 20},
    };
    return rows;
}

const PaneFacts *Find(const QString &name)
{
    static const QHash<QString, const PaneFacts *> byName = [] {
        QHash<QString, const PaneFacts *> map;
        for (const PaneFacts &row : All())
            map.insert(row.name, &row);
        return map;
    }();
    return byName.value(name, nullptr);
}

} // namespace PaneTable
