#include "rdf/FileRdf.h"

#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <limits>
#include <optional>

#include "rdf/PageFaulter.h"
#include "rdf/RdfSummary.h"
#include "rdf/RdfTimeSort.h"

namespace {

// Follows, block by block as the records arrive, whether the data records and the event
// records, each taken in file order, are both in time order.
class TimeOrderCheck {
public:
    // Takes in the records from the last call's count up to count.
    void Add(const RdfRecord* records, std::size_t count) {
        std::int64_t lastData = m_lastData, lastEvent = m_lastEvent;
        bool ordered = m_ordered;
        for (std::size_t i = m_checked; i < count; ++i) {
            const std::int64_t t = records[i].TimeMs();
            if (records[i].kind == 0) {
                ordered &= t >= lastData;
                lastData = t;
            } else {
                ordered &= t >= lastEvent;
                lastEvent = t;
            }
        }
        m_lastData = lastData;
        m_lastEvent = lastEvent;
        m_ordered = ordered;
        m_checked = std::max(m_checked, count);
    }
    bool Ordered() const { return m_ordered; }

private:
    std::size_t m_checked = 0;
    std::int64_t m_lastData = std::numeric_limits<std::int64_t>::min();
    std::int64_t m_lastEvent = std::numeric_limits<std::int64_t>::min();
    bool m_ordered = true;
};

// Large enough that system call overhead vanishes, small enough for smooth progress and
// a prompt reaction to cancelling.
constexpr std::size_t kReadChunk = std::size_t(16) << 20;
// Read pieces: small enough to be checked and summarised from the core's own cache.
constexpr std::size_t kReadPiece = std::size_t(512) << 10;
// From this size on a second core faults in the store's memory ahead of the reads.
constexpr std::uint64_t kPrefaultFrom = std::uint64_t(4) * kReadChunk;

class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : m_fd(fd) {}
    ~FileDescriptor() {
        if (m_fd >= 0) ::close(m_fd);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int Get() const { return m_fd; }

private:
    int m_fd;
};

bool Cancelled(const RdfOpenControl* control) {
    return control && control->cancel && control->cancel->load(std::memory_order_relaxed);
}

// Reads up to size bytes at offset; the count read (short only at the end of the file), or
// -1 on a read error.
std::int64_t ReadAt(int fd, void* buffer, std::size_t size, std::uint64_t offset) {
    std::size_t done = 0;
    auto* out = static_cast<std::uint8_t*>(buffer);
    while (done < size) {
        const ssize_t n = ::pread(fd, out + done, size - done, off_t(offset + done));
        if (n < 0) {
            if (errno == EINTR) continue;
            return -1;
        }
        if (n == 0) break;
        done += std::size_t(n);
    }
    return std::int64_t(done);
}

// Opens the file and reads and checks its header; fd receives the open descriptor (or -1)
// for the caller to close.
RdfOpenError OpenChecked(const QString& path, int& fd, std::uint64_t& size, RdfHeader& header) {
    fd = -1;
    if (path.isEmpty()) return RdfOpenError::NotFound;
    // Non-blocking so that a named pipe cannot stall the open; it is refused just below.
    fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) return errno == ENOENT || errno == ENOTDIR ? RdfOpenError::NotFound : RdfOpenError::CannotOpen;
    struct stat st {};
    if (::fstat(fd, &st) != 0) return RdfOpenError::CannotOpen;
    if (!S_ISREG(st.st_mode)) return RdfOpenError::NotRegularFile;
    size = std::uint64_t(st.st_size);
    if (size < std::uint64_t(kRdfHeaderSize)) return RdfOpenError::TooShort;

    const std::int64_t got = ReadAt(fd, header.bytes.data(), header.bytes.size(), 0);
    if (got < 0) return RdfOpenError::ReadError;
    if (got < kRdfHeaderSize) return RdfOpenError::TooShort;
    if (!header.HasMagic()) return RdfOpenError::BadMagic;
    if (header.Version() != kRdfVersion) return RdfOpenError::BadVersion;
    if (header.RecordSize() != kRdfRecordSize) return RdfOpenError::BadRecordSize;
    return RdfOpenError::None;
}
}  // namespace

RdfOpenError CFileRdf::ReadHeader(const QString& path, RdfHeader& header) {
    int fd = -1;
    std::uint64_t size = 0;
    const RdfOpenError error = OpenChecked(path, fd, size, header);
    const FileDescriptor file(fd);
    return error;
}

