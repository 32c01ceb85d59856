#include <gtest/gtest.h>

#include "livegraph/LiveCoefficient.h"
#include "livegraph/LiveSourceList.h"

namespace {

TEST(LiveSourceList, RowKTakesTheKthSourceInArrivalOrder) {
    CLiveSourceList list;
    for (int row = 0; row < CLiveSourceList::kRows; ++row) EXPECT_EQ(list.Selection(row), -1);

    const CLiveSourceList::OfferResult first = list.Offer(0x00000001);
    EXPECT_TRUE(first.added);
    EXPECT_EQ(first.index, 0);
    EXPECT_TRUE(list.RowShows(0, 0x00000001));
    for (int row = 1; row < CLiveSourceList::kRows; ++row) EXPECT_EQ(list.Selection(row), -1) << row;

    EXPECT_EQ(list.Offer(0x02000001).index, 1);
    EXPECT_FALSE(list.Offer(0x00000001).added);  // known: found, not added again
    EXPECT_EQ(list.Offer(0x00000001).index, 0);
    EXPECT_EQ(list.Count(), 2);
    EXPECT_EQ(list.Code(1), 0x02000001u);
    EXPECT_TRUE(list.RowShows(1, 0x02000001));

    // A row the operator has set keeps its choice when its own entry arrives.
    EXPECT_TRUE(list.Select(2, 0));
    EXPECT_EQ(list.Offer(0x03000001).index, 2);
    EXPECT_EQ(list.Selection(2), 0);
    // Sources beyond the sixth give no row anything.
    for (quint32 channel = 4; channel < 10; ++channel) list.Offer(channel << 24 | 1u);
    EXPECT_EQ(list.Selection(5), 5);
    EXPECT_EQ(list.Selection(0), 0);
}

TEST(LiveSourceList, OnlyKindsOneToTwentyNineAreListed) {
    CLiveSourceList list;
    for (quint32 code : {0x00000000u, 0x0100001Eu, 0x0000FFFFu, 0xFFFFFFFFu}) {
        EXPECT_EQ(list.Offer(code).index, -1) << std::hex << code;
    }
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(list.Selection(0), -1);
    EXPECT_TRUE(list.Offer(0x1205001D).added);
}

TEST(LiveSourceList, HoldsAtMost251Sources) {
    CLiveSourceList list;
    for (quint32 channel = 0; channel < 255; ++channel) list.Offer((channel << 24) | 1u);
    EXPECT_EQ(list.Count(), 251);
    EXPECT_EQ(list.Offer(250u << 24 | 1u).index, 250);  // the last one still routes its values
    EXPECT_EQ(list.Offer(251u << 24 | 1u).index, -1);
}

TEST(LiveSourceList, RowsChooseIndependently) {
    CLiveSourceList list;
    list.Offer(1);
    list.Offer(2);
    EXPECT_TRUE(list.Select(2, 1));
    EXPECT_FALSE(list.Select(2, 1));  // unchanged
    EXPECT_FALSE(list.Select(2, 2));  // not an entry
    EXPECT_FALSE(list.Select(6, 0));  // not a row
    EXPECT_TRUE(list.RowShows(2, 2));
    EXPECT_TRUE(list.RowShows(1, 2));  // its own arrival order
    EXPECT_TRUE(list.Select(1, 0));
    EXPECT_TRUE(list.RowShows(1, 1));
    EXPECT_FALSE(list.RowShows(1, 2));
    EXPECT_TRUE(list.RowShows(2, 2));
}

TEST(LiveCoefficient, TypedTextBecomesTwoDecimalsWithinLimits) {
    struct Case {
        const char* typed;
        const char* shown;  // nullptr: not a number, the stored value comes back
    };
    const Case cases[] = {
        {"12.345", "12.34"}, {"-3", "0.00"},   {"20000", "10000.00"}, {"50000000", "10000.00"},
        {"0.29", "0.29"},    {" 7.5x", "7.50"}, {"+2", "2.00"},        {"-0", "0.00"},
        {"1e999", "10000.00"}, {"inf", "10000.00"}, {"abc", nullptr},  {"", nullptr},
        {"nan", nullptr},    {"-", nullptr},
    };
    for (const Case& c : cases) {
        const std::optional<double> parsed = LiveCoefficient::ParseLeading(QString::fromLatin1(c.typed));
        if (!c.shown) {
            EXPECT_FALSE(parsed.has_value()) << c.typed;
            continue;
        }
        ASSERT_TRUE(parsed.has_value()) << c.typed;
        EXPECT_EQ(LiveCoefficient::Text(LiveCoefficient::Normalise(*parsed)), c.shown) << c.typed;
    }
}

}  // namespace
