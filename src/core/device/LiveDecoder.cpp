#include "device/LiveDecoder.h"

#include <algorithm>

#include "device/RegisterImage.h"

namespace DI = DeviceInterface;

namespace LiveDecoder {
namespace {
constexpr int kVoltageBarFactor = 347;
constexpr int kCurrentBarFactor = 150;
constexpr int kLineBarFactor = 450;
constexpr int64_t kPowerBarLimit = 2000000000;
constexpr int32_t kAnalogVoltageBarMaximum = 1000;
constexpr int32_t kAnalogCurrentBarMaximum = 2000;

// Channel indexes (0-based) of the measure block.
constexpr int kFirstVoltage = 0;
constexpr int kFirstCurrent = 3;
constexpr int kFirstTemperature = 7;
constexpr int kAnalogVoltage = 9;
constexpr int kAnalogCurrent = 10;
constexpr int kFirstInput = 11;
constexpr int kFirstPower = 15;
constexpr int kLine = 18;

class Reader {
public:
    explicit Reader(const RegisterImage& image) : m_image(image) {}
    int32_t Item(int channel, int item) const { return m_image.ReadS32(DI::MeasureValueRegister(channel, item)); }
    uint16_t Reg(int reg) const { return m_image.Read16(reg); }
    uint32_t U32(int reg) const { return m_image.ReadU32(reg); }
    int32_t S32(int reg) const { return m_image.ReadS32(reg); }

private:
    const RegisterImage& m_image;
};

PhaseChannelView Phase(const Reader& r, int channel, LabelText (*rule)(int32_t), int32_t barMaximum) {
    PhaseChannelView v;
    const int32_t raw = r.Item(channel, 0);
    v.value = rule(raw);
    v.frequency = LiveFormat::Frequency(r.Item(channel, 1));
    v.distortion = LiveFormat::Distortion(r.Item(channel, 2));
    v.bar = {barMaximum, raw};
    return v;
}

AnalogView Analog(const Reader& r, int channel, LabelText (*rule)(int32_t), int32_t barMaximum) {
    AnalogView v;
    const int32_t raw = r.Item(channel, 0);
    v.value = rule(raw);
    v.userScaled = LiveFormat::UserScaled(r.Item(channel, 1));
    v.bar = {barMaximum, raw};
    return v;
}
}  // namespace

int32_t VoltageBarMaximum(uint16_t voltageSensor) { return int32_t(voltageSensor) * kVoltageBarFactor; }
int32_t CurrentBarMaximum(uint16_t currentSensor) { return int32_t(currentSensor) * kCurrentBarFactor; }
int32_t LineBarMaximum(uint16_t voltageSensor) { return int32_t(voltageSensor) * kLineBarFactor; }

int32_t PowerBarMaximum(uint16_t voltageSensor, uint16_t currentSensor) {
    // Both sensors at their largest give about 1.5e12: the product needs 64 bits.
    const int64_t product = int64_t(voltageSensor) * kVoltageBarFactor * int64_t(currentSensor);
    return int32_t(std::min(product, kPowerBarLimit));
}

ThermometerState Thermometer(uint16_t sensorType, int32_t raw) {
    ThermometerState t;
    t.minimum = -50.0f;
    t.maximum = sensorType == 0 ? 120.0f : 250.0f;
    t.value = float(raw / 10.0);
    return t;
}

CommandButtons Buttons(LinkState state, uint32_t statusWord, uint16_t ftpSwitch) {
    CommandButtons b;
    if (state != LinkState::Connected) return b;
    b.restart = true;
    b.resetErrors = (statusWord & DI::kStatusErrors) != 0;
    const bool stopOffered = (statusWord & DI::kStatusRecording) && !(statusWord & DI::kStatusStopLocked);
    b.stopRecording = stopOffered;
    b.startRecording = !stopOffered;
    b.memoryCard = (statusWord & DI::kStatusCardMask) != 0 && ftpSwitch == 1;
    return b;
}

LiveView Decode(const RegisterImage& image, LinkState state, uint32_t exchangeRate) {
    const Reader r(image);
    LiveView v;

    for (int n = 0; n < 3; ++n)
        v.voltage[n] = Phase(r, kFirstVoltage + n, LiveFormat::Voltage,
                             VoltageBarMaximum(r.Reg(DI::kRegVoltageSensor1 + n)));
    for (int n = 0; n < 4; ++n)
        v.current[n] = Phase(r, kFirstCurrent + n, LiveFormat::Current,
                             CurrentBarMaximum(r.Reg(DI::kRegCurrentSensor4 + n)));

    for (int n = 0; n < 2; ++n) {
        const int32_t raw = r.Item(kFirstTemperature + n, 0);
        v.temperature[n].value = LiveFormat::Temperature(raw);
        v.temperature[n].thermometer = Thermometer(r.Reg(DI::kRegTempSensor8 + n), raw);
    }

    v.analogVoltage = Analog(r, kAnalogVoltage, LiveFormat::AnalogVoltage, kAnalogVoltageBarMaximum);
    v.analogCurrent = Analog(r, kAnalogCurrent, LiveFormat::AnalogCurrent, kAnalogCurrentBarMaximum);

    for (int n = 0; n < 4; ++n) {
        DiscreteInputView& in = v.inputs[n];
        in.lamp = int8_t(uint8_t(r.Item(kFirstInput + n, 0) & 0xFF));
        in.pulsesPerMinute = LiveFormat::PulsesPerMinute(r.Item(kFirstInput + n, 1));
        in.counter = LiveFormat::PulseCounter(r.Item(kFirstInput + n, 2));
    }

    for (int n = 0; n < 3; ++n) {
        const int channel = kFirstPower + n;
        PowerChannelView& p = v.power[n];
        const int32_t maximum =
            PowerBarMaximum(r.Reg(DI::kRegVoltageSensor1 + n), r.Reg(DI::kRegCurrentSensor4 + n));
        const int32_t apparent = r.Item(channel, 0), active = r.Item(channel, 1), reactive = r.Item(channel, 2);
        p.apparent = LiveFormat::ApparentPower(apparent);
        p.active = LiveFormat::ActivePower(active);
        p.reactive = LiveFormat::ReactivePower(reactive);
        p.apparentBar = {maximum, apparent};
        p.activeBar = {maximum, active};
        p.reactiveBar = {maximum, reactive};
        p.powerFactor = LiveFormat::PowerFactor(r.Item(channel, 3));
        p.activeEnergy = LiveFormat::ActiveEnergy(r.Item(channel, 4));
        p.reactiveEnergy = LiveFormat::ReactiveEnergy(r.Item(channel, 5));
    }

    {
        LineVoltagesView& l = v.line;
        LabelText* labels[3] = {&l.ab, &l.bc, &l.ca};
        BarState* bars[3] = {&l.abBar, &l.bcBar, &l.caBar};
        for (int n = 0; n < 3; ++n) {
            const int32_t raw = r.Item(kLine, n);
            *labels[n] = LiveFormat::Voltage(raw);
            *bars[n] = {LineBarMaximum(r.Reg(DI::kRegVoltageSensor1 + n)), raw};
        }
        l.negativeSequence = LiveFormat::Voltage(r.Item(kLine, 3));
        l.positiveSequence = LiveFormat::Voltage(r.Item(kLine, 4));
        l.zeroSequence = LiveFormat::Voltage(r.Item(kLine, 5));
    }

    const uint32_t statusWord = r.U32(DI::kRegStatusWord);
    v.errorLamp = (statusWord & DI::kStatusErrors) != 0;
    v.recordingLamp = (statusWord & DI::kStatusRecording) != 0;
    v.card.present = (statusWord & DI::kStatusCardPresent) != 0;
    v.card.capacityBytes = double(r.U32(DI::kRegCardCapacity)) * DI::kCardSectorBytes;
    v.card.freeBytes = double(r.U32(DI::kRegCardFree)) * DI::kCardSectorBytes;
    v.errorWord = r.U32(DI::kRegErrorWord);
    v.firmware = LiveFormat::FirmwareText(r.Reg(DI::kRegFirmware));
    v.fileName = LiveFormat::FileNameText(r.Reg(DI::kRegFileNumber));
    v.fileSize = LiveFormat::FileSize(r.S32(DI::kRegFileSize));
    v.uptime = LiveFormat::UptimeText(r.S32(DI::kRegUptime));
    v.deviceClock = LiveFormat::ClockText(r.U32(DI::kRegClock));
    const uint32_t events = r.U32(DI::kRegEventCount);
    v.eventCount = QString::number(events);
    v.lastEvent = LiveFormat::LastEventText(events, r.U32(DI::kRegLastEventTime));
    v.exchangeRate = LiveFormat::ExchangeRate(exchangeRate);

    // The graph takes every item in register order, used or not, after the labels.
    for (int i = 0; i < LiveView::kGraphPoints; ++i) {
        const int channel = i / DI::kItemsPerChannel, item = i % DI::kItemsPerChannel;
        const uint32_t kind = r.Reg(DI::MeasureItemRegister(channel, item));
        v.graph[i] = {(uint32_t(channel) << 24) | kind, r.Item(channel, item)};
    }

    v.buttons = Buttons(state, statusWord, r.Reg(DI::kRegFtpSwitch));
    return v;
}

}  // namespace LiveDecoder
