#include <gtest/gtest.h>

#include "controls/XLabel.h"
#include "gui/controls/PixelProbe.h"

namespace {

const QColor kBehind(0, 200, 0);
const QColor kBlack(0, 0, 0);
const QColor kWhite(255, 255, 255);

class XLabelTest : public ::testing::Test {
protected:
    Backdrop window{QSize(220, 70), kBehind};
    CXLabel* label = new CXLabel(&window, QStringLiteral("IIII"));

    void SetUp() override {
        label->setGeometry(10, 10, 200, 50);
        label->SetFontHeight(44);
        label->SetBold(true);
        label->SetColors(kBlack, kBlack, kWhite);
        window.show();
    }
    // The label's inside, clear of its rounded corners and frame.
    QRect Inside() const { return label->geometry().adjusted(6, 6, -6, -6); }
};

TEST_F(XLabelTest, RoundedShapeLetsTheBackgroundShowThroughBlackText) {
    const QImage img = Shot(window);
    EXPECT_GT(CountNear(img, Inside(), kBehind), 50);  // the letters are see-through
    EXPECT_EQ(CountNear(img, Inside(), kBlack, 40), 0);
    EXPECT_TRUE(Near(img.pixelColor(10, 10), kBehind));  // and so are the corners
    EXPECT_TRUE(Near(img.pixelColor(110, 13), kWhite));
}

TEST_F(XLabelTest, PlainShapeDrawsBlackTextBlack) {
    label->SetShape(CXLabel::kShapePlain);
    const QImage img = Shot(window);
    EXPECT_GT(CountNear(img, Inside(), kBlack), 50);
    EXPECT_EQ(CountNear(img, label->geometry(), kBehind, 40), 0);
    EXPECT_TRUE(Near(img.pixelColor(10, 10), kWhite));
}

TEST_F(XLabelTest, RendersOnlyOnEffectiveChanges) {
    label->BackBuffer();
    const int before = label->RenderCount();
    label->SetText(QStringLiteral("IIII"));
    label->SetSecondText(QString());
    label->SetShape(CXLabel::kShapeRounded);
    label->SetBold(true);
    label->SetFontHeight(44);
    label->SetColors(kBlack, kBlack, kWhite);
    label->BackBuffer();
    EXPECT_EQ(label->RenderCount(), before);

    // Several values before one paint render once.
    label->SetSecondText(QStringLiteral("V"), false);
    label->SetText(QStringLiteral("II"));
    label->BackBuffer();
    EXPECT_EQ(label->RenderCount(), before + 1);
    EXPECT_EQ(label->SecondText(), "V");
    label->SetShape(7);  // any non-zero shape is the rounded one
    label->BackBuffer();
    EXPECT_EQ(label->RenderCount(), before + 1);
}

TEST_F(XLabelTest, TwoTextsAreCentredTogetherInTheirColours) {
    label->SetShape(CXLabel::kShapePlain);
    label->SetText(QStringLiteral("I"));
    label->SetSecondText(QStringLiteral("I"));
    label->SetColors(QColor(255, 0, 0), QColor(0, 0, 255), kWhite);
    const QImage img = Shot(window);
    const QRect left(10, 10, 100, 50), right(110, 10, 100, 50);
    EXPECT_GT(CountNear(img, left, QColor(255, 0, 0)), 20);
    EXPECT_EQ(CountNear(img, left, QColor(0, 0, 255)), 0);
    EXPECT_GT(CountNear(img, right, QColor(0, 0, 255)), 20);
    EXPECT_EQ(CountNear(img, right, QColor(255, 0, 0)), 0);
}

}  // namespace
