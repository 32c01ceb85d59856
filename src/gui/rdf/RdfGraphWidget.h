#pragma once

#include <QImage>
#include <QWidget>
#include <functional>

// The graph area of the recorded-data window: a back buffer the size of the area, into
// which the owner renders whenever data, rows or view change, and which painting only
// copies (with the sunken edge around it). A new size asks the owner to render again.
class CRdfGraphWidget : public QWidget {
    Q_OBJECT
public:
    using Renderer = std::function<void(QImage& buffer)>;

    explicit CRdfGraphWidget(QWidget* parent = nullptr);

    void SetRenderer(Renderer renderer) { m_renderer = std::move(renderer); }
    // Renders into the back buffer now and repaints.
    void Render();
    const QImage& Buffer() const { return m_buffer; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QImage m_buffer;
    Renderer m_renderer;
};
