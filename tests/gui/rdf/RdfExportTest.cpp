#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <csignal>
#include <future>
#include <memory>
#include <sys/resource.h>

#include "app/AppCore.h"
#include "app/MessageBox.h"
#include "core/rdf/RdfFixtures.h"
#include "rdf/CalendarTime.h"
#include "rdf/RdfExportRunner.h"
#include "rdf/RdfGraphDlg.h"
#include "rdf/RdfOpenProgress.h"
#include "support/TestSupport.h"

namespace {

const std::int64_t kT0 = *CalendarTime{2024, 3, 15, 10, 20, 30, 0}.ToMs();
const SourceCode kFive[5] = {MakeSourceCode(0, 0, QK_VOLTAGE_RMS), MakeSourceCode(1, 0, QK_VOLTAGE_RMS),
                             MakeSourceCode(2, 0, QK_VOLTAGE_RMS), MakeSourceCode(0, 0, QK_CURRENT_RMS),
                             MakeSourceCode(0, 0, QK_FREQUENCY)};
using C = CRdfGraphDlg;

// Export from the window, with the save dialog, the desktop and the message boxes stood in for.
class RdfExportTest : public ::testing::Test {
protected:
    void SetUp() override {
        MessageBox::SetHook([this](const MessageBox::Request& r) {
            messages << r.text;
            return answer;
        });
        CRdfExportRunner::SetChooseFileHook([this](QWidget*, const QString& proposedPath) {
            proposed = proposedPath;
            return chosen;
        });
        CRdfExportRunner::SetOpenFileHook([this](const QString& path) { opened << path; });
        dlg = std::make_unique<CRdfGraphDlg>();
    }
    void TearDown() override {
        dlg.reset();
        CRdfExportRunner::SetChooseFileHook({});
        CRdfExportRunner::SetOpenFileHook({});
        CRdfExportRunner::SetProgressHook({});
        MessageBox::SetHook({});
    }
    // Three records a file: kT0 + offset, + 500 (an event), + 60000.
    QString File(const QString& name, std::uint32_t key, std::vector<SourceCode> sources, std::int64_t offset) {
        RdfHeaderFields f = RdfFields(key);
        for (size_t i = 0; i < sources.size(); ++i) f.slotCodes[i] = sources[i];
        const std::int64_t t = kT0 + offset;
        return scratch.Write(name, RdfBytes(f, {{0, t, {10, 20, 30, 40, 5000}},
                                                {0x02, t + 500, {-5, 25, 35, 45, 5001}},
                                                {0, t + 60000, {15, 22, 33, 44, 4999}}}));
    }
    void Open(const QStringList& paths) {
        dlg->OpenFiles(paths);
        Wait([&] { return dlg->IsOpening(); });
        ASSERT_TRUE(dlg->IsLoaded());
    }
    template <typename F>
    void Wait(F busy) {
        QElapsedTimer t;
        t.start();
        while (busy() && t.elapsed() < 20000) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    void Export() {
        dlg->RunCommand(C::ID_EXPORT);
        Wait([&] { return dlg->IsExporting(); });
        ASSERT_FALSE(dlg->IsExporting());
    }
    QStringList Lines(const QString& path) {
        QFile f(path);
        if (!f.open(QIODevice::ReadOnly)) return {"missing"};
        QStringList lines = QString::fromUtf8(f.readAll()).split("\r\n");
        if (lines.last().isEmpty()) lines.removeLast();
        return lines;
    }
    // The folder's files, to see that nothing half-written stayed behind.
    QStringList Folder() const { return QDir(out.path()).entryList(QDir::Files); }

    QTemporaryDir dir;
    QTemporaryDir out;
    ScopedEnv config{"XDG_CONFIG_HOME", dir.path()};
    CAppCore app;
    RdfScratch scratch;
    QStringList messages;
    QStringList opened;
    QMessageBox::StandardButton answer = QMessageBox::No;
    QString proposed;
    QString chosen;
    std::unique_ptr<CRdfGraphDlg> dlg;
};

TEST_F(RdfExportTest, WritesTheViewUnderTheChosenName) {
    const std::vector<SourceCode> five(std::begin(kFive), std::end(kFive));
    const QString first = File("a.rdf", 1, five, 0);
    Open({first, File("b.rdf", 2, five, 100000), File("c.rdf", 3, {kFive[2]}, 200000)});
    chosen = out.filePath("chosen.csv");
    answer = QMessageBox::Yes;
    Export();
    // The proposed name is the view start's, in the files' folder.
    EXPECT_EQ(proposed, QDir(QFileInfo(first).absolutePath()).filePath("15032024@102030"));
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].startsWith("LNG_RDF_EXPORT_SUCCESS")) << messages[0].toStdString();
    EXPECT_TRUE(messages[0].contains(QDir::toNativeSeparators(chosen)));
    EXPECT_EQ(opened, QStringList{chosen});

