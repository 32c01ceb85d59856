#pragma once

#include <QByteArray>
#include <QString>
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
