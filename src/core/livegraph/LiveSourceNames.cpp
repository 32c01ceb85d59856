#include "livegraph/LiveSourceNames.h"

#include "language/Language.h"
#include "language/LanguageKeys.h"

namespace LiveSourceNames {

namespace {
constexpr int kDivisors[30] = {1,   10,  10, 10, 10, 100, 100, 100, 100, 100, 1,  10, 100, 100, 1,
                               10,  10,  10, 1000, 10, 10, 100, 10,  1,   10,  10, 10, 10,  10,  10};
}

int Divisor(quint32 code) {
    const quint32 kind = code & 0xFFFFu;
    return kind < 30 ? kDivisors[kind] : 1;
}

QString SeriesName(quint32 code) {
    const quint32 kind = code & 0xFFFFu;
    if (code > 0x27FFFFFFu || kind > 29) return GetText(LNG_SRC_F_UNCNOWN);
    return QString("%1 %2: %3")
        .arg(GetText(LNG_SRC_F_CHANNEL))
        .arg((code >> 24) + 1)
        .arg(GetText(int(LNG_SRC_F_Uncnown + kind)));
}

}  // namespace LiveSourceNames
