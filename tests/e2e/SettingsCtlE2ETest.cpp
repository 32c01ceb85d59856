#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <memory>

#include "SimServer.h"
#include "device/DeviceInterface.h"
#include "device/ModbusTCP.h"
#include "devsettings/ParameterTable.h"
#include "devsettings/RegisterCodec.h"
#include "devsettings/SettingsFile.h"

namespace DI = DeviceInterface;

namespace {

// trv730ctl settings and clock, run as a program, against a simulated device in this process.
class SettingsCtlE2E : public ::testing::Test {
  protected:
    struct Run {
        int exitCode;
        QString out, err;
    };
    static Run Exec(const QStringList& args) {
        QProcess p;
        p.start(QStringLiteral(TRV730_BIN_DIR "/trv730ctl"), args);
        EXPECT_TRUE(p.waitForFinished(60000));
        return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
                QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
    }
    void StartSim(const SimFaults& faults = {}) {
        SimConfig config;
        config.address = "127.0.0.1";
        config.port = 0;
        config.faults = faults;
        sim = std::make_unique<CSimServer>(config);
        std::string error;
        ASSERT_TRUE(sim->Start(&error)) << error;
        where = QStringLiteral("127.0.0.1:%1").arg(sim->Port());
    }
    void TearDown() override {
        if (sim)
            sim->Stop();
    }
    QString Path(const char* name) const { return QDir(dir.path()).filePath(name); }
    // Every row of the table against the simulator's registers, as a device read would see them.
    void ExpectSimHolds(const CParameterTable& table) {
        for (const CMyProperty* row : table.Rows()) {
            uint16_t words[RegisterCodec::kMaxWords] = {};
            RegisterCodec::Encode(*row, words);
            for (int i = 0; i < row->Binding().count; ++i)
                EXPECT_EQ(sim->Device().Register(uint16_t(row->Binding().address + i)), words[i])
                    << row->Binding().address << '+' << i;
        }
    }
    // A file of factory settings with a few changes: one early row, the refused/kept row,
    // one later row and a recording setting.
    QString ChangedFile() {
        CParameterTable table;
        table.BuildParameterTable();
        table.FindByAddress(2000)->SetValue(55);
        table.FindByAddress(2146)->SetValue(1502);
        table.FindByAddress(2165)->SetValue(8080);
        table.FindByAddress(2113)->SetValue(250);
        table.FindByAddress(2073)->SetValue(0x00000001);
        table.FindByAddress(2148)->SetText("vexor");
        const QString path = Path("changed.trv730");
        EXPECT_TRUE(SettingsFile::Save(table, path, QDateTime::currentDateTime()));
        return path;
    }
    std::unique_ptr<CSimServer> sim;
    QString where;
    QTemporaryDir dir;
};

TEST_F(SettingsCtlE2E, ReadGivesTheSimulatorsBlockAndDiffsEqualWithIt) {
    StartSim();
    sim->Device().SetRegister(2146, 50000);
    sim->Device().SetRegister32(2073, 0x00010009);
    sim->Device().SetRegister32(2062, 0x00010009);  // event 1 on the frequency, threshold 49.90 Hz
    sim->Device().SetRegister32(2032, 4990);
    sim->Device().SetRegister32(2042, 4800);
    const QString file = Path("device.TRV730");
    const Run r = Exec({"settings", "read", where, "-o", file});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();

    CParameterTable table;
    table.BuildParameterTable();
    ASSERT_TRUE(SettingsFile::Load(table, file));
    EXPECT_EQ(table.FindByAddress(2146)->Value(), 50000);
    EXPECT_EQ(table.FindByAddress(2032)->Value(), 4990);
    ExpectSimHolds(table);

    const Run same = Exec({"settings", "diff", where, file});
    EXPECT_EQ(same.exitCode, 0) << same.out.toStdString() << same.err.toStdString();
    const Run defaults = Exec({"settings", "defaults", "-o", Path("factory.trv730")});
    ASSERT_EQ(defaults.exitCode, 0) << defaults.err.toStdString();
    const Run differ = Exec({"settings", "diff", Path("factory.trv730"), where});
    EXPECT_EQ(differ.exitCode, 1);
    EXPECT_EQ(differ.out.count(u'\n'), 5)
        << differ.out.toStdString();  // port, source, event source, thresholds
    EXPECT_TRUE(differ.out.contains("(5:1:2146): 502 | 50000")) << differ.out.toStdString();

    const Run json = Exec({"settings", "show", where, "--json"});
    ASSERT_EQ(json.exitCode, 0) << json.err.toStdString();
    const QJsonArray groups = QJsonDocument::fromJson(json.out.toUtf8()).object().value("groups").toArray();
    ASSERT_EQ(groups.size(), 20);
    int rows = 0;
    for (const QJsonValue& g : groups)
        rows += g.toObject().value("rows").toArray().size();
    EXPECT_EQ(rows, 126);
    const QJsonObject threshold = groups[2].toObject().value("rows").toArray()[6].toObject();
    EXPECT_EQ(threshold.value("key").toString(), "6:2:2032");
    EXPECT_EQ(threshold.value("value").toString(), "49.90");
}

TEST_F(SettingsCtlE2E, WriteLandsInTheDeviceAndIsApplied) {
    StartSim();
    const QString file = ChangedFile();
    const Run refused = Exec({"settings", "write", where, file});  // no terminal to ask, no --yes
    EXPECT_NE(refused.exitCode, 0);
    EXPECT_TRUE(refused.err.contains("--yes")) << refused.err.toStdString();
    EXPECT_EQ(sim->Device().Register(2146), 502);

    const Run r = Exec({"settings", "write", where, file, "--yes"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.out.count(" -> "), 5) << r.out.toStdString();  // the rows the file changes
    CParameterTable table;
    table.BuildParameterTable();
    ASSERT_TRUE(SettingsFile::Load(table, file));
    ExpectSimHolds(table);
    EXPECT_EQ(sim->Device().ApplyCount(), 1);
    EXPECT_EQ(sim->Device().AppliedRegister(2114), 250);  // the recorder now works with the new period
    EXPECT_EQ(sim->Device().AppliedRegister(2074), 1);
}

TEST_F(SettingsCtlE2E, ARefusedBlockStopsTheWriteBeforeTheApplyCommand) {
    SimFaults faults;
    faults.refuseWrites.push_back({2146, 2146, 4});
    StartSim(faults);
    const Run r = Exec({"settings", "write", where, ChangedFile(), "--yes"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains("addr:2146 len:1")) << r.err.toStdString();
    EXPECT_EQ(r.err.count(u'\n'), 1);
    EXPECT_EQ(sim->Device().Register(2000), 55);   // written before the refused block
    EXPECT_EQ(sim->Device().Register(2146), 502);  // refused
    EXPECT_EQ(sim->Device().Register(2165), 80);   // never reached
    EXPECT_EQ(sim->Device().ApplyCount(), 0);
    EXPECT_EQ(sim->Device().AppliedRegister(2000), 0);
}

TEST_F(SettingsCtlE2E, TheReadBackNamesARowTheDeviceDidNotKeep) {
    SimFaults faults;
    faults.keepOldWrites.push_back({2146, 2146, 1});
    StartSim(faults);
    const Run r = Exec({"settings", "write", where, ChangedFile(), "--yes"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains("registers 2146:1): wrote 1502, the device holds 502")) << r.err.toStdString();
    EXPECT_EQ(r.err.count(u'\n'), 1) << r.err.toStdString();
    EXPECT_EQ(sim->Device().Register(2165), 8080);
}

TEST_F(SettingsCtlE2E, ClockSetsTheSimulatedClock) {
    StartSim();
    sim->Device().SetClock(1000, std::chrono::system_clock::now());
    const Run r = Exec({"clock", where});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.startsWith("device clock set to ")) << r.out.toStdString();
    sim->Device().Tick(std::chrono::system_clock::now());
    const int64_t now = CSimDevice::DeviceSeconds(std::chrono::system_clock::now());
    EXPECT_NEAR(double(sim->Device().Register32(DI::kRegClock)), double(now), 3.0);
}

TEST_F(SettingsCtlE2E, FailuresAreOneLineAndLeaveNoFile) {
    StartSim();
    static const char kJunk[] = "\x00\xFF garbage\n[Settings]\n5:1:2146=1\n";
    const auto put = [&](const char* name, const QByteArray& bytes) {
        QFile f(Path(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    };
    put("junk.trv730", QByteArray(kJunk, sizeof kJunk - 1));
    put("gap.trv730", "[Settings]\r\n5:1:2146=1\r\n");
    put("info.trv730", "[Information]\r\nVersion=2.4\r\n");
    const QString closed = QStringLiteral("127.0.0.1:1");
    struct Case {
        const char* what;
        QStringList args;
        int exitCode;
        const char* message;
    } cases[] = {
        {"not a settings file", {"settings", "show", Path("junk.trv730")}, 1, "lacks the key"},
        {"missing key",
         {"settings", "write", where, Path("gap.trv730"), "--yes"},
         1,
         "lacks the key 6:0:2000"},
        {"missing file", {"settings", "show", Path("none.trv730")}, 1, "cannot read"},
        {"no settings section", {"settings", "show", Path("info.trv730")}, 1, "is not a settings file"},
        {"diff with a missing file", {"settings", "diff", Path("none.trv730"), where}, 2, "cannot read"},
        {"unreachable device",
         {"settings", "read", closed, "-o", Path("out.trv730")},
         1,
         "connection refused"},
        {"login refused",
         {"settings", "read", where, "--password", "nope", "-o", Path("out.trv730")},
         1,
         "password"},
        {"output not a settings file",
         {"settings", "read", where, "-o", Path("out.txt")},
         2,
         "-o FILE.trv730"},
        {"unknown subcommand", {"settings", "explode"}, 2, "unknown command"},
        {"clock without device", {"clock"}, 2, "device address"},
    };
    for (const Case& c : cases) {
        const Run r = Exec(c.args);
        EXPECT_EQ(r.exitCode, c.exitCode) << c.what << ": " << r.err.toStdString();
        EXPECT_TRUE(r.err.contains(QLatin1String(c.message))) << c.what << ": " << r.err.toStdString();
        EXPECT_EQ(r.err.count(u'\n'), 1) << c.what << ": " << r.err.toStdString();
    }
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files),
              (QStringList{"gap.trv730", "info.trv730", "junk.trv730"}));
    EXPECT_EQ(sim->Device().Register(2146), 502);
}

}  // namespace
