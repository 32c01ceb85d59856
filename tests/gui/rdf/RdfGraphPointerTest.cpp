#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTest>
#include <QWheelEvent>
#include <memory>

#include "app/AppCore.h"
#include "app/MessageBox.h"
#include "controls/DlgToolBar.h"
#include "core/rdf/RdfFixtures.h"
#include "rdf/CalendarTime.h"
#include "rdf/RdfGraphDlg.h"
#include "rdf/RdfGraphWidget.h"
#include "rdf/RdfOverlay.h"
#include "rdf/RdfPointer.h"
#include "support/TestSupport.h"

namespace {

const std::int64_t kT0 = *CalendarTime{2024, 3, 15, 10, 20, 30, 0}.ToMs();
using C = CRdfGraphDlg;

// The window over small recordings, driven by the events a user's mouse, wheel and keys send.
class RdfGraphPointerTest : public ::testing::Test {
protected:
    void SetUp() override {
        MessageBox::SetHook([](const MessageBox::Request&) { return QMessageBox::Ok; });
        dlg = std::make_unique<CRdfGraphDlg>();
        dlg->show();
        dlg->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(dlg.get()));
    }
    void TearDown() override {
        dlg.reset();
        MessageBox::SetHook({});
    }
    // A recording of one voltage from kT0 for span ms: 0.0 V at the start, 100.0 V at the end,
    // so the value axis runs from -2 to 102.
    void OpenSpan(std::int64_t span) {
        static int n = 0;
        const QString path = scratch.Write(QStringLiteral("f%1.rdf").arg(++n),
                                           RdfBytes(RdfFields(1, {kVolts}), {{0, kT0, {0}}, {0, kT0 + span, {1000}}}));
        if (dlg->IsLoaded()) dlg->RunCommand(C::ID_CLOSE_FILE);
        dlg->OpenFiles({path});
        QElapsedTimer t;
        t.start();
        while (dlg->IsOpening() && t.elapsed() < 20000) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        ASSERT_TRUE(dlg->IsLoaded());
        // The wait box had the focus; the window takes it back as the desktop would give it.
        dlg->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(dlg.get()));
    }
    // Grows the window until the plot is exactly this size.
    void FitPlot(int width, int height) {
        const RdfEdges plot = dlg->PlotArea();
        dlg->resize(dlg->size() + QSize(width - plot.Width(), height - plot.Height()));
        QCoreApplication::processEvents();
        ASSERT_EQ(dlg->PlotArea().Width(), width);
        ASSERT_EQ(dlg->PlotArea().Height(), height);
    }
    QPoint At(int dx, int dy) const { return {dlg->PlotArea().left + dx, dlg->PlotArea().top + dy}; }
    void Send(QEvent::Type type, QPoint p, Qt::MouseButton button, Qt::MouseButtons held) {
        QMouseEvent e(type, p, dlg->Graph()->mapToGlobal(p), button, held, Qt::NoModifier);
        QApplication::sendEvent(dlg->Graph(), &e);
    }
    void Move(QPoint p, Qt::MouseButtons held = Qt::NoButton) { Send(QEvent::MouseMove, p, Qt::NoButton, held); }
    void Press(QPoint p, Qt::MouseButton b = Qt::LeftButton) { Send(QEvent::MouseButtonPress, p, b, b); }
    void Release(QPoint p, Qt::MouseButton b = Qt::LeftButton) { Send(QEvent::MouseButtonRelease, p, b, Qt::NoButton); }
    void Click(QPoint p, Qt::MouseButton b = Qt::LeftButton) {
        Move(p);
        Press(p, b);
        Release(p, b);
    }
    void Wheel(QPoint p, int delta, Qt::KeyboardModifiers mods) {
        QWheelEvent e(p, dlg->Graph()->mapToGlobal(p), QPoint(), QPoint(0, delta), Qt::NoButton, mods,
                      Qt::NoScrollPhase, false);
        QApplication::sendEvent(dlg->Graph(), &e);
    }
    void Key(int key) { QTest::keyClick(dlg->Graph(), Qt::Key(key)); }
    TimeRange From0(std::int64_t a, std::int64_t b) const { return {kT0 + a, kT0 + b}; }

    QTemporaryDir dir;
    ScopedEnv config{"XDG_CONFIG_HOME", dir.path()};
    CAppCore app;
    RdfScratch scratch;
    std::unique_ptr<CRdfGraphDlg> dlg;
};

