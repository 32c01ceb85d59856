#include "ScriptedPeer.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

int ListenOnLoopback(int backlog, int& port) {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(kLoopback);
    ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address));
    ::listen(fd, backlog);
    socklen_t length = sizeof(address);
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
    port = ntohs(address.sin_port);
    return fd;
}

bool RecvExactly(int fd, uint8_t* buffer, size_t length) {
    size_t got = 0;
    while (got < length) {
        const ssize_t n = ::recv(fd, buffer + got, length - got, 0);
        if (n <= 0) {
            return false;
        }
        got += static_cast<size_t>(n);
    }
    return true;
}

}  // namespace

ScriptedPeer::ScriptedPeer(Script script) : m_script(std::move(script)) {
    m_listenFd = ListenOnLoopback(1, m_port);
    m_thread = std::thread([this] { Run(); });
}

ScriptedPeer::~ScriptedPeer() {
    // Wakes the thread from accept or recv.
    ::shutdown(m_listenFd, SHUT_RDWR);
    {
        std::lock_guard guard(m_lock);
        if (m_connFd >= 0) {
            ::shutdown(m_connFd, SHUT_RDWR);
        }
    }
    m_thread.join();
    ::close(m_listenFd);
}

std::vector<Bytes> ScriptedPeer::Requests() const {
    std::lock_guard guard(m_lock);
    return m_requests;
}

void ScriptedPeer::Send(int fd, const Bytes& bytes) {
    [[maybe_unused]] const ssize_t n = ::send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
}

Bytes ScriptedPeer::AnswerTo(const Bytes& request, const Bytes& pdu) {
    Bytes answer(request.begin(), request.begin() + 7);
    answer[4] = static_cast<uint8_t>((pdu.size() + 1) >> 8);
    answer[5] = static_cast<uint8_t>(pdu.size() + 1);
    answer.insert(answer.end(), pdu.begin(), pdu.end());
    return answer;
}

void ScriptedPeer::Run() {
    const int fd = ::accept4(m_listenFd, nullptr, nullptr, SOCK_CLOEXEC);
    if (fd < 0) {
        return;
    }
    {
        std::lock_guard guard(m_lock);
        m_connFd = fd;
    }
    for (;;) {
        Bytes request(7);
        if (!RecvExactly(fd, request.data(), 7)) {
            break;
        }
        const size_t rest = static_cast<size_t>((request[4] << 8) | request[5]) - 1;
        request.resize(7 + rest);
        if (!RecvExactly(fd, request.data() + 7, rest)) {
            break;
        }
        {
            std::lock_guard guard(m_lock);
            m_requests.push_back(request);
        }
        if (!m_script(request, fd)) {
            break;
        }
    }
    std::lock_guard guard(m_lock);
    ::close(fd);
    m_connFd = -1;
}

SilentListener::SilentListener() {
    m_listenFd = ListenOnLoopback(0, m_port);
    // Fill the listen queue; further connection attempts get no answer at all.
    for (int i = 0; i < 4; ++i) {
        const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(kLoopback);
        address.sin_port = htons(static_cast<uint16_t>(m_port));
        ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address));
        m_fillers.push_back(fd);
    }
    ::usleep(50000);
}

SilentListener::~SilentListener() {
    for (const int fd : m_fillers) {
        ::close(fd);
    }
    ::close(m_listenFd);
}
