// The field reorder dialog: its list in either order, Up and Down, the
// renumbering as one unit, Cancel, its position, and the "Reorder Fields"
// command around it.

#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QToolButton>

#include "editorfixture.h"
#include "editors/storage/frmfieldreorder.h"
#include "tree/dragitem.h"

namespace {

const QString kDs = QStringLiteral("QnTest");

class FieldReorder : public EditorTest
{
protected:
    using Driver = std::function<void(frmFieldReorder &)>;
    // Display for `file` with `drive` acting on the shown dialog.
    int run(const QString &file, const Driver &drive)
    {
        ui().onModal([drive](QDialog &d) {
            d.show();
            EXPECT_TRUE(QTest::qWaitForWindowExposed(&d));
            drive(static_cast<frmFieldReorder &>(d));
            return int(d.result());
        });
        return frmFieldReorder::Display(kDs, file);
    }
    static QStringList items(const frmFieldReorder &r)
    {
        QStringList list;
        for (int i = 0; i < r.lstField->count(); ++i)
            list << r.lstField->item(i)->text();
        return list;
    }
    static void press(QAbstractButton *b) { QTest::mouseClick(b, Qt::LeftButton); }
    static void select(frmFieldReorder &r, const QString &field)
    {
        QListWidgetItem *item = r.lstField->findItems(field, Qt::MatchExactly).value(0);
        ASSERT_TRUE(item) << field.toStdString();
        QTest::mouseClick(r.lstField->viewport(), Qt::LeftButton, {}, r.lstField->visualItemRect(item).center());
    }
    // The file's fields by number, with their offsets.
    QStringList numbered(const QString &file)
    {
        return rows(QStringLiteral("SELECT FIELD_NUMBER, FIELD_NAME, OFFSET FROM QN_FIELD WHERE FILE_NAME = '%1' ORDER BY "
                                   "FIELD_NUMBER, FIELD_NAME")
                        .arg(file));
    }
};

TEST_F(FieldReorder, UpAndDownThenOKNumbersTheFieldsInListOrder)
{
    const QStringList before = numbered(QStringLiteral("ORDERS"));
    QStringList shown;
    EXPECT_EQ(run(QStringLiteral("ORDERS"),
                  [&](frmFieldReorder &r) {
                      EXPECT_EQ(r.windowTitle(), QStringLiteral("Reorder Fields"));
                      EXPECT_FALSE(r.chkSortAlpha->isChecked());
                      shown << items(r).join(',');
                      // Up with nothing selected, or on the first; Down on the last: nothing moves.
                      press(r.cmdUp);
                      select(r, QStringLiteral("ORDER-NO"));
                      press(r.cmdUp);
                      select(r, QStringLiteral("CARD-REF"));
                      press(r.cmdDown);
                      shown << items(r).join(',');
                      // Alphabetical order drops the moves made.
                      press(r.cmdUp);
                      press(r.chkSortAlpha);
                      shown << items(r).join(',');
                      press(r.chkSortAlpha);
                      select(r, QStringLiteral("CARD-REF"));
                      press(r.cmdUp);
                      press(r.cmdUp);
                      select(r, QStringLiteral("ORDER-NO"));
                      press(r.cmdDown);
                      EXPECT_EQ(r.lstField->currentItem()->text(), QStringLiteral("ORDER-NO"));
                      shown << items(r).join(',');
                      ui().answerMsgBox(ui::vbOK);
                      press(r.cmdOK);
                      EXPECT_FALSE(r.isVisible());
                  }),
              0);
    EXPECT_EQ(shown, QStringList({"ORDER-NO,CUST-NO,ORDER-DATE,ORDER-TIME,STATUS,TOTAL,CARD-REF",
                                  "ORDER-NO,CUST-NO,ORDER-DATE,ORDER-TIME,STATUS,TOTAL,CARD-REF",
                                  "CARD-REF,CUST-NO,ORDER-DATE,ORDER-NO,ORDER-TIME,STATUS,TOTAL",
                                  "CUST-NO,ORDER-NO,ORDER-DATE,ORDER-TIME,CARD-REF,STATUS,TOTAL"}));
    EXPECT_EQ(takeMessages(), QStringList{"Field re-ordering complete"});
    EXPECT_EQ(modUpdate::LastStatements().value(0),
              QStringLiteral("UPDATE QN_FIELD SET FIELD_NUMBER = 01 WHERE FILE_NAME = 'ORDERS' AND FIELD_NAME = 'CUST-NO'"));
    EXPECT_EQ(modUpdate::LastStatements().size(), 7);
    // Only the numbers change; the offsets stay.
    EXPECT_EQ(numbered(QStringLiteral("ORDERS")),
              QStringList({"1|CUST-NO|8", "2|ORDER-NO|0", "3|ORDER-DATE|12", "4|ORDER-TIME|20", "5|CARD-REF|36",
                           "6|STATUS|26", "7|TOTAL|27"}));
    EXPECT_NE(numbered(QStringLiteral("ORDERS")), before);
    EXPECT_EQ(main().StatusText(), QStringLiteral("Ready"));
}

TEST_F(FieldReorder, NumbersPastNineAndNamesWithApostrophes)
{
    open()->Execute(QStringLiteral("INSERT INTO QN_FILE (FILE_NAME, RECORD_SIZE) VALUES ('IT''S', 0)"));
    for (int i = 1; i <= 10; ++i)
        open()->Execute(QStringLiteral("INSERT INTO QN_FIELD (FILE_NAME, FIELD_NUMBER, FIELD_NAME, OFFSET, LENGTH) "
                                       "VALUES ('IT''S', %1, 'F''%2', 0, 1)")
                            .arg(20 - i)
                            .arg(QChar(u'A' + i - 1)));
    run(QStringLiteral("IT'S"), [&](frmFieldReorder &r) {
        EXPECT_EQ(items(r).first(), QStringLiteral("F'J")); // numbered 10
        ui().answerMsgBox(ui::vbOK);
        press(r.cmdOK);
    });
    takeMessages();
    const QStringList s = modUpdate::LastStatements();
    ASSERT_EQ(s.size(), 10);
    EXPECT_EQ(s[9], QStringLiteral("UPDATE QN_FIELD SET FIELD_NUMBER = 010 WHERE FILE_NAME = 'IT''S' AND FIELD_NAME = "
                                   "'F''A'"));
    EXPECT_EQ(scalar(QStringLiteral("SELECT FIELD_NUMBER FROM QN_FIELD WHERE FIELD_NAME = 'F''A'")).toInt(), 10);
}

TEST_F(FieldReorder, CancelAFailureAndAFileWithoutFieldsWriteNothing)
{
    const QStringList before = numbered(QStringLiteral("CUSTOMER"));
    EXPECT_EQ(run(QStringLiteral("CUSTOMER"),
                  [&](frmFieldReorder &r) {
                      select(r, QStringLiteral("REGION"));
                      press(r.cmdUp);
                      press(r.cmdCancel);
                  }),
              0);
    EXPECT_EQ(run(QStringLiteral("CUSTOMER"),
                  [&](frmFieldReorder &r) {
                      select(r, QStringLiteral("REGION"));
                      press(r.cmdUp);
                      r.close();
                  }),
              0);
    EXPECT_EQ(numbered(QStringLiteral("CUSTOMER")), before);
    EXPECT_TRUE(takeMessages().isEmpty());

    // A failure part-way leaves every number as it was, and the dialog closes.
    run(QStringLiteral("CUSTOMER"), [&](frmFieldReorder &r) {
        select(r, QStringLiteral("REGION"));
        press(r.cmdUp);
        dao::Faults::Add(dao::Faults::Statement, 4, QStringLiteral("HY000"), QStringLiteral("locked"));
        ui().answerError(ui::vbIgnore);
        press(r.cmdOK);
        EXPECT_FALSE(r.isVisible());
    });
    ASSERT_EQ(ui().errors().size(), 1);
    EXPECT_EQ(ui().errors()[0].trappedIn, QStringLiteral("frmFieldReorder.cmdOK_Click"));
    EXPECT_TRUE(ui().errors()[0].additionalInfo.contains(QStringLiteral("'CITY'")));
    EXPECT_EQ(numbered(QStringLiteral("CUSTOMER")), before);
    EXPECT_TRUE(takeMessages().isEmpty());

    // No fields: nothing to write, and it says it is complete.
    open()->Execute(QStringLiteral("INSERT INTO QN_FILE (FILE_NAME, RECORD_SIZE) VALUES ('BARE', 0)"));
    run(QStringLiteral("BARE"), [&](frmFieldReorder &r) {
        EXPECT_EQ(r.lstField->count(), 0);
        ui().answerMsgBox(ui::vbOK);
        press(r.cmdOK);
    });
    EXPECT_EQ(takeMessages(), QStringList{"Field re-ordering complete"});

    // A data source that cannot be opened shows nothing.
    ui().answerMsgBox(ui::vbOK);
    EXPECT_EQ(frmFieldReorder::Display(QStringLiteral("Nope"), QStringLiteral("X")), -1);
}

TEST_F(FieldReorder, OpensWhereTheColumnReorderDialogWasClosed)
{
    QPoint centred, placed;
    run(QStringLiteral("ORDERS"), [&](frmFieldReorder &r) {
        centred = r.pos();
        const QRect screen = r.screen()->geometry();
        EXPECT_NEAR(r.x(), (screen.width() - r.width()) / 2, 1);
        EXPECT_NEAR(r.y(), (screen.height() - r.height()) / 2, 1);
        press(r.cmdCancel);
    });
    setSetting(QStringLiteral("frmColumnReorder"), QStringLiteral("Left"), QStringLiteral("1500"));
    setSetting(QStringLiteral("frmColumnReorder"), QStringLiteral("Top"), QStringLiteral("750"));
    run(QStringLiteral("ORDERS"), [&](frmFieldReorder &r) {
        placed = r.pos();
        press(r.cmdCancel);
    });
    EXPECT_EQ(placed, QPoint(100, 50));
    // It saves no position of its own.
    EXPECT_EQ(setting(QStringLiteral("frmColumnReorder"), QStringLiteral("Left")), QStringLiteral("1500"));
    EXPECT_EQ(setting(QStringLiteral("frmFieldReorder"), QStringLiteral("Left")), QString());
}

TEST_F(FieldReorder, TheReorderFieldsCommand)
{
    const auto reorderFieldsCommand = [] {
        QMenu *menu = mdiMain::instance().NodeMenu(QStringLiteral("mnu_Field"));
        ASSERT_TRUE(menu);
        auto *item = menu->findChild<QAction *>(QStringLiteral("mnu_FieldReorder"));
        ASSERT_TRUE(item);
        item->trigger();
    };
    // Only on a Fields folder or a field.
    gCurrentItem() = DragItem{nullptr, QStringLiteral("fi"), {kDs, QStringLiteral("ORDERS")}, {}};
    ui().answerMsgBox(ui::vbOK);
    reorderFieldsCommand();
    EXPECT_EQ(takeMessages(), QStringList{"Please select a Field Collection or field in a collection to re-order"});
    EXPECT_TRUE(gMenuCommandRan());

    // On a field: the dialog for its file, then the tree along the Fields folder and the Fields grid.
    openPath({QStringLiteral("DSN=QnTest:"), QStringLiteral("DSN=QnTest:FI=QnTest:")});
    gCurrentItem() = DragItem{nullptr, QStringLiteral("fd"), {kDs, QStringLiteral("ORDERS"), QStringLiteral("STATUS")}, {}};
    QString listed;
    ui().onModal([&](QDialog &d) {
        listed = items(static_cast<frmFieldReorder &>(d)).value(0);
        return 0;
    });
    reorderFieldsCommand();
    EXPECT_EQ(listed, QStringLiteral("ORDER-NO"));
    EXPECT_EQ(current(), QStringLiteral("frmFields"));
    if (const QStringList c = calls(QStringLiteral("frmFields")); !c.isEmpty()) {
        EXPECT_EQ(c.last(), QStringLiteral("Display:QnTest,ORDERS"));
    }
    EXPECT_TRUE(node(QStringLiteral("DSN=QnTest:FI=QnTest:fi=ORDERS:FD=ORDERS:")));
    EXPECT_TRUE(ui().errors().isEmpty());
}

} // namespace
