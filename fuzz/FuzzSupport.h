#pragma once

// Shared pieces of the fuzz targets: a check that stops the run with the failing input,
// and a scratch file for readers that take a path.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <unistd.h>

// A violated property is a finding like a crash: libFuzzer saves the input on abort().
#define FUZZ_CHECK(cond)                                                                        \
    do {                                                                                        \
        if (!(cond)) {                                                                          \
            std::fprintf(stderr, "%s:%d: property violated: %s\n", __FILE__, __LINE__, #cond); \
            std::abort();                                                                       \
        }                                                                                       \
    } while (0)

inline QByteArray FuzzBytes(const std::uint8_t* data, std::size_t size) {
    return QByteArray(reinterpret_cast<const char*>(data), qsizetype(size));
}

// A path private to this process, for a file rewritten for every input (tmpfs when there
// is one). Removed when the process ends.
inline QString FuzzScratchPath(const char* suffix) {
    static const QString dir = [] {
        const QString shm = QStringLiteral("/dev/shm");
        return QDir(shm).exists() ? shm : QDir::tempPath();
    }();
    static QStringList* made = [] {
        static QStringList list;
        std::atexit([] {
            for (const QString& p : list) QDir(p).exists() ? (void)QDir(p).removeRecursively() : (void)QFile::remove(p);
        });
        return &list;
    }();
    const QString path =
        QStringLiteral("%1/trv730-fuzz-%2%3").arg(dir).arg(::getpid()).arg(QString::fromLatin1(suffix));
    if (!made->contains(path)) made->append(path);
    return path;
}

inline void FuzzWriteFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    FUZZ_CHECK(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    FUZZ_CHECK(f.write(bytes) == bytes.size());
}

// Reads the input front to back as small numbers, then hands over what is left.
class FuzzInput {
public:
    FuzzInput(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}
    std::uint8_t Byte() { return m_pos < m_size ? m_data[m_pos++] : 0; }
    std::uint16_t Word() { return std::uint16_t(Byte() | (Byte() << 8)); }
    std::uint32_t U32() { return std::uint32_t(Word()) | (std::uint32_t(Word()) << 16); }
    QByteArray Rest() const {
        return m_pos < m_size ? FuzzBytes(m_data + m_pos, m_size - m_pos) : QByteArray();
    }

private:
    const std::uint8_t* m_data;
    std::size_t m_size;
    std::size_t m_pos = 0;
};
