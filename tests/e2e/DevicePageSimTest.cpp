// A device page against the simulated device: it connects, shows the device's values,
// blanks itself on disconnect, ends its thread on stop and comes back after a restart.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QPushButton>
#include <QTemporaryDir>
#include <QThread>
#include <vector>

#include "SimServer.h"
#include "app/AppCore.h"
#include "app/MessageBox.h"
#include "controls/TemperatureBar.h"
#include "controls/XLabel.h"
#include "controls/XLed.h"
#include "controls/XListCtrl.h"
#include "controls/XProgressCtrl.h"
#include "device/DeviceInterface.h"
#include "device/LiveDecoder.h"
#include "device/LiveFormat.h"
#include "language/Language.h"
#include "language/LanguageKeys.h"
#include "settings/Settings.h"
#include "support/TestSupport.h"
#include "views/CardChartCtrl.h"
#include "views/DeviceDlg.h"
#include "views/DevicePageLayout.h"

namespace {

namespace DI = DeviceInterface;
namespace L = DevicePageLayout;
using Kind = L::Kind;

constexpr int32_t kPinnedVoltage = 2301;  // 230.1 V on channel 1

CXLabel* Label(const CDeviceDlg& page, int id) { return static_cast<CXLabel*>(page.Control(id)); }

// Everything a blank page shows: empty labels, empty bars, thermometers at their lowest,
// lamps off, no card, no errors, only the settings button enabled.
void ExpectBlank(const CDeviceDlg& page) {
    for (const L::Item& item : L::Items()) {
        QWidget* control = page.Control(item.id);
        switch (item.kind) {
            case Kind::Value:
            case Kind::MainValue:
            case Kind::PlainValue:
                EXPECT_TRUE(Label(page, item.id)->Text().isEmpty()) << item.id;
                EXPECT_TRUE(Label(page, item.id)->SecondText().isEmpty()) << item.id;
                break;
            case Kind::Bar: {
                const auto* bar = static_cast<CXProgressCtrl*>(control);
                EXPECT_EQ(bar->Lower(), 0) << item.id;
                EXPECT_EQ(bar->Upper(), 1) << item.id;
                EXPECT_EQ(bar->GetPos(), 0) << item.id;
                break;
            }
            case Kind::Thermometer: {
                const auto* thermometer = static_cast<CTemperatureBar*>(control);
                EXPECT_EQ(thermometer->Lower(), -50.0f) << item.id;
                EXPECT_EQ(thermometer->Upper(), 120.0f) << item.id;
                EXPECT_EQ(thermometer->Value(), -50.0f) << item.id;
                break;
            }
            case Kind::Lamp:
            case Kind::BarLamp:
                EXPECT_EQ(static_cast<CXLed*>(control)->Mode(), 0) << item.id;
                break;
            case Kind::CardChart:
                EXPECT_FALSE(static_cast<CCardChartCtrl*>(control)->CardPresent());
                break;
            case Kind::ErrorList:
                EXPECT_EQ(static_cast<CXListCtrl*>(control)->rowCount(), 0);
                break;
            case Kind::Button:
                EXPECT_EQ(control->isEnabled(), item.id == L::IDC_SETTINGS) << item.id;
                break;
            default:
                break;
        }
    }
}

class DevicePageOnSim : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(configHome.isValid());
        SimConfig config;
        config.port = 0;
        config.restartDownMs = 1500;  // long enough to see the page reconnecting
        config.errorWord = 0x5;
        sim = std::make_unique<CSimServer>(config);
        // One value that does not move, to compare a label with exactly.
        sim->Device().SetTickHook([](CSimDevice::Registers& r, CSimDevice::Time) {
            const uint16_t reg = DI::MeasureValueRegister(0, 0);
            r[reg] = uint16_t(uint32_t(kPinnedVoltage) >> 16);
            r[reg + 1] = uint16_t(kPinnedVoltage & 0xFFFF);
        });
        std::string error;
        ASSERT_TRUE(sim->Start(&error)) << error;

        DeviceRecord& record = settings.Devices[0];
        record.SetName("Simulated");
        record.SetPassword("vexor");
        record.IpAddress = kLoopback;
        record.Port = sim->Port();
        record.UnitId = 1;

        page = std::make_unique<CDeviceDlg>(nullptr, settings);
        page->resize(page->DesignSize());
        ASSERT_TRUE(page->Initialize());
        page->SetDeviceIndex(0);
    }
    void TearDown() override {
        MessageBox::SetHook({});
        page.reset();
        sim.reset();
    }
    void Connect() {
        page->DeviceCommand(2);
        ASSERT_TRUE(WaitFor([&] { return page->LinkState() == 4 && !Label(*page, 1075)->Text().isEmpty(); }));
    }

    QTemporaryDir configHome;
    ScopedEnv xdg{"XDG_CONFIG_HOME", configHome.path()};
    CAppCore app;  // the live graph window keeps its choices in the program's settings store
    CSettings settings;
    std::unique_ptr<CSimServer> sim;
    std::unique_ptr<CDeviceDlg> page;
};

