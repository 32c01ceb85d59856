#include "rdf/CsvExport.h"

#include <QSaveFile>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <mutex>
#include <thread>

#include "language/Language.h"
#include "rdf/CalendarTime.h"
#include "rdf/RecordingSet.h"

namespace {
constexpr std::size_t kBufferBytes = std::size_t(8) << 20;
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

// Hands filled buffers to a thread of its own that writes them, so that formatting and
// writing overlap. Where the file system allows, the blocks go to the disk directly
// (O_DIRECT): an export of a gigabyte then neither copies every byte into the page cache
// nor leaves a gigabyte of dirty pages for the final sync. Anything the direct path refuses
// is written the ordinary way. Writes go straight to the descriptor of the save file.
class AsyncWriter {
public:
    static constexpr std::size_t kAlign = 4096;

    explicit AsyncWriter(int fd) : m_fd(fd) {
        for (auto& b : m_buffers) {
            b.reset(static_cast<char*>(std::aligned_alloc(kAlign, kBufferBytes)));
            if (b) m_free.push_back(b.get());
        }
        const int flags = ::fcntl(fd, F_GETFL);
        m_direct = flags >= 0 && ::fcntl(fd, F_SETFL, flags | O_DIRECT) == 0;
        m_thread = std::thread([this] { Run(); });
    }
    ~AsyncWriter() { Finish(); }

    bool IsValid() const { return m_free.size() == std::size(m_buffers); }

    // A free buffer of kBufferBytes, aligned for direct writes; waits while all are busy.
    char* Acquire() {
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [&] { return !m_free.empty(); });
        char* b = m_free.front();
        m_free.pop_front();
        return b;
    }
    void Submit(char* buffer, std::size_t bytes) {
        {
            std::lock_guard lock(m_mutex);
            m_queue.push_back({buffer, bytes});
        }
        m_changed.notify_all();
    }
    // Waits until everything submitted is written; the first write error, or 0.
    int Finish() {
        {
            std::lock_guard lock(m_mutex);
            m_done = true;
        }
        m_changed.notify_all();
        if (m_thread.joinable()) m_thread.join();
        return m_error;
    }
    bool Failed() const { return m_failed.load(std::memory_order_relaxed); }

private:
    struct Job {
        char* data;
        std::size_t bytes;
    };
    struct FreeDeleter {
        void operator()(char* p) const { std::free(p); }
    };

    void Run() {
        for (;;) {
            Job job;
            {
                std::unique_lock lock(m_mutex);
                m_changed.wait(lock, [&] { return !m_queue.empty() || m_done; });
                if (m_queue.empty()) return;
                job = m_queue.front();
                m_queue.pop_front();
            }
            if (m_error == 0 && !Write(job.data, job.bytes)) {
                m_error = errno ? errno : EIO;
                m_failed.store(true, std::memory_order_relaxed);
            }
            {
                std::lock_guard lock(m_mutex);
                m_free.push_back(job.data);
            }
            m_changed.notify_all();
        }
    }

    bool Write(const char* data, std::size_t bytes) {
        if (m_direct && bytes % kAlign != 0) StopDirect();  // the last, partial block
        while (bytes > 0) {
            const ssize_t n = ::write(m_fd, data, bytes);
            if (n < 0) {
                if (errno == EINTR) continue;
                if (errno == EINVAL && m_direct) {
                    StopDirect();
                    continue;
                }
                return false;
            }
            if (n == 0) {
                errno = ENOSPC;
                return false;
            }
            data += n;
            bytes -= std::size_t(n);
            if (m_direct && bytes % kAlign != 0) StopDirect();
        }
        return true;
    }

    void StopDirect() {
        const int flags = ::fcntl(m_fd, F_GETFL);
        if (flags >= 0) ::fcntl(m_fd, F_SETFL, flags & ~O_DIRECT);
        m_direct = false;
    }

