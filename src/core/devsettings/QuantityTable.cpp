#include "devsettings/QuantityTable.h"

#include <charconv>
#include <cmath>
#include <limits>

#include "language/Language.h"

namespace {
struct KindRow {
    int unitKey;  // -1: no unit
    int divisor;
};

constexpr KindRow kKinds[kQuantityKindCount] = {
    {-1, 1},                          // 0
    {LNG_DEVICE_PREFIX_V, 10},        // 1
    {LNG_DEVICE_PREFIX_V, 10},        // 2
    {LNG_DEVICE_PREFIX_V, 10},        // 3
    {LNG_DEVICE_PREFIX_V, 10},        // 4
    {LNG_DEVICE_PREFIX_A, 100},       // 5
    {LNG_DEVICE_PREFIX_A, 100},       // 6
    {LNG_DEVICE_PREFIX_A, 100},       // 7
    {LNG_DEVICE_PREFIX_A, 100},       // 8
    {LNG_DEVICE_PREFIX_HZ, 100},      // 9
    {LNG_DEVICE_PREFIX_PERCENT, 1},   // 10
    {LNG_DEVICE_PREFIX_DEGRE, 10},    // 11
    {LNG_DEVICE_PREFIX_V, 100},       // 12
    {LNG_DEVICE_PREFIX_MA, 100},      // 13
    {-1, 1},                          // 14
    {LNG_DEVICE_PREFIX_VA, 10},       // 15
    {LNG_DEVICE_PREFIX_WT, 10},       // 16
    {LNG_DEVICE_PREFIX_VAR, 10},      // 17
    {-1, 1000},                       // 18
    {LNG_DEVICE_PREFIX_KWTH, 10},     // 19
    {LNG_DEVICE_PREFIX_KVARH, 10},    // 20
    {-1, 100},                        // 21
    {LNG_DEVICE_PREFIX_IVM, 10},      // 22
    {-1, 1},                          // 23
    {LNG_DEVICE_PREFIX_V, 10},        // 24
    {LNG_DEVICE_PREFIX_V, 10},        // 25
    {LNG_DEVICE_PREFIX_V, 10},        // 26
    {LNG_DEVICE_PREFIX_V, 10},        // 27
    {LNG_DEVICE_PREFIX_V, 10},        // 28
    {LNG_DEVICE_PREFIX_V, 10},        // 29
};

int DecimalsOfDivisor(int divisor) {
    switch (divisor) {
    case 10: return 1;
    case 100: return 2;
    case 1000: return 3;
    default: return 0;
    }
}
}  // namespace

CQuantityTable CQuantityTable::Build() {
    CQuantityTable table;
    for (int kind = 0; kind < kQuantityKindCount; ++kind) {
        QuantityInfo_t& row = table.m_rows[size_t(kind)];
        row.kind = kind;
        // The kind names are consecutive keys in kind order.
        row.name = GetText(LNG_SRC_F_Uncnown + kind);
        row.unit = kKinds[kind].unitKey < 0 ? QString() : GetText(kKinds[kind].unitKey);
        row.divisor = kKinds[kind].divisor;
    }
    table.m_channel = GetText(LNG_SRC_F_CHANNEL);
    table.m_unknown = GetText(LNG_SRC_F_UNCNOWN);
    table.m_built = true;
    return table;
}

const QuantityInfo_t& CQuantityTable::Row(unsigned kind) const {
    return m_rows[IsKnownKind(kind) ? kind : 0];
}

int CQuantityTable::DivisorOfKind(unsigned kind) {
    return IsKnownKind(kind) ? kKinds[kind].divisor : 1;
}

QString CQuantityTable::SeriesName(SourceCode code) const {
    if (ChannelIndexOf(code) > kMaxNamedChannelIndex || !IsKnownKind(KindOf(code))) return m_unknown;
    return m_channel + u' ' + QString::number(ChannelIndexOf(code) + 1) + QStringLiteral(": ") +
           m_rows[KindOf(code)].name;
}

QString CQuantityTable::ValueText(unsigned kind, double value) const {
    if (!IsKnownKind(kind)) return m_unknown;
    const int decimals = DecimalsOfDivisor(kKinds[kind].divisor);
    char buf[400];  // the widest double in fixed notation fits
    std::to_chars_result r;
    if (decimals > 0) {
        r = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, decimals);
    } else {
        // A whole number truncated toward zero; values beyond the int range (and NaN) would
        // make the conversion undefined, so they stop at its ends.
        int whole = 0;
        if (std::isnan(value))
            whole = 0;
        else if (value >= double(std::numeric_limits<int>::max()))
            whole = std::numeric_limits<int>::max();
        else if (value <= double(std::numeric_limits<int>::min()))
            whole = std::numeric_limits<int>::min();
        else
            whole = int(value);
        r = std::to_chars(buf, buf + sizeof buf, whole);
    }
    return QString::fromLatin1(buf, r.ptr - buf);
}

int ValueDecimalsOfKind(unsigned kind) {
    return IsKnownKind(kind) ? DecimalsOfDivisor(kKinds[kind].divisor) : 0;
}

std::size_t FormatRawValue(char* out, unsigned kind, std::int32_t raw) {
    return FormatScaledInteger(out, ValueDecimalsOfKind(kind), raw);
}
