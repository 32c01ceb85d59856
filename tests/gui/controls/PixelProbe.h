#pragma once

#include <QColor>
#include <QImage>
#include <QRect>
#include <QWidget>
#include <cstdlib>

// Reading what a control shows: its picture at one device pixel per pixel, and colour
// comparisons that allow for the shading of gradients.
inline QImage Shot(QWidget& w) { return w.grab().toImage().convertToFormat(QImage::Format_RGB32); }

inline bool Near(const QColor& a, const QColor& b, int tolerance = 0) {
    return std::abs(a.red() - b.red()) <= tolerance && std::abs(a.green() - b.green()) <= tolerance &&
           std::abs(a.blue() - b.blue()) <= tolerance;
}

inline int CountNear(const QImage& img, const QRect& area, const QColor& c, int tolerance = 0) {
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (Near(img.pixelColor(x, y), c, tolerance)) ++n;
    return n;
}

// A plain window of one colour to put controls on.
class Backdrop : public QWidget {
public:
    explicit Backdrop(const QSize& size, const QColor& color = QColor(0, 200, 0)) {
        resize(size);
        QPalette pal = palette();
        pal.setColor(QPalette::Window, color);
        setPalette(pal);
        setAutoFillBackground(true);
    }
};
