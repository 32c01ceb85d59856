#include "devsettings/MyPropertyDouble.h"

#include <cmath>

#include "devsettings/TextScan.h"

CMyPropertyDouble::CMyPropertyDouble(const QString& name, double defaultValue, double minimum, double maximum,
                                     double step, const QString& description, RegisterBinding binding)
    : CMyPropertyRanged(name, ToRaw(FactorOfStep(step), defaultValue), ToRaw(FactorOfStep(step), minimum),
                        ToRaw(FactorOfStep(step), maximum), description, binding),
      m_factor(FactorOfStep(step)) {}

const QString& CMyPropertyDouble::Characters() {
    static const QString kChars = QStringLiteral("0123456789.-");
    return kChars;
}

uint32_t CMyPropertyDouble::FactorOfStep(double step) {
    if (!(step > 0.0))
        return 1;
    const double f = std::trunc(1.0 / step);
    if (!(f >= 1.0))
        return 1;
    return f > 4294967295.0 ? 4294967295u : uint32_t(f);
}

int32_t CMyPropertyDouble::ToRaw(uint32_t factor, double value) {
    const double raw = std::trunc(double(factor) * value);
    if (std::isnan(raw))
        return 0;
    if (raw >= 2147483647.0)
        return INT32_MAX;
    if (raw <= -2147483648.0)
        return INT32_MIN;
    return int32_t(raw);
}

QString CMyPropertyDouble::RawText(int64_t raw, uint32_t factor) {
    int decimals = 0;
    for (uint32_t f = 10; f <= 100000000u; f *= 10) {
        ++decimals;
        if (factor == f)
            return QString::number(double(raw) / double(factor), 'f', decimals);
    }
    return QString::number(double(raw) / double(factor == 0 ? 1 : factor), 'f', 0);
}

QString CMyPropertyDouble::FormatValue() const {
    return RawText(Current(), m_factor);
}

bool CMyPropertyDouble::ParseText(const QString& text) {
    const QString trimmed = text.trimmed();
    CTextScan scan(trimmed);
    double number = 0.0;
    if (!scan.ReadDouble(&number))
        return false;
    return TakeTyped(ToRaw(m_factor, number));
}

void CMyPropertyDouble::SetRange(int32_t minimumRaw, int32_t maximumRaw, uint32_t factor) {
    m_factor = factor == 0 ? 1 : factor;
    SetLimits(minimumRaw, maximumRaw);
}
