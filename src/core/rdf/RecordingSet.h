#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "devsettings/SourceCode.h"
#include "rdf/FileRdf.h"

// What became of a file offered to a recording set.
enum class RdfAddResult {
    Added,
    NotLoaded,      // the file object holds no file
    AlreadyLoaded,  // its whole header equals that of a file in the set
    Incompatible,   // another device or firmware than the set's first file
};

// Whether a file of this header may join files of the given headers: not when one of them
// has the same 104 bytes, nor when they are of another device or firmware. (Every file of a
// set agrees with the first one, so any of them stands for the set.)
RdfAddResult CheckRdfHeader(const RdfHeader& header, std::span<const RdfHeader> open);

// The open recorded-data files of one device, treated as one time series: kept in
// ascending order of their ordering key (a file joins after those with an equal key), with
// totals, the covered time span and the recorded sources. Owns its files. Not thread-safe:
// one thread (the analysis window's) owns the set; files are opened elsewhere and handed in.
class CRecordingSet {
public:
    CRecordingSet() = default;
    CRecordingSet(const CRecordingSet&) = delete;
    CRecordingSet& operator=(const CRecordingSet&) = delete;

    // What Add would answer, and where the file would go, without adding it.
    RdfAddResult Check(const CFileRdf& file, int* insertAt = nullptr) const;
    // Adds a loaded file when the set's rules allow; a refused file is closed and freed.
    // index receives the file's position in the set.
    RdfAddResult Add(std::unique_ptr<CFileRdf> file, int* index = nullptr);
    // The headers of the files in set order.
    std::vector<RdfHeader> Headers() const;
    // Closes and frees every file.
    void Reset();

    bool IsLoaded() const { return !m_files.empty(); }
    int FileCount() const { return int(m_files.size()); }
    const CFileRdf& File(int i) const { return *m_files[size_t(i)]; }
    std::span<const std::unique_ptr<CFileRdf>> Files() const { return m_files; }

    std::uint64_t TotalRecords() const;
    std::uint64_t TotalEvents() const;
    // First record of the first file and last record of the last file; 0 when empty.
    std::int64_t DataStart() const;
    std::int64_t DataEnd() const;

    // Every recorded source once, in order of first appearance over the files in the order
    // they were added and their slots in slot order; unused slots left out. This is the
    // order in which the series rows offer the sources.
    const std::vector<SourceCode>& OfferedSources() const { return m_offered; }
    // The same over the files in set order: the columns of an export.
    std::vector<SourceCode> SourcesInSetOrder() const;

private:
    std::vector<std::unique_ptr<CFileRdf>> m_files;
    std::vector<SourceCode> m_offered;
};
