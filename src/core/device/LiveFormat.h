#pragma once

#include <QString>
#include <cstdint>

// The text a value label shows: the value and the language key of its unit.
struct LabelText {
    static constexpr int kNoUnit = -1;

    QString value;
    int unitKey = kNoUnit;

    QString UnitText() const;  // empty for kNoUnit
    bool operator==(const LabelText&) const = default;
};

// Rules that turn one raw device value into what a label shows. Raw values are signed
// fixed-point numbers in the unit named; negative ones stay in the base unit.
namespace LiveFormat {

LabelText Voltage(int32_t raw);         // 0.1 V: phase, line and sequence voltages
LabelText Current(int32_t raw);         // 0.01 A
LabelText Frequency(int32_t raw);       // 0.01 Hz
LabelText Distortion(int32_t raw);      // whole percent
LabelText ApparentPower(int32_t raw);   // 0.1 VA
LabelText ActivePower(int32_t raw);     // 0.1 W
LabelText ReactivePower(int32_t raw);   // 0.1 var
LabelText PowerFactor(int32_t raw);     // 0.001
LabelText ActiveEnergy(int32_t raw);    // 0.1 kWh
LabelText ReactiveEnergy(int32_t raw);  // 0.1 kvarh
LabelText Temperature(int32_t raw);     // 0.1 degree; 9999 and -9999 mark sensor faults
LabelText AnalogVoltage(int32_t raw);   // 0.01 V
LabelText AnalogCurrent(int32_t raw);   // 0.01 mA
LabelText UserScaled(int32_t raw);      // 0.01 user units
LabelText PulsesPerMinute(int32_t raw); // 0.1
LabelText PulseCounter(int32_t raw);    // units

QString FirmwareText(uint16_t version);   // "major.minor"
QString FileNameText(uint16_t number);    // FILE0007.RDF
LabelText FileSize(int32_t bytes);        // value and unit in one text
QString UptimeText(int32_t seconds);
QString ClockText(uint32_t deviceTime);
QString LastEventText(uint32_t eventCount, uint32_t deviceTime);
LabelText ExchangeRate(uint32_t registersPerSecond);

}  // namespace LiveFormat
