#include "rdf/RdfFileLoader.h"

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
    m_thread = std::thread(&CRdfFileLoader::Run, this, paths, listener);
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
        if (m_cancel.load()) {
            outcome.error = RdfOpenError::Cancelled;
        } else {
            auto file = std::make_unique<CFileRdf>();
            RdfOpenControl control;
            control.cancel = &m_cancel;
            if (listener)
                control.progress = [&](std::uint64_t done, std::uint64_t total) {
                    listener->OnLoadProgress(i, count, done, total);
                };
            if (file->Open(paths[i], &control))
                outcome.file = std::move(file);
            else
                outcome.error = file->LastError();
        }
        m_results.push_back(std::move(outcome));
    }
    m_finished.store(true);
    if (listener) listener->OnLoadFinished();
}
