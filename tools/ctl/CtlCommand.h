#pragma once

#include <QStringList>
#include <QTextStream>

// Exit statuses of the tool.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1;  // the command ran and failed (bad file, write error)
inline constexpr int kExitUsage = 2;    // wrong arguments

// Where a command writes: results to out, messages to err.
struct CtlStreams {
    QTextStream& out;
    QTextStream& err;
};

// A group of subcommands ("trv730ctl rdf ..."). A new group is one file defining its
// CtlCommandGroup and one line in CtlCommands.cpp.
struct CtlCommandGroup {
    const char* name;
    const char* summary;
    // args are the words after the group's name; prints its own usage for --help.
    int (*run)(const QStringList& args, CtlStreams& io);
};

// Every group the tool knows, ended by an entry without a name.
const CtlCommandGroup* CtlCommandGroups();

// "trv730ctl: <message>" on err.
void CtlError(CtlStreams& io, const QString& message);
