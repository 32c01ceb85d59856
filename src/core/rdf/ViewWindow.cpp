#include "rdf/ViewWindow.h"

#include <algorithm>
#include <limits>

#include "devsettings/QuantityTable.h"
#include "rdf/RdfSummary.h"
#include "rdf/RecordingSet.h"

namespace ViewWindow {

TimeRange ShiftLeft(TimeRange view, TimeRange data) {
    if (view.start <= data.start) return view;
    const std::int64_t span = view.Span();
    const std::int64_t step = span / 8;
    view.start -= step;
    view.end -= step;
    if (view.start < data.start) {
        view.start = data.start;
        view.end = view.start + span;
    }
    return view;
}

TimeRange ShiftRight(TimeRange view, TimeRange data) {
    if (view.end >= data.end) return view;
    const std::int64_t span = view.Span();
    const std::int64_t step = span / 8;
    view.start += step;
    view.end += step;
    if (view.end > data.end) {
        view.end = data.end;
        view.start = view.end - span;
    }
    return view;
}

TimeRange ZoomIn(TimeRange view) {
    const std::int64_t span = view.Span();
    if (span <= kMinViewSpanMs) return view;
    const std::int64_t excess = span - kMinViewSpanMs;
    if (excess < 50) {
        const std::int64_t middle = view.start + excess / 2 + kMinViewSpanMs / 2;
        return {middle - kMinViewSpanMs / 2, middle + kMinViewSpanMs / 2};
    }
    const std::int64_t quarter = excess / 4;
    return {view.start + quarter, view.end - quarter};
}

TimeRange ZoomOut(TimeRange view, TimeRange data) {
    if (view == data) return view;
    const std::int64_t half = view.Span() / 2;
    view.start = std::max(view.start - half, data.start);
    view.end = std::min(view.end + half, data.end);
    return view;
}

TimeRange ZoomToSelection(TimeRange view, int plotLeft, int plotWidth, int x1, int x2) {
    if (plotWidth <= 0 || x1 == x2) return view;
    const auto timeAt = [&](int x) {
        return view.start + view.Span() * std::int64_t(x - plotLeft) / plotWidth;
    };
    const std::int64_t left = timeAt(std::min(x1, x2));
    const std::int64_t right = timeAt(std::max(x1, x2));
    if (right - left < kMinViewSpanMs) {
        const std::int64_t d = (kMinViewSpanMs - (right - left)) / 2;
        return {left - d, right + d};
    }
    return {left, right};
}

}  // namespace ViewWindow

ViewCommandState ViewCommandAvailability(bool loaded, int fileCount, TimeRange view, TimeRange data,
                                         bool selectionMode, bool rulerMode) {
    ViewCommandState s;
    const bool free = loaded && !selectionMode && !rulerMode;
    s.closeFile = fileCount > 0;
    s.printExport = loaded;
    s.shiftLeft = loaded && view.start > data.start;
    s.shiftRight = loaded && view.end < data.end;
    s.zoomIn = free && view.Span() > kMinViewSpanMs;
    s.zoomOut = free && view != data;
    s.wholeRange = free;
    s.zoomBySelection = loaded && !rulerMode;
    s.ruler = loaded && !selectionMode;
    return s;
}

ValueRange ComputeValueRange(const CRecordingSet& set, std::span<const SeriesSelection> rows) {
    ValueRange range;
    for (const auto& file : set.Files()) {
        for (const SeriesSelection& row : rows) {
            if (!row.on) continue;
            const int slot = file->SlotOfSource(row.source);
            if (slot < 0) continue;
            // The divisor is positive, so the extremes of the raw values give those of the
            // values.
            if (file->RecordCount() == 0) continue;
            std::int32_t high = std::numeric_limits<std::int32_t>::min();
            std::int32_t low = std::numeric_limits<std::int32_t>::max();
            const CRdfSummary* summary = file->Summary();
            if (!summary || !summary->MinMax(slot, 0, file->RecordCount(), low, high)) {
                const RdfRecord* records = file->Records();
                for (std::uint32_t i = 0; i < file->RecordCount(); ++i) {
                    const std::int32_t v = records[i].values[slot];
                    high = std::max(high, v);
                    low = std::min(low, v);
                }
            }
            const double divisor = CQuantityTable::DivisorOf(row.source);
            range.maximum = std::max(range.maximum, double(high) / divisor);
            range.minimum = std::min(range.minimum, double(low) / divisor);
        }
    }
    const double margin = (range.maximum - range.minimum) * 2 / 100;
    range.maximum += margin;
    range.minimum -= margin;
    return range;
}

std::vector<std::uint32_t> EventStartsInView(const CFileRdf& file, TimeRange view) {
    std::vector<std::uint32_t> starts;
    EventStartTracker tracker;
    const RdfRecord* records = file.Records();
    for (std::uint32_t i = 0; i < file.RecordCount(); ++i) {
        if (!view.Contains(records[i].TimeMs())) continue;
        if (tracker.Step(records[i].kind)) starts.push_back(i);
    }
    return starts;
}
