// The device page: every value label, bar and lamp is fed, scrolling follows the area
// the page gets, and the wheel scrolls only a page that has its scroll bar.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QThread>
#include <algorithm>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QWheelEvent>
#include <map>

#include "app/AppCore.h"
#include "controls/ColorRef.h"
#include "settings/Settings.h"
#include "support/TestSupport.h"
#include "views/DeviceDlg.h"
#include "views/DevicePageBinding.h"
#include "views/DevicePageLayout.h"
#include "views/LiveGraphWindow.h"
#include "device/LinkState.h"
#include <string>
#include <vector>

namespace {

namespace L = DevicePageLayout;
using Kind = L::Kind;

// A page whose polling thread never finds a record, so it stays idle.
class DevicePage : public ::testing::Test {
protected:
    void SetUp() override {
        page.resize(page.DesignSize());
        page.show();  // a hidden window hears of its new size only when shown
        ASSERT_TRUE(page.Initialize());
    }
    void Wheel(int delta) {
        QWheelEvent wheel(QPointF(20, 20), QPointF(20, 20), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(&page, &wheel);
    }

    // The page's live graph window keeps its choices in the program's settings store.
    QTemporaryDir configHome;
    ScopedEnv xdg{"XDG_CONFIG_HOME", configHome.path()};
    CAppCore app;
    CSettings settings;
    CDeviceDlg page{nullptr, settings};
};

TEST(DevicePageBinding, FeedsEveryValueLabelBarAndLampOfTheLayoutExactlyOnce) {
    const LiveView view;
    std::map<int, int> fed;
    for (const auto& l : DevicePageBinding::Labels(view)) ++fed[l.id];
    for (const auto& s : DevicePageBinding::Strings(view)) ++fed[s.id];
    for (const auto& b : DevicePageBinding::Bars(view)) ++fed[b.id];
    for (const auto& l : DevicePageBinding::Lamps(view)) ++fed[l.id];

    std::map<int, int> expected;
    for (const L::Item& item : L::Items()) {
        switch (item.kind) {
            case Kind::Value:
            case Kind::MainValue:
            case Kind::PlainValue:
            case Kind::Bar:
            case Kind::Lamp:
            case Kind::BarLamp:
                ++expected[item.id];
                break;
            default:
                break;
        }
    }
    EXPECT_EQ(fed, expected);
    EXPECT_EQ(DevicePageBinding::Bars(view).size(), 21u);
}

TEST(DevicePageLayout, IdsAreUniqueAndEveryControlLiesInsideThePage) {
    std::map<int, int> seen;
    for (const L::Item& item : L::Items()) {
        if (item.id != 0) {
            EXPECT_EQ(++seen[item.id], 1) << item.id;
        }
        EXPECT_GE(item.x, 0) << item.id;
        EXPECT_GE(item.y, 0) << item.id;
        EXPECT_LE(item.x + item.w, L::kWidth) << item.id;
        EXPECT_LE(item.y + item.h, L::kHeight) << item.id;
    }
}

TEST_F(DevicePage, StartsWithOnlyTheSettingsButtonEnabled) {
    for (int id : {L::IDC_START_RECORDING, L::IDC_STOP_RECORDING, L::IDC_RESET_ERRORS, L::IDC_RESTART,
                   L::IDC_MEMORY_CARD}) {
        EXPECT_FALSE(page.Control(id)->isEnabled()) << id;
    }
    EXPECT_TRUE(page.Control(L::IDC_SETTINGS)->isEnabled());
    EXPECT_EQ(page.LinkState(), 0);
    EXPECT_EQ(page.FindDeviceIndex(), -1);
    page.SetDeviceIndex(3);
    EXPECT_EQ(page.FindDeviceIndex(), 3);
}

// The error list is a list on the window, unlike the value labels around it.
TEST_F(DevicePage, ErrorListTakesTheWindowBackgroundAndBlackText) {
    settings.WindowBackColor = 0x00D0E0F0;
    settings.ValueBackColor = 0x00203040;
    settings.ValueTextColor = 0x0000FFFF;
    const CDeviceDlg other(nullptr, settings);
    const QPalette pal = other.Control(L::IDC_ERROR_LIST)->palette();
    EXPECT_EQ(pal.color(QPalette::Base), ColorFromRef(0x00D0E0F0));
    EXPECT_EQ(pal.color(QPalette::Text), QColor(Qt::black));
}

TEST_F(DevicePage, ScrollBarFollowsTheAreaTheLayoutGets) {
    const int full = page.DesignSize().height();
    struct Case {
        int tooLow;  // pixels the area lacks
        bool visible;
        int pageSize, maximum;
    };
    const Case cases[] = {{200, true, 101, 301}, {1, true, 1, 2}, {0, false, 0, 0}, {-50, false, 0, 0}};
    for (const Case& c : cases) {
        page.resize(page.DesignSize().width(), full - c.tooLow);
        const CDeviceDlg::ScrollInfo info = page.Scroll();
        EXPECT_EQ(info.visible, c.visible) << c.tooLow;
        EXPECT_EQ(info.page, c.pageSize) << c.tooLow;
        EXPECT_EQ(info.maximum, c.maximum) << c.tooLow;
        EXPECT_EQ(info.position, 0) << c.tooLow;
    }
}

TEST_F(DevicePage, ScrollingMovesTheContentAndANewSizeScrollsBackToTheTop) {
    const int full = page.DesignSize().height();
    page.resize(page.DesignSize().width(), full - 200);
    QWidget* frame = page.Control(L::IDC_PHASE1_FRAME);
    const QPoint top = frame->mapTo(&page, QPoint(0, 0));

    page.ScrollBar()->triggerAction(QAbstractSlider::SliderToMaximum);
    EXPECT_EQ(page.ScrollOffset(), -201);
    EXPECT_EQ(frame->mapTo(&page, QPoint(0, 0)), top - QPoint(0, 201));

    page.resize(page.DesignSize());
    EXPECT_EQ(page.ScrollOffset(), 0);
    EXPECT_EQ(frame->mapTo(&page, QPoint(0, 0)), top);
    EXPECT_FALSE(page.Scroll().visible);
}

TEST_F(DevicePage, WheelScrollsByALineOnlyWithTheScrollBar) {
    Wheel(-120);
    EXPECT_EQ(page.ScrollOffset(), 0);

    page.resize(page.DesignSize().width(), page.DesignSize().height() - 200);
    Wheel(-120);
    EXPECT_EQ(page.ScrollOffset(), -10);
    Wheel(-120);
    Wheel(120);
    EXPECT_EQ(page.ScrollOffset(), -10);
    Wheel(120);
    Wheel(120);
    EXPECT_EQ(page.ScrollOffset(), 0);
}

// Records what a page tells its live graph window.
struct GraphLog {
    std::vector<std::string> calls;
    int points = 0;
    bool destroyed = false;
};

class RecordingGraph : public ILiveGraphWindow {
public:
    explicit RecordingGraph(GraphLog& log) : m_log(log) {}
    ~RecordingGraph() override { m_log.destroyed = true; }
    QWidget* Window() override { return &m_window; }
    void AddPoint(uint32_t, int32_t) override { ++m_log.points; }
    void ClearGraph() override { m_log.calls.push_back("clear"); }
    void SetDeviceName(const QString& name) override { m_log.calls.push_back("name " + name.toStdString()); }
    void SetLinkState(int state) override { m_log.calls.push_back("state " + std::to_string(state)); }
    void ShowForDevice(const QString& name, bool topmost) override {
        m_log.calls.push_back("show " + name.toStdString() + (topmost ? " topmost" : ""));
    }

private:
    GraphLog& m_log;
    QWidget m_window;
};

TEST(DevicePageGraph, PageDrivesItsLiveGraphWindowFromCreationToStop) {
    GraphLog log;
    SetLiveGraphFactory([&](QWidget*) { return std::make_unique<RecordingGraph>(log); });
    CSettings settings;
    settings.Devices[2].SetName("Feeder 2");
    CDeviceDlg page(nullptr, settings);
    EXPECT_EQ(page.GraphWindow(), nullptr);
    ASSERT_TRUE(page.Initialize());
    SetLiveGraphFactory({});
    ASSERT_NE(page.GraphWindow(), nullptr);
    EXPECT_EQ(log.calls, std::vector<std::string>{"clear"});  // the page starts blank

    page.DeviceChanged();  // not among the tabs yet: nothing to name the window after
    page.SetDeviceIndex(2);
    page.DeviceChanged();
    page.ShowGraphWindow("Feeder 2", true);
    page.ShowData(0);
    EXPECT_EQ(log.points, LiveView::kGraphPoints);
    page.DeviceCommand(kDeviceCommandDisconnect);
    // The state reaches the window as a posted event, the blank page once the thread closed.
    for (int i = 0; i < 500 && std::count(log.calls.begin(), log.calls.end(), "clear") < 2; ++i) {
        QCoreApplication::processEvents();
        QThread::msleep(10);
    }
    page.DeviceCommand(kDeviceCommandStop);
    EXPECT_EQ(log.calls, (std::vector<std::string>{"clear", "name Feeder 2", "show Feeder 2 topmost",
                                                   "state " + std::to_string(kGraphStateDisconnect), "clear",
                                                   "state " + std::to_string(kGraphStateStop)}));
    EXPECT_TRUE(log.destroyed);
    EXPECT_EQ(page.GraphWindow(), nullptr);
    EXPECT_EQ(page.LinkState(), 0);
}

}  // namespace
