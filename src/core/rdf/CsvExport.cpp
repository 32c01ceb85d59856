#include "rdf/CsvExport.h"

#include <QSaveFile>
#include <charconv>
#include <cerrno>
#include <cstring>
#include <unistd.h>

#include "language/Language.h"
#include "rdf/CalendarTime.h"
#include "rdf/RecordingSet.h"

namespace {
constexpr std::size_t kBufferBytes = std::size_t(4) << 20;
constexpr std::int64_t kNoSecond = -1;

// Two digits of a value 0..99.
char* Put2(char* p, unsigned v) {
    p[0] = char('0' + v / 10);
    p[1] = char('0' + v % 10);
    return p + 2;
}

char* Put3(char* p, unsigned v) {
    p[0] = char('0' + v / 100);
    p[1] = char('0' + v / 10 % 10);
    p[2] = char('0' + v % 10);
    return p + 3;
}

char* Put4(char* p, unsigned v) {
    p = Put2(p, v / 100 % 100);
    return Put2(p, v % 100);
}

// A text cell: quoted, with any quote inside doubled so the cell stays one cell.
QByteArray TextCell(const QString& text) {
    QByteArray utf8 = text.toUtf8();
    utf8.replace('"', QByteArrayLiteral("\"\""));
    return '"' + utf8 + "\";";
}

// Buffers output and hands it to the file in large writes.
class OutputBuffer {
public:
    explicit OutputBuffer(QSaveFile& file) : m_file(file), m_data(new char[kBufferBytes]) {}

    // Room for at least n more bytes, writing out what is buffered when needed.
    char* Reserve(std::size_t n) {
        if (m_used + n > kBufferBytes && !Drain()) return nullptr;
        if (n > kBufferBytes) return nullptr;
        return m_data.get() + m_used;
    }
    void Commit(char* end) { m_used = std::size_t(end - m_data.get()); }
    bool Append(const QByteArray& bytes) {
        if (std::size_t(bytes.size()) > kBufferBytes) return Drain() && m_file.write(bytes) == bytes.size();
        char* p = Reserve(std::size_t(bytes.size()));
        if (!p) return false;
        std::memcpy(p, bytes.constData(), std::size_t(bytes.size()));
        Commit(p + bytes.size());
        return true;
    }
    bool Drain() {
        if (m_used == 0) return true;
        const bool ok = m_file.write(m_data.get(), qint64(m_used)) == qint64(m_used);
        m_used = 0;
        return ok;
    }

private:
    QSaveFile& m_file;
    std::unique_ptr<char[]> m_data;
    std::size_t m_used = 0;
};

// Where each column of a file comes from.
struct ColumnSlot {
    int slot;       // -1: the file does not record this source
    unsigned kind;  // of the column's source
};
}  // namespace

QString DefaultCsvFileName(std::int64_t viewStartMs) {
    const CalendarTime t = CalendarTime::FromMs(viewStartMs);
    char text[16];
    char* p = Put2(text, unsigned(t.day));
    p = Put2(p, unsigned(t.month));
    p = Put4(p, unsigned(t.year));
    *p++ = '@';
    p = Put2(p, unsigned(t.hour));
    p = Put2(p, unsigned(t.minute));
    p = Put2(p, unsigned(t.second));
    return QString::fromLatin1(text, p - text);
}

CsvExportResult ExportCsv(const CRecordingSet& set, TimeRange view, const CQuantityTable& table,
                          const QString& path, const CsvExportOptions& options) {
    CsvExportResult result;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        result.error = file.errorString();
        return result;
    }
    OutputBuffer out(file);

    const std::vector<SourceCode> columns = set.SourcesInSetOrder();
    QByteArray header = TextCell(GetText(LNG_GLOB_DATE)) + TextCell(GetText(LNG_GLOB_TIME));
    for (SourceCode code : columns) header += TextCell(table.SeriesName(code));
    header += "\r\n";
    bool ok = out.Append(header);

    // The widest row: date and time cells, every column at its widest, the line end.
    const std::size_t rowBound = 32 + columns.size() * (kMaxRawValueChars + 1) + 2;
    const std::uint64_t total = set.TotalRecords();
    std::uint64_t walked = 0;
    std::vector<ColumnSlot> columnSlots(columns.size());

    for (const auto& f : set.Files()) {
        if (!ok) break;
        for (size_t c = 0; c < columns.size(); ++c)
            columnSlots[c] = {f->SlotOfSource(columns[c]), KindOf(columns[c])};

        // The date and time text up to the milliseconds changes once a second at most.
        char prefix[32];
        std::size_t prefixLength = 0;
        std::int64_t prefixSecond = kNoSecond;

        const RdfRecord* records = f->Records();
        const std::uint32_t count = f->RecordCount();
        for (std::uint32_t i = 0; i < count && ok; ++i) {
            if ((i & 0xFFFF) == 0) {
                if (options.cancel && options.cancel->load(std::memory_order_relaxed)) {
                    result.cancelled = true;
                    ok = false;
                    break;
                }
                if (options.progress) options.progress(walked + i, total);
            }
            const RdfRecord& r = records[i];
            const std::int64_t t = r.TimeMs();
            if (!view.Contains(t)) continue;

            const std::int64_t second = t / 1000;
            if (second != prefixSecond) {
                const CalendarTime ct = CalendarTime::FromMs(t);
                char* p = prefix;
                *p++ = '"';
                p = Put2(p, unsigned(ct.day));
                *p++ = '.';
                p = Put2(p, unsigned(ct.month));
                *p++ = '.';
                p = Put4(p, unsigned(ct.year));
                std::memcpy(p, "\";\"", 3);
                p += 3;
                p = Put2(p, unsigned(ct.hour));
                *p++ = ':';
                p = Put2(p, unsigned(ct.minute));
                *p++ = ':';
                p = Put2(p, unsigned(ct.second));
                *p++ = '.';
                prefixLength = std::size_t(p - prefix);
                prefixSecond = second;
            }

            char* p = out.Reserve(rowBound);
            if (!p) {
                ok = false;
                break;
            }
            std::memcpy(p, prefix, prefixLength);
            p += prefixLength;
            p = Put3(p, unsigned(t - second * 1000));
            *p++ = '"';
            *p++ = ';';
            for (const ColumnSlot& col : columnSlots) {
                if (col.slot < 0) {
                    std::memcpy(p, "null;", 5);
                    p += 5;
                } else {
                    p += FormatRawValue(p, col.kind, r.values[col.slot]);
                    *p++ = ';';
                }
            }
            *p++ = '\r';
            *p++ = '\n';
            out.Commit(p);
            ++result.rows;
        }
        walked += count;
    }

    if (ok) ok = out.Drain();
    // Synced before the rename, so the name never points at a file the disk has not got.
    if (ok) ok = ::fdatasync(file.handle()) == 0 || errno == EINVAL;
    if (ok) ok = file.commit();
    if (!ok) {
        if (!result.cancelled && result.error.isEmpty()) result.error = file.errorString();
        file.cancelWriting();
        result.rows = 0;
        return result;
    }
    if (options.progress) options.progress(total, total);
    result.ok = true;
    return result;
}
