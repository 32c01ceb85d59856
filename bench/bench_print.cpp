// The printed page of the recorded-data graph: A4 landscape at 600 dpi, margins of 5 %, six
// rows on, over one 512 MB recording, from the per-slot summaries, with the plain page that
// walks every record in view timed beside it in the same run. Targets: the page within 1 s;
// its bitmap (one bit a pixel) at most 5 MB.
//
// The generated file lives in a temporary folder (TRV730_BENCH_DIR, else the system's) and
// is removed at the end.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <QTemporaryDir>
#include <chrono>
#include <cmath>
#include <ctime>
#include <memory>
#include <vector>

#include "rdf/FileRdf.h"
#include "rdf/RdfFileLoader.h"
#include "rdf/RdfPrintPainter.h"
#include "rdf/RdfSeriesRows.h"
#include "rdf/RdfWriter.h"
#include "rdf/RecordingSet.h"

namespace {
constexpr std::uint64_t kFileBytes = std::uint64_t(512) << 20;
constexpr double kTargetSeconds = 1.0;
constexpr double kTargetBitmapBytes = 5.0 * 1024 * 1024;
const SourceCode kSources[6] = {MakeSourceCode(0, 0, QK_VOLTAGE_RMS), MakeSourceCode(1, 0, QK_VOLTAGE_RMS),
                                MakeSourceCode(2, 0, QK_VOLTAGE_RMS), MakeSourceCode(0, 0, QK_CURRENT_RMS),
                                MakeSourceCode(0, 0, QK_FREQUENCY), MakeSourceCode(7, 0, QK_TEMPERATURE)};

std::unique_ptr<QTemporaryDir> g_dir;
CRecordingSet g_set;

// CPU seconds of this thread: on a machine shared with other work the wall clock says more
// about the neighbours than about the page.
double ThreadCpuSeconds() {
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return double(ts.tv_sec) + double(ts.tv_nsec) * 1e-9;
}

double Seconds(std::chrono::steady_clock::duration d) { return std::chrono::duration<double>(d).count(); }

template <typename F>
double Time(F&& f) {
    const auto start = std::chrono::steady_clock::now();
    f();
    return Seconds(std::chrono::steady_clock::now() - start);
}

// A record every 10 ms, values that wander like measurements with a spike now and then, an
// event every few thousand records.
bool Generate(const QString& path) {
    RdfHeaderFields fields;
    fields.deviceId = {1, 2, 3, 4, 5, 6};
    fields.orderingKey = 1;
    for (int i = 0; i < 6; ++i) fields.slotCodes[size_t(i)] = kSources[i];
    CRdfWriter writer;
    if (!writer.Create(path, fields)) return false;
    const std::uint64_t count = (kFileBytes - kRdfHeaderSize) / kRdfRecordSize;
    std::vector<RdfRecord> block;
    block.reserve(65536);
    std::uint32_t x = 12345;
    std::int64_t t = std::int64_t(1393675200) * 1000;
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

bool Prepare() {
    if (g_dir) return g_set.IsLoaded();
    const QByteArray where = qgetenv("TRV730_BENCH_DIR");
    g_dir = where.isEmpty() ? std::make_unique<QTemporaryDir>()
                            : std::make_unique<QTemporaryDir>(QString::fromLocal8Bit(where) + QStringLiteral("/print-XXXXXX"));
    if (!g_dir->isValid()) return false;
    const QString path = g_dir->filePath(QStringLiteral("FILE0001.RDF"));
    if (!Generate(path)) return false;
    CRdfFileLoader loader;
    loader.Start({path}, nullptr);
    loader.Wait();
    for (auto& outcome : loader.TakeResults())
        if (!outcome.file || g_set.Add(std::move(outcome.file)) != RdfAddResult::Added) return false;
    return g_set.IsLoaded();
}

void BM_RenderPrintPage(benchmark::State& state, bool tenth) {
    if (!Prepare()) {
        state.SkipWithError("cannot generate or open the recording");
        return;
    }
    RdfPrintContent content;
    content.set = &g_set;
    std::vector<SeriesSelection> selections;
    for (int i = 0; i < 6; ++i) {
        content.rows[size_t(i)] = {true, kSources[i], 1.0};
        content.seriesNames[size_t(i)] = QStringLiteral("Series %1").arg(i + 1);
        selections.push_back({true, kSources[i]});
    }
    content.range = ComputeValueRange(g_set, selections);
    const TimeRange data = RdfDataRange(g_set);
    content.view = data;
    if (tenth) content.view = {data.start + data.Span() * 9 / 20, data.start + data.Span() * 11 / 20};
    content.title = RdfPrintTitle(g_set);
    content.files = RdfPrintFileList(g_set);
    content.legendCaption = QStringLiteral("Legend");
    content.commentCaption = QStringLiteral("Comment");
    content.coefficientWord = QStringLiteral("scale");
    content.eventText = QStringLiteral("Event");

    const RdfPaper paper{2100, 2970, true, true, 600, 600};
    const QSize sheet = paper.SheetPixels();
    const RdfEdges margins = RdfPrintMargins().Apply(sheet);
    const RdfPrintScale scale{600.0, 600.0};
    QImage fast;
    double fastTime = 0;
    const double cpu0 = ThreadCpuSeconds();
    for (auto _ : state) {
        // The page as the dialog makes it: a fresh white bitmap, then the page drawn into it.
        const double t = Time([&] {
            fast = RdfPrintPainter::NewPageBitmap(sheet);
            RdfPrintPainter::RenderPrintPage(fast, content, margins, scale, QStringLiteral("Comment on the graph"));
        });
        state.SetIterationTime(t);
        fastTime += t;
    }
    const double fastCpu = (ThreadCpuSeconds() - cpu0) / double(state.iterations());
    QImage plain = RdfPrintPainter::NewPageBitmap(sheet);
    const double plainTime = Time([&] {
        RdfPrintPainter::RenderPrintPage(plain, content, margins, scale, QStringLiteral("Comment on the graph"),
                                         RdfCurveWalk::Records);
    });
    const double fastS = fastTime / double(state.iterations());
    const double layoutTime = Time([&] {
        RdfPrintLayout::Build(content, QStringLiteral("Comment on the graph"), margins, scale, RdfPrintPainter::CMeasure(scale));
    });
    state.counters["layout_ms"] = 1000 * layoutTime;
    state.counters["page_ms"] = 1000 * fastS;
    state.counters["page_per_target"] = fastS / kTargetSeconds;
    state.counters["page_cpu_ms"] = 1000 * fastCpu;
    state.counters["record_walk_ms"] = 1000 * plainTime;
    state.counters["walk_per_summaries"] = plainTime / fastS;
    state.counters["same_page"] = fast == plain ? 1 : 0;
    state.counters["bitmap_mb"] = double(fast.sizeInBytes()) / (1024.0 * 1024.0);
    state.counters["bitmap_per_target"] = double(fast.sizeInBytes()) / kTargetBitmapBytes;
}

}  // namespace

int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);  // fonts need it
    benchmark::RegisterBenchmark("BM_RenderPrintPage/A4_landscape_600dpi/whole", BM_RenderPrintPage, false)
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond)
        ->Iterations(5);
    benchmark::RegisterBenchmark("BM_RenderPrintPage/A4_landscape_600dpi/tenth", BM_RenderPrintPage, true)
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond)
        ->Iterations(5);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    g_set.Reset();
    g_dir.reset();
    return 0;
}
