#pragma once

#include <QString>
#include <vector>

#include "device/LiveView.h"

// Which control of the device page shows which part of a decoded poll. Nothing here
// computes a value: the decoding has done that; this only names the control for each.
namespace DevicePageBinding {

struct LabelValue {
    int id;
    const LabelText* text;
};
struct StringValue {
    int id;
    const QString* text;
};
struct BarValue {
    int id;
    const BarState* bar;
};
struct LampValue {
    int id;
    int mode;
};

std::vector<LabelValue> Labels(const LiveView& view);
std::vector<StringValue> Strings(const LiveView& view);
std::vector<BarValue> Bars(const LiveView& view);
std::vector<LampValue> Lamps(const LiveView& view);

// The thermometers of channels 8 and 9 and the labels beside them.
constexpr int kThermometerIds[2] = {1079, 1080};

}  // namespace DevicePageBinding