const char* RdfOpenErrorText(RdfOpenError error) {
    switch (error) {
    case RdfOpenError::None: return "no error";
    case RdfOpenError::NotFound: return "no such file";
    case RdfOpenError::CannotOpen: return "cannot be opened";
    case RdfOpenError::NotRegularFile: return "not a regular file";
    case RdfOpenError::TooShort: return "shorter than a file header";
    case RdfOpenError::BadMagic: return "not a recorded-data file (wrong signature)";
    case RdfOpenError::BadVersion: return "unsupported format version";
    case RdfOpenError::BadRecordSize: return "unsupported record size";
    case RdfOpenError::NoRecords: return "holds no records";
    case RdfOpenError::TooLarge: return "too large";
    case RdfOpenError::OutOfMemory: return "not enough memory";
    case RdfOpenError::ReadError: return "read error";
    case RdfOpenError::Cancelled: return "cancelled";
    }
    return "unknown error";
}

CFileRdf::~CFileRdf() {
    Close();
}

void CFileRdf::Close() {
    m_summary.reset();  // before the records it refers to
    m_loaded = false;
    m_fileName.clear();
    m_fullPath.clear();
    m_header.reset();
    m_store.Release();
    m_recordCount = 0;
    m_eventCount = 0;
}

bool CFileRdf::Open(const QString& path, const RdfOpenControl* control) {
    Close();
    m_error = Load(path, control);
    if (m_error != RdfOpenError::None) {
        Close();
        return false;
    }
    m_loaded = true;
    return true;
}

RdfOpenError CFileRdf::Load(const QString& path, const RdfOpenControl* control) {
    if (path.isEmpty()) return RdfOpenError::NotFound;
    m_fullPath = path;
    m_fileName = QFileInfo(path).fileName();

    int fd = -1;
    std::uint64_t size = 0;
    RdfHeader header;
    const RdfOpenError opened = OpenChecked(path, fd, size, header);
    const FileDescriptor file(fd);
    if (opened != RdfOpenError::None) return opened;

    const std::uint64_t offset = header.DataOffset();
    if (offset >= size) return RdfOpenError::NoRecords;
    const std::uint64_t available = (size - offset) / kRdfRecordSize;
    if (available == 0) return RdfOpenError::NoRecords;
    // Record counts and the byte size of the store stay within 32 bits.
    if (available * kRdfRecordSize > std::numeric_limits<std::uint32_t>::max()) return RdfOpenError::TooLarge;

    if (!m_store.Allocate(std::size_t(available))) return RdfOpenError::OutOfMemory;
    ::posix_fadvise(fd, off_t(offset), off_t(available * kRdfRecordSize), POSIX_FADV_SEQUENTIAL);

    // The records go straight from the file into the store, in large blocks.
    const std::uint64_t total = available * kRdfRecordSize;
    auto* bytes = reinterpret_cast<std::uint8_t*>(m_store.Data());
    std::optional<CPageFaulter> prefault;
    if (total >= kPrefaultFrom) prefault.emplace(bytes, std::size_t(total), kReadChunk);
    // The summaries are built from each block just read, while it is in the cache; they
    // hold as long as the merge leaves every record where it is (a file of the device).
    CRdfSummaryBuilder summary;
    const bool summarise =
        control && control->summarise && summary.Start(m_store.Data(), std::uint32_t(available), header);
    TimeOrderCheck order;
    std::uint64_t done = 0;
    while (done < total) {
        if (Cancelled(control)) return RdfOpenError::Cancelled;
        if (prefault) prefault->Reached(std::size_t(done / kReadChunk));
        const std::size_t want = std::size_t(std::min<std::uint64_t>(kReadChunk, total - done));
        // In pieces that fit the core's cache, each checked for time order (and summarised)
        // straight after it came.
        std::size_t n = 0;
        bool shorter = false;
        while (n < want) {
            const std::size_t piece = std::min(kReadPiece, want - n);
            const std::int64_t got = ReadAt(fd, bytes + done + n, piece, offset + done + n);
            if (got < 0) return RdfOpenError::ReadError;
            n += std::size_t(got);
            const auto arrived = std::uint32_t((done + n) / kRdfRecordSize);
            order.Add(m_store.Data(), arrived);
            if (summarise) summary.Add(arrived);
            shorter = std::size_t(got) < piece;
            if (shorter) break;
        }
        done += n;
        if (control && control->progress) control->progress(done, total);
        if (shorter) break;  // the file got shorter while being read
    }
    prefault.reset();  // the helper is done with the store before it is merged or resized
    const std::size_t count = std::size_t(done / kRdfRecordSize);
    if (count == 0) return RdfOpenError::NoRecords;

    // A device writes its records in time order. A file that is not (a clock set back while
    // recording, a damaged card) is put in time order first, keeping the file's order among
    // records of one millisecond, so that everything drawn, measured and exported from it
    // follows the time axis.
    const bool sorted = !order.Ordered();
    if (sorted && !SortRecordsByTime(m_store.Data(), count, control ? control->cancel : nullptr))
        return RdfOpenError::Cancelled;
    bool identity = false;
    if (!Merge(count, identity)) return RdfOpenError::OutOfMemory;
    identity = identity && !sorted;
    m_header = header;
    if (summarise) {
        if (identity) m_summary = summary.Finish(m_recordCount);
        // Records moved, or the memory was short: summarised afresh (still optional).
        if (!m_summary) m_summary = CRdfSummary::Build(m_store.Data(), m_recordCount, header, control->cancel);
        if (Cancelled(control)) return RdfOpenError::Cancelled;
    }
    return RdfOpenError::None;
}

