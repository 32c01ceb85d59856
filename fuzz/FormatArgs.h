#pragma once

// Arguments of a format signature, drawn from the fuzz input, and the formatter called
// with as many of them as the signature lists.

#include <QString>
#include <limits>
#include <vector>

#include "FuzzSupport.h"
#include "language/TextFormat.h"

inline std::vector<FormatArg> FuzzFormatArgs(const char* signature, FuzzInput& in) {
    constexpr double kInf = std::numeric_limits<double>::infinity();
    std::vector<FormatArg> args;
    for (const char* s = signature; *s; ++s) {
        const std::uint32_t v = in.U32();
        switch (*s) {
            case 'd': args.emplace_back(qint64(std::int32_t(v)) * (v & 1 ? 1 : 0x7FFFFFFFLL)); break;
            case 'u': args.emplace_back(quint64(v) << (v & 31)); break;
            case 'f': {
                static const double kSpecial[] = {0.0, -0.0, 1e308, -1e-308, kInf, -kInf, std::numeric_limits<double>::quiet_NaN(), 123.456};
                args.emplace_back(v & 0x80 ? kSpecial[v & 7] : double(std::int32_t(v)) / 7.0);
                break;
            }
            default:
                // Text arguments that look like templates themselves must come out as they are.
                args.emplace_back(QStringLiteral("%s%d%n%%").repeated(int(v & 3)) + QString::number(v));
                break;
        }
    }
    return args;
}

// Formats with the arguments of a signature of up to eight letters; ok tells whether the
// template matched.
inline QString FuzzFormat(const QString& templ, const std::vector<FormatArg>& a, bool* ok) {
    switch (a.size()) {
        case 0: return FormatText(templ, {}, ok);
        case 1: return FormatText(templ, {a[0]}, ok);
        case 2: return FormatText(templ, {a[0], a[1]}, ok);
        case 3: return FormatText(templ, {a[0], a[1], a[2]}, ok);
        case 4: return FormatText(templ, {a[0], a[1], a[2], a[3]}, ok);
        case 5: return FormatText(templ, {a[0], a[1], a[2], a[3], a[4]}, ok);
        case 6: return FormatText(templ, {a[0], a[1], a[2], a[3], a[4], a[5]}, ok);
        case 7: return FormatText(templ, {a[0], a[1], a[2], a[3], a[4], a[5], a[6]}, ok);
        default: return FormatText(templ, {a[0], a[1], a[2], a[3], a[4], a[5], a[6], a[7]}, ok);
    }
}

// Whether a template's placeholders take arguments of these kinds, one for one.
inline bool SignatureAccepts(const QString& placeholders, const std::vector<FormatArg>& a) {
    if (placeholders.size() != qsizetype(a.size())) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const char p = char(placeholders[qsizetype(i)].unicode());
        const char k = a[i].Kind();
        const bool fits = (p == 'd' || p == 'u') ? (k == 'd' || k == 'u') : p == k;
        if (!fits) return false;
    }
    return true;
}

// What must hold for any template and arguments: a template that does not take exactly
// these arguments is shown as it stands with the arguments appended; one that does gives a
// text of bounded length (widths and precisions are capped).
inline void CheckFormatted(const QString& templ, const std::vector<FormatArg>& args) {
    bool ok = false;
    const QString out = FuzzFormat(templ, args, &ok);
    bool valid = false;
    const QString placeholders = PlaceholderSignature(templ, &valid);
    FUZZ_CHECK(ok == (valid && SignatureAccepts(placeholders, args)));
    if (!ok) {
        QString expected = templ;
        for (const FormatArg& a : args) expected += u' ' + a.PlainText();
        FUZZ_CHECK(out == expected);
        return;
    }
    qsizetype argText = 0;
    for (const FormatArg& a : args) argText += a.PlainText().size();
    // A capped field of 512 plus the longest rendering of a double (about 330 digits).
    FUZZ_CHECK(out.size() <= templ.size() + argText + qsizetype(args.size()) * (512 + 400));
}
