#include <gtest/gtest.h>

#include "devsettings/QuantityTable.h"
#include "rdf/RdfOverlay.h"
#include "rdf/RdfPointer.h"
#include "support/TestSupport.h"
#include "RdfFixtures.h"

namespace {
using Step = CRdfPointer::Step;
using Shape = CRdfPointer::Shape;
using Track = CRdfPointer::Track;

// A plot 1000 x 400 at (50, 10) over 10 s and the values -2..2: 10 ms and 0.01 a pixel.
const RdfEdges kPlot{50, 10, 1050, 410};
constexpr TimeRange kView{0, 10000};
constexpr ValueRange kRange{2.0, -2.0};

RdfOverlayMetrics FixedMetrics() { return {[](const QString& s) { return int(s.size()) * 7; }, 12}; }

CRdfPointer Tracking(QPoint at) {
    CRdfPointer p;
    p.Move(at, false, true, true);
    return p;
}

TEST(RdfPointerTest, TracksOnlyInsideThePlotOfTheForegroundWindow) {
    CRdfPointer p;
    EXPECT_EQ(p.Move({10, 10}, false, true, false), Track::Unchanged);  // a window in the back
    EXPECT_FALSE(p.Tracking());
    EXPECT_EQ(p.Move({100, 100}, false, true, true), Track::Entered);
    EXPECT_EQ(p.Move({101, 100}, false, true, true), Track::Unchanged);
    EXPECT_EQ(p.Anchor(), QPoint(101, 100));  // follows while no button is held
    EXPECT_EQ(p.Move({5, 100}, false, false, true), Track::Left);
    EXPECT_EQ(p.Pointer(), QPoint(5, 100));

    // The shape by mode.
    EXPECT_EQ(p.PointerShape(), Shape::Hidden);
    p.SetRulerMode(true);
    EXPECT_EQ(p.PointerShape(), Shape::Arrow);
    p.SetRulerMode(false);
    p.SetSelectionMode(true);
    EXPECT_EQ(p.PointerShape(), Shape::SizeHorizontal);

    // Buttons do nothing while not tracking.
    EXPECT_EQ(p.RightPress(), Step::None);
    EXPECT_EQ(p.LeftPress({5, 100}), Step::None);
    EXPECT_EQ(p.LeftRelease({50, 100}, true), Step::None);
}

TEST(RdfPointerTest, SelectionZoomsBetweenPressAndRelease) {
    CRdfPointer p = Tracking({300, 100});
    p.SetSelectionMode(true);
    p.LeftPress({300, 100});
    p.Move({200, 120}, true, true, true);
    EXPECT_EQ(p.Anchor(), QPoint(300, 100));  // held where the press was
    EXPECT_EQ(p.LeftRelease({200, 120}, true), Step::ZoomToSelection);
    EXPECT_EQ(p.SelectionStart(), 300);
    EXPECT_EQ(p.Anchor(), QPoint(200, 120));  // the next band starts under the pointer

    // Released on the press column, or outside the plot: nothing.
    p.LeftPress({200, 120});
    EXPECT_EQ(p.LeftRelease({200, 150}, true), Step::None);
    p.LeftPress({200, 120});
    EXPECT_EQ(p.LeftRelease({400, 120}, false), Step::None);
    // The right button zooms out in selection mode only.
    EXPECT_EQ(p.RightPress(), Step::ZoomOut);
    p.SetSelectionMode(false);
    EXPECT_EQ(p.RightPress(), Step::None);
    p.LeftPress({200, 120});
    EXPECT_EQ(p.LeftRelease({400, 120}, true), Step::None);
}

TEST(RdfPointerTest, RulerPointsAndStates) {
    CRdfPointer p = Tracking({100, 100});
    p.SetRulerMode(true);
    p.LeftPress({100, 100});
    p.LeftRelease({100, 100}, true);
    EXPECT_EQ(p.RulerState(), 1);
    p.Move({180, 150}, false, true, true);  // the second point follows
    EXPECT_EQ(p.RulerPoint2(), QPoint(180, 150));
    p.LeftPress({200, 160});
    EXPECT_EQ(p.RulerState(), 2);
    p.Move({300, 300}, false, true, true);  // and now stays
    EXPECT_EQ(p.RulerPoint1(), QPoint(100, 100));
    EXPECT_EQ(p.RulerPoint2(), QPoint(200, 160));
    p.LeftPress({400, 200});  // a third press starts again
    EXPECT_EQ(p.RulerState(), 1);
    EXPECT_EQ(p.RulerPoint1(), QPoint(400, 200));
    EXPECT_EQ(p.RightPress(), Step::None);
    EXPECT_EQ(p.RulerState(), 0);
    p.LeftPress({400, 200});
    p.SetRulerMode(false);  // toggling clears it too
    EXPECT_EQ(p.RulerState(), 0);
}

TEST(RdfPointerTest, WheelNeedsExactlyShiftOrCtrl) {
    const struct {
        int delta;
        bool shift, ctrl, other;
        Step step;
    } cases[] = {
        {-120, true, false, false, Step::ShiftLeft}, {120, true, false, false, Step::ShiftRight},
        {120, false, true, false, Step::ZoomIn},     {-120, false, true, false, Step::ZoomOut},
        {120, true, true, false, Step::None},        {120, false, false, false, Step::None},
        {120, false, true, true, Step::None},        {0, false, true, false, Step::None},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CRdfPointer::Wheel(c.delta, c.shift, c.ctrl, c.other), c.step)
            << c.delta << c.shift << c.ctrl << c.other;
}

TEST(RdfOverlayTest, RulerTextsAndBoxes) {
    CRdfPointer p = Tracking({150, 110});
    p.SetRulerMode(true);
    p.LeftPress({150, 110});
    p.Move({400, 310}, false, true, true);
    const RdfOverlayModel m = RdfOverlay::Build(p, kPlot, kView, kRange, {}, CQuantityTable(), FixedMetrics());
    ASSERT_EQ(m.kind, RdfOverlayModel::Kind::Ruler);
    EXPECT_EQ(m.rulerPoints, 1);
    ASSERT_EQ(m.boxes.size(), 2u);
    EXPECT_EQ(m.boxes[0].lines, std::vector<QString>{"00:00:02:500"});  // 250 px of 10 ms
    EXPECT_EQ(m.boxes[0].rect, QRect(275 - 47, 415, 94, 22));             // centred, 5 under the plot
    EXPECT_EQ(m.boxes[1].lines, std::vector<QString>{"2.00"});            // 200 px of 0.01
    EXPECT_EQ(m.boxes[1].rect, QRect(5, 210 - 11, 38, 22));

    // Hours past a day and the milliseconds; boxes stay inside the plot.
    EXPECT_EQ(RdfOverlay::RulerTimeText({0, 90061001}, 1000, 1050, 50), "25:01:01:001");
    EXPECT_EQ(RdfOverlay::RulerValueText(kRange, 400, 10, 410), "4.00");
    CRdfPointer edge = Tracking({51, 12});
    edge.SetRulerMode(true);
    edge.LeftPress({51, 12});
    const RdfOverlayModel e = RdfOverlay::Build(edge, kPlot, kView, kRange, {}, CQuantityTable(), FixedMetrics());
    EXPECT_EQ(e.boxes[0].rect.left(), kPlot.left);
    EXPECT_EQ(e.boxes[1].rect.top(), kPlot.top);
}

TEST(RdfOverlayTest, CrossHairReadsTimeAndEveryRowThatIsOn) {
    UseKeyNameLanguage();
    const CQuantityTable table = CQuantityTable::Build();
    const RdfRowDraw rows[6] = {{true, kVolts, 2.0}, {false, kVolts, 1.0}, {true, kAmps, 1.0},
                                {true, kAmps, 0.0},  {false, kAmps, 1.0},  {false, kAmps, 1.0}};
    CRdfPointer p = Tracking({550, 110});  // upper right quadrant
    RdfOverlayModel m = RdfOverlay::Build(p, kPlot, {1000, 11000}, kRange, rows, table, FixedMetrics());
    ASSERT_EQ(m.kind, RdfOverlayModel::Kind::CrossHair);
    ASSERT_EQ(m.boxes.size(), 2u);
    EXPECT_EQ(m.boxes[0].lines, std::vector<QString>{"01.01.1980 00:00:06:000"});
    // The axis reads 1.0 at row 110: 0.5 V at a coefficient of 2, 1.00 A, and "0" for 0.
    EXPECT_EQ(m.boxes[1].lines, (std::vector<QString>{"0.5", "1.00", "0"}));
    EXPECT_EQ(m.boxes[1].rows, (std::vector<int>{0, 2, 3}));
    EXPECT_TRUE(m.boxes[1].rightAligned);
    EXPECT_EQ(m.boxes[1].rect, QRect(550 - 20 - 38, 130, 38, 46));  // left of and under the pointer

    // Lower left quadrant: right of and above the pointer.
    p.Move({100, 400}, false, true, true);
    m = RdfOverlay::Build(p, kPlot, kView, kRange, rows, table, FixedMetrics());
    EXPECT_EQ(m.boxes[1].rect.topLeft(), QPoint(120, 400 - 20 - 46));
    EXPECT_EQ(m.boxes[0].rect.left(), kPlot.left);  // the time box stays inside the plot

    // No row on: no row box. A long read-out is cut to 15 characters.
    m = RdfOverlay::Build(p, kPlot, kView, kRange, {}, table, FixedMetrics());
    EXPECT_EQ(m.boxes.size(), 1u);
    EXPECT_EQ(RdfOverlay::RowReadout({true, kAmps, 1.0}, 1e20, table).size(), 15);
}

TEST(RdfOverlayTest, SelectionBandCoversBothColumnsEitherWay) {
    CRdfPointer p = Tracking({300, 100});
    p.SetSelectionMode(true);
    RdfOverlayModel m = RdfOverlay::Build(p, kPlot, kView, kRange, {}, CQuantityTable(), FixedMetrics());
    EXPECT_EQ(m.band, QRect(299, 10, 3, 400));  // a 3-pixel bar without a button
    p.LeftPress({300, 100});
    p.Move({200, 100}, true, true, true);
    m = RdfOverlay::Build(p, kPlot, kView, kRange, {}, CQuantityTable(), FixedMetrics());
    EXPECT_EQ(m.band, QRect(199, 10, 103, 400));
    // Nothing while not tracking.
    p.Move({5, 5}, false, false, true);
    EXPECT_EQ(RdfOverlay::Build(p, kPlot, kView, kRange, {}, CQuantityTable(), FixedMetrics()).kind,
              RdfOverlayModel::Kind::None);
}

}  // namespace
