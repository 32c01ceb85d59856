// The settings window against the simulated device: opening with and without a device,
// reading, writing, refused blocks, "*", the clock, files, and a window that stays alive
// while a slow device answers.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>
#include <vector>

#include "SimServer.h"
#include "app/MessageBox.h"
#include "device/DeviceInterface.h"
#include "device/ModbusDeviceClient.h"
#include "devsettings/LocalClock.h"
#include "devsettings/MyProperty.h"
#include "devsettings/PropertyGrid.h"
#include "devsettings/PropertyGridModel.h"
#include "devsettings/SetDeviceDlg.h"
#include "language/Language.h"
#include "language/LanguageKeys.h"
#include "support/FakeLinkClock.h"
#include "support/TestSupport.h"

namespace {

namespace DI = DeviceInterface;
using Btn = QMessageBox::StandardButton;
using Dlg = CSetDeviceDlg;

constexpr int kTimeCorrection = 2000;  // first row of the grid, double with step 0.1
constexpr int kPort = 2146;            // unsigned 16-bit
constexpr int kPassword = 2123;        // six registers
constexpr int kLastSource = 2111;      // two registers, well before the port in grid order

struct Shown {
    QString text;
    QString caption;
    MessageBox::Icon icon;
    QMessageBox::StandardButtons buttons;
    QMessageBox::StandardButton defaultButton;
};

// Local time that moves only with the link clock's sleeps.
class FakeLocalClock : public ILocalClock {
  public:
    FakeLocalClock(FakeLinkClock& link, QDateTime start) : m_link(link), m_start(std::move(start)) {}
    QDateTime LocalNow() override { return m_start.addMSecs(m_link.NowMs()); }

  private:
    FakeLinkClock& m_link;
    QDateTime m_start;
};

class SettingsWindowOnSim : public ::testing::Test {
  protected:
    void SetUp() override {
        SimConfig config;
        config.port = 0;
        sim = std::make_unique<CSimServer>(config);
        std::string error;
        ASSERT_TRUE(sim->Start(&error)) << error;
        ASSERT_EQ(client.Connect(kLoopback, sim->Port(), 1), 1);
        MessageBox::SetHook([this](const MessageBox::Request& r) {
            shown.push_back({r.text, r.caption, r.icon, r.buttons, r.defaultButton});
            return answer ? answer(r) : Btn::Ok;
        });
    }
    void TearDown() override {
        window.reset();
        MessageBox::SetHook({});
        client.Close();
        sim.reset();
    }

    // A window over a device in the given state; shown, and idle again when it read on showing.
    void Open(LinkState state = LinkState::Connected) {
        window = std::make_unique<Dlg>(
            nullptr,
            [this, state] {
                return DeviceAccess{&client, state, 0};
            },
            QStringLiteral("127.0.0.1"));
        window->show();
        ASSERT_TRUE(WaitFor([&] {
            QCoreApplication::processEvents();
            return !window->IsBusy();
        }));
    }
    void Run(int id) {
        window->RunCommand(id);
        ASSERT_TRUE(WaitFor([&] { return !window->IsBusy(); }));
    }
    CMyProperty* Row(int address) const { return window->Table().FindByAddress(address); }
    QString ShownValue(int address) const {
        return window->Grid()->Model()->IndexOf(Row(address), 1).data(Qt::DisplayRole).toString();
    }
    bool Bold(int address) const {
        const QVariant font = window->Grid()->Model()->IndexOf(Row(address), 0).data(Qt::FontRole);
        return font.isValid() && font.value<QFont>().bold();
    }
    int BoldRows() const {
        int n = 0;
        for (const CMyProperty* row : window->Table().Rows())
            n += Bold(row->Binding().address) ? 1 : 0;
        return n;
    }
    bool Enabled(int id) const { return window->Control(id)->isEnabled(); }
    // Answers questions by their text key: Yes or Retry where listed, No or Cancel otherwise.
    void AnswerYesTo(std::vector<int> keys) {
        answer = [keys](const MessageBox::Request& r) {
            for (const int key : keys)
                if (r.text.startsWith(GetText(key)))
                    return r.buttons.testFlag(Btn::Retry) ? Btn::Retry : Btn::Yes;
            if (r.buttons.testFlag(Btn::No))
                return Btn::No;
            if (r.buttons.testFlag(Btn::Cancel))
                return Btn::Cancel;
            return Btn::Ok;
        };
    }
    static QString Text(int key) { return GetText(key); }

