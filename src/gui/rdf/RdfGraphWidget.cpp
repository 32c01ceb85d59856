#include "rdf/RdfGraphWidget.h"

#include <QPainter>
#include <QResizeEvent>
#include <QStyle>
#include <QStyleOptionFrame>

CRdfGraphWidget::CRdfGraphWidget(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
    // The cross-hair follows the pointer without a button held.
    setMouseTracking(true);
}

void CRdfGraphWidget::Render() {
    const QSize want = size().expandedTo(QSize(1, 1));
    if (m_buffer.size() != want) m_buffer = QImage(want, QImage::Format_RGB32);
    if (m_renderer) m_renderer(m_buffer);
    ++m_renders;
    update();
}

void CRdfGraphWidget::paintEvent(QPaintEvent*) {
    QPainter p(this);
    PaintTo(p);
}

void CRdfGraphWidget::PaintTo(QPainter& p) {
    p.drawImage(0, 0, m_buffer);
    // The sunken edge: dark above and left, light below and right.
    const QRect r = rect();
    p.setPen(palette().color(QPalette::Dark));
    p.drawLine(r.topLeft(), r.topRight());
    p.drawLine(r.topLeft(), r.bottomLeft());
    p.setPen(palette().color(QPalette::Shadow));
    p.drawLine(r.left() + 1, r.top() + 1, r.right() - 1, r.top() + 1);
    p.drawLine(r.left() + 1, r.top() + 1, r.left() + 1, r.bottom() - 1);
    p.setPen(palette().color(QPalette::Light));
    p.drawLine(r.bottomLeft(), r.bottomRight());
    p.drawLine(r.topRight(), r.bottomRight());
    p.setPen(palette().color(QPalette::Midlight));
    p.drawLine(r.left() + 1, r.bottom() - 1, r.right() - 1, r.bottom() - 1);
    p.drawLine(r.right() - 1, r.top() + 1, r.right() - 1, r.bottom() - 1);
    if (m_overlay) m_overlay(p);
}

void CRdfGraphWidget::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (m_buffer.size() != event->size()) Render();
}
