#include "SimServer.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <modbus.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "SimSettingsBlock.h"
#include "device/DeviceInterface.h"

namespace {

namespace DI = DeviceInterface;
using namespace std::chrono_literals;

constexpr int kMaxClients = 64;
constexpr auto kTickPeriod = 100ms;      // live values move even when nobody polls
constexpr auto kMinTickInterval = 10ms;  // and at most this often when somebody does
constexpr auto kRelistenRetry = 100ms;

uint16_t Word(const uint8_t* at) {
    return static_cast<uint16_t>((at[0] << 8) | at[1]);
}

int MillisecondsUntil(std::chrono::steady_clock::time_point when, std::chrono::steady_clock::time_point now) {
    if (when <= now) {
        return 0;
    }
    // Rounded up, so the wake-up is never early.
    return static_cast<int>(std::chrono::ceil<std::chrono::milliseconds>(when - now).count());
}

bool Overlaps(uint16_t first, uint16_t count, const SimExceptionRule& rule) {
    const int last = first + count - 1;
    return first <= rule.last && last >= rule.first;
}

}  // namespace

CSimServer::CSimServer(SimConfig config)
    : m_config(std::move(config)),
      m_device(std::chrono::system_clock::now(), m_config.seed),
      m_faults(m_config.faults) {
    m_device.SetIdentity(m_config.deviceType, m_config.firmware);
    m_device.SetPassword(m_config.password);
    m_device.SetErrorWord(m_config.errorWord);
    for (size_t i = 0; i < m_config.recordSources.size(); ++i) {
        m_device.SetRegister32(static_cast<uint16_t>(DeviceInterface::kRegRecordSources + 2 * i),
                               m_config.recordSources[i]);
    }
    if (m_config.recording) {
        m_device.SetRecording(true, std::chrono::system_clock::now());
    }
    if (!m_config.cardDir.empty()) {
        m_recorder = std::make_unique<CSimRecorder>(m_config.cardDir);
        m_recorder->Attach(m_device);
    }
}

CSimServer::~CSimServer() {
    Stop();
    m_device.SetTickHook({});
}

void CSimServer::SetFaults(const SimFaults& faults) {
    std::lock_guard guard(m_faultLock);
    m_faults = faults;
}

SimFaults CSimServer::Faults() const {
    std::lock_guard guard(m_faultLock);
    return m_faults;
}

bool CSimServer::Start(std::string* error) {
    if (m_thread.joinable()) {
        return true;
    }
    if (!m_config.cardDir.empty()) {
        std::error_code failure;
        std::filesystem::create_directories(m_config.cardDir, failure);
        if (!std::filesystem::is_directory(m_config.cardDir) ||
            ::access(m_config.cardDir.c_str(), W_OK | X_OK) != 0) {
            if (error) {
                *error = "cannot write to the card folder " + m_config.cardDir +
                         (failure ? ": " + failure.message() : std::string());
            }
            return false;
        }
    }
    if (::pipe2(m_wakePipe, O_CLOEXEC | O_NONBLOCK) != 0 ||
        ::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, m_capture) != 0 ||
        ::fcntl(m_capture[0], F_SETFL, O_NONBLOCK) != 0) {
        if (error) {
            *error = std::string("cannot create internal pipes: ") + std::strerror(errno);
        }
        return false;
    }
    m_mapping = modbus_mapping_new(0, 0, CSimDevice::kRegisterSpace, 0);
    if (m_mapping == nullptr || !Listen(error)) {
        return false;
    }
    m_stop = false;
    m_lastTick = std::chrono::steady_clock::now();
    m_thread = std::thread([this] { Run(); });
    return true;
}

