#pragma once

#include <cstdint>
#include <span>

// One row of the device parameter table as data: what BuildParameterTable makes an editor
// from, and what the simulator checks a written value against. Needs no language texts.
struct ParameterDefinition {
    int nameKey;
    int kind;       // EditorKind
    uint32_t type;  // RegisterType
    int address;
    // List: default index. IP: default address (first octet lowest). TimeLen, Int: base
    // units. FSize: byte count. Double: shown units. Source: the code.
    double defaultValue;
    double minimum;  // Int, TimeLen: base units; Double: shown units
    double maximum;
    double step;  // Double only
    int extra;    // List: key of the options text; TimeLen: unit set
    int descriptionKey;
    const char* text;  // PasswASCII: default text
};

struct ParameterGroupDefinition {
    int titleKey;
    std::span<const ParameterDefinition> rows;
};

// The twenty groups in grid order, with their 126 rows.
std::span<const ParameterGroupDefinition> ParameterGroupDefinitions();

// The four-digit factory value of the device's own six-character password.
inline constexpr const char* kDefaultDevicePassword = "1234";
// The three network passwords' factory value.
inline constexpr const char* kDefaultNetworkPassword = "vexor";

// Event n (0..4): its source row and its two threshold rows.
constexpr int EventSourceAddress(int n) {
    return 2062 + 2 * n;
}
constexpr int EventUpThresholdAddress(int n) {
    return 2032 + 2 * n;
}
constexpr int EventDownThresholdAddress(int n) {
    return 2042 + 2 * n;
}
inline constexpr int kEventCount = 5;
