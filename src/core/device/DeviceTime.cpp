#include "device/DeviceTime.h"

namespace {
bool IsLeapYear(uint32_t year) {
    // 2100 is the only century year after 2000 that 32 bits of seconds reach.
    return year % 4 == 0 && year != 2100;
}
constexpr uint8_t kMonthDays[12] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
}  // namespace

DeviceCalendar SecondsToCalendar(uint32_t s) {
    DeviceCalendar c;
    c.second = uint8_t(s % 60);
    const uint32_t m = s / 60;
    c.minute = uint8_t(m % 60);
    const uint32_t h = m / 60;
    c.hour = uint8_t(h % 24);
    uint32_t days = h / 24;
    c.weekday = uint8_t((days + 2) % 7);  // 1 January 1980 was a Tuesday

    uint32_t year = 1980;
    for (;;) {
        const uint32_t length = IsLeapYear(year) ? 366 : 365;
        if (days < length) break;
        days -= length;
        ++year;
    }
    // Month lengths count 29 February; a common year steps over it.
    if (!IsLeapYear(year) && days > 58) ++days;
    int month = 0;
    while (month < 11 && days >= kMonthDays[month]) days -= kMonthDays[month++];
    c.year = uint16_t(year);
    c.month = uint8_t(month + 1);
    c.day = uint8_t(days + 1);
    return c;
}
