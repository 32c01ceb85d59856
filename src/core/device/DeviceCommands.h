#pragma once

#include <QString>
#include <QUrl>
#include <cstdint>

class IRegisterClient;
class RegisterImage;

enum class DeviceCommand { StartRecording, StopRecording, ResetErrors, Restart };

// What a command button reports: the message and caption keys, and whether the message is
// an information (success) or an error (failure).
struct CommandOutcome {
    bool success = false;
    int writeResult = -1;  // what the write returned; -1 too when nothing was sent
    bool sent = false;
    int exceptionCode = 0;  // the device's code when it refused the command (writeResult -3)
    int messageKey = -1;
    int captionKey = -1;
};

// The device commands of a device page. The page checks first that it is still among the
// main window's tabs; these run on the page's thread and wait for the client's lock.
namespace DeviceCommands {

uint16_t Code(DeviceCommand command);

// Writes the command's code into the command register. Start, stop and reset errors succeed
// when the device acknowledges one register. A restarting device drops the connection
// instead of answering, so a restart succeeds only when a request was actually sent and then
// ended with a socket error; with no connection nothing is sent and the restart fails.
CommandOutcome Run(IRegisterClient& client, DeviceCommand command);

// The device's FTP password: settings registers 2186..2198, one UTF-16 unit each, ended by 0.
QString FtpPassword(const RegisterImage& image);

// The address that opens the device's memory card: user ftp, the device's FTP password and
// port, and the host of the device record (not what the device reports). User and password
// are percent-encoded, so a password with '@', ':', '/' or non-ASCII letters still gives an
// address that means exactly that password.
QString MemoryCardAddress(const RegisterImage& image, uint32_t ipAddress);
// The same address parsed strictly, for the platform's URL opener (never a shell).
QUrl MemoryCardUrl(const RegisterImage& image, uint32_t ipAddress);

}  // namespace DeviceCommands
