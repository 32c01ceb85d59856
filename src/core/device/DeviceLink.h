#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>

#include "device/DeviceSession.h"
#include "device/LinkClock.h"
#include "device/LinkState.h"
#include "device/RegisterImage.h"
#include "settings/Settings.h"

class IDeviceClient;
class IDevicePoster;

// The link of one device page to its device: a polling thread that connects, identifies
// the device, logs in and then copies the status, measure and settings blocks into the
// register image twice a second, reconnecting on its own when reads keep failing.
//
// The page owns the link and the client, and keeps the client alive longer than the link.
// The page writes connect and disconnect requests into the state word; the thread moves
// the state on only with compare-exchange steps, so a request the page writes meanwhile is
// never overwritten. The thread reports only by posting (UM_DEVICE_DATA).
class DeviceLink {
public:
    // Called on the polling thread at every connection attempt: the page's device record,
    // or none when the page is no longer among the device tabs. It must not wait for the
    // page's thread.
    using RecordLookup = std::function<std::optional<DeviceRecord>()>;

    static constexpr uint32_t kCyclePeriodMs = 500;
    static constexpr uint32_t kSlowCyclePauseMs = 10;
    static constexpr uint32_t kWaitSliceMs = 50;
    static constexpr uint32_t kIdlePauseMs = 100;
    static constexpr uint32_t kRetryPauseMs = 10;
    static constexpr int kReadAttempts = 4;
    static constexpr uint32_t kRateIntervalMs = 1000;

    DeviceLink(IDeviceClient& client, IDevicePoster& poster, RecordLookup lookup,
               ILinkClock& clock = SystemLinkClock());
    ~DeviceLink();  // stops the thread and waits for it
    DeviceLink(const DeviceLink&) = delete;
    DeviceLink& operator=(const DeviceLink&) = delete;

    // Starts the polling thread once; false when it cannot be created (the page then lives
    // on without a link).
    bool Start();
    bool IsRunning() const { return m_pollThread.joinable(); }

    // UM_DEVICE_COMMAND: 1 disconnect, 2 connect (posting UM_GRAPH_STATE 3 or 2), 3 stop.
    void Command(int command);
    // Ends the polling thread and waits for it; pump, when given, runs every few
    // milliseconds meanwhile so the page's thread keeps dispatching its events. The thread
    // never outlives this call.
    void Stop(const std::function<void()>& pump = {});

    LinkState State() const { return LinkState(m_linkState.load()); }
    SessionResult LastAttempt() const { return m_lastAttempt.load(); }
    RegisterImage& Image() { return m_image; }
    const RegisterImage& Image() const { return m_image; }
    IDeviceClient& Client() { return m_client; }

    // One turn of the polling loop. The thread runs turns until it is stopped; a caller
    // without a thread (tests, the command-line tool) may run them itself, but never while
    // the thread runs.
    void PollTurn();

private:
    void Disconnect();
    void Connect();
    void PollCycle();
    bool ReadChunk(uint16_t first, uint16_t count, bool* skipped);
    // Moves the state to target only while it still holds one of the expected values.
    bool MoveState(std::initializer_list<LinkState> expected, LinkState target);
    void ThreadMain();
    // The loop's pauses. On the machine's clock a pause ends early when the page asks for
    // something (a stop above all, so that stopping ten idle links does not add up their
    // pauses); a test's clock just moves on.
    void Pause(uint32_t ms);
    void Wake();

    IDeviceClient& m_client;
    IDevicePoster& m_poster;
    RecordLookup m_lookup;
    ILinkClock& m_clock;

    RegisterImage m_image;
    std::atomic<int> m_linkState{int(LinkState::Disconnected)};
    std::atomic<int> m_stopRequested{0};
    std::atomic<SessionResult> m_lastAttempt{SessionResult::Ok};

    // Owned by the loop (the polling thread while it runs).
    uint32_t m_waitLeft = 0;
    uint32_t m_readCount = 0;
    uint32_t m_rateStart = 0;
    uint32_t m_exchangeRate = 0;

    std::mutex m_wakeLock;
    std::condition_variable m_wakeSignal;
    bool m_woken = false;

    std::thread m_pollThread;
    std::mutex m_doneLock;
    std::condition_variable m_doneSignal;
    bool m_done = false;
};
