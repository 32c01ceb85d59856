#include <gtest/gtest.h>

#include <initializer_list>
#include <limits>

#include "livegraph/LiveGraphData.h"

namespace {

// A graph `width` samples wide whose series 0 has recorded `values`, oldest first.
CLiveGraphData Recorded(int width, std::initializer_list<float> values) {
    CLiveGraphData data;
    data.Resize(width);
    data.AddSeries("1", 0xFF);
    for (float v : values) {
        data.SetSeriesValue(0, v);
        data.Tick();
    }
    return data;
}

TEST(LiveGraphData, RangeHoldsZeroToOneAndFivePercentMargins) {
    struct Case {
        const char* what;
        std::initializer_list<float> samples;
        float coefficient;
        double min, max;
    };
    const Case cases[] = {
        {"all zero", {0, 0, 0}, 1.0f, -0.05, 1.05},
        {"up to 200", {50, 200, 120}, 1.0f, -10.0, 210.0},
        {"coefficient is not part of the range", {100, 100, 30}, 2.0f, -5.0, 105.0},
        {"below zero", {-100, 0.5f}, 1.0f, -105.05, 6.05},
        {"values within 0..1 keep 0..1", {0.25f, 0.75f}, 1.0f, -0.05, 1.05},
    };
    for (const Case& c : cases) {
        CLiveGraphData data = Recorded(10, c.samples);
        data.SetSeriesCoefficient(0, c.coefficient);
        const LiveValueRange r = data.Range();
        EXPECT_NEAR(r.min, c.min, 1e-9) << c.what;
        EXPECT_NEAR(r.max, c.max, 1e-9) << c.what;
    }
}

TEST(LiveGraphData, HiddenSeriesKeepsRecordingButLeavesTheScale) {
    CLiveGraphData data = Recorded(8, {});
    data.AddSeries("2", 0xFF00);
    data.SetSeriesEnabled(1, false);
    for (float v : {400.0f, 500.0f, 600.0f}) {
        data.SetSeriesValue(1, v);
        data.Tick();
    }
    EXPECT_NEAR(data.Range().max, 1.05, 1e-9);
    data.SetSeriesEnabled(1, true);
    EXPECT_FLOAT_EQ(data.SampleBack(1, 0), 600.0f);
    EXPECT_FLOAT_EQ(data.SampleBack(1, 2), 400.0f);
    EXPECT_NEAR(data.Range().max, 630.0, 1e-9);
}

TEST(LiveGraphData, TickRepeatsTheHeldValueAndWraps) {
    CLiveGraphData data = Recorded(4, {7, 8});
    data.Tick();
    data.Tick();
    data.Tick();  // five ticks in a ring of four: the oldest 7 is overwritten
    EXPECT_EQ(data.WriteIndex(), 0);
    EXPECT_EQ(data.GridPhase(), 5);
    for (int back = 0; back < 4; ++back) EXPECT_FLOAT_EQ(data.SampleBack(0, back), 8.0f) << back;
    EXPECT_FLOAT_EQ(data.SampleBack(0, 4), 8.0f);  // any distance wraps into the ring
}

TEST(LiveGraphData, ResizeKeepsTheNewestSamplesAtTheEnd) {
    CLiveGraphData wide = Recorded(5, {1, 2, 3, 4, 5});
    wide.Resize(8);
    EXPECT_EQ(wide.Length(), 8);
    EXPECT_EQ(wide.WriteIndex(), 7);
    const float widened[] = {5, 4, 3, 2, 1, 0, 0, 0};
    for (int back = 0; back < 8; ++back) EXPECT_FLOAT_EQ(wide.SampleBack(0, back), widened[back]) << back;

    CLiveGraphData narrow = Recorded(5, {1, 2, 3, 4, 5});
    narrow.Resize(3);
    const float narrowed[] = {5, 4, 3};
    for (int back = 0; back < 3; ++back) EXPECT_FLOAT_EQ(narrow.SampleBack(0, back), narrowed[back]) << back;

    // A control squeezed to nothing neither writes nor reads outside its rings.
    narrow.Resize(0);
    narrow.Tick();
    EXPECT_FLOAT_EQ(narrow.SampleBack(0, 0), 0.0f);
    narrow.Resize(4);
    narrow.SetSeriesValue(0, 9);
    narrow.Tick();
    EXPECT_FLOAT_EQ(narrow.SampleBack(0, 0), 9.0f);
    EXPECT_FLOAT_EQ(narrow.SampleBack(0, 1), 0.0f);
}

TEST(LiveGraphData, ClearingAndIndexChecks) {
    CLiveGraphData data = Recorded(4, {3, 4});
    data.AddSeries("2", 0);
    data.SetSeriesValue(1, 6);
    data.Tick();

    data.ClearSamples();  // stopping: samples go, held values stay
    EXPECT_FLOAT_EQ(data.SampleBack(0, 0), 0.0f);
    EXPECT_FLOAT_EQ(data.Series(0).value, 4.0f);

    data.Tick();
    EXPECT_EQ(data.ClearSeries(1), 1);  // one series: ring and value go, the other stays
    EXPECT_FLOAT_EQ(data.SampleBack(1, 0), 0.0f);
    EXPECT_FLOAT_EQ(data.Series(1).value, 0.0f);
    EXPECT_FLOAT_EQ(data.SampleBack(0, 0), 4.0f);

    for (int bad : {-1, 2, std::numeric_limits<int>::max()}) {
        EXPECT_EQ(data.SetSeriesValue(bad, 1), -1);
        EXPECT_EQ(data.SetSeriesColor(bad, 1), -1);
        EXPECT_EQ(data.SetSeriesCoefficient(bad, 1), -1);
        EXPECT_EQ(data.SetSeriesEnabled(bad, false), -1);
        EXPECT_EQ(data.ClearSeries(bad), -1);
    }
    EXPECT_EQ(data.AddSeries(QString(200, 'x'), 0), 2);
    EXPECT_EQ(data.Series(2).name.size(), 127);
    EXPECT_FLOAT_EQ(data.Series(2).coefficient, 1.0f);
}

}  // namespace
