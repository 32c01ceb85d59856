// Command lines: the program's start-up argument and trv730ctl's options and addresses.
// Words are the input's lines.

#include <QDir>
#include <QFileInfo>
#include <QStringList>

#include "CtlArgs.h"
#include "FuzzSupport.h"
#include "app/AppCore.h"

namespace {

// A folder with files a command line may name; "@/" at the start of a word stands for it.
// (The current folder stays: libFuzzer reads its corpus by relative paths.)
const QString& ScratchFolder() {
    static const QString dir = [] {
        const QString d = FuzzScratchPath("-cmdline");
        QDir().mkpath(d + QStringLiteral("/folder.rdf"));
        for (const char* name : {"a.RDF", "b.trv730", "c.rdf.txt", ".RDF", "d.Trv730"})
            FuzzWriteFile(d + u'/' + QString::fromLatin1(name), QByteArray("x"));
        return d;
    }();
    return dir;
}

void CheckStartArguments(const QStringList& args) {
    QString rdf, settings;
    CAppCore::ParseArguments(args, rdf, settings);
    FUZZ_CHECK(rdf.isEmpty() || settings.isEmpty());
    for (const QString* kept : {&rdf, &settings}) {
        if (kept->isEmpty()) continue;
        FUZZ_CHECK(args.size() >= 2 && *kept == args[1]);
        FUZZ_CHECK(QFileInfo::exists(*kept));
    }
    if (!rdf.isEmpty()) FUZZ_CHECK(QFileInfo(rdf).fileName().endsWith(QStringLiteral(".rdf"), Qt::CaseInsensitive));
    if (!settings.isEmpty())
        FUZZ_CHECK(QFileInfo(settings).fileName().endsWith(QStringLiteral(".trv730"), Qt::CaseInsensitive));
}

void CheckCtlOptions(const QStringList& args) {
    static const QStringList kValues = {QStringLiteral("--unit"), QStringLiteral("--count"),
                                        QStringLiteral("--from"), QStringLiteral("--to"), QStringLiteral("--out")};
    static const QStringList kFlags = {QStringLiteral("--help"), QStringLiteral("--json"), QStringLiteral("--force")};
    CtlArgs parsed;
    QString error;
    const bool ok = parsed.Parse(args, kValues, kFlags, &error);
    FUZZ_CHECK(ok == error.isEmpty());
    if (!ok) return;
    for (auto it = parsed.values.cbegin(); it != parsed.values.cend(); ++it) FUZZ_CHECK(kValues.contains(it.key()));
    for (const QString& f : parsed.flags) FUZZ_CHECK(kFlags.contains(f));
    for (const QString& p : parsed.positional) FUZZ_CHECK(!p.startsWith(QStringLiteral("--")) || args.contains(p));
    FUZZ_CHECK(parsed.positional.size() + parsed.values.size() + parsed.flags.size() <= args.size());
}

void CheckAddress(const QString& text) {
    uint32_t address = 0;
    int port = 0;
    QString error;
    if (!ParseHostPort(text, 502, &address, &port, &error)) {
        FUZZ_CHECK(!error.isEmpty());
        return;
    }
    FUZZ_CHECK(port >= 1 && port <= 65535);
    // What was understood reads back to itself.
    uint32_t again = 0;
    int againPort = 0;
    FUZZ_CHECK(ParseHostPort(HostPortText(address, port), 1, &again, &againPort, &error));
    FUZZ_CHECK(again == address && againPort == port);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    QStringList words = QString::fromUtf8(FuzzBytes(data, size)).split(u'\n');
    for (QString& w : words)
        if (w.startsWith(QStringLiteral("@/"))) w.replace(0, 1, ScratchFolder());
    CheckStartArguments(words);
    CheckCtlOptions(words);
    for (const QString& w : words) CheckAddress(w);
    return 0;
}
