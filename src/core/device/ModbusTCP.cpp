#include "device/ModbusTCP.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>

#include "device/DeviceInterface.h"

namespace {

using Clock = std::chrono::steady_clock;

// Result of one transfer: bytes moved when complete, 0 when a wait timed out or the
// peer closed the connection, -1 on a socket error.
constexpr int kTransferClosedOrTimeout = 0;
constexpr int kTransferError = -1;

int MillisecondsLeft(Clock::time_point deadline) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return left > 0 ? static_cast<int>(left) : 0;
}

// Waits for the socket to become ready; 1 ready, 0 timed out or interrupted, -1 error.
// interruptFd, when valid, ends the wait as soon as it becomes readable.
int WaitReady(int fd, short events, int timeoutMs, int interruptFd) {
    pollfd p[2] = {{fd, events, 0}, {interruptFd, POLLIN, 0}};
    const nfds_t count = interruptFd >= 0 ? 2 : 1;
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        const int rc = ::poll(p, count, MillisecondsLeft(deadline));
        if (count == 2 && (p[1].revents & POLLIN)) {
            return 0;
        }
        if (rc > 0) {
            // An error or hang-up is reported by the following send/recv itself.
            return (p[0].revents & POLLNVAL) ? -1 : 1;
        }
        if (rc == 0) {
            return 0;
        }
        if (errno != EINTR) {
            return -1;
        }
    }
}

// Each wait lasts at most waitMs, and no wait reaches past the deadline: a peer that
// trickles bytes cannot hold the exchange open for ever.
int SendAll(int fd, const uint8_t* bytes, int length, int waitMs, Clock::time_point deadline, int interruptFd) {
    int sent = 0;
    while (sent < length) {
        const int ready = WaitReady(fd, POLLOUT, std::min(waitMs, MillisecondsLeft(deadline)), interruptFd);
        if (ready <= 0) {
            return ready < 0 ? kTransferError : kTransferClosedOrTimeout;
        }
        const ssize_t n = ::send(fd, bytes + sent, static_cast<size_t>(length - sent), MSG_NOSIGNAL);
        if (n < 0) {
            if (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR) {
                continue;
            }
            return kTransferError;
        }
        sent += static_cast<int>(n);
    }
    return sent;
}

int RecvAll(int fd, uint8_t* buffer, int length, int waitMs, Clock::time_point deadline, int interruptFd) {
    int received = 0;
    while (received < length) {
        const int ready = WaitReady(fd, POLLIN, std::min(waitMs, MillisecondsLeft(deadline)), interruptFd);
        if (ready <= 0) {
            return ready < 0 ? kTransferError : kTransferClosedOrTimeout;
        }
        const ssize_t n = ::recv(fd, buffer + received, static_cast<size_t>(length - received), 0);
        if (n == 0) {
            return kTransferClosedOrTimeout;
        }
        if (n < 0) {
            if (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR) {
                continue;
            }
            return kTransferError;
        }
        received += static_cast<int>(n);
    }
    return received;
}

bool ConnectWithTimeout(int fd, const sockaddr_in& address, int timeoutMs, int interruptFd) {
    const int flags = ::fcntl(fd, F_GETFL, 0);
    if (flags < 0 || ::fcntl(fd, F_SETFL, flags | O_NONBLOCK) < 0) {
        return false;
    }
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) == 0) {
        return true;
    }
    if (errno != EINPROGRESS && errno != EINTR) {
        return false;
    }
    if (WaitReady(fd, POLLOUT, timeoutMs, interruptFd) <= 0) {
        return false;
    }
    int error = 0;
    socklen_t length = sizeof(error);
    return ::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length) == 0 && error == 0;
}

void PutWord(uint8_t* at, uint16_t value) {
    at[0] = static_cast<uint8_t>(value >> 8);
    at[1] = static_cast<uint8_t>(value & 0xFF);
}

uint16_t GetWord(const uint8_t* at) {
    return static_cast<uint16_t>((at[0] << 8) | at[1]);
}

}  // namespace

