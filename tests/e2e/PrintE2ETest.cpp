// The printed page end to end: the print dialog prints through a CUPS server of the test's
// own (scripts/private-cups) to its PDF queue, and to the "PDF file" entry; the PDFs that
// come out are read back with pdfinfo and pdftoppm.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <thread>

#include "core/rdf/RdfFixtures.h"
#include "rdf/FileRdf.h"
#include "rdf/PrintPrevDlg.h"
#include "rdf/RdfPrintPainter.h"
#include "rdf/RdfPrinters.h"
#include "rdf/RecordingSet.h"

namespace {

constexpr int kRenderDpi = 100;  // pdftoppm's resolution

QString Run(const QString& program, const QStringList& args, int* status = nullptr) {
    QProcess p;
    p.start(program, args);
    p.waitForFinished(60000);
    if (status) *status = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    return QString::fromUtf8(p.readAllStandardOutput());
}

struct PdfPage {
    int pages = 0;
    QSizeF points;
    QString title;
    QImage grey;  // the first page at kRenderDpi
};

PdfPage ReadPdf(const QString& path, const QString& scratch) {
    PdfPage page;
    const QString info = Run(QStringLiteral("pdfinfo"), {path});
    const auto pages = QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(info);
    if (pages.hasMatch()) page.pages = pages.captured(1).toInt();
    const auto size = QRegularExpression(QStringLiteral("Page size:\\s+([\\d.]+) x ([\\d.]+) pts")).match(info);
    if (size.hasMatch()) page.points = QSizeF(size.captured(1).toDouble(), size.captured(2).toDouble());
    const auto title = QRegularExpression(QStringLiteral("Title:\\s+(.*)\n")).match(info);
    if (title.hasMatch()) page.title = title.captured(1).trimmed();
    const QString prefix = scratch + QStringLiteral("/page");
    Run(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QString::number(kRenderDpi), QStringLiteral("-gray"),
                                     QStringLiteral("-singlefile"), path, prefix});
    page.grey.load(prefix + QStringLiteral(".pgm"));
    return page;
}

// The darkest grey around a point of the page bitmap (printer pixels at dpi).
int DarkestNear(const QImage& grey, QPoint printerPixel, int dpi) {
    const QPoint c(printerPixel.x() * kRenderDpi / dpi, printerPixel.y() * kRenderDpi / dpi);
    int darkest = 255;
    for (int y = c.y() - 2; y <= c.y() + 2; ++y)
        for (int x = c.x() - 2; x <= c.x() + 2; ++x)
            if (grey.valid(x, y)) darkest = std::min(darkest, qGray(grey.pixel(x, y)));
    return darkest;
}

// The system's print system whose PDF entry writes where the test says. Without queues it
// offers the PDF entry alone and never asks a CUPS server: the client library keeps the
// first server it was pointed at for the rest of the process.
class TestPrinters : public CRdfSystemPrinters {
public:
    TestPrinters(QString pdf, bool queues) : m_pdf(std::move(pdf)), m_queues(queues) {}
    QString ChoosePdfFile(QWidget*) override { return m_pdf; }
    QStringList Names() override { return m_queues ? CRdfSystemPrinters::Names() : QStringList{kPdfEntry}; }
    QString DefaultName() override { return m_queues ? CRdfSystemPrinters::DefaultName() : QString(); }

private:
    QString m_pdf;
    bool m_queues;
};

