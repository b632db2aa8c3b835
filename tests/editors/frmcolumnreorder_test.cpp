// The column reorder dialog: by hand and by name, as one unit, columns added
// meanwhile, the special columns left alone, and the remembered position.

#include <QGuiApplication>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QToolButton>

#include "../mainwindow/menudriver.h"
#include "editorfixture.h"
#include "editors/schema/frmcolumnreorder.h"

namespace {

class ColumnReorder : public EditorTest
{
protected:
    // Opens the dialog for a table of SALES; `drive` works it as the user does.
    int reorder(const QString &table, const std::function<void(frmColumnReorder &)> &drive)
    {
        ui().onModal([&](QDialog &d) {
            d.show();
            EXPECT_TRUE(QTest::qWaitForWindowExposed(&d));
            drive(static_cast<frmColumnReorder &>(d));
            return 0;
        });
        return frmColumnReorder::Display(QStringLiteral("QnTest"), QStringLiteral("SALES"), table);
    }
    static QStringList listed(const frmColumnReorder &d)
    {
        QStringList names;
        for (int i = 0; i < d.lstColumn->count(); ++i)
            names << d.lstColumn->item(i)->text();
        return names;
    }
    static void select(frmColumnReorder &d, const QString &name)
    {
        QListWidgetItem *item = d.lstColumn->findItems(name, Qt::MatchExactly).value(0);
        ASSERT_TRUE(item);
        QTest::mouseClick(d.lstColumn->viewport(), Qt::LeftButton, {}, d.lstColumn->visualItemRect(item).center());
    }
    // The table's columns, "name number" in number order, special columns included.
    QStringList numbers(const QString &table)
    {
        return rows(QStringLiteral("SELECT COLUMN_NAME, COLUMN_NUMBER, COLUMN_TYPE FROM QN_COLUMN WHERE DATABASE_NAME "
                                   "= 'SALES' AND TABLE_NAME = '%1' ORDER BY COLUMN_TYPE, COLUMN_NUMBER")
                        .arg(table));
    }
};

TEST_F(ColumnReorder, ByHandNumbersTheOrdinaryColumnsInListOrder)
{
    open()->Execute(QStringLiteral("UPDATE QN_COLUMN SET COLUMN_NUMBER = COLUMN_NUMBER * 3 WHERE TABLE_NAME = 'ORDERS' "
                                   "AND COLUMN_TYPE = 0"));
    QStringList statuses, sent;
    const int result = reorder(QStringLiteral("ORDERS"), [&](frmColumnReorder &d) {
        EXPECT_EQ(d.windowTitle(), QStringLiteral("Reorder Columns"));
        EXPECT_EQ(listed(d), QStringList({"ORDER_NO", "CUST_NO", "ORDER_DATE", "ORDER_TIME", "STATUS", "TOTAL",
                                          "CARD_REF"}));
        // Nothing selected, the first item up, the last one down: no change.
        QTest::mouseClick(d.cmdUp, Qt::LeftButton);
        QTest::mouseClick(d.cmdDown, Qt::LeftButton);
        select(d, QStringLiteral("ORDER_NO"));
        QTest::mouseClick(d.cmdUp, Qt::LeftButton);
        select(d, QStringLiteral("CARD_REF"));
        QTest::mouseClick(d.cmdDown, Qt::LeftButton);
        EXPECT_EQ(listed(d), QStringList({"ORDER_NO", "CUST_NO", "ORDER_DATE", "ORDER_TIME", "STATUS", "TOTAL",
                                          "CARD_REF"}));
        // The moved column stays selected.
        QTest::mouseClick(d.cmdUp, Qt::LeftButton);
        QTest::mouseClick(d.cmdUp, Qt::LeftButton);
        EXPECT_EQ(d.lstColumn->currentItem()->text(), QStringLiteral("CARD_REF"));
        select(d, QStringLiteral("ORDER_NO"));
        QTest::mouseClick(d.cmdDown, Qt::LeftButton);
        EXPECT_EQ(listed(d), QStringList({"CUST_NO", "ORDER_NO", "ORDER_DATE", "ORDER_TIME", "CARD_REF", "STATUS",
                                          "TOTAL"}));
        ui().answerMsgBox(ui::vbOK);
        dao::SetStatementObserver([&](const QString &sql) {
            sent << sql;
            if (!statuses.contains(main().StatusText()))
                statuses << main().StatusText();
        });
        QTest::mouseClick(d.cmdOK, Qt::LeftButton);
        dao::SetStatementObserver(nullptr);
    });
    EXPECT_EQ(result, 0);
    EXPECT_EQ(takeMessages(), QStringList{"Column re-ordering complete"});
    EXPECT_EQ(numbers(QStringLiteral("ORDERS")),
              QStringList({"CUST_NO|1|0", "ORDER_NO|2|0", "ORDER_DATE|3|0", "ORDER_TIME|4|0", "CARD_REF|5|0",
                           "STATUS|6|0", "TOTAL|7|0", "INDEX_NUMBER|1|2", "ROWID|1|6"}));
    // Each column prepared from the lowest old number up, then numbered from the highest down.
    EXPECT_EQ(statuses.value(1), QStringLiteral("Preparing column ORDER_NO"));
    EXPECT_EQ(statuses.value(7), QStringLiteral("Preparing column CARD_REF"));
    EXPECT_EQ(statuses.value(8), QStringLiteral("Re-ordering column CARD_REF"));
    EXPECT_EQ(statuses.last(), QStringLiteral("Re-ordering column ORDER_NO"));
    // The ordinary columns read once for each pass.
    EXPECT_EQ(sent.count(QStringLiteral("SELECT COLUMN_NAME, COLUMN_NUMBER, COLUMN_TYPE, FIELD_NAME FROM QN_COLUMN "
                                        "WHERE DATABASE_NAME = 'SALES' AND TABLE_NAME = 'ORDERS' AND COLUMN_TYPE = 0 "
                                        "ORDER BY COLUMN_NUMBER ASC")),
              2);
    EXPECT_EQ(main().StatusText(), QStringLiteral("Ready"));
    EXPECT_EQ(current(), QStringLiteral("frmColumns"));
    if (const QStringList c = calls(QStringLiteral("frmColumns")); !c.isEmpty()) {
        EXPECT_EQ(c.last(), QStringLiteral("Display:QnTest,SALES,ORDERS"));
    }
    EXPECT_FALSE(forms::Find(QStringLiteral("frmColumnReorder")));
}

TEST_F(ColumnReorder, ByNameAndBackByNumber)
{
    reorder(QStringLiteral("OPEN_ORDERS"), [&](frmColumnReorder &d) {
        EXPECT_FALSE(d.chkSortAlpha->isChecked());
        select(d, QStringLiteral("TOTAL"));
        QTest::mouseClick(d.cmdUp, Qt::LeftButton);
        QTest::mouseClick(d.chkSortAlpha, Qt::LeftButton);
        EXPECT_EQ(listed(d), QStringList({"CUST_NO", "ORDER_DATE", "ORDER_NO", "STATUS", "TOTAL"}));
        // Switched off again: by the stored numbers, the move dropped.
        QTest::mouseClick(d.chkSortAlpha, Qt::LeftButton);
        EXPECT_EQ(listed(d), QStringList({"ORDER_NO", "CUST_NO", "ORDER_DATE", "STATUS", "TOTAL"}));
        QTest::mouseClick(d.chkSortAlpha, Qt::LeftButton);
        ui().answerMsgBox(ui::vbOK);
        QTest::mouseClick(d.cmdOK, Qt::LeftButton);
    });
    EXPECT_EQ(numbers(QStringLiteral("OPEN_ORDERS")),
              QStringList({"CUST_NO|1|0", "ORDER_DATE|2|0", "ORDER_NO|3|0", "STATUS|4|0", "TOTAL|5|0"}));
}

// Columns added by another client while the dialog was open follow the
// listed ones in their old order; no number is left negative.
TEST_F(ColumnReorder, ColumnsAddedMeanwhileFollowTheListedOnes)
{
    reorder(QStringLiteral("OPEN_ORDERS"), [&](frmColumnReorder &d) {
        open()->Execute(QStringLiteral("INSERT INTO QN_COLUMN (DATABASE_NAME, TABLE_NAME, COLUMN_NAME, FIELD_NAME, "
                                       "COLUMN_NUMBER, COLUMN_TYPE) VALUES ('SALES', 'OPEN_ORDERS', 'LATE2', "
                                       "'CARD-REF', 60, 0), ('SALES', 'OPEN_ORDERS', 'LATE1', 'ORDER-TIME', 50, 0)"));
        select(d, QStringLiteral("ORDER_NO"));
        QTest::mouseClick(d.cmdDown, Qt::LeftButton);
        ui().answerMsgBox(ui::vbOK);
        QTest::mouseClick(d.cmdOK, Qt::LeftButton);
    });
    EXPECT_EQ(numbers(QStringLiteral("OPEN_ORDERS")),
              QStringList({"CUST_NO|1|0", "ORDER_NO|2|0", "ORDER_DATE|3|0", "STATUS|4|0", "TOTAL|5|0", "LATE1|6|0",
                           "LATE2|7|0"}));
}

// The renumbering is one unit: a failure part-way leaves every number as it
// was, says nothing of completion, and still shows the Columns pane.
TEST_F(ColumnReorder, AFailureLeavesTheNumbersAsTheyWere)
{
    const QStringList before = numbers(QStringLiteral("OPEN_ORDERS"));
    reorder(QStringLiteral("OPEN_ORDERS"), [&](frmColumnReorder &d) {
        QTest::mouseClick(d.chkSortAlpha, Qt::LeftButton);
        dao::Faults::Add(dao::Faults::Statement, 12, QStringLiteral("HY000"), QStringLiteral("locked"));
        ui().answerError(ui::vbIgnore);
        QTest::mouseClick(d.cmdOK, Qt::LeftButton);
    });
    ASSERT_EQ(ui().errors().size(), 1);
    EXPECT_EQ(numbers(QStringLiteral("OPEN_ORDERS")), before);
    EXPECT_EQ(takeMessages(), QStringList());
    EXPECT_EQ(main().StatusText(), QStringLiteral("Ready"));
    EXPECT_EQ(current(), QStringLiteral("frmColumns"));
    EXPECT_FALSE(forms::Find(QStringLiteral("frmColumnReorder")));
}

TEST_F(ColumnReorder, TheDialogReopensWhereItWasClosed)
{
    QPoint shown;
    reorder(QStringLiteral("OPEN_ORDERS"), [&](frmColumnReorder &d) {
        // No saved position: centred on the screen.
        const QRect screen = d.screen()->geometry();
        EXPECT_EQ(d.pos(), QPoint(screen.x() + (screen.width() - d.width()) / 2,
                                  screen.y() + (screen.height() - d.height()) / 2));
        d.move(30, 45);
        QTest::mouseClick(d.cmdCancel, Qt::LeftButton);
    });
    // Cancel writes nothing but the position, in twips.
    EXPECT_EQ(setting(QStringLiteral("frmColumnReorder"), QStringLiteral("Left")), QStringLiteral("450"));
    EXPECT_EQ(setting(QStringLiteral("frmColumnReorder"), QStringLiteral("Top")), QStringLiteral("675"));
    EXPECT_EQ(numbers(QStringLiteral("OPEN_ORDERS")).value(0), QStringLiteral("ORDER_NO|1|0"));
    reorder(QStringLiteral("OPEN_ORDERS"), [&](frmColumnReorder &d) {
        shown = d.pos();
        QTest::keyClick(d.lstColumn, Qt::Key_Escape); // Esc cancels too
    });
    EXPECT_EQ(shown, QPoint(30, 45));
    EXPECT_FALSE(forms::Find(QStringLiteral("frmColumnReorder")));
    // Another dialog is placed at the same position.
    QWidget other;
    other.resize(100, 100);
    frmColumnReorder::PlaceAtSavedPosition(&other);
    EXPECT_EQ(other.pos(), QPoint(30, 45));

    // No open database: nothing is shown.
    ui().answerMsgBox(ui::vbOK);
    EXPECT_EQ(frmColumnReorder::Display(QStringLiteral("Nope"), QStringLiteral("SALES"), QStringLiteral("ORDERS")), -1);
}

TEST_F(ColumnReorder, ATableWithoutOrdinaryColumnsStillCompletes)
{
    open()->Execute(QStringLiteral("INSERT INTO QN_COLUMN (DATABASE_NAME, TABLE_NAME, COLUMN_NAME, COLUMN_NUMBER, "
                                   "COLUMN_TYPE) VALUES ('SALES', 'EMPTY', 'ROWID', 1, 6)"));
    reorder(QStringLiteral("EMPTY"), [&](frmColumnReorder &d) {
        EXPECT_EQ(d.lstColumn->count(), 0);
        ui().answerMsgBox(ui::vbOK);
        QTest::mouseClick(d.cmdOK, Qt::LeftButton);
    });
    EXPECT_EQ(takeMessages(), QStringList{"Column re-ordering complete"});
    EXPECT_EQ(numbers(QStringLiteral("EMPTY")), QStringList{"ROWID|1|6"});
    EXPECT_EQ(current(), QStringLiteral("frmColumns"));
}

// "Reorder Columns" on a table's Columns folder opens the dialog for that
// table; once it closed, by OK or Cancel, the folder shows the new order.
TEST_F(ColumnReorder, TheContextMenuCommandReordersTheFoldersTable)
{
    const QString table = QStringLiteral("DSN=QnTest:DB=QnTest:db=SALES:TA=SALES:ta=OPEN_ORDERS:");
    const QString columns = table + QStringLiteral("CO=OPEN_ORDERS:");
    openPath({QStringLiteral("DSN=QnTest:"), QStringLiteral("DSN=QnTest:DB=QnTest:"),
              QStringLiteral("DSN=QnTest:DB=QnTest:db=SALES:"), QStringLiteral("DSN=QnTest:DB=QnTest:db=SALES:TA=SALES:"),
              table, columns});
    auto command = [&](const std::function<void(frmColumnReorder &)> &drive) {
        ui().onModal([&](QDialog &d) {
            d.show();
            drive(static_cast<frmColumnReorder &>(d));
            return 0;
        });
        const QPoint at = pointOf(node(columns));
        QTest::mousePress(tree()->viewport(), Qt::RightButton, {}, at);
        whilePopup([&] { QTest::mouseRelease(tree()->viewport(), Qt::RightButton, {}, at); },
                   [&](QMenu &menu) { clickItem(menu, QStringLiteral("&Reorder Columns")); });
        flush();
    };
    command([&](frmColumnReorder &d) {
        EXPECT_EQ(listed(d), QStringList({"ORDER_NO", "CUST_NO", "ORDER_DATE", "STATUS", "TOTAL"}));
        select(d, QStringLiteral("TOTAL"));
        QTest::mouseClick(d.cmdUp, Qt::LeftButton);
        ui().answerMsgBox(ui::vbOK);
        QTest::mouseClick(d.cmdOK, Qt::LeftButton);
    });
    EXPECT_EQ(takeMessages(), QStringList{"Column re-ordering complete"});
    EXPECT_EQ(childTexts(columns), QStringList({"ORDER_NO", "CUST_NO", "ORDER_DATE", "TOTAL", "STATUS"}));
    EXPECT_TRUE(gMenuCommandRan());
    EXPECT_TRUE(gErrorTrace().List().isEmpty());

    // Cancel: nothing written, the folder read again all the same.
    open()->Execute(QStringLiteral("UPDATE QN_COLUMN SET COLUMN_NUMBER = 9 WHERE TABLE_NAME = 'OPEN_ORDERS' AND "
                                   "COLUMN_NAME = 'ORDER_NO'"));
    command([&](frmColumnReorder &d) { QTest::mouseClick(d.cmdCancel, Qt::LeftButton); });
    EXPECT_EQ(childTexts(columns), QStringList({"CUST_NO", "ORDER_DATE", "TOTAL", "STATUS", "ORDER_NO"}));
}

} // namespace
