#pragma once

#include <QBasicTimer>
#include <QFont>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QString>
#include <QWidget>
#include <functional>
#include <vector>

#include "livegraph/LiveGraphData.h"
#include "livegraph/LiveGraphGeometry.h"

// A drawn control that plots a few live values as lines scrolling right to left, one
// sample per series every 500 ms, newest at the right edge. The picture is rendered into
// a back buffer once per tick (or size change); paints copy it and add the hover overlay.
class CDinGraph : public QWidget {
    Q_OBJECT
public:
    static constexpr int kTickTimerId = 1524;  // the sampling timer's number in our tables
    static constexpr int kTickMs = LiveGraphGeometry::kTickMs;

    explicit CDinGraph(QWidget* parent = nullptr);
    ~CDinGraph() override;

    // Series operations return the index, or -1 when it is not a series. Changes show at
    // the next tick or repaint.
    int AddSeries(const QString& name, quint32 colour);
    int SetSeriesColor(int i, quint32 colour) { return m_data.SetSeriesColor(i, colour); }
    int SetSeriesValue(int i, float value) { return m_data.SetSeriesValue(i, value); }
    int SetSeriesCoefficient(int i, float coefficient) { return m_data.SetSeriesCoefficient(i, coefficient); }
    int SetSeriesEnabled(int i, bool enabled) { return m_data.SetSeriesEnabled(i, enabled); }
    int ClearSeries(int i) { return m_data.ClearSeries(i); }

    // Sampling on: the lines appear and move on every tick.
    void Start();
    // Sampling off: every recorded sample is forgotten (the held values stay).
    void Stop();
    bool IsRunning() const { return m_running; }

    // One sampling step; the timer calls it, and tests call it to advance time.
    void Tick();

    const CLiveGraphData& Data() const { return m_data; }
    const QImage& BackBuffer() const { return m_back; }
    GraphRect PlotRect() const;
    LiveValueRange CurrentRange() const { return m_data.Range(); }
    bool IsTracking() const { return m_tracking; }

    // Whether the hover overlay may show; by default "the window holding the graph is the
    // active one". Tests replace it.
    void SetForegroundTest(std::function<bool()> test) { m_isForeground = std::move(test); }

    QSize sizeHint() const override { return {487, 206}; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void ApplySize();
    void Render();
    void LayOutLabels();
    void RenderLabels(class QPainter& p);
    void RenderSeries(class QPainter& p, const GraphRect& plot);
    void DrawOverlay(class QPainter& p);
    void TrackMouse(QPoint pos);
    void StopTracking();

    CLiveGraphData m_data;
    bool m_tracking = false;
    QPoint m_mouse;
    bool m_running = false;
    QBasicTimer m_timer;
    GraphRect m_client;
    bool m_haveClient = false;
    QImage m_back;
    QFont m_font;
    int m_textHeight = 0;
    // Everything a tick draws is prepared with the size, so a tick allocates nothing of ours.
    std::vector<QPoint> m_points;  // one per plot column
    struct MinuteLabel {
        QString text;
        QRect rect;
    };
    std::vector<MinuteLabel> m_labels;
    std::function<bool()> m_isForeground;
};
