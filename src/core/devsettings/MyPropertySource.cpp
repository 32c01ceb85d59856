#include "devsettings/MyPropertySource.h"

#include "devsettings/TextScan.h"

CMyPropertySource::CMyPropertySource(const QString& name, SourceCode defaultCode, const QString& description,
                                     RegisterBinding binding)
    : CMyPropertyChoice(name, description, binding), m_catalogue(BuildSourceCatalogue()) {
    for (const SourceInfo_t& row : m_catalogue)
        if (AddOption(row.name))
            m_codes.push_back(row.code);
    StartAt(IndexOf(defaultCode));
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

void CMyPropertySource::SetValue(int64_t code) { Select(IndexOf(int64_t(Low32(code)))); }
