// trv730-soak [--seconds N] [--devices N] [--seed N] [--verbose] [--no-memory-check] [--gui]
//
// Runs N simulated devices on loopback and polls each with a device link, the way the
// program's device pages do (with --gui, the real main window's pages, offscreen), while
// faults hit the devices on a random schedule: dropped
// connections, late answers, exception answers, a restart, ten seconds of silence. Checks
// all along and reports at the end:
//  - after every fault each link is Connected again within 3.2 s of the fault's end;
//  - no polling thread stops calling its client for 12 s, and every link stops promptly;
//  - the resident memory grows by less than 1 MB after the first minute (after the first
//    third of a run shorter than three minutes); --no-memory-check leaves this out, for
//    builds whose sanitizer keeps memory of its own;
//  - with --gui, the GUI thread's timer events come at most 50 ms late in 99 of 100.
// Exit status 0 when every check held, 1 when one failed, 2 on a usage or start-up error.

#include <malloc.h>
#include <unistd.h>

#include <algorithm>
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>

#include "SoakLink.h"
#include "app/AppCore.h"
#include "app/MainCommands.h"
#include "app/TRV730DataAnalysisDlg.h"
#include "device/DeviceInterface.h"
#include "language/Language.h"
#include "views/DeviceDlg.h"

namespace DI = DeviceInterface;

namespace {

constexpr std::int64_t kRecoveryLimitMs = 3200;
constexpr std::int64_t kStuckLimitMs = 12000;
constexpr std::int64_t kStopLimitMs = 5000;
constexpr std::int64_t kMemoryLimitKb = 1024;
constexpr int kRestartDownMs = 1500;
constexpr int kWatchPeriodMs = 20;
constexpr int kLatencyPeriodMs = 10;
constexpr std::int64_t kLatencyLimitMs = 50;

struct Options {
    int seconds = 60;
    int devices = 10;
    std::uint32_t seed = 1;
    bool verbose = false;
    bool memoryCheck = true;
    bool gui = false;
};

bool ParseOptions(int argc, char** argv, Options& o) {
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        auto number = [&](auto& out, long lo, long hi) {
            if (i + 1 >= argc) return false;
            char* end = nullptr;
            const long v = std::strtol(argv[++i], &end, 10);
            if (!end || *end || v < lo || v > hi) return false;
            out = static_cast<std::remove_reference_t<decltype(out)>>(v);
            return true;
        };
        if (a == "--seconds") {
            if (!number(o.seconds, 5, 7 * 24 * 3600)) return false;
        } else if (a == "--devices") {
            if (!number(o.devices, 1, 10)) return false;
        } else if (a == "--seed") {
            if (!number(o.seed, 0, 0x7FFFFFFF)) return false;
        } else if (a == "--verbose") {
            o.verbose = true;
        } else if (a == "--no-memory-check") {
            o.memoryCheck = false;
        } else if (a == "--gui") {
            o.gui = true;
        } else {
            return false;
        }
    }
    return true;
}

// Bytes the program holds on its heap: the sanitizer's allocator keeps its own count, the
// C library's is asked otherwise. Beside the resident size, it tells a heap that grows
// from memory the allocator merely keeps.
extern "C" std::size_t __sanitizer_get_current_allocated_bytes() __attribute__((weak));

std::int64_t HeapKb() {
    if (__sanitizer_get_current_allocated_bytes) return std::int64_t(__sanitizer_get_current_allocated_bytes() / 1024);
    return std::int64_t(mallinfo2().uordblks / 1024);
}

std::int64_t ResidentKb() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0) return std::atoll(line.c_str() + 6);
    return -1;
}

const char* StateName(LinkState s) {
    switch (s) {
        case LinkState::Disconnected: return "Disconnected";
        case LinkState::Disconnecting: return "Disconnecting";
        case LinkState::Connecting: return "Connecting";
        case LinkState::Reconnecting: return "Reconnecting";
        case LinkState::Connected: return "Connected";
    }
    return "?";
}

