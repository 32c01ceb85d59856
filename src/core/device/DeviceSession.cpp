#include "device/DeviceSession.h"

#include "device/DeviceClient.h"
#include "device/DeviceInterface.h"

namespace DI = DeviceInterface;

SessionResult OpenDeviceSession(IDeviceClient& client, const std::optional<DeviceRecord>& record,
                                int* exceptionCode) {
    if (exceptionCode) *exceptionCode = 0;
    if (client.IsConnected()) client.Close();
    if (!record) return SessionResult::NoRecord;
    if (client.Connect(record->IpAddress, record->Port, record->UnitId) != 1) {
        client.Close();
        return SessionResult::ConnectFailed;
    }
    SessionResult result = SessionResult::Ok;
    switch (client.Identify()) {
        case 0: break;
        case -2: result = SessionResult::WrongDeviceType; break;
        case -3: result = SessionResult::UnsupportedFirmware; break;
        default: result = SessionResult::NoAnswer; break;
    }
    if (result == SessionResult::Ok) {
        uint16_t login[DI::kLoginCount] = {};
        for (int i = 0; i < DI::kLoginCount && i < DeviceRecord::kPasswordUnits; ++i)
            login[i] = uint16_t(record->Password[i]);
        const int written = client.WriteMultipleRegisters(DI::kRegLogin, DI::kLoginCount, login, DI::kRequestTimeoutMs);
        if (written == -1 || written == -2) {
            result = SessionResult::NoAnswer;
        } else if (written != DI::kLoginCount) {
            result = SessionResult::LoginRejected;
            if (written == -3 && exceptionCode) *exceptionCode = login[0];
        }
    }
    if (result != SessionResult::Ok) client.Close();
    return result;
}

const char* SessionResultText(SessionResult result) {
    switch (result) {
        case SessionResult::Ok: return "connected";
        case SessionResult::NoRecord: return "no device record";
        case SessionResult::ConnectFailed: return "connection refused or no answer";
        case SessionResult::NoAnswer: return "the device does not answer";
        case SessionResult::WrongDeviceType: return "not a TRV-730 (wrong device type)";
        case SessionResult::UnsupportedFirmware: return "unsupported firmware version";
        case SessionResult::LoginRejected: return "the device refused the password";
    }
    return "unknown";
}
