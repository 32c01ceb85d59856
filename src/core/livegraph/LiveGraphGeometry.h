#pragma once

#include <QPoint>
#include <QSize>
#include <array>

#include "livegraph/LiveGraphData.h"

// A rectangle with exclusive right and bottom edges, the way the graph's arithmetic is
// written (a 600-pixel control spans 0..600).
struct GraphRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool IsEmpty() const { return right <= left || bottom <= top; }
    GraphRect Inset(int d) const { return {left + d, top + d, right - d, bottom - d}; }
    bool operator==(const GraphRect&) const = default;
};

// Where the live graph puts its labels, grid, lines, markers and hover box. The widget
// paints exactly what these say.
namespace LiveGraphGeometry {

inline constexpr int kTickMs = 500;
inline constexpr int kPixelsPerMinute = 60000 / kTickMs;
inline constexpr int kGridStep = CLiveGraphData::kGridStep;
inline constexpr int kBoxMargin = 5;     // inside the hover box
inline constexpr int kBoxDistance = 20;  // hover box to the cursor

// The client inset by 2: room for the sunken border.
inline GraphRect LabelArea(const GraphRect& client) { return client.Inset(2); }

// Highest whole minute that still has a label (labels run from this down to 0).
int MinuteLabelCount(const GraphRect& labelArea);

// Left edge of the label of minute k: centred on its column, kept one pixel inside the area.
int MinuteLabelLeft(const GraphRect& labelArea, int k, int textWidth);
// Bottom edge (exclusive) of every minute label.
inline int MinuteLabelBottom(const GraphRect& labelArea) { return labelArea.bottom - 1; }

// The area of the lines and grid: above the labels, shifted one pixel up and left.
GraphRect PlotArea(const GraphRect& labelArea, int textHeight);

// First (rightmost) vertical grid line; further lines every kGridStep to the left while
// not left of the plot. The phase moves the grid with the samples.
inline int FirstGridX(const GraphRect& plot, int phase) { return plot.right - phase; }

// One point per plot column, right to left, the newest sample at the right edge, for
// series i. Writes at most `capacity` points and returns how many; sets *overflow when a
// point lies above the plot (such points are placed just above it).
int SeriesPoints(const CLiveGraphData& data, int i, const GraphRect& plot, const LiveValueRange& range,
                 QPoint* out, int capacity, bool* overflow);

// The marker of series index k running off the top: corners left, apex, right.
std::array<QPoint, 3> OverflowMarker(const GraphRect& plot, int k);

// How many ticks back the column at x shows (negative right of the plot).
inline int TicksBackAt(const GraphRect& plot, int x) { return plot.right - x; }

// Top-left corner of the hover box: on the side of the cursor away from the client's
// middle, kBoxDistance from it.
QPoint HoverBoxTopLeft(const GraphRect& client, QPoint mouse, QSize box);

// The hover text of one sample: two decimals, at most 15 characters.
QString HoverText(float sample);

}  // namespace LiveGraphGeometry