class CSoak {
public:
    explicit CSoak(const Options& o) : m_options(o), m_random(o.seed) {}

    bool Start() {
        for (int i = 0; i < m_options.devices; ++i) {
            auto d = std::make_unique<SoakDevice>();
            SimConfig config;
            config.port = 0;
            config.seed = m_options.seed + std::uint32_t(i);
            config.restartDownMs = kRestartDownMs;
            d->sim = std::make_unique<CSimServer>(config);
            std::string error;
            if (!d->sim->Start(&error)) {
                std::fprintf(stderr, "trv730-soak: simulator %d: %s\n", i + 1, error.c_str());
                return false;
            }
            d->faults = std::make_unique<CSimFaultControl>(*d->sim);
            d->record.SetName(QStringLiteral("soak %1").arg(i + 1));
            d->record.SetPassword(QString::fromStdString(config.password));
            d->record.IpAddress = 0x7F000001;
            d->record.Port = d->sim->Port();
            d->record.UnitId = 1;
            m_devices.push_back(std::move(d));
        }
        if (m_options.gui ? !StartWindow() : !StartLinks()) return false;
        // The first faults come once every link has had time to connect, spread out.
        const std::int64_t now = SoakNowMs();
        for (auto& d : m_devices) d->nextFault = now + 3000 + Uniform(0, 6000);
        m_start = now;
        m_end = now + std::int64_t(m_options.seconds) * 1000;
        m_baselineAt = now + std::min<std::int64_t>(60000, std::int64_t(m_options.seconds) * 1000 / 3);
        m_nextReport = now + 60000;
        return true;
    }

    // Each device's own link, as a device page runs it.
    bool StartLinks() {
        for (std::size_t i = 0; i < m_devices.size(); ++i) {
            SoakDevice& d = *m_devices[i];
            d.client = std::make_unique<CWatchedClient>();
            d.poster = std::make_unique<CCountingPoster>();
            const DeviceRecord record = d.record;
            d.link = std::make_unique<DeviceLink>(*d.client, *d.poster,
                                                  [record]() -> std::optional<DeviceRecord> { return record; });
            if (!d.link->Start()) {
                std::fprintf(stderr, "trv730-soak: link %zu: no thread\n", i + 1);
                return false;
            }
            d.link->Command(2);
            DeviceLink* link = d.link.get();
            d.state = [link] { return link->State(); };
        }
        return true;
    }

    // The program's main window with a page per device, connected as Connect All does.
    bool StartWindow() {
        // The application object the windows look for, brought up without start-up's files:
        // key names for texts, and a device list in memory that never gets saved.
        m_app = std::make_unique<CAppCore>();
        m_app->Language.UseKeyNames();
        CLanguage::SetCurrent(&m_app->Language);
        // Only the soak's devices: the default list names a device on a real network.
        CSettings& settings = m_app->Settings;
        for (DeviceRecord& r : settings.Devices) r.Clear();
        for (std::size_t i = 0; i < m_devices.size(); ++i) settings.Devices[i] = m_devices[i]->record;
        m_window = std::make_unique<CTRV730DataAnalysisDlg>(
            settings, [](QWidget* parent, CSettings& settings, int index) -> IDevicePage* {
                auto* page = new CDeviceDlg(parent, settings);
                page->SetDeviceIndex(index);
                page->Initialize();
                return page;
            });
        m_window->show();
        m_window->RunCommand(ID_CONNECT_ALL);
        for (std::size_t i = 0; i < m_devices.size(); ++i) {
            IDevicePage* page = m_window->Page(int(i));
            if (!page) {
                std::fprintf(stderr, "trv730-soak: no page for device %zu\n", i + 1);
                return false;
            }
            m_devices[i]->state = [page] { return page->PageLinkState(); };
        }
        return true;
    }

