#include <gtest/gtest.h>

#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

#include "app/AppCore.h"
#include "app/FileHandoff.h"
#include "app/InstanceChannel.h"
#include "app/MessageBox.h"
#include "app/SingleInstance.h"
#include "app/TRV730DataAnalysisDlg.h"
#include "core/rdf/RdfFixtures.h"
#include "devsettings/SetDeviceDlg.h"
#include "devsettings/SettingsWindow.h"
#include "rdf/RdfGraphDlg.h"
#include "rdf/RdfWindowHost.h"
#include "settings/Settings.h"
#include "support/TestSupport.h"

namespace {

class QuietPage : public QWidget, public IDevicePage {
public:
    explicit QuietPage(QWidget* parent) : QWidget(parent) {}
    QWidget* PageWidget() override { return this; }
    LinkState PageLinkState() const override { return LinkState::Disconnected; }
    void DeviceCommand(int) override {}
    void DeviceChanged() override {}
    void SetDeviceIndex(int) override {}
    void ShowGraphWindow(const QString&, bool) override {}
};

// The running program is this test's window, set up as the program sets itself up; the
// second start is the real program.
TEST(FileHandoff, ASecondStartWithARecordingHandsItToTheRunningWindowAndEnds) {
    QTemporaryDir dir;
    ScopedEnv config("XDG_CONFIG_HOME", dir.filePath("config"));
    const QString runtime = dir.filePath("run");
    QDir().mkpath(runtime);
    CAppCore app;  // the recorded-data window reads its settings through it
    const QString recording = dir.filePath("Записи/REC0001.RDF");
    ASSERT_TRUE(WriteFileBytes(recording, RdfBytes(RdfFields(7), {{0, 1000, {}}, {0, 2000, {}}})));

    CSingleInstance instance;
    ASSERT_TRUE(instance.Acquire(runtime));
    CInstanceChannel channel;
    ASSERT_TRUE(channel.Listen(runtime));
    CSettings settings;
    CTRV730DataAnalysisDlg window(settings,
                                  [](QWidget* parent, CSettings&, int) { return new QuietPage(parent); });
    window.show();
    CFileHandoff handoff(channel, window);

    QProcess second;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_CONFIG_HOME", dir.filePath("config"));
    env.insert("XDG_RUNTIME_DIR", runtime);
    env.insert("QT_QPA_PLATFORM", "offscreen");
    second.setProcessEnvironment(env);
    second.setWorkingDirectory(dir.filePath("Записи"));
    second.start(QStringLiteral(TRV730_BIN_DIR "/trv730da"), {"REC0001.RDF"});  // relative to its folder
    ASSERT_TRUE(second.waitForFinished(20000));
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0);

    // The running program shows the recording in its recorded-data window.
    auto shown = [&] {
        const CRdfGraphDlg* rdf = window.RdfWindows()->Window();
        return rdf && !rdf->IsOpening() && rdf->Set().FileCount() == 1;
    };
    QDeadlineTimer deadline(10000);
    while (!shown() && !deadline.hasExpired()) QApplication::processEvents(QEventLoop::AllEvents, 50);
    ASSERT_TRUE(shown());
    EXPECT_TRUE(window.RdfWindows()->Window()->isVisible());
    window.RdfWindows()->Close();
}

TEST(FileHandoff, OnlyExistingRecordingsAndSettingsFilesAreOpened) {
    QTemporaryDir dir;
    ScopedEnv config("XDG_CONFIG_HOME", dir.filePath("config"));
    CSettings settings;
    CTRV730DataAnalysisDlg window(settings,
                                  [](QWidget* parent, CSettings&, int) { return new QuietPage(parent); });
    ASSERT_TRUE(WriteFileBytes(dir.filePath("notes.txt"), "x"));
    ASSERT_TRUE(WriteFileBytes(dir.filePath("station.TRV730"), "[x]"));
    QStringList messages;
    MessageBox::SetHook([&](const MessageBox::Request& r) {
        messages << r.text;
        return QMessageBox::Ok;
    });
    CFileHandoff::Open(window, dir.filePath("notes.txt"));
    CFileHandoff::Open(window, dir.filePath("gone.RDF"));
    EXPECT_EQ(window.RdfWindows()->Window(), nullptr);
    EXPECT_EQ(window.findChild<CSetDeviceDlg*>(), nullptr);
    // A settings file opens the settings window, which says what it could not read.
    CFileHandoff::Open(window, dir.filePath("station.TRV730"));
    EXPECT_NE(window.findChild<CSetDeviceDlg*>(), nullptr);
    EXPECT_EQ(messages.size(), 1);
    EndSettingsWindows(&window);
    MessageBox::SetHook({});
}

}  // namespace
