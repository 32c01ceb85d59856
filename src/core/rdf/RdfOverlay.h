#pragma once

#include <QPoint>
#include <QRect>
#include <QString>
#include <cstdint>
#include <functional>
#include <span>
#include <vector>

#include "rdf/RdfCurveBuilder.h"
#include "rdf/RdfGraphGeometry.h"
#include "rdf/ViewWindow.h"

class CQuantityTable;
class CRdfPointer;

// What the pointer overlay of the recorded-data graph shows and where: the selection band,
// the ruler, or the cross-hair with its read-outs. The window paints it over its copy of the
// back buffer; it is computed from the pointer, the drawn plot and the rows alone.
struct RdfOverlayBox {
    QRect rect;                  // the box; its text starts 5 pixels inside
    std::vector<QString> lines;  // one text line each
    std::vector<int> rows;       // the series row whose colour each line takes, -1 for white
    bool rightAligned = false;
};

struct RdfOverlayModel {
    enum class Kind { None, Selection, Ruler, CrossHair };
    Kind kind = Kind::None;
    RdfEdges plot;
    QRect band;           // Selection: the half-transparent band
    int rulerPoints = 0;  // Ruler: 1 while the second point follows the pointer, 2 when set
    QPoint point1, point2;
    QPoint pointer;       // CrossHair
    std::vector<RdfOverlayBox> boxes;
};

// Sizes of text in the overlay font.
struct RdfOverlayMetrics {
    std::function<int(const QString&)> width;
    int lineHeight = 0;
};

namespace RdfOverlay {
inline constexpr int kBoxPadding = 5;   // text inside its box, each side
inline constexpr int kBelowPlot = 5;    // time boxes under the plot
inline constexpr int kValueBoxX = 5;    // the ruler's value box, from the window's left
inline constexpr int kFromPointer = 20; // the cross-hair's row box
inline constexpr int kCrossArm = 10;    // the ruler's crosses
inline constexpr int kMaxLine = 15;     // characters of a row's read-out

// "hh:mm:ss:mmm" of the time the ruler spans between columns x1 and x2.
QString RulerTimeText(TimeRange view, int plotWidth, int x1, int x2);
// "%.2f" of the value the ruler spans between rows y1 and y2.
QString RulerValueText(ValueRange range, int plotHeight, int y1, int y2);
// The time under column x: view start + span * (x - plot left) / plot width.
std::int64_t TimeAt(TimeRange view, const RdfEdges& plot, int x);
// "dd.mm.yyyy hh:mm:ss:mmm".
QString PointerTimeText(std::int64_t t);
// The value under row y, on the axis's scale (before any coefficient).
double ValueAt(ValueRange range, const RdfEdges& plot, int y);
// A row's read-out of the axis value v: "0" for a coefficient of 0, otherwise the value
// text of v / coefficient under the row's quantity, at most 15 characters.
QString RowReadout(const RdfRowDraw& row, double v, const CQuantityTable& table);

RdfOverlayModel Build(const CRdfPointer& pointer, const RdfEdges& plot, TimeRange view, ValueRange range,
                      std::span<const RdfRowDraw> rows, const CQuantityTable& table,
                      const RdfOverlayMetrics& metrics);
}  // namespace RdfOverlay
