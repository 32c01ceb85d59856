// Round trips of our Modbus client against libmodbus's own client, both talking to the
// same in-process simulated device on loopback: one 100-register read, and the whole
// poll cycle of the device link (27; 100, 100, 100, 42; 100, 100, 22 registers).
#include <benchmark/benchmark.h>
#include <modbus.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "SimServer.h"
#include "device/DeviceInterface.h"
#include "device/ModbusTCP.h"

namespace {

namespace DI = DeviceInterface;

struct Chunk {
    uint16_t first;
    uint16_t count;
};
constexpr Chunk kSingle[] = {{100, 100}};
constexpr Chunk kPollCycle[] = {{0, 27},   {100, 100},  {200, 100},  {300, 100},
                                {400, 42}, {2000, 100}, {2100, 100}, {2200, 22}};

struct Figures {
    double median = 0;
    double p99 = 0;
};
std::map<std::string, Figures> g_figures;

SimConfig BenchConfig() {
    SimConfig config;
    config.port = 0;
    return config;
}

CSimServer& Sim() {
    static CSimServer sim(BenchConfig());
    static const bool started = [] {
        if (!sim.Start()) {
            std::fprintf(stderr, "cannot start the simulator\n");
            std::exit(1);
        }
        return true;
    }();
    (void)started;
    return sim;
}

// Times each iteration itself so the median and the 99th percentile can be reported.
template <typename Exchange>
void Measure(benchmark::State& state, const std::string& name, Exchange exchange) {
    std::vector<double> samples;
    samples.reserve(1 << 16);
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        if (!exchange()) {
            state.SkipWithError("request failed");
            return;
        }
        samples.push_back(
            std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count());
    }
    std::sort(samples.begin(), samples.end());
    Figures figures{samples[samples.size() / 2],
                    samples[std::min(samples.size() - 1, samples.size() * 99 / 100)]};
    state.counters["median_us"] = figures.median;
    state.counters["p99_us"] = figures.p99;
    g_figures[name] = figures;
}

template <size_t N>
void OurClient(benchmark::State& state, const Chunk (&chunks)[N], const char* name) {
    CModbusTCP client;
    if (client.Connect(0x7F000001, Sim().Port(), 1) != 1) {
        state.SkipWithError("connect failed");
        return;
    }
    uint16_t registers[DI::kMaxReadCount];
    Measure(state, name, [&] {
        for (const Chunk& c : chunks) {
            if (client.ReadHoldingRegisters(c.first, c.count, registers, DI::kRequestTimeoutMs) != c.count) {
                return false;
            }
        }
        return true;
    });
    client.Close();
}

template <size_t N>
void LibmodbusClient(benchmark::State& state, const Chunk (&chunks)[N], const char* name) {
    modbus_t* ctx = modbus_new_tcp("127.0.0.1", Sim().Port());
    if (ctx == nullptr || modbus_connect(ctx) != 0) {
        state.SkipWithError("connect failed");
        modbus_free(ctx);
        return;
    }
    modbus_set_response_timeout(ctx, 1, 500000);
    uint16_t registers[DI::kMaxReadCount];
    Measure(state, name, [&] {
        for (const Chunk& c : chunks) {
            if (modbus_read_registers(ctx, c.first, c.count, registers) != c.count) {
                return false;
            }
        }
        return true;
    });
    modbus_close(ctx);
    modbus_free(ctx);
}

void BM_Read100_CModbusTCP(benchmark::State& state) {
    OurClient(state, kSingle, "read100/ours");
}
void BM_Read100_libmodbus(benchmark::State& state) {
    LibmodbusClient(state, kSingle, "read100/libmodbus");
}
void BM_PollCycle_CModbusTCP(benchmark::State& state) {
    OurClient(state, kPollCycle, "cycle/ours");
}
void BM_PollCycle_libmodbus(benchmark::State& state) {
    LibmodbusClient(state, kPollCycle, "cycle/libmodbus");
}

BENCHMARK(BM_Read100_libmodbus)->MinTime(2.0);
BENCHMARK(BM_Read100_CModbusTCP)->MinTime(2.0);
BENCHMARK(BM_PollCycle_libmodbus)->MinTime(2.0);
BENCHMARK(BM_PollCycle_CModbusTCP)->MinTime(2.0);

void PrintRatios() {
    std::printf("\n%-10s %12s %12s %12s %12s %8s %8s %8s\n", "exchange", "ours med", "libmodbus", "ours p99",
                "libmodbus", "med x", "p99 x", "p99/med");
    for (const char* kind : {"read100", "cycle"}) {
        const auto ours = g_figures.find(std::string(kind) + "/ours");
        const auto theirs = g_figures.find(std::string(kind) + "/libmodbus");
        if (ours == g_figures.end() || theirs == g_figures.end()) {
            continue;
        }
        std::printf("%-10s %10.1fus %10.1fus %10.1fus %10.1fus %8.2f %8.2f %8.2f\n", kind,
                    ours->second.median, theirs->second.median, ours->second.p99, theirs->second.p99,
                    ours->second.median / theirs->second.median, ours->second.p99 / theirs->second.p99,
                    ours->second.p99 / theirs->second.median);
    }
    // med x: our median over libmodbus's; p99 x: our p99 over libmodbus's p99; p99/med: our
    // p99 over libmodbus's median (meaningful only on an otherwise idle machine).
    std::printf("targets: med x <= 1.25, p99 x <= 2\n");
}

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    PrintRatios();
    Sim().Stop();
    return 0;
}
