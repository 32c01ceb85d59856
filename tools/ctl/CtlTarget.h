#pragma once

#include <QStringList>
#include <QTextStream>
#include <optional>

#include "CtlArgs.h"
#include "settings/Settings.h"

// The options every device command takes besides HOST[:PORT].
extern const QStringList kDeviceOptions;

// The device a command talks to, as a device record would describe it.
struct Target {
    DeviceRecord record;
    QString where;  // "address:port, unit n" for messages
};

// The device named by text (HOST[:PORT]) with the --unit and --password of a; a message
// on err and nothing when they are wrong. Without --password the factory password is used.
std::optional<Target> ParseTarget(const QString& text, const CtlArgs& a, QTextStream& err);
// The same for the first positional word.
std::optional<Target> ParseTarget(const CtlArgs& a, QTextStream& err);
