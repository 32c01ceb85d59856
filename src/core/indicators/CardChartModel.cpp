#include "indicators/CardChartModel.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <numbers>

#include "language/Language.h"

namespace {
QString Percent(int angle) { return QString::number(angle * 100.0 / 360.0, 'f', 0) + u'%'; }
}  // namespace

void CCardChartModel::SetValues(double size, double free) {
    const double used = size - free;
    int angle = 0;
    if (size > 0 && used != 0 && std::isfinite(used)) {
        const double a = std::trunc(used * 360.0 / size);
        angle = int(std::clamp(a, 0.0, 360.0));
    }
    m_usedAngle = angle;
    m_freeAngle = 360 - angle;
    m_sizeText = AmountText(LNG_DEVICE_SIZE, size);
    m_freeText = AmountText(LNG_DEVICE_FREE, free);
    m_usedText = AmountText(LNG_DEVICE_USED, used);
}

CardAmount CCardChartModel::ScaleAmount(double bytes) {
    CardAmount a;
    a.value = std::isfinite(bytes) ? bytes : 0.0;
    while (a.value > 1048576.0) {
        a.value /= 1024.0;
        ++a.divisions;
    }
    return a;
}

QString CCardChartModel::AmountText(int labelId, double bytes) {
    static constexpr int kUnits[] = {LNG_DEVICE_PREFIX_BYTE, LNG_DEVICE_PREFIX_KB, LNG_DEVICE_PREFIX_MB,
                                     LNG_DEVICE_PREFIX_GB, LNG_DEVICE_PREFIX_TB};
    const CardAmount a = ScaleAmount(bytes);
    const QString unit = a.divisions < int(std::size(kUnits)) ? GetText(kUnits[a.divisions]) : QString();
    return GetText(labelId) + QStringLiteral(": ") + QString::number(a.value, 'f', 0) + u' ' + unit;
}

QRect CCardChartModel::PieSquare(const QRect& client, int lineHeight) {
    const int top = client.top() + 2 * lineHeight + 2;
    const int bottom = client.top() + client.height() - (lineHeight + 2);
    const int width = client.width();
    const int side = std::max(std::min(width, bottom - top), 0);
    const int left = client.left() + (width - side) / 2;
    return QRect(left, bottom - side, side, side);
}

QPoint CCardChartModel::CirclePoint(const QRect& square, int angle, int numerator, int denominator) {
    int a = angle % 360;
    if (a < 0) a += 360;
    const double rad = a * std::numbers::pi / 180.0;
    // Exclusive right and bottom edges, as the square was laid out.
    const double r = square.height() / 2.0 * numerator / denominator;
    const double cx = (square.left() + square.left() + square.width()) / 2.0;
    const double cy = (square.top() + square.top() + square.height()) / 2.0;
    return QPoint(int(std::trunc(cx + r * std::sin(rad))), int(std::trunc(cy - r * std::cos(rad))));
}

std::vector<CardChartLabel> CCardChartModel::PercentLabels(const QRect& square) const {
    std::vector<CardChartLabel> labels;
    if (m_freeAngle > kMinLabelledAngle) {
        const int at = kStartAngle + m_usedAngle + m_freeAngle - m_freeAngle / 2;
        labels.push_back({Percent(m_freeAngle), CirclePoint(square, at, 3, 5)});
    }
    if (m_usedAngle > kMinLabelledAngle) {
        const int at = kStartAngle + m_usedAngle - m_usedAngle / 2;
        labels.push_back({Percent(m_usedAngle), CirclePoint(square, at, 3, 5)});
    }
    return labels;
}
