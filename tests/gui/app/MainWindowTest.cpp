#include <gtest/gtest.h>

#include <QLabel>
#include <QMenuBar>
#include <QTemporaryDir>

#include "app/AboutDlg.h"
#include "app/AppCore.h"
#include "app/TRV730DataAnalysisDlg.h"
#include "controls/DialogUnits.h"
#include "support/TestSupport.h"

namespace {

TEST(DialogUnits, ConvertsLikeThePlatform) {
    const DialogUnits du(6, 13);
    EXPECT_EQ(du.Size(50, 14), QSize(75, 23));
    EXPECT_EQ(du.Rect(0, 0, 683, 461).size(), QSize(1025, 749));
    EXPECT_EQ(DialogUnits::MulDiv(5, 6, 4), 8);    // 7.5 rounds away from zero
    EXPECT_EQ(DialogUnits::MulDiv(-5, 6, 4), -8);
    EXPECT_EQ(DialogUnits::MulDiv(1, 1, 0), -1);
}

class MainWindow : public ::testing::Test {
protected:
    QTemporaryDir dir;
    ScopedEnv config{"XDG_CONFIG_HOME", dir.path()};
};

TEST_F(MainWindow, CaptionAndMenusComeFromTheLanguageTable) {
    ASSERT_TRUE(WriteFileBytes(dir.filePath("language.dat"),
                               "[language]\nLNG_MAIN_TITLE=TRV-730 Data Analysis\nLNG_MENU_FILE=&File\n"));
    CAppCore app;
    ASSERT_TRUE(app.Language.LoadFile(dir.filePath("language.dat")));
    CLanguage::SetCurrent(&app.Language);

    CTRV730DataAnalysisDlg window;
    EXPECT_EQ(window.windowTitle(), "TRV-730 Data Analysis v2.4");
    const QList<QAction*> menus = window.menuBar()->actions();
    ASSERT_GE(menus.size(), 2);
    EXPECT_EQ(menus[0]->text(), "&File");
    EXPECT_EQ(menus.last()->text(), "LNG_MENU_HELP");  // no text in the file: the key name shows

    CAboutDlg about;
    EXPECT_EQ(about.windowTitle(), "LNG_ABOUT_TITLE");
    EXPECT_EQ(about.Text1()->text(), "LNG_ABOUT_TEXT1");
    EXPECT_EQ(about.Text2()->text(), "LNG_ABOUT_TEXT2");
    EXPECT_TRUE(about.Link()->text().contains("tamsin-grid"));
    UseKeyNameLanguage();
}

}  // namespace