    // One look at every device; false once the run's time is up.
    bool Step() {
        const std::int64_t now = SoakNowMs();
        if (now >= m_end) {
            if (m_finalKb < 0) {
                m_finalKb = ResidentKb();
                m_finalHeapKb = HeapKb();
            }
            return false;
        }
        for (std::size_t i = 0; i < m_devices.size(); ++i) Watch(int(i), *m_devices[i], now, m_end);
        if (m_baselineKb < 0 && now >= m_baselineAt) {
            m_baselineKb = ResidentKb();
            m_baselineHeapKb = HeapKb();
        }
        if (now >= m_nextReport) {
            std::printf("%4" PRId64 " s: rss %" PRId64 " kB, heap %" PRId64 " kB, faults %d, failures %d\n",
                        (now - m_start) / 1000, ResidentKb(), HeapKb(), m_totalFaults, int(m_failures.size()));
            std::fflush(stdout);
            m_nextReport += 60000;
        }
        return true;
    }

    // Watches until the run's time is up.
    void Run() {
        if (!m_options.gui) {
            while (Step()) std::this_thread::sleep_for(std::chrono::milliseconds(kWatchPeriodMs));
            return;
        }
        // On the GUI thread, between the window's own events; a second timer measures how
        // late the thread gets to its events.
        QTimer watch;
        QObject::connect(&watch, &QTimer::timeout, [&] {
            if (!Step()) QApplication::quit();
        });
        watch.start(kWatchPeriodMs);
        QTimer latency;
        latency.setTimerType(Qt::PreciseTimer);
        QElapsedTimer since;
        since.start();
        QObject::connect(&latency, &QTimer::timeout, [&] {
            const std::int64_t late = std::max<std::int64_t>(0, since.restart() - kLatencyPeriodMs);
            ++m_lateness[std::size_t(std::min<std::int64_t>(late, kLatenessBuckets - 1))];
            m_worstLateMs = std::max(m_worstLateMs, late);
        });
        latency.start(kLatencyPeriodMs);
        QApplication::exec();
    }

    void Stop() {
        if (m_window) {
            // Closing the main window stops every page's link and waits for it.
            const std::int64_t t0 = SoakNowMs();
            m_window->close();
            m_window.reset();
            m_worstStopMs = SoakNowMs() - t0;
            if (m_worstStopMs > kStopLimitMs)
                Fail(-1, "closing the main window took " + std::to_string(m_worstStopMs) + " ms");
        }
        for (std::size_t i = 0; i < m_devices.size(); ++i) {
            SoakDevice& d = *m_devices[i];
            if (d.link) {
                const std::int64_t t0 = SoakNowMs();
                d.link->Stop();
                const std::int64_t took = SoakNowMs() - t0;
                m_worstStopMs = std::max(m_worstStopMs, took);
                if (took > kStopLimitMs) Fail(int(i), "stopping the link took " + std::to_string(took) + " ms");
            }
            d.faults->Clear();
            d.sim->Stop();
        }
    }

