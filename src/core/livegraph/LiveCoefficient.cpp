#include "livegraph/LiveCoefficient.h"

#include <charconv>
#include <cmath>

namespace LiveCoefficient {

std::optional<double> ParseLeading(const QString& text) {
    const QByteArray bytes = text.toLatin1();
    const char* p = bytes.constData();
    const char* end = p + bytes.size();
    while (p < end && (*p == ' ' || *p == '\t' || *p == '\n' || *p == '\r' || *p == '\v' || *p == '\f')) ++p;
    if (p < end && *p == '+') ++p;  // from_chars takes a minus sign only
    double value = 0.0;
    const std::from_chars_result r = std::from_chars(p, end, value);
    // Out of range still gives a usable answer: the limits below take care of it.
    if (r.ec == std::errc::result_out_of_range) {
        const bool negative = p < end && *p == '-';
        return negative ? -kMax : kMax;
    }
    if (r.ec != std::errc() || std::isnan(value)) return std::nullopt;
    return value;
}

double Normalise(double value) {
    if (std::isnan(value)) return 0.0;
    // A typed 0.29 is 28.999999999999996 hundredths in binary; a nudge far below a
    // hundredth keeps it 0.29 while 12.345 still becomes 12.34.
    const double nudge = value >= 0.0 ? 1e-7 : -1e-7;
    double cut = std::trunc(value * 100.0 + nudge) / 100.0;
    if (cut <= 0.0) cut = 0.0;  // also turns -0 into 0
    if (cut > kMax) cut = kMax;
    return cut;
}

QString Text(double value) { return QString::number(value, 'f', 2); }

}  // namespace LiveCoefficient
