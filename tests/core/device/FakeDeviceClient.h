#pragma once

#include <climits>
#include <cstdint>
#include <functional>
#include <vector>

#include "device/DeviceClient.h"
#include "support/FakeLinkClock.h"

// A scripted device connection. Reads answer from regs unless readHook says otherwise;
// every read costs readCostMs on the fake clock.
class FakeDeviceClient : public IDeviceClient {
public:
    struct Call {
        uint16_t first;
        uint16_t count;
        bool operator==(const Call&) const = default;
    };
    static constexpr int kAnswer = INT_MIN;  // readHook: answer normally

    explicit FakeDeviceClient(FakeLinkClock* clock = nullptr) : m_clock(clock), regs(65536) {}

    int Connect(uint32_t ipAddress, int port, int unitId) override {
        lastIp = ipAddress;
        lastPort = port;
        lastUnit = unitId;
        ++connects;
        connected = connectResult == 1;
        return connectResult;
    }
    void Close() override {
        if (onClose) onClose();
        ++closes;
        connected = false;
    }
    bool IsConnected() const override { return connected; }
    int Identify() override {
        if (onIdentify) onIdentify();
        return connected ? identifyResult : -1;
    }
    int ReadHoldingRegisters(uint16_t first, uint16_t count, uint16_t* out, int timeoutMs) override {
        reads.push_back({first, count});
        lastTimeoutMs = timeoutMs;
        if (m_clock) m_clock->Advance(readCostMs);
        const int hooked = readHook ? readHook(first, count) : kAnswer;
        if (hooked != kAnswer) return hooked;
        if (!connected) return -1;
        for (int i = 0; i < count; ++i) out[i] = regs[first + i];
        return count;
    }
    int WriteMultipleRegisters(uint16_t first, uint16_t count, uint16_t* values, int) override {
        writes.push_back({first, std::vector<uint16_t>(values, values + count)});
        if (!connected) return -1;
        return writeResult ? writeResult(first, count) : count;
    }

    FakeLinkClock* m_clock;
    std::vector<uint16_t> regs;
    int connectResult = 1;
    int identifyResult = 0;
    uint32_t readCostMs = 0;
    std::function<int(uint16_t first, uint16_t count)> readHook;
    std::function<int(uint16_t first, uint16_t count)> writeResult;
    std::function<void()> onIdentify;
    std::function<void()> onClose;

    bool connected = false;
    int connects = 0, closes = 0;
    uint32_t lastIp = 0;
    int lastPort = 0, lastUnit = 0, lastTimeoutMs = 0;
    std::vector<Call> reads;
    std::vector<std::pair<uint16_t, std::vector<uint16_t>>> writes;
};
