#include <gtest/gtest.h>

#include <climits>
#include <set>

#include "devsettings/QuantityTable.h"
#include "devsettings/SourceCatalogue.h"
#include "language/Language.h"
#include "support/TestSupport.h"

namespace {
class SourceCatalogueTest : public ::testing::Test {
  protected:
    void SetUp() override { UseKeyNameLanguage(); }
};

TEST_F(SourceCatalogueTest, RowsFollowTheChannelLayout) {
    const SourceCatalogue rows = BuildSourceCatalogue();
    ASSERT_EQ(rows.size(), size_t(kSourceCatalogueRows));

    struct Expect {
        int row;
        SourceCode code;
        const char* name;
        const char* unit;
        double minimum, maximum, step;
    };
    const Expect expected[] = {
        {0, kNoSource, "LNG_SRC_S_NULL", "", 0.0, 0.0, 1.0},
        {1, 0x00000001, "LNG_SRC_S_K01_V1", "LNG_DEVICE_PREFIX_V", 5.0, 42257.7, 0.1},
        {2, 0x00010009, "LNG_SRC_S_K01_V2", "LNG_DEVICE_PREFIX_HZ", 25.0, 70.0, 0.01},
        {6, 0x00050002, "LNG_SRC_S_K01_V6", "LNG_DEVICE_PREFIX_V", -42257.7, 42257.7, 0.1},
        {19, 0x03000005, "LNG_SRC_S_K04_V1", "LNG_DEVICE_PREFIX_A", 0.05, 4000.0, 0.01},
        {43, 0x0700000B, "LNG_SRC_S_K08_V1", "LNG_DEVICE_PREFIX_DEGRE", -50.0, 250.0, 0.1},
        {45, 0x0900000C, "LNG_SRC_S_K10_V1", "LNG_DEVICE_PREFIX_V", 0.05, 12.0, 0.01},
        {46, 0x09010015, "LNG_SRC_S_K10_V2", "", -999.9, 3000.0, 0.1},
        {50, 0x0B010016, "LNG_SRC_S_K12_V2", "LNG_DEVICE_PREFIX_IVM", 0.0, 999999.9, 0.1},
        {51, 0x0B020017, "LNG_SRC_S_K12_V3", "LNG_DEVICE_PREFIX_IMP", 0.0, 999999999.0, 1.0},
        {64, 0x0F030012, "LNG_SRC_S_K16_V4", "LNG_DEVICE_PREFIX_COS", 0.001, 1.0, 0.001},
        {84, 0x1205001D, "LNG_SRC_S_K19_V6", "LNG_DEVICE_PREFIX_V", 5.0, 42257.7, 0.1},
    };
    for (const Expect& e : expected) {
        SCOPED_TRACE(e.row);
        const SourceInfo_t& r = rows[size_t(e.row)];
        EXPECT_EQ(r.code, e.code);
        EXPECT_EQ(r.name, QString::fromLatin1(e.name));
        EXPECT_EQ(r.unit, QString::fromLatin1(e.unit));
        EXPECT_DOUBLE_EQ(r.minimum, e.minimum);
        EXPECT_DOUBLE_EQ(r.maximum, e.maximum);
        EXPECT_DOUBLE_EQ(r.step, e.step);
    }

    // Channel by channel, variant by variant, every code once, no kind 0.
    std::set<SourceCode> seen;
    for (size_t i = 2; i < rows.size(); ++i) {
        const SourceCode prev = rows[i - 1].code, cur = rows[i].code;
        EXPECT_TRUE(
            ChannelIndexOf(cur) == ChannelIndexOf(prev) + 1 ||
            (ChannelIndexOf(cur) == ChannelIndexOf(prev) && VariantIndexOf(cur) == VariantIndexOf(prev) + 1))
            << i;
    }
    for (size_t i = 1; i < rows.size(); ++i) {
        EXPECT_NE(KindOf(rows[i].code), 0u);
        EXPECT_TRUE(seen.insert(rows[i].code).second);
    }
    EXPECT_EQ(ChannelIndexOf(rows.back().code), 18u);
}

TEST_F(SourceCatalogueTest, FindByCode) {
    const SourceCatalogue rows = BuildSourceCatalogue();
    EXPECT_EQ(FindSourceRow(rows, kNoSource), 0);
    EXPECT_EQ(FindSourceRow(rows, 0x09010015), 46);
    // Channel 10 with the kind of channel 11's current input is in no row.
    EXPECT_EQ(FindSourceRow(rows, MakeSourceCode(9, 0, QK_CURRENT_DC)), -1);
    EXPECT_EQ(FindSource(rows, 0x12345678), nullptr);
    ASSERT_NE(FindSource(rows, 0x1205001D), nullptr);
    EXPECT_EQ(FindSource(rows, 0x1205001D)->name, QStringLiteral("LNG_SRC_S_K19_V6"));
}

class QuantityTableTest : public SourceCatalogueTest {};

TEST_F(QuantityTableTest, SeriesNamesAndDivisors) {
    const CQuantityTable table = CQuantityTable::Build();
    const QString unknown = QStringLiteral("LNG_SRC_F_UNCNOWN");
    const struct {
        SourceCode code;
        QString name;
    } names[] = {
        {0x00000001, QStringLiteral("LNG_SRC_F_CHANNEL 1: LNG_SRC_F_VoltageRMS")},
        {0x1205001D, QStringLiteral("LNG_SRC_F_CHANNEL 19: LNG_SRC_F_VoltageZSEQ")},
        {0x27000000, QStringLiteral("LNG_SRC_F_CHANNEL 40: LNG_SRC_F_Uncnown")},
        {0x28000001, unknown},
        {0x0000001E, unknown},
        {kNoSource, unknown},
    };
    for (const auto& n : names)
        EXPECT_EQ(table.SeriesName(n.code), n.name) << std::hex << n.code;

    const int divisors[kQuantityKindCount] = {1,  10,  10,  10,  10, 100, 100, 100, 100,  100,
                                              1,  10,  100, 100, 1,  10,  10,  10,  1000, 10,
                                              10, 100, 10,  1,   10, 10,  10,  10,  10,   10};
    for (int k = 0; k < kQuantityKindCount; ++k) {
        EXPECT_EQ(CQuantityTable::DivisorOfKind(unsigned(k)), divisors[k]) << k;
        EXPECT_EQ(table.Row(unsigned(k)).divisor, divisors[k]);
        EXPECT_EQ(table.Row(unsigned(k)).kind, k);
    }
    EXPECT_EQ(CQuantityTable::DivisorOfKind(30), 1);
    EXPECT_EQ(CQuantityTable::DivisorOf(0x00070012), 1000);
    EXPECT_EQ(table.Row(QK_FREQUENCY).unit, QStringLiteral("LNG_DEVICE_PREFIX_HZ"));
    EXPECT_TRUE(table.Row(QK_POWER_COS).unit.isEmpty());
}

TEST_F(QuantityTableTest, ValueTexts) {
    const CQuantityTable table = CQuantityTable::Build();
    const struct {
        unsigned kind;
        double value;
        const char* text;
    } cases[] = {
        {QK_VOLTAGE_RMS, -1234.5, "-1234.5"},
        {QK_POWER_COS, 0.987, "0.987"},
        {QK_THD, 55.0, "55"},
        {QK_THD, 55.9, "55"},                // truncated, not rounded
        {QK_THD, -55.9, "-55"},              // toward zero
        {QK_LOGIC_CNT, 1e12, "2147483647"},  // beyond int: held at its end
        {QK_LOGIC_CNT, -1e12, "-2147483648"},
        {QK_FREQUENCY, 50.0, "50.00"},
        {QK_VOLTAGE_RMS, 230.25, "230.2"},
        {30, 1.0, "LNG_SRC_F_UNCNOWN"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(table.ValueText(c.kind, c.value), QString::fromLatin1(c.text)) << c.kind;
}

// The integer formatter used by exports must write what the double formatting writes.
TEST_F(QuantityTableTest, RawFormattingMatchesValueText) {
    const CQuantityTable table = CQuantityTable::Build();
    const std::int32_t raws[] = {0,         1,          -1,      5,       -5,         9,    10,
                                 -10,       99,         100,     987,     -987,       1000, -12345,
                                 123456789, -123456789, INT_MAX, INT_MIN, INT_MIN + 1};
    for (unsigned kind = 0; kind < unsigned(kQuantityKindCount); ++kind)
        for (std::int32_t raw : raws) {
            char buf[kMaxRawValueChars];
            const size_t n = FormatRawValue(buf, kind, raw);
            const double value = double(raw) / CQuantityTable::DivisorOfKind(kind);
            EXPECT_EQ(QString::fromLatin1(buf, qsizetype(n)), table.ValueText(kind, value))
                << "kind " << kind << " raw " << raw;
        }
    // An unknown kind keeps its number rather than becoming a word.
    char buf[kMaxRawValueChars];
    EXPECT_EQ(std::string(buf, FormatRawValue(buf, 31, -42)), "-42");
}
}  // namespace
