// trv730ctl settings and clock: a device's settings block as the settings window sees it,
// kept in .trv730 files.
#include <unistd.h>

#include <QDateTime>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <memory>
#include <optional>

#include "CtlArgs.h"
#include "CtlCommand.h"
#include "CtlTarget.h"
#include "device/DeviceInterface.h"
#include "device/DeviceSession.h"
#include "device/LinkClock.h"
#include "device/ModbusDeviceClient.h"
#include "devsettings/LocalClock.h"
#include "devsettings/MyPropertyPasswASCII.h"
#include "devsettings/ParameterTable.h"
#include "devsettings/RegisterCodec.h"
#include "devsettings/SettingsFile.h"
#include "devsettings/SettingsTransfer.h"

namespace {

const QString kYes = QStringLiteral("--yes");
const QString kJson = QStringLiteral("--json");
const QString kOutput = QStringLiteral("--output");

bool IsSettingsFilePath(const QString& text) {
    return text.endsWith(QLatin1String(".trv730"), Qt::CaseInsensitive);
}

// A connected, identified and logged-in device.
class DeviceConnection {
  public:
    bool Open(const Target& target, QTextStream& err) {
        m_where = target.where;
        int exceptionCode = 0;
        const SessionResult r = OpenDeviceSession(m_client, target.record, &exceptionCode);
        if (r != SessionResult::Ok) {
            err << "trv730ctl: " << m_where << ": " << SessionResultText(r) << '\n';
            return false;
        }
        return true;
    }
    ~DeviceConnection() { m_client.Close(); }
    DeviceAccess Access() { return {&m_client, LinkState::Connected, 0}; }
    const QString& Where() const { return m_where; }

