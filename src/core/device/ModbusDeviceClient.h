#pragma once

#include "device/DeviceClient.h"
#include "device/ModbusTCP.h"

// A device page's connection: the Modbus TCP client behind the interfaces the link and the
// command buttons use. The settings window borrows the client itself through Modbus().
class CModbusDeviceClient final : public IDeviceClient {
public:
    CModbusDeviceClient() = default;

    int Connect(uint32_t ipAddress, int port, int unitId) override { return m_modbus.Connect(ipAddress, port, unitId); }
    void Close() override { m_modbus.Close(); }
    bool IsConnected() const override { return m_modbus.IsConnected(); }
    int Identify() override { return m_modbus.Identify(); }
    void Interrupt() override { m_modbus.Interrupt(); }
    void ResetInterrupt() override { m_modbus.ResetInterrupt(); }
    int ReadHoldingRegisters(uint16_t first, uint16_t count, uint16_t* registers, int timeoutMs) override {
        return m_modbus.ReadHoldingRegisters(first, count, registers, timeoutMs);
    }
    int WriteMultipleRegisters(uint16_t first, uint16_t count, uint16_t* registers, int timeoutMs) override {
        return m_modbus.WriteMultipleRegisters(first, count, registers, timeoutMs);
    }

    CModbusTCP& Modbus() { return m_modbus; }

private:
    CModbusTCP m_modbus;
};
