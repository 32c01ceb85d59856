// CModbusTCP against the simulated device on a loopback port: identification, faults
// on the wire, late answers, sharing one client between threads, connection failures.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>

#include "ScriptedPeer.h"
#include "SimServer.h"
#include "device/DeviceInterface.h"
#include "device/ModbusTCP.h"

namespace {

namespace DI = DeviceInterface;
using namespace std::chrono_literals;

SimConfig TestConfig() {
    SimConfig config;
    config.port = 0;
    config.restartDownMs = 300;
    return config;
}

class ClientOnSim : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string error;
        ASSERT_TRUE(sim.Start(&error)) << error;
        client.SetIdentifyTimeoutMs(200);
        ASSERT_EQ(client.Connect(kLoopback, sim.Port(), 1), 1);
    }
    void Reconnect() { ASSERT_EQ(client.Connect(kLoopback, sim.Port(), 1), 1); }

    CSimServer sim{TestConfig()};
    CModbusTCP client;
};

// An interrupt from another thread ends a wait for a silent device at once, leaves the
// connection to its owner, and fails every wait until it is reset.
TEST_F(ClientOnSim, AnInterruptCutsAWaitShortUntilItIsReset) {
    SimFaults silent;
    silent.silent = true;
    sim.SetFaults(silent);
    const uint64_t before = sim.RequestCount();
    int result = 0;
    std::thread reader([&] {
        uint16_t regs[2] = {};
        result = client.ReadHoldingRegisters(0, 2, regs, 60000);
    });
    while (sim.RequestCount() == before) std::this_thread::sleep_for(1ms);
    const auto start = std::chrono::steady_clock::now();
    client.Interrupt();
    reader.join();
    EXPECT_LT(std::chrono::steady_clock::now() - start, 10s);  // not the minute the read was given
    EXPECT_EQ(result, -2);
    EXPECT_TRUE(client.IsConnected());

    // Still interrupted: nothing is sent and no connection is made.
    uint16_t regs[2] = {};
    const uint64_t sent = sim.RequestCount();
    EXPECT_EQ(client.ReadHoldingRegisters(0, 2, regs, 60000), -2);
    EXPECT_EQ(client.Identify(), -1);
    EXPECT_EQ(client.Connect(kLoopback, sim.Port(), 1), 0);
    EXPECT_FALSE(client.IsConnected());
    EXPECT_EQ(sim.RequestCount(), sent);

    client.ResetInterrupt();
    sim.SetFaults(SimFaults{});
    Reconnect();
    EXPECT_EQ(client.ReadHoldingRegisters(0, 2, regs, 1500), 2);
    EXPECT_EQ(regs[0], DI::kDeviceType);
}

TEST_F(ClientOnSim, ReadsAndWritesTheDevice) {
    uint16_t block[DI::kMaxReadCount] = {};
    ASSERT_EQ(client.ReadHoldingRegisters(DI::kStatusFirst, DI::kStatusCount, block, 1500), DI::kStatusCount);
    EXPECT_EQ(block[DI::kRegDeviceType], DI::kDeviceType);
    EXPECT_EQ(client.ReadHoldingRegisters(DI::kSettingsFirst, 200, block, 1500), 125);
    EXPECT_EQ(block[DI::kRegVoltageSensor1 - DI::kSettingsFirst], 10);
    EXPECT_EQ(block[124], sim.Device().Register(2124));

    uint16_t port = 5020;
    ASSERT_EQ(client.WriteMultipleRegisters(DI::kRegModbusPort, 1, &port, 1500), 1);
    EXPECT_EQ(sim.Device().Register(DI::kRegModbusPort), 5020);
}

TEST_F(ClientOnSim, IdentifiesSupportedDevicesOnly) {
    struct Case {
        uint16_t type;
        uint16_t firmware;
        int expected;
    };
    const Case cases[] = {{14, 0x0107, -3}, {14, 0x0108, 0},  {14, 0x02FF, 0},
                          {14, 0x0300, -3}, {14, 0x0000, -3}, {13, 0x0204, -2}};
    for (const Case& c : cases) {
        sim.Device().SetIdentity(c.type, c.firmware);
        EXPECT_EQ(client.Identify(), c.expected) << c.type << " " << std::hex << c.firmware;
    }
    SimFaults silent;
    silent.silent = true;
    sim.SetFaults(silent);
    EXPECT_EQ(client.Identify(), -1);
    client.Close();
    EXPECT_EQ(client.Identify(), -1);
}

