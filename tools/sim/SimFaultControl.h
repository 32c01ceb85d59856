#pragma once

#include <cstdint>

class CSimServer;

// Switches a running simulated device's misbehaviour on and off, for long runs that put
// faults on a schedule. Each call changes only the fault it names.
class CSimFaultControl {
  public:
    explicit CSimFaultControl(CSimServer& server) : m_server(server) {}

    // Every connection is reset at its next request while on (new ones too).
    void DropConnections(bool on);
    // Every answer leaves this much later (0: on time).
    void DelayAnswers(int ms);
    // Requests touching first..last get an exception answer with code while on.
    void RefuseRegisters(bool on, uint16_t first = 0, uint16_t last = 0, uint8_t code = 2);
    // Requests are read and never answered while on.
    void Silence(bool on);
    // Sends the restart command as a client would: the device resets its connections and
    // refuses new ones for its configured time. False when it could not be reached.
    bool Restart();
    // Everything off.
    void Clear();

  private:
    CSimServer& m_server;
};