class PrintE2ETest : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* tool : {"pdfinfo", "pdftoppm"})
            if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty())
                GTEST_SKIP() << tool << " is missing (scripts/deps installs poppler-utils)";
        const std::int64_t t0 = std::int64_t(1000000) * 1000;
        const QString path = scratch.Write(
            QStringLiteral("A.RDF"),
            RdfBytes(RdfFields(1, {kVolts}), {{0, t0, {0}}, {0, t0 + 1000, {1000}}, {0, t0 + 2000, {-500}}}));
        auto file = std::make_unique<CFileRdf>();
        ASSERT_TRUE(file->Open(path));
        file->BuildSummary();
        ASSERT_EQ(set.Add(std::move(file)), RdfAddResult::Added);
        content.set = &set;
        content.view = {t0, t0 + 2000};
        content.range = {102.0, -53.0};
        content.rows[0] = {true, kVolts, 1.0};
        content.title = QStringLiteral("Title");
    }

    // Prints the page of the selected printer and checks the PDF that came out: one page of
    // A4 landscape, dark where the frame and the curve are, white outside the margins.
    void PrintAndCheck(CPrintPrevDlg& dlg, const QString& pdf, const std::function<void()>& waitForOutput) {
        dlg.WaitForPage();
        ASSERT_TRUE(dlg.Printer());
        ASSERT_TRUE(dlg.PrintButton()->isEnabled());
        const RdfPaper paper = dlg.Printer()->paper;
        EXPECT_TRUE(paper.landscape);
        dlg.PrintButton()->click();
        waitForOutput();
        ASSERT_TRUE(QFileInfo::exists(pdf)) << pdf.toStdString();

        const PdfPage page = ReadPdf(pdf, scratch.Path(QString()));
        EXPECT_EQ(page.pages, 1);
        EXPECT_NEAR(page.points.width(), 841.89, 1.0);
        EXPECT_NEAR(page.points.height(), 595.28, 1.0);
        EXPECT_EQ(page.title, QStringLiteral("RDF Graph"));
        ASSERT_FALSE(page.grey.isNull());
        EXPECT_NEAR(page.grey.width(), 1169, 2);
        EXPECT_NEAR(page.grey.height(), 827, 2);

        // Where the page layout put the frame and the curve.
        const RdfPrintScale scale{double(paper.dpiX), double(paper.dpiY)};
        const RdfPrintPage layout = RdfPrintLayout::Build(content, dlg.Comment(), dlg.MarginRect(), scale,
                                                          RdfPrintPainter::CMeasure(scale));
        const RdfGraphGeometry& g = layout.graph.geometry;
        const int dpi = paper.dpiY;
        const int midY = (g.plot.top + g.plot.bottom) / 2;
        EXPECT_LT(DarkestNear(page.grey, QPoint(g.plot.left, midY), dpi), 128);
        EXPECT_LT(DarkestNear(page.grey, QPoint(g.plot.right - 1, midY), dpi), 128);
        EXPECT_LT(DarkestNear(page.grey, QPoint((g.plot.left + g.plot.right) / 2, g.plot.bottom - 1), dpi), 128);
        ASSERT_EQ(layout.graph.curves.size(), 1u);
        EXPECT_LT(DarkestNear(page.grey, layout.graph.curves[0].points[1], dpi), 128);
        // Paper outside the margins, and between the grid lines away from the curve.
        EXPECT_GE(DarkestNear(page.grey, QPoint(dlg.MarginRect().left / 2, midY), dpi), 250);
        std::vector<int> majors;
        for (const RdfValueTick& t : g.valueTicks)
            if (t.major && t.y < g.y0) majors.push_back(t.y);
        ASSERT_GE(majors.size(), 3u);
        ASSERT_GE(g.timeTicks.size(), 11u);
        const QPoint paperInPlot((g.timeTicks[0].x + g.timeTicks[10].x) / 2, (majors[1] + majors[2]) / 2);
        EXPECT_GE(DarkestNear(page.grey, paperInPlot, dpi), 250);
    }

    RdfScratch scratch;
    CRecordingSet set;
    RdfPrintContent content;
};

