#pragma once

// The editors on the main window and the stand-in data sources, driven as a
// user would: the pane host shows them, the band's buttons and the editor's
// own buttons are clicked, text is typed into the boxes.

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QStandardItem>
#include <QTest>
#include <QToolBar>
#include <QTreeView>

#include "../mainwindow/mainwindowfixture.h"
#include "core/controls.h"
#include "core/moddatabase.h"
#include "core/modgui.h"
#include "core/modupdate.h"
#include "core/panetable.h"
#include "editors/editorpane.h"
#include "settings.h"
#include "textentry.h"
#include "tree/nodekey.h"
#include "ui.h"

class EditorTest : public MainWindowTest
{
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        options::Save(options::kItems, 0); // a click shows a row; Edit is asked for
        // Panes that come with other work (the grids, the other editors, the
        // data viewer): a recording pane stands in for any that is not there.
        for (const PaneFacts &row : PaneTable::All()) {
            if (QWidget *pane = forms::Load(row.name))
                forms::Unload(pane);
            else
                forms::SetFactory(row.name, [name = row.name] { return static_cast<QWidget *>(new TestPane(name)); });
        }
        flush();
        main().show();
        main().activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&main()));
        flush();
    }

    QString current() const { return gCurrentPane() ? gCurrentPane()->objectName() : QString(); }
    // The next request to the host gives up the changes a previous case left:
    // its question "Save changes to ...?" is answered No.
    void giveUpChanges()
    {
        if (auto *pane = dynamic_cast<EditorPane *>(gCurrentPane().data()); pane && pane->ChangesPending())
            ui().answerMsgBox(ui::vbNo);
    }
    // The arguments a stand-in pane was shown with ("Display:QnTest,SALES"), or "" for a real pane.
    QStringList calls(const QString &pane) const
    {
        auto *test = dynamic_cast<TestPane *>(forms::Find(pane));
        return test ? test->calls : QStringList();
    }

    // The band shown for `form`, and one of its buttons.
    QToolBar *band(const QString &form) { return main().PaneBand(form); }
    QAction *button(const QString &form, const QString &key) { return modGUI::ToolbarButton(band(form), key); }
    // Clicks a band button as the user does (nothing happens while it is disabled).
    void clickBand(const QString &form, const QString &key)
    {
        QAction *action = button(form, key);
        ASSERT_TRUE(action) << key.toStdString();
        QWidget *w = band(form)->widgetForAction(action);
        ASSERT_TRUE(w) << key.toStdString();
        QTest::mouseClick(w, Qt::LeftButton);
        flush();
    }
    // The enabled state of the band's buttons: "+" enabled, "-" disabled, in the order given.
    QString bandState(const QString &form, const QStringList &keys)
    {
        QString state;
        for (const QString &key : keys) {
            QAction *a = button(form, key);
            state += a ? (a->isEnabled() ? QLatin1Char('+') : QLatin1Char('-')) : QLatin1Char('?');
        }
        return state;
    }

    static void click(QWidget *w)
    {
        QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(w->width() / 2, w->height() / 2));
        flush();
    }
    // Replaces the text of a box by typing (every key through the box's filter).
    static void retype(QWidget *box, const QString &text)
    {
        box->setFocus();
        QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(box, Qt::Key_Delete);
        QTest::keyClicks(box, text);
    }
    static void type(QWidget *box, const QString &text)
    {
        box->setFocus();
        QTest::keyClick(box, Qt::Key_End, Qt::ControlModifier);
        QTest::keyClicks(box, text);
    }
    // Pastes `text` over the whole text of a box with Ctrl+A, Ctrl+V.
    static void paste(QWidget *box, const QString &text) { textentry::Paste(box, text, true); }
    static QString textOf(const QWidget *w) { return controls::Text(w); }
    // A combo's items, in list order.
    static QStringList items(const QComboBox *combo)
    {
        QStringList list;
        for (int i = 0; i < combo->count(); ++i)
            list << combo->itemText(i);
        return list;
    }
    // Picks an item of a type-ahead combo by typing its first letters over the whole text.
    static void choose(QComboBox *combo, const QString &prefix)
    {
        combo->setFocus();
        if (combo->lineEdit())
            combo->lineEdit()->selectAll();
        QTest::keyClicks(combo, prefix);
    }
    // The check boxes' states, "1" checked and "0" not, in the order given.
    static QString checks(const QList<QCheckBox *> &boxes)
    {
        QString s;
        for (const QCheckBox *box : boxes)
            s += box->isChecked() ? QLatin1Char('1') : QLatin1Char('0');
        return s;
    }
    // A statement as the error dialog shows it.
    static QString shownSQL(const QString &sql)
    {
        return modDatabase::FormatSQL(sql).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    }

    // The message boxes shown since the last call.
    QStringList takeMessages()
    {
        const QStringList list = ui().messages();
        ui().clear();
        return list;
    }
    static QWidget *focused() { return QApplication::focusWidget(); }

    // The explorer tree, driven with the mouse.
    QTreeView *tree() { return main().tvwExplorer; }
    static QStandardItem *node(const QString &key) { return gNodes().Node(key); }
    QPoint pointOf(QStandardItem *item)
    {
        tree()->scrollTo(item->index());
        const QRect rect = tree()->visualRect(item->index());
        return QPoint(rect.left() + qMin(rect.width() / 2, 24), rect.center().y());
    }
    // A left click on a node's text: the node's pane shows.
    void clickNode(const QString &key)
    {
        QStandardItem *item = node(key);
        ASSERT_TRUE(item) << key.toStdString();
        QTest::mouseClick(tree()->viewport(), Qt::LeftButton, {}, pointOf(item));
        flush();
    }
    // Expands each node of the path with a click on its expand button.
    void openPath(const QStringList &keys)
    {
        for (const QString &key : keys) {
            QStandardItem *item = node(key);
            ASSERT_TRUE(item) << key.toStdString();
            if (tree()->isExpanded(item->index()))
                continue;
            const QPoint text = pointOf(item);
            const QRect rect = tree()->visualRect(item->index());
            QTest::mouseClick(tree()->viewport(), Qt::LeftButton, {},
                              QPoint(rect.left() - tree()->indentation() / 2, text.y()));
            flush();
            ASSERT_TRUE(tree()->isExpanded(node(key)->index())) << key.toStdString();
        }
    }
    // The texts of a node's children.
    static QStringList childTexts(const QString &key)
    {
        QStringList list;
        if (QStandardItem *item = node(key))
            for (int row = 0; row < item->rowCount(); ++row)
                list << item->child(row)->text();
        return list;
    }
};

