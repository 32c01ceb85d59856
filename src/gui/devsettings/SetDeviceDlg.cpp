#include "devsettings/SetDeviceDlg.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDateTime>
#include <QFileDialog>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalBlocker>

#include "app/MessageBox.h"
#include "controls/CtrlResize.h"
#include "controls/DialogUnits.h"
#include "device/LinkClock.h"
#include "devsettings/LocalClock.h"
#include "devsettings/PropertyGrid.h"
#include "devsettings/PropertyGridModel.h"
#include "devsettings/SettingsFile.h"
#include "language/Language.h"
#include "language/LanguageKeys.h"
#include "language/TextFormat.h"

namespace {

constexpr QEvent::Type kReadOnShowEvent = QEvent::Type(CSetDeviceDlg::kReadOnShowMessage);
constexpr int kAnchorAll = kAnchorTop | kAnchorLeft | kAnchorRight | kAnchorBottom;
constexpr int kAnchorLeftBottom = kAnchorLeft | kAnchorBottom;

using Btn = QMessageBox::StandardButton;

}  // namespace

CSetDeviceDlg::CSetDeviceDlg(QWidget* parent, DeviceSource device, const QString& addressText, bool offline)
    : QDialog(parent),
      m_device(std::move(device)),
      m_localClock(&SystemLocalClock()),
      m_linkClock(&SystemLinkClock()),
      m_job(new CSettingsTransferJob(this)) {
    setObjectName(QString::number(IDD));
    setSizeGripEnabled(true);
    m_table.BuildParameterTable();
    BuildControls(addressText);
    // The first size is the smallest the window may take.
    setMinimumSize(size());
    m_grid->CollapseAll();

    connect(m_job, &CSettingsTransferJob::Progress, m_progress, &QProgressBar::setValue);
    connect(m_job, &CSettingsTransferJob::Asked, this, &CSetDeviceDlg::OnQuestion);
    connect(m_job, &CSettingsTransferJob::Finished, this, &CSetDeviceDlg::OnTransferFinished);

    const DeviceAccess access = m_device ? m_device() : DeviceAccess{};
    if (offline || access.state == LinkState::Disconnected) {
        m_offlineForLife = true;
        m_withoutDevice->setChecked(true);
    }
    UpdateButtons();
}

CSetDeviceDlg::~CSetDeviceDlg() {
    // The transfer thread works on the table and the page's client: it ends first, and the
    // grid lets go of the table before the table goes.
    m_job->Abort();
    m_job->Join();
    delete m_grid;
    m_grid = nullptr;
}

void CSetDeviceDlg::SetClocks(ILocalClock& localClock, ILinkClock& linkClock) {
    m_localClock = &localClock;
    m_linkClock = &linkClock;
}

void CSetDeviceDlg::BuildControls(const QString& addressText) {
    const DialogUnits du = DialogUnits::ForDialogFont();
    setWindowTitle(FormatText(QStringLiteral("%s %s"), {GetText(LNG_SETTDEV_TITLE), addressText}));
    resize(du.Size(kWidth, kHeight));
    m_resize = new CCtrlResize(this);
    m_resize->Attach(this);

    auto place = [&](QWidget* w, int id, QRect r, int anchors) {
        w->setObjectName(QString::number(id));
        w->setGeometry(r);
        m_resize->AddControl(w, anchors, id);
    };
    auto button = [&](int id, int key, QRect r, std::function<void()> handler) {
        auto* b = new QPushButton(key >= 0 ? GetText(key) : QStringLiteral("*"), this);
        b->setAutoDefault(false);
        place(b, id, r, kAnchorLeftBottom);
        connect(b, &QPushButton::clicked, this, [handler] { handler(); });
    };

    m_grid = new CPropertyGrid(m_table, this);
    place(m_grid, IDC_GRID, du.Rect(0, 0, 375, 244), kAnchorAll);
    m_withoutDevice = new QCheckBox(GetText(LNG_SETTDEV_NODEVICE), this);
    place(m_withoutDevice, IDC_WITHOUT_DEVICE, du.Rect(9, 250, 155, 10), kAnchorLeftBottom);
    connect(m_withoutDevice, &QCheckBox::clicked, this, [this] { OnWithoutDevice(); });
    button(IDC_WRITE, LNG_SETTDEV_WRITE, du.Rect(9, 264, 155, 14), [this] { RunCommand(IDC_WRITE); });
    button(IDC_READ, LNG_SETTDEV_READ, du.Rect(9, 281, 155, 14), [this] { RunCommand(IDC_READ); });
    button(IDC_TIMESYNC, LNG_SETTDEV_TIMESYNC, du.Rect(9, 298, 155, 14),
           [this] { RunCommand(IDC_TIMESYNC); });
    button(IDC_EXPAND, LNG_SETTDEV_EXPAND, du.Rect(176, 249, 76, 13), [this] { RunCommand(IDC_EXPAND); });
    button(IDC_COLLAPSE, LNG_SETTDEV_ROLL, du.Rect(257, 249, 76, 13), [this] { RunCommand(IDC_COLLAPSE); });
    button(IDC_ACCEPT, -1, du.Rect(339, 249, 26, 13), [this] { RunCommand(IDC_ACCEPT); });
    m_progress = new QProgressBar(this);
    m_progress->setRange(0, 100);
    m_progress->setValue(0);
    m_progress->setTextVisible(false);
    place(m_progress, IDC_PROGRESS, du.Rect(183, 266, 177, 9), kAnchorLeftBottom);
    button(IDC_SAVE_FILE, LNG_SETTDEV_WRITE_FILE, du.Rect(176, 281, 88, 14),
           [this] { RunCommand(IDC_SAVE_FILE); });
    button(IDC_LOAD_FILE, LNG_SETTDEV_READ_FILE, du.Rect(277, 281, 88, 14),
           [this] { RunCommand(IDC_LOAD_FILE); });
    button(IDC_RESET, LNG_SETTDEV_RESET, du.Rect(176, 298, 189, 14), [this] { RunCommand(IDC_RESET); });
    m_resize->Fix();
}

