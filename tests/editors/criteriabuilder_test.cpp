// The criteria builder: the texts it composes from operators, columns and
// values, what it returns on OK, Cancel and a closed window, and its list.

#include <QListWidget>
#include <QPushButton>
#include <QToolButton>

#include "editorfixture.h"
#include "dialogs/frmcriteriabuilder.h"

namespace {

const QString kDs = QStringLiteral("QnTest");

class CriteriaBuilder : public EditorTest
{
protected:
    using Driver = std::function<void(frmCriteriaBuilder &)>;
    // Runs GetCriteria for SALES.ORDERS with `drive` acting on the shown dialog.
    QString run(const Driver &drive, const QString &start = QString(), const QString &table = QStringLiteral("ORDERS"))
    {
        ui().onModal([drive](QDialog &d) {
            auto &b = static_cast<frmCriteriaBuilder &>(d);
            d.show();
            EXPECT_TRUE(QTest::qWaitForWindowExposed(&d));
            drive(b);
            return int(d.result());
        });
        return frmCriteriaBuilder::GetCriteria(kDs, QStringLiteral("SALES"), table, start);
    }
    static void press(QAbstractButton *b) { QTest::mouseClick(b, Qt::LeftButton); }
    static void doubleClick(QListWidget *list, const QString &column)
    {
        QListWidgetItem *item = list->findItems(column, Qt::MatchExactly).value(0);
        ASSERT_TRUE(item) << column.toStdString();
        const QPoint at = list->visualItemRect(item).center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
    }
};

TEST_F(CriteriaBuilder, ComposesTheTextFromOperatorsColumnsAndValues)
{
    QStringList captions, listed;
    const QString text = run([&](frmCriteriaBuilder &b) {
        EXPECT_EQ(b.windowTitle(), QStringLiteral("Table Criteria Builder"));
        for (QPushButton *button : b.cmdComp)
            captions << button->text();
        for (int i = 0; i < b.lstColumns->count(); ++i)
            listed << b.lstColumns->item(i)->text();
        // Each caption goes to the end followed by one blank: "<" then ">" is not "<>".
        press(b.cmdComp[0]);
        press(b.cmdComp[1]);
        EXPECT_EQ(b.txtCriteria->toPlainText(), QStringLiteral("< > "));
        press(b.cmdClear);
        doubleClick(b.lstColumns, QStringLiteral("CUST_NO"));
        press(b.cmdComp[5]);
        QTest::keyClicks(b.txtColVal, QStringLiteral("'it's'"));
        press(b.cmdInsert); // appended as typed: no quote doubled
        EXPECT_EQ(b.txtColVal->text(), QStringLiteral("'it's'")); // the value box keeps its text
        press(b.cmdComp[6]);
        press(b.cmdComp[10]);
        doubleClick(b.lstColumns, QStringLiteral("STATUS"));
        press(b.cmdComp[13]);
        press(b.cmdComp[11]);
        // The caret's place does not matter: appends go to the end.
        b.txtCriteria->moveCursor(QTextCursor::Start);
        press(b.cmdComp[7]);
        b.txtColVal->clear();
        press(b.cmdInsert); // an empty value appends nothing
        press(b.cmdOK);
    });
    EXPECT_EQ(text, QStringLiteral("SALES_ORDERS.CUST_NO = 'it's' AND ( SALES_ORDERS.STATUS IS NOT NULL ) OR "));
    EXPECT_EQ(captions, QStringList({"<", ">", "<=", ">=", "<>", "=", "AND", "OR", "NOT", "LIKE", "(", ")", "IS NULL",
                                     "IS NOT NULL"}));
    // Every column of the table, special columns too.
    EXPECT_EQ(listed.size(), 9);
    EXPECT_TRUE(listed.contains(QStringLiteral("ROWID")));
}

TEST_F(CriteriaBuilder, OnlyOkReturnsTheText)
{
    const QString start = QStringLiteral("SALES_ORDERS.TOTAL > 0 ");
    // OK without a change gives the text it was given.
    EXPECT_EQ(run([](frmCriteriaBuilder &b) { press(b.cmdOK); }, start), start);
    // Cancel after changes, and the window closed, give it too.
    EXPECT_EQ(run([](frmCriteriaBuilder &b) {
                  press(b.cmdClear);
                  press(b.cmdComp[8]);
                  press(b.cmdCancel);
              }, start),
              start);
    EXPECT_EQ(run([](frmCriteriaBuilder &b) {
                  press(b.cmdComp[9]);
                  b.close();
              }, start),
              start);
    flush();
    // Each call starts afresh: the given text, an empty value box; Clear empties both.
    EXPECT_EQ(run([](frmCriteriaBuilder &b) {
                  EXPECT_EQ(b.txtCriteria->toPlainText(), QStringLiteral("X = 1"));
                  EXPECT_EQ(b.txtColVal->text(), QString());
                  QTest::keyClicks(b.txtColVal, QStringLiteral("5"));
                  press(b.cmdClear);
                  EXPECT_EQ(b.txtColVal->text(), QString());
                  press(b.cmdOK);
              }, QStringLiteral("X = 1")),
              QString());
}

TEST_F(CriteriaBuilder, ATableWithoutColumnsShowsNoDialog)
{
    ui().answerMsgBox(ui::vbOK);
    EXPECT_EQ(frmCriteriaBuilder::GetCriteria(kDs, QStringLiteral("SALES"), QStringLiteral("NOPE"), QStringLiteral("A")),
              QStringLiteral("A"));
    EXPECT_EQ(takeMessages(),
              QStringList{"This Table contains no columns.\r\nAdd some columns before entering a table criteria."});
}

TEST_F(CriteriaBuilder, TheTextHoldsAtMost254Characters)
{
    const QString text = run([](frmCriteriaBuilder &b) {
        b.txtCriteria->moveCursor(QTextCursor::End);
        QTest::keyClicks(b.txtCriteria, QStringLiteral("ab"));
        EXPECT_EQ(b.txtCriteria->toPlainText().size(), 254);
        press(b.cmdComp[12]);
        press(b.cmdOK);
    }, QString(253, QLatin1Char('x')));
    EXPECT_EQ(text, QString(253, QLatin1Char('x')) + QLatin1Char('a'));
}

} // namespace