    std::unique_ptr<CSimServer> sim;
    CModbusDeviceClient client;
    std::unique_ptr<Dlg> window;
    std::vector<Shown> shown;
    std::function<Btn(const MessageBox::Request&)> answer;
};

TEST_F(SettingsWindowOnSim, DisconnectedDeviceOpensWithoutDeviceShowingDefaults) {
    const uint64_t requests = sim->RequestCount();
    Open(LinkState::Disconnected);
    QTest::qWait(100);
    auto* box = static_cast<QCheckBox*>(window->Control(Dlg::IDC_WITHOUT_DEVICE));
    EXPECT_TRUE(box->isChecked());
    EXPECT_FALSE(box->isEnabled());
    for (const int id : {Dlg::IDC_WRITE, Dlg::IDC_READ, Dlg::IDC_TIMESYNC})
        EXPECT_FALSE(Enabled(id)) << id;
    for (const int id : {Dlg::IDC_SAVE_FILE, Dlg::IDC_LOAD_FILE, Dlg::IDC_RESET, Dlg::IDC_ACCEPT})
        EXPECT_TRUE(Enabled(id)) << id;
    EXPECT_EQ(ShownValue(kPort), QStringLiteral("502"));
    EXPECT_EQ(BoldRows(), 0);
    EXPECT_TRUE(shown.empty());
    EXPECT_EQ(sim->RequestCount(), requests);
    EXPECT_EQ(window->windowTitle(), Text(LNG_SETTDEV_TITLE) + QStringLiteral(" 127.0.0.1"));
    // The check box keeps its state whatever is tried.
    window->RunCommand(Dlg::IDC_WITHOUT_DEVICE);
    EXPECT_TRUE(box->isChecked());
    EXPECT_TRUE(shown.empty());
}

TEST_F(SettingsWindowOnSim, ConnectedDeviceIsReadOnShowing) {
    sim->Device().SetRegister(kPort, 50000);
    const uint16_t password[6] = {'a', 'b', 0, 0, 0, 0};
    for (int i = 0; i < 6; ++i)
        sim->Device().SetRegister(uint16_t(kPassword + i), password[i]);
    Open();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, Text(LNG_SETDEV_LOADFROMDEVICEOK_MSG));
    EXPECT_EQ(shown[0].caption, Text(LNG_GLOB_SETTINGDEV));
    EXPECT_EQ(shown[0].icon, MessageBox::Icon::Information);
    EXPECT_EQ(ShownValue(kPort), QStringLiteral("50000"));
    EXPECT_EQ(ShownValue(kPassword), QStringLiteral("\"ab\""));
    EXPECT_TRUE(Bold(kPort));
    EXPECT_EQ(window->ProgressBar()->value(), 0);
    EXPECT_FALSE(window->Grid()->View()->isExpanded(window->Grid()->Model()->GroupIndex(0)));
    auto* box = static_cast<QCheckBox*>(window->Control(Dlg::IDC_WITHOUT_DEVICE));
    EXPECT_FALSE(box->isChecked());
    EXPECT_TRUE(box->isEnabled());
    EXPECT_TRUE(Enabled(Dlg::IDC_WRITE));
}

TEST_F(SettingsWindowOnSim, WriteAnsweredNoSendsNothing) {
    Open();
    Row(kPort)->ParseText(QStringLiteral("4242"));
    shown.clear();
    const uint64_t requests = sim->RequestCount();
    AnswerYesTo({});
    Run(Dlg::IDC_WRITE);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, Text(LNG_SETDEV_SAVETODEVICEYESNO_MSG));
    EXPECT_EQ(shown[0].icon, MessageBox::Icon::Warning);
    EXPECT_EQ(shown[0].buttons, Btn::Yes | Btn::No);
    EXPECT_EQ(shown[0].defaultButton, Btn::No);
    EXPECT_EQ(sim->RequestCount(), requests);
    EXPECT_TRUE(Bold(kPort));
}

TEST_F(SettingsWindowOnSim, WriteSendsEveryRowAppliesAndReadsBack) {
    Open();
    Row(kPort)->ParseText(QStringLiteral("4242"));
    shown.clear();
    AnswerYesTo({LNG_SETDEV_SAVETODEVICEYESNO_MSG});
    Run(Dlg::IDC_WRITE);
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[1].text, Text(LNG_SETDEV_SAVETODEVICEOK_MSG));
    EXPECT_EQ(shown[1].icon, MessageBox::Icon::Information);
    EXPECT_EQ(sim->Device().Register(kPort), 4242);
    EXPECT_EQ(sim->Device().ApplyCount(), 1);
    EXPECT_EQ(BoldRows(), 0);
    EXPECT_EQ(window->ProgressBar()->value(), 0);
}

