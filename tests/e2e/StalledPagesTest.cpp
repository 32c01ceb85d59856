// The main window and its device pages when devices stall: closing, deleting and the
// command buttons never wait for a device that does not answer, and never run twice.
#include <gtest/gtest.h>

#include <QCloseEvent>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

#include "SimServer.h"
#include "app/AppCore.h"
#include "app/MainCommands.h"
#include "app/MessageBox.h"
#include "app/TRV730DataAnalysisDlg.h"
#include "controls/StTabCtrl.h"
#include "language/Language.h"
#include "language/LanguageKeys.h"
#include "settings/DeviceList.h"
#include "settings/Settings.h"
#include "support/TestSupport.h"
#include "views/DeviceDlg.h"
#include "views/DevicePageLayout.h"

namespace {

namespace L = DevicePageLayout;

// A real device page that lets a test step in when the main window stops it.
class ObservedPage : public CDeviceDlg {
public:
    using CDeviceDlg::CDeviceDlg;
    std::function<void()> onStop;
    void DeviceCommand(int command) override {
        if (command == kDeviceCommandStop && onStop) {
            auto hook = std::move(onStop);
            onStop = {};
            hook();
        }
        CDeviceDlg::DeviceCommand(command);
    }
};

class StalledPages : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(configHome.isValid());
        MessageBox::SetHook([this](const MessageBox::Request& r) {
            shown.push_back(r);
            return QMessageBox::Ok;
        });
        for (DeviceRecord& r : settings.Devices) r.Clear();
    }
    void TearDown() override {
        window.reset();
        MessageBox::SetHook({});
        for (auto& sim : sims) sim->Stop();
    }
    CSimServer& AddSim(const SimFaults& faults = {}) {
        SimConfig config;
        config.port = 0;
        config.faults = faults;
        sims.push_back(std::make_unique<CSimServer>(config));
        std::string error;
        EXPECT_TRUE(sims.back()->Start(&error)) << error;
        return *sims.back();
    }
    // Device i talks to sim with unit identifier i + 1, so a sim tells who reached it.
    void AddDevice(int i, const CSimServer& sim) {
        DeviceRecord& record = settings.Devices[i];
        record.SetName(QStringLiteral("Device %1").arg(i + 1));
        record.SetPassword("vexor");
        record.IpAddress = kLoopback;
        record.Port = sim.Port();
        record.UnitId = i + 1;
    }
    void OpenWindow() {
        window = std::make_unique<CTRV730DataAnalysisDlg>(settings, [](QWidget* parent, CSettings& s, int index) {
            auto* page = new ObservedPage(parent, s);
            page->SetDeviceIndex(index);
            page->Initialize();
            return static_cast<IDevicePage*>(page);
        });
        window->show();
    }
    ObservedPage* Page(int tab) const { return static_cast<ObservedPage*>(window->Page(tab)); }
    bool AllInState(LinkState state) const {
        for (int i = 0; i < window->Tabs()->count(); ++i)
            if (Page(i)->PageLinkState() != state) return false;
        return true;
    }
    // Closes the window as the window system does, and measures it.
    qint64 TimedClose() {
        QElapsedTimer timer;
        timer.start();
        EXPECT_TRUE(window->close());
        return timer.elapsed();
    }

    QTemporaryDir configHome;
    ScopedEnv xdg{"XDG_CONFIG_HOME", configHome.path()};
    CAppCore app;
    CSettings settings;
    std::vector<MessageBox::Request> shown;
    std::vector<std::unique_ptr<CSimServer>> sims;
    std::unique_ptr<CTRV730DataAnalysisDlg> window;
};