// A CUPS server of the test's own, stopped when the test ends.
class PrivateCups {
public:
    PrivateCups() : m_dir(QDir::cleanPath(QStringLiteral(TRV730_BIN_DIR "/../private-cups-%1").arg(QCoreApplication::applicationPid()))) {}
    ~PrivateCups() {
        if (!m_started) return;
        Run(Script(), {QStringLiteral("stop"), m_dir});
        QDir(m_dir).removeRecursively();
    }
    bool Start(QString& socket, QString& error) {
        int status = 0;
        QProcess p;
        p.start(Script(), {QStringLiteral("start"), m_dir});
        p.waitForFinished(60000);
        m_started = true;
        status = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
        socket = QString::fromUtf8(p.readAllStandardOutput()).trimmed();
        error = QString::fromUtf8(p.readAllStandardError());
        if (status == 3) m_started = false;
        return status == 0 && !socket.isEmpty();
    }
    QString Output(const QString& queue) const { return m_dir + QStringLiteral("/out/") + queue + QStringLiteral(".pdf"); }
    static QString Script() { return QStringLiteral(TRV730_SOURCE_DIR "/scripts/private-cups"); }

private:
    QString m_dir;
    bool m_started = false;
};

TEST_F(PrintE2ETest, PrintsThroughAPrivateCupsServerToItsPdfQueue) {
    if (!QFileInfo::exists(QStringLiteral("/usr/sbin/cupsd")) || !QFileInfo::exists(QStringLiteral("/usr/sbin/lpadmin")))
        GTEST_SKIP() << "no cupsd or lpadmin (scripts/deps installs cups-daemon and cups-client)";
    PrivateCups cups;
    QString socket;
    QString error;
    ASSERT_TRUE(cups.Start(socket, error)) << error.toStdString();
    // Qt's print support asks the server CUPS_SERVER names, never the machine's own.
    ScopedEnv server("CUPS_SERVER", socket);

    const QString pdf = cups.Output(QStringLiteral("TRV730-PDF"));
    CPrintPrevDlg dlg(content, std::make_unique<TestPrinters>(QString(), true));
    // The server's default queue is chosen; the PDF entry follows the queues.
    EXPECT_EQ(dlg.PrinterList()->currentText(), QStringLiteral("TRV730-PDF"));
    EXPECT_EQ(dlg.PrinterList()->itemText(dlg.PrinterList()->count() - 1), CRdfSystemPrinters::kPdfEntry);
    dlg.WaitForPage();
    ASSERT_TRUE(dlg.Printer());
    EXPECT_EQ(dlg.Printer()->paper.dpiY, CRdfSystemPrinters::kPageDpi);
    EXPECT_EQ(dlg.PageBitmap().size(), QSize(7015, 4960));
    PrintAndCheck(dlg, pdf, [&] {
        // The job is done when its whole file is there.
        QElapsedTimer t;
        t.start();
        while (t.elapsed() < 60000) {
            QFile f(pdf);
            if (f.open(QIODevice::ReadOnly) && f.size() > 0) {
                f.seek(std::max<qint64>(0, f.size() - 64));
                if (f.readAll().contains("%%EOF")) return;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
    });
}

// Runs after the CUPS test: printing through Qt ties the process to the first CUPS server the
// client library asked, so a test that prints to the PDF entry first would hide the private
// server from the one after it when both run in one process.
TEST_F(PrintE2ETest, PdfFileEntryWritesThePage) {
    const QString pdf = scratch.Path(QStringLiteral("graph.pdf"));
    CPrintPrevDlg dlg(content, std::make_unique<TestPrinters>(pdf, false));
    ASSERT_EQ(dlg.PrinterList()->currentText(), CRdfSystemPrinters::kPdfEntry);
    dlg.WaitForPage();
    EXPECT_EQ(dlg.Printer()->paper.dpiY, 600);
    EXPECT_EQ(dlg.PageBitmap().size(), QSize(7015, 4960));
    // Page setup over the PDF entry: confirmed as it stands, the paper stays A4 landscape.
    bool setupShown = false;
    QTimer::singleShot(0, [&] {
        auto* setup = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(setup, nullptr);
        setupShown = true;
        setup->accept();
    });
    dlg.SetupButton()->click();
    EXPECT_TRUE(setupShown);
    dlg.WaitForPage();
    EXPECT_EQ(dlg.Printer()->paper.SheetTenths(), QSize(2970, 2100));
    EXPECT_EQ(dlg.PageBitmap().size(), QSize(7015, 4960));
    PrintAndCheck(dlg, pdf, [] {});
}

}  // namespace
