#include "SimRecorder.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>

#include "device/DeviceInterface.h"

namespace {

namespace DI = DeviceInterface;

constexpr int kEventCount = 5;
constexpr uint16_t kRegEventUp = 2022;          // 2022..2026: upper threshold on
constexpr uint16_t kRegEventDown = 2027;        // 2027..2031: lower threshold on
constexpr uint16_t kRegEventUpValue = 2032;     // 2032..2041: two registers each
constexpr uint16_t kRegEventDownValue = 2042;   // 2042..2051
constexpr uint16_t kRegEventUpDelay = 2052;     // 2052..2056, milliseconds
constexpr uint16_t kRegEventDownDelay = 2057;   // 2057..2061
constexpr uint16_t kRegEventSource = 2062;      // 2062..2071: two registers each
constexpr uint16_t kRegEventRecording = 2118;   // 0 off, 1 on
constexpr uint32_t kMaxRecordPeriodMs = 3600000;
// A tick that comes after a long pause (a stopped process, a test jumping its clock) does
// not make up for more than this many records; the rest of the gap stays empty.
constexpr int kMaxCatchUpRecords = 100000;

constexpr uint8_t kKindAbove = 0x02;
constexpr uint8_t kKindBelow = 0x04;
constexpr uint8_t kKindConditionOver = 0x01;

uint32_t Get32(const CSimDevice::Registers& r, uint16_t address) {
    return (uint32_t{r[address]} << 16) | r[address + 1u];
}

void Put32(CSimDevice::Registers& r, uint16_t address, uint32_t value) {
    r[address] = static_cast<uint16_t>(value >> 16);
    r[address + 1u] = static_cast<uint16_t>(value & 0xFFFF);
}

uint64_t Sectors(uint64_t bytes) {
    return (bytes + DI::kCardSectorBytes - 1) / DI::kCardSectorBytes;
}

std::array<SourceCode, kRdfSlotCount> RecordSources(const CSimDevice::Registers& r) {
    std::array<SourceCode, kRdfSlotCount> codes{};
    for (int i = 0; i < kRdfSlotCount; ++i) {
        codes[static_cast<size_t>(i)] = Get32(r, static_cast<uint16_t>(DI::kRegRecordSources + 2 * i));
    }
    return codes;
}

// The raw measured value of a source: the item the code's variant names when it holds the
// code's kind, otherwise the channel's first item of that kind.
bool SourceValue(const CSimDevice::Registers& r, SourceCode code, int32_t& value) {
    if (code == kNoSource || ChannelIndexOf(code) >= unsigned(DI::kChannelCount)) {
        return false;
    }
    const int channel = static_cast<int>(ChannelIndexOf(code));
    const unsigned kind = KindOf(code);
    int item = -1;
    const unsigned variant = VariantIndexOf(code);
    if (variant < unsigned(DI::kItemsPerChannel) &&
        r[DI::MeasureItemRegister(channel, static_cast<int>(variant))] == kind) {
        item = static_cast<int>(variant);
    }
    for (int i = 0; item < 0 && i < DI::kItemsPerChannel; ++i) {
        if (kind != 0 && r[DI::MeasureItemRegister(channel, i)] == kind) {
            item = i;
        }
    }
    if (item < 0) {
        return false;
    }
    value = static_cast<int32_t>(Get32(r, DI::MeasureValueRegister(channel, item)));
    return true;
}

}  // namespace

CSimRecorder::CSimRecorder(std::string cardDir) : m_dir(std::move(cardDir)) {
    m_thread = std::thread([this] { Run(); });
}

CSimRecorder::~CSimRecorder() {
    CloseFile();
    {
        std::lock_guard guard(m_queueLock);
        m_stop = true;
    }
    m_queueChanged.notify_all();
    m_thread.join();
}

void CSimRecorder::Attach(CSimDevice& device) {
    device.SetTickHook([this](CSimDevice::Registers& registers, CSimDevice::Time now) { OnTick(registers, now); });
}

std::string CSimRecorder::FileName(uint16_t number) {
    char name[32];
    std::snprintf(name, sizeof(name), "FILE%.4d.RDF", int{number});
    return name;
}

