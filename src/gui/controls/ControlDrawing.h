#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPixmap>
#include <QRect>
#include <QString>

class QPainter;
class QPaintDevice;
class QWidget;

// Drawing helpers shared by the drawn controls.
namespace ControlDrawing {

// "Arial" whose line (cell) height is cellHeight pixels, the way our layouts give font
// heights; weight 400 normal, 700 bold.
QFont ArialFont(int cellHeight, int weight = 400);

// Default colours of a control that was not told otherwise.
QColor ButtonFace();
QColor WindowText();
QColor WindowFrame();

// A transparent back buffer of a logical size, in device pixels of the given ratio.
QImage MakeBuffer(const QSize& logical, qreal dpr);
// Whether a back buffer still matches the control's size and pixel ratio.
bool Fits(const QImage& buffer, const QSize& logical, qreal dpr);
// The device pixel ratio a paint event draws at.
qreal PaintRatio(const QPaintDevice* device);

// The platform's sunken 2-pixel edge around r (drawn inside r).
void DrawSunkenEdge(QPainter& p, const QRect& r);

// An SVG resource rendered at a logical size for the given device pixel ratio; a null
// pixmap when the resource is missing.
QPixmap SvgPixmap(const QString& path, const QSize& logical, qreal dpr);

}  // namespace ControlDrawing
