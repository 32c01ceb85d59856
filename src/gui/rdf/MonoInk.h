#pragma once

#include <QImage>
#include <QPoint>
#include <vector>

// Draws black into a monochrome page bitmap by setting its bits directly. A printed page
// holds hundreds of thousands of curve points and markers at printer resolution; Qt's
// painter strokes wide polylines and fills markers on a one-bit image many times slower
// than these runs of bits, which is the difference between a preview that follows the
// margin arrows and one that makes the user wait.
class CMonoInk {
public:
    // The image must be Format_Mono; ink is its darker colour.
    explicit CMonoInk(QImage& image);

    bool IsValid() const { return m_bits != nullptr; }
    // Pixels x0..x1 of row y (clipped to the image).
    void Span(int y, int x0, int x1);
    // A line width pixels thick: a run across the line at every step along it, so a steep
    // line is width pixels wide and a flat one width pixels high.
    void Line(QPoint a, QPoint b, int width);
    // The segments joined, with a square of the width at every corner so no join shows a gap.
    void Polyline(const std::vector<QPoint>& points, int width);
    // A shape as runs of pixels: row dy, columns dx0..dx1 from its centre.
    struct Run {
        int dy, dx0, dx1;
    };
    using Shape = std::vector<Run>;
    // The shape at a point.
    void Stamp(const Shape& shape, QPoint at);

    // The shape a picture drawn by draw into a square of side 2 * half + 1 leaves dark.
    template <typename Draw>
    static Shape ShapeOf(int half, Draw&& draw);
    static Shape ShapeOf(const QImage& picture, QPoint centre);

private:
    uchar* m_bits = nullptr;
    qsizetype m_stride = 0;
    int m_width = 0;
    int m_height = 0;
    bool m_inkIsOne = false;
};

template <typename Draw>
CMonoInk::Shape CMonoInk::ShapeOf(int half, Draw&& draw) {
    QImage picture(2 * half + 1, 2 * half + 1, QImage::Format_ARGB32_Premultiplied);
    picture.fill(Qt::transparent);
    draw(picture);
    return ShapeOf(picture, QPoint(half, half));
}
