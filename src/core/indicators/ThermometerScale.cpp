#include "indicators/ThermometerScale.h"

#include <algorithm>
#include <cmath>

namespace {
// A span wider than this many steps would only smear ticks into one another.
constexpr int kMaxTicks = 1000;
}  // namespace

int ThermometerScale::StepFor(int span) {
    if (span < 21) return 1;
    if (span < 51) return 2;
    if (span < 101) return 5;
    return 10;
}

float ThermometerScale::Clamp(float value, float lower, float upper) {
    if (std::isnan(value)) return lower;
    if (value > upper) return upper;
    if (value < lower) return lower;
    return value;
}

ThermometerScale ThermometerScale::Compute(const QRect& client, float lower, float upper, float value) {
    ThermometerScale s;
    // Exclusive right/bottom edges throughout, as the drawing rules count them.
    const int left = client.left();
    const int top = client.top() + 5;
    const int bottom = client.top() + client.height() - 5;
    s.tube = QRect(left, top, 12, std::max(bottom - top, 0));
    const int tubeRight = left + 12;
    const int tubeBottom = top + s.tube.height();
    const int tubeHeight = s.tube.height();
    s.axisX = tubeRight + 3;

    // The scale spans the range itself, whether or not it contains 0.
    const double span = double(upper) - double(lower);
    const double v = double(Clamp(value, lower, upper));
    if (!(span > 0)) {
        s.level = tubeBottom;
        s.step = 1;
        s.ticks.push_back({tubeBottom, true, int(std::trunc(std::clamp(double(lower), -2e9, 2e9)))});
        return s;
    }
    const double level = std::trunc(double(tubeHeight) * std::fabs(v - lower) / span);
    s.level = std::clamp(tubeBottom - int(std::min(level, double(tubeHeight))), top, tubeBottom);

    s.step = StepFor(int(std::min(span, 1e9)));
    const int count = int(std::min(std::trunc(span / s.step), double(kMaxTicks)));
    for (int i = 0; i <= count; ++i) {
        ThermometerTick t;
        t.y = tubeBottom - int(std::trunc(double(tubeHeight) * i * s.step / span));
        t.isLong = (i % 2) == 0;
        t.label = int(std::trunc(std::clamp(double(i) * s.step + lower, -2e9, 2e9)));
        s.ticks.push_back(t);
    }
    return s;
}