void CSimRecorder::OnTick(CSimDevice::Registers& registers, CSimDevice::Time now) {
    std::lock_guard guard(m_stateLock);
    if (!m_haveFreeBase) {
        m_freeBase = Get32(registers, DI::kRegCardFree);
        m_haveFreeBase = true;
    }
    bool jumped = false;
    const int64_t nowMs = DeviceMs(registers, now, jumped);
    const bool recording = (Get32(registers, DI::kRegStatusWord) & DI::kStatusRecording) != 0;
    if (!recording) {
        if (m_fileOpen) {
            EndFile();
        }
        CheckThresholds(registers, nowMs, false);
        PutCardState(registers);
        return;
    }

    // Records of one file run forward in time and under the sources its header names.
    if (m_fileOpen && ((jumped && nowMs < m_lastRecordMs) || RecordSources(registers) != m_sources)) {
        EndFile();
        StartFile(registers, nowMs, static_cast<uint16_t>(m_number + 1));
        m_nextDataMs = nowMs;
    } else if (!m_fileOpen) {
        StartFile(registers, nowMs, registers[DI::kRegFileNumber]);
        m_nextDataMs = nowMs;
    } else if (jumped) {
        m_nextDataMs = nowMs;
    }

    const uint32_t period = std::clamp<uint32_t>(Get32(registers, DI::kRegRecordPeriod), 1, kMaxRecordPeriodMs);
    for (int n = 0; m_nextDataMs <= nowMs && n < kMaxCatchUpRecords; ++n) {
        AddRecord(registers, Sample(registers, 0, m_nextDataMs));
        m_nextDataMs += period;
    }
    if (m_nextDataMs <= nowMs) {
        m_nextDataMs = nowMs + period;
    }
    CheckThresholds(registers, nowMs, registers[kRegEventRecording] != 0);
    HandOver();
    PutCardState(registers);
}

int64_t CSimRecorder::DeviceMs(const CSimDevice::Registers& registers, CSimDevice::Time now, bool& jumped) {
    // The clock registers hold whole seconds; the milliseconds come from the time passed
    // since the clock was last seen to move on its own.
    const int64_t clockMs = int64_t{Get32(registers, DI::kRegClock)} * 1000;
    if (m_anchored) {
        const int64_t predicted =
            m_anchorMs + std::chrono::duration_cast<std::chrono::milliseconds>(now - m_anchorAt).count();
        if (predicted > clockMs - 1000 && predicted < clockMs + 2000) {
            return predicted;
        }
        jumped = true;  // the clock was set
    }
    m_anchored = true;
    m_anchorMs = clockMs;
    m_anchorAt = now;
    return clockMs;
}

RdfRecord CSimRecorder::Sample(const CSimDevice::Registers& registers, uint8_t kind, int64_t timeMs) const {
    int32_t values[kRdfSlotCount] = {};
    for (int i = 0; i < kRdfSlotCount; ++i) {
        int32_t value = 0;
        if (SourceValue(registers, m_sources[static_cast<size_t>(i)], value)) {
            values[i] = value;
        }
    }
    return MakeRdfRecord(kind, timeMs, std::span<const int32_t>(values));
}

void CSimRecorder::StartFile(const CSimDevice::Registers& registers, int64_t deviceMs, uint16_t number) {
    // A card keeps what was recorded before: a number whose file exists is passed over.
    std::error_code error;
    for (int tries = 0; tries < 10000 && std::filesystem::exists(m_dir + "/" + FileName(number), error); ++tries) {
        number = static_cast<uint16_t>(number + 1);
    }
    m_number = number;
    m_sources = RecordSources(registers);

    RdfHeaderFields header;
    const uint16_t type = registers[DI::kRegDeviceType];
    const uint32_t serial = Get32(registers, 2);
    header.deviceId = {static_cast<uint8_t>(type), static_cast<uint8_t>(type >> 8),
                       static_cast<uint8_t>(serial),       static_cast<uint8_t>(serial >> 8),
                       static_cast<uint8_t>(serial >> 16), static_cast<uint8_t>(serial >> 24)};
    header.firmware = registers[DI::kRegFirmware];
    // The start time in device seconds, but always above the last file's key, so files
    // started within one second still sort in the order they were written.
    const uint32_t startSeconds = static_cast<uint32_t>(std::max<int64_t>(deviceMs / 1000, 0));
    header.orderingKey = m_wroteAny ? std::max(startSeconds, m_lastKey + 1) : startSeconds;
    header.slotCodes = m_sources;
    m_lastKey = header.orderingKey;

    Job open;
    open.kind = Job::Kind::Open;
    open.path = m_dir + "/" + FileName(number);
    open.header = header;
    Push(std::move(open));
    m_fileOpen = true;
    m_wroteAny = true;
    m_size = kRdfHeaderSize;
    m_lastRecordMs = -1;
    m_lastActiveKind = 0;
}

void CSimRecorder::EndFile() {
    HandOver();
    Job close;
    close.kind = Job::Kind::Close;
    Push(std::move(close));
    m_fileOpen = false;
    m_sectorsBefore += Sectors(m_size);
}

void CSimRecorder::AddRecord(const CSimDevice::Registers& registers, const RdfRecord& record) {
    const uint64_t limit =
        std::max<uint64_t>(Get32(registers, DI::kRegFileLimit), kRdfHeaderSize + kRdfRecordSize);
    if (m_size + kRdfRecordSize > limit) {
        EndFile();
        StartFile(registers, record.TimeMs(), static_cast<uint16_t>(m_number + 1));
    }
    m_batch.push_back(record);
    m_size += kRdfRecordSize;
    m_lastRecordMs = std::max(m_lastRecordMs, record.TimeMs());
}

void CSimRecorder::HandOver() {
    if (m_batch.empty()) {
        return;
    }
    Job append;
    append.kind = Job::Kind::Append;
    append.records = std::move(m_batch);
    m_batch.clear();
    Push(std::move(append));
}

