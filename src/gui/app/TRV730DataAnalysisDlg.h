#pragma once

#include <QMainWindow>
#include <QVector>

#include "app/DevicePage.h"
#include "app/MainCommands.h"

class CDlgToolBar;
class CStTabCtrl;
class CWaitDlg;
class CXLabel;
class QAction;
class QMenu;
class CSettings;

// The main window: one tab per device, the menu and toolbar that connect, disconnect, add,
// edit and delete devices, and the banner that says when a device is out of reach.
class CTRV730DataAnalysisDlg : public QMainWindow {
    Q_OBJECT
public:
    static constexpr int IDC_TAB = 1001;
    static constexpr int IDC_BANNER = 1105;
    static constexpr int kTimerId = 1125;
    static constexpr int kTimerPeriodMs = 500;

    CTRV730DataAnalysisDlg(CSettings& settings, DevicePageFactory pageFactory, QWidget* parent = nullptr);
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
    void BuildTabs();
    void BuildBanner();
    void FixMinimumSize();

    // Tabs and their pages; tab i always shows device record i.
    void AppendTab(int index);
    bool CreatePage(int tab);
    void DestroyPage(int tab);
    void RenumberPages();
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
    DevicePageFactory m_pageFactory;
    CStTabCtrl* m_tabs = nullptr;
    CDlgToolBar* m_toolbar = nullptr;
    CXLabel* m_banner = nullptr;
    QVector<IDevicePage*> m_pages;  // per tab; null for a tab whose page could not be made
    QVector<QPair<int, QAction*>> m_menuActions;
    int m_timer = 0;
    bool m_closed = false;
};
