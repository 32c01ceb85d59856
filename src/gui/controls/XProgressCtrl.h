#pragma once

#include <QColor>
#include <QImage>
#include <QWidget>

// A flat progress bar with a soft vertical shading: the colour at 66 % on the edges and
// full in the middle. Renders into its back buffer only when the range, the position,
// the colours or the size change, once before the next paint.
class CXProgressCtrl : public QWidget {
    Q_OBJECT
public:
    static inline const QColor kDefaultBackColor{216, 206, 214};
    static inline const QColor kDefaultBarColor{89, 219, 75};

    explicit CXProgressCtrl(QWidget* parent = nullptr);

    void SetPos(int position);
    int GetPos() const { return m_position; }
    void SetRange(int lower, int upper);
    int Lower() const { return m_lower; }
    int Upper() const { return m_upper; }
    void SetBarColor(const QColor& color);
    void SetBackColor(const QColor& color);
    QColor BarColor() const { return m_barColor; }
    QColor BackColor() const { return m_backColor; }

    // Pixels per unit of the range, for the control's current width.
    float Scale() const;
    // Width of the filled part in pixels.
    int FillWidth() const;

    // The picture the next paint copies.
    const QImage& BackBuffer();
    int RenderCount() const { return m_renderCount; }

    QSize sizeHint() const override { return QSize(100, 12); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void Render(qreal dpr);
    void Changed();

    int m_lower = 0;
    int m_upper = 1;
    int m_position = 0;
    QColor m_backColor = kDefaultBackColor;
    QColor m_barColor = kDefaultBarColor;
    QImage m_buffer;
    int m_renderCount = 0;
    bool m_dirty = true;
};
