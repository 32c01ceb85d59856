#include "devsettings/MyPropertyTimeLen.h"

#include <algorithm>

#include "devsettings/TextScan.h"
#include "language/Language.h"

namespace {
constexpr int kMaxUnitWordChars = 10;
}

CMyPropertyTimeLen::CMyPropertyTimeLen(const QString& name, int32_t defaultValue, int32_t minimum,
                                       int32_t maximum, int unitSet, const QString& description,
                                       RegisterBinding binding)
    : CMyProperty(name, description, binding),
      m_value(defaultValue),
      m_minimum(minimum),
      m_maximum(maximum),
      m_baseline(defaultValue),
      m_unitSet(unitSet == 1 ? 1 : 0),
      m_units(GetText(m_unitSet == 0 ? LNG_GLOB_TIMELIST1 : LNG_GLOB_TIMELIST2).split(u'|')) {
    while (m_units.size() < (m_unitSet == 0 ? 3 : 2))
        m_units.append(QString());
}

QString CMyPropertyTimeLen::FormatValue() const {
    int64_t n = m_value;
    int unit = 0;
    if (m_unitSet == 0) {
        if (m_value > 999) {
            n = m_value / 1000;
            unit = 1;
            if (n > 60) {
                n /= 60;
                unit = 2;
            }
        }
    } else if (m_value > 60) {
        n = m_value / 60;
        unit = 1;
    }
    return QStringLiteral("%1 %2").arg(n).arg(m_units[unit]);
}

bool CMyPropertyTimeLen::ParseText(const QString& text) {
    const QString trimmed = text.trimmed();
    CTextScan scan(trimmed);
    int64_t n = 0;
    if (!scan.ReadInteger(&n))
        return false;
    // Far beyond any range either way; keeps the unit scaling below from overflowing.
    n = std::clamp<int64_t>(n, -(int64_t(1) << 40), int64_t(1) << 40);
    QString word;
    if (scan.ReadWord(kMaxUnitWordChars, &word)) {
        static constexpr int64_t kScale[2][3] = {{1, 1000, 60000}, {1, 60, 0}};
        int found = -1;
        for (int i = 0; i < (m_unitSet == 0 ? 3 : 2) && found < 0; ++i)
            if (m_units[i] == word)
                found = i;
        if (found < 0)
            return false;
        n *= kScale[m_unitSet][found];
    }
    const int32_t value = Clamp(n);
    if (value == m_value)
        return false;
    m_value = value;
    NotifyParameterChanged();
    return true;
}

int32_t CMyPropertyTimeLen::Clamp(int64_t v) const {
    if (v > m_maximum)
        return m_maximum;
    if (v < m_minimum)
        return m_minimum;
    return int32_t(v);
}

void CMyPropertyTimeLen::AcceptValue() {
    m_baseline = m_value;
    ClearMark();
}

void CMyPropertyTimeLen::RevertToBaseline() {
    m_value = m_baseline;
    ClearMark();
}

void CMyPropertyTimeLen::SetValue(int64_t v) {
    const int32_t value = Clamp(v);
    const bool changed = value != m_value;
    m_value = value;
    AfterSetValue(changed);
}
