#include "rdf/RecordStore.h"

#include <sys/mman.h>

#include <cstdint>
#include <utility>

namespace {
constexpr std::size_t kHugePage = std::size_t(2) << 20;
constexpr std::size_t kPage = 4096;

std::size_t RoundUp(std::size_t n, std::size_t to) { return (n + to - 1) / to * to; }
}  // namespace

CRecordStore::CRecordStore(CRecordStore&& other) noexcept
    : m_records(std::exchange(other.m_records, nullptr)),
      m_capacity(std::exchange(other.m_capacity, 0)),
      m_map(std::exchange(other.m_map, nullptr)),
      m_mapBytes(std::exchange(other.m_mapBytes, 0)) {}

CRecordStore& CRecordStore::operator=(CRecordStore&& other) noexcept {
    if (this != &other) {
        Release();
        m_records = std::exchange(other.m_records, nullptr);
        m_capacity = std::exchange(other.m_capacity, 0);
        m_map = std::exchange(other.m_map, nullptr);
        m_mapBytes = std::exchange(other.m_mapBytes, 0);
    }
    return *this;
}

bool CRecordStore::Allocate(std::size_t count) {
    Release();
    if (count == 0 || count > SIZE_MAX / sizeof(RdfRecord) / 2) return false;
    const std::size_t bytes = count * sizeof(RdfRecord);
    // Large stores are mapped with one huge page of slack so that they can start on a huge
    // page boundary; the slack is given back at once.
    const bool huge = bytes >= kHugePage;
    const std::size_t mapBytes = huge ? RoundUp(bytes, kHugePage) + kHugePage : RoundUp(bytes, kPage);
    void* map = mmap(nullptr, mapBytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (map == MAP_FAILED) return false;
    auto* base = static_cast<std::uint8_t*>(map);
    std::size_t length = mapBytes;
    if (huge) {
        const auto address = reinterpret_cast<std::uintptr_t>(base);
        const std::size_t lead = RoundUp(address, kHugePage) - address;
        if (lead > 0) munmap(base, lead);
        base += lead;
        length -= lead;
        const std::size_t keep = RoundUp(bytes, kHugePage);
        if (length > keep) munmap(base + keep, length - keep);
        length = keep;
        // Only advice: without huge pages the store still works, just slower to fill.
        madvise(base, length, MADV_HUGEPAGE);
    }
    m_map = base;
    m_mapBytes = length;
    m_records = reinterpret_cast<RdfRecord*>(base);
    m_capacity = count;
    return true;
}

void CRecordStore::Shrink(std::size_t count) {
    if (!m_map || count >= m_capacity) return;
    if (count == 0) {
        Release();
        return;
    }
    const std::size_t keep = RoundUp(count * sizeof(RdfRecord), kPage);
    if (keep < m_mapBytes) {
        munmap(static_cast<std::uint8_t*>(m_map) + keep, m_mapBytes - keep);
        m_mapBytes = keep;
    }
    m_capacity = count;
}

void CRecordStore::Release() {
    if (m_map) munmap(m_map, m_mapBytes);
    m_map = nullptr;
    m_mapBytes = 0;
    m_records = nullptr;
    m_capacity = 0;
}
