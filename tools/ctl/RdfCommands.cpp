// trv730ctl rdf: reading recorded-data files and exporting them as CSV.
#include <memory>
#include <optional>

#include "CtlCommand.h"
#include "devsettings/QuantityTable.h"
#include "rdf/CalendarTime.h"
#include "rdf/CsvExport.h"
#include "rdf/FileRdf.h"
#include "rdf/RecordingSet.h"

namespace {
const char kRdfUsage[] =
    "Usage:\n"
    "  trv730ctl rdf info FILE...\n"
    "      Header fields, sources, record and event counts and the time span of each file.\n"
    "  trv730ctl rdf export [--from TIME] [--to TIME] -o OUT.csv FILE...\n"
    "      Merges the files into one recording (files of one device and firmware, in the\n"
    "      order of their ordering keys) and writes the records from --from to --to, both\n"
    "      included, as CSV. Without --from or --to the recording's own start or end.\n"
    "\n"
    "TIME is 'DD.MM.YYYY HH:MM:SS[.mmm]' or 'YYYY-MM-DD[T]HH:MM:SS[.mmm]'; a date alone\n"
    "means its midnight.\n"
    "Exit status: 0 success, 1 a file could not be read or written, 2 wrong arguments.\n";

QString TimeText(std::int64_t ms) {
    const CalendarTime t = CalendarTime::FromMs(ms);
    return QString::asprintf("%02d.%02d.%04d %02d:%02d:%02d.%03d", t.day, t.month, t.year, t.hour,
                             t.minute, t.second, t.millisecond);
}

// Opens a file, naming the reason on err when it cannot.
std::unique_ptr<CFileRdf> OpenFile(const QString& path, CtlStreams& io) {
    auto file = std::make_unique<CFileRdf>();
    if (file->Open(path)) return file;
    CtlError(io, QStringLiteral("%1: %2").arg(path, QString::fromLatin1(RdfOpenErrorText(file->LastError()))));
    return nullptr;
}

void PrintInfo(const CFileRdf& file, const CQuantityTable& table, QTextStream& out) {
    const RdfHeader& h = *file.Header();
    const auto id = h.DeviceId();
    out << file.FileName() << '\n';
    out << "  path:          " << file.FullPath() << '\n';
    out << "  version:       0x" << QString::number(h.Version(), 16).rightJustified(4, u'0') << '\n';
    out << "  device:        " << id[0] << ' ' << id[1] << ' ' << id[2] << ' ' << id[3] << ' ' << id[4]
        << ' ' << id[5] << '\n';
    out << "  firmware:      " << (h.Firmware() >> 8) << '.' << (h.Firmware() & 0xFF) << '\n';
    out << "  ordering key:  " << file.OrderingKey() << '\n';
    out << "  record size:   " << h.RecordSize() << '\n';
    out << "  data offset:   " << h.DataOffset() << '\n';
    out << "  records:       " << file.RecordCount() << '\n';
    out << "  events:        " << file.EventCount() << '\n';
    out << "  first record:  " << TimeText(file.FirstTime()) << '\n';
    out << "  last record:   " << TimeText(file.LastTime()) << '\n';
    out << "  sources:\n";
    bool any = false;
    for (int slot = 0; slot < CFileRdf::SlotCount(); ++slot) {
        const SourceCode code = file.SourceOfSlot(slot);
        if (code == kNoSource) continue;
        any = true;
        out << "    slot " << QString::number(slot).rightJustified(2) << ": 0x"
            << QString::number(code, 16).toUpper().rightJustified(8, u'0') << "  " << table.SeriesName(code)
            << '\n';
    }
    if (!any) out << "    (none)\n";
}

int RunInfo(const QStringList& args, CtlStreams& io) {
    if (args.isEmpty()) {
        CtlError(io, QStringLiteral("rdf info: no file given"));
        io.err << kRdfUsage;
        return kExitUsage;
    }
    const CQuantityTable table = CQuantityTable::Build();
    int status = kExitOk;
    bool first = true;
    for (const QString& path : args) {
        const auto file = OpenFile(path, io);
        if (!file) {
            status = kExitFailure;
            continue;
        }
        if (!first) io.out << '\n';
        first = false;
        PrintInfo(*file, table, io.out);
    }
    return status;
}

int RunExport(const QStringList& args, CtlStreams& io) {
    QString output;
    std::optional<std::int64_t> from;
    std::optional<std::int64_t> to;
    QStringList files;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        const bool takesValue = a == u"-o" || a == u"--output" || a == u"--from" || a == u"--to";
        if (takesValue) {
            if (i + 1 >= args.size()) {
                CtlError(io, QStringLiteral("rdf export: %1 needs a value").arg(a));
                return kExitUsage;
            }
            const QString value = args[++i];
            if (a == u"--from" || a == u"--to") {
                const auto t = ParseCalendarTime(value);
                if (!t) {
                    CtlError(io, QStringLiteral("rdf export: '%1' is not a valid time").arg(value));
                    return kExitUsage;
                }
                (a == u"--from" ? from : to) = t;
            } else {
                output = value;
            }
        } else if (a == u"--") {
            files += args.mid(i + 1);
            break;
        } else if (a.startsWith(u'-') && a.size() > 1) {
            CtlError(io, QStringLiteral("rdf export: unknown option '%1'").arg(a));
            return kExitUsage;
        } else {
            files += a;
        }
    }
    if (output.isEmpty() || files.isEmpty()) {
        CtlError(io, output.isEmpty() ? QStringLiteral("rdf export: no output file given (-o OUT.csv)")
                                      : QStringLiteral("rdf export: no input file given"));
        io.err << kRdfUsage;
        return kExitUsage;
    }
    if (from && to && *from > *to) {
        CtlError(io, QStringLiteral("rdf export: --from lies after --to"));
        return kExitUsage;
    }

