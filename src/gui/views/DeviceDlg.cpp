#include "views/DeviceDlg.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QResizeEvent>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStyle>
#include <QWheelEvent>
#include <optional>

#include "app/Colors.h"
#include "app/MessageBox.h"
#include "controls/DialogUnits.h"
#include "controls/GroupStatic.h"
#include "controls/IconIds.h"
#include "controls/TemperatureBar.h"
#include "controls/XLabel.h"
#include "controls/XLed.h"
#include "controls/XListCtrl.h"
#include "controls/XProgressCtrl.h"
#include "device/DeviceCommandRunner.h"
#include "device/DeviceCommands.h"
#include "device/DeviceLink.h"
#include "device/LiveDecoder.h"
#include "device/ModbusDeviceClient.h"
#include "devsettings/SettingsWindow.h"
#include "language/Language.h"
#include "language/LanguageKeys.h"
#include "settings/Settings.h"
#include "views/CardChartCtrl.h"
#include "views/DeviceEvent.h"
#include "views/DevicePageBinding.h"
#include "views/DevicePageLayout.h"
#include "views/LiveGraphWindow.h"

namespace {

using DevicePageLayout::Kind;
namespace L = DevicePageLayout;

constexpr int kScrollLine = 10;  // pixels per line step and wheel notch

// Phase 1, 2, 3 and the line voltages.
constexpr quint32 kPhaseColors[4] = {0x000AB2E8, 0x00088E1A, 0x000F21ED, 0x00A96386};
constexpr int kPhaseFrames[4] = {L::IDC_PHASE1_FRAME, L::IDC_PHASE2_FRAME, L::IDC_PHASE3_FRAME, L::IDC_LINE_FRAME};
struct BarColor {
    int id;
    int phase;
};
constexpr BarColor kBarColors[] = {{1009, 0}, {1012, 0}, {1013, 0}, {1016, 0}, {1017, 0}, {1010, 1},
                                   {1014, 1}, {1015, 1}, {1018, 1}, {1019, 1}, {1011, 2}, {1020, 2},
                                   {1021, 2}, {1022, 2}, {1023, 2}, {1025, 3}, {1026, 3}, {1027, 3}};

bool IsValueKind(Kind kind) { return kind == Kind::Value || kind == Kind::MainValue || kind == Kind::PlainValue; }

}  // namespace

void CDeviceDlg::Poster::Post(int message, int wParam, int64_t lParam) {
    // Safe from the polling thread: the page stops its link before it is destroyed, and
    // events still queued for a destroyed page are dropped with it.
    QCoreApplication::postEvent(m_target, new CDeviceEvent(message, wParam, lParam));
}

CDeviceDlg::CDeviceDlg(QWidget* parent, CSettings& settings)
    : QWidget(parent),
      m_settings(settings),
      m_client(std::make_unique<CModbusDeviceClient>()),
      m_commands(std::make_unique<DeviceCommandRunner>(
          *m_client, [this](const CommandOutcome& outcome) { OnCommandDone(outcome); })) {
    m_designSize = DialogUnits::ForDialogFont().Size(L::kWidth, L::kHeight);
    m_content = new QWidget(this);
    m_content->setGeometry(QRect(QPoint(0, 0), m_designSize));
    m_scrollBar = new QScrollBar(Qt::Vertical, this);
    m_scrollBar->setSingleStep(kScrollLine);
    m_scrollBar->hide();
    connect(m_scrollBar, &QScrollBar::valueChanged, this, &CDeviceDlg::OnScrollValue);
    BuildControls();
    ApplyColors();
}

CDeviceDlg::~CDeviceDlg() {
    // A settings window borrows the client: it ends before the link and the client do.
    EndSettingsWindows(this);
    // The polling thread posts to this object: it ends here, before the object does. Its
    // stop interrupts the client, so a command under way ends at once too.
    m_link.reset();
    m_client->Interrupt();
    m_commands.reset();
    m_graph.reset();
}

