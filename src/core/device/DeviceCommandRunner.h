#pragma once

#include <QObject>
#include <atomic>
#include <functional>
#include <memory>
#include <thread>

#include "device/DeviceCommands.h"

class IRegisterClient;

// Runs one device command at a time off the caller's thread: the exchange waits for the
// client's lock and for the device, which can take seconds on a stalled device, and the
// window that asked must keep painting meanwhile. The outcome is handed back on the thread
// that created the runner, through its event loop.
//
// The owner keeps the client alive longer than the runner, and interrupts the client
// before it waits for a command (Wait(), the destructor), so neither waits for the device.
class DeviceCommandRunner {
public:
    using Done = std::function<void(const CommandOutcome&)>;

    DeviceCommandRunner(IRegisterClient& client, Done done);
    ~DeviceCommandRunner();  // waits for a command under way; its outcome is dropped
    DeviceCommandRunner(const DeviceCommandRunner&) = delete;
    DeviceCommandRunner& operator=(const DeviceCommandRunner&) = delete;

    // False when a command is under way already or no thread can be started.
    bool Start(DeviceCommand command);
    bool Busy() const { return m_busy; }
    // Waits for a command under way and drops its outcome.
    void Wait();

private:
    void Finish(const CommandOutcome& outcome);

    IRegisterClient& m_client;
    Done m_done;
    bool m_busy = false;  // owner's thread only
    std::thread m_thread;
    // Where the outcome is delivered; with it go outcomes still queued when the runner ends.
    std::unique_ptr<QObject> m_receiver;
};