    // Every input must join the recording; a partial export would pass for a whole one.
    CRecordingSet set;
    bool failed = false;
    for (const QString& path : files) {
        auto file = OpenFile(path, io);
        if (!file) {
            failed = true;
            continue;
        }
        const QString name = file->FileName();
        switch (set.Add(std::move(file))) {
        case RdfAddResult::Added:
        case RdfAddResult::NotLoaded:
            break;
        case RdfAddResult::AlreadyLoaded:
            CtlError(io, QStringLiteral("%1: already loaded (same header as another file)").arg(name));
            failed = true;
            break;
        case RdfAddResult::Incompatible:
            CtlError(io, QStringLiteral("%1: incompatible (another device or firmware than %2)")
                             .arg(name, set.File(0).FileName()));
            failed = true;
            break;
        }
    }
    if (failed) {
        CtlError(io, QStringLiteral("rdf export: nothing written"));
        return kExitFailure;
    }

    const TimeRange view{from.value_or(set.DataStart()), to.value_or(set.DataEnd())};
    const CsvExportResult result = ExportCsv(set, view, CQuantityTable::Build(), output);
    if (!result.ok) {
        CtlError(io, QStringLiteral("%1: cannot be written: %2").arg(output, result.error));
        return kExitFailure;
    }
    io.out << "wrote " << result.rows << " rows to " << output << Qt::endl;
    return kExitOk;
}

int RunRdf(const QStringList& args, CtlStreams& io) {
    if (args.isEmpty()) {
        io.err << kRdfUsage;
        return kExitUsage;
    }
    const QString sub = args.first();
    if (sub == u"--help" || sub == u"-h" || sub == u"help" || args.contains(QStringLiteral("--help"))) {
        io.out << kRdfUsage;
        return kExitOk;
    }
    if (sub == u"info") return RunInfo(args.mid(1), io);
    if (sub == u"export") return RunExport(args.mid(1), io);
    CtlError(io, QStringLiteral("rdf: unknown command '%1'").arg(sub));
    io.err << kRdfUsage;
    return kExitUsage;
}
}  // namespace

extern const CtlCommandGroup kRdfCommandGroup;
const CtlCommandGroup kRdfCommandGroup{"rdf", "read recorded-data (.RDF) files, export them as CSV", RunRdf};
