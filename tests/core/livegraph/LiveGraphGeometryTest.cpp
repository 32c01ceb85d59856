#include <gtest/gtest.h>

#include <vector>

#include "livegraph/LiveGraphGeometry.h"

namespace LG = LiveGraphGeometry;

namespace {

TEST(LiveGraphGeometry, SixHundredPixelsShowFourToZeroMinutes) {
    const GraphRect area = LG::LabelArea({0, 0, 600, 206});
    ASSERT_EQ(area.Width(), 596);
    ASSERT_EQ(LG::MinuteLabelCount(area), 4);
    const int width = 30;
    for (int k = 1; k <= 4; ++k)
        EXPECT_EQ(LG::MinuteLabelLeft(area, k, width) + width / 2, 598 - 120 * k) << k;
    // The 0 sits at the right edge, kept one pixel inside.
    EXPECT_EQ(LG::MinuteLabelLeft(area, 0, width) + width, area.right - 1);
    // A label too near the left edge is pushed inside too.
    EXPECT_EQ(LG::MinuteLabelLeft(LG::LabelArea({0, 0, 130, 50}), 1, 40), 3);
    EXPECT_EQ(LG::MinuteLabelCount(LG::LabelArea({0, 0, 100, 50})), 0);
}

TEST(LiveGraphGeometry, PlotSitsAboveTheLabels) {
    const GraphRect plot = LG::PlotArea(LG::LabelArea({0, 0, 600, 206}), 14);
    EXPECT_EQ(plot, (GraphRect{1, 1, 597, 187}));
    EXPECT_EQ(LG::FirstGridX(plot, 3), 594);
}

class SeriesPointsTest : public ::testing::Test {
protected:
    // Plot 200 high; series 0 recorded `values` oldest first in a ring of 10.
    void Record(std::initializer_list<float> values, float coefficient) {
        data.Resize(10);
        data.AddSeries("1", 0xFF);
        data.SetSeriesCoefficient(0, coefficient);
        for (float v : values) {
            data.SetSeriesValue(0, v);
            data.Tick();
        }
    }
    int Points(bool* overflow) {
        return LG::SeriesPoints(data, 0, plot, data.Range(), points.data(), int(points.size()), overflow);
    }

    CLiveGraphData data;
    GraphRect plot{1, 1, 9, 201};
    std::vector<QPoint> points = std::vector<QPoint>(10);
};

TEST_F(SeriesPointsTest, NewestAtTheRightEdgeScaledIntoThePlot) {
    Record({100, 50, 0}, 1.0f);  // range -5..105
    bool overflow = true;
    ASSERT_EQ(Points(&overflow), 8);  // one per column, not more than the plot is wide
    EXPECT_FALSE(overflow);
    EXPECT_EQ(points[0], QPoint(9, 201 - 9));    // 0: trunc(5 * 200 / 110) above the bottom
    EXPECT_EQ(points[1], QPoint(8, 201 - 100));  // 50: half way
    EXPECT_EQ(points[2], QPoint(7, 201 - 190));  // 100: trunc(105 * 200 / 110)
}

TEST_F(SeriesPointsTest, CoefficientTwoRunsOffTheTop) {
    Record({100, 53, 52}, 2.0f);  // range -5..105 from the raw samples
    bool overflow = false;
    Points(&overflow);
    EXPECT_TRUE(overflow);
    EXPECT_EQ(points[0].y(), 201 - 198);  // 104 still inside
    EXPECT_EQ(points[1].y(), 0);          // 106 lands one row above the plot: off the top too
    EXPECT_EQ(points[2].y(), 0);
}

TEST_F(SeriesPointsTest, HiddenOrMissingSeriesHaveNoPoints) {
    Record({5}, 1.0f);
    bool overflow = true;
    EXPECT_EQ(LG::SeriesPoints(data, 3, plot, data.Range(), points.data(), 10, &overflow), 0);
    EXPECT_FALSE(overflow);
    EXPECT_EQ(LG::SeriesPoints(data, 0, plot, data.Range(), points.data(), 2, &overflow), 2);
}

TEST(LiveGraphGeometry, OverflowMarkersLineUpFromTheRight) {
    const GraphRect plot{1, 1, 597, 187};
    const std::array<QPoint, 3> first = LG::OverflowMarker(plot, 0);
    EXPECT_EQ(first[0], QPoint(586, 12));
    EXPECT_EQ(first[1], QPoint(591, 2));
    EXPECT_EQ(first[2], QPoint(596, 12));
    EXPECT_EQ(LG::OverflowMarker(plot, 2)[1], QPoint(567, 2));
}

TEST(LiveGraphGeometry, HoverBoxStaysOnTheRoomySide) {
    const GraphRect client{0, 0, 600, 200};
    const QSize box(50, 40);
    EXPECT_EQ(LG::HoverBoxTopLeft(client, {100, 50}, box), QPoint(120, 70));
    EXPECT_EQ(LG::HoverBoxTopLeft(client, {500, 150}, box), QPoint(430, 90));
    // The middle counts as the left and upper half.
    EXPECT_EQ(LG::HoverBoxTopLeft(client, {300, 100}, box), QPoint(320, 120));
    EXPECT_EQ(LG::HoverText(1234.567f), "1234.57");
    EXPECT_EQ(LG::HoverText(-3e20f).size(), 15);
}

}  // namespace
