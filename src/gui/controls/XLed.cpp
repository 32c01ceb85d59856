#include "controls/XLed.h"

#include <QPainter>
#include <QTimerEvent>

#include "controls/ControlDrawing.h"
#include "controls/IconIds.h"

CXLed::CXLed(QWidget* parent) : QWidget(parent) {}

void CXLed::SetIcons(int firstId, int firstWidth, int firstHeight, int secondId, int secondWidth, int secondHeight) {
    m_first = Icon();
    m_second = Icon();
    if (firstId != 0) {
        m_first.id = firstId;
        m_first.size = QSize(firstWidth, firstHeight);
        if (secondId != 0) {
            m_mode = 0;
            m_second.id = secondId;
            m_second.size = QSize(secondWidth, secondHeight);
        }
    }
    updateGeometry();
    update();
}

void CXLed::SetMode(int mode) {
    if (mode == m_mode) return;
    m_mode = mode;
    update();
}

void CXLed::EnableBlinking(bool enable) {
    // A lamp that stops blinking rests on its active picture, in either active mode.
    m_blinkPhase = false;
    m_flashPhase = false;
    m_blinking = enable;
    if (enable) {
        m_blinkTicks = 0;
        m_flashTicks = 0;
        m_timer.start(kTickMs, this);
    } else {
        m_timer.stop();
    }
    update();
}

void CXLed::Tick() {
    if (m_mode == 0) return;
    if (++m_blinkTicks >= 5) {
        m_blinkPhase = !m_blinkPhase;
        m_blinkTicks = 0;
    }
    if (++m_flashTicks >= 10) {
        m_flashPhase = false;
        m_flashTicks = 0;
    } else {
        m_flashPhase = true;
    }
    update();
}

int CXLed::ShownIcon() const {
    int which = 2;
    if (m_mode == 1) which = m_blinkPhase ? 2 : 1;
    else if (m_mode == 2) which = m_flashPhase ? 2 : 1;
    const Icon& icon = which == 1 ? m_first : m_second;
    return icon.id != 0 ? which : 0;
}

QSize CXLed::sizeHint() const { return m_first.size.isValid() ? m_first.size : QSize(16, 16); }

const QPixmap& CXLed::PixmapFor(Icon& icon, qreal dpr) {
    if (icon.pixmap.isNull() || icon.pixmap.devicePixelRatio() != dpr)
        icon.pixmap = ControlDrawing::SvgPixmap(IconPath(icon.id), icon.size, dpr);
    return icon.pixmap;
}

void CXLed::paintEvent(QPaintEvent*) {
    const int which = ShownIcon();
    if (which == 0) return;
    QPainter p(this);
    const QPixmap& pm = PixmapFor(which == 1 ? m_first : m_second, ControlDrawing::PaintRatio(p.device()));
    if (!pm.isNull()) p.drawPixmap(QPoint(0, 0), pm);
}

void CXLed::timerEvent(QTimerEvent* event) {
    if (event->timerId() == m_timer.timerId())
        Tick();
    else
        QWidget::timerEvent(event);
}
