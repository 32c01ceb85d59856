#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <thread>

#include "SimServer.h"
#include "device/DeviceCommands.h"
#include "device/DeviceInterface.h"
#include "device/DeviceLink.h"
#include "device/ModbusDeviceClient.h"
#include "support/FakeLinkClock.h"
#include "support/PostQueue.h"

namespace DI = DeviceInterface;

namespace {

using Msg = PostQueue::Message;

// The real client, with a fake clock that reads move on and hooks for the moments a test
// needs to step in.
class ObservedClient : public IDeviceClient {
public:
    explicit ObservedClient(FakeLinkClock& clock) : m_clock(clock) {}

    int Connect(uint32_t ip, int port, int unit) override {
        ++connects;
        return real.Connect(ip, port, unit);
    }
    void Close() override { real.Close(); }
    bool IsConnected() const override { return real.IsConnected(); }
    int Identify() override {
        if (onIdentify) onIdentify();
        return real.Identify();
    }
    void Interrupt() override { real.Interrupt(); }
    void ResetInterrupt() override { real.ResetInterrupt(); }
    int ReadHoldingRegisters(uint16_t first, uint16_t count, uint16_t* regs, int timeoutMs) override {
        m_clock.Advance(readCostMs + (first == 0 ? cycleCostMs.load() : 0u));
        return real.ReadHoldingRegisters(first, count, regs, timeoutMs);
    }
    int WriteMultipleRegisters(uint16_t first, uint16_t count, uint16_t* regs, int timeoutMs) override {
        return real.WriteMultipleRegisters(first, count, regs, timeoutMs);
    }

    CModbusDeviceClient real;
    std::function<void()> onIdentify;
    std::atomic<uint32_t> readCostMs{0};
    std::atomic<uint32_t> cycleCostMs{0};  // charged to the first read of a cycle
    std::atomic<int> connects{0};

private:
    FakeLinkClock& m_clock;
};

// A simulated device on a free loopback port and a device link to it.
class DeviceLinkE2E : public ::testing::Test {
protected:
    void StartSim(SimConfig config = {}) {
        config.address = "127.0.0.1";
        config.port = 0;
        sim = std::make_unique<CSimServer>(config);
        std::string error;
        ASSERT_TRUE(sim->Start(&error)) << error;
        record.SetName("Simulated");
        record.IpAddress = 0x7F000001;
        record.Port = sim->Port();
        record.UnitId = 1;
        record.SetPassword(QString::fromStdString(config.password));
        link = std::make_unique<DeviceLink>(client, posts, [this] { return std::optional<DeviceRecord>(record); },
                                            clock);
    }
    void TearDown() override {
        link.reset();  // stops the thread before the client and the device go
        client.real.Close();
        if (sim) sim->Stop();
    }
    // Runs loop turns on the test thread until the condition holds (bounded).
    bool TurnUntil(const std::function<bool()>& done, int maxTurns = 2000) {
        for (int i = 0; i < maxTurns && !done(); ++i) link->PollTurn();
        return done();
    }
    // Waits for the polling thread (bounded by a guard, not a measurement).
    static bool WaitFor(const std::function<bool()>& done) {
        const auto guard = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (!done() && std::chrono::steady_clock::now() < guard)
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        return done();
    }
    std::vector<Msg> DataPosts() {
        std::vector<Msg> out;
        for (const Msg& m : posts.Take())
            if (m.message == UM_DEVICE_DATA) out.push_back(m);
        return out;
    }
    void ConnectAndPoll() {
        link->Command(kDeviceCommandConnect);
        link->PollTurn();
        ASSERT_EQ(link->State(), LinkState::Connected) << SessionResultText(link->LastAttempt());
    }
    // Polls until the next cycle has been posted.
    void RunOneCycle() {
        const size_t before = posts.Count();
        ASSERT_TRUE(TurnUntil([&] { return posts.Count() > before; }));
    }

