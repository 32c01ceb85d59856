// What one tick of a full-screen live graph costs in the core: storing six held values,
// scaling over every stored sample and placing every column's point.
#include <benchmark/benchmark.h>

#include <vector>

#include "livegraph/LiveGraphData.h"
#include "livegraph/LiveGraphGeometry.h"

namespace {

void BM_LiveGraphTick(benchmark::State& state) {
    const int width = int(state.range(0));
    CLiveGraphData data;
    data.Resize(width);
    for (int i = 0; i < 6; ++i) data.AddSeries(QString::number(i + 1), 0xFF);
    const GraphRect plot = LiveGraphGeometry::PlotArea(LiveGraphGeometry::LabelArea({0, 0, width, 400}), 14);
    std::vector<QPoint> points(static_cast<size_t>(width));
    float v = 0.0f;
    for (auto _ : state) {
        for (int i = 0; i < 6; ++i) data.SetSeriesValue(i, v + float(i));
        v += 0.5f;
        data.Tick();
        const LiveValueRange range = data.Range();
        for (int i = 0; i < 6; ++i) {
            bool overflow = false;
            benchmark::DoNotOptimize(
                LiveGraphGeometry::SeriesPoints(data, i, plot, range, points.data(), width, &overflow));
        }
    }
}
BENCHMARK(BM_LiveGraphTick)->Arg(800)->Arg(3840);

}  // namespace

BENCHMARK_MAIN();
