// The special columns pane: what it shows, which boxes each driver and file
// organisation lets the user switch, the statements OK writes as one unit
// (and nothing, with the stored state kept, when that unit fails, or when the
// table was deleted meanwhile), a special type it does not know, Cancel and Up.

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>

#include "editorfixture.h"
#include "editors/schema/frmspecialcols.h"

namespace {

class SpecialColumns : public EditorTest
{
protected:
    frmSpecialCols &display(const QString &database, const QString &table)
    {
        EXPECT_EQ(main().PaneDisplay(QStringLiteral("frmSpecialCols"), {QStringLiteral("QnTest"), database, table}), 0);
        frmSpecialCols *form = forms::LoadedForm<frmSpecialCols>();
        EXPECT_TRUE(form);
        return *form;
    }
    void clickBand(const QString &key) { EditorTest::clickBand(QStringLiteral("frmSpecialCols"), key); }
    QString state()
    {
        return bandState(QStringLiteral("frmSpecialCols"), {"Special Column Edit", "OK", "Cancel"});
    }
    // The boxes of types 1 to 8: "1" checked, "0" not.
    static QString checked(const frmSpecialCols &f)
    {
        QString shown;
        for (int i = 1; i <= 8; ++i)
            shown += f.chkActive(i)->isChecked() ? QLatin1Char('1') : QLatin1Char('0');
        return shown;
    }
    // Their stored states.
    static QString tags(const frmSpecialCols &f)
    {
        QString shown;
        for (int i = 1; i <= 8; ++i)
            shown += f.chkActive(i)->property("Tag").toString();
        return shown;
    }
    // Which of them can be switched: "+" enabled, "-" not.
    static QString enabled(const frmSpecialCols &f)
    {
        QString shown;
        for (int i = 1; i <= 8; ++i)
            shown += f.chkActive(i)->isEnabled() ? QLatin1Char('+') : QLatin1Char('-');
        return shown;
    }
    // The special rows of a table: type, name, field, length, precision, SQL type, updatable, visible, remarks.
    QStringList specialRows(const QString &database, const QString &table)
    {
        return rows(QStringLiteral("SELECT COLUMN_TYPE, COLUMN_NAME, FIELD_NAME, LENGTH, PRECISION, SQL_TYPE_NAME, "
                                   "UPDATABLE, VISIBLE, DEFAULT_VALUE, REMARKS, COLUMN_NUMBER FROM QN_COLUMN WHERE "
                                   "DATABASE_NAME = '%1' AND TABLE_NAME = '%2' AND COLUMN_TYPE > 0 ORDER BY COLUMN_TYPE")
                        .arg(database, table));
    }
};

TEST_F(SpecialColumns, DisplayShowsTheStoredSpecialColumns)
{
    frmSpecialCols &f = display(QStringLiteral("STOCK"), QStringLiteral("BIN"));
    EXPECT_EQ(f.lblTitle.title->text(), QStringLiteral("BIN - Special Columns"));
    EXPECT_EQ(button(QStringLiteral("frmSpecialCols"), QStringLiteral("Up1"))->toolTip(),
              QStringLiteral("Up to Table 'BIN'"));
    EXPECT_EQ(checked(f), QStringLiteral("00000011"));
    EXPECT_EQ(tags(f), QStringLiteral("00000011"));
    EXPECT_EQ(enabled(f), QStringLiteral("--------"));
    EXPECT_EQ(textOf(f.cboRIColumn), QStringLiteral("BIN_NO"));
    EXPECT_FALSE(f.cboRIColumn->isEnabled());
    QStringList columns;
    for (int i = 0; i < f.cboRIColumn->count(); ++i)
        columns << f.cboRIColumn->itemText(i);
    EXPECT_EQ(columns, QStringList({"BIN_FLAGS", "BIN_NO", "LAST_COUNT", "ON_HAND", "PRODUCT_CODE", "RELATIVE_INDEX",
                                    "RELATIVE_NUMBER", "REORDER_LEVEL"}));
    EXPECT_EQ(f.lblDescription->text(), QStringLiteral("This is a list of all the Special Columns in Table 'BIN'."));
    EXPECT_FALSE(f.cmdAction->isVisible());
    EXPECT_FALSE(f.cmdCancel->isVisible());
    EXPECT_EQ(state(), QStringLiteral("+--"));
    EXPECT_EQ(visibleBands(), QStringList({"tbrMain", "tbrSpecialCols"}));

    // A table without special rows: nothing checked, an empty column.
    display(QStringLiteral("SALES"), QStringLiteral("CUSTOMER"));
    EXPECT_EQ(checked(f), QStringLiteral("00000000"));
    EXPECT_EQ(textOf(f.cboRIColumn), QString());
    // The tables of 'QN' cannot be edited.
    display(QStringLiteral("QN"), QStringLiteral("TABLE"));
    EXPECT_EQ(state(), QStringLiteral("---"));
    // No open database: nothing shown.
    ui().answerMsgBox(ui::vbOK);
    EXPECT_EQ(main().PaneDisplay(QStringLiteral("frmSpecialCols"), {QStringLiteral("Nope"), QStringLiteral("A"),
                                                                   QStringLiteral("B")}),
              -1);
}

// The boxes each driver and file organisation lets the user switch (2 to 5 always).
TEST_F(SpecialColumns, TheSwitchableBoxesFollowTheDriverAndTheOrganisation)
{
    open()->Execute(QStringLiteral("INSERT INTO QN_FILE (FILE_NAME, FILE_ORGANISATION) VALUES ('F9', 'INDEXED')"));
    open()->Execute(QStringLiteral("INSERT INTO QN_TABLE (DATABASE_NAME, TABLE_NAME, TABLE_TYPE, FILE_NAME) VALUES "
                                   "('STOCK', 'T9', 'TABLE', 'F9'), ('NODB', 'T9', 'TABLE', 'F9')"));
    struct Case
    {
        const char *database, *driver, *organisation, *file;
        QString switchable;
    };
    const QList<Case> cases = {
        {"STOCK", "VAX-RMS", "INDEXED", "F9", "+++++--+"},
        {"STOCK", "VAX-RMS", "SEQUENTIAL", "F9", "+++++--+"},
        {"STOCK", "VAX-RMS", "RELATIVE", "F9", "-++++-++"},
        {"STOCK", "VAX-RMS", "INDEXED", "NOFILE", "-++++-++"}, // no file: no organisation
        {"STOCK", "VAX-RMS", "indexed", "F9", "-++++-++"},
        {"STOCK", "DISAM", "INDEXED", "F9", "-+++++--"},
        {"STOCK", "disam", "INDEXED", "F9", "-++++---"},
        {"STOCK", "vax-rms", "INDEXED", "F9", "-++++---"},
        {"STOCK", "OTHER", "RELATIVE", "F9", "-++++---"},
        {"NODB", "", "INDEXED", "F9", "-++++---"}, // no QN_DB row
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(c.database) + " " + c.driver + " " + c.organisation + " " + c.file);
        open()->Execute(QStringLiteral("UPDATE QN_DB SET DRIVER_NAME = '%1' WHERE DATABASE_NAME = 'STOCK'")
                            .arg(QLatin1String(c.driver)));
        open()->Execute(QStringLiteral("UPDATE QN_FILE SET FILE_ORGANISATION = '%1' WHERE FILE_NAME = 'F9'")
                            .arg(QLatin1String(c.organisation)));
        open()->Execute(QStringLiteral("UPDATE QN_TABLE SET FILE_NAME = '%1' WHERE TABLE_NAME = 'T9'")
                            .arg(QLatin1String(c.file)));
        frmSpecialCols &f = display(QLatin1String(c.database), QStringLiteral("T9"));
        clickBand(QStringLiteral("Special Column Edit"));
        EXPECT_EQ(enabled(f), c.switchable);
        EXPECT_EQ(state(), QStringLiteral("-++"));
        EXPECT_FALSE(f.cboRIColumn->isEnabled()); // box 8 is not checked
        clickBand(QStringLiteral("Cancel"));
    }

