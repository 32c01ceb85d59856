#pragma once

#include <QString>
#include <cstdint>

class CMyProperty;

// How a parameter row's value lies in its registers: integers in one register (low 16
// bits) or two (high word first), texts one 16-bit character per register.
namespace RegisterCodec {

// The row's current value as its binding's count of words (at most 13).
void Encode(const CMyProperty& row, uint16_t* words);
// Words read from the device, decoded by the register type and given to the row's
// SetValue/SetText, which clamps and marks as the row's rules say.
void Decode(CMyProperty& row, const uint16_t* words);

// Signed types sign-extend, unsigned ones do not.
int64_t DecodeInteger(uint32_t type, const uint16_t* words);
// Exactly count characters, zero codes included.
QString DecodeText(int count, const uint16_t* words);

inline constexpr int kMaxWords = 13;

}  // namespace RegisterCodec
