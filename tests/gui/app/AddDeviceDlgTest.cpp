#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <vector>

#include "app/AddDeviceDlg.h"
#include "app/IpAddressCtrl.h"
#include "app/MessageBox.h"
#include "support/TestSupport.h"

namespace {

class AddDeviceDialog : public ::testing::Test {
protected:
    std::vector<MessageBox::Request> shown;
    void SetUp() override {
        UseKeyNameLanguage();
        MessageBox::SetHook([this](const MessageBox::Request& r) {
            shown.push_back(r);
            return QMessageBox::Ok;
        });
    }
    void TearDown() override { MessageBox::SetHook({}); }
    // Types text key by key, as a keyboard does (also letters QTest has no key code for).
    static void Type(QLineEdit* edit, const QString& text) {
        edit->setFocus();
        for (QChar c : text) {
            QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
            QApplication::sendEvent(edit, &press);
            QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
            QApplication::sendEvent(edit, &release);
        }
    }
};

TEST_F(AddDeviceDialog, DefaultsConfirmedUnchanged) {
    CAddDeviceDlg dlg(CAddDeviceDlg::Add);
    EXPECT_EQ(dlg.windowTitle(), "LNG_ADDDEV_TITLE");
    EXPECT_EQ(dlg.OkButton()->text(), "LNG_ADDDEV_BUT_ADD");
    dlg.OkButton()->click();
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_TRUE(shown.empty());
    const DeviceRecord r = dlg.Values().ToRecord();
    EXPECT_EQ(r.NameText(), "192.168.0.2");
    EXPECT_EQ(r.IpAddress, 0xC0A80002u);
    EXPECT_EQ(r.Port, 502);
    EXPECT_EQ(r.UnitId, 0);
    EXPECT_EQ(r.PasswordText(), "vexor");
}

TEST_F(AddDeviceDialog, TheAddressOverwritesATypedNameButANameTypedLaterStays) {
    CAddDeviceDlg dlg(CAddDeviceDlg::Add);
    dlg.NameEdit()->clear();
    Type(dlg.NameEdit(), "Feeder 1");
    QLineEdit* last = dlg.AddressCtrl()->Octet(3);
    last->selectAll();
    Type(last, "7");
    EXPECT_EQ(dlg.NameEdit()->text(), "192.168.0.7");
    dlg.NameEdit()->selectAll();
    Type(dlg.NameEdit(), "Feeder 2");
    dlg.OkButton()->click();
    EXPECT_EQ(dlg.Values().Name, "Feeder 2");
    EXPECT_EQ(dlg.Values().Address, 0xC0A80007u);
}

TEST_F(AddDeviceDialog, NamesAreCutAndPasswordsFilteredWhileTyping) {
    CAddDeviceDlg dlg(CAddDeviceDlg::Add);
    dlg.NameEdit()->clear();
    Type(dlg.NameEdit(), QString(27, u'n'));
    EXPECT_EQ(dlg.NameEdit()->text(), QString(26, u'n'));

    dlg.PasswordEdit()->clear();
    Type(dlg.PasswordEdit(), QString::fromUtf8("ab -Жcd"));
    EXPECT_EQ(dlg.PasswordEdit()->text(), "abcd");
    Type(dlg.PasswordEdit(), "efghijklmnop");
    EXPECT_EQ(dlg.PasswordEdit()->text(), "abcdefghijklm");
}

TEST_F(AddDeviceDialog, PortAndUnitRules) {
    CAddDeviceDlg dlg(CAddDeviceDlg::Add);
    dlg.PortEdit()->selectAll();
    QTest::keyClick(dlg.PortEdit(), Qt::Key_Backspace);  // an empty port is not a number
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, CAddDeviceDlg::PositiveIntegerPrompt());

    Type(dlg.PortEdit(), "0");
    dlg.OkButton()->click();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[1].text, "LNG_ADDDEV_ADDERR");
    EXPECT_EQ(shown[1].caption, "LNG_GLOB_ERROR");
    EXPECT_NE(dlg.result(), QDialog::Accepted);

    dlg.PortEdit()->selectAll();
    Type(dlg.PortEdit(), "70000");
    dlg.UnitIdEdit()->selectAll();
    Type(dlg.UnitIdEdit(), "300");
    dlg.OkButton()->click();
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(dlg.Values().Port, 70000u);
    EXPECT_EQ(dlg.Values().UnitId, 300u);
}

TEST_F(AddDeviceDialog, EditModeStartsFromTheRecord) {
    DeviceRecord r;
    r.SetName("Substation");
    r.IpAddress = 0x0A000001;
    r.SetPassword("secret");
    r.Port = 1502;
    r.UnitId = 3;
    CAddDeviceDlg dlg(CAddDeviceDlg::Edit, DeviceFields::FromRecord(r));
    EXPECT_EQ(dlg.windowTitle(), "LNG_EDITDEV_TITLE");
    EXPECT_EQ(dlg.NameEdit()->text(), "Substation");
    EXPECT_EQ(dlg.AddressCtrl()->Address(), 0x0A000001u);
    EXPECT_EQ(dlg.PortEdit()->text(), "1502");
    EXPECT_EQ(dlg.UnitIdEdit()->text(), "3");
    EXPECT_EQ(dlg.PasswordEdit()->text(), "secret");
}

}  // namespace