    // A stored special column the driver does not allow stays checked, cannot
    // be switched, and OK keeps its row.
    open()->Execute(QStringLiteral("UPDATE QN_DB SET DRIVER_NAME = 'OTHER' WHERE DATABASE_NAME = 'SALES'"));
    frmSpecialCols &f = display(QStringLiteral("SALES"), QStringLiteral("ORDERS"));
    clickBand(QStringLiteral("Special Column Edit"));
    EXPECT_EQ(checked(f), QStringLiteral("01000100"));
    EXPECT_FALSE(f.chkActive(6)->isEnabled());
    click(f.chkActive(2)); // INDEX_NUMBER off
    clickBand(QStringLiteral("OK"));
    EXPECT_EQ(specialRows(QStringLiteral("SALES"), QStringLiteral("ORDERS")),
              QStringList{"6|ROWID|ROWID|4|10|INTEGER|0|1|||1"});
}

TEST_F(SpecialColumns, OkWritesEachSwitchAndTheRelativeIndexColumn)
{
    frmSpecialCols &f = display(QStringLiteral("STOCK"), QStringLiteral("BIN"));
    clickBand(QStringLiteral("Special Column Edit"));
    EXPECT_TRUE(f.cmdAction->isVisible());
    EXPECT_EQ(f.cmdAction->text(), QStringLiteral("&Update"));
    EXPECT_FALSE(f.cmdAction->isEnabled());
    EXPECT_TRUE(f.cboRIColumn->isEnabled()); // box 8 is checked
    click(f.chkActive(2)); // on
    EXPECT_TRUE(f.cmdAction->isEnabled());
    click(f.chkActive(7)); // off
    click(f.chkActive(3)); // on and off again: nothing
    click(f.chkActive(3));
    f.cboRIColumn->setFocus();
    QTest::keyClick(f.cboRIColumn, Qt::Key_Down); // the next column: BIN_NO -> LAST_COUNT
    EXPECT_EQ(textOf(f.cboRIColumn), QStringLiteral("LAST_COUNT"));
    click(f.cmdAction);
    // An insert reads the table first in the unit.
    EXPECT_EQ(modUpdate::LastStatements(),
              QStringList({"SELECT DATABASE_NAME, TABLE_NAME FROM QN_TABLE WHERE DATABASE_NAME = 'STOCK' AND "
                           "TABLE_NAME = 'BIN'",
                           "INSERT INTO QN_COLUMN (DATABASE_NAME, TABLE_NAME, COLUMN_NAME, FIELD_NAME, LENGTH, "
                           "PRECISION, DEFAULT_VALUE, UPDATABLE, COLUMN_NUMBER, COLUMN_TYPE, SQL_TYPE_NAME, VISIBLE, "
                           "REMARKS) VALUES ('STOCK', 'BIN', 'INDEX_NUMBER', 'INDEX_NUMBER', 2, 5, '', 0, 1, 2, "
                           "'SMALLINT', 1, '')",
                           "DELETE FROM QN_COLUMN WHERE DATABASE_NAME = 'STOCK' AND TABLE_NAME = 'BIN' AND "
                           "COLUMN_NUMBER = 1 AND COLUMN_TYPE = 7",
                           "UPDATE QN_COLUMN SET REMARKS = 'LAST_COUNT' WHERE DATABASE_NAME = 'STOCK' AND TABLE_NAME = "
                           "'BIN' AND COLUMN_NUMBER = 1 AND COLUMN_TYPE = 8"}));
    EXPECT_EQ(specialRows(QStringLiteral("STOCK"), QStringLiteral("BIN")),
              QStringList({"2|INDEX_NUMBER|INDEX_NUMBER|2|5|SMALLINT|0|1|||1",
                           "8|RELATIVE_INDEX|RELATIVE_INDEX|4|10|INTEGER|0|1||LAST_COUNT|1"}));
    // Shown again, browsing.
    EXPECT_EQ(checked(f), QStringLiteral("01000001"));
    EXPECT_EQ(tags(f), QStringLiteral("01000001"));
    EXPECT_EQ(enabled(f), QStringLiteral("--------"));
    EXPECT_EQ(state(), QStringLiteral("+--"));
    EXPECT_FALSE(f.cmdAction->isVisible());

    // OK with nothing switched and box 8 on: only the column's UPDATE.
    QStringList sent;
    dao::SetStatementObserver([&](const QString &sql) { sent << sql; });
    clickBand(QStringLiteral("Special Column Edit"));
    clickBand(QStringLiteral("OK"));
    dao::SetStatementObserver(nullptr);
    EXPECT_EQ(sent.filter(QRegularExpression(QStringLiteral("^(INSERT|DELETE|UPDATE)"))),
              QStringList{"UPDATE QN_COLUMN SET REMARKS = 'LAST_COUNT' WHERE DATABASE_NAME = 'STOCK' AND TABLE_NAME = "
                          "'BIN' AND COLUMN_NUMBER = 1 AND COLUMN_TYPE = 8"});

    // Box 8 off: its row goes and no UPDATE follows.
    clickBand(QStringLiteral("Special Column Edit"));
    click(f.chkActive(8));
    EXPECT_FALSE(f.cboRIColumn->isEnabled());
    clickBand(QStringLiteral("OK"));
    EXPECT_EQ(modUpdate::LastStatements(),
              QStringList{"DELETE FROM QN_COLUMN WHERE DATABASE_NAME = 'STOCK' AND TABLE_NAME = 'BIN' AND "
                          "COLUMN_NUMBER = 1 AND COLUMN_TYPE = 8"});

    // Box 8 on with a typed column holding an apostrophe: stored as typed.
    clickBand(QStringLiteral("Special Column Edit"));
    click(f.chkActive(8));
    EXPECT_TRUE(f.cboRIColumn->isEnabled());
    f.cboRIColumn->setFocus();
    f.cboRIColumn->lineEdit()->selectAll();
    QTest::keyClicks(f.cboRIColumn->lineEdit(), QStringLiteral("O'NEIL"));
    clickBand(QStringLiteral("OK"));
    const QStringList s = modUpdate::LastStatements();
    ASSERT_EQ(s.size(), 3);
    EXPECT_TRUE(s[1].endsWith(QStringLiteral("8, 'INTEGER', 1, 'O''NEIL')")));
    EXPECT_TRUE(s[2].startsWith(QStringLiteral("UPDATE QN_COLUMN SET REMARKS = 'O''NEIL' WHERE")));
    EXPECT_EQ(scalar(QStringLiteral("SELECT REMARKS FROM QN_COLUMN WHERE TABLE_NAME = 'BIN' AND COLUMN_TYPE = 8"))
                  .toString(),
              QStringLiteral("O'NEIL"));
}

