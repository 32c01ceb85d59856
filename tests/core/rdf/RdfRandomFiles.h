#pragma once

// Random recordings for comparing the fast graph paths with the plain record walk.
#include <algorithm>
#include <limits>
#include <memory>
#include <random>
#include <vector>

#include "RdfFixtures.h"
#include "devsettings/SourceCode.h"
#include "rdf/FileRdf.h"
#include "rdf/RecordingSet.h"

// The sources the random files draw their slots from; kinds with divisors 10, 100, 1 and 1000.
inline const SourceCode kRandomSources[] = {MakeSourceCode(0, 0, QK_VOLTAGE_RMS), MakeSourceCode(1, 0, QK_VOLTAGE_RMS),
                                            MakeSourceCode(0, 0, QK_CURRENT_RMS), MakeSourceCode(0, 0, QK_FREQUENCY),
                                            MakeSourceCode(0, 0, QK_TEMPERATURE), MakeSourceCode(2, 0, QK_POWER_A),
                                            MakeSourceCode(3, 0, 77)};

// Records in time order: mostly small steps (some equal times), now and then a gap; event
// records of every kind of activity; values that wander, with the odd extreme.
inline std::vector<RdfRecord> RandomRecords(std::mt19937& rng, int count, std::int64_t start) {
    std::vector<RdfRecord> records;
    std::int64_t t = start;
    std::int32_t level[kRdfSlotCount] = {};
    const int style = int(rng() % 3);  // dense, sparse or mixed
    for (int i = 0; i < count; ++i) {
        const unsigned r = rng() % 100;
        if (style == 0)
            t += rng() % 3;
        else if (style == 1)
            t += 1 + rng() % 5000;
        else
            t += r < 3 ? std::int64_t(rng() % 200000) : std::int64_t(rng() % 20);
        static const std::uint8_t kinds[] = {1, 2, 4, 6, 3, 0x80};
        const std::uint8_t kind = rng() % 10 == 0 ? kinds[rng() % 6] : 0;
        std::vector<std::int32_t> values(kRdfSlotCount);
        for (int s = 0; s < kRdfSlotCount; ++s) {
            level[s] += std::int32_t(rng() % 2001) - 1000;
            values[size_t(s)] = level[s];
            const unsigned odd = rng() % 500;
            if (odd == 0) values[size_t(s)] = std::numeric_limits<std::int32_t>::max();
            if (odd == 1) values[size_t(s)] = std::numeric_limits<std::int32_t>::min();
        }
        records.push_back(MakeRdfRecord(kind, t, values));
    }
    return records;
}

// A file of the device {1..6} with some of the random sources in random slots.
inline RdfHeaderFields RandomFields(std::mt19937& rng, std::uint32_t key) {
    RdfHeaderFields f = RdfFields(key);
    for (SourceCode code : kRandomSources)
        if (rng() % 3 != 0) f.slotCodes[rng() % kRdfSlotCount] = code;
    return f;
}

// Opens a file written from records, with its summaries built as the loader builds them.
inline std::unique_ptr<CFileRdf> OpenSummarised(RdfScratch& scratch, const QString& name, const RdfHeaderFields& fields,
                                                const std::vector<RdfRecord>& records) {
    const QString path = scratch.Path(name);
    if (!WriteRdfFile(path, fields, records)) return nullptr;
    auto file = std::make_unique<CFileRdf>();
    RdfOpenControl control;
    control.summarise = true;
    if (!file->Open(path, &control)) return nullptr;
    return file;
}
