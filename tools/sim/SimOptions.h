#pragma once

#include <string>
#include <vector>

#include "SimConfig.h"

enum class SimArgsResult { Run, Help, Error };

// Reads the simulator's command line (without the program name) into config. On Error,
// message says what was wrong.
SimArgsResult ParseSimArgs(const std::vector<std::string>& args, SimConfig& config, std::string& message);
std::string SimUsage();
