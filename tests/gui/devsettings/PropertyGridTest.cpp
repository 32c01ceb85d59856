// The settings grid as the user works it: drop-downs, filtered editors, bold rows, the
// description area and event sources that re-range their thresholds on screen.
#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QTest>

#include "../../core/devsettings/DevSettingsLanguage.h"
#include "devsettings/MyProperty.h"
#include "devsettings/ParameterDefinition.h"
#include "devsettings/ParameterTable.h"
#include "devsettings/PropertyGrid.h"
#include "devsettings/PropertyGridModel.h"

namespace {

constexpr int kDisplayRow = 2072;      // list: Off|Dim|On, factory index 2
constexpr int kFileLimitRow = 2115;    // file-size options
constexpr int kTimeCorrection = 2000;  // double, step 0.1
constexpr int kPort = 2146;            // int
constexpr int kPassword = 2123;        // six-character password

class PropertyGridTest : public ::testing::Test {
  protected:
    void SetUp() override {
        UseDevSettingsLanguage();
        table.BuildParameterTable();
        grid = std::make_unique<CPropertyGrid>(table);
        grid->Reset();
        grid->resize(600, 500);
        grid->show();
        grid->ExpandAll();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(grid.get()));
    }
    void TearDown() override {
        grid.reset();
        UseKeyNameLanguage();
    }

