#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "rdf/RdfFormat.h"

// What the graph needs to know about a file's records without walking them: for every used
// slot the smallest and largest raw value of each block of records, at several block sizes
// (a min/max pyramid), the times at the block starts for finding records by time, and where
// events start. Built once while the file is opened; read-only afterwards, so any thread may
// read it. It refers to the records of its file and lives no longer than they do.
//
// The answers are exact, never thinned: a range query takes the exact records at its edges
// and only whole blocks from the summaries.
class CRdfSummary {
public:
    // Records per pyramid step.
    static constexpr std::uint32_t kFanout = 8;

    // Summarises count records whose slots are those of header. Empty (nullptr) when the
    // memory cannot be had or cancel is set meanwhile.
    static std::unique_ptr<CRdfSummary> Build(const RdfRecord* records, std::uint32_t count,
                                              const RdfHeader& header,
                                              const std::atomic<bool>* cancel = nullptr);

    // True when record times never go back; only then do the time searches below apply.
    bool TimeOrdered() const { return m_timeOrdered; }
    std::uint32_t Count() const { return m_count; }
    std::uint32_t BlockSize() const { return m_blockSize; }

    // The first record whose time is at least t (Count() when none). Needs TimeOrdered().
    std::uint32_t LowerBound(std::int64_t t) const;
    // Smallest and largest raw value of slot over records [begin, end); false when the slot
    // holds no source or the range is empty.
    bool MinMax(int slot, std::uint32_t begin, std::uint32_t end, std::int32_t& low, std::int32_t& high) const;
    // The records of [begin, end) that start an event when a walk starts at begin (see
    // EventStartTracker), in order, appended to out.
    void EventStarts(std::uint32_t begin, std::uint32_t end, std::vector<std::uint32_t>& out) const;

    // Bytes held by the summaries.
    std::size_t MemoryBytes() const;

private:
    friend class CRdfSummaryBuilder;
    struct Extremes {
        std::int32_t low;
        std::int32_t high;
    };

    CRdfSummary() = default;
    static bool IsActive(const RdfRecord& r) { return (r.kind & kRdfEventActiveMask) != 0; }

    const RdfRecord* m_records = nullptr;
    std::uint32_t m_count = 0;
    std::uint32_t m_blockSize = 16;
    bool m_timeOrdered = true;
    int m_slotIndex[kRdfSlotCount];  // among the used slots, -1 for an unused slot
    int m_usedSlots = 0;
    // The extremes of every used slot per block: level 0 of BlockSize() records, each next
    // level kFanout blocks of the one below. A block's used slots lie side by side, so the
    // rows of a graph, read together, share cache lines.
    std::vector<std::vector<Extremes>> m_levels;
    std::vector<std::int64_t> m_blockTimes;  // time of the first record of every level-0 block
    // Records that start an event in a walk from the first record.
    std::vector<std::uint32_t> m_eventStarts;
};

// Builds a summary while the records arrive (as a file is read), so that each block is
// summarised while it is still in the cache: Start once the header is known, Add as records
// become final, Finish with the final count. The records must stay where they are.
class CRdfSummaryBuilder {
public:
    // Room for up to capacity records of this header; false when the memory cannot be had.
    bool Start(const RdfRecord* records, std::uint32_t capacity, const RdfHeader& header);
    // Records [0, upTo) are final.
    void Add(std::uint32_t upTo);
    // The summary of the first count records (count <= what was added is fine, more is
    // read now); empty when Start failed or the memory cannot be had.
    std::unique_ptr<CRdfSummary> Finish(std::uint32_t count);

private:
    void SummariseBlocks(std::uint32_t fromBlock, std::uint32_t toBlock, std::uint32_t count);

    std::unique_ptr<CRdfSummary> m_summary;
    int m_used[kRdfSlotCount] = {};
    int m_usedCount = 0;
    std::uint32_t m_capacity = 0;
    std::uint32_t m_blocksDone = 0;
    std::int64_t m_previousTime = 0;
    bool m_previousActive = false;
    bool m_failed = false;
};
