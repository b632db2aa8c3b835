// The selection criteria dialog: the statements it builds from marked columns
// and conditions, its row enabling and its messages, driven as a user would.
#include <QApplication>
#include <QLabel>

#include "core/cconnections.h"
#include "criteriadriver.h"
#include "dataview/frmtablecriteria.h"
#include "standinfixture.h"
#include "uitest.h"

namespace {

class Criteria : public StandinTest
{
protected:
    void SetUp() override
    {
        StandinTest::SetUp();
        // Table T of database DB: A CHAR, B INTEGER, C DATE; and a table whose names hold "]".
        auto db = open();
        for (const char *row : {"'DB', 'T', 'A', 'CHAR'", "'DB', 'T', 'B', 'INTEGER'", "'DB', 'T', 'C', 'DATE'",
                                "'DB', 'W]', 'N]M', 'char'", "'DB', 'W]', 'LV', 'LONG VARCHAR'",
                                "'DB', 'W]', 'PAD', 'CHAR '", "'DB', 'W]', 'TS', 'timestamp'"})
            db->Execute(QStringLiteral("INSERT INTO QN_COLUMN (DATABASE_NAME, TABLE_NAME, COLUMN_NAME, SQL_TYPE_NAME) "
                                       "VALUES (%1)")
                            .arg(QLatin1String(row)));
    }

