// The simulated device: what it holds, how it answers logins and commands, and that
// its live values make sense as a three-phase network.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <string>

#include "ScriptedPeer.h"
#include "SimDevice.h"
#include "SimOptions.h"
#include "SimServer.h"
#include "device/DeviceInterface.h"
#include "device/ModbusTCP.h"

namespace {

namespace DI = DeviceInterface;
using namespace std::chrono_literals;
using Time = CSimDevice::Time;

const Time kT0 = Time{} + std::chrono::hours(24 * 365 * 50);

int32_t Value(const CSimDevice& device, int channel, int item) {
    return static_cast<int32_t>(device.Register32(DI::MeasureValueRegister(channel, item)));
}

std::string Text(const CSimDevice& device, uint16_t first, int count) {
    std::string text;
    for (int i = 0; i < count && device.Register(static_cast<uint16_t>(first + i)) != 0; ++i) {
        text += static_cast<char>(device.Register(static_cast<uint16_t>(first + i)));
    }
    return text;
}

TEST(SimDevice, HoldsTheFactorySettings) {
    CSimDevice device(kT0);
    const std::pair<uint16_t, uint16_t> expected[] = {
        {2000, 0},      {2001, 10},     {2003, 10},     {2004, 5},      {2007, 5},      {2010, 1},
        {2012, 15},     {2052, 10},     {2062, 0xFFFF}, {2071, 0xFFFF}, {2072, 2},      {2073, 0xFFFF},
        {2112, 0xFFFF}, {2113, 0},      {2114, 1000},   {2115, 0x0100}, {2116, 0},      {2119, 100},
        {2121, 1},      {2135, 0x0200}, {2136, 0xA8C0}, {2137, 0x00FF}, {2138, 0xFFFF}, {2143, 0x0808},
        {2145, 1},      {2146, 502},    {2147, 60},     {2165, 80},     {2183, 0},      {2184, 21},
        {2203, 20502},  {2204, 90},     {2206, 1},      {2214, 1000},   {2216, 100},    {2218, 2000},
        {2220, 200},    {2221, 0}};
    for (const auto& [address, value] : expected) {
        EXPECT_EQ(device.Register(address), value) << address;
    }
    for (const uint16_t password : {DI::kRegModbusPassword, DI::kRegHttpPassword, DI::kRegFtpPassword}) {
        EXPECT_EQ(Text(device, password, 13), "vexor") << password;
    }
}

TEST(SimDevice, LiveValuesAreAConsistentThreePhaseNetworkThatMoves) {
    CSimDevice device(kT0);
    for (int c = 0; c < DI::kChannelCount; ++c) {
        for (int i = 0; i < DI::kItemsPerChannel; ++i) {
            ASSERT_EQ(device.Register(DI::MeasureItemRegister(c, i)), DI::kMeasureKinds[c][i])
                << c << " " << i;
        }
    }
    const int32_t energyBefore = Value(device, 15, 4);
    const int32_t voltageBefore = Value(device, 0, 0);
    device.Tick(kT0 + 3600s);
    for (int p = 0; p < 3; ++p) {
        const double u = Value(device, p, 0) / 10.0;
        const double i = Value(device, 3 + p, 0) / 100.0;
        EXPECT_NEAR(u, 230.0, 10.0);
        EXPECT_NEAR(Value(device, p, 1) / 100.0, 50.0, 0.1);
        EXPECT_GT(i, 1.0);
        const double s = Value(device, 15 + p, 0) / 10.0;
        const double active = Value(device, 15 + p, 1) / 10.0;
        const double reactive = Value(device, 15 + p, 2) / 10.0;
        const double pf = Value(device, 15 + p, 3) / 1000.0;
        EXPECT_NEAR(s, u * i, 3.0);
        EXPECT_NEAR(active, s * pf, 3.0);
        EXPECT_NEAR(s * s, active * active + reactive * reactive, 0.01 * s * s);
        EXPECT_NEAR(Value(device, 18, p) / 10.0, u * std::sqrt(3.0), 15.0);
    }
    EXPECT_NEAR(Value(device, 18, 4) / 10.0, 230.0, 10.0);  // positive sequence
    EXPECT_LT(Value(device, 18, 3) / 10.0, 10.0);           // negative sequence
    EXPECT_GT(Value(device, 15, 4), energyBefore);          // an hour of load adds energy
    EXPECT_NE(Value(device, 0, 0), voltageBefore);
    EXPECT_NEAR(Value(device, 7, 0) / 10.0, 23.0, 5.0);
}

TEST(SimDevice, ClockRunsFromItsSettingAndUptimeFromTheStart) {
    CSimDevice device(kT0);
    device.SetClock(1388534401, kT0 + 10s);
    device.Tick(kT0 + 25s);
    EXPECT_EQ(device.Register32(DI::kRegClock), 1388534416u);
    EXPECT_EQ(device.Register32(DI::kRegUptime), 25u);
    const uint16_t written[2] = {0x0000, 0x0064};
    EXPECT_EQ(device.Write(DI::kRegClock, 2, written, kT0 + 30s).exception, 0);
    device.Tick(kT0 + 32s);
    EXPECT_EQ(device.Register32(DI::kRegClock), 102u);
    device.Restarted(kT0 + 40s);
    device.Tick(kT0 + 41s);
    EXPECT_EQ(device.Register32(DI::kRegUptime), 1u);
}

TEST(SimDevice, TickHookSeesEveryTickAndMayUpdateTheCardState) {
    CSimDevice device(kT0);
    int ticks = 0;
    device.SetTickHook([&ticks](CSimDevice::Registers& registers, Time now) {
        ++ticks;
        EXPECT_EQ(now, kT0 + 1s);
        registers[DI::kRegFileNumber] = 7;
    });
    device.Tick(kT0 + 1s);
    EXPECT_EQ(ticks, 1);
    EXPECT_EQ(device.Register(DI::kRegFileNumber), 7);
}

class DeviceOverModbus : public ::testing::Test {
  protected:
    void SetUp() override {
        SimConfig config;
        config.port = 0;
        config.password = "s3cret";
        sim = std::make_unique<CSimServer>(config);
        ASSERT_TRUE(sim->Start());
        ASSERT_EQ(client.Connect(kLoopback, sim->Port(), 1), 1);
    }
    int Command(uint16_t code) { return client.WriteMultipleRegisters(DI::kRegCommand, 1, &code, 1500); }
    uint32_t StatusWord() {
        uint16_t words[2] = {};
        EXPECT_EQ(client.ReadHoldingRegisters(DI::kRegStatusWord, 2, words, 1500), 2);
        return (uint32_t{words[0]} << 16) | words[1];
    }

