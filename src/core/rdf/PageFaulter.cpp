#include "rdf/PageFaulter.h"

#include <sys/mman.h>

#include <algorithm>

CPageFaulter::CPageFaulter(std::uint8_t* base, std::size_t bytes, std::size_t blockBytes)
    : m_base(base), m_bytes(bytes), m_blockBytes(std::max<std::size_t>(blockBytes, 1)) {
#ifdef MADV_POPULATE_WRITE
    if (base && bytes > 0)
        m_thread = std::thread([this] { Run(); });
#endif
}

CPageFaulter::~CPageFaulter() {
    m_stop.store(true, std::memory_order_relaxed);
    if (m_thread.joinable())
        m_thread.join();
}

void CPageFaulter::Reached(std::size_t index) {
    // Only the owner moves the front, and only forwards.
    if (index >= m_front.load(std::memory_order_relaxed)) m_front.store(index + 1, std::memory_order_relaxed);
}

// Works from the last block down, so that the owner, filling from the first block up,
// and the helper meet in the middle instead of faulting in the same pages.
void CPageFaulter::Run() {
#ifdef MADV_POPULATE_WRITE
    std::size_t index = (m_bytes + m_blockBytes - 1) / m_blockBytes;
    while (index > 0 && !m_stop.load(std::memory_order_relaxed)) {
        --index;
        if (index < m_front.load(std::memory_order_relaxed))
            return;
        const std::size_t offset = index * m_blockBytes;
        const std::size_t length = std::min(m_blockBytes, m_bytes - offset);
        // Prefaulting keeps whatever a page already holds; any failure (no memory, an old
        // kernel) only means the owner faults the pages in itself.
        if (::madvise(m_base + offset, length, MADV_POPULATE_WRITE) != 0)
            return;
        m_done.fetch_add(1, std::memory_order_relaxed);
    }
#endif
}
