// Decoding a whole register image into what a device page shows. Ten devices update twice
// a second each, so one decode has to stay far below a millisecond.
#include <benchmark/benchmark.h>

#include <algorithm>

#include "device/LiveDecoder.h"
#include "device/RegisterImage.h"
#include "language/Language.h"

static void BM_DecodeWholeImage(benchmark::State& state) {
    static CLanguage language;
    language.UseKeyNames();
    CLanguage::SetCurrent(&language);
    RegisterImage image;
    uint16_t regs[100];
    for (int i = 0; i < 100; ++i) regs[i] = uint16_t(i * 37 + 5);
    image.Write(0, 27, regs);
    for (int first = 100; first < 442; first += 100) image.Write(first, std::min(100, 442 - first), regs);
    for (int first = 2000; first < 2222; first += 100) image.Write(first, std::min(100, 2222 - first), regs);
    for (auto _ : state) benchmark::DoNotOptimize(LiveDecoder::Decode(image, LinkState::Connected, 1182));
}
BENCHMARK(BM_DecodeWholeImage);

BENCHMARK_MAIN();
