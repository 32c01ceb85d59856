#pragma once

#include <QString>
#include <QtGlobal>
#include <memory>
#include <vector>

// One line of the live graph.
struct DG_GRAPH_TYPE {
    qint32 enabled = 1;    // non-zero: drawn and part of the scaling
    QString name;          // at most 127 characters; kept for the owner, not drawn
    quint32 colour = 0;    // red in the low byte, then green, then blue
    float value = 0.0f;    // held: copied into the ring at every tick until renewed
    std::unique_ptr<float[]> samples;  // ring of Length() entries; null when it could not be had
    float coefficient = 1.0f;          // display multiplier, not applied to the scaling
};

// Vertical range of the plot, in raw sample units.
struct LiveValueRange {
    double min = 0.0;
    double max = 1.0;
};

// The samples of the live graph: one ring per series, as long as the control is wide, all
// sharing one write index. Memory is taken only when series are added or the width changes,
// so the tick itself never allocates.
class CLiveGraphData {
public:
    static constexpr int kMaxNameChars = 127;
    static constexpr int kGridStep = 10;

    // Operations on series i return i, or -1 without doing anything when i is not a series.
    int AddSeries(const QString& name, quint32 colour);
    int SetSeriesColor(int i, quint32 colour);
    int SetSeriesValue(int i, float value);
    int SetSeriesCoefficient(int i, float coefficient);
    int SetSeriesEnabled(int i, bool enabled);
    // Zeroes the ring and the held value.
    int ClearSeries(int i);
    // Zeroes every ring; the held values stay.
    void ClearSamples();

    // Advances the write index and the grid phase and stores every series' held value,
    // whether the series is shown or not.
    void Tick();

    // New rings of `width` entries holding the newest old samples, the newest at the end.
    void Resize(int width);

    // 0..1 widened to every stored sample of the shown series, plus 5 % of the span on
    // both sides.
    LiveValueRange Range() const;

    int SeriesCount() const { return int(m_series.size()); }
    const DG_GRAPH_TYPE& Series(int i) const { return m_series[size_t(i)]; }
    int Length() const { return m_length; }
    int WriteIndex() const { return m_write; }
    int GridPhase() const { return m_phase; }

    // Ring position of the sample `back` ticks before the newest (0: the newest); any
    // integer is wrapped into the ring. -1 when the ring is empty.
    int RingIndex(int back) const;
    // The sample `back` ticks before the newest, 0 when the series has no ring.
    float SampleBack(int i, int back) const;

private:
    bool Valid(int i) const { return i >= 0 && i < SeriesCount(); }
    static std::unique_ptr<float[]> NewRing(int length);

    std::vector<DG_GRAPH_TYPE> m_series;
    int m_length = 0;
    int m_write = 0;
    int m_phase = 0;
};
