#include "rdf/RdfPrintPainter.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPolygon>
#include <algorithm>
#include <array>
#include <optional>
#include <climits>

#include "rdf/MonoInk.h"
#include "rdf/RdfGraphPainter.h"

namespace RdfPrintPainter {

namespace {

// The frame, ticks and grid lines are filled as rectangles rather than stroked: on a one-bit
// image the painter's thin pens now and then leave out or add a pixel, so the same page would
// not always come out the same. Lines are horizontal or vertical, `width` pixels thick about
// the line through the two points.

// A solid line with square ends: it reaches half a width past each point, as a square-capped
// pen does.
void SolidLine(QPainter& p, QPoint from, QPoint to, int width) {
    const QPoint before(width / 2, width / 2);
    const QPoint after(width - 1 - width / 2, width - 1 - width / 2);
    const QPoint first(std::min(from.x(), to.x()), std::min(from.y(), to.y()));
    const QPoint last(std::max(from.x(), to.x()), std::max(from.y(), to.y()));
    p.fillRect(QRect(first - before, last + after), Qt::black);
}

// A grid line: dashes of 6 widths with gaps of 2, from the first point to the last inclusive.
void DashedLine(QPainter& p, QPoint from, QPoint to, int width) {
    const bool horizontal = from.y() == to.y();
    const int first = horizontal ? std::min(from.x(), to.x()) : std::min(from.y(), to.y());
    const int last = horizontal ? std::max(from.x(), to.x()) : std::max(from.y(), to.y());
    const int across = (horizontal ? from.y() : from.x()) - width / 2;
    for (int start = first; start <= last; start += 8 * width) {
        const int length = std::min(6 * width, last - start + 1);
        p.fillRect(horizontal ? QRect(start, across, length, width) : QRect(across, start, width, length), Qt::black);
    }
}

void PaintAxes(QPainter& p, const RdfPrintPage& page) {
    const RdfGraphGeometry& g = page.graph.geometry;
    const RdfEdges& plot = g.plot;
    const QFont font = Font(RdfPrintFont::Axis, page.scale);
    const QFontMetrics fm(font);
    const int h = fm.height();
    p.setFont(font);
    const int w = page.frameWidth;

    for (const RdfTimeTick& tick : g.timeTicks) {
        if (!tick.major) {
            SolidLine(p, {tick.x, plot.bottom - 1}, {tick.x, plot.bottom - 1 - page.tickLengthY}, w);
            continue;
        }
        DashedLine(p, {tick.x, plot.top}, {tick.x, plot.bottom - 1}, w);
        const QString line1 = RdfPrintTimeLine1(tick.time);
        const QString line2 = RdfPrintTimeLine2(tick.time);
        const int textWidth = std::max(fm.horizontalAdvance(line1), fm.horizontalAdvance(line2));
        const int left = RdfGraphLayout::CentredLabelLeft(tick.x, textWidth, g.area.left, g.area.right);
        p.setPen(Qt::black);
        p.drawText(QRect(left, plot.bottom + page.timeLabelGap, textWidth, 2 * h), Qt::AlignHCenter | Qt::AlignTop,
                   line1 + QLatin1Char('\n') + line2);
    }

    const int labelWidth = plot.left - g.area.left;
    for (const RdfValueTick& tick : g.valueTicks) {
        if (!tick.major) {
            SolidLine(p, {plot.left, tick.y}, {plot.left + page.tickLengthX, tick.y}, w);
            continue;
        }
        DashedLine(p, {plot.left, tick.y}, {plot.right - 1, tick.y}, w);
        const int top = tick.y < g.y0 ? std::max(tick.y - h / 2, g.area.top) : std::min(tick.y - h / 2, plot.bottom - h);
        p.setPen(Qt::black);
        p.drawText(QRect(g.area.left, top, labelWidth, h), Qt::AlignRight | Qt::AlignTop,
                   RdfGraphLayout::ValueLabel(tick.value));
    }

    if (!g.zeroOnEdge) DashedLine(p, {plot.left, g.y0}, {plot.right - 1, g.y0}, w);
    p.setPen(Qt::black);
    const int zeroTop = RdfGraphLayout::CentredLabelTop(g.y0, h, plot.top, plot.bottom);
    p.drawText(QRect(g.area.left, zeroTop, labelWidth, h), Qt::AlignRight | Qt::AlignTop, QStringLiteral(" 0  "));

    // The frame last, so no dash breaks it.
    const int right = plot.right - 1;
    const int bottom = plot.bottom - 1;
    SolidLine(p, {plot.left, plot.top}, {right, plot.top}, w);
    SolidLine(p, {plot.left, bottom}, {right, bottom}, w);
    SolidLine(p, {plot.left, plot.top}, {plot.left, bottom}, w);
    SolidLine(p, {right, plot.top}, {right, bottom}, w);
}

void PaintCurves(QPainter& p, const RdfPrintPage& page, const RdfPrintContent& content) {
    const QPen pen(Qt::black, page.lineWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    for (const RdfCurve& curve : page.graph.curves) {
        const int n = int(curve.points.size());
        if (n < 2) continue;
        p.setPen(pen);
        p.setBrush(Qt::NoBrush);
        p.drawPolyline(curve.points.data(), n);
        if (!content.dataMarkers) continue;
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::black);
        for (const QPoint& pt : curve.points) RdfGraphPainter::DrawMarker(p, pt.x(), pt.y(), page.markerSize, curve.row);
    }
}

void PaintEvents(QPainter& p, const RdfPrintPage& page, const RdfPrintContent& content) {
    if (!content.eventMarkers || page.graph.eventMarks.empty()) return;
    const QFont font = Font(RdfPrintFont::Event, page.scale);
    const QFontMetrics fm(font);
    const int w = fm.horizontalAdvance(content.eventText);
    const int h = fm.height();
    const int top = page.graph.geometry.plot.top;
    p.setFont(font);
    for (int x : page.graph.eventMarks) {
        p.setPen(Qt::black);
        p.drawText(QRect(x - w / 2, top, w, h), Qt::AlignLeft | Qt::AlignTop, content.eventText);
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::black);
        p.drawPolygon(QPolygon({QPoint(x - page.eventHalfWidth, top + h), QPoint(x, top + h + page.eventDepth),
                                QPoint(x + page.eventHalfWidth, top + h)}));
    }
}

// The event mark's text and triangle, drawn once, as offsets from (x of the event, plot top).
CMonoInk::Shape EventMark(const RdfPrintPage& page, const RdfPrintContent& content) {
    const QFont font = Font(RdfPrintFont::Event, page.scale);
    const QFontMetrics fm(font);
    const int w = fm.horizontalAdvance(content.eventText);
    const int h = fm.height();
    const int half = std::max({w / 2 + 1, page.eventHalfWidth + 1, h + page.eventDepth + 1});
    return CMonoInk::ShapeOf(half, [&](QImage& picture) {
        QPainter mp(&picture);
        mp.setFont(font);
        mp.setPen(Qt::black);
        mp.drawText(QRect(half - w / 2, half, w, h), Qt::AlignLeft | Qt::AlignTop, content.eventText);
        mp.setPen(Qt::NoPen);
        mp.setBrush(Qt::black);
        mp.drawPolygon(QPolygon({QPoint(half - page.eventHalfWidth, half + h),
                                 QPoint(half, half + h + page.eventDepth),
                                 QPoint(half + page.eventHalfWidth, half + h)}));
    });
}

// Curves, markers and event marks straight into the page's bits.
void InkGraph(CMonoInk& ink, const RdfPrintPage& page, const RdfPrintContent& content) {
    std::array<std::optional<CMonoInk::Shape>, 6> markers;
    for (const RdfCurve& curve : page.graph.curves) {
        if (curve.points.size() < 2) continue;
        ink.Polyline(curve.points, page.lineWidth);
        if (!content.dataMarkers) continue;
        const int shape = std::clamp(curve.row, 0, 5);
        auto& marker = markers[size_t(shape)];
        if (!marker) {
            const int c = page.markerSize;
            marker = CMonoInk::ShapeOf(c + 1, [&](QImage& picture) {
                QPainter mp(&picture);
                mp.setPen(Qt::NoPen);
                mp.setBrush(Qt::black);
                RdfGraphPainter::DrawMarker(mp, c + 1, c + 1, c, shape);
            });
        }
        // A point that repeats the one before adds nothing.
        const QPoint* previous = nullptr;
        for (const QPoint& pt : curve.points) {
            if (!previous || *previous != pt) ink.Stamp(*marker, pt);
            previous = &pt;
        }
    }
    if (!content.eventMarkers || page.graph.eventMarks.empty()) return;
    const CMonoInk::Shape mark = EventMark(page, content);
    const int top = page.graph.geometry.plot.top;
    const int* previous = nullptr;
    for (const int& x : page.graph.eventMarks) {
        if (!previous || *previous != x) ink.Stamp(mark, QPoint(x, top));
        previous = &x;
    }
}

}  // namespace