TEST_F(ClientOnSim, FaultyAnswersGiveTheirResultCodes) {
    struct Case {
        const char* name;
        SimFaults faults;
        int expected;
    };
    SimFaults unit, protocol, zero, exception, silent, dropped;
    unit.unitId = 5;
    protocol.protocolId = 1;
    zero.zeroLength = true;
    exception.exceptions = {{100, 441, 2}};
    silent.silent = true;
    dropped.dropAfter = 0;
    const Case cases[] = {{"unit 5", unit, -2},   {"protocol 1", protocol, -2},
                          {"length 0", zero, -2}, {"exception 2", exception, -3},
                          {"silent", silent, -2}, {"reset", dropped, -1}};
    for (const Case& c : cases) {
        sim.SetFaults(c.faults);
        uint16_t buffer[4] = {0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF};
        EXPECT_EQ(client.ReadHoldingRegisters(100, 4, buffer, 200), c.expected) << c.name;
        if (c.expected == -3) {
            EXPECT_EQ(buffer[0], 2) << c.name;
        }
        sim.SetFaults({});
        Reconnect();
    }
    // A refused write returns the exception code in the caller's buffer too.
    exception.exceptions = {{2000, 2000, 4}};
    sim.SetFaults(exception);
    uint16_t value = 77;
    EXPECT_EQ(client.WriteMultipleRegisters(2000, 1, &value, 200), -3);
    EXPECT_EQ(value, 4);
}

TEST_F(ClientOnSim, LateAnswerIsSkippedByTheNextRequest) {
    sim.Device().SetRegister(2072, 111);
    sim.Device().SetRegister(2117, 222);
    SimFaults late;
    late.lateAnswers = 1;
    late.lateMs = 400;
    sim.SetFaults(late);
    uint16_t value = 0;
    EXPECT_EQ(client.ReadHoldingRegisters(2072, 1, &value, 150), -2);
    EXPECT_EQ(client.ReadHoldingRegisters(2117, 1, &value, 1500), 1);
    EXPECT_EQ(value, 222);
    // Nothing stale is left behind.
    EXPECT_EQ(client.ReadHoldingRegisters(2072, 1, &value, 1500), 1);
    EXPECT_EQ(value, 111);
}

TEST_F(ClientOnSim, ThreadsSharingOneClientEachGetTheirOwnAnswer) {
    for (uint16_t a = 2022; a < 2062; ++a) {
        sim.Device().SetRegister(a, a);
    }
    SimFaults slow;
    slow.delayMs = 1;  // keeps exchanges long enough to overlap
    sim.SetFaults(slow);
    auto reader = [this](uint16_t first, int& mismatches) {
        for (int i = 0; i < 100; ++i) {
            uint16_t values[20] = {};
            if (client.ReadHoldingRegisters(first, 20, values, 1500) != 20) {
                ++mismatches;
                continue;
            }
            for (uint16_t k = 0; k < 20; ++k) {
                mismatches += values[k] != first + k;
            }
        }
    };
    int mismatchesA = 0;
    int mismatchesB = 0;
    std::thread a(reader, uint16_t{2022}, std::ref(mismatchesA));
    std::thread b(reader, uint16_t{2042}, std::ref(mismatchesB));
    a.join();
    b.join();
    EXPECT_EQ(mismatchesA, 0);
    EXPECT_EQ(mismatchesB, 0);
}

TEST_F(ClientOnSim, UnitAbove255IsSentAsItsLowByteAndItsAnswersAccepted) {
    ASSERT_EQ(client.Connect(kLoopback, sim.Port(), 300), 1);
    uint16_t identity[2] = {};
    EXPECT_EQ(client.ReadHoldingRegisters(0, 2, identity, 1500), 2);
    EXPECT_EQ(sim.LastUnitId(), 44);
}

TEST_F(ClientOnSim, RestartResetsTheConnectionAndRefusesForAMoment) {
    uint16_t restart = DI::kCmdRestart;
    EXPECT_EQ(client.WriteMultipleRegisters(DI::kRegCommand, 1, &restart, 1500), -1);
    CModbusTCP other;
    EXPECT_EQ(other.Connect(kLoopback, sim.Port(), 1), 0);
    // Back after the configured pause.
    const auto giveUp = std::chrono::steady_clock::now() + 5s;
    while (other.Connect(kLoopback, sim.Port(), 1) != 1 && std::chrono::steady_clock::now() < giveUp) {
        std::this_thread::sleep_for(50ms);
    }
    EXPECT_EQ(other.Identify(), 0);
}

TEST(ModbusConnect, FailsAtOnceOnAClosedPortAndAfterTheWaitOnASilentOne) {
    int closedPort = 0;
    {
        SimConfig config = TestConfig();
        CSimServer sim(config);
        ASSERT_TRUE(sim.Start());
        closedPort = sim.Port();
    }
    CModbusTCP client;
    auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(client.Connect(kLoopback, closedPort, 1), 0);
    EXPECT_LT(std::chrono::steady_clock::now() - start, 1s);
    EXPECT_FALSE(client.IsConnected());

    uint16_t value = 0;
    EXPECT_EQ(client.ReadHoldingRegisters(0, 1, &value, 100), -1);
    EXPECT_EQ(client.ReadHoldingRegisters(0, 1, nullptr, 100), -1);

    SilentListener silent;
    start = std::chrono::steady_clock::now();
    EXPECT_EQ(client.Connect(kLoopback, silent.Port(), 1), 0);
    const auto waited = std::chrono::steady_clock::now() - start;
    EXPECT_GE(waited, 2900ms);
    EXPECT_LT(waited, 6s);
    EXPECT_FALSE(client.IsConnected());
}

}  // namespace
