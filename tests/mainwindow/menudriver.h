#pragma once

// Driving pop-up menus as a user does, and recording panes loaded by name.

#include <QAction>
#include <QApplication>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QTimer>
#include <functional>
#include <map>
#include <optional>

#include "core/errortrace.h"
#include "core/panetable.h"
#include "panehost/forms.h"
#include "mainwindowfixture.h"
#include "tree/dragitem.h"

// The items a menu shows, in order; a separator as "-".
inline QStringList visibleItems(const QMenu &menu)
{
    QStringList items;
    for (QAction *action : menu.actions())
        if (action->isVisible())
            items << (action->isSeparator() ? QStringLiteral("-") : action->text());
    return items;
}

// Clicks the item captioned `caption` of an open menu.
inline void clickItem(QMenu &menu, const QString &caption)
{
    for (QAction *action : menu.actions())
        if (action->isVisible() && action->text() == caption) {
            QTest::mouseClick(&menu, Qt::LeftButton, {}, menu.actionGeometry(action).center());
            return;
        }
    ADD_FAILURE() << "no visible item " << caption.toStdString();
    menu.close();
}

// Opens `menu` with a click on `window`'s menu bar and clicks its item `caption`.
inline void chooseFromMenuBar(QMainWindow &window, QMenu *menu, const QString &caption)
{
    QMenuBar *bar = window.menuBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(menu->menuAction()).center());
    ASSERT_TRUE(menu->isVisible()) << menu->title().toStdString();
    clickItem(*menu, caption);
    EXPECT_FALSE(menu->isVisible());
}

// Runs `popup`, which may pop a menu up and return once it closed. While the
// menu is open, `act` is given it (by default the user presses Escape).
// Returns the items the menu showed; nothing when no menu popped up.
inline std::optional<QStringList> whilePopup(const std::function<void()> &popup,
                                             const std::function<void(QMenu &)> &act = {})
{
    std::optional<QStringList> shown;
    QTimer timer;
    timer.setInterval(1);
    QObject::connect(&timer, &QTimer::timeout, [&] {
        auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        if (!menu)
            return;
        timer.stop();
        shown = visibleItems(*menu);
        if (act)
            act(*menu);
        else
            QTest::keyClick(menu, Qt::Key_Escape);
    });
    timer.start();
    popup();
    timer.stop();
    return shown;
}

// A pane that records its calls and the newest trace entry at each call.
class RecordingPane : public TestPane
{
public:
    explicit RecordingPane(const QString &name) : TestPane(name) {}
    int Display(const QStringList &keys) override { return note(TestPane::Display(keys)); }
    void AddNew(const QStringList &keys) override
    {
        TestPane::AddNew(keys);
        note(0);
    }
    void Edit(const QStringList &keys) override
    {
        TestPane::Edit(keys);
        note(0);
    }
    void Delete(const QStringList &keys) override
    {
        TestPane::Delete(keys);
        note(0);
    }
    QStringList traces; // the newest trace entry at each call ("" for none)

private:
    int note(int result)
    {
        traces << gErrorTrace().List().value(0);
        return result;
    }
};

// While it lives, the panes named are loaded (by name) as recording panes
// (made by `make` when given); the forms' own factories come back afterwards.
class RecordingPanes
{
public:
    explicit RecordingPanes(const QStringList &names,
                            const std::function<RecordingPane *(const QString &)> &make = {})
    {
        for (const QString &name : names) {
            m_saved[name] = forms::Factory(name);
            forms::SetFactory(name, [name, make] {
                return static_cast<QWidget *>(make ? make(name) : new RecordingPane(name));
            });
        }
    }
    ~RecordingPanes()
    {
        for (const auto &[name, factory] : m_saved)
            forms::SetFactory(name, factory);
    }
    RecordingPanes(const RecordingPanes &) = delete;
    RecordingPanes &operator=(const RecordingPanes &) = delete;

    // Every pane of the pane table that no form declares yet.
    static QStringList Undeclared()
    {
        QStringList names;
        for (const PaneFacts &row : PaneTable::All())
            if (!forms::Factory(row.name))
                names << row.name;
        return names;
    }

    // The loaded recording pane of that name; nullptr when none was loaded.
    static RecordingPane *pane(const QString &name) { return dynamic_cast<RecordingPane *>(forms::Find(name)); }
    // Its calls; empty when it was not loaded.
    static QStringList calls(const QString &name)
    {
        RecordingPane *p = pane(name);
        return p ? p->calls : QStringList();
    }

private:
    std::map<QString, std::function<QWidget *()>> m_saved;
};

// Sets the current item as a press on such a node would.
inline void setCurrentItem(const QString &nodeType, const QStringList &keys, const CNodePtr &node = nullptr)
{
    DragItem &item = gCurrentItem();
    item = DragItem{};
    item.Node = node;
    item.NodeType = nodeType;
    item.Keys = keys;
}
