#pragma once

#include <QPoint>
#include <cstdint>
#include <span>
#include <vector>

#include "devsettings/SourceCode.h"
#include "rdf/RdfGraphGeometry.h"

class CFileRdf;
class CRecordingSet;

// A series row as the graph draws it.
struct RdfRowDraw {
    bool on = false;
    SourceCode source = kNoSource;
    double coefficient = 1.0;  // 0..10000
};

// One file's line of one row: the points to join in order. Within a pixel column the line
// goes to the column's first point, then down to its smallest and up to its largest row
// value when more than one record falls there, so a column holds at most one vertical
// stroke however many records it covers. Every point starts or ends a drawn segment (and
// carries a data marker) when there are at least two.
struct RdfCurve {
    int row = 0;
    int file = 0;
    std::vector<QPoint> points;
};

// Everything the graph of a loaded set draws, in drawing order.
struct RdfGraphModel {
    RdfGraphGeometry geometry;
    std::vector<RdfCurve> curves;   // file by file, row by row within a file
    std::vector<int> eventMarks;    // x of every event start in view, file by file
};

// How the records in view are read.
enum class RdfCurveWalk {
    Summaries,  // the file's summaries and only the records at column edges (falls back to
                // Records for a file without summaries or whose times go back)
    Records,    // every record in view, one after the other
};

// The pixel columns a file's records in view fall into: column[k] holds the records
// [first[k], first[k + 1]) (the last up to end). Found once per file and view, shared by
// every row drawn from the file.
struct RdfColumnSpans {
    std::vector<int> column;
    std::vector<std::uint32_t> first;
    std::uint32_t end = 0;
};

namespace RdfCurveBuilder {

// The columns of the file's records in view, from its summaries; false for a file without
// usable summaries (no summaries, or times that go back).
bool FindColumns(const CFileRdf& file, const RdfPlotMapping& mapping, RdfColumnSpans& out);
// The curves of several slotIndexes at once (each with its scale >= 0) from columns found for the
// same file and mapping, appended to outs[i].
void BuildCurvesFromColumns(const CFileRdf& file, std::span<const int> slotIndexes, std::span<const double> scales,
                            const RdfPlotMapping& mapping, const RdfColumnSpans& columns,
                            std::span<std::vector<QPoint>* const> outs);
// The curve of one slot from such columns.
void BuildCurveFromColumns(const CFileRdf& file, int slot, double scale, const RdfPlotMapping& mapping,
                           const RdfColumnSpans& columns, std::vector<QPoint>& out);

// The line of the slot's values times scale (>= 0) over the view, appended to out.
void BuildCurve(const CFileRdf& file, int slot, double scale, const RdfPlotMapping& mapping,
                std::vector<QPoint>& out, RdfCurveWalk walk = RdfCurveWalk::Summaries);

// The x of every event start of the file within the view (see EventStartsInView).
void BuildEventMarks(const CFileRdf& file, const RdfPlotMapping& mapping, std::vector<int>& out,
                     RdfCurveWalk walk = RdfCurveWalk::Summaries);

// The records of a file inside the view, [begin, end), for a file whose times never go
// back; false otherwise.
bool RecordsInView(const CFileRdf& file, TimeRange view, std::uint32_t& begin, std::uint32_t& end);

// The whole graph of a set: geometry for the area (labelWidth and labelHeight as for
// RdfGraphLayout::Compute), then the curves of every row that is on, file by file, and
// the event marks when asked for.
RdfGraphModel BuildGraph(const CRecordingSet& set, std::span<const RdfRowDraw> rows, TimeRange view,
                         ValueRange range, const RdfEdges& area, int labelWidth, int labelHeight,
                         bool eventMarks, RdfCurveWalk walk = RdfCurveWalk::Summaries);
// The curves and event marks of the set over the geometry already in model (the printed
// page lays out its own), appended to model.
void BuildCurves(const CRecordingSet& set, std::span<const RdfRowDraw> rows, bool eventMarks, RdfCurveWalk walk,
                 RdfGraphModel& model);

}  // namespace RdfCurveBuilder
