#pragma once

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "devsettings/SourceCode.h"

// Byte layout of a recorded-data file: a 104-byte header, then from the header's data
// offset on fixed 88-byte records up to the end of the file. Little-endian throughout.

static_assert(std::endian::native == std::endian::little,
              "records are used in place as read from the file");

inline constexpr int kRdfHeaderSize = 104;
inline constexpr int kRdfRecordSize = 88;
inline constexpr int kRdfSlotCount = 20;
inline constexpr std::uint16_t kRdfVersion = 0x0102;
inline constexpr int kRdfDeviceIdSize = 6;
// Bits of a record's kind byte that mark an active event condition.
inline constexpr std::uint8_t kRdfEventActiveMask = 0x06;

// One record as stored. Kind 0 is a data record, anything else an event record; both carry
// the 20 slot values. The layout matches the file byte for byte.
struct RdfRecord {
    std::uint8_t kind;
    std::uint8_t reserved;
    std::uint16_t milliseconds;  // within the second; the device writes 0..999
    std::uint32_t seconds;       // since 1980-01-01 00:00:00
    std::int32_t values[kRdfSlotCount];

    bool IsEvent() const { return kind != 0; }
    // Milliseconds since 1980-01-01 00:00:00.000.
    std::int64_t TimeMs() const { return std::int64_t(seconds) * 1000 + milliseconds; }
};
static_assert(sizeof(RdfRecord) == kRdfRecordSize);
static_assert(offsetof(RdfRecord, milliseconds) == 2 && offsetof(RdfRecord, seconds) == 4 &&
              offsetof(RdfRecord, values) == 8);

// The file header as read (a byte copy) with its fields decoded on demand.
struct RdfHeader {
    std::array<std::uint8_t, kRdfHeaderSize> bytes{};

    bool HasMagic() const { return bytes[0] == 'R' && bytes[1] == 'D' && bytes[2] == 'F' && bytes[3] == 0; }
    std::uint16_t Version() const { return U16(4); }
    std::array<std::uint8_t, kRdfDeviceIdSize> DeviceId() const {
        std::array<std::uint8_t, kRdfDeviceIdSize> id{};
        std::memcpy(id.data(), bytes.data() + 6, id.size());
        return id;
    }
    // High byte major, low byte minor.
    std::uint16_t Firmware() const { return U16(12); }
    std::uint32_t OrderingKey() const { return U32(16); }
    std::uint16_t RecordSize() const { return U16(20); }
    std::uint16_t DataOffset() const { return U16(22); }
    // The code of slot 0..19; kNoSource marks an unused slot.
    SourceCode Slot(int i) const { return U32(24 + 4 * i); }

    bool operator==(const RdfHeader&) const = default;

private:
    std::uint16_t U16(int at) const { return std::uint16_t(bytes[at] | (bytes[at + 1] << 8)); }
    std::uint32_t U32(int at) const {
        std::uint32_t v;
        std::memcpy(&v, bytes.data() + at, 4);
        return v;
    }
};

// Walks records in order and tells which ones start an event: a record whose kind has an
// active-condition bit when the previous event record's kind had none. A record without
// either bit ends the condition.
class EventStartTracker {
public:
    bool Step(std::uint8_t kind) {
        if ((kind & kRdfEventActiveMask) == 0) {
            m_previous = 0;
            return false;
        }
        if ((m_previous & kRdfEventActiveMask) == 0) {
            m_previous = kind;
            return true;
        }
        return false;
    }
    void Reset() { m_previous = 0; }

private:
    std::uint8_t m_previous = 0;
};
