#include "views/DinGraph.h"

#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <QStringList>
#include <QTimerEvent>
#include <algorithm>

#include "app/Colors.h"
#include "controls/ControlDrawing.h"
#include "language/Language.h"
#include "language/LanguageKeys.h"

namespace {

const QColor kBackground(5, 46, 13);
const QColor kGrid(90, 108, 93);
const QColor kBoxFill(0, 55, 0);
constexpr int kLabelCellHeight = 14;

GraphRect ToGraphRect(const QRect& r) {
    return {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
}

}  // namespace

CDinGraph::CDinGraph(QWidget* parent) : QWidget(parent), m_font(ControlDrawing::ArialFont(kLabelCellHeight)) {
    m_textHeight = QFontMetrics(m_font).height();
    m_isForeground = [this] { return window()->isActiveWindow(); };
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    ApplySize();
    Render();
}

CDinGraph::~CDinGraph() {
    // Nothing is drawn any more: stopping here only ends the sampling.
    m_running = false;
    m_timer.stop();
}

int CDinGraph::AddSeries(const QString& name, quint32 colour) { return m_data.AddSeries(name, colour); }

GraphRect CDinGraph::PlotRect() const {
    return LiveGraphGeometry::PlotArea(LiveGraphGeometry::LabelArea(m_client), m_textHeight);
}

void CDinGraph::Start() {
    if (m_running) return;
    m_running = true;
    Render();
    update();
    m_timer.start(kTickMs, this);
}

void CDinGraph::Stop() {
    if (!m_running) return;
    m_running = false;
    m_timer.stop();
    m_data.ClearSamples();
    Render();
    update();
}

void CDinGraph::Tick() {
    m_data.Tick();
    Render();
    if (isVisible()) update();
}

void CDinGraph::timerEvent(QTimerEvent* event) {
    if (event->timerId() == m_timer.timerId())
        Tick();
    else
        QWidget::timerEvent(event);
}

void CDinGraph::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    ApplySize();
    Render();
    update();
}

void CDinGraph::ApplySize() {
    const GraphRect client = ToGraphRect(rect());
    const bool same = m_haveClient && client == m_client && !m_back.isNull();
    if (same && m_back.devicePixelRatio() == devicePixelRatioF()) return;
    m_client = client;
    m_haveClient = true;
    // Drawn at the screen's own resolution so that lines and text stay sharp when scaled.
    const qreal ratio = devicePixelRatioF();
    m_back = client.IsEmpty() ? QImage()
                              : QImage(qRound(client.Width() * ratio), qRound(client.Height() * ratio),
                                       QImage::Format_RGB32);
    m_back.setDevicePixelRatio(ratio);
    m_data.Resize(client.Width());
    // Every later redraw fits in this: at most one point per column.
    m_points.assign(size_t(std::max(client.Width(), 0)), QPoint());
    LayOutLabels();
}

void CDinGraph::Render() {
    if (m_back.isNull() || m_client.IsEmpty()) return;
    QPainter p(&m_back);
    const QRect client(0, 0, m_client.Width(), m_client.Height());
    p.fillRect(client, kBackground);

    const GraphRect labelArea = LiveGraphGeometry::LabelArea(m_client);
    RenderLabels(p);

    const GraphRect plot = LiveGraphGeometry::PlotArea(labelArea, m_textHeight);
    p.setPen(QPen(kGrid, 1));
    for (int x = LiveGraphGeometry::FirstGridX(plot, m_data.GridPhase()); x >= plot.left;
         x -= CLiveGraphData::kGridStep)
        p.drawLine(x, plot.bottom, x, plot.top);
    for (int y = plot.bottom; y >= plot.top; y -= CLiveGraphData::kGridStep)
        p.drawLine(plot.left, y, plot.right, y);

    if (m_running) RenderSeries(p, plot);

    ControlDrawing::DrawSunkenEdge(p, client);
}

void CDinGraph::LayOutLabels() {
    m_labels.clear();
    const GraphRect labelArea = LiveGraphGeometry::LabelArea(m_client);
    const QFontMetrics metrics(m_font);
    const QString& unit = GetText(LNG_GLOB_MINUTES_SHORT);
    const int bottom = LiveGraphGeometry::MinuteLabelBottom(labelArea);
    for (int k = LiveGraphGeometry::MinuteLabelCount(labelArea); k >= 0; --k) {
        QString text = QString::number(k) + QLatin1Char(' ') + unit;
        const int width = metrics.horizontalAdvance(text);
        const int left = LiveGraphGeometry::MinuteLabelLeft(labelArea, k, width);
        m_labels.push_back({std::move(text), QRect(left, bottom - m_textHeight, width, m_textHeight)});
    }
}