TEST_F(SettingsWindowOnSim, RefusedBlockAsksWithItsAddressAndCancelKeepsWhatWasWritten) {
    Open();
    SimFaults faults;
    faults.refuseWrites.push_back({kLastSource, uint16_t(kLastSource + 1), DI::kExceptionIllegalValue});
    sim->SetFaults(faults);
    Row(kTimeCorrection)->ParseText(QStringLiteral("1.5"));
    Row(kPort)->ParseText(QStringLiteral("4242"));
    shown.clear();
    AnswerYesTo({LNG_SETDEV_SAVETODEVICEYESNO_MSG});
    Run(Dlg::IDC_WRITE);
    ASSERT_EQ(shown.size(), 3u);
    EXPECT_EQ(shown[1].text,
              Text(LNG_SETDEV_WRITEDATAFROMADDRERROR_MSG) + QStringLiteral(" addr:2111 len:2."));
    EXPECT_EQ(shown[1].caption, Text(LNG_GLOB_SETTINGDEV));
    EXPECT_EQ(shown[1].icon, MessageBox::Icon::Warning);
    EXPECT_EQ(shown[1].buttons, Btn::Retry | Btn::Cancel);
    EXPECT_EQ(shown[2].text, Text(LNG_SETDEV_SAVETODEVICEERROR_MSG));
    EXPECT_EQ(shown[2].icon, MessageBox::Icon::Error);
    EXPECT_EQ(shown[2].defaultButton, Btn::No);
    // Rows before the refused block went and took their new baselines; later ones did not.
    EXPECT_EQ(sim->Device().Register(kTimeCorrection), 15);
    EXPECT_FALSE(Bold(kTimeCorrection));
    EXPECT_EQ(Row(kTimeCorrection)->BaselineValue(), 15);
    EXPECT_TRUE(Bold(kPort));
    EXPECT_NE(sim->Device().Register(kPort), 4242);
    EXPECT_EQ(sim->Device().ApplyCount(), 0);
    EXPECT_EQ(window->ProgressBar()->value(), 0);
}

TEST_F(SettingsWindowOnSim, RefusedReadAsksWithAddressAndCountAndKeepsWhatWasRead) {
    sim->Device().SetRegister(kTimeCorrection, 15);
    SimFaults faults;
    faults.exceptions.push_back({kPort, kPort, DI::kExceptionIllegalAddress});
    sim->SetFaults(faults);
    AnswerYesTo({});
    int retries = 0;
    answer = [&](const MessageBox::Request& r) {
        if (r.buttons.testFlag(Btn::Retry))
            return ++retries == 1 ? Btn::Retry : Btn::Cancel;
        return r.buttons.testFlag(Btn::No) ? Btn::No : Btn::Ok;
    };
    Open();
    ASSERT_EQ(shown.size(), 3u);
    EXPECT_EQ(shown[0].text, Text(LNG_SETDEV_READDATAFROMADDRERROR_MSG) + QStringLiteral(" 2146:1."));
    EXPECT_EQ(shown[1].text, shown[0].text);
    EXPECT_EQ(shown[2].text, Text(LNG_SETDEV_LOADFROMDEVICEERROR_MSG));
    EXPECT_EQ(shown[2].buttons, Btn::Yes | Btn::No);
    EXPECT_EQ(shown[2].defaultButton, Btn::No);
    EXPECT_EQ(ShownValue(kTimeCorrection), QStringLiteral("1.5"));
    EXPECT_TRUE(Bold(kTimeCorrection));
}

TEST_F(SettingsWindowOnSim, StarAcceptsWithoutTrafficAndALaterReadMarksWhatDiffers) {
    Open();
    window->Grid()->Model()->setData(window->Grid()->Model()->IndexOf(Row(kPort), 1), QStringLiteral("4242"),
                                     Qt::EditRole);
    window->Grid()->Model()->setData(window->Grid()->Model()->IndexOf(Row(kTimeCorrection), 1),
                                     QStringLiteral("2.5"), Qt::EditRole);
    EXPECT_EQ(BoldRows(), 2);
    const uint64_t requests = sim->RequestCount();
    shown.clear();
    Run(Dlg::IDC_ACCEPT);
    EXPECT_EQ(BoldRows(), 0);
    EXPECT_EQ(sim->RequestCount(), requests);
    EXPECT_TRUE(shown.empty());

    Run(Dlg::IDC_READ);
    EXPECT_EQ(BoldRows(), 2);
    EXPECT_TRUE(Bold(kPort));
    EXPECT_TRUE(Bold(kTimeCorrection));
    EXPECT_EQ(ShownValue(kPort), QStringLiteral("502"));
}

