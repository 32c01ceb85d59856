#pragma once

#include <QHash>
#include <QWidget>
#include <atomic>
#include <memory>
#include <mutex>
#include <optional>

#include "views/DevicePage.h"
#include "device/DevicePoster.h"
#include "device/LiveView.h"
#include "settings/Settings.h"

class CSettings;
class CXLabel;
class CXLed;
class CXListCtrl;
class CXProgressCtrl;
class CTemperatureBar;
class CCardChartCtrl;
class DeviceLink;
class DeviceCommandRunner;
struct CommandOutcome;
class ILiveGraphWindow;
class CModbusDeviceClient;
class IRegisterClient;
class QPushButton;
class QScrollBar;
enum class DeviceCommand;

// The page under a device's tab: every live value of one device, its lamps, memory card
// chart, error list and command buttons. The page owns the device's link (client, polling
// thread, register image) and its live graph window. The polling thread reaches the page
// only through posted events; the page stops the thread before it dies.
class CDeviceDlg : public QWidget, public IDevicePage {
    Q_OBJECT
public:
    // Win32-style scroll information of the page while its area is lower than the layout.
    struct ScrollInfo {
        bool visible = false;
        int page = 0;
        int maximum = 0;
        int position = 0;
    };

    CDeviceDlg(QWidget* parent, CSettings& settings);
    ~CDeviceDlg() override;

    // Builds the page, starts the polling thread and creates the live graph window; false
    // when the thread cannot start (the page then lives on without live data).
    bool Initialize();

    // The link state 0..4 (disconnected .. connected), read without waiting.
    int LinkState() const;
    // UM_DEVICE_COMMAND: 1 disconnect, 2 connect, 3 stop the link for good (waits for the
    // polling thread while the page's events keep being dispatched, then closes the live
    // graph window).
    void DeviceCommand(int command) override;
    // UM_DEVICE_CHANGED: the device record was edited.
    void DeviceChanged() override;

    // The device record index of this page, kept by the main window in step with the tabs;
    // -1 when the page is not among them. The page takes its record from there.
    void SetDeviceIndex(int index) override;
    int FindDeviceIndex() const { return m_deviceIndex.load(); }
    // True while a command button's exchange is under way.
    bool CommandBusy() const;

    QWidget* GraphWindow() const;
    void ShowGraphWindow(const QString& deviceName, bool topmost) override;

    // What the main window asks of its pages.
    QWidget* PageWidget() override { return this; }
    ::LinkState PageLinkState() const override { return ::LinkState(LinkState()); }

    // Paints a decoded poll, or the blank page.
    void ShowData(uint32_t exchangeRate);
    void ClearData();

    // The layout's full size in pixels.
    QSize DesignSize() const { return m_designSize; }
    QSize sizeHint() const override { return m_designSize; }
    ScrollInfo Scroll() const;
    int ScrollOffset() const { return m_scrollOffset; }
    QScrollBar* ScrollBar() const { return m_scrollBar; }

    // The device's connection, borrowed by the settings window.
    IRegisterClient& Client();

    // A control of the layout by its id, nullptr for none.
    QWidget* Control(int id) const { return m_controls.value(id); }

signals:
    // The settings button: the device settings window belongs to whoever shows it.
    void SettingsRequested(int deviceIndex);

protected:
    bool event(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    class Poster : public IDevicePoster {
    public:
        explicit Poster(QObject* target) : m_target(target) {}
        void Post(int message, int wParam, int64_t lParam) override;

    private:
        QObject* m_target;
    };

    void BuildControls();
    void ApplyColors();
    void Paint(const LiveView& view);
    void RunCommand(::DeviceCommand command);
    void OnCommandDone(const CommandOutcome& outcome);
    void EnableCommandButtons();
    // The record the polling thread connects to: the page's own copy, taken on the GUI
    // thread whenever the index or the record changes, so records moved by a delete
    // never reach a page under a stale index.
    void TakeRecord();
    std::optional<DeviceRecord> Record() const;
    void OpenMemoryCard();
    void OnScrollValue(int value);
    void UpdateScrollBar();
    void StopLink();

    CSettings& m_settings;
    std::atomic<int> m_deviceIndex{-1};
    std::unique_ptr<CModbusDeviceClient> m_client;
    Poster m_poster{this};
    std::unique_ptr<DeviceLink> m_link;
    std::unique_ptr<DeviceCommandRunner> m_commands;  // uses m_client; ends before it
    mutable std::mutex m_recordLock;
    std::optional<DeviceRecord> m_record;
    std::unique_ptr<ILiveGraphWindow> m_graph;

    QWidget* m_content = nullptr;  // holds every control; moved to scroll
    QScrollBar* m_scrollBar = nullptr;
    QHash<int, QWidget*> m_controls;
    CXListCtrl* m_errorList = nullptr;
    CCardChartCtrl* m_cardChart = nullptr;
    CTemperatureBar* m_thermometers[2] = {};

    QSize m_designSize;
    int m_scrollOffset = 0;  // 0 or negative
    int m_scrollPage = 0;
    int m_scrollMaximum = 0;
    MemoryCardView m_shownCard;
    CommandButtons m_shownButtons;  // as the last poll allows them
    bool m_stopping = false;
};
