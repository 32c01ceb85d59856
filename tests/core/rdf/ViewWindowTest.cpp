#include <gtest/gtest.h>

#include "RdfFixtures.h"
#include "rdf/RecordingSet.h"
#include "rdf/ViewWindow.h"

namespace {
using namespace ViewWindow;

TEST(ViewWindowTest, ZoomInApproachesTheShortestView) {
    const struct {
        TimeRange view, expected;
    } cases[] = {
        {{1000, 1101}, {1000, 1100}},   // e = 1: the 100 ms around the middle
        {{1000, 1149}, {1024, 1124}},
        {{1000, 1100}, {1000, 1100}},   // already the shortest
        {{0, 1000}, {225, 775}},        // 1000 ms -> 550 ms
        {{225, 775}, {337, 663}},       // -> 326 ms
    };
    for (const auto& c : cases) EXPECT_EQ(ZoomIn(c.view), c.expected) << c.view.start << ".." << c.view.end;
}

TEST(ViewWindowTest, ShiftsStopAtTheData) {
    const TimeRange data{0, 10000};
    const struct {
        const char* name;
        TimeRange view, left, right;
    } cases[] = {
        {"10 ms in from the start", {10, 1010}, {0, 1000}, {135, 1135}},
        {"in the middle", {4000, 4800}, {3900, 4700}, {4100, 4900}},
        {"at both ends", {0, 10000}, {0, 10000}, {0, 10000}},
        {"10 ms short of the end", {8990, 9990}, {8865, 9865}, {9000, 10000}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ShiftLeft(c.view, data), c.left) << c.name;
        EXPECT_EQ(ShiftRight(c.view, data), c.right) << c.name;
    }
}

TEST(ViewWindowTest, ZoomOutAndSelection) {
    const TimeRange data{0, 10000};
    EXPECT_EQ(ZoomOut({0, 1000}, data), (TimeRange{0, 1500}));  // only towards the end
    EXPECT_EQ(ZoomOut({4000, 6000}, data), (TimeRange{3000, 7000}));
    EXPECT_EQ(ZoomOut(data, data), data);

    // A 1000-pixel plot at x 50 over 10 s: one pixel is 10 ms.
    const struct {
        int x1, x2;
        TimeRange expected;
    } selections[] = {
        {150, 350, {1000, 3000}},
        {350, 150, {1000, 3000}},  // dragged leftwards
        {150, 154, {970, 1070}},   // 40 ms widened evenly to 100
        {150, 151, {955, 1055}},
        {150, 150, data},          // no width: nothing
    };
    for (const auto& s : selections) EXPECT_EQ(ZoomToSelection(data, 50, 1000, s.x1, s.x2), s.expected) << s.x1 << ' ' << s.x2;
    EXPECT_EQ(ZoomToSelection(data, 50, 0, 10, 20), data);
}

TEST(ViewWindowTest, CommandAvailability) {
    const TimeRange data{0, 10000};
    ViewCommandState s = ViewCommandAvailability(false, 0, {}, {}, false, false);
    EXPECT_FALSE(s.closeFile || s.printExport || s.shiftLeft || s.shiftRight || s.zoomIn || s.zoomOut ||
                 s.wholeRange || s.zoomBySelection || s.ruler);

    s = ViewCommandAvailability(true, 2, data, data, false, false);
    EXPECT_TRUE(s.closeFile && s.printExport && s.zoomIn && s.wholeRange && s.zoomBySelection && s.ruler);
    EXPECT_FALSE(s.shiftLeft || s.shiftRight || s.zoomOut);

    s = ViewCommandAvailability(true, 1, {100, 200}, data, false, false);
    EXPECT_TRUE(s.shiftLeft && s.shiftRight && s.zoomOut);
    EXPECT_FALSE(s.zoomIn);  // 100 ms is as short as it gets

    // Each mode shuts the zoom commands and the other mode; shifting stays.
    s = ViewCommandAvailability(true, 1, {100, 5000}, data, true, false);
    EXPECT_FALSE(s.zoomIn || s.zoomOut || s.wholeRange || s.ruler);
    EXPECT_TRUE(s.zoomBySelection && s.shiftLeft);
    s = ViewCommandAvailability(true, 1, {100, 5000}, data, false, true);
    EXPECT_FALSE(s.zoomIn || s.zoomBySelection);
    EXPECT_TRUE(s.ruler && s.shiftRight);
}

TEST(ViewWindowTest, ValueRangeCoversEveryRecordOfTheRowsThatAreOn) {
    RdfScratch scratch;
    CRecordingSet set;
    const QString a = scratch.Write("a", RdfBytes(RdfFields(1, {0x00000001, 0x00070012}),
                                                  {{0, 1000, {2000, 500}}, {2, 2000, {-150, 990}}}));
    const QString b = scratch.Write("b", RdfBytes(RdfFields(2, {0x00000005}), {{0, 3000, {-90000}}}));
    for (const QString& p : {a, b}) {
        auto f = std::make_unique<CFileRdf>();
        ASSERT_TRUE(f->Open(p));
        set.Add(std::move(f));
    }

    const auto range = [&](std::vector<SeriesSelection> rows) { return ComputeValueRange(set, rows); };
    const ValueRange none = range({});
    EXPECT_DOUBLE_EQ(none.maximum, 1.02);
    EXPECT_DOUBLE_EQ(none.minimum, -0.02);
    EXPECT_EQ(range({{false, 0x00000001}}), none);

    // Volts in tenths: 200.0 and -15.0; widened by 2 % of 215.
    ValueRange r = range({{true, 0x00000001}});
    EXPECT_DOUBLE_EQ(r.maximum, 200.0 + 4.3);
    EXPECT_DOUBLE_EQ(r.minimum, -15.0 - 4.3);
    // Cos in thousandths stays inside 0..1; the second file lacks the source.
    r = range({{true, 0x00070012}, {true, 0x00000005}});
    EXPECT_DOUBLE_EQ(r.maximum, 1.0 + (1.0 + 900.0) * 0.02);
    EXPECT_DOUBLE_EQ(r.minimum, -900.0 - (1.0 + 900.0) * 0.02);
}
}  // namespace

namespace {
TEST(ViewWindowTest, EventStartsAsTheGraphMarksThem) {
    RdfScratch scratch;
    CFileRdf f;
    ASSERT_TRUE(f.Open(scratch.Write("e", RdfBytes(RdfFields(1, {1}),
                                                   {{2, 100}, {0, 200}, {2, 300}, {4, 400}, {1, 500}, {2, 600}, {2, 700}}))));
    // The reader counts over event records only, so the data record at 200 does not end
    // the first condition there; the graph walks every record.
    EXPECT_EQ(f.EventCount(), 2u);
    EXPECT_EQ(EventStartsInView(f, {0, 1000}), (std::vector<std::uint32_t>{0, 2, 5}));
    // Records before the view leave no trace: 300 starts afresh inside it.
    EXPECT_EQ(EventStartsInView(f, {250, 650}), (std::vector<std::uint32_t>{2, 5}));
    EXPECT_EQ(EventStartsInView(f, {650, 1000}), (std::vector<std::uint32_t>{6}));
}
}  // namespace
