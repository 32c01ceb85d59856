#include "app/SingleInstance.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include "app/AppInfo.h"

CSingleInstance::~CSingleInstance() { Release(); }

QString CSingleInstance::DefaultDir() {
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QDir(QFile::decodeName(runtime)).exists()) return QFile::decodeName(runtime);
    return QDir::tempPath();
}

bool CSingleInstance::Acquire(const QString& dir) {
    Release();
    const QString path = QDir(dir).filePath(QString::fromLatin1(AppInfo::kInstanceLockName) + QStringLiteral(".lock"));
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) return true;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const bool held = errno == EWOULDBLOCK;
        ::close(fd);
        return !held;
    }
    m_fd = fd;
    return true;
}

void CSingleInstance::Release() {
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
}
