#include "devsettings/SourceCatalogue.h"

#include <array>
#include <iterator>

#include "language/Language.h"

namespace {
// Threshold unit and range by kind.
struct KindLimits {
    int unitKey;  // -1: no unit
    double minimum;
    double maximum;
    double step;
};

KindLimits LimitsOf(int kind) {
    switch (kind) {
    case 1: case 3: case 24: case 25: case 26: case 27: case 28: case 29:
        return {LNG_DEVICE_PREFIX_V, 5.0, 42257.7, 0.1};
    case 2: return {LNG_DEVICE_PREFIX_V, -42257.7, 42257.7, 0.1};
    case 4: return {LNG_DEVICE_PREFIX_V, -42257.7, -5.0, 0.1};
    case 5: case 7: return {LNG_DEVICE_PREFIX_A, 0.05, 4000.0, 0.01};
    case 6: return {LNG_DEVICE_PREFIX_A, -4000.0, 4000.0, 0.01};
    case 8: return {LNG_DEVICE_PREFIX_A, -4000.0, -0.05, 0.01};
    case 9: return {LNG_DEVICE_PREFIX_HZ, 25.0, 70.0, 0.01};
    case 10: return {LNG_DEVICE_PREFIX_PERCENT, 0.0, 100.0, 1.0};
    case 11: return {LNG_DEVICE_PREFIX_DEGRE, -50.0, 250.0, 0.1};
    case 12: return {LNG_DEVICE_PREFIX_V, 0.05, 12.0, 0.01};
    case 13: return {LNG_DEVICE_PREFIX_MA, 0.05, 22.0, 0.01};
    case 14: return {LNG_DEVICE_PREFIX_LOG, 0.0, 1.0, 1.0};
    case 15: return {LNG_DEVICE_PREFIX_VA, 2.5, 169030800.0, 0.1};
    case 16: return {LNG_DEVICE_PREFIX_WT, 2.5, 169030800.0, 0.1};
    case 17: return {LNG_DEVICE_PREFIX_VAR, 2.5, 169030800.0, 0.1};
    case 18: return {LNG_DEVICE_PREFIX_COS, 0.001, 1.0, 0.001};
    case 19: return {LNG_DEVICE_PREFIX_KWTH, 0.0, 99999999.9, 0.1};
    case 20: return {LNG_DEVICE_PREFIX_KVARH, 0.0, 99999999.9, 0.1};
    case 21: return {-1, -999.9, 3000.0, 0.1};
    case 22: return {LNG_DEVICE_PREFIX_IVM, 0.0, 999999.9, 0.1};
    case 23: return {LNG_DEVICE_PREFIX_IMP, 0.0, 999999999.0, 1.0};
    default: return {-1, 0.0, 0.0, 1.0};
    }
}

// The kinds of a channel's variants, V1 first; channels sharing a layout share a row.
struct ChannelLayout {
    int firstChannel;  // 1-based
    int lastChannel;
    std::array<int, 6> kinds;
    int variants;
};

constexpr ChannelLayout kLayouts[] = {
    {1, 3, {1, 9, 10, 3, 4, 2}, 6},
    {4, 7, {5, 9, 10, 7, 8, 6}, 6},
    {8, 9, {11}, 1},
    {10, 10, {12, 21}, 2},
    {11, 11, {13, 21}, 2},
    {12, 15, {14, 22, 23}, 3},
    {16, 18, {15, 16, 17, 18, 19, 20}, 6},
    {19, 19, {24, 25, 26, 27, 28, 29}, 6},
};
}  // namespace

SourceCatalogue BuildSourceCatalogue() {
    SourceCatalogue rows;
    rows.reserve(kSourceCatalogueRows);
    rows.push_back({kNoSource, GetText(LNG_SRC_S_NULL), QString(), 0.0, 0.0, 1.0});

    // The row names are consecutive keys, channel 1 variant 1 first.
    int nameKey = LNG_SRC_S_K01_V1;
    for (const ChannelLayout& layout : kLayouts) {
        for (int channel = layout.firstChannel; channel <= layout.lastChannel; ++channel) {
            for (int v = 0; v < layout.variants; ++v) {
                const int kind = layout.kinds[size_t(v)];
                const KindLimits limits = LimitsOf(kind);
                rows.push_back({MakeSourceCode(unsigned(channel - 1), unsigned(v), unsigned(kind)),
                                GetText(nameKey++),
                                limits.unitKey < 0 ? QString() : GetText(limits.unitKey),
                                limits.minimum, limits.maximum, limits.step});
            }
        }
    }
    return rows;
}

int FindSourceRow(const SourceCatalogue& catalogue, SourceCode code) {
    for (size_t i = 0; i < catalogue.size(); ++i)
        if (catalogue[i].code == code) return int(i);
    return -1;
}

const SourceInfo_t* FindSource(const SourceCatalogue& catalogue, SourceCode code) {
    const int row = FindSourceRow(catalogue, code);
    return row < 0 ? nullptr : &catalogue[size_t(row)];
}
