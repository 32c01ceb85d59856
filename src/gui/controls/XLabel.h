#pragma once

#include <QColor>
#include <QImage>
#include <QString>
#include <QWidget>

// A value label: one or two texts in their own colours, centred together on a plain or
// rounded background. Renders into its back buffer only when something visible changed,
// and then only once before the next paint, however many values arrived meanwhile.
// In the rounded shape every part drawn in the key colour (black) is see-through, so the
// corners, and black text, show what lies behind the label.
class CXLabel : public QWidget {
    Q_OBJECT
public:
    enum Shape { kShapePlain = 0, kShapeRounded = 1 };
    static constexpr int kDefaultFontHeight = 15;
    static constexpr int kTextGap = 5;

    explicit CXLabel(QWidget* parent = nullptr, const QString& text = QString());

    void SetColors(const QColor& textColor, const QColor& secondTextColor, const QColor& backColor,
                   bool redraw = true);
    void SetFontHeight(int height, bool redraw = true);
    void SetBold(bool bold, bool redraw = true);
    void SetText(const QString& text, bool redraw = true);
    void SetSecondText(const QString& text, bool redraw = true);
    void SetShape(int shape, bool redraw = true);

    const QString& Text() const { return m_text; }
    const QString& SecondText() const { return m_secondText; }
    int Shape() const { return m_shape; }
    int FontHeight() const { return m_fontHeight; }
    bool Bold() const { return m_weight >= 700; }
    QColor TextColor() const { return m_textColor; }
    QColor SecondTextColor() const { return m_secondTextColor; }
    QColor BackColor() const { return m_backColor; }

    // The picture the next paint copies.
    const QImage& BackBuffer();
    // How many times the back buffer was rendered (a property change that shows nothing new
    // must not count).
    int RenderCount() const { return m_renderCount; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void Changed(bool redraw);
    void Render(qreal dpr);

    int m_weight = 400;
    int m_fontHeight = kDefaultFontHeight;
    QImage m_buffer;
    QString m_text;
    QString m_secondText;
    QColor m_textColor;
    QColor m_secondTextColor;
    QColor m_backColor;
    QColor m_keyColor{0, 0, 0};
    int m_shape = kShapeRounded;
    int m_renderCount = 0;
    bool m_dirty = true;
};
