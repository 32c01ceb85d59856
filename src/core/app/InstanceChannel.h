#pragma once

#include <QString>
#include <QStringList>

// Hands a file named on a second start to the instance that already runs: a local stream
// socket beside the single-instance lock. The running instance listens; a second start
// connects, writes the file's absolute path and a line feed, and ends.
//
// Only a process of the same user is listened to (the peer's credentials are checked), and
// a message is read only up to its line feed, at most kMaxMessageBytes, within a short time,
// so a stray client can neither flood nor stall the program.
class CInstanceChannel {
public:
    static constexpr int kMaxMessageBytes = 16 * 1024;
    static constexpr int kReadTimeoutMs = 500;

    CInstanceChannel() = default;
    ~CInstanceChannel();
    CInstanceChannel(const CInstanceChannel&) = delete;
    CInstanceChannel& operator=(const CInstanceChannel&) = delete;

    // The socket's path in the lock's folder.
    static QString SocketPath(const QString& dir);

    // Starts listening (the caller holds the single-instance lock, so a socket file left by
    // a process that died is ours to replace). False when the socket cannot be made; the
    // program then runs without taking files from second starts.
    bool Listen(const QString& dir);
    bool IsListening() const { return m_fd >= 0; }
    // The listening descriptor, for an event loop to watch; -1 when not listening.
    int Descriptor() const { return m_fd; }

    // Takes every connection waiting now (waiting up to waitMs for the first one) and
    // returns the paths they carried, in arrival order. Malformed messages are dropped.
    QStringList Receive(int waitMs = 0);

    void Close();

    // The second start's side: sends path to the instance listening in dir, retrying for up
    // to timeoutMs while that instance is still starting. False when nobody took it.
    static bool Send(const QString& dir, const QString& path, int timeoutMs);

private:
    int m_fd = -1;
    QString m_path;
};
