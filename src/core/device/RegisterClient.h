#pragma once

#include <cstdint>

// The two register operations of a device connection, as the command buttons and the
// settings window use them. Results: n >= 0 registers on success; -1 not connected or a
// socket error; -2 no answer in time or a broken frame; -3 an exception response, its
// code stored in registers[0].
class IRegisterClient {
public:
    virtual ~IRegisterClient() = default;

    virtual bool IsConnected() const = 0;
    virtual int ReadHoldingRegisters(uint16_t firstAddress, uint16_t count, uint16_t* registers, int timeoutMs) = 0;
    virtual int WriteMultipleRegisters(uint16_t firstAddress, uint16_t count, uint16_t* registers,
                                       int timeoutMs) = 0;
};
