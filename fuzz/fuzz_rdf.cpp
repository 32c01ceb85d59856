// The recorded-data reader on whole files: a refused file leaves the object empty; a loaded
// one holds exactly the merge of the whole records after its data offset, in time order.

#include <cstring>
#include <algorithm>
#include <vector>

#include "FuzzSupport.h"
#include "rdf/FileRdf.h"

namespace {

void CheckEmpty(const CFileRdf& rdf) {
    FUZZ_CHECK(!rdf.IsLoaded());
    FUZZ_CHECK(rdf.Header() == nullptr);
    FUZZ_CHECK(rdf.RecordCount() == 0 && rdf.EventCount() == 0);
    FUZZ_CHECK(rdf.FileName().isEmpty() && rdf.FullPath().isEmpty());
    FUZZ_CHECK(rdf.FirstTime() == 0 && rdf.LastTime() == 0 && rdf.OrderingKey() == 0);
    FUZZ_CHECK(rdf.SourceOfSlot(0) == kNoSource);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data_, std::size_t size) {
    const QString& path = FuzzScratchPath(".RDF");
    FuzzWriteFile(path, FuzzBytes(data_, size));

    CFileRdf rdf;
    if (!rdf.Open(path)) {
        FUZZ_CHECK(rdf.LastError() != RdfOpenError::None);
        CheckEmpty(rdf);
        return 0;
    }
    FUZZ_CHECK(rdf.IsLoaded() && rdf.Header() != nullptr);
    FUZZ_CHECK(size >= std::size_t(kRdfHeaderSize));
    FUZZ_CHECK(std::memcmp(rdf.Header()->bytes.data(), data_, kRdfHeaderSize) == 0);

    // The whole records after the data offset, data and events apart, each in file order.
    const std::size_t offset = rdf.Header()->DataOffset();
    FUZZ_CHECK(offset < size);
    const std::size_t inFile = (size - offset) / kRdfRecordSize;
    std::vector<RdfRecord> data, events;
    for (std::size_t i = 0; i < inFile; ++i) {
        RdfRecord r;
        std::memcpy(&r, data_ + offset + i * kRdfRecordSize, kRdfRecordSize);
        (r.IsEvent() ? events : data).push_back(r);
    }
    // Each kind put in time order, keeping the file's order within a millisecond; then the
    // merge written plainly: an event goes first at equal times and replaces the data record
    // of its millisecond.
    const auto byTime = [](const RdfRecord& a, const RdfRecord& b) { return a.TimeMs() < b.TimeMs(); };
    std::stable_sort(data.begin(), data.end(), byTime);
    std::stable_sort(events.begin(), events.end(), byTime);
    std::vector<RdfRecord> merged;
    std::size_t d = 0, e = 0;
    while (d < data.size() || e < events.size()) {
        if (e == events.size() || (d < data.size() && events[e].TimeMs() > data[d].TimeMs())) {
            merged.push_back(data[d++]);
        } else {
            if (d < data.size() && events[e].TimeMs() == data[d].TimeMs()) ++d;
            merged.push_back(events[e++]);
        }
    }
    const std::uint32_t n = rdf.RecordCount();
    FUZZ_CHECK(n >= 1 && n == merged.size());
    const RdfRecord* records = rdf.Records();
    FUZZ_CHECK(std::memcmp(records, merged.data(), n * sizeof(RdfRecord)) == 0);

    FUZZ_CHECK(std::is_sorted(records, records + n, byTime));

    std::uint32_t starts = 0;
    EventStartTracker tracker;
    for (std::uint32_t i = 0; i < n; ++i)
        if (records[i].IsEvent() && tracker.Step(records[i].kind)) ++starts;
    FUZZ_CHECK(rdf.EventCount() == starts);
    FUZZ_CHECK(rdf.FirstTime() == records[0].TimeMs() && rdf.LastTime() == records[n - 1].TimeMs());
    for (int slot = 0; slot < kRdfSlotCount; ++slot) {
        const SourceCode code = rdf.SourceOfSlot(slot);
        const int found = rdf.SlotOfSource(code);
        FUZZ_CHECK(code == kNoSource ? found == -1 : (found >= 0 && found <= slot));
    }
    FUZZ_CHECK(rdf.FileName().endsWith(QStringLiteral(".RDF")));
    return 0;
}
