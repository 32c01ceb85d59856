#pragma once

#include <cstdint>
#include <string>

// Fills the settings block (registers 2000..2221, 222 values) with what a device holds
// after a factory reset. The three network passwords get `password`.
void FillDefaultSettings(uint16_t* block, const std::string& password);

// Writes text into `count` registers, one character per register, zero-padded.
void PutPasswordRegisters(uint16_t* registers, int count, const std::string& text);
