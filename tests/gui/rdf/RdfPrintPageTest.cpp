#include <gtest/gtest.h>

#include <QPainter>
#include <string>

#include "core/rdf/RdfFixtures.h"
#include "rdf/FileRdf.h"
#include "rdf/MonoInk.h"
#include "rdf/RdfPrintPainter.h"
#include "rdf/RecordingSet.h"

namespace {


bool Dark(const QImage& page, int x, int y) { return page.pixelIndex(x, y) == 0; }

int DarkIn(const QImage& page, const QRect& r) {
    int n = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x) n += Dark(page, x, y);
    return n;
}

class RdfPrintPageTest : public ::testing::Test {
protected:
    void SetUp() override {
        const std::int64_t t0 = std::int64_t(1000000) * 1000;
        const QString path = scratch.Write(
            QStringLiteral("A.RDF"),
            RdfBytes(RdfFields(1, {kVolts, kAmps}), {{0, t0, {0, 10}}, {0, t0 + 1000, {1000, 10}}, {0, t0 + 2000, {-500, 10}}}));
        auto file = std::make_unique<CFileRdf>();
        ASSERT_TRUE(file->Open(path));
        file->BuildSummary();
        ASSERT_EQ(set.Add(std::move(file)), RdfAddResult::Added);
        content.set = &set;
        content.view = {t0, t0 + 2000};
        content.range = {102.0, -53.0};
        content.title = QStringLiteral("Title");
        content.files = QStringLiteral("Files: A.RDF;");
        content.legendCaption = QStringLiteral("Legend");
        content.commentCaption = QStringLiteral("Comment");
        content.coefficientWord = QStringLiteral("k");
        content.eventText = QStringLiteral("E");
        content.rows[0] = {true, kVolts, 1.0};
        content.rows[1] = {true, kAmps, 1.0};
        content.seriesNames = {QStringLiteral("Volts"), QStringLiteral("Amps")};
    }

    RdfScratch scratch;
    CRecordingSet set;
    RdfPrintContent content;
};

// Black on white at the printer's resolution: the frame, the curves and each legend row's
// own marker shape where the layout put them, and paper elsewhere.
TEST_F(RdfPrintPageTest, DrawsTheLayoutInBlackOnWhite) {
    const RdfPaper paper{2100, 2970, true, true, 300, 300};
    QImage bitmap = RdfPrintPainter::NewPageBitmap(paper.SheetPixels());
    ASSERT_EQ(bitmap.format(), QImage::Format_Mono);
    ASSERT_EQ(bitmap.size(), QSize(3507, 2480));
    const RdfEdges margins = RdfPrintMargins().Apply(bitmap.size());
    const RdfPrintPage page =
        RdfPrintPainter::RenderPrintPage(bitmap, content, margins, {300.0, 300.0}, QStringLiteral("remark"));
    const RdfGraphGeometry& g = page.graph.geometry;
    ASSERT_TRUE(g.HasPlot());

    // Nothing outside the margins; the frame's four sides are drawn.
    EXPECT_EQ(DarkIn(bitmap, QRect(0, 0, bitmap.width(), margins.top - 2)), 0);
    EXPECT_EQ(DarkIn(bitmap, QRect(0, margins.bottom + 2, bitmap.width(), bitmap.height() - margins.bottom - 2)), 0);
    const int midX = (g.plot.left + g.plot.right) / 2 + 31;  // between two grid lines
    const int midY = (g.plot.top + g.y0) / 2 + 7;
    EXPECT_TRUE(Dark(bitmap, g.plot.left, midY));
    EXPECT_TRUE(Dark(bitmap, g.plot.right - 1, midY));
    EXPECT_TRUE(Dark(bitmap, midX, g.plot.top));
    EXPECT_TRUE(Dark(bitmap, midX, g.plot.bottom - 1));

    // The curves pass through their points: the volts' peak and the amps' flat line.
    ASSERT_EQ(page.graph.curves.size(), 2u);
    const QPoint peak = page.graph.curves[0].points[1];
    EXPECT_GT(DarkIn(bitmap, QRect(peak - QPoint(2, 2), QSize(5, 5))), 0);
    const int ampsY = page.graph.curves[1].points[0].y();
    EXPECT_EQ(DarkIn(bitmap, QRect(midX - 2, ampsY - 1, 5, 3)), 15);
    // Paper between the grid lines, away from the curves.
    std::vector<int> majors;
    for (const RdfValueTick& t : g.valueTicks)
        if (t.major && t.y < g.y0) majors.push_back(t.y);
    ASSERT_GE(majors.size(), 3u);
    EXPECT_EQ(DarkIn(bitmap, QRect(g.plot.left + 100, (majors[1] + majors[2]) / 2 - 5, 10, 10)), 0);
    // A grid line is dashed 6 pen widths on, 2 off, counted from the frame, the same on
    // every row of its thickness.
    const int w = page.frameWidth;
    ASSERT_GT(w, 1);
    std::string want, got;
    for (int x = g.plot.left + w; x < g.plot.left + 4 * 8 * w; ++x) {
        want += (x - g.plot.left) % (8 * w) < 6 * w ? '#' : '.';
        got += DarkIn(bitmap, QRect(x, majors[1] - w / 2, 1, w)) == w ? '#' : '.';
        EXPECT_EQ(DarkIn(bitmap, QRect(x, majors[1] - w / 2 - 1, 1, w + 2)), got.back() == '#' ? w : 0) << x;
    }
    EXPECT_EQ(got, want);

    // Row 1 a circle, row 2 a square: the square fills its corner, the circle does not.
    ASSERT_EQ(page.legend.size(), 2u);
    const RdfLegendLine& square = page.legend[0];
    const RdfLegendLine& circle = page.legend[1];
    ASSERT_EQ(square.row, 1);
    const int c = square.markerSize;
    EXPECT_TRUE(Dark(bitmap, square.marker.x() - c + 1, square.marker.y() - c + 1));
    EXPECT_FALSE(Dark(bitmap, circle.marker.x() - c + 1, circle.marker.y() - c + 1));
    EXPECT_TRUE(Dark(bitmap, circle.marker.x(), circle.marker.y()));
    // Their texts and the comment are written.
    EXPECT_GT(DarkIn(bitmap, square.box), 0);
    EXPECT_GT(DarkIn(bitmap, page.commentBox), 0);
}

