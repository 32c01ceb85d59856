// The simulator's memory card: recorded-data files written while the device records,
// read back with the program's own reader and command line tool.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <chrono>
#include <thread>
#include <vector>

#include "ScriptedPeer.h"
#include "SimRecorder.h"
#include "SimServer.h"
#include "device/DeviceInterface.h"
#include "device/ModbusTCP.h"
#include "rdf/FileRdf.h"
#include "support/TestSupport.h"

namespace {

namespace DI = DeviceInterface;
using namespace std::chrono_literals;
using Time = CSimDevice::Time;

const Time kRecordingT0 = Time{} + std::chrono::hours(24 * 365 * 50);
const SourceCode kVoltage1 = MakeSourceCode(0, 0, QK_VOLTAGE_RMS);   // ~230.0 V, raw ~2300
const SourceCode kCurrent1 = MakeSourceCode(3, 0, QK_CURRENT_RMS);   // ~3.9 A, raw ~390
const SourceCode kTemperature = MakeSourceCode(7, 0, QK_TEMPERATURE);  // ~23.4 degrees, raw ~234

// A device with a card and three recording sources in slots 0, 1 and 3 (slot 2 unused).
class Card : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        device.SetRegister32(DI::kRegRecordSources + 0, kVoltage1);
        device.SetRegister32(DI::kRegRecordSources + 2, kCurrent1);
        device.SetRegister32(DI::kRegRecordSources + 6, kTemperature);
        recorder.Attach(device);
    }
    void TearDown() override { device.SetTickHook({}); }

    // Ticks every 100 ms from `from` (exclusive) to `to` (inclusive), as the server does.
    void Run(Time from, Time to) {
        for (Time t = from + 100ms; t <= to; t += 100ms) device.Tick(t);
    }
    QString Path(uint16_t number) const {
        return dir.filePath(QString::fromStdString(CSimRecorder::FileName(number)));
    }
    uint16_t FileNumber() const { return device.Register(DI::kRegFileNumber); }

    QTemporaryDir dir;
    CSimDevice device{kRecordingT0};
    CSimRecorder recorder{dir.path().toStdString()};
};

TEST_F(Card, RecordsTheSourcesAtThePeriodIntoTheNumberedFileAndClosesItOnStop) {
    device.SetRegister32(DI::kRegRecordPeriod, 250);
    const uint32_t freeBefore = device.Register32(DI::kRegCardFree);
    device.SetRecording(true, kRecordingT0);
    Run(kRecordingT0, kRecordingT0 + 5s);
    ASSERT_EQ(FileNumber(), 42);  // the device's next number after 41

    // Readable while the recording goes on: the writer flushes as it catches up.
    recorder.WaitWritten();
    CFileRdf partial;
    ASSERT_TRUE(partial.Open(Path(42))) << RdfOpenErrorText(partial.LastError());
    EXPECT_EQ(partial.RecordCount(), 20u);  // ticks 0.1 s .. 5.0 s: 0, 250, ..., 4750 ms after the first

    Run(kRecordingT0 + 5s, kRecordingT0 + 10s);
    device.SetRecording(false, kRecordingT0 + 10050ms);
    device.Tick(kRecordingT0 + 10100ms);
    recorder.WaitWritten();
    device.Tick(kRecordingT0 + 10200ms);  // no more records once stopped

    CFileRdf file;
    ASSERT_TRUE(file.Open(Path(42))) << RdfOpenErrorText(file.LastError());
    ASSERT_EQ(file.RecordCount(), 40u);
    EXPECT_EQ(file.EventCount(), 0u);
    EXPECT_EQ(QFileInfo(Path(42)).size(), kRdfHeaderSize + 40 * kRdfRecordSize);
    EXPECT_EQ(device.Register32(DI::kRegFileSize), uint32_t(kRdfHeaderSize + 40 * kRdfRecordSize));
    EXPECT_EQ(freeBefore - device.Register32(DI::kRegCardFree), 8u);  // 3624 bytes in 512-byte sectors

    const RdfHeader& header = *file.Header();
    EXPECT_EQ(header.Firmware(), device.Register(DI::kRegFirmware));
    EXPECT_EQ(header.DeviceId()[0], DI::kDeviceType);
    const SourceCode expectedSlots[4] = {kVoltage1, kCurrent1, kNoSource, kTemperature};
    for (int i = 0; i < kRdfSlotCount; ++i) EXPECT_EQ(file.SourceOfSlot(i), i < 4 ? expectedSlots[i] : kNoSource) << i;

    const int64_t start = file.FirstTime();
    EXPECT_EQ(start / 1000, int64_t{device.Register32(DI::kRegClock)} - 10);
    for (uint32_t r = 0; r < file.RecordCount(); ++r) {
        const RdfRecord& record = file.Records()[r];
        EXPECT_EQ(record.kind, 0);
        EXPECT_EQ(record.TimeMs(), start + 250 * int64_t(r)) << r;
        EXPECT_NEAR(record.values[0], 2300, 60) << r;
        EXPECT_NEAR(record.values[1], 390, 60) << r;
        EXPECT_EQ(record.values[2], 0) << r;
        EXPECT_NEAR(record.values[3], 234, 10) << r;
    }
}