    FakeLinkClock clock{5000};
    ObservedClient client{clock};
    PostQueue posts;
    DeviceRecord record;
    std::unique_ptr<CSimServer> sim;
    std::unique_ptr<DeviceLink> link;
};

TEST_F(DeviceLinkE2E, PollsTheSimulatedDevice) {
    StartSim();
    ConnectAndPoll();
    EXPECT_EQ(link->Image().Read16(DI::kRegDeviceType), 14);
    EXPECT_EQ(link->Image().Read16(DI::kRegFirmware), 0x0204);
    EXPECT_EQ(link->Image().Read16(DI::MeasureItemRegister(18, 5)), DI::kMeasureKinds[18][5]);
    EXPECT_EQ(link->Image().Read16(2221), sim->Device().Register(2221));
}

TEST_F(DeviceLinkE2E, WrongDeviceTypeKeepsRetryingWithoutAMessage) {
    SimConfig config;
    config.deviceType = 13;
    StartSim(config);
    link->Command(kDeviceCommandConnect);
    for (int i = 0; i < 3; ++i) {
        link->PollTurn();
        EXPECT_EQ(link->State(), LinkState::Reconnecting);
    }
    EXPECT_EQ(client.connects.load(), 3);
    EXPECT_EQ(link->LastAttempt(), SessionResult::WrongDeviceType);
    EXPECT_EQ(posts.Take(), (std::vector<Msg>{{UM_GRAPH_STATE, 2, 0}}));
}

TEST_F(DeviceLinkE2E, DisconnectDuringAConnectionAttemptEndsDisconnectedAndCleared) {
    StartSim();
    link->Image().Write16(DI::kRegFirmware, 0x0101);
    client.onIdentify = [this] { link->Command(kDeviceCommandDisconnect); };
    link->Command(kDeviceCommandConnect);
    link->PollTurn();
    EXPECT_EQ(link->State(), LinkState::Disconnecting) << "the attempt's success may not overwrite it";
    client.onIdentify = nullptr;
    link->PollTurn();
    EXPECT_EQ(link->State(), LinkState::Disconnected);
    EXPECT_FALSE(client.IsConnected());
    EXPECT_EQ(link->Image().Read16(DI::kRegFirmware), 0);
    EXPECT_EQ(posts.Take(), (std::vector<Msg>{{UM_GRAPH_STATE, 2, 0}, {UM_GRAPH_STATE, 3, 0}, {UM_DEVICE_DATA, 0, 0}}));
}

TEST_F(DeviceLinkE2E, ADeviceThatStopsAnsweringTheSecondBlockIsReconnected) {
    StartSim();
    ConnectAndPoll();
    posts.Take();
    const uint16_t oldMeasure = link->Image().Read16(DI::kMeasureFirst + 1);
    sim->Device().SetRegister(DI::kRegFileNumber, 4321);
    sim->Device().SetRegister(DI::kMeasureFirst + 1, uint16_t(oldMeasure + 1));
    SimFaults faults;
    faults.exceptions.push_back({DI::kMeasureFirst, DI::kMeasureFirst + DI::kMeasureCount - 1, 4});
    sim->SetFaults(faults);
    const uint64_t requests = sim->RequestCount();

    RunOneCycle();
    EXPECT_EQ(link->State(), LinkState::Reconnecting);
    EXPECT_EQ(sim->RequestCount() - requests, 5u) << "the first block, then four attempts at the second";
    const std::vector<Msg> data = DataPosts();
    ASSERT_EQ(data.size(), 1u);
    EXPECT_EQ(data[0].wParam, 1);
    EXPECT_EQ(link->Image().Read16(DI::kRegFileNumber), 4321) << "the first block's new values";
    EXPECT_EQ(link->Image().Read16(DI::kMeasureFirst + 1), oldMeasure) << "older values stay";
}

TEST_F(DeviceLinkE2E, SlowAndFastCyclesArePaced) {
    StartSim();
    struct Case {
        uint32_t cycleMs;
        uint32_t pauseMs;
    } cases[] = {{700, 10}, {120, 380}};
    ConnectAndPoll();
    for (const Case& c : cases) {
        client.cycleCostMs = c.cycleMs;
        RunOneCycle();  // a cycle that takes c.cycleMs
        clock.TakeSleeps();
        client.cycleCostMs = 0;
        const size_t reads = sim->RequestCount();
        ASSERT_TRUE(TurnUntil([&] { return sim->RequestCount() > reads; }));
        const std::vector<uint32_t> sleeps = clock.TakeSleeps();
        uint32_t paused = 0;
        for (uint32_t s : sleeps) {
            EXPECT_LE(s, 50u);
            paused += s;
        }
        EXPECT_EQ(paused, c.pauseMs) << c.cycleMs;
    }
}

TEST_F(DeviceLinkE2E, ExchangeRateSettlesAt1182RegistersPerSecond) {
    StartSim();
    client.readCostMs = 1;
    ConnectAndPoll();
    for (int i = 0; i < 8; ++i) RunOneCycle();
    const std::vector<Msg> data = DataPosts();
    ASSERT_GE(data.size(), 8u);
    EXPECT_EQ(data.back().lParam, 1182);
    EXPECT_EQ(data[data.size() - 2].lParam, 1182);
}

TEST_F(DeviceLinkE2E, StopWhileConnectedClosesAndPostsNothingMore) {
    StartSim();
    ASSERT_TRUE(link->Start());
    link->Command(kDeviceCommandConnect);
    ASSERT_TRUE(posts.WaitForCount(2));
    ASSERT_TRUE(WaitFor([&] { return sim->OpenConnections() == 1; }));
    link->Stop([] {});
    EXPECT_EQ(link->State(), LinkState::Disconnected);
    EXPECT_FALSE(client.IsConnected());
    EXPECT_TRUE(WaitFor([&] { return sim->OpenConnections() == 0; }));
    const std::vector<Msg> posted = posts.Take();
    EXPECT_EQ(posted.back().message, UM_DEVICE_DATA);
    EXPECT_EQ(posted.back().wParam, 1) << "no cleared event after a stop";
}

TEST_F(DeviceLinkE2E, ARestartCommandWhilePollingReconnectsByItself) {
    SimConfig config;
    config.restartDownMs = 200;
    StartSim(config);
    ASSERT_TRUE(link->Start());
    link->Command(kDeviceCommandConnect);
    ASSERT_TRUE(WaitFor([&] { return link->State() == LinkState::Connected; }));

    // The page's command, from the page's thread, beside the polling thread.
    const CommandOutcome outcome = DeviceCommands::Run(client.real, DeviceCommand::Restart);
    EXPECT_TRUE(outcome.success) << "write result " << outcome.writeResult;
    EXPECT_EQ(outcome.writeResult, -1);
    const int connectsBefore = client.connects.load();
    ASSERT_TRUE(WaitFor([&] { return link->State() != LinkState::Connected; }));
    ASSERT_TRUE(WaitFor([&] { return link->State() == LinkState::Connected; }));
    EXPECT_GT(client.connects.load(), connectsBefore);
    const size_t before = posts.Count();
    EXPECT_TRUE(WaitFor([&] { return posts.Count() > before; })) << "polling goes on";
}

}  // namespace
