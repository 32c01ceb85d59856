#pragma once

#include <QColor>
#include <QImage>
#include <QWidget>

#include "indicators/ThermometerScale.h"

// A thermometer: a shaded tube filled up to the value, a blue level line and a scale with
// labelled long ticks. The value is always shown inside the range.
class CTemperatureBar : public QWidget {
    Q_OBJECT
public:
    static inline const QColor kDefaultTubeColor{216, 206, 214};
    static inline const QColor kDefaultFillColor{89, 219, 75};
    static inline const QColor kLevelColor{0, 0, 255};

    explicit CTemperatureBar(QWidget* parent = nullptr);

    void SetValue(float value, bool redraw = true);
    float Value() const { return m_value; }
    // Ignored when lower is above upper.
    void SetRange(float lower, float upper, bool redraw = true);
    float Lower() const { return m_lower; }
    float Upper() const { return m_upper; }
    void SetScaleColor(const QColor& color);
    QColor SetBackColor(const QColor& color);  // returns the previous colour

    // The geometry a paint draws now.
    ThermometerScale Layout() const;
    // Label height in pixels: 12 at 96 pixels per inch, more on denser screens.
    int LabelHeight() const;

    const QImage& BackBuffer() const { return m_buffer; }

    QSize sizeHint() const override { return QSize(48, 138); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void Render(qreal dpr);

    QImage m_buffer;
    float m_upper = 120.0f;
    float m_lower = -50.0f;
    float m_value = -50.0f;
    QColor m_backColor;
    QColor m_tubeColor = kDefaultTubeColor;
    QColor m_fillColor = kDefaultFillColor;
    QColor m_scaleColor;
};
