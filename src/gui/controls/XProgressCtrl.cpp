#include "controls/XProgressCtrl.h"

#include <QLinearGradient>
#include <QPainter>

#include "controls/ColorRef.h"
#include "controls/ControlDrawing.h"
#include "indicators/IndicatorMath.h"

CXProgressCtrl::CXProgressCtrl(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void CXProgressCtrl::Changed() {
    m_dirty = true;
    update();
}

const QImage& CXProgressCtrl::BackBuffer() {
    if (m_dirty || !ControlDrawing::Fits(m_buffer, size(), devicePixelRatioF())) Render(devicePixelRatioF());
    return m_buffer;
}

void CXProgressCtrl::SetPos(int position) {
    if (position == m_position) return;
    m_position = position;
    Changed();
}

void CXProgressCtrl::SetRange(int lower, int upper) {
    if (lower == m_lower && upper == m_upper) return;
    m_lower = lower;
    m_upper = upper;
    Changed();
}

void CXProgressCtrl::SetBarColor(const QColor& color) {
    if (color == m_barColor) return;
    m_barColor = color;
    Changed();
}

void CXProgressCtrl::SetBackColor(const QColor& color) {
    if (color == m_backColor) return;
    m_backColor = color;
    Changed();
}

// The scale follows the width, so a bar that is laid out anew still fills the same share.
float CXProgressCtrl::Scale() const { return IndicatorMath::ProgressScale(m_lower, m_upper, width()); }

int CXProgressCtrl::FillWidth() const {
    return IndicatorMath::ProgressFillWidth(m_lower, m_position, Scale(), width());
}

void CXProgressCtrl::Render(qreal dpr) {
    ++m_renderCount;
    m_dirty = false;
    m_buffer = ControlDrawing::MakeBuffer(size(), dpr);
    QPainter p(&m_buffer);
    const int h = height();
    const auto shade = [h](const QColor& c) {
        const QColor edge = ColorFromRef(IndicatorMath::ScaleColor(RefFromColor(c), 66));
        QLinearGradient g(0, 0, 0, h);
        g.setColorAt(0.0, edge);
        g.setColorAt(0.5, c);
        g.setColorAt(1.0, edge);
        return g;
    };
    p.fillRect(rect(), shade(m_backColor));
    const int fill = FillWidth();
    if (fill > 0) p.fillRect(QRect(0, 0, fill, h), shade(m_barColor));
}

void CXProgressCtrl::resizeEvent(QResizeEvent*) { m_dirty = true; }

void CXProgressCtrl::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const qreal dpr = ControlDrawing::PaintRatio(p.device());
    if (m_dirty || !ControlDrawing::Fits(m_buffer, size(), dpr)) Render(dpr);
    p.drawImage(QPoint(0, 0), m_buffer);
}
