#include "app/TRV730DataAnalysisApp.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <clocale>
#include <cstdio>

#include "app/Colors.h"
#include "app/MessageBox.h"
#include "app/Screenshot.h"
#include "app/TRV730DataAnalysisDlg.h"
#include "controls/StTabCtrl.h"
#include "rdf/PrintPrevDlg.h"
#include "rdf/RdfGraphDlg.h"
#include "rdf/RdfPrintCommand.h"
#include "rdf/RdfWindowHost.h"
#include "views/DeviceDlg.h"
#include "views/DevicePageLayout.h"

namespace {

// Start-up errors go to a message box; when nobody is there to close it (a screenshot run)
// they go to the standard error stream instead, so the run never waits forever.
class StartupMessages : public IStartupMessages {
public:
    explicit StartupMessages(bool interactive) : m_interactive(interactive) {}
    void ShowStartupError(const QString& caption, const QString& text) override {
        if (m_interactive)
            MessageBox::Show(nullptr, text, caption, MessageBox::Icon::Error);
        else
            std::fprintf(stderr, "%s: %s\n", qPrintable(caption), qPrintable(QString(text).replace(u'\n', u' ')));
    }

private:
    bool m_interactive;
};

// The device pages of the main window. A page whose polling thread cannot start still
// shows its device (it has said why); only a page that cannot be made at all is refused.
IDevicePage* MakeDevicePage(QWidget* parent, CSettings& settings, int index) {
    auto* page = new CDeviceDlg(parent, settings);
    page->SetDeviceIndex(index);
    page->Initialize();
    // The device settings window is not part of the program yet: its button stays out of
    // sight rather than doing nothing.
    if (QWidget* settingsButton = page->Control(DevicePageLayout::IDC_SETTINGS)) settingsButton->hide();
    return page;
}

// How long after showing the main window its picture is taken: long enough for the first
// paint, a connection and a few polls of live values.
constexpr int kScreenshotDelayMs = 8000;

// "shot.png" -> "shot-livegraph.png": where a screenshot run puts the pictures of the other
// windows.
QString SidePicturePath(const QString& path, const QString& suffix) {
    const qsizetype dot = path.lastIndexOf(u'.');
    const qsizetype slash = path.lastIndexOf(u'/');
    if (dot <= slash) return path + suffix;
    return path.left(dot) + suffix + path.mid(dot);
}

// The recorded-data window's picture, once its files are read and drawn.
void SaveRecordedDataPicture(CTRV730DataAnalysisDlg& window, const QString& path) {
    CRdfGraphDlg* rdf = window.RdfWindows()->Window();
    if (!rdf) return;
    QElapsedTimer waited;
    waited.start();
    while (rdf->IsOpening() && waited.elapsed() < 60000) QApplication::processEvents(QEventLoop::AllEvents, 50);
    if (!WindowPicture(rdf).save(SidePicturePath(path, QStringLiteral("-rdf"))))
        std::fprintf(stderr, "Cannot write the recorded-data picture beside %s\n", qPrintable(path));
    // And its print dialog over the same recording, its page rendered.
    if (!rdf->IsLoaded()) return;
    CPrintPrevDlg print(RdfPrintContentOf(*rdf), nullptr, rdf);
    print.show();
    print.WaitForPage();
    QApplication::processEvents();
    if (!WindowPicture(&print).save(SidePicturePath(path, QStringLiteral("-print"))))
        std::fprintf(stderr, "Cannot write the print dialog's picture beside %s\n", qPrintable(path));
    print.close();
}

}  // namespace

int CTRV730DataAnalysisApp::Run(const QStringList& args, const QString& screenshotPath) {
    StartupMessages messages(screenshotPath.isEmpty());
    const StartupStatus status = Start(args, DefaultPaths(), messages);
    if (status != StartupStatus::Run) return ExitStatus(status);

    // Numbers are written and read with a dot whatever the user's locale says.
    std::setlocale(LC_ALL, "C");
    std::setlocale(LC_CTYPE, "C.UTF-8");

    BackgroundBrush = QBrush(ColorFromRef(Settings.WindowBackColor));

    CTRV730DataAnalysisDlg window(Settings, MakeDevicePage);
    window.show();
    // A recording named on the command line (a double click on it) opens at once.
    if (!RdfPathArg.isEmpty()) window.OpenRecordingFile(RdfPathArg);

    int screenshotStatus = 0;
    if (!screenshotPath.isEmpty()) {
        // A picture is worth taking of live values: connect every device first, and open the
        // selected device's live graph, whose picture goes beside the main window's.
        window.RunCommand(ID_CONNECT_ALL);
        window.RunCommand(ID_VIEW_LIVE_GRAPH);
        QTimer::singleShot(kScreenshotDelayMs, &window, [&] {
            if (!WindowPicture(&window).save(screenshotPath)) {
                std::fprintf(stderr, "Cannot write the picture to %s\n", qPrintable(screenshotPath));
                screenshotStatus = 1;
            }
            if (auto* page = dynamic_cast<CDeviceDlg*>(window.Page(window.Tabs()->currentIndex()))) {
                QWidget* graph = page->GraphWindow();
                if (graph && graph->isVisible()) WindowPicture(graph).save(SidePicturePath(screenshotPath, QStringLiteral("-livegraph")));
            }
            SaveRecordedDataPicture(window, screenshotPath);
            window.close();
        });
    }
    const int rc = QApplication::exec();
    return rc != 0 ? rc : screenshotStatus;
}
