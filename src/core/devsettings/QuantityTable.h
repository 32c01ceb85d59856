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

// Decimals of a kind's value text: 1, 2 or 3 for divisors 10, 100, 1000, otherwise 0.
int ValueDecimalsOfKind(unsigned kind);

namespace quantity_detail {
inline constexpr char kDigitPairs[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

inline int DecimalDigits(std::uint32_t v) {
    int n = 1;
    while (v >= 10000) {
        v /= 10000;
        n += 4;
    }
    return n + (v >= 10) + (v >= 100) + (v >= 1000);
}
}  // namespace quantity_detail

// The same with the decimals already known, for loops that write millions of values; writes
// at most kMaxRawValueChars. Straight into out: a staging copy would stall on reloading
// the bytes just stored.
inline std::size_t FormatScaledInteger(char* out, int decimals, std::int32_t raw) {
    using quantity_detail::kDigitPairs;
    std::uint32_t m = raw < 0 ? std::uint32_t(0) - std::uint32_t(raw) : std::uint32_t(raw);
    std::uint32_t frac = 0;
    switch (decimals) {
    case 1: frac = m % 10; m /= 10; break;
    case 2: frac = m % 100; m /= 100; break;
    case 3: frac = m % 1000; m /= 1000; break;
    default: decimals = 0; break;
    }
    char* p = out;
    if (raw < 0) *p++ = '-';
    char* const wholeEnd = p + quantity_detail::DecimalDigits(m);
    char* q = wholeEnd;
    while (m >= 100) {
        q -= 2;
        __builtin_memcpy(q, kDigitPairs + 2 * (m % 100), 2);
        m /= 100;
    }
    if (m >= 10) {
        q -= 2;
        __builtin_memcpy(q, kDigitPairs + 2 * m, 2);
    } else {
        *--q = char('0' + m);
    }
    p = wholeEnd;
    switch (decimals) {
    case 1:
        p[0] = '.';
        p[1] = char('0' + frac);
        p += 2;
        break;
    case 2:
        p[0] = '.';
        __builtin_memcpy(p + 1, kDigitPairs + 2 * frac, 2);
        p += 3;
        break;
    case 3:
        p[0] = '.';
        p[1] = char('0' + frac / 100);
        __builtin_memcpy(p + 2, kDigitPairs + 2 * (frac % 100), 2);
        p += 4;
        break;
    default:
        break;
    }
    return std::size_t(p - out);
}
