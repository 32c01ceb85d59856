#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <numeric>

#include "FakeDeviceClient.h"
#include "device/DeviceInterface.h"
#include "device/DeviceLink.h"
#include "support/FakeLinkClock.h"
#include "support/PostQueue.h"

namespace DI = DeviceInterface;

namespace {

using Msg = PostQueue::Message;
using Call = FakeDeviceClient::Call;

const Msg kGraphConnect{UM_GRAPH_STATE, 2, 0};
const Msg kGraphDisconnect{UM_GRAPH_STATE, 3, 0};
const Msg kCleared{UM_DEVICE_DATA, 0, 0};

const std::vector<Call> kCycleReads = {{0, 27},    {100, 100}, {200, 100},  {300, 100},
                                       {400, 42},  {2000, 100}, {2100, 100}, {2200, 22}};

// A link with a scripted device, a fake clock and a queue for what it posts.
struct Rig {
    explicit Rig(uint32_t start = 1000) : clock(start), client(&clock) {
        record.emplace();
        record->SetName("Substation 1");
        record->IpAddress = 0x7F000001;
        record->Port = 1502;
        record->UnitId = 7;
        record->SetPassword("pw");
        client.regs[DI::kRegDeviceType] = 14;
        link = std::make_unique<DeviceLink>(client, posts, [this] { return record; }, clock);
    }
    std::vector<Msg> DataPosts() {
        std::vector<Msg> out;
        for (const Msg& m : posts.Take())
            if (m.message == UM_DEVICE_DATA) out.push_back(m);
        return out;
    }
    // Connects and runs the first poll cycle, which follows in the same turn.
    void ConnectAndPoll() {
        link->Command(kDeviceCommandConnect);
        link->PollTurn();
        ASSERT_EQ(link->State(), LinkState::Connected);
    }
    // Runs turns until the next cycle has read its first chunk.
    void RunToNextCycle() {
        const size_t before = client.reads.size();
        for (int i = 0; i < 100 && client.reads.size() == before; ++i) link->PollTurn();
        ASSERT_GT(client.reads.size(), before);
    }

