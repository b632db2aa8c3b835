// The tests' main: the program's application object on the offscreen platform.
#include <gtest/gtest.h>

#include "qnapplication.h"

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QnApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
