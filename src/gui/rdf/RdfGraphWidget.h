#pragma once

#include <QImage>
#include <QWidget>
#include <functional>

class QPainter;

// The graph area of the recorded-data window: a back buffer the size of the area, into
// which the owner renders whenever data, rows or view change, and which painting only
// copies (with the sunken edge around it) before the owner's pointer overlay goes on top of
// the copy. A new size asks the owner to render again; the pointer never does.
class CRdfGraphWidget : public QWidget {
    Q_OBJECT
public:
    using Renderer = std::function<void(QImage& buffer)>;
    using OverlayPainter = std::function<void(QPainter& painter)>;

    explicit CRdfGraphWidget(QWidget* parent = nullptr);

    void SetRenderer(Renderer renderer) { m_renderer = std::move(renderer); }
    void SetOverlayPainter(OverlayPainter overlay) { m_overlay = std::move(overlay); }
    // Renders into the back buffer now and repaints.
    void Render();
    const QImage& Buffer() const { return m_buffer; }
    // How often the graph was rendered, so that what must only repaint can be told apart.
    int RenderCount() const { return m_renders; }
    // What a repaint shows: the back buffer, the edge and the overlay.
    void PaintTo(QPainter& painter);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QImage m_buffer;
    Renderer m_renderer;
    OverlayPainter m_overlay;
    int m_renders = 0;
};