TEST_F(StalledPages, ASecondCloseDuringShutdownIsIgnored) {
    SimFaults silent;
    silent.silent = true;
    CSimServer& sim = AddSim(silent);
    AddDevice(0, sim);
    AddDevice(1, sim);
    OpenWindow();
    window->RunCommand(ID_CONNECT_ALL);
    ASSERT_TRUE(WaitFor([&] { return sim.RequestCount() >= 2; }));  // both wait in the identification

    int nestedCloses = 0;
    bool nestedAccepted = true;
    Page(0)->onStop = [&] {
        // The ways a close can reach the window while the sequence waits for this page.
        QCoreApplication::postEvent(window.get(), new QCloseEvent);
        QCloseEvent close;
        QCoreApplication::sendEvent(window.get(), &close);
        nestedAccepted = close.isAccepted();
        window->close();
        ++nestedCloses;
        window->RunCommand(ID_DELETE_DEVICE);
        window->RunCommand(ID_DISCONNECT_ALL);
    };
    const qint64 tookMs = TimedClose();
    std::printf("[ measure  ] close with two stalled devices and a second close: %lld ms\n",
                static_cast<long long>(tookMs));
    EXPECT_EQ(nestedCloses, 1);
    EXPECT_FALSE(nestedAccepted);
    EXPECT_EQ(window->Tabs()->count(), 0);
    EXPECT_FALSE(window->isVisible());
    QCoreApplication::processEvents();  // the posted close reaches a closed window
    EXPECT_EQ(sim.OpenConnections(), 0);
}

TEST_F(StalledPages, ACloseDuringADeleteWaitsForTheDelete) {
    SimFaults silent;
    silent.silent = true;
    CSimServer& sim = AddSim(silent);
    for (int i = 0; i < 3; ++i) AddDevice(i, sim);
    OpenWindow();
    window->Tabs()->setCurrentIndex(1);
    Page(2)->DeviceCommand(kDeviceCommandConnect);
    ASSERT_TRUE(WaitFor([&] { return sim.RequestCount() >= 1; }));
    Page(1)->onStop = [&] { EXPECT_FALSE(window->close()); };
    window->RunCommand(ID_DELETE_DEVICE);
    EXPECT_EQ(window->Tabs()->count(), 2);
    EXPECT_EQ(settings.DeviceCount(), 2);
    // The close asked for meanwhile follows once the delete is done.
    ASSERT_TRUE(WaitFor([&] { return !window->isVisible(); }));
    EXPECT_EQ(window->Tabs()->count(), 0);
}

TEST_F(StalledPages, TenDevicesThatStopAnsweringAtOnceCloseWithinASecond) {
    CSimServer& sim = AddSim();
    for (int i = 0; i < CSettings::kDeviceCount; ++i) AddDevice(i, sim);
    OpenWindow();
    window->RunCommand(ID_CONNECT_ALL);
    ASSERT_TRUE(WaitFor([&] { return AllInState(LinkState::Connected); }));
    SimFaults silent;
    silent.silent = true;
    sim.SetFaults(silent);
    // Every link is now inside a read that gets no answer.
    const uint64_t requests = sim.RequestCount();
    ASSERT_TRUE(WaitFor([&] { return sim.RequestCount() >= requests + CSettings::kDeviceCount; }));
    QThread::msleep(100);
    const qint64 tookMs = TimedClose();
    std::printf("[ measure  ] close with ten stalled devices: %lld ms\n", static_cast<long long>(tookMs));
    EXPECT_LT(tookMs, 1000);
    EXPECT_EQ(window->Tabs()->count(), 0);
    EXPECT_TRUE(WaitFor([&] { return sim.OpenConnections() == 0; }));
}

TEST_F(StalledPages, ACommandOnAStalledDeviceKeepsTheWindowResponsive) {
    CSimServer& sim = AddSim();
    AddDevice(0, sim);
    OpenWindow();
    window->RunCommand(ID_CONNECT_ALL);
    auto* start = static_cast<QPushButton*>(Page(0)->Control(L::IDC_START_RECORDING));
    ASSERT_TRUE(WaitFor([&] { return start->isEnabled(); }));
    SimFaults silent;
    silent.silent = true;
    sim.SetFaults(silent);

    // The event loop's pulse: the longest time between two turns while the command runs.
    QElapsedTimer sinceTurn;
    qint64 longestGapMs = 0;
    QTimer pulse;
    pulse.setInterval(5);
    QObject::connect(&pulse, &QTimer::timeout, [&] {
        longestGapMs = std::max(longestGapMs, sinceTurn.restart());
    });
    sinceTurn.start();
    pulse.start();
    start->click();
    EXPECT_TRUE(Page(0)->CommandBusy());
    EXPECT_EQ(Page(0)->cursor().shape(), Qt::BusyCursor);
    for (int id : {L::IDC_START_RECORDING, L::IDC_STOP_RECORDING, L::IDC_RESET_ERRORS, L::IDC_RESTART})
        EXPECT_FALSE(Page(0)->Control(id)->isEnabled()) << id;
    ASSERT_TRUE(WaitFor([&] { return !shown.empty(); }));
    pulse.stop();
    std::printf("[ measure  ] longest event loop gap during a stalled command: %lld ms\n",
                static_cast<long long>(longestGapMs));
    EXPECT_LT(longestGapMs, 500);
    EXPECT_EQ(shown.back().text, GetText(LNG_DEVICE_WRSTART_ERROR));
    EXPECT_EQ(shown.back().caption, GetText(LNG_GLOB_ERROR));
    EXPECT_EQ(shown.back().icon, MessageBox::Icon::Error);
    EXPECT_FALSE(Page(0)->CommandBusy());
    EXPECT_FALSE(Page(0)->testAttribute(Qt::WA_SetCursor));
}

