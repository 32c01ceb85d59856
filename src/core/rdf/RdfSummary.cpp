#include "rdf/RdfSummary.h"

#include <algorithm>
#include <limits>
#include <new>

namespace {
constexpr std::int32_t kNoLow = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t kNoHigh = std::numeric_limits<std::int32_t>::min();

bool Cancelled(const std::atomic<bool>* cancel) { return cancel && cancel->load(std::memory_order_relaxed); }
}  // namespace

std::unique_ptr<CRdfSummary> CRdfSummary::Build(const RdfRecord* records, std::uint32_t count,
                                                const RdfHeader& header, const std::atomic<bool>* cancel) {
    CRdfSummaryBuilder builder;
    if (!builder.Start(records, count, header)) return nullptr;
    // In steps, so that a cancel is seen while a large file is summarised.
    constexpr std::uint32_t kStep = std::uint32_t(1) << 20;
    for (std::uint32_t done = 0; done < count;) {
        if (Cancelled(cancel)) return nullptr;
        done = count - done > kStep ? done + kStep : count;
        builder.Add(done);
    }
    return builder.Finish(count);
}

bool CRdfSummaryBuilder::Start(const RdfRecord* records, std::uint32_t capacity, const RdfHeader& header) {
    m_summary.reset(new (std::nothrow) CRdfSummary);
    m_failed = !m_summary;
    if (m_failed) return false;
    CRdfSummary& s = *m_summary;
    s.m_records = records;
    m_capacity = capacity;
    m_usedCount = 0;
    for (int slot = 0; slot < kRdfSlotCount; ++slot) {
        s.m_slotIndex[slot] = -1;
        if (header.Slot(slot) == kNoSource) continue;
        s.m_slotIndex[slot] = m_usedCount;
        m_used[m_usedCount++] = slot;
    }
    // A file that fills every slot gets coarser blocks, so the summaries stay below a tenth
    // of the records' own size either way.
    s.m_blockSize = m_usedCount <= 10 ? 16 : 32;
    const std::uint32_t blocks = (capacity + s.m_blockSize - 1) / s.m_blockSize;
    try {
        s.m_usedSlots = m_usedCount;
        s.m_levels.clear();
        s.m_levels.emplace_back(std::size_t(blocks) * std::size_t(m_usedCount));
        s.m_blockTimes.resize(blocks);
    } catch (const std::bad_alloc&) {
        m_summary.reset();
        m_failed = true;
        return false;
    }
    m_blocksDone = 0;
    m_previousTime = std::numeric_limits<std::int64_t>::min();
    m_previousActive = false;
    return true;
}

void CRdfSummaryBuilder::SummariseBlocks(std::uint32_t fromBlock, std::uint32_t toBlock, std::uint32_t count) {
    CRdfSummary& s = *m_summary;
    const RdfRecord* records = s.m_records;
    const std::uint32_t block = s.m_blockSize;
    for (std::uint32_t b = fromBlock; b < toBlock; ++b) {
        const std::uint32_t first = b * block;
        const std::uint32_t last = std::min(count, first + block);
        s.m_blockTimes[b] = records[first].TimeMs();
        for (std::uint32_t i = first; i < last; ++i) {
            const std::int64_t t = records[i].TimeMs();
            if (t < m_previousTime) s.m_timeOrdered = false;
            m_previousTime = t;
            const bool active = CRdfSummary::IsActive(records[i]);
            if (active && !m_previousActive) s.m_eventStarts.push_back(i);
            m_previousActive = active;
        }
        for (int u = 0; u < m_usedCount; ++u) {
            const int slot = m_used[u];
            std::int32_t low = kNoLow;
            std::int32_t high = kNoHigh;
            for (std::uint32_t i = first; i < last; ++i) {
                const std::int32_t v = records[i].values[slot];
                low = std::min(low, v);
                high = std::max(high, v);
            }
            s.m_levels[0][std::size_t(b) * std::size_t(m_usedCount) + std::size_t(u)] = {low, high};
        }
    }
}

void CRdfSummaryBuilder::Add(std::uint32_t upTo) {
    if (m_failed || !m_summary) return;
    upTo = std::min(upTo, m_capacity);
    const std::uint32_t whole = upTo / m_summary->m_blockSize;
    if (whole <= m_blocksDone) return;
    try {
        SummariseBlocks(m_blocksDone, whole, upTo);
    } catch (const std::bad_alloc&) {
        m_failed = true;
        return;
    }
    m_blocksDone = whole;
}

