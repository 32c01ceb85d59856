#include "CtlTarget.h"

#include "device/DeviceInterface.h"

const QStringList kDeviceOptions = {QStringLiteral("--unit"), QStringLiteral("--password")};

std::optional<Target> ParseTarget(const QString& text, const CtlArgs& a, QTextStream& err) {
    Target t;
    QString error;
    uint32_t address = 0;
    int port = 0;
    if (!ParseHostPort(text, DeviceInterface::kDefaultPort, &address, &port, &error)) {
        err << "trv730ctl: " << error << '\n';
        return std::nullopt;
    }
    int unit = 1;
    if (a.values.contains(QStringLiteral("--unit"))) {
        bool ok = false;
        unit = a.values.value(QStringLiteral("--unit")).toInt(&ok);
        if (!ok || unit < 0 || unit > 255) {
            err << "trv730ctl: the unit identifier must be a number from 0 to 255\n";
            return std::nullopt;
        }
    }
    // Without --password the tool logs in as a new device record does, with the factory password.
    const QString password = a.values.contains(QStringLiteral("--password"))
                                 ? a.values.value(QStringLiteral("--password"))
                                 : QStringLiteral("vexor");
    if (password.size() > DeviceRecord::kPasswordUnits) {
        err << "trv730ctl: a device password has at most " << DeviceRecord::kPasswordUnits << " characters\n";
        return std::nullopt;
    }
    t.record.SetName(QStringLiteral("trv730ctl"));
    t.record.IpAddress = address;
    t.record.Port = port;
    t.record.UnitId = unit;
    t.record.SetPassword(password);
    t.where = QStringLiteral("%1, unit %2").arg(HostPortText(address, port)).arg(unit);
    return t;
}

std::optional<Target> ParseTarget(const CtlArgs& a, QTextStream& err) {
    if (a.positional.isEmpty()) {
        err << "trv730ctl: the device address is missing (HOST[:PORT])\n";
        return std::nullopt;
    }
    return ParseTarget(a.positional[0], a, err);
}
