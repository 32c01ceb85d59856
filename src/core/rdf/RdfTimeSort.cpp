#include "rdf/RdfTimeSort.h"

#include <algorithm>

namespace {

bool EarlierRecord(const RdfRecord& a, const RdfRecord& b) { return a.TimeMs() < b.TimeMs(); }

bool CancelSet(const std::atomic<bool>* cancel) { return cancel && cancel->load(std::memory_order_relaxed); }

}  // namespace

bool SortRecordsByTime(RdfRecord* records, std::size_t count, const std::atomic<bool>* cancel,
                       std::size_t block) {
    block = std::max<std::size_t>(block, 1);
    for (std::size_t lo = 0; lo < count; lo += block) {
        if (CancelSet(cancel)) return false;
        std::stable_sort(records + lo, records + std::min(count, lo + block), EarlierRecord);
    }
    for (std::size_t width = block; width < count; width *= 2) {
        for (std::size_t lo = 0; lo + width < count; lo += 2 * width) {
            if (CancelSet(cancel)) return false;
            RdfRecord* mid = records + lo + width;
            RdfRecord* hi = records + std::min(count, lo + 2 * width);
            // Runs that already follow each other in time (the usual case after one clock
            // change) need no merge.
            if (EarlierRecord(*mid, *(mid - 1))) std::inplace_merge(records + lo, mid, hi, EarlierRecord);
        }
    }
    return true;
}
