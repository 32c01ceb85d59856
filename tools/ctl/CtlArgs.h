#pragma once

#include <QMap>
#include <QSet>
#include <QString>
#include <QStringList>
#include <cstdint>

// Arguments of one subcommand: positional words, "--name value" options and "--flag"s.
struct CtlArgs {
    QStringList positional;
    QMap<QString, QString> values;
    QSet<QString> flags;

    // False with a message when an option is unknown or lacks its value.
    bool Parse(const QStringList& args, const QStringList& valueOptions, const QStringList& flagOptions,
               QString* error);
};

// "a.b.c.d" or "a.b.c.d:port" (port 1..65535, default defaultPort). The address comes out
// with its first octet in the top byte.
bool ParseHostPort(const QString& text, int defaultPort, uint32_t* address, int* port, QString* error);
QString HostPortText(uint32_t address, int port);
