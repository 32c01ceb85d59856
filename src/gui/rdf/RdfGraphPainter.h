#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QRect>
#include <QString>
#include <array>
#include <span>

#include "rdf/RdfCurveBuilder.h"
#include "rdf/ViewWindow.h"

class CRecordingSet;
class QPainter;

// How the recorded-data graph is drawn: series colours, the display settings and the texts
// of the empty picture.
struct RdfGraphStyle {
    std::array<QColor, 6> seriesColors{};
    int lineWidth = 1;   // kept to 1..5 when drawn
    int markerSize = 2;  // kept to 2..6 when drawn
    bool dataMarkers = true;
    bool eventMarkers = true;
    double dpi = 96.0;   // font sizes are pixels at 96 dots per inch
    QString eventText;   // over every event mark
    QString infoTitle;   // under the empty picture
    QString webAddress;

    int LineWidth() const;
    int MarkerSize() const;
};

// Draws the recorded-data graph: the empty picture while nothing is open, otherwise what
// the curve builder computed, in the screen's colours. Draws onto any painter.
namespace RdfGraphPainter {

inline const QColor kBackground{0, 55, 0};
inline const QColor kAxis{157, 157, 157};
inline const QColor kEvent{251, 156, 0};

QFont AxisFont(double dpi);
QFont EventFont(double dpi);

// The measured size of the value labels' widest text, which sets the plot's left edge.
QSize ValueLabelSize(ValueRange range, double dpi);

void PaintEmpty(QPainter& p, const QRect& area, const RdfGraphStyle& style);
void PaintGraph(QPainter& p, const RdfGraphModel& model, const RdfGraphStyle& style);
// A filled marker of half-size c and shape 0..5 (circle, square, diamond, triangle,
// diagonal cross, four-pointed star) in the painter's brush, without outline.
void DrawMarker(QPainter& p, int x, int y, int c, int shape);

// Renders the graph of the set (the empty picture when set is null or not loaded) into the
// whole of buffer; returns the model drawn (empty geometry for the empty picture).
RdfGraphModel RenderGraph(QImage& buffer, const CRecordingSet* set, std::span<const RdfRowDraw> rows,
                          TimeRange view, ValueRange range, const RdfGraphStyle& style,
                          RdfCurveWalk walk = RdfCurveWalk::Summaries);

}  // namespace RdfGraphPainter
