#pragma once

// The state word of a device link, shared by the page (which asks for connect and
// disconnect) and its polling thread (which reports how far it got).
enum class LinkState : int {
    Disconnected = 0,
    Disconnecting = 1,
    Connecting = 2,
    Reconnecting = 3,
    Connected = 4,
};

// Messages between the main window, a device page, its polling thread and its live graph
// window; the GUI posts QEvents with these type numbers.
constexpr int UM_GRAPH_STATE = 2024;
constexpr int UM_DEVICE_COMMAND = 2025;
constexpr int UM_DEVICE_DATA = 2026;

// UM_DEVICE_COMMAND parameters.
constexpr int kDeviceCommandDisconnect = 1;
constexpr int kDeviceCommandConnect = 2;
constexpr int kDeviceCommandStop = 3;
// UM_GRAPH_STATE parameters.
constexpr int kGraphStateStop = 1;
constexpr int kGraphStateConnect = 2;
constexpr int kGraphStateDisconnect = 3;
