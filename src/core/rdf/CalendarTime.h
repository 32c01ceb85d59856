#pragma once

#include <QString>
#include <cstdint>
#include <optional>

// Calendar fields of a recorded-data time: milliseconds since 1980-01-01 00:00:00.000
// as a signed 64-bit count. The device's calendar treats 2100 as a common year and keeps
// the day number in 16 bits, so dates run up to 2159-06-06; later counts wrap around as
// they do on the device.
struct CalendarTime {
    int year = 1980;  // full year
    int month = 1;    // 1..12
    int day = 1;      // 1..31
    int hour = 0;
    int minute = 0;
    int second = 0;
    int millisecond = 0;

    // Counts below 0 read as 0 (a view end moved before the epoch, never a record time).
    static CalendarTime FromMs(std::int64_t ms);
    // The count of these fields, or nothing when a field is out of range for the calendar
    // (month 0, 30 February, 29 February 2100, a year before 1980 or after 2159, ...).
    std::optional<std::int64_t> ToMs() const;

    bool operator==(const CalendarTime&) const = default;
};

// A time typed by a person: "DD.MM.YYYY[ HH:MM[:SS[.mmm]]]" (as the program shows times) or
// "YYYY-MM-DD[ |T]HH:MM[:SS[.mmm]]"; a date alone is its midnight and ".5" half a second.
// Nothing for text that is no time of the calendar.
std::optional<std::int64_t> ParseCalendarTime(const QString& text);

// Days of the calendar year (2100 is a common year on the device).
bool IsDeviceLeapYear(int year);
