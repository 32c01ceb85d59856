#pragma once

#include <QColor>
#include <QImage>
#include <QWidget>

#include "indicators/CardChartModel.h"

// The memory card chart: a pie of used over free space with their percentages, a legend
// with both amounts above it and the card size below it; without a card, one message.
class CCardChartCtrl : public QWidget {
    Q_OBJECT
public:
    static inline const QColor kFreeColor{203, 33, 170};
    static inline const QColor kUsedColor{33, 108, 203};
    static inline const QColor kOutlineColor{0, 0, 0};
    static constexpr int kLegendFontHeight = 13;
    static constexpr int kMessageFontHeight = 16;

    explicit CCardChartCtrl(QWidget* parent = nullptr);

    // Sizes in bytes.
    void SetValues(double size, double free, bool redraw = true);
    void SetCardPresent(int present, bool redraw = true);
    bool CardPresent() const { return m_present; }
    // Each returns the previous colour; the chart is repainted with its next update.
    QColor SetBackColor(const QColor& color);
    QColor SetTextColor(const QColor& color);

    const CCardChartModel& Model() const { return m_model; }
    // Height of one legend line and the pie's square for the current size.
    int LineHeight() const;
    QRect PieSquare() const;

    // The picture as the next paint shows it, at a pixel ratio.
    QImage Render(qreal dpr = 1.0) const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    CCardChartModel m_model;
    bool m_present = false;
    QColor m_backColor;
    QColor m_textColor;
    mutable QImage m_buffer;
    mutable bool m_dirty = true;
};