void CDeviceDlg::BuildControls() {
    const DialogUnits du = DialogUnits::ForDialogFont();
    for (const L::Item& item : L::Items()) {
        const QString text = item.key >= 0 ? GetText(item.key) : QString::fromLatin1(item.text ? item.text : "");
        QRect rect = du.Rect(item.x, item.y, item.w, item.h);
        QWidget* widget = nullptr;
        switch (item.kind) {
            case Kind::PhaseFrame:
                widget = new CGroupStatic(m_content, text);
                break;
            case Kind::Group:
                widget = new QGroupBox(text, m_content);
                break;
            case Kind::Caption: {
                auto* label = new QLabel(text, m_content);
                label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
                widget = label;
                break;
            }
            case Kind::Value:
            case Kind::MainValue:
            case Kind::PlainValue: {
                auto* label = new CXLabel(m_content);
                label->SetFontHeight(item.kind == Kind::MainValue ? 17 : 15, false);
                label->SetBold(item.kind != Kind::PlainValue, false);
                widget = label;
                break;
            }
            case Kind::Bar:
                widget = new CXProgressCtrl(m_content);
                break;
            case Kind::Thermometer: {
                auto* thermometer = new CTemperatureBar(m_content);
                m_thermometers[item.id == L::IDC_THERMOMETER8 ? 0 : 1] = thermometer;
                widget = thermometer;
                break;
            }
            case Kind::Lamp: {
                auto* lamp = new CXLed(m_content);
                lamp->SetIcons(IDI_LAMP_GREEN, 16, 16, IDI_LAMP_RED, 16, 16);
                rect.setSize(QSize(16, 16));
                widget = lamp;
                break;
            }
            case Kind::BarLamp: {
                auto* lamp = new CXLed(m_content);
                lamp->SetIcons(item.id == L::IDC_ERROR_LAMP ? IDI_BAR_AMBER : IDI_BAR_GREEN, 88, 16, IDI_BAR_GREY, 88,
                               16);
                rect.setSize(QSize(88, 16));
                widget = lamp;
                break;
            }
            case Kind::CardChart:
                m_cardChart = new CCardChartCtrl(m_content);
                widget = m_cardChart;
                break;
            case Kind::Button: {
                auto* button = new QPushButton(text, m_content);
                button->setAutoDefault(false);
                button->setEnabled(item.id == L::IDC_SETTINGS);
                widget = button;
                break;
            }
            case Kind::ErrorList:
                m_errorList = new CXListCtrl(m_content);
                widget = m_errorList;
                break;
        }
        widget->setGeometry(rect);
        if (item.id != 0) {
            widget->setObjectName(QString::number(item.id));
            m_controls.insert(item.id, widget);
        }
    }

    const auto onClick = [this](int id, auto handler) {
        connect(static_cast<QPushButton*>(Control(id)), &QPushButton::clicked, this, handler);
    };
    onClick(L::IDC_START_RECORDING, [this] { RunCommand(::DeviceCommand::StartRecording); });
    onClick(L::IDC_STOP_RECORDING, [this] { RunCommand(::DeviceCommand::StopRecording); });
    onClick(L::IDC_RESET_ERRORS, [this] { RunCommand(::DeviceCommand::ResetErrors); });
    onClick(L::IDC_RESTART, [this] { RunCommand(::DeviceCommand::Restart); });
    onClick(L::IDC_MEMORY_CARD, [this] { OpenMemoryCard(); });
    onClick(L::IDC_SETTINGS, [this] {
        const int index = FindDeviceIndex();
        if (index < 0) return;
        emit SettingsRequested(index);
        OpenDeviceSettings(this, nullptr, m_settings);
    });
}

void CDeviceDlg::ApplyColors() {
    const QColor windowBack = ColorFromRef(m_settings.WindowBackColor);
    const QColor captionText = ColorFromRef(m_settings.CaptionTextColor);
    const QColor valueBack = ColorFromRef(m_settings.ValueBackColor);
    const QColor valueText = ColorFromRef(m_settings.ValueTextColor);
    const QColor unitText = ColorFromRef(m_settings.UnitTextColor);

    // The page and its static texts: the shared background and the caption colour.
    QPalette pal = palette();
    pal.setColor(QPalette::Window, windowBack);
    pal.setColor(QPalette::WindowText, captionText);
    setPalette(pal);
    setAutoFillBackground(true);

    for (int i = 0; i < 4; ++i) {
        auto* frame = static_cast<CGroupStatic*>(Control(kPhaseFrames[i]));
        const QColor phase = ColorFromRef(kPhaseColors[i]);
        frame->SetBackColor(windowBack);
        frame->SetTextColor(phase);
        frame->SetThirdColor(phase);
    }
    for (const BarColor& bar : kBarColors) {
        static_cast<CXProgressCtrl*>(Control(bar.id))->SetBarColor(ColorFromRef(kPhaseColors[bar.phase]));
    }
    for (const L::Item& item : L::Items()) {
        if (IsValueKind(item.kind)) static_cast<CXLabel*>(Control(item.id))->SetColors(valueText, unitText, valueBack);
    }
    for (CTemperatureBar* thermometer : m_thermometers) {
        thermometer->SetScaleColor(captionText);
        thermometer->SetBackColor(valueBack);
    }
    m_cardChart->SetBackColor(windowBack);
    m_cardChart->SetTextColor(captionText);

    // The error list reads as a list, not as a value: window background, black text.
    m_errorList->SetColors(windowBack, Qt::black);
}