TEST_F(SettingsWindowOnSim, ClockIsSetJustAfterASecondBoundary) {
    Open();
    FakeLinkClock link;
    FakeLocalClock local(link, QDateTime(QDate(2023, 12, 31), QTime(23, 59, 59, 400)));
    window->SetClocks(local, link);
    shown.clear();
    Run(Dlg::IDC_TIMESYNC);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, Text(LNG_SETDEV_TIMESYNCOK_MSG));
    EXPECT_EQ(shown[0].icon, MessageBox::Icon::Information);
    // 2024-01-01 00:00:00 plus one second; the simulated clock may have run on a second.
    EXPECT_NEAR(double(sim->Device().Register32(DI::kRegClock)), 1388534401.0, 1.0);
}

TEST_F(SettingsWindowOnSim, FactoryDefaultsAndWorkingWithoutDeviceAskFirst) {
    sim->Device().SetRegister(kPort, 50000);
    Open();
    ASSERT_TRUE(Bold(kPort));
    shown.clear();
    AnswerYesTo({});
    Run(Dlg::IDC_RESET);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].caption, Text(LNG_GLOB_WARNING));
    EXPECT_EQ(shown[0].icon, MessageBox::Icon::Warning);
    EXPECT_EQ(shown[0].defaultButton, Btn::No);
    EXPECT_EQ(ShownValue(kPort), QStringLiteral("50000"));

    AnswerYesTo({LNG_SETDEV_RESETDEF_MSG});
    Run(Dlg::IDC_RESET);
    EXPECT_EQ(ShownValue(kPort), QStringLiteral("502"));
    EXPECT_EQ(BoldRows(), 0);

    auto* box = static_cast<QCheckBox*>(window->Control(Dlg::IDC_WITHOUT_DEVICE));
    AnswerYesTo({});
    Run(Dlg::IDC_WITHOUT_DEVICE);
    EXPECT_FALSE(box->isChecked());
    EXPECT_EQ(shown.back().text, Text(LNG_SETDEV_REINIT_MSG));
    EXPECT_EQ(shown.back().icon, MessageBox::Icon::Error);
    AnswerYesTo({LNG_SETDEV_REINIT_MSG});
    Run(Dlg::IDC_WITHOUT_DEVICE);
    EXPECT_TRUE(box->isChecked());
    EXPECT_TRUE(box->isEnabled());
    for (const int id : {Dlg::IDC_WRITE, Dlg::IDC_READ, Dlg::IDC_TIMESYNC})
        EXPECT_FALSE(Enabled(id)) << id;
    Run(Dlg::IDC_WITHOUT_DEVICE);
    EXPECT_FALSE(box->isChecked());
    EXPECT_TRUE(Enabled(Dlg::IDC_READ));
}

TEST_F(SettingsWindowOnSim, FilesAreSavedAndLoadedAndACancelledDialogSaysNothing) {
    QTemporaryDir dir;
    const QString path = QDir(dir.path()).filePath(QStringLiteral("one.trv730"));
    Open(LinkState::Disconnected);
    QString next;
    QString suggested;
    window->SetFileChooser([&](bool, const QString& name) {
        suggested = name;
        return next;
    });
    Row(kPort)->ParseText(QStringLiteral("4242"));
    next = path;
    Run(Dlg::IDC_SAVE_FILE);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, Text(LNG_SETDEV_SAVETOFILEOK_MSG));
    EXPECT_TRUE(suggested.endsWith(QStringLiteral(".trv730")));
    EXPECT_TRUE(QFile::exists(path));
    EXPECT_EQ(BoldRows(), 0);  // saving accepts

    Row(kPort)->ParseText(QStringLiteral("7"));
    Run(Dlg::IDC_LOAD_FILE);
    EXPECT_EQ(shown.back().text, Text(LNG_SETDEV_LOADFROMFILEOK_MSG));
    EXPECT_EQ(ShownValue(kPort), QStringLiteral("4242"));

    next.clear();
    shown.clear();
    Run(Dlg::IDC_SAVE_FILE);
    Run(Dlg::IDC_LOAD_FILE);
    EXPECT_TRUE(shown.empty());

    // A save that cannot be written asks whether to try again; yes starts with the dialog.
    next = QDir(dir.path()).filePath(QStringLiteral("missing/folder/two.trv730"));
    int tries = 0;
    answer = [&](const MessageBox::Request&) { return ++tries < 2 ? Btn::Yes : Btn::No; };
    Run(Dlg::IDC_SAVE_FILE);
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0].text, Text(LNG_SETDEV_SAVETOFILEERROR_MSG));
    EXPECT_EQ(shown[0].icon, MessageBox::Icon::Error);
    EXPECT_EQ(shown[0].defaultButton, Btn::No);
}

