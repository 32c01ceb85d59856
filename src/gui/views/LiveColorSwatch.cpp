#include "views/LiveColorSwatch.h"

#include <QColorDialog>
#include <QMouseEvent>
#include <QPainter>
#include <qdrawutil.h>

#include "app/Colors.h"

CLiveColorSwatch::CLiveColorSwatch(QWidget* parent) : QWidget(parent) {}

void CLiveColorSwatch::SetColor(quint32 colour) {
    m_colour = colour;
    update();
}

bool CLiveColorSwatch::ChooseColor() {
    const QColor chosen = QColorDialog::getColor(ColorFromRef(m_colour), this);
    if (!chosen.isValid()) return false;
    SetColor(RefFromColor(chosen));
    return true;
}

void CLiveColorSwatch::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), isEnabled() ? ColorFromRef(m_colour) : QColor(Qt::white));
    qDrawWinPanel(&p, rect(), palette(), true);
}

void CLiveColorSwatch::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && isEnabled()) emit DoubleClicked();
    QWidget::mouseDoubleClickEvent(event);
}
