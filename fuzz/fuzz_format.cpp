// The safe formatter with hostile templates, against every signature of the format table and
// against signatures the input makes up.

#include <cstring>
#include <string>

#include "FormatArgs.h"
#include "language/FormatTable.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput in(data, size);
    int tableSize = 0;
    const LngFormat* table = LngFormatTable(&tableSize);

    const std::uint8_t pick = in.Byte();
    std::string signature;
    if (pick < 0x80) {
        signature = table[pick % tableSize].signature;
    } else {
        static const char kLetters[] = "dufs";
        for (int i = 0, n = pick & 7; i < n; ++i) signature += kLetters[in.Byte() & 3];
    }
    const std::vector<FormatArg> args = FuzzFormatArgs(signature.c_str(), in);
    const QByteArray rest = in.Rest();
    // Templates come from language files, which may be UTF-8 or UTF-16.
    const QString templ = (pick & 0x40) ? QString::fromUtf16(reinterpret_cast<const char16_t*>(rest.constData()),
                                                             rest.size() / 2)
                                        : QString::fromUtf8(rest);
    CheckFormatted(templ, args);
    return 0;
}
