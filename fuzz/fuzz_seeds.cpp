// Writes the seed corpora of the fuzz targets: small valid inputs of every reader, made
// with the same builders as the tests, and the shipped language files' format texts.
//   fuzz_seeds OUTDIR SOURCEDIR

#include <QDir>
#include <QFile>
#include <QStringList>
#include <cstdio>

#include <QDateTime>

#include "devsettings/MyProperty.h"
#include "devsettings/ParameterTable.h"
#include "devsettings/SettingsFile.h"
#include "language/FormatTable.h"
#include "language/IniFile.h"
#include "language/Language.h"
#include "language/LanguageKeys.h"
#include "rdf/RdfWriter.h"
#include "settings/Settings.h"

namespace {

QString g_out;
int g_written = 0;

void Seed(const char* target, const QString& name, const QByteArray& bytes) {
    const QString dir = g_out + u'/' + QString::fromLatin1(target);
    QDir().mkpath(dir);
    QFile f(dir + u'/' + name);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size()) ++g_written;
}

QByteArray Rdf(std::uint16_t dataOffset, std::initializer_list<std::pair<std::uint8_t, std::int64_t>> records) {
    RdfHeaderFields f;
    f.deviceId = {1, 2, 3, 4, 5, 6};
    f.orderingKey = 7;
    f.slotCodes[0] = 0x00000001;
    f.slotCodes[1] = 0x01000001;
    f.slotCodes[2] = 0x00000005;
    f.dataOffset = dataOffset;
    QByteArray bytes = RdfHeaderBytes(f);
    if (dataOffset > kRdfHeaderSize) bytes.append(QByteArray(dataOffset - kRdfHeaderSize, '\0'));
    std::int32_t v = 100;
    for (const auto& [kind, t] : records) bytes += RdfRecordBytes(MakeRdfRecord(kind, t, {v++, -v, v * 3}));
    return bytes;
}

void RdfSeeds() {
    Seed("fuzz_rdf", QStringLiteral("data-and-events"), Rdf(104, {{0, 1000}, {0, 2000}, {2, 2000}, {0, 3000}, {1, 3500}, {0, 4000}}));
    Seed("fuzz_rdf", QStringLiteral("events-only"), Rdf(104, {{2, 10}, {2, 20}, {1, 30}, {4, 40}}));
    Seed("fuzz_rdf", QStringLiteral("gap-before-data"), Rdf(200, {{0, 5000}, {0, 6000}}));
    Seed("fuzz_rdf", QStringLiteral("partial-tail"), Rdf(104, {{0, 1}, {0, 2}}) + QByteArray(40, '\x11'));
    Seed("fuzz_rdf", QStringLiteral("header-only"), Rdf(104, {}));
}

void SettingsSeeds() {
    CSettings s;
    Seed("fuzz_settings", QStringLiteral("defaults"), s.ToBytes());
    s.Devices[1].SetName(QStringLiteral("Substation \U0001F50C 2"));
    s.Devices[1].SetPassword(QStringLiteral("secret"));
    s.Devices[1].IpAddress = 0x7F000001;
    s.Devices[1].Port = 1502;
    s.Devices[1].UnitId = 3;
    s.LiveCoef[2] = -0.5;
    Seed("fuzz_settings", QStringLiteral("devices"), s.ToBytes());
    Seed("fuzz_settings", QStringLiteral("short"), s.ToBytes().left(500));
}

void IniSeeds(const QString& source) {
    const QByteArray small = "; comment\n[Language]\nLNG_A = \"quoted\" \nlng_a=second\n[other]\nk='v'\n[language]\nx=y\n";
    Seed("fuzz_ini", QStringLiteral("small"), QByteArray(1, char(20)) + small);
    QByteArray utf16("\xFF\xFE", 2);
    for (QChar c : QStringLiteral("[s]\r\nkey=\U0001F600\U0001F600\U0001F600\r\n")) {
        utf16.append(char(c.unicode() & 0xFF));
        utf16.append(char(c.unicode() >> 8));
    }
    Seed("fuzz_ini", QStringLiteral("utf16"), QByteArray(1, char(5)) + utf16);
    Seed("fuzz_language", QStringLiteral("small"), "[language]\nLNG_GLOB_ERROR=Error\nLNG_RDF_ERR_FOPEN=Can't open %s\n");
    Seed("fuzz_language", QStringLiteral("no-section"), "LNG_GLOB_ERROR=Error\n");
    for (const QString& lang : QDir(source + QStringLiteral("/lang")).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile f(source + QStringLiteral("/lang/") + lang + QStringLiteral("/language.dat"));
        if (f.open(QIODevice::ReadOnly)) Seed("fuzz_language", lang, f.readAll());
    }
}

