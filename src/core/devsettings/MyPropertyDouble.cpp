#include "devsettings/MyPropertyDouble.h"

#include <cmath>

#include "devsettings/TextScan.h"

CMyPropertyDouble::CMyPropertyDouble(const QString& name, double defaultValue, double minimum, double maximum,
                                     double step, const QString& description, RegisterBinding binding)
    : CMyProperty(name, description, binding), m_factor(FactorOfStep(step)) {
    m_minimum = ToRaw(m_factor, minimum);
    m_maximum = ToRaw(m_factor, maximum);
    m_raw = m_baseline = ToRaw(m_factor, defaultValue);
}

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
    return RawText(m_raw, m_factor);
}

int32_t CMyPropertyDouble::Clamp(int64_t v) const {
    if (v > m_maximum)
        return m_maximum;
    if (v < m_minimum)
        return m_minimum;
    return int32_t(v);
}

bool CMyPropertyDouble::ParseText(const QString& text) {
    const QString trimmed = text.trimmed();
    CTextScan scan(trimmed);
    double number = 0.0;
    if (!scan.ReadDouble(&number))
        return false;
    const int32_t raw = Clamp(ToRaw(m_factor, number));
    if (raw == m_raw)
        return false;
    m_raw = raw;
    NotifyParameterChanged();
    return true;
}

void CMyPropertyDouble::AcceptValue() {
    m_baseline = m_raw;
    ClearMark();
}

void CMyPropertyDouble::RevertToBaseline() {
    m_raw = m_baseline;
    ClearMark();
}

void CMyPropertyDouble::SetValue(int64_t raw) {
    const int32_t value = Clamp(raw);
    const bool changed = value != m_raw;
    m_raw = value;
    AfterSetValue(changed);
}

void CMyPropertyDouble::SetRange(int32_t minimumRaw, int32_t maximumRaw, uint32_t factor) {
    m_minimum = minimumRaw;
    m_maximum = maximumRaw;
    m_factor = factor == 0 ? 1 : factor;
    SetValue(m_raw);
}
