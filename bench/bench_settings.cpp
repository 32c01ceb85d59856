// A full settings read (126 requests, one per row) and a full write (126 rows and the
// apply command) through the core's transfer code, against the in-process simulated device
// on loopback; beside them the same requests sent by libmodbus's own client, the floor any
// client on this machine could reach. Target: each transfer under 50 ms.
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
#include "device/DeviceSession.h"
#include "device/ModbusDeviceClient.h"
#include "devsettings/ParameterTable.h"
#include "devsettings/RegisterCodec.h"
#include "devsettings/SettingsTransfer.h"
#include "language/Language.h"

namespace {

namespace DI = DeviceInterface;

std::map<std::string, double> g_medianMs;

CSimServer& Sim() {
    static CSimServer sim([] {
        SimConfig config;
        config.port = 0;
        return config;
    }());
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

template <typename Transfer>
void Measure(benchmark::State& state, const std::string& name, Transfer transfer) {
    std::vector<double> samples;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        if (!transfer()) {
            state.SkipWithError("transfer failed");
            return;
        }
        samples.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
    std::sort(samples.begin(), samples.end());
    const double median = samples[samples.size() / 2];
    state.counters["median_ms"] = median;
    state.counters["max_ms"] = samples.back();
    g_medianMs[name] = median;
}

// The core's transfer over the device page's client, logged in as the link does.
void Ours(benchmark::State& state, bool write) {
    CModbusDeviceClient client;
    DeviceRecord record;
    record.IpAddress = 0x7F000001;
    record.Port = Sim().Port();
    record.UnitId = 1;
    record.SetPassword(QStringLiteral("vexor"));
    if (OpenDeviceSession(client, record) != SessionResult::Ok) {
        state.SkipWithError("no session");
        return;
    }
    CParameterTable table;
    table.BuildParameterTable();
    const DeviceAccess access{&client, LinkState::Connected, 0};
    Measure(state, write ? "write/ours" : "read/ours", [&] {
        return (write ? SettingsTransfer::WriteAll(table, access) : SettingsTransfer::ReadAll(table, access))
            .ok;
    });
    client.Close();
}

// The same requests, rows in grid order, by libmodbus.
void Libmodbus(benchmark::State& state, bool write) {
    CParameterTable table;
    table.BuildParameterTable();
    struct Block {
        uint16_t first, count;
        uint16_t words[RegisterCodec::kMaxWords];
    };
    std::vector<Block> blocks;
    for (const CMyProperty* row : table.Rows()) {
        Block b{uint16_t(row->Binding().address), uint16_t(row->Binding().count), {}};
        RegisterCodec::Encode(*row, b.words);
        blocks.push_back(b);
    }
    modbus_t* ctx = modbus_new_tcp("127.0.0.1", Sim().Port());
    if (ctx == nullptr || modbus_connect(ctx) != 0) {
        state.SkipWithError("connect failed");
        modbus_free(ctx);
        return;
    }
    modbus_set_response_timeout(ctx, 1, 500000);
    Measure(state, write ? "write/libmodbus" : "read/libmodbus", [&] {
        uint16_t words[RegisterCodec::kMaxWords];
        for (Block& b : blocks) {
            const int n = write ? modbus_write_registers(ctx, b.first, b.count, b.words)
                                : modbus_read_registers(ctx, b.first, b.count, words);
            if (n != b.count)
                return false;
        }
        if (write) {
            const uint16_t apply = DI::kCmdApplySettings;
            return modbus_write_registers(ctx, DI::kRegCommand, 1, &apply) == 1;
        }
        return true;
    });
    modbus_close(ctx);
    modbus_free(ctx);
}

void BM_ReadAll_libmodbus(benchmark::State& state) {
    Libmodbus(state, false);
}
void BM_ReadAll_ours(benchmark::State& state) {
    Ours(state, false);
}
void BM_WriteAll_libmodbus(benchmark::State& state) {
    Libmodbus(state, true);
}
void BM_WriteAll_ours(benchmark::State& state) {
    Ours(state, true);
}

BENCHMARK(BM_ReadAll_libmodbus)->MinTime(1.0)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadAll_ours)->MinTime(1.0)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteAll_libmodbus)->MinTime(1.0)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteAll_ours)->MinTime(1.0)->UseRealTime()->Unit(benchmark::kMillisecond);

void PrintRatios() {
    std::printf("\n%-8s %12s %12s %8s %10s\n", "transfer", "ours med", "libmodbus", "ratio", "target");
    for (const char* kind : {"read", "write"}) {
        const auto ours = g_medianMs.find(std::string(kind) + "/ours");
        const auto theirs = g_medianMs.find(std::string(kind) + "/libmodbus");
        if (ours == g_medianMs.end() || theirs == g_medianMs.end())
            continue;
        std::printf("%-8s %10.2fms %10.2fms %8.2f %10s\n", kind, ours->second, theirs->second,
                    ours->second / theirs->second, ours->second < 50.0 ? "< 50 ms" : "MISSED");
    }
}

}  // namespace

int main(int argc, char** argv) {
    static CLanguage language;
    language.UseKeyNames();
    CLanguage::SetCurrent(&language);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    PrintRatios();
    Sim().Stop();
    return 0;
}
