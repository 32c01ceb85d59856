#include "device/DeviceCommands.h"

#include "device/DeviceInterface.h"
#include "device/RegisterClient.h"
#include "device/RegisterImage.h"
#include "language/LanguageKeys.h"

namespace DI = DeviceInterface;

namespace DeviceCommands {
namespace {
struct CommandInfo {
    uint16_t code;
    int successKey;
    int failureKey;
};

CommandInfo Info(DeviceCommand command) {
    switch (command) {
        case DeviceCommand::StartRecording:
            return {DI::kCmdStartRecording, LNG_DEVICE_WRSTART_SUCCESS, LNG_DEVICE_WRSTART_ERROR};
        case DeviceCommand::StopRecording:
            return {DI::kCmdStopRecording, LNG_DEVICE_WRSTOP_SUCCESS, LNG_DEVICE_WRSTOP_ERROR};
        case DeviceCommand::ResetErrors:
            return {DI::kCmdResetErrors, LNG_DEVICE_RESETERR_SUCCESS, LNG_DEVICE_RESETERR_ERROR};
        case DeviceCommand::Restart:
            break;
    }
    return {DI::kCmdRestart, LNG_DEVICE_RESTART_SUCCESS, LNG_DEVICE_RESTART_ERROR};
}
}  // namespace

uint16_t Code(DeviceCommand command) { return Info(command).code; }

CommandOutcome Run(IRegisterClient& client, DeviceCommand command) {
    const CommandInfo info = Info(command);
    CommandOutcome out;
    if (client.IsConnected()) {
        uint16_t value = info.code;
        out.sent = true;
        out.writeResult = client.WriteMultipleRegisters(DI::kRegCommand, 1, &value, DI::kRequestTimeoutMs);
        if (out.writeResult == -3) out.exceptionCode = value;
        out.success = command == DeviceCommand::Restart ? out.writeResult == -1 : out.writeResult == 1;
    }
    out.messageKey = out.success ? info.successKey : info.failureKey;
    out.captionKey = out.success ? LNG_GLOB_SYSTEM : LNG_GLOB_ERROR;
    return out;
}

QString FtpPassword(const RegisterImage& image) {
    QString password;
    for (int i = 0; i < DI::kPasswordRegisters; ++i) {
        const uint16_t unit = image.Read16(DI::kRegFtpPassword + i);
        if (unit == 0) break;
        password += QChar(char16_t(unit));
    }
    return password;
}

QString MemoryCardAddress(const RegisterImage& image, uint32_t ipAddress) {
    const unsigned port = image.Read16(DI::kRegFtpPort);
    // Built by concatenation: the encoded password holds '%' signs that no template may see.
    const QString host = QString::asprintf("%u.%u.%u.%u:%u/", ipAddress >> 24, (ipAddress >> 16) & 0xFF,
                                           (ipAddress >> 8) & 0xFF, ipAddress & 0xFF, port);
    return QStringLiteral("ftp://ftp:") + QString::fromLatin1(QUrl::toPercentEncoding(FtpPassword(image))) +
           u'@' + host;
}

QUrl MemoryCardUrl(const RegisterImage& image, uint32_t ipAddress) {
    return QUrl(MemoryCardAddress(image, ipAddress), QUrl::StrictMode);
}

}  // namespace DeviceCommands
