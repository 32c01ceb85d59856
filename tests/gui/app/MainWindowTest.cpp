#include <gtest/gtest.h>

#include <QAction>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QKeyEvent>
#include <QUrl>
#include <QLabel>
#include <QMenuBar>
#include <QTemporaryDir>
#include <vector>

#include "app/AboutDlg.h"
#include "app/AppCore.h"
#include "app/MessageBox.h"
#include "app/TRV730DataAnalysisDlg.h"
#include "controls/DialogUnits.h"
#include "controls/StTabCtrl.h"
#include "controls/XLabel.h"
#include "support/TestSupport.h"

namespace {

TEST(DialogUnits, ConvertsLikeThePlatform) {
    const DialogUnits du(6, 13);
    EXPECT_EQ(du.Size(50, 14), QSize(75, 23));
    EXPECT_EQ(du.Rect(0, 0, 683, 461).size(), QSize(1025, 749));
    EXPECT_EQ(DialogUnits::MulDiv(5, 6, 4), 8);  // 7.5 rounds away from zero
    EXPECT_EQ(DialogUnits::MulDiv(-5, 6, 4), -8);
    EXPECT_EQ(DialogUnits::MulDiv(1, 1, 0), -1);
}

// A device page that only remembers what it was told.
class FakePage : public QWidget, public IDevicePage {
public:
    FakePage(QWidget* parent, std::vector<int>* log) : QWidget(parent), m_log(log) {}
    LinkState state = LinkState::Disconnected;
    int index = -1;
    int changed = 0;
    QWidget* PageWidget() override { return this; }
    LinkState PageLinkState() const override { return state; }
    void DeviceCommand(int command) override {
        m_log->push_back(command);
        if (command == kDeviceCommandConnect) state = LinkState::Connecting;
        if (command == kDeviceCommandDisconnect) state = LinkState::Disconnected;
    }
    void DeviceChanged() override { ++changed; }
    void SetDeviceIndex(int i) override { index = i; }
    void ShowGraphWindow(const QString&, bool) override {}

private:
    std::vector<int>* m_log;
};

class MainWindow : public ::testing::Test {
protected:
    QTemporaryDir dir;
    ScopedEnv config{"XDG_CONFIG_HOME", dir.path()};
    CSettings settings;
    std::vector<int> commands;
    std::vector<MessageBox::Request> shown;

