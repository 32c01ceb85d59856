// Opening a memory-card sized recording and exporting it as CSV, each against the
// machine's own baseline measured in the same run: `cat FILE > /dev/null` for the open (the
// file is in the page cache for both) and `dd bs=1M conv=fdatasync` of as many bytes as the
// CSV for the export. Targets: open <= 4 x cat, peak memory <= 1.1 x file size,
// export <= 1.5 x dd. The open is timed in the steady state, after a first open that is
// reported on its own with the cost of first touching as much fresh memory, which on
// virtual machines can be many times the read itself.
//
// The generated files live in a temporary folder (TRV730_BENCH_DIR, else the system's) and
// are removed at the end. Needs about 2 GB of free disk.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>

#include "devsettings/QuantityTable.h"
#include "language/Language.h"
#include "rdf/CsvExport.h"
#include "rdf/FileRdf.h"
#include "rdf/RdfWriter.h"
#include "rdf/RecordStore.h"
#include "rdf/RecordingSet.h"

namespace {
constexpr std::uint64_t kFileBytes = std::uint64_t(512) << 20;

struct BenchFiles {
    std::unique_ptr<QTemporaryDir> dir;
    QString rdf;
    QString csv;
    QString dd;
};
BenchFiles g_files;

double Seconds(std::chrono::steady_clock::duration d) {
    return std::chrono::duration<double>(d).count();
}

template <typename F>
double Time(F&& f) {
    const auto start = std::chrono::steady_clock::now();
    f();
    return Seconds(std::chrono::steady_clock::now() - start);
}

double TimeShell(const QString& command) {
    return Time([&] {
        if (std::system(command.toLocal8Bit().constData()) != 0) std::fprintf(stderr, "failed: %s\n", qPrintable(command));
    });
}

// kB value of a /proc/self/status line such as "VmHWM:".
std::uint64_t StatusKb(const char* key) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind(key, 0) == 0) return std::stoull(line.substr(std::strlen(key)));
    return 0;
}

void ResetPeakRss() {
    std::ofstream("/proc/self/clear_refs") << "5";
}

// 5 % event records, a tenth of them at the millisecond of the data record before them
// (which they replace), all twenty slots in use, values that vary like measurements.
bool GenerateRecording(const QString& path) {
    RdfHeaderFields fields;
    fields.deviceId = {1, 2, 3, 4, 5, 6};
    fields.orderingKey = 1;
    for (int i = 0; i < kRdfSlotCount; ++i) fields.slotCodes[size_t(i)] = MakeSourceCode(unsigned(i % 19), 0, unsigned(1 + i % 29));
    CRdfWriter writer;
    if (!writer.Create(path, fields)) return false;
    const std::uint64_t count = (kFileBytes - kRdfHeaderSize) / kRdfRecordSize;
    std::vector<RdfRecord> block;
    block.reserve(65536);
    std::int64_t t = std::int64_t(1393675200) * 1000;
    std::uint32_t x = 12345;
    for (std::uint64_t i = 0; i < count; ++i) {
        const bool event = i % 20 == 19;
        if (!event || i % 200 != 199) t += 100;
        RdfRecord r = MakeRdfRecord(event ? std::uint8_t((i / 20) % 2 ? 0x02 : 0x01) : 0, t);
        for (int s = 0; s < kRdfSlotCount; ++s) {
            x = x * 1103515245u + 12345u;
            r.values[s] = std::int32_t(2300 + s * 100 + (x >> 16) % 2000) * ((s % 7 == 3) ? -1 : 1);
        }
        block.push_back(r);
        if (block.size() == block.capacity()) {
            if (!writer.Append(block)) return false;
            block.clear();
        }
    }
    return writer.Append(block) && writer.Close();
}

// Single-threaded first touch of as much fresh memory as the file needs, with the store's own
// huge-page advice: the machine's own cost of handing out that memory, which every first
// open in a process pays on top of reading. The memory is returned by the caller.
double TouchFreshMemory(CRecordStore& memory, std::uint64_t bytes) {
    return Time([&] {
        if (!memory.Allocate(std::size_t(bytes / sizeof(RdfRecord)))) return;
        auto* p = reinterpret_cast<volatile std::uint8_t*>(memory.Data());
        for (std::uint64_t i = 0; i < bytes; i += 4096) p[i] = 1;
    });
}

