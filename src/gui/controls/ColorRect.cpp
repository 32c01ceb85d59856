#include "controls/ColorRect.h"

#include <QColorDialog>
#include <QEvent>
#include <QMouseEvent>
#include <QPainter>

#include "controls/ControlDrawing.h"

CColorRect::CColorRect(QWidget* parent) : QWidget(parent) { setAttribute(Qt::WA_OpaquePaintEvent); }

void CColorRect::SetColor(const QColor& color) {
    m_color = color;
    update();
}

bool CColorRect::ChooseColor() {
    QColorDialog dlg(m_color, this);
    if (dlg.exec() != QDialog::Accepted) return false;
    const QColor chosen = dlg.selectedColor();
    if (!chosen.isValid()) return false;
    m_color = chosen;
    update();
    return true;
}

QColor CColorRect::ShownColor() const { return isEnabled() ? m_color : QColor(Qt::white); }

void CColorRect::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), ShownColor());
    ControlDrawing::DrawSunkenEdge(p, rect());
}

void CColorRect::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) emit Clicked();
    QWidget::mouseReleaseEvent(event);
}

void CColorRect::changeEvent(QEvent* event) {
    if (event->type() == QEvent::EnabledChange) update();
    QWidget::changeEvent(event);
}