QWidget* CSetDeviceDlg::Control(int id) const {
    return findChild<QWidget*>(QString::number(id));
}

bool CSetDeviceDlg::IsBusy() const {
    return m_command != Command::None || m_job->IsRunning();
}

bool CSetDeviceDlg::IsWithoutDevice() const {
    return m_withoutDevice->isChecked();
}

void CSetDeviceDlg::ExpandGroup(int group) {
    const QModelIndex index = m_grid->Model()->GroupIndex(group);
    if (!index.isValid())
        return;
    m_grid->View()->expand(index);
    // Its first row is selected, so the description area has something to say.
    const QModelIndex first = m_grid->Model()->index(0, 0, index);
    if (first.isValid())
        m_grid->View()->setCurrentIndex(first);
    m_grid->View()->scrollTo(index, QAbstractItemView::PositionAtTop);
}

void CSetDeviceDlg::UpdateButtons() {
    const bool idle = !IsBusy();
    const bool device = idle && !m_offlineForLife && !m_withoutDevice->isChecked();
    m_withoutDevice->setEnabled(idle && !m_offlineForLife);
    for (const int id : {IDC_WRITE, IDC_READ, IDC_TIMESYNC})
        Control(id)->setEnabled(device);
    for (const int id : {IDC_EXPAND, IDC_COLLAPSE, IDC_ACCEPT, IDC_SAVE_FILE, IDC_LOAD_FILE, IDC_RESET})
        Control(id)->setEnabled(idle);
}

void CSetDeviceDlg::EndForGood() {
    if (m_ended)
        return;
    m_ended = true;
    m_closePending = false;
    m_job->Abort();
    m_job->Join();
    m_grid->Thaw();
    m_command = Command::None;
    hide();
    setParent(nullptr);
    deleteLater();
}

void CSetDeviceDlg::RunCommand(int id) {
    if (IsBusy() || m_ended)
        return;
    switch (id) {
        case IDC_READ:
            OnRead();
            break;
        case IDC_WRITE:
            OnWrite();
            break;
        case IDC_TIMESYNC:
            OnClock();
            break;
        case IDC_RESET:
            OnFactoryDefaults();
            break;
        case IDC_WITHOUT_DEVICE:
            if (!m_withoutDevice->isEnabled())
                return;
            m_withoutDevice->setChecked(!m_withoutDevice->isChecked());
            OnWithoutDevice();
            break;
        case IDC_EXPAND:
            m_grid->ExpandAll();
            break;
        case IDC_COLLAPSE:
            m_grid->CollapseAll();
            break;
        case IDC_ACCEPT:
            m_grid->View()->CommitOpenEdit();
            m_table.AcceptAll();
            break;
        case IDC_SAVE_FILE:
            OnSave();
            break;
        case IDC_LOAD_FILE:
            OnLoad();
            break;
        default:
            return;
    }
}

bool CSetDeviceDlg::event(QEvent* event) {
    if (event->type() == kReadOnShowEvent) {
        if (isVisible() && !IsBusy() && !m_closePending && !m_ended)
            OnRead();
        return true;
    }
    return QDialog::event(event);
}

