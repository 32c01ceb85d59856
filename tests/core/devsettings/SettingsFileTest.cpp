#include <gtest/gtest.h>

#include <sys/resource.h>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <csignal>

#include "DevSettingsLanguage.h"
#include "devsettings/MyPropertyDouble.h"
#include "devsettings/MyPropertyPasswASCII.h"
#include "devsettings/ParameterDefinition.h"
#include "devsettings/ParameterTable.h"
#include "devsettings/SettingsFile.h"
#include "language/IniFile.h"

namespace {

const QDateTime kSaveTime(QDate(2026, 12, 8), QTime(9, 5, 7));

class SettingsFileTest : public ::testing::Test {
  protected:
    void SetUp() override {
        UseDevSettingsLanguage();
        table.BuildParameterTable();
    }
    QString Saved(const QString& key) {
        return CIniFile::FromBytes(SettingsFile::Build(table, kSaveTime)).GetString("Settings", key, 128);
    }
    QString Path(const char* name) { return QDir(dir.path()).filePath(name); }
    CParameterTable table;
    QTemporaryDir dir;
};

TEST_F(SettingsFileTest, DefaultsSaveInTheFilesOwnForms) {
    const QByteArray bytes = SettingsFile::Build(table, kSaveTime);
    EXPECT_TRUE(
        bytes.startsWith("[Information]\r\nVersion=2.4\r\nDateTime=08.12.2026 09:05:07\r\n[Settings]\r\n"));
    EXPECT_TRUE(bytes.endsWith("\r\n"));
    EXPECT_EQ(bytes.count("\r\n"), 4 + 126);
    struct Case {
        const char* key;
        const char* value;
    } cases[] = {
        {"6:0:2000", "0"},
        {"0:1:2072", "2"},
        {"7:3:2073", "4294967295"},
        {"3:3:2115", "16777216"},
        {"1:3:2135", "192.168.0.2"},
        {"2:3:2113", "1000"},
        {"5:1:2146", "502"},
        {"4:4:2148", "007600650078006F0072"},
        {"4:5:2123", "0031003200330034"},
        {"6:2:2032", "0"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Saved(c.key), c.value) << c.key;
    EXPECT_EQ(SettingsFile::DefaultFileName(QDate(2026, 12, 8)), "08122026.trv730");
}

TEST_F(SettingsFileTest, PasswordsSaveEveryCharacterAsFourHexDigits) {
    table.FindByAddress(2123)->SetText("ab");
    EXPECT_EQ(Saved("4:5:2123"), "00610062");
    table.FindByAddress(2123)->SetText(QString("ab") + QString(4, QChar(0)));  // as read from the device
    EXPECT_EQ(Saved("4:5:2123"), "006100620000000000000000");
    table.FindByAddress(2148)->SetText(QString::fromUtf8("Жук"));
    EXPECT_EQ(Saved("4:4:2148"), "04160443043A");
}

TEST_F(SettingsFileTest, SaveAndLoadGiveBackEveryValue) {
    table.FindByAddress(2062)->SetValue(
        0x00010009);  // event 1 on the frequency, so its thresholds can hold values
    table.FindByAddress(2032)->ParseText("49.5");
    table.FindByAddress(2000)->ParseText("-12.3");
    table.FindByAddress(2115)->SetValue(536870912);
    table.FindByAddress(2143)->ParseText("1.2.3.4");
    table.FindByAddress(2148)->SetText("secret");
    table.FindByAddress(2113)->ParseText("5 min");
    const QString path = Path("a.trv730");
    ASSERT_TRUE(SettingsFile::Save(table, path, kSaveTime));
    for (const CMyProperty* row : table.Rows())
        EXPECT_FALSE(row->ModifiedMark());  // saving accepts

    CParameterTable loaded;
    loaded.BuildParameterTable();
    SettingsLoadReport report;
    ASSERT_TRUE(SettingsFile::Load(loaded, path, &report));
    EXPECT_EQ(report.version, "2.4");
    EXPECT_TRUE(report.missingKeys.isEmpty());
    EXPECT_TRUE(report.unreadableKeys.isEmpty());
    const auto a = table.Rows();
    const auto b = loaded.Rows();
    for (size_t i = 0; i < a.size(); ++i) {
        EXPECT_EQ(a[i]->Value(), b[i]->Value()) << a[i]->Binding().address;
        EXPECT_EQ(a[i]->Text(), b[i]->Text()) << a[i]->Binding().address;
    }
    EXPECT_EQ(loaded.FindByAddress(2032)->FormatValue(), "49.50");
    EXPECT_TRUE(loaded.FindByAddress(2032)->ModifiedMark());  // loading accepts nothing
}

TEST_F(SettingsFileTest, LoadRules) {
    struct Case {
        const char* what;
        QByteArray settings;
        int address;
        int64_t value;
        const char* text;
    } cases[] = {
        {"port above its range", "5:1:2146=70000", 2146, 65535, nullptr},
        {"missing key: baseline", "5:1:2165=81", 2146, 502, nullptr},
        {"unreadable number: baseline", "5:1:2146=port", 2146, 502, nullptr},
        {"number with trailing text", "5:1:2146= 8080x", 2146, 8080, nullptr},
        {"octets combined without clamping", "1:3:2135=300.0.0.1", 2135, 0x0100012C, nullptr},
        {"three octets: baseline", "1:3:2135=10.0.0", 2135, 0x0200A8C0, nullptr},
        {"unknown byte count: first option", "3:3:2115=1000", 2115, 32768, nullptr},
        {"unknown source: no source", "7:3:2073=1234", 2073, 4294967295, nullptr},
        {"source as a negative number", "7:3:2073=-1", 2073, 4294967295, nullptr},
        {"list index", "0:1:2072=1", 2072, 1, nullptr},
        {"short last hex group", "4:5:2123=0061062", 2123, 0, "ab"},
        {"zero group ends the visible text", "4:5:2123=006100000062", 2123, 0, "a"},
        {"too long a password is cut", "4:5:2123=00310032003300340035003600370038", 2123, 0, "123456"},
        {"non-hexadecimal group: baseline", "4:5:2123=0061zz62", 2123, 0, "1234"},
        {"empty password", "4:5:2123=", 2123, 0, ""},
        {"threshold under its source", "7:3:2062=65545\r\n6:2:2032=500", 2032, 2500, nullptr},
    };
    for (const Case& c : cases) {
        CParameterTable t;
        t.BuildParameterTable();
        ASSERT_TRUE(SettingsFile::LoadBytes(t, "[Settings]\r\n" + c.settings + "\r\n")) << c.what;
        const CMyProperty* row = t.FindByAddress(c.address);
        if (c.text) {
            EXPECT_EQ(CMyPropertyPasswASCII::VisibleText(row->Text()), QString::fromUtf8(c.text)) << c.what;
        } else {
            EXPECT_EQ(row->Value(), c.value) << c.what;
        }
    }
}

TEST_F(SettingsFileTest, AFileWithoutSettingsResetsEveryRowToItsBaseline) {
    table.FindByAddress(2146)->SetValue(1502);
    table.FindByAddress(2148)->SetText("other");
    table.AcceptAll();
    table.FindByAddress(2165)->SetValue(8080);
    SettingsLoadReport report;
    ASSERT_TRUE(SettingsFile::LoadBytes(table, "[Information]\r\nVersion=9.9\r\n", &report));
    EXPECT_FALSE(report.hasSettings);
    EXPECT_EQ(report.missingKeys.size(), 126);
    EXPECT_EQ(table.FindByAddress(2146)->Value(), 1502);
    EXPECT_EQ(table.FindByAddress(2165)->Value(), 80);
    for (const int password : {2123, 2148, 2167, 2186})
        EXPECT_EQ(table.FindByAddress(password)->Text(), "");
}

TEST_F(SettingsFileTest, AFailedSaveLeavesTheEarlierFile) {
    const QString path = Path("keep.trv730");
    ASSERT_TRUE(WriteFileBytes(path, "earlier"));
    table.FindByAddress(2146)->SetValue(1502);
    // The disk fills up part-way through the new file (a limit even root is held to).
    rlimit old{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = old;
    small.rlim_cur = 1000;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    QString error;
    const bool saved = SettingsFile::Save(table, path, kSaveTime, &error);
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_FALSE(saved);
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(ReadFileBytes(path), "earlier");
    EXPECT_TRUE(table.FindByAddress(2146)->ModifiedMark());  // nothing was accepted
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"keep.trv730"});

    EXPECT_FALSE(SettingsFile::Save(table, Path("missing/x.trv730"), kSaveTime));
}

TEST_F(SettingsFileTest, AnyBytesLoadWithoutHarm) {
    QRandomGenerator random(730);
    const QByteArray good = SettingsFile::Build(table, kSaveTime);
    for (int i = 0; i < 60; ++i) {
        QByteArray bytes = good;
        for (int k = 0; k < 1 + i % 20; ++k)
            bytes[random.bounded(int(bytes.size()))] = char(random.bounded(256));
        if (i % 3 == 0)
            bytes.truncate(random.bounded(int(bytes.size())));
        CParameterTable t;
        t.BuildParameterTable();
        EXPECT_TRUE(SettingsFile::LoadBytes(t, bytes));
    }
    for (const QByteArray& odd : {QByteArray(), QByteArray("\xFF\xFE", 2), QByteArray(1000, '\0'),
                                  QByteArray("[Settings]\r\n4:4:2148=") + QByteArray(5000, 'F')}) {
        CParameterTable t;
        t.BuildParameterTable();
        EXPECT_TRUE(SettingsFile::LoadBytes(t, odd));
        EXPECT_LE(t.FindByAddress(2148)->Text().size(), 13);
    }
    QString error;
    EXPECT_FALSE(SettingsFile::Load(table, Path("absent.trv730"), nullptr, &error));
    EXPECT_FALSE(error.isEmpty());
}

}  // namespace
