#pragma once

#include <atomic>
#include <cstddef>

#include "rdf/RdfFormat.h"

// Records sorted between two looks at cancel: about 5.8 MB, some milliseconds of work.
inline constexpr std::size_t kRdfSortBlock = std::size_t(1) << 16;

// Puts the records in time order, keeping the order among records of one millisecond: the
// same result as a stable sort by time. Works through the records in blocks and pairs of
// blocks, and stops between them once cancel is set (false then, the records mixed but
// none lost).
bool SortRecordsByTime(RdfRecord* records, std::size_t count, const std::atomic<bool>* cancel,
                       std::size_t block = kRdfSortBlock);
