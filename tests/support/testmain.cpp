// The tests' main: the program's application object on the offscreen platform;
// failures go to the error dialog as in the program.
#include <gtest/gtest.h>

#include "core/frmqnerr.h"
#include "qnapplication.h"
#include "ui.h"

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QnApplication app(argc, argv);
    ui::setErrorDialog(&frmQNErr::OnError);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
