#pragma once

// Register addresses, block sizes and command codes of a TRV-730 device.
// (Stand-in until the Modbus client lands; the client's own header replaces this file.)
#include <cstdint>

namespace DeviceInterface {

constexpr int kDefaultPort = 502;
constexpr uint16_t kMaxReadCount = 125;
constexpr uint16_t kMaxWriteCount = 123;
constexpr int kConnectTimeoutMs = 3000;
constexpr int kRequestTimeoutMs = 1500;

constexpr uint16_t kRegDeviceType = 0;
constexpr uint16_t kRegFirmware = 1;
constexpr uint16_t kDeviceType = 14;

constexpr uint16_t kStatusFirst = 0;
constexpr uint16_t kStatusCount = 27;
constexpr uint16_t kRegStatusWord = 8;
constexpr uint16_t kRegErrorWord = 10;
constexpr uint16_t kRegCardCapacity = 12;
constexpr uint16_t kRegCardFree = 14;
constexpr uint16_t kRegFileNumber = 16;
constexpr uint16_t kRegFileSize = 17;
constexpr uint16_t kRegUptime = 19;
constexpr uint16_t kRegClock = 21;
constexpr uint16_t kRegLastEventTime = 23;
constexpr uint16_t kRegEventCount = 25;
constexpr uint16_t kCardSectorBytes = 512;

constexpr uint32_t kStatusErrors = 1u << 0;
constexpr uint32_t kStatusRecording = 1u << 1;
constexpr uint32_t kStatusStopLocked = 1u << 2;
constexpr uint32_t kStatusCardPresent = 1u << 3;
constexpr uint32_t kStatusCardMask = 0x38u;

constexpr uint16_t kRegCommand = 50;
constexpr uint16_t kCmdStartRecording = 0x77A6;
constexpr uint16_t kCmdStopRecording = 0x5606;
constexpr uint16_t kCmdResetErrors = 0x5596;
constexpr uint16_t kCmdRestart = 0xF2C5;

constexpr uint16_t kRegLogin = 51;
constexpr uint16_t kLoginCount = 13;

constexpr uint16_t kMeasureFirst = 100;
constexpr uint16_t kMeasureCount = 342;
constexpr int kChannelCount = 19;
constexpr int kItemsPerChannel = 6;
constexpr int kRegsPerItem = 3;
constexpr int kRegsPerChannel = kItemsPerChannel * kRegsPerItem;
constexpr uint16_t MeasureItemRegister(int channel, int item) {
    return static_cast<uint16_t>(kMeasureFirst + kRegsPerChannel * channel + kRegsPerItem * item);
}
constexpr uint16_t MeasureValueRegister(int channel, int item) {
    return static_cast<uint16_t>(MeasureItemRegister(channel, item) + 1);
}

constexpr uint16_t kSettingsFirst = 2000;
constexpr uint16_t kSettingsCount = 222;
constexpr uint16_t kRegVoltageSensor1 = 2001;
constexpr uint16_t kRegCurrentSensor4 = 2004;
constexpr uint16_t kRegTempSensor8 = 2010;
constexpr uint16_t kRegFtpSwitch = 2183;
constexpr uint16_t kRegFtpPort = 2184;
constexpr uint16_t kRegFtpPassword = 2186;
constexpr int kPasswordRegisters = 13;

constexpr uint16_t kPollChunk = 100;

}  // namespace DeviceInterface
