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
    std::unique_ptr<CRdfSummary> s(new (std::nothrow) CRdfSummary);
    if (!s) return nullptr;
    s->m_records = records;
    s->m_count = count;
    int used[kRdfSlotCount];
    int usedCount = 0;
    for (int slot = 0; slot < kRdfSlotCount; ++slot) {
        s->m_slotIndex[slot] = -1;
        if (header.Slot(slot) == kNoSource) continue;
        s->m_slotIndex[slot] = usedCount;
        used[usedCount++] = slot;
    }
    // A file that fills every slot gets coarser blocks, so the summaries stay below a tenth
    // of the records' own size either way.
    s->m_blockSize = usedCount <= 10 ? 16 : 32;
    const std::uint32_t block = s->m_blockSize;
    const std::uint32_t blocks = (count + block - 1) / block;

    try {
        s->m_pyramids.resize(std::size_t(usedCount));
        for (SlotPyramid& p : s->m_pyramids) p.levels.emplace_back(blocks);
        s->m_blockTimes.resize(blocks);

        // One pass over the records does everything; each block is read while it sits in
        // the cache.
        std::int64_t previousTime = std::numeric_limits<std::int64_t>::min();
        bool previousActive = false;
        for (std::uint32_t b = 0; b < blocks; ++b) {
            if ((b & 0xFFFF) == 0 && Cancelled(cancel)) return nullptr;
            const std::uint32_t first = b * block;
            const std::uint32_t last = std::min(count, first + block);
            s->m_blockTimes[b] = records[first].TimeMs();
            for (std::uint32_t i = first; i < last; ++i) {
                const std::int64_t t = records[i].TimeMs();
                if (t < previousTime) s->m_timeOrdered = false;
                previousTime = t;
                const bool active = IsActive(records[i]);
                if (active && !previousActive) s->m_eventStarts.push_back(i);
                previousActive = active;
            }
            for (int u = 0; u < usedCount; ++u) {
                const int slot = used[u];
                std::int32_t low = kNoLow;
                std::int32_t high = kNoHigh;
                for (std::uint32_t i = first; i < last; ++i) {
                    const std::int32_t v = records[i].values[slot];
                    low = std::min(low, v);
                    high = std::max(high, v);
                }
                s->m_pyramids[size_t(u)].levels[0][b] = {low, high};
            }
        }

        for (SlotPyramid& p : s->m_pyramids) {
            while (p.levels.back().size() > 1) {
                const std::vector<Extremes>& below = p.levels.back();
                std::vector<Extremes> level((below.size() + kFanout - 1) / kFanout);
                for (std::size_t k = 0; k < level.size(); ++k) {
                    Extremes e{kNoLow, kNoHigh};
                    const std::size_t end = std::min(below.size(), (k + 1) * kFanout);
                    for (std::size_t j = k * kFanout; j < end; ++j) {
                        e.low = std::min(e.low, below[j].low);
                        e.high = std::max(e.high, below[j].high);
                    }
                    level[k] = e;
                }
                p.levels.push_back(std::move(level));
            }
        }
        s->m_eventStarts.shrink_to_fit();
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
    return s;
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
    const auto& levels = m_pyramids[size_t(m_slotIndex[slot])].levels;
    std::size_t bi = i / m_blockSize;
    std::size_t bj = j / m_blockSize;
    for (std::size_t l = 0; l < levels.size() && bi < bj; ++l) {
        const std::vector<Extremes>& level = levels[l];
        const bool top = l + 1 == levels.size();
        while (bi < bj && (top || bi % kFanout != 0)) {
            take(level[bi].low, level[bi].high);
            ++bi;
        }
        while (bj > bi && bj % kFanout != 0) {
            --bj;
            take(level[bj].low, level[bj].high);
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
    for (const SlotPyramid& p : m_pyramids)
        for (const auto& level : p.levels) bytes += level.capacity() * sizeof(Extremes);
    return bytes;
}
