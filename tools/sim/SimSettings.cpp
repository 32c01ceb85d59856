#include "SimSettings.h"

#include <algorithm>

#include "device/DeviceInterface.h"

namespace {

namespace DI = DeviceInterface;

void Put32(uint16_t* block, uint16_t address, uint32_t value) {
    block[address - DI::kSettingsFirst] = static_cast<uint16_t>(value >> 16);
    block[address - DI::kSettingsFirst + 1] = static_cast<uint16_t>(value & 0xFFFF);
}

void Put16(uint16_t* block, uint16_t address, uint16_t value) {
    block[address - DI::kSettingsFirst] = value;
}

void PutRange(uint16_t* block, uint16_t first, uint16_t last, uint16_t value) {
    for (int a = first; a <= last; ++a) {
        block[a - DI::kSettingsFirst] = value;
    }
}

// The device holds an address with its first octet in the lowest byte: 192.168.0.2 is
// 0x0200A8C0, registers 0x0200 then 0xA8C0.
constexpr uint32_t Ip(uint8_t a, uint8_t b, uint8_t c, uint8_t d) {
    return (uint32_t{d} << 24) | (uint32_t{c} << 16) | (uint32_t{b} << 8) | a;
}

}  // namespace

void PutPasswordRegisters(uint16_t* registers, int count, const std::string& text) {
    for (int i = 0; i < count; ++i) {
        registers[i] =
            i < static_cast<int>(text.size()) ? static_cast<uint8_t>(text[static_cast<size_t>(i)]) : 0;
    }
}

void FillDefaultSettings(uint16_t* block, const std::string& password) {
    std::fill(block, block + DI::kSettingsCount, uint16_t{0});
    PutRange(block, 2001, 2003, 10);      // voltage sensors, 1.0
    PutRange(block, 2004, 2007, 5);       // current sensors, 5 A
    PutRange(block, 2010, 2011, 1);       // temperature sensor type
    PutRange(block, 2012, 2013, 15);      // temperature filters, 1.5
    Put16(block, 2015, 15);               // analogue voltage filter
    Put16(block, 2017, 15);               // analogue current filter
    PutRange(block, 2052, 2061, 10);      // event up/down times, 10 ms
    PutRange(block, 2062, 2071, 0xFFFF);  // five event sources: none
    Put16(block, 2072, 2);                // display
    PutRange(block, 2073, 2112, 0xFFFF);  // twenty recording sources: none
    Put32(block, DI::kRegRecordPeriod, 1000);
    Put32(block, DI::kRegFileLimit, 16u * 1024 * 1024);
    Put16(block, 2119, 100);  // event pre-trigger records
    Put16(block, 2120, 100);  // event post-trigger records
    Put16(block, 2121, 1);    // event recording period, 1 ms
    PutPasswordRegisters(block + (2123 - DI::kSettingsFirst), 6, "1234");
    Put32(block, 2135, Ip(192, 168, 0, 2));
    Put32(block, 2137, Ip(255, 255, 255, 0));
    Put32(block, 2139, Ip(192, 168, 0, 1));
    Put32(block, 2141, Ip(192, 168, 0, 1));
    Put32(block, 2143, Ip(8, 8, 8, 8));
    Put16(block, 2145, 1);  // Modbus server on
    Put16(block, DI::kRegModbusPort, static_cast<uint16_t>(DI::kDefaultPort));
    Put16(block, 2147, 60);
    PutPasswordRegisters(block + (DI::kRegModbusPassword - DI::kSettingsFirst), DI::kPasswordRegisters,
                         password);
    Put16(block, 2164, 1);  // web server on
    Put16(block, 2165, 80);
    Put16(block, 2166, 300);
    PutPasswordRegisters(block + (DI::kRegHttpPassword - DI::kSettingsFirst), DI::kPasswordRegisters,
                         password);
    Put16(block, DI::kRegFtpSwitch, 0);
    Put16(block, DI::kRegFtpPort, 21);
    Put16(block, 2185, 300);
    PutPasswordRegisters(block + (DI::kRegFtpPassword - DI::kSettingsFirst), DI::kPasswordRegisters,
                         password);
    Put16(block, 2203, 20502);
    Put16(block, 2204, 90);
    PutRange(block, 2206, 2209, 1);  // discrete input slopes
    Put16(block, 2214, 1000);        // analogue voltage scale: 0..10 V to 0..10
    Put16(block, 2216, 100);
    Put16(block, 2218, 2000);  // analogue current scale: 0..20 mA to 0..20
    Put16(block, 2220, 200);
}