TEST_F(RdfGraphPointerTest, ZoomAndShiftByCommandAndKey) {
    OpenSpan(101);
    dlg->RunCommand(C::ID_ZOOM_IN);
    EXPECT_EQ(dlg->View(), From0(0, 100));
    // 100 ms is the shortest view: zoom in is off and does nothing.
    EXPECT_FALSE(dlg->IsCommandEnabled(C::ID_ZOOM_IN));
    Key(Qt::Key_Plus);
    EXPECT_EQ(dlg->View(), From0(0, 100));

    OpenSpan(149);
    Key(Qt::Key_Plus);
    EXPECT_EQ(dlg->View(), From0(24, 124));

    OpenSpan(1000);
    dlg->RunCommand(C::ID_ZOOM_IN);
    EXPECT_EQ(dlg->View().Span(), 550);
    Key(Qt::Key_Plus);
    EXPECT_EQ(dlg->View(), From0(337, 663));  // 326 ms
    Key(Qt::Key_Home);
    EXPECT_EQ(dlg->View(), dlg->Data());
    EXPECT_FALSE(dlg->IsCommandEnabled(C::ID_ZOOM_OUT));
    EXPECT_FALSE(dlg->IsCommandEnabled(C::ID_SHIFT_LEFT));

    // 10 ms after the data start, shift left lands on it with the span kept.
    dlg->SetView(From0(10, 510));
    // Keys typed into a coefficient stay there.
    QTest::keyClick(dlg->RowCoefficient(0), Qt::Key_Left);
    QTest::keyClick(dlg->RowCoefficient(0), Qt::Key_Minus);
    EXPECT_EQ(dlg->View(), From0(10, 510));
    Key(Qt::Key_Left);
    EXPECT_EQ(dlg->View(), From0(0, 500));
    EXPECT_FALSE(dlg->IsCommandEnabled(C::ID_SHIFT_LEFT));
    Key(Qt::Key_Right);
    EXPECT_EQ(dlg->View(), From0(62, 562));
    dlg->RunCommand(C::ID_SHIFT_RIGHT);
    EXPECT_EQ(dlg->View(), From0(124, 624));
    // Zoom out at the data start widens towards the end only.
    dlg->SetView(From0(0, 200));
    Key(Qt::Key_Minus);
    EXPECT_EQ(dlg->View(), From0(0, 300));
}

TEST_F(RdfGraphPointerTest, SelectionAndRulerShutEachOtherAndTheZooms) {
    OpenSpan(10000);
    dlg->SetView(From0(1000, 5000));
    const int zooms[] = {C::ID_ZOOM_IN, C::ID_ZOOM_OUT, C::ID_ZOOM_ALL};
    for (int mode : {C::ID_ZOOM_SELECTION, C::ID_RULER}) {
        const int other = mode == C::ID_RULER ? C::ID_ZOOM_SELECTION : C::ID_RULER;
        dlg->RunCommand(mode);
        dlg->ToolBar()->UpdateButtons();
        EXPECT_TRUE(dlg->ToolBar()->Button(mode)->isChecked()) << mode;
        EXPECT_FALSE(dlg->ToolBar()->Button(other)->isEnabled()) << mode;
        for (int z : zooms) EXPECT_FALSE(dlg->ToolBar()->Button(z)->isEnabled()) << mode << ' ' << z;
        EXPECT_TRUE(dlg->IsCommandEnabled(C::ID_SHIFT_LEFT));
        Key(Qt::Key_Plus);  // the keys obey the same rules
        EXPECT_EQ(dlg->View(), From0(1000, 5000));
        dlg->RunCommand(mode);
        dlg->ToolBar()->UpdateButtons();
        EXPECT_FALSE(dlg->ToolBar()->Button(mode)->isChecked());
        for (int z : zooms) EXPECT_TRUE(dlg->ToolBar()->Button(z)->isEnabled());
    }
}

