// The settings window over a connected device page: the window reads through the page's
// client while the page's polling goes on, so the page stays live beneath it.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSet>
#include <QTemporaryDir>
#include <QThread>

#include "SimServer.h"
#include "app/AppCore.h"
#include "app/MessageBox.h"
#include "controls/XLabel.h"
#include "devsettings/SetDeviceDlg.h"
#include "devsettings/SettingsWindow.h"
#include "settings/Settings.h"
#include "support/TestSupport.h"
#include "views/DeviceDlg.h"

namespace {

constexpr uint32_t kLoopback = 0x7F000001;
constexpr int kDeviceClockLabel = 1076;

bool WaitFor(const std::function<bool()>& done, int limitMs = 20000) {
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > limitMs) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(2);
    }
    return true;
}

TEST(SettingsWindowOverPage, PagePollsOnWhileTheWindowReadsASlowDevice) {
    QTemporaryDir configHome;
    ScopedEnv xdg{"XDG_CONFIG_HOME", configHome.path()};
    CAppCore app;
    SimConfig config;
    config.port = 0;
    CSimServer sim(config);
    std::string error;
    ASSERT_TRUE(sim.Start(&error)) << error;
    CSettings settings;
    DeviceRecord& record = settings.Devices[0];
    record.SetName("Simulated");
    record.SetPassword("vexor");
    record.IpAddress = kLoopback;
    record.Port = sim.Port();
    record.UnitId = 1;

    int messages = 0;
    MessageBox::SetHook([&](const MessageBox::Request&) {
        ++messages;
        return QMessageBox::Ok;
    });
    {
        CDeviceDlg page(nullptr, settings);
        page.SetDeviceIndex(0);
        ASSERT_TRUE(page.Initialize());
        page.show();
        page.DeviceCommand(2);
        auto* clock = static_cast<CXLabel*>(page.Control(kDeviceClockLabel));
        ASSERT_TRUE(WaitFor([&] { return page.LinkState() == 4 && !clock->Text().isEmpty(); }));

        SimFaults faults;
        faults.delayMs = 20;
        sim.SetFaults(faults);
        CSetDeviceDlg* window = OpenDeviceSettings(&page, nullptr, settings);
        ASSERT_NE(window, nullptr);
        EXPECT_FALSE(window->IsWithoutDevice());
        ASSERT_TRUE(WaitFor([&] { return window->IsBusy(); }));
        QSet<QString> clockTexts;
        ASSERT_TRUE(WaitFor([&] {
            clockTexts.insert(clock->Text());
            return !window->IsBusy();
        }));
        EXPECT_EQ(messages, 1);  // the read's success
        // Over two seconds of reading: the page showed the device clock move on meanwhile.
        EXPECT_GE(clockTexts.size(), 2);
        EXPECT_EQ(page.LinkState(), 4);
        sim.SetFaults({});
        page.DeviceCommand(3);
        EXPECT_EQ(page.findChild<CSetDeviceDlg*>(), nullptr);
    }
    MessageBox::SetHook({});
}

}  // namespace
