#include <gtest/gtest.h>

#include "device/DeviceInterface.h"
#include "device/LiveDecoder.h"
#include "device/RegisterImage.h"
#include "language/LanguageKeys.h"
#include "support/TestSupport.h"

namespace DI = DeviceInterface;

namespace {

void Put16(RegisterImage& image, int reg, uint16_t value) { ASSERT_TRUE(image.Write16(reg, value)); }
void Put32(RegisterImage& image, int reg, uint32_t value) {
    const uint16_t regs[2] = {uint16_t(value >> 16), uint16_t(value & 0xFFFF)};
    ASSERT_TRUE(image.Write(reg, 2, regs));
}
void PutItem(RegisterImage& image, int channel, int item, uint16_t kind, int32_t value) {
    Put16(image, DI::MeasureItemRegister(channel, item), kind);
    Put32(image, DI::MeasureValueRegister(channel, item), uint32_t(value));
}

TEST(RegisterImage, BlocksLieBackToBack) {
    EXPECT_EQ(RegisterImage::kSize, 591);
    struct Case {
        int reg, index;
    } cases[] = {{0, 0}, {26, 26}, {27, -1}, {99, -1}, {100, 27}, {441, 368}, {442, -1},
                 {1999, -1}, {2000, 369}, {2221, 590}, {2222, -1}, {-1, -1}};
    for (const Case& c : cases) EXPECT_EQ(RegisterImage::IndexOf(c.reg), c.index) << c.reg;

    RegisterImage image;
    const uint16_t two[2] = {0x8000, 0x0001};
    EXPECT_FALSE(image.Write(26, 2, two)) << "a write may not run from one block into the next";
    EXPECT_FALSE(image.Write(2221, 2, two));
    ASSERT_TRUE(image.Write(2220, 2, two));
    EXPECT_EQ(image.ReadU32(2220), 0x80000001u) << "high word first";
    EXPECT_EQ(image.ReadS32(2220), int32_t(0x80000001u));
    image.Clear();
    EXPECT_EQ(image.ReadU32(2220), 0u);
}

TEST(LiveDecoder, BarMaxima) {
    EXPECT_EQ(LiveDecoder::VoltageBarMaximum(10), 3470);
    EXPECT_EQ(LiveDecoder::CurrentBarMaximum(5), 750);
    EXPECT_EQ(LiveDecoder::PowerBarMaximum(10, 5), 17350);
    EXPECT_EQ(LiveDecoder::LineBarMaximum(10), 4500);
    EXPECT_EQ(LiveDecoder::VoltageBarMaximum(65535), 65535 * 347);
    // 65535 x 347 x 65535 does not fit in 32 bits.
    EXPECT_EQ(LiveDecoder::PowerBarMaximum(65535, 65535), 2000000000);
    EXPECT_EQ(LiveDecoder::PowerBarMaximum(5763, 1000), 1999761000);
    EXPECT_EQ(LiveDecoder::PowerBarMaximum(5764, 1000), 2000000000);
}

TEST(LiveDecoder, ThermometerScaleFollowsTheSensorType) {
    struct Case {
        uint16_t type;
        float maximum;
    } cases[] = {{0, 120.0f}, {1, 250.0f}, {7, 250.0f}};
    for (const Case& c : cases) {
        const ThermometerState t = LiveDecoder::Thermometer(c.type, 9999);
        EXPECT_EQ(t.minimum, -50.0f);
        EXPECT_EQ(t.maximum, c.maximum);
        EXPECT_FLOAT_EQ(t.value, 999.9f) << "the thermometer itself clamps";
    }
}

TEST(LiveDecoder, ButtonEnabling) {
    struct Case {
        const char* what;
        LinkState state;
        uint32_t status;
        uint16_t ftp;
        CommandButtons want;  // start, stop, reset, restart, card
    } cases[] = {
        {"not connected", LinkState::Reconnecting, 0x3F, 1, {false, false, false, false, false}},
        {"idle device", LinkState::Connected, 0x00, 1, {true, false, false, true, false}},
        {"errors", LinkState::Connected, 0x01, 1, {true, false, true, true, false}},
        {"recording", LinkState::Connected, 0x02, 0, {false, true, false, true, false}},
        {"recording, stop locked", LinkState::Connected, 0x06, 0, {true, false, false, true, false}},
        {"bit 2 alone", LinkState::Connected, 0x04, 0, {true, false, false, true, false}},
        {"card, FTP on", LinkState::Connected, 0x08, 1, {true, false, false, true, true}},
        {"bit 5, FTP on", LinkState::Connected, 0x20, 1, {true, false, false, true, true}},
        {"card, FTP off", LinkState::Connected, 0x08, 0, {true, false, false, true, false}},
        {"card, FTP switch 2", LinkState::Connected, 0x08, 2, {true, false, false, true, false}},
    };
    for (const Case& c : cases) EXPECT_EQ(LiveDecoder::Buttons(c.state, c.status, c.ftp), c.want) << c.what;
}

// Every item of every channel gets its own value, so a label that reads the wrong channel
// or item shows up.
class LiveDecodeTest : public ::testing::Test {
protected:
    void SetUp() override {
        UseKeyNameLanguage();
        for (int c = 0; c < DI::kChannelCount; ++c)
            for (int v = 0; v < DI::kItemsPerChannel; ++v) PutItem(image, c, v, uint16_t(1 + v), Raw(c, v));
        for (int n = 0; n < 3; ++n) Put16(image, DI::kRegVoltageSensor1 + n, uint16_t(10 + n));
        for (int n = 0; n < 4; ++n) Put16(image, DI::kRegCurrentSensor4 + n, uint16_t(5 + n));
    }
    static int32_t Raw(int channel, int item) { return (channel + 1) * 1000 + item + 1; }