TEST_F(RdfGraphPointerTest, SelectionZoomsByMouseAndTheWheelWorksInEitherMode) {
    OpenSpan(200000);
    FitPlot(2000, 800);  // 100 ms a column
    dlg->RunCommand(C::ID_ZOOM_SELECTION);
    Move(At(500, 100));
    EXPECT_EQ(dlg->Graph()->cursor().shape(), Qt::SizeHorCursor);
    const int renders = dlg->Graph()->RenderCount();
    Press(At(500, 100));
    for (int x = 490; x >= 300; x -= 10) Move(At(x, 120), Qt::LeftButton);
    EXPECT_EQ(dlg->Overlay().band, QRect(At(299, 0), QSize(203, 800)));
    EXPECT_EQ(dlg->Graph()->RenderCount(), renders);  // moving only repaints
    Release(At(300, 120));
    EXPECT_EQ(dlg->View(), From0(30000, 50000));

    // One column of 10 ms widens evenly to 100 ms.
    Move(At(400, 100));
    Press(At(400, 100));
    Move(At(401, 100), Qt::LeftButton);
    Release(At(401, 100));
    EXPECT_EQ(dlg->View(), From0(33955, 34055));
    // The right button zooms out.
    Press(At(10, 10), Qt::RightButton);
    EXPECT_EQ(dlg->View().Span(), 200);

    // Ctrl and the wheel zoom, Shift and the wheel shift, even with a mode on; not both.
    const TimeRange before = dlg->View();
    Wheel(At(10, 10), 120, Qt::ShiftModifier | Qt::ControlModifier);
    EXPECT_EQ(dlg->View(), before);
    Wheel(At(10, 10), -120, Qt::ShiftModifier);
    EXPECT_EQ(dlg->View(), (TimeRange{before.start - 25, before.end - 25}));
    Wheel(At(10, 10), 120, Qt::ControlModifier);
    EXPECT_EQ(dlg->View().Span(), 150);
    // Outside the plot the wheel does nothing.
    Move(QPoint(1, 1));
    Wheel(QPoint(1, 1), -120, Qt::ControlModifier);
    EXPECT_EQ(dlg->View().Span(), 150);
}

TEST_F(RdfGraphPointerTest, RulerAndCrossHairReadOut) {
    OpenSpan(3600000);
    FitPlot(2000, 1040);  // with the axis from -2 to 102: 0.1 a row
    dlg->SetView(From0(0, 20000));  // 10 ms a column

    dlg->RunCommand(C::ID_RULER);
    Move(At(100, 100));
    EXPECT_EQ(dlg->Graph()->cursor().shape(), Qt::ArrowCursor);
    Click(At(100, 100));
    Move(At(350, 620));
    RdfOverlayModel m = dlg->Overlay();
    ASSERT_EQ(m.kind, RdfOverlayModel::Kind::Ruler);
    ASSERT_EQ(m.boxes.size(), 2u);
    EXPECT_EQ(m.boxes[0].lines.at(0), "00:00:02:500");
    EXPECT_EQ(m.boxes[1].lines.at(0), "52.00");
    Click(At(350, 620));
    Move(At(700, 10));  // the second point stays
    EXPECT_EQ(dlg->Overlay().boxes[0].lines.at(0), "00:00:02:500");
    EXPECT_EQ(dlg->PointerState().RulerState(), 2);
    Press(At(700, 10), Qt::RightButton);
    EXPECT_EQ(dlg->PointerState().RulerState(), 0);
    dlg->RunCommand(C::ID_RULER);

    // Cross-hair: the pointer's time and, at the row of 50.0, each row's reading.
    dlg->RowCoefficient(0)->setText("4");
    emit dlg->RowCoefficient(0)->textEdited("4");
    const QPoint p = At(500, 520);
    Move(p);
    EXPECT_EQ(dlg->Graph()->cursor().shape(), Qt::BlankCursor);
    m = dlg->Overlay();
    ASSERT_EQ(m.kind, RdfOverlayModel::Kind::CrossHair);
    ASSERT_EQ(m.boxes.size(), 2u);
    EXPECT_EQ(m.boxes[0].lines.at(0), "15.03.2024 10:20:35:000");
    EXPECT_EQ(m.boxes[1].lines, std::vector<QString>{"12.5"});
    dlg->RowCoefficient(0)->setText("0");
    emit dlg->RowCoefficient(0)->textEdited("0");
    EXPECT_EQ(dlg->Overlay().boxes[1].lines, std::vector<QString>{"0"});

    // What the user sees: the dotted lines through the pointer and the boxes over the copy.
    const QImage shot = dlg->Graph()->grab().toImage();
    const QRect box = dlg->Overlay().boxes[1].rect;
    EXPECT_EQ(QColor(shot.pixel(box.left() + 3, box.bottom() - 3)), QColor(30, 30, 30));
    EXPECT_EQ(QColor(shot.pixel(box.left(), box.center().y())), QColor(Qt::white));
    const auto whiteNear = [&](int x, int y) {
        return QColor(shot.pixel(x, y)) == Qt::white || QColor(shot.pixel(x, y + 1)) == Qt::white;
    };
    EXPECT_TRUE(whiteNear(p.x(), dlg->PlotArea().top + 30));
    // The pointer leaves the plot: no overlay, the back buffer as rendered.
    Move(QPoint(1, 1));
    EXPECT_EQ(dlg->Overlay().kind, RdfOverlayModel::Kind::None);
    EXPECT_EQ(dlg->Graph()->grab().toImage().pixel(p.x(), dlg->PlotArea().top + 30),
              dlg->Graph()->Buffer().pixel(p.x(), dlg->PlotArea().top + 30));
}

}  // namespace
