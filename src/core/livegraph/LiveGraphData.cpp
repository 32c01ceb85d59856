#include "livegraph/LiveGraphData.h"

#include <algorithm>
#include <new>

std::unique_ptr<float[]> CLiveGraphData::NewRing(int length) {
    // A series without memory simply stays empty; the rest of the graph goes on.
    return std::unique_ptr<float[]>(new (std::nothrow) float[size_t(std::max(length, 0))]());
}

int CLiveGraphData::AddSeries(const QString& name, quint32 colour) {
    DG_GRAPH_TYPE s;
    s.name = name.left(kMaxNameChars);
    s.colour = colour;
    s.samples = NewRing(m_length);
    m_series.push_back(std::move(s));
    return SeriesCount() - 1;
}

int CLiveGraphData::SetSeriesColor(int i, quint32 colour) {
    if (!Valid(i)) return -1;
    m_series[size_t(i)].colour = colour;
    return i;
}

int CLiveGraphData::SetSeriesValue(int i, float value) {
    if (!Valid(i)) return -1;
    m_series[size_t(i)].value = value;
    return i;
}

int CLiveGraphData::SetSeriesCoefficient(int i, float coefficient) {
    if (!Valid(i)) return -1;
    m_series[size_t(i)].coefficient = coefficient;
    return i;
}

int CLiveGraphData::SetSeriesEnabled(int i, bool enabled) {
    if (!Valid(i)) return -1;
    m_series[size_t(i)].enabled = enabled ? 1 : 0;
    return i;
}

int CLiveGraphData::ClearSeries(int i) {
    if (!Valid(i)) return -1;
    DG_GRAPH_TYPE& s = m_series[size_t(i)];
    if (s.samples) {
        std::fill_n(s.samples.get(), m_length, 0.0f);
        s.value = 0.0f;
    }
    return i;
}

void CLiveGraphData::ClearSamples() {
    for (DG_GRAPH_TYPE& s : m_series)
        if (s.samples) std::fill_n(s.samples.get(), m_length, 0.0f);
}

void CLiveGraphData::Tick() {
    if (++m_phase >= kGridStep) m_phase = 0;
    // A control of no width has no ring to write into.
    if (m_length <= 0) return;
    if (++m_write >= m_length) m_write = 0;
    for (DG_GRAPH_TYPE& s : m_series)
        if (s.samples) s.samples[size_t(m_write)] = s.value;
}

void CLiveGraphData::Resize(int width) {
    width = std::max(width, 0);
    const int keep = std::min(width, m_length);
    for (DG_GRAPH_TYPE& s : m_series) {
        std::unique_ptr<float[]> ring = NewRing(width);
        if (ring && s.samples)
            for (int back = 0; back < keep; ++back)
                ring[size_t(width - 1 - back)] = s.samples[size_t(RingIndex(back))];
        s.samples = std::move(ring);
    }
    m_length = width;
    m_write = std::max(width - 1, 0);
}

LiveValueRange CLiveGraphData::Range() const {
    double max = 1.0;
    double min = 0.0;
    for (const DG_GRAPH_TYPE& s : m_series) {
        if (!s.enabled || !s.samples) continue;
        for (int k = 0; k < m_length; ++k) {
            const double v = s.samples[size_t(k)];
            // NaN compares false both ways and so never widens the range.
            if (v > max) max = v;
            if (v < min) min = v;
        }
    }
    const double margin = (max - min) * 5.0 / 100.0;
    return {min - margin, max + margin};
}

int CLiveGraphData::RingIndex(int back) const {
    if (m_length <= 0) return -1;
    const long long index = (static_cast<long long>(m_write) - back) % m_length;
    return int(index < 0 ? index + m_length : index);
}

float CLiveGraphData::SampleBack(int i, int back) const {
    if (!Valid(i)) return 0.0f;
    const DG_GRAPH_TYPE& s = m_series[size_t(i)];
    const int index = RingIndex(back);
    return s.samples && index >= 0 ? s.samples[size_t(index)] : 0.0f;
}