bool CSimServer::Listen(std::string* error) {
    const int wantedPort = m_port != 0 ? m_port : m_config.port;
    if (m_ctx == nullptr) {
        m_ctx = modbus_new_tcp(m_config.address.c_str(), wantedPort);
        if (m_ctx == nullptr) {
            if (error) {
                *error = "cannot set up a Modbus TCP server for " + m_config.address;
            }
            return false;
        }
    }
    const int fd = modbus_tcp_listen(m_ctx, 16);
    if (fd < 0) {
        if (error) {
            *error = "cannot listen on " + m_config.address + ":" + std::to_string(wantedPort) + ": " +
                     modbus_strerror(errno);
        }
        return false;
    }
    m_listenFd = fd;
    if (m_port == 0) {
        sockaddr_in bound{};
        socklen_t length = sizeof(bound);
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&bound), &length);
        m_port = ntohs(bound.sin_port);
        if (wantedPort == 0) {
            // Listening again after a restart has to take the same port.
            modbus_free(m_ctx);
            m_ctx = modbus_new_tcp(m_config.address.c_str(), m_port);
        }
    }
    return m_ctx != nullptr;
}

void CSimServer::Stop() {
    if (m_thread.joinable()) {
        m_stop = true;
        Wake();
        m_thread.join();
    }
    if (m_recorder) {
        // What was recorded so far ends up a whole, readable file.
        m_recorder->CloseFile();
    }
    for (Client& client : m_clients) {
        DropClient(client, false);
    }
    m_clients.clear();
    for (int* fd : {&m_listenFd, &m_wakePipe[0], &m_wakePipe[1], &m_capture[0], &m_capture[1]}) {
        if (*fd >= 0) {
            ::close(*fd);
            *fd = -1;
        }
    }
    if (m_mapping) {
        modbus_mapping_free(m_mapping);
        m_mapping = nullptr;
    }
    if (m_ctx) {
        // The context only borrowed the client sockets; they are closed already.
        modbus_set_socket(m_ctx, -1);
        modbus_free(m_ctx);
        m_ctx = nullptr;
    }
}

void CSimServer::Wake() {
    const uint8_t byte = 1;
    [[maybe_unused]] const ssize_t n = ::write(m_wakePipe[1], &byte, 1);
}

void CSimServer::Run() {
    std::vector<pollfd> fds;
    while (!m_stop) {
        auto now = std::chrono::steady_clock::now();
        int timeout = MillisecondsUntil(m_lastTick + kTickPeriod, now);
        for (const Client& client : m_clients) {
            if (!client.pending.empty()) {
                timeout = std::min(timeout, MillisecondsUntil(client.pending.front().due, now));
            }
        }
        if (m_down) {
            timeout = std::min(timeout, MillisecondsUntil(m_downUntil, now));
        }
        fds.clear();
        fds.push_back({m_wakePipe[0], POLLIN, 0});
        const bool listening = !m_down && m_listenFd >= 0;
        if (listening) {
            fds.push_back({m_listenFd, POLLIN, 0});
        }
        const size_t firstClient = fds.size();
        for (const Client& client : m_clients) {
            fds.push_back({client.fd, POLLIN, 0});
        }
        if (::poll(fds.data(), fds.size(), timeout) < 0 && errno != EINTR) {
            std::perror("trv730-sim: poll");
            break;
        }
        if (fds[0].revents & POLLIN) {
            uint8_t drain[64];
            while (::read(m_wakePipe[0], drain, sizeof(drain)) > 0) {
            }
        }
        if (m_stop) {
            break;
        }
        now = std::chrono::steady_clock::now();
        if (m_down && now >= m_downUntil) {
            if (Listen(nullptr)) {
                m_down = false;
                m_device.Restarted(std::chrono::system_clock::now());
            } else {
                m_downUntil = now + kRelistenRetry;
            }
        }
        if (now - m_lastTick >= kTickPeriod) {
            m_device.Tick(std::chrono::system_clock::now());
            m_lastTick = now;
        }
        const size_t polledClients = fds.size() - firstClient;
        for (size_t i = 0; i < polledClients && !m_down; ++i) {
            if ((fds[firstClient + i].revents & (POLLIN | POLLERR | POLLHUP)) && m_clients[i].fd >= 0 &&
                !Serve(m_clients[i], now)) {
                DropClient(m_clients[i], false);
            }
        }
        for (Client& client : m_clients) {
            if (client.fd >= 0) {
                Flush(client, now);
            }
        }
        std::erase_if(m_clients, [](const Client& c) { return c.fd < 0; });
        if (listening && !m_down && (fds[1].revents & POLLIN)) {
            Accept();
        }
    }
}