void BM_OpenRdf(benchmark::State& state) {
    const std::uint64_t size = std::uint64_t(QFileInfo(g_files.rdf).size());
    const QString cat = QStringLiteral("cat '%1' > /dev/null").arg(g_files.rdf);
    TimeShell(cat);  // into the page cache

    // The first open of the process, before the steady state: it pays for memory the
    // system hands out for the first time. Measured against touching as much fresh memory
    // alone, which is held meanwhile so that the open cannot reuse it.
    double first = 0, touch = 0;
    {
        CRecordStore fresh;
        touch = TouchFreshMemory(fresh, size);
        CFileRdf file;
        first = Time([&] {
            if (!file.Open(g_files.rdf)) state.SkipWithError("open failed");
        });
    }
    const double firstCat = TimeShell(cat);

    double open = 0, catTime = 0, peak = 0, net = 0;
    for (auto _ : state) {
        catTime += TimeShell(cat);
        const std::uint64_t before = StatusKb("VmRSS:");
        ResetPeakRss();
        CFileRdf file;
        const double t = Time([&] {
            if (!file.Open(g_files.rdf)) state.SkipWithError("open failed");
        });
        open += t;
        state.SetIterationTime(t);
        const std::uint64_t hwm = StatusKb("VmHWM:") * 1024;
        peak = std::max(peak, double(hwm) / double(size));
        net = std::max(net, double(hwm - before * 1024) / double(size));
        benchmark::DoNotOptimize(file.RecordCount());
    }
    const double n = double(state.iterations());
    state.counters["open_s"] = open / n;
    state.counters["cat_s"] = catTime / n;
    state.counters["open_per_cat"] = open / catTime;
    state.counters["first_open_s"] = first;
    state.counters["first_open_per_cat"] = first / firstCat;
    state.counters["fresh_touch_s"] = touch;
    state.counters["first_open_per_touch"] = first / touch;
    state.counters["peak_rss_per_size"] = peak;
    state.counters["peak_added_per_size"] = net;
}
BENCHMARK(BM_OpenRdf)->Iterations(5)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_ExportCsv(benchmark::State& state) {
    CRecordingSet set;
    auto file = std::make_unique<CFileRdf>();
    if (!file->Open(g_files.rdf)) {
        state.SkipWithError("open failed");
        return;
    }
    set.Add(std::move(file));
    const CQuantityTable table = CQuantityTable::Build();
    double exportTime = 0, ddTime = 0;
    std::uint64_t bytes = 0;
    // Each run frees the page cache of the file it wrote, which the next writer reuses, so
    // the two take turns at going first.
    const auto dd = [&] {
        const double t = TimeShell(QStringLiteral("dd if=/dev/zero of='%1' bs=1M count=%2 conv=fdatasync status=none")
                                       .arg(g_files.dd)
                                       .arg((bytes + (1 << 20) - 1) >> 20));
        QFile::remove(g_files.dd);
        return t;
    };
    bool ddFirst = false;
    for (auto _ : state) {
        if (ddFirst && bytes > 0) ddTime += dd();
        const double t = Time([&] {
            if (!ExportCsv(set, {set.DataStart(), set.DataEnd()}, table, g_files.csv).ok)
                state.SkipWithError("export failed");
        });
        exportTime += t;
        state.SetIterationTime(t);
        bytes = std::uint64_t(QFileInfo(g_files.csv).size());
        QFile::remove(g_files.csv);
        if (!ddFirst) ddTime += dd();
        ddFirst = !ddFirst;
    }
    const double n = double(state.iterations());
    state.counters["csv_mb"] = double(bytes) / (1 << 20);
    state.counters["export_s"] = exportTime / n;
    state.counters["dd_s"] = ddTime / n;
    state.counters["export_per_dd"] = exportTime / ddTime;
}
BENCHMARK(BM_ExportCsv)->Iterations(4)->UseManualTime()->Unit(benchmark::kMillisecond);
}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    static CLanguage language;
    language.UseKeyNames();
    CLanguage::SetCurrent(&language);

    benchmark::Initialize(&argc, argv);
    const QString base = qEnvironmentVariable("TRV730_BENCH_DIR", QDir::tempPath());
    g_files.dir = std::make_unique<QTemporaryDir>(base + QStringLiteral("/trv730-bench-XXXXXX"));
    if (!g_files.dir->isValid()) {
        std::fprintf(stderr, "no temporary folder under %s\n", qPrintable(base));
        return 1;
    }
    g_files.rdf = g_files.dir->filePath(QStringLiteral("FILE0001.RDF"));
    g_files.csv = g_files.dir->filePath(QStringLiteral("export.csv"));
    g_files.dd = g_files.dir->filePath(QStringLiteral("dd.bin"));
    std::fprintf(stderr, "generating %s ...\n", qPrintable(g_files.rdf));
    if (!GenerateRecording(g_files.rdf)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(g_files.rdf));
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    g_files.dir.reset();  // removes every generated file
    return 0;
}
