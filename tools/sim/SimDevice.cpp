#include "SimDevice.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <ctime>
#include <numbers>

#include "SimSettings.h"
#include "device/DeviceInterface.h"

namespace {

namespace DI = DeviceInterface;
using Phasor = std::complex<double>;

constexpr double kTwoPi = 2.0 * std::numbers::pi;
constexpr uint32_t kCardSectors = 15523840;     // an 8 GB card
constexpr uint32_t kCardUsedSectors = 3381210;  // files recorded before this run
constexpr uint32_t kFileHeaderBytes = 104;
constexpr uint32_t kRecordBytes = 88;

double Wave(double t, double period, double shift = 0.0) {
    return std::sin(kTwoPi * t / period + shift);
}

int32_t ToRaw(double value, double scale) {
    const double raw = std::round(value * scale);
    return static_cast<int32_t>(std::clamp(raw, -2147483648.0, 2147483647.0));
}

bool Inside(int first, int last, int blockFirst, int blockLast) {
    return first >= blockFirst && last <= blockLast;
}

}  // namespace

CSimDevice::CSimDevice(Time now, uint32_t seed)
    : m_random(seed),
      m_created(now),
      m_started(now),
      m_lastTick(now),
      m_clockSetAt(now),
      m_recordingSince(now) {
    m_regs[DI::kRegDeviceType] = DI::kDeviceType;
    m_regs[DI::kRegFirmware] = 0x0204;
    Put32(2, 730001);    // serial number
    m_regs[4] = 0x0100;  // board revision
    Put32(DI::kRegCardCapacity, kCardSectors);
    m_regs[DI::kRegFileNumber] = 41;
    m_clockSetTo = DeviceSeconds(now);
    Put32(DI::kRegLastEventTime, m_clockSetTo - 3600);
    Put32(DI::kRegEventCount, 3);
    for (int c = 0; c < DI::kChannelCount; ++c) {
        for (int i = 0; i < DI::kItemsPerChannel; ++i) {
            m_regs[DI::MeasureItemRegister(c, i)] = DI::kMeasureKinds[c][i];
        }
    }
    FillDefaultSettings(m_regs.data() + DI::kSettingsFirst, m_password);
    ApplySettingsLocked();
    SetStatusBit(DI::kStatusCardPresent, true);
    TickLocked(now);
}

uint32_t CSimDevice::DeviceSeconds(Time now) {
    const std::time_t unix = std::chrono::system_clock::to_time_t(now);
    std::tm local{};
    localtime_r(&unix, &local);
    const int64_t seconds = static_cast<int64_t>(unix) + local.tm_gmtoff - DI::kDeviceEpochUnix;
    return static_cast<uint32_t>(std::max<int64_t>(seconds, 0));
}

void CSimDevice::Tick(Time now) {
    std::lock_guard guard(m_lock);
    TickLocked(now);
}

void CSimDevice::SetTickHook(TickHook hook) {
    std::lock_guard guard(m_lock);
    m_hook = std::move(hook);
}

void CSimDevice::TickLocked(Time now) {
    const double t = std::chrono::duration<double>(now - m_created).count();
    const double dt = std::clamp(std::chrono::duration<double>(now - m_lastTick).count(), 0.0, 86400.0);
    m_lastTick = now;
    UpdateLiveValues(t, dt);
    UpdateStatus(now);
    if (m_hook) {
        // The recorder works with the settings last applied, not with what was written since.
        SwapRecordingSettingsLocked();
        m_hook(m_regs, now);
        SwapRecordingSettingsLocked();
    }
}

double CSimDevice::Noise(double sigma) {
    return sigma * m_normal(m_random);
}

void CSimDevice::PutItem(int channel, int item, double value, double scale) {
    Put32(DI::MeasureValueRegister(channel, item), static_cast<uint32_t>(ToRaw(value, scale)));
}

