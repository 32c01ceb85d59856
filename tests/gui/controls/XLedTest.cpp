#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "controls/IconIds.h"
#include "controls/XLed.h"
#include "gui/controls/PixelProbe.h"

namespace {

// Which picture the lamp shows after each of a run of 100 ms ticks: 1 first, 2 second.
std::string ShownSequence(int mode, bool blinking, int ticks) {
    CXLed led;
    led.SetIcons(IDI_LAMP_GREEN, 16, 16, IDI_LAMP_RED, 16, 16);
    led.SetMode(mode);
    led.EnableBlinking(blinking);
    std::string shown = std::to_string(led.ShownIcon());
    for (int i = 0; i < ticks; ++i) {
        if (blinking) led.Tick();
        shown += std::to_string(led.ShownIcon());
    }
    return shown;
}

TEST(XLedTest, ModesAndBlinkingChooseThePicture) {
    struct Case {
        int mode;
        bool blinking;
        const char* shown;  // before the first tick, then after each tick
    };
    const Case cases[] = {
        {0, false, "22222222222"},
        {0, true, "22222222222"},                 // the resting lamp never blinks
        {1, false, "11111111111"},                // steady while blinking is off
        {1, true, "111112222211111"},             // 500 ms each
        {2, true, "122222222212222222221"},       // the first picture for 100 ms once a second
        {2, false, "11111"},
        {5, true, "2222"},
    };
    for (const Case& c : cases) {
        const int ticks = int(std::strlen(c.shown)) - 1;
        EXPECT_EQ(ShownSequence(c.mode, c.blinking, ticks), c.shown) << "mode " << c.mode << " blinking " << c.blinking;
    }
}

TEST(XLedTest, IconsArePaintedAtTheirSize) {
    Backdrop window(QSize(40, 30), QColor(255, 255, 255));
    auto* led = new CXLed(&window);
    led->setGeometry(0, 0, 40, 30);
    led->SetIcons(IDI_LAMP_GREEN, 16, 16, IDI_LAMP_RED, 16, 16);
    led->SetMode(1);
    window.show();
    const QImage on = Shot(window);
    EXPECT_GT(on.pixelColor(8, 10).green(), 2 * on.pixelColor(8, 10).red());
    EXPECT_EQ(on.pixelColor(20, 8), QColor(255, 255, 255));  // nothing beyond 16 pixels
    led->SetMode(0);
    const QImage off = Shot(window);
    EXPECT_GT(off.pixelColor(8, 10).red(), 2 * off.pixelColor(8, 10).green());
}

TEST(XLedTest, WithoutAFirstIconNothingIsLoaded) {
    CXLed led;
    led.SetIcons(0, 16, 16, IDI_LAMP_RED, 16, 16);
    EXPECT_EQ(led.ShownIcon(), 0);
    led.SetMode(1);
    led.SetIcons(IDI_LAMP_GREEN, 16, 16, 0, 16, 16);  // first only: the mode stays
    EXPECT_EQ(led.Mode(), 1);
    EXPECT_EQ(led.ShownIcon(), 1);
    led.SetMode(0);
    EXPECT_EQ(led.ShownIcon(), 0);
}

}  // namespace