    std::unique_ptr<CSimServer> sim;
    CModbusTCP client;
};

TEST_F(DeviceOverModbus, LoginAcceptsOnlyTheConfiguredPasswordAsThirteenRegisters) {
    struct Case {
        std::string password;
        int count;
        int expected;
    };
    const Case cases[] = {{"s3cret", 13, 13}, {"s3cre", 13, -3}, {"s3cret!", 13, -3}, {"s3cret", 12, -3}};
    for (const Case& c : cases) {
        uint16_t registers[13] = {};
        for (size_t i = 0; i < c.password.size(); ++i) {
            registers[i] = static_cast<uint8_t>(c.password[i]);
        }
        EXPECT_EQ(
            client.WriteMultipleRegisters(DI::kRegLogin, static_cast<uint16_t>(c.count), registers, 1500),
            c.expected)
            << c.password << " " << c.count;
    }
}

TEST_F(DeviceOverModbus, CommandsChangeTheStatusAndAreAcknowledged) {
    EXPECT_TRUE(StatusWord() & DI::kStatusCardPresent);
    EXPECT_EQ(Command(DI::kCmdStartRecording), 1);
    EXPECT_TRUE(StatusWord() & DI::kStatusRecording);
    EXPECT_EQ(Command(DI::kCmdStopRecording), 1);
    EXPECT_FALSE(StatusWord() & DI::kStatusRecording);

    sim->Device().SetErrorWord(0x5);
    EXPECT_TRUE(StatusWord() & DI::kStatusErrors);
    EXPECT_EQ(Command(DI::kCmdResetErrors), 1);
    EXPECT_FALSE(StatusWord() & DI::kStatusErrors);
    EXPECT_EQ(sim->Device().Register32(DI::kRegErrorWord), 0u);

    EXPECT_EQ(Command(DI::kCmdApplySettings), 1);
    EXPECT_EQ(sim->Device().ApplyCount(), 1);
    EXPECT_EQ(Command(0x1234), -3);
}

TEST_F(DeviceOverModbus, RefusesRequestsOutsideItsBlocks) {
    struct Case {
        uint16_t first;
        uint16_t count;
        bool write;
        int expected;
    };
    const Case cases[] = {{20, 10, false, -3}, {440, 5, false, -3}, {2220, 5, false, -3}, {50, 14, false, 14},
                          {0, 2, true, -3},    {100, 1, true, -3},  {2221, 1, true, 1},   {21, 2, true, 2}};
    for (const Case& c : cases) {
        uint16_t buffer[20] = {};
        const int rc = c.write ? client.WriteMultipleRegisters(c.first, c.count, buffer, 1500)
                               : client.ReadHoldingRegisters(c.first, c.count, buffer, 1500);
        EXPECT_EQ(rc, c.expected) << c.first << "+" << c.count;
    }
}

TEST_F(DeviceOverModbus, OutlivesClientsThatSendGarbage) {
    const Bytes garbage[] = {
        {0, 1, 0, 0, 0xFF, 0xFF, 1, 3, 0, 0, 0, 2},              // absurd length field
        {0, 2, 0, 0, 0, 6, 1, 0x2B, 0, 0, 0, 1},                 // unknown function
        {0, 3, 0, 0, 0, 8, 1, 16, 0x07, 0xD0, 0, 1, 200, 0, 1},  // byte count beyond the frame
        Bytes(300, 0xFF),
    };
    for (const Bytes& bytes : garbage) {
        const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(kLoopback);
        address.sin_port = htons(static_cast<uint16_t>(sim->Port()));
        ASSERT_EQ(::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)), 0);
        ::send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
        ::shutdown(fd, SHUT_WR);
        // Whatever the server answers, it ends by closing the connection.
        const timeval limit{5, 0};
        ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof(limit));
        uint8_t answer[512];
        ssize_t n;
        while ((n = ::recv(fd, answer, sizeof(answer), 0)) > 0) {
        }
        EXPECT_EQ(n, 0);
        ::close(fd);
    }
    EXPECT_EQ(client.Identify(), 0);
}

