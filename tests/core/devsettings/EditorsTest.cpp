#include <gtest/gtest.h>

#include <vector>

#include "DevSettingsLanguage.h"
#include "devsettings/MyPropertyDouble.h"
#include "devsettings/MyPropertyFSize.h"
#include "devsettings/MyPropertyIP.h"
#include "devsettings/MyPropertyInt.h"
#include "devsettings/MyPropertyList.h"
#include "devsettings/MyPropertyPasswASCII.h"
#include "devsettings/MyPropertySource.h"
#include "devsettings/MyPropertyTimeLen.h"

namespace {

// What the settings window would hear from a row.
class RecordingNotifier : public IPropertyNotifier {
  public:
    void ParameterChanged(CMyProperty&) override { ++changed; }
    void RowUpdated(CMyProperty&) override { ++updated; }
    int changed = 0;
    int updated = 0;
};

class Editors : public ::testing::Test {
  protected:
    void SetUp() override { UseDevSettingsLanguage(); }
};

TEST(RegisterBindingTest, CountFollowsTheType) {
    const int expected[] = {1, 1, 2, 2, 13, 6, 0, 0};
    for (uint32_t type = 0; type < 8; ++type)
        EXPECT_EQ(RegisterBinding(EK_INT, type, 2000).count, expected[type]);
    EXPECT_EQ(RegisterBinding(EK_INT, 0xFFFFFFFFu, 2000).count, 0);
}

TEST_F(Editors, DoubleTruncatesTowardZeroAndClamps) {
    struct Case {
        double step, minimum, maximum;
        const char* typed;
        int64_t raw;
        const char* shown;
    } cases[] = {
        {0.01, 0, 10, "2.3", 229, "2.29"},
        {0.1, -99.9, 99.9, "-0.35", -3, "-0.3"},
        {0.1, -99.9, 99.9, "150", 999, "99.9"},
        {0.1, -99.9, 99.9, "-1e9", -999, "-99.9"},
        {0.1, -99.9, 99.9, "  7.25xyz ", 72, "7.2"},
        {0.001, 0, 1, "0.987", 987, "0.987"},
        {0.5, 0, 100, "3.2", 6, "3"},  // factor 2 has no decimals of its own
        {0, 0, 100, "42.9", 42, "42"},
    };
    for (const Case& c : cases) {
        CMyPropertyDouble row("d", 0, c.minimum, c.maximum, c.step, "",
                              RegisterBinding(EK_DOUBLE, RT_INT32, 2000));
        row.ParseText(c.typed);
        EXPECT_EQ(row.Value(), c.raw) << c.typed;
        EXPECT_EQ(row.FormatValue(), c.shown) << c.typed;
    }
}

TEST_F(Editors, UnreadableTextKeepsTheValueWithoutNotice) {
    RecordingNotifier grid;
    CMyPropertyDouble d("d", 1.5, 0, 10, 0.1, "", RegisterBinding(EK_DOUBLE, RT_INT16, 2012));
    CMyPropertyInt i("i", 502, 1, 65535, "", RegisterBinding(EK_INT, RT_UINT16, 2146));
    CMyPropertyIP ip("ip", 0x0200A8C0, "", RegisterBinding(EK_IP, RT_UINT32, 2135));
    CMyPropertyList list("l", 1, "Off|Dim|On", "", RegisterBinding(EK_LIST, RT_UINT16, 2072));
    for (CMyProperty* row : std::vector<CMyProperty*>{&d, &i, &ip, &list}) {
        row->SetNotifier(&grid);
        const QString before = row->FormatValue();
        for (const char* text : {"", "abc", "-", ".", "nan", "inf"})
            row->ParseText(text);
        EXPECT_EQ(row->FormatValue(), before);
    }
    EXPECT_EQ(grid.changed, 0);
}

TEST_F(Editors, IpClampsEachTypedNumber) {
    CMyPropertyIP ip("ip", 0x0200A8C0, "", RegisterBinding(EK_IP, RT_UINT32, 2135));
    EXPECT_EQ(ip.FormatValue(), "192.168.0.2");
    ip.ParseText("300.1.2.-5");
    EXPECT_EQ(ip.FormatValue(), "255.1.2.0");
    EXPECT_EQ(ip.Value(), 0x000201FF);
    ip.ParseText("10.0.0");
    EXPECT_EQ(ip.FormatValue(), "255.1.2.0");
}

TEST_F(Editors, TimeLenShowsTheLargestFittingUnitAndReadsUnitWords) {
    CMyPropertyTimeLen ms("t", 1500, 1, 3600000, 0, "", RegisterBinding(EK_TIMELEN, RT_UINT32, 2113));
    EXPECT_EQ(ms.FormatValue(), "1 s");
    struct Case {
        const char* typed;
        int64_t value;
        const char* shown;
    } cases[] = {
        {"2", 2, "2 ms"},           {"2 s", 2000, "2 s"},
        {"2 hours", 2000, "2 s"},  // unknown unit keeps
        {"60 s", 60000, "60 s"},    {"61 s", 61000, "1 min"},
        {"3 min", 180000, "3 min"}, {"2 S", 180000, "3 min"},  // unit words are case-sensitive
        {"0", 1, "1 ms"},           {"99999 min", 3600000, "60 min"},
    };
    for (const Case& c : cases) {
        ms.ParseText(c.typed);
        EXPECT_EQ(ms.Value(), c.value) << c.typed;
        EXPECT_EQ(ms.FormatValue(), c.shown) << c.typed;
    }
    CMyPropertyTimeLen s("t", 90, 60, 3600, 1, "", RegisterBinding(EK_TIMELEN, RT_UINT16, 2204));
    EXPECT_EQ(s.FormatValue(), "1 min");
    s.ParseText("2 min");
    EXPECT_EQ(s.Value(), 120);
    s.SetValue(5);
    EXPECT_EQ(s.Value(), 60);
}

TEST_F(Editors, OptionRowsMatchWithoutCaseAndShowEmptyBeyondTheirOptions) {
    CMyPropertyList list("l", 2, "Off|Dim|On", "", RegisterBinding(EK_LIST, RT_UINT16, 2072));
    EXPECT_EQ(list.FormatValue(), "On");
    list.ParseText("  dim ");
    EXPECT_EQ(list.Value(), 1);
    list.SetValue(7);
    EXPECT_EQ(list.FormatValue(), "");
    list.SetValue(0x10002);  // only the low 16 bits count
    EXPECT_EQ(list.FormatValue(), "On");

    CMyPropertyList empty("l", 0, "", "", RegisterBinding(EK_LIST, RT_UINT16, 2072));
    EXPECT_EQ(empty.Options(), QStringList{QString()});
}

TEST_F(Editors, RepeatedOptionsAreLeftOutWithTheirValues) {
    // "32 X" at index 0 and 10: the second goes, and every size after it moves down.
    static CLanguage same;
    LoadTestLanguage(same, "[language]\r\nLNG_DEVICE_PREFIX_KB=X\r\nLNG_DEVICE_PREFIX_MB=X\r\n");
    CLanguage::SetCurrent(&same);
    CMyPropertyFSize row("f", 67108864, "", RegisterBinding(EK_FSIZE, RT_UINT32, 2115));
    UseDevSettingsLanguage();
    EXPECT_EQ(row.Options().size(), 10);
    EXPECT_EQ(row.Value(), 32768);  // 64 MB went with its option: the first option is chosen
    EXPECT_EQ(row.Index(), 0);

    CMyPropertyList list("l", 0, "a|b|a|c", "", RegisterBinding(EK_LIST, RT_UINT16, 2072));
    EXPECT_EQ(list.Options(), (QStringList{"a", "b", "c"}));
}

TEST_F(Editors, FileSizeAndSourceSelectByTableValue) {
    CMyPropertyFSize size("f", 16777216, "", RegisterBinding(EK_FSIZE, RT_UINT32, 2115));
    EXPECT_EQ(size.FormatValue(), "16 MB");
    EXPECT_EQ(size.Index(), 9);
    size.SetValue(12345);
    EXPECT_EQ(size.Index(), 0);
    EXPECT_EQ(size.Value(), 32768);
    size.ParseText("512 mb");
    EXPECT_EQ(size.Value(), 536870912);

    CMyPropertySource source("s", kNoSource, "", RegisterBinding(EK_SOURCE, RT_UINT32, 2073));
    EXPECT_EQ(source.Options().size(), 85);
    EXPECT_EQ(source.FormatValue(), "None");
    source.SetValue(0x00010009);
    EXPECT_EQ(source.Index(), 2);
    source.SetValue(MakeSourceCode(9, 0, 13));  // channel 10 has no direct current
    EXPECT_EQ(source.Index(), 0);
    EXPECT_EQ(source.Value(), int64_t(kNoSource));
}

TEST_F(Editors, PasswordIsTrimmedAndCut) {
    CMyPropertyPasswASCII p("p", "1234567", 6, "", RegisterBinding(EK_PASSWASCII, RT_TEXT6, 2123));
    EXPECT_EQ(p.Text(), "123456");
    p.ParseText("  abcdefgh  ");
    EXPECT_EQ(p.Text(), "abcdef");
    EXPECT_EQ(p.FormatValue(), "\"abcdef\"");
    EXPECT_EQ(p.EditText(), "abcdef");
    // A text read from registers: two letters, then zero codes.
    p.SetText(QString("ab") + QString(4, QChar(0)));
    EXPECT_EQ(p.FormatValue(), "\"ab\"");
    EXPECT_EQ(p.Text().size(), 6);
    p.AcceptValue();
    p.SetText("ab");
    EXPECT_FALSE(p.IsModified());  // the zeros after the visible text are no change
    EXPECT_TRUE(p.EditCharacters().contains(u'Ж'));
    EXPECT_FALSE(p.EditCharacters().contains(u'Ё'));
    EXPECT_EQ(p.EditCharacters().size(), 10 + 52 + 64);
}

TEST_F(Editors, MarkFollowsEditsAndClearsOnAcceptAndRevert) {
    RecordingNotifier grid;
    CMyPropertyInt port("i", 502, 1, 65535, "", RegisterBinding(EK_INT, RT_UINT16, 2146));
    port.SetNotifier(&grid);
    EXPECT_EQ(port.EditCharacters(), "0123456789-");

    port.ParseText("503");
    EXPECT_TRUE(port.ModifiedMark());
    EXPECT_EQ(grid.changed, 1);
    port.ParseText("502");  // edited back to the baseline: the bold goes
    EXPECT_FALSE(port.ModifiedMark());
    EXPECT_EQ(grid.changed, 2);

    port.ParseText("70000");
    EXPECT_EQ(port.Value(), 65535);
    port.AcceptValue();
    EXPECT_FALSE(port.ModifiedMark());
    EXPECT_EQ(port.BaselineValue(), 65535);

    port.SetValue(80);
    EXPECT_TRUE(port.ModifiedMark());
    port.RevertToBaseline();
    EXPECT_FALSE(port.ModifiedMark());
    EXPECT_EQ(port.Value(), 65535);

    // A device read that brings a marked row back to its baseline clears its mark.
    port.SetValue(80);
    const int before = grid.changed;
    port.SetValue(65535);
    EXPECT_FALSE(port.ModifiedMark());
    EXPECT_EQ(grid.changed, before + 1);
    // The same value again is no change at all.
    port.SetValue(65535);
    EXPECT_EQ(grid.changed, before + 1);
}

TEST_F(Editors, DoubleReRangesAndClamps) {
    CMyPropertyDouble t("t", 0, 0, 0, 1, "", RegisterBinding(EK_DOUBLE, RT_INT32, 2032));
    t.ParseText("230");
    EXPECT_EQ(t.Value(), 0);  // no source yet: range 0..0
    t.SetRange(50, 422577, 10);
    t.ParseText("230.55");
    EXPECT_EQ(t.Value(), 2305);
    EXPECT_EQ(t.FormatValue(), "230.5");
    t.SetRange(2500, 7000, 0);
    EXPECT_EQ(t.Factor(), 1u);
    EXPECT_EQ(t.Value(), 2500);
    EXPECT_EQ(t.FormatValue(), "2500");
}

}  // namespace
