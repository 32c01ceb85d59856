#include "devsettings/MyPropertyIP.h"

#include <algorithm>

#include "devsettings/TextScan.h"

CMyPropertyIP::CMyPropertyIP(const QString& name, uint32_t defaultAddress, const QString& description,
                             RegisterBinding binding)
    : CMyProperty(name, description, binding), m_address(defaultAddress), m_baseline(defaultAddress) {}

QString CMyPropertyIP::AddressText(uint32_t a) {
    return QStringLiteral("%1.%2.%3.%4")
        .arg(a & 0xFF)
        .arg((a >> 8) & 0xFF)
        .arg((a >> 16) & 0xFF)
        .arg(a >> 24);
}

QString CMyPropertyIP::FormatValue() const {
    return AddressText(m_address);
}

bool CMyPropertyIP::ParseText(const QString& text) {
    const QString trimmed = text.trimmed();
    CTextScan scan(trimmed);
    int64_t n[4] = {};
    for (int i = 0; i < 4; ++i) {
        if (i > 0 && !scan.Expect(u'.'))
            return false;
        if (!scan.ReadInteger(&n[i]))
            return false;
    }
    uint32_t address = 0;
    for (int i = 0; i < 4; ++i)
        address |= uint32_t(std::clamp<int64_t>(n[i], 0, 255)) << (8 * i);
    if (address == m_address)
        return false;
    m_address = address;
    NotifyParameterChanged();
    return true;
}

void CMyPropertyIP::AcceptValue() {
    m_baseline = m_address;
    ClearMark();
}

void CMyPropertyIP::RevertToBaseline() {
    m_address = m_baseline;
    ClearMark();
}

void CMyPropertyIP::SetValue(int64_t v) {
    const uint32_t address = Low32(v);
    const bool changed = address != m_address;
    m_address = address;
    AfterSetValue(changed);
}
