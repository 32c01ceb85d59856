#pragma once

#include <QObject>
#include <QPointer>
#include <QRect>
#include <vector>

#include "controls/ControlInfo.h"
#include "indicators/AnchorLayout.h"

// Keeps controls at their distances to the window edges they are anchored to while the
// window is resized: register the controls, fix the layout once the window has its design
// size, and every later size change of the visible window lays them out again.
class CCtrlResize : public QObject {
    Q_OBJECT
public:
    explicit CCtrlResize(QObject* parent = nullptr);

    void Attach(QWidget* window);
    // A child of the window found by its number (its object name), or given directly.
    bool AddControl(int id, int anchors);
    bool AddControl(QWidget* control, int anchors, int id = 0);
    // Reads every registered control's rectangle and the window's client size.
    void Fix();
    // Moves every registered control to its place for the window's current size.
    void Layout();

    const std::vector<CControlInfo>& Controls() const { return m_controls; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPointer<QWidget> m_window;
    QRect m_clientRect;
    std::vector<CControlInfo> m_controls;
};