// Merges the data records and the event records of the store, each in time order, into
// one sequence ordered by time; an event record replaces the data record of the same
// millisecond. Merges in place, which always works once the records are in time order; a
// second store stays as the fallback.
bool CFileRdf::Merge(std::size_t count, bool& identity) {
    identity = false;
    RdfRecord* records = m_store.Data();
    const auto nextData = [&](std::size_t from) {
        while (from < count && records[from].kind != 0) ++from;
        return from;
    };
    const auto nextEvent = [&](std::size_t from) {
        while (from < count && records[from].kind == 0) ++from;
        return from;
    };

    CRecordStore spill;
    RdfRecord* out = records;
    std::size_t written = 0;
    bool moved = false;
    // Places records[from] at the next output position. In place this is safe while the
    // position holds nothing still to be read, that is, lies below the next unread record.
    const auto place = [&](std::size_t from, std::size_t firstUnread) -> bool {
        if (out == records) {
            if (written == from) {
                ++written;
                return true;
            }
            moved = true;
            if (written < firstUnread) {
                std::memcpy(&records[written++], &records[from], sizeof(RdfRecord));
                return true;
            }
            if (!spill.Allocate(count)) return false;
            std::memcpy(spill.Data(), records, written * sizeof(RdfRecord));
            out = spill.Data();
        }
        std::memcpy(&out[written++], &records[from], sizeof(RdfRecord));
        return true;
    };

    EventStartTracker starts;
    std::uint32_t eventStarts = 0;
    std::size_t d = nextData(0);
    std::size_t e = nextEvent(0);
    while (d < count || e < count) {
        bool takeEvent = false;
        bool dropData = false;
        if (d < count && e < count) {
            const std::int64_t tD = records[d].TimeMs();
            const std::int64_t tE = records[e].TimeMs();
            takeEvent = tE <= tD;
            dropData = tE == tD;
        } else {
            takeEvent = e < count;
        }
        if (takeEvent) {
            const std::size_t from = e;
            e = nextEvent(e + 1);
            if (dropData) d = nextData(d + 1);
            if (starts.Step(records[from].kind)) ++eventStarts;
            if (!place(from, std::min(d, e))) return false;
        } else {
            const std::size_t from = d;
            d = nextData(d + 1);
            if (!place(from, std::min(d, e))) return false;
        }
    }

    identity = out == records && !moved && written == count;
    if (out != records) m_store = std::move(spill);
    m_store.Shrink(written);
    m_recordCount = std::uint32_t(written);
    m_eventCount = eventStarts;
    return true;
}

SourceCode CFileRdf::SourceOfSlot(int i) const {
    if (!m_header || i < 0 || i >= kRdfSlotCount) return kNoSource;
    return m_header->Slot(i);
}

std::int64_t CFileRdf::FirstTime() const {
    return m_recordCount ? m_store.Data()[0].TimeMs() : 0;
}

std::int64_t CFileRdf::LastTime() const {
    return m_recordCount ? m_store.Data()[m_recordCount - 1].TimeMs() : 0;
}

int CFileRdf::SlotOfSource(SourceCode code) const {
    if (!m_header || code == kNoSource) return -1;
    for (int i = 0; i < kRdfSlotCount; ++i)
        if (m_header->Slot(i) == code) return i;
    return -1;
}

bool CFileRdf::BuildSummary(const std::atomic<bool>* cancel) {
    m_summary.reset();
    if (!m_loaded || !m_header || m_recordCount == 0) return false;
    m_summary = CRdfSummary::Build(m_store.Data(), m_recordCount, *m_header, cancel);
    return m_summary != nullptr;
}
