#pragma once

#include <QColor>
#include <QWidget>

// A colour swatch with a sunken edge; white while disabled. A click asks its owner to
// offer the colour chooser (ChooseColor).
class CColorRect : public QWidget {
    Q_OBJECT
public:
    explicit CColorRect(QWidget* parent = nullptr);

    void SetColor(const QColor& color);
    QColor GetColor() const { return m_color; }
    // Opens the colour chooser at the current colour; true when the user took a colour.
    bool ChooseColor();

    // The colour the swatch shows now.
    QColor ShownColor() const;

signals:
    void Clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    QColor m_color{0, 0, 0};
};
