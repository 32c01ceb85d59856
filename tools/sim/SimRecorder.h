#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "SimDevice.h"
#include "rdf/RdfWriter.h"

// The simulated device's memory card: while the device records, writes recorded-data
// files "FILE%.4d.RDF" into a folder. Driven by the device's tick hook, which runs with the
// device locked, so the hook only builds records and hands them to a writer thread of its
// own; the Modbus server never waits for the disk.
//
// What it writes:
//  - a data record every recording period (registers 2113..2114) with the values of the
//    twenty recording sources (2073..2112) taken from the measure block;
//  - with event recording on (2118), an event record when one of the five event thresholds
//    (2022..2071) trips after its delay (kind 0x02 above, 0x04 below, both when both hold;
//    byte 1 carries one bit per tripped event) and one of kind 0x01 when the last condition
//    clears;
//  - a new file when the next record would pass the size limit (2115..2116), when the
//    sources change, or when the device clock is set back;
// and it keeps the file number (16), file size (17..18) and free card space (14..15) of
// the status block up to date. Tripped thresholds count as events (23..26) whether or not
// anything is recorded.
class CSimRecorder {
  public:
    explicit CSimRecorder(std::string cardDir);
    // Closes the file being written and waits until everything is on disk.
    ~CSimRecorder();
    CSimRecorder(const CSimRecorder&) = delete;
    CSimRecorder& operator=(const CSimRecorder&) = delete;

    // Installs this recorder as the device's tick hook. The recorder has to outlive the
    // hook: detach (SetTickHook({})) before destroying it while the device lives on.
    void Attach(CSimDevice& device);

    // The hook itself: called with the device locked; never touches the disk.
    void OnTick(CSimDevice::Registers& registers, CSimDevice::Time now);

    // Closes the file being written, as stopping the recording does; the next tick
    // that finds recording on starts a new file. Waits until the file is complete.
    void CloseFile();
    // Waits until every record handed over so far is written and flushed.
    void WaitWritten();

    // The last write failure, empty when all went well.
    std::string LastError() const;

    // The name of the data file with this number.
    static std::string FileName(uint16_t number);

  private:
    struct Job {
        enum class Kind { Open, Append, Close } kind = Kind::Append;
        std::string path;
        RdfHeaderFields header;
        std::vector<RdfRecord> records;
    };
    struct Threshold {
        int64_t since = -1;  // device time the condition began, -1 while it does not hold
        bool tripped = false;
    };

    // All with m_stateLock held.
    void StartFile(const CSimDevice::Registers& registers, int64_t deviceMs, uint16_t number);
    void EndFile();
    void AddRecord(const CSimDevice::Registers& registers, const RdfRecord& record);
    void HandOver();
    void CheckThresholds(CSimDevice::Registers& registers, int64_t deviceMs, bool writeEvents);
    int64_t DeviceMs(const CSimDevice::Registers& registers, CSimDevice::Time now, bool& jumped);
    RdfRecord Sample(const CSimDevice::Registers& registers, uint8_t kind, int64_t timeMs) const;
    void PutCardState(CSimDevice::Registers& registers) const;

    void Push(Job job);
    void Run();

    const std::string m_dir;

    mutable std::mutex m_stateLock;
    bool m_fileOpen = false;
    uint16_t m_number = 0;
    std::array<SourceCode, kRdfSlotCount> m_sources{};
    uint64_t m_size = 0;            // bytes of the current (or last) file, as handed over
    uint64_t m_sectorsBefore = 0;   // card sectors taken by the files closed in this run
    bool m_haveFreeBase = false;
    uint32_t m_freeBase = 0;        // free sectors before this run wrote anything
    bool m_wroteAny = false;
    uint32_t m_lastKey = 0;
    int64_t m_nextDataMs = 0;
    int64_t m_lastRecordMs = -1;
    std::vector<RdfRecord> m_batch;  // records of this tick, handed over at its end
    bool m_anchored = false;
    int64_t m_anchorMs = 0;
    CSimDevice::Time m_anchorAt{};
    Threshold m_thresholds[5][2];
    uint8_t m_lastActiveKind = 0;  // 0x02 / 0x04 bits of the last event record written

    mutable std::mutex m_queueLock;
    std::condition_variable m_queueChanged;
    std::deque<Job> m_queue;
    bool m_busy = false;
    bool m_stop = false;
    std::string m_error;
    std::thread m_thread;
};
