#include <gtest/gtest.h>

#include "controls/XListCtrl.h"
#include "gui/controls/PixelProbe.h"

namespace {

const QColor kRed(255, 175, 178);
const QColor kGreen(175, 255, 198);
const QColor kTickDisc(47, 179, 68);
const QColor kCrossDisc(229, 50, 60);

class XListCtrlTest : public ::testing::Test {
protected:
    CXListCtrl list;
    void SetUp() override {
        list.resize(415, 200);
        list.show();
    }

    QStringList Codes() const {
        QStringList codes;
        for (int r = 0; r < list.rowCount(); ++r) codes << list.item(r, CXListCtrl::kColumnCode)->text();
        return codes;
    }
};

TEST_F(XListCtrlTest, ComingAndGoingErrorsShowNewestFirstInTheirColours) {
    list.UpdateErrors(0);
    EXPECT_EQ(list.rowCount(), 0);
    list.UpdateErrors(0b101, QTime(9, 5, 7));
    list.UpdateErrors(0b100, QTime(9, 6, 0));
    EXPECT_EQ(Codes(), (QStringList{"1", "3", "1"}));
    struct Expect {
        int image;
        QColor back;
        const char* text;
        const char* time;
    };
    const Expect rows[] = {{0, kGreen, "LNG_DEV_ERROR_1", "09:06:00"},
                           {1, kRed, "LNG_DEV_ERROR_3", "09:05:07"},
                           {1, kRed, "LNG_DEV_ERROR_1", "09:05:07"}};
    for (int r = 0; r < 3; ++r) {
        EXPECT_EQ(list.RowImage(r), rows[r].image) << r;
        EXPECT_EQ(list.RowBackColor(r), rows[r].back) << r;
        EXPECT_EQ(list.RowTextColor(r), QColor(0, 0, 0)) << r;
        EXPECT_EQ(list.item(r, CXListCtrl::kColumnText)->text(), rows[r].text) << r;
        EXPECT_EQ(list.item(r, CXListCtrl::kColumnTime)->text(), rows[r].time) << r;
    }

    // What is painted: each row in its colour, the tick on green, the cross on red.
    const QImage img = Shot(list);
    const QRect row0 = list.visualItemRect(list.item(0, CXListCtrl::kColumnIcon))
                           .translated(list.viewport()->pos());
    const QRect row1 = list.visualItemRect(list.item(1, CXListCtrl::kColumnIcon))
                           .translated(list.viewport()->pos());
    const QRect text0 = list.visualItemRect(list.item(0, CXListCtrl::kColumnTime)).translated(list.viewport()->pos());
    EXPECT_GT(CountNear(img, row0, kTickDisc, 20), 30);
    EXPECT_EQ(CountNear(img, row0, kCrossDisc, 20), 0);
    EXPECT_GT(CountNear(img, row1, kCrossDisc, 20), 30);
    EXPECT_GT(CountNear(img, text0, kGreen), text0.width() * text0.height() / 2);
}

TEST_F(XListCtrlTest, TheFiftyFirstRowPushesOutTheOldest) {
    quint32 mask = 0;
    for (int i = 0; i < 50; ++i) {
        mask ^= 1u << (i % 20);
        list.UpdateErrors(mask, QTime(0, 0).addSecs(i));
    }
    ASSERT_EQ(list.rowCount(), 50);
    EXPECT_EQ(list.item(49, CXListCtrl::kColumnTime)->text(), "00:00:00");
    list.UpdateErrors(mask | 0x80000000u, QTime(1, 0));
    ASSERT_EQ(list.rowCount(), 50);
    EXPECT_EQ(list.item(0, CXListCtrl::kColumnCode)->text(), "--");
    EXPECT_EQ(list.item(0, CXListCtrl::kColumnText)->text(), "LNG_DEV_ERROR_UNCNOWN");
    EXPECT_EQ(list.item(49, CXListCtrl::kColumnTime)->text(), "00:00:01");

    list.Clear();
    EXPECT_EQ(list.rowCount(), 0);
    EXPECT_EQ(list.Mask(), 0u);
}

TEST_F(XListCtrlTest, ColumnsShareTheWidth) {
    EXPECT_EQ(list.columnWidth(0), 20);
    EXPECT_EQ(list.columnWidth(1), 40);
    EXPECT_EQ(list.columnWidth(2), 260);
    EXPECT_EQ(list.columnWidth(3), 80);
    EXPECT_EQ(list.horizontalHeaderItem(1)->text(), "LNG_GLOB_CODE");
    EXPECT_EQ(list.horizontalHeaderItem(3)->text(), "LNG_GLOB_TIME");
}

}  // namespace