void CSetDeviceDlg::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (m_shownOnce)
        return;
    m_shownOnce = true;
    if (QWidget* page = parentWidget()) {
        const QPoint centre = page->mapToGlobal(page->rect().center());
        move(centre - QPoint(width() / 2, height() / 2));
    }
    if (!m_offlineForLife)
        QCoreApplication::postEvent(this, new QEvent(kReadOnShowEvent));
}

void CSetDeviceDlg::closeEvent(QCloseEvent* event) {
    if (m_job->IsRunning()) {
        // The transfer is told to stop; the window goes once it has.
        m_closePending = true;
        m_job->Abort();
        event->ignore();
        return;
    }
    m_grid->View()->CommitOpenEdit();
    event->accept();
    done(QDialog::Rejected);
}

void CSetDeviceDlg::StartTransfer(Command command) {
    if (m_ended)
        return;
    m_command = command;
    UpdateButtons();
    m_grid->Freeze();
    const CSettingsTransferJob::Kind kind = command == Command::Write   ? CSettingsTransferJob::Kind::Write
                                            : command == Command::Clock ? CSettingsTransferJob::Kind::Clock
                                                                        : CSettingsTransferJob::Kind::Read;
    const DeviceAccess access = m_device ? m_device() : DeviceAccess{};
    m_job->Start(kind, m_table, access, *m_localClock, *m_linkClock);
}

void CSetDeviceDlg::OnQuestion(CSettingsTransferJob::Question question, int address, int count) {
    if (m_ended)
        return;
    QString text;
    MessageBox::Icon icon = MessageBox::Icon::Warning;
    switch (question) {
        case CSettingsTransferJob::Question::RetryRead:
            text = FormatText(QStringLiteral("%s %d:%d."),
                              {GetText(LNG_SETDEV_READDATAFROMADDRERROR_MSG), address, count});
            break;
        case CSettingsTransferJob::Question::RetryWrite:
            text = FormatText(QStringLiteral("%s addr:%d len:%d."),
                              {GetText(LNG_SETDEV_WRITEDATAFROMADDRERROR_MSG), address, count});
            break;
        case CSettingsTransferJob::Question::RetryClock:
            text = GetText(LNG_SETDEV_TIMESYNCERROR_MSG);
            icon = MessageBox::Icon::None;
            break;
    }
    const auto answer = MessageBox::Show(this, text, GetText(LNG_GLOB_SETTINGDEV), icon,
                                         QMessageBox::Retry | QMessageBox::Cancel);
    m_job->Answer(answer == QMessageBox::Retry && !m_closePending);
}

void CSetDeviceDlg::OnTransferFinished() {
    if (m_ended)
        return;
    m_job->Join();
    m_grid->Thaw();
    if (m_closePending) {
        EndCommand();
        return;
    }
    const bool ok =
        m_job->LastKind() == CSettingsTransferJob::Kind::Clock ? m_job->Clock().ok : m_job->Result().ok;
    switch (m_command) {
        case Command::Read:
            if (ok) {
                MessageBox::ShowKeys(this, LNG_SETDEV_LOADFROMDEVICEOK_MSG, LNG_GLOB_SETTINGDEV,
                                     MessageBox::Icon::Information);
            } else if (MessageBox::ShowKeys(this, LNG_SETDEV_LOADFROMDEVICEERROR_MSG, LNG_GLOB_SETTINGDEV,
                                            MessageBox::Icon::Error, QMessageBox::Yes | QMessageBox::No,
                                            Btn::No) == Btn::Yes) {
                StartTransfer(Command::Read);
                return;
            }
            break;
        case Command::Write:
            if (ok) {
                MessageBox::ShowKeys(this, LNG_SETDEV_SAVETODEVICEOK_MSG, LNG_GLOB_SETTINGDEV,
                                     MessageBox::Icon::Information);
                // The grid then shows what the device holds now.
                StartTransfer(Command::ReadBack);
                return;
            }
            if (MessageBox::ShowKeys(this, LNG_SETDEV_SAVETODEVICEERROR_MSG, LNG_GLOB_SETTINGDEV,
                                     MessageBox::Icon::Error, QMessageBox::Yes | QMessageBox::No,
                                     Btn::No) == Btn::Yes) {
                StartTransfer(Command::Write);
                return;
            }
            break;
        case Command::Clock:
            if (ok)
                MessageBox::ShowKeys(this, LNG_SETDEV_TIMESYNCOK_MSG, LNG_GLOB_SETTINGDEV,
                                     MessageBox::Icon::Information);
            break;
        case Command::ReadBack:
        case Command::None:
            break;
    }
    EndCommand();
}

