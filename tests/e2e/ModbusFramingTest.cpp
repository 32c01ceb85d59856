// CModbusTCP against a scripted peer: the bytes it sends, and what it makes of answers
// no well-behaved device gives.
#include <gtest/gtest.h>
#include <sys/socket.h>

#include <chrono>
#include <functional>
#include <ostream>
#include <string>
#include <thread>

#include "ScriptedPeer.h"
#include "device/ModbusTCP.h"

namespace {

constexpr int kTimeoutMs = 300;

// Register values of a read answer: value i is 0x0100 + i.
Bytes ReadPdu(int registers) {
    Bytes pdu{3, static_cast<uint8_t>(2 * registers)};
    for (int i = 0; i < registers; ++i) {
        pdu.push_back(static_cast<uint8_t>((0x0100 + i) >> 8));
        pdu.push_back(static_cast<uint8_t>(0x0100 + i));
    }
    return pdu;
}

void ConnectTo(CModbusTCP& client, const ScriptedPeer& peer, int unitId = 1) {
    ASSERT_EQ(client.Connect(kLoopback, peer.Port(), unitId), 1);
}

TEST(ModbusFraming, ReadOfTooManyRegistersAsksForAtMost125) {
    ScriptedPeer peer([](const Bytes& request, int fd) {
        ScriptedPeer::Send(fd, ScriptedPeer::AnswerTo(request, ReadPdu(125)));
        return true;
    });
    CModbusTCP client;
    ConnectTo(client, peer);
    uint16_t buffer[200] = {};
    ASSERT_EQ(client.ReadHoldingRegisters(2000, 200, buffer, kTimeoutMs), 125);
    EXPECT_EQ(buffer[0], 0x0100);
    EXPECT_EQ(buffer[124], 0x0100 + 124);
    EXPECT_EQ(buffer[125], 0);
    ASSERT_EQ(peer.Requests().size(), 1u);
    EXPECT_EQ(peer.Requests()[0], (Bytes{0, 1, 0, 0, 0, 6, 1, 3, 0x07, 0xD0, 0, 125}));
}

TEST(ModbusFraming, WriteOfTooManyRegistersSends123BigEndian) {
    ScriptedPeer peer([](const Bytes& request, int fd) {
        ScriptedPeer::Send(
            fd, ScriptedPeer::AnswerTo(request, {16, request[8], request[9], request[10], request[11]}));
        return true;
    });
    CModbusTCP client;
    ConnectTo(client, peer);
    uint16_t values[130];
    for (int i = 0; i < 130; ++i) {
        values[i] = static_cast<uint16_t>(0xA000 + i);
    }
    ASSERT_EQ(client.WriteMultipleRegisters(2000, 130, values, kTimeoutMs), 123);
    const Bytes request = peer.Requests().at(0);
    ASSERT_EQ(request.size(), 13u + 246u);
    EXPECT_EQ(Bytes(request.begin(), request.begin() + 13),
              (Bytes{0, 1, 0, 0, 0, 253, 1, 16, 0x07, 0xD0, 0, 123, 246}));
    EXPECT_EQ(request[13], 0xA0);
    EXPECT_EQ(request[14], 0x00);
    EXPECT_EQ(request[13 + 2 * 122], 0xA0);
    EXPECT_EQ(request[14 + 2 * 122], 122);
}

TEST(ModbusFraming, TransactionIdsCountUpAndOnlyTheLowByteOfTheUnitIsSent) {
    ScriptedPeer peer([](const Bytes& request, int fd) {
        ScriptedPeer::Send(fd, ScriptedPeer::AnswerTo(request, ReadPdu(1)));
        return true;
    });
    CModbusTCP client;
    ConnectTo(client, peer, 300);
    uint16_t value = 0;
    // The answer echoes unit 44, which is what a client of unit 300 must expect.
    EXPECT_EQ(client.ReadHoldingRegisters(0, 1, &value, kTimeoutMs), 1);
    EXPECT_EQ(client.ReadHoldingRegisters(0, 1, &value, kTimeoutMs), 1);
    const auto requests = peer.Requests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[0][6], 44);
    EXPECT_EQ(requests[0][1], 1);
    EXPECT_EQ(requests[1][1], 2);
}

// Each case: what the peer sends back to a read of 4 registers from 100 or a write of
// 2 registers to 2000, and what the client must return.
struct BadAnswer {
    const char* name;
    bool write;
    std::function<Bytes(const Bytes& request)> answer;  // empty: the peer hangs up
    int expected;
};

void PrintTo(const BadAnswer& c, std::ostream* os) {
    *os << c.name;
}

Bytes WithHeader(const Bytes& request, uint16_t length, const Bytes& pdu) {
    Bytes answer(request.begin(), request.begin() + 4);
    answer.push_back(static_cast<uint8_t>(length >> 8));
    answer.push_back(static_cast<uint8_t>(length));
    answer.push_back(request[6]);
    answer.insert(answer.end(), pdu.begin(), pdu.end());
    return answer;
}