TEST_F(StalledPages, AStopDuringACommandDropsItsOutcome) {
    CSimServer& sim = AddSim();
    AddDevice(0, sim);
    OpenWindow();
    window->RunCommand(ID_CONNECT_ALL);
    auto* reset = static_cast<QPushButton*>(Page(0)->Control(L::IDC_START_RECORDING));
    ASSERT_TRUE(WaitFor([&] { return reset->isEnabled(); }));
    SimFaults silent;
    silent.silent = true;
    sim.SetFaults(silent);
    reset->click();
    ASSERT_TRUE(Page(0)->CommandBusy());
    const qint64 tookMs = TimedClose();
    EXPECT_LT(tookMs, 1000);
    QCoreApplication::processEvents();
    EXPECT_TRUE(shown.empty());
}

// Records move down under the device-list lock when a device is deleted, and the pages
// learn their new index only afterwards: a page that reconnects in between must still
// reach its own device.
TEST_F(StalledPages, APageReconnectsToItsOwnDeviceWhileAnEarlierOneIsDeleted) {
    CSimServer& first = AddSim();
    CSimServer& second = AddSim();
    CSimServer& third = AddSim();
    AddDevice(0, first);
    AddDevice(1, second);
    AddDevice(2, third);
    CDeviceDlg page(nullptr, settings);
    page.SetDeviceIndex(1);
    ASSERT_TRUE(page.Initialize());
    // The moment between the move and the renumbering.
    ASSERT_EQ(DeviceList::Remove(settings, 0), DeviceList::Result::Saved);
    page.DeviceCommand(kDeviceCommandConnect);
    ASSERT_TRUE(WaitFor([&] { return page.PageLinkState() == LinkState::Connected; }));
    EXPECT_EQ(second.LastUnitId(), 2);
    EXPECT_EQ(third.RequestCount(), 0u);

    // Through the window: the later pages move up a tab and keep their own devices.
    AddDevice(2, third);
    AddDevice(1, second);
    AddDevice(0, first);
    page.DeviceCommand(kDeviceCommandStop);
    OpenWindow();
    window->RunCommand(ID_CONNECT_ALL);
    ASSERT_TRUE(WaitFor([&] { return AllInState(LinkState::Connected); }));
    window->RunCommand(ID_DISCONNECT);  // the first tab is selected
    ASSERT_TRUE(WaitFor([&] { return Page(0)->PageLinkState() == LinkState::Disconnected; }));
    window->RunCommand(ID_CONNECT_ALL);  // the later ones reconnect while the first goes
    window->RunCommand(ID_DISCONNECT);
    ASSERT_TRUE(WaitFor([&] { return Page(0)->PageLinkState() == LinkState::Disconnected; }));
    window->RunCommand(ID_DELETE_DEVICE);
    ASSERT_EQ(window->Tabs()->count(), 2);
    ASSERT_TRUE(WaitFor([&] { return AllInState(LinkState::Connected); }));
    const uint64_t secondBefore = second.RequestCount(), thirdBefore = third.RequestCount();
    ASSERT_TRUE(WaitFor([&] { return second.RequestCount() > secondBefore && third.RequestCount() > thirdBefore; }));
    EXPECT_EQ(second.LastUnitId(), 2);
    EXPECT_EQ(third.LastUnitId(), 3);
    EXPECT_EQ(window->Tabs()->tabText(0), "Device 2");
}

}  // namespace
