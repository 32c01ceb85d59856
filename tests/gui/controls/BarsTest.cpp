#include <gtest/gtest.h>

#include "controls/TemperatureBar.h"
#include "controls/XProgressCtrl.h"
#include "gui/controls/PixelProbe.h"

namespace {

TEST(XProgressCtrlTest, QuarterOfTheRangeFillsAQuarterOfTheWidth) {
    CXProgressCtrl bar;
    bar.resize(100, 11);
    bar.SetRange(0, 200);
    bar.SetPos(50);
    EXPECT_FLOAT_EQ(bar.Scale(), 0.5f);
    EXPECT_EQ(bar.FillWidth(), 25);
    const QImage img = Shot(bar);
    // The middle row carries the full colours; the edges the darker shade.
    EXPECT_TRUE(Near(img.pixelColor(24, 5), CXProgressCtrl::kDefaultBarColor, 6));
    EXPECT_TRUE(Near(img.pixelColor(25, 5), CXProgressCtrl::kDefaultBackColor, 6));
    EXPECT_TRUE(Near(img.pixelColor(10, 0), QColor(58, 144, 49), 12));
    EXPECT_TRUE(Near(img.pixelColor(99, 10), QColor(142, 135, 141), 12));
}

TEST(XProgressCtrlTest, RendersOnlyOnChangeAndFollowsItsWidth) {
    CXProgressCtrl bar;
    bar.resize(100, 11);
    bar.SetRange(0, 200);
    bar.SetPos(50);
    bar.BackBuffer();
    const int renders = bar.RenderCount();
    bar.SetPos(50);
    bar.SetRange(0, 200);
    bar.BackBuffer();
    EXPECT_EQ(bar.RenderCount(), renders);
    bar.SetPos(60);
    bar.SetPos(70);
    bar.BackBuffer();
    EXPECT_EQ(bar.RenderCount(), renders + 1);
    EXPECT_EQ(bar.FillWidth(), 35);
    bar.resize(200, 11);
    EXPECT_EQ(bar.FillWidth(), 70);
    bar.SetPos(400);
    EXPECT_EQ(bar.FillWidth(), 200);
    bar.SetPos(-5);
    EXPECT_EQ(bar.FillWidth(), 0);
}

TEST(TemperatureBarTest, ValueAboveTheRangeShowsAtTheTop) {
    CTemperatureBar t;
    t.resize(48, 150);
    t.SetBackColor(QColor(255, 255, 255));
    t.SetValue(150);
    EXPECT_FLOAT_EQ(t.Value(), 120.0f);
    const ThermometerScale s = t.Layout();
    EXPECT_EQ(s.step, 10);
    EXPECT_EQ(s.level, s.tube.top());

    const QImage img = Shot(t);
    EXPECT_TRUE(Near(img.pixelColor(6, s.level), CTemperatureBar::kLevelColor));
    EXPECT_TRUE(Near(img.pixelColor(24, s.level), CTemperatureBar::kLevelColor));  // reaches past the long ticks
    EXPECT_TRUE(Near(img.pixelColor(6, 100), CTemperatureBar::kDefaultFillColor, 8));

    t.SetValue(-80);
    EXPECT_FLOAT_EQ(t.Value(), -50.0f);
    const QImage empty = Shot(t);
    EXPECT_TRUE(Near(empty.pixelColor(6, 100), CTemperatureBar::kDefaultTubeColor, 8));
    EXPECT_TRUE(Near(empty.pixelColor(6, t.Layout().level), CTemperatureBar::kLevelColor));
}

TEST(TemperatureBarTest, ReversedRangeIsIgnoredAndANewRangeKeepsTheValueInside) {
    CTemperatureBar t;
    t.SetRange(50, 10);
    EXPECT_FLOAT_EQ(t.Lower(), -50.0f);
    EXPECT_FLOAT_EQ(t.Upper(), 120.0f);
    t.SetValue(100);
    t.SetRange(0, 40);
    EXPECT_FLOAT_EQ(t.Value(), 40.0f);
    EXPECT_EQ(t.LabelHeight(), 12 * t.logicalDpiY() / 96);
}

}  // namespace