void CDinGraph::RenderLabels(QPainter& p) {
    p.setFont(m_font);
    p.setPen(Qt::white);
    for (const MinuteLabel& label : m_labels)
        p.drawText(label.rect, Qt::AlignLeft | Qt::AlignBottom, label.text);
}

void CDinGraph::RenderSeries(QPainter& p, const GraphRect& plot) {
    const LiveValueRange range = m_data.Range();
    p.save();
    // Lines that leave the range are cut at the plot's edges, never drawn over the labels.
    p.setClipRect(QRect(plot.left + 1, plot.top, plot.Width(), plot.Height() + 1));
    for (int k = 0; k < m_data.SeriesCount(); ++k) {
        const DG_GRAPH_TYPE& s = m_data.Series(k);
        if (!s.enabled || !s.samples) continue;
        bool overflow = false;
        const int count = LiveGraphGeometry::SeriesPoints(m_data, k, plot, range, m_points.data(),
                                                          int(m_points.size()), &overflow);
        p.setPen(QPen(ColorFromRef(s.colour), 2, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
        if (count > 0) p.drawPolyline(m_points.data(), count);
        if (overflow) {
            const std::array<QPoint, 3> marker = LiveGraphGeometry::OverflowMarker(plot, k);
            p.setPen(QPen(Qt::white, 1));
            p.setBrush(ColorFromRef(s.colour));
            p.drawPolygon(marker.data(), int(marker.size()));
            p.setBrush(Qt::NoBrush);
        }
    }
    p.restore();
}

void CDinGraph::paintEvent(QPaintEvent*) {
    QPainter p(this);
    if (m_back.isNull())
        p.fillRect(rect(), kBackground);
    else
        p.drawImage(0, 0, m_back);
    if (m_tracking) DrawOverlay(p);
}

void CDinGraph::DrawOverlay(QPainter& p) {
    p.setPen(QPen(Qt::white, 1, Qt::DotLine));
    p.drawLine(m_mouse.x(), m_client.top + 2, m_mouse.x(), m_client.bottom - 2);

    const GraphRect plot = PlotRect();
    const int back = LiveGraphGeometry::TicksBackAt(plot, m_mouse.x());
    const QFontMetrics metrics(m_font);
    QStringList texts;
    QList<QColor> colours;
    int widest = 0;
    int height = 0;
    for (int k = 0; k < m_data.SeriesCount(); ++k) {
        const DG_GRAPH_TYPE& s = m_data.Series(k);
        if (!s.enabled) continue;
        texts << LiveGraphGeometry::HoverText(m_data.SampleBack(k, back));
        colours << ColorFromRef(s.colour);
        widest = std::max(widest, metrics.horizontalAdvance(texts.last()));
        height += metrics.height();
    }
    const QSize box(widest + 2 * LiveGraphGeometry::kBoxMargin, height + 2 * LiveGraphGeometry::kBoxMargin);
    const QPoint topLeft = LiveGraphGeometry::HoverBoxTopLeft(m_client, m_mouse, box);
    const QRect boxRect(topLeft, box);
    p.setPen(QPen(Qt::white, 1));
    p.setBrush(kBoxFill);
    p.drawRoundedRect(boxRect.adjusted(0, 0, -1, -1), 2, 2);
    p.setBrush(Qt::NoBrush);
    p.setFont(m_font);
    const QRect inner = boxRect.adjusted(LiveGraphGeometry::kBoxMargin, LiveGraphGeometry::kBoxMargin,
                                         -LiveGraphGeometry::kBoxMargin, -LiveGraphGeometry::kBoxMargin);
    int y = inner.top();
    for (qsizetype i = 0; i < texts.size(); ++i) {
        p.setPen(colours[i]);
        const QRect line(inner.left(), y, inner.width(), metrics.height());
        p.drawText(line, Qt::AlignRight | Qt::AlignTop, texts[i]);
        y += metrics.height();
    }
}

void CDinGraph::mouseMoveEvent(QMouseEvent* event) {
    TrackMouse(event->position().toPoint());
    QWidget::mouseMoveEvent(event);
}

void CDinGraph::TrackMouse(QPoint pos) {
    const QRect sensitive = rect().adjusted(2, 2, -2, -2);
    if (m_isForeground() && sensitive.contains(pos)) {
        if (!m_tracking) {
            setCursor(Qt::BlankCursor);
            m_tracking = true;
        }
        m_mouse = pos;
        update();
    } else {
        StopTracking();
    }
}

void CDinGraph::StopTracking() {
    if (!m_tracking) return;
    unsetCursor();
    m_tracking = false;
    update();
}

void CDinGraph::leaveEvent(QEvent* event) {
    // The pointer left the control: the overlay must not stay behind.
    StopTracking();
    QWidget::leaveEvent(event);
}

void CDinGraph::changeEvent(QEvent* event) {
    if (event->type() == QEvent::ActivationChange && !m_isForeground()) StopTracking();
    QWidget::changeEvent(event);
}
