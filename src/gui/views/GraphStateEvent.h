#pragma once

#include <QEvent>

// A device page's UM_GRAPH_STATE (number 2024) to its live graph window: start sampling
// when the device is asked to connect, stop and forget when asked to disconnect, stop and
// end before the page destroys the window.
class CGraphStateEvent : public QEvent {
public:
    static constexpr QEvent::Type kType = QEvent::Type(2024);
    // The message's parameter values.
    static constexpr int kEnd = 1;
    static constexpr int kStart = 2;
    static constexpr int kStop = 3;

    explicit CGraphStateEvent(int state) : QEvent(kType), m_state(state) {}
    int State() const { return m_state; }

private:
    int m_state;
};
