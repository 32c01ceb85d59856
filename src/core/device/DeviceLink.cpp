#include "device/DeviceLink.h"

#include <algorithm>
#include <system_error>

#include "common/Check.h"
#include "device/DeviceClient.h"
#include "device/DeviceInterface.h"
#include "device/DevicePoster.h"

namespace DI = DeviceInterface;

namespace {
struct Block {
    uint16_t first;
    uint16_t count;
};
constexpr Block kBlocks[] = {
    {DI::kStatusFirst, DI::kStatusCount},
    {DI::kMeasureFirst, DI::kMeasureCount},
    {DI::kSettingsFirst, DI::kSettingsCount},
};
}  // namespace

DeviceLink::DeviceLink(IDeviceClient& client, IDevicePoster& poster, RecordLookup lookup, ILinkClock& clock)
    : m_client(client), m_poster(poster), m_lookup(std::move(lookup)), m_clock(clock) {}

DeviceLink::~DeviceLink() { Stop(); }

bool DeviceLink::Start() {
    if (m_pollThread.joinable()) return true;
    {
        std::lock_guard<std::mutex> guard(m_doneLock);
        m_done = false;
    }
    try {
        m_pollThread = std::thread(&DeviceLink::ThreadMain, this);
    } catch (const std::system_error&) {
        return false;
    }
    return true;
}

void DeviceLink::Command(int command) {
    switch (command) {
        case kDeviceCommandDisconnect:
            m_linkState.store(int(LinkState::Disconnecting));
            // Posted before the thread is woken, so the graph hears of the disconnect
            // before the page's blanking that the thread posts.
            m_poster.Post(UM_GRAPH_STATE, kGraphStateDisconnect, 0);
            // A connect or an exchange under way would otherwise hold the disconnect for
            // as long as a silent device lets it wait.
            m_client.Interrupt();
            Wake();
            break;
        case kDeviceCommandConnect:
            m_linkState.store(int(LinkState::Connecting));
            m_poster.Post(UM_GRAPH_STATE, kGraphStateConnect, 0);
            Wake();
            break;
        case kDeviceCommandStop:
            Stop();
            break;
        default:
            break;
    }
}

void DeviceLink::Stop(const std::function<void()>& pump) {
    if (!m_pollThread.joinable()) return;
    if (m_pollThread.get_id() == std::this_thread::get_id()) {
        TRV730_PROGRAMMING_ERROR("the polling thread cannot stop itself");
        return;
    }
    m_stopRequested.store(1);
    m_client.Interrupt();
    Wake();
    if (pump) {
        std::unique_lock<std::mutex> lock(m_doneLock);
        while (!m_done) {
            lock.unlock();
            pump();
            lock.lock();
            m_doneSignal.wait_for(lock, std::chrono::milliseconds(10), [this] { return m_done; });
        }
    }
    // join() only fails for a thread that is not joinable or is this one, both ruled out.
    m_pollThread.join();
    m_stopRequested.store(0);
}

void DeviceLink::ThreadMain() {
    while (m_stopRequested.load() == 0) PollTurn();
    if (m_client.IsConnected()) m_client.Close();
    m_linkState.store(int(LinkState::Disconnected));
    {
        std::lock_guard<std::mutex> guard(m_doneLock);
        m_done = true;
    }
    m_doneSignal.notify_all();
}

void DeviceLink::Wake() {
    {
        std::lock_guard<std::mutex> guard(m_wakeLock);
        m_woken = true;
    }
    m_wakeSignal.notify_all();
}

void DeviceLink::Pause(uint32_t ms) {
    if (&m_clock != &SystemLinkClock()) {
        m_clock.SleepMs(ms);
        return;
    }
    std::unique_lock<std::mutex> lock(m_wakeLock);
    m_wakeSignal.wait_for(lock, std::chrono::milliseconds(ms), [this] { return m_woken; });
    m_woken = false;
}

bool DeviceLink::MoveState(std::initializer_list<LinkState> expected, LinkState target) {
    int current = m_linkState.load();
    for (;;) {
        if (std::find(expected.begin(), expected.end(), LinkState(current)) == expected.end()) return false;
        if (m_linkState.compare_exchange_weak(current, int(target))) return true;
    }
}

