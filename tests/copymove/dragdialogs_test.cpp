// The two questions of a drag, answered as a user answers them: a click on a
// button, Enter, Escape, the window's close button.

#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QTest>

#include "../mainwindow/mainwindowfixture.h"
#include "copymove/frmmovecopy.h"
#include "copymove/frmyestoall.h"
#include "core/errortrace.h"

namespace {

class DragQuestions : public MainWindowTest
{
protected:
    // Runs `ask` with the dialog it shows driven by `drive`; records the dialog's look.
    template <class Ask> int answer(Ask ask, const std::function<void(QDialog &)> &drive)
    {
        ui().onModal([&](QDialog &d) {
            d.show();
            d.activateWindow();
            EXPECT_TRUE(QTest::qWaitForWindowActive(&d));
            m_title = d.windowTitle();
            m_prompt = d.findChild<QLabel *>(QStringLiteral("lblPrompt"))->text();
            m_focus = QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : QString();
            m_at = d.pos();
            drive(d);
            flush();
            return d.result();
        });
        return ask();
    }
    static void click(QDialog &d, const char *button)
    {
        QTest::mouseClick(d.findChild<QPushButton *>(QLatin1String(button)), Qt::LeftButton);
    }
    static void key(QDialog &d, Qt::Key key)
    {
        QWidget *target = QApplication::focusWidget() ? QApplication::focusWidget() : &d;
        QTest::keyClick(target, key);
    }
    // The dialog is still open after `act`: it is then closed by its close button.
    static std::function<void(QDialog &)> thenClose(const std::function<void(QDialog &)> &act)
    {
        return [act](QDialog &d) {
            act(d);
            if (d.isVisible())
                d.close();
        };
    }

    QString m_title, m_prompt, m_focus;
    QPoint m_at;
};

// Copy 2, Move 1, Cancel 0; Escape and the close button are Cancel, never
// Move. Enter presses the button that has the focus, Cancel when it opens.
TEST_F(DragQuestions, MoveOrCopyAnswers)
{
    const auto query = [] { return frmMoveCopy::Query(QStringLiteral("Do you want to Move or Copy?")); };
    const struct
    {
        const char *how;
        std::function<void(QDialog &)> drive;
        int answer;
    } cases[] = {
        {"Copy", [](QDialog &d) { click(d, "cmdCopy"); }, 2},
        {"Move", [](QDialog &d) { click(d, "cmdMove"); }, 1},
        {"Cancel", [](QDialog &d) { click(d, "cmdCancel"); }, 0},
        {"Escape", [](QDialog &d) { key(d, Qt::Key_Escape); }, 0},
        {"close button", [](QDialog &d) { d.close(); }, 0},
        {"Enter", [](QDialog &d) { key(d, Qt::Key_Return); }, 0},
        {"Tab, Enter", [](QDialog &d) {
             key(d, Qt::Key_Tab);
             key(d, Qt::Key_Return);
         }, 1},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(answer(query, thenClose(c.drive)), c.answer) << c.how;
        EXPECT_EQ(m_title, QStringLiteral("Move or Copy?"));
        EXPECT_EQ(m_prompt, QStringLiteral("Do you want to Move or Copy?"));
        EXPECT_EQ(m_focus, QStringLiteral("cmdCancel")) << c.how;
        flush();
        EXPECT_EQ(forms::Find(QStringLiteral("frmMoveCopy")), nullptr) << "unloaded after every question";
    }
    EXPECT_TRUE(gErrorTrace().List().isEmpty());
}

// The dialog opens centred the first time, then where it was last closed
// (Left and Top saved in twips); it keeps its size.
TEST_F(DragQuestions, MoveOrCopyRemembersWhereItWas)
{
    const auto query = [] { return frmMoveCopy::Query(QStringLiteral("?")); };
    QSize size;
    answer(query, [&](QDialog &d) {
        size = d.size();
        const QRect screen = d.screen()->geometry();
        EXPECT_EQ(d.pos(), QPoint(screen.x() + (screen.width() - d.width()) / 2,
                                  screen.y() + (screen.height() - d.height()) / 2));
        d.move(150, 90);
        click(d, "cmdCancel");
    });
    EXPECT_EQ(setting(QStringLiteral("frmMoveCopy"), QStringLiteral("Left")), QStringLiteral("2250"));
    EXPECT_EQ(setting(QStringLiteral("frmMoveCopy"), QStringLiteral("Top")), QStringLiteral("1350"));
    EXPECT_TRUE(setting(QStringLiteral("frmMoveCopy"), QStringLiteral("Width")).isEmpty());
    answer(query, [&](QDialog &d) {
        EXPECT_EQ(d.pos(), QPoint(150, 90));
        EXPECT_EQ(d.size(), size);
        click(d, "cmdCopy");
    });
    EXPECT_EQ(size, QSize(4695 / 15, 2175 / 15));
}

// Yes 1, Yes to All 2, No 0; the close button is No; Escape does nothing
// (there is no cancel button). It opens with the focus on Yes.
TEST_F(DragQuestions, ContinueAnswers)
{
    const auto ask = [] { return frmYesToAll::GetAnswer(QStringLiteral("Do you want to continue?")); };
    const struct
    {
        const char *how;
        std::function<void(QDialog &)> drive;
        int answer;
    } cases[] = {
        {"Yes", [](QDialog &d) { click(d, "cmdYes"); }, 1},
        {"Yes to All", [](QDialog &d) { click(d, "cmdYesAll"); }, 2},
        {"No", [](QDialog &d) { click(d, "cmdNo"); }, 0},
        {"close button", [](QDialog &d) { d.close(); }, 0},
        {"Escape, then Yes", [](QDialog &d) {
             key(d, Qt::Key_Escape);
             EXPECT_TRUE(d.isVisible()) << "Escape closed the question";
             click(d, "cmdYes");
         }, 1},
        {"Tab, Enter", [](QDialog &d) {
             key(d, Qt::Key_Tab);
             key(d, Qt::Key_Return);
         }, 2},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(answer(ask, thenClose(c.drive)), c.answer) << c.how;
        EXPECT_EQ(m_title, QStringLiteral("Quarnel ODBC Administrator"));
        EXPECT_EQ(m_prompt, QStringLiteral("Do you want to continue?"));
        EXPECT_EQ(m_focus, QStringLiteral("cmdYes"));
    }
}

// Pictures for looking at them: QN_SCREENSHOT_DIR=<folder> test_copymove --gtest_filter=DragQuestions.Screenshots
TEST_F(DragQuestions, Screenshots)
{
    const QString folder = qEnvironmentVariable("QN_SCREENSHOT_DIR");
    if (folder.isEmpty())
        GTEST_SKIP() << "QN_SCREENSHOT_DIR not set";
    QDir().mkpath(folder);
    answer([] {
        return frmMoveCopy::Query(QStringLiteral("Do you want to Move or Copy the Table 'ORDERS' in Datasource "
                                                 "'QnTest', Database 'SALES' to the Database 'STOCK' in  the "
                                                 "Datasource 'QnTest2'?"));
    },
           [&](QDialog &d) {
               EXPECT_TRUE(d.grab().save(folder + QStringLiteral("/frmMoveCopy.png")));
               click(d, "cmdCancel");
           });
    answer([] {
        return frmYesToAll::GetAnswer(
            QStringLiteral("Do you want to continue with the remainder of the Tables in this collection?"));
    },
           [&](QDialog &d) {
               EXPECT_TRUE(d.grab().save(folder + QStringLiteral("/frmYesToAll.png")));
               click(d, "cmdNo");
           });
}

} // namespace
