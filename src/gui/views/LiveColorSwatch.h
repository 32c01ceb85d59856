#pragma once

#include <QWidget>

// A colour swatch for the live graph rows: the colour when enabled, white when disabled,
// a double click asks for a new colour.
// TODO(livegraph): give way to the shared colour swatch control once it lands.
class CLiveColorSwatch : public QWidget {
    Q_OBJECT
public:
    explicit CLiveColorSwatch(QWidget* parent = nullptr);

    void SetColor(quint32 colour);
    quint32 GetColor() const { return m_colour; }
    // Opens the colour chooser at the current colour; true when a colour was taken.
    bool ChooseColor();

signals:
    void DoubleClicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    quint32 m_colour = 0;
};
