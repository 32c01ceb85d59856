#include "devsettings/MyPropertyList.h"

CMyPropertyList::CMyPropertyList(const QString& name, int defaultIndex, const QString& options,
                                 const QString& description, RegisterBinding binding)
    : CMyProperty(name, description, binding), m_index(defaultIndex & 0xFFFF), m_baseline(m_index) {
    for (const QString& option : SplitOptions(options))
        AddOption(option);
}

QString CMyPropertyList::FormatValue() const {
    return m_index >= 0 && m_index < m_options.size() ? m_options[m_index] : QString();
}

bool CMyPropertyList::ParseText(const QString& text) {
    const int found = MatchOption(text);
    if (found < 0 || found == m_index)
        return false;
    m_index = found;
    NotifyParameterChanged();
    return true;
}

void CMyPropertyList::AcceptValue() {
    m_baseline = m_index;
    ClearMark();
}

void CMyPropertyList::RevertToBaseline() {
    m_index = m_baseline;
    ClearMark();
}

void CMyPropertyList::SetValue(int64_t v) {
    const int index = int(v & 0xFFFF);
    const bool changed = index != m_index;
    m_index = index;
    AfterSetValue(changed);
}
