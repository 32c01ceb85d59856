#include "devsettings/MyPropertyChoice.h"

QString CMyPropertyChoice::FormatValue() const {
    return m_index >= 0 && m_index < m_options.size() ? m_options[m_index] : QString();
}

bool CMyPropertyChoice::ParseText(const QString& text) {
    const int found = MatchOption(text);
    if (found < 0 || found == m_index)
        return false;
    m_index = found;
    NotifyParameterChanged();
    return true;
}

void CMyPropertyChoice::AcceptValue() {
    m_baseline = m_index;
    ClearMark();
}

void CMyPropertyChoice::RevertToBaseline() {
    m_index = m_baseline;
    ClearMark();
}

void CMyPropertyChoice::Select(int index) {
    const bool changed = index != m_index;
    m_index = index;
    AfterSetValue(changed);
}
