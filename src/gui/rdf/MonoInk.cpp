#include "rdf/MonoInk.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

CMonoInk::CMonoInk(QImage& image) {
    if (image.format() != QImage::Format_Mono || image.isNull() || image.colorCount() < 2) return;
    m_inkIsOne = qGray(image.color(1)) < qGray(image.color(0));
    m_bits = image.bits();
    m_stride = image.bytesPerLine();
    m_width = image.width();
    m_height = image.height();
}

void CMonoInk::Span(int y, int x0, int x1) {
    if (!m_bits || y < 0 || y >= m_height) return;
    x0 = std::max(x0, 0);
    x1 = std::min(x1, m_width - 1);
    if (x0 > x1) return;
    uchar* row = m_bits + y * m_stride;
    const int b0 = x0 >> 3;
    const int b1 = x1 >> 3;
    // The bits of x0..x1 in their bytes, leftmost pixel in the highest bit.
    const uchar first = uchar(0xFFu >> (x0 & 7));
    const uchar last = uchar(0xFFu << (7 - (x1 & 7)));
    const auto ink = [this](uchar& byte, uchar mask) { byte = m_inkIsOne ? uchar(byte | mask) : uchar(byte & ~mask); };
    if (b0 == b1) {
        ink(row[b0], uchar(first & last));
        return;
    }
    ink(row[b0], first);
    if (b1 - b0 > 1) std::memset(row + b0 + 1, m_inkIsOne ? 0xFF : 0x00, size_t(b1 - b0 - 1));
    ink(row[b1], last);
}

void CMonoInk::Line(QPoint a, QPoint b, int width) {
    if (!m_bits) return;
    const int lo = -(width / 2);
    const int hi = lo + std::max(width, 1) - 1;
    const std::int64_t dx = std::int64_t(b.x()) - a.x();
    const std::int64_t dy = std::int64_t(b.y()) - a.y();
    const bool steep = std::llabs(dy) >= std::llabs(dx);
    const std::int64_t steps = steep ? std::llabs(dy) : std::llabs(dx);
    if (steps == 0) {
        for (int y = a.y() + lo; y <= a.y() + hi; ++y) Span(y, a.x() + lo, a.x() + hi);
        return;
    }
    // Only the steps whose run can touch the image: far-off points lie millions of pixels out.
    const int along0 = steep ? a.y() : a.x();
    const int sign = (steep ? dy : dx) > 0 ? 1 : -1;
    const int limit = steep ? m_height : m_width;
    std::int64_t iFirst = 0;
    std::int64_t iLast = steps;
    const std::int64_t low = std::int64_t(-hi) - 1;
    const std::int64_t high = std::int64_t(limit) - lo;
    if (sign > 0) {
        iFirst = std::max<std::int64_t>(iFirst, low - along0);
        iLast = std::min<std::int64_t>(iLast, high - along0);
    } else {
        iFirst = std::max<std::int64_t>(iFirst, along0 - high);
        iLast = std::min<std::int64_t>(iLast, along0 - low);
    }
    const std::int64_t across = steep ? dx : dy;
    const int across0 = steep ? a.x() : a.y();
    for (std::int64_t i = iFirst; i <= iLast; ++i) {
        const int along = int(along0 + sign * i);
        // Rounded to the nearest pixel, halves away from zero.
        const std::int64_t num = across * i * 2;
        const std::int64_t q = num >= 0 ? (num + steps) / (2 * steps) : -((-num + steps) / (2 * steps));
        const int cross = int(across0 + q);
        if (steep) {
            Span(along, cross + lo, cross + hi);
        } else {
            for (int y = cross + lo; y <= cross + hi; ++y) Span(y, along, along);
        }
    }
}

void CMonoInk::Polyline(const std::vector<QPoint>& points, int width) {
    if (!m_bits || points.empty()) return;
    const int lo = -(width / 2);
    const int hi = lo + std::max(width, 1) - 1;
    for (size_t i = 0; i < points.size(); ++i) {
        if (i > 0 && points[i] != points[i - 1]) Line(points[i - 1], points[i], width);
        if (width > 1 && (i == 0 || points[i] != points[i - 1]))
            for (int y = points[i].y() + lo; y <= points[i].y() + hi; ++y)
                Span(y, points[i].x() + lo, points[i].x() + hi);
    }
}

void CMonoInk::Stamp(const Shape& shape, QPoint at) {
    for (const Run& r : shape) Span(at.y() + r.dy, at.x() + r.dx0, at.x() + r.dx1);
}

CMonoInk::Shape CMonoInk::ShapeOf(const QImage& picture, QPoint centre) {
    Shape shape;
    const QImage argb = picture.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < argb.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(argb.constScanLine(y));
        int start = -1;
        for (int x = 0; x <= argb.width(); ++x) {
            const bool dark = x < argb.width() && qAlpha(line[x]) >= 128 && qGray(line[x]) < 128;
            if (dark && start < 0) start = x;
            if (!dark && start >= 0) {
                shape.push_back({y - centre.y(), start - centre.x(), x - 1 - centre.x()});
                start = -1;
            }
        }
    }
    return shape;
}
