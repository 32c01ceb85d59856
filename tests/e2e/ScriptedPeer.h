#pragma once

#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

#include "support/TestSupport.h"

using Bytes = std::vector<uint8_t>;

// A loopback Modbus TCP peer that answers each request as a test script says, for the
// answers no well-behaved device would give. Accepts one connection.
class ScriptedPeer {
  public:
    // Gets each whole request (MBAP header included) and the connection; writes whatever
    // it likes with Send. Returning false closes the connection.
    using Script = std::function<bool(const Bytes& request, int fd)>;

    explicit ScriptedPeer(Script script);
    ~ScriptedPeer();
    int Port() const { return m_port; }
    std::vector<Bytes> Requests() const;

    static void Send(int fd, const Bytes& bytes);
    // An answer to `request` carrying `pdu`, with the request's header fields.
    static Bytes AnswerTo(const Bytes& request, const Bytes& pdu);

  private:
    void Run();

    Script m_script;
    int m_listenFd = -1;
    int m_connFd = -1;
    int m_port = 0;
    mutable std::mutex m_lock;
    std::vector<Bytes> m_requests;
    std::thread m_thread;
};

// A loopback address that takes no more connections: its listen queue is full and it
// never accepts, so a connect to it waits for ever.
class SilentListener {
  public:
    SilentListener();
    ~SilentListener();
    int Port() const { return m_port; }

  private:
    int m_listenFd = -1;
    std::vector<int> m_fillers;
    int m_port = 0;
};
