#include "rdf/RdfSeriesRows.h"

#include <algorithm>

#include "rdf/CalendarTime.h"
#include "rdf/FileRdf.h"
#include "rdf/RecordingSet.h"

void CRdfSeriesRows::Reset() {
    m_entries.clear();
    m_rows.fill(Row{});
}

std::vector<SourceCode> CRdfSeriesRows::Offer(const CFileRdf& file) {
    std::vector<SourceCode> added;
    for (int slot = 0; slot < CFileRdf::SlotCount(); ++slot) {
        const SourceCode code = file.SourceOfSlot(slot);
        if (code == kNoSource) continue;
        if (std::find(m_entries.begin(), m_entries.end(), code) != m_entries.end()) continue;
        m_entries.push_back(code);
        added.push_back(code);
    }
    return added;
}

void CRdfSeriesRows::SelectAfterOpen() {
    for (int i = 0; i < kRows; ++i) {
        Row& r = m_rows[size_t(i)];
        if (int(m_entries.size()) > i) {
            r.selection = i;
            r.on = true;
        }
        if (r.on) r.checkEnabled = true;
    }
}

SourceCode CRdfSeriesRows::SourceOf(int row) const {
    const int s = m_rows[size_t(row)].selection;
    return s >= 0 && s < int(m_entries.size()) ? m_entries[size_t(s)] : kNoSource;
}

std::array<RdfRowDraw, CRdfSeriesRows::kRows> CRdfSeriesRows::DrawRows() const {
    std::array<RdfRowDraw, kRows> rows{};
    for (int i = 0; i < kRows; ++i)
        rows[size_t(i)] = {m_rows[size_t(i)].on, SourceOf(i), m_rows[size_t(i)].coefficient};
    return rows;
}

std::array<SeriesSelection, CRdfSeriesRows::kRows> CRdfSeriesRows::Selections() const {
    std::array<SeriesSelection, kRows> rows{};
    for (int i = 0; i < kRows; ++i) rows[size_t(i)] = {m_rows[size_t(i)].on, SourceOf(i)};
    return rows;
}

namespace {
QString TimeLine(const QString& label, std::int64_t t) {
    const CalendarTime c = CalendarTime::FromMs(t);
    return label + QString::asprintf(" %02d.%02d.%04d %02d:%02d:%02d", c.day, c.month, c.year, c.hour,
                                     c.minute, c.second);
}
}  // namespace

QStringList RdfStatisticsLines(const CRecordingSet& set, const std::array<QString, 5>& labels) {
    QStringList lines;
    if (!set.IsLoaded()) {
        for (const QString& label : labels) lines << label + QStringLiteral(" 0");
        return lines;
    }
    lines << labels[0] + QLatin1Char(' ') + QString::number(set.FileCount());
    lines << labels[1] + QLatin1Char(' ') + QString::number(set.TotalRecords());
    lines << labels[2] + QLatin1Char(' ') + QString::number(set.TotalEvents());
    lines << TimeLine(labels[3], set.DataStart());
    lines << TimeLine(labels[4], set.DataEnd());
    return lines;
}

QString RdfWindowCaption(const QString& title, const CRecordingSet& set) {
    QString caption = title;
    for (const auto& f : set.Files()) caption += QStringLiteral(" [") + f->FileName() + QLatin1Char(']');
    return caption;
}

TimeRange RdfDataRange(const CRecordingSet& set) {
    TimeRange range{set.DataStart(), set.DataEnd()};
    if (range.end >= range.start) return range;
    range = {set.File(0).FirstTime(), set.File(0).LastTime()};
    for (const auto& f : set.Files()) {
        range.start = std::min({range.start, f->FirstTime(), f->LastTime()});
        range.end = std::max({range.end, f->FirstTime(), f->LastTime()});
    }
    return range;
}
