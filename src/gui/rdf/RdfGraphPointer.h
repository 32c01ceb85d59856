#pragma once

#include <QColor>
#include <QFont>
#include <QObject>
#include <array>
#include <functional>

#include "devsettings/QuantityTable.h"
#include "rdf/RdfOverlay.h"
#include "rdf/RdfPointer.h"

class CRdfGraphWidget;
class QPainter;

// What the overlay and the pointer's view steps need to know of the window.
struct RdfGraphViewState {
    bool loaded = false;
    RdfEdges plot;  // as last rendered
    TimeRange view;
    TimeRange data;
    ValueRange range;
    std::array<RdfRowDraw, 6> rows{};
    std::array<QColor, 6> colors{};
    double dpi = 96.0;
};

// The pointer over the recorded-data graph: takes the graph widget's mouse and wheel
// events, keeps the pointer state (tracking, anchor, ruler), sets the pointer's shape,
// hands view steps to the window and paints the overlay over the widget's copy of its
// back buffer. A pointer move only repaints; it never renders the graph.
class CRdfGraphPointer : public QObject {
    Q_OBJECT
public:
    using StateSource = std::function<RdfGraphViewState()>;
    using ViewSink = std::function<void(TimeRange view)>;

    CRdfGraphPointer(CRdfGraphWidget* graph, const CQuantityTable& table, StateSource state, ViewSink setView);

    CRdfPointer& Pointer() { return m_pointer; }
    const CRdfPointer& Pointer() const { return m_pointer; }
    // After a mode changes: the pointer's shape again and a repaint.
    void ModesChanged();
    // Tracking ends (the window closes or is reset).
    void Stop();

    // The overlay as it is drawn now.
    RdfOverlayModel Overlay() const;
    void PaintOverlay(QPainter& painter) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void OnMove(QPoint pos, bool leftHeld);
    void Run(CRdfPointer::Step step);
    void ShowShape();

    CRdfGraphWidget* m_graph;
    const CQuantityTable& m_table;
    StateSource m_state;
    ViewSink m_setView;
    CRdfPointer m_pointer;
    mutable QFont m_font;
    mutable double m_fontDpi = 0.0;
    mutable RdfOverlayMetrics m_metrics;
};
