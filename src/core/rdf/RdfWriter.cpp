#include "rdf/RdfWriter.h"

#include <algorithm>

namespace {
void PutU16(std::uint8_t* at, std::uint16_t v) {
    at[0] = std::uint8_t(v);
    at[1] = std::uint8_t(v >> 8);
}
void PutU32(std::uint8_t* at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) at[i] = std::uint8_t(v >> (8 * i));
}
}  // namespace

RdfHeader MakeRdfHeader(const RdfHeaderFields& fields) {
    RdfHeader h;
    std::uint8_t* b = h.bytes.data();
    b[0] = 'R';
    b[1] = 'D';
    b[2] = 'F';
    b[3] = 0;
    PutU16(b + 4, fields.version);
    std::copy(fields.deviceId.begin(), fields.deviceId.end(), b + 6);
    PutU16(b + 12, fields.firmware);
    PutU32(b + 16, fields.orderingKey);
    PutU16(b + 20, fields.recordSize);
    PutU16(b + 22, fields.dataOffset);
    for (int i = 0; i < kRdfSlotCount; ++i) PutU32(b + 24 + 4 * i, fields.slotCodes[size_t(i)]);
    return h;
}

QByteArray RdfHeaderBytes(const RdfHeaderFields& fields) {
    const RdfHeader h = MakeRdfHeader(fields);
    return QByteArray(reinterpret_cast<const char*>(h.bytes.data()), kRdfHeaderSize);
}

RdfRecord MakeRdfRecord(std::uint8_t kind, std::int64_t timeMs, std::span<const std::int32_t> values) {
    RdfRecord r{};
    r.kind = kind;
    const std::int64_t t = std::max<std::int64_t>(timeMs, 0);
    r.seconds = std::uint32_t(t / 1000);
    r.milliseconds = std::uint16_t(t % 1000);
    const size_t n = std::min(values.size(), size_t(kRdfSlotCount));
    std::copy_n(values.begin(), n, r.values);
    return r;
}

RdfRecord MakeRdfRecord(std::uint8_t kind, std::int64_t timeMs, std::initializer_list<std::int32_t> values) {
    return MakeRdfRecord(kind, timeMs, std::span<const std::int32_t>(values.begin(), values.size()));
}

QByteArray RdfRecordBytes(const RdfRecord& record) {
    return QByteArray(reinterpret_cast<const char*>(&record), kRdfRecordSize);
}

bool CRdfWriter::Create(const QString& path, const RdfHeaderFields& fields) {
    Close();
    m_failed = false;
    m_size = 0;
    m_file.setFileName(path);
    if (!m_file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
    QByteArray head = RdfHeaderBytes(fields);
    if (fields.dataOffset > kRdfHeaderSize) head.append(QByteArray(fields.dataOffset - kRdfHeaderSize, '\0'));
    if (m_file.write(head) != head.size()) {
        m_failed = true;
        return false;
    }
    m_size = std::uint64_t(head.size());
    return true;
}

bool CRdfWriter::Append(std::span<const RdfRecord> records) {
    if (!m_file.isOpen() || m_failed) return false;
    const qint64 bytes = qint64(records.size_bytes());
    if (m_file.write(reinterpret_cast<const char*>(records.data()), bytes) != bytes) {
        m_failed = true;
        return false;
    }
    m_size += std::uint64_t(bytes);
    return true;
}

bool CRdfWriter::Flush() {
    if (!m_file.isOpen()) return false;
    if (!m_file.flush()) m_failed = true;
    return !m_failed;
}

bool CRdfWriter::Close() {
    if (!m_file.isOpen()) return !m_failed;
    Flush();
    m_file.close();
    if (m_file.error() != QFileDevice::NoError) m_failed = true;
    return !m_failed;
}

bool WriteRdfFile(const QString& path, const RdfHeaderFields& fields, std::span<const RdfRecord> records) {
    CRdfWriter writer;
    if (!writer.Create(path, fields)) return false;
    writer.Append(records);
    return writer.Close();
}
