#include <gtest/gtest.h>

#include <sys/mman.h>

#include <chrono>
#include <cstring>
#include <thread>

#include "rdf/PageFaulter.h"
#include "rdf/RecordStore.h"

namespace {

// The helper may work on a block the owner is reading into, so it must never change what a
// page holds: here it works through blocks the owner has already filled but not reached.
TEST(PageFaulterTest, FaultsInEveryBlockLeftToItWithoutChangingThem) {
    constexpr std::size_t kBlock = std::size_t(1) << 20;
    CRecordStore store;
    ASSERT_TRUE(store.Allocate(8 * kBlock / sizeof(RdfRecord) + 5));
    auto* bytes = reinterpret_cast<std::uint8_t*>(store.Data());
    if (::madvise(bytes, 4096, MADV_POPULATE_WRITE) != 0)
        GTEST_SKIP() << "the kernel cannot prefault pages";
    const std::size_t size = store.Capacity() * sizeof(RdfRecord);
    const std::size_t blocks = (size + kBlock - 1) / kBlock;
    // Every other page is written before the helper starts; the rest stay fresh.
    for (std::size_t i = 0; i < size; i += 8192)
        bytes[i] = std::uint8_t(i / 8192 % 251 + 1);
    {
        CPageFaulter faulter(bytes, size, kBlock);
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (faulter.BlocksDone() < blocks && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        EXPECT_EQ(faulter.BlocksDone(), blocks);
    }
    for (std::size_t i = 0; i < size; i += 4096)
        ASSERT_EQ(bytes[i], i % 8192 ? 0 : std::uint8_t(i / 8192 % 251 + 1)) << "byte " << i;
}

// The owner fills block by block from the front while the helper comes from the back;
// blocks the owner reached are left alone and everything it wrote stays.
TEST(PageFaulterTest, OwnerAndHelperMeetWithoutLosingWrites) {
    constexpr std::size_t kBlock = std::size_t(1) << 20;
    constexpr std::size_t kBlocks = 48;
    CRecordStore store;
    ASSERT_TRUE(store.Allocate(kBlocks * kBlock / sizeof(RdfRecord)));
    auto* bytes = reinterpret_cast<std::uint8_t*>(store.Data());
    const std::size_t size = store.Capacity() * sizeof(RdfRecord);
    {
        CPageFaulter faulter(bytes, size, kBlock);
        for (std::size_t b = 0; b * kBlock < size; ++b) {
            faulter.Reached(b);
            std::memset(bytes + b * kBlock, int(b + 1), std::min(kBlock, size - b * kBlock));
        }
        EXPECT_LE(faulter.BlocksDone(), kBlocks);
    }
    for (std::size_t i = 0; i < size; i += 4093)
        ASSERT_EQ(bytes[i], std::uint8_t(i / kBlock + 1)) << "byte " << i;
}

}  // namespace
