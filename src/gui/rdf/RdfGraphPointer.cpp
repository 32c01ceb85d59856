#include "rdf/RdfGraphPointer.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

#include "rdf/RdfGraphWidget.h"
#include "rdf/RdfOverlayPainter.h"

CRdfGraphPointer::CRdfGraphPointer(CRdfGraphWidget* graph, const CQuantityTable& table, StateSource state,
                                   ViewSink setView)
    : QObject(graph), m_graph(graph), m_table(table), m_state(std::move(state)), m_setView(std::move(setView)) {
    graph->installEventFilter(this);
    graph->SetOverlayPainter([this](QPainter& p) { PaintOverlay(p); });
}

void CRdfGraphPointer::ModesChanged() {
    if (m_pointer.Tracking()) ShowShape();
    m_graph->update();
}

void CRdfGraphPointer::Stop() {
    if (m_pointer.StopTracking()) m_graph->unsetCursor();
    m_graph->update();
}

void CRdfGraphPointer::ShowShape() {
    switch (m_pointer.PointerShape()) {
    case CRdfPointer::Shape::SizeHorizontal: m_graph->setCursor(Qt::SizeHorCursor); break;
    case CRdfPointer::Shape::Arrow: m_graph->setCursor(Qt::ArrowCursor); break;
    case CRdfPointer::Shape::Hidden: m_graph->setCursor(Qt::BlankCursor); break;
    }
}

RdfOverlayModel CRdfGraphPointer::Overlay() const {
    if (!m_pointer.Tracking()) return {};
    const RdfGraphViewState s = m_state();
    if (!s.loaded) return {};
    if (m_fontDpi != s.dpi || !m_metrics.width) {
        m_font = RdfOverlayPainter::OverlayFont(s.dpi);
        m_metrics = RdfOverlayPainter::Metrics(m_font);
        m_fontDpi = s.dpi;
    }
    return RdfOverlay::Build(m_pointer, s.plot, s.view, s.range, s.rows, m_table, m_metrics);
}

void CRdfGraphPointer::PaintOverlay(QPainter& painter) const {
    if (!m_pointer.Tracking()) return;
    const RdfOverlayModel model = Overlay();
    RdfOverlayPainter::Paint(painter, model, m_font, m_state().colors);
}

void CRdfGraphPointer::OnMove(QPoint pos, bool leftHeld) {
    const RdfGraphViewState s = m_state();
    if (!s.loaded) return;
    const bool foreground = m_graph->window()->isActiveWindow();
    switch (m_pointer.Move(pos, leftHeld, RdfInPlot(s.plot, pos), foreground)) {
    case CRdfPointer::Track::Entered: ShowShape(); break;
    case CRdfPointer::Track::Left: m_graph->unsetCursor(); break;
    case CRdfPointer::Track::Unchanged: break;
    }
    m_graph->update();
}

void CRdfGraphPointer::Run(CRdfPointer::Step step) {
    if (step == CRdfPointer::Step::None) return;
    const RdfGraphViewState s = m_state();
    if (!s.loaded) return;
    TimeRange view = s.view;
    switch (step) {
    case CRdfPointer::Step::ZoomToSelection:
        view = ViewWindow::ZoomToSelection(s.view, s.plot.left, s.plot.Width(), m_pointer.SelectionStart(),
                                           m_pointer.Pointer().x());
        break;
    case CRdfPointer::Step::ZoomOut: view = ViewWindow::ZoomOut(s.view, s.data); break;
    case CRdfPointer::Step::ZoomIn: view = ViewWindow::ZoomIn(s.view); break;
    case CRdfPointer::Step::ShiftLeft: view = ViewWindow::ShiftLeft(s.view, s.data); break;
    case CRdfPointer::Step::ShiftRight: view = ViewWindow::ShiftRight(s.view, s.data); break;
    case CRdfPointer::Step::None: break;
    }
    m_setView(view);
}

bool CRdfGraphPointer::eventFilter(QObject* watched, QEvent* event) {
    if (watched != m_graph) return QObject::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::MouseMove: {
        auto* e = static_cast<QMouseEvent*>(event);
        OnMove(e->position().toPoint(), e->buttons().testFlag(Qt::LeftButton));
        return true;
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
        auto* e = static_cast<QMouseEvent*>(event);
        if (!m_state().loaded) return false;
        // A click that brought the window forward tracks from where it happened.
        OnMove(e->position().toPoint(), false);
        if (e->button() == Qt::LeftButton) {
            Run(m_pointer.LeftPress(e->position().toPoint()));
            m_graph->update();
        } else if (e->button() == Qt::RightButton) {
            Run(m_pointer.RightPress());
            m_graph->update();
        }
        m_graph->setFocus(Qt::MouseFocusReason);
        return true;
    }
    case QEvent::MouseButtonRelease: {
        auto* e = static_cast<QMouseEvent*>(event);
        if (e->button() != Qt::LeftButton || !m_state().loaded) return false;
        const QPoint pos = e->position().toPoint();
        OnMove(pos, true);
        Run(m_pointer.LeftRelease(pos, RdfInPlot(m_state().plot, pos)));
        m_graph->update();
        return true;
    }
    case QEvent::Wheel: {
        auto* e = static_cast<QWheelEvent*>(event);
        if (!m_state().loaded || !m_pointer.Tracking()) return false;
        const Qt::KeyboardModifiers mods = e->modifiers();
        const QPoint angle = e->angleDelta();
        // Some systems turn a wheel held with Shift into a sideways turn.
        const int delta = angle.y() != 0 ? angle.y() : angle.x();
        const bool other = (mods & ~(Qt::ShiftModifier | Qt::ControlModifier | Qt::KeypadModifier)) != 0;
        Run(CRdfPointer::Wheel(delta, mods.testFlag(Qt::ShiftModifier), mods.testFlag(Qt::ControlModifier), other));
        e->accept();
        return true;
    }
    case QEvent::Leave:
    case QEvent::WindowDeactivate:
    case QEvent::Hide: Stop(); break;
    default: break;
    }
    return QObject::eventFilter(watched, event);
}
