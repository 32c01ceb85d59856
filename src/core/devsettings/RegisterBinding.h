#pragma once

#include <cstdint>

// Which editor a parameter row has; also the first field of its settings-file key.
enum EditorKind : int {
    EK_LIST = 0,
    EK_IP = 1,
    EK_TIMELEN = 2,
    EK_FSIZE = 3,
    EK_PASSWASCII = 4,
    EK_INT = 5,
    EK_DOUBLE = 6,
    EK_SOURCE = 7,
};

// How a parameter lies in the device's holding registers. Two-register integers hold
// their high word in the first register; texts hold one character per register.
enum RegisterType : uint32_t {
    RT_INT16 = 0,
    RT_UINT16 = 1,
    RT_INT32 = 2,
    RT_UINT32 = 3,
    RT_TEXT13 = 4,
    RT_TEXT6 = 5,
};

// Registers a value of this type takes; 0 for a type the device does not know.
constexpr int RegisterCountOf(uint32_t type) {
    switch (type) {
        case RT_INT16:
        case RT_UINT16:
            return 1;
        case RT_INT32:
        case RT_UINT32:
            return 2;
        case RT_TEXT13:
            return 13;
        case RT_TEXT6:
            return 6;
        default:
            return 0;
    }
}

constexpr bool IsSignedRegisterType(uint32_t type) {
    return type == RT_INT16 || type == RT_INT32;
}

// The tie of one settings editor to its registers. The count always follows from the
// type, so a row can never claim more registers than its value has.
struct RegisterBinding {
    int32_t address = 0;
    uint32_t type = 0;
    int32_t count = 0;
    int32_t kind = 0;

    constexpr RegisterBinding(int editorKind, uint32_t registerType, int firstAddress)
        : address(firstAddress), type(registerType), count(RegisterCountOf(registerType)), kind(editorKind) {}
};
