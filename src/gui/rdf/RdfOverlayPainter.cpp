#include "rdf/RdfOverlayPainter.h"

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>
#include <memory>

namespace RdfOverlayPainter {

namespace {

void DrawGuides(QPainter& p, QPoint at, const RdfEdges& plot) {
    p.setPen(QPen(Qt::white, 1, Qt::DashLine));
    p.drawLine(plot.left, at.y(), at.x(), at.y());
    p.drawLine(at.x(), at.y(), at.x(), plot.bottom - 1);
}

void DrawCross(QPainter& p, QPoint at) {
    p.setPen(QPen(Qt::white, 2, Qt::SolidLine, Qt::FlatCap));
    constexpr int arm = RdfOverlay::kCrossArm;
    p.drawLine(at.x() - arm, at.y(), at.x() + arm, at.y());
    p.drawLine(at.x(), at.y() - arm, at.x(), at.y() + arm);
}

void DrawBox(QPainter& p, const RdfOverlayBox& box, const QFontMetrics& fm, const std::array<QColor, 6>& colors) {
    p.setPen(QPen(Qt::white, 1));
    p.setBrush(kBoxFill);
    // The outline's pixels lie inside the box, as a framed rectangle's do.
    p.drawRoundedRect(QRectF(box.rect).adjusted(0.5, 0.5, -0.5, -0.5), 2.0, 2.0);
    p.setBrush(Qt::NoBrush);
    const QRect text = box.rect.adjusted(RdfOverlay::kBoxPadding, RdfOverlay::kBoxPadding, -RdfOverlay::kBoxPadding,
                                         -RdfOverlay::kBoxPadding);
    const int h = fm.height();
    for (size_t i = 0; i < box.lines.size(); ++i) {
        const int row = i < box.rows.size() ? box.rows[i] : -1;
        p.setPen(row >= 0 && row < int(colors.size()) ? colors[size_t(row)] : QColor(Qt::white));
        const QRect line(text.left(), text.top() + int(i) * h, text.width(), h);
        p.drawText(line, (box.rightAligned ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignTop | Qt::TextSingleLine,
                   box.lines[i]);
    }
}

}  // namespace

QFont OverlayFont(double dpi) {
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(std::max(1, int(15 * dpi / 96.0 + 0.5)));
    return font;
}

RdfOverlayMetrics Metrics(const QFont& font) {
    auto fm = std::make_shared<QFontMetrics>(font);
    RdfOverlayMetrics m;
    m.width = [fm](const QString& text) { return fm->horizontalAdvance(text); };
    m.lineHeight = fm->height();
    return m;
}

void Paint(QPainter& p, const RdfOverlayModel& model, const QFont& font, const std::array<QColor, 6>& rowColors) {
    if (model.kind == RdfOverlayModel::Kind::None) return;
    const RdfEdges& plot = model.plot;
    p.save();
    switch (model.kind) {
    case RdfOverlayModel::Kind::Selection: p.fillRect(model.band, QColor(255, 255, 255, 128)); break;
    case RdfOverlayModel::Kind::Ruler:
        if (model.rulerPoints >= 1) {
            DrawGuides(p, model.point1, plot);
            if (model.rulerPoints >= 2) DrawGuides(p, model.point2, plot);
            DrawCross(p, model.point1);
            if (model.rulerPoints >= 2) DrawCross(p, model.point2);
            p.setPen(QPen(Qt::white, 2));
            p.drawLine(model.point1, model.point2);
        }
        break;
    case RdfOverlayModel::Kind::CrossHair:
        p.setPen(QPen(Qt::white, 1, Qt::DotLine));
        p.drawLine(model.pointer.x(), plot.top, model.pointer.x(), plot.bottom - 1);
        p.drawLine(plot.left, model.pointer.y(), plot.right - 1, model.pointer.y());
        break;
    case RdfOverlayModel::Kind::None: break;
    }
    if (!model.boxes.empty()) {
        p.setFont(font);
        const QFontMetrics fm(font);
        for (const RdfOverlayBox& box : model.boxes) DrawBox(p, box, fm, rowColors);
    }
    p.restore();
}

}  // namespace RdfOverlayPainter
