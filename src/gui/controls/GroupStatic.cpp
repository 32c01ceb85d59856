#include "controls/GroupStatic.h"

#include <QFontMetrics>
#include <QPainter>

#include "controls/ControlDrawing.h"

CGroupStatic::CGroupStatic(QWidget* parent, const QString& title)
    : QWidget(parent),
      m_backColor(ControlDrawing::ButtonFace()),
      m_textColor(ControlDrawing::WindowText()),
      m_thirdColor(ControlDrawing::WindowFrame()),
      m_title(title) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_OpaquePaintEvent);
    lower();
}

QColor CGroupStatic::SetBackColor(const QColor& color) {
    const QColor old = m_backColor;
    m_backColor = color;
    update();
    return old;
}

QColor CGroupStatic::SetTextColor(const QColor& color) {
    const QColor old = m_textColor;
    m_textColor = color;
    update();
    return old;
}

QColor CGroupStatic::SetThirdColor(const QColor& color) {
    const QColor old = m_thirdColor;
    m_thirdColor = color;
    return old;
}

void CGroupStatic::SetTitle(const QString& title) {
    if (title == m_title) return;
    m_title = title;
    update();
}

QRect CGroupStatic::TitleRect() const {
    const QFontMetrics fm(ControlDrawing::ArialFont(kTitleFontHeight, 700));
    const int w = fm.horizontalAdvance(m_title) + 10;
    return QRect((width() - w) / 2, 0, w, fm.height());
}

QRect CGroupStatic::FrameRect() const {
    const int half = TitleRect().height() / 2;
    return QRect(QPoint(1, half), QPoint(width() - 2, height() - 2));
}

void CGroupStatic::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), m_backColor);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(m_textColor, 2));
    p.setBrush(m_backColor);
    const QRect f = FrameRect();
    // The 2-pixel line runs on pixel boundaries, covering the frame's outer two pixels
    // crisply; only the small corners are smoothed.
    p.drawRoundedRect(QRectF(f.left() + 1, f.top() + 1, f.width() - 2, f.height() - 2), 1.5, 1.5);
    if (m_title.isEmpty()) return;
    const QRect t = TitleRect();
    p.fillRect(t, m_backColor);
    p.setFont(ControlDrawing::ArialFont(kTitleFontHeight, 700));
    p.setPen(m_textColor);
    p.drawText(t, Qt::AlignCenter | Qt::TextSingleLine, m_title);
}
