#pragma once

#include <cstdint>
#include <mutex>

#include "device/DeviceInterface.h"

// A device page's copy of the device registers it polls: the status block (0..26), the
// measure block (100..441) and the settings block (2000..2221), back to back. The polling
// thread writes whole chunks, the page reads one value at a time; every access takes
// ImageLock, so a two-register value is never torn (values of one decoding pass may still
// come from two poll cycles).
class RegisterImage {
public:
    static constexpr int kStatusIndex = 0;
    static constexpr int kMeasureIndex = DeviceInterface::kStatusCount;
    static constexpr int kSettingsIndex = kMeasureIndex + DeviceInterface::kMeasureCount;
    static constexpr int kSize = kSettingsIndex + DeviceInterface::kSettingsCount;  // 591

    RegisterImage() = default;
    RegisterImage(const RegisterImage&) = delete;
    RegisterImage& operator=(const RegisterImage&) = delete;

    // Image index of a device register, -1 when the image does not hold it.
    static int IndexOf(int reg);
    // True when the count registers from first all lie in one block of the image.
    static bool Holds(int first, int count);

    // A register the image does not hold reads as 0 (and is a programming error).
    uint16_t Read16(int reg) const;
    // Two registers, the lower one holding the high 16 bits.
    uint32_t ReadU32(int reg) const;
    int32_t ReadS32(int reg) const { return static_cast<int32_t>(ReadU32(reg)); }
    bool Bit(int reg, int bit) const { return (ReadU32(reg) >> bit) & 1u; }

    // Copies count registers read from the device starting at register first; false (and
    // nothing written) when they do not lie in one block.
    bool Write(int first, int count, const uint16_t* values);
    // Writes one register (the settings window keeps the image in step with what it wrote).
    bool Write16(int reg, uint16_t value) { return Write(reg, 1, &value); }
    void Clear();

    std::mutex& ImageLock() const { return m_lock; }

private:
    mutable std::mutex m_lock;
    uint16_t m_regs[kSize] = {};
};