    CMyProperty* Row(int address) const { return table.FindByAddress(address); }
    QModelIndex Cell(int address, int column = CPropertyGridModel::kValueColumn) const {
        return grid->Model()->IndexOf(Row(address), column);
    }
    QString Shown(int address, int column = CPropertyGridModel::kValueColumn) const {
        return Cell(address, column).data(Qt::DisplayRole).toString();
    }
    bool Bold(int address) const {
        const QVariant font = Cell(address, CPropertyGridModel::kNameColumn).data(Qt::FontRole);
        return font.isValid() && font.value<QFont>().bold();
    }
    // Opens the row's in-place editor as F2 does.
    QWidget* OpenEditor(int address) {
        CPropertyTreeView* view = grid->View();
        view->setCurrentIndex(Cell(address, CPropertyGridModel::kNameColumn));
        QTest::keyClick(view, Qt::Key_F2);
        return view->indexWidget(Cell(address));
    }
    // Types text key by key, letters beyond ASCII included.
    static void Type(QWidget* editor, const QString& text) {
        for (const QChar c : text)
            QTest::sendKeyEvent(QTest::Click, editor, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
    // The grid ends an edit once the editor has had the key.
    static void Press(QWidget* editor, Qt::Key key) {
        QTest::keyClick(editor, key);
        QCoreApplication::processEvents();
    }
    void Choose(QComboBox* combo, int option) {
        combo->setCurrentIndex(option);
        emit combo->activated(option);
    }

    CParameterTable table;
    std::unique_ptr<CPropertyGrid> grid;
};

TEST_F(PropertyGridTest, ChoosingAnOptionSetsTheIndexAndBoldUntilTheBaselineIsChosenAgain) {
    for (const int address : {kDisplayRow, kFileLimitRow}) {
        CMyProperty* row = Row(address);
        const QString baseline = row->FormatValue();
        auto* combo = qobject_cast<QComboBox*>(OpenEditor(address));
        ASSERT_NE(combo, nullptr) << address;
        EXPECT_EQ(combo->count(), row->Options().size()) << address;
        EXPECT_EQ(combo->currentText(), baseline) << address;

        Choose(combo, 0);
        EXPECT_EQ(row->FormatValue(), row->Options().at(0)) << address;
        EXPECT_EQ(Shown(address), row->Options().at(0)) << address;
        EXPECT_TRUE(Bold(address)) << address;

        Choose(combo, int(row->Options().indexOf(baseline)));
        EXPECT_EQ(row->FormatValue(), baseline) << address;
        EXPECT_FALSE(Bold(address)) << address;
        Press(combo, Qt::Key_Escape);
    }
    EXPECT_EQ(Row(kDisplayRow)->Value(), 2);
}

TEST_F(PropertyGridTest, DoubleClickOnAChoiceOpensItsList) {
    CPropertyTreeView* view = grid->View();
    view->scrollTo(Cell(kDisplayRow));
    const QPoint at = view->visualRect(Cell(kDisplayRow, 0)).center();
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, at);
    auto* combo = qobject_cast<QComboBox*>(view->indexWidget(Cell(kDisplayRow)));
    ASSERT_NE(combo, nullptr);
    EXPECT_TRUE(combo->view()->isVisible());
    combo->hidePopup();
}

TEST_F(PropertyGridTest, TypingAValueBackToItsBaselineClearsTheBold) {
    auto* edit = qobject_cast<QLineEdit*>(OpenEditor(kPort));
    ASSERT_NE(edit, nullptr);
    const QString baseline = edit->text();
    edit->selectAll();
    QTest::keyClicks(edit, QStringLiteral("4242"));
    Press(edit, Qt::Key_Return);
    EXPECT_EQ(Row(kPort)->Value(), 4242);
    EXPECT_TRUE(Bold(kPort));

    edit = qobject_cast<QLineEdit*>(OpenEditor(kPort));
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(edit->text(), QStringLiteral("4242"));
    edit->selectAll();
    QTest::keyClicks(edit, baseline);
    Press(edit, Qt::Key_Return);
    EXPECT_EQ(Shown(kPort), baseline);
    EXPECT_FALSE(Bold(kPort));
}

TEST_F(PropertyGridTest, EscapeCancelsAnEditAndLeavesTheValue) {
    auto* edit = qobject_cast<QLineEdit*>(OpenEditor(kPort));
    ASSERT_NE(edit, nullptr);
    const int64_t before = Row(kPort)->Value();
    edit->selectAll();
    QTest::keyClicks(edit, QStringLiteral("7"));
    Press(edit, Qt::Key_Escape);
    EXPECT_EQ(Row(kPort)->Value(), before);
    EXPECT_FALSE(Bold(kPort));
}

TEST_F(PropertyGridTest, FilteredEditorsRefuseCharactersOutsideTheirSet) {
    struct Case {
        int address;
        QString typed;
        QString kept;
    } cases[] = {
        {kPort, QStringLiteral("12a-3.x"), QStringLiteral("12-3")},
        {kTimeCorrection, QStringLiteral("-1,5.2e"), QStringLiteral("-15.2")},
        {kPassword, QStringLiteral("ab c!Жё9"), QStringLiteral("abcЖ9")},
    };
    for (const Case& c : cases) {
        auto* edit = qobject_cast<QLineEdit*>(OpenEditor(c.address));
        ASSERT_NE(edit, nullptr) << c.address;
        edit->clear();
        Type(edit, c.typed);
        EXPECT_EQ(edit->text(), c.kept) << c.address;
        Press(edit, Qt::Key_Escape);
    }
}

TEST_F(PropertyGridTest, PasswordEditorHoldsTheBareTextWhileTheGridQuotesIt) {
    Row(kPassword)->SetText(QStringLiteral("ab"));
    EXPECT_EQ(Shown(kPassword), QStringLiteral("\"ab\""));
    auto* edit = qobject_cast<QLineEdit*>(OpenEditor(kPassword));
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(edit->text(), QStringLiteral("ab"));
}

TEST_F(PropertyGridTest, DescriptionAreaFollowsTheSelection) {
    CPropertyTreeView* view = grid->View();
    view->setFocus();
    view->setCurrentIndex(Cell(kTimeCorrection, 0));
    EXPECT_EQ(grid->DescriptionArea()->Name(), Row(kTimeCorrection)->Name());
    EXPECT_EQ(grid->DescriptionArea()->Description(), Row(kTimeCorrection)->Description());

    QTest::keyClick(view, Qt::Key_Down);
    const CMyProperty* next = grid->Model()->RowAt(view->currentIndex());
    ASSERT_NE(next, nullptr);
    EXPECT_NE(next, Row(kTimeCorrection));
    EXPECT_EQ(grid->DescriptionArea()->Name(), next->Name());
    EXPECT_EQ(grid->DescriptionArea()->Description(), next->Description());

    view->setCurrentIndex(grid->Model()->GroupIndex(0));
    EXPECT_EQ(grid->DescriptionArea()->Name(), table.Groups()[0].title);
    EXPECT_TRUE(grid->DescriptionArea()->Description().isEmpty());
}

TEST_F(PropertyGridTest, ChoosingAnEventSourceReRangesAndRenamesBothThresholdsOnScreen) {
    const int source = EventSourceAddress(0);
    const int up = EventUpThresholdAddress(0);
    const int down = EventDownThresholdAddress(0);
    const QString upName = Shown(up, 0);
    auto* combo = qobject_cast<QComboBox*>(OpenEditor(source));
    ASSERT_NE(combo, nullptr);
    int hertz = -1;
    for (int i = 0; i < combo->count() && hertz < 0; ++i) {
        Choose(combo, i);
        if (Shown(up, 0).endsWith(QStringLiteral(", Hz")))
            hertz = i;
    }
    ASSERT_GE(hertz, 0) << "no source measured in Hz among " << combo->count() << " options";
    EXPECT_TRUE(Shown(down, 0).endsWith(QStringLiteral(", Hz")));
    EXPECT_NE(Shown(up, 0), upName);
    // The thresholds now take the frequency's range: a huge value is clamped into it.
    Row(up)->ParseText(QStringLiteral("100000"));
    EXPECT_LT(Row(up)->Value(), 100000 * 100);
    EXPECT_EQ(Shown(up), Row(up)->FormatValue());
    Press(combo, Qt::Key_Escape);
}

TEST_F(PropertyGridTest, HeaderGroupsAndColours) {
    const PropertyGridColors& colors = grid->Model()->Colors();
    EXPECT_EQ(grid->Model()->headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(),
              QStringLiteral("LNG_SETTDEV_PROPERTY"));
    EXPECT_EQ(grid->Model()->headerData(1, Qt::Horizontal, Qt::DisplayRole).toString(),
              QStringLiteral("LNG_SETTDEV_VALUE"));
    EXPECT_EQ(grid->Model()->rowCount(), int(table.Groups().size()));
    EXPECT_EQ(grid->View()->header()->sectionSize(0), grid->View()->viewport()->width() * 65 / 100);
    const QModelIndex group = grid->Model()->GroupIndex(1);
    EXPECT_EQ(group.data(Qt::BackgroundRole).value<QColor>(), QColor(214, 219, 233));
    EXPECT_EQ(group.data(Qt::ForegroundRole).value<QColor>(), QColor(5, 33, 106));
    EXPECT_EQ(colors.background, QColor(255, 255, 255));
    EXPECT_TRUE(grid->View()->isFirstColumnSpanned(1, {}));
    // Group rows take no edit; value cells do, name cells hand the edit to the value.
    EXPECT_FALSE(grid->Model()->flags(group) & Qt::ItemIsEditable);
    EXPECT_TRUE(grid->Model()->flags(Cell(kPort)) & Qt::ItemIsEditable);
    EXPECT_FALSE(grid->Model()->flags(Cell(kPort, 0)) & Qt::ItemIsEditable);
}

TEST_F(PropertyGridTest, FrozenGridShowsWhatItHeldAndTakesNoEdits) {
    grid->Freeze();
    const QString before = Shown(kPort);
    Row(kPort)->SetValue(4242);  // as the transfer thread would
    EXPECT_EQ(Shown(kPort), before);
    EXPECT_FALSE(grid->Model()->flags(Cell(kPort)) & Qt::ItemIsEditable);
    EXPECT_EQ(OpenEditor(kPort), nullptr);
    grid->Thaw();
    EXPECT_EQ(Shown(kPort), QStringLiteral("4242"));
    EXPECT_TRUE(Bold(kPort));
}

}  // namespace
