#include <gtest/gtest.h>

#include <QDir>
#include <random>

#include "devsettings/QuantityTable.h"
#include "rdf/FileRdf.h"
#include "RdfFixtures.h"

namespace {
class FileRdfTest : public ::testing::Test {
protected:
    RdfScratch scratch;
};

void ExpectEmpty(const CFileRdf& f) {
    EXPECT_FALSE(f.IsLoaded());
    EXPECT_EQ(f.Header(), nullptr);
    EXPECT_EQ(f.Records(), nullptr);
    EXPECT_EQ(f.RecordCount(), 0u);
    EXPECT_EQ(f.EventCount(), 0u);
    EXPECT_TRUE(f.FileName().isEmpty());
    EXPECT_EQ(f.SlotOfSource(1), -1);
}

TEST_F(FileRdfTest, RefusesWhatIsNoRecording) {
    const RdfHeaderFields good = RdfFields(1, {1});
    const QByteArray record = RdfRecordBytes(MakeRdfRecord(0, 1000));
    auto with = [&](auto change) {
        RdfHeaderFields f = good;
        change(f);
        return RdfHeaderBytes(f) + record;
    };
    QByteArray badMagic = RdfBytes(good, {}) + record;
    RdfHeaderFields offset105 = good;
    offset105.dataOffset = 105;
    badMagic[3] = ' ';

    const struct {
        const char* name;
        QByteArray bytes;
        RdfOpenError error;
    } cases[] = {
        {"empty", QByteArray(), RdfOpenError::TooShort},
        {"short header", RdfBytes(good, {}).left(103), RdfOpenError::TooShort},
        {"header only", RdfBytes(good, {}), RdfOpenError::NoRecords},
        {"record cut short", RdfBytes(good, {}) + record.left(87), RdfOpenError::NoRecords},
        {"offset past the end", with([](auto& f) { f.dataOffset = 60000; }), RdfOpenError::NoRecords},
        {"offset leaves a partial record", RdfHeaderBytes(offset105) + record, RdfOpenError::NoRecords},
        {"magic", badMagic, RdfOpenError::BadMagic},
        {"version", with([](auto& f) { f.version = 0x0101; }), RdfOpenError::BadVersion},
        {"record size", with([](auto& f) { f.recordSize = 84; }), RdfOpenError::BadRecordSize},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CFileRdf f;
        ASSERT_TRUE(f.Open(scratch.Write(QStringLiteral("ok.rdf"), RdfBytes(good, {{0, 5, {}}}))));
        EXPECT_FALSE(f.Open(scratch.Write(QString::fromLatin1(c.name), c.bytes)));
        EXPECT_EQ(f.LastError(), c.error);
        ExpectEmpty(f);
    }

    CFileRdf f;
    EXPECT_FALSE(f.Open(QString()));
    EXPECT_EQ(f.LastError(), RdfOpenError::NotFound);
    EXPECT_FALSE(f.Open(scratch.Path(QStringLiteral("missing.rdf"))));
    EXPECT_EQ(f.LastError(), RdfOpenError::NotFound);
    QDir().mkpath(scratch.Path(QStringLiteral("folder.rdf")));
    EXPECT_FALSE(f.Open(scratch.Path(QStringLiteral("folder.rdf"))));
    EXPECT_EQ(f.LastError(), RdfOpenError::NotRegularFile);
    ExpectEmpty(f);
}

TEST_F(FileRdfTest, ReadsHeaderAndRecords) {
    RdfHeaderFields fields = RdfFields(0xFEDCBA98, {0x00000001, kNoSource, 0x00070012, 0x00000001});
    fields.firmware = 0x0209;
    fields.dataOffset = 120;  // the reader starts where the header says
    QByteArray bytes = RdfBytes(fields, {{0, 1000, {-12345, 7, 987}}, {0, 2500, {1, 2, 3}}});
    bytes += "tail";  // a trailing partial record is ignored
    const QString path = scratch.Write(QStringLiteral("FILE0001.RDF"), bytes);

    CFileRdf f;
    ASSERT_TRUE(f.Open(path));
    EXPECT_EQ(f.FileName(), QStringLiteral("FILE0001.RDF"));
    EXPECT_EQ(f.FullPath(), path);
    EXPECT_EQ(f.Header()->Firmware(), 0x0209);
    EXPECT_EQ(f.OrderingKey(), 0xFEDCBA98u);
    EXPECT_EQ(f.RecordCount(), 2u);
    EXPECT_EQ(f.EventCount(), 0u);
    EXPECT_EQ(f.FirstTime(), 1000);
    EXPECT_EQ(f.LastTime(), 2500);

    EXPECT_EQ(f.SlotOfSource(0x00000001), 0);  // the lowest of two slots
    EXPECT_EQ(f.SlotOfSource(0x00070012), 2);
    EXPECT_EQ(f.SlotOfSource(kNoSource), -1);  // unused slots hold it, yet it is no source
    EXPECT_EQ(f.SlotOfSource(0x00000002), -1);
    EXPECT_EQ(f.SourceOfSlot(1), kNoSource);
    EXPECT_EQ(f.SourceOfSlot(20), kNoSource);

    const RdfRecord& r = f.Records()[0];
    EXPECT_DOUBLE_EQ(CQuantityTable::PhysicalValue(f.SourceOfSlot(0), r.values[0]), -1234.5);
    EXPECT_DOUBLE_EQ(CQuantityTable::PhysicalValue(f.SourceOfSlot(2), r.values[2]), 0.987);

    f.Close();
    ExpectEmpty(f);
}

struct MergeCase {
    const char* name;
    std::vector<RdfRec> records;  // in file order
    std::vector<std::pair<int, std::int64_t>> merged;  // kind and time of each entry
    std::uint32_t eventStarts;
};

TEST_F(FileRdfTest, MergesEventsIntoData) {
    const MergeCase cases[] = {
        {"event replaces the data record of its millisecond",
         {{0, 1000, {1}}, {2, 1000, {9}}, {0, 2000, {2}}},
         {{2, 1000}, {0, 2000}}, 1},
        {"event written before its data record",
         {{2, 1000, {9}}, {0, 1000, {1}}, {0, 1001, {2}}},
         {{2, 1000}, {0, 1001}}, 1},
        {"events between data records",
         {{0, 1000}, {4, 1500}, {0, 2000}, {1, 2500}, {0, 3000}},
         {{0, 1000}, {4, 1500}, {0, 2000}, {1, 2500}, {0, 3000}}, 1},
        {"a held condition starts once", {{2, 1}, {2, 2}, {6, 3}}, {{2, 1}, {2, 2}, {6, 3}}, 1},
        {"a cleared condition starts again", {{2, 1}, {1, 2}, {2, 3}}, {{2, 1}, {1, 2}, {2, 3}}, 2},
        {"data records do not clear a condition", {{2, 1}, {0, 2}, {2, 3}}, {{2, 1}, {0, 2}, {2, 3}}, 1},
        {"events only", {{8, 10}, {2, 20}, {0x80, 30}}, {{8, 10}, {2, 20}, {0x80, 30}}, 1},
        {"data only", {{0, 10}, {0, 20}}, {{0, 10}, {0, 20}}, 0},
        // Files out of time order are put in time order, keeping the file's order within a
        // millisecond, before the merge.
        {"an early event overtakes data", {{0, 5000}, {0, 6000}, {2, 1000}}, {{2, 1000}, {0, 5000}, {0, 6000}}, 1},
        {"data written backwards",
         {{0, 3000, {3}}, {0, 2000, {2}}, {2, 2000, {9}}, {0, 1000, {1}}},
         {{0, 1000}, {2, 2000}, {0, 3000}}, 1},
        {"events written backwards", {{2, 30}, {0, 20}, {1, 10}, {2, 20}}, {{1, 10}, {2, 20}, {2, 30}}, 1},
    };
    for (const MergeCase& c : cases) {
        SCOPED_TRACE(c.name);
        CFileRdf f;
        ASSERT_TRUE(f.Open(scratch.Write(QStringLiteral("m.rdf"), RdfBytes(RdfFields(1, {1}), c.records))));
        ASSERT_EQ(f.RecordCount(), c.merged.size());
        for (size_t i = 0; i < c.merged.size(); ++i) {
            EXPECT_EQ(f.Records()[i].kind, c.merged[i].first) << i;
            EXPECT_EQ(f.Records()[i].TimeMs(), c.merged[i].second) << i;
        }
        EXPECT_EQ(f.EventCount(), c.eventStarts);
    }
    CFileRdf f;
    ASSERT_TRUE(f.Open(scratch.Write(QStringLiteral("v.rdf"),
                                     RdfBytes(RdfFields(1, {1}), {{0, 1000, {1}}, {2, 1000, {9}}}))));
    EXPECT_EQ(f.Records()[0].values[0], 9);  // the event's values, not the data record's
}

// The merge as plainly as it can be written, against which the fast one is checked.
std::vector<RdfRecord> ReferenceMerge(const std::vector<RdfRecord>& file) {
    std::vector<RdfRecord> data, events, out;
    for (const RdfRecord& r : file) (r.kind == 0 ? data : events).push_back(r);
    const auto byTime = [](const RdfRecord& a, const RdfRecord& b) { return a.TimeMs() < b.TimeMs(); };
    std::stable_sort(data.begin(), data.end(), byTime);
    std::stable_sort(events.begin(), events.end(), byTime);
    size_t d = 0, e = 0;
    while (d < data.size() && e < events.size()) {
        if (events[e].TimeMs() > data[d].TimeMs()) {
            out.push_back(data[d++]);
        } else {
            if (events[e].TimeMs() == data[d].TimeMs()) ++d;
            out.push_back(events[e++]);
        }
    }
    while (d < data.size()) out.push_back(data[d++]);
    while (e < events.size()) out.push_back(events[e++]);
    return out;
}

TEST_F(FileRdfTest, MergeAgreesWithReferenceOnOrderedAndShuffledFiles) {
    std::mt19937 rng(7);
    for (int round = 0; round < 60; ++round) {
        const bool ordered = round % 2 == 0;
        const int n = 1 + int(rng() % 300);
        std::vector<RdfRecord> file;
        std::int64_t t = 0;
        for (int i = 0; i < n; ++i) {
            t += ordered ? std::int64_t(rng() % 3) : std::int64_t(rng() % 50) - 20;
            const std::uint8_t kind = rng() % 4 == 0 ? std::uint8_t(rng() % 8) : 0;
            file.push_back(MakeRdfRecord(kind, t < 0 ? -t : t, {std::int32_t(i)}));
        }
        QByteArray bytes = RdfHeaderBytes(RdfFields(1, {1}));
        for (const RdfRecord& r : file) bytes += RdfRecordBytes(r);
        CFileRdf f;
        ASSERT_TRUE(f.Open(scratch.Write(QStringLiteral("r.rdf"), bytes)));
        const std::vector<RdfRecord> expected = ReferenceMerge(file);
        ASSERT_EQ(f.RecordCount(), expected.size()) << round;
        for (size_t i = 0; i < expected.size(); ++i)
            ASSERT_EQ(std::memcmp(&f.Records()[i], &expected[i], sizeof(RdfRecord)), 0) << round << ' ' << i;
    }
}

TEST_F(FileRdfTest, SurvivesArbitraryBytes) {
    std::mt19937 rng(11);
    for (int round = 0; round < 200; ++round) {
        QByteArray bytes(int(rng() % 2000), '\0');
        for (char& b : bytes) b = char(rng());
        if (round % 2 && bytes.size() >= kRdfHeaderSize) {
            // Keep the checked fields valid so the records themselves are random.
            const QByteArray head = RdfHeaderBytes(RdfFields(rng()));
            bytes.replace(0, 6, head.left(6));
            bytes.replace(20, 2, head.mid(20, 2));
            bytes[22] = char(rng() % 200);
            bytes[23] = 0;
        }
        CFileRdf f;
        if (f.Open(scratch.Write(QStringLiteral("x.rdf"), bytes))) {
            EXPECT_GT(f.RecordCount(), 0u);
            EXPECT_LE(std::size_t(f.RecordCount()) * kRdfRecordSize, std::size_t(bytes.size()));
            for (std::uint32_t i = 0; i < f.RecordCount(); ++i) (void)f.Records()[i].TimeMs();
        } else {
            ExpectEmpty(f);
        }
    }
}

TEST_F(FileRdfTest, CancelledOpenLeavesNothing) {
    const QString path = scratch.Write(QStringLiteral("c.rdf"), RdfBytes(RdfFields(1, {1}), {{0, 1}}));
    std::atomic<bool> cancel{true};
    RdfOpenControl control;
    control.cancel = &cancel;
    CFileRdf f;
    EXPECT_FALSE(f.Open(path, &control));
    EXPECT_EQ(f.LastError(), RdfOpenError::Cancelled);
    ExpectEmpty(f);

    cancel = false;
    std::uint64_t lastDone = 0, lastTotal = 0;
    control.progress = [&](std::uint64_t done, std::uint64_t total) {
        lastDone = done;
        lastTotal = total;
    };
    EXPECT_TRUE(f.Open(path, &control));
    EXPECT_EQ(lastDone, std::uint64_t(kRdfRecordSize));
    EXPECT_EQ(lastTotal, std::uint64_t(kRdfRecordSize));
}
}  // namespace
