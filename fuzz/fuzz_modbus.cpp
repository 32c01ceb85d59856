// The Modbus client's answer handling: a peer on loopback answers a read, a write or an
// identification with the input's bytes. The client's result and the registers it fills
// must be what a plain reading of those bytes gives, and nothing past the caller's count
// may be written.

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <array>

#include "FuzzSupport.h"
#include "device/DeviceInterface.h"
#include "device/ModbusTCP.h"

namespace DI = DeviceInterface;

namespace {

constexpr std::uint32_t kLoopback = 0x7F000001;
constexpr std::uint16_t kCanary = 0xA55A;
constexpr std::uint16_t kFirstAddress = 2000;

int Listener(int* port) {
    static int fd = -1;
    static int boundPort = 0;
    if (fd < 0) {
        fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(kLoopback);
        FUZZ_CHECK(::bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof(a)) == 0);
        FUZZ_CHECK(::listen(fd, 4) == 0);
        socklen_t len = sizeof(a);
        FUZZ_CHECK(::getsockname(fd, reinterpret_cast<sockaddr*>(&a), &len) == 0);
        boundPort = ntohs(a.sin_port);
    }
    *port = boundPort;
    return fd;
}

std::uint16_t Word(const std::uint8_t* p) { return std::uint16_t((p[0] << 8) | p[1]); }

// The answer to transaction 1 among the frames of bytes, read the plain way: the PDU of the
// first frame with that identifier, or -2 when a frame fails a check or the bytes run out.
int FindAnswer(const QByteArray& bytes, std::uint8_t unit, QByteArray* pdu) {
    const auto* p = reinterpret_cast<const std::uint8_t*>(bytes.constData());
    qsizetype pos = 0;
    for (;;) {
        if (bytes.size() - pos < 7) return -2;
        const std::uint16_t tx = Word(p + pos);
        const int length = Word(p + pos + 4);
        if (Word(p + pos + 2) != 0 || p[pos + 6] != unit || length < 1 || length - 1 > 259) return -2;
        if (bytes.size() - pos - 7 < length - 1) return -2;
        if (tx == 1) {
            *pdu = bytes.mid(pos + 7, length - 1);
            return 0;
        }
        pos += 7 + length - 1;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput in(data, size);
    const int op = in.Byte() % 3;
    const std::uint16_t requested = in.Byte();
    const std::uint8_t unit = in.Byte();
    const std::uint8_t flags = in.Byte();
    QByteArray answer = in.Rest();
    // Most answers get the right transaction identifier, so the checks behind it are reached.
    if ((flags & 1) && answer.size() >= 2) {
        answer[0] = 0;
        answer[1] = 1;
    }

    int port = 0;
    const int listener = Listener(&port);
    CModbusTCP client;
    client.SetConnectTimeoutMs(2000);
    client.SetIdentifyTimeoutMs(200);
    FUZZ_CHECK(client.Connect(kLoopback, port, unit | ((flags & 2) ? 0x100 : 0)) == 1);
    const int peer = ::accept4(listener, nullptr, nullptr, SOCK_CLOEXEC);
    FUZZ_CHECK(peer >= 0);
    // The whole answer waits in the socket before the request is sent, and the peer's end
    // then closes for writing: the client never waits for a time-out.
    FUZZ_CHECK(::send(peer, answer.constData(), size_t(answer.size()), MSG_NOSIGNAL) == answer.size());
    ::shutdown(peer, SHUT_WR);

    std::array<std::uint16_t, 160> regs;
    regs.fill(kCanary);
    QByteArray pdu;
    const int found = FindAnswer(answer, unit, &pdu);
    const auto* b = reinterpret_cast<const std::uint8_t*>(pdu.constData());
    if (op == 0) {
        const int count = std::min<int>(requested, DI::kMaxReadCount);
        const int rc = client.ReadHoldingRegisters(kFirstAddress, requested, regs.data(), 1000);
        int expected = found;
        if (found == 0) {
            if (pdu.size() >= 1 && (b[0] & 0x80))
                expected = pdu.size() < 2 ? -2 : -3;
            else
                expected = (pdu.size() < 2 || 2 + b[1] > pdu.size()) ? -2 : b[1] / 2;
        }
        FUZZ_CHECK(rc == expected);
        int written = 0;
        if (rc == -3) {
            FUZZ_CHECK(regs[0] == b[1]);
            written = 1;
        } else if (rc >= 0) {
            written = std::min(rc, count);
            for (int i = 0; i < written; ++i) FUZZ_CHECK(regs[size_t(i)] == Word(b + 2 + 2 * i));
        }
        for (size_t i = size_t(written); i < regs.size(); ++i) FUZZ_CHECK(regs[i] == kCanary);
    } else if (op == 1) {
        for (size_t i = 0; i < regs.size(); ++i) regs[i] = std::uint16_t(i);
        const int rc = client.WriteMultipleRegisters(kFirstAddress, requested, regs.data(), 1000);
        int expected = found;
        if (found == 0) {
            if (pdu.size() >= 1 && (b[0] & 0x80))
                expected = pdu.size() < 2 ? -2 : -3;
            else
                expected = (pdu.size() < 5 || Word(b + 1) != kFirstAddress) ? -2 : Word(b + 3);
        }
        FUZZ_CHECK(rc == expected);
        // Only an exception answer writes to the caller's buffer, and only its first element.
        FUZZ_CHECK(regs[0] == (rc == -3 ? b[1] : 0));
        for (size_t i = 1; i < regs.size(); ++i) FUZZ_CHECK(regs[i] == std::uint16_t(i));
    } else {
        // Up to five tries read on through the frames; only the result's range is fixed.
        const int rc = client.Identify();
        FUZZ_CHECK(rc == 0 || rc == -1 || rc == -2 || rc == -3);
        if (found == 0 && pdu.size() >= 6 && b[0] == DI::kFunctionReadHolding && b[1] == 4)
            FUZZ_CHECK(rc == (Word(b + 2) != DI::kDeviceType ? -2 : DI::IsSupportedFirmware(Word(b + 4)) ? 0 : -3));
    }
    client.Close();
    ::close(peer);
    return 0;
}