TEST(SimOptions, ReadsEveryOptionAndRefusesBadValues) {
    SimConfig config;
    std::string message;
    ASSERT_EQ(ParseSimArgs({"--port",
                            "0",
                            "--type",
                            "13",
                            "--firmware",
                            "1.7",
                            "--password",
                            "abc",
                            "--delay",
                            "5",
                            "--late",
                            "2000:3",
                            "--wrong-unit",
                            "5",
                            "--wrong-protocol",
                            "1",
                            "--zero-length",
                            "--exception",
                            "100-441:2",
                            "--exception",
                            "50:4",
                            "--drop-after",
                            "3",
                            "--silent",
                            "--errors",
                            "0x5",
                            "--recording",
                            "--card",
                            "/tmp/card",
                            "--sources",
                            "0x1000001,9"},
                           config, message),
              SimArgsResult::Run)
        << message;
    EXPECT_EQ(config.port, 0);
    EXPECT_EQ(config.deviceType, 13);
    EXPECT_EQ(config.firmware, 0x0107);
    EXPECT_EQ(config.password, "abc");
    EXPECT_EQ(config.faults.delayMs, 5);
    EXPECT_EQ(config.faults.lateMs, 2000);
    EXPECT_EQ(config.faults.lateAnswers, 3);
    EXPECT_EQ(config.faults.unitId, 5);
    EXPECT_EQ(config.faults.protocolId, 1);
    EXPECT_TRUE(config.faults.zeroLength);
    ASSERT_EQ(config.faults.exceptions.size(), 2u);
    EXPECT_EQ(config.faults.exceptions[0].last, 441);
    EXPECT_EQ(config.faults.exceptions[1].first, 50);
    EXPECT_EQ(config.faults.exceptions[1].last, 50);
    EXPECT_EQ(config.faults.exceptions[1].code, 4);
    EXPECT_EQ(config.faults.dropAfter, 3);
    EXPECT_TRUE(config.faults.silent);
    EXPECT_EQ(config.errorWord, 5u);
    EXPECT_TRUE(config.recording);
    EXPECT_EQ(config.cardDir, "/tmp/card");
    EXPECT_EQ(config.recordSources, (std::vector<uint32_t>{0x1000001u, 9u}));

    const std::vector<std::vector<std::string>> bad = {{"--port", "70000"},
                                                       {"--port"},
                                                       {"--firmware", "2"},
                                                       {"--exception", "300-100:2"},
                                                       {"--password", "fourteen-chars"},
                                                       {"--late", "x"},
                                                       {"--card", ""},
                                                       {"--sources", "1,,2"},
                                                       {"--sources", "0x100000000"},
                                                       {"--sources", "1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18,19,20,21"},
                                                       {"--bogus"}};
    for (const auto& args : bad) {
        SimConfig ignored;
        EXPECT_EQ(ParseSimArgs(args, ignored, message), SimArgsResult::Error) << args[0];
        EXPECT_FALSE(message.empty());
    }
    EXPECT_EQ(ParseSimArgs({"--help"}, config, message), SimArgsResult::Help);
    for (const char* option : {"--delay", "--late", "--wrong-unit", "--wrong-protocol", "--zero-length",
                               "--exception", "--drop-after", "--silent", "--password", "--restart-ms", "--card", "--sources"}) {
        EXPECT_NE(SimUsage().find(option), std::string::npos) << option;
    }
}

}  // namespace