void FormatSeeds(const QString& source) {
    int count = 0;
    const LngFormat* table = LngFormatTable(&count);
    for (const QString& lang : QDir(source + QStringLiteral("/lang")).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        CLanguage language;
        if (!language.LoadFile(source + QStringLiteral("/lang/") + lang + QStringLiteral("/language.dat"))) continue;
        for (int i = 0; i < count; ++i) {
            QByteArray seed(1, char(i));
            seed.append(QByteArray(4 * int(qstrlen(table[i].signature)), '\x07'));
            seed += language.GetText(table[i].id).toUtf8();
            Seed("fuzz_format", QStringLiteral("%1-%2").arg(lang).arg(i), seed);
        }
    }
    Seed("fuzz_format", QStringLiteral("made-up"), QByteArray("\x83\x00\x01\x02", 4) + QByteArray(12, '\x41') +
                                                       "%-8.3d|%#x|%.2f|%% %I64u %lld %S %c");
}

QByteArray Frame(std::uint16_t tx, std::uint8_t unit, const QByteArray& pdu) {
    QByteArray f;
    for (std::uint16_t w : {tx, std::uint16_t(0), std::uint16_t(pdu.size() + 1)}) {
        f.append(char(w >> 8));
        f.append(char(w & 0xFF));
    }
    f.append(char(unit));
    return f + pdu;
}

void ModbusSeeds() {
    // op, count, unit, flags, then the peer's bytes.
    Seed("fuzz_modbus", QStringLiteral("identify"),
         QByteArray("\x02\x02\x01\x00", 4) + Frame(1, 1, QByteArray("\x03\x04\x00\x0E\x02\x08", 6)));
    Seed("fuzz_modbus", QStringLiteral("read"),
         QByteArray("\x00\x03\x01\x00", 4) + Frame(1, 1, QByteArray("\x03\x06\x00\x01\x00\x02\x00\x03", 8)));
    Seed("fuzz_modbus", QStringLiteral("read-after-stale"),
         QByteArray("\x00\x01\x05\x00", 4) + Frame(9, 5, QByteArray("\x03\x02\x12\x34", 4)) +
             Frame(1, 5, QByteArray("\x03\x02\x43\x21", 4)));
    Seed("fuzz_modbus", QStringLiteral("exception"), QByteArray("\x00\x02\x01\x00", 4) + Frame(1, 1, QByteArray("\x83\x02", 2)));
    Seed("fuzz_modbus", QStringLiteral("write"),
         QByteArray("\x01\x04\x01\x00", 4) + Frame(1, 1, QByteArray("\x10\x07\xD0\x00\x04", 5)));
}

void CmdlineSeeds() {
    Seed("fuzz_cmdline", QStringLiteral("rdf"), "trv730da\n@/a.RDF");
    Seed("fuzz_cmdline", QStringLiteral("settings"), "trv730da\n@/d.Trv730\nextra");
    Seed("fuzz_cmdline", QStringLiteral("folder"), "trv730da\n@/folder.rdf");
    Seed("fuzz_cmdline", QStringLiteral("ctl"), "127.0.0.1:1502\n--unit\n3\n--json\n--count");
    Seed("fuzz_cmdline", QStringLiteral("address"), "x\n255.255.255.255:65535\n1.2.3.4:0\n01.2.3.4");
}

// A factory file, one with changed values of every kind, and one cut short.
void SettingsFileSeeds() {
    CLanguage language;
    language.UseKeyNames();
    CLanguage::SetCurrent(&language);
    CParameterTable table;
    table.BuildParameterTable();
    const QDateTime when(QDate(2024, 1, 1), QTime(12, 0));
    const QByteArray defaults = SettingsFile::Build(table, when);
    Seed("fuzz_settings_file", QStringLiteral("defaults.trv730"), defaults);
    for (CMyProperty* row : table.Rows()) {
        row->SetValue(row->Value() + 1);
        row->SetText(QStringLiteral("ab"));
    }
    Seed("fuzz_settings_file", QStringLiteral("changed.trv730"), SettingsFile::Build(table, when));
    Seed("fuzz_settings_file", QStringLiteral("short.trv730"), defaults.left(defaults.size() / 3));
    CLanguage::SetCurrent(nullptr);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: fuzz_seeds OUTDIR SOURCEDIR\n");
        return 2;
    }
    g_out = QString::fromLocal8Bit(argv[1]);
    const QString source = QString::fromLocal8Bit(argv[2]);
    RdfSeeds();
    SettingsSeeds();
    SettingsFileSeeds();
    IniSeeds(source);
    FormatSeeds(source);
    ModbusSeeds();
    CmdlineSeeds();
    std::printf("%d seeds in %s\n", g_written, argv[1]);
    return g_written > 0 ? 0 : 1;
}
