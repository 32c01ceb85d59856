#pragma once

#include <cstdint>

// Time as the polling thread sees it: a millisecond counter that wraps after 49.7 days
// (compared only by unsigned subtraction) and a sleep. Tests put a fake one in.
class ILinkClock {
public:
    virtual ~ILinkClock() = default;
    virtual uint32_t NowMs() = 0;
    virtual void SleepMs(uint32_t ms) = 0;
};

// The steady clock of the machine and a real sleep.
ILinkClock& SystemLinkClock();
