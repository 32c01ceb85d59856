#include "controls/CtrlResize.h"

#include <QEvent>
#include <QWidget>

namespace {
// Where a control's parent sits in the window, for controls nested in a frame.
QPoint ParentOffset(const QWidget* window, const QWidget* control) {
    const QWidget* parent = control->parentWidget();
    if (!parent || parent == window || !window->isAncestorOf(control)) return QPoint(0, 0);
    return parent->mapTo(window, QPoint(0, 0));
}

QRect RectInWindow(const QWidget* window, const QWidget* control) {
    return control->geometry().translated(ParentOffset(window, control));
}
}  // namespace

CCtrlResize::CCtrlResize(QObject* parent) : QObject(parent) {}

void CCtrlResize::Attach(QWidget* window) {
    if (m_window) m_window->removeEventFilter(this);
    m_window = window;
    m_controls.clear();
    if (m_window) {
        m_window->installEventFilter(this);
        m_clientRect = m_window->rect();
    }
}

bool CCtrlResize::AddControl(int id, int anchors) {
    if (!m_window) return false;
    QWidget* control = m_window->findChild<QWidget*>(QString::number(id));
    return control && AddControl(control, anchors, id);
}

bool CCtrlResize::AddControl(QWidget* control, int anchors, int id) {
    if (!m_window || !control) return false;
    m_controls.push_back(CControlInfo{id, anchors, RectInWindow(m_window, control), control});
    return true;
}

void CCtrlResize::Fix() {
    if (!m_window) return;
    m_clientRect = m_window->rect();
    for (CControlInfo& info : m_controls)
        if (info.control) info.rect = RectInWindow(m_window, info.control);
}

void CCtrlResize::Layout() {
    if (!m_window || !m_window->isVisible()) return;
    const QSize client = m_window->size();
    for (const CControlInfo& info : m_controls) {
        if (!info.control) continue;
        const QRect r = AnchoredRect(info.rect, m_clientRect.size(), client, info.anchors)
                            .translated(-ParentOffset(m_window, info.control));
        if (r != info.control->geometry()) info.control->setGeometry(r);
        info.control->update();
    }
}

bool CCtrlResize::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_window && event->type() == QEvent::Resize) Layout();
    return QObject::eventFilter(watched, event);
}
