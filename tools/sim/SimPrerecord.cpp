#include "SimPrerecord.h"

#include <chrono>

#include "SimDevice.h"
#include "SimRecorder.h"
#include "device/DeviceInterface.h"

bool PrerecordCard(const SimConfig& config, int seconds, std::string& message) {
    if (config.cardDir.empty() || seconds <= 0) {
        message = "--prerecord needs --card and a number of seconds";
        return false;
    }
    using Clock = std::chrono::system_clock;
    const Clock::time_point end = Clock::now();
    const Clock::time_point start = end - std::chrono::seconds(seconds);
    CSimDevice device(start, config.seed);
    device.SetIdentity(config.deviceType, config.firmware);
    for (size_t i = 0; i < config.recordSources.size(); ++i)
        device.SetRegister32(static_cast<uint16_t>(DeviceInterface::kRegRecordSources + 2 * i), config.recordSources[i]);
    // Event 1: channel 1's voltage above 232.1 V (for the default 10 ms), which its slow
    // swing and a little noise reach now and then.
    device.SetRegister32(2062, 0x1);
    device.SetRegister(2022, 1);
    device.SetRegister32(2032, 2321);
    device.SetRegister(2118, 1);
    device.SetRecording(true, start);
    {
        CSimRecorder recorder(config.cardDir);
        recorder.Attach(device);
        for (Clock::time_point t = start; t <= end; t += std::chrono::milliseconds(100)) device.Tick(t);
        device.SetRecording(false, end);
        device.Tick(end);
        recorder.CloseFile();
        device.SetTickHook({});
        message = recorder.LastError();
    }
    return message.empty();
}
