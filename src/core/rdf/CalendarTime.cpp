#include "rdf/CalendarTime.h"

#include <QRegularExpression>

namespace {
constexpr int kMonthDays[12] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
constexpr std::int64_t kMsPerDay = 86400000;
constexpr int kLastYear = 2159;
}  // namespace

bool IsDeviceLeapYear(int year) {
    return year % 4 == 0 && year != 2100;
}

CalendarTime CalendarTime::FromMs(std::int64_t ms) {
    if (ms < 0) ms = 0;
    CalendarTime t;
    t.millisecond = int(ms % 1000);
    t.second = int(ms / 1000 % 60);
    t.minute = int(ms / 60000 % 60);
    t.hour = int(ms / 3600000 % 24);
    int days = int(std::uint16_t(ms / kMsPerDay));

    int year = 1980;
    for (;;) {
        const int length = IsDeviceLeapYear(year) ? 366 : 365;
        if (days < length) break;
        days -= length;
        ++year;
    }
    // Walk the months of a leap year; a common year steps over 29 February.
    if (!IsDeviceLeapYear(year) && days > 58) ++days;
    int month = 0;
    while (days >= kMonthDays[month]) {
        days -= kMonthDays[month];
        ++month;
    }
    t.year = year;
    t.month = month + 1;
    t.day = days + 1;
    return t;
}

std::optional<std::int64_t> CalendarTime::ToMs() const {
    if (year < 1980 || year > kLastYear || month < 1 || month > 12 || day < 1 || hour < 0 ||
        hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59 || millisecond < 0 ||
        millisecond > 999)
        return std::nullopt;
    const bool leap = IsDeviceLeapYear(year);
    const int monthLength = (month == 2 && !leap) ? 28 : kMonthDays[month - 1];
    if (day > monthLength) return std::nullopt;

    std::int64_t days = 0;
    for (int y = 1980; y < year; ++y) days += IsDeviceLeapYear(y) ? 366 : 365;
    for (int m = 0; m < month - 1; ++m) days += kMonthDays[m];
    if (!leap && month > 2) --days;
    days += day - 1;
    if (days > 0xFFFF) return std::nullopt;  // beyond 2159-06-06
    return ((days * 24 + hour) * 60 + minute) * 60000 + std::int64_t(second) * 1000 + millisecond;
}

std::optional<std::int64_t> ParseCalendarTime(const QString& text) {
    static const QRegularExpression dotted(QStringLiteral(
        R"(^\s*(\d{1,2})\.(\d{1,2})\.(\d{4})(?:[ T]+(\d{1,2}):(\d{2})(?::(\d{2})(?:[.,](\d{1,3}))?)?)?\s*$)"));
    static const QRegularExpression iso(QStringLiteral(
        R"(^\s*(\d{4})-(\d{1,2})-(\d{1,2})(?:[ T]+(\d{1,2}):(\d{2})(?::(\d{2})(?:[.,](\d{1,3}))?)?)?\s*$)"));
    CalendarTime t;
    QRegularExpressionMatch m = dotted.match(text);
    if (m.hasMatch()) {
        t.day = m.captured(1).toInt();
        t.month = m.captured(2).toInt();
        t.year = m.captured(3).toInt();
    } else {
        m = iso.match(text);
        if (!m.hasMatch()) return std::nullopt;
        t.year = m.captured(1).toInt();
        t.month = m.captured(2).toInt();
        t.day = m.captured(3).toInt();
    }
    t.hour = m.captured(4).toInt();
    t.minute = m.captured(5).toInt();
    t.second = m.captured(6).toInt();
    // ".5" is half a second, as anyone reading a time expects.
    const QString ms = m.captured(7);
    t.millisecond = ms.isEmpty() ? 0 : ms.leftJustified(3, u'0').toInt();
    return t.ToMs();
}