    const QStringList lines = Lines(chosen);
    ASSERT_EQ(lines.size(), 10);
    // Five shared sources, five columns; the third file lacks four of them.
    EXPECT_EQ(lines[0].count(';'), 7);
    EXPECT_EQ(lines[1], "\"15.03.2024\";\"10:20:30.000\";1.0;2.0;3.0;0.40;50.00;");
    EXPECT_EQ(lines[4].left(28), "\"15.03.2024\";\"10:22:10.000\";");
    EXPECT_EQ(lines[7], "\"15.03.2024\";\"10:23:50.000\";null;null;1.0;null;null;");

    // Both ends of the view are in; a view between records gives the header alone.
    messages.clear();
    answer = QMessageBox::No;
    dlg->SetView({kT0, kT0 + 500});
    Export();
    EXPECT_EQ(Lines(chosen).size(), 3);
    EXPECT_TRUE(Lines(chosen).last().startsWith("\"15.03.2024\";\"10:20:30.500\";"));
    dlg->SetView({kT0 + 1, kT0 + 499});
    Export();
    EXPECT_EQ(Lines(chosen), QStringList{lines[0]});
    EXPECT_EQ(opened.size(), 1);  // No leaves it closed

    // Cancelling the save dialog does nothing.
    chosen.clear();
    messages.clear();
    Export();
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(RdfExportTest, TheWindowWaitsAndACancelLeavesNoFile) {
    const std::vector<SourceCode> five(std::begin(kFive), std::end(kFive));
    Open({File("a.rdf", 1, five, 0), File("b.rdf", 2, five, 100000)});
    chosen = out.filePath("old.csv");
    WriteFileBytes(chosen, "old");

    // Hold the export at its first report while the window is looked at; let it go however
    // the test ends, so the window's close never waits for ever.
    struct Gate {
        std::promise<void> promise;
        bool open = false;
        void Open() {
            if (!open) promise.set_value();
            open = true;
        }
        ~Gate() { Open(); }
    } release;
    std::shared_future<void> released = release.promise.get_future().share();
    auto reached = std::make_shared<std::atomic<bool>>(false);
    CRdfExportRunner::SetProgressHook([reached, released](CRdfExportRunner&, std::uint64_t, std::uint64_t) {
        *reached = true;
        released.wait();
    });
    dlg->RunCommand(C::ID_EXPORT);
    Wait([&] { return !*reached; });
    ASSERT_TRUE(dlg->IsExporting());
    ASSERT_NE(dlg->Export()->Progress(), nullptr);
    EXPECT_TRUE(dlg->Export()->Progress()->isVisible());
    for (int c = C::ID_OPEN_FILE; c <= C::ID_RULER; ++c) EXPECT_FALSE(dlg->IsCommandEnabled(c)) << c;
    dlg->Export()->Progress()->CancelButton()->click();
    release.Open();
    Wait([&] { return dlg->IsExporting(); });
    EXPECT_TRUE(dlg->Export()->LastResult().cancelled);
    EXPECT_TRUE(messages.isEmpty());
    EXPECT_FALSE(dlg->Export()->Progress()->isVisible());
    EXPECT_EQ(Folder(), QStringList{"old.csv"});
    EXPECT_EQ(Lines(chosen), QStringList{"old"});
    EXPECT_TRUE(dlg->IsCommandEnabled(C::ID_EXPORT));
}

TEST_F(RdfExportTest, ADiskErrorOrAMissingFolderIsSaidWithTheChosenName) {
    Open({File("a.rdf", 1, {kFive[0]}, 0)});
    chosen = out.filePath("old.csv");
    WriteFileBytes(chosen, "old");

    // A disk that fills up after a few bytes.
    rlimit before{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &before), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit tiny = before;
    tiny.rlim_cur = 16;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &tiny), 0);
    Export();
    setrlimit(RLIMIT_FSIZE, &before);
    std::signal(SIGXFSZ, oldHandler);
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].startsWith("LNG_RDF_EXPORT_ERROR")) << messages[0].toStdString();
    EXPECT_TRUE(messages[0].contains(QDir::toNativeSeparators(chosen)));
    EXPECT_EQ(Folder(), QStringList{"old.csv"});
    EXPECT_EQ(Lines(chosen), QStringList{"old"});

    messages.clear();
    chosen = out.filePath("none/x.csv");
    Export();
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].startsWith("LNG_RDF_EXPORT_ERROR"));
    EXPECT_TRUE(messages[0].contains(QDir::toNativeSeparators(chosen)));
    EXPECT_TRUE(opened.isEmpty());
}

}  // namespace
