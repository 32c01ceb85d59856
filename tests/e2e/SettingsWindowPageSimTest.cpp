// The settings window over a connected device page: the window reads through the page's
// client while the page's polling goes on, so the page stays live beneath it.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QPointer>
#include <QPushButton>
#include <QSet>
#include <QTemporaryDir>

#include "SimServer.h"
#include "app/AppCore.h"
#include "app/MessageBox.h"
#include "app/TRV730DataAnalysisDlg.h"
#include "controls/XLabel.h"
#include "devsettings/SetDeviceDlg.h"
#include "devsettings/SettingsWindow.h"
#include "settings/Settings.h"
#include "support/TestSupport.h"
#include "views/DeviceDlg.h"
#include "views/DevicePageLayout.h"

namespace {

constexpr int kDeviceClockLabel = 1076;

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

TEST(SettingsWindowOverPage, ClosingTheMainWindowEndsAReadingSettingsWindowQuietly) {
    QTemporaryDir configHome;
    ScopedEnv xdg{"XDG_CONFIG_HOME", configHome.path()};
    CAppCore app;
    SimConfig config;
    config.port = 0;
    CSimServer sim(config);
    std::string error;
    ASSERT_TRUE(sim.Start(&error)) << error;
    CSettings settings;
    for (DeviceRecord& r : settings.Devices)
        r.Clear();
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
        CTRV730DataAnalysisDlg window(settings, [](QWidget* parent, CSettings& s, int index) -> IDevicePage* {
            auto* page = new CDeviceDlg(parent, s);
            page->SetDeviceIndex(index);
            page->Initialize();
            return page;
        });
        window.show();
        auto* page = dynamic_cast<CDeviceDlg*>(window.Page(0));
        ASSERT_NE(page, nullptr);
        page->DeviceCommand(2);
        ASSERT_TRUE(WaitFor([&] { return page->LinkState() == 4; }));
        SimFaults faults;
        faults.delayMs = 20;
        sim.SetFaults(faults);
        static_cast<QPushButton*>(page->Control(DevicePageLayout::IDC_SETTINGS))->click();
        QPointer<CSetDeviceDlg> settingsWindow = page->findChild<CSetDeviceDlg*>();
        ASSERT_FALSE(settingsWindow.isNull());
        ASSERT_TRUE(WaitFor([&] { return settingsWindow->IsBusy(); }));

        QElapsedTimer timer;
        timer.start();
        window.close();
        EXPECT_LT(timer.elapsed(), 5000);
        ASSERT_TRUE(WaitFor([&] { return settingsWindow.isNull(); }, 3000));
        EXPECT_EQ(messages, 0);
    }
    MessageBox::SetHook({});
}

}  // namespace
