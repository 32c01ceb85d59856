#include "controls/ControlDrawing.h"

#include <QApplication>
#include <QFontMetrics>
#include <QHash>
#include <QPainter>
#include <QPalette>
#include <QSvgRenderer>
#include <algorithm>
#include <cmath>


namespace ControlDrawing {

namespace {
QSize DeviceSize(const QSize& logical, qreal dpr) {
    return QSize(std::max(int(std::ceil(logical.width() * dpr)), 1), std::max(int(std::ceil(logical.height() * dpr)), 1));
}
}  // namespace

QFont ArialFont(int cellHeight, int weight) {
    // Labels re-render on every value change; measuring the font each time would dominate.
    static QHash<quint64, QFont> cache;
    const bool bold = weight >= 700;
    const quint64 key = (quint64(quint32(cellHeight)) << 1) | (bold ? 1u : 0u);
    if (auto it = cache.constFind(key); it != cache.constEnd()) return *it;

    QFont f(QStringLiteral("Arial"));
    f.setWeight(bold ? QFont::Bold : QFont::Normal);
    f.setStyleStrategy(QFont::PreferAntialias);
    // The em size is smaller than the line height; take the largest that still fits.
    int px = std::clamp(cellHeight, 1, 1000);
    f.setPixelSize(px);
    while (px > 1 && QFontMetrics(f).height() > cellHeight) f.setPixelSize(--px);
    cache.insert(key, f);
    return f;
}

QColor ButtonFace() { return QApplication::palette().color(QPalette::Active, QPalette::Button); }
QColor WindowText() { return QApplication::palette().color(QPalette::Active, QPalette::WindowText); }
QColor WindowFrame() { return QApplication::palette().color(QPalette::Active, QPalette::Shadow); }

QImage MakeBuffer(const QSize& logical, qreal dpr) {
    QImage img(DeviceSize(logical, dpr), QImage::Format_ARGB32_Premultiplied);
    img.setDevicePixelRatio(dpr);
    img.fill(Qt::transparent);
    return img;
}

bool Fits(const QImage& buffer, const QSize& logical, qreal dpr) {
    return !buffer.isNull() && buffer.devicePixelRatio() == dpr && buffer.size() == DeviceSize(logical, dpr);
}

qreal PaintRatio(const QPaintDevice* device) { return device ? device->devicePixelRatioF() : 1.0; }

void DrawSunkenEdge(QPainter& p, const QRect& r) {
    if (r.width() < 4 || r.height() < 4) return;
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    const auto frame = [&p](const QRect& q, const QColor& topLeft, const QColor& bottomRight) {
        p.setPen(topLeft);
        p.drawLine(q.topLeft(), q.topRight());
        p.drawLine(q.topLeft(), q.bottomLeft());
        p.setPen(bottomRight);
        p.drawLine(q.bottomLeft(), q.bottomRight());
        p.drawLine(q.topRight(), q.bottomRight());
    };
    frame(r, QColor(160, 160, 160), QColor(255, 255, 255));
    frame(r.adjusted(1, 1, -1, -1), QColor(105, 105, 105), QColor(227, 227, 227));
    p.restore();
}

QPixmap SvgPixmap(const QString& path, const QSize& logical, qreal dpr) {
    QSvgRenderer svg(path);
    if (!svg.isValid() || logical.isEmpty()) return QPixmap();
    QImage img = MakeBuffer(logical, dpr);
    {
        QPainter p(&img);
        p.setRenderHint(QPainter::Antialiasing);
        svg.render(&p, QRectF(QPointF(0, 0), QSizeF(logical)));
    }
    return QPixmap::fromImage(img);
}

}  // namespace ControlDrawing