// Without its event descriptor (none left in the process) the client still works; only
// an interrupt then waits for the current wait to end.
CModbusTCP::CModbusTCP()
    : m_interruptFd(::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC)),
      m_connectTimeoutMs(DeviceInterface::kConnectTimeoutMs),
      m_identifyTimeoutMs(DeviceInterface::kRequestTimeoutMs) {}

// The owner closes the connection first; an open socket left here is closed so it
// does not leak.
CModbusTCP::~CModbusTCP() {
    const int fd = m_socket.exchange(-1);
    if (fd >= 0) {
        ::close(fd);
    }
    if (m_interruptFd >= 0) {
        ::close(m_interruptFd);
    }
}

void CModbusTCP::Interrupt() {
    m_interrupted.store(true);
    if (m_interruptFd >= 0) {
        const uint64_t one = 1;
        // A full counter already wakes every wait; nothing to add then.
        [[maybe_unused]] const ssize_t n = ::write(m_interruptFd, &one, sizeof(one));
    }
}

void CModbusTCP::ResetInterrupt() {
    m_interrupted.store(false);
    if (m_interruptFd >= 0) {
        uint64_t count = 0;
        [[maybe_unused]] const ssize_t n = ::read(m_interruptFd, &count, sizeof(count));
    }
}

int CModbusTCP::Connect(uint32_t ipAddress, int port, int unitId) {
    if (IsConnected()) {
        Close();
    }
    std::lock_guard guard(m_lock);
    if (m_interrupted.load()) {
        return 0;
    }
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, IPPROTO_TCP);
    if (fd < 0) {
        return 0;
    }
    const int one = 1;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(ipAddress);
    address.sin_port = htons(static_cast<uint16_t>(port));
    if (::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof(one)) != 0 ||
        !ConnectWithTimeout(fd, address, m_connectTimeoutMs, m_interruptFd)) {
        ::close(fd);
        return 0;
    }
    // A socket left by a racing Connect on another thread is not leaked.
    const int previous = m_socket.exchange(fd, std::memory_order_acq_rel);
    if (previous >= 0) {
        ::close(previous);
    }
    m_transactionId = 0;
    m_unitId = static_cast<uint16_t>(unitId);
    return 1;
}

// The counters are reset under the lock: another thread may be starting a request.
void CModbusTCP::Close() {
    std::lock_guard guard(m_lock);
    const int fd = m_socket.exchange(-1, std::memory_order_acq_rel);
    if (fd >= 0) {
        ::close(fd);
    }
    m_transactionId = 0;
    m_unitId = 0;
}

int CModbusTCP::Identify() {
    if (!IsConnected()) {
        return -1;
    }
    for (int attempt = 0; attempt < DeviceInterface::kIdentifyTries && !m_interrupted.load(); ++attempt) {
        uint16_t identity[2] = {0, 0};
        if (ReadHoldingRegisters(DeviceInterface::kRegDeviceType, 2, identity, m_identifyTimeoutMs) != 2) {
            continue;
        }
        if (identity[0] != DeviceInterface::kDeviceType) {
            return -2;
        }
        return DeviceInterface::IsSupportedFirmware(identity[1]) ? 0 : -3;
    }
    return -1;
}

int CModbusTCP::ReceiveResponse(int timeoutMs) {
    const int fd = m_socket.load(std::memory_order_relaxed);
    // Answers to earlier, abandoned requests are skipped; a peer that keeps sending them
    // ends the exchange after twice the time-out.
    const auto deadline = Clock::now() + std::chrono::milliseconds(2 * static_cast<int64_t>(timeoutMs));
    for (;;) {
        int rc = RecvAll(fd, m_header, kHeaderSize, timeoutMs, deadline, m_interruptFd);
        if (rc < 0) {
            return -1;
        }
        if (rc != kHeaderSize) {
            return -2;
        }
        const uint16_t transactionId = GetWord(m_header);
        const uint16_t protocolId = GetWord(m_header + 2);
        const int length = GetWord(m_header + 4);
        // Only the low byte of the unit identifier travels on the wire.
        if (protocolId != 0 || m_header[6] != (m_unitId & 0xFF) || length < 1 || length - 1 > kMaxPduSize) {
            return -2;
        }
        m_pduLength = length - 1;
        rc = RecvAll(fd, m_pdu, m_pduLength, timeoutMs, deadline, m_interruptFd);
        if (rc < 0) {
            return -1;
        }
        if (rc != m_pduLength) {
            return -2;
        }
        if (transactionId == m_transactionId) {
            return 0;
        }
    }
}

