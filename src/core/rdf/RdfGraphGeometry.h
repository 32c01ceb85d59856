#pragma once

#include <QRect>
#include <QString>
#include <cstdint>
#include <vector>

#include "rdf/ViewWindow.h"

// Where the recorded-data graph puts things, for a graph area of any size: the plot area
// left of which the value labels fit, the time and value ticks, the zero line, and the
// mapping of record times and values to pixels. Screen and paper both draw from it.
//
// Rectangles are in the edge convention of the drawing: left and top inside, right and
// bottom the first column and row outside.
struct RdfEdges {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool operator==(const RdfEdges&) const = default;
};

// Time to column and raw value to row, exactly as every curve and mark is placed.
class RdfPlotMapping {
public:
    RdfPlotMapping() = default;
    RdfPlotMapping(TimeRange view, ValueRange range, const RdfEdges& plot, int y0);

    // The column of a time in the view, counted from the plot's left edge. A view of one
    // millisecond (or a reversed one) puts everything in column 0.
    int Column(std::int64_t t) const {
        if (m_msPerPixel <= 0.0) return 0;
        return int(double(t - m_view.start) / m_msPerPixel);
    }
    int X(std::int64_t t) const { return m_plot.left + Column(t); }
    // The first time at or after the view start that falls in column c or later.
    std::int64_t FirstTimeOfColumn(int c) const;

    // The row of a raw value scaled by scale (>= 0). Far-off values stay within a few
    // million pixels, so the integer never overflows; lines towards them keep their
    // direction to well under a pixel inside any graph area.
    int Y(std::int32_t raw, double scale) const {
        double q = double(m_plot.Height()) * (double(raw) * scale) / m_valueSpan;
        if (q > kFar) q = kFar;
        if (q < -kFar) q = -kFar;
        return m_y0 - int(q);
    }

    const TimeRange& View() const { return m_view; }
    const RdfEdges& Plot() const { return m_plot; }
    int ZeroY() const { return m_y0; }
    double MsPerPixel() const { return m_msPerPixel; }

private:
    static constexpr double kFar = double(1 << 22);
    TimeRange m_view;
    RdfEdges m_plot;
    int m_y0 = 0;
    double m_msPerPixel = 0.0;
    double m_valueSpan = 1.0;  // |maximum| + |minimum|, never below 1
};

struct RdfTimeTick {
    int x = 0;
    bool major = false;      // grid line and label
    std::int64_t time = 0;   // the label's time (major ticks)
};

struct RdfValueTick {
    int y = 0;
    bool major = false;  // grid line and label
    double value = 0.0;  // the label's value (major ticks)
};

struct RdfGraphGeometry {
    RdfEdges area;   // the graph area
    RdfEdges inner;  // the area less a 4-pixel border
    RdfEdges plot;
    int y0 = 0;            // the zero line
    bool zeroOnEdge = false;  // the zero line lies on the plot's top or bottom edge
    std::vector<RdfTimeTick> timeTicks;
    std::vector<RdfValueTick> valueTicks;
    RdfPlotMapping mapping;

    // Something to plot into: curves, ticks and marks are left out of a plot of no size.
    bool HasPlot() const { return plot.Width() > 0 && plot.Height() > 0; }
};

namespace RdfGraphLayout {
inline constexpr int kBorder = 4;
inline constexpr int kTimeTickStep = 10;   // pixels between time ticks
inline constexpr int kMajorEvery = 10;     // every tenth time tick has a label
inline constexpr int kValueTickStep = 5;
inline constexpr int kValueMajorEvery = 5;
inline constexpr int kTickLength = 5;
inline constexpr int kLabelGap = 2;        // between the plot bottom and the time labels

// The text whose size sets the room for the value labels: " %.1f  " of |max| + |min|.
QString ValueLabelSample(ValueRange range);
// A value label, " %.1f  ".
QString ValueLabel(double value);
// The two lines of a time label, "hh:mm:ss" and "dd.mm.yyyy".
QString TimeLabelLine1(std::int64_t t);
QString TimeLabelLine2(std::int64_t t);

// The geometry of a loaded graph: labelWidth and labelHeight are the measured size of
// ValueLabelSample in the axis font.
RdfGraphGeometry Compute(const RdfEdges& area, TimeRange view, ValueRange range, int labelWidth,
                         int labelHeight);

// The left edge of a label of width w centred on x, moved to start at left or to end at
// right when centring would cross that edge.
int CentredLabelLeft(int x, int w, int left, int right);
// The top of a label of height h centred on y, kept from rising above top and from
// reaching below bottom.
int CentredLabelTop(int y, int h, int top, int bottom);
}  // namespace RdfGraphLayout
