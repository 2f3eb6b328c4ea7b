#include <QApplication>
#include <gtest/gtest.h>

// The window needs one application object for the whole process; without a display of its own it
// draws offscreen, also while ctest lists the tests.
int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
