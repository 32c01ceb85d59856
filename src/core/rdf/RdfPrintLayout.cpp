#include "rdf/RdfPrintLayout.h"

#include <algorithm>
#include <cmath>

#include "language/Language.h"
#include "language/LanguageKeys.h"
#include "language/TextFormat.h"
#include "rdf/CalendarTime.h"
#include "rdf/FileRdf.h"
#include "rdf/RecordingSet.h"

QSize RdfPaper::SheetTenths() const {
    const int w = std::max(0, widthTenths);
    const int l = std::max(0, lengthTenths);
    return hasOrientation && landscape ? QSize(l, w) : QSize(w, l);
}

QSize RdfPaper::SheetPixels() const {
    const QSize t = SheetTenths();
    // Products first: a whole-inch quotient would lose most of an inch of the sheet.
    return QSize(int(std::int64_t(t.width()) * std::max(0, dpiX) / 254),
                 int(std::int64_t(t.height()) * std::max(0, dpiY) / 254));
}

int RdfPrintMargins::Step(int value, bool up) {
    if (up) return value < kMax ? std::min(value + 1, kMax) : kMax;
    return value > kMin ? std::max(value - 1, kMin) : kMin;
}

RdfEdges RdfPrintMargins::Apply(QSize sheet) const {
    const auto clamp = [](int p) { return std::clamp(p, kMin, kMax); };
    const int w = sheet.width();
    const int h = sheet.height();
    return {w * clamp(percent[Left]) / 100, h * clamp(percent[Top]) / 100, w - w * clamp(percent[Right]) / 100,
            h - h * clamp(percent[Bottom]) / 100};
}

int RdfPrintScale::Pen(double pixels96) const { return std::max(1, Y(pixels96)); }

int RdfPrintFontSize96(RdfPrintFont font) {
    switch (font) {
    case RdfPrintFont::Title: return 18;
    case RdfPrintFont::Files: return 16;
    case RdfPrintFont::Legend: return 14;
    case RdfPrintFont::Axis: return 15;
    case RdfPrintFont::Event: return 14;
    }
    return 14;
}

QString RdfCoefficientText(const QString& word, double c) {
    const QString head = QStringLiteral(" [") + word;
    if (c == 1.0) return head + QStringLiteral(" 1:1];");
    if (c > 1.0) return head + QString::asprintf(" %.1f:1];", c);
    if (c > 0.0) return head + QString::asprintf(" 1:%.1f];", 1.0 / c);
    return head + QStringLiteral(" 0:1];");
}

QString RdfPrintTitle(const CRecordingSet& set) {
    if (!set.IsLoaded() || !set.File(0).Header()) return FormatLng(LNG_RDF_PTITLE, {0u, 0u, 0u, 0u, 0u, 0u, 0u, 0u});
    const RdfHeader& h = *set.File(0).Header();
    const auto id = h.DeviceId();
    return FormatLng(LNG_RDF_PTITLE, {unsigned(id[0]), unsigned(id[1]), unsigned(id[2]), unsigned(id[3]),
                                      unsigned(id[4]), unsigned(id[5]), unsigned(h.bytes[13]), unsigned(h.bytes[12])});
}

QString RdfPrintFileList(const CRecordingSet& set) {
    QString text = GetText(LNG_RDF_PTITLE_FILE);
    for (int i = 0; i < set.FileCount(); ++i) text += QLatin1Char(' ') + set.File(i).FileName() + QLatin1Char(';');
    return text;
}

QString RdfPrintValueSample(double value) { return QString::asprintf(" %.1f ", value); }

QString RdfPrintTimeLine1(std::int64_t t) {
    const CalendarTime c = CalendarTime::FromMs(t);
    return QString::asprintf("%02d:%02d:%02d.%03d", c.hour, c.minute, c.second, c.millisecond);
}

QString RdfPrintTimeLine2(std::int64_t t) {
    const CalendarTime c = CalendarTime::FromMs(t);
    return QString::asprintf("%02d.%02d.%04d", c.day, c.month, c.year);
}

QRect RdfPreviewRect(const QRect& area, QSize sheet) {
    if (area.isEmpty() || sheet.isEmpty()) return {};
    // Width-bound or height-bound, whichever leaves the other side within the area.
    int w = area.width();
    int h = int(std::int64_t(w) * sheet.height() / sheet.width());
    if (h > area.height()) {
        h = area.height();
        w = int(std::int64_t(h) * sheet.width() / sheet.height());
    }
    return QRect(area.left() + (area.width() - w) / 2, area.top() + (area.height() - h) / 2, w, h);
}

RdfEdges RdfPreviewMarginLines(const QRect& sheet, const RdfPrintMargins& m) {
    const RdfEdges inner = m.Apply(sheet.size());
    return {sheet.left() + inner.left, sheet.top() + inner.top, sheet.left() + inner.right,
            sheet.top() + inner.bottom};
}

