#pragma once

// Driving the program's modal dialogs as the user meets them, and what they
// showed meanwhile: the message boxes and the status bar's texts.

#include <QDialog>
#include <QEvent>
#include <QStatusBar>
#include <QTest>
#include <functional>
#include <gtest/gtest.h>

#include "mainwindow/mdimain.h"
#include "scriptedui.h"

// The next modal dialog is shown and, once on screen, handed to `drive`.
inline void driveNextDialog(ScriptedUi &ui, std::function<void(QDialog &)> drive)
{
    ui.onModal([drive = std::move(drive)](QDialog &d) {
        d.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&d));
        drive(d);
        return 0;
    });
}

// The message boxes shown since the last clear.
inline QList<ScriptedUi::Shown> messageBoxes(const ScriptedUi &ui)
{
    QList<ScriptedUi::Shown> boxes;
    for (const ScriptedUi::Shown &s : ui.shown())
        if (s.kind == QLatin1String("MsgBox"))
            boxes << s;
    return boxes;
}

// Every text the status bar showed while `run` ran, in order, a repeat of the
// text before dropped. The status bar repaints at once on every text.
inline QStringList statusesWhile(mdiMain &main, const std::function<void()> &run)
{
    class Recorder : public QObject
    {
    public:
        explicit Recorder(mdiMain &main) : m_main(main) {}
        bool eventFilter(QObject *watched, QEvent *event) override
        {
            if (event->type() == QEvent::Paint && (texts.isEmpty() || texts.last() != m_main.StatusText()))
                texts << m_main.StatusText();
            return QObject::eventFilter(watched, event);
        }
        QStringList texts;

    private:
        mdiMain &m_main;
    } recorder(main);
    main.sbrMain->installEventFilter(&recorder);
    run();
    main.sbrMain->removeEventFilter(&recorder);
    return recorder.texts;
}
