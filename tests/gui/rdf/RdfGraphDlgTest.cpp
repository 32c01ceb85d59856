#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QSlider>
#include <QTemporaryDir>
#include <QPointer>
#include <QTimer>
#include <memory>

#include "app/AppCore.h"
#include "app/MainCommands.h"
#include "app/TRV730DataAnalysisDlg.h"
#include "app/MessageBox.h"
#include "controls/DialogUnits.h"
#include "controls/DlgToolBar.h"
#include "core/rdf/RdfFixtures.h"
#include "language/Language.h"
#include "rdf/RdfGraphDlg.h"
#include "rdf/RdfGraphWidget.h"
#include "rdf/RdfOpenProgress.h"
#include "rdf/RdfSettingsDlg.h"
#include "rdf/RdfWindowHost.h"
#include "support/TestSupport.h"

namespace {

constexpr SourceCode kA = MakeSourceCode(0, 0, QK_VOLTAGE_RMS);
constexpr SourceCode kB = MakeSourceCode(1, 0, QK_VOLTAGE_RMS);
constexpr SourceCode kC = MakeSourceCode(0, 0, QK_CURRENT_RMS);

class RdfGraphDlgTest : public ::testing::Test {
protected:
    void SetUp() override {
        UseKeyNameLanguage();
        MessageBox::SetHook([this](const MessageBox::Request& r) {
            messages << r.text;
            return QMessageBox::Ok;
        });
        dlg = std::make_unique<CRdfGraphDlg>();
    }
    void TearDown() override {
        dlg.reset();
        MessageBox::SetHook({});
    }
    QString File(const QString& name, std::uint32_t key, std::initializer_list<SourceCode> sources, std::int64_t t0,
                 std::array<std::uint8_t, 6> device = {1, 2, 3, 4, 5, 6}) {
        RdfHeaderFields f = RdfFields(key, sources);
        f.deviceId = device;
        return scratch.Write(name, RdfBytes(f, {{0, t0, {10, 20, 30}}, {0x02, t0 + 500, {-5, 25, 35}},
                                                 {0, t0 + 60000, {15, 22, 33}}}));
    }
    void Open(const QStringList& paths) {
        dlg->OpenFiles(paths);
        QElapsedTimer t;
        t.start();
        while (dlg->IsOpening() && t.elapsed() < 20000) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        ASSERT_FALSE(dlg->IsOpening());
    }
    void Type(int row, const QString& text) {
        QLineEdit* edit = dlg->RowCoefficient(row);
        edit->setText(text);
        emit edit->textEdited(text);
    }

