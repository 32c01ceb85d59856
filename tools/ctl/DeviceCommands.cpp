// trv730ctl identify, live and command: talking to a device as the device page does.
#include <QJsonDocument>
#include <optional>

#include "CtlArgs.h"
#include "CtlCommand.h"
#include "CtlTarget.h"
#include "LiveFields.h"
#include "device/DeviceCommands.h"
#include "device/DeviceInterface.h"
#include "device/DeviceLink.h"
#include "device/DevicePoster.h"
#include "device/DeviceSession.h"
#include "device/LiveDecoder.h"
#include "device/LiveFormat.h"
#include "device/ModbusDeviceClient.h"
#include "settings/Settings.h"

namespace DI = DeviceInterface;

namespace {

QString FirmwareOf(uint16_t version) { return LiveFormat::FirmwareText(version); }

QString WriteResultText(int result, int exceptionCode) {
    switch (result) {
        case -1: return QStringLiteral("not connected, or the connection broke");
        case -2: return QStringLiteral("no answer in time");
        case -3: return QStringLiteral("the device refused it with exception code %1").arg(exceptionCode);
        default: return QStringLiteral("the device acknowledged %1 registers instead of 1").arg(result);
    }
}

int Identify(const QStringList& args, CtlStreams& io) {
    QTextStream& out = io.out;
    QTextStream& err = io.err;
    CtlArgs a;
    QString error;
    if (!a.Parse(args, kDeviceOptions, {}, &error) || a.positional.size() != 1) {
        err << "trv730ctl identify: " << (error.isEmpty() ? QStringLiteral("give exactly one device address") : error)
            << '\n';
        return kExitUsage;
    }
    const std::optional<Target> t = ParseTarget(a, err);
    if (!t) return kExitUsage;

    CModbusDeviceClient client;
    if (client.Connect(t->record.IpAddress, t->record.Port, t->record.UnitId) != 1) {
        err << "trv730ctl: cannot connect to " << t->where << ": connection refused or no answer within "
            << DI::kConnectTimeoutMs / 1000 << " s\n";
        return kExitFailure;
    }
    const int identity = client.Identify();
    uint16_t regs[2] = {};
    const bool haveIdentity = identity != -1 &&
                              client.ReadHoldingRegisters(DI::kRegDeviceType, 2, regs, DI::kRequestTimeoutMs) == 2;
    int status = kExitOk;
    switch (identity) {
        case 0:
            out << "TRV-730 at " << t->where << ", firmware " << FirmwareOf(regs[1]) << '\n';
            break;
        case -2:
            err << "trv730ctl: the device at " << t->where << " is not a TRV-730: device type "
                << (haveIdentity ? QString::number(regs[0]) : QStringLiteral("?")) << ", expected "
                << DI::kDeviceType << '\n';
            status = kExitFailure;
            break;
        case -3:
            err << "trv730ctl: the TRV-730 at " << t->where << " has firmware "
                << (haveIdentity ? FirmwareOf(regs[1]) : QStringLiteral("?"))
                << ", which is not supported (1.8 to 2.255 are)\n";
            status = kExitFailure;
            break;
        default:
            err << "trv730ctl: the device at " << t->where << " does not answer Modbus requests\n";
            status = kExitFailure;
            break;
    }
    if (status == kExitOk && a.values.contains(QStringLiteral("--password"))) {
        uint16_t login[DI::kLoginCount] = {};
        for (int i = 0; i < DI::kLoginCount; ++i) login[i] = uint16_t(t->record.Password[i]);
        const int written =
            client.WriteMultipleRegisters(DI::kRegLogin, DI::kLoginCount, login, DI::kRequestTimeoutMs);
        if (written == DI::kLoginCount) {
            out << "password accepted\n";
        } else {
            err << "trv730ctl: login failed: "
                << (written == -3 ? QStringLiteral("the device refused the password (exception code %1)").arg(login[0])
                                  : WriteResultText(written, 0))
                << '\n';
            status = kExitFailure;
        }
    }
    client.Close();
    return status;
}

// Collects nothing: a single poll needs no events, only the image.
class NoPoster : public IDevicePoster {
public:
    void Post(int, int, int64_t) override {}
};

int Live(const QStringList& args, CtlStreams& io) {
    QTextStream& out = io.out;
    QTextStream& err = io.err;
    CtlArgs a;
    QString error;
    if (!a.Parse(args, kDeviceOptions, {QStringLiteral("--json")}, &error) || a.positional.size() != 1) {
        err << "trv730ctl live: " << (error.isEmpty() ? QStringLiteral("give exactly one device address") : error)
            << '\n';
        return kExitUsage;
    }
    const std::optional<Target> t = ParseTarget(a, err);
    if (!t) return kExitUsage;

    CModbusDeviceClient client;
    NoPoster poster;
    const DeviceRecord record = t->record;
    DeviceLink link(client, poster, [record] { return std::optional<DeviceRecord>(record); });
    // Without a thread: one turn connects, identifies, logs in and polls once.
    link.Command(kDeviceCommandConnect);
    link.PollTurn();
    const LinkState state = link.State();
    client.Close();
    if (link.LastAttempt() != SessionResult::Ok) {
        err << "trv730ctl: " << t->where << ": " << SessionResultText(link.LastAttempt()) << '\n';
        return kExitFailure;
    }
    if (state != LinkState::Connected) {
        err << "trv730ctl: " << t->where << ": the device stopped answering while its registers were read\n";
        return kExitFailure;
    }
    const LiveView view = LiveDecoder::Decode(link.Image(), LinkState::Connected, 0);
    if (a.flags.contains(QStringLiteral("--json")))
        out << QJsonDocument(LiveFieldsJson(view)).toJson(QJsonDocument::Indented);
    else
        out << LiveFieldsText(view);
    return kExitOk;
}

struct NamedCommand {
    const char* name;
    DeviceCommand command;
    const char* done;
};
constexpr NamedCommand kNamedCommands[] = {
    {"start", DeviceCommand::StartRecording, "recording started"},
    {"stop", DeviceCommand::StopRecording, "recording stopped"},
    {"reset-errors", DeviceCommand::ResetErrors, "errors reset"},
    {"restart", DeviceCommand::Restart, "the device dropped the connection to restart"},
};

int Command(const QStringList& args, CtlStreams& io) {
    QTextStream& out = io.out;
    QTextStream& err = io.err;
    CtlArgs a;
    QString error;
    if (!a.Parse(args, kDeviceOptions, {}, &error) || a.positional.size() != 2) {
        err << "trv730ctl command: "
            << (error.isEmpty() ? QStringLiteral("give a device address and one of start, stop, reset-errors, restart")
                                : error)
            << '\n';
        return kExitUsage;
    }
    const NamedCommand* chosen = nullptr;
    for (const NamedCommand& c : kNamedCommands)
        if (a.positional[1] == QLatin1String(c.name)) chosen = &c;
    if (!chosen) {
        err << "trv730ctl command: unknown command '" << a.positional[1]
            << "' (start, stop, reset-errors or restart)\n";
        return kExitUsage;
    }
    const std::optional<Target> t = ParseTarget(a, err);
    if (!t) return kExitUsage;

    CModbusDeviceClient client;
    const SessionResult session = OpenDeviceSession(client, t->record);
    if (session != SessionResult::Ok) {
        err << "trv730ctl: " << t->where << ": " << SessionResultText(session) << '\n';
        return kExitFailure;
    }
    const CommandOutcome outcome = DeviceCommands::Run(client, chosen->command);
    client.Close();
    if (outcome.success) {
        out << chosen->done << '\n';
        return kExitOk;
    }
    err << "trv730ctl: " << chosen->name << " failed: "
        << (chosen->command == DeviceCommand::Restart && outcome.writeResult == 1
                ? QStringLiteral("the device answered instead of restarting")
                : WriteResultText(outcome.writeResult, outcome.exceptionCode))
        << '\n';
    return kExitFailure;
}

// Every group answers --help with its usage.
int WithHelp(const QStringList& args, CtlStreams& io, const char* usage, int (*run)(const QStringList&, CtlStreams&)) {
    if (args.contains(QStringLiteral("--help"))) {
        io.out << usage;
        return kExitOk;
    }
    return run(args, io);
}

const char kIdentifyUsage[] =
    "Usage: trv730ctl identify HOST[:PORT] [--unit N] [--password P]\n"
    "  Connects to a device and shows its type and firmware; with --password also logs in.\n"
    "  HOST is an IPv4 address; PORT defaults to 502 and N to 1.\n"
    "Exit status: 0 a supported device (and the password accepted), 1 the device refused\n"
    "the connection, stayed silent, is no TRV-730, has an unsupported firmware or refused\n"
    "the password, 2 wrong arguments.\n";
const char kLiveUsage[] =
    "Usage: trv730ctl live HOST[:PORT] [--unit N] [--password P] [--json]\n"
    "  (--password defaults to the factory password vexor; --password '' for none)\n"
    "  Logs in as the device page does, polls the device once and prints every live value\n"
    "  the page shows, one per line, with its unit. --json prints them as an object with\n"
    "  the unit's language key, and the 114 raw live-graph items as [key, value] pairs.\n"
    "Exit status: 0 printed, 1 the device could not be reached, identified, logged in to\n"
    "or read, 2 wrong arguments.\n";
const char kCommandUsage[] =
    "Usage: trv730ctl command HOST[:PORT] start|stop|reset-errors|restart [--unit N] [--password P]\n"
    "  Logs in and sends one device command: start or stop recording, reset the device's\n"
    "  errors, restart it. A restart succeeds when the device drops the connection.\n"
    "Exit status: 0 done, 1 not reachable, refused or not acknowledged, 2 wrong arguments.\n";

}  // namespace

extern const CtlCommandGroup kIdentifyCommandGroup = {
    "identify", "show a device's type and firmware, optionally log in",
    [](const QStringList& args, CtlStreams& io) { return WithHelp(args, io, kIdentifyUsage, Identify); }};
extern const CtlCommandGroup kLiveCommandGroup = {
    "live", "poll a device once and print its live values",
    [](const QStringList& args, CtlStreams& io) { return WithHelp(args, io, kLiveUsage, Live); }};
extern const CtlCommandGroup kDeviceCommandGroup = {
    "command", "start or stop recording, reset errors or restart a device",
    [](const QStringList& args, CtlStreams& io) { return WithHelp(args, io, kCommandUsage, Command); }};
