#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <array>
#include <vector>

#include "rdf/RdfCurveBuilder.h"
#include "rdf/RdfGraphGeometry.h"
#include "rdf/ViewWindow.h"

class CRecordingSet;

// The printed page of the recorded-data graph: the sheet in printer pixels, the margins,
// and where the title, the file list, the legend, the comment and the graph go. Lengths
// are designed in pixels at 96 dots per inch and scaled to the printer's resolution; the
// curves come from the same builder as the screen's, at the printer's pixel columns.

// The paper as the held printer describes it.
struct RdfPaper {
    int widthTenths = 2100;   // paper width and length in tenths of a millimetre, portrait
    int lengthTenths = 2970;
    bool hasOrientation = true;  // the printer can turn the page
    bool landscape = false;
    int dpiX = 600;
    int dpiY = 600;

    // The sheet as printed, in tenths of a millimetre: width and length swapped in landscape
    // (never for a printer that cannot turn the page).
    QSize SheetTenths() const;
    // The same in printer pixels.
    QSize SheetPixels() const;
};

struct RdfPrintMargins {
    static constexpr int kMin = 0;
    static constexpr int kMax = 40;
    std::array<int, 4> percent{5, 5, 5, 5};  // top, right, bottom, left
    enum Side { Top, Right, Bottom, Left };

    // One click of a side's arrow: up raises while below the maximum, down lowers while above
    // the minimum; the value never leaves 0..40.
    static int Step(int value, bool up);
    // The sheet less the margins (edges: right and bottom are the first pixel outside).
    RdfEdges Apply(QSize sheet) const;
};

// Lengths of the 96-dpi design at the printer's resolution.
struct RdfPrintScale {
    double dpiX = 96.0;
    double dpiY = 96.0;
    int X(double pixels96) const { return int(pixels96 * dpiX / 96.0); }
    int Y(double pixels96) const { return int(pixels96 * dpiY / 96.0); }
    // A length that must stay visible, at least one pixel.
    int Pen(double pixels96) const;
};

enum class RdfPrintFont { Title, Files, Legend, Axis, Event };
// Character height at 96 dpi; the event font is bold.
int RdfPrintFontSize96(RdfPrintFont font);

// Measures text as the page will draw it; the windows give the font metrics.
class IRdfPrintMeasure {
public:
    virtual ~IRdfPrintMeasure() = default;
    virtual int LineHeight(RdfPrintFont font) const = 0;
    virtual int TextWidth(RdfPrintFont font, const QString& text) const = 0;
    // Height of the text word-wrapped within width pixels.
    virtual int WrappedHeight(RdfPrintFont font, const QString& text, int width) const = 0;
};

// Everything the page shows, taken from the recorded-data window when the page is rendered.
struct RdfPrintContent {
    const CRecordingSet* set = nullptr;
    std::array<RdfRowDraw, 6> rows{};
    std::array<QString, 6> seriesNames{};  // the selected source's name of every row
    TimeRange view;
    ValueRange range;
    int lineWidth = 1;   // display settings, as the screen uses them
    int markerSize = 2;
    bool dataMarkers = true;
    bool eventMarkers = true;
    QString title;           // RdfPrintTitle
    QString files;           // RdfPrintFileList
    QString legendCaption;   // the language's texts
    QString commentCaption;
    QString coefficientWord;
    QString eventText;
};

struct RdfLegendLine {
    int row = 0;        // 0..5; its marker shape too
    QPoint marker;      // centre
    int markerSize = 0;
    QRect box;          // the text, on one line cut with an ellipsis
    QString text;
};

struct RdfPrintPage {
    RdfPrintScale scale;
    RdfEdges margins;
    QRect titleBox;  // word-wrapped texts
    QString title;
    QRect filesBox;
    QString files;
    std::vector<RdfLegendLine> legend;
    QPoint legendCaption;   // top-left of the caption texts
    QPoint commentCaption;
    QRect commentBox;
    QString comment;
    RdfGraphModel graph;    // in printer pixels
    // Scaled lengths of the graph's drawing.
    int frameWidth = 1;
    int lineWidth = 1;
    int markerSize = 2;
    int tickLengthX = 5;
    int tickLengthY = 5;
    int timeLabelGap = 4;
    int eventHalfWidth = 6;
    int eventDepth = 6;
};

// " [word 1:r];" below 1, " [word c:1];" above, " [word 1:1];" at 1, and " [word 0:1];" for
// 0, which scales every value to nothing just as 0:1 says.
QString RdfCoefficientText(const QString& word, double coefficient);
// The title: the language's title format with the first file's device identifier and
// firmware; the file list: its caption, then " name;" for every file in set order.
QString RdfPrintTitle(const CRecordingSet& set);
QString RdfPrintFileList(const CRecordingSet& set);
// " %.1f " of a value: the wider of the maximum's and the minimum's sets the label room.
QString RdfPrintValueSample(double value);
// The two lines of a printed time label: "hh:mm:ss.mmm" and "dd.mm.yyyy".
QString RdfPrintTimeLine1(std::int64_t t);
QString RdfPrintTimeLine2(std::int64_t t);

// Where the preview shows the sheet: as large as fits in area with the sheet's aspect kept,
// centred. Empty for an empty sheet or area.
QRect RdfPreviewRect(const QRect& area, QSize sheet);
// The preview's margin lines: distances from the sheet's edges, in preview pixels.
RdfEdges RdfPreviewMarginLines(const QRect& sheet, const RdfPrintMargins& margins);

namespace RdfPrintLayout {
// The page for a margin rectangle at the given resolution. The curves and event marks are
// the curve builder's; walk chooses how it reads the records, as on screen.
RdfPrintPage Build(const RdfPrintContent& content, const QString& comment, const RdfEdges& margins,
                   RdfPrintScale scale, const IRdfPrintMeasure& measure,
                   RdfCurveWalk walk = RdfCurveWalk::Summaries);
}  // namespace RdfPrintLayout
