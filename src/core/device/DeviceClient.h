#pragma once

#include <cstdint>

#include "device/RegisterClient.h"

// A whole device connection as the polling thread drives it. Every operation may be called
// from any thread; each request/response exchange is serialised by the implementation.
class IDeviceClient : public IRegisterClient {
public:
    // ipAddress has its first octet in the top byte. 1 when connected, 0 otherwise.
    virtual int Connect(uint32_t ipAddress, int port, int unitId) = 0;
    virtual void Close() = 0;
    // 0 supported device; -1 no valid answer; -2 wrong device type; -3 unsupported firmware.
    virtual int Identify() = 0;
    // Cuts every wait short, now and until ResetInterrupt(), so a stop or a disconnect never
    // waits for a silent device; see CModbusTCP. A client without waits ignores both.
    virtual void Interrupt() {}
    virtual void ResetInterrupt() {}
};
