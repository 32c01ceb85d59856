#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <functional>
#include <mutex>
#include <random>
#include <string>

// The simulated device itself, apart from any socket: its registers, live measurements,
// clock, recording state, login and commands. The server asks it to answer requests;
// tests and tools may read and change it directly. Thread-safe: every operation takes
// the device's own lock.
class CSimDevice {
  public:
    using Time = std::chrono::system_clock::time_point;
    static constexpr int kRegisterSpace = 2222;  // registers 0..2221
    using Registers = std::array<uint16_t, kRegisterSpace>;

    // Called at the end of every Tick with the device locked: the place where recording
    // to the memory card hooks in. It may change registers (file number and size, free
    // card space, event count) but must not call back into the device.
    using TickHook = std::function<void(Registers& registers, Time now)>;

    // What a request did: 0 = accepted, otherwise the Modbus exception code.
    struct WriteResult {
        uint8_t exception = 0;
        bool restart = false;  // the device reboots now: drop every connection
    };

    explicit CSimDevice(Time now, uint32_t seed = 1);

    // Recomputes the live values, the clock and the uptime for `now`, then runs the hook.
    void Tick(Time now);
    void SetTickHook(TickHook hook);

    uint8_t Read(uint16_t first, uint16_t count, uint16_t* out);
    WriteResult Write(uint16_t first, uint16_t count, const uint16_t* values, Time now);
    // The device is back after a restart: uptime starts again.
    void Restarted(Time now);

    // Direct access, outside the rules a Modbus request obeys; a settings register set
    // here takes effect at once, as if applied.
    uint16_t Register(uint16_t address) const;
    void SetRegister(uint16_t address, uint16_t value);
    uint32_t Register32(uint16_t address) const;
    void SetRegister32(uint16_t address, uint32_t value);
    void SetIdentity(uint16_t deviceType, uint16_t firmware);
    void SetPassword(const std::string& password);
    void SetErrorWord(uint32_t errors);
    void SetRecording(bool on, Time now);
    void SetClock(uint32_t deviceSeconds, Time now);
    int ApplyCount() const;
    // A settings register as last applied: what the recorder works from.
    uint16_t AppliedRegister(uint16_t address) const;

    // Device time (seconds since 1980-01-01 00:00:00) of a moment, in local time as a
    // device set from a desktop clock keeps it.
    static uint32_t DeviceSeconds(Time now);

  private:
    void TickLocked(Time now);
    void UpdateLiveValues(double t, double dt);
    void UpdateStatus(Time now);
    void PutItem(int channel, int item, double value, double scale);
    void Put32(uint16_t address, uint32_t value);
    uint32_t Get32(uint16_t address) const;
    void SetStatusBit(uint32_t bit, bool on);
    // The settings block as the device works with it (SimSettingsBlock.cpp): written values
    // are checked against their rows' ranges, and the recording settings take effect only
    // with the apply command.
    uint8_t CheckSettingsWriteLocked(uint16_t first, uint16_t count, const uint16_t* values) const;
    void ApplySettingsLocked();
    void MirrorAppliedLocked(uint16_t address);
    uint32_t Applied32(uint16_t address) const;
    void SwapRecordingSettingsLocked();
    void AddEvent(Time now);
    uint8_t Command(uint16_t code, Time now, bool& restart);
    double Noise(double sigma);

    mutable std::mutex m_lock;
    Registers m_regs{};
    TickHook m_hook;
    std::mt19937 m_random;
    std::normal_distribution<double> m_normal{0.0, 1.0};
    std::string m_password = "vexor";
    Time m_created;
    Time m_started;  // last (re)start: uptime counts from here
    Time m_lastTick;
    Time m_clockSetAt;  // device clock runs from its last setting
    uint32_t m_clockSetTo = 0;
    Time m_recordingSince;
    int m_applyCount = 0;
    double m_activeEnergy[3] = {15234.5, 14870.2, 15592.9};  // kWh
    double m_reactiveEnergy[3] = {4121.7, 3988.4, 4310.0};   // kvarh
    double m_pulseCount[4] = {18342, 512, 0, 907714};
    uint32_t m_fileBytes = 0;
    static constexpr int kSettingsWords = 222;
    std::array<uint16_t, kSettingsWords> m_applied{};  // registers 2000..2221 as last applied
};
