#include <gtest/gtest.h>
#include <QApplication>

// Widget tests need one application object for the whole process. They run on the offscreen
// platform unless told otherwise, also when ctest lists them.
int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
