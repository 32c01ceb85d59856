#pragma once

#include <QMainWindow>
#include <QVector>
#include <memory>

#include "app/MainCommands.h"
#include "views/DevicePage.h"

class CDeviceTabs;
class CDlgToolBar;
class CRdfWindowHost;
class CStTabCtrl;
class CWaitDlg;
class CXLabel;
class QAction;
class QMenu;
class CSettings;

// The main window: one tab per device, the menu and toolbar that connect, disconnect, add,
// edit and delete devices, and the banner that says when a device is out of reach. The
// tabs and their pages are kept by CDeviceTabs; the command rules are MainCommands'.
class CTRV730DataAnalysisDlg : public QMainWindow {
    Q_OBJECT
public:
    static constexpr int IDC_TAB = 1001;
    static constexpr int IDC_BANNER = 1105;
    static constexpr int kTimerId = 1125;
    static constexpr int kTimerPeriodMs = 500;

    CTRV730DataAnalysisDlg(CSettings& settings, const DevicePageFactory& pageFactory, QWidget* parent = nullptr);
    ~CTRV730DataAnalysisDlg() override;

    static QString Caption();  // "%s v%d.%d" of LNG_MAIN_TITLE and the program version

    // Runs a command as the menu or toolbar does (nothing when it is disabled).
    void RunCommand(int command);
    bool IsCommandEnabled(int command) const;
    MainWindowState State() const;

    CStTabCtrl* Tabs() const { return m_tabs; }
    CXLabel* Banner() const { return m_banner; }
    CDlgToolBar* ToolBar() const { return m_toolbar; }
    QAction* MenuAction(int command) const;
    IDevicePage* Page(int tab) const;
    // Opens (or brings forward) the recorded-data window with this .RDF file loaded.
    void OpenRecordingFile(const QString& path);
    CRdfWindowHost* RdfWindows() const { return m_rdfHost; }

    // The timer's work: tab dots and the banner in step with every page's link state.
    void RefreshLinkStates();
    // Opens the settings window over the first device's page, without a device, with the
    // settings file at path loaded.
    void OpenSettingsFile(const QString& path);

protected:
    void closeEvent(QCloseEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void BuildMenu();
    void BuildToolBar();
    void BuildTabs(const DevicePageFactory& pageFactory);
    void BuildBanner();
    void FixMinimumSize();

    void OnTabChanged(int tab);
    void UpdateBanner();

    void OnConnect(int command);
    void OnViewLiveGraph();
    void OnAddDevice();
    void OnEditDevice();
    void OnDeleteDevice();
    void OnHelp();
    void OnGoWeb();
    void OnSendMail();
    void OnAbout();
    void CloseSequence();

    CSettings& m_settings;
    CStTabCtrl* m_tabs = nullptr;
    std::unique_ptr<CDeviceTabs> m_devices;  // the pages behind m_tabs
    CDlgToolBar* m_toolbar = nullptr;
    CXLabel* m_banner = nullptr;
    QVector<QPair<int, QAction*>> m_menuActions;
    CRdfWindowHost* m_rdfHost = nullptr;
    int m_timer = 0;
    // The close sequence and the commands wait for polling threads while events are
    // dispatched; a close request or a command arriving then must not run inside them.
    bool m_closing = false;
    bool m_closed = false;
    int m_busy = 0;             // commands under way (they may wait, or run a dialog)
    bool m_closeAsked = false;  // a close request came while busy; honoured afterwards
};