// The fixture of one editor: its form name, the keys of its band, the host's
// entries with the key parts after the test data source.
template <class Form>
class EditorOf : public EditorTest
{
protected:
    static inline const QString kDs = QStringLiteral("QnTest");

    EditorOf(QString form, QStringList band) : m_form(std::move(form)), m_band(std::move(band)) {}

    Form &editor()
    {
        Form *form = forms::LoadedForm<Form>();
        EXPECT_TRUE(form);
        return *form;
    }
    // The host's entries. Changes a previous case left are given up: the
    // host's question "Save changes to ...?" is answered No.
    template <class... Keys> Form &display(const Keys &...keys)
    {
        giveUpChanges();
        EXPECT_EQ(main().PaneDisplay(m_form, QStringList{kDs, keys...}), 0);
        return editor();
    }
    template <class... Keys> Form &edit(const Keys &...keys)
    {
        giveUpChanges();
        main().PaneEdit(m_form, QStringList{kDs, keys...});
        return editor();
    }
    template <class... Keys> Form &addNew(const Keys &...keys)
    {
        giveUpChanges();
        main().PaneAddNew(m_form, QStringList{kDs, keys...});
        return editor();
    }

    // The band's buttons, "+" enabled and "-" disabled, in the order given at construction.
    QString state() { return bandState(m_form, m_band); }
    void clickBand(const QString &key) { EditorTest::clickBand(m_form, key); }
    // The number of rows `where` selects in each table, joined by blanks.
    QString counts(const QStringList &tables, const QString &where)
    {
        QStringList list;
        for (const QString &table : tables)
            list << scalar(QStringLiteral("SELECT COUNT(*) FROM %1 WHERE %2").arg(table, where)).toString();
        return list.join(QLatin1Char(' '));
    }

    // One input rule: a change to a new row that otherwise passes, the message
    // it gets ("" when the row passes) and the control that then has the focus.
    struct Rule
    {
        const char *name;
        std::function<void(Form &)> change;
        QString message;
        std::function<QWidget *(Form &)> focus;
    };
    // Each rule on a fresh new row from `prepare`, saved with the band's OK: a
    // refused row shows exactly its message, puts the focus where it says and
    // leaves `table` as it was, the editor still adding; a row that passes is
    // `written()`.
    void checkRules(const QList<Rule> &rules, const std::function<Form &()> &prepare, const QString &table,
                    const std::function<bool()> &written)
    {
        const QString count = QStringLiteral("SELECT COUNT(*) FROM ") + table;
        const int before = scalar(count).toInt();
        for (const Rule &rule : rules) {
            SCOPED_TRACE(rule.name);
            Form &e = prepare();
            rule.change(e);
            const QString mode = e.EditorMode();
            takeMessages();
            if (!rule.message.isEmpty())
                ui().answerMsgBox(ui::vbOK);
            clickBand(QStringLiteral("OK"));
            if (rule.message.isEmpty()) {
                EXPECT_EQ(takeMessages(), QStringList());
                EXPECT_TRUE(written());
                continue;
            }
            EXPECT_EQ(takeMessages(), QStringList{rule.message});
            EXPECT_EQ(focused(), rule.focus(e));
            EXPECT_EQ(scalar(count).toInt(), before);
            EXPECT_EQ(e.EditorMode(), mode);
        }
    }

private:
    QString m_form;
    QStringList m_band;
};
