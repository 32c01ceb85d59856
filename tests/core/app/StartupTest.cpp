#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>
#include <utility>
#include <vector>

#include "app/AppCore.h"
#include "support/TestSupport.h"

namespace {

class RecordedMessages : public IStartupMessages {
public:
    std::vector<std::pair<QString, QString>> shown;
    void ShowStartupError(const QString& caption, const QString& text) override { shown.emplace_back(caption, text); }
};

class Startup : public ::testing::Test {
protected:
    QTemporaryDir dir;
    ScopedEnv config{"XDG_CONFIG_HOME", dir.filePath("config")};
    RecordedMessages messages;
    StartupPaths paths() {
        StartupPaths p;
        p.lockDir = dir.filePath("run");
        QDir().mkpath(p.lockDir);
        p.languageFile = dir.filePath("language.dat");
        return p;
    }
    QString settingsPath() const { return dir.filePath("config/Tamsin-Grid/TRV-730/settings.bin"); }
};

TEST_F(Startup, FirstStartCreatesTheDefaultSettingsAfterOneMessage) {
    ASSERT_TRUE(WriteFileBytes(dir.filePath("language.dat"), "[language]\nLNG_MAIN_TITLE=Analysis\n"));
    CAppCore app;
    EXPECT_EQ(app.Start({"prog"}, paths(), messages), StartupStatus::Run);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].first, "ERROR");
    EXPECT_EQ(messages.shown[0].second, "Can not load 'settings.bin' file\nSettings reset to default.");
    EXPECT_EQ(ReadFileBytes(settingsPath()).size(), 1076);
    EXPECT_EQ(app.Settings.DeviceCount(), 1);
    EXPECT_EQ(GetText(LNG_MAIN_TITLE), "Analysis");
}

TEST_F(Startup, UnwritableSettingsEndTheProgramWithAnError) {
    ASSERT_TRUE(WriteFileBytes(dir.filePath("language.dat"), "[language]\n"));
    ASSERT_TRUE(WriteFileBytes(dir.filePath("blocker"), "x"));
    ScopedEnv blocked("XDG_CONFIG_HOME", dir.filePath("blocker"));
    CAppCore app;
    const StartupStatus status = app.Start({"prog"}, paths(), messages);
    EXPECT_EQ(status, StartupStatus::SettingsUnwritable);
    EXPECT_NE(CAppCore::ExitStatus(status), 0);
    ASSERT_EQ(messages.shown.size(), 2u);
    EXPECT_EQ(messages.shown[1].second, "Can not create 'settings.bin' file\nProgram terminated.");
}

TEST_F(Startup, MissingLanguageFileEndsTheProgramAfterTheSettingsWereMade) {
    CAppCore app;
    const StartupStatus status = app.Start({"prog"}, paths(), messages);
    EXPECT_EQ(status, StartupStatus::LanguageMissing);
    EXPECT_NE(CAppCore::ExitStatus(status), 0);
    ASSERT_FALSE(messages.shown.empty());
    EXPECT_EQ(messages.shown.back().first, "ERROR");
    EXPECT_EQ(messages.shown.back().second, "Can not load language file\nProgram terminated.");
    EXPECT_EQ(ReadFileBytes(settingsPath()).size(), 1076);
}

TEST_F(Startup, ASecondInstanceEndsSilently) {
    ASSERT_TRUE(WriteFileBytes(dir.filePath("language.dat"), "[language]\n"));
    CSingleInstance first;
    ASSERT_TRUE(first.Acquire(paths().lockDir));
    CAppCore app;
    const StartupStatus status = app.Start({"prog"}, paths(), messages);
    EXPECT_EQ(status, StartupStatus::SecondInstance);
    EXPECT_EQ(CAppCore::ExitStatus(status), 0);
    EXPECT_TRUE(messages.shown.empty());
    first.Release();
    CSingleInstance again;
    EXPECT_TRUE(again.Acquire(paths().lockDir));
}

TEST_F(Startup, ASecondStartWithAFileHandsItToTheRunningInstance) {
    const QString recording = dir.filePath("REC 7.RDF");
    ASSERT_TRUE(WriteFileBytes(recording, "RDF"));
    CSingleInstance running;
    ASSERT_TRUE(running.Acquire(paths().lockDir));
    CInstanceChannel runningChannel;
    ASSERT_TRUE(runningChannel.Listen(paths().lockDir));

    CAppCore app;
    EXPECT_EQ(app.Start({"prog", recording}, paths(), messages), StartupStatus::SecondInstance);
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(runningChannel.Receive(1000), QStringList({recording}));
}

TEST_F(Startup, ARunningInstanceListensForLaterStarts) {
    ASSERT_TRUE(WriteFileBytes(dir.filePath("language.dat"), "[language]\n"));
    CAppCore app;
    ASSERT_EQ(app.Start({"prog"}, paths(), messages), StartupStatus::Run);
    ASSERT_TRUE(CInstanceChannel::Send(paths().lockDir, dir.filePath("x.trv730"), 1000));
    EXPECT_EQ(app.Channel().Receive(1000), QStringList({dir.filePath("x.trv730")}));
}

TEST_F(Startup, OnlyAnExistingRdfOrTrv730FileIsKeptFromTheCommandLine) {
    ASSERT_TRUE(WriteFileBytes(dir.filePath("a.rdf"), "x"));
    ASSERT_TRUE(WriteFileBytes(dir.filePath("b.TrV730"), "x"));
    ASSERT_TRUE(WriteFileBytes(dir.filePath("c.txt"), "x"));
    ASSERT_TRUE(WriteFileBytes(dir.filePath("rdf"), "x"));
    struct Case {
        QString arg;
        bool rdf;
        bool settings;
    } cases[] = {
        {dir.filePath("a.rdf"), true, false},      {dir.filePath("b.TrV730"), false, true},
        {dir.filePath("c.txt"), false, false},     {dir.filePath("missing.RDF"), false, false},
        {dir.filePath("rdf"), false, false},       {"", false, false},
    };
    for (const Case& c : cases) {
        QString rdf, settings;
        CAppCore::ParseArguments({"prog", c.arg}, rdf, settings);
        EXPECT_EQ(!rdf.isEmpty(), c.rdf) << c.arg.toStdString();
        EXPECT_EQ(!settings.isEmpty(), c.settings) << c.arg.toStdString();
    }
    QString rdf, settings;
    CAppCore::ParseArguments({"prog"}, rdf, settings);
    EXPECT_TRUE(rdf.isEmpty() && settings.isEmpty());
}

}  // namespace
