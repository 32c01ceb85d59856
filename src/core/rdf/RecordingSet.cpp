#include "rdf/RecordingSet.h"

#include <algorithm>

namespace {
void AppendNewSources(const CFileRdf& file, std::vector<SourceCode>& into) {
    for (int slot = 0; slot < CFileRdf::SlotCount(); ++slot) {
        const SourceCode code = file.SourceOfSlot(slot);
        if (code == kNoSource) continue;
        if (std::find(into.begin(), into.end(), code) == into.end()) into.push_back(code);
    }
}
}  // namespace

RdfAddResult CheckRdfHeader(const RdfHeader& header, std::span<const RdfHeader> open) {
    for (const RdfHeader& h : open)
        if (h == header) return RdfAddResult::AlreadyLoaded;
    if (!open.empty()) {
        const RdfHeader& first = open.front();
        if (first.Firmware() != header.Firmware() || first.DeviceId() != header.DeviceId())
            return RdfAddResult::Incompatible;
    }
    return RdfAddResult::Added;
}

std::vector<RdfHeader> CRecordingSet::Headers() const {
    std::vector<RdfHeader> headers;
    headers.reserve(m_files.size());
    for (const auto& f : m_files) headers.push_back(*f->Header());
    return headers;
}

RdfAddResult CRecordingSet::Check(const CFileRdf& file, int* insertAt) const {
    if (!file.IsLoaded() || !file.Header()) return RdfAddResult::NotLoaded;
    int at = 0;
    for (size_t i = 0; i < m_files.size(); ++i)
        if (m_files[i]->OrderingKey() <= file.OrderingKey()) at = int(i) + 1;
    if (insertAt) *insertAt = at;

    return CheckRdfHeader(*file.Header(), Headers());
}

RdfAddResult CRecordingSet::Add(std::unique_ptr<CFileRdf> file, int* index) {
    if (!file) return RdfAddResult::NotLoaded;
    int at = 0;
    const RdfAddResult result = Check(*file, &at);
    if (result != RdfAddResult::Added) return result;
    AppendNewSources(*file, m_offered);
    m_files.insert(m_files.begin() + at, std::move(file));
    if (index) *index = at;
    return result;
}

void CRecordingSet::Reset() {
    m_files.clear();
    m_offered.clear();
}

std::uint64_t CRecordingSet::TotalRecords() const {
    std::uint64_t total = 0;
    for (const auto& f : m_files) total += f->RecordCount();
    return total;
}

std::uint64_t CRecordingSet::TotalEvents() const {
    std::uint64_t total = 0;
    for (const auto& f : m_files) total += f->EventCount();
    return total;
}

std::int64_t CRecordingSet::DataStart() const {
    return m_files.empty() ? 0 : m_files.front()->FirstTime();
}

std::int64_t CRecordingSet::DataEnd() const {
    return m_files.empty() ? 0 : m_files.back()->LastTime();
}

std::vector<SourceCode> CRecordingSet::SourcesInSetOrder() const {
    std::vector<SourceCode> codes;
    for (const auto& f : m_files) AppendNewSources(*f, codes);
    return codes;
}

