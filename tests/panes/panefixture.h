#pragma once

// The list panes on the stand-in, shown by the pane host of the main window
// and driven as a user would: clicks on the grid's cells, keys to the widget
// that has the focus.

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QTest>
#include <QToolButton>
#include <QTreeView>

#include "../mainwindow/mainwindowfixture.h"
#include "core/modgui.h"
#include "panes/ctltextlookup.h"
#include "panes/gridpane.h"
#include "tree/nodekey.h"
#include "tree/refreshnodepath.h"

class PaneTest : public MainWindowTest
{
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        main().show();
        QApplication::setActiveWindow(&main());
        ASSERT_TRUE(QTest::qWaitForWindowActive(&main()));
    }

    // Shows the pane named `name` with `keys` through the pane host, the data
    // source open in the tree as a user who clicked its folder has it. Shown
    // again, the pane starts afresh: an edit a previous case left is forgotten
    // (the host would write it or keep the pane for it).
    template <class T> T &show(const QString &name, const QStringList &keys)
    {
        if (auto *shown = dynamic_cast<GridPane *>(gCurrentPane().data());
            shown && shown->objectName() == name && (shown->RowDirty() || shown->EditorVisible()))
            shown->Display(keys);
        modGUI::RefreshNodePath(NodeKey::Datasource(keys.value(0)));
        EXPECT_EQ(main().PaneDisplay(name, keys), 0);
        auto *pane = dynamic_cast<T *>(gCurrentPane().data());
        EXPECT_NE(pane, nullptr);
        settle();
        return *pane;
    }

    // Lets queued steps (an editor's loss of focus) run.
    static void settle()
    {
        for (int i = 0; i < 3; ++i)
            QCoreApplication::processEvents();
    }

    static QWidget *focus() { return QApplication::focusWidget(); }
    static void click(GridPane &p, int row, int col)
    {
        p.grd->scrollTo(p.grd->Model().index(row, col));
        QTest::mouseClick(p.grd->viewport(), Qt::LeftButton, {}, p.grd->CellRect(row, col).center());
        settle();
    }
    static void doubleClick(GridPane &p, int row, int col)
    {
        click(p, row, col);
        QTest::mouseDClick(p.grd->viewport(), Qt::LeftButton, {}, p.grd->CellRect(row, col).center());
        settle();
    }
    // A key (or typed text) to the widget with the focus.
    static void key(Qt::Key k, Qt::KeyboardModifiers modifiers = {})
    {
        ASSERT_NE(focus(), nullptr);
        QTest::keyClick(focus(), k, modifiers);
        settle();
    }
    // Each character goes to the widget that has the focus when it is typed.
    static void type(const QString &text)
    {
        for (const QChar c : text) {
            ASSERT_NE(focus(), nullptr);
            QTest::keyClick(focus(), c.toLatin1());
            settle();
        }
    }
    // Opens the cell (row, col) with a double-click, replaces its text by typing and presses Enter.
    static void edit(GridPane &p, int row, int col, const QString &text)
    {
        doubleClick(p, row, col);
        ASSERT_TRUE(p.EditorVisible()) << "no editor on " << row << "," << col;
        QTest::keyClick(focus(), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(focus(), Qt::Key_Backspace);
        type(text);
        key(Qt::Key_Return);
    }
    // A row of the grid, cells joined by "|".
    static QString row(const GridPane &p, int r)
    {
        QStringList cells;
        for (int c = 0; c < p.grd->Cols(); ++c)
            cells << p.grd->TextMatrix(r, c);
        return cells.join(QLatin1Char('|'));
    }
    static QPoint current(const GridPane &p) { return {p.grd->Col(), p.grd->Row()}; }
    // Leaves the changed row `row` by a click on the cell `leave` (column, row): with
    // `message` the rule refuses it, shows that message and reopens the failing cell `col`;
    // without one the row is written and the click's cell is current.
    void expectRule(GridPane &p, int row, int col, const char *message, QPoint leave)
    {
        ASSERT_TRUE(p.RowDirty());
        if (message)
            ui().answerMsgBox(ui::vbOK);
        click(p, leave.y(), leave.x());
        if (message) {
            EXPECT_EQ(ui().messages().last(), QLatin1String(message));
            EXPECT_EQ(current(p), QPoint(col, row));
            EXPECT_TRUE(p.EditorVisible());
        } else {
            EXPECT_FALSE(p.RowDirty());
            EXPECT_EQ(current(p), leave);
        }
    }
    // The band's "Up1" shows the pane `form` after revealing and selecting `nodeKey` in the tree.
    void expectUp(const QToolBar *band, const QString &form, const QString &nodeKey)
    {
        QAction *up = modGUI::ToolbarButton(band, QStringLiteral("Up1"));
        ASSERT_NE(up, nullptr);
        up->trigger();
        settle();
        ASSERT_NE(gCurrentPane().data(), nullptr);
        EXPECT_EQ(gCurrentPane()->objectName(), form);
        const QModelIndex selected = main().tvwExplorer->currentIndex();
        EXPECT_EQ(CNodes::NodeKeyOf(gNodes().Model()->itemFromIndex(selected)), nodeKey);
    }
    // The grid row whose first cell is `text`; -1 when none.
    static int rowOf(const GridPane &p, const QString &text)
    {
        for (int r = 0; r < p.grd->Rows(); ++r)
            if (p.grd->TextMatrix(r, 0) == text)
                return r;
        return -1;
    }
    static QStringList items(const QComboBox *list)
    {
        QStringList all;
        for (int i = 0; i < list->count(); ++i)
            all << list->itemText(i);
        return all;
    }
    // Makes a cell empty: Backspace on it while the grid has the focus.
    static void empty(GridPane &p, int row, int col)
    {
        click(p, row, col);
        key(Qt::Key_Backspace);
        key(Qt::Key_Return);
    }
    // Picks from a list cell the first item that begins with `letter`.
    static void pick(GridPane &p, int row, int col, const char *letter)
    {
        click(p, row, col);
        type(QString::fromLatin1(letter));
        key(Qt::Key_Return);
    }
    // Opens the list cell (row, col) with a double-click and drops its list
    // down with a click on the arrow; the list shows when this returns.
    static QComboBox *dropDown(GridPane &p, int row, int col)
    {
        doubleClick(p, row, col);
        auto *list = qobject_cast<QComboBox *>(p.CellEditor());
        if (!p.EditorVisible() || !list) {
            ADD_FAILURE() << "no list editor on " << row << "," << col;
            return nullptr;
        }
        QStyleOptionComboBox option;
        option.initFrom(list);
        option.editable = list->isEditable();
        const QRect arrow =
            list->style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxArrow, list);
        QTest::mouseClick(list, Qt::LeftButton, {}, arrow.center());
        settle();
        EXPECT_TRUE(list->view()->isVisible()) << "the list did not drop down";
        return list;
    }
    // Moves the mouse onto `item` of the dropped-down list and clicks it.
    static void clickItem(QComboBox *list, const QString &item)
    {
        ASSERT_NE(list, nullptr);
        const int index = list->findText(item, Qt::MatchExactly | Qt::MatchCaseSensitive);
        ASSERT_GE(index, 0) << "no item " << item.toStdString();
        QAbstractItemView *view = list->view();
        const QPoint at = view->visualRect(view->model()->index(index, list->modelColumn())).center();
        QTest::mouseMove(view->viewport(), at);
        settle();
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, at);
        settle();
    }
    // Picks `item` from the list cell (row, col) with the mouse; the editor stays open with it.
    static void pickFromList(GridPane &p, int row, int col, const QString &item)
    {
        QComboBox *list = dropDown(p, row, col);
        clickItem(list, item);
        ASSERT_NE(list, nullptr);
        EXPECT_FALSE(list->view()->isVisible());
        EXPECT_TRUE(p.EditorVisible());
        EXPECT_EQ(list->currentText(), item);
        EXPECT_EQ(current(p), QPoint(col, row));
    }
    // Opens the lookup cell (row, col) and clicks the button of ctlLUCell(element).
    static void lookup(GridPane &p, int row, int col, int element)
    {
        click(p, row, col);
        key(Qt::Key_Return);
        ASSERT_TRUE(p.EditorVisible());
        QTest::mouseClick(p.ctlLUCell[element]->cmd, Qt::LeftButton);
        settle();
    }
};
