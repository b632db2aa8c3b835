// The grid routines: value words, captions, whole numbers, the fill and the
// step to the next cell.

#include "core/errortrace.h"
#include "core/moddatabase.h"
#include "panes/modgrid.h"
#include "standinfixture.h"

namespace {

TEST(ModGrid, ValueWords)
{
    const struct
    {
        const char *text;
        int boolean;
        int searchable;
    } words[] = {
        {"yes", 1, 0}, {"On", 1, 0},  {"TRUE", 1, 0},  {"Y", 0, 0},  {"1", 0, 0},
        {"", 0, 0},    {"searchable", 0, 0}, {"Searchable", 0, 3}, {"LIKE only", 0, 1},
        {"All except LIKE", 0, 2},   {"Unsearchable", 0, 0},
    };
    for (const auto &w : words) {
        SCOPED_TRACE(w.text);
        EXPECT_EQ(modGrid::ToBoolean(QString::fromLatin1(w.text)), w.boolean);
        EXPECT_EQ(modGrid::ToSearchable(QString::fromLatin1(w.text)), w.searchable);
    }
    const std::pair<const char *, int> encrypted[] = {
        {"No", 0}, {"Yes - Read/Write", 1}, {"Yes - Read Only", 2}, {"yes - read only", 0}, {"2", 0}, {"", 0}};
    for (const auto &[text, code] : encrypted)
        EXPECT_EQ(modGrid::ToEncrypted(QString::fromLatin1(text)), code) << text;
    EXPECT_EQ(modGrid::YesNo(1), QStringLiteral("Yes"));
    for (int other : {0, 2, -1})
        EXPECT_EQ(modGrid::YesNo(other), QStringLiteral("No"));

    // A stored flag that is no whole number (a Null included) shows "No"; a
    // code outside its words shows as stored.
    const struct
    {
        const char *stored, *flag, *searchable;
    } stored[] = {
        {"1", "Yes", "LIKE only"}, {"0", "No", "Unsearchable"}, {"3", "No", "Searchable"},
        {"", "No", ""},            {"abc", "No", "abc"},        {"7", "No", "7"},
        {"-1", "No", "-1"},        {"1.5", "No", "1.5"},
    };
    for (const auto &s : stored) {
        SCOPED_TRACE(s.stored);
        EXPECT_EQ(modGrid::YesNoText(QString::fromLatin1(s.stored)), QLatin1String(s.flag));
        EXPECT_EQ(modGrid::CodeWord(QString::fromLatin1(s.stored), modGrid::SearchableWords()),
                  QLatin1String(s.searchable));
    }
}

TEST(ModGrid, CaptionsAndNames)
{
    const struct
    {
        const char *column, *caption;
    } cases[] = {
        {"COLUMN_NUMBER", "Column Number"},
        {"SQL_TYPE_NAME", "Sql Type Name"},
        {"SETFILEPARAMETER", "Setfileparameter"},
        {"RecordLength", "Recordlength"},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(modGrid::Caption(QLatin1String(c.column)), QLatin1String(c.caption));
        EXPECT_EQ(modGrid::ColumnName(QLatin1String(c.caption)), QString::fromLatin1(c.column).toUpper());
    }
}

TEST(ModGrid, NextCellWraps)
{
    GridView grid;
    grid.Model().Reset({QStringLiteral("A"), QStringLiteral("B")}, {Qt::AlignLeft, Qt::AlignRight},
                       std::vector<QString>(6));
    const struct
    {
        int row, col, nextRow, nextCol;
    } steps[] = {{0, 0, 0, 1}, {0, 1, 1, 0}, {1, 1, 2, 0}, {2, 1, 0, 0}};
    for (const auto &s : steps) {
        grid.SetCurrent(s.row, s.col);
        modGrid::NextCell(grid);
        EXPECT_EQ(grid.Row(), s.nextRow);
        EXPECT_EQ(grid.Col(), s.nextCol);
    }
}

using PopulateGrid = StandinTest;

TEST_F(PopulateGrid, CaptionsAlignmentsAndTexts)
{
    GridView grid;
    const auto db = open();
    ASSERT_TRUE(modGrid::PopulateGrid(
        grid, *db, QStringLiteral("SELECT FILE_NAME, RECORD_SIZE, OPEN_STRING FROM QN_FILE WHERE FILE_NAME IN "
                                  "('CUSTOMER', 'ORDERS') ORDER BY FILE_NAME")));
    EXPECT_EQ(grid.Cols(), 3);
    EXPECT_EQ(grid.Rows(), 2);
    const GridModel &m = grid.Model();
    EXPECT_EQ(m.headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(), QStringLiteral("File Name"));
    EXPECT_EQ(m.headerData(1, Qt::Horizontal, Qt::DisplayRole).toString(), QStringLiteral("Record Size"));
    EXPECT_EQ(m.Alignment(0), Qt::AlignLeft);
    EXPECT_EQ(m.Alignment(1), Qt::AlignRight);
    EXPECT_EQ(m.Alignment(2), Qt::AlignLeft);
    EXPECT_EQ(grid.TextMatrix(0, 0), QStringLiteral("CUSTOMER"));
    EXPECT_EQ(grid.TextMatrix(0, 1), QStringLiteral("133")); // digits, not "133.0"
    EXPECT_EQ(grid.TextMatrix(0, 2), QString());             // a Null
    // A query without rows: the header alone.
    ASSERT_TRUE(modGrid::PopulateGrid(grid, *db, QStringLiteral("SELECT USER_NAME FROM QN_USER WHERE 1 = 0")));
    EXPECT_EQ(grid.Rows(), 0);
    EXPECT_EQ(grid.Model().Caption(0), QStringLiteral("User Name"));
}

// A failed fill honours the answer: Retry fills again, Ignore leaves the rows
// read so far (none), Abort ends the program.
TEST_F(PopulateGrid, FailureAnswers)
{
    GridView grid;
    const auto db = open();
    const QString sql = QStringLiteral("SELECT FILE_NAME FROM QN_FILE");

    dao::Faults::Add(dao::Faults::Statement, 1, QStringLiteral("HY000"), QStringLiteral("disk I/O error"));
    ui().answerError(ui::vbRetry);
    EXPECT_TRUE(modGrid::PopulateGrid(grid, *db, sql));
    EXPECT_GT(grid.Rows(), 5);
    ASSERT_EQ(ui().errors().size(), 1);
    EXPECT_EQ(ui().errors()[0].trappedIn, QStringLiteral("modGrid.PopulateGrid"));
    // The dialog lays the SQL out on several lines.
    EXPECT_EQ(ui().errors()[0].additionalInfo.simplified(), modDatabase::FormatSQL(sql).simplified());

    dao::Faults::Add(dao::Faults::Statement, 1, QStringLiteral("HY000"), QStringLiteral("disk I/O error"));
    ui().answerError(ui::vbIgnore);
    EXPECT_FALSE(modGrid::PopulateGrid(grid, *db, sql));
    EXPECT_EQ(grid.Rows(), 0);
    EXPECT_EQ(grid.Cols(), 1);

    dao::Faults::Add(dao::Faults::Statement, 1, QStringLiteral("HY000"), QStringLiteral("disk I/O error"));
    ui().answerError(ui::vbAbort);
    EXPECT_THROW(modGrid::PopulateGrid(grid, *db, sql), ProgramEnded);
}

} // namespace
