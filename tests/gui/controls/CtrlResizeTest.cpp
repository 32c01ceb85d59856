#include <gtest/gtest.h>

#include <QApplication>

#include "controls/CtrlResize.h"

namespace {

class CtrlResizeTest : public ::testing::Test {
protected:
    QWidget window;
    QWidget* corner = new QWidget(&window);   // anchored right and bottom
    QWidget* strip = new QWidget(&window);    // anchored left, right and top
    QWidget* fixed = new QWidget(&window);    // anchored top and left
    QWidget* frame = new QWidget(&window);
    QWidget* nested = new QWidget(frame);     // inside a frame, anchored right and top
    CCtrlResize resize;

    void SetUp() override {
        window.resize(400, 300);
        corner->setGeometry(300, 220, 80, 60);
        strip->setGeometry(10, 10, 380, 20);
        fixed->setGeometry(10, 40, 50, 50);
        frame->setGeometry(100, 100, 100, 100);
        nested->setGeometry(10, 10, 30, 20);
        corner->setObjectName(QStringLiteral("1061"));
        window.show();
        resize.Attach(&window);
        ASSERT_TRUE(resize.AddControl(1061, kAnchorRight | kAnchorBottom));
        ASSERT_FALSE(resize.AddControl(9999, kAnchorTop));
        resize.AddControl(strip, kAnchorLeft | kAnchorRight | kAnchorTop);
        resize.AddControl(fixed, kAnchorLeft | kAnchorTop);
        resize.AddControl(nested, kAnchorRight | kAnchorTop);
        resize.Fix();
    }
};

TEST_F(CtrlResizeTest, ControlsKeepTheirDistancesWhenTheWindowGrows) {
    window.resize(500, 380);
    QApplication::processEvents();
    EXPECT_EQ(corner->geometry(), QRect(400, 300, 80, 60));  // same size, still 20 from both edges
    EXPECT_EQ(strip->geometry(), QRect(10, 10, 480, 20));
    EXPECT_EQ(fixed->geometry(), QRect(10, 40, 50, 50));
    EXPECT_EQ(nested->geometry(), QRect(110, 10, 30, 20));  // in the frame's coordinates

    window.resize(400, 300);
    QApplication::processEvents();
    EXPECT_EQ(corner->geometry(), QRect(300, 220, 80, 60));
}

TEST_F(CtrlResizeTest, AHiddenWindowIsNotLaidOut) {
    window.hide();
    window.resize(500, 380);
    QApplication::processEvents();
    EXPECT_EQ(corner->geometry(), QRect(300, 220, 80, 60));
}

}  // namespace
