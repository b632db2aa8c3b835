// Text pasted, dropped or committed by an input method into a grid's cell
// editors obeys the rules typing obeys: the text, password, number, lookup
// and list cells, and what leaving the row then writes.

#include <QLineEdit>

#include "panefixture.h"
#include "panes/frmfields.h"
#include "panes/frmfiles.h"
#include "panes/frmtblprvs.h"
#include "panes/frmusers.h"
#include "textentry.h"

namespace {

class PasteIntoGrids : public PaneTest
{
protected:
    frmUsers &users() { return show<frmUsers>(QStringLiteral("frmUsers"), {QStringLiteral("QnTest")}); }
    frmFiles &files() { return show<frmFiles>(QStringLiteral("frmFiles"), {QStringLiteral("QnTest")}); }
    frmFields &fields()
    {
        return show<frmFields>(QStringLiteral("frmFields"), {QStringLiteral("QnTest"), QStringLiteral("CUSTOMER")});
    }
    // SALES.ORDERS' privileges with two users more, O'BRIEN holding a row.
    frmTBLPRVs &orders()
    {
        if (scalar(QStringLiteral("SELECT COUNT(*) FROM QN_USER WHERE USER_NAME = 'CAROL'")).toInt() == 0) {
            StandinTest::open()->Execute(QStringLiteral("INSERT INTO QN_USER (USER_NAME) VALUES ('O''BRIEN'), ('CAROL')"));
            StandinTest::open()->Execute(QStringLiteral("INSERT INTO QN_TBLPRV (DATABASE_NAME, TABLE_NAME, USER_NAME, ALLOW_SELECT, "
                                           "ALLOW_INSERT, ALLOW_UPDATE, ALLOW_DELETE) VALUES ('SALES', 'ORDERS', "
                                           "'O''BRIEN', 1, 0, 1, 0)"));
        }
        return show<frmTBLPRVs>(QStringLiteral("frmTBLPRVs"),
                                {QStringLiteral("QnTest"), QStringLiteral("SALES"), QStringLiteral("ORDERS")});
    }
    // The text of the open cell editor: the line edit that has the focus.
    static QString editorText()
    {
        auto *line = qobject_cast<QLineEdit *>(focus());
        EXPECT_NE(line, nullptr);
        return line ? line->text() : QString();
    }
    static void open(GridPane &p, int row, int col)
    {
        click(p, row, col);
        key(Qt::Key_Return);
        ASSERT_TRUE(p.EditorVisible()) << "no editor on " << row << "," << col;
    }
    static constexpr int kJsmith = 1, kMbrown = 2;           // Users
    static constexpr int kObrien = 1;                         // SALES.ORDERS' privileges
    static constexpr int kFieldName = 4, kFieldSince = 8;     // CUSTOMER's NAME and SINCE fields
};

TEST_F(PasteIntoGrids, EachKindOfCellGetsWhatTypingGives)
{
    const QString longText = QStringLiteral("abcdefghij").repeated(4); // 40 into a 32-character column
    struct Case
    {
        const char *kind;
        std::function<GridPane &()> pane;
        int row, col;
        QString pasted;
        QString expected; // a null text: refused, the editor's text unchanged
    };
    const auto u = [this]() -> GridPane & { return users(); };
    const auto fi = [this]() -> GridPane & { return files(); };
    const auto fd = [this]() -> GridPane & { return fields(); };
    const int customer = 0; // CUSTOMER's row in Files
    const QList<Case> cases = {
        {"text cell", u, kJsmith, 0, "o'neil", "ONEIL"},
        {"text cell", u, kJsmith, 0, "a b", "A_B"},
        {"text cell", u, kJsmith, 0, "x/y", "XY"},
        {"text cell", u, kJsmith, 0, "stock", "STOCK"},
        {"text cell", u, kJsmith, 0, longText, longText.left(32).toUpper()},
        {"text cell", u, kJsmith, 0, "ab\r\ncd", "AB_CD"},
        {"remarks cell", u, kJsmith, 2, "o'neil a/b", "o'neil a/b"},
        {"remarks cell", u, kJsmith, 2, QStringLiteral("r").repeated(317), QStringLiteral("r").repeated(254)},
        {"remarks cell", u, kJsmith, 2, "ab\r\ncd\nef", "ab cd ef"},
        {"password cell", u, kJsmith, 1, "o'neil", {}},
        {"password cell", u, kJsmith, 1, "a b", {}},
        {"password cell", u, kJsmith, 1, "x/y", {}},
        {"password cell", u, kJsmith, 1, "stock", "STOCK"},
        {"password cell", u, kJsmith, 1, "abcdefghijk", {}},
        {"password cell", u, kJsmith, 1, "ab\r\ncd", {}},
        {"number cell", fd, kFieldName, 4, "1'2", {}},
        {"number cell", fd, kFieldName, 4, "1 2", {}},
        {"number cell", fd, kFieldName, 4, "1/2", {}},
        {"number cell", fd, kFieldName, 4, "3.5", {}},
        {"number cell", fd, kFieldName, 4, "25", "25"},
        {"number cell", fd, kFieldName, 4, "1234567890", {}},
        {"number cell", fd, kFieldName, 4, "25\r\n", {}},
        {"number lookup cell", fi, customer, 2, "1'2", {}},
        {"number lookup cell", fi, customer, 2, "3.5", {}},
        {"number lookup cell", fi, customer, 2, "5x", {}},
        {"number lookup cell", fi, customer, 2, "120", "120"},
        {"text lookup cell", fd, kFieldSince, 8, "o'neil", "ONEIL"},
        {"text lookup cell", fd, kFieldSince, 8, "a b/c", "A_BC"},
        {"text lookup cell", fd, kFieldSince, 8, "yyyymmdd", "YYYYMMDD"},
        {"text lookup cell", fd, kFieldSince, 8, longText, longText.left(32).toUpper()},
        {"text lookup cell", fd, kFieldSince, 8, "ab\r\ncd", "AB_CD"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << c.kind << " <- '" << c.pasted.left(20).toStdString() << "'");
        GridPane &p = c.pane();
        open(p, c.row, c.col);
        const QString before = editorText();
        textentry::Paste(focus(), c.pasted, true);
        EXPECT_EQ(editorText(), c.expected.isNull() ? before : c.expected);
        // Where characters go in one by one, typing them (a break as a blank) gives the same.
        if (c.kind == QLatin1String("text cell") || c.kind == QLatin1String("text lookup cell")) {
            QTest::keyClick(focus(), Qt::Key_A, Qt::ControlModifier);
            QTest::keyClick(focus(), Qt::Key_Backspace);
            QString typed = c.pasted;
            type(typed.replace(QLatin1String("\r\n"), QLatin1String(" ")));
            EXPECT_EQ(editorText(), c.expected) << "typed";
        }
        key(Qt::Key_Escape);
        EXPECT_FALSE(p.RowDirty());
    }
    EXPECT_TRUE(ui().errors().isEmpty());
}

// What was pasted into a row's cells is what leaving the row writes.
TEST_F(PasteIntoGrids, WhatWasPastedIsWritten)
{
    frmUsers &u = users();
    open(u, kMbrown, 0);
    textentry::Paste(focus(), QStringLiteral("o'neil\r\nsmith"), true);
    key(Qt::Key_Return);
    open(u, kMbrown, 1);
    textentry::Paste(focus(), QStringLiteral("secret"));
    key(Qt::Key_Return);
    open(u, kMbrown, 2);
    textentry::Paste(focus(), QStringLiteral("first line\r\nsecond line"), true);
    key(Qt::Key_Return);
    click(u, kJsmith, 0);
    EXPECT_EQ(rows(QStringLiteral("SELECT * FROM QN_USER WHERE USER_NAME IN ('MBROWN', 'ONEIL_SMITH')")),
              QStringList{QStringLiteral("ONEIL_SMITH|SECRET|first line second line")});
    EXPECT_TRUE(ui().errors().isEmpty());
}

// A drop, an input method's commit and the context menu's Paste on a cell pass
// the same rules; the cell's change is one change, and Ctrl+Z takes it back.
TEST_F(PasteIntoGrids, EveryWayIntoACellAndUndo)
{
    frmUsers &u = users();
    open(u, kJsmith, 0);
    auto *line = qobject_cast<QLineEdit *>(focus());
    ASSERT_NE(line, nullptr);
    int changes = 0;
    QObject::connect(line, &QLineEdit::textChanged, &u, [&] { ++changes; });
    line->selectAll();
    textentry::Commit(line, QStringLiteral("o'neil x"));
    EXPECT_EQ(line->text(), QStringLiteral("ONEIL_X"));
    EXPECT_EQ(changes, 1);
    QTest::keyClick(line, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(line->text(), QStringLiteral("JSMITH"));
    line->clear();
    EXPECT_TRUE(textentry::Drop(line, QStringLiteral("new/user name")));
    EXPECT_EQ(line->text(), QStringLiteral("NEWUSER_NAME"));
    // The context menu's popup leaves the editor open; its Paste is filtered.
    line->clear();
    textentry::PasteFromMenu(line, QStringLiteral("menu's name"));
    EXPECT_TRUE(u.EditorVisible());
    EXPECT_EQ(line->text(), QStringLiteral("MENUS_NAME"));
    key(Qt::Key_Escape);

    frmFiles &f = files();
    open(f, 0, 2);
    EXPECT_FALSE(textentry::Drop(focus(), QStringLiteral("1.5")));
    textentry::Commit(focus(), QStringLiteral("7a"));
    EXPECT_EQ(editorText(), QStringLiteral("133"));
    key(Qt::Key_Escape);
    EXPECT_TRUE(ui().errors().isEmpty());
}

// A list cell takes entered text as it takes typed keys: each character
// completes from the list, and a character no item continues is left out.
// Whichever way the text comes (Ctrl+V at the end of the text or over all of
// it, a drop, an input method), the cell then shows what typing the same
// characters there shows.
TEST_F(PasteIntoGrids, AListCellGetsWhatTypingGives)
{
    enum How { AtTheEnd, OverAll, DroppedIntoEmpty, CommittedIntoEmpty };
    struct Case
    {
        const char *kind;
        std::function<GridPane &()> pane;
        int row, col;
        How how;
        QString entered;
        QString expected;
    };
    const auto tp = [this]() -> GridPane & { return orders(); };
    const auto fi = [this]() -> GridPane & { return files(); };
    const QList<Case> cases = {
        {"user cell", tp, kObrien, 0, AtTheEnd, "carol", "O'BRIEN"},
        {"user cell", tp, kObrien, 0, OverAll, "carol", "CAROL"},
        {"user cell", tp, kObrien, 0, OverAll, "o'b", "O'BRIEN"},
        {"user cell", tp, kObrien, 0, OverAll, "zed", "O'BRIEN"},
        {"user cell", tp, kObrien, 0, DroppedIntoEmpty, "jsm", "JSMITH"},
        {"user cell", tp, kObrien, 0, DroppedIntoEmpty, "x y", ""},
        {"user cell", tp, kObrien, 0, CommittedIntoEmpty, "mb", "MBROWN"},
        {"user cell", tp, kObrien, 0, CommittedIntoEmpty, "carol's", "CAROL"},
        {"Yes/No cell", tp, kObrien, 2, OverAll, "yes", "Yes"},
        {"Yes/No cell", tp, kObrien, 2, AtTheEnd, "1", "No"},
        {"Yes/No cell", tp, kObrien, 2, CommittedIntoEmpty, "n", "No"},
        {"organisation cell", fi, 0, 3, OverAll, "seq", "SEQUENTIAL"},
        {"organisation cell", fi, 0, 3, AtTheEnd, "x", "INDEXED"},
        {"organisation cell", fi, 0, 3, DroppedIntoEmpty, "rel", "RELATIVE"},
    };
    // Opens the cell as `how` needs it: its text at the end, all of it selected, or emptied.
    const auto start = [](GridPane &p, const Case &c) {
        click(p, c.row, c.col);
        key(c.how == AtTheEnd || c.how == OverAll ? Qt::Key_Return : Qt::Key_Backspace);
        ASSERT_TRUE(p.EditorVisible());
        ASSERT_NE(qobject_cast<QComboBox *>(p.CellEditor()), nullptr);
        if (c.how == OverAll)
            key(Qt::Key_A, Qt::ControlModifier);
    };
    const auto shown = [](GridPane &p) { return static_cast<QComboBox *>(p.CellEditor())->lineEdit()->text(); };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << c.kind << " <- '" << c.entered.toStdString() << "' (" << c.how << ")");
        GridPane &p = c.pane();
        start(p, c);
        switch (c.how) {
        case AtTheEnd:
        case OverAll: textentry::Paste(focus(), c.entered); break;
        case DroppedIntoEmpty:
            textentry::Drop(static_cast<QComboBox *>(p.CellEditor())->lineEdit(), c.entered);
            break;
        case CommittedIntoEmpty: textentry::Commit(focus(), c.entered); break;
        }
        EXPECT_EQ(shown(p), c.expected);
        key(Qt::Key_Escape);
        // Typing the same characters from the same start gives the same.
        start(p, c);
        type(c.entered);
        EXPECT_EQ(shown(p), c.expected) << "typed";
        key(Qt::Key_Escape);
        EXPECT_FALSE(p.RowDirty());
    }
    EXPECT_TRUE(ui().errors().isEmpty());
}

