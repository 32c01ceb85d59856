#include <gtest/gtest.h>

#include <QApplication>

#include "support/TestSupport.h"

// Window and control tests need an application object; they render offscreen.
int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    UseKeyNameLanguage();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
