#pragma once

#include <cstdint>

// How a device link reports to its page: UM_DEVICE_DATA from the polling thread, and
// UM_GRAPH_STATE for the page's live graph window. Post never blocks and never waits for
// the page's thread (the page waits for the polling thread when it stops it); it is called
// from the polling thread and from the page's thread.
class IDevicePoster {
public:
    virtual ~IDevicePoster() = default;
    virtual void Post(int message, int wParam, int64_t lParam) = 0;
};