// What leaving the row writes: a paste that completes nothing writes nothing,
// never the list item with the pasted text after it; one that completes an
// item writes the item.
TEST_F(PasteIntoGrids, WhatWasPastedIntoAListCellIsWritten)
{
    frmTBLPRVs &p = orders();
    const QString users = QStringLiteral("SELECT USER_NAME, ALLOW_SELECT, ALLOW_INSERT, ALLOW_UPDATE, ALLOW_DELETE "
                                         "FROM QN_TBLPRV WHERE DATABASE_NAME = 'SALES' AND TABLE_NAME = 'ORDERS' "
                                         "ORDER BY USER_NAME");
    const QStringList before = rows(users);
    ASSERT_TRUE(before.contains(QStringLiteral("O'BRIEN|1|0|1|0")));
    open(p, kObrien, 0);
    textentry::Paste(focus(), QStringLiteral("carol"));
    key(Qt::Key_Return);
    click(p, 0, 0);
    EXPECT_EQ(rows(users), before);

    open(p, kObrien, 0);
    textentry::Paste(focus(), QStringLiteral("carol"), true);
    key(Qt::Key_Return);
    click(p, 0, 0);
    EXPECT_EQ(rows(users), QStringList({QStringLiteral("CAROL|1|0|1|0"), QStringLiteral("MBROWN|1|0|0|0"),
                                        QStringLiteral("REPORTS|1|0|0|0")}));
    EXPECT_TRUE(ui().errors().isEmpty());
    EXPECT_TRUE(ui().messages().isEmpty());
}

} // namespace
