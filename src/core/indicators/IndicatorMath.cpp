#include "indicators/IndicatorMath.h"

#include <algorithm>
#include <cmath>

namespace IndicatorMath {

namespace {
int Channel(quint32 ref, int shift) { return int((ref >> shift) & 0xFF); }
quint32 Pack(int r, int g, int b) { return quint32(r) | (quint32(g) << 8) | (quint32(b) << 16); }
}  // namespace

quint32 ScaleColor(quint32 ref, int percent) {
    const auto f = [percent](int c) { return std::clamp(c * percent / 100, 0, 255); };
    return Pack(f(Channel(ref, 0)), f(Channel(ref, 8)), f(Channel(ref, 16)));
}

quint32 ShiftColor(quint32 ref, int deltaPercent) {
    const auto f = [deltaPercent](int c) { return std::clamp(c + c * deltaPercent / 100, 0, 255); };
    return Pack(f(Channel(ref, 0)), f(Channel(ref, 8)), f(Channel(ref, 16)));
}

float ProgressScale(int lower, int upper, int clientWidth) {
    const long long span = static_cast<long long>(upper) - lower;
    if (span <= 0) return 1.0f;
    return float(clientWidth) / float(span);
}

int ProgressFillWidth(int lower, int position, float scale, int clientWidth) {
    const double w = std::trunc((static_cast<double>(position) - lower) * double(scale));
    if (!(w > 0)) return 0;  // also NaN
    return w >= clientWidth ? std::max(clientWidth, 0) : int(w);
}

LabelTextPlacement PlaceLabelTexts(int rectWidth, int firstWidth, int secondWidth, bool hasSecond) {
    const int total = firstWidth + (hasSecond ? 5 + secondWidth : 0);
    LabelTextPlacement p;
    p.firstX = (rectWidth - total) / 2;
    p.secondX = p.firstX + firstWidth + 5;
    return p;
}

}  // namespace IndicatorMath
