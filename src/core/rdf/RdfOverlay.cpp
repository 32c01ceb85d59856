#include "rdf/RdfOverlay.h"

#include <algorithm>
#include <cstdlib>

#include "devsettings/QuantityTable.h"
#include "rdf/CalendarTime.h"
#include "rdf/RdfPointer.h"

namespace RdfOverlay {

namespace {

RdfOverlayBox TextBox(std::vector<QString> lines, std::vector<int> rows, const RdfOverlayMetrics& m) {
    int w = 0;
    for (const QString& line : lines) w = std::max(w, m.width ? m.width(line) : 0);
    RdfOverlayBox box;
    box.rect = QRect(0, 0, w + 2 * kBoxPadding, int(lines.size()) * m.lineHeight + 2 * kBoxPadding);
    box.lines = std::move(lines);
    box.rows = std::move(rows);
    return box;
}

// A one-line box centred on x under the plot, kept between the plot's edges.
RdfOverlayBox TimeBox(const QString& text, int x, const RdfEdges& plot, const RdfOverlayMetrics& m) {
    RdfOverlayBox box = TextBox({text}, {-1}, m);
    const int w = box.rect.width();
    box.rect.moveTo(RdfGraphLayout::CentredLabelLeft(x, w, plot.left, plot.right), plot.bottom + kBelowPlot);
    return box;
}

}  // namespace

QString RulerTimeText(TimeRange view, int plotWidth, int x1, int x2) {
    if (plotWidth <= 0) plotWidth = 1;
    const std::uint64_t span = std::uint64_t(std::max<std::int64_t>(0, view.Span()));
    const std::uint64_t dt = span * std::uint64_t(std::abs(x1 - x2)) / std::uint64_t(plotWidth);
    return QString::asprintf("%02llu:%02llu:%02llu:%03llu", (unsigned long long)(dt / 3600000),
                             (unsigned long long)(dt / 60000 % 60), (unsigned long long)(dt / 1000 % 60),
                             (unsigned long long)(dt % 1000));
}

QString RulerValueText(ValueRange range, int plotHeight, int y1, int y2) {
    if (plotHeight <= 0) plotHeight = 1;
    return QString::asprintf("%.2f", (range.maximum - range.minimum) * std::abs(y1 - y2) / plotHeight);
}

std::int64_t TimeAt(TimeRange view, const RdfEdges& plot, int x) {
    if (plot.Width() <= 0) return view.start;
    return view.start + view.Span() * std::int64_t(x - plot.left) / plot.Width();
}

QString PointerTimeText(std::int64_t t) {
    const CalendarTime c = CalendarTime::FromMs(t);
    return QString::asprintf("%02d.%02d.%04d %02d:%02d:%02d:%03d", c.day, c.month, c.year, c.hour, c.minute,
                             c.second, c.millisecond);
}

double ValueAt(ValueRange range, const RdfEdges& plot, int y) {
    if (plot.Height() <= 0) return range.minimum;
    return (range.maximum - range.minimum) * double(plot.bottom - y) / plot.Height() + range.minimum;
}

QString RowReadout(const RdfRowDraw& row, double v, const CQuantityTable& table) {
    if (row.coefficient == 0.0) return QStringLiteral("0");
    return table.ValueText(KindOf(row.source), v / row.coefficient).left(kMaxLine);
}

RdfOverlayModel Build(const CRdfPointer& pointer, const RdfEdges& plot, TimeRange view, ValueRange range,
                      std::span<const RdfRowDraw> rows, const CQuantityTable& table,
                      const RdfOverlayMetrics& metrics) {
    RdfOverlayModel model;
    model.plot = plot;
    if (!pointer.Tracking() || plot.Width() <= 0 || plot.Height() <= 0) return model;
    const QPoint p = pointer.Pointer();

    if (pointer.SelectionMode()) {
        // Dragged either way, the band spans both columns.
        const int from = std::min(pointer.Anchor().x(), p.x()) - 1;
        const int to = std::max(pointer.Anchor().x(), p.x()) + 1;
        model.kind = RdfOverlayModel::Kind::Selection;
        model.band = QRect(from, plot.top, to - from + 1, plot.Height());
        return model;
    }

    if (pointer.RulerMode()) {
        model.kind = RdfOverlayModel::Kind::Ruler;
        model.rulerPoints = pointer.RulerState();
        if (model.rulerPoints == 0) return model;
        const QPoint a = pointer.RulerPoint1();
        const QPoint b = pointer.RulerPoint2();
        model.point1 = a;
        model.point2 = b;
        model.boxes.push_back(TimeBox(RulerTimeText(view, plot.Width(), a.x(), b.x()), (a.x() + b.x()) / 2, plot, metrics));
        RdfOverlayBox value = TextBox({RulerValueText(range, plot.Height(), a.y(), b.y())}, {-1}, metrics);
        value.rect.moveTo(kValueBoxX,
                          RdfGraphLayout::CentredLabelTop((a.y() + b.y()) / 2, value.rect.height(), plot.top, plot.bottom));
        model.boxes.push_back(std::move(value));
        return model;
    }

    model.kind = RdfOverlayModel::Kind::CrossHair;
    model.pointer = p;
    model.boxes.push_back(TimeBox(PointerTimeText(TimeAt(view, plot, p.x())), p.x(), plot, metrics));
    const double v = ValueAt(range, plot, p.y());
    std::vector<QString> lines;
    std::vector<int> lineRows;
    for (size_t i = 0; i < rows.size(); ++i) {
        if (!rows[i].on) continue;
        lines.push_back(RowReadout(rows[i], v, table));
        lineRows.push_back(int(i));
    }
    if (!lines.empty()) {
        RdfOverlayBox box = TextBox(std::move(lines), std::move(lineRows), metrics);
        box.rightAligned = true;
        const int w = box.rect.width();
        const int h = box.rect.height();
        const bool rightHalf = p.x() >= plot.left + plot.Width() / 2;
        const bool lowerHalf = p.y() >= plot.top + plot.Height() / 2;
        box.rect.moveTo(rightHalf ? p.x() - kFromPointer - w : p.x() + kFromPointer,
                        lowerHalf ? p.y() - kFromPointer - h : p.y() + kFromPointer);
        model.boxes.push_back(std::move(box));
    }
    return model;
}

}  // namespace RdfOverlay
