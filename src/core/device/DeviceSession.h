#pragma once

#include <optional>

#include "settings/Settings.h"

class IDeviceClient;

// How far one attempt to open a device session got.
enum class SessionResult {
    Ok,
    NoRecord,             // the page is no longer among the device tabs
    ConnectFailed,        // refused, unreachable or silent
    NoAnswer,             // connected, but no valid answer to the identification or login
    WrongDeviceType,
    UnsupportedFirmware,
    LoginRejected,        // the password write was refused or not acknowledged
};

// Connects the client to the record's device, identifies it and logs in with the record's
// password (registers 51..63). Whatever fails, the client is left closed. exceptionCode,
// when given, receives the device's exception code of a refused login (0 otherwise).
SessionResult OpenDeviceSession(IDeviceClient& client, const std::optional<DeviceRecord>& record,
                                int* exceptionCode = nullptr);

// A short English description, for the command-line tool.
const char* SessionResultText(SessionResult result);
