// The language loader on whole files: a text never exceeds the reader's buffer, every key
// has a text, and every text the program uses as a template formats safely with the
// arguments its table entry lists.

#include "FormatArgs.h"
#include "language/FormatTable.h"
#include "language/Language.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString& path = FuzzScratchPath("-language.dat");
    FuzzWriteFile(path, FuzzBytes(data, size));

    CLanguage language;
    FUZZ_CHECK(language.LoadFile(path));
    FUZZ_CHECK(language.IsLoaded());
    for (int id = 0; id < CLanguage::kKeyCount; ++id) {
        const QString& text = language.GetText(id);
        FUZZ_CHECK(!text.isEmpty());
        FUZZ_CHECK(text.size() <= CLanguage::kMaxTextUnits);
    }

    int tableSize = 0;
    const LngFormat* table = LngFormatTable(&tableSize);
    FuzzInput in(data, size);
    for (int i = 0; i < tableSize; ++i) {
        const std::vector<FormatArg> args = FuzzFormatArgs(table[i].signature, in);
        CheckFormatted(language.GetText(table[i].id), args);
    }
    return 0;
}
