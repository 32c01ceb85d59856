#pragma once

#include <QString>
#include <QStringList>
#include <array>
#include <vector>

#include "devsettings/SourceCode.h"
#include "rdf/RdfCurveBuilder.h"
#include "rdf/ViewWindow.h"

class CFileRdf;
class CRecordingSet;

// The state of the six series rows of the recorded-data window and the rules that keep it:
// one list of offered sources shared by all rows, entry i in row i after every open, a
// row's controls usable only while it is on, and the reset. The window shows this state
// and hands every user action to it.
class CRdfSeriesRows {
public:
    static constexpr int kRows = 6;

    struct Row {
        bool on = false;
        bool checkEnabled = false;  // the check box; list, coefficient and swatch follow `on`
        int selection = -1;         // entry of the shared list, -1 for none
        double coefficient = 1.0;
    };

    CRdfSeriesRows() { Reset(); }

    // Lists emptied, every row off with its check box disabled and coefficient 1.0.
    void Reset();
    // Appends the file's slot codes in slot order, leaving out unused slots and codes already
    // listed; the entries it added.
    std::vector<SourceCode> Offer(const CFileRdf& file);
    // After an open: row i selects entry i and is switched on where the list is long enough;
    // every row that is on gets its check box enabled. Coefficients stay.
    void SelectAfterOpen();

    const std::vector<SourceCode>& Entries() const { return m_entries; }
    const Row& At(int row) const { return m_rows[size_t(row)]; }
    Row& At(int row) { return m_rows[size_t(row)]; }
    // The source a row shows (kNoSource without a selection).
    SourceCode SourceOf(int row) const;

    std::array<RdfRowDraw, kRows> DrawRows() const;
    std::array<SeriesSelection, kRows> Selections() const;

private:
    std::vector<SourceCode> m_entries;
    std::array<Row, kRows> m_rows{};
};

// The statistics panel's five lines (open files, records, events, start, end) after the
// given labels; a set that is not loaded shows "<label> 0" on every line.
QStringList RdfStatisticsLines(const CRecordingSet& set, const std::array<QString, 5>& labels);

// The window caption: the title, then " [name]" for every file in set order.
QString RdfWindowCaption(const QString& title, const CRecordingSet& set);

// The data range of a set for drawing and moving the view: from the first record of the
// first file to the last record of the last file. When the files' ordering keys disagree
// with their times, so that this range would run backwards, it covers every file's records
// instead, so that no view ever has a negative span.
TimeRange RdfDataRange(const CRecordingSet& set);
