#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>

// Modbus TCP master for one device connection: read holding registers (function 3)
// and write multiple registers (function 16). Any thread may call any operation; each
// whole request/response exchange runs under one lock, so the polling thread, command
// buttons and the settings window can share one instance.
//
// Request results: n >= 0 registers on success; -1 not connected, no buffer or a socket
// error; -2 no answer in time, connection closed by the device, short transfer or a
// frame that fails a check; -3 exception response, its code stored in registers[0].
class CModbusTCP {
  public:
    CModbusTCP();
    virtual ~CModbusTCP();
    CModbusTCP(const CModbusTCP&) = delete;
    CModbusTCP& operator=(const CModbusTCP&) = delete;

    // ipAddress has its first octet in the top byte. Only the low byte of unitId is sent.
    // Returns 1 when connected, 0 otherwise (no socket is left open then).
    int Connect(uint32_t ipAddress, int port, int unitId);
    void Close();
    bool IsConnected() const { return m_socket.load(std::memory_order_acquire) >= 0; }

    // 0: supported device and firmware; -1: not connected or no valid answer in five
    // tries; -2: wrong device type; -3: unsupported firmware.
    int Identify();

    int ReadHoldingRegisters(uint16_t firstAddress, uint16_t count, uint16_t* registers, int timeoutMs);
    int WriteMultipleRegisters(uint16_t firstAddress, uint16_t count, uint16_t* registers, int timeoutMs);

    // Cuts short, from any thread, a connect or an exchange in progress and every one that
    // follows, until ResetInterrupt(): they fail within milliseconds instead of waiting out
    // their time-outs (a connect returns 0, Identify -1, a request -2 as if unanswered).
    // The connection itself stays as it is; its owner closes it.
    void Interrupt();
    // Lets waits run their course again. Whoever interrupts for a reason (a stop, a
    // disconnect) resets before checking that reason, so no interrupt is lost in between.
    void ResetInterrupt();
    bool IsInterrupted() const { return m_interrupted.load(); }

    // The waits a device gets; the defaults are the device's real figures, tests shorten them.
    void SetConnectTimeoutMs(int ms) { m_connectTimeoutMs = ms; }
    void SetIdentifyTimeoutMs(int ms) { m_identifyTimeoutMs = ms; }

  private:
    // Largest frame a device may announce: a length field of up to 260 means at most
    // 259 bytes after the 7-byte header.
    static constexpr int kHeaderSize = 7;
    static constexpr int kMaxPduSize = 259;
    static constexpr int kBufferSize = 260;

    // Receives the response to the request with m_transactionId, skipping answers to
    // earlier requests. Fills m_pdu and m_pduLength; returns 0 or a failure code.
    int ReceiveResponse(int timeoutMs);
    int Exchange(int requestLength, int timeoutMs);
    // Transaction identifier, protocol 0, length, unit, function, first address and count.
    void PutRequestHeader(uint16_t length, uint8_t function, uint16_t firstAddress, uint16_t count);

    uint16_t m_transactionId = 0;
    uint16_t m_unitId = 0;
    std::mutex m_lock;
    std::atomic<int> m_socket{-1};
    // Readable while interrupted; every wait watches it beside the socket.
    int m_interruptFd = -1;
    std::atomic<bool> m_interrupted{false};
    int m_connectTimeoutMs;
    int m_identifyTimeoutMs;
    // Requests and responses are built here: no allocation per request.
    uint8_t m_request[kBufferSize];
    uint8_t m_header[kHeaderSize];
    uint8_t m_pdu[kBufferSize];
    int m_pduLength = 0;
};
