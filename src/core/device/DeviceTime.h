#pragma once

#include <cstdint>

// Device time is unsigned seconds since 1980-01-01 00:00:00 (clock, uptime, event times).
struct DeviceCalendar {
    uint16_t year = 1980;
    uint8_t month = 1;    // 1..12
    uint8_t day = 1;      // 1..31
    uint8_t weekday = 2;  // 0 Sunday .. 6 Saturday
    uint8_t hour = 0;
    uint8_t minute = 0;
    uint8_t second = 0;
};

// The calendar date and time of a device time. Exact over the whole 32-bit range (up to
// the year 2116): of the century years in that range only 2000 is a leap year.
DeviceCalendar SecondsToCalendar(uint32_t seconds);
