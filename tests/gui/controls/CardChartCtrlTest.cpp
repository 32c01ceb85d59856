#include <gtest/gtest.h>

#include "gui/controls/PixelProbe.h"
#include "views/CardChartCtrl.h"

namespace {

const QColor kBack(250, 250, 250);
const QColor kText(20, 20, 120);

class CardChartCtrlTest : public ::testing::Test {
protected:
    CCardChartCtrl chart;
    void SetUp() override {
        chart.resize(183, 160);
        chart.SetBackColor(kBack);
        chart.SetTextColor(kText);
    }
    // The colour at an angle (clockwise from twelve), 85 % out from the centre.
    QColor At(const QImage& img, int angle) const {
        return img.pixelColor(CCardChartModel::CirclePoint(chart.PieSquare(), angle, 17, 20));
    }
};

TEST_F(CardChartCtrlTest, UsedSectorRunsClockwiseFrom33To123Degrees) {
    chart.SetValues(8589934592.0, 6442450944.0);
    chart.SetCardPresent(1);
    EXPECT_EQ(chart.Model().SizeText(), "LNG_DEVICE_SIZE: 8192 LNG_DEVICE_PREFIX_MB");
    const QImage img = chart.Render();
    struct Probe {
        int angle;
        QColor color;
    };
    const Probe probes[] = {{36, CCardChartCtrl::kUsedColor}, {78, CCardChartCtrl::kUsedColor},
                            {120, CCardChartCtrl::kUsedColor}, {30, CCardChartCtrl::kFreeColor},
                            {126, CCardChartCtrl::kFreeColor}, {258, CCardChartCtrl::kFreeColor},
                            {0, CCardChartCtrl::kFreeColor}};
    for (const Probe& p : probes) EXPECT_EQ(At(img, p.angle), p.color) << p.angle;
    // The legend's swatches at the top left, the percentages in white.
    const int h = chart.LineHeight();
    EXPECT_EQ(img.pixelColor(h / 2, h / 2), CCardChartCtrl::kFreeColor);
    EXPECT_EQ(img.pixelColor(h / 2, h + h / 2), CCardChartCtrl::kUsedColor);
    const QRect square = chart.PieSquare();
    EXPECT_GT(CountNear(img, square, QColor(255, 255, 255), 30), 10);
}

TEST_F(CardChartCtrlTest, WithoutACardOnlyTheMessageIsShown) {
    chart.SetValues(8589934592.0, 6442450944.0);
    chart.SetCardPresent(0);
    const QImage img = chart.Render();
    const QRect all = img.rect();
    EXPECT_EQ(CountNear(img, all, CCardChartCtrl::kFreeColor, 30), 0);
    EXPECT_EQ(CountNear(img, all, CCardChartCtrl::kUsedColor, 30), 0);
    const int h = chart.LineHeight();
    EXPECT_EQ(CountNear(img, QRect(0, 0, all.width(), 2 * h), kText, 60), 0);  // no legend
    const QRect middle(0, all.height() / 2 - 10, all.width(), 20);
    EXPECT_GT(CountNear(img, middle, kText, 30), 20);
}

TEST_F(CardChartCtrlTest, InconsistentAmountsDrawAWholeFreeDisc) {
    for (const auto& [size, free] : {std::pair{0.0, 500.0}, std::pair{1000.0, 2000.0}}) {
        chart.SetValues(size, free);
        chart.SetCardPresent(1);
        const QImage img = chart.Render();
        for (int angle : {0, 45, 90, 180, 270}) EXPECT_EQ(At(img, angle), CCardChartCtrl::kFreeColor) << angle;
    }
    chart.SetValues(1000, 0);  // full card
    const QImage full = chart.Render();
    for (int angle : {0, 90, 180, 270}) EXPECT_EQ(At(full, angle), CCardChartCtrl::kUsedColor) << angle;
}

}  // namespace
