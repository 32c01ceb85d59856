#include "language/TextFormat.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "common/Check.h"
#include "language/FormatTable.h"
#include "language/Language.h"

namespace {

// Width and precision above this are refused: a typed "%999999999d" must not allocate a gigabyte.
constexpr int kMaxFieldWidth = 512;

struct Placeholder {
    qsizetype begin = 0;  // index of '%'
    qsizetype end = 0;    // one past the conversion letter
    std::string flags;
    int width = -1;
    int precision = -1;
    char conversion = 0;
    char kind = 0;  // 'd', 'u', 'f', 's' (see FormatTable.h)
};

// Parses every placeholder of templ; false on a malformed or unsupported one.
bool ParsePlaceholders(const QString& templ, std::vector<Placeholder>& out) {
    const qsizetype n = templ.size();
    for (qsizetype i = 0; i < n; ++i) {
        if (templ[i] != u'%') continue;
        Placeholder p;
        p.begin = i;
        qsizetype j = i + 1;
        if (j < n && templ[j] == u'%') {
            i = j;
            continue;
        }
        while (j < n && QStringView(u"-+ #0").contains(templ[j])) {
            if (p.flags.size() > 8) return false;
            p.flags += char(templ[j].unicode());
            ++j;
        }
        auto readNumber = [&](int& value) {
            value = 0;
            bool any = false;
            while (j < n && templ[j] >= u'0' && templ[j] <= u'9') {
                value = value * 10 + (templ[j].unicode() - u'0');
                if (value > kMaxFieldWidth) return false;
                any = true;
                ++j;
            }
            if (!any) value = -1;
            return true;
        };
        if (!readNumber(p.width)) return false;
        if (j < n && templ[j] == u'.') {
            ++j;
            if (!readNumber(p.precision)) return false;
            if (p.precision < 0) p.precision = 0;
        }
        // Length modifiers change nothing here: every argument is rendered from its own type.
        while (j < n && QStringView(u"hlLqjzt").contains(templ[j])) ++j;
        if (j < n - 2 && templ[j] == u'I' && templ[j + 1] == u'6' && templ[j + 2] == u'4') j += 3;
        if (j >= n) return false;
        const char16_t c = templ[j].unicode();
        switch (c) {
            case u'd': case u'i':
                p.kind = 'd';
                break;
            case u'u': case u'o': case u'x': case u'X': case u'c':
                p.kind = 'u';
                break;
            case u'f': case u'F': case u'e': case u'E': case u'g': case u'G':
                p.kind = 'f';
                break;
            case u's': case u'S':
                p.kind = 's';
                break;
            default:
                return false;
        }
        p.conversion = char(c);
        p.end = j + 1;
        out.push_back(p);
        i = j;
    }
    return true;
}

bool Accepts(char placeholderKind, char argKind) {
    if (placeholderKind == 'd' || placeholderKind == 'u') return argKind == 'd' || argKind == 'u';
    return placeholderKind == argKind;
}

std::string Directive(const Placeholder& p, const char* length, char conversion) {
    std::string d = "%" + p.flags;
    if (p.width >= 0) d += std::to_string(p.width);
    if (p.precision >= 0) {
        d += '.';
        d += std::to_string(p.precision);
    }
    d += length;
    d += conversion;
    return d;
}

template <typename T>
QString Printf(const std::string& directive, T value) {
    const int size = std::snprintf(nullptr, 0, directive.c_str(), value);
    if (size < 0) return QString();
    std::string buf(size_t(size) + 1, '\0');
    std::snprintf(buf.data(), buf.size(), directive.c_str(), value);
    buf.resize(size_t(size));
    return QString::fromLatin1(buf.data(), qsizetype(buf.size()));
}

QString Pad(QString text, const Placeholder& p) {
    if (p.width > text.size()) {
        const QString fill(p.width - text.size(), u' ');
        text = p.flags.find('-') != std::string::npos ? text + fill : fill + text;
    }
    return text;
}

QString Render(const Placeholder& p, const FormatArg& arg) {
    const auto& v = arg.Value();
    switch (p.kind) {
        case 's': {
            QString s = std::get<QString>(v);
            if (p.precision >= 0 && s.size() > p.precision) s.truncate(p.precision);
            return Pad(s, p);
        }
        case 'f':
            return Printf(Directive(p, "", p.conversion), std::get<double>(v));
        default: {
            const bool isSigned = std::holds_alternative<qint64>(v);
            const qint64 sv = isSigned ? std::get<qint64>(v) : qint64(std::get<quint64>(v));
            const quint64 uv = isSigned ? quint64(std::get<qint64>(v)) : std::get<quint64>(v);
            if (p.conversion == 'c') {
                const char32_t code = char32_t(uv);
                return Pad(QString::fromUcs4(&code, 1), p);
            }
            if (p.conversion == 'd' || p.conversion == 'i')
                return Printf(Directive(p, "ll", 'd'), static_cast<long long>(sv));
            return Printf(Directive(p, "ll", p.conversion), static_cast<unsigned long long>(uv));
        }
    }
}

QString Fallback(const QString& templ, std::initializer_list<FormatArg> args) {
    QString out = templ;
    for (const FormatArg& a : args) out += u' ' + a.PlainText();
    return out;
}

}  // namespace

