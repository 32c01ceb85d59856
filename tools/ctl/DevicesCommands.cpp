// trv730ctl devices: the device list of the program's settings store.
#include "CtlCommand.h"
#include "settings/DeviceList.h"

namespace {
const char kDevicesUsage[] =
    "Usage:\n"
    "  trv730ctl devices list\n"
    "  trv730ctl devices add NAME ADDRESS[:PORT] [--unit N] [--password P]\n"
    "  trv730ctl devices set INDEX NAME ADDRESS[:PORT] [--unit N] [--password P]\n"
    "  trv730ctl devices remove INDEX\n"
    "\n"
    "Lists or changes the devices of the program's settings store\n"
    "($XDG_CONFIG_HOME/Tamsin-Grid/TRV-730/settings.bin, by default under ~/.config).\n"
    "ADDRESS is an IPv4 address; PORT defaults to 502, --unit to 0, --password to vexor\n"
    "(Latin letters and digits, at most 13). NAME is cut to 26 characters. 'set' replaces the\n"
    "device at INDEX (0..9), or appends one when INDEX is the number of devices. A store that\n"
    "cannot be read is started anew from the defaults. Do not change the list while the\n"
    "program runs: it writes its own list back.\n"
    "Exit status: 0 success, 1 the store could not be written, 2 wrong arguments.\n";

bool ParseDevice(const QStringList& args, qsizetype at, DeviceFields& f, CtlStreams& io) {
    if (args.size() < at + 2) {
        CtlError(io, QStringLiteral("a name and an address are needed"));
        return false;
    }
    f.Name = DeviceRules::CutName(args[at]);
    if (f.Name.isEmpty()) {
        CtlError(io, QStringLiteral("the name must not be empty"));
        return false;
    }
    QString address = args[at + 1];
    const qsizetype colon = address.indexOf(u':');
    if (colon >= 0) {
        if (!DeviceRules::ParseUnsigned(address.mid(colon + 1), f.Port) || f.Port == 0 || f.Port > 65535) {
            CtlError(io, QStringLiteral("'%1' is not a port").arg(address.mid(colon + 1)));
            return false;
        }
        address.truncate(colon);
    }
    if (!DeviceRules::ParseAddress(address, f.Address)) {
        CtlError(io, QStringLiteral("'%1' is not an IPv4 address").arg(address));
        return false;
    }
    for (qsizetype i = at + 2; i < args.size(); ++i) {
        const QString& opt = args[i];
        if (i + 1 >= args.size()) {
            CtlError(io, QStringLiteral("%1 needs a value").arg(opt));
            return false;
        }
        const QString value = args[++i];
        if (opt == u"--unit") {
            if (!DeviceRules::ParseUnsigned(value, f.UnitId)) {
                CtlError(io, QStringLiteral("'%1' is not a unit identifier").arg(value));
                return false;
            }
        } else if (opt == u"--password") {
            if (value.isEmpty() || DeviceRules::FilterPassword(value) != value) {
                CtlError(io, QStringLiteral("a password is 1 to 13 Latin letters and digits"));
                return false;
            }
            f.Password = value;
        } else {
            CtlError(io, QStringLiteral("unknown option '%1'").arg(opt));
            return false;
        }
    }
    return true;
}

bool ParseIndex(const QString& text, int limit, int& index, CtlStreams& io) {
    quint32 v = 0;
    if (!DeviceRules::ParseUnsigned(text, v) || int(v) > limit) {
        CtlError(io, QStringLiteral("'%1' is not a device index (0..%2)").arg(text).arg(limit));
        return false;
    }
    index = int(v);
    return true;
}

void Print(const CSettings& s, QTextStream& out) {
    for (int i = 0; i < s.DeviceCount(); ++i) {
        const DeviceRecord& r = s.Devices[i];
        out << i << '\t' << r.NameText() << '\t' << DeviceRules::AddressText(r.IpAddress) << ':' << r.Port
            << "\tunit " << r.UnitId << '\n';
    }
}

int Save(CSettings& s, CtlStreams& io) {
    if (s.Save()) return kExitOk;
    CtlError(io, QStringLiteral("cannot write %1").arg(CSettings::FilePath()));
    return kExitFailure;
}

int Run(const QStringList& args, CtlStreams& io) {
    if (args.isEmpty() || args[0] == u"--help" || args[0] == u"-h") {
        (args.isEmpty() ? io.err : io.out) << kDevicesUsage;
        return args.isEmpty() ? kExitUsage : kExitOk;
    }
    CSettings settings;
    const bool loaded = settings.Load();
    if (!loaded) settings.SetDefaults();
    const QString& verb = args[0];

    if (verb == u"list" && args.size() == 1) {
        if (!loaded) {
            CtlError(io, QStringLiteral("no readable settings store at %1").arg(CSettings::FilePath()));
            return kExitFailure;
        }
        Print(settings, io.out);
        return kExitOk;
    }
    if (verb == u"add") {
        DeviceFields f;
        if (!ParseDevice(args, 1, f, io)) return kExitUsage;
        int slot = -1;
        switch (DeviceList::Add(settings, f, slot)) {
            case DeviceList::Result::Refused: CtlError(io, QStringLiteral("the list already holds ten devices")); return kExitFailure;
            case DeviceList::Result::NotSaved: return Save(settings, io);
            case DeviceList::Result::Saved: Print(settings, io.out); return kExitOk;
        }
    }
    if (verb == u"set" && args.size() >= 2) {
        int index = 0;
        if (!ParseIndex(args[1], qMin(settings.DeviceCount(), CSettings::kDeviceCount - 1), index, io)) return kExitUsage;
        DeviceFields f;
        if (!ParseDevice(args, 2, f, io)) return kExitUsage;
        DeviceList::Edit(settings, index, f);
        const int status = Save(settings, io);
        if (status == kExitOk) Print(settings, io.out);
        return status;
    }
    if (verb == u"remove" && args.size() == 2) {
        int index = 0;
        if (!ParseIndex(args[1], settings.DeviceCount() - 1, index, io)) return kExitUsage;
        if (DeviceList::Remove(settings, index) == DeviceList::Result::Refused) {
            CtlError(io, QStringLiteral("the last device of the list stays"));
            return kExitFailure;
        }
        const int status = Save(settings, io);
        if (status == kExitOk) Print(settings, io.out);
        return status;
    }
    CtlError(io, QStringLiteral("unknown or incomplete devices command"));
    io.err << kDevicesUsage;
    return kExitUsage;
}
}  // namespace

extern const CtlCommandGroup kDevicesCommandGroup = {"devices", "list and change the program's device list", Run};