void CSetDeviceDlg::EndCommand() {
    m_command = Command::None;
    m_progress->setValue(0);
    UpdateButtons();
    emit CommandFinished();
    if (m_closePending) {
        m_closePending = false;
        close();
    }
}

void CSetDeviceDlg::OnRead() {
    StartTransfer(Command::Read);
}

void CSetDeviceDlg::OnWrite() {
    m_grid->View()->CommitOpenEdit();
    if (MessageBox::ShowKeys(this, LNG_SETDEV_SAVETODEVICEYESNO_MSG, LNG_GLOB_SETTINGDEV,
                             MessageBox::Icon::Warning, QMessageBox::Yes | QMessageBox::No,
                             Btn::No) != Btn::Yes)
        return;
    StartTransfer(Command::Write);
}

void CSetDeviceDlg::OnClock() {
    if (!m_device || !IsDeviceOperationPossible(m_device()))
        return;
    StartTransfer(Command::Clock);
}

void CSetDeviceDlg::OnFactoryDefaults() {
    if (MessageBox::ShowKeys(this, LNG_SETDEV_RESETDEF_MSG, LNG_GLOB_WARNING, MessageBox::Icon::Warning,
                             QMessageBox::Yes | QMessageBox::No, Btn::No) != Btn::Yes)
        return;
    Rebuild();
}

void CSetDeviceDlg::OnWithoutDevice() {
    // The box has already changed when the user clicked it.
    const bool wanted = m_withoutDevice->isChecked();
    if (MessageBox::ShowKeys(this, LNG_SETDEV_REINIT_MSG, LNG_GLOB_SETTINGDEV, MessageBox::Icon::Error,
                             QMessageBox::Yes | QMessageBox::No) != Btn::Yes) {
        const QSignalBlocker blocker(m_withoutDevice);
        m_withoutDevice->setChecked(!wanted);
        return;
    }
    UpdateButtons();
    Rebuild();
}

void CSetDeviceDlg::Rebuild() {
    m_grid->View()->CommitOpenEdit();
    m_table.BuildParameterTable();
    m_grid->Reset();
}

QString CSetDeviceDlg::ChooseFile(bool save, const QString& suggestedName) {
    if (m_chooseFile)
        return m_chooseFile(save, suggestedName);
    QFileDialog dialog(this);
    dialog.setNameFilter(FormatText(QStringLiteral("%s (*.trv730)"), {GetText(LNG_SETTDEV_FNAME_FILTER)}));
    dialog.setDefaultSuffix(QStringLiteral("trv730"));
    if (save) {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.selectFile(suggestedName);
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

void CSetDeviceDlg::OnSave() {
    m_grid->View()->CommitOpenEdit();
    for (;;) {
        const QDateTime now = m_localClock->LocalNow();
        const QString path = ChooseFile(true, SettingsFile::DefaultFileName(now.date()));
        if (path.isEmpty())
            break;
        m_progress->setValue(100);
        if (SettingsFile::Save(m_table, path, now)) {
            MessageBox::ShowKeys(this, LNG_SETDEV_SAVETOFILEOK_MSG, LNG_GLOB_SETTINGDEV,
                                 MessageBox::Icon::Information);
            break;
        }
        if (MessageBox::ShowKeys(this, LNG_SETDEV_SAVETOFILEERROR_MSG, LNG_GLOB_SETTINGDEV,
                                 MessageBox::Icon::Error, QMessageBox::Yes | QMessageBox::No,
                                 Btn::No) != Btn::Yes)
            break;
    }
    m_progress->setValue(0);
}

void CSetDeviceDlg::LoadFile(const QString& path) {
    if (!IsBusy())
        OnLoad(path);
}

void CSetDeviceDlg::OnLoad(const QString& path) {
    m_grid->View()->CommitOpenEdit();
    QString chosen = path;
    for (;;) {
        if (chosen.isEmpty())
            chosen = ChooseFile(false, {});
        if (chosen.isEmpty())
            break;
        m_progress->setValue(100);
        if (SettingsFile::Load(m_table, chosen)) {
            MessageBox::ShowKeys(this, LNG_SETDEV_LOADFROMFILEOK_MSG, LNG_GLOB_SETTINGDEV,
                                 MessageBox::Icon::Information);
            break;
        }
        if (MessageBox::ShowKeys(this, LNG_SETDEV_LOADFROMFILEERROR_MSG, LNG_GLOB_SETTINGDEV,
                                 MessageBox::Icon::Error, QMessageBox::Yes | QMessageBox::No,
                                 Btn::No) != Btn::Yes)
            break;
        chosen.clear();
    }
    m_progress->setValue(0);
}
