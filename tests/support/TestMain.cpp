// Test entry point: every test binary runs headless with a QApplication and
// its own throw-away HOME, XDG folders and locale.
#include "tests/support/TestHome.h"

#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    kvtest::isolateEnvironment();
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