int CModbusTCP::Exchange(int requestLength, int timeoutMs) {
    // An interrupted client sends nothing: the request would be answered after its time.
    if (m_interrupted.load()) {
        return -2;
    }
    const int fd = m_socket.load(std::memory_order_relaxed);
    const auto sendDeadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    const int sent = SendAll(fd, m_request, requestLength, timeoutMs, sendDeadline, m_interruptFd);
    if (sent < 0) {
        return -1;
    }
    if (sent != requestLength) {
        return -2;
    }
    return ReceiveResponse(timeoutMs);
}

void CModbusTCP::PutRequestHeader(uint16_t length, uint8_t function, uint16_t firstAddress, uint16_t count) {
    ++m_transactionId;
    PutWord(m_request, m_transactionId);
    PutWord(m_request + 2, 0);  // protocol identifier
    PutWord(m_request + 4, length);
    m_request[6] = static_cast<uint8_t>(m_unitId & 0xFF);
    m_request[7] = function;
    PutWord(m_request + 8, firstAddress);
    PutWord(m_request + 10, count);
}

int CModbusTCP::ReadHoldingRegisters(uint16_t firstAddress, uint16_t count, uint16_t* registers,
                                     int timeoutMs) {
    std::lock_guard guard(m_lock);
    if (!IsConnected() || registers == nullptr) {
        return -1;
    }
    count = std::min(count, DeviceInterface::kMaxReadCount);
    PutRequestHeader(6, DeviceInterface::kFunctionReadHolding, firstAddress, count);
    const int rc = Exchange(12, timeoutMs);
    if (rc != 0) {
        return rc;
    }
    if (m_pdu[0] & 0x80) {
        if (m_pduLength < 2) {
            return -2;
        }
        registers[0] = m_pdu[1];
        return -3;
    }
    // The byte count must not promise more values than the frame carries.
    if (m_pduLength < 2 || 2 + m_pdu[1] > m_pduLength) {
        return -2;
    }
    const int available = m_pdu[1] / 2;
    const int copied = std::min<int>(available, count);
    for (int i = 0; i < copied; ++i) {
        registers[i] = GetWord(m_pdu + 2 + 2 * i);
    }
    return available;
}

int CModbusTCP::WriteMultipleRegisters(uint16_t firstAddress, uint16_t count, uint16_t* registers,
                                       int timeoutMs) {
    std::lock_guard guard(m_lock);
    if (!IsConnected() || registers == nullptr) {
        return -1;
    }
    count = std::min(count, DeviceInterface::kMaxWriteCount);
    PutRequestHeader(static_cast<uint16_t>(2 * count + 7), DeviceInterface::kFunctionWriteMultiple, firstAddress,
                     count);
    m_request[12] = static_cast<uint8_t>(2 * count);
    for (int i = 0; i < count; ++i) {
        PutWord(m_request + 13 + 2 * i, registers[i]);
    }
    const int rc = Exchange(13 + 2 * count, timeoutMs);
    if (rc != 0) {
        return rc;
    }
    if (m_pdu[0] & 0x80) {
        if (m_pduLength < 2) {
            return -2;
        }
        registers[0] = m_pdu[1];
        return -3;
    }
    if (m_pduLength < 5 || GetWord(m_pdu + 1) != firstAddress) {
        return -2;
    }
    return GetWord(m_pdu + 3);
}
