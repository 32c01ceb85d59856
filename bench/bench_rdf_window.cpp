// The recorded-data window at work, each measure against its baseline in the same run:
// - a pointer move over a 1600 x 900 graph with six rows on: the move handled, then the
//   repaint that copies the back buffer and draws the overlay (cross-hair with its six
//   read-outs, the selection band, the ruler). Target: at most 4 ms. The graph is rendered
//   once beforehand; the count of renders is checked to stay put.
// - exporting a 512 MB recording's whole range from the window (its export runner: worker
//   thread, progress to the wait box, the result back on the window's thread) against
//   `trv730ctl rdf export` of the same file. Target: at most 1.1 x the tool.
//
// The generated recording and its exports (about 2 GB) live in a temporary folder
// (TRV730_BENCH_DIR, else the system's) and are removed at the end.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "app/AppCore.h"
#include "app/MessageBox.h"
#include "language/Language.h"
#include "rdf/RdfExportRunner.h"
#include "rdf/RdfGraphDlg.h"
#include "rdf/RdfGraphWidget.h"
#include "rdf/RdfWriter.h"
#include "rdf/RecordingSet.h"

namespace {
constexpr std::uint64_t kFileBytes = std::uint64_t(512) << 20;
constexpr QSize kGraph(1600, 900);

std::unique_ptr<QTemporaryDir> g_dir;
QString g_rdf;
std::unique_ptr<CRdfGraphDlg> g_window;

double Seconds(std::chrono::steady_clock::duration d) { return std::chrono::duration<double>(d).count(); }

template <typename F>
double Time(F&& f) {
    const auto start = std::chrono::steady_clock::now();
    f();
    return Seconds(std::chrono::steady_clock::now() - start);
}

template <typename F>
void WaitWhile(F busy) {
    while (busy()) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}

// A record every 100 ms, all twenty slots in use, 5 % event records: like the recordings
// bench_rdf exports.
bool Generate(const QString& path) {
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
        t += 100;
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

bool Prepare() {
    if (g_window) return true;
    const QByteArray where = qgetenv("TRV730_BENCH_DIR");
    g_dir = where.isEmpty() ? std::make_unique<QTemporaryDir>()
                            : std::make_unique<QTemporaryDir>(QString::fromLocal8Bit(where) + QStringLiteral("/window-XXXXXX"));
    if (!g_dir->isValid()) return false;
    g_rdf = g_dir->filePath(QStringLiteral("FILE0001.RDF"));
    if (!Generate(g_rdf)) return false;

    g_window = std::make_unique<CRdfGraphDlg>();
    g_window->show();
    g_window->OpenFiles({g_rdf});
    WaitWhile([] { return g_window->IsOpening(); });
    if (!g_window->IsLoaded()) return false;
    g_window->resize(g_window->size() + (kGraph - g_window->Graph()->size()));
    g_window->activateWindow();
    QElapsedTimer wait;
    wait.start();
    while (!g_window->isActiveWindow() && wait.elapsed() < 5000) QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    return g_window->Graph()->size() == kGraph && g_window->isActiveWindow();
}

void SendMove(QWidget* graph, QPoint p) {
    QMouseEvent e(QEvent::MouseMove, p, graph->mapToGlobal(p), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(graph, &e);
}

// mode: 0 cross-hair, 1 selection band, 2 ruler with both points set.
void BM_PointerMove(benchmark::State& state) {
    if (!Prepare()) {
        state.SkipWithError("cannot prepare the window");
        return;
    }
    const int mode = int(state.range(0));
    CRdfGraphDlg& w = *g_window;
    CRdfGraphWidget* graph = w.Graph();
    int on = 0;
    for (int row = 0; row < 6; ++row) on += w.Rows().At(row).on;
    if (on != 6) {
        state.SkipWithError("six rows are not on");
        return;
    }
    const RdfEdges plot = w.PlotArea();
    SendMove(graph, {plot.left + 10, plot.top + 10});
    if (mode == 1) w.RunCommand(CRdfGraphDlg::ID_ZOOM_SELECTION);
    if (mode == 2) {
        w.RunCommand(CRdfGraphDlg::ID_RULER);
        for (QPoint p : {QPoint(plot.left + 100, plot.top + 100), QPoint(plot.right - 100, plot.bottom - 100)}) {
            SendMove(graph, p);
            QMouseEvent press(QEvent::MouseButtonPress, p, graph->mapToGlobal(p), Qt::LeftButton, Qt::LeftButton,
                              Qt::NoModifier);
            QApplication::sendEvent(graph, &press);
        }
    }
    const int renders = graph->RenderCount();
    int i = 0;
    for (auto _ : state) {
        // Over the whole plot, so every quadrant and box placement takes its turn.
        const QPoint p(plot.left + (i * 37) % plot.Width(), plot.top + (i * 23) % plot.Height());
        ++i;
        SendMove(graph, p);
        graph->repaint();
    }
    if (graph->RenderCount() != renders) state.SkipWithError("a pointer move rendered the graph");
    if (mode == 1) w.RunCommand(CRdfGraphDlg::ID_ZOOM_SELECTION);
    if (mode == 2) w.RunCommand(CRdfGraphDlg::ID_RULER);
    state.counters["target_ms"] = 4.0;
}

void BM_WindowExport(benchmark::State& state) {
    if (!Prepare()) {
        state.SkipWithError("cannot prepare the window");
        return;
    }
    CRdfGraphDlg& w = *g_window;
    const QString ctl = QCoreApplication::applicationDirPath() + QStringLiteral("/trv730ctl");
    const QString toolCsv = g_dir->filePath(QStringLiteral("tool.csv"));
    const QString windowCsv = g_dir->filePath(QStringLiteral("window.csv"));
    const QString command = QStringLiteral("'%1' rdf export -o '%2' '%3' > /dev/null").arg(ctl, toolCsv, g_rdf);
    w.RunCommand(CRdfGraphDlg::ID_ZOOM_ALL);
    const CQuantityTable table = CQuantityTable::Build();

    double tool = 0.0;
    double window = 0.0;
    bool ok = true;
    for (auto _ : state) {
        // Taken in turns, so that both see the same state of the disk.
        tool += Time([&] { ok = ok && std::system(command.toLocal8Bit().constData()) == 0; });
        const double t = Time([&] {
            ok = ok && w.Export()->Start(w.Set(), w.View(), table, windowCsv);
            WaitWhile([&] { return w.Export()->IsRunning(); });
        });
        ok = ok && w.Export()->LastResult().ok;
        window += t;
        state.SetIterationTime(t);
    }
    if (!ok || QFile(toolCsv).size() != QFile(windowCsv).size()) state.SkipWithError("the exports differ or failed");
    const double n = double(state.iterations());
    state.counters["window_s"] = window / n;
    state.counters["trv730ctl_s"] = tool / n;
    state.counters["window_per_tool"] = window / tool;
    state.counters["csv_MB"] = double(QFile(windowCsv).size()) / (1 << 20);
    QFile::remove(toolCsv);
    QFile::remove(windowCsv);
}

BENCHMARK(BM_PointerMove)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_WindowExport)->Iterations(3)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    QApplication app(argc, argv);
    CAppCore core;
    // The texts trv730ctl beside this program reads, so that both write the same file.
    if (!core.Language.Load()) core.Language.UseKeyNames();
    CLanguage::SetCurrent(&core.Language);
    // The success question answers No, so no file is opened.
    MessageBox::SetHook([](const MessageBox::Request&) { return QMessageBox::No; });
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    g_window.reset();
    g_dir.reset();
    return 0;
}
