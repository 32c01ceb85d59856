#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <map>

#include "app/AppCore.h"
#include "app/MessageBox.h"
#include "core/rdf/RdfFixtures.h"
#include "rdf/PrintPrevDlg.h"
#include "rdf/RdfPageRenderer.h"
#include "rdf/RdfPrintPainter.h"
#include "rdf/RdfGraphDlg.h"
#include "rdf/RdfPrintCommand.h"
#include "rdf/RdfPrintPreview.h"
#include "rdf/RecordingSet.h"

namespace {


// A print system of named printers with fixed descriptions; remembers what it was asked.
struct FakePrinters : IRdfPrinters {
    struct Log {
        int prints = 0;
        QImage printed;
        QString printedOn;
    };
    QStringList names;
    QString defaultName;
    std::map<QString, RdfPaper> papers;  // printers that open
    std::shared_ptr<Log> log = std::make_shared<Log>();

    QStringList Names() override { return names; }
    QString DefaultName() override { return defaultName; }
    bool Open(const QString& name, RdfPrinterDesc& desc) override {
        const auto it = papers.find(name);
        if (it == papers.end()) return false;
        desc = {name, false, QPageSize(QPageSize::A4), it->second};
        return true;
    }
    SetupResult PageSetup(QWidget*, RdfPrinterDesc& desc) override {
        desc.paper.widthTenths = 1480;  // A5
        desc.paper.lengthTenths = 2100;
        return SetupResult::Changed;
    }
    bool Print(QWidget*, const RdfPrinterDesc& desc, const QImage& page) override {
        ++log->prints;
        log->printed = page;
        log->printedOn = desc.name;
        return true;
    }
};

// A4 at 50 dpi keeps the pages small.
constexpr RdfPaper kTurning{2100, 2970, true, false, 50, 50};
constexpr RdfPaper kFixed{2100, 2970, false, false, 50, 50};

class PrintPrevDlgTest : public ::testing::Test {
protected:
    void SetUp() override {
        UseKeyNameLanguage();
        MessageBox::SetHook([this](const MessageBox::Request& r) {
            messages << r.text;
            return QMessageBox::Ok;
        });
        const std::int64_t t0 = std::int64_t(1000000) * 1000;
        const QString path = scratch.Write(QStringLiteral("A.RDF"),
                                           RdfBytes(RdfFields(1, {kVolts}), {{0, t0, {0}}, {0, t0 + 1000, {1000}}}));
        auto file = std::make_unique<CFileRdf>();
        ASSERT_TRUE(file->Open(path));
        ASSERT_EQ(set.Add(std::move(file)), RdfAddResult::Added);
        content.set = &set;
        content.view = {t0, t0 + 1000};
        content.range = {102.0, -2.0};
        content.title = QStringLiteral("Title");
        content.rows[0] = {true, kVolts, 1.0};
    }
    void TearDown() override { MessageBox::SetHook({}); }

    std::unique_ptr<CPrintPrevDlg> Make(FakePrinters printers) {
        log = printers.log;
        auto d = std::make_unique<CPrintPrevDlg>(content, std::make_unique<FakePrinters>(std::move(printers)));
        d->WaitForPage();
        return d;
    }
    static FakePrinters Printers() {
        FakePrinters p;
        p.names = {QStringLiteral("Office"), QStringLiteral("Lab-2"), QStringLiteral("Fixed")};
        p.papers = {{QStringLiteral("Office"), kTurning}, {QStringLiteral("Lab-2"), kTurning},
                    {QStringLiteral("Fixed"), kFixed}};
        return p;
    }

