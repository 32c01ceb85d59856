#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <functional>
#include <optional>

// Sets an environment variable for the life of the object and restores it afterwards.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const QString& value);
    ~ScopedEnv();
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    QByteArray m_name;
    std::optional<QByteArray> m_old;
};

// Writes bytes to a file, creating its folder; false on failure.
bool WriteFileBytes(const QString& path, const QByteArray& bytes);
QByteArray ReadFileBytes(const QString& path);

// Installs a process-wide language table whose texts are the key names, for tests of
// code that shows language texts.
void UseKeyNameLanguage();

// 127.0.0.1: the only address tests connect to or listen on.
inline constexpr std::uint32_t kLoopback = 0x7F000001;

// Runs the calling thread's events until done() holds; false once limitMs have passed.
bool WaitFor(const std::function<bool()>& done, int limitMs = 20000);
// Sleeps in short steps, without running events, until done() holds; false once limitMs
// have passed.
bool WaitUntil(const std::function<bool()>& done, int limitMs = 20000);