    // The statement GetCriteria returns for `answer`.
    QString ask(const CriteriaAnswer &answer, const QString &table = QStringLiteral("T"))
    {
        ui().onModal([answer](QDialog &dialog) { return answerCriteria(dialog, answer); });
        return frmTableCriteria::GetCriteria(QStringLiteral("QnTest"), QStringLiteral("DB"), table);
    }
};

TEST_F(Criteria, WrapCriteriaQuotesEveryValueThatIsNotAPlainNumberOrDate)
{
    struct Case
    {
        const char *type, *value, *sql;
    } cases[] = {
        {"CHAR", "it's%", "'it''s%'"},
        {"varchar", "5", "'5'"},
        {"Char", "", "''"},
        {"DATE", "1/2/99", "#1/2/99#"},
        {"time", "12:30:00.5", "#12:30:00.5#"},
        {"TIMESTAMP", "1999-01-02 10:00", "#1999-01-02 10:00#"},
        {"DATE", "1/2/99# OR 1=1 --", "'1/2/99# OR 1=1 --'"},
        {"DATE", "it's", "'it''s'"},
        {"DATE", "", "''"},
        {"INTEGER", "5", "5"},
        {"DOUBLE", "-12.50", "-12.50"},
        {"SMALLINT", "5 OR 1=1", "'5 OR 1=1'"},
        {"INTEGER", "x'; DROP TABLE QN_DB; --", "'x''; DROP TABLE QN_DB; --'"},
        {"INTEGER", "", "''"},
        {"", "7", "7"},
        {"", "abc", "'abc'"},
        // The type is compared whole: a trailing blank or another name is no CHAR.
        {"CHAR ", "9", "9"},
        {"LONG VARCHAR", "it", "'it'"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(frmTableCriteria::WrapCriteria(QLatin1String(c.type), QString::fromUtf8(c.value)), QLatin1String(c.sql))
            << c.type << " / " << c.value;
}

TEST_F(Criteria, StatementsFromMarkedColumnsAndConditions)
{
    const Condition none;
    struct Case
    {
        const char *name;
        CriteriaAnswer answer;
        const char *sql;
    } cases[] = {
        {"all three marked, no condition", {{"A", "B", "C"}, {}}, "SELECT * FROM [T] "},
        {"all but one, in list order", {{"C", "A"}, {}}, "SELECT [A], [C] FROM [T] "},
        {"LIKE on a CHAR column",
         {{"A", "C"}, {{"WHERE", "A", "LIKE", "it's%"}}},
         "SELECT [A], [C] FROM [T] WHERE [A] LIKE 'it''s%' "},
        {"a number and a date, row 2 blank",
         {{"B"}, {{"WHERE", "B", ">", "5"}, none, {"OR", "C", "=", "1/2/99"}}},
         "SELECT [B] FROM [T] WHERE [B] > 5 OR [C] = #1/2/99# "},
        {"five conditions",
         {{"A", "B", "C"},
          {{"WHERE", "A", "<>", "x"},
           {"AND", "B", "<=", "10"},
           {"OR", "C", ">=", "2020-01-01"},
           {"AND", "A", "=", "O'Neil"},
           {"OR", "B", "<", "-3"}}},
         "SELECT * FROM [T] WHERE [A] <> 'x' AND [B] <= 10 OR [C] >= #2020-01-01# AND [A] = 'O''Neil' OR [B] < -3 "},
        {"values that are no plain number or date are quoted",
         {{"B"}, {{"WHERE", "B", "=", "5 OR 1=1"}, {"OR", "C", "=", "1/2/99# OR 1=1"}}},
         "SELECT [B] FROM [T] WHERE [B] = '5 OR 1=1' OR [C] = '1/2/99# OR 1=1' "},
    };
    setDefaultDatabase(QStringLiteral("QnTest"), QStringLiteral("DB"));
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ask(c.answer), QString::fromUtf8(c.sql));
    }
}

TEST_F(Criteria, TheTableIsNamedByTheDefaultDatabaseRuleAndBracketsAreDoubled)
{
    const CriteriaAnswer first{{"A"}, {}};
    EXPECT_EQ(ask(first), QStringLiteral("SELECT [A] FROM [DB_T] "));
    setDefaultDatabase(QStringLiteral("QnTest"), QStringLiteral("OTHER")); // only tested for being empty
    EXPECT_EQ(ask(first), QStringLiteral("SELECT [A] FROM [T] "));

    // Columns listed by name: LV, N]M, PAD, TS. A lower-case char is CHAR, "CHAR " and LONG VARCHAR are not.
    const CriteriaAnswer odd{{"N]M", "PAD"},
                             {{"WHERE", "N]M", "=", "a]b"}, {"AND", "PAD", "=", "x"}, {"OR", "LV", "=", "1"},
                              {"OR", "TS", ">", "2020-01-02 03:04"}}};
    EXPECT_EQ(ask(odd, QStringLiteral("W]")),
              QStringLiteral("SELECT [N]]M], [PAD] FROM [W]]] WHERE [N]]M] = 'a]b' AND [PAD] = 'x' OR [LV] = 1 OR "
                             "[TS] > #2020-01-02 03:04# "));
}

TEST_F(Criteria, ATableNameWithAnAmpersandShowsItAsItIs)
{
    ui().onModal([](QDialog &dialog) {
        auto *label = child<QLabel>(dialog, QStringLiteral("lblTable"));
        EXPECT_EQ(label->text(), QStringLiteral("From DB_R&D"));
        EXPECT_EQ(label->textFormat(), Qt::PlainText);
        EXPECT_FALSE(label->buddy());
        return int(QDialog::Rejected);
    });
    frmTableCriteria::GetCriteria(QStringLiteral("QnTest"), QStringLiteral("DB"), QStringLiteral("R&D"));
}

TEST_F(Criteria, ConditionRowsOfRowsTwoToFiveCountOnlyWhileRowOneHoldsWhere)
{
    setDefaultDatabase(QStringLiteral("QnTest"), QStringLiteral("DB"));
    ui().onModal([](QDialog &dialog) {
        dialog.show();
        clickItem(child<QListWidget>(dialog, QStringLiteral("lstColumns")), QStringLiteral("A"));
        fillRow(dialog, 0, {QStringLiteral("WHERE"), QStringLiteral("A"), QStringLiteral("="), QStringLiteral("a")});
        fillRow(dialog, 1, {QStringLiteral("AND"), QStringLiteral("B"), QStringLiteral("="), QStringLiteral("2")});
        pick(child<QComboBox>(dialog, QStringLiteral("cboAndOr_0")), QString());
        QTest::mouseClick(child<QPushButton>(dialog, QStringLiteral("cmdOK")), Qt::LeftButton);
        return dialog.result();
    });
    EXPECT_EQ(frmTableCriteria::GetCriteria(QStringLiteral("QnTest"), QStringLiteral("DB"), QStringLiteral("T")),
              QStringLiteral("SELECT [A] FROM [T] "));
}

TEST_F(Criteria, RowsEnableAsTheirFirstBoxesChooseAndClearResetsThem)
{
    ui().onModal([](QDialog &dialog) {
        dialog.show();
        auto box = [&](const char *kind, int row) {
            return child<QWidget>(dialog, QLatin1String(kind) + QLatin1Char('_') + QString::number(row));
        };
        auto usable = [&](int row) {
            QString s;
            for (const char *kind : {"cboAndOr", "cboColumn", "cboCriteria", "txtCriteria"})
                s += box(kind, row)->isEnabled() ? QLatin1Char('1') : QLatin1Char('0');
            return s;
        };
        auto rows = [&] {
            QStringList list;
            for (int row = 0; row < 5; ++row)
                list << usable(row);
            return list.join(QLatin1Char(' '));
        };
        // As shown: row 1's first box only; nothing marked, so None is disabled.
        EXPECT_EQ(rows(), QStringLiteral("1000 0000 0000 0000 0000"));
        EXPECT_FALSE(child<QPushButton>(dialog, QStringLiteral("cmdSelectNone"))->isEnabled());
        EXPECT_EQ(child<QComboBox>(dialog, QStringLiteral("cboCriteria_2"))->currentText(), QStringLiteral("LIKE"));
        EXPECT_EQ(child<QComboBox>(dialog, QStringLiteral("cboColumn_2"))->currentIndex(), -1);

        pick(child<QComboBox>(dialog, QStringLiteral("cboAndOr_0")), QStringLiteral("WHERE"));
        EXPECT_EQ(rows(), QStringLiteral("1111 1000 1000 1000 1000"));
        // Rows 2 to 5 are independent: row 4 is usable while row 2 is blank.
        pick(child<QComboBox>(dialog, QStringLiteral("cboAndOr_3")), QStringLiteral("OR"));
        pick(child<QComboBox>(dialog, QStringLiteral("cboColumn_3")), QStringLiteral("C"));
        EXPECT_EQ(rows(), QStringLiteral("1111 1000 1000 1111 1000"));
        // Row 1 blank again: rows 2 to 5 are disabled whole, their contents kept.
        pick(child<QComboBox>(dialog, QStringLiteral("cboAndOr_0")), QString());
        EXPECT_EQ(rows(), QStringLiteral("1000 0000 0000 0000 0000"));
        EXPECT_EQ(child<QComboBox>(dialog, QStringLiteral("cboAndOr_3"))->currentText(), QStringLiteral("OR"));
        pick(child<QComboBox>(dialog, QStringLiteral("cboAndOr_0")), QStringLiteral("WHERE"));
        EXPECT_EQ(rows(), QStringLiteral("1111 1000 1000 1111 1000"));

        // Typing picks list entries only.
        auto *andOr = child<QComboBox>(dialog, QStringLiteral("cboAndOr_1"));
        QTest::keyClick(andOr, Qt::Key_A);
        EXPECT_EQ(andOr->currentText(), QStringLiteral("AND"));
        QTest::keyClick(andOr, Qt::Key_X);
        EXPECT_EQ(andOr->currentText(), QStringLiteral("AND"));
        EXPECT_EQ(usable(1), QStringLiteral("1111"));

        auto *list = child<QListWidget>(dialog, QStringLiteral("lstColumns"));
        clickItem(list, QStringLiteral("B"));
        EXPECT_TRUE(child<QPushButton>(dialog, QStringLiteral("cmdSelectNone"))->isEnabled());
        QTest::keyClicks(child<QLineEdit>(dialog, QStringLiteral("txtCriteria_3")), QStringLiteral("1/1/00"));
        QTest::mouseClick(child<QPushButton>(dialog, QStringLiteral("cmdClear")), Qt::LeftButton);
        EXPECT_EQ(rows(), QStringLiteral("1000 0000 0000 0000 0000"));
        EXPECT_TRUE(list->selectedItems().isEmpty());
        EXPECT_FALSE(child<QPushButton>(dialog, QStringLiteral("cmdSelectNone"))->isEnabled());
        for (int row = 0; row < 5; ++row) {
            const QString n = QString::number(row);
            EXPECT_EQ(child<QComboBox>(dialog, QStringLiteral("cboAndOr_") + n)->currentIndex(), 0);
            EXPECT_EQ(child<QComboBox>(dialog, QStringLiteral("cboColumn_") + n)->currentIndex(), -1);
            EXPECT_EQ(child<QComboBox>(dialog, QStringLiteral("cboCriteria_") + n)->currentText(), QStringLiteral("LIKE"));
            EXPECT_EQ(child<QLineEdit>(dialog, QStringLiteral("txtCriteria_") + n)->text(), QString());
        }

        // All and None.
        QTest::mouseClick(child<QPushButton>(dialog, QStringLiteral("cmdSelectAll")), Qt::LeftButton);
        EXPECT_EQ(list->selectedItems().size(), 3);
        QTest::mouseClick(child<QPushButton>(dialog, QStringLiteral("cmdSelectNone")), Qt::LeftButton);
        EXPECT_TRUE(list->selectedItems().isEmpty());
        EXPECT_FALSE(child<QPushButton>(dialog, QStringLiteral("cmdSelectNone"))->isEnabled());
        QTest::mouseClick(child<QPushButton>(dialog, QStringLiteral("cmdCancel")), Qt::LeftButton);
        return dialog.result();
    });
    EXPECT_EQ(frmTableCriteria::GetCriteria(QStringLiteral("QnTest"), QStringLiteral("DB"), QStringLiteral("T")), QString());
}

TEST_F(Criteria, TheDialogListsTheColumnsAndShowsItsTexts)
{
    ui().onModal([](QDialog &dialog) {
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Table Selection Criteria..."));
        EXPECT_EQ(child<QLabel>(dialog, QStringLiteral("lblTable"))->text(), QStringLiteral("From SALES_CUSTOMER"));
        EXPECT_EQ(child<QLabel>(dialog, QStringLiteral("lblWarning"))->text(),
                  QStringLiteral("Please Note:\r\nCriteria which return a large amount of data may take some time to "
                                 "retrieve over a slow connection."));
        EXPECT_EQ(child<QLabel>(dialog, QStringLiteral("lblPrompt_0"))->text(), QStringLiteral("SELECT"));
        EXPECT_EQ(child<QLabel>(dialog, QStringLiteral("lblPrompt_1"))->text(), QStringLiteral("FROM"));
        QStringList captions;
        for (const char *name : {"cmdSelectAll", "cmdSelectNone", "cmdClear", "cmdOK", "cmdCancel"})
            captions << child<QPushButton>(dialog, QLatin1String(name))->text();
        EXPECT_EQ(captions, (QStringList{"&All", "&None", "&Clear", "&OK", "Cancel"}));
        EXPECT_TRUE(child<QPushButton>(dialog, QStringLiteral("cmdOK"))->isDefault());
        auto items = [&](const QString &name) {
            QStringList list;
            if (auto *box = child<QComboBox>(dialog, name))
                for (int i = 0; i < box->count(); ++i)
                    list << box->itemText(i);
            return list;
        };
        const QStringList columns = {"ADDRESS", "CITY",   "CREDIT_LIMIT", "CUST_NO", "NAME",
                                     "PHONE",   "POSTCODE", "REGION",     "SINCE"};
        QStringList listed;
        auto *list = child<QListWidget>(dialog, QStringLiteral("lstColumns"));
        for (int i = 0; i < list->count(); ++i)
            listed << list->item(i)->text();
        EXPECT_EQ(listed, columns);
        EXPECT_EQ(list->selectionMode(), QAbstractItemView::MultiSelection);
        EXPECT_EQ(items(QStringLiteral("cboAndOr_0")), (QStringList{"", "WHERE"}));
        for (int row = 0; row < 5; ++row) {
            const QString n = QString::number(row);
            if (row > 0) {
                EXPECT_EQ(items(QStringLiteral("cboAndOr_") + n), (QStringList{"", "AND", "OR"}));
            }
            EXPECT_EQ(items(QStringLiteral("cboColumn_") + n), columns);
            EXPECT_EQ(items(QStringLiteral("cboCriteria_") + n), (QStringList{"LIKE", "=", "<>", "<", ">", "<=", ">="}));
        }
        return int(QDialog::Rejected);
    });
    EXPECT_EQ(frmTableCriteria::GetCriteria(QStringLiteral("QnTest"), QStringLiteral("SALES"), QStringLiteral("CUSTOMER")),
              QString());
}

TEST_F(Criteria, OKWantsAMarkedColumnAndCancelEscapeOrCloseGiveNothing)
{
    // A table without columns: OK always gives the message; only Cancel leaves.
    ui().answerMsgBox(ui::vbOK);
    ui().answerMsgBox(ui::vbOK);
    ui().onModal([](QDialog &dialog) {
        dialog.show();
        auto *list = child<QListWidget>(dialog, QStringLiteral("lstColumns"));
        EXPECT_EQ(list->count(), 0);
        auto *ok = child<QPushButton>(dialog, QStringLiteral("cmdOK"));
        QTest::mouseClick(ok, Qt::LeftButton);
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_EQ(dialog.focusWidget(), list);
        QTest::mouseClick(child<QPushButton>(dialog, QStringLiteral("cmdSelectAll")), Qt::LeftButton);
        QTest::mouseClick(ok, Qt::LeftButton);
        EXPECT_TRUE(dialog.isVisible());
        QTest::mouseClick(child<QPushButton>(dialog, QStringLiteral("cmdCancel")), Qt::LeftButton);
        return dialog.result();
    });
    EXPECT_EQ(frmTableCriteria::GetCriteria(QStringLiteral("QnTest"), QStringLiteral("DB"), QStringLiteral("EMPTY")),
              QString());
    ASSERT_EQ(ui().shown().size(), 3);
    for (int i : {1, 2}) {
        EXPECT_EQ(ui().shown()[i].text, QStringLiteral("You must select at least one column to return."));
        EXPECT_EQ(ui().shown()[i].style, ui::vbInformation);
        EXPECT_EQ(ui().shown()[i].title, ui::AppTitle());
    }

    // Escape and the close box count as Cancel, even with columns marked.
    const QList<std::function<void(QDialog &)>> leave = {
        [](QDialog &dialog) { QTest::keyClick(&dialog, Qt::Key_Escape); },
        [](QDialog &dialog) { dialog.close(); },
    };
    for (const auto &how : leave) {
        ui().onModal([how](QDialog &dialog) {
            dialog.show();
            QTest::mouseClick(child<QPushButton>(dialog, QStringLiteral("cmdSelectAll")), Qt::LeftButton);
            how(dialog);
            EXPECT_FALSE(dialog.isVisible());
            return dialog.result();
        });
        EXPECT_EQ(frmTableCriteria::GetCriteria(QStringLiteral("QnTest"), QStringLiteral("DB"), QStringLiteral("T")),
                  QString());
    }
}

TEST_F(Criteria, ADataSourceThatCannotConnectFailsToTheCaller)
{
    ui().answerMsgBox(ui::vbOK); // the registry's own message
    EXPECT_EQ(failureOf([] {
                  frmTableCriteria::GetCriteria(QStringLiteral("Nowhere"), QStringLiteral("DB"), QStringLiteral("T"));
              }).Number(),
              91);
    EXPECT_TRUE(ui().messages().value(0).startsWith(QStringLiteral("Failed to connect for the following reason:")));
}

} // namespace
