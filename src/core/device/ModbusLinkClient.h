#pragma once

#include "device/DeviceClient.h"
#include "device/ModbusTCP.h"

// A Modbus TCP connection as a device link and the command buttons drive it.
class ModbusLinkClient : public IDeviceClient {
public:
    CModbusTCP& Modbus() { return m_modbus; }

    bool IsConnected() const override { return m_modbus.IsConnected(); }
    int ReadHoldingRegisters(uint16_t first, uint16_t count, uint16_t* registers, int timeoutMs) override {
        return m_modbus.ReadHoldingRegisters(first, count, registers, timeoutMs);
    }
    int WriteMultipleRegisters(uint16_t first, uint16_t count, uint16_t* registers, int timeoutMs) override {
        return m_modbus.WriteMultipleRegisters(first, count, registers, timeoutMs);
    }
    int Connect(uint32_t ipAddress, int port, int unitId) override { return m_modbus.Connect(ipAddress, port, unitId); }
    void Close() override { m_modbus.Close(); }
    int Identify() override { return m_modbus.Identify(); }

private:
    CModbusTCP m_modbus;
};
