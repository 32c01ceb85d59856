#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QCoreApplication>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <memory>

#include "app/AppCore.h"
#include "app/Colors.h"
#include "controls/ColorRect.h"
#include "controls/DialogUnits.h"
#include "language/Language.h"
#include "support/TestSupport.h"
#include "views/DinGraph.h"
#include "views/DinGraphDlg.h"
#include "views/GraphStateEvent.h"
#include "views/LiveGraphWindow.h"

namespace {

constexpr quint32 kVoltage1 = 0x00000001;  // channel 1, kind 1 (divisor 10)
constexpr quint32 kVoltage2 = 0x01000001;  // channel 2
constexpr quint32 kCosPhi = 0x0F000012;    // channel 16, kind 18 (divisor 1000)

class DinGraphDlgTest : public ::testing::Test {
protected:
    void SetUp() override {
        previous = CLanguage::Current();
        UseKeyNameLanguage();
        dlg = std::make_unique<CDinGraphDlg>();
    }
    void TearDown() override {
        dlg.reset();
        CLanguage::SetCurrent(previous);  // the tests after these keep the language they had
    }
    const CLanguage* previous = nullptr;
    CDinGraph& Graph() { return *dlg->Graph(); }
    void Type(int row, const QString& text) {
        QLineEdit* edit = dlg->RowCoefficient(row);
        edit->setText(text);
        emit edit->textEdited(text);
    }
    void Choose(int row, int index) {
        dlg->RowList(row)->setCurrentIndex(index);
        emit dlg->RowList(row)->activated(index);
    }
    // The store as the next start would read it.
    std::unique_ptr<CSettings> Saved() {
        auto s = std::make_unique<CSettings>();
        EXPECT_TRUE(s->Load());
        return s;
    }

