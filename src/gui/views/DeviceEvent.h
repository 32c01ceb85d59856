#pragma once

#include <QEvent>
#include <cstdint>

#include "device/LinkState.h"

// A message of a device link as a Qt event: UM_DEVICE_DATA to the page, UM_GRAPH_STATE
// for its live graph window.
constexpr QEvent::Type kGraphStateEvent = QEvent::Type(UM_GRAPH_STATE);
constexpr QEvent::Type kDeviceCommandEvent = QEvent::Type(UM_DEVICE_COMMAND);
constexpr QEvent::Type kDeviceDataEvent = QEvent::Type(UM_DEVICE_DATA);

class CDeviceEvent : public QEvent {
public:
    CDeviceEvent(int message, int wParam, int64_t lParam)
        : QEvent(QEvent::Type(message)), m_wParam(wParam), m_lParam(lParam) {}
    int WParam() const { return m_wParam; }
    int64_t LParam() const { return m_lParam; }

private:
    int m_wParam;
    int64_t m_lParam;
};
