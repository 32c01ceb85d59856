#include <gtest/gtest.h>

#include <QDateTime>
#include <QTimeZone>

#include "device/DeviceTime.h"

namespace {

uint32_t DeviceSeconds(int y, int mo, int d, int h = 0, int mi = 0, int s = 0) {
    const QDateTime epoch(QDate(1980, 1, 1), QTime(0, 0), QTimeZone::utc());
    return uint32_t(epoch.secsTo(QDateTime(QDate(y, mo, d), QTime(h, mi, s), QTimeZone::utc())));
}

TEST(SecondsToCalendar, LeapYearsAndMonthEdges) {
    struct Case {
        uint32_t seconds;
        int year, month, day, weekday, hour, minute, second;
    } cases[] = {
        {0, 1980, 1, 1, 2, 0, 0, 0},
        {DeviceSeconds(1980, 2, 29, 23, 59, 59), 1980, 2, 29, 5, 23, 59, 59},
        {DeviceSeconds(1980, 12, 31), 1980, 12, 31, 3, 0, 0, 0},
        {DeviceSeconds(1981, 2, 28), 1981, 2, 28, 6, 0, 0, 0},
        {DeviceSeconds(1981, 3, 1), 1981, 3, 1, 0, 0, 0, 0},
        {DeviceSeconds(2000, 1, 1), 2000, 1, 1, 6, 0, 0, 0},
        {DeviceSeconds(2000, 2, 29), 2000, 2, 29, 2, 0, 0, 0},
        {DeviceSeconds(2000, 3, 1), 2000, 3, 1, 3, 0, 0, 0},
        {DeviceSeconds(2100, 2, 28), 2100, 2, 28, 0, 0, 0, 0},
        {DeviceSeconds(2100, 3, 1), 2100, 3, 1, 1, 0, 0, 0},
        {0xFFFFFFFFu, 2116, 2, 7, 5, 6, 28, 15},
    };
    for (const Case& c : cases) {
        const DeviceCalendar got = SecondsToCalendar(c.seconds);
        SCOPED_TRACE(c.seconds);
        EXPECT_EQ(got.year, c.year);
        EXPECT_EQ(got.month, c.month);
        EXPECT_EQ(got.day, c.day);
        EXPECT_EQ(got.weekday, c.weekday);
        EXPECT_EQ(got.hour, c.hour);
        EXPECT_EQ(got.minute, c.minute);
        EXPECT_EQ(got.second, c.second);
    }
}

TEST(SecondsToCalendar, MatchesTheGregorianCalendarOverTheWholeRange) {
    const QDateTime epoch(QDate(1980, 1, 1), QTime(0, 0), QTimeZone::utc());
    // A step that is no multiple of a day, minute or year visits every kind of date.
    for (uint64_t s = 0; s <= 0xFFFFFFFFull; s += 1000003ull) {
        const QDateTime want = epoch.addSecs(qint64(s));
        const DeviceCalendar got = SecondsToCalendar(uint32_t(s));
        ASSERT_EQ(QDate(got.year, got.month, got.day), want.date()) << s;
        ASSERT_EQ(QTime(got.hour, got.minute, got.second), want.time()) << s;
        ASSERT_EQ(got.weekday, want.date().dayOfWeek() % 7) << s;
    }
}

}  // namespace
