#pragma once

// Drags in the explorer tree of the main window, between the stand-in data
// sources QnTest (the demo catalog) and QnTest2 (a new catalog) and within
// one, driven with the mouse as a user drags; the questions answered by
// clicks on their buttons.

#include <QLabel>
#include <QPushButton>
#include <functional>

#include "../editors/editorfixture.h"
#include "core/errortrace.h"
#include "tree/dragdrop.h"
#include "tree/dragitem.h"

class DragTest : public EditorTest
{
protected:
    static inline const QString kDs = QStringLiteral("QnTest"), kDs2 = QStringLiteral("QnTest2");

    void SetUp() override
    {
        EditorTest::SetUp();
        // Room for deep nodes: the window made large and the splitter dragged to the right.
        main().resize(1400, 900);
        flush();
        QWidget *splitter = main().picSplitter;
        const QPoint grip(splitter->width() / 2, splitter->height() / 2);
        QTest::mousePress(splitter, Qt::LeftButton, {}, grip);
        QTest::mouseMove(splitter, grip + QPoint(500, 0));
        QTest::mouseRelease(splitter, Qt::LeftButton, {}, grip + QPoint(500, 0));
        flush();
        // The statements of the copy-and-move operations alone (not the tree's
        // and the panes' reads after a drop).
        dao::SetStatementObserver([this](const QString &sql) {
            if (m_changing)
                return;
            if (!m_failing.isEmpty() && sql.startsWith(m_failing)) {
                m_failing.clear();
                dao::Faults::Add(dao::Faults::Statement, 1, QStringLiteral("HY000"), QStringLiteral("injected"));
            }
            if (m_change) {
                if (m_changeArmed) {
                    const auto change = std::exchange(m_change, nullptr);
                    m_changing = true;
                    change();
                    m_changing = false;
                } else if (sql.startsWith(m_changeAfter)) {
                    m_changeArmed = true;
                }
            }
            for (const QString &entry : gErrorTrace().List())
                if (entry.startsWith(QLatin1String("modDragAndDrop.Drag"))) {
                    m_statements << sql;
                    return;
                }
        });
    }
    void TearDown() override
    {
        dao::SetStatementObserver(nullptr);
        EditorTest::TearDown();
    }

    // Node keys.
    static QString ds(const QString &d) { return NodeKey::Datasource(d); }
    static QString files(const QString &d) { return ds(d) + QStringLiteral("FI=") + d + QLatin1Char(':'); }
    static QString file(const QString &d, const QString &f) { return NodeKey::File(d, f); }
    static QString fields(const QString &d, const QString &f) { return file(d, f) + QStringLiteral("FD=") + f + ':'; }
    static QString databases(const QString &d) { return ds(d) + QStringLiteral("DB=") + d + QLatin1Char(':'); }
    static QString database(const QString &d, const QString &db) { return NodeKey::Database(d, db); }
    static QString tables(const QString &d, const QString &db) { return database(d, db) + "TA=" + db + ':'; }
    static QString table(const QString &d, const QString &db, const QString &t) { return NodeKey::Table(d, db, t); }
    static QString columns(const QString &d, const QString &db, const QString &t)
    {
        return table(d, db, t) + QStringLiteral("CO=") + t + QLatin1Char(':');
    }
    static QString users(const QString &d) { return ds(d) + QStringLiteral("US=") + d + QLatin1Char(':'); }
    static QString dbprvs(const QString &d, const QString &db) { return database(d, db) + "DBPRV=" + db + ':'; }
    static QString tblprvs(const QString &d, const QString &db, const QString &t)
    {
        return table(d, db, t) + QStringLiteral("TBLPRV=") + t + QLatin1Char(':');
    }

    // Opens the tree down to `key`: every folder and row on its path expanded.
    void reveal(const QString &key)
    {
        QStringList path;
        for (qsizetype at = key.indexOf(QLatin1Char(':')); at >= 0; at = key.indexOf(QLatin1Char(':'), at + 1))
            path << key.left(at + 1);
        path.removeLast();
        openPath(path);
    }

