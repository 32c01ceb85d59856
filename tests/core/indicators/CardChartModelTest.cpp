#include <gtest/gtest.h>

#include <cmath>

#include "language/LanguageKeys.h"
#include "support/TestSupport.h"
#include "indicators/CardChartModel.h"

namespace {

class CardChartModelTest : public ::testing::Test {
protected:
    void SetUp() override { UseKeyNameLanguage(); }
};

TEST_F(CardChartModelTest, EightGigabyteCardWithSixFreeIsAQuarterUsed) {
    CCardChartModel m;
    m.SetValues(8589934592.0, 6442450944.0);
    EXPECT_EQ(m.StartAngle(), 33);
    EXPECT_EQ(m.UsedAngle(), 90);
    EXPECT_EQ(m.FreeAngle(), 270);
    EXPECT_EQ(m.SizeText(), "LNG_DEVICE_SIZE: 8192 LNG_DEVICE_PREFIX_MB");
    EXPECT_EQ(m.FreeText(), "LNG_DEVICE_FREE: 6144 LNG_DEVICE_PREFIX_MB");
    EXPECT_EQ(m.UsedText(), "LNG_DEVICE_USED: 2048 LNG_DEVICE_PREFIX_MB");

    const QRect square(0, 0, 100, 100);
    const auto labels = m.PercentLabels(square);
    ASSERT_EQ(labels.size(), 2u);
    // Free first, centred in the middle of its sector (33 + 90 + 135 = 258 degrees).
    EXPECT_EQ(labels[0].text, "75%");
    EXPECT_EQ(labels[0].center, CCardChartModel::CirclePoint(square, 258, 3, 5));
    EXPECT_EQ(labels[1].text, "25%");
    EXPECT_EQ(labels[1].center, CCardChartModel::CirclePoint(square, 78, 3, 5));
}

TEST_F(CardChartModelTest, AmountsAreDividedWhileAboveOneMebibyte) {
    struct Case {
        double bytes;
        double value;
        int divisions;
    };
    const Case cases[] = {
        {0, 0, 0},
        {1048576.0, 1048576.0, 0},  // exactly the limit stays in bytes
        {1048577.0, 1048577.0 / 1024, 1},
        {8589934592.0, 8192, 2},
        {1099511627776.0 * 4, 4096, 3},
        {1099511627776.0 * 1048576 * 4, 4096, 5},  // beyond terabytes: no unit text
    };
    for (const Case& c : cases) {
        const CardAmount a = CCardChartModel::ScaleAmount(c.bytes);
        EXPECT_DOUBLE_EQ(a.value, c.value) << c.bytes;
        EXPECT_EQ(a.divisions, c.divisions) << c.bytes;
    }
    EXPECT_EQ(CCardChartModel::AmountText(LNG_DEVICE_SIZE, 1048576.0), "LNG_DEVICE_SIZE: 1048576 LNG_DEVICE_PREFIX_BYTE");
    EXPECT_EQ(CCardChartModel::AmountText(LNG_DEVICE_SIZE, 1048577.0), "LNG_DEVICE_SIZE: 1024 LNG_DEVICE_PREFIX_KB");
    EXPECT_EQ(CCardChartModel::AmountText(LNG_DEVICE_SIZE, 1099511627776.0 * 1048576 * 4), "LNG_DEVICE_SIZE: 4096 ");
}

TEST_F(CardChartModelTest, AnglesStayWithinTheCircleForEveryInput) {
    struct Case {
        double size;
        double free;
        int used;
    };
    const Case cases[] = {
        {1000, 1000, 0},    // empty card: all free
        {1000, 0, 360},     // full card
        {1000, 930, 25},    // trunc(70 * 360 / 1000) = 25
        {0, 0, 0},
        {0, 500, 0},        // no size but free space: nothing used
        {1000, 1500, 0},    // more free than size
        {-1000, 0, 0},
        {NAN, 5, 0},
        {INFINITY, 0, 0},
    };
    for (const Case& c : cases) {
        CCardChartModel m;
        m.SetValues(c.size, c.free);
        EXPECT_EQ(m.UsedAngle(), c.used) << c.size << " " << c.free;
        EXPECT_EQ(m.FreeAngle(), 360 - c.used) << c.size << " " << c.free;
    }
}

TEST_F(CardChartModelTest, NarrowSectorsCarryNoPercentage) {
    const QRect square(0, 0, 80, 80);
    CCardChartModel m;
    m.SetValues(1000, 930);  // used 25 degrees: only the free share is written
    auto labels = m.PercentLabels(square);
    ASSERT_EQ(labels.size(), 1u);
    EXPECT_EQ(labels[0].text, "93%");
    m.SetValues(1000, 1000);
    labels = m.PercentLabels(square);
    ASSERT_EQ(labels.size(), 1u);
    EXPECT_EQ(labels[0].text, "100%");
    m.SetValues(1000, 60);  // used 338 degrees, free 22: only the used share is written
    labels = m.PercentLabels(square);
    ASSERT_EQ(labels.size(), 1u);
    EXPECT_EQ(labels[0].text, "94%");
}

TEST_F(CardChartModelTest, GeometryLeavesRoomForLegendAndSizeLine) {
    // 2 legend lines + 2 above, 1 line + 2 below; the square sits on the bottom, centred.
    EXPECT_EQ(CCardChartModel::PieSquare(QRect(0, 0, 183, 130), 15), QRect(51, 32, 81, 81));
    EXPECT_EQ(CCardChartModel::PieSquare(QRect(0, 0, 60, 130), 15), QRect(0, 53, 60, 60));
    EXPECT_TRUE(CCardChartModel::PieSquare(QRect(0, 0, 60, 20), 15).isEmpty());

    const QRect sq(0, 0, 100, 100);
    EXPECT_EQ(CCardChartModel::CirclePoint(sq, 0), QPoint(50, 0));
    EXPECT_EQ(CCardChartModel::CirclePoint(sq, 90).x(), 100);
    EXPECT_EQ(CCardChartModel::CirclePoint(sq, 180), QPoint(50, 100));
    EXPECT_EQ(CCardChartModel::CirclePoint(sq, 180), CCardChartModel::CirclePoint(sq, -180));
    EXPECT_EQ(CCardChartModel::CirclePoint(sq, 270), CCardChartModel::CirclePoint(sq, 630));
    EXPECT_EQ(CCardChartModel::CirclePoint(sq, 180, 3, 5), QPoint(50, 80));
}

}  // namespace
