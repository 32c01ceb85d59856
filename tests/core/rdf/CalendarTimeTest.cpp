#include <gtest/gtest.h>

#include "rdf/CalendarTime.h"

namespace {
constexpr std::int64_t kDay = 86400000;

TEST(CalendarTimeTest, KnownDates) {
    const struct {
        std::int64_t ms;
        CalendarTime t;
    } cases[] = {
        {0, {1980, 1, 1, 0, 0, 0, 0}},
        {59 * kDay, {1980, 2, 29, 0, 0, 0, 0}},
        {60 * kDay + 3723004, {1980, 3, 1, 1, 2, 3, 4}},
        {1393675200LL * 1000, {2024, 2, 29, 12, 0, 0, 0}},
        {1362096000LL * 1000, {2023, 3, 1, 0, 0, 0, 0}},
        {1362095999999LL, {2023, 2, 28, 23, 59, 59, 999}},
        // The device counts 2100 as a common year.
        {CalendarTime{2100, 2, 28}.ToMs().value_or(-1) + kDay, {2100, 3, 1, 0, 0, 0, 0}},
        {65535 * kDay, {2159, 6, 6, 0, 0, 0, 0}},
        // The day number has 16 bits: the next day wraps to the epoch.
        {65536 * kDay + 5, {1980, 1, 1, 0, 0, 0, 5}},
        {-1000, {1980, 1, 1, 0, 0, 0, 0}},
    };
    for (const auto& c : cases) EXPECT_EQ(CalendarTime::FromMs(c.ms), c.t) << c.ms;
}

TEST(CalendarTimeTest, EveryDayRoundTrips) {
    for (std::int64_t day = 0; day <= 0xFFFF; ++day) {
        const std::int64_t ms = day * kDay + 45296789;  // 12:34:56.789
        const CalendarTime t = CalendarTime::FromMs(ms);
        ASSERT_EQ(t.ToMs(), ms) << "day " << day;
    }
}

TEST(CalendarTimeTest, FieldsOutsideTheCalendarAreRefused) {
    const CalendarTime bad[] = {
        {2023, 2, 29}, {2100, 2, 29}, {2024, 2, 30}, {2024, 4, 31}, {2024, 13, 1}, {2024, 0, 1},
        {2024, 1, 0},  {1979, 12, 31}, {2159, 6, 7}, {2024, 1, 1, 24}, {2024, 1, 1, 0, 60},
        {2024, 1, 1, 0, 0, 60}, {2024, 1, 1, 0, 0, 0, 1000},
    };
    for (const CalendarTime& t : bad) EXPECT_FALSE(t.ToMs()) << t.year << '-' << t.month << '-' << t.day;
    EXPECT_EQ(CalendarTime({2000, 2, 29}).ToMs(), std::int64_t(7364) * kDay);
}
}  // namespace

namespace {
TEST(CalendarTimeTest, ParsesTypedTimes) {
    const std::int64_t noon = 1393675200LL * 1000;  // 29.02.2024 12:00:00
    const struct {
        const char* text;
        std::optional<std::int64_t> ms;
    } cases[] = {
        {"29.02.2024 12:00:00", noon},
        {"29.02.2024 12:00:00.5", noon + 500},
        {"29.02.2024 12:00:00.025", noon + 25},
        {" 2024-02-29T12:00 ", noon},
        {"2024-02-29 12:00:01,250", noon + 1250},
        {"29.02.2024", noon - 12 * 3600000},
        {"1.1.1980 0:00", 0},
        {"29.02.2023 12:00", std::nullopt},  // no such day
        {"29.02.2024 24:00", std::nullopt},
        {"12:00:00", std::nullopt},
        {"2024-02-29x", std::nullopt},
        {"", std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(ParseCalendarTime(QString::fromLatin1(c.text)), c.ms) << c.text;
}
}  // namespace