void CSimServer::Accept() {
    const int fd = ::accept4(m_listenFd, nullptr, nullptr, SOCK_CLOEXEC);
    if (fd < 0) {
        return;
    }
    if (static_cast<int>(m_clients.size()) >= kMaxClients) {
        ::close(fd);
        return;
    }
    const int one = 1;
    ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof(one));
    // A client that never reads its answers cannot stall the others for long.
    const timeval sendLimit{1, 0};
    ::setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &sendLimit, sizeof(sendLimit));
    Client client;
    client.fd = fd;
    m_clients.push_back(std::move(client));
    ++m_openConnections;
}

// A device that hangs mid-session: the connection stays open, the requests are read,
// nothing comes back.
bool CSimServer::StopsAnswering(const SimFaults& faults, const Client& client) {
    return faults.silentAfter >= 0 && client.requests >= faults.silentAfter;
}

bool CSimServer::Serve(Client& client, SteadyTime now) {
    uint8_t query[MODBUS_TCP_MAX_ADU_LENGTH];
    modbus_set_socket(m_ctx, client.fd);
    const int length = modbus_receive(m_ctx, query);
    if (length < 0) {
        return false;
    }
    if (length < 8) {
        return true;
    }
    ++m_requests;
    m_lastUnitId = query[6];

    SimFaults faults;
    {
        std::lock_guard guard(m_faultLock);
        if (m_faults.silent || StopsAnswering(m_faults, client)) {
            return true;
        }
        if (m_faults.dropAfter >= 0 && client.requests >= m_faults.dropAfter) {
            DropClient(client, true);
            return true;
        }
        faults = m_faults;
        faults.lateAnswers = 0;
        if (m_faults.lateAnswers > 0) {
            --m_faults.lateAnswers;
            faults.lateAnswers = 1;
        }
    }
    ++client.requests;

    bool restart = false;
    const uint8_t exception = Handle(query, length, faults, now, restart);
    if (restart) {
        // A rebooting device answers nothing and its connections die with a reset.
        if (m_config.verbose) {
            std::fprintf(stderr, "trv730-sim: restart, refusing connections for %d ms\n",
                         m_config.restartDownMs);
        }
        GoDown(now);
        return true;
    }
    if (m_config.verbose) {
        std::fprintf(stderr, "trv730-sim: unit %u function %u first %u count %u -> %s %u\n", query[6],
                     query[7], length >= 12 ? Word(query + 8) : 0, length >= 12 ? Word(query + 10) : 0,
                     exception ? "exception" : "ok", exception);
    }
    Answer(client, query, length, exception, faults, now);
    return client.fd >= 0;
}

uint8_t CSimServer::Handle(const uint8_t* query, int length, const SimFaults& faults, SteadyTime now,
                           bool& restart) {
    const uint8_t function = query[7];
    if (function != DI::kFunctionReadHolding && function != DI::kFunctionWriteMultiple) {
        return DI::kExceptionIllegalFunction;
    }
    const bool read = function == DI::kFunctionReadHolding;
    const uint16_t first = length >= 12 ? Word(query + 8) : 0;
    const uint16_t count = length >= 12 ? Word(query + 10) : 0;
    if (length < 12 || count < 1 || count > (read ? DI::kMaxReadCount : DI::kMaxWriteCount) ||
        (!read && (length < 13 + 2 * count || query[12] != 2 * count))) {
        return DI::kExceptionIllegalValue;
    }
    for (const SimExceptionRule& rule : faults.exceptions) {
        if (Overlaps(first, count, rule)) {
            return rule.code;
        }
    }
    if (!read) {
        bool keepOld = false;
        if (const uint8_t refused = SettingsWriteFault(faults, first, count, keepOld)) {
            return refused;
        }
        if (keepOld) {
            return 0;
        }
    }
    if (read) {
        if (now - m_lastTick >= kMinTickInterval) {
            m_device.Tick(std::chrono::system_clock::now());
            m_lastTick = now;
        }
        uint16_t values[DI::kMaxReadCount];
        const uint8_t exception = m_device.Read(first, count, values);
        if (exception == 0) {
            // modbus_reply answers from the mapping.
            std::copy(values, values + count, m_mapping->tab_registers + first);
        }
        return exception;
    }
    uint16_t values[DI::kMaxWriteCount];
    for (int i = 0; i < count; ++i) {
        values[i] = Word(query + 13 + 2 * i);
    }
    const CSimDevice::WriteResult result =
        m_device.Write(first, count, values, std::chrono::system_clock::now());
    restart = result.restart;
    return result.exception;
}

