// The tests' main: a QApplication on the offscreen platform; failures go to
// the error dialog as in the program.
#include <QApplication>
#include <gtest/gtest.h>

#include "core/frmqnerr.h"
#include "ui.h"

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ui::setErrorDialog(&frmQNErr::OnError);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
