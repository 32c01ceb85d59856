#pragma once

#include <QPoint>

#include "rdf/RdfGraphGeometry.h"

// What the pointer does over the recorded-data graph: tracking while it is inside the plot
// of the foreground window, the anchor of a selection, the two-point ruler, and which view
// step each button or wheel turn asks for. The window feeds it events and carries out the
// steps; it holds no view itself, so every rule here runs without a window.
class CRdfPointer {
public:
    enum class Shape { Arrow, SizeHorizontal, Hidden };
    enum class Track { Unchanged, Entered, Left };
    // The view step an event asks for; ZoomToSelection spans the anchor and the pointer.
    enum class Step { None, ZoomToSelection, ZoomOut, ZoomIn, ShiftLeft, ShiftRight };

    // Everything cleared, both modes off.
    void Reset();

    bool SelectionMode() const { return m_selectionMode; }
    bool RulerMode() const { return m_rulerMode; }
    void SetSelectionMode(bool on) { m_selectionMode = on; }
    // Switching the ruler on or off also clears its points.
    void SetRulerMode(bool on);

    // A pointer move: inPlot tells whether (x, y) lies inside the plot, foreground whether
    // the window is the active one. Says whether tracking started or ended.
    Track Move(QPoint pos, bool leftHeld, bool inPlot, bool foreground);
    // Tracking ends without a move (the pointer left the graph, the window went to the back).
    bool StopTracking();
    bool Tracking() const { return m_tracking; }
    // The pointer's shape while tracking.
    Shape PointerShape() const;

    Step LeftPress(QPoint pos);
    Step LeftRelease(QPoint pos, bool inPlot);
    Step RightPress();
    // A wheel turn (positive up) with these modifiers held: exactly Shift shifts, exactly
    // Ctrl zooms, anything else does nothing. Applies in either mode.
    static Step Wheel(int delta, bool shift, bool ctrl, bool otherModifiers);

    QPoint Pointer() const { return m_pointer; }
    QPoint Anchor() const { return m_anchor; }
    // The column where the last finished selection began (ZoomToSelection spans it and the
    // pointer).
    int SelectionStart() const { return m_selectionStart; }
    bool LeftHeld() const { return m_leftHeld; }
    // 0 none, 1 first point set and the second follows the pointer, 2 both set.
    int RulerState() const { return m_rulerState; }
    QPoint RulerPoint1() const { return m_ruler1; }
    QPoint RulerPoint2() const { return m_ruler2; }

private:
    bool m_selectionMode = false;
    bool m_rulerMode = false;
    bool m_tracking = false;
    bool m_leftHeld = false;
    QPoint m_pointer;
    QPoint m_anchor;
    int m_selectionStart = 0;
    int m_rulerState = 0;
    QPoint m_ruler1;
    QPoint m_ruler2;
};

// Whether a point lies inside a plot (left and top inside, right and bottom outside).
inline bool RdfInPlot(const RdfEdges& plot, QPoint p) {
    return p.x() >= plot.left && p.x() < plot.right && p.y() >= plot.top && p.y() < plot.bottom;
}