  private:
    CModbusDeviceClient m_client;
    QString m_where;
};

QString ResultText(int result, int exceptionCode) {
    switch (result) {
        case -1:
            return QStringLiteral("the connection broke");
        case -2:
            return QStringLiteral("no answer in time");
        case -3:
            return QStringLiteral("the device refused it with exception code %1").arg(exceptionCode);
        default:
            return QStringLiteral("the device answered for %1 registers").arg(result);
    }
}

bool ReadDevice(DeviceConnection& device, CParameterTable& table, QTextStream& err) {
    const TransferResult r = SettingsTransfer::ReadAll(table, device.Access());
    if (r.ok)
        return true;
    err << "trv730ctl: " << device.Where() << ": reading registers " << r.failedAddress << ':'
        << r.failedCount << " failed " << SettingsTransfer::kTries
        << " times: " << ResultText(r.lastResult, r.exceptionCode) << '\n';
    return false;
}

// A file loaded as the settings window loads it, but refused when it is no settings file
// or lacks a row: a command line must not quietly turn gaps into defaults.
bool LoadFile(const QString& path, CParameterTable& table, QTextStream& err) {
    SettingsLoadReport report;
    QString error;
    if (!SettingsFile::Load(table, path, &report, &error)) {
        err << "trv730ctl: cannot read " << path << ": " << error << '\n';
        return false;
    }
    if (!report.hasSettings) {
        err << "trv730ctl: " << path << " is not a settings file (it has no [Settings] section)\n";
        return false;
    }
    for (const QString& key : report.missingKeys) {
        // An empty password is written as an empty value, which reads like a missing key.
        if (key.startsWith(QStringLiteral("%1:").arg(int(EK_PASSWASCII))))
            continue;
        err << "trv730ctl: " << path << " lacks the key " << key << '\n';
        return false;
    }
    if (!report.unreadableKeys.isEmpty()) {
        err << "trv730ctl: " << path << ": the value of " << report.unreadableKeys.first()
            << " cannot be read\n";
        return false;
    }
    return true;
}

// A table filled from a file or from a device, as the argument names one.
struct Side {
    CParameterTable table;
    QString label;
};

bool LoadSide(const QString& what, const CtlArgs& a, Side& side, QTextStream& err) {
    side.table.BuildParameterTable();
    side.label = what;
    if (IsSettingsFilePath(what))
        return LoadFile(what, side.table, err);
    const std::optional<Target> t = ParseTarget(what, a, err);
    if (!t)
        return false;
    DeviceConnection device;
    return device.Open(*t, err) && ReadDevice(device, side.table, err);
}

// The row's value as the grid shows it.
QString Shown(const CMyProperty& row) {
    return row.FormatValue();
}

bool SameValue(const CMyProperty& a, const CMyProperty& b) {
    if (a.Kind() == EK_PASSWASCII)
        return CMyPropertyPasswASCII::VisibleText(a.Text()) == CMyPropertyPasswASCII::VisibleText(b.Text());
    return a.Value() == b.Value();
}

bool SaveOrComplain(CParameterTable& table, const QString& path, QTextStream& err) {
    QString error;
    if (SettingsFile::Save(table, path, QDateTime::currentDateTime(), &error))
        return true;
    err << "trv730ctl: cannot write " << path << ": " << error << '\n';
    return false;
}

bool OutputPath(const CtlArgs& a, QString* path, QTextStream& err) {
    *path = a.values.value(kOutput);
    if (path->isEmpty() || !IsSettingsFilePath(*path)) {
        err << "trv730ctl settings: give the output file with -o FILE.trv730\n";
        return false;
    }
    return true;
}

int Defaults(const CtlArgs& a, CtlStreams& io) {
    QString path;
    if (!a.positional.isEmpty()) {
        io.err << "trv730ctl settings defaults: takes no device or file, only -o FILE.trv730\n";
        return kExitUsage;
    }
    if (!OutputPath(a, &path, io.err))
        return kExitUsage;
    CParameterTable table;
    table.BuildParameterTable();
    return SaveOrComplain(table, path, io.err) ? kExitOk : kExitFailure;
}

int Read(const CtlArgs& a, CtlStreams& io) {
    QString path;
    if (a.positional.size() != 1) {
        io.err << "trv730ctl settings read: give one device, HOST[:PORT]\n";
        return kExitUsage;
    }
    if (!OutputPath(a, &path, io.err))
        return kExitUsage;
    const std::optional<Target> t = ParseTarget(a, io.err);
    if (!t)
        return kExitUsage;
    CParameterTable table;
    table.BuildParameterTable();
    DeviceConnection device;
    if (!device.Open(*t, io.err) || !ReadDevice(device, table, io.err))
        return kExitFailure;
    if (!SaveOrComplain(table, path, io.err))
        return kExitFailure;
    io.out << "read " << table.RowCount() << " settings from " << t->where << " into " << path << '\n';
    return kExitOk;
}

int Show(const CtlArgs& a, CtlStreams& io) {
    if (a.positional.size() != 1) {
        io.err << "trv730ctl settings show: give one file (.trv730) or device (HOST[:PORT])\n";
        return kExitUsage;
    }
    Side side;
    if (!LoadSide(a.positional[0], a, side, io.err))
        return kExitFailure;
    if (a.flags.contains(kJson)) {
        QJsonArray groups;
        for (const ParameterGroup& g : side.table.Groups()) {
            QJsonArray rows;
            for (const auto& row : g.rows) {
                QJsonObject o;
                o.insert("name", row->Name());
                o.insert("value", Shown(*row));
                o.insert("key", SettingsFile::Key(row->Binding()));
                o.insert("address", row->Binding().address);
                o.insert("registers", row->Binding().count);
                o.insert("raw", SettingsFile::ValueText(*row));
                rows.append(o);
            }
            groups.append(QJsonObject{{"title", g.title}, {"rows", rows}});
        }
        io.out << QJsonDocument(QJsonObject{{"groups", groups}}).toJson(QJsonDocument::Indented);
        return kExitOk;
    }
    for (const ParameterGroup& g : side.table.Groups()) {
        io.out << g.title << '\n';
        for (const auto& row : g.rows)
            io.out << "  " << row->Name() << ": " << Shown(*row) << '\n';
    }
    return kExitOk;
}

constexpr int kDiffDiffer = 1;
constexpr int kDiffError = 2;

int Diff(const CtlArgs& a, CtlStreams& io) {
    if (a.positional.size() != 2) {
        io.err << "trv730ctl settings diff: give two files (.trv730) or devices (HOST[:PORT])\n";
        return kDiffError;
    }
    Side left;
    Side right;
    if (!LoadSide(a.positional[0], a, left, io.err) || !LoadSide(a.positional[1], a, right, io.err))
        return kDiffError;
    const auto l = left.table.Rows();
    const auto r = right.table.Rows();
    int differing = 0;
    for (size_t i = 0; i < l.size() && i < r.size(); ++i) {
        if (SameValue(*l[i], *r[i]))
            continue;
        ++differing;
        io.out << l[i]->Name() << " (" << SettingsFile::Key(l[i]->Binding()) << "): " << Shown(*l[i]) << " | "
               << Shown(*r[i]) << '\n';
    }
    if (differing == 0) {
        io.out << "no differences\n";
        return kExitOk;
    }
    return kDiffDiffer;
}

bool AskToWrite(int changes, const QString& where, CtlStreams& io) {
    if (!isatty(STDIN_FILENO)) {
        io.err << "trv730ctl: refusing to write without --yes: there is no terminal to ask\n";
        return false;
    }
    io.out << "Write " << changes << " changed settings to " << where << "? [y/N] ";
    io.out.flush();
    QTextStream in(stdin);
    const QString answer = in.readLine().trimmed();
    return answer.compare(QLatin1String("y"), Qt::CaseInsensitive) == 0 ||
           answer.compare(QLatin1String("yes"), Qt::CaseInsensitive) == 0;
}

int Write(const CtlArgs& a, CtlStreams& io) {
    if (a.positional.size() != 2 || !IsSettingsFilePath(a.positional[1])) {
        io.err << "trv730ctl settings write: give a device (HOST[:PORT]) and a file (.trv730)\n";
        return kExitUsage;
    }
    const QString path = a.positional[1];
    const std::optional<Target> t = ParseTarget(a, io.err);
    if (!t)
        return kExitUsage;
    {
        // A broken file is refused before the device is touched.
        CParameterTable check;
        check.BuildParameterTable();
        if (!LoadFile(path, check, io.err))
            return kExitFailure;
    }

    DeviceConnection device;
    if (!device.Open(*t, io.err))
        return kExitFailure;
    CParameterTable table;
    table.BuildParameterTable();
    if (!ReadDevice(device, table, io.err))
        return kExitFailure;
    table.AcceptAll();
    const auto rows = table.Rows();
    QStringList before;
    for (const CMyProperty* row : rows)
        before << Shown(*row);
    if (!LoadFile(path, table, io.err))
        return kExitFailure;

    int changes = 0;
    for (size_t i = 0; i < rows.size(); ++i) {
        if (!rows[i]->IsModified())
            continue;
        ++changes;
        io.out << rows[i]->Name() << ": " << before[int(i)] << " -> " << Shown(*rows[i]) << '\n';
    }
    if (changes == 0)
        io.out << "the device already holds these settings\n";
    if (!a.flags.contains(kYes) && !AskToWrite(changes, t->where, io)) {
        if (isatty(STDIN_FILENO))
            io.err << "trv730ctl: nothing written\n";
        return kExitFailure;
    }

    std::vector<std::array<uint16_t, RegisterCodec::kMaxWords>> written(rows.size());
    for (size_t i = 0; i < rows.size(); ++i)
        RegisterCodec::Encode(*rows[i], written[i].data());
    const TransferResult w = SettingsTransfer::WriteAll(table, device.Access());
    if (!w.ok) {
        if (w.applyFailed)
            io.err << "trv730ctl: " << t->where << ": every setting was written, but the apply command ("
                   << DeviceInterface::kCmdApplySettings << " to register " << DeviceInterface::kRegCommand
                   << ") failed: " << ResultText(w.lastResult, w.exceptionCode) << '\n';
        else
            io.err << "trv730ctl: " << t->where << ": writing stopped at addr:" << w.failedAddress
                   << " len:" << w.failedCount << " after " << SettingsTransfer::kTries
                   << " tries: " << ResultText(w.lastResult, w.exceptionCode)
                   << "; the settings before it were written, the apply command was not sent\n";
        return kExitFailure;
    }

    // What the device holds now, compared word for word with what was sent.
    CParameterTable back;
    back.BuildParameterTable();
    if (!ReadDevice(device, back, io.err))
        return kExitFailure;
    const auto backRows = back.Rows();
    int mismatches = 0;
    for (size_t i = 0; i < rows.size(); ++i) {
        std::array<uint16_t, RegisterCodec::kMaxWords> held{};
        RegisterCodec::Encode(*backRows[i], held.data());
        const int count = rows[i]->Binding().count;
        if (std::equal(held.begin(), held.begin() + count, written[i].begin()))
            continue;
        ++mismatches;
        io.err << "trv730ctl: read-back mismatch at " << rows[i]->Name() << " (registers "
               << rows[i]->Binding().address << ':' << count << "): wrote " << Shown(*rows[i])
               << ", the device holds " << Shown(*backRows[i]) << '\n';
    }
    if (mismatches > 0)
        return kExitFailure;
    io.out << "wrote " << rows.size() << " settings to " << t->where
           << " and applied them; the read-back matches\n";
    return kExitOk;
}

const char kSettingsUsage[] =
    "Usage: trv730ctl settings COMMAND ...\n"
    "  defaults -o FILE              the factory settings as a settings file (-o or --output)\n"
    "  read DEVICE -o FILE           read a device's settings into a file\n"
    "  show FILE|DEVICE [--json]     every group and setting with its value as the settings\n"
    "                                window shows it, in the language beside the tool\n"
    "  diff A B                      the settings that differ; A and B each a file or a device\n"
    "  write DEVICE FILE [--yes]     read the device, show what the file changes, ask (unless\n"
    "                                --yes), write every setting and the apply command, then\n"
    "                                read everything back and report what the device did not take\n"
    "A DEVICE is HOST[:PORT] with --unit N and --password P as for identify (the password\n"
    "defaults to vexor); a FILE is a path ending in .trv730. Files are written whole: a failed\n"
    "command leaves no partial file.\n"
    "Exit status: 0 done (diff: equal), 1 failed (diff: they differ), 2 wrong arguments\n"
    "(diff: any error).\n";

const char kClockUsage[] =
    "Usage: trv730ctl clock HOST[:PORT] [--unit N] [--password P]\n"
    "  Sets the device clock to this computer's local time, just after a second boundary,\n"
    "  and prints the time set.\n"
    "Exit status: 0 set, 1 not reachable or refused, 2 wrong arguments.\n";

int Settings(const QStringList& args, CtlStreams& io) {
    if (args.isEmpty() || args.contains(QStringLiteral("--help"))) {
        (args.isEmpty() ? io.err : io.out) << kSettingsUsage;
        return args.isEmpty() ? kExitUsage : kExitOk;
    }
    const QString sub = args[0];
    CtlArgs a;
    QString error;
    QStringList values = kDeviceOptions;
    values << kOutput;
    QStringList rest = args.mid(1);
    for (QString& word : rest)
        if (word == u"-o")
            word = kOutput;  // the short form every tool knows
    const bool parsed = a.Parse(rest, values, {kYes, kJson}, &error);
    const bool isDiff = sub == u"diff";
    if (!parsed) {
        io.err << "trv730ctl settings " << sub << ": " << error << '\n';
        return isDiff ? kDiffError : kExitUsage;
    }
    if (sub == u"defaults")
        return Defaults(a, io);
    if (sub == u"read")
        return Read(a, io);
    if (sub == u"show")
        return Show(a, io);
    if (isDiff)
        return Diff(a, io);
    if (sub == u"write")
        return Write(a, io);
    io.err << "trv730ctl settings: unknown command '" << sub << "' (see trv730ctl settings --help)\n";
    return kExitUsage;
}

int Clock(const QStringList& args, CtlStreams& io) {
    if (args.contains(QStringLiteral("--help"))) {
        io.out << kClockUsage;
        return kExitOk;
    }
    CtlArgs a;
    QString error;
    if (!a.Parse(args, kDeviceOptions, {}, &error) || a.positional.size() != 1) {
        io.err << "trv730ctl clock: "
               << (error.isEmpty() ? QStringLiteral("give exactly one device address") : error) << '\n';
        return kExitUsage;
    }
    const std::optional<Target> t = ParseTarget(a, io.err);
    if (!t)
        return kExitUsage;
    DeviceConnection device;
    if (!device.Open(*t, io.err))
        return kExitFailure;
    const ClockResult r =
        SettingsTransfer::SynchroniseClock(device.Access(), SystemLocalClock(), SystemLinkClock());
    if (!r.ok) {
        io.err << "trv730ctl: " << t->where << ": setting the clock failed " << SettingsTransfer::kTries
               << " times: " << ResultText(r.lastResult, 0) << '\n';
        return kExitFailure;
    }
    io.out << "device clock set to " << r.localTime.addSecs(1).toString(QStringLiteral("dd.MM.yyyy HH:mm:ss"))
           << " (device time " << r.deviceTime << ")\n";
    return kExitOk;
}

}  // namespace

extern const CtlCommandGroup kSettingsCommandGroup = {
    "settings", "read, show, compare and write device settings files", Settings};
extern const CtlCommandGroup kClockCommandGroup = {"clock", "set a device's clock to this computer's time",
                                                   Clock};