    QTemporaryDir dir;
    ScopedEnv config{"XDG_CONFIG_HOME", dir.path()};
    CAppCore app;
    RdfScratch scratch;
    QStringList messages;
    std::unique_ptr<CRdfGraphDlg> dlg;
};

TEST_F(RdfGraphDlgTest, StartsEmptyWithItsLayout) {
    const DialogUnits du = DialogUnits::ForDialogFont();
    EXPECT_EQ(dlg->size(), du.Size(627, 374));
    EXPECT_EQ(dlg->minimumSize(), dlg->size());
    EXPECT_EQ(dlg->Graph()->geometry(), du.Rect(0, 0, 627, 259));
    EXPECT_EQ(dlg->windowTitle(), "LNG_RDF_TITLE");
    EXPECT_EQ(dlg->StatisticsLines(), (QStringList{"LNG_RDF_COUNT_OPEN_FILES 0", "LNG_RDF_COUNT_RECORDS 0",
                                                   "LNG_RDF_COUNT_EVENTS 0", "LNG_RDF_START_TIME 0",
                                                   "LNG_RDF_STOP_TIME 0"}));
    for (int row = 0; row < 6; ++row) {
        EXPECT_EQ(dlg->RowCoefficient(row)->text(), "1.00");
        EXPECT_FALSE(dlg->RowCheck(row)->isEnabled());
    }
    // Only open and display settings while empty.
    for (int c = CRdfGraphDlg::ID_OPEN_FILE; c <= CRdfGraphDlg::ID_RULER; ++c)
        EXPECT_EQ(dlg->IsCommandEnabled(c), c == CRdfGraphDlg::ID_OPEN_FILE || c == CRdfGraphDlg::ID_SETTINGS) << c;
    // Twelve buttons with their tooltips.
    int buttons = 0;
    for (QAction* a : dlg->ToolBar()->actions()) buttons += !a->isSeparator();
    EXPECT_EQ(buttons, 12);
    EXPECT_EQ(dlg->ToolBar()->Button(CRdfGraphDlg::ID_ZOOM_IN)->toolTip(), "LNG_TOOLBAR_ZOOM_IN");

    // The graph stretches; the rows keep their distance to the bottom-right corner.
    dlg->show();
    const QRect row = dlg->RowList(5)->geometry();
    dlg->resize(dlg->width() + 200, dlg->height() + 100);
    QCoreApplication::processEvents();
    EXPECT_EQ(dlg->RowList(5)->geometry(), row.translated(200, 100));
    EXPECT_EQ(dlg->Graph()->size(), du.Size(627, 259) + QSize(200, 100));
    EXPECT_EQ(dlg->Graph()->Buffer().size(), dlg->Graph()->size());
}

TEST_F(RdfGraphDlgTest, OpensFilesIntoOneSetInKeyOrder) {
    Open({File("seven.rdf", 7, {kA, kB, kC}, 100000000), File("five.rdf", 5, {kA, kB, kC}, 0)});
    EXPECT_TRUE(messages.isEmpty()) << messages.join('\n').toStdString();
    ASSERT_EQ(dlg->Set().FileCount(), 2);
    EXPECT_EQ(dlg->Set().File(0).FileName(), "five.rdf");
    EXPECT_EQ(dlg->windowTitle(), "LNG_RDF_TITLE [five.rdf] [seven.rdf]");
    EXPECT_EQ(dlg->View(), dlg->Data());
    EXPECT_EQ(dlg->Data(), (TimeRange{0, 100060000}));
    // Three sources: rows 1 to 3 on, 4 to 6 off and disabled.
    for (int row = 0; row < 6; ++row) {
        EXPECT_EQ(dlg->RowCheck(row)->isChecked(), row < 3) << row;
        EXPECT_EQ(dlg->RowCheck(row)->isEnabled(), row < 3) << row;
        EXPECT_EQ(dlg->RowList(row)->count(), 3);
        EXPECT_EQ(dlg->RowList(row)->isEnabled(), row < 3);
    }
    EXPECT_EQ(dlg->RowList(1)->currentIndex(), 1);

    // Zoom, change rows, open a third file: totals of all files, the whole range again,
    // entries 1.. selected again, coefficients kept.
    dlg->RunCommand(CRdfGraphDlg::ID_ZOOM_IN);
    EXPECT_NE(dlg->View(), dlg->Data());
    Type(1, "2.5");
    dlg->RowList(0)->setCurrentIndex(2);
    emit dlg->RowList(0)->activated(2);
    Open({File("nine.rdf", 9, {kA}, 200000000)});
    EXPECT_EQ(dlg->View(), dlg->Data());
    EXPECT_EQ(dlg->RowList(0)->currentIndex(), 0);
    EXPECT_EQ(dlg->RowCoefficient(1)->text(), "2.50");
    EXPECT_EQ(dlg->StatisticsLines().mid(0, 3),
              (QStringList{"LNG_RDF_COUNT_OPEN_FILES 3", "LNG_RDF_COUNT_RECORDS 9", "LNG_RDF_COUNT_EVENTS 3"}));
    EXPECT_EQ(dlg->StatisticsLines()[3], "LNG_RDF_START_TIME 01.01.1980 00:00:00");
    EXPECT_EQ(dlg->StatisticsLines()[4], "LNG_RDF_STOP_TIME 03.01.1980 07:34:20");

    // Close: the empty state again.
    dlg->RunCommand(CRdfGraphDlg::ID_CLOSE_FILE);
    EXPECT_FALSE(dlg->IsLoaded());
    EXPECT_EQ(dlg->windowTitle(), "LNG_RDF_TITLE");
    EXPECT_EQ(dlg->RowList(0)->count(), 0);
    EXPECT_EQ(dlg->StatisticsLines()[0], "LNG_RDF_COUNT_OPEN_FILES 0");
}

TEST_F(RdfGraphDlgTest, RefusedFilesAreNamedAndLeaveTheSetAlone) {
    const QString five = File("five.rdf", 5, {kA}, 0);
    Open({five});
    ASSERT_EQ(dlg->Set().FileCount(), 1);
    const QString missing = scratch.Path("missing.rdf");
    Open({five, File("other.rdf", 6, {kA}, 1000, {9, 9, 9, 9, 9, 9}), missing, File("ok.rdf", 8, {kA}, 70000)});
    ASSERT_EQ(messages.size(), 3) << messages.join('\n').toStdString();
    EXPECT_TRUE(messages[0].startsWith("LNG_RDF_ERR_FALRLOAD")) << messages[0].toStdString();
    EXPECT_TRUE(messages[0].contains("five.rdf"));
    EXPECT_TRUE(messages[1].startsWith("LNG_RDF_ERR_FCOMPATIBLE"));
    EXPECT_TRUE(messages[2].startsWith("LNG_RDF_ERR_FOPEN"));
    EXPECT_TRUE(messages[2].contains(missing));  // the full path
    EXPECT_EQ(dlg->Set().FileCount(), 2);        // the good one still went in
}

TEST_F(RdfGraphDlgTest, CoefficientEditKeepsItsRule) {
    Open({File("a.rdf", 1, {kA}, 0)});
    const struct {
        const char* typed;
        const char* shown;
    } cases[] = {{"12.345", "12.34"}, {"-3", "0.00"}, {"20000", "10000.00"}, {"7", "7.00"}, {"abc", "7.00"}};
    for (const auto& c : cases) {
        Type(0, c.typed);
        EXPECT_EQ(dlg->RowCoefficient(0)->text(), c.shown) << c.typed;
    }
    EXPECT_EQ(dlg->RowCoefficient(0)->selectedText(), "7.00");  // not a number: all selected
    EXPECT_EQ(dlg->Rows().At(0).coefficient, 7.0);

    // Unchecking a row disables its controls and redraws without it.
    dlg->RowCheck(0)->setChecked(false);
    emit dlg->RowCheck(0)->clicked(false);
    EXPECT_FALSE(dlg->RowList(0)->isEnabled());
    EXPECT_DOUBLE_EQ(dlg->Range().maximum, 1.02);
    EXPECT_DOUBLE_EQ(dlg->Range().minimum, -0.02);

    // A chosen colour is kept in the store at once.
    dlg->SetRowColor(2, 0x00123456);
    EXPECT_EQ(app.Settings.RdfColor[2], 0x00123456u);
    CSettings saved;
    ASSERT_TRUE(saved.Load());
    EXPECT_EQ(saved.RdfColor[2], 0x00123456u);
}

TEST_F(RdfGraphDlgTest, DisplaySettingsDialog) {
    CRdfSettingsDlg settings({3, 9, false, true});
    // Markers off grey the size slider; a stored size out of range shows its nearest end.
    EXPECT_FALSE(settings.MarkerSizeSlider()->isEnabled());
    EXPECT_EQ(settings.MarkerSizeSlider()->value(), 6);
    settings.DataMarkersBox()->setChecked(true);
    EXPECT_TRUE(settings.MarkerSizeSlider()->isEnabled());
    settings.DataMarkersBox()->setChecked(false);
    settings.MarkerSizeSlider()->setValue(4);
    EXPECT_EQ(settings.Values(), (RdfDisplaySettings{3, 4, false, true}));

    // Through the window: cancel keeps the store, save writes it.
    app.Settings.RdfLineWidth = 1;
    const auto answer = [](bool save) {
        QTimer::singleShot(0, [save] {
            auto* d = qobject_cast<CRdfSettingsDlg*>(QApplication::activeModalWidget());
            ASSERT_NE(d, nullptr);
            d->LineWidthSlider()->setValue(4);
            save ? d->accept() : d->reject();
        });
    };
    answer(false);
    dlg->RunCommand(CRdfGraphDlg::ID_SETTINGS);
    EXPECT_EQ(app.Settings.RdfLineWidth, 1);
    answer(true);
    dlg->RunCommand(CRdfGraphDlg::ID_SETTINGS);
    EXPECT_EQ(app.Settings.RdfLineWidth, 4);
    CSettings saved;
    ASSERT_TRUE(saved.Load());
    EXPECT_EQ(saved.RdfLineWidth, 4);
}

TEST_F(RdfGraphDlgTest, OneWindowThatTheHostBringsForwardAndCloses) {
    CRdfWindowHost host;
    CRdfGraphDlg* first = host.Show();
    EXPECT_EQ(host.Show(), first);
    EXPECT_TRUE(first->isVisible());
    host.OpenFile(File("a.rdf", 1, {kA}, 0));
    EXPECT_TRUE(host.Close());
    EXPECT_EQ(host.Window(), nullptr);
    EXPECT_NE(host.Show(), nullptr);
}

// The main window's view command makes one recorded-data window and brings it forward; a
// file handed over (a double click on a recording) opens in it; closing the main window
// closes it first.
TEST_F(RdfGraphDlgTest, MainWindowKeepsOneWindowAndClosesItFirst) {
    CTRV730DataAnalysisDlg window(app.Settings, [](QWidget*, CSettings&, int) -> IDevicePage* { return nullptr; });
    window.RunCommand(ID_VIEW_RDF);
    QPointer<CRdfGraphDlg> rdf = window.RdfWindows()->Window();
    ASSERT_NE(rdf, nullptr);
    window.RunCommand(ID_VIEW_RDF);
    EXPECT_EQ(window.RdfWindows()->Window(), rdf);
    window.OpenRecordingFile(File("a.rdf", 1, {kA}, 0));
    QElapsedTimer t;
    t.start();
    while (rdf->IsOpening() && t.elapsed() < 20000) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    EXPECT_EQ(rdf->Set().FileCount(), 1);
    window.close();
    EXPECT_TRUE(rdf.isNull());
}

}  // namespace