// A loaded three-phase 50 Hz network with slow swings and a little noise, so every
// poll shows fresh but believable values that agree with each other.
void CSimDevice::UpdateLiveValues(double t, double dt) {
    const double f = 50.0 + 0.03 * Wave(t, 31) + Noise(0.004);
    const Phasor a = std::polar(1.0, kTwoPi / 3);
    Phasor voltage[3];
    Phasor current[3];
    for (int p = 0; p < 3; ++p) {
        const double u = 230.0 + 1.8 * Wave(t, 41, 2.1 * p) + Noise(0.25);
        const double i = 3.9 + 0.35 * Wave(t, 57, 1.3 * p) + Noise(0.02);
        const double pf = std::min(0.999, 0.93 + 0.03 * Wave(t, 73, p));
        const double thdU = 3.0 + Wave(t, 120, p);
        const double thdI = 8.0 + 2.0 * Wave(t, 90, p);
        const double angle = -kTwoPi * p / 3;
        voltage[p] = std::polar(u, angle);
        current[p] = std::polar(i, angle - std::acos(pf));
        const double instant = std::sin(kTwoPi * f * t + angle);

        PutItem(p, 0, u, 10);
        PutItem(p, 1, f, 100);
        PutItem(p, 2, std::round(thdU), 1);
        PutItem(p, 3, u * std::numbers::sqrt2 * (1 + thdU / 100), 10);
        PutItem(p, 4, -u * std::numbers::sqrt2 * (1 + thdU / 100), 10);
        PutItem(p, 5, u * std::numbers::sqrt2 * instant, 10);

        PutItem(3 + p, 0, i, 100);
        PutItem(3 + p, 1, f, 100);
        PutItem(3 + p, 2, std::round(thdI), 1);
        PutItem(3 + p, 3, i * std::numbers::sqrt2 * (1 + thdI / 100), 100);
        PutItem(3 + p, 4, -i * std::numbers::sqrt2 * (1 + thdI / 100), 100);
        PutItem(3 + p, 5, i * std::numbers::sqrt2 * std::sin(kTwoPi * f * t + angle - std::acos(pf)), 100);

        const double s = u * i;
        const double active = s * pf;
        const double reactive = s * std::sqrt(1 - pf * pf);
        m_activeEnergy[p] += active * dt / 3.6e6;
        m_reactiveEnergy[p] += reactive * dt / 3.6e6;
        PutItem(15 + p, 0, s, 10);
        PutItem(15 + p, 1, active, 10);
        PutItem(15 + p, 2, reactive, 10);
        PutItem(15 + p, 3, pf, 1000);
        PutItem(15 + p, 4, m_activeEnergy[p], 10);
        PutItem(15 + p, 5, m_reactiveEnergy[p], 10);
    }

    // Neutral: what the unbalanced phase currents leave over.
    const double neutral = std::abs(current[0] + current[1] + current[2]);
    PutItem(6, 0, neutral, 100);
    PutItem(6, 1, f, 100);
    PutItem(6, 2, 35, 1);
    PutItem(6, 3, neutral * std::numbers::sqrt2 * 1.35, 100);
    PutItem(6, 4, -neutral * std::numbers::sqrt2 * 1.35, 100);
    PutItem(6, 5, neutral * std::numbers::sqrt2 * std::sin(kTwoPi * 3 * f * t), 100);

    PutItem(7, 0, 23.4 + 0.4 * Wave(t, 600) + Noise(0.05), 10);
    PutItem(8, 0, 41.0 + 3.0 * Wave(t, 900), 10);

    // Analogue inputs, and their user scale from the settings block.
    auto scaled = [this](double input, uint16_t fromMax, uint16_t fromMin, uint16_t toMax, uint16_t toMin) {
        const double fMax = static_cast<int16_t>(m_regs[fromMax]) / 100.0;
        const double fMin = static_cast<int16_t>(m_regs[fromMin]) / 100.0;
        const double tMax = static_cast<int16_t>(m_regs[toMax]) / 10.0;
        const double tMin = static_cast<int16_t>(m_regs[toMin]) / 10.0;
        return fMax == fMin ? tMin : tMin + (input - fMin) * (tMax - tMin) / (fMax - fMin);
    };
    const double volts = 6.2 + 0.25 * Wave(t, 47) + Noise(0.01);
    PutItem(9, 0, volts, 100);
    PutItem(9, 1, scaled(volts, 2214, 2215, 2216, 2217), 100);
    const double milliamps = 12.0 + 1.2 * Wave(t, 61) + Noise(0.01);
    PutItem(10, 0, milliamps, 100);
    PutItem(10, 1, scaled(milliamps, 2218, 2219, 2220, 2221), 100);

    // Discrete inputs: two meters, an idle door contact and a fast pulse line.
    static constexpr double kPulsesPerMinute[4] = {120, 30, 0, 600};
    for (int d = 0; d < 4; ++d) {
        const double rate = kPulsesPerMinute[d] > 0 ? kPulsesPerMinute[d] * (1 + 0.02 * Wave(t, 19, d)) : 0.0;
        m_pulseCount[d] += rate / 60.0 * dt;
        const int state = rate > 0 ? static_cast<int>(m_pulseCount[d] * 2) % 2 : 1;
        PutItem(11 + d, 0, state, 1);
        PutItem(11 + d, 1, rate, 10);
        PutItem(11 + d, 2, std::floor(m_pulseCount[d]), 1);
    }

    // Line voltages and symmetrical components from the phase voltages.
    PutItem(18, 0, std::abs(voltage[0] - voltage[1]), 10);
    PutItem(18, 1, std::abs(voltage[1] - voltage[2]), 10);
    PutItem(18, 2, std::abs(voltage[2] - voltage[0]), 10);
    PutItem(18, 3, std::abs(voltage[0] + a * a * voltage[1] + a * voltage[2]) / 3, 10);
    PutItem(18, 4, std::abs(voltage[0] + a * voltage[1] + a * a * voltage[2]) / 3, 10);
    PutItem(18, 5, std::abs(voltage[0] + voltage[1] + voltage[2]) / 3, 10);
}