    const int m_fd;
    std::unique_ptr<char, FreeDeleter> m_buffers[3];
    std::deque<char*> m_free;
    std::deque<Job> m_queue;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_done = false;
    bool m_direct = false;  // used by the writing thread only once it runs
    int m_error = 0;        // written by the writing thread only until it ends
    std::atomic<bool> m_failed{false};
    std::thread m_thread;
};

// Fills buffers from the writer and submits them in whole aligned blocks; the odd bytes at
// a buffer's end move on to the next buffer.
class OutputBuffer {
public:
    explicit OutputBuffer(AsyncWriter& writer) : m_writer(writer), m_data(writer.Acquire()) {}

    // Room for at least n more bytes (n well below the buffer size).
    char* Reserve(std::size_t n) {
        if (m_used + n > kBufferBytes) {
            const std::size_t whole = m_used / AsyncWriter::kAlign * AsyncWriter::kAlign;
            char* next = m_writer.Acquire();
            std::memcpy(next, m_data + whole, m_used - whole);
            m_writer.Submit(m_data, whole);
            m_data = next;
            m_used -= whole;
        }
        return m_data + m_used;
    }
    void Commit(char* end) { m_used = std::size_t(end - m_data); }
    void Append(const char* bytes, std::size_t n) {
        while (n > 0) {
            const std::size_t part = std::min(n, kBufferBytes / 2);
            char* p = Reserve(part);
            std::memcpy(p, bytes, part);
            Commit(p + part);
            bytes += part;
            n -= part;
        }
    }
    void Submit() {
        if (m_used > 0) m_writer.Submit(m_data, m_used);
        m_used = 0;
        m_data = nullptr;
    }

private:
    AsyncWriter& m_writer;
    char* m_data;
    std::size_t m_used = 0;
};

// Where each column of a file comes from.
struct ColumnSlot {
    int slot;      // -1: the file does not record this source
    int decimals;  // of the column source's value text
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
    AsyncWriter writer(file.handle());
    if (!writer.IsValid()) {
        result.error = QString::fromLocal8Bit(std::strerror(ENOMEM));
        file.cancelWriting();
        return result;
    }
    OutputBuffer out(writer);

    const std::vector<SourceCode> columns = set.SourcesInSetOrder();
    QByteArray header = TextCell(GetText(LNG_GLOB_DATE)) + TextCell(GetText(LNG_GLOB_TIME));
    for (SourceCode code : columns) header += TextCell(table.SeriesName(code));
    header += "\r\n";
    out.Append(header.constData(), std::size_t(header.size()));
    bool ok = true;

    // The widest row: date and time cells, every column at its widest, the line end.
    const std::size_t rowBound = 32 + columns.size() * 17 + 2;
    if (rowBound > kBufferBytes / 2) {  // tens of thousands of files at once
        out.Submit();
        writer.Finish();
        file.cancelWriting();
        result.error = QString::fromLocal8Bit(std::strerror(E2BIG));
        return result;
    }
    const std::uint64_t total = set.TotalRecords();
    std::uint64_t walked = 0;
    std::vector<ColumnSlot> columnSlots(columns.size());

    for (const auto& f : set.Files()) {
        if (!ok) break;
        for (size_t c = 0; c < columns.size(); ++c)
            columnSlots[c] = {f->SlotOfSource(columns[c]), ValueDecimalsOfKind(KindOf(columns[c]))};

        // The date and time text up to the milliseconds changes once a second at most.
        char prefix[32];
        std::size_t prefixLength = 0;
        std::int64_t prefixSecond = kNoSecond;

        const RdfRecord* records = f->Records();
        const std::uint32_t count = f->RecordCount();
        for (std::uint32_t i = 0; i < count && ok; ++i) {
            if ((i & 0xFFFF) == 0) {
                if (writer.Failed()) {
                    ok = false;
                    break;
                }
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
                    p += FormatScaledInteger(p, col.decimals, r.values[col.slot]);
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

    out.Submit();
    const int writeError = writer.Finish();
    if (writeError != 0) {
        ok = false;
        result.error = QString::fromLocal8Bit(std::strerror(writeError));
    }
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
