#pragma once

#include <QString>

// Keeps the program to one running instance per user: an exclusive lock on a file in
// the user's runtime folder, held for the life of the process and released by the
// system when the process ends, however it ends.
class CSingleInstance {
public:
    CSingleInstance() = default;
    ~CSingleInstance();
    CSingleInstance(const CSingleInstance&) = delete;
    CSingleInstance& operator=(const CSingleInstance&) = delete;

    // False only when another process holds the lock. A lock file that cannot be created
    // does not keep the program from running.
    bool Acquire(const QString& dir);
    void Release();

    // The user's runtime folder (XDG_RUNTIME_DIR), or the temporary folder without one.
    static QString DefaultDir();

private:
    int m_fd = -1;
};
