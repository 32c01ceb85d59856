#include "device/LiveFormat.h"

#include "device/DeviceTime.h"
#include "language/Language.h"

QString LabelText::UnitText() const {
    return unitKey == kNoUnit ? QString() : GetText(unitKey);
}

namespace LiveFormat {
namespace {
// Only this file's own fixed formats reach asprintf; language texts never do.
QString Fixed(double value, int decimals) {
    return QString::asprintf("%.*f", decimals, value);
}
QString Unsigned(int32_t raw) {
    return QString::number(static_cast<uint32_t>(raw));
}
// A tenths value that switches to its kilo unit above 999.9.
LabelText Tenths(int32_t raw, int unitKey, int kiloUnitKey) {
    if (raw > 9999) return {Fixed(raw / 10000.0, 1), kiloUnitKey};
    return {Fixed(raw / 10.0, 1), unitKey};
}
}  // namespace

LabelText Voltage(int32_t raw) { return Tenths(raw, LNG_DEVICE_PREFIX_V, LNG_DEVICE_PREFIX_KV); }

LabelText Current(int32_t raw) {
    if (raw > 99999) return {Fixed(raw / 100000.0, 3), LNG_DEVICE_PREFIX_KA};
    return {Fixed(raw / 100.0, 2), LNG_DEVICE_PREFIX_A};
}

LabelText Frequency(int32_t raw) { return {Fixed(raw / 100.0, 2), LNG_DEVICE_PREFIX_HZ}; }
LabelText Distortion(int32_t raw) { return {Unsigned(raw), LNG_DEVICE_PREFIX_PERCENT}; }
LabelText ApparentPower(int32_t raw) { return Tenths(raw, LNG_DEVICE_PREFIX_VA, LNG_DEVICE_PREFIX_KVA); }
LabelText ActivePower(int32_t raw) { return Tenths(raw, LNG_DEVICE_PREFIX_WT, LNG_DEVICE_PREFIX_KWT); }
LabelText ReactivePower(int32_t raw) { return Tenths(raw, LNG_DEVICE_PREFIX_VAR, LNG_DEVICE_PREFIX_KVAR); }
LabelText PowerFactor(int32_t raw) { return {Fixed(raw / 1000.0, 3), LabelText::kNoUnit}; }
LabelText ActiveEnergy(int32_t raw) { return {Fixed(raw / 10.0, 1), LNG_DEVICE_PREFIX_KWTH}; }
LabelText ReactiveEnergy(int32_t raw) { return {Fixed(raw / 10.0, 1), LNG_DEVICE_PREFIX_KVARH}; }

LabelText Temperature(int32_t raw) {
    if (raw == 9999) return {GetText(LNG_DEVICE_TEMP_FOC), LabelText::kNoUnit};
    if (raw == -9999) return {GetText(LNG_DEVICE_TEMP_FCC), LabelText::kNoUnit};
    return {Fixed(raw / 10.0, 1), LNG_DEVICE_PREFIX_DEGRE};
}

LabelText AnalogVoltage(int32_t raw) { return {Fixed(raw / 100.0, 2), LNG_DEVICE_PREFIX_V}; }
LabelText AnalogCurrent(int32_t raw) { return {Fixed(raw / 100.0, 2), LNG_DEVICE_PREFIX_MA}; }
LabelText UserScaled(int32_t raw) { return {Fixed(raw / 100.0, 2), LabelText::kNoUnit}; }
LabelText PulsesPerMinute(int32_t raw) { return {Fixed(raw / 10.0, 1), LabelText::kNoUnit}; }
LabelText PulseCounter(int32_t raw) { return {Unsigned(raw), LabelText::kNoUnit}; }

QString FirmwareText(uint16_t version) {
    return QStringLiteral("%1.%2").arg(version >> 8).arg(version & 0xFF);
}

QString FileNameText(uint16_t number) {
    return QString::asprintf("FILE%.4d.RDF", int(number));
}

LabelText FileSize(int32_t bytes) {
    if (bytes < 9999) return {QString::number(bytes) + u' ' + GetText(LNG_DEVICE_PREFIX_BYTE), LabelText::kNoUnit};
    return {Fixed(bytes / 1024.0, 2) + u' ' + GetText(LNG_DEVICE_PREFIX_KB), LabelText::kNoUnit};
}

QString UptimeText(int32_t t) {
    // The parts of a (nonsensical) negative uptime show as their 32-bit unsigned forms.
    const QString rest = QString::asprintf("(%u) %.2u:%.2u:%.2u", unsigned(t / 86400), unsigned((t / 3600) % 24),
                                           unsigned((t / 60) % 60), unsigned(t % 60));
    return GetText(LNG_DEVICE_DAY) + u' ' + rest;
}

QString ClockText(uint32_t deviceTime) {
    const DeviceCalendar c = SecondsToCalendar(deviceTime);
    return QString::asprintf("%.2u.%.2u.%.4u / %.2u:%.2u:%.2u", unsigned(c.day), unsigned(c.month),
                             unsigned(c.year), unsigned(c.hour), unsigned(c.minute), unsigned(c.second));
}

QString LastEventText(uint32_t eventCount, uint32_t deviceTime) {
    const DeviceCalendar c = SecondsToCalendar(deviceTime);
    if (eventCount == 0 && c.year <= 1980) return GetText(LNG_DEVICE_EVT_NO);
    return QString::asprintf("%.2u.%.2u.%.4u %.2u:%.2u:%.2u", unsigned(c.day), unsigned(c.month),
                             unsigned(c.year), unsigned(c.hour), unsigned(c.minute), unsigned(c.second));
}

LabelText ExchangeRate(uint32_t registersPerSecond) {
    return {QString::number(registersPerSecond), LNG_DEVICE_PREFIX_RPS};
}

}  // namespace LiveFormat
