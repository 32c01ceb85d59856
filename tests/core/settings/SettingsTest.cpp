#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstring>
#include <thread>

#include "settings/Settings.h"
#include "support/TestSupport.h"

namespace {

quint32 U32At(const QByteArray& b, int off) {
    const auto* p = reinterpret_cast<const uchar*>(b.constData()) + off;
    return p[0] | (p[1] << 8) | (p[2] << 16) | (quint32(p[3]) << 24);
}

class SettingsFile : public ::testing::Test {
protected:
    QTemporaryDir dir;
    ScopedEnv config{"XDG_CONFIG_HOME", dir.path()};
    QString path() const { return dir.path() + "/Tamsin-Grid/TRV-730/settings.bin"; }
};

TEST_F(SettingsFile, DefaultsHoldOneDeviceAndTheDocumentedColours) {
    CSettings s;
    EXPECT_EQ(s.DeviceCount(), 1);
    EXPECT_EQ(s.Devices[0].NameText(), "192.168.0.105");
    EXPECT_EQ(s.Devices[0].IpAddress, 0xC0A80069u);
    EXPECT_EQ(s.Devices[0].PasswordText(), "vexor");
    EXPECT_EQ(s.Devices[0].Port, 502);
    EXPECT_EQ(s.Devices[0].UnitId, 0);
    EXPECT_EQ(s.SpareSetting, 50);
    EXPECT_EQ(s.WindowBackColor, 0x00D3D3C6u);
    EXPECT_EQ(s.ValueTextColor, 0x00FF6F00u);
    EXPECT_EQ(s.LiveColor[4], 0x00FF9E03u);
    EXPECT_EQ(s.RdfColor[5], 0x00FF8080u);
    EXPECT_EQ(s.LiveSeriesOn[2], 1);
    EXPECT_EQ(s.LiveSeriesOn[3], 0);
}

TEST_F(SettingsFile, SaveThenLoadGivesIdenticalFieldsAndTheExactLayout) {
    CSettings a;
    a.SpareSetting = -7;
    a.Devices[1].SetName(QString::fromUtf8("Подстанция №2"));
    a.Devices[1].IpAddress = 0x0A000001;
    a.Devices[1].SetPassword("abc");
    a.Devices[1].Port = 1502;
    a.Devices[1].UnitId = 300;
    a.LiveCoef[0] = 0.1;                       // not exact in binary: must survive bit for bit
    a.LiveCoef[5] = 9999.99;
    std::memcpy(&a.LiveCoef[3], "\x01\x00\x00\x00\x00\x00\xF0\x7F", 8);  // a NaN payload
    a.RdfLineWidth = 5;
    a.RdfEventMarkers = 0;
    ASSERT_TRUE(a.Save());

    const QByteArray bytes = ReadFileBytes(path());
    ASSERT_EQ(bytes.size(), 1076);
    EXPECT_EQ(bytes.left(8), "TRV730DA");
    EXPECT_EQ(U32At(bytes, 8), 0x1003u);
    EXPECT_EQ(U32At(bytes, 16 + 90 + 52), 0x0A000001u);  // record 1 address
    EXPECT_EQ(U32At(bytes, 16 + 90 + 86), 300u);         // record 1 unit id
    EXPECT_EQ(U32At(bytes, 916), 0x00D3D3C6u);
    EXPECT_EQ(U32At(bytes, 1060), 5u);
    EXPECT_EQ(U32At(bytes, 1072), 0u);

    CSettings b;
    b.Devices[1].Clear();
    ASSERT_TRUE(b.Load());
    EXPECT_EQ(b.ToBytes(), a.ToBytes());
    EXPECT_EQ(std::memcmp(a.LiveCoef, b.LiveCoef, sizeof a.LiveCoef), 0);
    EXPECT_EQ(b.Devices[1].NameText(), QString::fromUtf8("Подстанция №2"));
    EXPECT_EQ(b.DeviceCount(), 2);
}

TEST_F(SettingsFile, WrongMagicOrVersionIsRejected) {
    CSettings good;
    const QByteArray image = good.ToBytes();
    struct Case {
        const char* what;
        int offset;
        QByteArray bytes;
    } cases[] = {
        {"magic", 0, "TRV730DB"},
        {"version 0x1002", 8, QByteArray("\x02\x10\x00\x00", 4)},
        {"version 0x1004", 8, QByteArray("\x04\x10\x00\x00", 4)},
    };
    for (const Case& c : cases) {
        QByteArray bad = image;
        bad.replace(c.offset, c.bytes.size(), c.bytes);
        ASSERT_TRUE(WriteFileBytes(path(), bad));
        CSettings s;
        EXPECT_FALSE(s.Load()) << c.what;
    }
}

TEST_F(SettingsFile, AFileCutShortAnywhereAfterTheVersionIsRejected) {
    CSettings good;
    const QByteArray image = good.ToBytes();
    for (int len = 12; len < CSettings::kFileSize; ++len) {
        CSettings s;
        ASSERT_FALSE(s.FromBytes(image.left(len))) << "length " << len;
    }
    CSettings s;
    EXPECT_TRUE(s.FromBytes(image));
}

TEST_F(SettingsFile, NamesKeep26UnitsAndPasswords13) {
    CSettings a;
    const QString name28 = "ABCDEFGHIJKLMNOPQRSTUVWXYZ12";
    a.Devices[0].SetName(name28);
    a.Devices[0].SetPassword("abcdefghijklm");  // 13, no room for a terminator in the file
    ASSERT_TRUE(a.Save());

    const QByteArray bytes = ReadFileBytes(path());
    // The password fills all 26 bytes of its field.
    EXPECT_EQ(bytes.mid(16 + 56, 26), QByteArray("a\0b\0c\0d\0e\0f\0g\0h\0i\0j\0k\0l\0m\0", 26));
    EXPECT_EQ(bytes.mid(16 + 52 - 2, 2), QByteArray("Z\0", 2));  // 26th name unit is the last stored

    CSettings b;
    ASSERT_TRUE(b.Load());
    EXPECT_EQ(b.Devices[0].NameText(), name28.left(26));
    EXPECT_EQ(b.Devices[0].PasswordText(), "abcdefghijklm");
}

TEST_F(SettingsFile, SaveFailsWhenItsFolderCannotBeMade) {
    // A regular file where the configuration folder should be.
    ASSERT_TRUE(WriteFileBytes(dir.path() + "/blocker", "x"));
    ScopedEnv blocked("XDG_CONFIG_HOME", dir.path() + "/blocker");
    CSettings s;
    EXPECT_FALSE(s.Save());
    EXPECT_FALSE(s.Load());
}

TEST_F(SettingsFile, SavingIntoAnExistingFolderReplacesTheFileWhole) {
    CSettings a;
    ASSERT_TRUE(a.Save());
    a.Devices[0].Port = 600;
    ASSERT_TRUE(a.Save());
    CSettings b;
    ASSERT_TRUE(b.Load());
    EXPECT_EQ(b.Devices[0].Port, 600);
    // No temporary files are left beside it.
    EXPECT_EQ(QDir(dir.path() + "/Tamsin-Grid/TRV-730").entryList(QDir::Files), QStringList{"settings.bin"});
}

TEST_F(SettingsFile, SavesFromTwoThreadsNeverInterleave) {
    CSettings s;
    auto saver = [&] {
        for (int i = 0; i < 50; ++i) ASSERT_TRUE(s.Save());
    };
    std::thread t1(saver), t2(saver);
    t1.join();
    t2.join();
    CSettings back;
    EXPECT_TRUE(back.Load());
}

}  // namespace