    int Report() const {
        std::printf("\ndevice  faults(drop late exc restart silent)  reconnects  worst-recovery-ms  cycles   calls  longest-call-ms\n");
        for (std::size_t i = 0; i < m_devices.size(); ++i) {
            const SoakDevice& d = *m_devices[i];
            std::printf("%6zu  %4d %4d %4d %4d %4d %16d %19" PRId64 " %7" PRIu64 " %7" PRIu64 " %16" PRId64 "\n", i + 1,
                        d.faultCount[1], d.faultCount[2], d.faultCount[3], d.faultCount[4], d.faultCount[5],
                        d.reconnects, d.worstRecoveryMs, d.poster ? d.poster->Cycles() : 0,
                        d.client ? d.client->Calls() : 0, d.client ? d.client->LongestCallMs() : 0);
        }
        std::int64_t worst = 0;
        for (const auto& d : m_devices) worst = std::max(worst, d->worstRecoveryMs);
        const std::int64_t growth = m_finalKb - m_baselineKb;
        std::printf("\nfaults: %d; worst recovery: %" PRId64 " ms (limit %" PRId64 "); worst stop: %" PRId64
                    " ms\nresident memory: %" PRId64 " kB at the baseline, %" PRId64 " kB at the end, growth %" PRId64
                    " kB (limit %" PRId64 "); heap in use %" PRId64 " kB, then %" PRId64 " kB\n",
                    m_totalFaults, worst, kRecoveryLimitMs, m_worstStopMs, m_baselineKb, m_finalKb, growth,
                    kMemoryLimitKb, m_baselineHeapKb, m_finalHeapKb);
        bool ok = m_failures.empty();
        if (m_options.memoryCheck && (m_baselineKb < 0 || growth >= kMemoryLimitKb)) {
            std::printf("FAIL: memory grew by %" PRId64 " kB\n", growth);
            ok = false;
        }
        if (m_options.gui) {
            std::uint64_t events = 0;
            for (std::uint64_t n : m_lateness) events += n;
            std::int64_t p99 = -1;
            for (std::uint64_t below = 0, ms = 0; events > 0 && ms < m_lateness.size(); ++ms) {
                below += m_lateness[ms];
                if (below * 100 >= events * 99) {
                    p99 = std::int64_t(ms);
                    break;
                }
            }
            std::printf("GUI thread: %" PRIu64 " timer events, lateness p99 %" PRId64 " ms, worst %" PRId64
                        " ms (limit %" PRId64 ")\n",
                        events, p99, m_worstLateMs, kLatencyLimitMs);
            if (p99 < 0 || p99 >= kLatencyLimitMs) {
                std::printf("FAIL: the GUI thread's events came late\n");
                ok = false;
            }
        }
        for (const std::string& f : m_failures) std::printf("FAIL: %s\n", f.c_str());
        std::printf("%s\n", ok ? "soak: every check held" : "soak: CHECKS FAILED");
        return ok ? 0 : 1;
    }

private:
    std::int64_t Uniform(std::int64_t lo, std::int64_t hi) {
        return std::uniform_int_distribution<std::int64_t>(lo, hi)(m_random);
    }

    void Fail(int device, const std::string& what) {
        const std::string line = device < 0 ? what : "device " + std::to_string(device + 1) + ": " + what;
        if (m_failures.size() < 50) m_failures.push_back(line);
        std::fprintf(stderr, "trv730-soak: %s\n", line.c_str());
    }

    void Log(int device, const char* what, SoakFault f) {
        if (m_options.verbose)
            std::fprintf(stderr, "%" PRId64 " device %d: %s %s (%s)\n", SoakNowMs() % 1000000, device + 1, what,
                         SoakFaultName(f), StateName(m_devices[std::size_t(device)]->state()));
    }

    void Watch(int index, SoakDevice& d, std::int64_t now, std::int64_t runEnd) {
        const LinkState state = d.state();
        if (state != d.lastState && state == LinkState::Reconnecting) ++d.reconnects;
        d.lastState = state;

        if (d.client && d.client->IdleMs(now) > kStuckLimitMs && !d.stuckReported) {
            Fail(index, "the polling thread made no call for " + std::to_string(d.client->IdleMs(now)) + " ms");
            d.stuckReported = true;
        }

        // A fault whose time is up ends; from then on the link has its limit to be back.
        if (d.active != SoakFault::None && now >= d.faultEnd) {
            EndFault(d);
            Log(index, "end", d.active);
            d.active = SoakFault::None;
            d.endedAt = now;
            d.recoverBy = now + kRecoveryLimitMs;
        }
        if (d.recoverBy >= 0) {
            if (state == LinkState::Connected) {
                d.worstRecoveryMs = std::max(d.worstRecoveryMs, now - d.endedAt);
                d.recoverBy = -1;
                d.nextFault = now + Uniform(2000, 8000);
            } else if (now > d.recoverBy) {
                Fail(index, std::string("not Connected ") + std::to_string(now - d.endedAt) + " ms after a " +
                                SoakFaultName(d.lastFault) + " fault ended (" + StateName(state) + ")");
                d.worstRecoveryMs = std::max(d.worstRecoveryMs, now - d.endedAt);
                d.recoverBy = -1;
                d.nextFault = now + Uniform(2000, 8000);
            }
        }
        // A new fault only on a settled link, and only when it and its recovery fit the run.
        if (d.active == SoakFault::None && d.recoverBy < 0 && now >= d.nextFault && state == LinkState::Connected &&
            now + 10000 + kRecoveryLimitMs < runEnd) {
            BeginFault(d, SoakFault(Uniform(1, 5)), now);
            Log(index, "begin", d.active);
        }
    }