void CSimRecorder::CheckThresholds(CSimDevice::Registers& registers, int64_t deviceMs, bool writeEvents) {
    uint8_t kind = 0;
    uint8_t events = 0;
    for (int n = 0; n < kEventCount; ++n) {
        int32_t value = 0;
        const bool known = SourceValue(registers, Get32(registers, static_cast<uint16_t>(kRegEventSource + 2 * n)), value);
        for (int below = 0; below < 2; ++below) {
            const uint16_t on = registers[(below ? kRegEventDown : kRegEventUp) + n];
            const auto threshold = static_cast<int32_t>(
                Get32(registers, static_cast<uint16_t>((below ? kRegEventDownValue : kRegEventUpValue) + 2 * n)));
            const int64_t delay = registers[(below ? kRegEventDownDelay : kRegEventUpDelay) + n];
            const bool holds = known && on != 0 && (below ? value < threshold : value > threshold);
            Threshold& state = m_thresholds[n][below];
            if (!holds) {
                state = Threshold{};
                continue;
            }
            if (state.since < 0) {
                state.since = deviceMs;
            }
            if (!state.tripped && deviceMs - state.since >= delay) {
                state.tripped = true;
                Put32(registers, DI::kRegEventCount, Get32(registers, DI::kRegEventCount) + 1);
                Put32(registers, DI::kRegLastEventTime, static_cast<uint32_t>(std::max<int64_t>(deviceMs / 1000, 0)));
            }
            if (state.tripped) {
                kind |= below ? kKindBelow : kKindAbove;
                events = static_cast<uint8_t>(events | (1u << n));
            }
        }
    }
    if (!writeEvents || !m_fileOpen) {
        m_lastActiveKind = 0;
        return;
    }
    if (kind != m_lastActiveKind) {
        RdfRecord record = Sample(registers, kind != 0 ? kind : kKindConditionOver, deviceMs);
        record.reserved = events;
        AddRecord(registers, record);
        m_lastActiveKind = kind;
    }
}

void CSimRecorder::PutCardState(CSimDevice::Registers& registers) const {
    if (!m_wroteAny) {
        return;  // the card as the device started with it
    }
    registers[DI::kRegFileNumber] = m_number;
    Put32(registers, DI::kRegFileSize, static_cast<uint32_t>(std::min<uint64_t>(m_size, INT32_MAX)));
    const uint64_t used = m_sectorsBefore + (m_fileOpen ? Sectors(m_size) : 0);
    Put32(registers, DI::kRegCardFree, used < m_freeBase ? static_cast<uint32_t>(m_freeBase - used) : 0);
}

void CSimRecorder::CloseFile() {
    {
        std::lock_guard guard(m_stateLock);
        if (m_fileOpen) {
            EndFile();
        }
    }
    WaitWritten();
}

void CSimRecorder::WaitWritten() {
    std::unique_lock lock(m_queueLock);
    m_queueChanged.wait(lock, [this] { return m_queue.empty() && !m_busy; });
}

std::string CSimRecorder::LastError() const {
    std::lock_guard guard(m_queueLock);
    return m_error;
}

void CSimRecorder::Push(Job job) {
    {
        std::lock_guard guard(m_queueLock);
        m_queue.push_back(std::move(job));
    }
    m_queueChanged.notify_all();
}

void CSimRecorder::Run() {
    CRdfWriter writer;
    std::string path;
    bool reported = false;  // one message per file is enough
    std::unique_lock lock(m_queueLock);
    for (;;) {
        m_queueChanged.wait(lock, [this] { return m_stop || !m_queue.empty(); });
        if (m_queue.empty()) {
            break;
        }
        Job job = std::move(m_queue.front());
        m_queue.pop_front();
        m_busy = true;
        const bool drained = m_queue.empty();
        lock.unlock();

        std::string failure;
        switch (job.kind) {
            case Job::Kind::Open:
                path = job.path;
                reported = false;
                if (!writer.Create(QString::fromStdString(path), job.header)) {
                    failure = "cannot create ";
                }
                break;
            case Job::Kind::Append:
                if (!writer.Append(job.records)) {
                    failure = "cannot write ";
                }
                break;
            case Job::Kind::Close:
                if (writer.IsOpen() && !writer.Close()) {
                    failure = "cannot finish ";
                }
                break;
        }
        // Flushed whenever the writer catches up, so the file on the card is whole and
        // readable between ticks.
        if (failure.empty() && drained && writer.IsOpen() && !writer.Flush()) {
            failure = "cannot write ";
        }
        if (!failure.empty() && !reported) {
            reported = true;
            const std::string message = failure + path + ": " + writer.ErrorString().toStdString();
            std::fprintf(stderr, "trv730-sim: %s\n", message.c_str());
            lock.lock();
            m_error = message;
            lock.unlock();
        }

        lock.lock();
        m_busy = false;
        m_queueChanged.notify_all();
    }
    lock.unlock();
    writer.Close();
}