    void SetUp() override {
        MessageBox::SetHook([this](const MessageBox::Request& r) {
            shown.push_back(r);
            return QMessageBox::Ok;
        });
    }
    void TearDown() override { MessageBox::SetHook({}); }
    void Devices(std::initializer_list<const char*> names) {
        for (DeviceRecord& r : settings.Devices) r.Clear();
        int i = 0;
        for (const char* n : names) {
            settings.Devices[i].SetName(QString::fromLatin1(n));
            settings.Devices[i].Port = 502;
            settings.Devices[i].SetPassword("vexor");
            ++i;
        }
    }
    DevicePageFactory Factory() {
        return [this](QWidget* parent, CSettings&, int index) -> IDevicePage* {
            auto* page = new FakePage(parent, &commands);
            page->index = index;
            return page;
        };
    }
    static FakePage* Fake(CTRV730DataAnalysisDlg& w, int tab) { return static_cast<FakePage*>(w.Page(tab)); }
};

TEST_F(MainWindow, CaptionMenusAndToolbarComeFromTheLanguageTable) {
    CTRV730DataAnalysisDlg window(settings, Factory());
    EXPECT_EQ(window.windowTitle(), "LNG_MAIN_TITLE v2.4");
    const QList<QAction*> menus = window.menuBar()->actions();
    ASSERT_EQ(menus.size(), 4);
    EXPECT_EQ(menus[0]->text(), "LNG_MENU_FILE");
    EXPECT_EQ(menus[1]->text(), "LNG_MENU_CONNECTION");
    EXPECT_EQ(menus[2]->text(), "LNG_MENU_DEVICE");
    EXPECT_EQ(menus[3]->text(), "LNG_MENU_HELP");
    EXPECT_EQ(window.MenuAction(ID_ADD_DEVICE)->text(), "LNG_MENU_ADD");
    EXPECT_EQ(window.Tabs()->count(), 1);
    EXPECT_EQ(window.Tabs()->tabText(0), "192.168.0.105");
    EXPECT_EQ(window.Banner()->Text(), "LNG_MAIN_NO_CONNECT_DEVICE");
    EXPECT_FALSE(window.Banner()->isVisible());

    CAboutDlg about;
    EXPECT_EQ(about.windowTitle(), "LNG_ABOUT_TITLE");
    EXPECT_EQ(about.Text1()->text(), "LNG_ABOUT_TEXT1");
    EXPECT_TRUE(about.Link()->text().contains("tamsin-grid"));
}

TEST_F(MainWindow, AnEmptyListOffersOnlyAddAndTheAllCommands) {
    Devices({});
    CTRV730DataAnalysisDlg window(settings, Factory());
    EXPECT_EQ(window.Tabs()->count(), 0);
    for (int c : {ID_ADD_DEVICE, ID_CONNECT_ALL, ID_DISCONNECT_ALL}) EXPECT_TRUE(window.IsCommandEnabled(c)) << c;
    for (int c : {ID_EDIT_DEVICE, ID_DELETE_DEVICE, ID_CONNECT, ID_DISCONNECT, ID_VIEW_LIVE_GRAPH})
        EXPECT_FALSE(window.IsCommandEnabled(c)) << c;
    window.RunCommand(ID_CONNECT_ALL);
    EXPECT_TRUE(commands.empty());
}

TEST_F(MainWindow, DotsAndBannerFollowTheLinkState) {
    Devices({"A", "B"});
    CTRV730DataAnalysisDlg window(settings, Factory());
    window.show();
    window.Tabs()->setCurrentIndex(1);
    Fake(window, 1)->state = LinkState::Reconnecting;
    Fake(window, 0)->state = LinkState::Connected;
    window.RefreshLinkStates();
    EXPECT_EQ(window.Tabs()->TabImage(0), 2);
    EXPECT_EQ(window.Tabs()->TabImage(1), 1);
    EXPECT_TRUE(window.Banner()->isVisible());
    window.Tabs()->setCurrentIndex(0);  // the banner belongs to the selected page only
    EXPECT_FALSE(window.Banner()->isVisible());
    window.Tabs()->setCurrentIndex(1);
    Fake(window, 1)->state = LinkState::Connected;
    window.RefreshLinkStates();
    EXPECT_EQ(window.Tabs()->TabImage(1), 2);
    EXPECT_FALSE(window.Banner()->isVisible());
}

TEST_F(MainWindow, DeletingTheMiddleDeviceMovesTheOthersUp) {
    Devices({"A", "B", "C"});
    CTRV730DataAnalysisDlg window(settings, Factory());
    window.Tabs()->setCurrentIndex(1);
    FakePage* c = Fake(window, 2);
    window.RunCommand(ID_DELETE_DEVICE);
    EXPECT_EQ(commands, std::vector<int>{kDeviceCommandStop});
    ASSERT_EQ(window.Tabs()->count(), 2);
    EXPECT_EQ(window.Tabs()->tabText(0), "A");
    EXPECT_EQ(window.Tabs()->tabText(1), "C");
    EXPECT_EQ(window.Tabs()->currentIndex(), 1);
    EXPECT_EQ(c->index, 1);
    EXPECT_EQ(settings.Devices[1].NameText(), "C");
    EXPECT_TRUE(settings.Devices[2].IsFree());
    ASSERT_FALSE(shown.empty());
    EXPECT_EQ(shown.back().text, "LNG_MAIN_REMOVE_DEVICE_SUCCESS");

    window.RunCommand(ID_DELETE_DEVICE);  // C was the last tab: A is selected then
    EXPECT_EQ(window.Tabs()->count(), 1);
    EXPECT_EQ(window.Tabs()->currentIndex(), 0);
    EXPECT_FALSE(window.IsCommandEnabled(ID_DELETE_DEVICE));
}

TEST_F(MainWindow, ALinkedDeviceCanBeNeitherEditedNorDeleted) {
    Devices({"A", "B"});
    CTRV730DataAnalysisDlg window(settings, Factory());
    window.RunCommand(ID_CONNECT);
    EXPECT_EQ(commands, std::vector<int>{kDeviceCommandConnect});
    EXPECT_FALSE(window.IsCommandEnabled(ID_EDIT_DEVICE));
    EXPECT_FALSE(window.IsCommandEnabled(ID_DELETE_DEVICE));
    EXPECT_FALSE(window.IsCommandEnabled(ID_CONNECT));
    window.RunCommand(ID_DELETE_DEVICE);
    EXPECT_EQ(window.Tabs()->count(), 2);
    window.RunCommand(ID_DISCONNECT);
    EXPECT_TRUE(window.IsCommandEnabled(ID_EDIT_DEVICE));
    EXPECT_TRUE(window.IsCommandEnabled(ID_DELETE_DEVICE));
}

TEST_F(MainWindow, TenDevicesCannotBeAddedTo) {
    Devices({"1", "2", "3", "4", "5", "6", "7", "8", "9", "10"});
    CTRV730DataAnalysisDlg window(settings, Factory());
    EXPECT_EQ(window.Tabs()->count(), 10);
    EXPECT_FALSE(window.IsCommandEnabled(ID_ADD_DEVICE));
}

TEST_F(MainWindow, ClosingStopsEveryPageInTabOrder) {
    Devices({"A", "B", "C"});
    CTRV730DataAnalysisDlg window(settings, Factory());
    window.show();
    window.RunCommand(ID_CONNECT_ALL);
    commands.clear();
    window.close();
    EXPECT_EQ(commands, (std::vector<int>{1, 1, 1, 3, 3, 3}));
    EXPECT_EQ(window.Tabs()->count(), 0);
}

TEST_F(MainWindow, APageThatCannotBeMadeKeepsItsTabAndSaysSo) {
    Devices({"A"});
    CTRV730DataAnalysisDlg window(settings, [](QWidget*, CSettings&, int) -> IDevicePage* { return nullptr; });
    EXPECT_EQ(window.Tabs()->count(), 1);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, "LNG_MAIN_CANT_ADD_DEVICE A");  // a key-name text has no placeholder
    EXPECT_TRUE(window.IsCommandEnabled(ID_CONNECT));
    window.RunCommand(ID_CONNECT);  // nothing to send it to
}

// Catches what the window asks the desktop to open, instead of opening it.
class UrlCatcher : public QObject {
    Q_OBJECT
public:
    std::vector<QUrl> urls;
public slots:
    void Open(const QUrl& url) { urls.push_back(url); }
};

TEST_F(MainWindow, F1AnywhereInTheWindowOpensHelp) {
    Devices({"A"});
    CTRV730DataAnalysisDlg window(settings, Factory());
    UrlCatcher catcher;
    QDesktopServices::setUrlHandler(QStringLiteral("file"), &catcher, "Open");
    // Pressed over a page, the key travels up to the window.
    QKeyEvent f1(QEvent::KeyPress, Qt::Key_F1, Qt::NoModifier);
    QCoreApplication::sendEvent(window.Page(0)->PageWidget(), &f1);
    QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
    ASSERT_EQ(catcher.urls.size(), 1u);
    EXPECT_TRUE(catcher.urls[0].path().endsWith(QStringLiteral("/help.html")));
}

}  // namespace

#include "MainWindowTest.moc"