void CSimDevice::UpdateStatus(Time now) {
    using std::chrono::duration_cast;
    using std::chrono::milliseconds;
    using std::chrono::seconds;
    Put32(DI::kRegUptime,
          static_cast<uint32_t>(std::max<int64_t>(duration_cast<seconds>(now - m_started).count(), 0)));
    const int64_t sinceSet = duration_cast<seconds>(now - m_clockSetAt).count();
    Put32(DI::kRegClock, static_cast<uint32_t>(m_clockSetTo + sinceSet));

    if (Get32(DI::kRegStatusWord) & DI::kStatusRecording) {
        const uint32_t period = std::max<uint32_t>(Applied32(DI::kRegRecordPeriod), 1);
        const int64_t records = duration_cast<milliseconds>(now - m_recordingSince).count() / period;
        const uint64_t bytes =
            kFileHeaderBytes + kRecordBytes * static_cast<uint64_t>(std::max<int64_t>(records, 0));
        const uint32_t limit = std::max<uint32_t>(Applied32(DI::kRegFileLimit), kFileHeaderBytes + kRecordBytes);
        if (bytes > limit) {
            // The file is full: the device goes on in the next one.
            m_regs[DI::kRegFileNumber] = static_cast<uint16_t>(m_regs[DI::kRegFileNumber] + 1);
            m_recordingSince = now;
            m_fileBytes = kFileHeaderBytes;
        } else {
            m_fileBytes = static_cast<uint32_t>(bytes);
        }
    }
    Put32(DI::kRegFileSize, m_fileBytes);
    Put32(DI::kRegCardFree, kCardSectors - kCardUsedSectors - m_fileBytes / DI::kCardSectorBytes);
    SetStatusBit(DI::kStatusErrors, Get32(DI::kRegErrorWord) != 0);
}

uint8_t CSimDevice::Read(uint16_t first, uint16_t count, uint16_t* out) {
    const int last = first + count - 1;
    std::lock_guard guard(m_lock);
    const bool command = Inside(first, last, DI::kRegCommand, DI::kRegLogin + DI::kLoginCount - 1);
    if (count == 0 ||
        !(Inside(first, last, DI::kStatusFirst, DI::kStatusFirst + DI::kStatusCount - 1) || command ||
          Inside(first, last, DI::kMeasureFirst, DI::kMeasureFirst + DI::kMeasureCount - 1) ||
          Inside(first, last, DI::kSettingsFirst, DI::kSettingsLast))) {
        return DI::kExceptionIllegalAddress;
    }
    for (int i = 0; i < count; ++i) {
        // The command and login registers are write-only: they read as zero.
        out[i] = command ? 0 : m_regs[static_cast<size_t>(first + i)];
    }
    return 0;
}

CSimDevice::WriteResult CSimDevice::Write(uint16_t first, uint16_t count, const uint16_t* values, Time now) {
    const int last = first + count - 1;
    std::lock_guard guard(m_lock);
    WriteResult result;
    if (count == 0) {
        result.exception = DI::kExceptionIllegalAddress;
    } else if (first == DI::kRegCommand && count == 1) {
        result.exception = Command(values[0], now, result.restart);
    } else if (first == DI::kRegLogin && count == DI::kLoginCount) {
        uint16_t expected[DI::kLoginCount];
        PutPasswordRegisters(expected, DI::kLoginCount, m_password);
        result.exception = std::equal(values, values + count, expected) ? 0 : DI::kExceptionIllegalValue;
    } else if (Inside(first, last, DI::kRegClock, DI::kRegClock + 1)) {
        std::copy(values, values + count, m_regs.begin() + first);
        m_clockSetTo = Get32(DI::kRegClock);
        m_clockSetAt = now;
    } else if (Inside(first, last, DI::kSettingsFirst, DI::kSettingsLast)) {
        result.exception = CheckSettingsWriteLocked(first, count, values);
        if (result.exception == 0) {
            std::copy(values, values + count, m_regs.begin() + first);
        }
    } else {
        result.exception = DI::kExceptionIllegalAddress;
    }
    return result;
}

