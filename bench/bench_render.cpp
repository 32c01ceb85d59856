// Drawing the recorded-data graph at 1600 x 900 with all six rows on, from the per-slot
// summaries, against the plain renderer that walks every record in view, both timed in the
// same run on the same files: one 512 MB recording with six sources and a set of four such
// recordings, at the whole range, a tenth of it, a thousandth of it and a view of 1000
// records. Target: every case within a frame (16 ms). Also the open with the summaries
// against the open without them (target: at most 1.25 x).
//
// The generated files (about 2 GB) live in a temporary folder (TRV730_BENCH_DIR, else the
// system's) and are removed at the end.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <QTemporaryDir>
#include <chrono>
#include <ctime>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

#include "rdf/FileRdf.h"
#include "rdf/RdfFileLoader.h"
#include "rdf/RdfGraphPainter.h"
#include "rdf/RdfSeriesRows.h"
#include "rdf/RdfWriter.h"
#include "rdf/RecordingSet.h"

namespace {
constexpr std::uint64_t kFileBytes = std::uint64_t(512) << 20;
constexpr int kFiles = 4;
constexpr QSize kSize(1600, 900);
const SourceCode kSources[6] = {MakeSourceCode(0, 0, QK_VOLTAGE_RMS), MakeSourceCode(1, 0, QK_VOLTAGE_RMS),
                                MakeSourceCode(2, 0, QK_VOLTAGE_RMS), MakeSourceCode(0, 0, QK_CURRENT_RMS),
                                MakeSourceCode(0, 0, QK_FREQUENCY), MakeSourceCode(7, 0, QK_TEMPERATURE)};

std::unique_ptr<QTemporaryDir> g_dir;
QStringList g_paths;
CRecordingSet g_one;
CRecordingSet g_four;

double Seconds(std::chrono::steady_clock::duration d) { return std::chrono::duration<double>(d).count(); }

template <typename F>
double Time(F&& f) {
    const auto start = std::chrono::steady_clock::now();
    f();
    return Seconds(std::chrono::steady_clock::now() - start);
}

// CPU seconds of this thread (or of the whole process): on a machine shared with other work
// the wall clock says more about the neighbours than about the code.
double CpuSeconds(clockid_t clock) {
    timespec ts{};
    clock_gettime(clock, &ts);
    return double(ts.tv_sec) + double(ts.tv_nsec) * 1e-9;
}

// A record every 10 ms (a device's fastest period, so one file covers about 17 hours);
// values that wander like measurements, with a spike now and then; an event every few
// thousand records.
bool Generate(const QString& path, std::uint32_t key, std::int64_t& t) {
    RdfHeaderFields fields;
    fields.deviceId = {1, 2, 3, 4, 5, 6};
    fields.orderingKey = key;
    for (int i = 0; i < 6; ++i) fields.slotCodes[size_t(i)] = kSources[i];
    CRdfWriter writer;
    if (!writer.Create(path, fields)) return false;
    const std::uint64_t count = (kFileBytes - kRdfHeaderSize) / kRdfRecordSize;
    std::vector<RdfRecord> block;
    block.reserve(65536);
    std::uint32_t x = 12345 + key;
    for (std::uint64_t i = 0; i < count; ++i) {
        t += 10;
        const std::uint8_t kind = i % 5000 == 4999 ? 0x02 : (i % 5000 == 30 ? 0x01 : 0);
        RdfRecord r = MakeRdfRecord(kind, t);
        for (int s = 0; s < 6; ++s) {
            x = x * 1103515245u + 12345u;
            const double wave = std::sin(double(i) / (20000.0 + 3000.0 * s) + s);
            r.values[s] = std::int32_t(2300 + 400 * wave + (x >> 16) % 50 + ((x >> 8) % 100000 == 0 ? 1500 : 0));
        }
        block.push_back(r);
        if (block.size() == block.capacity()) {
            if (!writer.Append(block)) return false;
            block.clear();
        }
    }
    return writer.Append(block) && writer.Close();
}

bool Load(const QStringList& paths, bool summaries, CRecordingSet& into, double* seconds = nullptr,
          double* cpuSeconds = nullptr) {
    CRdfFileLoader loader;
    loader.SetBuildSummaries(summaries);
    const double cpu = CpuSeconds(CLOCK_PROCESS_CPUTIME_ID);
    const double t = Time([&] {
        loader.Start(paths, nullptr);
        loader.Wait();
    });
    if (seconds) *seconds = t;
    if (cpuSeconds) *cpuSeconds = CpuSeconds(CLOCK_PROCESS_CPUTIME_ID) - cpu;
    for (auto& outcome : loader.TakeResults())
        if (!outcome.file || into.Add(std::move(outcome.file)) != RdfAddResult::Added) return false;
    return true;
}

bool Prepare() {
    if (g_dir) return true;
    const QByteArray where = qgetenv("TRV730_BENCH_DIR");
    g_dir = where.isEmpty() ? std::make_unique<QTemporaryDir>() : std::make_unique<QTemporaryDir>(QString::fromLocal8Bit(where) + QStringLiteral("/render-XXXXXX"));
    if (!g_dir->isValid()) return false;
    std::int64_t t = std::int64_t(1393675200) * 1000;
    for (int i = 0; i < kFiles; ++i) {
        g_paths << g_dir->filePath(QStringLiteral("FILE%1.RDF").arg(i + 1, 4, 10, QLatin1Char('0')));
        if (!Generate(g_paths.back(), std::uint32_t(i + 1), t)) return false;
    }
    return Load(g_paths.mid(0, 1), true, g_one) && Load(g_paths, true, g_four);
}

struct Case {
    const char* name;
    int set;   // 1 or 4 files
    int view;  // 0 whole, 1 a tenth, 2 a thousandth, 3 1000 records
};

TimeRange ViewOf(const CRecordingSet& set, int view) {
    const TimeRange data = RdfDataRange(set);
    const std::int64_t middle = data.start + data.Span() / 2;
    switch (view) {
    case 1: return {middle - data.Span() / 20, middle + data.Span() / 20};
    case 2: return {middle - data.Span() / 2000, middle + data.Span() / 2000};
    case 3: return {middle, middle + 999 * 10};  // a record every 10 ms
    default: return data;
    }
}

void BM_RenderGraph(benchmark::State& state, Case c) {
    if (!Prepare()) {
        state.SkipWithError("cannot generate or open the recordings");
        return;
    }
    const CRecordingSet& set = c.set == 1 ? g_one : g_four;
    std::vector<RdfRowDraw> rows;
    std::vector<SeriesSelection> selections;
    for (SourceCode code : kSources) {
        rows.push_back({true, code, 1.0});
        selections.push_back({true, code});
    }
    const ValueRange range = ComputeValueRange(set, selections);
    const TimeRange view = ViewOf(set, c.view);
    RdfGraphStyle style;  // the store's defaults: line width 1, markers of size 2, event marks
    for (int i = 0; i < 6; ++i) style.seriesColors[size_t(i)] = QColor::fromHsv(i * 60, 255, 255);
    style.eventText = QStringLiteral("Event");
    QImage fast(kSize, QImage::Format_RGB32);
    QImage plain(kSize, QImage::Format_RGB32);

    double fastTime = 0;
    const double fastCpu0 = CpuSeconds(CLOCK_THREAD_CPUTIME_ID);
    for (auto _ : state) {
        const double t = Time([&] { RdfGraphPainter::RenderGraph(fast, &set, rows, view, range, style); });
        state.SetIterationTime(t);
        fastTime += t;
    }
    const double fastCpu = CpuSeconds(CLOCK_THREAD_CPUTIME_ID) - fastCpu0;
    const double plainCpu0 = CpuSeconds(CLOCK_THREAD_CPUTIME_ID);
    const double plainTime = Time([&] {
        RdfGraphPainter::RenderGraph(plain, &set, rows, view, range, style, RdfCurveWalk::Records);
    });
    const double plainCpu = CpuSeconds(CLOCK_THREAD_CPUTIME_ID) - plainCpu0;
    const double n = double(state.iterations());
    state.counters["summaries_ms"] = 1000 * fastTime / n;
    state.counters["summaries_cpu_ms"] = 1000 * fastCpu / n;
    state.counters["record_walk_ms"] = 1000 * plainTime;
    state.counters["record_walk_cpu_ms"] = 1000 * plainCpu;
    state.counters["walk_per_summaries_cpu"] = plainCpu / (fastCpu / n);
    state.counters["same_picture"] = fast == plain ? 1 : 0;
}

void BM_OpenWithSummaries(benchmark::State& state) {
    if (!Prepare()) {
        state.SkipWithError("cannot generate or open the recordings");
        return;
    }
    // The files are in the page cache; each open reads them from there.
    double with = 0, without = 0, withCpu = 0, withoutCpu = 0;
    for (auto _ : state) {
        CRecordingSet a, b;
        double t1 = 0, t2 = 0, c1 = 0, c2 = 0;
        if (!Load(g_paths.mid(0, 1), false, a, &t1, &c1) || !Load(g_paths.mid(0, 1), true, b, &t2, &c2))
            state.SkipWithError("open failed");
        without += t1;
        with += t2;
        withoutCpu += c1;
        withCpu += c2;
        state.SetIterationTime(t2);
        const std::size_t summary = b.File(0).Summary() ? b.File(0).Summary()->MemoryBytes() : 0;
        state.counters["summary_per_file_size"] = double(summary) / double(kFileBytes);
    }
    const double n = double(state.iterations());
    state.counters["open_s"] = without / n;
    state.counters["open_with_summaries_s"] = with / n;
    state.counters["with_per_without"] = with / without;
    state.counters["cpu_with_per_without"] = withCpu / withoutCpu;
}

}  // namespace

int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);  // fonts need it
    const Case cases[] = {{"one_file/whole", 1, 0}, {"one_file/tenth", 1, 1}, {"one_file/thousandth", 1, 2},
                          {"one_file/1000_records", 1, 3}, {"four_files/whole", 4, 0}, {"four_files/tenth", 4, 1},
                          {"four_files/thousandth", 4, 2}, {"four_files/1000_records", 4, 3}};
    for (const Case& c : cases)
        benchmark::RegisterBenchmark((std::string("BM_RenderGraph/") + c.name).c_str(), BM_RenderGraph, c)
            ->UseManualTime()
            ->Unit(benchmark::kMillisecond)
            ->MinTime(0.5);
    benchmark::RegisterBenchmark("BM_OpenWithSummaries", BM_OpenWithSummaries)
        ->UseManualTime()
        ->Iterations(3)
        ->Unit(benchmark::kMillisecond);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    g_one.Reset();
    g_four.Reset();
    g_dir.reset();
    return 0;
}