// The switches are one unit: a failure writes none of them, the pane stays
// in the edit state, and the boxes' stored states stay as they were, so a
// second OK writes them all once.
TEST_F(SpecialColumns, AFailedOkWritesNothingAndKeepsTheStoredState)
{
    frmSpecialCols &f = display(QStringLiteral("STOCK"), QStringLiteral("BIN"));
    const QStringList before = specialRows(QStringLiteral("STOCK"), QStringLiteral("BIN"));
    clickBand(QStringLiteral("Special Column Edit"));
    click(f.chkActive(2));
    click(f.chkActive(7));
    dao::Faults::Add(dao::Faults::Statement, 3, QStringLiteral("HY000"), QStringLiteral("locked"));
    ui().answerError(ui::vbIgnore);
    clickBand(QStringLiteral("OK"));
    ASSERT_EQ(ui().errors().size(), 1);
    EXPECT_EQ(ui().errors()[0].trappedIn, QStringLiteral("frmSpecialCols.tbr_ButtonClick"));
    EXPECT_EQ(ui().errors()[0].additionalInfo,
              shownSQL(QStringLiteral("DELETE FROM QN_COLUMN WHERE DATABASE_NAME = 'STOCK' AND TABLE_NAME = 'BIN' "
                                      "AND COLUMN_NUMBER = 1 AND COLUMN_TYPE = 7")));
    EXPECT_EQ(specialRows(QStringLiteral("STOCK"), QStringLiteral("BIN")), before);
    EXPECT_EQ(tags(f), QStringLiteral("00000011"));
    EXPECT_EQ(checked(f), QStringLiteral("01000001"));
    EXPECT_EQ(state(), QStringLiteral("-++"));

    clickBand(QStringLiteral("OK"));
    EXPECT_EQ(modUpdate::LastStatements().size(), 4); // the table's read, INSERT, DELETE, the column's UPDATE
    EXPECT_EQ(specialRows(QStringLiteral("STOCK"), QStringLiteral("BIN")).size(), 2);
    EXPECT_EQ(tags(f), QStringLiteral("01000001"));
    EXPECT_EQ(state(), QStringLiteral("+--"));
}

