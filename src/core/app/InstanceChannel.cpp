#include "app/InstanceChannel.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <sys/un.h>
#include <unistd.h>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QThread>
#include <algorithm>
#include <cerrno>
#include <cstring>

#include "app/AppInfo.h"

namespace {

constexpr int kRetryPauseMs = 50;

bool MakeAddress(const QString& path, sockaddr_un& address) {
    const QByteArray bytes = QFile::encodeName(path);
    std::memset(&address, 0, sizeof address);
    address.sun_family = AF_UNIX;
    if (bytes.size() >= qsizetype(sizeof address.sun_path))
        return false;
    std::memcpy(address.sun_path, bytes.constData(), size_t(bytes.size()));
    return true;
}

bool SameUser(int fd) {
    ucred peer{};
    socklen_t size = sizeof peer;
    if (::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &peer, &size) != 0)
        return false;
    return peer.uid == ::getuid();
}

// Reads one message up to its line feed; an empty result for anything else.
QString ReadMessage(int fd) {
    QByteArray data;
    QDeadlineTimer deadline(CInstanceChannel::kReadTimeoutMs);
    char buffer[4096];
    while (true) {
        const qsizetype end = data.indexOf('\n');
        if (end >= 0) {
            data.truncate(end);
            break;
        }
        if (data.size() > CInstanceChannel::kMaxMessageBytes)
            return QString();
        pollfd p{fd, POLLIN, 0};
        const int ready = ::poll(&p, 1, int(deadline.remainingTime()));
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready <= 0)
            return QString();
        const ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
        if (n < 0 && (errno == EINTR || errno == EAGAIN))
            continue;
        if (n <= 0)
            return QString();  // closed before the line feed: an incomplete message
        data.append(buffer, n);
    }
    if (data.isEmpty() || data.size() > CInstanceChannel::kMaxMessageBytes || data.contains('\0'))
        return QString();
    const QString path = QFile::decodeName(data);
    return QFileInfo(path).isAbsolute() ? path : QString();
}

bool WriteAll(int fd, const QByteArray& data) {
    qsizetype done = 0;
    while (done < data.size()) {
        const ssize_t n = ::send(fd, data.constData() + done, size_t(data.size() - done), MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += n;
    }
    return true;
}

}  // namespace

CInstanceChannel::~CInstanceChannel() {
    Close();
}

QString CInstanceChannel::SocketPath(const QString& dir) {
    return QDir(dir).filePath(QString::fromLatin1(AppInfo::kInstanceLockName) + QStringLiteral(".sock"));
}

bool CInstanceChannel::Listen(const QString& dir) {
    Close();
    const QString path = SocketPath(dir);
    sockaddr_un address;
    if (!MakeAddress(path, address))
        return false;
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return false;
    ::unlink(address.sun_path);
    // Nobody else may connect, whatever folder the socket lands in.
    const mode_t previous = ::umask(0077);
    const bool bound = ::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    ::umask(previous);
    if (!bound || ::listen(fd, 16) != 0) {
        ::close(fd);
        return false;
    }
    m_fd = fd;
    m_path = path;
    return true;
}

QStringList CInstanceChannel::Receive(int waitMs) {
    QStringList paths;
    if (m_fd < 0)
        return paths;
    if (waitMs > 0) {
        pollfd p{m_fd, POLLIN, 0};
        while (::poll(&p, 1, waitMs) < 0 && errno == EINTR) {
        }
    }
    while (true) {
        const int client = ::accept4(m_fd, nullptr, nullptr, SOCK_CLOEXEC);
        if (client < 0) {
            if (errno == EINTR || errno == ECONNABORTED)
                continue;
            break;  // EAGAIN: nobody else is waiting
        }
        if (SameUser(client)) {
            const QString path = ReadMessage(client);
            if (!path.isEmpty())
                paths.append(path);
        }
        ::close(client);
    }
    return paths;
}

void CInstanceChannel::Close() {
    if (m_fd < 0)
        return;
    ::close(m_fd);
    m_fd = -1;
    ::unlink(QFile::encodeName(m_path).constData());
    m_path.clear();
}

bool CInstanceChannel::Send(const QString& dir, const QString& path, int timeoutMs) {
    sockaddr_un address;
    if (!MakeAddress(SocketPath(dir), address))
        return false;
    const QByteArray message = QFile::encodeName(QFileInfo(path).absoluteFilePath()) + '\n';
    if (message.size() > kMaxMessageBytes)
        return false;

    QDeadlineTimer deadline(timeoutMs);
    while (true) {
        const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (fd < 0)
            return false;
        // A busy listener's full queue must not hold this process beyond its time.
        const qint64 left = std::max<qint64>(deadline.remainingTime(), kRetryPauseMs);
        const timeval limit{time_t(left / 1000), suseconds_t((left % 1000) * 1000)};
        ::setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &limit, sizeof limit);
        if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0) {
            const bool sent = WriteAll(fd, message);
            ::close(fd);
            return sent;
        }
        ::close(fd);
        // The running instance may hold the lock but not listen yet: try again shortly.
        if (deadline.hasExpired())
            return false;
        QThread::msleep(kRetryPauseMs);
    }
}