    RegisterImage image;
};

TEST_F(LiveDecodeTest, EachLabelReadsItsOwnChannelAndItem) {
    const LiveView v = LiveDecoder::Decode(image, LinkState::Connected, 0);
    for (int n = 0; n < 3; ++n) {
        EXPECT_EQ(v.voltage[n].value, LiveFormat::Voltage(Raw(n, 0)));
        EXPECT_EQ(v.voltage[n].frequency, LiveFormat::Frequency(Raw(n, 1)));
        EXPECT_EQ(v.voltage[n].distortion, LiveFormat::Distortion(Raw(n, 2)));
        EXPECT_EQ(v.voltage[n].bar, (BarState{(10 + n) * 347, Raw(n, 0)}));
    }
    for (int n = 0; n < 4; ++n) {
        EXPECT_EQ(v.current[n].value, LiveFormat::Current(Raw(3 + n, 0)));
        EXPECT_EQ(v.current[n].frequency, LiveFormat::Frequency(Raw(3 + n, 1)));
        EXPECT_EQ(v.current[n].bar, (BarState{(5 + n) * 150, Raw(3 + n, 0)}));
    }
    EXPECT_EQ(v.temperature[1].value, LiveFormat::Temperature(Raw(8, 0)));
    EXPECT_EQ(v.analogVoltage.value, LiveFormat::AnalogVoltage(Raw(9, 0)));
    EXPECT_EQ(v.analogVoltage.userScaled, LiveFormat::UserScaled(Raw(9, 1)));
    EXPECT_EQ(v.analogVoltage.bar, (BarState{1000, Raw(9, 0)}));
    EXPECT_EQ(v.analogCurrent.value, LiveFormat::AnalogCurrent(Raw(10, 0)));
    EXPECT_EQ(v.analogCurrent.bar, (BarState{2000, Raw(10, 0)}));
    EXPECT_EQ(v.inputs[3].pulsesPerMinute, LiveFormat::PulsesPerMinute(Raw(14, 1)));
    EXPECT_EQ(v.inputs[3].counter, LiveFormat::PulseCounter(Raw(14, 2)));
    for (int n = 0; n < 3; ++n) {
        const PowerChannelView& p = v.power[n];
        const int c = 15 + n;
        EXPECT_EQ(p.apparent, LiveFormat::ApparentPower(Raw(c, 0)));
        EXPECT_EQ(p.active, LiveFormat::ActivePower(Raw(c, 1)));
        EXPECT_EQ(p.reactive, LiveFormat::ReactivePower(Raw(c, 2)));
        EXPECT_EQ(p.powerFactor, LiveFormat::PowerFactor(Raw(c, 3)));
        EXPECT_EQ(p.activeEnergy, LiveFormat::ActiveEnergy(Raw(c, 4)));
        EXPECT_EQ(p.reactiveEnergy, LiveFormat::ReactiveEnergy(Raw(c, 5)));
        const int32_t maximum = (10 + n) * 347 * (5 + n);
        EXPECT_EQ(p.activeBar, (BarState{maximum, Raw(c, 1)}));
        EXPECT_EQ(p.reactiveBar, (BarState{maximum, Raw(c, 2)}));
    }
    EXPECT_EQ(v.line.ab, LiveFormat::Voltage(Raw(18, 0)));
    EXPECT_EQ(v.line.caBar, (BarState{12 * 450, Raw(18, 2)}));
    EXPECT_EQ(v.line.negativeSequence, LiveFormat::Voltage(Raw(18, 3)));
    EXPECT_EQ(v.line.positiveSequence, LiveFormat::Voltage(Raw(18, 4)));
    EXPECT_EQ(v.line.zeroSequence, LiveFormat::Voltage(Raw(18, 5)));
}

TEST_F(LiveDecodeTest, GraphFeedTakesAll114ItemsInRegisterOrder) {
    const LiveView v = LiveDecoder::Decode(image, LinkState::Connected, 0);
    for (int i = 0; i < LiveView::kGraphPoints; ++i) {
        const int c = i / 6, item = i % 6;
        EXPECT_EQ(v.graph[i].key, (uint32_t(c) << 24) | uint32_t(1 + item)) << i;
        EXPECT_EQ(v.graph[i].value, Raw(c, item)) << i;
    }
}

TEST_F(LiveDecodeTest, StatusBlock) {
    Put16(image, DI::kRegFirmware, 0x0203);
    Put32(image, DI::kRegStatusWord, 0x0B);  // errors, recording, card
    Put32(image, DI::kRegErrorWord, 0x80000005u);
    Put32(image, DI::kRegCardCapacity, 0xFFFFFFFFu);
    Put32(image, DI::kRegCardFree, 1000);
    Put16(image, DI::kRegFileNumber, 12);
    Put32(image, DI::kRegFileSize, 20480);
    Put32(image, DI::kRegUptime, 90061);
    Put32(image, DI::kRegEventCount, 0);
    Put16(image, DI::kRegTempSensor8 + 1, 1);
    Put16(image, DI::kRegFtpSwitch, 1);
    PutItem(image, 11, 0, 14, 0x1FF);  // input 1: low byte 0xFF
    PutItem(image, 12, 0, 14, 0x100);  // input 2: low byte 0

    const LiveView v = LiveDecoder::Decode(image, LinkState::Connected, 1182);
    EXPECT_EQ(v.firmware, "2.3");
    EXPECT_TRUE(v.errorLamp);
    EXPECT_TRUE(v.recordingLamp);
    EXPECT_TRUE(v.card.present);
    EXPECT_EQ(v.card.capacityBytes, 4294967295.0 * 512);
    EXPECT_EQ(v.card.freeBytes, 512000.0);
    EXPECT_EQ(v.errorWord, 0x80000005u);
    EXPECT_EQ(v.fileName, "FILE0012.RDF");
    EXPECT_EQ(v.fileSize.value, "20.00 LNG_DEVICE_PREFIX_KB");
    EXPECT_EQ(v.uptime, "LNG_DEVICE_DAY (1) 01:01:01");
    EXPECT_EQ(v.deviceClock, "01.01.1980 / 00:00:00");
    EXPECT_EQ(v.eventCount, "0");
    EXPECT_EQ(v.lastEvent, "LNG_DEVICE_EVT_NO");
    EXPECT_EQ(v.exchangeRate.value, "1182");
    EXPECT_EQ(v.inputs[0].lamp, -1);
    EXPECT_EQ(v.inputs[1].lamp, 0);
    EXPECT_EQ(v.temperature[0].thermometer.maximum, 120.0f);
    EXPECT_EQ(v.temperature[1].thermometer.maximum, 250.0f);
    EXPECT_EQ(v.buttons, (CommandButtons{false, true, true, true, true}));
}

}  // namespace