// A row of a type the pane does not know (9 and up) is neither shown nor
// changed: the pane opens and works on its eight types.
TEST_F(SpecialColumns, ATypeItDoesNotKnowIsLeftAlone)
{
    open()->Execute(QStringLiteral("INSERT INTO QN_COLUMN (DATABASE_NAME, TABLE_NAME, COLUMN_NAME, COLUMN_NUMBER, "
                                   "COLUMN_TYPE, REMARKS) VALUES ('SALES', 'ORDERS', 'ODD', 1, 9, 'kept'), "
                                   "('SALES', 'ORDERS', 'ODDER', 1, 12, NULL)"));
    const QString odd = QStringLiteral("SELECT COLUMN_NAME, COLUMN_TYPE, REMARKS FROM QN_COLUMN WHERE TABLE_NAME = "
                                       "'ORDERS' AND COLUMN_TYPE > 8 ORDER BY COLUMN_TYPE");
    const QStringList before = rows(odd);
    frmSpecialCols &f = display(QStringLiteral("SALES"), QStringLiteral("ORDERS"));
    EXPECT_TRUE(ui().errors().isEmpty());
    EXPECT_TRUE(f.isVisible());
    EXPECT_EQ(current(), QStringLiteral("frmSpecialCols"));
    EXPECT_EQ(checked(f), QStringLiteral("01000100"));

    clickBand(QStringLiteral("Special Column Edit"));
    click(f.chkActive(2)); // off
    click(f.chkActive(6)); // off
    click(f.chkActive(3)); // on
    clickBand(QStringLiteral("OK"));
    EXPECT_TRUE(ui().errors().isEmpty());
    EXPECT_EQ(modUpdate::LastStatements().filter(QStringLiteral("COLUMN_TYPE = ")),
              QStringList({"DELETE FROM QN_COLUMN WHERE DATABASE_NAME = 'SALES' AND TABLE_NAME = 'ORDERS' AND "
                           "COLUMN_NUMBER = 1 AND COLUMN_TYPE = 2",
                           "DELETE FROM QN_COLUMN WHERE DATABASE_NAME = 'SALES' AND TABLE_NAME = 'ORDERS' AND "
                           "COLUMN_NUMBER = 1 AND COLUMN_TYPE = 6"}));
    EXPECT_EQ(rows(odd), before);
    EXPECT_EQ(checked(f), QStringLiteral("00100000"));
    EXPECT_EQ(tags(f), QStringLiteral("00100000"));
    EXPECT_EQ(state(), QStringLiteral("+--"));
}

