#include "devsettings/MyPropertySource.h"

#include "devsettings/TextScan.h"

CMyPropertySource::CMyPropertySource(const QString& name, SourceCode defaultCode, const QString& description,
                                     RegisterBinding binding)
    : CMyProperty(name, description, binding), m_catalogue(BuildSourceCatalogue()) {
    for (const SourceInfo_t& row : m_catalogue)
        if (AddOption(row.name))
            m_codes.push_back(row.code);
    m_index = m_baseline = IndexOf(defaultCode);
}

SourceCode CMyPropertySource::TableValue(int index) const {
    return index >= 0 && size_t(index) < m_codes.size() ? m_codes[size_t(index)] : kNoSource;
}

int CMyPropertySource::IndexOf(int64_t code) const {
    for (size_t i = 0; i < m_codes.size(); ++i)
        if (int64_t(m_codes[i]) == code)
            return int(i);
    return 0;
}

QString CMyPropertySource::FormatValue() const {
    return m_index >= 0 && m_index < m_options.size() ? m_options[m_index] : QString();
}

bool CMyPropertySource::ParseText(const QString& text) {
    const int found = MatchOption(text);
    if (found < 0 || found == m_index)
        return false;
    m_index = found;
    NotifyParameterChanged();
    return true;
}

void CMyPropertySource::AcceptValue() {
    m_baseline = m_index;
    ClearMark();
}

void CMyPropertySource::RevertToBaseline() {
    m_index = m_baseline;
    ClearMark();
}

void CMyPropertySource::SetValue(int64_t code) {
    const int index = IndexOf(int64_t(Low32(code)));
    const bool changed = index != m_index;
    m_index = index;
    AfterSetValue(changed);
}
