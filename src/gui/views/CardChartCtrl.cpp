#include "views/CardChartCtrl.h"

#include <QFontMetrics>
#include <QPainter>

#include "controls/ControlDrawing.h"
#include "language/Language.h"

CCardChartCtrl::CCardChartCtrl(QWidget* parent)
    : QWidget(parent), m_backColor(ControlDrawing::ButtonFace()), m_textColor(ControlDrawing::WindowText()) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_model.SetValues(0, 0);
}

void CCardChartCtrl::SetValues(double size, double free, bool redraw) {
    m_model.SetValues(size, free);
    m_dirty = true;
    if (redraw) update();
}

void CCardChartCtrl::SetCardPresent(int present, bool redraw) {
    m_present = present != 0;
    m_dirty = true;
    if (redraw) update();
}

QColor CCardChartCtrl::SetBackColor(const QColor& color) {
    const QColor old = m_backColor;
    m_backColor = color;
    m_dirty = true;
    return old;
}

QColor CCardChartCtrl::SetTextColor(const QColor& color) {
    const QColor old = m_textColor;
    m_textColor = color;
    m_dirty = true;
    return old;
}

int CCardChartCtrl::LineHeight() const {
    return QFontMetrics(ControlDrawing::ArialFont(kLegendFontHeight)).height();
}

QRect CCardChartCtrl::PieSquare() const { return CCardChartModel::PieSquare(rect(), LineHeight()); }

QImage CCardChartCtrl::Render(qreal dpr) const {
    QImage img = ControlDrawing::MakeBuffer(size(), dpr);
    QPainter p(&img);
    p.fillRect(rect(), m_backColor);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);

    if (!m_present) {
        p.setFont(ControlDrawing::ArialFont(kMessageFontHeight, 700));
        p.setPen(m_textColor);
        p.drawText(rect(), Qt::AlignCenter | Qt::TextSingleLine, GetText(LNG_GLOB_NO_CARD));
        return img;
    }

    const QFont legend = ControlDrawing::ArialFont(kLegendFontHeight);
    p.setFont(legend);
    const int h = QFontMetrics(legend).height();
    const QRect square = CCardChartModel::PieSquare(rect(), h);
    // The circle inside the square, its outline a pixel wide on the square's inner edge.
    const QRectF circle = QRectF(square).adjusted(0.5, 0.5, -0.5, -0.5);
    const int start = m_model.StartAngle();
    const int used = m_model.UsedAngle();
    if (!square.isEmpty()) {
        p.setPen(QPen(kOutlineColor, 1));
        p.setBrush(kFreeColor);
        p.drawEllipse(circle);
        if (used != 0) {
            // Our angles run clockwise from twelve o'clock, the painter's counter-clockwise from three.
            p.setBrush(kUsedColor);
            if (used >= 360)
                p.drawEllipse(circle);
            else
                p.drawPie(circle, (90 - start) * 16, -used * 16);
        }
        p.setPen(Qt::white);
        for (const CardChartLabel& label : m_model.PercentLabels(square)) {
            QRect box(0, 0, QFontMetrics(legend).horizontalAdvance(label.text) + 2, h);
            box.moveCenter(label.center);
            p.drawText(box, Qt::AlignCenter | Qt::TextSingleLine | Qt::TextDontClip, label.text);
        }
    }

    p.setRenderHint(QPainter::Antialiasing, false);
    const auto legendLine = [&](int y, const QColor& swatch, const QString& text) {
        const QRect box(0, y, h, h);
        p.fillRect(box, swatch);
        ControlDrawing::DrawSunkenEdge(p, box);
        p.setPen(m_textColor);
        p.drawText(QRect(h + 3, y, std::max(width() - h - 3, 0), h), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                   text);
    };
    legendLine(0, kFreeColor, m_model.FreeText());
    legendLine(h, kUsedColor, m_model.UsedText());
    p.setPen(m_textColor);
    p.drawText(QRect(0, height() - h, width(), h), Qt::AlignCenter | Qt::TextSingleLine, m_model.SizeText());
    return img;
}

void CCardChartCtrl::resizeEvent(QResizeEvent*) { m_dirty = true; }

void CCardChartCtrl::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const qreal dpr = ControlDrawing::PaintRatio(p.device());
    if (m_dirty || !ControlDrawing::Fits(m_buffer, size(), dpr)) {
        m_buffer = Render(dpr);
        m_dirty = false;
    }
    p.drawImage(QPoint(0, 0), m_buffer);
}
