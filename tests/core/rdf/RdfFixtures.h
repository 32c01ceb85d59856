#pragma once

// Small recorded-data files built from bytes, for the reader, set and export tests.
#include <QByteArray>
#include <QString>
#include <QTemporaryDir>
#include <vector>

#include "devsettings/SourceCode.h"
#include "rdf/RdfWriter.h"
#include "support/TestSupport.h"

// Two sources of channel 1 for the fixtures: a voltage (divisor 10) and a current (divisor 100).
inline constexpr SourceCode kVolts = MakeSourceCode(0, 0, QK_VOLTAGE_RMS);
inline constexpr SourceCode kAmps = MakeSourceCode(0, 0, QK_CURRENT_RMS);

struct RdfRec {
    std::uint8_t kind;
    std::int64_t timeMs;
    std::vector<std::int32_t> values = {};
};

inline QByteArray RdfBytes(const RdfHeaderFields& fields, const std::vector<RdfRec>& records) {
    QByteArray bytes = RdfHeaderBytes(fields);
    if (fields.dataOffset > kRdfHeaderSize) bytes.append(QByteArray(fields.dataOffset - kRdfHeaderSize, '\0'));
    for (const RdfRec& r : records) bytes += RdfRecordBytes(MakeRdfRecord(r.kind, r.timeMs, r.values));
    return bytes;
}

inline RdfHeaderFields RdfFields(std::uint32_t key, std::initializer_list<SourceCode> sources = {}) {
    RdfHeaderFields f;
    f.deviceId = {1, 2, 3, 4, 5, 6};
    f.orderingKey = key;
    int i = 0;
    for (SourceCode code : sources) f.slotCodes[size_t(i++)] = code;
    return f;
}

// A scratch folder that writes fixture files by name.
class RdfScratch {
public:
    QString Write(const QString& name, const QByteArray& bytes) {
        const QString path = m_dir.filePath(name);
        WriteFileBytes(path, bytes);
        return path;
    }
    QString Path(const QString& name) const { return m_dir.filePath(name); }

private:
    QTemporaryDir m_dir;
};
