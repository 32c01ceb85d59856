#pragma once

#include <QStringList>
#include <atomic>
#include <cstdint>
#include <memory>
#include <thread>
#include <vector>

#include "rdf/FileRdf.h"
#include "rdf/RecordingSet.h"

// Opens a list of recorded-data files on a thread of its own, so that a window stays
// responsive while hundreds of megabytes are read, with progress and cancelling. The
// loader owns its thread; its destructor cancels and waits. The opened files are handed
// over afterwards, to be added to a recording set on the caller's own thread.
class CRdfFileLoader {
public:
    // Called on the loader's thread; a window forwards these to its own thread.
    class IListener {
    public:
        virtual ~IListener() = default;
        // bytesDone of bytesTotal of file fileIndex (0-based) of fileCount.
        virtual void OnLoadProgress(int fileIndex, int fileCount, std::uint64_t bytesDone,
                                    std::uint64_t bytesTotal) = 0;
        // Every file has been tried (or the rest skipped after Cancel).
        virtual void OnLoadFinished() = 0;
    };

    struct Outcome {
        QString path;
        std::unique_ptr<CFileRdf> file;  // loaded, or nullptr when error is set
        RdfOpenError error = RdfOpenError::None;
        // A file refused by its header alone (see SetOpenHeaders); its records were not read.
        RdfAddResult refused = RdfAddResult::Added;
    };

    CRdfFileLoader() = default;
    ~CRdfFileLoader();
    CRdfFileLoader(const CRdfFileLoader&) = delete;
    CRdfFileLoader& operator=(const CRdfFileLoader&) = delete;

    // Starts opening the files in the given order; false when a load is still running.
    // The listener may be nullptr and must outlive the load.
    bool Start(const QStringList& paths, IListener* listener);
    // Whether each opened file is also summarised for the graph (on by default); only
    // between loads.
    void SetBuildSummaries(bool build) { m_buildSummaries = build; }
    // Headers of the files already open: each file's header is checked against these and
    // against the files opened before it in the same load before its records are read, so
    // a file that would be refused costs no copy of its records. Only between loads.
    void SetOpenHeaders(std::vector<RdfHeader> headers) {
        m_openHeaders = std::move(headers);
        m_checkHeaders = true;
    }
    // Stops the file being read as soon as possible and skips the rest.
    void Cancel() { m_cancel.store(true); }
    bool IsFinished() const { return m_finished.load(); }
    // Waits for the thread to end.
    void Wait();
    // One outcome per path in the order given; waits for the load to end first.
    std::vector<Outcome> TakeResults();

private:
    void Run(QStringList paths, IListener* listener);

    std::thread m_thread;
    std::atomic<bool> m_cancel{false};
    std::atomic<bool> m_finished{true};
    bool m_buildSummaries = true;
    bool m_checkHeaders = false;
    std::vector<RdfHeader> m_openHeaders;
    std::vector<Outcome> m_results;  // written by the thread only until it ends
};