TEST_F(SettingsWindowOnSim, WindowKeepsPaintingWhileASlowDeviceIsRead) {
    SimFaults faults;
    faults.delayMs = 20;
    sim->SetFaults(faults);
    window = std::make_unique<Dlg>(
        nullptr,
        [this] {
            return DeviceAccess{&client, LinkState::Connected, 0};
        },
        QStringLiteral("127.0.0.1"));
    std::vector<int> progress;
    QObject::connect(window->ProgressBar(), &QProgressBar::valueChanged, [&](int v) {
        if (window->IsBusy())
            progress.push_back(v);
    });
    int paints = 0;
    struct PaintCounter : QObject {
        int* n;
        explicit PaintCounter(int* count) : n(count) {}
        bool eventFilter(QObject*, QEvent* e) override {
            if (e->type() == QEvent::Paint)
                ++*n;
            return false;
        }
    } counter(&paints);
    window->ProgressBar()->installEventFilter(&counter);
    int ticks = 0;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] { ticks += window->IsBusy() ? 1 : 0; });
    timer.start(10);

    window->show();
    ASSERT_TRUE(WaitFor([&] { return window->IsBusy(); }));
    // No second command starts while the read runs.
    window->RunCommand(Dlg::IDC_RESET);
    EXPECT_FALSE(Enabled(Dlg::IDC_RESET));
    EXPECT_FALSE(Enabled(Dlg::IDC_WRITE));
    ASSERT_TRUE(WaitFor([&] { return !window->IsBusy(); }));
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, Text(LNG_SETDEV_LOADFROMDEVICEOK_MSG));
    EXPECT_GE(progress.size(), 10u);
    EXPECT_TRUE(std::is_sorted(progress.begin(), progress.end()));
    EXPECT_GE(paints, 10);
    EXPECT_GE(ticks, 50);  // 126 answers of 20 ms: the event loop ran throughout
    EXPECT_TRUE(Enabled(Dlg::IDC_RESET));
}

TEST_F(SettingsWindowOnSim, ClosingDuringATransferEndsItAndThenTheWindow) {
    SimFaults faults;
    faults.delayMs = 20;
    sim->SetFaults(faults);
    window = std::make_unique<Dlg>(
        nullptr,
        [this] {
            return DeviceAccess{&client, LinkState::Connected, 0};
        },
        QStringLiteral("127.0.0.1"));
    window->show();
    ASSERT_TRUE(WaitFor([&] { return window->ProgressBar()->value() > 0; }));
    window->close();
    ASSERT_TRUE(WaitFor([&] { return !window->isVisible(); }, 5000));
    EXPECT_FALSE(window->IsBusy());
    EXPECT_TRUE(shown.empty());

    // A window deleted in the middle of a read (its page went) ends the read first.
    window = std::make_unique<Dlg>(
        nullptr,
        [this] {
            return DeviceAccess{&client, LinkState::Connected, 0};
        },
        QStringLiteral("127.0.0.1"));
    window->show();
    ASSERT_TRUE(WaitFor([&] { return window->ProgressBar()->value() > 0; }));
    QElapsedTimer timer;
    timer.start();
    window.reset();
    EXPECT_LT(timer.elapsed(), 3000);
    EXPECT_TRUE(shown.empty());
}

TEST_F(SettingsWindowOnSim, LayoutFollowsTheTemplateAndKeysDoNotCloseIt) {
    Open(LinkState::Disconnected);
    const QSize first = window->size();
    EXPECT_EQ(window->minimumSize(), first);
    const QRect grid = window->Control(Dlg::IDC_GRID)->geometry();
    const QRect reset = window->Control(Dlg::IDC_RESET)->geometry();
    window->resize(first + QSize(100, 80));
    QCoreApplication::processEvents();
    EXPECT_EQ(window->Control(Dlg::IDC_GRID)->geometry().size(), grid.size() + QSize(100, 80));
    EXPECT_EQ(window->Control(Dlg::IDC_RESET)->geometry(), reset.translated(0, 80));
    QTest::keyClick(window.get(), Qt::Key_Escape);
    QTest::keyClick(window.get(), Qt::Key_Return);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(static_cast<QPushButton*>(window->Control(Dlg::IDC_ACCEPT))->text(), QStringLiteral("*"));
}

}  // namespace