void CSimServer::Answer(Client& client, const uint8_t* query, int length, uint8_t exception,
                        const SimFaults& faults, SteadyTime now) {
    auto reply = [&](int fd) {
        modbus_set_socket(m_ctx, fd);
        return exception ? modbus_reply_exception(m_ctx, query, exception)
                         : modbus_reply(m_ctx, query, length, m_mapping);
    };
    if (!faults.ChangesAnswers() && client.pending.empty()) {
        if (reply(client.fd) < 0) {
            DropClient(client, false);
        }
        return;
    }
    // libmodbus builds the answer into a socket pair; it is then altered and held back.
    if (reply(m_capture[1]) < 0) {
        return;
    }
    Pending answer;
    uint8_t buffer[MODBUS_TCP_MAX_ADU_LENGTH];
    ssize_t n;
    while ((n = ::recv(m_capture[0], buffer, sizeof(buffer), 0)) > 0) {
        answer.bytes.insert(answer.bytes.end(), buffer, buffer + n);
    }
    if (answer.bytes.size() < 8) {
        return;
    }
    if (faults.unitId >= 0) {
        answer.bytes[6] = static_cast<uint8_t>(faults.unitId);
    }
    if (faults.protocolId >= 0) {
        answer.bytes[2] = static_cast<uint8_t>(faults.protocolId >> 8);
        answer.bytes[3] = static_cast<uint8_t>(faults.protocolId);
    }
    if (faults.zeroLength) {
        answer.bytes[4] = 0;
        answer.bytes[5] = 0;
    }
    answer.due =
        now + std::chrono::milliseconds(faults.delayMs + (faults.lateAnswers > 0 ? faults.lateMs : 0));
    // Answers leave in the order their requests came.
    if (!client.pending.empty()) {
        answer.due = std::max(answer.due, client.pending.back().due);
    }
    client.pending.push_back(std::move(answer));
}

void CSimServer::Flush(Client& client, SteadyTime now) {
    while (!client.pending.empty() && client.pending.front().due <= now) {
        const std::vector<uint8_t>& bytes = client.pending.front().bytes;
        if (::send(client.fd, bytes.data(), bytes.size(), MSG_NOSIGNAL | MSG_DONTWAIT) < 0) {
            DropClient(client, false);
            return;
        }
        client.pending.pop_front();
    }
}

void CSimServer::DropClient(Client& client, bool reset) {
    if (client.fd < 0) {
        return;
    }
    if (reset) {
        const linger abort{1, 0};
        ::setsockopt(client.fd, SOL_SOCKET, SO_LINGER, &abort, sizeof(abort));
    }
    ::close(client.fd);
    client.fd = -1;
    client.pending.clear();
    --m_openConnections;
}

void CSimServer::GoDown(SteadyTime now) {
    // Stop listening first: whoever sees the reset must find the port already refusing.
    if (m_listenFd >= 0) {
        ::close(m_listenFd);
        m_listenFd = -1;
    }
    for (Client& client : m_clients) {
        DropClient(client, true);
    }
    m_down = true;
    m_downUntil = now + std::chrono::milliseconds(m_config.restartDownMs);
}
