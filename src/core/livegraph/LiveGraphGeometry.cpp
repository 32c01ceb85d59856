#include "livegraph/LiveGraphGeometry.h"

#include <algorithm>
#include <cmath>

namespace LiveGraphGeometry {

int MinuteLabelCount(const GraphRect& labelArea) {
    return std::max(labelArea.Width(), 0) * kTickMs / 60000;
}

int MinuteLabelLeft(const GraphRect& labelArea, int k, int textWidth) {
    const int column = labelArea.right - kPixelsPerMinute * k;
    int left = column - textWidth / 2;
    if (left < labelArea.left + 1) left = labelArea.left + 1;
    if (left + textWidth > labelArea.right - 1) left = labelArea.right - 1 - textWidth;
    return left;
}

GraphRect PlotArea(const GraphRect& labelArea, int textHeight) {
    GraphRect p = labelArea;
    p.bottom -= textHeight + 2;
    p.left -= 1;
    p.right -= 1;
    p.top -= 1;
    p.bottom -= 1;
    return p;
}

int SeriesPoints(const CLiveGraphData& data, int i, const GraphRect& plot, const LiveValueRange& range,
                 QPoint* out, int capacity, bool* overflow) {
    *overflow = false;
    if (i < 0 || i >= data.SeriesCount() || !data.Series(i).samples) return 0;
    const int count = std::min({plot.Width(), data.Length(), capacity});
    if (count <= 0) return 0;
    const float coefficient = data.Series(i).coefficient;
    const double span = range.max - range.min;  // at least 1.1: the range always holds 0..1
    const double height = plot.Height();
    for (int j = 0; j < count; ++j) {
        const double v = double(data.SampleBack(i, j) * coefficient);
        double offset = (v - range.min) * height / span;
        // Keep the conversion defined for any value: far above and far below are all the
        // same to the picture.
        if (std::isnan(offset)) offset = 0.0;
        offset = std::clamp(offset, -1.0e6, 1.0e6);
        int y = plot.bottom - int(std::trunc(offset));
        if (y < plot.top) {
            y = plot.top - 1;
            *overflow = true;
        } else if (y > plot.bottom) {
            y = plot.bottom + 1;
        }
        out[j] = QPoint(plot.right - j, y);
    }
    return count;
}

std::array<QPoint, 3> OverflowMarker(const GraphRect& plot, int k) {
    const int right = plot.right - 12 * k;
    return {QPoint(right - 11, plot.top + 11), QPoint(right - 6, plot.top + 1),
            QPoint(right - 1, plot.top + 11)};
}

QPoint HoverBoxTopLeft(const GraphRect& client, QPoint mouse, QSize box) {
    const int midX = (client.left + client.right) / 2;
    const int midY = (client.top + client.bottom) / 2;
    const int x = mouse.x() > midX ? mouse.x() - box.width() - kBoxDistance : mouse.x() + kBoxDistance;
    const int y = mouse.y() > midY ? mouse.y() - box.height() - kBoxDistance : mouse.y() + kBoxDistance;
    return {x, y};
}

QString HoverText(float sample) { return QString::number(double(sample), 'f', 2).left(15); }

}  // namespace LiveGraphGeometry
