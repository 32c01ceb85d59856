#include "controls/TemperatureBar.h"

#include <QLinearGradient>
#include <QPainter>

#include "controls/ColorRef.h"
#include "controls/ControlDrawing.h"
#include "indicators/IndicatorMath.h"

CTemperatureBar::CTemperatureBar(QWidget* parent)
    : QWidget(parent), m_backColor(ControlDrawing::ButtonFace()), m_scaleColor(ControlDrawing::WindowText()) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void CTemperatureBar::SetValue(float value, bool redraw) {
    const float v = ThermometerScale::Clamp(value, m_lower, m_upper);
    if (v == m_value) return;
    m_value = v;
    if (redraw) update();
}

void CTemperatureBar::SetRange(float lower, float upper, bool redraw) {
    if (lower > upper || (lower == m_lower && upper == m_upper)) return;
    m_lower = lower;
    m_upper = upper;
    // The stored value stays inside the new range.
    m_value = ThermometerScale::Clamp(m_value, m_lower, m_upper);
    if (redraw) update();
}

void CTemperatureBar::SetScaleColor(const QColor& color) {
    m_scaleColor = color;
    update();
}

QColor CTemperatureBar::SetBackColor(const QColor& color) {
    const QColor old = m_backColor;
    m_backColor = color;
    update();
    return old;
}

ThermometerScale CTemperatureBar::Layout() const { return ThermometerScale::Compute(rect(), m_lower, m_upper, m_value); }

int CTemperatureBar::LabelHeight() const { return 12 * logicalDpiY() / 96; }

void CTemperatureBar::Render(qreal dpr) {
    if (!ControlDrawing::Fits(m_buffer, size(), dpr)) m_buffer = ControlDrawing::MakeBuffer(size(), dpr);
    QPainter p(&m_buffer);
    p.fillRect(rect(), m_backColor);
    const ThermometerScale s = Layout();
    const QRect& t = s.tube;
    const int tubeRight = t.left() + t.width();
    const int tubeBottom = t.top() + t.height();

    p.setPen(QPen(m_scaleColor, 1));
    p.drawLine(s.axisX, tubeBottom, s.axisX, t.top());
    const QFont font = ControlDrawing::ArialFont(LabelHeight(), 700);
    p.setFont(font);
    const int labelHeight = LabelHeight();
    for (const ThermometerTick& tick : s.ticks) {
        p.drawLine(tubeRight + 3, tick.y, tubeRight + (tick.isLong ? 13 : 10), tick.y);
        if (!tick.isLong) continue;
        const QRect box(tubeRight + 15, tick.y - labelHeight / 2, width() - (tubeRight + 15), labelHeight);
        p.drawText(box, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine | Qt::TextDontClip,
                   QString::number(tick.label));
    }

    const auto shade = [&t](const QColor& c) {
        const QColor edge = ColorFromRef(IndicatorMath::ScaleColor(RefFromColor(c), 70));
        QLinearGradient g(t.left(), 0, t.left() + t.width(), 0);
        g.setColorAt(0.0, edge);
        g.setColorAt(0.5, c);
        g.setColorAt(1.0, edge);
        return g;
    };
    p.fillRect(t, shade(m_tubeColor));
    p.fillRect(QRect(t.left(), s.level, t.width(), tubeBottom - s.level), shade(m_fillColor));

    p.setPen(QPen(kLevelColor, 1));
    p.drawLine(t.left(), s.level, tubeRight + 12, s.level);
}

void CTemperatureBar::paintEvent(QPaintEvent*) {
    QPainter p(this);
    Render(ControlDrawing::PaintRatio(p.device()));
    p.drawImage(QPoint(0, 0), m_buffer);
}
