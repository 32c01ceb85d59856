#pragma once

// Everything the program relies on from a TRV-730 device, in one place: register
// addresses, block sizes, identity, command codes and Modbus limits. Every part that
// talks to a device or reads its register image takes its numbers from here.
#include <cstdint>

namespace DeviceInterface {

// ---- Modbus TCP ----------------------------------------------------------------------
constexpr int kDefaultPort = 502;
constexpr uint8_t kFunctionReadHolding = 3;
constexpr uint8_t kFunctionWriteMultiple = 16;
constexpr uint16_t kMaxReadCount = 125;   // registers per read request
constexpr uint16_t kMaxWriteCount = 123;  // registers per write request
constexpr int kConnectTimeoutMs = 3000;
constexpr int kRequestTimeoutMs = 1500;  // every caller's request time-out
constexpr int kIdentifyTries = 5;

// Exception codes a device answers with.
constexpr uint8_t kExceptionIllegalFunction = 1;
constexpr uint8_t kExceptionIllegalAddress = 2;
constexpr uint8_t kExceptionIllegalValue = 3;

// ---- Identity (registers 0 and 1) ----------------------------------------------------
constexpr uint16_t kRegDeviceType = 0;
constexpr uint16_t kRegFirmware = 1;  // major number in the high byte, minor in the low byte
constexpr uint16_t kDeviceType = 14;
constexpr uint16_t kFirmwareMin = 0x0108;  // 1.8
constexpr uint16_t kFirmwareMax = 0x02FF;  // 2.255
constexpr bool IsSupportedFirmware(uint16_t version) {
    return version >= kFirmwareMin && version <= kFirmwareMax;
}

// ---- Status block (registers 0..26) -------------------------------------------------
// Two-register values hold their high 16 bits in the lower register.
constexpr uint16_t kStatusFirst = 0;
constexpr uint16_t kStatusCount = 27;
constexpr uint16_t kRegStatusWord = 8;      // 8..9, unsigned, bits below
constexpr uint16_t kRegErrorWord = 10;      // 10..11, unsigned, one bit per device error
constexpr uint16_t kRegCardCapacity = 12;   // 12..13, unsigned, 512-byte sectors
constexpr uint16_t kRegCardFree = 14;       // 14..15, unsigned, 512-byte sectors
constexpr uint16_t kRegFileNumber = 16;     // number of the data file being written
constexpr uint16_t kRegFileSize = 17;       // 17..18, signed, bytes
constexpr uint16_t kRegUptime = 19;         // 19..20, signed, seconds since the device started
constexpr uint16_t kRegClock = 21;          // 21..22, unsigned device time; writable
constexpr uint16_t kRegLastEventTime = 23;  // 23..24, unsigned device time
constexpr uint16_t kRegEventCount = 25;     // 25..26
constexpr uint16_t kCardSectorBytes = 512;

// Status word bits.
constexpr uint32_t kStatusErrors = 1u << 0;      // errors present
constexpr uint32_t kStatusRecording = 1u << 1;   // recording
constexpr uint32_t kStatusStopLocked = 1u << 2;  // with kStatusRecording: stop is not offered
constexpr uint32_t kStatusCardPresent = 1u << 3;
constexpr uint32_t kStatusCardMask = 0x38u;  // bits 3..5: the card can be browsed

// Device time: unsigned seconds since 1980-01-01 00:00:00.
constexpr int64_t kDeviceEpochUnix = 315532800;  // 1980-01-01 00:00:00 UTC in Unix seconds

// Data files on the memory card; the number comes from kRegFileNumber.
constexpr const char* kDataFileNameFormat = "FILE%.4d.RDF";

// ---- Command and login registers ----------------------------------------------------
constexpr uint16_t kRegCommand = 50;
constexpr uint16_t kCmdStartRecording = 0x77A6;
constexpr uint16_t kCmdStopRecording = 0x5606;
constexpr uint16_t kCmdResetErrors = 0x5596;
constexpr uint16_t kCmdRestart = 0xF2C5;
constexpr uint16_t kCmdApplySettings = 18220;  // 0x472C, after settings were written

constexpr uint16_t kRegLogin = 51;  // 51..63: the password, one character per register
constexpr uint16_t kLoginCount = 13;

// ---- Measure block (registers 100..441) ---------------------------------------------
// 19 channels of six items; an item is a 16-bit quantity kind followed by a signed
// 32-bit value in the kind's fixed-point unit.
constexpr uint16_t kMeasureFirst = 100;
constexpr uint16_t kMeasureCount = 342;
constexpr int kChannelCount = 19;
constexpr int kItemsPerChannel = 6;
constexpr int kRegsPerItem = 3;
constexpr int kRegsPerChannel = kItemsPerChannel * kRegsPerItem;  // 18
constexpr uint16_t MeasureItemRegister(int channel, int item) {
    return static_cast<uint16_t>(kMeasureFirst + kRegsPerChannel * channel + kRegsPerItem * item);
}
constexpr uint16_t MeasureValueRegister(int channel, int item) {
    return static_cast<uint16_t>(MeasureItemRegister(channel, item) + 1);
}

// The quantity kind a device reports for each item of each channel (0-based channel
// and item); 0 marks an unused item. Channels: 0..2 phase voltages, 3..6 currents,
// 7..8 temperatures, 9 analogue voltage, 10 analogue current, 11..14 discrete inputs,
// 15..17 power per phase, 18 line and sequence voltages.
constexpr uint16_t kMeasureKinds[kChannelCount][kItemsPerChannel] = {
    {1, 9, 10, 3, 4, 2},      {1, 9, 10, 3, 4, 2},      {1, 9, 10, 3, 4, 2},      {5, 9, 10, 7, 8, 6},
    {5, 9, 10, 7, 8, 6},      {5, 9, 10, 7, 8, 6},      {5, 9, 10, 7, 8, 6},      {11, 0, 0, 0, 0, 0},
    {11, 0, 0, 0, 0, 0},      {12, 21, 0, 0, 0, 0},     {13, 21, 0, 0, 0, 0},     {14, 22, 23, 0, 0, 0},
    {14, 22, 23, 0, 0, 0},    {14, 22, 23, 0, 0, 0},    {14, 22, 23, 0, 0, 0},    {15, 16, 17, 18, 19, 20},
    {15, 16, 17, 18, 19, 20}, {15, 16, 17, 18, 19, 20}, {24, 25, 26, 27, 28, 29},
};

// ---- Settings block (registers 2000..2221) ------------------------------------------
constexpr uint16_t kSettingsFirst = 2000;
constexpr uint16_t kSettingsCount = 222;
constexpr uint16_t kSettingsLast = kSettingsFirst + kSettingsCount - 1;  // 2221
constexpr uint16_t kRegVoltageSensor1 = 2001;                            // 2001..2003, channels 1..3
constexpr uint16_t kRegCurrentSensor4 = 2004;                            // 2004..2007, channels 4..7
constexpr uint16_t kRegTempSensor8 = 2010;                               // 2010, 2011: channels 8, 9
constexpr uint16_t kRegRecordSources = 2073;  // 20 source codes, two registers each
constexpr int kRecordSourceCount = 20;
constexpr uint16_t kRegRecordPeriod = 2113;  // 2113..2114, milliseconds
constexpr uint16_t kRegFileLimit = 2115;     // 2115..2116, bytes
constexpr uint16_t kRegModbusPort = 2146;
constexpr uint16_t kRegModbusPassword = 2148;  // 13 registers
constexpr uint16_t kRegHttpPassword = 2167;    // 13 registers
constexpr uint16_t kRegFtpSwitch = 2183;       // 1 = on
constexpr uint16_t kRegFtpPort = 2184;
constexpr uint16_t kRegFtpPassword = 2186;  // 13 registers
constexpr uint16_t kRegModbusUnitId = 2205;
constexpr int kPasswordRegisters = 13;

// ---- Polling ------------------------------------------------------------------------
// The link reads the three blocks in chunks of at most this many registers.
constexpr uint16_t kPollChunk = 100;

}  // namespace DeviceInterface
