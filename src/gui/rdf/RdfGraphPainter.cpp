#include "rdf/RdfGraphPainter.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPolygon>
#include <algorithm>

#include "rdf/RecordingSet.h"

int RdfGraphStyle::LineWidth() const { return std::clamp(lineWidth, 1, 5); }
int RdfGraphStyle::MarkerSize() const { return std::clamp(markerSize, 2, 6); }

namespace RdfGraphPainter {

namespace {

QFont ArialFont(double pixels96, double dpi, bool bold, bool italic) {
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(std::max(1, int(pixels96 * dpi / 96.0 + 0.5)));
    font.setBold(bold);
    font.setItalic(italic);
    font.setStyleStrategy(QFont::PreferAntialias);
    return font;
}

QRect ToRect(const RdfEdges& e) { return QRect(e.left, e.top, e.Width(), e.Height()); }

const QImage& EmptyPicture() {
    static const QImage picture(QStringLiteral(":/icons/rdf/empty_graph.svg"));
    return picture;
}

void PaintAxes(QPainter& p, const RdfGraphGeometry& g, const QFontMetrics& fm) {
    const RdfEdges& plot = g.plot;
    const int h = fm.height();
    p.setPen(QPen(kAxis, 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(plot.left, plot.top, plot.Width() - 1, plot.Height() - 1);

    for (const RdfTimeTick& tick : g.timeTicks) {
        if (!tick.major) {
            p.drawLine(tick.x, plot.bottom - 1, tick.x, plot.bottom - 1 - RdfGraphLayout::kTickLength);
            continue;
        }
        p.drawLine(tick.x, plot.top, tick.x, plot.bottom - 1);
        const QString line1 = RdfGraphLayout::TimeLabelLine1(tick.time);
        const QString line2 = RdfGraphLayout::TimeLabelLine2(tick.time);
        const int w = std::max(fm.horizontalAdvance(line1), fm.horizontalAdvance(line2));
        const int left = RdfGraphLayout::CentredLabelLeft(tick.x, w, g.inner.left, g.inner.right);
        const QRect box(left, plot.bottom + RdfGraphLayout::kLabelGap, w, 2 * h);
        p.drawText(box, Qt::AlignHCenter | Qt::AlignTop, line1 + QLatin1Char('\n') + line2);
    }

    const int labelWidth = plot.left - g.inner.left;
    for (const RdfValueTick& tick : g.valueTicks) {
        if (!tick.major) {
            p.drawLine(plot.left, tick.y, plot.left + RdfGraphLayout::kTickLength, tick.y);
            continue;
        }
        p.drawLine(plot.left, tick.y, plot.right - 1, tick.y);
        // Labels above the zero line stay below the area's top, those under it above the
        // plot's bottom.
        const int top = tick.y < g.y0 ? std::max(tick.y - h / 2, g.inner.top)
                                      : std::min(tick.y - h / 2, plot.bottom - h);
        p.drawText(QRect(g.inner.left, top, labelWidth, h), Qt::AlignRight | Qt::AlignTop,
                   RdfGraphLayout::ValueLabel(tick.value));
    }

    if (!g.zeroOnEdge) p.drawLine(plot.left, g.y0, plot.right - 1, g.y0);
    const int zeroTop = RdfGraphLayout::CentredLabelTop(g.y0, h, plot.top, plot.bottom);
    p.drawText(QRect(g.inner.left, zeroTop, labelWidth, h), Qt::AlignRight | Qt::AlignTop, QStringLiteral(" 0  "));
}

QImage MarkerSprite(const QColor& colour, int size) {
    const int half = size + 1;
    QImage sprite(2 * half + 1, 2 * half + 1, QImage::Format_ARGB32_Premultiplied);
    sprite.fill(Qt::transparent);
    QPainter sp(&sprite);
    sp.setPen(Qt::NoPen);
    sp.setBrush(colour);
    DrawMarker(sp, half, half, size, 0);
    return sprite;
}

// Stamps the sprite with its pixel anchor on every point (a point that repeats the one before
// is stamped once). On an image of 32-bit pixels drawn without a transform or clip, the
// sprite's pixels are blended straight into the image, which costs a few nanoseconds a
// pixel instead of a painter call a stamp.
void StampSprite(QPainter& p, const QImage& sprite, QPoint anchor, const std::vector<QPoint>& points) {
    auto* image = dynamic_cast<QImage*>(p.device());
    const bool direct = image && image->isDetached() && p.worldTransform().type() == QTransform::TxNone &&
                        !p.hasClipping() && p.compositionMode() == QPainter::CompositionMode_SourceOver &&
                        sprite.format() == QImage::Format_ARGB32_Premultiplied &&
                        (image->format() == QImage::Format_RGB32 ||
                         image->format() == QImage::Format_ARGB32_Premultiplied);
    const QPoint* previous = nullptr;
    if (!direct) {
        for (const QPoint& pt : points) {
            if (!previous || *previous != pt) p.drawImage(pt - anchor, sprite);
            previous = &pt;
        }
        return;
    }
    struct Dot {
        int dx, dy;
        QRgb colour;  // premultiplied
    };
    std::vector<Dot> dots;
    for (int y = 0; y < sprite.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(sprite.constScanLine(y));
        for (int x = 0; x < sprite.width(); ++x)
            if (qAlpha(line[x]) != 0) dots.push_back({x - anchor.x(), y - anchor.y(), line[x]});
    }
    const bool opaqueTarget = image->format() == QImage::Format_RGB32;
    const auto blend = [opaqueTarget](QRgb dst, QRgb src) -> QRgb {
        const int a = qAlpha(src);
        if (a == 255) return src;
        const int keep = 255 - a;
        const auto part = [keep](int d) { return (d * keep + 127) / 255; };
        const int alpha = opaqueTarget ? 255 : a + part(qAlpha(dst));
        return qRgba(qRed(src) + part(qRed(dst)), qGreen(src) + part(qGreen(dst)), qBlue(src) + part(qBlue(dst)),
                     alpha);
    };
    const int width = image->width();
    const int height = image->height();
    uchar* bits = image->bits();
    const qsizetype stride = image->bytesPerLine();
    for (const QPoint& pt : points) {
        if (!previous || *previous != pt) {
            for (const Dot& d : dots) {
                const int x = pt.x() + d.dx;
                const int y = pt.y() + d.dy;
                if (x < 0 || y < 0 || x >= width || y >= height) continue;
                QRgb& target = reinterpret_cast<QRgb*>(bits + y * stride)[x];
                target = blend(target, d.colour);
            }
        }
        previous = &pt;
    }
}

void StampMarkers(QPainter& p, const QImage& sprite, const std::vector<QPoint>& points) {
    StampSprite(p, sprite, QPoint(sprite.width() / 2, sprite.height() / 2), points);
}

}  // namespace

QFont AxisFont(double dpi) { return ArialFont(15, dpi, false, false); }
QFont EventFont(double dpi) { return ArialFont(14, dpi, true, false); }

QSize ValueLabelSize(ValueRange range, double dpi) {
    const QFontMetrics fm(AxisFont(dpi));
    return QSize(fm.horizontalAdvance(RdfGraphLayout::ValueLabelSample(range)), fm.height());
}

void PaintEmpty(QPainter& p, const QRect& area, const RdfGraphStyle& style) {
    p.fillRect(area, kBackground);
    const QImage& picture = EmptyPicture();
    constexpr int kSide = 256;
    const QRect pictureRect(area.left() + (area.width() - kSide) / 2, area.top() + (area.height() - kSide) / 2,
                            kSide, kSide);
    if (!picture.isNull()) p.drawImage(pictureRect, picture);
    p.setPen(Qt::white);
    const QFont titleFont = ArialFont(28, style.dpi, true, true);
    const QFont webFont = ArialFont(20, style.dpi, true, true);
    const int titleHeight = QFontMetrics(titleFont).height();
    p.setFont(titleFont);
    p.drawText(QRect(area.left(), pictureRect.bottom() + 1, area.width(), titleHeight), Qt::AlignHCenter | Qt::AlignTop,
               style.infoTitle);
    p.setFont(webFont);
    p.drawText(QRect(area.left(), pictureRect.bottom() + 1 + titleHeight + 5, area.width(),
                     QFontMetrics(webFont).height()),
               Qt::AlignHCenter | Qt::AlignTop, style.webAddress);
}

void DrawMarker(QPainter& p, int x, int y, int c, int shape) {
    switch (shape) {
    case 0: p.drawEllipse(QPoint(x, y), c, c); break;
    case 1: p.drawRect(QRect(QPoint(x - c, y - c), QPoint(x + c, y + c))); break;
    case 2: p.drawPolygon(QPolygon({QPoint(x, y - c), QPoint(x - c, y), QPoint(x, y + c), QPoint(x + c, y)})); break;
    case 3: p.drawPolygon(QPolygon({QPoint(x, y - c), QPoint(x - c, y + c), QPoint(x + c, y + c)})); break;
    case 4: {
        const int h = c / 2;
        p.drawPolygon(QPolygon({QPoint(x, y - h), QPoint(x - h, y - c), QPoint(x - c, y - h), QPoint(x - h, y),
                                QPoint(x - c, y + h), QPoint(x - h, y + c), QPoint(x, y + h), QPoint(x + h, y + c),
                                QPoint(x + c, y + h), QPoint(x + h, y), QPoint(x + c, y - h), QPoint(x + h, y - c)}));
        break;
    }
    case 5: {
        const int h = c / 3;
        p.drawPolygon(QPolygon({QPoint(x, y - c), QPoint(x - h, y - h), QPoint(x - c, y), QPoint(x - h, y + h),
                                QPoint(x, y + c), QPoint(x + h, y + h), QPoint(x + c, y), QPoint(x + h, y - h)}));
        break;
    }
    default: break;
    }
}

void PaintGraph(QPainter& p, const RdfGraphModel& model, const RdfGraphStyle& style) {
    const RdfGraphGeometry& g = model.geometry;
    p.fillRect(ToRect(g.area), kBackground);
    if (!g.HasPlot()) return;
    const QFont axisFont = AxisFont(style.dpi);
    p.setFont(axisFont);
    PaintAxes(p, g, QFontMetrics(axisFont));

    const int marker = style.MarkerSize();
    for (const RdfCurve& curve : model.curves) {
        const QColor colour = style.seriesColors[size_t(std::clamp(curve.row, 0, 5))];
        QPen pen(colour, style.LineWidth(), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
        // A one-pixel line needs no joins: drawn as such it skips the stroker, many times
        // faster for long lines.
        if (style.LineWidth() == 1) pen.setCosmetic(true);
        p.setPen(pen);
        p.setBrush(Qt::NoBrush);
        const int n = int(curve.points.size());
        if (n >= 2) p.drawPolyline(curve.points.data(), n);
        if (style.dataMarkers && n >= 2) {
            // One marker drawn once and stamped at every point: tens of thousands of them
            // fit in a frame this way. Its pixels are opaque or untouched, so a point that
            // repeats the one before needs no second stamp.
            StampMarkers(p, MarkerSprite(colour, marker), curve.points);
        }
    }

    if (style.eventMarkers && !model.eventMarks.empty()) {
        // The mark (text over a triangle pointing down) is drawn once and stamped at every
        // event start; several starts in one column make one mark.
        const QFont eventFont = EventFont(style.dpi);
        const QFontMetrics fm(eventFont);
        const int w = fm.horizontalAdvance(style.eventText);
        const int h = fm.height();
        const int half = std::max(w / 2 + 1, 8);
        QImage mark(2 * half + 1, h + 8, QImage::Format_ARGB32_Premultiplied);
        mark.fill(Qt::transparent);
        {
            QPainter mp(&mark);
            mp.setFont(eventFont);
            mp.setPen(kEvent);
            mp.drawText(QRect(half - w / 2, 0, w, h), Qt::AlignLeft | Qt::AlignTop, style.eventText);
            mp.setPen(Qt::NoPen);
            mp.setBrush(kEvent);
            mp.drawPolygon(QPolygon({QPoint(half - 7, h), QPoint(half, h + 7), QPoint(half + 7, h)}));
        }
        std::vector<QPoint> at;
        at.reserve(model.eventMarks.size());
        for (int x : model.eventMarks) at.emplace_back(x, g.plot.top);
        StampSprite(p, mark, QPoint(half, 0), at);
    }
}

RdfGraphModel RenderGraph(QImage& buffer, const CRecordingSet* set, std::span<const RdfRowDraw> rows,
                          TimeRange view, ValueRange range, const RdfGraphStyle& style, RdfCurveWalk walk) {
    RdfGraphModel model;
    if (buffer.isNull()) return model;
    QPainter p(&buffer);
    const QRect area = buffer.rect();
    if (!set || !set->IsLoaded()) {
        PaintEmpty(p, area, style);
        return model;
    }
    const QSize label = ValueLabelSize(range, style.dpi);
    const RdfEdges edges{area.left(), area.top(), area.right() + 1, area.bottom() + 1};
    model = RdfCurveBuilder::BuildGraph(*set, rows, view, range, edges, label.width(), label.height(),
                                        style.eventMarkers, walk);
    PaintGraph(p, model, style);
    return model;
}

}  // namespace RdfGraphPainter
