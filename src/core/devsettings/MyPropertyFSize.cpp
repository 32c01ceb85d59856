#include "devsettings/MyPropertyFSize.h"

#include "language/Language.h"

CMyPropertyFSize::CMyPropertyFSize(const QString& name, uint32_t defaultBytes, const QString& description,
                                   RegisterBinding binding)
    : CMyPropertyChoice(name, description, binding) {
    static constexpr int kNumbers[kSizeCount] = {32, 64, 128, 256, 512, 1,   2,  4,
                                                 8,  16, 32,  64,  128, 256, 512};
    for (int i = 0; i < kSizeCount; ++i) {
        const QString& unit = GetText(i < 5 ? LNG_DEVICE_PREFIX_KB : LNG_DEVICE_PREFIX_MB);
        // Two sizes that read alike would be one choice with two meanings: the later goes.
        if (AddOption(QStringLiteral("%1 %2").arg(kNumbers[i]).arg(unit)))
            m_bytes.push_back(SizeBytes(i));
    }
    StartAt(IndexOf(defaultBytes));
}

uint32_t CMyPropertyFSize::TableValue(int index) const {
    return index >= 0 && size_t(index) < m_bytes.size() ? m_bytes[size_t(index)] : 0;
}

int CMyPropertyFSize::IndexOf(int64_t bytes) const {
    for (size_t i = 0; i < m_bytes.size(); ++i)
        if (int64_t(m_bytes[i]) == bytes)
            return int(i);
    return 0;
}
