#include <gtest/gtest.h>

#include <QApplication>

#include "support/TestSupport.h"

// Whole-program tests may open windows: they need an application object and render
// offscreen unless the caller asks for a real display.
int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    UseKeyNameLanguage();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
