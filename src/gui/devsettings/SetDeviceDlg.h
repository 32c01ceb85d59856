#pragma once

#include <QDialog>
#include <functional>

#include "devsettings/ParameterTable.h"
#include "devsettings/SettingsTransfer.h"
#include "devsettings/SettingsTransferJob.h"

class CCtrlResize;
class CPropertyGrid;
class ILinkClock;
class ILocalClock;
class QCheckBox;
class QProgressBar;
class QPushButton;

// The device settings window: the parameter grid of one device with its commands (read,
// write, clock, factory values, work without a device, expand, collapse, accept, save and
// load a file). Transfers run on a thread of their own; meanwhile the grid shows what it
// held, the progress bar moves and every command waits.
class CSetDeviceDlg final : public QDialog {
    Q_OBJECT
  public:
    static constexpr int IDD = 150;
    static constexpr int kWidth = 375;  // dialog units
    static constexpr int kHeight = 317;
    static constexpr int IDC_GRID_FRAME = 1223;
    static constexpr int IDC_GRID = 2348915;
    static constexpr int IDC_WITHOUT_DEVICE = 1107;
    static constexpr int IDC_SAVE_FILE = 1109;
    static constexpr int IDC_LOAD_FILE = 1110;
    static constexpr int IDC_WRITE = 1111;
    static constexpr int IDC_READ = 1112;
    static constexpr int IDC_TIMESYNC = 1113;
    static constexpr int IDC_PROGRESS = 1114;
    static constexpr int IDC_RESET = 1115;
    static constexpr int IDC_COLLAPSE = 1116;
    static constexpr int IDC_EXPAND = 1117;
    static constexpr int IDC_ACCEPT = 1118;
    // Posted to itself once shown: a connected device is read at once.
    static constexpr int kReadOnShowMessage = 1124;

    // The device as the window sees it, asked again before every transfer: the page may
    // lose its link or its tab while the window is open.
    using DeviceSource = std::function<DeviceAccess()>;
    // Chooses a file to save to (save = true, suggesting a name) or to load; empty: cancelled.
    using FileChooser = std::function<QString(bool save, const QString& suggestedName)>;

    // offline: start without a device whatever the link state (a settings file opened from
    // the command line).
    CSetDeviceDlg(QWidget* parent, DeviceSource device, const QString& addressText, bool offline = false);
    ~CSetDeviceDlg() override;

    void SetClocks(ILocalClock& localClock, ILinkClock& linkClock);
    void SetFileChooser(FileChooser chooser) { m_chooseFile = std::move(chooser); }

    // The page or the program goes: the transfer ends at once (its questions answered no),
    // the window hides, leaves its parent and deletes itself once the event loop that runs
    // any of its open questions has returned. Nothing more is sent or asked after this.
    void EndForGood();
    bool HasEnded() const { return m_ended; }

    // Loads a settings file without asking for it, with the messages of the load command.
    void LoadFile(const QString& path);
    // Runs one of the window's commands as its button does (nothing while one runs).
    void RunCommand(int id);
    bool IsBusy() const;
    bool IsWithoutDevice() const;
    void ExpandGroup(int group);

    CParameterTable& Table() { return m_table; }
    CPropertyGrid* Grid() const { return m_grid; }
    QProgressBar* ProgressBar() const { return m_progress; }
    QWidget* Control(int id) const;

  signals:
    // A command ended (with its messages answered) and the window is idle again.
    void CommandFinished();

  public slots:
    // Enter and Escape leave the window open: it closes by its close box only.
    void accept() override {}
    void reject() override {}

  protected:
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    enum class Command { None, Read, Write, ReadBack, Clock };

    void BuildControls(const QString& addressText);
    void UpdateButtons();
    void StartTransfer(Command command);
    void OnTransferFinished();
    void OnQuestion(CSettingsTransferJob::Question question, int address, int count);
    void EndCommand();

    void OnRead();
    void OnWrite();
    void OnClock();
    void OnFactoryDefaults();
    void OnWithoutDevice();
    void OnSave();
    void OnLoad(const QString& path = {});
    void Rebuild();
    QString ChooseFile(bool save, const QString& suggestedName);

    CParameterTable m_table;
    DeviceSource m_device;
    ILocalClock* m_localClock;
    ILinkClock* m_linkClock;
    FileChooser m_chooseFile;
    CSettingsTransferJob* m_job;
    CPropertyGrid* m_grid = nullptr;
    CCtrlResize* m_resize = nullptr;
    QCheckBox* m_withoutDevice = nullptr;
    QProgressBar* m_progress = nullptr;
    bool m_offlineForLife = false;
    bool m_shownOnce = false;
    bool m_closePending = false;
    bool m_ended = false;
    Command m_command = Command::None;
};
