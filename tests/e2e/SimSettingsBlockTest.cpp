#include <gtest/gtest.h>

#include <chrono>

#include "SimDevice.h"
#include "SimSettingsBlock.h"
#include "device/DeviceInterface.h"

namespace DI = DeviceInterface;

namespace {

using Time = CSimDevice::Time;
const Time kBlockT0 = Time{} + std::chrono::hours(24 * 365 * 50);

TEST(SimSettingsBlock, WritesOutsideARowsRangeAreRefusedWithException3) {
    CSimDevice device(kBlockT0);
    struct Case {
        const char* what;
        uint16_t first;
        std::vector<uint16_t> values;
        uint8_t exception;
    } cases[] = {
        {"current sensor below 5", 2004, {4}, DI::kExceptionIllegalValue},
        {"current sensor 2000", 2004, {2000}, 0},
        {"port 0", 2146, {0}, DI::kExceptionIllegalValue},
        {"port 65535", 2146, {65535}, 0},
        {"negative time correction", 2000, {uint16_t(-999)}, 0},
        {"time correction beyond 99.9", 2000, {1000}, DI::kExceptionIllegalValue},
        {"file limit no size", 2115, {0, 1000}, DI::kExceptionIllegalValue},
        {"file limit 512 MB", 2115, {0x2000, 0}, 0},
        {"source no channel measures", 2073, {0x0900, 0x000D}, DI::kExceptionIllegalValue},
        {"source channel 19 variant 6", 2073, {0x1205, 0x001D}, 0},
        {"record period 0", 2113, {0, 0}, DI::kExceptionIllegalValue},
        {"one half of the period", 2114, {0}, DI::kExceptionIllegalValue},  // 1000 ms -> 0 ms
        {"block spanning two rows, one bad", 2004, {10, 1}, DI::kExceptionIllegalValue},
        {"password, anything", 2148, std::vector<uint16_t>(13, 0x0416), 0},
        {"list index, left to the program", 2072, {9}, 0},
        {"threshold while no event source", 2032, {0, 1}, DI::kExceptionIllegalValue},
        {"event source: frequency", 2062, {0x0001, 0x0009}, 0},
        {"threshold below 25 Hz", 2032, {0, 2499}, DI::kExceptionIllegalValue},
        {"threshold 49.90 Hz", 2032, {0, 4990}, 0},
        {"five event sources of kind 0", 2062, std::vector<uint16_t>(10, 0), DI::kExceptionIllegalValue},
    };
    for (const Case& c : cases) {
        const uint16_t before = device.Register(c.first);
        const auto result = device.Write(c.first, uint16_t(c.values.size()), c.values.data(), kBlockT0);
        EXPECT_EQ(result.exception, c.exception) << c.what;
        if (c.exception != 0)
            EXPECT_EQ(device.Register(c.first), before) << c.what;
        else
            EXPECT_EQ(device.Register(c.first), c.values[0]) << c.what;
    }
}

TEST(SimSettingsBlock, RecordingSettingsTakeEffectWithTheApplyCommand) {
    CSimDevice device(kBlockT0);
    const uint16_t period[2] = {0, 250};
    ASSERT_EQ(device.Write(DI::kRegRecordPeriod, 2, period, kBlockT0).exception, 0);
    EXPECT_EQ(device.Register32(DI::kRegRecordPeriod), 250u);
    EXPECT_EQ(device.AppliedRegister(DI::kRegRecordPeriod + 1), 1000);
    const uint16_t apply = DI::kCmdApplySettings;
    ASSERT_EQ(device.Write(DI::kRegCommand, 1, &apply, kBlockT0).exception, 0);
    EXPECT_EQ(device.AppliedRegister(DI::kRegRecordPeriod + 1), 250);
    EXPECT_EQ(device.ApplyCount(), 1);

    // The recorder sees the applied values only.
    const uint16_t later[2] = {0, 500};
    ASSERT_EQ(device.Write(DI::kRegRecordPeriod, 2, later, kBlockT0).exception, 0);
    uint32_t seen = 0;
    device.SetTickHook(
        [&seen](CSimDevice::Registers& r, Time) { seen = (uint32_t{r[2113]} << 16) | r[2114]; });
    device.Tick(kBlockT0 + std::chrono::seconds(1));
    EXPECT_EQ(seen, 250u);
    device.SetTickHook({});
    EXPECT_EQ(device.Register32(DI::kRegRecordPeriod), 500u);
}

TEST(SimSettingsBlock, WriteFaultsRefuseOrIgnoreTheirBlocks) {
    SimFaults faults;
    faults.refuseWrites.push_back({2146, 2147, 4});
    faults.keepOldWrites.push_back({2165, 2165, 1});
    bool keepOld = false;
    EXPECT_EQ(SettingsWriteFault(faults, 2147, 1, keepOld), 4);
    EXPECT_EQ(SettingsWriteFault(faults, 2140, 7, keepOld), 4);
    EXPECT_EQ(SettingsWriteFault(faults, 2165, 1, keepOld), 0);
    EXPECT_TRUE(keepOld);
    keepOld = false;
    EXPECT_EQ(SettingsWriteFault(faults, 2166, 1, keepOld), 0);
    EXPECT_FALSE(keepOld);
}

}  // namespace
