#include <QCoreApplication>
#include <QTextStream>
#include <cstdio>

#include "CtlCommand.h"
#include "language/Language.h"

namespace {
void PrintUsage(QTextStream& s) {
    s << "Usage: trv730ctl COMMAND [ARGS...]\n\nCommands:\n";
    for (const CtlCommandGroup* g = CtlCommandGroups(); g->name; ++g)
        s << "  " << QString::fromLatin1(g->name).leftJustified(10) << g->summary << '\n';
    s << "\n'trv730ctl COMMAND --help' describes a command.\n";
    s.flush();
}
}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    CtlStreams io{out, err};

    // Series names come from the language file beside the tool; without one the key names
    // stand in, so every output still names its sources.
    static CLanguage language;
    if (!language.Load()) language.UseKeyNames();
    CLanguage::SetCurrent(&language);

    QStringList args = QCoreApplication::arguments().mid(1);
    if (args.isEmpty()) {
        PrintUsage(err);
        return kExitUsage;
    }
    const QString command = args.takeFirst();
    if (command == u"--help" || command == u"-h" || command == u"help") {
        PrintUsage(out);
        return kExitOk;
    }
    for (const CtlCommandGroup* g = CtlCommandGroups(); g->name; ++g)
        if (command == QLatin1String(g->name)) {
            const int status = g->run(args, io);
            out.flush();
            err.flush();
            return status;
        }
    CtlError(io, QStringLiteral("unknown command '%1'").arg(command));
    PrintUsage(err);
    return kExitUsage;
}
