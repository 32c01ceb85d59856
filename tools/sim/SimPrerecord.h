#pragma once

#include <string>

#include "SimConfig.h"

// Writes, as fast as the disk allows, what the configured device would have recorded to its
// card folder over the last `seconds` seconds up to now: the data records of its recording
// sources and, with an upper voltage threshold on channel 1 set, the events of its swings.
// For demos that need a recording at once. False with a message when it cannot be written.
bool PrerecordCard(const SimConfig& config, int seconds, std::string& message);
