#pragma once

#include <QColor>
#include <QFont>
#include <array>

#include "rdf/RdfOverlay.h"

class QPainter;

// Draws the pointer overlay of the recorded-data graph over the copy of its back buffer.
namespace RdfOverlayPainter {

inline const QColor kBoxFill{30, 30, 30};

QFont OverlayFont(double dpi);
// The overlay font's measures, for RdfOverlay::Build.
RdfOverlayMetrics Metrics(const QFont& font);

void Paint(QPainter& p, const RdfOverlayModel& model, const QFont& font, const std::array<QColor, 6>& rowColors);

}  // namespace RdfOverlayPainter
