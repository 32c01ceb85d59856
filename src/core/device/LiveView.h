#pragma once

#include <array>
#include <cstdint>

#include "device/DeviceInterface.h"
#include "device/LiveFormat.h"

// Everything a device page shows of one poll, decoded from the register image. The page
// paints these values; it computes none of them. A default-constructed view is the blank
// page shown before the first poll and after a disconnect (bars 0..1 at 0, empty labels,
// thermometers at -50 on the short scale, lamps off, no card, device buttons disabled).

struct BarState {
    int32_t maximum = 1;  // range 0..maximum
    int32_t position = 0;
    bool operator==(const BarState&) const = default;
};

struct ThermometerState {
    float minimum = -50.0f;
    float maximum = 120.0f;
    float value = -50.0f;  // the thermometer clamps it to its range
    bool operator==(const ThermometerState&) const = default;
};

// Channels 1..3 (voltage) and 4..7 (current) share one layout.
struct PhaseChannelView {
    LabelText value;
    LabelText frequency;
    LabelText distortion;
    BarState bar;
};

struct TemperatureView {
    LabelText value;
    ThermometerState thermometer;
};

struct AnalogView {
    LabelText value;
    LabelText userScaled;
    BarState bar;
};

struct DiscreteInputView {
    int8_t lamp = 0;  // the low byte of the input state, as the device gives it
    LabelText pulsesPerMinute;
    LabelText counter;
};

struct PowerChannelView {
    LabelText apparent, active, reactive;
    BarState apparentBar, activeBar, reactiveBar;
    LabelText powerFactor;
    LabelText activeEnergy, reactiveEnergy;
};

struct LineVoltagesView {
    LabelText ab, bc, ca;
    BarState abBar, bcBar, caBar;
    LabelText negativeSequence, positiveSequence, zeroSequence;
};

struct MemoryCardView {
    bool present = false;
    double capacityBytes = 0;
    double freeBytes = 0;
};

// The five device command buttons; the settings button is always enabled.
struct CommandButtons {
    bool startRecording = false;
    bool stopRecording = false;
    bool resetErrors = false;
    bool restart = false;
    bool memoryCard = false;
    bool operator==(const CommandButtons&) const = default;
};

// One point for the live graph: the channel (0..18) in the top byte, the item's quantity
// kind in the low 16 bits, and the item's signed value.
struct LiveGraphPoint {
    uint32_t key = 0;
    int32_t value = 0;
};

struct LiveView {
    static constexpr int kGraphPoints = DeviceInterface::kChannelCount * DeviceInterface::kItemsPerChannel;  // 114

    PhaseChannelView voltage[3];  // channels 1..3
    PhaseChannelView current[4];  // channels 4..7
    TemperatureView temperature[2];  // channels 8, 9
    AnalogView analogVoltage;        // channel 10
    AnalogView analogCurrent;        // channel 11
    DiscreteInputView inputs[4];     // channels 12..15
    PowerChannelView power[3];       // channels 16..18
    LineVoltagesView line;           // channel 19

    bool errorLamp = false;
    bool recordingLamp = false;
    MemoryCardView card;
    uint32_t errorWord = 0;
    QString firmware;
    QString fileName;
    LabelText fileSize;
    QString uptime;
    QString deviceClock;
    QString eventCount;
    QString lastEvent;
    LabelText exchangeRate;
    CommandButtons buttons;

    // In register order, for the live graph window.
    std::array<LiveGraphPoint, kGraphPoints> graph{};
};
