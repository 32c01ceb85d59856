#include "views/DevicePageBinding.h"

#include "views/DevicePageLayout.h"

namespace DevicePageBinding {
namespace {

// Value, distortion, frequency and bar ids of channels 1..7.
struct ChannelIds {
    int value, distortion, frequency, bar;
};
constexpr ChannelIds kVoltage[3] = {{1028, 1055, 1031, 1009}, {1029, 1083, 1032, 1010}, {1030, 1085, 1033, 1011}};
constexpr ChannelIds kCurrent[4] = {
    {1034, 1082, 1035, 1012}, {1037, 1084, 1038, 1014}, {1046, 1086, 1047, 1020}, {1052, 1087, 1053, 1024}};

// Apparent, active, reactive (value and bar), power factor and both energies of 16..18.
struct PowerIds {
    int apparent, apparentBar, active, activeBar, reactive, reactiveBar, factor, activeEnergy, reactiveEnergy;
};
constexpr PowerIds kPower[3] = {{1036, 1013, 1040, 1016, 1041, 1017, 1039, 1090, 1091},
                                {1042, 1015, 1044, 1018, 1045, 1019, 1043, 1092, 1093},
                                {1048, 1021, 1050, 1022, 1051, 1023, 1049, 1094, 1095}};

constexpr int kTemperatureValue[2] = {1054, 1056};
constexpr int kInputRate[4] = {1096, 1098, 1100, 1102};
constexpr int kInputCounter[4] = {1097, 1099, 1101, 1103};

}  // namespace

std::vector<LabelValue> Labels(const LiveView& v) {
    std::vector<LabelValue> out;
    out.reserve(72);
    for (int i = 0; i < 3; ++i) {
        out.push_back({kVoltage[i].value, &v.voltage[i].value});
        out.push_back({kVoltage[i].distortion, &v.voltage[i].distortion});
        out.push_back({kVoltage[i].frequency, &v.voltage[i].frequency});
    }
    for (int i = 0; i < 4; ++i) {
        out.push_back({kCurrent[i].value, &v.current[i].value});
        out.push_back({kCurrent[i].distortion, &v.current[i].distortion});
        out.push_back({kCurrent[i].frequency, &v.current[i].frequency});
    }
    for (int i = 0; i < 2; ++i) out.push_back({kTemperatureValue[i], &v.temperature[i].value});
    out.push_back({1058, &v.analogVoltage.value});
    out.push_back({1088, &v.analogVoltage.userScaled});
    out.push_back({1060, &v.analogCurrent.value});
    out.push_back({1089, &v.analogCurrent.userScaled});
    for (int i = 0; i < 4; ++i) {
        out.push_back({kInputRate[i], &v.inputs[i].pulsesPerMinute});
        out.push_back({kInputCounter[i], &v.inputs[i].counter});
    }
    for (int i = 0; i < 3; ++i) {
        const PowerChannelView& p = v.power[i];
        out.push_back({kPower[i].apparent, &p.apparent});
        out.push_back({kPower[i].active, &p.active});
        out.push_back({kPower[i].reactive, &p.reactive});
        out.push_back({kPower[i].factor, &p.powerFactor});
        out.push_back({kPower[i].activeEnergy, &p.activeEnergy});
        out.push_back({kPower[i].reactiveEnergy, &p.reactiveEnergy});
    }
    out.push_back({1104, &v.line.ab});
    out.push_back({1105, &v.line.bc});
    out.push_back({1106, &v.line.ca});
    out.push_back({1109, &v.line.negativeSequence});
    out.push_back({1108, &v.line.positiveSequence});
    out.push_back({1107, &v.line.zeroSequence});
    out.push_back({1078, &v.fileSize});
    out.push_back({1112, &v.exchangeRate});
    return out;
}

std::vector<StringValue> Strings(const LiveView& v) {
    return {{1075, &v.firmware}, {1074, &v.uptime},     {1076, &v.deviceClock},
            {1077, &v.fileName}, {1110, &v.eventCount}, {1111, &v.lastEvent}};
}

std::vector<BarValue> Bars(const LiveView& v) {
    std::vector<BarValue> out;
    out.reserve(21);
    for (int i = 0; i < 3; ++i) out.push_back({kVoltage[i].bar, &v.voltage[i].bar});
    for (int i = 0; i < 4; ++i) out.push_back({kCurrent[i].bar, &v.current[i].bar});
    for (int i = 0; i < 3; ++i) {
        out.push_back({kPower[i].apparentBar, &v.power[i].apparentBar});
        out.push_back({kPower[i].activeBar, &v.power[i].activeBar});
        out.push_back({kPower[i].reactiveBar, &v.power[i].reactiveBar});
    }
    out.push_back({1025, &v.line.abBar});
    out.push_back({1026, &v.line.bcBar});
    out.push_back({1027, &v.line.caBar});
    out.push_back({1057, &v.analogVoltage.bar});
    out.push_back({1059, &v.analogCurrent.bar});
    return out;
}

std::vector<LampValue> Lamps(const LiveView& v) {
    using namespace DevicePageLayout;
    std::vector<LampValue> out;
    for (int i = 0; i < 4; ++i) out.push_back({IDC_INPUT1_LAMP + i, v.inputs[i].lamp});
    out.push_back({IDC_ERROR_LAMP, v.errorLamp ? 1 : 0});
    out.push_back({IDC_RECORDING_LAMP, v.recordingLamp ? 1 : 0});
    return out;
}

}  // namespace DevicePageBinding
