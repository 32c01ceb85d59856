#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QLabel>

#include "controls/ColorRect.h"
#include "controls/DialogUnits.h"
#include "controls/DlgToolBar.h"
#include "controls/GroupStatic.h"
#include "controls/IconIds.h"
#include "controls/StTabCtrl.h"
#include "controls/WaitDlg.h"
#include "gui/controls/PixelProbe.h"

namespace {

TEST(DialogUnitsTest, ConvertsWithTheDialogFontBaseUnits) {
    const DialogUnits du(6, 13);
    EXPECT_EQ(du.Size(50, 14), QSize(75, 23));
    EXPECT_EQ(du.Point(13, 7), QPoint(20, 11));
    // Edges are converted, so neighbours meet: 3 + 327 units end where 330 starts.
    EXPECT_EQ(du.Rect(3, 3, 327, 115), QRect(5, 5, 490, 187));
    EXPECT_EQ(du.X(330), du.Rect(3, 3, 327, 115).right() + 1);

    struct Case {
        int a, b, c, result;
    };
    const Case cases[] = {{1, 1, 2, 1}, {-1, 1, 2, -1}, {3, 5, 4, 4}, {-3, 5, 4, -4}, {5, 6, 4, 8}, {7, 8, 0, -1}};
    for (const Case& c : cases) EXPECT_EQ(DialogUnits::MulDiv(c.a, c.b, c.c), c.result) << c.a << "*" << c.b << "/" << c.c;

    const DialogUnits font = DialogUnits::ForDialogFont();
    EXPECT_GT(font.BaseX(), 2);
    EXPECT_GT(font.BaseY(), 8);
}

TEST(StTabCtrlTest, TabsCarryStateDots) {
    CStTabCtrl tabs;
    tabs.addTab(new QWidget, QStringLiteral("A"));
    tabs.addTab(new QWidget, QStringLiteral("B"));
    EXPECT_EQ(tabs.TabImage(0), 0);
    EXPECT_FALSE(tabs.tabIcon(0).isNull());
    tabs.SetTabImage(1, 2);
    tabs.SetTabImage(1, 3);   // no such image
    tabs.SetTabImage(5, 1);   // no such tab
    EXPECT_EQ(tabs.TabImage(1), 2);
    EXPECT_EQ(tabs.TabImage(5), -1);
    EXPECT_EQ(tabs.iconSize(), QSize(8, 8));
    // The pictures themselves: a red and a green dot.
    const QImage red = CStTabCtrl::StateIcon(1).pixmap(QSize(8, 8)).toImage();
    const QImage green = CStTabCtrl::StateIcon(2).pixmap(QSize(8, 8)).toImage();
    EXPECT_GT(red.pixelColor(4, 5).red(), 150);
    EXPECT_GT(green.pixelColor(4, 5).green(), 120);
    EXPECT_EQ(red.pixelColor(0, 0).alpha(), 0);
}

TEST(DlgToolBarTest, ButtonsFollowTheOwnersRulesWhileVisible) {
    QWidget owner;
    auto* bar = new CDlgToolBar(&owner);
    bar->SetIcons({IDI_TOOLBAR_CONNECT, IDI_TOOLBAR_DISCONNECT}, 48, 32);
    QAction* connect = bar->AddButton(32787, 0, QStringLiteral("Connect"), QString(100, u'x'));
    QAction* disconnect = bar->AddButton(32788, 1, QStringLiteral("Disconnect"), QString());
    EXPECT_EQ(connect->toolTip().size(), 79);
    EXPECT_EQ(bar->Button(32788), disconnect);
    EXPECT_FALSE(connect->icon().isNull());

    bool connected = false;
    bar->SetUpdateRule([&connected](int id) { return id == 32787 ? !connected : connected; });
    EXPECT_TRUE(connect->isEnabled());  // hidden: nothing asked yet
    EXPECT_TRUE(disconnect->isEnabled());
    owner.show();
    QApplication::processEvents();  // an idle moment
    bar->UpdateButtons();
    EXPECT_TRUE(connect->isEnabled());
    EXPECT_FALSE(disconnect->isEnabled());
    connected = true;
    bar->UpdateButtons();
    EXPECT_FALSE(connect->isEnabled());
    EXPECT_TRUE(disconnect->isEnabled());

    int triggered = 0;
    QObject::connect(bar, &CDlgToolBar::CommandTriggered, [&triggered](int id) { triggered = id; });
    disconnect->trigger();
    EXPECT_EQ(triggered, 32788);
}

TEST(ColorRectTest, ShowsItsColourOnlyWhileEnabled) {
    CColorRect swatch;
    swatch.resize(40, 20);
    swatch.SetColor(QColor(255, 0, 0));
    EXPECT_EQ(Shot(swatch).pixelColor(20, 10), QColor(255, 0, 0));
    swatch.setEnabled(false);
    EXPECT_EQ(Shot(swatch).pixelColor(20, 10), QColor(255, 255, 255));
    EXPECT_EQ(swatch.GetColor(), QColor(255, 0, 0));
}

TEST(GroupStaticTest, TheTitleInterruptsTheFrame) {
    CGroupStatic group(nullptr, QStringLiteral("Phase 1"));
    group.resize(200, 100);
    const QColor back(230, 230, 230), ink(200, 120, 0);
    group.SetBackColor(back);
    EXPECT_EQ(group.SetTextColor(ink), CGroupStatic().SetTextColor(ink));  // the previous colour comes back
    const QImage img = Shot(group);
    const QRect frame = group.FrameRect();
    const QRect title = group.TitleRect();
    EXPECT_EQ(title.center().x(), 99);
    EXPECT_EQ(img.pixelColor(20, frame.top() + 1), ink);               // the top line left of the title
    EXPECT_EQ(img.pixelColor(title.left() + 2, frame.top() + 1), back); // broken under the title
    EXPECT_EQ(img.pixelColor(100, frame.bottom()), ink);                // the bottom line
    EXPECT_EQ(img.pixelColor(100, 60), back);
}

TEST(WaitDlgTest, ShowsCentredOverItsParentUntilHidden) {
    QWidget main;
    main.setGeometry(100, 100, 600, 400);
    main.show();
    CWaitDlg wait(&main);
    EXPECT_FALSE(wait.isVisible());
    wait.Show();
    EXPECT_TRUE(wait.isVisible());
    EXPECT_EQ(wait.Text(), "LNG_WAIT_TEXT1");
    EXPECT_LE((wait.frameGeometry().center() - main.frameGeometry().center()).manhattanLength(), 4);
    wait.Hide();
    EXPECT_FALSE(wait.isVisible());
    wait.Show();
    wait.close();  // closing ends it like OK
    EXPECT_FALSE(wait.isVisible());
    EXPECT_EQ(wait.result(), QDialog::Accepted);
}

}  // namespace
