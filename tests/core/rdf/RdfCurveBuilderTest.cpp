#include <gtest/gtest.h>

#include "RdfRandomFiles.h"
#include "rdf/RdfCurveBuilder.h"
#include "rdf/RdfGraphGeometry.h"
#include "rdf/RdfSeriesRows.h"

namespace {


RdfGraphModel Build(const CRecordingSet& set, std::span<const RdfRowDraw> rows, TimeRange view, ValueRange range,
                    int width, int height, RdfCurveWalk walk, bool events = true) {
    return RdfCurveBuilder::BuildGraph(set, rows, view, range, {0, 0, width, height}, 40, 12, events, walk);
}

// The fast path against the record walk: the same points of every curve and the same
// event marks, for random files, views, sizes and rows.
TEST(RdfCurveBuilderTest, SummariesGiveThePointsOfTheRecordWalk) {
    std::mt19937 rng(2026);
    RdfScratch scratch;
    int compared = 0;
    for (int setRound = 0; setRound < 10; ++setRound) {
        CRecordingSet set;
        const int files = 1 + int(rng() % 3);
        std::int64_t start = 1000000;
        for (int f = 0; f < files; ++f) {
            const auto records = RandomRecords(rng, 1 + int(rng() % 4000), start);
            start = records.back().TimeMs() + std::int64_t(rng() % 50000);
            auto file = OpenSummarised(scratch, QStringLiteral("c%1-%2.rdf").arg(setRound).arg(f),
                                       RandomFields(rng, std::uint32_t(f)), records);
            ASSERT_TRUE(file && file->Summary() && file->Summary()->TimeOrdered());
            set.Add(std::move(file));
        }
        const TimeRange data = RdfDataRange(set);
        for (int round = 0; round < 30; ++round) {
            std::vector<RdfRowDraw> rows;
            for (int r = 0; r < 6; ++r) {
                const double coefficients[] = {1.0, 0.0, 0.5, 12.34, 10000.0};
                rows.push_back({rng() % 4 != 0, kRandomSources[rng() % std::size(kRandomSources)],
                                coefficients[rng() % std::size(coefficients)]});
            }
            TimeRange view = data;
            switch (round % 4) {
            case 0: break;
            case 1: view.start += std::int64_t(rng() % std::uint64_t(data.Span() + 1)); break;
            case 2: {  // a few records, maybe only one millisecond
                const std::int64_t at = data.start + std::int64_t(rng() % std::uint64_t(data.Span() + 1));
                view = {at, at + std::int64_t(rng() % 30)};
                break;
            }
            case 3: view.end = data.start + std::int64_t(rng() % std::uint64_t(data.Span() + 1)); break;
            }
            const ValueRange range = ComputeValueRange(set, std::vector<SeriesSelection>(rows.size()));
            const int width = 1 + int(rng() % 900);
            const int height = 1 + int(rng() % 400);
            const RdfGraphModel fast = Build(set, rows, view, range, width, height, RdfCurveWalk::Summaries);
            const RdfGraphModel plain = Build(set, rows, view, range, width, height, RdfCurveWalk::Records);
            ASSERT_EQ(fast.curves.size(), plain.curves.size());
            for (size_t c = 0; c < fast.curves.size(); ++c) {
                EXPECT_EQ(fast.curves[c].row, plain.curves[c].row);
                EXPECT_EQ(fast.curves[c].file, plain.curves[c].file);
                ASSERT_EQ(fast.curves[c].points, plain.curves[c].points)
                    << "set " << setRound << " round " << round << " curve " << c;
            }
            EXPECT_EQ(fast.eventMarks, plain.eventMarks);
            ++compared;
        }
    }
    EXPECT_EQ(compared, 300);
}

struct OneFile {
    RdfScratch scratch;
    CRecordingSet set;
    explicit OneFile(const std::vector<RdfRecord>& records, std::initializer_list<SourceCode> sources = {kVolts}) {
        set.Add(OpenSummarised(scratch, QStringLiteral("one.rdf"), RdfFields(1, sources), records));
    }
};

// Two records 0.4 pixel apart share a column: the line goes to the first and then strokes
// once from the column's top to its bottom.
TEST(RdfCurveBuilderTest, ManyRecordsOfOneColumnMakeOneVerticalStroke) {
    OneFile one({MakeRdfRecord(0, 10000, {100}), MakeRdfRecord(0, 10001, {-50}), MakeRdfRecord(0, 11000, {0})});
    const RdfRowDraw rows[] = {{true, kVolts, 1.0}};
    for (RdfCurveWalk walk : {RdfCurveWalk::Summaries, RdfCurveWalk::Records}) {
        // 1000 ms over 400 pixels: 2.5 ms a pixel, so 10000 and 10001 lie in column 0.
        const RdfGraphModel m = Build(one.set, rows, {10000, 11000}, {20.0, -10.0}, 400 + 40 + 8, 300, walk);
        ASSERT_EQ(m.curves.size(), 1u);
        const auto& p = m.curves[0].points;
        ASSERT_EQ(p.size(), 4u);
        const int x = m.geometry.plot.left;
        EXPECT_EQ(p[0].x(), x);
        EXPECT_EQ(p[1], QPoint(x, p[0].y()));  // up to the larger value (the first)
        EXPECT_EQ(p[2].x(), x);
        EXPECT_GT(p[2].y(), m.geometry.y0);     // down to the negative one
        EXPECT_EQ(p[3].x(), m.geometry.plot.right);
        EXPECT_EQ(p[3].y(), m.geometry.y0);
    }
    // The pair last in view still strokes.
    for (RdfCurveWalk walk : {RdfCurveWalk::Summaries, RdfCurveWalk::Records}) {
        const RdfGraphModel m = Build(one.set, rows, {9000, 10500}, {20.0, -10.0}, 400 + 40 + 8, 300, walk);
        ASSERT_EQ(m.curves.size(), 1u);
        const auto& p = m.curves[0].points;
        ASSERT_EQ(p.size(), 3u);
        EXPECT_EQ(p[0].x(), p[2].x());
        EXPECT_GT(p[2].y(), m.geometry.y0);
    }
}

TEST(RdfCurveBuilderTest, ZeroCoefficientLiesOnTheZeroLine) {
    OneFile one({MakeRdfRecord(0, 0, {500}), MakeRdfRecord(0, 500, {-700}), MakeRdfRecord(0, 1000, {900})});
    const RdfRowDraw rows[] = {{true, kVolts, 0.0}};
    const RdfGraphModel m = Build(one.set, rows, {0, 1000}, {100.0, -80.0}, 300, 200, RdfCurveWalk::Summaries);
    ASSERT_EQ(m.curves.size(), 1u);
    for (const QPoint& p : m.curves[0].points) EXPECT_EQ(p.y(), m.geometry.y0);
}

TEST(RdfCurveBuilderTest, ASourceMissingFromAFileDrawsOnlyTheOthers) {
    RdfScratch scratch;
    CRecordingSet set;
    set.Add(OpenSummarised(scratch, QStringLiteral("a.rdf"), RdfFields(1, {kVolts, kAmps}),
                           {MakeRdfRecord(0, 0, {1, 2}), MakeRdfRecord(0, 1000, {3, 4})}));
    set.Add(OpenSummarised(scratch, QStringLiteral("b.rdf"), RdfFields(2, {kVolts}),
                           {MakeRdfRecord(0, 2000, {1}), MakeRdfRecord(0, 3000, {3})}));
    const RdfRowDraw rows[] = {{true, kVolts, 1.0}, {true, kAmps, 1.0}};
    const RdfGraphModel m = Build(set, rows, {0, 3000}, {1.0, 0.0}, 300, 200, RdfCurveWalk::Summaries);
    ASSERT_EQ(m.curves.size(), 3u);
    EXPECT_EQ((std::pair{m.curves[0].file, m.curves[0].row}), (std::pair{0, 0}));
    EXPECT_EQ((std::pair{m.curves[1].file, m.curves[1].row}), (std::pair{0, 1}));
    EXPECT_EQ((std::pair{m.curves[2].file, m.curves[2].row}), (std::pair{1, 0}));
}

// A one-record file has a data range of no length; keys that disagree with times would give
// a reversed one. Neither divides by zero nor gives a negative span.
TEST(RdfCurveBuilderTest, RangesOfNoLengthOrReversedStillDraw) {
    OneFile one({MakeRdfRecord(0, 5000, {10})});
    const TimeRange data = RdfDataRange(one.set);
    EXPECT_EQ(data, (TimeRange{5000, 5000}));
    const RdfRowDraw rows[] = {{true, kVolts, 1.0}};
    const RdfGraphModel m = Build(one.set, rows, data, {1.02, -0.02}, 300, 200, RdfCurveWalk::Summaries);
    ASSERT_EQ(m.curves.size(), 1u);
    EXPECT_EQ(m.curves[0].points, std::vector<QPoint>{QPoint(m.geometry.plot.left, m.curves[0].points[0].y())});
    for (const RdfTimeTick& t : m.geometry.timeTicks) EXPECT_EQ(t.time, 5000);

    RdfScratch scratch;
    CRecordingSet reversed;
    reversed.Add(OpenSummarised(scratch, QStringLiteral("late.rdf"), RdfFields(1, {kVolts}),
                                {MakeRdfRecord(0, 90000, {1}), MakeRdfRecord(0, 95000, {1})}));
    reversed.Add(OpenSummarised(scratch, QStringLiteral("early.rdf"), RdfFields(2, {kVolts}),
                                {MakeRdfRecord(0, 10000, {1}), MakeRdfRecord(0, 20000, {1})}));
    EXPECT_LT(reversed.DataEnd(), reversed.DataStart());
    EXPECT_EQ(RdfDataRange(reversed), (TimeRange{10000, 95000}));
}

TEST(RdfCurveBuilderTest, GeometryOfTheAxes) {
    // 1000 x 500 area, labels 50 x 15: plot from 54 to 996, top 4 to 496 - 34 = 462.
    const RdfGraphGeometry g = RdfGraphLayout::Compute({0, 0, 1000, 500}, {0, 94000}, {3.0, -1.0}, 50, 15);
    EXPECT_EQ(g.plot, (RdfEdges{54, 4, 996, 462}));
    EXPECT_EQ(g.y0, 4 + int(458 * 3.0 / 4.0));
    ASSERT_EQ(g.timeTicks.size(), 95u);  // 942 / 10 + 1
    EXPECT_TRUE(g.timeTicks[10].major);
    EXPECT_EQ(g.timeTicks[10].time, 10000);  // 1000 ms a tick
    EXPECT_EQ(g.timeTicks[10].x, 154);
    int majors = 0;
    for (const RdfValueTick& t : g.valueTicks) majors += t.major;
    EXPECT_EQ(g.valueTicks.size(), size_t((g.y0 - 4) / 5 + (462 - g.y0) / 5));
    EXPECT_GT(majors, 0);
    EXPECT_EQ(RdfGraphLayout::ValueLabelSample({3.0, -1.0}), QStringLiteral(" 4.0  "));
    EXPECT_EQ(RdfGraphLayout::TimeLabelLine1(3723000), QStringLiteral("01:02:03"));
    EXPECT_EQ(RdfGraphLayout::TimeLabelLine2(0), QStringLiteral("01.01.1980"));
    // Labels stay inside the area.
    EXPECT_EQ(RdfGraphLayout::CentredLabelLeft(10, 60, 4, 996), 4);
    EXPECT_EQ(RdfGraphLayout::CentredLabelLeft(990, 60, 4, 996), 936);
    EXPECT_EQ(RdfGraphLayout::CentredLabelLeft(500, 60, 4, 996), 470);
    // Too small for a plot: geometry but nothing in it.
    EXPECT_FALSE(RdfGraphLayout::Compute({0, 0, 30, 20}, {0, 1000}, {1.0, 0.0}, 50, 15).HasPlot());
}

}  // namespace