    FakeLinkClock clock;
    FakeDeviceClient client;
    PostQueue posts;
    std::optional<DeviceRecord> record;
    std::unique_ptr<DeviceLink> link;
};

TEST(DeviceLink, ConnectsLogsInAndPollsThreeBlocksInEightChunks) {
    Rig rig;
    rig.client.regs[26] = 0x1111;
    rig.client.regs[441] = 0x2222;
    rig.client.regs[2221] = 0x3333;

    rig.link->Command(kDeviceCommandConnect);
    EXPECT_EQ(rig.posts.Take(), std::vector<Msg>{kGraphConnect});
    rig.link->PollTurn();

    EXPECT_EQ(rig.link->State(), LinkState::Connected);
    EXPECT_EQ(rig.client.lastIp, 0x7F000001u);
    EXPECT_EQ(rig.client.lastPort, 1502);
    EXPECT_EQ(rig.client.lastUnit, 7);
    ASSERT_EQ(rig.client.writes.size(), 1u);
    EXPECT_EQ(rig.client.writes[0].first, 51);
    EXPECT_EQ(rig.client.writes[0].second, (std::vector<uint16_t>{'p', 'w', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(rig.client.reads, kCycleReads);
    EXPECT_EQ(rig.client.lastTimeoutMs, 1500);
    EXPECT_EQ(rig.link->Image().Read16(26), 0x1111);
    EXPECT_EQ(rig.link->Image().Read16(441), 0x2222);
    EXPECT_EQ(rig.link->Image().Read16(2221), 0x3333);
    EXPECT_EQ(rig.posts.Take(), (std::vector<Msg>{{UM_DEVICE_DATA, 1, 0}}));
}

TEST(DeviceLink, EveryFailedAttemptLeavesReconnectingAndIsRetriedWithoutAMessage) {
    struct Case {
        const char* what;
        std::function<void(Rig&)> arrange;
        SessionResult result;
    } cases[] = {
        {"not among the tabs", [](Rig& r) { r.record.reset(); }, SessionResult::NoRecord},
        {"refused", [](Rig& r) { r.client.connectResult = 0; }, SessionResult::ConnectFailed},
        {"silent", [](Rig& r) { r.client.identifyResult = -1; }, SessionResult::NoAnswer},
        {"device type 13", [](Rig& r) { r.client.identifyResult = -2; }, SessionResult::WrongDeviceType},
        {"firmware 1.7", [](Rig& r) { r.client.identifyResult = -3; }, SessionResult::UnsupportedFirmware},
        {"password refused",
         [](Rig& r) { r.client.writeResult = [](uint16_t, uint16_t) { return -3; }; },
         SessionResult::LoginRejected},
        {"login half acknowledged",
         [](Rig& r) { r.client.writeResult = [](uint16_t, uint16_t) { return 12; }; },
         SessionResult::LoginRejected},
        {"login unanswered",
         [](Rig& r) { r.client.writeResult = [](uint16_t, uint16_t) { return -2; }; },
         SessionResult::NoAnswer},
    };
    for (const Case& c : cases) {
        Rig rig;
        c.arrange(rig);
        rig.link->Command(kDeviceCommandConnect);
        rig.link->PollTurn();
        EXPECT_EQ(rig.link->State(), LinkState::Reconnecting) << c.what;
        EXPECT_EQ(rig.link->LastAttempt(), c.result) << c.what;
        EXPECT_FALSE(rig.client.IsConnected()) << c.what << ": a failed attempt leaves no connection open";
        EXPECT_TRUE(rig.client.reads.empty()) << c.what;
        EXPECT_EQ(rig.clock.TakeSleeps(), std::vector<uint32_t>{100}) << c.what;

        rig.link->PollTurn();
        EXPECT_EQ(rig.link->State(), LinkState::Reconnecting) << c.what;
        EXPECT_EQ(rig.clock.TakeSleeps(), std::vector<uint32_t>{100}) << c.what;
        EXPECT_EQ(rig.posts.Take(), std::vector<Msg>{kGraphConnect}) << c.what << ": nothing but the graph state";
    }
}

TEST(DeviceLink, DisconnectDuringAConnectionAttemptIsNotOverwritten) {
    Rig rig;
    rig.link->Image().Write16(5, 77);
    rig.client.onIdentify = [&] { rig.link->Command(kDeviceCommandDisconnect); };

    rig.link->Command(kDeviceCommandConnect);
    rig.link->PollTurn();
    EXPECT_EQ(rig.link->State(), LinkState::Disconnecting);
    EXPECT_TRUE(rig.client.reads.empty());

    rig.client.onIdentify = nullptr;
    rig.link->PollTurn();
    EXPECT_EQ(rig.link->State(), LinkState::Disconnected);
    EXPECT_FALSE(rig.client.IsConnected());
    EXPECT_EQ(rig.link->Image().Read16(5), 0);
    EXPECT_EQ(rig.posts.Take(), (std::vector<Msg>{kGraphConnect, kGraphDisconnect, kCleared}));
}

TEST(DeviceLink, ConnectAskedWhileDisconnectingIsKept) {
    Rig rig;
    rig.ConnectAndPoll();
    rig.posts.Take();
    rig.link->Command(kDeviceCommandDisconnect);
    // The page asks to connect again while the thread is closing the connection.
    rig.client.onClose = [&] {
        rig.client.onClose = nullptr;
        rig.link->Command(kDeviceCommandConnect);
    };
    rig.link->PollTurn();
    EXPECT_EQ(rig.link->State(), LinkState::Connected);
    EXPECT_EQ(rig.posts.Take(),
              (std::vector<Msg>{kGraphDisconnect, kGraphConnect, kCleared, {UM_DEVICE_DATA, 1, 0}}));
}

TEST(DeviceLink, DisconnectWhileConnectedClearsTheImage) {
    Rig rig;
    rig.client.regs[20] = 5;
    rig.ConnectAndPoll();
    ASSERT_EQ(rig.link->Image().Read16(20), 5);
    rig.posts.Take();

    rig.link->Command(kDeviceCommandDisconnect);
    rig.link->PollTurn();
    EXPECT_EQ(rig.link->State(), LinkState::Disconnected);
    EXPECT_FALSE(rig.client.IsConnected());
    EXPECT_EQ(rig.link->Image().Read16(20), 0);
    EXPECT_EQ(rig.posts.Take(), (std::vector<Msg>{kGraphDisconnect, kCleared}));

    const size_t reads = rig.client.reads.size();
    rig.clock.TakeSleeps();
    rig.link->PollTurn();
    EXPECT_EQ(rig.client.reads.size(), reads);
    EXPECT_EQ(rig.clock.TakeSleeps(), std::vector<uint32_t>{100});
}

TEST(DeviceLink, AFailedReadIsRetriedThreeTimesAfter10ms) {
    Rig rig;
    int failures = 0;
    rig.client.readHook = [&](uint16_t first, uint16_t) {
        return first == 200 && failures++ < 3 ? -2 : FakeDeviceClient::kAnswer;
    };
    rig.ConnectAndPoll();
    EXPECT_EQ(rig.link->State(), LinkState::Connected);
    EXPECT_EQ(rig.client.reads.size(), kCycleReads.size() + 3);
    EXPECT_EQ(rig.clock.TakeSleeps(), (std::vector<uint32_t>{10, 10, 10}));
}

TEST(DeviceLink, AChunkFailingFourTimesEndsTheCycleAndReconnects) {
    Rig rig;
    rig.ConnectAndPoll();  // first cycle: every block old
    rig.posts.Take();
    for (int r : {3, 150, 2100}) rig.client.regs[r] = 0xBEEF;
    rig.client.regs[3] = 0x1234;
    rig.client.readHook = [](uint16_t first, uint16_t) { return first == 100 ? -2 : FakeDeviceClient::kAnswer; };
    rig.client.reads.clear();

    rig.RunToNextCycle();
    EXPECT_EQ(rig.client.reads, (std::vector<Call>{{0, 27}, {100, 100}, {100, 100}, {100, 100}, {100, 100}}));
    EXPECT_EQ(rig.link->State(), LinkState::Reconnecting);
    EXPECT_EQ(rig.link->Image().Read16(3), 0x1234) << "the first block's new values";
    EXPECT_EQ(rig.link->Image().Read16(150), 0) << "the second block keeps its old values";
    EXPECT_EQ(rig.link->Image().Read16(2100), 0) << "the third block keeps its old values";
    const std::vector<Msg> data = rig.DataPosts();
    ASSERT_EQ(data.size(), 1u);
    EXPECT_EQ(data[0].wParam, 1);

    const int connects = rig.client.connects;
    rig.link->PollTurn();
    EXPECT_EQ(rig.client.connects, connects + 1) << "the next turn reconnects";
}

TEST(DeviceLink, UserDisconnectDuringAFailingCycleWins) {
    Rig rig;
    rig.ConnectAndPoll();
    int failures = 0;
    rig.client.readHook = [&](uint16_t first, uint16_t) {
        if (first != 100) return FakeDeviceClient::kAnswer;
        if (++failures == 4) rig.link->Command(kDeviceCommandDisconnect);  // after the last attempt
        return -2;
    };
    rig.RunToNextCycle();
    EXPECT_EQ(failures, 4);
    EXPECT_EQ(rig.link->State(), LinkState::Disconnecting) << "the broken link may not overwrite the request";

    // A request in the middle of the retries skips the remaining attempts and chunks.
    Rig second;
    second.ConnectAndPoll();
    second.client.reads.clear();
    second.client.readHook = [&](uint16_t first, uint16_t) {
        if (first != 100) return FakeDeviceClient::kAnswer;
        second.link->Command(kDeviceCommandDisconnect);
        return -2;
    };
    second.RunToNextCycle();
    EXPECT_EQ(second.client.reads, (std::vector<Call>{{0, 27}, {100, 100}}));
    EXPECT_EQ(second.link->State(), LinkState::Disconnecting);
}

TEST(DeviceLink, CyclesArePacedTo500msWithAtLeast10msBetween) {
    struct Case {
        uint32_t cycleMs;
        std::vector<uint32_t> pause;
    } cases[] = {
        {700, {10}},
        {120, {50, 50, 50, 50, 50, 50, 50, 30}},
        {500, {10}},
        {499, {1}},
        {0, {50, 50, 50, 50, 50, 50, 50, 50, 50, 50}},
    };
    for (const Case& c : cases) {
        // The counter wraps during the test: times are compared by unsigned subtraction.
        Rig rig(0xFFFFFFFFu - 600);
        rig.client.readHook = [&](uint16_t first, uint16_t) {
            if (first == 0) rig.clock.Advance(c.cycleMs);
            return FakeDeviceClient::kAnswer;
        };
        rig.ConnectAndPoll();
        rig.clock.TakeSleeps();
        rig.RunToNextCycle();
        EXPECT_EQ(rig.clock.TakeSleeps(), c.pause) << c.cycleMs;
    }
}

TEST(DeviceLink, ExchangeRateSettlesAtTheRegistersReadPerSecond) {
    Rig rig;
    rig.client.readCostMs = 1;
    rig.ConnectAndPoll();
    for (int cycle = 0; cycle < 12; ++cycle) rig.RunToNextCycle();
    const std::vector<Msg> data = rig.DataPosts();
    ASSERT_GE(data.size(), 12u);
    EXPECT_EQ(data.front().lParam, 0) << "no rate before a second has passed";
    for (size_t i = data.size() - 6; i < data.size(); ++i) EXPECT_EQ(data[i].lParam, 1182) << i;
}

TEST(DeviceLink, RecordIsLookedUpAtEveryAttempt) {
    Rig rig;
    rig.client.connectResult = 0;
    rig.link->Command(kDeviceCommandConnect);
    rig.link->PollTurn();
    rig.record->IpAddress = 0x7F000002;
    rig.record->Port = 1600;
    rig.link->PollTurn();
    EXPECT_EQ(rig.client.lastIp, 0x7F000002u);
    EXPECT_EQ(rig.client.lastPort, 1600);
}

// The thread itself: started once, it follows the state and ends on stop.
TEST(DeviceLinkThread, StopWhileConnectedClosesAndPostsNothingMore) {
    Rig rig;
    ASSERT_TRUE(rig.link->Start());
    rig.link->Command(kDeviceCommandConnect);
    ASSERT_TRUE(rig.posts.WaitForCount(3));  // the graph state and two data events

    rig.link->Stop();
    EXPECT_FALSE(rig.link->IsRunning());
    EXPECT_EQ(rig.link->State(), LinkState::Disconnected);
    EXPECT_FALSE(rig.client.IsConnected());
    const std::vector<Msg> posted = rig.posts.Take();
    for (const Msg& m : posted) EXPECT_NE(m, kCleared) << "stopping posts no cleared event";
    EXPECT_EQ(posted.back().message, UM_DEVICE_DATA);
    EXPECT_EQ(posted.back().wParam, 1);
}

TEST(DeviceLinkThread, StopKeepsThePageDispatchingWhileARequestFinishes) {
    Rig rig;
    std::atomic<bool> inRead{false}, release{false};
    rig.client.readHook = [&](uint16_t first, uint16_t) {
        if (first == 2000) {
            inRead = true;
            while (!release) std::this_thread::yield();
        }
        return FakeDeviceClient::kAnswer;
    };
    ASSERT_TRUE(rig.link->Start());
    rig.link->Command(kDeviceCommandConnect);
    while (!inRead) std::this_thread::yield();

    int pumped = 0;
    rig.link->Stop([&] {
        ++pumped;
        release = true;  // only the page's own event loop lets the request end
    });
    EXPECT_GE(pumped, 1);
    EXPECT_FALSE(rig.link->IsRunning());
    EXPECT_FALSE(rig.client.IsConnected());
    EXPECT_EQ(rig.posts.Take(), std::vector<Msg>{kGraphConnect}) << "the cut cycle posts nothing";
}

TEST(DeviceLinkThread, StopCommandAndDestructionEndTheThread) {
    {
        Rig rig;
        rig.client.connectResult = 0;  // keeps reconnecting
        ASSERT_TRUE(rig.link->Start());
        rig.link->Command(kDeviceCommandConnect);
        rig.link->Command(kDeviceCommandStop);
        EXPECT_FALSE(rig.link->IsRunning());
        EXPECT_EQ(rig.link->State(), LinkState::Disconnected);
        ASSERT_TRUE(rig.link->Start()) << "a stopped link can be started again";
        rig.link->Command(kDeviceCommandConnect);
    }  // destroyed while running: the destructor stops and waits
    SUCCEED();
}

}  // namespace