// Onto any other image the painter draws the curves and marks instead.
TEST_F(RdfPrintPageTest, OtherImagesGetThePainter) {
    QImage image(1123, 794, QImage::Format_RGB32);
    image.fill(Qt::white);
    content.eventMarkers = true;
    const RdfPrintPage page = RdfPrintPainter::RenderPrintPage(image, content, {40, 40, 1083, 754}, {96.0, 96.0}, {});
    ASSERT_EQ(page.graph.curves.size(), 2u);
    const QPoint peak = page.graph.curves[0].points[1];
    EXPECT_EQ(qGray(image.pixel(peak)), 0);
}

TEST_F(RdfPrintPageTest, MonoBitmapOfASheetFitsInAFewMegabytes) {
    const RdfPaper paper{2100, 2970, true, true, 600, 600};
    const QImage bitmap = RdfPrintPainter::NewPageBitmap(paper.SheetPixels());
    EXPECT_LE(bitmap.sizeInBytes(), 5 * 1024 * 1024);
    EXPECT_EQ(bitmap.pixelIndex(100, 100), 1);
}

}  // namespace

namespace {

QImage WhitePage(int w, int h) {
    QImage page(w, h, QImage::Format_Mono);
    page.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
    page.fill(1);
    return page;
}

QString Rows(const QImage& page) {
    QString text;
    for (int y = 0; y < page.height(); ++y) {
        for (int x = 0; x < page.width(); ++x) text += page.pixelIndex(x, y) == 0 ? QLatin1Char('#') : QLatin1Char('.');
        text += QLatin1Char('\n');
    }
    return text;
}

// Lines as runs of bits: as wide as asked across the line, clipped to the page, far-off
// ends and all.
TEST(MonoInkTest, ThickLinesSpansAndShapes) {
    QImage page = WhitePage(12, 6);
    CMonoInk ink(page);
    ASSERT_TRUE(ink.IsValid());
    ink.Line(QPoint(2, 1), QPoint(2, 4), 3);  // steep: three wide
    ink.Line(QPoint(6, 2), QPoint(10, 2), 1);  // flat: one high
    ink.Span(5, -3, 40);                        // clipped at both ends
    EXPECT_EQ(Rows(page), QStringLiteral("............\n"
                                         ".###........\n"
                                         ".###..#####.\n"
                                         ".###........\n"
                                         ".###........\n"
                                         "############\n"));

    // A line towards a point millions of pixels away still ends at the page's edge.
    QImage far = WhitePage(40, 20);
    CMonoInk farInk(far);
    farInk.Polyline({QPoint(5, 10), QPoint(5, -4000000), QPoint(30, 10)}, 2);
    EXPECT_EQ(far.pixelIndex(5, 0), 0);
    EXPECT_EQ(far.pixelIndex(4, 10), 0);  // the corner square
    EXPECT_EQ(far.pixelIndex(30, 10), 0);
    EXPECT_EQ(far.pixelIndex(20, 15), 1);

    // A shape taken from a drawing, stamped twice across the byte boundary.
    const CMonoInk::Shape square = CMonoInk::ShapeOf(2, [](QImage& picture) {
        QPainter p(&picture);
        p.fillRect(QRect(1, 1, 3, 3), Qt::black);
    });
    ASSERT_EQ(square.size(), 3u);
    QImage stamped = WhitePage(16, 5);
    CMonoInk stampInk(stamped);
    stampInk.Stamp(square, QPoint(7, 2));
    EXPECT_EQ(Rows(stamped), QStringLiteral("................\n"
                                            "......###.......\n"
                                            "......###.......\n"
                                            "......###.......\n"
                                            "................\n"));
    QImage argb(4, 4, QImage::Format_RGB32);
    EXPECT_FALSE(CMonoInk(argb).IsValid());
}

}  // namespace