bool CDeviceDlg::Initialize() {
    if (m_link) return m_link->IsRunning();
    // The polling thread never touches a widget nor the device list: it reads the page's
    // own copy of its record.
    m_link = std::make_unique<DeviceLink>(*m_client, m_poster, [this] { return Record(); });
    const bool started = m_link->Start();
    if (!started) MessageBox::ShowKeys(this, LNG_DEVICE_THREAD_ERROR, LNG_GLOB_SYSTEM, MessageBox::Icon::Error);
    m_graph = CreateLiveGraphWindow(this);
    ClearData();
    UpdateScrollBar();
    return started;
}

void CDeviceDlg::SetDeviceIndex(int index) {
    m_deviceIndex.store(index);
    TakeRecord();
}

void CDeviceDlg::TakeRecord() {
    const int index = m_deviceIndex.load();
    std::optional<DeviceRecord> record;
    if (index >= 0) {
        record = m_settings.DeviceAt(index);
        if (record->IsFree()) record.reset();
    }
    std::lock_guard<std::mutex> guard(m_recordLock);
    m_record = record;
}

std::optional<DeviceRecord> CDeviceDlg::Record() const {
    std::lock_guard<std::mutex> guard(m_recordLock);
    return m_record;
}

IRegisterClient& CDeviceDlg::Client() { return *m_client; }

int CDeviceDlg::LinkState() const { return m_link ? int(m_link->State()) : int(::LinkState::Disconnected); }

void CDeviceDlg::DeviceCommand(int command) {
    if (command == kDeviceCommandStop) {
        StopLink();
    } else if (m_link && (command == kDeviceCommandConnect || command == kDeviceCommandDisconnect)) {
        m_link->Command(command);
    }
}

void CDeviceDlg::StopLink() {
    if (m_stopping) return;
    m_stopping = true;
    EndSettingsWindows(this);
    if (m_link) {
        // Posted events keep arriving while the thread winds down; the user's input waits,
        // so nothing can ask for a second stop meanwhile.
        m_link->Stop([] { QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents, 5); });
    }
    // The stop interrupted the client: a command under way has already given up. Its
    // outcome is not shown on a page that is going.
    m_client->Interrupt();
    if (m_commands->Busy()) {
        m_commands->Wait();
        unsetCursor();
    }
    if (m_graph) {
        m_graph->SetLinkState(kGraphStateStop);
        m_graph.reset();
    }
    m_stopping = false;
}

void CDeviceDlg::DeviceChanged() {
    TakeRecord();
    const int index = FindDeviceIndex();
    if (index >= 0 && m_graph) m_graph->SetDeviceName(m_settings.DeviceAt(index).NameText());
}

QWidget* CDeviceDlg::GraphWindow() const { return m_graph ? m_graph->Window() : nullptr; }

void CDeviceDlg::ShowGraphWindow(const QString& deviceName, bool topmost) {
    if (m_graph) m_graph->ShowForDevice(deviceName, topmost);
}

void CDeviceDlg::ShowData(uint32_t exchangeRate) {
    if (!m_link) return;
    const LiveView view = LiveDecoder::Decode(m_link->Image(), m_link->State(), exchangeRate);
    Paint(view);
    m_errorList->UpdateErrors(view.errorWord);
    if (m_graph) {
        for (const LiveGraphPoint& point : view.graph) m_graph->AddPoint(point.key, point.value);
    }
}

void CDeviceDlg::ClearData() {
    Paint(LiveView{});
    m_errorList->Clear();
    if (m_graph) m_graph->ClearGraph();
}

void CDeviceDlg::Paint(const LiveView& view) {
    // Every control skips a value it already shows, so an unchanged page repaints nothing.
    for (const auto& label : DevicePageBinding::Labels(view)) {
        auto* control = static_cast<CXLabel*>(Control(label.id));
        control->SetSecondText(label.text->UnitText());
        control->SetText(label.text->value);
    }
    for (const auto& text : DevicePageBinding::Strings(view)) {
        auto* control = static_cast<CXLabel*>(Control(text.id));
        control->SetSecondText(QString());
        control->SetText(*text.text);
    }
    for (const auto& bar : DevicePageBinding::Bars(view)) {
        auto* control = static_cast<CXProgressCtrl*>(Control(bar.id));
        control->SetRange(0, bar.bar->maximum);
        control->SetPos(bar.bar->position);
    }
    for (int i = 0; i < 2; ++i) {
        const ThermometerState& t = view.temperature[i].thermometer;
        m_thermometers[i]->SetRange(t.minimum, t.maximum);
        m_thermometers[i]->SetValue(t.value);
    }
    for (const auto& lamp : DevicePageBinding::Lamps(view)) static_cast<CXLed*>(Control(lamp.id))->SetMode(lamp.mode);

    const MemoryCardView& card = view.card;
    if (card.present != m_cardChart->CardPresent() || card.capacityBytes != m_shownCard.capacityBytes ||
        card.freeBytes != m_shownCard.freeBytes) {
        m_cardChart->SetCardPresent(card.present, false);
        m_cardChart->SetValues(card.capacityBytes, card.freeBytes);
        m_shownCard = card;
    }

    m_shownButtons = view.buttons;
    EnableCommandButtons();
}

