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
    : CMyPropertyRanged(name, defaultValue, minimum, maximum, description, binding),
      m_unitSet(unitSet == 1 ? 1 : 0),
      m_units(GetText(m_unitSet == 0 ? LNG_GLOB_TIMELIST1 : LNG_GLOB_TIMELIST2).split(u'|')) {
    while (m_units.size() < (m_unitSet == 0 ? 3 : 2))
        m_units.append(QString());
}

QString CMyPropertyTimeLen::FormatValue() const {
    const int32_t value = Current();
    int64_t n = value;
    int unit = 0;
    if (m_unitSet == 0) {
        if (value > 999) {
            n = value / 1000;
            unit = 1;
            if (n > 60) {
                n /= 60;
                unit = 2;
            }
        }
    } else if (value > 60) {
        n = value / 60;
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
    return TakeTyped(n);
}
