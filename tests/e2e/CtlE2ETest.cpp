#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <functional>
#include <memory>
#include <vector>

#include "SimServer.h"
#include "device/DeviceInterface.h"

namespace DI = DeviceInterface;

namespace {

// trv730ctl, run as a program, against a simulated device in this process.
class CtlE2E : public ::testing::Test {
protected:
    static QString Ctl() { return QStringLiteral(TRV730_BIN_DIR "/trv730ctl"); }
    struct Run {
        int exitCode;
        QString out, err;
    };
    static Run Exec(const QStringList& args) {
        QProcess p;
        p.start(Ctl(), args);
        EXPECT_TRUE(p.waitForFinished(60000));
        return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, QString::fromUtf8(p.readAllStandardOutput()),
                QString::fromUtf8(p.readAllStandardError())};
    }
    void StartSim(SimConfig config = {}) {
        config.address = "127.0.0.1";
        config.port = 0;
        sim = std::make_unique<CSimServer>(config);
        std::string error;
        ASSERT_TRUE(sim->Start(&error)) << error;
        where = QStringLiteral("127.0.0.1:%1").arg(sim->Port());
    }
    void TearDown() override {
        if (sim) sim->Stop();
    }
    std::unique_ptr<CSimServer> sim;
    QString where;
};

TEST_F(CtlE2E, LivePrintsTheSimulatorsValues) {
    StartSim();  // the factory password, which the tool uses unless told otherwise
    const Run r = Exec({"live", where, "--json"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QJsonObject json = QJsonDocument::fromJson(r.out.toUtf8()).object();
    const QJsonObject values = json.value("values").toObject();
    EXPECT_EQ(values.value("firmware").toObject().value("value").toString(), "2.4");
    const QJsonObject voltage = values.value("ch1.voltage").toObject();
    const double volts = voltage.value("value").toString().toDouble();
    const double simVolts = int32_t(sim->Device().Register32(DI::MeasureValueRegister(0, 0))) / 10.0;
    EXPECT_EQ(voltage.value("unitKey").toString(), "LNG_DEVICE_PREFIX_V");
    EXPECT_NEAR(volts, simVolts, simVolts * 0.05);
    const QJsonArray graph = json.value("graph").toArray();
    ASSERT_EQ(graph.size(), 114);
    EXPECT_EQ(graph[0].toArray()[0].toDouble(), double(DI::kMeasureKinds[0][0]));
    EXPECT_EQ(graph[113].toArray()[0].toDouble(), double((18u << 24) | DI::kMeasureKinds[18][5]));

    const Run text = Exec({"live", where});
    ASSERT_EQ(text.exitCode, 0) << text.err.toStdString();
    EXPECT_TRUE(text.out.contains(QRegularExpression("\\nfirmware +2\\.4\\n")));
}

TEST_F(CtlE2E, FailuresGiveAClearMessageAndAnExitStatus) {
    StartSim();
    struct Case {
        const char* what;
        QStringList args;
        int exitCode;
        const char* message;
    } cases[] = {
        {"wrong password", {"live", where, "--password", "nope"}, 1, "refused the password"},
        {"wrong password at identify", {"identify", where, "--password", "nope"}, 1, "refused the password"},
        {"bad address", {"identify", "127.0.0.300"}, 2, "not an IPv4 address"},
        {"unknown command", {"command", where, "explode"}, 2, "unknown command"},
    };
    for (const Case& c : cases) {
        const Run r = Exec(c.args);
        EXPECT_EQ(r.exitCode, c.exitCode) << c.what;
        EXPECT_TRUE(r.err.contains(QLatin1String(c.message))) << c.what << ": " << r.err.toStdString();
    }
    sim->Stop();
    // The port the simulator had is closed now.
    const Run refused = Exec({"identify", where});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_TRUE(refused.err.contains("cannot connect to " + where)) << refused.err.toStdString();
}

TEST_F(CtlE2E, DevicesThatAreNotUsableAreNamedAsSuch) {
    struct Case {
        const char* what;
        std::function<void(SimConfig&)> arrange;
        QStringList args;
        const char* message;
    } cases[] = {
        {"device type 13", [](SimConfig& c) { c.deviceType = 13; }, {"identify"}, "device type 13, expected 14"},
        {"firmware 1.7", [](SimConfig& c) { c.firmware = 0x0107; }, {"identify"}, "firmware 1.7, which is not supported"},
        {"firmware 3.0 at live", [](SimConfig& c) { c.firmware = 0x0300; }, {"live"}, "unsupported firmware"},
        {"command refused",
         [](SimConfig& c) { c.faults.exceptions.push_back({50, 50, 4}); },
         {"command", "", "reset-errors"},
         "refused it with exception code 4"},
    };
    for (const Case& c : cases) {
        SimConfig config;
        c.arrange(config);
        StartSim(config);
        QStringList args = c.args;
        if (args.size() > 1) args[1] = where; else args << where;
        args << "--password" << "vexor";
        const Run r = Exec(args);
        EXPECT_EQ(r.exitCode, 1) << c.what;
        EXPECT_TRUE(r.err.contains(QLatin1String(c.message))) << c.what << ": " << r.err.toStdString();
        sim->Stop();
    }
}

TEST_F(CtlE2E, IdentifyAndCommands) {
    StartSim();
    const Run id = Exec({"identify", where, "--password", "vexor"});
    EXPECT_EQ(id.exitCode, 0) << id.err.toStdString();
    EXPECT_TRUE(id.out.contains("firmware 2.4")) << id.out.toStdString();
    EXPECT_TRUE(id.out.contains("password accepted"));

    const Run start = Exec({"command", where, "start", "--password", "vexor"});
    EXPECT_EQ(start.exitCode, 0) << start.err.toStdString();
    EXPECT_TRUE(sim->Device().Register32(DI::kRegStatusWord) & DI::kStatusRecording);
    const Run stop = Exec({"command", where, "stop", "--password", "vexor"});
    EXPECT_EQ(stop.exitCode, 0) << stop.err.toStdString();
    EXPECT_FALSE(sim->Device().Register32(DI::kRegStatusWord) & DI::kStatusRecording);
}

TEST_F(CtlE2E, HelpDocumentsTheCommands) {
    const Run r = Exec({"--help"});
    EXPECT_EQ(r.exitCode, 0);
    for (const char* word : {"identify", "live", "command"}) EXPECT_TRUE(r.out.contains(QLatin1String(word))) << word;
    struct Case {
        const char* command;
        std::vector<const char*> words;
    } cases[] = {
        {"identify", {"HOST[:PORT]", "--unit", "--password", "Exit status"}},
        {"live", {"--json", "--password", "Exit status"}},
        {"command", {"start|stop|reset-errors|restart", "Exit status"}},
    };
    for (const Case& c : cases) {
        const Run help = Exec({c.command, "--help"});
        EXPECT_EQ(help.exitCode, 0) << c.command;
        for (const char* word : c.words) EXPECT_TRUE(help.out.contains(QLatin1String(word))) << c.command << ' ' << word;
    }
    EXPECT_EQ(Exec({}).exitCode, 2);
}

}  // namespace
