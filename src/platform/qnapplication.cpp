#include "qnapplication.h"

namespace {
int g_depth = 0;
}

QnApplication::QnApplication(int &argc, char **argv) : QApplication(argc, argv) {}

bool QnApplication::notify(QObject *receiver, QEvent *event)
{
    struct Depth
    {
        Depth() { ++g_depth; }
        ~Depth() { --g_depth; }
    } depth;
    return QApplication::notify(receiver, event);
}

int QnApplication::EventDepth() { return g_depth; }
