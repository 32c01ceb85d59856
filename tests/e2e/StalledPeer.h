#pragma once

#include <vector>

// A loopback port whose connection attempts hang: it listens with no room in its accept
// queue and never accepts, so the handshake of every further connect goes unanswered, as
// with a device that has dropped off the network.
class StalledListener {
public:
    StalledListener();
    ~StalledListener();
    StalledListener(const StalledListener&) = delete;
    StalledListener& operator=(const StalledListener&) = delete;

    // 0 when the port could not be set up.
    int Port() const { return m_port; }

private:
    int m_listenFd = -1;
    int m_port = 0;
    std::vector<int> m_fillers;  // the connections that fill the accept queue
};
