#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "rdf/RdfTimeSort.h"

namespace {

// Records with the given times; each carries its place in the input in values[0], so a test
// can see that records of one millisecond keep their order.
std::vector<RdfRecord> Records(const std::vector<std::int64_t>& times) {
    std::vector<RdfRecord> records(times.size());
    for (std::size_t i = 0; i < times.size(); ++i) {
        records[i] = {};
        records[i].kind = i % 5 == 0 ? 1 : 0;
        records[i].seconds = std::uint32_t(times[i] / 1000);
        records[i].milliseconds = std::uint16_t(times[i] % 1000);
        records[i].values[0] = std::int32_t(i);
    }
    return records;
}

std::vector<std::int32_t> Order(const std::vector<RdfRecord>& records) {
    std::vector<std::int32_t> order;
    for (const RdfRecord& r : records) order.push_back(r.values[0]);
    return order;
}

// The block-wise sort gives what the plain stable sort gives, whatever the block size.
TEST(RdfTimeSortTest, SameAsAStableSort) {
    std::mt19937 random(730);
    const auto times = [&](std::size_t n, auto time) {
        std::vector<std::int64_t> t(n);
        for (std::size_t i = 0; i < n; ++i) t[i] = time(i);
        return t;
    };
    const struct {
        const char* name;
        std::vector<std::int64_t> times;
    } cases[] = {
        {"empty", {}},
        {"one", {5000}},
        {"in order", times(1000, [](std::size_t i) { return 1000000 + std::int64_t(i) * 100; })},
        {"clock set back once",
         times(1000, [](std::size_t i) { return 1000000 + std::int64_t(i) * 100 - (i >= 600 ? 30000 : 0); })},
        {"backwards", times(1000, [](std::size_t i) { return 2000000 - std::int64_t(i) * 7; })},
        {"few times, many alike", times(1000, [&](std::size_t) { return 1000000 + std::int64_t(random() % 9); })},
        {"scattered", times(1000, [&](std::size_t) { return std::int64_t(random() % 4000000000000); })},
    };
    for (const auto& c : cases) {
        std::vector<RdfRecord> expected = Records(c.times);
        std::stable_sort(expected.begin(), expected.end(),
                         [](const RdfRecord& a, const RdfRecord& b) { return a.TimeMs() < b.TimeMs(); });
        for (std::size_t block : {std::size_t(1), std::size_t(7), std::size_t(64), kRdfSortBlock}) {
            std::vector<RdfRecord> records = Records(c.times);
            EXPECT_TRUE(SortRecordsByTime(records.data(), records.size(), nullptr, block));
            EXPECT_EQ(Order(records), Order(expected)) << c.name << ", blocks of " << block;
        }
    }
}

// Cancelled, the sort stops between blocks and says so; no record is lost or repeated.
TEST(RdfTimeSortTest, CancelStopsItAndLosesNothing) {
    std::vector<std::int64_t> times(500);
    for (std::size_t i = 0; i < times.size(); ++i) times[i] = 9000000 - std::int64_t(i) * 3;
    std::vector<RdfRecord> records = Records(times);
    const std::atomic<bool> cancel{true};
    EXPECT_FALSE(SortRecordsByTime(records.data(), records.size(), &cancel, 16));
    std::vector<std::int32_t> order = Order(records);
    std::sort(order.begin(), order.end());
    EXPECT_EQ(order, Order(Records(times)));
}

}  // namespace
