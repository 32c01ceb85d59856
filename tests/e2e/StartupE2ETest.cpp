#include <gtest/gtest.h>

#include <QDir>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <QThread>

#include "app/SingleInstance.h"
#include "settings/Settings.h"
#include "support/TestSupport.h"

namespace {

// Runs the real program, offscreen, with its own configuration and runtime folders.
class Program : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QProcessEnvironment env() const {
        QProcessEnvironment e = QProcessEnvironment::systemEnvironment();
        e.insert("XDG_CONFIG_HOME", dir.filePath("config"));
        e.insert("XDG_RUNTIME_DIR", dir.filePath("run"));
        e.insert("QT_QPA_PLATFORM", "offscreen");
        return e;
    }
    void SetUp() override { QDir().mkpath(dir.filePath("run")); }
    QString program() const { return QStringLiteral(TRV730_BIN_DIR "/trv730da"); }
};

TEST_F(Program, ASecondStartWhileTheFirstRunsEndsAtOnce) {
    CSettings stored;
    ASSERT_TRUE(stored.SaveTo(dir.filePath("config/Tamsin-Grid/TRV-730/settings.bin")));

    QProcess first;
    first.setProcessEnvironment(env());
    first.start(program(), {});
    ASSERT_TRUE(first.waitForStarted(10000));
    // Wait until the first instance holds the lock.
    bool held = false;
    for (int i = 0; i < 400 && !held; ++i) {
        CSingleInstance probe;
        held = !probe.Acquire(dir.filePath("run"));
        if (!held) {
            probe.Release();
            QThread::msleep(25);
        }
    }
    ASSERT_TRUE(held);

    QProcess second;
    second.setProcessEnvironment(env());
    second.start(program(), {});
    ASSERT_TRUE(second.waitForFinished(10000));
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0);

    EXPECT_EQ(first.state(), QProcess::Running);
    first.kill();
    first.waitForFinished(10000);
}

}  // namespace
