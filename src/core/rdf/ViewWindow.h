#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "devsettings/SourceCode.h"

class CFileRdf;
class CRecordingSet;

// A span of recorded time in milliseconds since 1980-01-01, both ends included.
struct TimeRange {
    std::int64_t start = 0;
    std::int64_t end = 0;

    std::int64_t Span() const { return end - start; }
    bool Contains(std::int64_t t) const { return start <= t && t <= end; }
    bool operator==(const TimeRange&) const = default;
};

// The shortest view the zoom commands narrow down to.
inline constexpr std::int64_t kMinViewSpanMs = 100;

// Moves of the view window over the data range. Each returns the new view; a command that
// does not apply returns the view unchanged.
namespace ViewWindow {
// Step an eighth of the span towards the data start (or end), stopping there.
TimeRange ShiftLeft(TimeRange view, TimeRange data);
TimeRange ShiftRight(TimeRange view, TimeRange data);
// Half the view's span down to 100 ms around its middle.
TimeRange ZoomIn(TimeRange view);
// Twice the span, each end held within the data range.
TimeRange ZoomOut(TimeRange view, TimeRange data);
// The times under two pointer columns of a plot starting at plotLeft, plotWidth pixels
// wide; a selection shorter than 100 ms widens evenly to 100 ms. Equal columns or an
// empty plot change nothing.
TimeRange ZoomToSelection(TimeRange view, int plotLeft, int plotWidth, int x1, int x2);
}  // namespace ViewWindow

// Which view commands can run now.
struct ViewCommandState {
    bool closeFile = false;
    bool printExport = false;
    bool shiftLeft = false;
    bool shiftRight = false;
    bool zoomIn = false;
    bool zoomOut = false;
    bool wholeRange = false;
    bool zoomBySelection = false;
    bool ruler = false;
};

ViewCommandState ViewCommandAvailability(bool loaded, int fileCount, TimeRange view, TimeRange data,
                                         bool selectionMode, bool rulerMode);

// A series row as far as the value range cares.
struct SeriesSelection {
    bool on = false;
    SourceCode source = kNoSource;
};

struct ValueRange {
    double maximum = 1.0;
    double minimum = 0.0;
    bool operator==(const ValueRange&) const = default;
};

// The value axis range: 0..1 widened to every value (raw / divisor, no coefficient) of every
// record of every file for the rows that are on, then 2 % more at each end. It covers all
// records, not only the view, so it stays put while zooming.
ValueRange ComputeValueRange(const CRecordingSet& set, std::span<const SeriesSelection> rows);

// Indexes of the records of a file inside the view that start an event, as the graph marks
// them: every record takes part (a data record ends a condition), records outside the view
// are skipped without changing the state, and each file starts afresh.
std::vector<std::uint32_t> EventStartsInView(const CFileRdf& file, TimeRange view);
