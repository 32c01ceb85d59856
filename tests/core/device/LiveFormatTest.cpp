#include <gtest/gtest.h>

#include "device/LiveFormat.h"
#include "language/LanguageKeys.h"
#include "support/TestSupport.h"

namespace {

constexpr int kNone = LabelText::kNoUnit;

class LiveFormatTest : public ::testing::Test {
protected:
    void SetUp() override { UseKeyNameLanguage(); }
};

TEST_F(LiveFormatTest, ScaledValuesAndUnits) {
    struct Case {
        const char* what;
        LabelText (*rule)(int32_t);
        int32_t raw;
        const char* value;
        int unit;
    } cases[] = {
        {"volts up to 999.9", LiveFormat::Voltage, 9999, "999.9", LNG_DEVICE_PREFIX_V},
        {"kilovolts from 1000.0", LiveFormat::Voltage, 10000, "1.0", LNG_DEVICE_PREFIX_KV},
        {"negative voltage", LiveFormat::Voltage, -123456, "-12345.6", LNG_DEVICE_PREFIX_V},
        {"amperes up to 999.99", LiveFormat::Current, 99999, "999.99", LNG_DEVICE_PREFIX_A},
        {"kiloamperes from 1000.00", LiveFormat::Current, 100000, "1.000", LNG_DEVICE_PREFIX_KA},
        {"negative active power in watts", LiveFormat::ActivePower, -25000, "-2500.0", LNG_DEVICE_PREFIX_WT},
        {"most negative active power", LiveFormat::ActivePower, INT32_MIN, "-214748364.8", LNG_DEVICE_PREFIX_WT},
        {"kilowatts", LiveFormat::ActivePower, 123456, "12.3", LNG_DEVICE_PREFIX_KWT},
        {"volt-amperes", LiveFormat::ApparentPower, 9999, "999.9", LNG_DEVICE_PREFIX_VA},
        {"kilovolt-amperes", LiveFormat::ApparentPower, 10000, "1.0", LNG_DEVICE_PREFIX_KVA},
        {"vars", LiveFormat::ReactivePower, -10000, "-1000.0", LNG_DEVICE_PREFIX_VAR},
        {"kilovars", LiveFormat::ReactivePower, 10001, "1.0", LNG_DEVICE_PREFIX_KVAR},
        {"frequency", LiveFormat::Frequency, 5001, "50.01", LNG_DEVICE_PREFIX_HZ},
        {"distortion", LiveFormat::Distortion, 7, "7", LNG_DEVICE_PREFIX_PERCENT},
        {"distortion shows 32 bits unsigned", LiveFormat::Distortion, -1, "4294967295", LNG_DEVICE_PREFIX_PERCENT},
        {"power factor", LiveFormat::PowerFactor, -987, "-0.987", kNone},
        {"active energy", LiveFormat::ActiveEnergy, 123456789, "12345678.9", LNG_DEVICE_PREFIX_KWTH},
        {"reactive energy", LiveFormat::ReactiveEnergy, 5, "0.5", LNG_DEVICE_PREFIX_KVARH},
        {"temperature", LiveFormat::Temperature, -235, "-23.5", LNG_DEVICE_PREFIX_DEGRE},
        {"sensor open", LiveFormat::Temperature, 9999, "LNG_DEVICE_TEMP_FOC", kNone},
        {"sensor shorted", LiveFormat::Temperature, -9999, "LNG_DEVICE_TEMP_FCC", kNone},
        {"temperature next to the marks", LiveFormat::Temperature, 9998, "999.8", LNG_DEVICE_PREFIX_DEGRE},
        {"analogue voltage", LiveFormat::AnalogVoltage, 1000, "10.00", LNG_DEVICE_PREFIX_V},
        {"analogue current", LiveFormat::AnalogCurrent, 2000, "20.00", LNG_DEVICE_PREFIX_MA},
        {"user-scaled value", LiveFormat::UserScaled, -150, "-1.50", kNone},
        {"pulses per minute", LiveFormat::PulsesPerMinute, 15, "1.5", kNone},
        {"pulse counter", LiveFormat::PulseCounter, -2, "4294967294", kNone},
    };
    for (const Case& c : cases) {
        const LabelText got = c.rule(c.raw);
        EXPECT_EQ(got.value, QString::fromLatin1(c.value)) << c.what;
        EXPECT_EQ(got.unitKey, c.unit) << c.what;
    }
}

TEST_F(LiveFormatTest, StatusTexts) {
    EXPECT_EQ(LiveFormat::FileSize(9998).value, "9998 LNG_DEVICE_PREFIX_BYTE");
    EXPECT_EQ(LiveFormat::FileSize(9999).value, "9.76 LNG_DEVICE_PREFIX_KB");
    EXPECT_EQ(LiveFormat::FileSize(9999).unitKey, kNone);
    EXPECT_EQ(LiveFormat::FirmwareText(0x0203), "2.3");
    EXPECT_EQ(LiveFormat::FirmwareText(0x02FF), "2.255");
    EXPECT_EQ(LiveFormat::FileNameText(7), "FILE0007.RDF");
    EXPECT_EQ(LiveFormat::FileNameText(65535), "FILE65535.RDF");
    EXPECT_EQ(LiveFormat::UptimeText(86400 + 3600 + 60 + 1), "LNG_DEVICE_DAY (1) 01:01:01");
    EXPECT_EQ(LiveFormat::UptimeText(0), "LNG_DEVICE_DAY (0) 00:00:00");
    EXPECT_EQ(LiveFormat::ClockText(0), "01.01.1980 / 00:00:00");
    EXPECT_EQ(LiveFormat::ClockText(631152000u + 60 * 86400 + 3723), "01.03.2000 / 01:02:03");
    EXPECT_EQ(LiveFormat::ExchangeRate(1182), (LabelText{"1182", LNG_DEVICE_PREFIX_RPS}));
}

TEST_F(LiveFormatTest, LastEventNeedsEventsOrAClockPast1980) {
    const uint32_t in2021 = 1293926400u;  // 01.01.2021 00:00:00
    EXPECT_EQ(LiveFormat::LastEventText(0, 0), "LNG_DEVICE_EVT_NO");
    EXPECT_EQ(LiveFormat::LastEventText(0, 365 * 86400), "LNG_DEVICE_EVT_NO");  // 31.12.1980
    EXPECT_EQ(LiveFormat::LastEventText(0, in2021), "01.01.2021 00:00:00");
    EXPECT_EQ(LiveFormat::LastEventText(3, 0), "01.01.1980 00:00:00");
}

}  // namespace
