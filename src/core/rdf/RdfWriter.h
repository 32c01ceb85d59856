#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <array>
#include <cstdint>
#include <span>

#include "rdf/RdfFormat.h"

// The header fields a recorder chooses. The format fields (version, record size, data
// offset) default to what a valid file holds; tests change them to build bad files.
struct RdfHeaderFields {
    std::array<std::uint8_t, kRdfDeviceIdSize> deviceId{};
    std::uint16_t firmware = 0x0208;  // high byte major, low byte minor
    std::uint32_t orderingKey = 0;
    std::array<SourceCode, kRdfSlotCount> slotCodes = FreeSlots();
    std::uint16_t version = kRdfVersion;
    std::uint16_t recordSize = kRdfRecordSize;
    std::uint16_t dataOffset = kRdfHeaderSize;

    static constexpr std::array<SourceCode, kRdfSlotCount> FreeSlots() {
        std::array<SourceCode, kRdfSlotCount> s{};
        s.fill(kNoSource);
        return s;
    }
};

// The 104 header bytes of these fields.
RdfHeader MakeRdfHeader(const RdfHeaderFields& fields);
QByteArray RdfHeaderBytes(const RdfHeaderFields& fields);

// A record at a time in milliseconds since 1980-01-01; kind 0 is a data record. Values
// beyond the 20 slotCodes are ignored, missing ones are 0.
RdfRecord MakeRdfRecord(std::uint8_t kind, std::int64_t timeMs, std::span<const std::int32_t> values = {});
RdfRecord MakeRdfRecord(std::uint8_t kind, std::int64_t timeMs, std::initializer_list<std::int32_t> values);
QByteArray RdfRecordBytes(const RdfRecord& record);

// Writes a recorded-data file record by record, as a recorder does: the header on Create,
// then records appended at the end (a record never straddles two writes). The file is
// complete and valid after every Flush and after Close.
class CRdfWriter {
public:
    CRdfWriter() = default;
    ~CRdfWriter() { Close(); }
    CRdfWriter(const CRdfWriter&) = delete;
    CRdfWriter& operator=(const CRdfWriter&) = delete;

    // Creates (or replaces) the file and writes the header and, when the data offset lies
    // past the header, zero bytes up to it.
    bool Create(const QString& path, const RdfHeaderFields& fields);
    bool Append(const RdfRecord& record) { return Append(std::span<const RdfRecord>(&record, 1)); }
    bool Append(std::span<const RdfRecord> records);
    bool Flush();
    // Flushes and closes; false when any write failed.
    bool Close();

    bool IsOpen() const { return m_file.isOpen(); }
    // Bytes in the file so far (header included).
    std::uint64_t Size() const { return m_size; }
    QString ErrorString() const { return m_file.errorString(); }

private:
    QFile m_file;
    std::uint64_t m_size = 0;
    bool m_failed = false;
};

// Writes a whole file at once; false when it cannot be written.
bool WriteRdfFile(const QString& path, const RdfHeaderFields& fields, std::span<const RdfRecord> records);
