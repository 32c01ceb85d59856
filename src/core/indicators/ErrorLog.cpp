#include "indicators/ErrorLog.h"

#include <algorithm>

#include "language/LanguageKeys.h"

QString CErrorLog::Row::CodeText() const { return bit == 32 ? QStringLiteral("--") : QString::number(bit); }

int CErrorLog::Row::TextId() const {
    if (bit >= 1 && bit <= 20) return LNG_DEV_ERROR_1 + (bit - 1);
    return LNG_DEV_ERROR_UNCNOWN;
}

QString CErrorLog::Row::TimeText() const { return time.toString(QStringLiteral("HH:mm:ss")); }

int CErrorLog::Update(quint32 mask, const QTime& now) {
    int added = 0;
    for (int b = 1; b <= 32; ++b) {
        const quint32 bitValue = quint32(1) << (b - 1);
        if ((mask & bitValue) == (m_mask & bitValue)) continue;
        while (int(m_rows.size()) >= kMaxRows) m_rows.pop_back();
        m_rows.push_front(Row{b, (mask & bitValue) != 0, now});
        m_mask = (m_mask & ~bitValue) | (mask & bitValue);
        ++added;
    }
    return added;
}

void CErrorLog::Clear() {
    m_rows.clear();
    m_mask = 0;
}

void CErrorLog::ColumnWidths(int clientWidth, int widths[4]) {
    const int w = std::max(clientWidth - 15, 0);
    widths[0] = w * 5 / 100;
    widths[1] = w * 10 / 100;
    widths[2] = w * 65 / 100;
    widths[3] = w * 20 / 100;
}
