#pragma once

#include <QEvent>

#include "device/LinkState.h"

// A device page's UM_GRAPH_STATE to its live graph window, carrying the message's
// parameter: kGraphStateConnect starts sampling, kGraphStateDisconnect stops and forgets,
// kGraphStateStop stops and ends the window before the page destroys it.
class CGraphStateEvent : public QEvent {
public:
    static constexpr QEvent::Type kType = QEvent::Type(UM_GRAPH_STATE);

    explicit CGraphStateEvent(int state) : QEvent(kType), m_state(state) {}
    int State() const { return m_state; }

private:
    int m_state;
};
