#include "rdf/RdfFileLoader.h"

#include <system_error>

CRdfFileLoader::~CRdfFileLoader() {
    Cancel();
    Wait();
}

bool CRdfFileLoader::Start(const QStringList& paths, IListener* listener) {
    if (!m_finished.load()) return false;
    Wait();
    m_results.clear();
    m_cancel.store(false);
    m_finished.store(false);
    // A thread the system refuses is reported, not thrown past the caller.
    try {
        m_thread = std::thread(&CRdfFileLoader::Run, this, paths, listener);
    } catch (const std::system_error&) {
        m_finished.store(true);
        return false;
    }
    return true;
}

void CRdfFileLoader::Wait() {
    if (m_thread.joinable()) m_thread.join();
}

std::vector<CRdfFileLoader::Outcome> CRdfFileLoader::TakeResults() {
    Wait();
    return std::move(m_results);
}

void CRdfFileLoader::Run(QStringList paths, IListener* listener) {
    const int count = int(paths.size());
    for (int i = 0; i < count; ++i) {
        Outcome outcome;
        outcome.path = paths[i];
        RdfHeader header;
        if (m_cancel.load()) {
            outcome.error = RdfOpenError::Cancelled;
        } else if (m_checkHeaders && CFileRdf::ReadHeader(paths[i], header) == RdfOpenError::None &&
                   (outcome.refused = CheckRdfHeader(header, m_openHeaders)) != RdfAddResult::Added) {
            // Refused as it stands; the window says why.
        } else {
            auto file = std::make_unique<CFileRdf>();
            RdfOpenControl control;
            control.cancel = &m_cancel;
            control.summarise = m_buildSummaries;
            if (listener)
                control.progress = [&](std::uint64_t done, std::uint64_t total) {
                    listener->OnLoadProgress(i, count, done, total);
                };
            if (file->Open(paths[i], &control)) {
                // A summary that could not be had leaves the file usable, only slower to draw.
                if (m_cancel.load())
                    outcome.error = RdfOpenError::Cancelled;
                else {
                    if (m_checkHeaders) m_openHeaders.push_back(*file->Header());
                    outcome.file = std::move(file);
                }
            } else
                outcome.error = file->LastError();
        }
        m_results.push_back(std::move(outcome));
    }
    m_finished.store(true);
    if (listener) listener->OnLoadFinished();
}