uint8_t CSimDevice::Command(uint16_t code, Time now, bool& restart) {
    switch (code) {
        case DI::kCmdStartRecording:
            if (!(Get32(DI::kRegStatusWord) & DI::kStatusRecording)) {
                m_regs[DI::kRegFileNumber] = static_cast<uint16_t>(m_regs[DI::kRegFileNumber] + 1);
                m_recordingSince = now;
                m_fileBytes = kFileHeaderBytes;
                SetStatusBit(DI::kStatusRecording, true);
                AddEvent(now);
            }
            return 0;
        case DI::kCmdStopRecording:
            if (Get32(DI::kRegStatusWord) & DI::kStatusRecording) {
                SetStatusBit(DI::kStatusRecording, false);
                AddEvent(now);
            }
            return 0;
        case DI::kCmdResetErrors:
            Put32(DI::kRegErrorWord, 0);
            SetStatusBit(DI::kStatusErrors, false);
            return 0;
        case DI::kCmdRestart:
            restart = true;
            return 0;
        case DI::kCmdApplySettings:
            ApplySettingsLocked();
            ++m_applyCount;
            return 0;
        default:
            return DI::kExceptionIllegalValue;
    }
}

void CSimDevice::Restarted(Time now) {
    std::lock_guard guard(m_lock);
    m_started = now;
    TickLocked(now);
}

void CSimDevice::AddEvent(Time now) {
    UpdateStatus(now);
    Put32(DI::kRegLastEventTime, Get32(DI::kRegClock));
    Put32(DI::kRegEventCount, Get32(DI::kRegEventCount) + 1);
}

void CSimDevice::Put32(uint16_t address, uint32_t value) {
    m_regs[address] = static_cast<uint16_t>(value >> 16);
    m_regs[address + 1u] = static_cast<uint16_t>(value & 0xFFFF);
}

uint32_t CSimDevice::Get32(uint16_t address) const {
    return (uint32_t{m_regs[address]} << 16) | m_regs[address + 1u];
}

void CSimDevice::SetStatusBit(uint32_t bit, bool on) {
    const uint32_t status = Get32(DI::kRegStatusWord);
    Put32(DI::kRegStatusWord, on ? (status | bit) : (status & ~bit));
}

uint16_t CSimDevice::Register(uint16_t address) const {
    std::lock_guard guard(m_lock);
    return address < kRegisterSpace ? m_regs[address] : 0;
}

void CSimDevice::SetRegister(uint16_t address, uint16_t value) {
    std::lock_guard guard(m_lock);
    if (address < kRegisterSpace) {
        m_regs[address] = value;
        MirrorAppliedLocked(address);
    }
}

uint32_t CSimDevice::Register32(uint16_t address) const {
    std::lock_guard guard(m_lock);
    return address + 1 < kRegisterSpace ? Get32(address) : 0;
}

void CSimDevice::SetRegister32(uint16_t address, uint32_t value) {
    std::lock_guard guard(m_lock);
    if (address + 1 < kRegisterSpace) {
        Put32(address, value);
        MirrorAppliedLocked(address);
        MirrorAppliedLocked(static_cast<uint16_t>(address + 1));
    }
}

void CSimDevice::SetIdentity(uint16_t deviceType, uint16_t firmware) {
    std::lock_guard guard(m_lock);
    m_regs[DI::kRegDeviceType] = deviceType;
    m_regs[DI::kRegFirmware] = firmware;
}

void CSimDevice::SetPassword(const std::string& password) {
    std::lock_guard guard(m_lock);
    m_password = password;
    PutPasswordRegisters(m_regs.data() + DI::kRegModbusPassword, DI::kPasswordRegisters, password);
    for (int i = 0; i < DI::kPasswordRegisters; ++i) {
        MirrorAppliedLocked(static_cast<uint16_t>(DI::kRegModbusPassword + i));
    }
}

void CSimDevice::SetErrorWord(uint32_t errors) {
    std::lock_guard guard(m_lock);
    Put32(DI::kRegErrorWord, errors);
    SetStatusBit(DI::kStatusErrors, errors != 0);
}

void CSimDevice::SetRecording(bool on, Time now) {
    std::lock_guard guard(m_lock);
    bool restart = false;
    Command(on ? DI::kCmdStartRecording : DI::kCmdStopRecording, now, restart);
}

void CSimDevice::SetClock(uint32_t deviceSeconds, Time now) {
    std::lock_guard guard(m_lock);
    m_clockSetTo = deviceSeconds;
    m_clockSetAt = now;
    UpdateStatus(now);
}

int CSimDevice::ApplyCount() const {
    std::lock_guard guard(m_lock);
    return m_applyCount;
}
