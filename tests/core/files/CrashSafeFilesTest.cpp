// Files the program writes survive a crash at any moment and a full disk: the file under
// its name is always a complete old or a complete new one. A child process writes the file
// over and over and is killed with SIGKILL at a random moment; a file size limit stands in
// for a full disk.

#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>
#include <csignal>
#include <functional>
#include <random>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include "../devsettings/DevSettingsLanguage.h"
#include "../rdf/RdfFixtures.h"
#include "devsettings/ParameterTable.h"
#include "devsettings/SettingsFile.h"
#include "language/Language.h"
#include "rdf/CsvExport.h"
#include "rdf/RecordingSet.h"
#include "settings/Settings.h"
#include "support/TestSupport.h"

namespace {

// Runs write(round) in a child until it is killed at a random moment, a few hundred
// times; after each kill the file must be one of the complete versions (or absent where
// no file was there before the round).
void KillWhileWriting(const QString& path, const std::vector<QByteArray>& versions,
                      const std::function<void(int)>& write, int rounds, int maxDelayUs) {
    std::mt19937 random(20261211);
    std::uniform_int_distribution<int> delay(0, maxDelayUs);
    int found[2] = {0, 0};  // rounds that ended with no file, with a complete one
    for (int round = 0; round < rounds; ++round) {
        if (round % 4 == 0) QFile::remove(path);
        const bool existed = QFileInfo::exists(path);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            for (int i = 0;; ++i) write(i);
        }
        ::usleep(useconds_t(delay(random)));
        ::kill(child, SIGKILL);
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the writer ended by itself";

        if (!QFileInfo::exists(path)) {
            ASSERT_FALSE(existed) << "round " << round << ": the old file vanished";
            ++found[0];
            continue;
        }
        const QByteArray bytes = ReadFileBytes(path);
        ASSERT_TRUE(std::find(versions.begin(), versions.end(), bytes) != versions.end())
            << "round " << round << ": a file of " << bytes.size() << " bytes is neither version";
        ++found[1];
    }
    EXPECT_GT(found[1], 0);
}

// Runs write() in a child whose files may not grow beyond limitBytes; returns its exit code.
int WithFileSizeLimit(rlim_t limitBytes, const std::function<int()>& write) {
    const pid_t child = ::fork();
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);  // a write past the limit fails with EFBIG instead
        const rlimit limit{limitBytes, limitBytes};
        if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) ::_exit(90);
        ::_exit(write());
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 99;
}

class SettingsFileSafety : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString path = dir.path() + QStringLiteral("/TRV-730/settings.bin");
};

TEST_F(SettingsFileSafety, AKilledSaveLeavesTheOldOrTheNewFile) {
    CSettings a, b;
    a.Devices[0].Port = 1001;
    b.Devices[0].Port = 2002;
    b.Devices[1].SetName(QStringLiteral("second"));
    ASSERT_TRUE(a.SaveTo(path));
    KillWhileWriting(path, {a.ToBytes(), b.ToBytes()}, [&](int i) { (i % 2 ? b : a).SaveTo(path); }, 300, 3000);
}

TEST_F(SettingsFileSafety, AFullDiskFailsTheSaveAndKeepsTheOldFile) {
    CSettings old;
    old.Devices[0].Port = 1234;
    ASSERT_TRUE(old.SaveTo(path));
    CSettings next;
    next.Devices[0].Port = 4321;
    EXPECT_EQ(WithFileSizeLimit(100, [&] { return next.SaveTo(path) ? 1 : 0; }), 0);
    EXPECT_EQ(ReadFileBytes(path), old.ToBytes());
}

class CsvFileSafety : public ::testing::Test {
protected:
    void SetUp() override {
        UseKeyNameLanguage();
        table = CQuantityTable::Build();
        std::vector<RdfRec> records;
        for (int i = 0; i < 4000; ++i) records.push_back({std::uint8_t(i % 50 == 0 ? 2 : 0), 1000LL * i, {i, -i, 7 * i}});
        auto f = std::make_unique<CFileRdf>();
        ASSERT_TRUE(f->Open(scratch.Write(QStringLiteral("a.RDF"), RdfBytes(RdfFields(1, {0x00000001, 0x01000001, 0x00000005}), records))));
        ASSERT_EQ(set.Add(std::move(f)), RdfAddResult::Added);
    }
    // The two exports the child alternates between: the whole file and its first half.
    static constexpr TimeRange kViews[2] = {{0, 4000000}, {0, 2000000}};
    QByteArray Reference(int view) {
        const QString p = scratch.Path(QStringLiteral("ref%1.csv").arg(view));
        EXPECT_TRUE(ExportCsv(set, kViews[view], table, p).ok);
        return ReadFileBytes(p);
    }

    RdfScratch scratch;
    CRecordingSet set;
    CQuantityTable table;
};

TEST_F(CsvFileSafety, AKilledExportLeavesTheOldOrTheNewFile) {
    const std::vector<QByteArray> versions = {Reference(0), Reference(1)};
    ASSERT_NE(versions[0], versions[1]);
    const QString path = scratch.Path(QStringLiteral("export.csv"));
    ASSERT_TRUE(WriteFileBytes(path, versions[0]));
    KillWhileWriting(path, versions, [&](int i) { ExportCsv(set, kViews[i % 2], table, path); }, 200, 20000);
}

TEST_F(CsvFileSafety, AFullDiskGivesAnErrorAndKeepsTheOldFile) {
    const QString path = scratch.Path(QStringLiteral("export.csv"));
    const QByteArray old = "an earlier export\r\n";
    ASSERT_TRUE(WriteFileBytes(path, old));
    const int code = WithFileSizeLimit(4096, [&] {
        const CsvExportResult r = ExportCsv(set, kViews[0], table, path);
        if (r.ok) return 1;
        return r.error.isEmpty() ? 2 : 0;
    });
    EXPECT_EQ(code, 0) << "1: the export claimed success, 2: it failed without saying why";
    EXPECT_EQ(ReadFileBytes(path), old);
}

// A device settings file (.trv730); its full-disk case is among the settings file's own tests.
class DeviceSettingsFileSafety : public ::testing::Test {
protected:
    void SetUp() override {
        UseDevSettingsLanguage();
        a.BuildParameterTable();
        b.BuildParameterTable();
        b.FindByAddress(2146)->SetValue(1502);
        b.FindByAddress(2148)->SetText(QStringLiteral("other"));
    }
    const QDateTime time{QDate(2026, 12, 11), QTime(8, 0, 0)};
    QTemporaryDir dir;
    CParameterTable a, b;
};

TEST_F(DeviceSettingsFileSafety, AKilledSaveLeavesTheOldOrTheNewFile) {
    const QString path = dir.path() + QStringLiteral("/device.trv730");
    const std::vector<QByteArray> versions = {SettingsFile::Build(a, time), SettingsFile::Build(b, time)};
    ASSERT_NE(versions[0], versions[1]);
    ASSERT_TRUE(SettingsFile::Save(a, path, time));
    ASSERT_EQ(ReadFileBytes(path), versions[0]);
    KillWhileWriting(path, versions, [&](int i) { SettingsFile::Save(i % 2 ? b : a, path, time); }, 300, 3000);
}

}  // namespace
