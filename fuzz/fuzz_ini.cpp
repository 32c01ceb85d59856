// The INI reader: any bytes parse; a lookup never returns more than the caller's buffer
// holds, never cuts a surrogate pair, and finds a name whatever its ASCII case.

#include <QStringList>

#include "FuzzSupport.h"
#include "language/IniFile.h"

namespace {

QString AsciiUpper(const QString& s) {
    QString out = s;
    for (QChar& c : out)
        if (c >= u'a' && c <= u'z') c = QChar(char16_t(c.unicode() - 32));
    return out;
}

void CheckCut(const QString& text, int units) {
    const QString cut = CIniFile::CutToUnits(text, units);
    FUZZ_CHECK(text.startsWith(cut));
    FUZZ_CHECK(cut.size() <= qMax(units, 0));
    if (cut.size() < text.size()) {
        // Shorter than allowed only by a high surrogate that would end it.
        FUZZ_CHECK(cut.size() == qMax(units, 0) || (cut.size() == units - 1 && text[cut.size()].isHighSurrogate()));
        if (!cut.isEmpty()) FUZZ_CHECK(!(cut.back().isHighSurrogate() && text[cut.size()].isLowSurrogate()));
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput in(data, size);
    const int bufferUnits = int(in.Byte() % 40);
    const QByteArray bytes = in.Rest();
    const CIniFile ini = CIniFile::FromBytes(bytes);
    const QString text = CIniFile::DecodeText(bytes);
    CheckCut(text, bufferUnits);

    // Ask for every name the text seems to hold: "[section]" and "key=" lines.
    QString section;
    const QString fallback = QStringLiteral("<none>");
    for (const QString& raw : text.split(u'\n')) {
        const QString line = raw.trimmed();
        if (line.startsWith(u'[') && line.contains(u']')) {
            section = line.mid(1, line.indexOf(u']') - 1);
            continue;
        }
        const qsizetype eq = line.indexOf(u'=');
        if (eq <= 0) continue;
        const QString key = line.left(eq).trimmed();
        const QString value = ini.GetString(section, key, bufferUnits, fallback);
        FUZZ_CHECK(value.size() <= qMax(bufferUnits - 1, 0));
        FUZZ_CHECK(ini.GetString(AsciiUpper(section), AsciiUpper(key), bufferUnits, fallback) == value);
        FUZZ_CHECK(ini.HasSection(AsciiUpper(section)) == ini.HasSection(section));
    }
    FUZZ_CHECK(ini.GetString(QStringLiteral("no such section \x01"), QStringLiteral("k"), 10, fallback) == fallback);
    return 0;
}
