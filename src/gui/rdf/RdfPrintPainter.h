#pragma once

#include <QFont>
#include <QImage>
#include <QString>

#include "rdf/RdfPrintLayout.h"

// Draws the printed page of the recorded-data graph in black on white, from what the page
// layout computed, at the printer's resolution.
namespace RdfPrintPainter {

QFont Font(RdfPrintFont font, const RdfPrintScale& scale);

// Font metrics of the page's fonts at a resolution.
class CMeasure : public IRdfPrintMeasure {
public:
    explicit CMeasure(RdfPrintScale scale) : m_scale(scale) {}
    int LineHeight(RdfPrintFont font) const override;
    int TextWidth(RdfPrintFont font, const QString& text) const override;
    int WrappedHeight(RdfPrintFont font, const QString& text, int width) const override;

private:
    RdfPrintScale m_scale;
};

// Draws the page; curves, markers and event marks go straight into the bits of a
// monochrome bitmap, onto any other image through the painter.
void PaintPage(QImage& bitmap, const RdfPrintPage& page, const RdfPrintContent& content);

// Lays out and draws the page into the bitmap (already white), with the margin rectangle
// and the resolution given; returns the layout drawn.
RdfPrintPage RenderPrintPage(QImage& bitmap, const RdfPrintContent& content, const RdfEdges& margins,
                             RdfPrintScale scale, const QString& comment,
                             RdfCurveWalk walk = RdfCurveWalk::Summaries);

// A white monochrome page bitmap of the size, or a null image when it cannot be had.
QImage NewPageBitmap(QSize size);

}  // namespace RdfPrintPainter