TEST_F(Card, ThresholdsWriteEventRecordsWhenTheyTripAndClearAndCountAsEvents) {
    struct Case {
        uint16_t eventRecording;
        std::vector<uint8_t> eventKinds;
    };
    // Event 1: voltage above 0 V for 500 ms; event 2: temperature below 100 degrees for 10 ms.
    // Both hold from the first tick, so event 2 trips one tick later and event 1 five ticks
    // later; raising both limits out of reach clears them together.
    const Case cases[] = {{1, {0x04, 0x06, 0x01}}, {0, {}}};
    uint16_t number = 42;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.eventRecording);
        device.SetRegister(2118, c.eventRecording);
        device.SetRegister32(2062, kVoltage1);
        device.SetRegister(2022, 1);
        device.SetRegister32(2032, 0);
        device.SetRegister(2052, 500);
        device.SetRegister32(2064, kTemperature);
        device.SetRegister(2028, 1);
        device.SetRegister32(2044, 1000);
        device.SetRegister(2058, 10);
        const uint32_t eventsBefore = device.Register32(DI::kRegEventCount);
        const Time start = kRecordingT0 + std::chrono::minutes(number);
        device.SetRecording(true, start);
        Run(start, start + 2s);
        device.SetRegister32(2032, 100000);
        device.SetRegister32(2044, 0);
        Run(start + 2s, start + 3s);
        device.SetRecording(false, start + 3s);
        device.Tick(start + 3100ms);
        recorder.WaitWritten();

        ASSERT_EQ(FileNumber(), number);
        CFileRdf file;
        ASSERT_TRUE(file.Open(Path(number)));
        std::vector<uint8_t> kinds;
        std::vector<int64_t> times;
        std::vector<uint8_t> which;
        for (uint32_t r = 0; r < file.RecordCount(); ++r) {
            if (file.Records()[r].IsEvent()) {
                kinds.push_back(file.Records()[r].kind);
                times.push_back(file.Records()[r].TimeMs() - file.FirstTime());
                which.push_back(file.Records()[r].reserved);
            }
        }
        EXPECT_EQ(kinds, c.eventKinds);
        if (!c.eventKinds.empty()) {
            EXPECT_EQ(times, (std::vector<int64_t>{100, 500, 2000}));
            EXPECT_EQ(which, (std::vector<uint8_t>{0b10, 0b11, 0}));
            EXPECT_EQ(file.EventCount(), 1u);  // one condition, begun once
            EXPECT_NEAR(file.Records()[1].values[3], 234, 10);  // an event carries the values too
        }
        EXPECT_EQ(device.Register32(DI::kRegEventCount) - eventsBefore, 2u + 2u);  // + start and stop
        number = static_cast<uint16_t>(number + 1);
    }
}