QFont Font(RdfPrintFont which, const RdfPrintScale& scale) {
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(std::max(1, int(RdfPrintFontSize96(which) * scale.dpiY / 96.0 + 0.5)));
    font.setBold(which == RdfPrintFont::Event);
    return font;
}

int CMeasure::LineHeight(RdfPrintFont font) const { return QFontMetrics(Font(font, m_scale)).height(); }

int CMeasure::TextWidth(RdfPrintFont font, const QString& text) const {
    return QFontMetrics(Font(font, m_scale)).horizontalAdvance(text);
}

int CMeasure::WrappedHeight(RdfPrintFont font, const QString& text, int width) const {
    const QFontMetrics fm(Font(font, m_scale));
    if (text.isEmpty()) return fm.height();
    return fm.boundingRect(QRect(0, 0, std::max(1, width), INT_MAX / 2), Qt::TextWordWrap, text).height();
}

void PaintPage(QImage& bitmap, const RdfPrintPage& page, const RdfPrintContent& content) {
    QPainter p(&bitmap);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setBackgroundMode(Qt::TransparentMode);
    p.setPen(Qt::black);

    p.setFont(Font(RdfPrintFont::Title, page.scale));
    p.drawText(page.titleBox, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, page.title);
    p.setFont(Font(RdfPrintFont::Files, page.scale));
    p.drawText(page.filesBox, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, page.files);

    const QFont legendFont = Font(RdfPrintFont::Legend, page.scale);
    const QFontMetrics fm(legendFont);
    p.setFont(legendFont);
    for (const RdfLegendLine& line : page.legend) {
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::black);
        RdfGraphPainter::DrawMarker(p, line.marker.x(), line.marker.y(), line.markerSize, line.row);
        p.setPen(Qt::black);
        p.drawText(line.box, Qt::AlignLeft | Qt::AlignVCenter, fm.elidedText(line.text, Qt::ElideRight, line.box.width()));
    }
    const int h = fm.height();
    p.drawText(QRect(page.legendCaption, QSize(page.commentCaption.x() - page.legendCaption.x(), h)),
               Qt::AlignLeft | Qt::AlignTop, content.legendCaption);
    p.drawText(QRect(page.commentCaption, QSize(page.margins.right - page.commentCaption.x(), h)),
               Qt::AlignLeft | Qt::AlignTop, content.commentCaption);
    p.drawText(page.commentBox, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, page.comment);

    if (!page.graph.geometry.HasPlot()) return;
    PaintAxes(p, page);
    p.end();
    CMonoInk ink(bitmap);
    if (ink.IsValid()) {
        InkGraph(ink, page, content);
        return;
    }
    // Not a page bitmap: the painter does it all.
    p.begin(&bitmap);
    PaintCurves(p, page, content);
    PaintEvents(p, page, content);
}

RdfPrintPage RenderPrintPage(QImage& bitmap, const RdfPrintContent& content, const RdfEdges& margins,
                             RdfPrintScale scale, const QString& comment, RdfCurveWalk walk) {
    const CMeasure measure(scale);
    RdfPrintPage page = RdfPrintLayout::Build(content, comment, margins, scale, measure, walk);
    if (bitmap.isNull()) return page;
    PaintPage(bitmap, page, content);
    return page;
}

QImage NewPageBitmap(QSize size) {
    if (size.isEmpty()) return {};
    QImage bitmap(size, QImage::Format_Mono);
    if (bitmap.isNull()) return {};
    bitmap.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
    bitmap.fill(1);
    return bitmap;
}

}  // namespace RdfPrintPainter
