#include "rdf/RdfPointer.h"

void CRdfPointer::Reset() { *this = CRdfPointer(); }

void CRdfPointer::SetRulerMode(bool on) {
    m_rulerMode = on;
    m_rulerState = 0;
}

CRdfPointer::Track CRdfPointer::Move(QPoint pos, bool leftHeld, bool inPlot, bool foreground) {
    Track change = Track::Unchanged;
    if (foreground && inPlot) {
        if (!m_tracking) change = Track::Entered;
        m_tracking = true;
    } else if (m_tracking) {
        m_tracking = false;
        change = Track::Left;
    }
    m_pointer = pos;
    m_leftHeld = leftHeld && m_leftHeld;
    if (!m_leftHeld) m_anchor = pos;
    if (m_rulerState == 1) m_ruler2 = pos;
    return change;
}

bool CRdfPointer::StopTracking() {
    const bool was = m_tracking;
    m_tracking = false;
    m_leftHeld = false;
    return was;
}

CRdfPointer::Shape CRdfPointer::PointerShape() const {
    if (m_selectionMode) return Shape::SizeHorizontal;
    if (m_rulerMode) return Shape::Arrow;
    return Shape::Hidden;
}

CRdfPointer::Step CRdfPointer::LeftPress(QPoint pos) {
    if (!m_tracking) return Step::None;
    m_pointer = pos;
    // The press is where the selection starts, whether or not a move came first.
    m_anchor = pos;
    m_leftHeld = true;
    if (m_rulerMode) {
        if (m_rulerState == 1) {
            m_ruler2 = pos;
            m_rulerState = 2;
        } else {
            m_ruler1 = m_ruler2 = pos;
            m_rulerState = 1;
        }
    }
    return Step::None;
}

CRdfPointer::Step CRdfPointer::LeftRelease(QPoint pos, bool inPlot) {
    const bool held = m_leftHeld;
    m_leftHeld = false;
    m_pointer = pos;
    m_selectionStart = m_anchor.x();
    m_anchor = pos;
    if (!held || !m_selectionMode || !m_tracking || !inPlot || pos.x() == m_selectionStart) return Step::None;
    return Step::ZoomToSelection;
}

CRdfPointer::Step CRdfPointer::RightPress() {
    if (!m_tracking) return Step::None;
    if (m_selectionMode) return Step::ZoomOut;
    if (m_rulerMode) m_rulerState = 0;
    return Step::None;
}

CRdfPointer::Step CRdfPointer::Wheel(int delta, bool shift, bool ctrl, bool otherModifiers) {
    if (delta == 0 || otherModifiers || shift == ctrl) return Step::None;
    if (shift) return delta < 0 ? Step::ShiftLeft : Step::ShiftRight;
    return delta > 0 ? Step::ZoomIn : Step::ZoomOut;
}
