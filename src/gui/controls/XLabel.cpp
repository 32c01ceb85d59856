#include "controls/XLabel.h"

#include <QFontMetrics>
#include <QPaintEvent>
#include <QPainter>

#include "controls/ColorRef.h"
#include "controls/ControlDrawing.h"
#include "indicators/IndicatorMath.h"

CXLabel::CXLabel(QWidget* parent, const QString& text)
    : QWidget(parent),
      m_text(text),
      m_textColor(ControlDrawing::WindowText()),
      m_secondTextColor(ControlDrawing::WindowText()),
      m_backColor(ControlDrawing::ButtonFace()) {}

void CXLabel::SetColors(const QColor& textColor, const QColor& secondTextColor, const QColor& backColor, bool redraw) {
    if (textColor == m_textColor && secondTextColor == m_secondTextColor && backColor == m_backColor) return;
    m_textColor = textColor;
    m_secondTextColor = secondTextColor;
    m_backColor = backColor;
    Changed(redraw);
}

void CXLabel::SetFontHeight(int height, bool redraw) {
    if (height == m_fontHeight) return;
    m_fontHeight = height;
    Changed(redraw);
}

void CXLabel::SetBold(bool bold, bool redraw) {
    const int weight = bold ? 700 : 400;
    if (weight == m_weight) return;
    m_weight = weight;
    Changed(redraw);
}

void CXLabel::SetText(const QString& text, bool redraw) {
    if (text == m_text) return;
    m_text = text;
    Changed(redraw);
}

void CXLabel::SetSecondText(const QString& text, bool redraw) {
    if (text == m_secondText) return;
    m_secondText = text;
    Changed(redraw);
}

void CXLabel::SetShape(int shape, bool redraw) {
    const int s = shape ? kShapeRounded : kShapePlain;
    if (s == m_shape) return;
    m_shape = s;
    Changed(redraw);
}

void CXLabel::Changed(bool redraw) {
    m_dirty = true;
    if (redraw) update();
}

const QImage& CXLabel::BackBuffer() {
    if (m_dirty || !ControlDrawing::Fits(m_buffer, size(), devicePixelRatioF())) Render(devicePixelRatioF());
    return m_buffer;
}

void CXLabel::Render(qreal dpr) {
    ++m_renderCount;
    m_dirty = false;
    m_buffer = ControlDrawing::MakeBuffer(size(), dpr);
    const bool rounded = m_shape == kShapeRounded;
    QPainter p(&m_buffer);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    // In the rounded shape the key colour stands for "see-through": whatever would be drawn
    // in it is cut out of the buffer instead, edges smoothed like everything else.
    const auto use = [&](const QColor& c) {
        const bool cut = rounded && c.rgb() == m_keyColor.rgb();
        p.setCompositionMode(cut ? QPainter::CompositionMode_DestinationOut : QPainter::CompositionMode_SourceOver);
        return cut ? QColor(0, 0, 0) : c;
    };

    const QRectF all(QPointF(0, 0), QSizeF(size()));
    if (rounded) {
        const QColor frame = ColorFromRef(IndicatorMath::ShiftColor(RefFromColor(m_backColor), -20));
        p.setPen(Qt::NoPen);
        p.setBrush(use(m_backColor));
        p.drawRoundedRect(all.adjusted(0.5, 0.5, -0.5, -0.5), 4.5, 4.5);
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(use(frame), 1.0));
        p.drawRoundedRect(all.adjusted(0.5, 0.5, -0.5, -0.5), 4.5, 4.5);
    } else {
        p.fillRect(all, m_backColor);
    }

    const QFont font = ControlDrawing::ArialFont(m_fontHeight, m_weight);
    p.setFont(font);
    const QFontMetrics fm(font);
    const bool hasSecond = !m_secondText.isEmpty();
    const int w1 = fm.horizontalAdvance(m_text);
    const int w2 = hasSecond ? fm.horizontalAdvance(m_secondText) : 0;
    const auto place = IndicatorMath::PlaceLabelTexts(width(), w1, w2, hasSecond);
    const int h = height();
    if (!m_text.isEmpty()) {
        p.setPen(use(m_textColor));
        p.drawText(QRect(place.firstX, 0, w1 + 1, h), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, m_text);
    }
    if (hasSecond) {
        p.setPen(use(m_secondTextColor));
        p.drawText(QRect(place.secondX, 0, w2 + 1, h), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                   m_secondText);
    }
}

void CXLabel::resizeEvent(QResizeEvent*) { m_dirty = true; }

void CXLabel::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const qreal dpr = ControlDrawing::PaintRatio(p.device());
    if (m_dirty || !ControlDrawing::Fits(m_buffer, size(), dpr)) Render(dpr);
    p.drawImage(QPoint(0, 0), m_buffer);
}
