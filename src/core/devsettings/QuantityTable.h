#pragma once

#include <QString>
#include <array>
#include <cstddef>
#include <cstdint>

#include "devsettings/SourceCode.h"

// What a quantity kind is called, its unit and the scale of its raw integers.
struct QuantityInfo_t {
    int kind = 0;
    QString name;  // may be shown as part of a series name
    QString unit;  // may be empty
    int divisor = 1;  // raw integer / divisor = value in units
};

// The kinds' names, units and divisors with their texts looked up when built. Every window
// that shows recorded or live series keeps its own copy; the copy is read-only afterwards,
// so any thread may read it.
class CQuantityTable {
public:
    CQuantityTable() = default;  // empty until Build()

    // Fills the 30 rows from the current language.
    static CQuantityTable Build();

    bool IsBuilt() const { return m_built; }

    // Row of a kind 0..29; kinds outside give row 0.
    const QuantityInfo_t& Row(unsigned kind) const;

    // Divisor of a kind or of a code's kind; kinds above 29 give 1. Needs no texts.
    static int DivisorOfKind(unsigned kind);
    static int DivisorOf(SourceCode code) { return DivisorOfKind(KindOf(code)); }
    // Raw value scaled to units, in double precision.
    static double PhysicalValue(SourceCode code, std::int32_t raw) {
        return double(raw) / double(DivisorOf(code));
    }

    // "<channel text> <channel number>: <kind name>", or the unknown-source text for a
    // channel index above 39, a kind above 29 or the no-source code.
    QString SeriesName(SourceCode code) const;

    // A value already divided by its kind's divisor, written with as many decimals as the
    // divisor gives (10: one, 100: two, 1000: three, otherwise a whole number truncated
    // toward zero); kinds above 29 give the unknown-source text.
    QString ValueText(unsigned kind, double value) const;

    const QString& UnknownText() const { return m_unknown; }

private:
    std::array<QuantityInfo_t, kQuantityKindCount> m_rows{};
    QString m_channel;
    QString m_unknown;
    bool m_built = false;
};

// Writes the value text of a raw integer of a kind into out, exactly as ValueText would
// write raw / divisor, but with integer arithmetic only (no rounding can creep in). Kinds
// above 29 are written as the raw whole number, so no recorded value is ever lost.
// out needs room for kMaxRawValueChars; returns the number of chars written (no terminator).
inline constexpr std::size_t kMaxRawValueChars = 13;
std::size_t FormatRawValue(char* out, unsigned kind, std::int32_t raw);
