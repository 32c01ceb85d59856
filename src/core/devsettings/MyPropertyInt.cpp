#include "devsettings/MyPropertyInt.h"

#include "devsettings/TextScan.h"

CMyPropertyInt::CMyPropertyInt(const QString& name, int32_t defaultValue, int32_t minimum, int32_t maximum,
                               const QString& description, RegisterBinding binding)
    : CMyPropertyRanged(name, defaultValue, minimum, maximum, description, binding) {}

const QString& CMyPropertyInt::Characters() {
    static const QString kChars = QStringLiteral("0123456789-");
    return kChars;
}

bool CMyPropertyInt::ParseText(const QString& text) {
    const QString trimmed = text.trimmed();
    CTextScan scan(trimmed);
    int64_t n = 0;
    if (!scan.ReadInteger(&n))
        return false;
    return TakeTyped(n);
}
