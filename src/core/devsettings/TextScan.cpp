#include "devsettings/TextScan.h"

#include <charconv>
#include <string>

namespace {
bool IsSpace(QChar c) {
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r' || c == u'\v' || c == u'\f';
}
bool IsDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}
}  // namespace

void CTextScan::SkipSpace() {
    while (m_pos < m_text.size() && IsSpace(m_text[m_pos]))
        ++m_pos;
}

bool CTextScan::Expect(QChar c) {
    if (m_pos < m_text.size() && m_text[m_pos] == c) {
        ++m_pos;
        return true;
    }
    return false;
}

bool CTextScan::ReadInteger(int64_t* value) {
    const qsizetype start = m_pos;
    SkipSpace();
    bool negative = false;
    if (m_pos < m_text.size() && (m_text[m_pos] == u'-' || m_text[m_pos] == u'+'))
        negative = m_text[m_pos++] == u'-';
    if (m_pos >= m_text.size() || !IsDigit(m_text[m_pos])) {
        m_pos = start;
        return false;
    }
    constexpr uint64_t kLimit = uint64_t(INT64_MAX);
    uint64_t v = 0;
    while (m_pos < m_text.size() && IsDigit(m_text[m_pos])) {
        const unsigned d = unsigned(m_text[m_pos++].unicode() - u'0');
        v = v > (kLimit - d) / 10 ? kLimit : v * 10 + d;
    }
    *value = negative ? -int64_t(v) : int64_t(v);
    return true;
}

bool CTextScan::ReadDouble(double* value) {
    const qsizetype start = m_pos;
    SkipSpace();
    std::string number;
    if (m_pos < m_text.size() && (m_text[m_pos] == u'-' || m_text[m_pos] == u'+')) {
        if (m_text[m_pos] == u'-')
            number += '-';
        ++m_pos;
    }
    int digits = 0;
    while (m_pos < m_text.size() && IsDigit(m_text[m_pos]))
        number += char(m_text[m_pos++].unicode()), ++digits;
    if (m_pos < m_text.size() && m_text[m_pos] == u'.') {
        number += '.';
        ++m_pos;
        while (m_pos < m_text.size() && IsDigit(m_text[m_pos]))
            number += char(m_text[m_pos++].unicode()), ++digits;
    }
    if (digits == 0) {
        m_pos = start;
        return false;
    }
    // An exponent counts only when digits follow it, as scanf takes "2e" as 2.
    if (m_pos < m_text.size() && (m_text[m_pos] == u'e' || m_text[m_pos] == u'E')) {
        qsizetype p = m_pos + 1;
        std::string exponent = "e";
        if (p < m_text.size() && (m_text[p] == u'-' || m_text[p] == u'+'))
            exponent += char(m_text[p++].unicode());
        if (p < m_text.size() && IsDigit(m_text[p])) {
            while (p < m_text.size() && IsDigit(m_text[p]))
                exponent += char(m_text[p++].unicode());
            number += exponent;
            m_pos = p;
        }
    }
    double v = 0.0;
    const auto result = std::from_chars(number.data(), number.data() + number.size(), v);
    if (result.ec == std::errc::result_out_of_range) {
        // Too large or too small for a double: the nearest representable end.
        const bool negative = number[0] == '-';
        const size_t e = number.find('e');
        const bool tiny = e != std::string::npos && number.size() > e + 1 && number[e + 1] == '-';
        v = tiny ? 0.0 : (negative ? -1.0e308 : 1.0e308);
    } else if (result.ec != std::errc()) {
        m_pos = start;
        return false;
    }
    *value = v;
    return true;
}

bool CTextScan::ReadWord(int maxChars, QString* word) {
    SkipSpace();
    const qsizetype start = m_pos;
    while (m_pos < m_text.size() && !IsSpace(m_text[m_pos]) && m_pos - start < maxChars)
        ++m_pos;
    if (m_pos == start)
        return false;
    *word = m_text.mid(start, m_pos - start);
    return true;
}