const BadAnswer kBadAnswers[] = {
    {"WrongEchoedAddress", true,
     [](const Bytes& r) {
         return ScriptedPeer::AnswerTo(r, {16, 0x07, 0xD1, 0, 2});
     },
     -2},
    {"ShortWriteEcho", true,
     [](const Bytes& r) {
         return ScriptedPeer::AnswerTo(r, {16, 0x07, 0xD0});
     },
     -2},
    {"LengthZero", false, [](const Bytes& r) { return WithHeader(r, 0, ReadPdu(4)); }, -2},
    {"LengthAboveAnyFrame", false, [](const Bytes& r) { return WithHeader(r, 261, ReadPdu(4)); }, -2},
    {"ByteCountBeyondFrame", false,
     [](const Bytes& r) {
         return ScriptedPeer::AnswerTo(r, {3, 200, 0, 1});
     },
     -2},
    {"ExceptionWithoutCode", false, [](const Bytes& r) { return ScriptedPeer::AnswerTo(r, {0x83}); }, -2},
    {"ProtocolIdNotZero", false,
     [](const Bytes& r) {
         Bytes a = ScriptedPeer::AnswerTo(r, ReadPdu(4));
         a[3] = 1;
         return a;
     },
     -2},
    {"UnitIdDiffers", false,
     [](const Bytes& r) {
         Bytes a = ScriptedPeer::AnswerTo(r, ReadPdu(4));
         a[6] = 5;
         return a;
     },
     -2},
    {"FrameCutShort", false,
     [](const Bytes& r) {
         Bytes a = ScriptedPeer::AnswerTo(r, ReadPdu(4));
         a.resize(a.size() - 3);
         return a;
     },
     -2},
    {"OnlyAnAnswerToAnotherRequest", false,
     [](const Bytes& r) {
         Bytes a = ScriptedPeer::AnswerTo(r, ReadPdu(4));
         a[1] ^= 0x55;
         return a;
     },
     -2},
    {"PeerHangsUp", false, nullptr, -2},
};

class ModbusBadAnswer : public ::testing::TestWithParam<BadAnswer> {};

TEST_P(ModbusBadAnswer, IsRefusedWithoutTouchingMoreThanTheBuffer) {
    const BadAnswer& c = GetParam();
    ScriptedPeer peer([&c](const Bytes& request, int fd) {
        if (!c.answer) {
            return false;
        }
        ScriptedPeer::Send(fd, c.answer(request));
        return true;
    });
    CModbusTCP client;
    ConnectTo(client, peer);
    uint16_t buffer[6] = {0, 0, 0, 0, 0xBEEF, 0xBEEF};
    const int rc = c.write ? client.WriteMultipleRegisters(2000, 2, buffer, kTimeoutMs)
                           : client.ReadHoldingRegisters(100, 4, buffer, kTimeoutMs);
    EXPECT_EQ(rc, c.expected);
    EXPECT_EQ(buffer[4], 0xBEEF);
    EXPECT_EQ(buffer[5], 0xBEEF);
    // A failed request leaves the connection to its owner.
    EXPECT_TRUE(client.IsConnected());
}

INSTANTIATE_TEST_SUITE_P(Cases, ModbusBadAnswer, ::testing::ValuesIn(kBadAnswers),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ModbusFraming, LongerAnswerThanAskedIsCountedButNotCopiedPastTheRequest) {
    ScriptedPeer peer([](const Bytes& request, int fd) {
        ScriptedPeer::Send(fd, ScriptedPeer::AnswerTo(request, ReadPdu(10)));
        return true;
    });
    CModbusTCP client;
    ConnectTo(client, peer);
    uint16_t buffer[6] = {0, 0, 0, 0, 0xBEEF, 0xBEEF};
    EXPECT_EQ(client.ReadHoldingRegisters(100, 4, buffer, kTimeoutMs), 10);
    EXPECT_EQ(buffer[3], 0x0103);
    EXPECT_EQ(buffer[4], 0xBEEF);
}

TEST(ModbusFraming, StreamOfStaleAnswersEndsTheExchangeInBoundedTime) {
    ScriptedPeer peer([](const Bytes& request, int fd) {
        Bytes stale = ScriptedPeer::AnswerTo(request, ReadPdu(1));
        stale[1] ^= 0x55;
        for (int i = 0; i < 400; ++i) {
            if (::send(fd, stale.data(), stale.size(), MSG_NOSIGNAL) < 0) {
                break;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        return false;
    });
    CModbusTCP client;
    ConnectTo(client, peer);
    uint16_t value = 0;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(client.ReadHoldingRegisters(0, 1, &value, 100), -2);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
    client.Close();
}

}  // namespace
