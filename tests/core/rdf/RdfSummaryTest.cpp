#include <gtest/gtest.h>

#include <algorithm>

#include "RdfRandomFiles.h"
#include "rdf/RdfSummary.h"
#include "rdf/ViewWindow.h"

namespace {

// Every answer of the summaries against a plain look at the records, on random files and
// random ranges, including ranges within one block and ranges that end at the file's end.
TEST(RdfSummaryTest, AnswersAsThePlainWalkDoes) {
    std::mt19937 rng(20);
    RdfScratch scratch;
    for (int round = 0; round < 12; ++round) {
        const int count = round == 11 ? 70000 : 1 + int(rng() % (round < 4 ? 40 : 6000));  // the last on two cores
        const RdfHeaderFields fields = RandomFields(rng, 1);
        const auto file = OpenSummarised(scratch, QStringLiteral("s%1.rdf").arg(round), fields,
                                         RandomRecords(rng, count, 1000));
        ASSERT_TRUE(file && file->Summary());
        const CRdfSummary& s = *file->Summary();
        const RdfRecord* rec = file->Records();
        const std::uint32_t n = file->RecordCount();
        ASSERT_TRUE(s.TimeOrdered());
        ASSERT_EQ(s.Count(), n);

        for (int q = 0; q < 200; ++q) {
            std::uint32_t a = rng() % (n + 1);
            std::uint32_t b = rng() % (n + 1);
            if (q % 4 == 0) b = std::min<std::uint32_t>(n, a + std::uint32_t(rng() % 20));
            if (a > b) std::swap(a, b);
            const int slot = int(rng() % kRdfSlotCount);
            std::int32_t low = 0, high = 0;
            const bool got = s.MinMax(slot, a, b, low, high);
            if (file->SourceOfSlot(slot) == kNoSource || a == b) {
                EXPECT_FALSE(got);
            } else {
                ASSERT_TRUE(got);
                std::int32_t l = rec[a].values[slot], h = l;
                for (std::uint32_t i = a; i < b; ++i) {
                    l = std::min(l, rec[i].values[slot]);
                    h = std::max(h, rec[i].values[slot]);
                }
                EXPECT_EQ(low, l) << a << ".." << b;
                EXPECT_EQ(high, h) << a << ".." << b;
            }

            const std::int64_t t = rec[0].TimeMs() - 5 + std::int64_t(rng() % std::uint64_t(rec[n - 1].TimeMs() - rec[0].TimeMs() + 10));
            const auto expected = std::lower_bound(rec, rec + n, t, [](const RdfRecord& r, std::int64_t v) {
                return r.TimeMs() < v;
            }) - rec;
            EXPECT_EQ(s.LowerBound(t), std::uint32_t(expected)) << t;

            std::vector<std::uint32_t> starts;
            s.EventStarts(a, b, starts);
            std::vector<std::uint32_t> walked;
            EventStartTracker tracker;
            for (std::uint32_t i = a; i < b; ++i)
                if (tracker.Step(rec[i].kind)) walked.push_back(i);
            EXPECT_EQ(starts, walked) << a << ".." << b;
        }
        // A tenth of the records' own size at most.
        EXPECT_LE(s.MemoryBytes(), std::size_t(n) * kRdfRecordSize / 10 + 4096);
    }
}

// Built as records arrive, in uneven steps that cut blocks, the summary answers as one
// built at once.
TEST(RdfSummaryTest, BuiltPieceByPieceAsAtOnce) {
    std::mt19937 rng(11);
    RdfScratch scratch;
    const auto file = OpenSummarised(scratch, QStringLiteral("p.rdf"), RandomFields(rng, 1), RandomRecords(rng, 9000, 0));
    ASSERT_TRUE(file && file->Summary());
    const std::uint32_t n = file->RecordCount();
    CRdfSummaryBuilder builder;
    ASSERT_TRUE(builder.Start(file->Records(), n + 100, *file->Header()));
    for (std::uint32_t at : {1u, 17u, 33u, 500u, 501u, 4095u, n - 3})
        builder.Add(at);
    const auto pieces = builder.Finish(n);
    ASSERT_TRUE(pieces);
    const CRdfSummary& whole = *file->Summary();
    EXPECT_EQ(pieces->MemoryBytes() > 0, true);
    for (int q = 0; q < 300; ++q) {
        std::uint32_t a = rng() % (n + 1), b = rng() % (n + 1);
        if (a > b) std::swap(a, b);
        const int slot = int(rng() % kRdfSlotCount);
        std::int32_t l1 = 0, h1 = 0, l2 = 0, h2 = 0;
        ASSERT_EQ(pieces->MinMax(slot, a, b, l1, h1), whole.MinMax(slot, a, b, l2, h2));
        EXPECT_EQ(std::pair(l1, h1), std::pair(l2, h2));
        std::vector<std::uint32_t> e1, e2;
        pieces->EventStarts(a, b, e1);
        whole.EventStarts(a, b, e2);
        EXPECT_EQ(e1, e2);
        const std::int64_t t = file->FirstTime() + std::int64_t(rng() % 100000);
        EXPECT_EQ(pieces->LowerBound(t), whole.LowerBound(t));
    }
    // Records added past the final count: no summary rather than a wrong one.
    CRdfSummaryBuilder shorter;
    ASSERT_TRUE(shorter.Start(file->Records(), n, *file->Header()));
    shorter.Add(n);
    EXPECT_EQ(shorter.Finish(n / 2), nullptr);
}

TEST(RdfSummaryTest, RecordsThatGoBackInTimeAreMarked) {
    const RdfHeaderFields fields = RdfFields(1, {MakeSourceCode(0, 0, 1)});
    const std::vector<RdfRecord> back = {MakeRdfRecord(0, 5000, {1}), MakeRdfRecord(0, 3000, {2}),
                                         MakeRdfRecord(0, 9000, {3})};
    const auto summary = CRdfSummary::Build(back.data(), std::uint32_t(back.size()), MakeRdfHeader(fields), nullptr);
    ASSERT_TRUE(summary);
    EXPECT_FALSE(summary->TimeOrdered());

    // Written so to a file, the records load in time order, summarised afresh.
    RdfScratch scratch;
    const auto file = OpenSummarised(scratch, QStringLiteral("back.rdf"), fields, back);
    ASSERT_TRUE(file && file->Summary());
    EXPECT_TRUE(file->Summary()->TimeOrdered());
    ASSERT_EQ(file->RecordCount(), 3u);
    EXPECT_EQ(file->Records()[0].values[0], 2);
    EXPECT_EQ(file->Summary()->Count(), 3u);
}

TEST(RdfSummaryTest, EveryUsedSlotStaysWithinATenthOfTheFile) {
    std::mt19937 rng(3);
    RdfHeaderFields fields = RdfFields(1);
    for (int s = 0; s < kRdfSlotCount; ++s) fields.slotCodes[size_t(s)] = MakeSourceCode(unsigned(s), 0, 1);
    RdfScratch scratch;
    const auto file = OpenSummarised(scratch, QStringLiteral("full.rdf"), fields, RandomRecords(rng, 20000, 0));
    ASSERT_TRUE(file && file->Summary());
    EXPECT_LE(file->Summary()->MemoryBytes(), std::size_t(file->RecordCount()) * kRdfRecordSize / 10);
}

// The value range reads the whole file's extremes from the summaries: the same answer.
TEST(RdfSummaryTest, ValueRangeIsTheSameWithSummaries) {
    std::mt19937 rng(7);
    RdfScratch scratch;
    CRecordingSet plain, summarised;
    for (int f = 0; f < 3; ++f) {
        const RdfHeaderFields fields = RandomFields(rng, std::uint32_t(f));
        const auto records = RandomRecords(rng, 500 + int(rng() % 3000), 100000 * f);
        auto a = OpenSummarised(scratch, QStringLiteral("v%1.rdf").arg(f), fields, records);
        auto b = std::make_unique<CFileRdf>();
        ASSERT_TRUE(a && b->Open(scratch.Path(QStringLiteral("v%1.rdf").arg(f))));
        summarised.Add(std::move(a));
        plain.Add(std::move(b));
    }
    for (int round = 0; round < 20; ++round) {
        std::vector<SeriesSelection> rows;
        for (int r = 0; r < 6; ++r) rows.push_back({rng() % 2 == 0, kRandomSources[rng() % std::size(kRandomSources)]});
        EXPECT_EQ(ComputeValueRange(summarised, rows), ComputeValueRange(plain, rows));
    }
    const ValueRange none = ComputeValueRange(summarised, {});
    EXPECT_DOUBLE_EQ(none.maximum, 1.02);
    EXPECT_DOUBLE_EQ(none.minimum, -0.02);
}

}  // namespace
