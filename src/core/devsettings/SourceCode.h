#pragma once

#include <cstdint>

// A recorded or watched quantity of one input channel, as the device names it in its
// settings registers, its recorded-data files and the live graph:
//   bits 24..31 channel index (channel number = index + 1)
//   bits 16..23 variant index within the channel
//   bits  0..15 quantity kind
// All ones (-1 as a signed value) means "no source".
using SourceCode = std::uint32_t;

inline constexpr SourceCode kNoSource = 0xFFFFFFFFu;

// Quantity kinds; the order is the order of their name keys in the language table.
enum QuantityKind : int {
    QK_UNKNOWN = 0,
    QK_VOLTAGE_RMS = 1,
    QK_VOLTAGE_INS = 2,
    QK_VOLTAGE_PKU = 3,
    QK_VOLTAGE_PKD = 4,
    QK_CURRENT_RMS = 5,
    QK_CURRENT_INS = 6,
    QK_CURRENT_PKU = 7,
    QK_CURRENT_PKD = 8,
    QK_FREQUENCY = 9,
    QK_THD = 10,
    QK_TEMPERATURE = 11,
    QK_VOLTAGE_DC = 12,
    QK_CURRENT_DC = 13,
    QK_LOGIC = 14,
    QK_POWER_F = 15,
    QK_POWER_A = 16,
    QK_POWER_Q = 17,
    QK_POWER_COS = 18,
    QK_ENERGY_A = 19,
    QK_ENERGY_Q = 20,
    QK_USER_SCALE = 21,
    QK_LOGIC_PLS = 22,
    QK_LOGIC_CNT = 23,
    QK_VOLTAGE_LIN_AB = 24,
    QK_VOLTAGE_LIN_BC = 25,
    QK_VOLTAGE_LIN_CA = 26,
    QK_VOLTAGE_RSEQ = 27,
    QK_VOLTAGE_DSEQ = 28,
    QK_VOLTAGE_ZSEQ = 29,
};

inline constexpr int kQuantityKindCount = 30;
// Channel indexes above this have no name of their own.
inline constexpr unsigned kMaxNamedChannelIndex = 39;

constexpr unsigned ChannelIndexOf(SourceCode code) { return code >> 24; }
constexpr unsigned VariantIndexOf(SourceCode code) { return (code >> 16) & 0xFFu; }
// The kind field as stored; it may be above the known kinds.
constexpr unsigned KindOf(SourceCode code) { return code & 0xFFFFu; }
constexpr bool IsKnownKind(unsigned kind) { return kind < unsigned(kQuantityKindCount); }

constexpr SourceCode MakeSourceCode(unsigned channelIndex, unsigned variantIndex, unsigned kind) {
    return (SourceCode(channelIndex & 0xFFu) << 24) | (SourceCode(variantIndex & 0xFFu) << 16) |
           SourceCode(kind & 0xFFFFu);
}
