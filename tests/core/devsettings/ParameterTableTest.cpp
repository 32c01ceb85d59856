#include <gtest/gtest.h>

#include <set>

#include "DevSettingsLanguage.h"
#include "devsettings/MyPropertyDouble.h"
#include "devsettings/MyPropertySource.h"
#include "devsettings/ParameterDefinition.h"
#include "devsettings/ParameterTable.h"
#include "devsettings/SourceLimits.h"

namespace {

class ParameterTable : public ::testing::Test {
  protected:
    void SetUp() override {
        UseDevSettingsLanguage();
        table.BuildParameterTable();
    }
    CMyPropertySource* Source(int n) {
        return static_cast<CMyPropertySource*>(table.FindByAddress(EventSourceAddress(n)));
    }
    CMyPropertyDouble* Up(int n) {
        return static_cast<CMyPropertyDouble*>(table.FindByAddress(EventUpThresholdAddress(n)));
    }
    CMyPropertyDouble* Down(int n) {
        return static_cast<CMyPropertyDouble*>(table.FindByAddress(EventDownThresholdAddress(n)));
    }
    CParameterTable table;
};

TEST_F(ParameterTable, TwentyGroupsBindEveryUsedRegisterExactlyOnce) {
    ASSERT_EQ(table.Groups().size(), 20u);
    EXPECT_EQ(table.RowCount(), 126);
    EXPECT_EQ(table.Groups()[0].title, "LNG_SETDEV_G1_TITLE");
    EXPECT_EQ(table.Groups()[19].title, "LNG_SETDEV_G20_CH15_TITLE");

    std::multiset<int> used;
    for (const CMyProperty* row : table.Rows())
        for (int a = 0; a < row->Binding().count; ++a)
            used.insert(row->Binding().address + a);
    for (int a = 2000; a <= 2221; ++a) {
        const bool unused = (a >= 2161 && a <= 2163) || (a >= 2180 && a <= 2182) ||
                            (a >= 2199 && a <= 2201) || (a >= 2210 && a <= 2213);
        EXPECT_EQ(used.count(a), unused ? 0u : 1u) << a;
    }
    EXPECT_EQ(used.size(), 222u - 13u);
}

TEST_F(ParameterTable, RowsCarryTheirKeysKindsAndDefaults) {
    struct Case {
        int address;
        EditorKind kind;
        uint32_t type;
        const char* name;
        const char* shown;
        int64_t value;
    } cases[] = {
        {2000, EK_DOUBLE, RT_INT16, "LNG_SETDEV_G1_TIMCORR", "0.0", 0},
        {2072, EK_LIST, RT_UINT16, "LNG_SETDEV_G1_DISP", "On", 2},
        {2113, EK_TIMELEN, RT_UINT32, "LNG_SETDEV_G2_WRPERIOD", "1 s", 1000},
        {2115, EK_FSIZE, RT_UINT32, "LNG_SETDEV_G2_FILELIM", "16 MB", 16777216},
        {2073, EK_SOURCE, RT_UINT32, "LNG_SETDEV_G2_SRC1", "None", 4294967295},
        {2135, EK_IP, RT_UINT32, "LNG_SETDEV_G4_IP", "192.168.0.2", 0x0200A8C0},
        {2137, EK_IP, RT_UINT32, "LNG_SETDEV_G4_MASK", "255.255.255.0", 0x00FFFFFF},
        {2146, EK_INT, RT_UINT16, "LNG_SETDEV_G4_MBUSPORT", "502", 502},
        {2204, EK_TIMELEN, RT_UINT16, "LNG_SETDEV_G4_OVSTIMOUT", "1 min", 90},
        {2001, EK_DOUBLE, RT_UINT16, "LNG_SETDEV_G6_CH1_SENS", "1.0", 10},
        {2214, EK_DOUBLE, RT_INT16, "LNG_SETDEV_G15_CH10_FRMA", "10.00", 1000},
        {2220, EK_DOUBLE, RT_INT16, "LNG_SETDEV_G15_CH11_TOMA", "20.0", 200},
        {2010, EK_LIST, RT_UINT16, "LNG_SETDEV_G13_CH8_SENS", "", 1},  // key-name option text has one option
        {2052, EK_TIMELEN, RT_UINT16, "LNG_SETDEV_G3_EVT1UPTIM", "10 ms", 10},
    };
    for (const Case& c : cases) {
        const CMyProperty* row = table.FindByAddress(c.address);
        ASSERT_NE(row, nullptr) << c.address;
        EXPECT_EQ(row->Kind(), c.kind) << c.address;
        EXPECT_EQ(row->Binding().type, c.type) << c.address;
        EXPECT_EQ(row->Name(), c.name) << c.address;
        EXPECT_EQ(row->FormatValue(), c.shown) << c.address;
        EXPECT_EQ(row->Value(), c.value) << c.address;
        EXPECT_EQ(row->Description(), QString(c.name) + "_INFO");
        EXPECT_FALSE(row->ModifiedMark());
    }
    EXPECT_EQ(table.FindByAddress(2123)->Text(), QString(kDefaultDevicePassword));
    EXPECT_EQ(table.FindByAddress(2186)->Text(), "vexor");
    EXPECT_EQ(table.FindByAddress(2161), nullptr);
    EXPECT_EQ(table.FindByAddress(2074), nullptr);  // the second register of a source is no row's first
}

TEST_F(ParameterTable, EventSourceReRangesItsThresholds) {
    // Every threshold starts at 0..0: typed values are forced to 0.
    for (int n = 0; n < kEventCount; ++n) {
        Up(n)->ParseText("100");
        EXPECT_EQ(Up(n)->Value(), 0);
        EXPECT_EQ(Down(n)->MaximumRaw(), 0);
    }
    Source(0)->SetValue(0x00000001);  // channel 1 RMS voltage
    EXPECT_EQ(Up(0)->Factor(), 10u);
    EXPECT_EQ(Up(0)->MinimumRaw(), 50);
    EXPECT_EQ(Up(0)->MaximumRaw(), 422577);
    EXPECT_EQ(Up(0)->Value(), 50);  // 0 clamped into the new range, and marked
    EXPECT_TRUE(Up(0)->ModifiedMark());
    EXPECT_EQ(Up(0)->Name(), "Upper 1, V");
    EXPECT_EQ(Down(0)->Name(), "Lower threshold of event 1, V");
    EXPECT_EQ(Up(1)->MaximumRaw(), 0);  // other events untouched

    Up(0)->SetValue(500);
    Source(0)->SetValue(0x00010009);  // frequency: 2500..7000
    EXPECT_EQ(Up(0)->Value(), 2500);
    EXPECT_EQ(Up(0)->FormatValue(), "25.00");
    EXPECT_EQ(Up(0)->Name(), "Upper 1, Hz");  // exactly one unit after two changes

    Source(0)->SetValue(MakeSourceCode(9, 1, 21));  // user scale: no unit
    EXPECT_EQ(Up(0)->Name(), "Upper 1");

    Source(0)->ParseText("None");
    EXPECT_EQ(Up(0)->MaximumRaw(), 0);
    EXPECT_EQ(Up(0)->Value(), 0);
}

TEST_F(ParameterTable, LongSuffixesAreNotTakenForUnits) {
    CMyPropertyDouble* up = Up(0);
    up->SetName("Up, far too long");  // the comma stands 16 characters from the end
    Source(0)->SetValue(0x00000001);
    EXPECT_EQ(up->Name(), "Up, far too long, V");
    up->SetName("Short");
    Source(0)->SetValue(0x00010009);
    EXPECT_EQ(up->Name(), "Short, Hz");
}

TEST_F(ParameterTable, SourceBackToItsBaselineReRangesToo) {
    Source(2)->SetValue(0x00000001);
    Up(2)->SetValue(2300);
    Source(2)->SetValue(int64_t(kNoSource));  // the baseline: the thresholds must follow it
    EXPECT_FALSE(Source(2)->ModifiedMark());
    EXPECT_EQ(Up(2)->MaximumRaw(), 0);
    EXPECT_EQ(Up(2)->Value(), 0);
}

TEST_F(ParameterTable, RebuildRestoresFactoryValues) {
    Source(0)->SetValue(0x00000001);
    table.FindByAddress(2146)->SetValue(1502);
    table.BuildParameterTable();
    EXPECT_EQ(table.FindByAddress(2146)->Value(), 502);
    EXPECT_EQ(Up(0)->MaximumRaw(), 0);
    EXPECT_EQ(Up(0)->Name(), "Upper 1");
}

}  // namespace

namespace {

TEST(SourceLimits, AgreeWithTheCatalogueRowByRow) {
    UseDevSettingsLanguage();
    const SourceCatalogue catalogue = BuildSourceCatalogue();
    for (const SourceInfo_t& row : catalogue) {
        SourceThresholdRange range;
        ASSERT_TRUE(ThresholdRangeOf(row.code, &range)) << row.code;
        EXPECT_EQ(range.minimum, row.minimum) << row.code;
        EXPECT_EQ(range.maximum, row.maximum) << row.code;
        EXPECT_EQ(range.step, row.step) << row.code;
    }
    // Codes the catalogue does not offer.
    int outside = 0;
    for (unsigned channel = 0; channel < 21; ++channel)
        for (unsigned variant = 0; variant < 7; ++variant)
            for (unsigned kind = 0; kind < 31; ++kind) {
                const SourceCode code = MakeSourceCode(channel, variant, kind);
                SourceThresholdRange range;
                if (FindSourceRow(catalogue, code) < 0) {
                    EXPECT_FALSE(ThresholdRangeOf(code, &range)) << code;
                    ++outside;
                }
            }
    EXPECT_EQ(outside, 21 * 7 * 31 - 84);
}

}  // namespace
