#include "rdf/RdfCurveBuilder.h"

#include <algorithm>

#include "devsettings/QuantityTable.h"
#include "rdf/FileRdf.h"
#include "rdf/RdfSummary.h"
#include "rdf/RecordingSet.h"

namespace {

const CRdfSummary* UsableSummary(const CFileRdf& file) {
    const CRdfSummary* s = file.Summary();
    return s && s->TimeOrdered() && s->Count() == file.RecordCount() ? s : nullptr;
}

void WalkRecords(const CFileRdf& file, int slot, double scale, const RdfPlotMapping& m,
                 std::vector<QPoint>& out) {
    const RdfRecord* records = file.Records();
    const TimeRange view = m.View();
    bool started = false;
    int px = 0;
    int lowest = 0;   // the column's smallest row
    int highest = 0;  // and largest
    int inColumn = 0;
    for (std::uint32_t i = 0; i < file.RecordCount(); ++i) {
        const std::int64_t t = records[i].TimeMs();
        if (!view.Contains(t)) continue;
        const int x = m.X(t);
        const int y = m.Y(records[i].values[slot], scale);
        if (started && x == px) {
            lowest = std::min(lowest, y);
            highest = std::max(highest, y);
            ++inColumn;
            continue;
        }
        if (inColumn >= 2) {
            out.emplace_back(px, lowest);
            out.emplace_back(px, highest);
        }
        out.emplace_back(x, y);
        started = true;
        px = x;
        lowest = highest = y;
        inColumn = 1;
    }
    // The last column's stroke, too.
    if (inColumn >= 2) {
        out.emplace_back(px, lowest);
        out.emplace_back(px, highest);
    }
}

}  // namespace

