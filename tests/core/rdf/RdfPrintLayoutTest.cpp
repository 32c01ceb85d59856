#include <gtest/gtest.h>

#include "RdfFixtures.h"
#include "rdf/FileRdf.h"
#include "rdf/RdfPrintLayout.h"
#include "rdf/RecordingSet.h"

namespace {


// Every line 10 high, every character 6 wide, wrapping as if one line held width / 6 characters.
class FakeMeasure : public IRdfPrintMeasure {
public:
    int LineHeight(RdfPrintFont) const override { return 10; }
    int TextWidth(RdfPrintFont, const QString& text) const override { return 6 * int(text.size()); }
    int WrappedHeight(RdfPrintFont, const QString& text, int width) const override {
        const int perLine = std::max(1, width / 6);
        return 10 * std::max(1, int((text.size() + perLine - 1) / perLine));
    }
};

TEST(RdfPrintLayoutTest, MarginArrowsStayWithinTheirRange) {
    struct Case {
        int value;
        bool up;
        int expected;
    };
    for (const Case& c : {Case{40, true, 40}, Case{0, false, 0}, Case{39, true, 40}, Case{1, false, 0},
                          Case{5, true, 6}, Case{5, false, 4}, Case{45, true, 40}, Case{-3, false, 0}})
        EXPECT_EQ(RdfPrintMargins::Step(c.value, c.up), c.expected) << c.value << (c.up ? " up" : " down");
}

TEST(RdfPrintLayoutTest, SheetFollowsOrientationOnlyWhereThePrinterHasOne) {
    RdfPaper a4;  // 210 x 297 mm at 600 dpi
    EXPECT_EQ(a4.SheetPixels(), QSize(4960, 7015));
    a4.landscape = true;
    EXPECT_EQ(a4.SheetTenths(), QSize(2970, 2100));
    EXPECT_EQ(a4.SheetPixels(), QSize(7015, 4960));
    // A printer without an orientation keeps portrait: the sheet is the paper's width wide.
    a4.hasOrientation = false;
    EXPECT_EQ(a4.SheetTenths(), QSize(2100, 2970));
    EXPECT_EQ(a4.SheetPixels(), QSize(4960, 7015));
    RdfPaper odd{2159, 2794, true, false, 300, 150};  // Letter, unequal resolutions
    EXPECT_EQ(odd.SheetPixels(), QSize(2550, 1650));

    RdfPrintMargins m;
    m.percent = {10, 5, 20, 40};  // top, right, bottom, left
    EXPECT_EQ(m.Apply(QSize(1001, 801)), (RdfEdges{400, 80, 1001 - 50, 801 - 160}));
}

TEST(RdfPrintLayoutTest, CoefficientRatios) {
    struct Case {
        double coefficient;
        const char* text;
    };
    for (const Case& c : {Case{0.5, " [k 1:2.0];"}, Case{2.0, " [k 2.0:1];"}, Case{1.0, " [k 1:1];"},
                          Case{0.0, " [k 0:1];"}, Case{0.33, " [k 1:3.0];"}, Case{10000.0, " [k 10000.0:1];"},
                          Case{0.01, " [k 1:100.0];"}})
        EXPECT_EQ(RdfCoefficientText(QStringLiteral("k"), c.coefficient), QString::fromLatin1(c.text)) << c.coefficient;
}

class RdfPrintPageLayoutTest : public ::testing::Test {
protected:
    void SetUp() override {
        UseKeyNameLanguage();
        RdfHeaderFields f = RdfFields(1, {kVolts});
        // 0 V, 100 V and -50 V a second apart, and an event at the last one.
        const QString path = scratch.Write(QStringLiteral("A.RDF"),
                                           RdfBytes(f, {{0, t0, {0}}, {0, t0 + 1000, {1000}}, {0x02, t0 + 2000, {-500}}}));
        auto file = std::make_unique<CFileRdf>();
        ASSERT_TRUE(file->Open(path));
        file->BuildSummary();
        ASSERT_EQ(set.Add(std::move(file)), RdfAddResult::Added);
        content.set = &set;
        content.view = {t0, t0 + 2000};
        content.range = {102.0, -53.0};
        content.title = QStringLiteral("title");
        content.files = RdfPrintFileList(set);
        content.coefficientWord = QStringLiteral("k");
        content.eventText = QStringLiteral("E");
        for (int i = 0; i < 6; ++i) content.seriesNames[size_t(i)] = QStringLiteral("S%1").arg(i + 1);
    }