    QTemporaryDir dir;
    ScopedEnv config{"XDG_CONFIG_HOME", dir.path()};
    CAppCore app;
    std::unique_ptr<CDinGraphDlg> dlg;
};

TEST_F(DinGraphDlgTest, TemplateLayoutHiddenAtStartAndAnchoredOnResize) {
    EXPECT_FALSE(dlg->isVisible());
    EXPECT_EQ(dlg->windowTitle(), "LNG_DINGR_TITLE");
    dlg->SetDeviceName("Feeder 3");
    EXPECT_EQ(dlg->windowTitle(), "LNG_DINGR_TITLE (Feeder 3)");

    const DialogUnits du = DialogUnits::ForDialogFont();
    EXPECT_EQ(dlg->size(), du.Size(501, 334));
    EXPECT_EQ(dlg->minimumSize(), dlg->size());
    EXPECT_EQ(Graph().geometry(), du.Rect(7, 7, 487, 206));
    const struct {
        int id;
        QRect rect;
    } controls[] = {{1092, du.Rect(198, 235, 10, 10)}, {1091, du.Rect(220, 235, 193, 14)},
                    {1008, du.Rect(418, 235, 44, 14)}, {1093, du.Rect(466, 235, 17, 14)},
                    {1105, du.Rect(198, 315, 10, 10)}, {1009, du.Rect(418, 315, 44, 14)},
                    {1106, du.Rect(466, 315, 17, 14)}, {1202, du.Rect(40, 255, 104, 14)},
                    {1103, du.Rect(40, 284, 110, 10)}, {1100, {}}};
    for (const auto& c : controls) {
        QWidget* w = dlg->findChild<QWidget*>(QString::number(c.id));
        ASSERT_NE(w, nullptr) << c.id;
        if (!c.rect.isNull()) {
            EXPECT_EQ(w->geometry(), c.rect) << c.id;
        }
    }
    EXPECT_EQ(dlg->findChild<QPushButton*>("1202")->text(), "LNG_DINGR_CLEAR_GRAPH");

    const QRect graph = Graph().geometry();
    const QRect swatch = dlg->RowSwatch(5)->geometry();
    dlg->show();
    dlg->resize(dlg->width() + 100, dlg->height() + 50);
    EXPECT_EQ(Graph().geometry(), graph.adjusted(0, 0, 100, 50));
    EXPECT_EQ(dlg->RowSwatch(5)->geometry(), swatch.translated(100, 50));
}

// The page makes its window before it is laid out; the window is centred where the page
// is when the window first opens, and stays where the operator moved it after that.
TEST_F(DinGraphDlgTest, OpensCentredOverThePageWhereThePageIsThen) {
    QWidget top;
    auto* page = new QWidget(&top);
    const std::unique_ptr<ILiveGraphWindow> window = CreateLiveGraphWindow(page);
    top.setGeometry(300, 200, 1000, 700);
    page->setGeometry(100, 50, 800, 600);
    top.show();
    window->ShowForDevice(QStringLiteral("A"), false);  // the first show is swallowed
    window->ShowForDevice(QStringLiteral("A"), false);
    const QPoint pageCentre = QRect(page->mapToGlobal(QPoint(0, 0)), page->size()).center();
    const QPoint shownCentre = window->Window()->frameGeometry().center();
    EXPECT_LE((shownCentre - pageCentre).manhattanLength(), 8);  // rounding of odd sizes

    window->Window()->move(10, 10);
    window->Window()->hide();
    window->ShowForDevice(QStringLiteral("A"), false);
    EXPECT_EQ(window->Window()->pos(), QPoint(10, 10));
}

TEST_F(DinGraphDlgTest, EachRowTakesTheSourceOfItsPlaceAsSourcesArrive) {
    for (int row = 0; row < CDinGraphDlg::kRows; ++row) EXPECT_EQ(dlg->RowList(row)->count(), 0);
    dlg->AddPoint(0x00000000, 5);  // kind 0
    dlg->AddPoint(0x0000001E, 5);  // kind 30
    EXPECT_EQ(dlg->RowList(0)->count(), 0);

    dlg->AddPoint(kVoltage1, 2305);
    for (int row = 0; row < CDinGraphDlg::kRows; ++row) EXPECT_EQ(dlg->RowList(row)->count(), 1) << row;
    EXPECT_EQ(dlg->RowList(0)->currentIndex(), 0);
    EXPECT_FLOAT_EQ(Graph().Data().Series(0).value, 230.5f);
    EXPECT_EQ(dlg->RowList(1)->currentIndex(), -1);
    EXPECT_EQ(dlg->RowList(0)->itemText(0), "LNG_SRC_F_CHANNEL 1: LNG_SRC_F_VoltageRMS");

    dlg->AddPoint(kVoltage2, 2290);
    dlg->AddPoint(kCosPhi, 987);
    EXPECT_EQ(dlg->RowList(4)->count(), 3);
    EXPECT_EQ(dlg->RowList(4)->itemText(2), "LNG_SRC_F_CHANNEL 16: LNG_SRC_F_PowerCos");
    // Three sources, three rows, three different curves.
    EXPECT_EQ(dlg->RowList(1)->currentIndex(), 1);
    EXPECT_EQ(dlg->RowList(2)->currentIndex(), 2);
    EXPECT_FLOAT_EQ(Graph().Data().Series(1).value, 229.0f);
    EXPECT_FLOAT_EQ(Graph().Data().Series(2).value, 0.987f);
    EXPECT_EQ(dlg->RowList(4)->currentIndex(), -1);

    Choose(4, 2);
    dlg->AddPoint(kCosPhi, 987);
    EXPECT_FLOAT_EQ(Graph().Data().Series(4).value, 0.987f);
}

TEST_F(DinGraphDlgTest, ChangingOneRowsSourceClearsOnlyThatRow) {
    dlg->AddPoint(kVoltage1, 2300);
    dlg->AddPoint(kVoltage2, 1000);
    Graph().Start();
    for (int i = 0; i < 5; ++i) Graph().Tick();

    EXPECT_FLOAT_EQ(Graph().Data().SampleBack(1, 4), 100.0f);
    Choose(1, 0);
    EXPECT_FLOAT_EQ(Graph().Data().SampleBack(1, 0), 0.0f);
    EXPECT_FLOAT_EQ(Graph().Data().Series(1).value, 0.0f);
    EXPECT_FLOAT_EQ(Graph().Data().SampleBack(0, 0), 230.0f);
    EXPECT_FLOAT_EQ(Graph().Data().SampleBack(0, 4), 230.0f);

    Choose(1, 0);  // the same choice again changes nothing
    dlg->AddPoint(kVoltage1, 2300);
    Graph().Tick();
    Choose(1, 0);
    EXPECT_FLOAT_EQ(Graph().Data().SampleBack(1, 0), 230.0f);

    dlg->findChild<QPushButton*>("1202")->click();  // clear graph: every line
    for (int row = 0; row < CDinGraphDlg::kRows; ++row)
        EXPECT_FLOAT_EQ(Graph().Data().SampleBack(row, 0), 0.0f);
}

TEST_F(DinGraphDlgTest, CoefficientEditKeepsTheRulesAndSavesAtOnce) {
    struct Case {
        const char* typed;
        const char* shown;
        double stored;
    };
    const Case cases[] = {
        {"12.345", "12.34", 12.34}, {"-3", "0.00", 0.0},         {"20000", "10000.00", 10000.0},
        {"2.5", "2.50", 2.5},       {"abc", "2.50", 2.5},        {"", "2.50", 2.5},
    };
    for (const Case& c : cases) {
        Type(1, QString::fromLatin1(c.typed));
        QLineEdit* edit = dlg->RowCoefficient(1);
        EXPECT_EQ(edit->text(), c.shown) << c.typed;
        EXPECT_DOUBLE_EQ(app.Settings.LiveCoef[1], c.stored) << c.typed;
        EXPECT_DOUBLE_EQ(Saved()->LiveCoef[1], c.stored) << c.typed;
        EXPECT_FLOAT_EQ(Graph().Data().Series(1).coefficient, float(c.stored)) << c.typed;
    }
    // Not a number: the stored value comes back fully selected, ready to be typed over.
    Type(1, "x");
    EXPECT_EQ(dlg->RowCoefficient(1)->selectedText(), "2.50");
    EXPECT_DOUBLE_EQ(app.Settings.LiveCoef[0], 1.0);  // other rows untouched
}

TEST_F(DinGraphDlgTest, RowSettingsApplyToTheNextWindowCreated) {
    // Defaults: rows 1 to 3 shown.
    EXPECT_TRUE(dlg->RowCheck(0)->isChecked());
    EXPECT_FALSE(dlg->RowCheck(3)->isChecked());
    EXPECT_FALSE(dlg->RowList(3)->isEnabled());
    EXPECT_FALSE(dlg->RowCoefficient(3)->isEnabled());
    EXPECT_FALSE(dlg->RowSwatch(3)->isEnabled());

    dlg->RowCheck(0)->click();
    dlg->RowCheck(3)->click();
    EXPECT_FALSE(Graph().Data().Series(0).enabled);
    EXPECT_TRUE(Graph().Data().Series(3).enabled);
    EXPECT_FALSE(dlg->RowList(0)->isEnabled());
    EXPECT_TRUE(dlg->RowCoefficient(3)->isEnabled());
    Type(2, "3.5");
    dlg->SetRowColor(4, 0x00123456);
    EXPECT_EQ(Graph().Data().Series(4).colour, 0x00123456u);
    dlg->TopmostCheck()->click();
    EXPECT_TRUE(dlg->IsTopmost());

    const std::unique_ptr<CSettings> saved = Saved();
    EXPECT_EQ(saved->LiveSeriesOn[0], 0);
    EXPECT_EQ(saved->LiveSeriesOn[3], 1);
    EXPECT_EQ(saved->LiveColor[4], 0x00123456u);
    EXPECT_EQ(saved->LiveGraphTopmost, 1);

    dlg = std::make_unique<CDinGraphDlg>();  // another device's window
    EXPECT_FALSE(dlg->RowCheck(0)->isChecked());
    EXPECT_TRUE(dlg->RowCheck(3)->isChecked());
    EXPECT_EQ(dlg->RowCoefficient(2)->text(), "3.50");
    EXPECT_FLOAT_EQ(Graph().Data().Series(2).coefficient, 3.5f);
    EXPECT_EQ(dlg->RowSwatch(4)->GetColor(), ColorFromRef(0x00123456));
    EXPECT_EQ(Graph().Data().Series(4).colour, 0x00123456u);
    EXPECT_FALSE(Graph().Data().Series(0).enabled);
    EXPECT_TRUE(dlg->TopmostCheck()->isChecked());
    EXPECT_TRUE(dlg->IsTopmost());
    EXPECT_EQ(dlg->RowList(0)->count(), 0);  // sources are the window's own
}

TEST_F(DinGraphDlgTest, DoubleClickOnASwatchChoosesTheRowColour) {
    auto doubleClick = [&](int row) {
        QWidget* swatch = dlg->RowSwatch(row);
        QMouseEvent click(QEvent::MouseButtonDblClick, QPointF(3, 3), swatch->mapToGlobal(QPointF(3, 3)),
                          Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(swatch, &click);
    };
    int choosers = 0;
    // The chooser is modal; answer it as soon as it is up.
    auto answer = [&](bool take) {
        QTimer::singleShot(0, [&, take] {
            auto* chooser = qobject_cast<QColorDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(chooser, nullptr);
            ++choosers;
            chooser->setCurrentColor(QColor(10, 20, 30));
            take ? chooser->accept() : chooser->reject();
        });
    };
    answer(false);
    doubleClick(1);
    EXPECT_EQ(Graph().Data().Series(1).colour, 0x0000FFFFu);  // cancelled: still yellow

    answer(true);
    doubleClick(1);
    EXPECT_EQ(choosers, 2);
    EXPECT_EQ(Graph().Data().Series(1).colour, 0x001E140Au);
    EXPECT_EQ(Saved()->LiveColor[1], 0x001E140Au);

    doubleClick(4);  // a row that is off offers no chooser
    EXPECT_EQ(choosers, 2);
}

TEST_F(DinGraphDlgTest, GraphStateEventsAndTheCloseBox) {
    dlg->AddPoint(kVoltage1, 100);
    CGraphStateEvent start(kGraphStateConnect);
    QCoreApplication::sendEvent(dlg.get(), &start);
    EXPECT_TRUE(Graph().IsRunning());
    Graph().Tick();

    dlg->ShowForDevice("Feeder 3", false);
    EXPECT_TRUE(dlg->isVisible());
    EXPECT_EQ(dlg->windowTitle(), "LNG_DINGR_TITLE (Feeder 3)");
    dlg->close();  // hides; the lines go on
    EXPECT_FALSE(dlg->isVisible());
    EXPECT_TRUE(Graph().IsRunning());
    EXPECT_FLOAT_EQ(Graph().Data().SampleBack(0, 0), 10.0f);

    QCoreApplication::postEvent(dlg.get(), new CGraphStateEvent(kGraphStateDisconnect));
    QCoreApplication::processEvents();
    EXPECT_FALSE(Graph().IsRunning());
    EXPECT_FLOAT_EQ(Graph().Data().SampleBack(0, 0), 0.0f);  // disconnect forgets the lines

    QCoreApplication::postEvent(dlg.get(), new CGraphStateEvent(kGraphStateConnect));
    QCoreApplication::processEvents();
    dlg->show();
    CGraphStateEvent end(kGraphStateStop);
    QCoreApplication::sendEvent(dlg.get(), &end);
    EXPECT_FALSE(Graph().IsRunning());
    EXPECT_FALSE(dlg->isVisible());
}

}  // namespace
