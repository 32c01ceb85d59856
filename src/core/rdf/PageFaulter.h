#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <thread>

// Faults in the pages of fresh memory on a second core while the owner fills it block by
// block from a file. Handing out memory for the first time is the slowest part of reading
// a large file into it (on virtual machines several times slower than the read itself),
// and it divides well between two cores. The helper never writes to the memory, so it can
// work on a block while the owner already reads into it.
//
// Owns its thread: the destructor stops the helper and waits for it. Where pages cannot be
// faulted in from another thread (built without the system's support, or a kernel that
// refuses it), the helper does nothing and the owner faults in every page itself, as it
// would anyway.
class CPageFaulter {
public:
    CPageFaulter(std::uint8_t* base, std::size_t bytes, std::size_t blockBytes);
    ~CPageFaulter();
    CPageFaulter(const CPageFaulter&) = delete;
    CPageFaulter& operator=(const CPageFaulter&) = delete;

    // The owner is about to fill block index itself: the helper leaves it and every block
    // before it alone.
    void Reached(std::size_t index);

    // Blocks the helper faulted in; for tests.
    std::size_t BlocksDone() const { return m_done.load(std::memory_order_relaxed); }

private:
    void Run();

    std::uint8_t* m_base;
    std::size_t m_bytes;
    std::size_t m_blockBytes;
    std::atomic<std::size_t> m_front{0};  // first block the owner has not reached
    std::atomic<std::size_t> m_done{0};
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};
