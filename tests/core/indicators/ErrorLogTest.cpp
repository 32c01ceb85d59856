#include <gtest/gtest.h>

#include "language/LanguageKeys.h"
#include "indicators/ErrorLog.h"

namespace {

TEST(ErrorLogTest, EachChangedBitAddsARowNewestFirst) {
    CErrorLog log;
    const QTime t1(10, 0, 1), t2(10, 0, 2);
    EXPECT_EQ(log.Update(0, t1), 0);
    EXPECT_EQ(log.Update(0b101, t1), 2);  // bits 1 and 3 came
    EXPECT_EQ(log.Update(0b100, t2), 1);  // bit 1 went
    EXPECT_EQ(log.Mask(), 0b100u);
    ASSERT_EQ(log.Rows().size(), 3u);
    const int bits[] = {1, 3, 1};
    const bool set[] = {false, true, true};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(log.Rows()[size_t(i)].bit, bits[i]) << i;
        EXPECT_EQ(log.Rows()[size_t(i)].set, set[i]) << i;
    }
    EXPECT_EQ(log.Rows()[0].TimeText(), "10:00:02");
    EXPECT_EQ(log.Update(0b100, t2), 0);  // nothing changed, nothing added
}

TEST(ErrorLogTest, RowTextsFollowTheBit) {
    struct Case {
        int bit;
        const char* code;
        int textId;
    };
    const Case cases[] = {{1, "1", LNG_DEV_ERROR_1},
                          {20, "20", LNG_DEV_ERROR_20},
                          {21, "21", LNG_DEV_ERROR_UNCNOWN},
                          {32, "--", LNG_DEV_ERROR_UNCNOWN}};
    for (const Case& c : cases) {
        const CErrorLog::Row row{c.bit, true, QTime(0, 0)};
        EXPECT_EQ(row.CodeText(), c.code);
        EXPECT_EQ(row.TextId(), c.textId);
    }
    CErrorLog log;
    log.Update(0x80000000u, QTime(1, 2, 3));
    ASSERT_EQ(log.Rows().size(), 1u);
    EXPECT_EQ(log.Rows()[0].bit, 32);
}

TEST(ErrorLogTest, KeepsTheNewestFiftyRowsAndClears) {
    CErrorLog log;
    // Toggling bit 1 fifty-one times: rows alternate red and green, the first (red) drops out.
    quint32 mask = 0;
    for (int i = 0; i < 51; ++i) {
        mask ^= 1u;
        log.Update(mask, QTime(0, 0).addSecs(i));
    }
    ASSERT_EQ(log.Rows().size(), size_t(CErrorLog::kMaxRows));
    EXPECT_EQ(log.Rows().front().time, QTime(0, 0).addSecs(50));
    EXPECT_EQ(log.Rows().back().time, QTime(0, 0).addSecs(1));
    // A jump of many bits at once still leaves at most fifty rows.
    log.Update(0xFFFFFFFEu, QTime(2, 0));
    EXPECT_EQ(log.Rows().size(), size_t(CErrorLog::kMaxRows));
    EXPECT_EQ(log.Mask(), 0xFFFFFFFEu);

    log.Clear();
    EXPECT_TRUE(log.Rows().empty());
    EXPECT_EQ(log.Mask(), 0u);
    EXPECT_EQ(log.Update(0b10, QTime(3, 0)), 1);
}

TEST(ErrorLogTest, ColumnsShareTheWidthLessTheScrollBar) {
    int w[4];
    CErrorLog::ColumnWidths(415, w);
    EXPECT_EQ(w[0], 20);
    EXPECT_EQ(w[1], 40);
    EXPECT_EQ(w[2], 260);
    EXPECT_EQ(w[3], 80);
    CErrorLog::ColumnWidths(5, w);
    EXPECT_EQ(w[2], 0);
}

}  // namespace
