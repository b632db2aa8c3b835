#pragma once

// The program's application object. It counts how deep event deliveries nest,
// so that work started from an event (a click handled while other work yields
// to the event loop) can be told from work its caller runs directly.

#include <QApplication>

class QnApplication : public QApplication
{
public:
    QnApplication(int &argc, char **argv);
    bool notify(QObject *receiver, QEvent *event) override;

    // The event deliveries under way: 0 outside any event handler, and always
    // 0 under an application object of another class.
    static int EventDepth();
};
