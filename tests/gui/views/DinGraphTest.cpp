#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QImage>
#include <QMouseEvent>
#include <QWidget>

#include "support/TestSupport.h"
#include "views/DinGraph.h"

namespace {

const QColor kRed(255, 0, 0);
const QColor kBackground(5, 46, 13);

class DinGraphTest : public ::testing::Test {
protected:
    void SetUp() override {
        // Shown, so that size changes reach the graph at once as they do on screen.
        host.resize(1000, 300);
        host.show();
        graph.resize(600, 206);
        graph.AddSeries("1", 0x0000FF);  // red
    }
    void Run(float value, int ticks) {
        graph.SetSeriesValue(0, value);
        for (int i = 0; i < ticks; ++i) graph.Tick();
    }
    QColor Pixel(int x, int y) const { return graph.BackBuffer().pixelColor(x, y); }
    // The row at which a constant value v is drawn in the current range.
    int RowOf(double v) const {
        const GraphRect p = graph.PlotRect();
        const LiveValueRange r = graph.CurrentRange();
        return p.bottom - int((v - r.min) * p.Height() / (r.max - r.min));
    }
    bool ColumnHasRed(int x) const {
        for (int y = 0; y < graph.BackBuffer().height(); ++y)
            if (Pixel(x, y) == kRed) return true;
        return false;
    }
    void MoveMouse(QPoint pos) {
        QMouseEvent move(QEvent::MouseMove, QPointF(pos), QPointF(graph.mapToGlobal(pos)), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&graph, &move);
    }

    struct KeyNames {
        KeyNames() { UseKeyNameLanguage(); }
    } keyNames;  // before the graph: it draws its labels at once
    QWidget host;
    CDinGraph& graph = *new CDinGraph(&host);
};

TEST_F(DinGraphTest, LinesShowOnlyWhileRunningWithTheNewestAtTheRight) {
    Run(0.5f, 50);
    const int x = graph.PlotRect().right - 3;
    EXPECT_NE(Pixel(x, RowOf(0.5)), kRed);  // stopped: grid and labels only
    graph.Start();
    Run(0.5f, 50);
    EXPECT_EQ(Pixel(x, RowOf(0.5)), kRed);
    EXPECT_EQ(Pixel(graph.PlotRect().left + 5, RowOf(0.5)), kBackground);  // only 50 samples so far: 0 there

    graph.Stop();  // forgets the samples, keeps the held value
    EXPECT_FLOAT_EQ(graph.Data().SampleBack(0, 0), 0.0f);
    graph.Start();
    graph.Tick();
    EXPECT_FLOAT_EQ(graph.Data().SampleBack(0, 0), 0.5f);
}

TEST_F(DinGraphTest, CoefficientTwoOverflowsWithTheMarkerTopRight) {
    graph.SetSeriesCoefficient(0, 2.0f);
    graph.Start();
    Run(100.0f, 700);
    EXPECT_NEAR(graph.CurrentRange().min, -5.0, 1e-9);
    EXPECT_NEAR(graph.CurrentRange().max, 105.0, 1e-9);
    const GraphRect p = graph.PlotRect();
    EXPECT_EQ(Pixel(p.right - 6, p.top + 4), kRed);  // inside the first marker
    EXPECT_NE(Pixel(p.right - 18, p.top + 4), kRed);  // the second series' place stays free

    graph.SetSeriesCoefficient(0, 1.0f);
    graph.Tick();
    EXPECT_NE(Pixel(p.right - 6, p.top + 4), kRed);
}

TEST_F(DinGraphTest, HiddenSeriesShowsItsWholeHistoryWhenShownAgain) {
    graph.Start();
    graph.SetSeriesEnabled(0, false);
    Run(100.0f, 200);
    Run(0.0f, 100);
    EXPECT_NEAR(graph.CurrentRange().max, 1.05, 1e-9);
    EXPECT_FALSE(ColumnHasRed(graph.PlotRect().right - 150));
    graph.SetSeriesEnabled(0, true);
    graph.Tick();
    EXPECT_EQ(Pixel(graph.PlotRect().right - 150, RowOf(100)), kRed);  // recorded while hidden
}

TEST_F(DinGraphTest, ResizingKeepsTheNewestSamples) {
    graph.Start();
    Run(7.0f, 10);
    Run(9.0f, 1);
    graph.resize(900, 206);
    EXPECT_EQ(graph.Data().Length(), 900);
    EXPECT_EQ(graph.BackBuffer().width(), 900);
    EXPECT_FLOAT_EQ(graph.Data().SampleBack(0, 0), 9.0f);
    EXPECT_FLOAT_EQ(graph.Data().SampleBack(0, 10), 7.0f);
    EXPECT_EQ(Pixel(graph.PlotRect().right - 1, RowOf(9)), kRed);
    graph.resize(0, 0);  // squeezed away and back: nothing breaks
    graph.Tick();
    graph.resize(400, 150);
    graph.Tick();
    EXPECT_FLOAT_EQ(graph.Data().SampleBack(0, 0), 9.0f);
}

TEST_F(DinGraphTest, HoverOverlayOnlyInTheForegroundAndOnlyOverTheCopy) {
    graph.Start();
    Run(0.25f, 20);
    const QImage before = graph.BackBuffer();

    // Default rule: the graph's window is not the active one.
    host.hide();
    MoveMouse({300, 100});
    EXPECT_FALSE(graph.IsTracking());

    host.show();
    bool foreground = true;
    graph.SetForegroundTest([&] { return foreground; });
    MoveMouse({300, 100});
    EXPECT_TRUE(graph.IsTracking());
    const QImage shown = graph.grab().toImage();
    // The value box sits below right of the pointer (upper left half of the control).
    EXPECT_EQ(shown.pixelColor(325, 125), QColor(0, 55, 0));
    EXPECT_EQ(graph.BackBuffer(), before);  // hovering never re-renders the picture

    MoveMouse({1, 100});  // the border is not sensitive
    EXPECT_FALSE(graph.IsTracking());
    MoveMouse({300, 100});
    foreground = false;
    MoveMouse({310, 100});
    EXPECT_FALSE(graph.IsTracking());
}

}  // namespace