std::unique_ptr<CRdfSummary> CRdfSummaryBuilder::Finish(std::uint32_t count) {
    if (m_failed || !m_summary || count == 0 || count > m_capacity) return nullptr;
    CRdfSummary& s = *m_summary;
    const std::uint32_t blocks = (count + s.m_blockSize - 1) / s.m_blockSize;
    try {
        // Records added beyond the final count (a file that got shorter): the caller starts
        // afresh.
        if (std::uint64_t(m_blocksDone) * s.m_blockSize > count) return nullptr;
        SummariseBlocks(m_blocksDone, blocks, count);
        m_blocksDone = blocks;
        CRdfSummary& done = *m_summary;
        done.m_count = count;
        done.m_blockTimes.resize(blocks);
        done.m_blockTimes.shrink_to_fit();
        while (!done.m_eventStarts.empty() && done.m_eventStarts.back() >= count) done.m_eventStarts.pop_back();
        done.m_eventStarts.shrink_to_fit();
        const std::size_t used = std::size_t(m_usedCount);
        auto& levels = done.m_levels;
        levels[0].resize(std::size_t(blocks) * used);
        levels[0].shrink_to_fit();
        std::size_t count = blocks;  // blocks of the level below
        while (used > 0 && count > 1) {
            const std::vector<CRdfSummary::Extremes>& below = levels.back();
            const std::size_t upper = (count + CRdfSummary::kFanout - 1) / CRdfSummary::kFanout;
            std::vector<CRdfSummary::Extremes> level(upper * used);
            for (std::size_t k = 0; k < upper; ++k) {
                const std::size_t end = std::min(count, (k + 1) * CRdfSummary::kFanout);
                for (std::size_t u = 0; u < used; ++u) {
                    CRdfSummary::Extremes e{kNoLow, kNoHigh};
                    for (std::size_t j = k * CRdfSummary::kFanout; j < end; ++j) {
                        e.low = std::min(e.low, below[j * used + u].low);
                        e.high = std::max(e.high, below[j * used + u].high);
                    }
                    level[k * used + u] = e;
                }
            }
            levels.push_back(std::move(level));
            count = upper;
        }
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
    return std::move(m_summary);
}

std::uint32_t CRdfSummary::LowerBound(std::int64_t t) const {
    // The block times narrow the search to one block before any record is touched.
    const auto it = std::lower_bound(m_blockTimes.begin(), m_blockTimes.end(), t);
    const std::uint32_t k = std::uint32_t(it - m_blockTimes.begin());
    if (k == 0) return 0;
    std::uint32_t lo = (k - 1) * m_blockSize + 1;  // record (k-1)*block is earlier than t
    std::uint32_t hi = std::min(m_count, k * m_blockSize);
    while (lo < hi) {
        const std::uint32_t mid = lo + (hi - lo) / 2;
        if (m_records[mid].TimeMs() < t)
            lo = mid + 1;
        else
            hi = mid;
    }
    return lo;
}

bool CRdfSummary::MinMax(int slot, std::uint32_t begin, std::uint32_t end, std::int32_t& low,
                         std::int32_t& high) const {
    if (slot < 0 || slot >= kRdfSlotCount || m_slotIndex[slot] < 0) return false;
    end = std::min(end, m_count);
    if (begin >= end) return false;
    low = kNoLow;
    high = kNoHigh;
    const auto take = [&](std::int32_t lo, std::int32_t hi) {
        low = std::min(low, lo);
        high = std::max(high, hi);
    };
    // Exact records up to the first and from the last block boundary.
    std::uint32_t i = begin;
    std::uint32_t j = end;
    while (i < j && i % m_blockSize != 0) {
        const std::int32_t v = m_records[i++].values[slot];
        take(v, v);
    }
    while (j > i && j % m_blockSize != 0) {
        const std::int32_t v = m_records[--j].values[slot];
        take(v, v);
    }
    // Whole blocks, climbing while the ends line up with the next level's blocks.
    const std::size_t used = std::size_t(m_usedSlots);
    const std::size_t u = std::size_t(m_slotIndex[slot]);
    std::size_t bi = i / m_blockSize;
    std::size_t bj = j / m_blockSize;
    for (std::size_t l = 0; l < m_levels.size() && bi < bj; ++l) {
        const Extremes* level = m_levels[l].data() + u;
        const bool top = l + 1 == m_levels.size();
        while (bi < bj && (top || bi % kFanout != 0)) {
            take(level[bi * used].low, level[bi * used].high);
            ++bi;
        }
        while (bj > bi && bj % kFanout != 0) {
            --bj;
            take(level[bj * used].low, level[bj * used].high);
        }
        bi /= kFanout;
        bj /= kFanout;
    }
    return true;
}

void CRdfSummary::EventStarts(std::uint32_t begin, std::uint32_t end, std::vector<std::uint32_t>& out) const {
    end = std::min(end, m_count);
    if (begin >= end) return;
    // A walk that starts at begin sees no earlier record: an active first record starts.
    if (IsActive(m_records[begin])) out.push_back(begin);
    auto it = std::upper_bound(m_eventStarts.begin(), m_eventStarts.end(), begin);
    for (; it != m_eventStarts.end() && *it < end; ++it) out.push_back(*it);
}

std::size_t CRdfSummary::MemoryBytes() const {
    std::size_t bytes = sizeof(*this) + m_blockTimes.capacity() * sizeof(std::int64_t) +
                        m_eventStarts.capacity() * sizeof(std::uint32_t);
    for (const auto& level : m_levels) bytes += level.capacity() * sizeof(Extremes);
    return bytes;
}