namespace RdfCurveBuilder {

bool RecordsInView(const CFileRdf& file, TimeRange view, std::uint32_t& begin, std::uint32_t& end) {
    const CRdfSummary* s = UsableSummary(file);
    if (!s) return false;
    begin = s->LowerBound(view.start);
    end = view.end < view.start ? begin : std::max(begin, s->LowerBound(view.end + 1));
    return true;
}

bool FindColumns(const CFileRdf& file, const RdfPlotMapping& m, RdfColumnSpans& out) {
    out.column.clear();
    out.first.clear();
    std::uint32_t i = 0;
    std::uint32_t end = 0;
    const CRdfSummary* s = UsableSummary(file);
    if (!s || !RecordsInView(file, m.View(), i, end)) return false;
    out.end = end;
    const RdfRecord* records = file.Records();
    const std::int64_t viewEnd = m.View().end;
    while (i < end) {
        const int column = m.Column(records[i].TimeMs());
        out.column.push_back(column);
        out.first.push_back(i);
        const std::int64_t next = m.FirstTimeOfColumn(column + 1);
        i = next > viewEnd ? end : std::clamp(s->LowerBound(next), i + 1, end);
    }
    return true;
}

void BuildCurvesFromColumns(const CFileRdf& file, std::span<const int> slotIndexes, std::span<const double> scales,
                            const RdfPlotMapping& m, const RdfColumnSpans& columns,
                            std::span<std::vector<QPoint>* const> outs) {
    const CRdfSummary* s = file.Summary();
    if (!s) return;
    const RdfRecord* records = file.Records();
    const int left = m.Plot().left;
    const std::size_t n = columns.first.size();
    for (std::vector<QPoint>* out : outs) out->reserve(out->size() + 3 * n);
    // Column by column, every row: the records at a column's edges are read once for all.
    for (std::size_t k = 0; k < n; ++k) {
        const std::uint32_t i = columns.first[k];
        const std::uint32_t j = k + 1 < n ? columns.first[k + 1] : columns.end;
        const int x = left + columns.column[k];
        for (std::size_t r = 0; r < slotIndexes.size(); ++r) {
            const int slot = slotIndexes[r];
            const double scale = scales[r];
            std::vector<QPoint>& out = *outs[r];
            out.emplace_back(x, m.Y(records[i].values[slot], scale));
            std::int32_t low = 0;
            std::int32_t high = 0;
            // A larger raw value lies higher up, so the extremes of the column's rows are
            // those of its raw values swapped.
            if (j - i >= 2 && s->MinMax(slot, i, j, low, high)) {
                out.emplace_back(x, m.Y(high, scale));
                out.emplace_back(x, m.Y(low, scale));
            }
        }
    }
}

void BuildCurveFromColumns(const CFileRdf& file, int slot, double scale, const RdfPlotMapping& m,
                           const RdfColumnSpans& columns, std::vector<QPoint>& out) {
    if (slot < 0 || slot >= CFileRdf::SlotCount()) return;
    std::vector<QPoint>* outs[] = {&out};
    BuildCurvesFromColumns(file, std::span<const int>(&slot, 1), std::span<const double>(&scale, 1), m, columns, outs);
}

void BuildCurve(const CFileRdf& file, int slot, double scale, const RdfPlotMapping& m, std::vector<QPoint>& out,
                RdfCurveWalk walk) {
    if (slot < 0 || slot >= CFileRdf::SlotCount() || file.RecordCount() == 0) return;
    // The column extremes come from raw extremes only while a larger value is never lower.
    RdfColumnSpans columns;
    if (walk == RdfCurveWalk::Records || !(scale >= 0.0) || !FindColumns(file, m, columns)) {
        WalkRecords(file, slot, scale, m, out);
        return;
    }
    BuildCurveFromColumns(file, slot, scale, m, columns, out);
}

void BuildEventMarks(const CFileRdf& file, const RdfPlotMapping& m, std::vector<int>& out, RdfCurveWalk walk) {
    std::vector<std::uint32_t> starts;
    std::uint32_t begin = 0;
    std::uint32_t end = 0;
    const CRdfSummary* s = UsableSummary(file);
    if (walk == RdfCurveWalk::Summaries && s && RecordsInView(file, m.View(), begin, end))
        s->EventStarts(begin, end, starts);
    else
        starts = EventStartsInView(file, m.View());
    const RdfRecord* records = file.Records();
    for (std::uint32_t i : starts) out.push_back(m.X(records[i].TimeMs()));
}

RdfGraphModel BuildGraph(const CRecordingSet& set, std::span<const RdfRowDraw> rows, TimeRange view,
                         ValueRange range, const RdfEdges& area, int labelWidth, int labelHeight,
                         bool eventMarks, RdfCurveWalk walk) {
    RdfGraphModel model;
    model.geometry = RdfGraphLayout::Compute(area, view, range, labelWidth, labelHeight);
    BuildCurves(set, rows, eventMarks, walk, model);
    return model;
}

void BuildCurves(const CRecordingSet& set, std::span<const RdfRowDraw> rows, bool eventMarks, RdfCurveWalk walk,
                 RdfGraphModel& model) {
    if (!model.geometry.HasPlot()) return;
    const RdfPlotMapping& m = model.geometry.mapping;
    RdfColumnSpans columns;
    for (int f = 0; f < set.FileCount(); ++f) {
        const CFileRdf& file = set.File(f);
        const std::size_t firstCurve = model.curves.size();
        std::vector<int> slotIndexes;
        std::vector<double> scales;
        for (int r = 0; r < int(rows.size()); ++r) {
            const RdfRowDraw& row = rows[size_t(r)];
            if (!row.on) continue;
            const int slot = file.SlotOfSource(row.source);
            if (slot < 0) continue;
            RdfCurve curve;
            curve.row = r;
            curve.file = f;
            model.curves.push_back(std::move(curve));
            slotIndexes.push_back(slot);
            scales.push_back(row.coefficient / double(CQuantityTable::DivisorOf(row.source)));
        }
        const bool ordered = std::all_of(scales.begin(), scales.end(), [](double s) { return s >= 0.0; });
        if (walk == RdfCurveWalk::Summaries && ordered && !slotIndexes.empty() && FindColumns(file, m, columns)) {
            std::vector<std::vector<QPoint>*> outs;
            for (std::size_t c = firstCurve; c < model.curves.size(); ++c) outs.push_back(&model.curves[c].points);
            BuildCurvesFromColumns(file, slotIndexes, scales, m, columns, outs);
        } else {
            for (std::size_t k = 0; k < slotIndexes.size(); ++k)
                BuildCurve(file, slotIndexes[k], scales[k], m, model.curves[firstCurve + k].points, walk);
        }
        // A file with nothing in view draws no curves.
        model.curves.erase(std::remove_if(model.curves.begin() + std::ptrdiff_t(firstCurve), model.curves.end(),
                                          [](const RdfCurve& c) { return c.points.empty(); }),
                           model.curves.end());
    }
    if (eventMarks)
        for (int f = 0; f < set.FileCount(); ++f) BuildEventMarks(set.File(f), m, model.eventMarks, walk);
}

}  // namespace RdfCurveBuilder
