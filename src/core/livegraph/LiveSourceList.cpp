#include "livegraph/LiveSourceList.h"

CLiveSourceList::CLiveSourceList() {
    m_codes.fill(-1);
    m_selection.fill(-1);
}

bool CLiveSourceList::IsPlottable(SourceCode code) {
    const unsigned kind = KindOf(code);
    return kind >= 1 && IsKnownKind(kind);
}

CLiveSourceList::OfferResult CLiveSourceList::Offer(SourceCode code) {
    OfferResult result;
    if (!IsPlottable(code)) return result;
    for (int i = 0; i < m_count; ++i) {
        if (SourceCode(m_codes[size_t(i)]) == code) {
            result.index = i;
            return result;
        }
    }
    if (m_count >= kCapacity) return result;
    result.index = m_count;
    result.added = true;
    m_codes[size_t(m_count++)] = qint32(code);
    if (result.index < kRows && m_selection[size_t(result.index)] < 0) m_selection[size_t(result.index)] = result.index;
    return result;
}

bool CLiveSourceList::Select(int row, int index) {
    if (row < 0 || row >= kRows || index < -1 || index >= m_count) return false;
    if (m_selection[size_t(row)] == index) return false;
    m_selection[size_t(row)] = index;
    return true;
}

bool CLiveSourceList::RowShows(int row, SourceCode code) const {
    const int selection = m_selection[size_t(row)];
    return selection >= 0 && SourceCode(m_codes[size_t(selection)]) == code;
}