    void BeginFault(SoakDevice& d, SoakFault f, std::int64_t now) {
        d.active = f;
        d.lastFault = f;
        ++d.faultCount[int(f)];
        ++m_totalFaults;
        switch (f) {
            case SoakFault::Drop:
                d.faults->DropConnections(true);
                d.faultEnd = now + 300;
                break;
            case SoakFault::Late:
                // Sometimes within the request time-out, sometimes past it.
                d.faults->DelayAnswers(int(Uniform(200, 2500)));
                d.faultEnd = now + 3000;
                break;
            case SoakFault::Exception:
                d.faults->RefuseRegisters(true, 0, DI::kStatusCount - 1, std::uint8_t(Uniform(1, 4)));
                d.faultEnd = now + 3000;
                break;
            case SoakFault::Restart:
                d.faults->Restart();
                d.faultEnd = now + kRestartDownMs;
                break;
            case SoakFault::Silent:
                d.faults->Silence(true);
                d.faultEnd = now + 10000;
                break;
            case SoakFault::None:
                break;
        }
    }

    void EndFault(SoakDevice& d) {
        switch (d.active) {
            case SoakFault::Drop: d.faults->DropConnections(false); break;
            case SoakFault::Late: d.faults->DelayAnswers(0); break;
            case SoakFault::Exception: d.faults->RefuseRegisters(false); break;
            case SoakFault::Silent: d.faults->Silence(false); break;
            case SoakFault::Restart:
            case SoakFault::None: break;
        }
    }

    Options m_options;
    std::mt19937 m_random;
    std::vector<std::unique_ptr<SoakDevice>> m_devices;
    std::vector<std::string> m_failures;
    int m_totalFaults = 0;
    std::int64_t m_baselineKb = -1;
    std::int64_t m_finalKb = -1;
    std::int64_t m_baselineHeapKb = -1;
    std::int64_t m_finalHeapKb = -1;
    std::int64_t m_worstStopMs = 0;
    std::int64_t m_start = 0, m_end = 0, m_baselineAt = 0, m_nextReport = 0;
    // The window run (--gui).
    std::unique_ptr<CAppCore> m_app;
    std::unique_ptr<CTRV730DataAnalysisDlg> m_window;
    // Timer events by lateness in whole milliseconds (the last bucket: that or more).
    static constexpr std::int64_t kLatenessBuckets = 1000;
    std::vector<std::uint64_t> m_lateness = std::vector<std::uint64_t>(kLatenessBuckets, 0);
    std::int64_t m_worstLateMs = 0;
};

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (!ParseOptions(argc, argv, options)) {
        std::fprintf(stderr, "usage: trv730-soak [--seconds N] [--devices 1..10] [--seed N] [--verbose] [--no-memory-check] [--gui]\n");
        return 2;
    }
    std::printf("soak: %d devices, %d s, seed %u%s\n", options.devices, options.seconds, options.seed,
                options.gui ? ", main window" : "");
    std::fflush(stdout);
    std::unique_ptr<QApplication> app;
    if (options.gui) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        app = std::make_unique<QApplication>(argc, argv);
    }
    CSoak soak(options);
    if (!soak.Start()) {
        soak.Stop();
        return 2;
    }
    soak.Run();
    soak.Stop();
    return soak.Report();
}
