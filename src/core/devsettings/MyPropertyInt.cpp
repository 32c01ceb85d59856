#include "devsettings/MyPropertyInt.h"

#include "devsettings/TextScan.h"

CMyPropertyInt::CMyPropertyInt(const QString& name, int32_t defaultValue, int32_t minimum, int32_t maximum,
                               const QString& description, RegisterBinding binding)
    : CMyProperty(name, description, binding),
      m_value(defaultValue),
      m_minimum(minimum),
      m_maximum(maximum),
      m_baseline(defaultValue) {}

const QString& CMyPropertyInt::Characters() {
    static const QString kChars = QStringLiteral("0123456789-");
    return kChars;
}

int32_t CMyPropertyInt::Clamp(int64_t v) const {
    if (v > m_maximum)
        return m_maximum;
    if (v < m_minimum)
        return m_minimum;
    return int32_t(v);
}

bool CMyPropertyInt::ParseText(const QString& text) {
    const QString trimmed = text.trimmed();
    CTextScan scan(trimmed);
    int64_t n = 0;
    if (!scan.ReadInteger(&n))
        return false;
    const int32_t value = Clamp(n);
    if (value == m_value)
        return false;
    m_value = value;
    NotifyParameterChanged();
    return true;
}

void CMyPropertyInt::AcceptValue() {
    m_baseline = m_value;
    ClearMark();
}

void CMyPropertyInt::RevertToBaseline() {
    m_value = m_baseline;
    ClearMark();
}

void CMyPropertyInt::SetValue(int64_t v) {
    const int32_t value = Clamp(v);
    const bool changed = value != m_value;
    m_value = value;
    AfterSetValue(changed);
}
