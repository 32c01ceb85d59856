#pragma once

#include <QEvent>

// What a device page tells its live graph window: start sampling (connect), stop and
// forget (disconnect), or stop and end before the page destroys the window.
inline constexpr QEvent::Type UM_GRAPH_STATE = QEvent::Type(2024);

enum GraphState : int {
    GRAPH_STATE_END = 1,
    GRAPH_STATE_START = 2,
    GRAPH_STATE_STOP = 3,
};

class CGraphStateEvent : public QEvent {
public:
    explicit CGraphStateEvent(int state) : QEvent(UM_GRAPH_STATE), m_state(state) {}
    int State() const { return m_state; }

private:
    int m_state;
};
