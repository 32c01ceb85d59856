// A device link whose device stops answering at every stage of a session: a stop or a
// disconnect cuts the wait short instead of sitting out the device's time-outs.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <memory>
#include <thread>

#include "SimServer.h"
#include "StalledPeer.h"
#include "device/DeviceInterface.h"
#include "device/DeviceLink.h"
#include "device/ModbusDeviceClient.h"
#include "support/PostQueue.h"
#include "support/TestSupport.h"

namespace DI = DeviceInterface;

namespace {

using Clock = std::chrono::steady_clock;

// Well under the shortest wait a silent device imposes (one request's 1500 ms), so a
// stop that waits for a time-out fails, while a loaded machine still passes.
constexpr int kCutShortMs = 1000;

enum class Stage { Connect, Identify, Login, Read };
enum class Action { Stop, Disconnect };

struct Case {
    const char* name;
    Stage stage;
    Action action;
};

const Case kCases[] = {
    {"StopDuringConnect", Stage::Connect, Action::Stop},
    {"StopDuringIdentify", Stage::Identify, Action::Stop},
    {"StopDuringLogin", Stage::Login, Action::Stop},
    {"StopDuringRead", Stage::Read, Action::Stop},
    {"DisconnectDuringConnect", Stage::Connect, Action::Disconnect},
    {"DisconnectDuringIdentify", Stage::Identify, Action::Disconnect},
    {"DisconnectDuringRead", Stage::Read, Action::Disconnect},
};

class StalledLink : public ::testing::TestWithParam<Case> {
protected:
    void TearDown() override {
        link.reset();
        client.Close();
        if (sim) sim->Stop();
    }
    void StartSim(const SimFaults& faults) {
        SimConfig config;
        config.address = "127.0.0.1";
        config.port = 0;
        config.faults = faults;
        sim = std::make_unique<CSimServer>(config);
        std::string error;
        ASSERT_TRUE(sim->Start(&error)) << error;
        record.Port = sim->Port();
    }
    // Brings the link to the stage where the device goes silent, and waits until the
    // link is stuck in it.
    void ReachStage(Stage stage) {
        record.SetName("Stalled");
        record.IpAddress = 0x7F000001;
        record.UnitId = 1;
        record.SetPassword("vexor");
        SimFaults faults;
        uint64_t requestsBeforeStall = 0;
        switch (stage) {
            case Stage::Connect:
                ASSERT_NE(listener.Port(), 0);
                record.Port = listener.Port();
                break;
            case Stage::Identify: faults.silent = true; break;
            case Stage::Login: faults.silentAfter = 1; requestsBeforeStall = 1; break;
            case Stage::Read: faults.silentAfter = 2; requestsBeforeStall = 2; break;
        }
        if (stage != Stage::Connect) {
            ASSERT_NO_FATAL_FAILURE(StartSim(faults));
        }
        link = std::make_unique<DeviceLink>(client, posts, [this] { return std::optional<DeviceRecord>(record); });
        ASSERT_TRUE(link->Start());
        link->Command(kDeviceCommandConnect);
        if (stage == Stage::Connect) {
            // Nothing to watch on a port that never answers: give the attempt time to start.
            std::this_thread::sleep_for(std::chrono::milliseconds(300));
            ASSERT_EQ(link->State(), LinkState::Connecting);
        } else {
            // The request the device swallows has arrived.
            ASSERT_TRUE(WaitUntil([&] { return sim->RequestCount() > requestsBeforeStall; }));
            if (stage == Stage::Read) {
                ASSERT_EQ(link->State(), LinkState::Connected);
            }
        }
    }

    StalledListener listener;
    CModbusDeviceClient client;
    PostQueue posts;
    DeviceRecord record;
    std::unique_ptr<CSimServer> sim;
    std::unique_ptr<DeviceLink> link;
};

TEST_P(StalledLink, StopOrDisconnectCutsTheWaitShort) {
    const Case& c = GetParam();
    ASSERT_NO_FATAL_FAILURE(ReachStage(c.stage));
    const auto start = Clock::now();
    if (c.action == Action::Stop) {
        link->Stop();
        EXPECT_FALSE(link->IsRunning());
    } else {
        link->Command(kDeviceCommandDisconnect);
        ASSERT_TRUE(WaitUntil([&] { return link->State() == LinkState::Disconnected; }));
    }
    const auto tookMs = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
    std::printf("[ measure  ] %s: %lld ms\n", c.name, static_cast<long long>(tookMs));
    EXPECT_LT(tookMs, kCutShortMs);
    EXPECT_EQ(link->State(), LinkState::Disconnected);
    EXPECT_FALSE(client.IsConnected());
}

INSTANTIATE_TEST_SUITE_P(Stages, StalledLink, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<Case>& info) { return std::string(info.param.name); });

// After a disconnect cut a stalled attempt short, the next connect waits normally again
// and reaches a device that answers.
TEST(StalledLinkRecovery, ConnectsAgainAfterAnInterruptedAttempt) {
    SimConfig config;
    config.address = "127.0.0.1";
    config.port = 0;
    config.faults.silent = true;
    CSimServer sim(config);
    std::string error;
    ASSERT_TRUE(sim.Start(&error)) << error;
    DeviceRecord record;
    record.SetName("Recovering");
    record.IpAddress = 0x7F000001;
    record.Port = sim.Port();
    record.UnitId = 1;
    record.SetPassword("vexor");
    CModbusDeviceClient client;
    PostQueue posts;
    {
        DeviceLink link(client, posts, [&] { return std::optional<DeviceRecord>(record); });
        ASSERT_TRUE(link.Start());
        link.Command(kDeviceCommandConnect);
        ASSERT_TRUE(WaitUntil([&] { return sim.RequestCount() > 0; }));
        link.Command(kDeviceCommandDisconnect);
        ASSERT_TRUE(WaitUntil([&] { return link.State() == LinkState::Disconnected; }));
        sim.SetFaults(SimFaults{});
        link.Command(kDeviceCommandConnect);
        EXPECT_TRUE(WaitUntil([&] { return link.State() == LinkState::Connected; }));
        EXPECT_TRUE(WaitUntil([&] { return link.Image().Read16(DI::kRegDeviceType) == 14; }));
    }
    client.Close();
    sim.Stop();
}

}  // namespace
