#pragma once

#include <QDateTime>

// The computer's local calendar time, as the clock synchronisation reads it. Tests put
// a fake one in, beside the link's fake clock for the pauses.
class ILocalClock {
  public:
    virtual ~ILocalClock() = default;
    virtual QDateTime LocalNow() = 0;
};

ILocalClock& SystemLocalClock();
