#pragma once

#include <QString>
#include <atomic>
#include <cstdint>
#include <functional>
#include <vector>

#include "devsettings/QuantityTable.h"
#include "rdf/ViewWindow.h"

class CRecordingSet;

struct CsvExportOptions {
    const std::atomic<bool>* cancel = nullptr;
    // Called now and then on the exporting thread with the records walked so far and the
    // records of the set.
    std::function<void(std::uint64_t done, std::uint64_t total)> progress;
};

struct CsvExportResult {
    bool ok = false;
    bool cancelled = false;
    QString error;          // why it failed, from the system
    std::uint64_t rows = 0;  // data rows written
};

// Writes the records of every file of the set that lie inside the view (both ends
// included) as semicolon-separated UTF-8 text: a header row with the date and time
// captions and one column per distinct recorded source (first appearance over the files in
// set order), then one row per record, files one after another in set order. A file that
// does not record a column's source writes "null;" there. The file appears under its name
// only once written whole and synced; a failed or cancelled export leaves any earlier file
// of that name as it was.
CsvExportResult ExportCsv(const CRecordingSet& set, TimeRange view, const CQuantityTable& table,
                          const QString& path, const CsvExportOptions& options = {});

// The name an export proposes for a view starting at this time: "DDMMYYYY@HHMMSS".
QString DefaultCsvFileName(std::int64_t viewStartMs);