void DeviceLink::PollTurn() {
    if (State() == LinkState::Disconnecting) Disconnect();
    const LinkState asked = State();
    if (asked == LinkState::Connecting || asked == LinkState::Reconnecting) Connect();
    if (State() != LinkState::Connected) {
        // An attempt cut short by a stop ends the thread at once.
        if (m_stopRequested.load() == 0) Pause(kIdlePauseMs);
        return;
    }
    if (m_waitLeft > 0) {
        const uint32_t slice = std::min(m_waitLeft, kWaitSliceMs);
        Pause(slice);
        m_waitLeft -= slice;
        return;
    }
    PollCycle();
}

void DeviceLink::Disconnect() {
    if (m_client.IsConnected()) m_client.Close();
    // A connect the page asked for meanwhile stays asked for.
    MoveState({LinkState::Disconnecting}, LinkState::Disconnected);
    m_image.Clear();
    m_poster.Post(UM_DEVICE_DATA, 0, 0);
    m_waitLeft = 0;
    m_exchangeRate = 0;
}

void DeviceLink::Connect() {
    // The interrupt is cleared before the reasons for one are looked at: a stop or a
    // disconnect asked for from here on cuts this attempt short.
    m_client.ResetInterrupt();
    const LinkState asked = State();
    if (m_stopRequested.load() != 0 || (asked != LinkState::Connecting && asked != LinkState::Reconnecting)) return;
    if (m_client.IsConnected()) m_client.Close();
    const std::optional<DeviceRecord> record = m_lookup ? m_lookup() : std::nullopt;
    const SessionResult result = OpenDeviceSession(m_client, record);
    m_lastAttempt.store(result);
    MoveState({LinkState::Connecting, LinkState::Reconnecting},
              result == SessionResult::Ok ? LinkState::Connected : LinkState::Reconnecting);
    m_waitLeft = 0;
    m_exchangeRate = 0;
    m_readCount = 0;
    m_rateStart = m_clock.NowMs();
}

bool DeviceLink::ReadChunk(uint16_t first, uint16_t count, bool* skipped) {
    uint16_t regs[DI::kPollChunk];
    for (int attempt = 0; attempt < kReadAttempts; ++attempt) {
        if (State() != LinkState::Connected || m_stopRequested.load() != 0) {
            *skipped = true;
            return true;
        }
        if (attempt > 0) m_clock.SleepMs(kRetryPauseMs);
        if (m_client.ReadHoldingRegisters(first, count, regs, DI::kRequestTimeoutMs) == count) {
            m_image.Write(first, count, regs);
            m_readCount += count;
            return true;
        }
    }
    return false;
}

void DeviceLink::PollCycle() {
    const uint32_t cycleStart = m_clock.NowMs();
    bool failed = false, skipped = false;
    for (const Block& block : kBlocks) {
        for (uint16_t done = 0; done < block.count && !failed && !skipped; done += DI::kPollChunk) {
            const uint16_t count = std::min<uint16_t>(DI::kPollChunk, block.count - done);
            failed = !ReadChunk(uint16_t(block.first + done), count, &skipped);
        }
    }
    // Four failed attempts mean a broken link, unless the page has asked for something else.
    if (failed) MoveState({LinkState::Connected}, LinkState::Reconnecting);

    const uint32_t now = m_clock.NowMs();
    const uint32_t sinceRate = now - m_rateStart;
    if (sinceRate >= kRateIntervalMs) {
        m_exchangeRate = uint32_t(uint64_t(m_readCount) * 1000u / sinceRate);
        m_readCount = 0;
        m_rateStart = now;
    }
    const uint32_t took = now - cycleStart;
    m_waitLeft = took < kCyclePeriodMs ? kCyclePeriodMs - took : kSlowCyclePauseMs;
    // A page that is stopping its link gets nothing more.
    if (m_stopRequested.load() == 0) m_poster.Post(UM_DEVICE_DATA, 1, m_exchangeRate);
}