    // A click on a node's expand button: expands a collapsed node, collapses an
    // expanded one (which forgets its children: the next expansion reads them).
    void toggle(const QString &key)
    {
        const QPoint text = at(key);
        const QRect rect = tree()->visualRect(node(key)->index());
        QTest::mouseClick(tree()->viewport(), Qt::LeftButton, {},
                          QPoint(rect.left() - tree()->indentation() / 2, text.y()));
        flush();
    }

    // Where the pointer goes over a node: its text, scrolled into view.
    QPoint at(const QString &key)
    {
        QStandardItem *item = node(key);
        EXPECT_TRUE(item) << key.toStdString();
        return item ? pointOf(item) : QPoint();
    }

    // Presses the node `from` (selected by a click first) and moves the pointer
    // onto the node `to`: a drag begins and passes over `to`.
    void dragOver(const QString &from, const QString &to)
    {
        reveal(from);
        reveal(to);
        clickNode(from);
        QWidget *viewport = tree()->viewport();
        const QPoint start = at(from);
        QTest::mousePress(viewport, Qt::LeftButton, {}, start);
        QTest::mouseMove(viewport, start + QPoint(3, 0));
        ASSERT_TRUE(gDragInProgress()) << from.toStdString();
        m_lastOver = at(to);
        QTest::mouseMove(viewport, m_lastOver);
    }
    // The drop on the node passed last.
    void release()
    {
        m_statements.clear();
        QTest::mouseRelease(tree()->viewport(), Qt::LeftButton, {}, m_lastOver);
        flush();
    }
    // The drag ends below the tree: nothing is dropped.
    void releaseOutside()
    {
        QWidget *viewport = tree()->viewport();
        const QPoint below(5, viewport->height() + 20);
        QTest::mouseMove(viewport, below);
        QTest::mouseRelease(viewport, Qt::LeftButton, {}, below);
        flush();
    }
    // A whole drag from `from`, dropped on `to`.
    void drag(const QString &from, const QString &to)
    {
        dragOver(from, to);
        release();
    }

    // The next "Move or Copy?" question is answered with a click on `button`
    // (cmdCopy, cmdMove, cmdCancel; nothing: the window's close button).
    // `meanwhile` runs while the question is on screen (another connection changing the catalog).
    void answerMoveCopy(const QString &button, const std::function<void()> &meanwhile = {})
    {
        answerModal(QStringLiteral("frmMoveCopy"), button, meanwhile);
    }
    // The next continue question: cmdYes, cmdYesAll, cmdNo.
    void answerContinue(const QString &button, const std::function<void()> &meanwhile = {})
    {
        answerModal(QStringLiteral("frmYesToAll"), button, meanwhile);
    }
    // Another connection runs `change` just after the drop has sent the
    // statement that begins with `after` (read it), before its next statement.
    void changeAfter(const QString &after, const std::function<void()> &change)
    {
        m_changeAfter = after;
        m_changeArmed = false;
        m_change = change;
    }
    void answerModal(const QString &form, const QString &button, const std::function<void()> &meanwhile = {})
    {
        ui().onModal([this, form, button, meanwhile](QDialog &d) {
            EXPECT_EQ(d.objectName(), form);
            m_prompts << d.findChild<QLabel *>(QStringLiteral("lblPrompt"))->text();
            d.show();
            if (meanwhile)
                meanwhile();
            if (button.isEmpty())
                d.close();
            else
                QTest::mouseClick(d.findChild<QPushButton *>(button), Qt::LeftButton);
            return d.result();
        });
    }

    // The questions asked since the last call.
    QStringList takePrompts() { return std::exchange(m_prompts, {}); }
    // The statements the operations ran; the writes alone.
    QStringList takeStatements() { return std::exchange(m_statements, {}); }
    QStringList takeWrites()
    {
        QStringList writes;
        for (const QString &sql : takeStatements())
            if (!sql.startsWith(QLatin1String("SELECT")))
                writes << sql;
        return writes;
    }

    void exec(const QString &sql, const QString &dsn = QStringLiteral("QnTest")) { open(dsn)->Execute(sql); }

    QPoint m_lastOver;
    QStringList m_statements, m_prompts;
    // The next statement that begins with `start` fails.
    void failAt(const QString &start) { m_failing = start; }

    QString m_changeAfter, m_failing;
    std::function<void()> m_change;
    bool m_changeArmed = false, m_changing = false;
};