namespace {

// The graph's frame, ticks and zero line in the margin box left for it, with the tick
// spacing of the screen scaled to the printer.
RdfGraphGeometry GraphGeometry(const RdfEdges& area, TimeRange view, ValueRange range, int labelWidth,
                               int labelHeight, const RdfPrintScale& scale) {
    RdfGraphGeometry g;
    g.area = area;
    g.inner = area;
    g.plot = {area.left + labelWidth, area.top, area.right, area.bottom - (scale.Y(4) + 2 * labelHeight)};

    const int width = g.plot.Width();
    const int height = std::max(0, g.plot.Height());
    const double top = std::fabs(range.maximum);
    const double span = top + std::fabs(range.minimum);
    g.y0 = g.plot.top + (span > 0.0 ? int(height * top / span) : height);
    if (range.minimum == 0.0) g.y0 = g.plot.bottom;
    g.zeroOnEdge = g.y0 <= g.plot.top || g.y0 >= g.plot.bottom;
    g.mapping = RdfPlotMapping(view, range, g.plot, g.y0);
    if (!g.HasPlot()) return g;

    const double timeStep = RdfGraphLayout::kTimeTickStep * scale.dpiX / 96.0;
    const int n = timeStep > 0.0 ? int(width / timeStep) : 0;
    const double msPerTick = n > 0 ? double(std::max<std::int64_t>(0, view.Span())) / n : 0.0;
    for (int k = 0; k <= n; ++k)
        g.timeTicks.push_back({g.plot.left + int(k * timeStep), k % RdfGraphLayout::kMajorEvery == 0,
                               view.start + std::int64_t(k * msPerTick)});

    const double valueStep = RdfGraphLayout::kValueTickStep * scale.dpiY / 96.0;
    if (valueStep <= 0.0) return g;
    const int above = int((g.y0 - g.plot.top) / valueStep);
    for (int j = 1; j <= above; ++j)
        g.valueTicks.push_back({g.y0 - int(j * valueStep), j % RdfGraphLayout::kValueMajorEvery == 0,
                                j * (range.maximum / above)});
    const int below = int((g.plot.bottom - g.y0) / valueStep);
    for (int j = 1; j <= below; ++j)
        g.valueTicks.push_back({g.y0 + int(j * valueStep), j % RdfGraphLayout::kValueMajorEvery == 0,
                                j * (range.minimum / below)});
    return g;
}

}  // namespace

namespace RdfPrintLayout {

RdfPrintPage Build(const RdfPrintContent& c, const QString& comment, const RdfEdges& margins, RdfPrintScale scale,
                   const IRdfPrintMeasure& measure, RdfCurveWalk walk) {
    RdfPrintPage page;
    page.scale = scale;
    page.margins = margins;
    const int L = margins.left;
    const int R = margins.right;
    int T = margins.top;
    int B = margins.bottom;
    const int width = std::max(0, R - L);

    // Title and files from the top.
    page.title = c.title;
    const int titleHeight = measure.WrappedHeight(RdfPrintFont::Title, c.title, width);
    page.titleBox = QRect(L, T, width, titleHeight);
    T += int(1.1 * titleHeight);
    page.files = c.files;
    const int filesHeight = measure.WrappedHeight(RdfPrintFont::Files, c.files, width);
    page.filesBox = QRect(L, T, width, filesHeight);
    T += filesHeight + scale.Y(15);

    // Legend from the bottom: every row keeps its line, so a row that is off leaves a gap.
    const int h = measure.LineHeight(RdfPrintFont::Legend);
    const int middle = L + width / 2;
    for (int row = int(c.rows.size()) - 1; row >= 0; --row) {
        const RdfRowDraw& r = c.rows[size_t(row)];
        if (r.on) {
            RdfLegendLine line;
            line.row = row;
            line.marker = QPoint(L + h / 2, B - h / 2);
            line.markerSize = h / 2;
            const int textLeft = L + int(1.5 * h);
            line.box = QRect(textLeft, B - h, std::max(0, middle - textLeft), h);
            line.text = c.seriesNames[size_t(row)] + RdfCoefficientText(c.coefficientWord, r.coefficient);
            page.legend.push_back(line);
        }
        B -= int(1.3 * h);
    }
    B -= h;
    page.legendCaption = QPoint(L, B);
    page.commentCaption = QPoint(middle, B);
    page.comment = comment;
    page.commentBox = QRect(middle, B + int(1.3 * h), std::max(0, R - middle), 6 * h);
    B -= scale.Y(15);

    // The graph fills what is left.
    const int wMax = measure.TextWidth(RdfPrintFont::Axis, RdfPrintValueSample(c.range.maximum));
    const int wMin = measure.TextWidth(RdfPrintFont::Axis, RdfPrintValueSample(c.range.minimum));
    const int labelHeight = measure.LineHeight(RdfPrintFont::Axis);
    page.graph.geometry =
        GraphGeometry({L, T, R, B}, c.view, c.range, std::max(wMax, wMin), labelHeight, scale);

    page.frameWidth = scale.Pen(1);
    page.lineWidth = scale.Pen(std::clamp(c.lineWidth, 1, 5));
    page.markerSize = scale.Pen(std::clamp(c.markerSize, 2, 6));
    page.tickLengthX = scale.X(RdfGraphLayout::kTickLength);
    page.tickLengthY = scale.Y(RdfGraphLayout::kTickLength);
    page.timeLabelGap = scale.Y(4);
    page.eventHalfWidth = scale.X(6);
    page.eventDepth = scale.Y(6);

    if (c.set) RdfCurveBuilder::BuildCurves(*c.set, c.rows, c.eventMarkers, walk, page.graph);
    return page;
}

}  // namespace RdfPrintLayout
