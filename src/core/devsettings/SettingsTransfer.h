#pragma once

#include <QDateTime>
#include <cstdint>
#include <functional>

#include "device/LinkState.h"

class CParameterTable;
class IRegisterClient;
class ILinkClock;
class ILocalClock;

// The device a transfer may talk to: the device page's client and state. A page that is
// gone leaves client null; a page no longer among the main window's tabs has index -1.
struct DeviceAccess {
    IRegisterClient* client = nullptr;
    LinkState state = LinkState::Disconnected;
    int tabIndex = -1;
};

// Only a connected device of a page that is still shown may be read or written.
bool IsDeviceOperationPossible(const DeviceAccess& access);

// What the caller is asked during a transfer. Every member may be left empty: no progress
// shown, and a block that failed five times ends the transfer (as Cancel does).
struct TransferCallbacks {
    std::function<void(int percent)> progress;
    // A register block failed five times: true tries it five times more, false gives up.
    std::function<bool(int address, int count)> retryRead;
    std::function<bool(int address, int count)> retryWrite;
    // The clock write failed five times.
    std::function<bool()> retryClock;
};

struct TransferResult {
    bool ok = false;
    bool notPossible = false;  // no usable device: nothing was sent
    int failedAddress = -1;    // the block given up on, with its register count
    int failedCount = 0;
    int lastResult = 0;        // the client's last result for that block
    int exceptionCode = 0;     // the device's exception code when it refused the block
    bool applyFailed = false;  // every row went, but the apply command was not acknowledged
    int requests = 0;
};

struct ClockResult {
    bool ok = false;
    bool notPossible = false;
    QDateTime localTime;      // the local time the device was set from
    uint32_t deviceTime = 0;  // what was written: seconds since 1980-01-01 00:00:00, plus 1
    int lastResult = 0;
};

namespace SettingsTransfer {

inline constexpr int kTries = 5;

// Reads every row, one request per row in grid order, and gives each value to the row's
// SetValue, so rows differing from their baselines get marked.
TransferResult ReadAll(CParameterTable& table, const DeviceAccess& access,
                       const TransferCallbacks& callbacks = {});

// Writes every row, one request per row in grid order, then the apply command to the
// command register. A row is accepted (its baseline becomes the written value) once the
// device acknowledged it; a row given up on keeps its mark.
TransferResult WriteAll(CParameterTable& table, const DeviceAccess& access,
                        const TransferCallbacks& callbacks = {});

// Device time of a local calendar time: whole seconds since 1980-01-01 00:00:00 of the
// same calendar (0 before it).
uint32_t DeviceSecondsOf(const QDateTime& localTime);

// Waits for the next second boundary of the local clock, then writes that time plus one
// second to the clock registers; five tries, then the question. The wait is bounded, so
// a local clock that stands still cannot hang it.
ClockResult SynchroniseClock(const DeviceAccess& access, ILocalClock& localClock, ILinkClock& linkClock,
                             const TransferCallbacks& callbacks = {});

}  // namespace SettingsTransfer
