#include <gtest/gtest.h>

#include <vector>

#include "indicators/AnchorLayout.h"
#include "indicators/IndicatorMath.h"
#include "indicators/ThermometerScale.h"

namespace {

TEST(IndicatorMathTest, ProgressFillCountsFromTheLowerBoundAndStaysInside) {
    struct Case {
        int width, lower, upper, position, fill;
    };
    const Case cases[] = {
        {100, 0, 200, 50, 25},
        {100, 0, 200, 200, 100},
        {100, 0, 200, 300, 100},  // beyond the range: full, not wider
        {100, 0, 200, -10, 0},    // below the range: empty
        {100, 100, 300, 100, 0},  // a range that does not start at 0 starts empty
        {100, 100, 300, 200, 50},
        {100, 0, 0, 7, 7},        // empty range: one pixel per unit
        {100, 5, 1, 3, 0},        // reversed range: one pixel per unit from the lower bound
        {0, 0, 1, 1, 0},
    };
    for (const Case& c : cases) {
        const float scale = IndicatorMath::ProgressScale(c.lower, c.upper, c.width);
        EXPECT_EQ(IndicatorMath::ProgressFillWidth(c.lower, c.position, scale, c.width), c.fill)
            << c.width << " " << c.lower << ".." << c.upper << " @" << c.position;
    }
}

TEST(IndicatorMathTest, ColourShadingInWholeNumbers) {
    // RGB (89, 219, 75) at 66 %: (58, 144, 49); RGB (216, 206, 214) darkened by 20 %: (173, 165, 172).
    EXPECT_EQ(IndicatorMath::ScaleColor(0x004BDB59, 66), 0x0031903Au);
    EXPECT_EQ(IndicatorMath::ShiftColor(0x00D6CED8, -20), 0x00ACA5ADu);
    EXPECT_EQ(IndicatorMath::ShiftColor(0x00FFFFFF, 50), 0x00FFFFFFu);
    EXPECT_EQ(IndicatorMath::ShiftColor(0, -20), 0u);
}

TEST(IndicatorMathTest, LabelTextsAreCentredTogether) {
    const auto both = IndicatorMath::PlaceLabelTexts(100, 30, 10, true);
    EXPECT_EQ(both.firstX, 27);
    EXPECT_EQ(both.secondX, 62);
    EXPECT_EQ(IndicatorMath::PlaceLabelTexts(100, 30, 10, false).firstX, 35);
}

std::vector<int> Labels(const ThermometerScale& s) {
    std::vector<int> out;
    for (const ThermometerTick& t : s.ticks)
        if (t.isLong) out.push_back(t.label);
    return out;
}

TEST(ThermometerScaleTest, DevicePageRangeUsesStepTen) {
    const QRect client(0, 0, 48, 150);
    const ThermometerScale s = ThermometerScale::Compute(client, -50, 120, 150);
    EXPECT_EQ(s.step, 10);
    EXPECT_EQ(s.ticks.size(), 18u);
    EXPECT_EQ(Labels(s), (std::vector<int>{-50, -30, -10, 10, 30, 50, 70, 90, 110}));
    EXPECT_EQ(s.tube, QRect(0, 5, 12, 140));
    EXPECT_EQ(s.ticks.front().y, 145);
    EXPECT_EQ(s.ticks.back().y, 5);   // 120 at the top
    EXPECT_EQ(s.level, 5);            // 150 shows as 120
    EXPECT_EQ(ThermometerScale::Compute(client, -50, 120, -80).level, 145);
    EXPECT_EQ(ThermometerScale::Compute(client, -50, 120, 35).level, 145 - 70);
}

TEST(ThermometerScaleTest, StepFollowsTheSpan) {
    const std::pair<int, int> steps[] = {{0, 1}, {20, 1}, {21, 2}, {50, 2}, {51, 5}, {100, 5}, {101, 10}, {5000, 10}};
    for (const auto& [span, step] : steps) EXPECT_EQ(ThermometerScale::StepFor(span), step) << span;
}

TEST(ThermometerScaleTest, RangesAwayFromZeroSpanOnlyTheRange) {
    const ThermometerScale s = ThermometerScale::Compute(QRect(0, 0, 48, 110), 10, 50, 30);
    EXPECT_EQ(s.step, 2);
    EXPECT_EQ(Labels(s).front(), 10);
    EXPECT_EQ(Labels(s).back(), 50);
    EXPECT_EQ(s.ticks.back().y, 5);
    EXPECT_EQ(s.level, 105 - 50);  // halfway up the tube
}

TEST(ThermometerScaleTest, DegenerateInputsGiveAPicture) {
    const QRect client(0, 0, 48, 100);
    const ThermometerScale flat = ThermometerScale::Compute(client, 20, 20, 20);
    EXPECT_EQ(flat.ticks.size(), 1u);
    EXPECT_EQ(flat.level, 95);
    const ThermometerScale huge = ThermometerScale::Compute(client, -1e30f, 1e30f, 0);
    EXPECT_LE(huge.ticks.size(), 1001u);
    EXPECT_EQ(ThermometerScale::Compute(client, -50, 120, NAN).level, 95);
    EXPECT_EQ(ThermometerScale::Compute(QRect(0, 0, 48, 4), -50, 120, 0).tube.height(), 0);
}

TEST(AnchorLayoutTest, ControlsKeepTheirDistancesToAnchoredEdges) {
    const QSize before(400, 300), after(500, 380);
    struct Case {
        int anchors;
        QRect expected;
    };
    const QRect r(300, 220, 80, 60);  // 20 from the right, 20 from the bottom
    const Case cases[] = {
        {kAnchorRight | kAnchorBottom, QRect(400, 300, 80, 60)},
        {kAnchorTop | kAnchorLeft, r},
        {0, r},
        {kAnchorLeft | kAnchorRight | kAnchorTop, QRect(300, 220, 180, 60)},
        {kAnchorTop | kAnchorBottom | kAnchorLeft, QRect(300, 220, 80, 140)},
        {kAnchorRight | kAnchorTop, QRect(400, 220, 80, 60)},
    };
    for (const Case& c : cases) EXPECT_EQ(AnchoredRect(r, before, after, c.anchors), c.expected) << c.anchors;
}

}  // namespace