TEST_F(DevicePageOnSim, ShowsTheDeviceValuesAndBlanksOnDisconnect) {
    Connect();
    const CSimDevice& device = sim->Device();
    EXPECT_EQ(Label(*page, 1075)->Text(), LiveFormat::FirmwareText(device.Register(DI::kRegFirmware)));
    const LabelText voltage = LiveFormat::Voltage(kPinnedVoltage);
    EXPECT_TRUE(WaitFor([&] { return Label(*page, 1028)->Text() == voltage.value; }));
    EXPECT_EQ(Label(*page, 1028)->SecondText(), voltage.UnitText());
    EXPECT_EQ(Label(*page, 1077)->Text(), LiveFormat::FileNameText(device.Register(DI::kRegFileNumber)));
    const auto* voltageBar = static_cast<CXProgressCtrl*>(page->Control(1009));
    EXPECT_EQ(voltageBar->Upper(), LiveDecoder::VoltageBarMaximum(device.Register(DI::kRegVoltageSensor1)));
    EXPECT_FALSE(Label(*page, 1112)->Text().isEmpty());  // exchange rate
    // The device reports errors: the lamp is lit, the list shows them, and they can be reset.
    EXPECT_EQ(static_cast<CXLed*>(page->Control(L::IDC_ERROR_LAMP))->Mode(), 1);
    EXPECT_EQ(static_cast<CXListCtrl*>(page->Control(L::IDC_ERROR_LIST))->rowCount(), 2);
    EXPECT_TRUE(page->Control(L::IDC_RESET_ERRORS)->isEnabled());
    EXPECT_TRUE(page->Control(L::IDC_RESTART)->isEnabled());
    // Renaming the device retitles its live graph window.
    ASSERT_NE(page->GraphWindow(), nullptr);
    page->DeviceChanged();
    EXPECT_TRUE(page->GraphWindow()->windowTitle().contains("Simulated"));

    if (const QByteArray shot = qgetenv("TRV730_DEVICE_PAGE_PNG"); !shot.isEmpty()) {
        page->grab().save(QString::fromLocal8Bit(shot));
    }

    page->DeviceCommand(1);
    ASSERT_TRUE(WaitFor([&] { return page->LinkState() == 0 && Label(*page, 1075)->Text().isEmpty(); }));
    ExpectBlank(*page);
}

TEST_F(DevicePageOnSim, StopWhileConnectedEndsTheThreadAndTheConnection) {
    Connect();
    page->DeviceCommand(3);
    EXPECT_EQ(page->LinkState(), 0);
    EXPECT_EQ(page->GraphWindow(), nullptr);
    EXPECT_TRUE(WaitFor([&] { return sim->OpenConnections() == 0; }));
    // Without its thread the page shows nothing new.
    const QString shown = Label(*page, 1074)->Text();
    const uint64_t requests = sim->RequestCount();
    QThread::msleep(600);
    QCoreApplication::processEvents();
    EXPECT_EQ(sim->RequestCount(), requests);
    EXPECT_EQ(Label(*page, 1074)->Text(), shown);
}

TEST_F(DevicePageOnSim, CommandButtonsReportTheirOutcomeAndARestartReconnectsByItself) {
    std::vector<MessageBox::Request> shown;
    MessageBox::SetHook([&](const MessageBox::Request& request) {
        shown.push_back(request);
        return QMessageBox::Ok;
    });
    Connect();

    static_cast<QPushButton*>(page->Control(L::IDC_RESET_ERRORS))->click();
    ASSERT_TRUE(WaitFor([&] { return !shown.empty(); }));
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown.back().text, GetText(LNG_DEVICE_RESETERR_SUCCESS));
    EXPECT_EQ(shown.back().icon, MessageBox::Icon::Information);

    ASSERT_TRUE(WaitFor([&] { return page->Control(L::IDC_RESTART)->isEnabled(); }));
    static_cast<QPushButton*>(page->Control(L::IDC_RESTART))->click();
    ASSERT_TRUE(WaitFor([&] { return shown.size() == 2u; }));
    EXPECT_EQ(shown.back().text, GetText(LNG_DEVICE_RESTART_SUCCESS));
    ASSERT_TRUE(WaitFor([&] { return page->LinkState() == 3; }));
    ASSERT_TRUE(WaitFor([&] { return page->LinkState() == 4 && page->Control(L::IDC_RESTART)->isEnabled(); }));

    // A page that is no longer among the tabs ignores its buttons.
    page->SetDeviceIndex(-1);
    static_cast<QPushButton*>(page->Control(L::IDC_RESTART))->click();
    EXPECT_FALSE(page->CommandBusy());
    QCoreApplication::processEvents();
    EXPECT_EQ(shown.size(), 2u);
    EXPECT_EQ(page->LinkState(), 4);
}

}  // namespace