// A switch turned on for a table another connection deleted meanwhile writes
// nothing: the table's read fails with 3021 inside the unit.
TEST_F(SpecialColumns, NothingIsAddedToATableDeletedMeanwhile)
{
    frmSpecialCols &f = display(QStringLiteral("STOCK"), QStringLiteral("BIN"));
    clickBand(QStringLiteral("Special Column Edit"));
    click(f.chkActive(2));
    click(f.chkActive(7));
    open()->Execute(QStringLiteral("DELETE FROM QN_TABLE WHERE DATABASE_NAME = 'STOCK' AND TABLE_NAME = 'BIN'"));
    const QStringList before = specialRows(QStringLiteral("STOCK"), QStringLiteral("BIN"));
    ui().answerError(ui::vbIgnore);
    clickBand(QStringLiteral("OK"));
    ASSERT_EQ(ui().errors().size(), 1);
    EXPECT_EQ(ui().errors()[0].number, QStringLiteral("3021"));
    EXPECT_EQ(ui().errors()[0].trappedIn, QStringLiteral("frmSpecialCols.tbr_ButtonClick"));
    EXPECT_EQ(specialRows(QStringLiteral("STOCK"), QStringLiteral("BIN")), before);
    EXPECT_EQ(tags(f), QStringLiteral("00000011"));
    EXPECT_EQ(state(), QStringLiteral("-++"));
}

TEST_F(SpecialColumns, CancelRestoresAndUpShowsTheTable)
{
    frmSpecialCols &f = display(QStringLiteral("STOCK"), QStringLiteral("PRODUCT"));
    EXPECT_EQ(checked(f), QStringLiteral("10110000"));
    clickBand(QStringLiteral("Special Column Edit"));
    click(f.chkActive(1));
    click(f.chkActive(5));
    QTest::keyClick(f.chkActive(5), Qt::Key_Escape); // Esc presses Cancel
    EXPECT_EQ(checked(f), QStringLiteral("10110000"));
    EXPECT_EQ(state(), QStringLiteral("+--"));
    EXPECT_EQ(specialRows(QStringLiteral("STOCK"), QStringLiteral("PRODUCT")).size(), 3);

    clickBand(QStringLiteral("Up1"));
    EXPECT_EQ(current(), QStringLiteral("frmTable"));
    if (const QStringList c = calls(QStringLiteral("frmTable")); !c.isEmpty()) {
        EXPECT_EQ(c.last(), QStringLiteral("Display:QnTest,STOCK,PRODUCT"));
    }
}

} // namespace
