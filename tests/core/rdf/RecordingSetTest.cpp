#include <gtest/gtest.h>

#include <QStringList>
#include <mutex>

#include "RdfFixtures.h"
#include "rdf/RdfFileLoader.h"
#include "rdf/RecordingSet.h"

namespace {
class RecordingSetTest : public ::testing::Test {
protected:
    std::unique_ptr<CFileRdf> Open(const QString& name, const RdfHeaderFields& fields, const std::vector<RdfRec>& records) {
        auto f = std::make_unique<CFileRdf>();
        EXPECT_TRUE(f->Open(scratch.Write(name, RdfBytes(fields, records))));
        return f;
    }
    static QStringList Names(const CRecordingSet& set) {
        QStringList names;
        for (const auto& f : set.Files()) names << f->FileName();
        return names;
    }
    RdfScratch scratch;
};

TEST_F(RecordingSetTest, KeepsFilesInKeyOrderAndArrivalOrderForEqualKeys) {
    CRecordingSet set;
    int index = -1;
    EXPECT_EQ(set.Add(Open("seven", RdfFields(7, {1, 2}), {{0, 7000}, {2, 7500}, {0, 7900}}), &index), RdfAddResult::Added);
    EXPECT_EQ(index, 0);
    EXPECT_EQ(set.Add(Open("five", RdfFields(5, {3, 1}), {{0, 5000}, {0, 5100}}), &index), RdfAddResult::Added);
    EXPECT_EQ(index, 0);
    EXPECT_EQ(set.Add(Open("five again", RdfFields(5, {4}), {{2, 6000}}), &index), RdfAddResult::Added);
    EXPECT_EQ(index, 1);
    EXPECT_EQ(Names(set), QStringList({"five", "five again", "seven"}));

    EXPECT_TRUE(set.IsLoaded());
    EXPECT_EQ(set.TotalRecords(), 6u);
    EXPECT_EQ(set.TotalEvents(), 2u);
    EXPECT_EQ(set.DataStart(), 5000);
    EXPECT_EQ(set.DataEnd(), 7900);
    // Series rows list sources as the files came; exports walk the files in set order.
    EXPECT_EQ(set.OfferedSources(), (std::vector<SourceCode>{1, 2, 3, 4}));
    EXPECT_EQ(set.SourcesInSetOrder(), (std::vector<SourceCode>{3, 1, 4, 2}));

    set.Reset();
    EXPECT_FALSE(set.IsLoaded());
    EXPECT_EQ(set.FileCount(), 0);
    EXPECT_EQ(set.TotalRecords(), 0u);
    EXPECT_EQ(set.DataStart(), 0);
    EXPECT_TRUE(set.OfferedSources().empty());
}

TEST_F(RecordingSetTest, RefusesDuplicateAndForeignFiles) {
    CRecordingSet set;
    ASSERT_EQ(set.Add(Open("first", RdfFields(1, {1}), {{0, 1000}})), RdfAddResult::Added);

    RdfHeaderFields otherFirmware = RdfFields(2, {1});
    otherFirmware.firmware = 0x0209;
    RdfHeaderFields otherDevice = RdfFields(2, {1});
    otherDevice.deviceId[5] = 7;
    const struct {
        const char* name;
        RdfHeaderFields fields;
        RdfAddResult result;
    } cases[] = {
        // Same header, other records: the same file copied twice.
        {"same header", RdfFields(1, {1}), RdfAddResult::AlreadyLoaded},
        {"other firmware", otherFirmware, RdfAddResult::Incompatible},
        {"other device", otherDevice, RdfAddResult::Incompatible},
        {"next file", RdfFields(2, {1}), RdfAddResult::Added},
    };
    for (const auto& c : cases) EXPECT_EQ(set.Add(Open(c.name, c.fields, {{0, 5000}})), c.result) << c.name;
    EXPECT_EQ(Names(set), QStringList({"first", "next file"}));
    EXPECT_EQ(set.Add(std::make_unique<CFileRdf>()), RdfAddResult::NotLoaded);
    EXPECT_EQ(set.Add(nullptr), RdfAddResult::NotLoaded);
}

class RecordingListener : public CRdfFileLoader::IListener {
public:
    void OnLoadProgress(int fileIndex, int fileCount, std::uint64_t, std::uint64_t) override {
        std::lock_guard lock(mutex);
        progressed.push_back(fileIndex);
        files = fileCount;
    }
    void OnLoadFinished() override { finished = true; }

    std::mutex mutex;
    std::vector<int> progressed;
    int files = 0;
    std::atomic<bool> finished{false};
};

TEST_F(RecordingSetTest, LoaderOpensFilesOffTheCallersThread) {
    const QString good = scratch.Write("a", RdfBytes(RdfFields(1, {1}), {{0, 1}}));
    const QString bad = scratch.Write("b", QByteArray("RDF"));
    const QString other = scratch.Write("c", RdfBytes(RdfFields(2, {1}), {{0, 2}}));

    RecordingListener listener;
    CRdfFileLoader loader;
    ASSERT_TRUE(loader.Start({good, bad, other}, &listener));
    auto results = loader.TakeResults();
    EXPECT_TRUE(listener.finished);
    EXPECT_EQ(listener.files, 3);
    EXPECT_EQ(listener.progressed, (std::vector<int>{0, 2}));
    ASSERT_EQ(results.size(), 3u);
    EXPECT_TRUE(results[0].file && results[0].file->IsLoaded());
    EXPECT_EQ(results[1].file, nullptr);
    EXPECT_EQ(results[1].error, RdfOpenError::TooShort);
    EXPECT_EQ(results[2].path, other);

    // Cancelled while the first file is read: the rest is skipped, every path is accounted
    // for. (Cancelled from here right after Start, the thread may have read both small files
    // already.)
    struct CancellingListener : CRdfFileLoader::IListener {
        CRdfFileLoader* loader = nullptr;
        void OnLoadProgress(int, int, std::uint64_t, std::uint64_t) override { loader->Cancel(); }
        void OnLoadFinished() override {}
    } canceller;
    canceller.loader = &loader;
    ASSERT_TRUE(loader.Start({good, other}, &canceller));
    results = loader.TakeResults();
    ASSERT_EQ(results.size(), 2u);
    EXPECT_EQ(results[1].error, RdfOpenError::Cancelled);
    EXPECT_EQ(results[1].file, nullptr);
    EXPECT_TRUE(loader.IsFinished());
}
}  // namespace
