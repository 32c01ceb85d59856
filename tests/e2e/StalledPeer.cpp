#include "StalledPeer.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// Starts a connect to the port; true when the handshake completed within a short wait.
bool ConnectsAtOnce(int port, int* fd) {
    *fd = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (*fd < 0) return false;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<uint16_t>(port));
    if (::connect(*fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) == 0) return true;
    pollfd p{*fd, POLLOUT, 0};
    return ::poll(&p, 1, 200) == 1;
}

}  // namespace

StalledListener::StalledListener() {
    m_listenFd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (m_listenFd < 0) return;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof(address);
    if (::bind(m_listenFd, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) != 0 ||
        ::listen(m_listenFd, 0) != 0 ||
        ::getsockname(m_listenFd, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        return;
    }
    const int port = ntohs(address.sin_port);
    // Fill the queue until a handshake goes unanswered; a few connections always do it.
    for (int i = 0; i < 8; ++i) {
        int fd = -1;
        const bool completed = ConnectsAtOnce(port, &fd);
        if (fd >= 0) m_fillers.push_back(fd);
        if (!completed) {
            m_port = port;
            return;
        }
    }
}

StalledListener::~StalledListener() {
    for (int fd : m_fillers) ::close(fd);
    if (m_listenFd >= 0) ::close(m_listenFd);
}
