#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "settings/DeviceList.h"
#include "support/TestSupport.h"

namespace {

class DeviceListTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    ScopedEnv config{"XDG_CONFIG_HOME", dir.path()};
    CSettings settings;

    void AddNamed(const QString& name) {
        DeviceFields f;
        f.Name = name;
        int slot = -1;
        ASSERT_EQ(DeviceList::Add(settings, f, slot), DeviceList::Result::Saved);
    }
    QStringList Names() const {
        QStringList names;
        for (int i = 0; i < settings.DeviceCount(); ++i) names << settings.Devices[i].NameText();
        return names;
    }
};

TEST_F(DeviceListTest, AddingWithDefaultsStoresTheDefaultDeviceAndSaves) {
    int slot = -1;
    ASSERT_EQ(DeviceList::Add(settings, DeviceFields(), slot), DeviceList::Result::Saved);
    EXPECT_EQ(slot, 1);
    const DeviceRecord& r = settings.Devices[1];
    EXPECT_EQ(r.NameText(), "192.168.0.2");
    EXPECT_EQ(r.IpAddress, 3232235522u);
    EXPECT_EQ(r.Port, 502);
    EXPECT_EQ(r.UnitId, 0);
    EXPECT_EQ(r.PasswordText(), "vexor");
    CSettings back;
    ASSERT_TRUE(back.Load());
    EXPECT_EQ(back.DeviceCount(), 2);
}

TEST_F(DeviceListTest, AFullListRefusesAndAFailedSaveClearsTheSlotAgain) {
    for (int i = 1; i < 10; ++i) AddNamed(QString("D%1").arg(i));
    int slot = 0;
    EXPECT_EQ(DeviceList::Add(settings, DeviceFields(), slot), DeviceList::Result::Refused);
    EXPECT_EQ(slot, -1);

    ASSERT_TRUE(DeviceList::Remove(settings, 9) == DeviceList::Result::Saved);
    ASSERT_TRUE(WriteFileBytes(dir.filePath("blocker"), "x"));
    ScopedEnv blocked("XDG_CONFIG_HOME", dir.filePath("blocker"));
    EXPECT_EQ(DeviceList::Add(settings, DeviceFields(), slot), DeviceList::Result::NotSaved);
    EXPECT_TRUE(settings.Devices[9].IsFree());
}

TEST_F(DeviceListTest, RemovingClosesTheGapAndNeverEmptiesTheList) {
    settings.Devices[0].SetName("A");
    AddNamed("B");
    AddNamed("C");
    ASSERT_EQ(DeviceList::Remove(settings, 1), DeviceList::Result::Saved);
    EXPECT_EQ(Names(), (QStringList{"A", "C"}));
    EXPECT_TRUE(settings.Devices[2].IsFree());
    ASSERT_EQ(DeviceList::Remove(settings, 1), DeviceList::Result::Saved);
    EXPECT_EQ(DeviceList::Remove(settings, 0), DeviceList::Result::Refused);
    EXPECT_EQ(Names(), QStringList{"A"});
}

TEST_F(DeviceListTest, EditRebuildsTheRecordAndTwoRecordsMayBeEqual) {
    DeviceFields f = DeviceFields::FromRecord(settings.Devices[0]);
    f.Name = "Same";
    f.Port = 70000;
    f.UnitId = 300;
    ASSERT_EQ(DeviceList::Edit(settings, 0, f), DeviceList::Result::Saved);
    int slot;
    ASSERT_EQ(DeviceList::Add(settings, f, slot), DeviceList::Result::Saved);
    EXPECT_EQ(settings.Devices[1].NameText(), "Same");
    EXPECT_EQ(settings.Devices[1].Port, 70000);
    EXPECT_EQ(settings.Devices[1].UnitId, 300);
}

TEST(DeviceRules, FieldRulesWhileTyping) {
    EXPECT_EQ(DeviceRules::AddressText(0xC0A80069), "192.168.0.105");
    quint32 a = 0;
    EXPECT_TRUE(DeviceRules::ParseAddress("127.0.0.1", a));
    EXPECT_EQ(a, 0x7F000001u);
    for (const char* bad : {"127.0.0", "256.0.0.1", "1.2.3.4.5", "a.b.c.d", "1..2.3", "1.2.3.-4", ""})
        EXPECT_FALSE(DeviceRules::ParseAddress(bad, a)) << bad;
    EXPECT_EQ(DeviceRules::CutName(QString(40, u'x')).size(), 26);
    struct {
        QString typed;
        QString kept;
    } passwords[] = {
        {"vexor", "vexor"},         {"ve xor", "vexor"},          {"ve-xor", "vexor"},
        {QString::fromUtf8("veЖxor"), "vexor"}, {"abcdefghijklmn", "abcdefghijklm"}, {"", ""},
    };
    for (const auto& p : passwords) EXPECT_EQ(DeviceRules::FilterPassword(p.typed), p.kept) << p.typed.toStdString();

    struct {
        QString text;
        bool ok;
        quint32 value;
    } numbers[] = {
        {"502", true, 502}, {" 70000 ", true, 70000}, {"0", true, 0}, {"4294967295", true, 4294967295u},
        {"", false, 0},     {"-1", false, 0},         {"12a", false, 0}, {"4294967296", false, 0}, {"+5", false, 0},
    };
    for (const auto& n : numbers) {
        quint32 v = 0;
        EXPECT_EQ(DeviceRules::ParseUnsigned(n.text, v), n.ok) << n.text.toStdString();
        if (n.ok) {
            EXPECT_EQ(v, n.value);
        }
    }
}

}  // namespace
