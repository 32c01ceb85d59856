#include "devsettings/SettingsTransfer.h"

#include "device/DeviceInterface.h"
#include "device/LinkClock.h"
#include "device/RegisterClient.h"
#include "devsettings/LocalClock.h"
#include "devsettings/ParameterTable.h"
#include "devsettings/RegisterCodec.h"

namespace DI = DeviceInterface;

namespace {

// A local clock that never passes a second boundary must not hold the window forever.
constexpr int kMaxBoundaryWaitMs = 2000;

int Percent(size_t i, size_t n) {
    return int((i + 1) * 100 / n);
}

void Progress(const TransferCallbacks& c, int percent) {
    if (c.progress)
        c.progress(percent);
}

// Runs attempt until it returns count: five tries, then the question, and so on.
template <typename Attempt>
bool Transfer(Attempt attempt, int count, const std::function<bool(int, int)>& retry, int address,
              TransferResult& result, uint16_t* words) {
    for (;;) {
        for (int t = 0; t < SettingsTransfer::kTries; ++t) {
            ++result.requests;
            const int r = attempt();
            if (r == count)
                return true;
            result.lastResult = r;
            result.exceptionCode = r == -3 ? words[0] : 0;
        }
        if (!retry || !retry(address, count))
            return false;
    }
}

}  // namespace

bool IsDeviceOperationPossible(const DeviceAccess& access) {
    return access.client != nullptr && access.state == LinkState::Connected && access.tabIndex >= 0;
}

namespace SettingsTransfer {

// Every row in grid order, one request each with its tries, progress per group. Stops at
// the first row whose exchange fails for good, with its address and count in result.
// exchange(row, binding, words) makes one try; afterRow(row, words) takes a row that went.
template <class Exchange, class AfterRow>
bool EachRow(CParameterTable& table, const TransferCallbacks& callbacks,
             const std::function<bool(int, int)>& retry, TransferResult& result, Exchange exchange,
             AfterRow afterRow) {
    const auto& groups = table.Groups();
    for (size_t i = 0; i < groups.size(); ++i) {
        Progress(callbacks, Percent(i, groups.size()));
        for (const auto& row : groups[i].rows) {
            const RegisterBinding& b = row->Binding();
            if (b.count < 1 || b.count > RegisterCodec::kMaxWords) {
                result.failedAddress = b.address;
                return false;
            }
            uint16_t words[RegisterCodec::kMaxWords] = {};
            const auto attempt = [&] { return exchange(*row, b, words); };
            if (!Transfer(attempt, b.count, retry, b.address, result, words)) {
                result.failedAddress = b.address;
                result.failedCount = b.count;
                return false;
            }
            afterRow(*row, words);
        }
    }
    return true;
}

TransferResult ReadAll(CParameterTable& table, const DeviceAccess& access,
                       const TransferCallbacks& callbacks) {
    TransferResult result;
    if (!IsDeviceOperationPossible(access)) {
        result.notPossible = true;
        return result;
    }
    const auto read = [&](CMyProperty&, const RegisterBinding& b, uint16_t* words) {
        return access.client->ReadHoldingRegisters(uint16_t(b.address), uint16_t(b.count), words,
                                                   DI::kRequestTimeoutMs);
    };
    const auto decode = [](CMyProperty& row, const uint16_t* words) { RegisterCodec::Decode(row, words); };
    result.ok = EachRow(table, callbacks, callbacks.retryRead, result, read, decode);
    return result;
}

TransferResult WriteAll(CParameterTable& table, const DeviceAccess& access,
                        const TransferCallbacks& callbacks) {
    TransferResult result;
    if (!IsDeviceOperationPossible(access)) {
        result.notPossible = true;
        return result;
    }
    // The client may leave an exception code in the buffer: encode before every try.
    const auto write = [&](CMyProperty& row, const RegisterBinding& b, uint16_t* words) {
        RegisterCodec::Encode(row, words);
        return access.client->WriteMultipleRegisters(uint16_t(b.address), uint16_t(b.count), words,
                                                     DI::kRequestTimeoutMs);
    };
    const auto accept = [](CMyProperty& row, const uint16_t*) { row.AcceptValue(); };
    if (!EachRow(table, callbacks, callbacks.retryWrite, result, write, accept))
        return result;
    uint16_t apply = DI::kCmdApplySettings;
    ++result.requests;
    result.lastResult =
        access.client->WriteMultipleRegisters(DI::kRegCommand, 1, &apply, DI::kRequestTimeoutMs);
    result.applyFailed = result.lastResult <= 0;
    result.exceptionCode = result.lastResult == -3 ? apply : 0;
    result.ok = !result.applyFailed;
    return result;
}

uint32_t DeviceSecondsOf(const QDateTime& localTime) {
    const QDate epoch(1980, 1, 1);
    const QDate d = localTime.date();
    const QTime t = localTime.time();
    const int64_t seconds =
        (d.toJulianDay() - epoch.toJulianDay()) * 86400 + t.hour() * 3600 + t.minute() * 60 + t.second();
    if (seconds < 0)
        return 0;
    return seconds > int64_t(UINT32_MAX) ? UINT32_MAX : uint32_t(seconds);
}

ClockResult SynchroniseClock(const DeviceAccess& access, ILocalClock& localClock, ILinkClock& linkClock,
                             const TransferCallbacks& callbacks) {
    ClockResult result;
    if (!IsDeviceOperationPossible(access)) {
        result.notPossible = true;
        return result;
    }
    for (int tries = kTries;;) {
        const QDateTime first = localClock.LocalNow();
        QDateTime now = first;
        for (int waited = 0; waited < kMaxBoundaryWaitMs && now.time().second() == first.time().second();
             ++waited) {
            linkClock.SleepMs(1);
            now = localClock.LocalNow();
        }
        result.localTime = now;
        const uint32_t seconds = DeviceSecondsOf(now);
        result.deviceTime = seconds == UINT32_MAX ? seconds : seconds + 1;
        uint16_t words[2] = {uint16_t(result.deviceTime >> 16), uint16_t(result.deviceTime & 0xFFFF)};
        result.lastResult =
            access.client->WriteMultipleRegisters(DI::kRegClock, 2, words, DI::kRequestTimeoutMs);
        if (result.lastResult > 0) {
            result.ok = true;
            return result;
        }
        if (--tries > 0)
            continue;
        if (!callbacks.retryClock || !callbacks.retryClock())
            return result;
        tries = kTries;
    }
}

}  // namespace SettingsTransfer