TEST_F(Card, FullFilesAreFollowedByTheNextWithRisingKeysAndNoFileIsOverwritten) {
    ASSERT_TRUE(WriteFileBytes(Path(42), "recorded before"));
    device.SetRegister32(DI::kRegRecordPeriod, 100);
    device.SetRegister32(DI::kRegFileLimit, kRdfHeaderSize + 10 * kRdfRecordSize);
    device.SetRecording(true, kRecordingT0);
    Run(kRecordingT0, kRecordingT0 + 2s);
    // Another source makes another header: the file changes with it.
    device.SetRegister32(DI::kRegRecordSources + 2, kNoSource);
    Run(kRecordingT0 + 2s, kRecordingT0 + 3100ms);
    device.SetRecording(false, kRecordingT0 + 3150ms);
    device.Tick(kRecordingT0 + 3200ms);
    recorder.WaitWritten();

    EXPECT_EQ(ReadFileBytes(Path(42)), QByteArray("recorded before"));
    // 20 records with three sources (files 43, 44), then 11 with two (files 45, 46).
    const std::pair<uint16_t, uint32_t> expected[] = {{43, 10}, {44, 10}, {45, 10}, {46, 1}};
    EXPECT_EQ(FileNumber(), 46);
    EXPECT_FALSE(QFile::exists(Path(47)));
    uint64_t lastKey = 0;
    int64_t lastTime = -1;
    for (const auto& [number, records] : expected) {
        SCOPED_TRACE(number);
        CFileRdf file;
        ASSERT_TRUE(file.Open(Path(number)));
        EXPECT_EQ(file.RecordCount(), records);
        EXPECT_EQ(file.SourceOfSlot(1), number < 45 ? kCurrent1 : kNoSource);
        EXPECT_GT(file.OrderingKey(), lastKey);
        EXPECT_EQ(file.FirstTime(), lastTime < 0 ? file.FirstTime() : lastTime + 100);
        lastKey = file.OrderingKey();
        lastTime = file.LastTime();
    }
}

// Runs a built tool and gives its exit code and standard output.
std::pair<int, QString> RunTool(const QString& name, const QStringList& args) {
    QProcess process;
    process.start(QStringLiteral(TRV730_BIN_DIR "/") + name, args);
    if (!process.waitForFinished(60000)) return {-1, {}};
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAllStandardOutput()) + QString::fromUtf8(process.readAllStandardError())};
}

TEST(SimulatorCard, ARecordingStartedOverModbusGivesFilesTheToolReadsAndExports) {
    QTemporaryDir dir;
    SimConfig config;
    config.port = 0;
    config.cardDir = dir.filePath("card").toStdString();  // created by the simulator
    CSimServer sim(config);
    std::string error;
    ASSERT_TRUE(sim.Start(&error)) << error;
    sim.Device().SetRegister32(DI::kRegRecordSources, kVoltage1);
    sim.Device().SetRegister32(DI::kRegRecordPeriod, 50);

    CModbusTCP client;
    ASSERT_EQ(client.Connect(kLoopback, sim.Port(), 1), 1);
    uint16_t start = DI::kCmdStartRecording;
    ASSERT_EQ(client.WriteMultipleRegisters(DI::kRegCommand, 1, &start, 1500), 1);
    // Wait (boundedly) until the device reports a few records in its file.
    uint16_t status[DI::kStatusCount] = {};
    for (int i = 0; i < 200; ++i) {
        ASSERT_EQ(client.ReadHoldingRegisters(DI::kStatusFirst, DI::kStatusCount, status, 1500), DI::kStatusCount);
        if (((uint32_t{status[DI::kRegFileSize]} << 16) | status[DI::kRegFileSize + 1]) >=
            uint32_t(kRdfHeaderSize + 5 * kRdfRecordSize))
            break;
        std::this_thread::sleep_for(20ms);
    }
    uint16_t stop = DI::kCmdStopRecording;
    ASSERT_EQ(client.WriteMultipleRegisters(DI::kRegCommand, 1, &stop, 1500), 1);
    client.Close();
    sim.Stop();

    const QString file = QDir(dir.filePath("card")).filePath(QString::asprintf("FILE%.4d.RDF", status[DI::kRegFileNumber]));
    ASSERT_TRUE(QFile::exists(file)) << file.toStdString();
    const auto [infoStatus, info] = RunTool("trv730ctl", {"rdf", "info", file});
    EXPECT_EQ(infoStatus, 0) << info.toStdString();
    EXPECT_TRUE(info.contains("slot  0: 0x00000001")) << info.toStdString();

    const QString csv = dir.filePath("out.csv");
    const auto [exportStatus, output] = RunTool("trv730ctl", {"rdf", "export", "-o", csv, file});
    EXPECT_EQ(exportStatus, 0) << output.toStdString();
    const QList<QByteArray> lines = ReadFileBytes(csv).split('\n');
    EXPECT_GE(lines.size(), 1 + 5 + 1) << "header, records, empty rest after the last CRLF";
}

}  // namespace
