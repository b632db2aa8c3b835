#include <QSet>
#include <gtest/gtest.h>

#include "core/panetable.h"

namespace {

// Every pane with the key parts its Display takes, the key parts its AddNew
// takes (a single-record editor; 0 otherwise) and its coolbar band.
struct Expected
{
    const char *name;
    int displayKeys, editorGroup, band;
};
const Expected kPanes[] = {
    {"frmWelcome", 0, 0, 0},     {"frmAbout", 0, 0, 19},      {"frmOptions", 0, 0, 0},
    {"frmDSN", 1, 0, 0},         {"frmCSVExport", 1, 0, 0},   {"frmCSVImport", 1, 0, 0},
    {"frmDatabases", 1, 0, 5},   {"frmFiles", 1, 0, 11},      {"frmUsers", 1, 0, 18},
    {"frmFields", 2, 0, 9},      {"frmTables", 2, 0, 14},     {"frmDBPRVs", 2, 0, 7},
    {"frmColumns", 3, 0, 3},     {"frmTBLPRVs", 3, 0, 16},    {"frmSpecialCols", 3, 0, 12},
    {"frmTableData", 3, 0, 20},  {"frmDatabase", 2, 1, 4},    {"frmFile", 2, 1, 10},
    {"frmUser", 2, 1, 17},       {"frmField", 3, 2, 8},       {"frmTable", 3, 2, 13},
    {"frmDBPRV", 3, 2, 6},       {"frmColumn", 4, 3, 2},      {"frmTBLPRV", 4, 3, 15},
};

TEST(PaneTable, EveryPaneHasItsKeyCountsAndBand)
{
    QSet<QString> names;
    for (const Expected &e : kPanes) {
        const QString name = QLatin1String(e.name);
        SCOPED_TRACE(e.name);
        names.insert(name);
        const PaneFacts *facts = PaneTable::Find(name);
        ASSERT_TRUE(facts);
        EXPECT_EQ(facts->name, name);
        EXPECT_EQ(facts->displayKeys, e.displayKeys);
        EXPECT_EQ(facts->editorGroup, e.editorGroup);
        EXPECT_EQ(facts->isEditor(), e.editorGroup > 0);
        EXPECT_EQ(facts->band, e.band);
        // An editor shows the row whose parent its AddNew takes.
        if (facts->isEditor()) {
            EXPECT_EQ(facts->displayKeys, facts->editorGroup + 1);
        }
    }
    // No other rows, each name once, and no band shared by two panes.
    EXPECT_EQ(PaneTable::All().size(), qsizetype(std::size(kPanes)));
    QSet<int> bands;
    for (const PaneFacts &row : PaneTable::All()) {
        EXPECT_TRUE(names.contains(row.name)) << row.name.toStdString();
        if (row.band) {
            EXPECT_FALSE(bands.contains(row.band)) << row.name.toStdString();
            bands.insert(row.band);
        }
    }
    EXPECT_EQ(bands.size(), 19); // bands 2 to 20; band 1 is the main toolbar's

    // Names compare exactly.
    EXPECT_EQ(PaneTable::Find(QStringLiteral("frmtable")), nullptr);
    EXPECT_EQ(PaneTable::Find(QStringLiteral("frmMain")), nullptr);
    EXPECT_EQ(PaneTable::Find(QString()), nullptr);
}

} // namespace
