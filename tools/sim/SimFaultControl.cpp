#include "SimFaultControl.h"

#include "SimServer.h"
#include "device/DeviceInterface.h"
#include "device/ModbusTCP.h"

namespace DI = DeviceInterface;

void CSimFaultControl::DropConnections(bool on) {
    SimFaults f = m_server.Faults();
    f.dropAfter = on ? 0 : -1;
    m_server.SetFaults(f);
}

void CSimFaultControl::DelayAnswers(int ms) {
    SimFaults f = m_server.Faults();
    f.delayMs = ms;
    m_server.SetFaults(f);
}

void CSimFaultControl::RefuseRegisters(bool on, uint16_t first, uint16_t last, uint8_t code) {
    SimFaults f = m_server.Faults();
    f.exceptions.clear();
    if (on) f.exceptions.push_back({first, last, code});
    m_server.SetFaults(f);
}

void CSimFaultControl::Silence(bool on) {
    SimFaults f = m_server.Faults();
    f.silent = on;
    m_server.SetFaults(f);
}

bool CSimFaultControl::Restart() {
    CModbusTCP client;
    client.SetConnectTimeoutMs(1000);
    if (client.Connect(0x7F000001, m_server.Port(), 1) != 1) return false;
    uint16_t command = DI::kCmdRestart;
    // The device goes down without answering: the result tells nothing.
    client.WriteMultipleRegisters(DI::kRegCommand, 1, &command, 500);
    client.Close();
    return true;
}

void CSimFaultControl::Clear() {
    m_server.SetFaults(SimFaults{});
}
