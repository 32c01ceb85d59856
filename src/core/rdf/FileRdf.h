#pragma once

#include <QString>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

#include "rdf/RdfFormat.h"
#include "rdf/RecordStore.h"

#include "rdf/RdfSummary.h"

// Why an open failed; the analysis window shows one message for all of them, the command
// line tool names the reason.
enum class RdfOpenError {
    None,
    NotFound,        // empty path or no such file
    CannotOpen,      // no permission, ...
    NotRegularFile,  // a folder, a device or a pipe
    TooShort,        // shorter than the header
    BadMagic,
    BadVersion,
    BadRecordSize,
    NoRecords,       // no whole record after the data offset
    TooLarge,        // more records than a 32-bit byte count can hold
    OutOfMemory,
    ReadError,
    Cancelled,
};

// A short English description of an open error, for logs and the command line tool.
const char* RdfOpenErrorText(RdfOpenError error);

// Lets a caller on another thread follow and stop an open in progress.
struct RdfOpenControl {
    const std::atomic<bool>* cancel = nullptr;
    // Called on the opening thread with the bytes read so far and the bytes to read.
    std::function<void(std::uint64_t done, std::uint64_t total)> progress;
    // Also summarise the records for the graph (see CFileRdf::Summary), as they are read.
    bool summarise = false;
};

// One recorded-data file, read whole and kept in memory with its data and event records
// merged into one time-ordered sequence, in which an event record replaces the data record
// of the same millisecond. The object only reads; any bytes at all are either refused or
// read without reaching outside the file.
class CFileRdf {
public:
    CFileRdf() = default;
    virtual ~CFileRdf();
    CFileRdf(const CFileRdf&) = delete;
    CFileRdf& operator=(const CFileRdf&) = delete;

    // Reads and checks the file; on any failure the object is left empty and false is
    // returned, with the reason in LastError().
    bool Open(const QString& path, const RdfOpenControl* control = nullptr);
    void Close();
    // Reads and checks only the header of a file, as Open does first; None when it passes.
    static RdfOpenError ReadHeader(const QString& path, RdfHeader& header);

    bool IsLoaded() const { return m_loaded; }
    RdfOpenError LastError() const { return m_error; }

    const QString& FileName() const { return m_fileName; }  // last path component
    const QString& FullPath() const { return m_fullPath; }   // as given to Open
    const RdfHeader* Header() const { return m_header ? &*m_header : nullptr; }
    const RdfRecord* Records() const { return m_store.Data(); }
    std::uint32_t RecordCount() const { return m_recordCount; }
    // Event starts among the event records (see EventStartTracker).
    std::uint32_t EventCount() const { return m_eventCount; }
    std::uint64_t OrderingKey() const { return m_header ? m_header->OrderingKey() : 0; }
    static constexpr int SlotCount() { return kRdfSlotCount; }
    // Code of slot i; kNoSource when not loaded or i is outside 0..19.
    SourceCode SourceOfSlot(int i) const;
    // Times of the first and the last record in milliseconds; 0 when not loaded.
    std::int64_t FirstTime() const;
    std::int64_t LastTime() const;

    // The lowest slot holding code, or -1 (always -1 for the no-source code).
    int SlotOfSource(SourceCode code) const;

    // Summarises the loaded records for the graph (see CRdfSummary); false when there is
    // nothing to summarise, the memory cannot be had or cancel is set. Without a summary
    // the file is still complete: whoever reads it walks the records instead.
    bool BuildSummary(const std::atomic<bool>* cancel = nullptr);
    const CRdfSummary* Summary() const { return m_summary.get(); }

private:
    RdfOpenError Load(const QString& path, const RdfOpenControl* control);
    // identity: every record stayed where it was read.
    bool Merge(std::size_t count, bool& identity);

    bool m_loaded = false;
    RdfOpenError m_error = RdfOpenError::None;
    QString m_fileName;
    QString m_fullPath;
    std::optional<RdfHeader> m_header;
    CRecordStore m_store;
    std::uint32_t m_recordCount = 0;
    std::uint32_t m_eventCount = 0;
    std::unique_ptr<CRdfSummary> m_summary;  // refers to m_store's records
};
