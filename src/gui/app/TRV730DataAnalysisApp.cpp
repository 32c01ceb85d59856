#include "app/TRV730DataAnalysisApp.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <clocale>
#include <cstdio>

#include "app/Colors.h"
#include "app/FileHandoff.h"
#include "app/MessageBox.h"
#include "app/Screenshot.h"
#include "app/TRV730DataAnalysisDlg.h"
#include "devsettings/SetDeviceDlg.h"
#include "devsettings/SettingsWindow.h"
#include "controls/StTabCtrl.h"
#include "rdf/PrintPrevDlg.h"
#include "rdf/RdfGraphDlg.h"
#include "rdf/RdfPrintCommand.h"
#include "rdf/RdfWindowHost.h"
#include "views/DeviceDlg.h"

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
    return page;
}

// How long after showing the main window its picture is taken: long enough for the first
// paint, a connection and a few polls of live values.
constexpr int kScreenshotDelayMs = 8000;

// When a screenshot run opens the first device's settings window, and which group of it
// the picture shows open.
constexpr int kSettingsPictureDelayMs = 3000;
constexpr int kNetworkGroup = 3;  // the fourth group

// "shot.png" -> "shot-livegraph.png": where a screenshot run puts its other pictures.
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

// Connects every page whose device lies on the loopback network (127.0.0.0/8).
void ConnectLoopbackDevices(CTRV730DataAnalysisDlg& window, const CSettings& settings) {
    for (int tab = 0; tab < window.Tabs()->count(); ++tab) {
        IDevicePage* page = window.Page(tab);
        const DeviceRecord record = settings.DeviceAt(tab);
        if (page && !record.IsFree() && (record.IpAddress >> 24) == 127) page->DeviceCommand(kDeviceCommandConnect);
    }
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
    // A recording named on this start opens as one handed over by a later start would; a
    // settings file opens over the first device's page once the window is up.
    if (!RdfPathArg.isEmpty()) CFileHandoff::Open(window, RdfPathArg);
    CFileHandoff handoff(Channel(), window);
    if (!SettingsFileArg.isEmpty() && screenshotPath.isEmpty())
        QTimer::singleShot(0, &window, [&] { window.OpenSettingsFile(SettingsFileArg); });

    int screenshotStatus = 0;
    if (!screenshotPath.isEmpty()) {
        // A picture is worth taking of live values: connect the devices first, and open the
        // selected device's live graph, whose picture goes beside the main window's. Only
        // devices on this machine are connected: a picture is never worth traffic to a plant.
        ConnectLoopbackDevices(window, Settings);
        window.RunCommand(ID_VIEW_LIVE_GRAPH);
        // Nobody answers a screenshot run's questions: each is answered as its safest
        // button would be, so nothing is ever written to the device.
        MessageBox::SetHook([](const MessageBox::Request& r) {
            for (const auto b : {QMessageBox::Ok, QMessageBox::No, QMessageBox::Cancel})
                if (r.buttons.testFlag(b)) return b;
            return QMessageBox::NoButton;
        });
        QTimer::singleShot(kSettingsPictureDelayMs, &window, [&] {
            auto* page = dynamic_cast<CDeviceDlg*>(window.Page(0));
            if (!page || page->PageLinkState() != LinkState::Connected) return;
            CSetDeviceDlg* settings = OpenDeviceSettings(page, nullptr, Settings);
            if (!settings) return;
            // The window reads the device as it opens; its picture shows the network group.
            QObject::connect(settings, &CSetDeviceDlg::CommandFinished, settings, [settings, screenshotPath] {
                settings->ExpandGroup(kNetworkGroup);
                QTimer::singleShot(300, settings, [settings, screenshotPath] {
                    WindowPicture(settings).save(SidePicturePath(screenshotPath, QStringLiteral("-settings")));
                });
            });
        });
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