    static constexpr std::int64_t t0 = std::int64_t(1000000) * 1000;
    RdfScratch scratch;
    CRecordingSet set;
    RdfPrintContent content;
    FakeMeasure measure;
};

TEST_F(RdfPrintPageLayoutTest, LegendKeepsTheLinesOfRowsThatAreOff) {
    content.rows[0] = {true, kVolts, 0.5};
    content.rows[2] = {true, kVolts, 2.0};
    const RdfEdges margins{100, 50, 900, 1000};
    const RdfPrintPage page = RdfPrintLayout::Build(content, QStringLiteral("note"), margins, {}, measure);
    ASSERT_EQ(page.legend.size(), 2u);
    // Bottom up: rows 6, 5, 4 leave their lines empty, row 3 is the fourth line, row 2 a gap,
    // row 1 the sixth line; every line is 13 (1.3 x 10) high.
    const RdfLegendLine& row3 = page.legend[0];
    const RdfLegendLine& row1 = page.legend[1];
    EXPECT_EQ(row3.row, 2);
    EXPECT_EQ(row3.box, QRect(115, 1000 - 3 * 13 - 10, 500 - 115, 10));
    EXPECT_EQ(row3.marker, QPoint(105, 1000 - 3 * 13 - 5));
    EXPECT_EQ(row3.markerSize, 5);
    EXPECT_EQ(row3.text, QStringLiteral("S3 [k 2.0:1];"));
    EXPECT_EQ(row1.row, 0);
    EXPECT_EQ(row1.box.top(), 1000 - 5 * 13 - 10);
    EXPECT_EQ(row1.text, QStringLiteral("S1 [k 1:2.0];"));

    // Captions a line above the legend; the comment beside the legend, six lines high.
    const int captions = 1000 - 6 * 13 - 10;
    EXPECT_EQ(page.legendCaption, QPoint(100, captions));
    EXPECT_EQ(page.commentCaption, QPoint(500, captions));
    EXPECT_EQ(page.commentBox, QRect(500, captions + 13, 400, 60));
    EXPECT_EQ(page.comment, QStringLiteral("note"));

    // Title and files from the top, then the graph down to 15 above the captions.
    EXPECT_EQ(page.titleBox, QRect(100, 50, 800, 10));
    EXPECT_EQ(page.filesBox.top(), 50 + 11);
    const RdfGraphGeometry& g = page.graph.geometry;
    EXPECT_EQ(g.plot.top, 50 + 11 + 10 + 15);
    // " 102.0 " is the wider value label: 7 characters.
    EXPECT_EQ(g.plot.left, 100 + 42);
    EXPECT_EQ(g.plot.right, 900);
    EXPECT_EQ(g.plot.bottom, captions - 15 - (4 + 2 * 10));
}

TEST_F(RdfPrintPageLayoutTest, LengthsAndTicksFollowThePrinterResolution) {
    content.rows[0] = {true, kVolts, 1.0};
    const RdfPrintScale scale{600.0, 300.0};
    const RdfPrintPage page = RdfPrintLayout::Build(content, {}, {0, 0, 6000, 3000}, scale, measure);
    const RdfGraphGeometry& g = page.graph.geometry;
    ASSERT_GE(g.timeTicks.size(), 3u);
    EXPECT_EQ(g.timeTicks[1].x - g.timeTicks[0].x, 62);  // 10 at 96 dpi is 62.5 at 600
    EXPECT_EQ(g.timeTicks[2].x - g.timeTicks[0].x, 125);
    EXPECT_TRUE(g.timeTicks[0].major);
    EXPECT_FALSE(g.timeTicks[1].major);
    ASSERT_GE(g.valueTicks.size(), 2u);
    EXPECT_EQ(g.y0 - g.valueTicks[1].y, 31);  // 5 at 96 dpi is 15.6 at 300
    EXPECT_EQ(page.frameWidth, 3);
    EXPECT_EQ(page.eventHalfWidth, 37);
    EXPECT_EQ(page.eventDepth, 18);
    EXPECT_EQ(page.timeLabelGap, 12);

    // The curve is the builder's: the three records at the view's start, middle and end.
    ASSERT_EQ(page.graph.curves.size(), 1u);
    const std::vector<QPoint>& pts = page.graph.curves[0].points;
    ASSERT_EQ(pts.size(), 3u);
    EXPECT_EQ(pts[0], QPoint(g.plot.left, g.y0));
    EXPECT_EQ(pts[1].x(), g.mapping.X(t0 + 1000));
    EXPECT_EQ(pts[1].y(), g.mapping.Y(1000, 0.1));
    EXPECT_LT(pts[1].y(), g.y0);
    EXPECT_GT(pts[2].y(), g.y0);
    EXPECT_EQ(page.graph.eventMarks, std::vector<int>{g.mapping.X(t0 + 2000)});

    // The record walk gives the same page.
    const RdfPrintPage plain =
        RdfPrintLayout::Build(content, {}, {0, 0, 6000, 3000}, scale, measure, RdfCurveWalk::Records);
    EXPECT_EQ(plain.graph.curves[0].points, pts);
}

TEST_F(RdfPrintPageLayoutTest, TextsOfThePage) {
    EXPECT_EQ(RdfPrintFileList(set), QStringLiteral("LNG_RDF_PTITLE_FILE A.RDF;"));
    EXPECT_EQ(RdfPrintTimeLine1(t0 + 1234), QStringLiteral("13:46:41.234"));
    EXPECT_EQ(RdfPrintTimeLine2(t0), QStringLiteral("12.01.1980"));
    EXPECT_EQ(RdfPrintValueSample(-53.0), QStringLiteral(" -53.0 "));
}

}  // namespace

namespace {

TEST(RdfPrintPreviewTest, SheetFitsCentredWithItsAspect) {
    // Landscape A4 in a tall area: as wide as the area, centred in height.
    EXPECT_EQ(RdfPreviewRect(QRect(5, 5, 297, 400), QSize(2970, 2100)), QRect(5, 5 + (400 - 210) / 2, 297, 210));
    // In a wide area: as high as the area, centred in width.
    EXPECT_EQ(RdfPreviewRect(QRect(0, 0, 1000, 210), QSize(2970, 2100)), QRect((1000 - 297) / 2, 0, 297, 210));
    EXPECT_TRUE(RdfPreviewRect(QRect(0, 0, 0, 100), QSize(2970, 2100)).isEmpty());
    EXPECT_TRUE(RdfPreviewRect(QRect(0, 0, 100, 100), QSize()).isEmpty());

    RdfPrintMargins m;
    m.percent = {10, 0, 40, 20};
    EXPECT_EQ(RdfPreviewMarginLines(QRect(10, 20, 200, 100), m), (RdfEdges{10 + 40, 20 + 10, 10 + 200, 20 + 60}));
}

}  // namespace
