#include <gtest/gtest.h>

#include <QCoreApplication>

int main(int argc, char** argv) {
    // Windows render offscreen unless the caller asks for a real display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    QCoreApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
