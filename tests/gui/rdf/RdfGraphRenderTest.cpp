#include <gtest/gtest.h>

#include <QImage>

#include "core/rdf/RdfRandomFiles.h"
#include "rdf/RdfGraphPainter.h"
#include "rdf/RdfSeriesRows.h"

namespace {

RdfGraphStyle Style(std::mt19937& rng) {
    RdfGraphStyle style;
    for (int i = 0; i < 6; ++i) style.seriesColors[size_t(i)] = QColor::fromHsv(i * 60, 255, 255);
    style.lineWidth = 1 + int(rng() % 6);   // 6 is out of range: drawn as 5
    style.markerSize = 1 + int(rng() % 7);  // likewise 1 and 7
    style.dataMarkers = rng() % 2 == 0;
    style.eventMarkers = rng() % 2 == 0;
    style.eventText = QStringLiteral("Event");
    return style;
}

QImage Render(const CRecordingSet& set, std::span<const RdfRowDraw> rows, TimeRange view, ValueRange range,
              const RdfGraphStyle& style, QSize size, RdfCurveWalk walk) {
    QImage image(size, QImage::Format_RGB32);
    RdfGraphPainter::RenderGraph(image, &set, rows, view, range, style, walk);
    return image;
}

// The pictures drawn from the summaries and from every record, pixel for pixel: random
// files (one to four, some sources missing from some files), views of the whole range,
// of a cut and of a few records, random sizes, rows, coefficients and display settings.
TEST(RdfGraphRenderTest, SummariesDrawThePictureOfTheRecordWalk) {
    std::mt19937 rng(730);
    RdfScratch scratch;
    int compared = 0;
    for (int setRound = 0; setRound < 8; ++setRound) {
        CRecordingSet set;
        std::int64_t start = 2000000000LL + std::int64_t(rng() % 1000000);
        const int files = 1 + int(rng() % 4);
        for (int f = 0; f < files; ++f) {
            const auto records = RandomRecords(rng, 1 + int(rng() % 5000), start);
            start = records.back().TimeMs() + std::int64_t(rng() % 100000);
            auto file = OpenSummarised(scratch, QStringLiteral("r%1-%2.rdf").arg(setRound).arg(f),
                                       RandomFields(rng, std::uint32_t(f)), records);
            ASSERT_TRUE(file && file->Summary());
            set.Add(std::move(file));
        }
        const TimeRange data = RdfDataRange(set);
        for (int round = 0; round < 26; ++round) {
            std::vector<RdfRowDraw> rows;
            std::vector<SeriesSelection> selections;
            for (int r = 0; r < 6; ++r) {
                const double coefficients[] = {1.0, 0.0, 0.25, 3.5, 10000.0};
                const SourceCode code = kRandomSources[rng() % std::size(kRandomSources)];
                const bool on = rng() % 4 != 0;
                rows.push_back({on, code, coefficients[rng() % std::size(coefficients)]});
                selections.push_back({on, code});
            }
            TimeRange view = data;
            const std::uint64_t span = std::uint64_t(data.Span()) + 1;
            if (round % 3 == 1) {
                view.start = data.start + std::int64_t(rng() % span);
                view.end = view.start + std::int64_t(rng() % span);
            } else if (round % 3 == 2) {
                view.start = data.start + std::int64_t(rng() % span);
                view.end = view.start + std::int64_t(rng() % 40);
            }
            const ValueRange range = ComputeValueRange(set, selections);
            const RdfGraphStyle style = Style(rng);
            const QSize size(8 + int(rng() % 1000), 8 + int(rng() % 500));
            const QImage fast = Render(set, rows, view, range, style, size, RdfCurveWalk::Summaries);
            const QImage plain = Render(set, rows, view, range, style, size, RdfCurveWalk::Records);
            ASSERT_EQ(fast, plain) << "set " << setRound << " round " << round;
            ++compared;
        }
    }
    EXPECT_GE(compared, 200);
}

TEST(RdfGraphRenderTest, EmptyPictureAndLoadedAxes) {
    RdfGraphStyle style;
    style.infoTitle = QStringLiteral("Open RDF files");
    style.webAddress = QStringLiteral("https://example.invalid/");
    QImage image(800, 500, QImage::Format_RGB32);
    RdfGraphPainter::RenderGraph(image, nullptr, {}, {}, {}, style);
    EXPECT_EQ(image.pixelColor(2, 2), RdfGraphPainter::kBackground);
    // The picture in the middle and white text under it.
    EXPECT_NE(image.pixelColor(400, 250), RdfGraphPainter::kBackground);
    bool white = false;
    for (int y = 250 + 128; y < 500 && !white; ++y)
        for (int x = 300; x < 500 && !white; ++x) white = image.pixelColor(x, y) == QColor(Qt::white);
    EXPECT_TRUE(white);

    // A loaded graph: the plot frame in the axis colour, the zero line, and a flat curve of
    // a zero coefficient on it.
    RdfScratch scratch;
    CRecordingSet set;
    const SourceCode volts = MakeSourceCode(0, 0, QK_VOLTAGE_RMS);
    set.Add(OpenSummarised(scratch, QStringLiteral("flat.rdf"), RdfFields(1, {volts}),
                           {MakeRdfRecord(0, 0, {50}), MakeRdfRecord(0, 60000, {-20})}));
    const RdfRowDraw rows[] = {{true, volts, 0.0}};
    style.seriesColors[0] = QColor(255, 0, 0);
    style.dataMarkers = false;
    const RdfGraphModel m =
        RdfGraphPainter::RenderGraph(image, &set, rows, {0, 60000}, {5.1, -2.1}, style, RdfCurveWalk::Summaries);
    const RdfGraphGeometry& g = m.geometry;
    ASSERT_TRUE(g.HasPlot());
    EXPECT_EQ(image.pixelColor(g.plot.left, (g.plot.top + g.plot.bottom) / 2 + 1), RdfGraphPainter::kAxis);
    const int x = g.plot.left + 10 * (g.plot.Width() / 20) + 5;  // between two ticks
    EXPECT_EQ(image.pixelColor(x, g.y0), QColor(255, 0, 0));
    EXPECT_EQ(image.pixelColor(x, g.y0 - 3), RdfGraphPainter::kBackground);
}

}  // namespace