void CDeviceDlg::EnableCommandButtons() {
    // While a command is under way no other one can start.
    const bool idle = !m_commands->Busy();
    const CommandButtons& b = m_shownButtons;
    const std::pair<int, bool> buttons[] = {{L::IDC_START_RECORDING, b.startRecording},
                                            {L::IDC_STOP_RECORDING, b.stopRecording},
                                            {L::IDC_RESET_ERRORS, b.resetErrors},
                                            {L::IDC_RESTART, b.restart},
                                            {L::IDC_MEMORY_CARD, b.memoryCard}};
    for (const auto& [id, enabled] : buttons) Control(id)->setEnabled(idle && enabled);
}

bool CDeviceDlg::CommandBusy() const { return m_commands->Busy(); }

void CDeviceDlg::RunCommand(::DeviceCommand command) {
    if (FindDeviceIndex() < 0 || m_stopping) return;
    // The exchange waits for the polling thread's request and for the device; the page
    // keeps painting meanwhile and says that it is busy.
    if (!m_commands->Start(command)) return;
    EnableCommandButtons();
    setCursor(Qt::BusyCursor);
}

void CDeviceDlg::OnCommandDone(const CommandOutcome& outcome) {
    unsetCursor();
    EnableCommandButtons();
    // A page on its way out (the stop's wait delivers this) says nothing more.
    if (m_stopping) return;
    MessageBox::ShowKeys(this, outcome.messageKey, outcome.captionKey,
                         outcome.success ? MessageBox::Icon::Information : MessageBox::Icon::Error);
}

void CDeviceDlg::OpenMemoryCard() {
    const int index = FindDeviceIndex();
    if (index < 0 || !m_link) return;
    const QUrl url = DeviceCommands::MemoryCardUrl(m_link->Image(), m_settings.DeviceAt(index).IpAddress);
    // Nothing is reported when no program can open the address.
    if (url.isValid()) QDesktopServices::openUrl(url);
}

bool CDeviceDlg::event(QEvent* event) {
    const QEvent::Type type = event->type();
    if (type == kDeviceDataEvent || type == kGraphStateEvent || type == kDeviceCommandEvent) {
        const auto* message = static_cast<CDeviceEvent*>(event);
        if (type == kDeviceCommandEvent) {
            DeviceCommand(message->WParam());
        } else if (type == kGraphStateEvent) {
            if (m_graph) m_graph->SetLinkState(message->WParam());
        } else if (message->WParam() == 1) {
            ShowData(static_cast<uint32_t>(message->LParam()));
        } else {
            ClearData();
        }
        return true;
    }
    return QWidget::event(event);
}

CDeviceDlg::ScrollInfo CDeviceDlg::Scroll() const {
    return {!m_scrollBar->isHidden(), m_scrollPage, m_scrollMaximum, m_scrollBar->value()};
}

void CDeviceDlg::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    UpdateScrollBar();
}

void CDeviceDlg::UpdateScrollBar() {
    // A new size starts from the top of the layout.
    m_scrollOffset = 0;
    m_content->move(0, 0);
    const int fullHeight = m_designSize.height();
    const int shown = height();
    const QSignalBlocker blocker(m_scrollBar);
    if (shown < fullHeight) {
        // The position runs from 0 to maximum - page + 1, the way the desktop counts it.
        m_scrollPage = (fullHeight - shown) / 2 + 1;
        m_scrollMaximum = fullHeight - shown + m_scrollPage;
        m_scrollBar->setRange(0, m_scrollMaximum - m_scrollPage + 1);
        m_scrollBar->setPageStep(m_scrollPage);
        m_scrollBar->setValue(0);
        const int barWidth = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, m_scrollBar);
        m_scrollBar->setGeometry(width() - barWidth, 0, barWidth, shown);
        m_scrollBar->show();
        m_scrollBar->raise();
    } else {
        m_scrollPage = 0;
        m_scrollMaximum = 0;
        m_scrollBar->setValue(0);
        m_scrollBar->hide();
    }
}

void CDeviceDlg::OnScrollValue(int value) {
    const int moved = value + m_scrollOffset;  // the position is -m_scrollOffset
    if (moved == 0) return;
    m_scrollOffset -= moved;
    m_content->move(0, m_scrollOffset);
}

void CDeviceDlg::wheelEvent(QWheelEvent* event) {
    if (!m_scrollBar->isHidden()) {
        const int delta = event->angleDelta().y();
        if (delta > 0) m_scrollBar->triggerAction(QAbstractSlider::SliderSingleStepSub);
        if (delta < 0) m_scrollBar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    }
    event->accept();
}
