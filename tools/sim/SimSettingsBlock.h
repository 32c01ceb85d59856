#pragma once

#include <cstdint>

#include "SimConfig.h"

// The write faults of the settings block: 0 when the write goes ahead; otherwise the
// exception code that refuses it. keepOld tells the server to acknowledge the write
// without storing it.
uint8_t SettingsWriteFault(const SimFaults& faults, uint16_t first, uint16_t count, bool& keepOld);