char FormatArg::Kind() const {
    switch (m_value.index()) {
        case 0: return 'd';
        case 1: return 'u';
        case 2: return 'f';
        default: return 's';
    }
}

QString FormatArg::PlainText() const {
    switch (m_value.index()) {
        case 0: return QString::number(std::get<qint64>(m_value));
        case 1: return QString::number(std::get<quint64>(m_value));
        case 2: return QString::number(std::get<double>(m_value), 'g', 15);
        default: return std::get<QString>(m_value);
    }
}

QString PlaceholderSignature(const QString& templ, bool* valid) {
    std::vector<Placeholder> ps;
    const bool ok = ParsePlaceholders(templ, ps);
    if (valid) *valid = ok;
    QString sig;
    if (!ok) return sig;
    for (const Placeholder& p : ps) sig += QChar(char16_t(p.kind));
    return sig;
}

QString FormatText(const QString& templ, std::initializer_list<FormatArg> args, bool* ok) {
    std::vector<Placeholder> ps;
    bool match = ParsePlaceholders(templ, ps) && ps.size() == args.size();
    if (match) {
        auto a = args.begin();
        for (const Placeholder& p : ps) match = match && Accepts(p.kind, (a++)->Kind());
    }
    if (ok) *ok = match;
    if (!match) return Fallback(templ, args);

    QString out;
    out.reserve(templ.size() + 16 * qsizetype(args.size()));
    qsizetype pos = 0;
    auto a = args.begin();
    for (const Placeholder& p : ps) {
        out += QStringView(templ).mid(pos, p.begin - pos).toString().replace(QStringLiteral("%%"), QStringLiteral("%"));
        out += Render(p, *a++);
        pos = p.end;
    }
    out += QStringView(templ).mid(pos).toString().replace(QStringLiteral("%%"), QStringLiteral("%"));
    return out;
}

QString FormatLng(int id, std::initializer_list<FormatArg> args, bool* ok) {
    const char* signature = LngFormatSignature(id);
    if (!signature || qsizetype(std::strlen(signature)) != qsizetype(args.size())) {
        TRV730_PROGRAMMING_ERROR("language text formatted with arguments its format table entry does not list");
    } else {
        auto a = args.begin();
        for (const char* s = signature; *s; ++s, ++a)
            if (!Accepts(*s, a->Kind())) TRV730_PROGRAMMING_ERROR("format argument of the wrong kind");
    }
    return FormatText(GetText(id), args, ok);
}
