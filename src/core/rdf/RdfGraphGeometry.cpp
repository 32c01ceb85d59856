#include "rdf/RdfGraphGeometry.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "rdf/CalendarTime.h"

RdfPlotMapping::RdfPlotMapping(TimeRange view, ValueRange range, const RdfEdges& plot, int y0)
    : m_view(view), m_plot(plot), m_y0(y0) {
    const std::int64_t span = view.Span();
    if (span > 0 && plot.Width() > 0) m_msPerPixel = double(span) / double(plot.Width());
    const double valueSpan = std::fabs(range.maximum) + std::fabs(range.minimum);
    m_valueSpan = valueSpan > 0.0 && std::isfinite(valueSpan) ? valueSpan : 1.0;
}

std::int64_t RdfPlotMapping::FirstTimeOfColumn(int c) const {
    if (c <= 0) return m_view.start;
    if (m_msPerPixel <= 0.0) return std::numeric_limits<std::int64_t>::max();
    // The guess is within a step or two of the answer; the column function itself decides.
    std::int64_t t = m_view.start + std::int64_t(std::floor(double(c) * m_msPerPixel));
    while (t > m_view.start && Column(t - 1) >= c) --t;
    while (Column(t) < c) ++t;
    return t;
}

namespace RdfGraphLayout {

QString ValueLabelSample(ValueRange range) {
    return ValueLabel(std::fabs(range.maximum) + std::fabs(range.minimum));
}

QString ValueLabel(double value) { return QString::asprintf(" %.1f  ", value); }

QString TimeLabelLine1(std::int64_t t) {
    const CalendarTime c = CalendarTime::FromMs(t);
    return QString::asprintf("%02d:%02d:%02d", c.hour, c.minute, c.second);
}

QString TimeLabelLine2(std::int64_t t) {
    const CalendarTime c = CalendarTime::FromMs(t);
    return QString::asprintf("%02d.%02d.%04d", c.day, c.month, c.year);
}

RdfGraphGeometry Compute(const RdfEdges& area, TimeRange view, ValueRange range, int labelWidth,
                         int labelHeight) {
    RdfGraphGeometry g;
    g.area = area;
    g.inner = {area.left + kBorder, area.top + kBorder, area.right - kBorder, area.bottom - kBorder};
    g.plot = g.inner;
    g.plot.left += labelWidth;
    g.plot.bottom -= 2 * labelHeight + 4;

    const int width = g.plot.Width();
    const int height = std::max(0, g.plot.Height());
    const double top = std::fabs(range.maximum);
    const double span = top + std::fabs(range.minimum);
    g.y0 = g.plot.top + (span > 0.0 ? int(height * top / span) : height);
    if (range.minimum == 0.0) g.y0 = g.plot.bottom;
    g.zeroOnEdge = g.y0 <= g.plot.top || g.y0 >= g.plot.bottom;
    g.mapping = RdfPlotMapping(view, range, g.plot, g.y0);
    if (!g.HasPlot()) return g;

    // Time ticks: every 10 pixels, a label on every tenth.
    const int n = width / kTimeTickStep;
    const double msPerTick = n > 0 ? double(std::max<std::int64_t>(0, view.Span())) / n : 0.0;
    for (int k = 0; k <= n; ++k) {
        RdfTimeTick tick;
        tick.x = g.plot.left + kTimeTickStep * k;
        tick.major = k % kMajorEvery == 0;
        tick.time = view.start + std::int64_t(k * msPerTick);
        g.timeTicks.push_back(tick);
    }

    // Value ticks every 5 pixels up and down from the zero line, a label on every fifth.
    const int above = (g.y0 - g.plot.top) / kValueTickStep;
    for (int j = 1; j <= above; ++j)
        g.valueTicks.push_back({g.y0 - kValueTickStep * j, j % kValueMajorEvery == 0, j * (range.maximum / above)});
    const int below = (g.plot.bottom - g.y0) / kValueTickStep;
    for (int j = 1; j <= below; ++j)
        g.valueTicks.push_back({g.y0 + kValueTickStep * j, j % kValueMajorEvery == 0, j * (range.minimum / below)});
    return g;
}

int CentredLabelLeft(int x, int w, int left, int right) {
    const int l = x - w / 2;
    if (l < left) return left;
    if (l + w > right) return right - w;
    return l;
}

int CentredLabelTop(int y, int h, int top, int bottom) {
    int t = y - h / 2;
    if (t + h > bottom) t = bottom - h;
    if (t < top) t = top;
    return t;
}

}  // namespace RdfGraphLayout