    RdfScratch scratch;
    CRecordingSet set;
    RdfPrintContent content;
    QStringList messages;
    std::shared_ptr<FakePrinters::Log> log;
};

TEST_F(PrintPrevDlgTest, PicksTheDefaultPrinterAndTurnsThePageWhereItCan) {
    FakePrinters printers = Printers();
    printers.defaultName = QStringLiteral("Lab");
    auto dlg = Make(printers);
    EXPECT_EQ(dlg->PrinterList()->currentText(), QStringLiteral("Lab-2"));
    EXPECT_EQ(dlg->minimumSize(), dlg->size());
    ASSERT_TRUE(dlg->Printer());
    EXPECT_TRUE(dlg->Printer()->paper.landscape);
    // A4 landscape at 50 dpi; margins of 5 % on every side.
    EXPECT_EQ(dlg->PageBitmap().size(), QSize(584, 413));
    EXPECT_EQ(dlg->PageBitmap().format(), QImage::Format_Mono);
    EXPECT_EQ(dlg->MarginRect(), (RdfEdges{29, 20, 584 - 29, 413 - 20}));
    EXPECT_TRUE(dlg->SetupButton()->isEnabled());
    EXPECT_TRUE(dlg->PrintButton()->isEnabled());
    EXPECT_TRUE(messages.isEmpty());

    // A printer without an orientation keeps portrait: the paper's width across.
    dlg->PrinterList()->setCurrentIndex(2);
    dlg->WaitForPage();
    EXPECT_FALSE(dlg->Printer()->paper.landscape);
    EXPECT_EQ(dlg->PageBitmap().size(), QSize(413, 584));

    // Page setup takes the printer's new paper.
    dlg->SetupButton()->click();
    dlg->WaitForPage();
    EXPECT_EQ(dlg->PageBitmap().size(), QSize(291, 413));

    // Without a default the first entry.
    auto first = Make(Printers());
    EXPECT_EQ(first->PrinterList()->currentIndex(), 0);
}

TEST_F(PrintPrevDlgTest, NoPrinterSaysSoAndDisablesTheButtons) {
    for (const bool listed : {false, true}) {
        messages.clear();
        FakePrinters printers;
        if (listed) printers.names = {QStringLiteral("Gone")};  // listed but cannot be opened
        auto dlg = Make(printers);
        EXPECT_EQ(messages, QStringList{QStringLiteral("LNG_PRINTRDF_NO_PRINTER")});
        EXPECT_FALSE(dlg->SetupButton()->isEnabled());
        EXPECT_FALSE(dlg->PrintButton()->isEnabled());
        EXPECT_FALSE(dlg->Printer());
        EXPECT_TRUE(dlg->PageBitmap().isNull());
        dlg->OnPrint();
        EXPECT_EQ(log->prints, 0);
    }
}

TEST_F(PrintPrevDlgTest, MarginArrowsStopAtTheirEndsAndRenderThePageAgain) {
    auto dlg = Make(Printers());
    QToolButton* up = dlg->MarginArrow(RdfPrintMargins::Top, true);
    QToolButton* down = dlg->MarginArrow(RdfPrintMargins::Top, false);
    for (int i = 0; i < 40; ++i) up->click();
    EXPECT_EQ(dlg->Margins().percent[RdfPrintMargins::Top], 40);
    EXPECT_EQ(dlg->MarginEdit(RdfPrintMargins::Top)->text(), QStringLiteral("40"));
    EXPECT_TRUE(dlg->MarginEdit(RdfPrintMargins::Top)->isReadOnly());
    dlg->WaitForPage();
    EXPECT_EQ(dlg->MarginRect().top, 413 * 40 / 100);
    for (int i = 0; i < 45; ++i) down->click();
    EXPECT_EQ(dlg->Margins().percent[RdfPrintMargins::Top], 0);
    EXPECT_EQ(dlg->MarginEdit(RdfPrintMargins::Top)->text(), QStringLiteral("0"));
    dlg->MarginArrow(RdfPrintMargins::Left, true)->click();
    EXPECT_EQ(dlg->MarginEdit(RdfPrintMargins::Left)->text(), QStringLiteral("6"));
    dlg->WaitForPage();
    EXPECT_EQ(dlg->MarginRect(), (RdfEdges{584 * 6 / 100, 0, 584 - 29, 413 - 20}));
    // The page shows it: the title now starts at the sheet's top.
    const QImage& page = dlg->PageBitmap();
    int darkInTopRows = 0;
    for (int y = 0; y < 15; ++y)
        for (int x = 0; x < page.width(); ++x) darkInTopRows += page.pixelIndex(x, y) == 0;
    EXPECT_GT(darkInTopRows, 0);
}

TEST_F(PrintPrevDlgTest, CommentUpdateButtonFollowsTheText) {
    auto dlg = Make(Printers());
    EXPECT_EQ(dlg->Comment(), QStringLiteral("LNG_PRINTRDF_COMMENT_TEXT"));
    EXPECT_FALSE(dlg->UpdateButton()->isEnabled());
    dlg->CommentEdit()->setPlainText(QStringLiteral("Phase A sags at noon"));
    EXPECT_TRUE(dlg->UpdateButton()->isEnabled());
    dlg->CommentEdit()->setPlainText(QStringLiteral("LNG_PRINTRDF_COMMENT_TEXT"));
    EXPECT_FALSE(dlg->UpdateButton()->isEnabled());
    dlg->CommentEdit()->setPlainText(QStringLiteral("Phase A sags at noon"));
    dlg->UpdateButton()->click();
    EXPECT_EQ(dlg->Comment(), QStringLiteral("Phase A sags at noon"));
    EXPECT_FALSE(dlg->UpdateButton()->isEnabled());
}

TEST_F(PrintPrevDlgTest, PreviewPrintAndKeys) {
    auto dlg = Make(Printers());
    dlg->show();
    // The preview: the sheet with a black frame and a grey shadow to its right and below.
    CRdfPrintPreview* preview = dlg->Preview();
    const QRect sheet = preview->SheetRect();
    ASSERT_FALSE(sheet.isEmpty());
    EXPECT_NEAR(double(sheet.width()) / sheet.height(), 2970.0 / 2100.0, 0.01);
    const QImage shot = preview->grab().toImage();
    EXPECT_EQ(QColor(shot.pixel(sheet.left() - 1, sheet.center().y())), QColor(Qt::black));
    EXPECT_EQ(QColor(shot.pixel(sheet.right() + 3, sheet.center().y())), CRdfPrintPreview::kShadow);
    EXPECT_EQ(QColor(shot.pixel(sheet.center().x(), sheet.bottom() + 3)), CRdfPrintPreview::kShadow);

    // The preview grows with the window; the panel stays.
    const QRect before = preview->geometry();
    const QRect listBefore = dlg->PrinterList()->geometry();
    dlg->resize(dlg->size() + QSize(200, 100));
    QApplication::processEvents();
    EXPECT_EQ(preview->geometry().size(), before.size() + QSize(200, 100));
    EXPECT_EQ(dlg->PrinterList()->geometry(), listBefore);

    // Enter and Escape leave the dialog open.
    for (int key : {Qt::Key_Escape, Qt::Key_Return, Qt::Key_Enter}) {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
        QApplication::sendEvent(dlg.get(), &press);
    }
    EXPECT_TRUE(dlg->isVisible());

    // Print sends the page bitmap as it is.
    dlg->PrintButton()->click();
    EXPECT_EQ(log->prints, 1);
    EXPECT_EQ(log->printedOn, QStringLiteral("Office"));
    EXPECT_EQ(log->printed, dlg->PageBitmap());
}

// Requests made while a page is drawn: only the newest is drawn after it, and a cleared
// renderer shows no page from before.
TEST_F(PrintPrevDlgTest, RendererKeepsOnlyTheNewestPage) {
    CRdfPageRenderer renderer;
    int rendered = 0;
    QObject::connect(&renderer, &CRdfPageRenderer::Rendered, [&](bool failed) {
        EXPECT_FALSE(failed);
        ++rendered;
    });
    const RdfPaper paper = kTurning;
    const auto request = [&](const QString& comment) {
        CRdfPageRenderer::Request r;
        r.content = content;
        r.sheet = paper.SheetPixels();
        r.margins = RdfPrintMargins().Apply(r.sheet);
        r.scale = {50.0, 50.0};
        r.comment = comment;
        return r;
    };
    for (const char* comment : {"first", "second", "third"}) renderer.Render(request(QString::fromLatin1(comment)));
    EXPECT_FALSE(renderer.Idle());
    renderer.WaitIdle();
    EXPECT_LE(rendered, 2);
    QImage expected = RdfPrintPainter::NewPageBitmap(paper.SheetPixels());
    const CRdfPageRenderer::Request last = request(QStringLiteral("third"));
    RdfPrintPainter::RenderPrintPage(expected, last.content, last.margins, last.scale, last.comment);
    EXPECT_EQ(renderer.Page(), expected);

    renderer.Render(request(QStringLiteral("fourth")));
    renderer.Clear();
    renderer.WaitIdle();
    EXPECT_TRUE(renderer.Page().isNull());
}

TEST(ShrinkMonoPageTest, AveragesWhiteOverEachCell) {
    QImage page(16, 4, QImage::Format_Mono);
    page.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
    page.fill(1);
    for (int y = 0; y < 4; ++y) page.setPixel(3, y, 0);  // a black column in the first cell
    const QImage grey = ShrinkMonoPage(page, QSize(2, 1));
    ASSERT_EQ(grey.size(), QSize(2, 1));
    EXPECT_EQ(qGray(grey.pixel(0, 0)), 255 * 7 / 8);
    EXPECT_EQ(qGray(grey.pixel(1, 0)), 255);
}

// The window's print command: the data-marker question when markers are off, then the
// dialog over the window's set.
class RdfPrintCommandTest : public PrintPrevDlgTest {
protected:
    QTemporaryDir dir;
    ScopedEnv config{"XDG_CONFIG_HOME", dir.path()};
    CAppCore app;
};

TEST_F(RdfPrintCommandTest, AsksToTurnDataMarkersOnThenOpensTheDialog) {
    CRdfGraphDlg window;
    window.OpenFiles({scratch.Path(QStringLiteral("A.RDF"))});
    QElapsedTimer t;
    t.start();
    while (window.IsOpening() && t.elapsed() < 20000) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    ASSERT_TRUE(window.IsLoaded());
    SetRdfPrintersFactory([] { return std::make_unique<FakePrinters>(Printers()); });

    for (const bool yes : {false, true}) {
        app.Settings.RdfDataMarkers = 0;
        QStringList asked;
        MessageBox::SetHook([&](const MessageBox::Request& r) {
            asked << r.text;
            return yes ? QMessageBox::Yes : QMessageBox::No;
        });
        bool shown = false;
        QTimer::singleShot(0, [&] {
            auto* d = qobject_cast<CPrintPrevDlg*>(QApplication::activeModalWidget());
            ASSERT_NE(d, nullptr);
            shown = true;
            d->WaitForPage();
            EXPECT_EQ(d->PageBitmap().size(), QSize(584, 413));
            d->close();
        });
        window.RunCommand(CRdfGraphDlg::ID_PRINT);
        EXPECT_TRUE(shown);
        EXPECT_EQ(asked, QStringList{QStringLiteral("LNG_RDF_ENABLE_MARKER")});
        EXPECT_EQ(app.Settings.RdfDataMarkers, yes ? 1 : 0);
        CSettings saved;
        if (yes) {
            ASSERT_TRUE(saved.Load());
            EXPECT_EQ(saved.RdfDataMarkers, 1);
        }
    }
    // Markers on: no question.
    QStringList asked;
    MessageBox::SetHook([&](const MessageBox::Request& r) {
        asked << r.text;
        return QMessageBox::Ok;
    });
    QTimer::singleShot(0, [] { QApplication::activeModalWidget()->close(); });
    window.RunCommand(CRdfGraphDlg::ID_PRINT);
    EXPECT_TRUE(asked.isEmpty());
    SetRdfPrintersFactory({});

    const RdfPrintContent c = RdfPrintContentOf(window);
    EXPECT_EQ(c.set, &window.Set());
    EXPECT_TRUE(c.rows[0].on);
    EXPECT_FALSE(c.seriesNames[0].isEmpty());
    EXPECT_EQ(c.coefficientWord, QStringLiteral("LNG_RDF_PKF"));
}

}  // namespace
