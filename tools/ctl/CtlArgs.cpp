#include "CtlArgs.h"

bool CtlArgs::Parse(const QStringList& args, const QStringList& valueOptions, const QStringList& flagOptions,
                    QString* error) {
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (!a.startsWith(QLatin1String("--"))) {
            positional << a;
        } else if (valueOptions.contains(a)) {
            if (i + 1 >= args.size()) {
                *error = QStringLiteral("option %1 needs a value").arg(a);
                return false;
            }
            values.insert(a, args[++i]);
        } else if (flagOptions.contains(a)) {
            flags.insert(a);
        } else {
            *error = QStringLiteral("unknown option %1").arg(a);
            return false;
        }
    }
    return true;
}

bool ParseHostPort(const QString& text, int defaultPort, uint32_t* address, int* port, QString* error) {
    QString host = text;
    *port = defaultPort;
    const int colon = text.indexOf(u':');
    if (colon >= 0) {
        host = text.left(colon);
        bool ok = false;
        const int p = text.mid(colon + 1).toInt(&ok);
        if (!ok || p < 1 || p > 65535) {
            *error = QStringLiteral("'%1' is not a port number (1 to 65535)").arg(text.mid(colon + 1));
            return false;
        }
        *port = p;
    }
    const QStringList parts = host.split(u'.');
    uint32_t a = 0;
    bool valid = parts.size() == 4;
    for (const QString& part : parts) {
        bool ok = false;
        const int octet = part.toInt(&ok);
        if (!ok || octet < 0 || octet > 255 || part.isEmpty() || part.size() > 3) valid = false;
        a = (a << 8) | uint32_t(octet & 0xFF);
    }
    if (!valid) {
        *error = QStringLiteral("'%1' is not an IPv4 address such as 192.168.0.10").arg(host);
        return false;
    }
    *address = a;
    return true;
}

QString HostPortText(uint32_t address, int port) {
    return QStringLiteral("%1.%2.%3.%4:%5")
        .arg(address >> 24)
        .arg((address >> 16) & 0xFF)
        .arg((address >> 8) & 0xFF)
        .arg(address & 0xFF)
        .arg(port);
}
