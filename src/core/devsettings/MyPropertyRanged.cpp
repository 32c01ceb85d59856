#include "devsettings/MyPropertyRanged.h"

CMyPropertyRanged::CMyPropertyRanged(const QString& name, int32_t defaultValue, int32_t minimum,
                                     int32_t maximum, const QString& description, RegisterBinding binding)
    : CMyProperty(name, description, binding),
      m_value(defaultValue),
      m_minimum(minimum),
      m_maximum(maximum),
      m_baseline(defaultValue) {}

int32_t CMyPropertyRanged::Clamp(int64_t v) const {
    if (v > m_maximum)
        return m_maximum;
    if (v < m_minimum)
        return m_minimum;
    return int32_t(v);
}

bool CMyPropertyRanged::TakeTyped(int64_t v) {
    const int32_t value = Clamp(v);
    if (value == m_value)
        return false;
    m_value = value;
    NotifyParameterChanged();
    return true;
}

void CMyPropertyRanged::AcceptValue() {
    m_baseline = m_value;
    ClearMark();
}

void CMyPropertyRanged::RevertToBaseline() {
    m_value = m_baseline;
    ClearMark();
}

void CMyPropertyRanged::SetValue(int64_t v) {
    const int32_t value = Clamp(v);
    const bool changed = value != m_value;
    m_value = value;
    AfterSetValue(changed);
}

void CMyPropertyRanged::SetLimits(int32_t minimum, int32_t maximum) {
    m_minimum = minimum;
    m_maximum = maximum;
    SetValue(m_value);
}
