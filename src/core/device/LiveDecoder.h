#pragma once

#include <cstdint>

#include "device/LinkState.h"
#include "device/LiveView.h"

class RegisterImage;

// Turns a register image into what the device page shows. Runs on the page's thread;
// every value is read from the image on its own, under the image's lock.
namespace LiveDecoder {

LiveView Decode(const RegisterImage& image, LinkState state, uint32_t exchangeRate);

// Bar maxima from the raw sensor settings registers.
int32_t VoltageBarMaximum(uint16_t voltageSensor);
int32_t CurrentBarMaximum(uint16_t currentSensor);
int32_t LineBarMaximum(uint16_t voltageSensor);
// (voltage sensor x 347) x current sensor, limited to 2000000000.
int32_t PowerBarMaximum(uint16_t voltageSensor, uint16_t currentSensor);

ThermometerState Thermometer(uint16_t sensorType, int32_t raw);
CommandButtons Buttons(LinkState state, uint32_t statusWord, uint16_t ftpSwitch);

}  // namespace LiveDecoder
