#pragma once

// One device of the soak run: its simulator, the link that polls it (its own, or a device
// page's in the main window), and what the watching thread learns about them.

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>

#include "SimFaultControl.h"
#include "SimServer.h"
#include "device/DeviceLink.h"
#include "device/DevicePoster.h"
#include "device/ModbusDeviceClient.h"

inline std::int64_t SoakNowMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

// The real client, with the time of every call's start and end kept, so a polling thread
// that stops calling (or one call that never returns) shows.
class CWatchedClient final : public IDeviceClient {
public:
    int Connect(uint32_t ip, int port, int unit) override {
        return Call([&] { return m_inner.Connect(ip, port, unit); });
    }
    void Close() override {
        Call([&] {
            m_inner.Close();
            return 0;
        });
    }
    bool IsConnected() const override { return m_inner.IsConnected(); }
    int Identify() override {
        return Call([&] { return m_inner.Identify(); });
    }
    int ReadHoldingRegisters(uint16_t first, uint16_t count, uint16_t* regs, int timeoutMs) override {
        return Call([&] { return m_inner.ReadHoldingRegisters(first, count, regs, timeoutMs); });
    }
    int WriteMultipleRegisters(uint16_t first, uint16_t count, uint16_t* regs, int timeoutMs) override {
        return Call([&] { return m_inner.WriteMultipleRegisters(first, count, regs, timeoutMs); });
    }

    // Milliseconds since the thread last started or ended a call, and the longest call so far.
    std::int64_t IdleMs(std::int64_t now) const {
        const std::int64_t busy = m_busySince.load();
        return busy >= 0 ? now - busy : now - m_lastEnd.load();
    }
    std::int64_t LongestCallMs() const { return m_longest.load(); }
    std::uint64_t Calls() const { return m_calls.load(); }

private:
    template <typename F>
    int Call(F f) {
        const std::int64_t start = SoakNowMs();
        m_busySince.store(start);
        const int rc = f();
        const std::int64_t end = SoakNowMs();
        m_lastEnd.store(end);
        m_busySince.store(-1);
        if (end - start > m_longest.load()) m_longest.store(end - start);
        ++m_calls;
        return rc;
    }

    CModbusDeviceClient m_inner;
    std::atomic<std::int64_t> m_busySince{-1};
    std::atomic<std::int64_t> m_lastEnd{SoakNowMs()};
    std::atomic<std::int64_t> m_longest{0};
    std::atomic<std::uint64_t> m_calls{0};
};

class CCountingPoster final : public IDevicePoster {
public:
    void Post(int message, int wParam, int64_t) override {
        if (message == UM_DEVICE_DATA && wParam == 1) ++m_cycles;
    }
    std::uint64_t Cycles() const { return m_cycles.load(); }

private:
    std::atomic<std::uint64_t> m_cycles{0};
};

enum class SoakFault { None, Drop, Late, Exception, Restart, Silent };

inline const char* SoakFaultName(SoakFault f) {
    switch (f) {
        case SoakFault::None: return "none";
        case SoakFault::Drop: return "drop";
        case SoakFault::Late: return "late";
        case SoakFault::Exception: return "exception";
        case SoakFault::Restart: return "restart";
        case SoakFault::Silent: return "silent";
    }
    return "?";
}

struct SoakDevice {
    std::unique_ptr<CSimServer> sim;
    std::unique_ptr<CSimFaultControl> faults;
    std::unique_ptr<CWatchedClient> client;
    std::unique_ptr<CCountingPoster> poster;
    std::unique_ptr<DeviceLink> link;
    DeviceRecord record;
    std::function<LinkState()> state;  // the link's state, read by the watching thread

    // The schedule, driven by the watching thread only.
    SoakFault active = SoakFault::None;
    SoakFault lastFault = SoakFault::None;
    std::int64_t faultEnd = 0;       // when the active fault is switched off
    std::int64_t recoverBy = -1;     // >= 0: the link must be Connected by then
    std::int64_t endedAt = 0;        // when the last fault ended
    std::int64_t nextFault = 0;
    LinkState lastState = LinkState::Disconnected;

    // Findings.
    int faultCount[6] = {};
    int reconnects = 0;
    std::int64_t worstRecoveryMs = 0;
    bool stuckReported = false;
};
