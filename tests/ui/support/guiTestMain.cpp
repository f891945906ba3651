#include <gtest/gtest.h>

#include <QApplication>

int main(int argc, char* argv[]) {
    // Test windows never appear on a screen, also when the tests are listed.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
