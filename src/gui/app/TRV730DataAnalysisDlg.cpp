#include "app/TRV730DataAnalysisDlg.h"

#include <QAction>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QDir>
#include <QGuiApplication>
#include <QIcon>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QTimer>
#include <QUrl>
#include <QUrlQuery>
#include <QVBoxLayout>

#include "app/AboutDlg.h"
#include "app/AddDeviceDlg.h"
#include "app/AppInfo.h"
#include "app/FileHandoff.h"
#include "app/DeviceTabs.h"
#include "app/MessageBox.h"
#include "controls/DialogUnits.h"
#include "controls/DlgToolBar.h"
#include "controls/IconIds.h"
#include "controls/StTabCtrl.h"
#include "controls/WaitDlg.h"
#include "controls/XLabel.h"
#include "devsettings/SettingsWindow.h"
#include "language/Language.h"
#include "language/LanguageLocator.h"
#include "language/TextFormat.h"
#include "rdf/RdfWindowHost.h"
#include "settings/DeviceList.h"
#include "views/DeviceDlg.h"

namespace {
constexpr int kToolbarImageWidth = 48;
constexpr int kToolbarImageHeight = 32;
constexpr int kToolbarButtonSize = 54;
}  // namespace

CTRV730DataAnalysisDlg::CTRV730DataAnalysisDlg(CSettings& settings, const DevicePageFactory& pageFactory,
                                               QWidget* parent)
    : QMainWindow(parent), m_settings(settings) {
    m_rdfHost = new CRdfWindowHost(this);
    setWindowTitle(Caption());
    setWindowIcon(QIcon(QStringLiteral(":/icons/app.svg")));
    BuildMenu();
    BuildToolBar();
    BuildTabs(pageFactory);
    BuildBanner();
    FixMinimumSize();
    OnTabChanged(m_tabs->currentIndex());
    m_timer = startTimer(kTimerPeriodMs);
}

// The device tabs stop every page before the widgets go.
CTRV730DataAnalysisDlg::~CTRV730DataAnalysisDlg() = default;

QString CTRV730DataAnalysisDlg::Caption() {
    return FormatText(QStringLiteral("%s v%d.%d"),
                      {GetText(LNG_MAIN_TITLE), AppInfo::kVersionMajor, AppInfo::kVersionMinor});
}

void CTRV730DataAnalysisDlg::BuildMenu() {
    struct Item {
        int command;  // 0: separator
        int key;
    };
    auto popup = [this](int key, std::initializer_list<Item> items) {
        QMenu* menu = menuBar()->addMenu(GetText(key));
        for (const Item& item : items) {
            if (item.command == 0) {
                menu->addSeparator();
                continue;
            }
            QAction* action = menu->addAction(GetText(item.key));
            const int command = item.command;
            connect(action, &QAction::triggered, this, [this, command] { RunCommand(command); });
            m_menuActions.append({command, action});
        }
        // Menu items follow the same rules as the toolbar, checked when their menu opens.
        connect(menu, &QMenu::aboutToShow, this, [this, menu] {
            for (const auto& [command, action] : std::as_const(m_menuActions))
                if (menu->actions().contains(action)) action->setEnabled(IsCommandEnabled(command));
        });
    };
    popup(LNG_MENU_FILE, {{ID_VIEW_RDF, LNG_MENU_FILES_RDF}, {0, 0}, {ID_EXIT, LNG_MENU_EXIT}});
    popup(LNG_MENU_CONNECTION, {{ID_CONNECT, LNG_MENU_CONNECT},
                                {ID_DISCONNECT, LNG_MENU_DISCONNECT},
                                {ID_VIEW_LIVE_GRAPH, LNG_MENU_VIEW},
                                {0, 0},
                                {ID_CONNECT_ALL, LNG_MENU_CONNECT_ALL},
                                {ID_DISCONNECT_ALL, LNG_MENU_DISCONNECT_ALL}});
    popup(LNG_MENU_DEVICE,
          {{ID_ADD_DEVICE, LNG_MENU_ADD}, {ID_EDIT_DEVICE, LNG_MENU_EDIT}, {ID_DELETE_DEVICE, LNG_MENU_DELETE}});
    popup(LNG_MENU_HELP, {{ID_HELP_CONTENTS, LNG_MENU_HELP_TITLE},
                          {0, 0},
                          {ID_GO_WEB, LNG_MENU_GOWEB},
                          {ID_SEND_MAIL, LNG_MENU_SENDMAIL},
                          {ID_ABOUT, LNG_MENU_ABOUT}});
}

void CTRV730DataAnalysisDlg::BuildToolBar() {
    m_toolbar = new CDlgToolBar(this);
    m_toolbar->setObjectName(QStringLiteral("toolbar"));
    m_toolbar->SetIcons({IDI_TOOLBAR_FILES_RDF, IDI_TOOLBAR_CONNECT, IDI_TOOLBAR_DISCONNECT, IDI_TOOLBAR_LIVE_GRAPH,
                         IDI_TOOLBAR_ADD, IDI_TOOLBAR_EDIT, IDI_TOOLBAR_DELETE},
                        kToolbarImageWidth, kToolbarImageHeight);
    m_toolbar->SetButtonSize(QSize(kToolbarButtonSize, kToolbarButtonSize));
    m_toolbar->AddButton(ID_VIEW_RDF, 0, GetText(LNG_TOOLBAR_FILES_RDF), GetText(LNG_TOOLBAR_FILES_RDF_TLTP));
    m_toolbar->AddSeparator();
    m_toolbar->AddButton(ID_CONNECT, 1, GetText(LNG_TOOLBAR_CONNECT), GetText(LNG_TOOLBAR_CONNECT_TLTP));
    m_toolbar->AddButton(ID_DISCONNECT, 2, GetText(LNG_TOOLBAR_DISCONNECT), GetText(LNG_TOOLBAR_DISCONNECT_TLTP));
    m_toolbar->AddButton(ID_VIEW_LIVE_GRAPH, 3, GetText(LNG_TOOLBAR_VIEW), GetText(LNG_TOOLBAR_VIEW_TLTP));
    m_toolbar->AddSeparator();
    m_toolbar->AddButton(ID_ADD_DEVICE, 4, GetText(LNG_TOOLBAR_ADD), GetText(LNG_TOOLBAR_ADD_TLTP));
    m_toolbar->AddButton(ID_EDIT_DEVICE, 5, GetText(LNG_TOOLBAR_EDIT), GetText(LNG_TOOLBAR_EDIT_TLTP));
    m_toolbar->AddButton(ID_DELETE_DEVICE, 6, GetText(LNG_TOOLBAR_DELETE), GetText(LNG_TOOLBAR_DELETE_TLTP));
    m_toolbar->AddSeparator();
    m_toolbar->SetUpdateRule([this](int command) { return IsCommandEnabled(command); });
    connect(m_toolbar, &CDlgToolBar::CommandTriggered, this, &CTRV730DataAnalysisDlg::RunCommand);
    m_toolbar->setMovable(false);
    addToolBar(Qt::TopToolBarArea, m_toolbar);
}

void CTRV730DataAnalysisDlg::BuildTabs(const DevicePageFactory& pageFactory) {
    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    // The tab strip keeps a pixel of air on every side and a little more under the toolbar.
    layout->setContentsMargins(1, 4, 1, 1);
    m_tabs = new CStTabCtrl(central);
    m_tabs->setObjectName(QString::number(IDC_TAB));
    layout->addWidget(m_tabs);
    setCentralWidget(central);
    m_devices = std::make_unique<CDeviceTabs>(*m_tabs, m_settings, pageFactory);

    const int count = m_settings.DeviceCount();
    for (int i = 0; i < count; ++i) {
        m_devices->Append(i);
        if (!m_devices->CreatePage(i)) {
            MessageBox::Show(this, FormatLng(LNG_MAIN_CANT_ADD_DEVICE, {m_settings.Devices[i].NameText()}),
                             GetText(LNG_GLOB_ERROR), MessageBox::Icon::Error);
        }
    }
    connect(m_tabs, &QTabWidget::currentChanged, this, &CTRV730DataAnalysisDlg::OnTabChanged);
}

void CTRV730DataAnalysisDlg::BuildBanner() {
    const DialogUnits du = DialogUnits::ForDialogFont();
    m_banner = new CXLabel(centralWidget(), GetText(LNG_MAIN_NO_CONNECT_DEVICE));
    m_banner->setObjectName(QString::number(IDC_BANNER));
    m_banner->SetShape(CXLabel::kShapePlain, false);
    m_banner->SetColors(QColor(255, 0, 0), QColor(255, 0, 0), QColor(255, 204, 0), false);
    m_banner->SetFontHeight(60, false);
    m_banner->SetBold(true, false);
    m_banner->setGeometry(du.Rect(56, 163, 568, 52));
    m_banner->hide();
}

void CTRV730DataAnalysisDlg::FixMinimumSize() {
    // The layout's client area stays free below the menu and the toolbar.
    const DialogUnits du = DialogUnits::ForDialogFont();
    QSize size(du.X(683), du.Y(461) + menuBar()->sizeHint().height() + m_toolbar->sizeHint().height() + 4);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) size = size.boundedTo(screen->availableSize());
    setMinimumSize(size);
    resize(size);
}

IDevicePage* CTRV730DataAnalysisDlg::Page(int tab) const { return m_devices ? m_devices->Page(tab) : nullptr; }

void CTRV730DataAnalysisDlg::OpenSettingsFile(const QString& path) {
    OpenDeviceSettings(dynamic_cast<CDeviceDlg*>(Page(0)), this, m_settings, path);
}

QAction* CTRV730DataAnalysisDlg::MenuAction(int command) const {
    for (const auto& [id, action] : m_menuActions)
        if (id == command) return action;
    return nullptr;
}

MainWindowState CTRV730DataAnalysisDlg::State() const {
    MainWindowState s;
    s.tabCount = m_tabs->count();
    s.selected = m_tabs->currentIndex();
    if (const IDevicePage* page = Page(s.selected)) {
        s.selectedHasPage = true;
        s.selectedState = page->PageLinkState();
    }
    return s;
}

bool CTRV730DataAnalysisDlg::IsCommandEnabled(int command) const { return MainCommands::IsEnabled(command, State()); }

void CTRV730DataAnalysisDlg::OnTabChanged(int) { UpdateBanner(); }

void CTRV730DataAnalysisDlg::UpdateBanner() {
    const bool show = MainCommands::BannerVisible(State());
    if (show && !m_banner->isVisible()) {
        m_banner->show();
        m_banner->raise();
    } else if (!show && m_banner->isVisible()) {
        m_banner->hide();
    }
}

void CTRV730DataAnalysisDlg::RefreshLinkStates() {
    m_devices->RefreshImages();
    UpdateBanner();
}

void CTRV730DataAnalysisDlg::timerEvent(QTimerEvent* event) {
    if (event->timerId() == m_timer) {
        if (isVisible()) RefreshLinkStates();
        return;
    }
    QMainWindow::timerEvent(event);
}

void CTRV730DataAnalysisDlg::keyPressEvent(QKeyEvent* event) {
    // Enter and Escape do nothing here: only closing the window ends the program. F1 is
    // the desktop's help key.
    switch (event->key()) {
        case Qt::Key_F1:
            event->accept();
            RunCommand(ID_HELP_CONTENTS);
            return;
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Escape:
            event->accept();
            return;
        default:
            QMainWindow::keyPressEvent(event);
    }
}

void CTRV730DataAnalysisDlg::RunCommand(int command) {
    if (m_closing || m_closed || !IsCommandEnabled(command)) return;
    if (command == ID_EXIT) {
        close();
        return;
    }
    if (m_busy > 0) return;
    ++m_busy;
    switch (command) {
        case ID_VIEW_RDF: m_rdfHost->Show(); break;
        case ID_CONNECT: OnConnect(kDeviceCommandConnect); break;
        case ID_DISCONNECT: OnConnect(kDeviceCommandDisconnect); break;
        case ID_CONNECT_ALL:
        case ID_DISCONNECT_ALL: {
            m_devices->SendToAll(command == ID_CONNECT_ALL ? kDeviceCommandConnect : kDeviceCommandDisconnect);
            break;
        }
        case ID_VIEW_LIVE_GRAPH: OnViewLiveGraph(); break;
        case ID_ADD_DEVICE: OnAddDevice(); break;
        case ID_EDIT_DEVICE: OnEditDevice(); break;
        case ID_DELETE_DEVICE: OnDeleteDevice(); break;
        case ID_HELP_CONTENTS: OnHelp(); break;
        case ID_GO_WEB: OnGoWeb(); break;
        case ID_SEND_MAIL: OnSendMail(); break;
        case ID_ABOUT: OnAbout(); break;
        default: break;
    }
    --m_busy;
    if (m_busy == 0 && m_closeAsked) {
        m_closeAsked = false;
        QTimer::singleShot(0, this, &QWidget::close);
    }
}

void CTRV730DataAnalysisDlg::OnConnect(int command) {
    IDevicePage* page = Page(m_tabs->currentIndex());
    if (!page) return;
    const LinkState s = page->PageLinkState();
    const bool linked = s == LinkState::Connecting || s == LinkState::Reconnecting || s == LinkState::Connected;
    if (command == kDeviceCommandConnect ? !linked : (s != LinkState::Disconnecting && s != LinkState::Disconnected))
        page->DeviceCommand(command);
}

void CTRV730DataAnalysisDlg::OnViewLiveGraph() {
    const int tab = m_tabs->currentIndex();
    IDevicePage* page = Page(tab);
    if (!page) return;
    page->ShowGraphWindow(m_settings.Devices[tab].NameText(), m_settings.LiveGraphTopmost != 0);
}

void CTRV730DataAnalysisDlg::OnAddDevice() {
    if (DeviceList::FirstFreeSlot(m_settings) < 0) return;
    CAddDeviceDlg dlg(CAddDeviceDlg::Add, this);
    if (dlg.exec() != QDialog::Accepted) return;
    int slot = -1;
    switch (DeviceList::Add(m_settings, dlg.Values(), slot)) {
        case DeviceList::Result::Refused: return;
        case DeviceList::Result::NotSaved:
            MessageBox::ShowKeys(this, LNG_GLOB_SETTSAVE_ERROR, LNG_GLOB_ERROR, MessageBox::Icon::Error);
            return;
        case DeviceList::Result::Saved: break;
    }
    m_devices->Append(slot);
    m_tabs->setCurrentIndex(slot);
    if (m_devices->CreatePage(slot)) {
        OnTabChanged(slot);
        MessageBox::ShowKeys(this, LNG_MAIN_ADDED_DEVICE_SUCCESS, LNG_GLOB_SYSTEM, MessageBox::Icon::Information);
        return;
    }
    // The record stays saved and gets its tab at the next start.
    m_devices->Remove(slot);
    m_tabs->setCurrentIndex(0);
    MessageBox::Show(this, FormatLng(LNG_MAIN_CANT_ADD_DEVICE, {m_settings.Devices[slot].NameText()}),
                     GetText(LNG_GLOB_ERROR), MessageBox::Icon::Error);
}

void CTRV730DataAnalysisDlg::OnEditDevice() {
    const int tab = m_tabs->currentIndex();
    if (tab < 0 || tab >= m_tabs->count()) return;
    CAddDeviceDlg dlg(CAddDeviceDlg::Edit, DeviceFields::FromRecord(m_settings.Devices[tab]), this);
    if (dlg.exec() != QDialog::Accepted) return;
    const DeviceList::Result result = DeviceList::Edit(m_settings, tab, dlg.Values());
    // The list shows what is in memory, saved or not.
    m_devices->SetCaption(tab, m_settings.Devices[tab].NameText());
    if (IDevicePage* page = Page(tab)) page->DeviceChanged();
    if (result == DeviceList::Result::Saved)
        MessageBox::ShowKeys(this, LNG_MAIN_EDIT_DEVICE_SUCCESS, LNG_GLOB_SYSTEM, MessageBox::Icon::Information);
    else
        MessageBox::ShowKeys(this, LNG_GLOB_SETTSAVE_ERROR, LNG_GLOB_ERROR, MessageBox::Icon::Error);
}

void CTRV730DataAnalysisDlg::OnDeleteDevice() {
    const int tab = m_tabs->currentIndex();
    if (tab < 0 || tab >= m_tabs->count()) return;
    m_devices->Remove(tab);
    const DeviceList::Result result = DeviceList::Remove(m_settings, tab);
    // Each page connects with its own copy of its record, so the records moving before
    // the pages are renumbered cannot send one to its neighbour's device.
    m_devices->Renumber();
    m_tabs->setCurrentIndex(tab >= m_tabs->count() ? m_tabs->count() - 1 : tab);
    OnTabChanged(m_tabs->currentIndex());
    if (result == DeviceList::Result::Saved)
        MessageBox::ShowKeys(this, LNG_MAIN_REMOVE_DEVICE_SUCCESS, LNG_GLOB_SYSTEM, MessageBox::Icon::Information);
    else
        MessageBox::ShowKeys(this, LNG_GLOB_SETTSAVE_ERROR, LNG_GLOB_ERROR, MessageBox::Icon::Error);
}

void CTRV730DataAnalysisDlg::OnHelp() {
    QDesktopServices::openUrl(QUrl::fromLocalFile(LanguageLocator::HelpPage()));
}

void CTRV730DataAnalysisDlg::OnGoWeb() {
    QDesktopServices::openUrl(QUrl(QString::fromLatin1(AppInfo::kMakerWebSite), QUrl::StrictMode));
}

void CTRV730DataAnalysisDlg::OnSendMail() {
    QUrl mail;
    mail.setScheme(QStringLiteral("mailto"));
    mail.setPath(QString::fromLatin1(AppInfo::kFeedbackMail));
    QUrlQuery query;
    query.addQueryItem(QStringLiteral("subject"), QStringLiteral("TRV-730 Data Analysis"));
    query.addQueryItem(QStringLiteral("body"), QStringLiteral("feedback:"));
    mail.setQuery(query);
    QDesktopServices::openUrl(mail);
}

void CTRV730DataAnalysisDlg::OnAbout() {
    CAboutDlg dlg(this);
    dlg.exec();
}

void CTRV730DataAnalysisDlg::CloseSequence() {
    m_closing = true;
    // Settings windows end first: their transfers use the links stopped below.
    EndSettingsWindows(this);
    CWaitDlg wait(this);
    wait.Show(this);
    killTimer(m_timer);
    m_timer = 0;
    m_rdfHost->Close();  // waits about ten seconds at most, then goes on without it
    m_banner->hide();
    m_tabs->hide();
    m_devices->SendToAll(kDeviceCommandDisconnect);
    m_devices->Clear();
    wait.Hide();
    m_closed = true;
}

void CTRV730DataAnalysisDlg::OpenRecordingFile(const QString& path) { m_rdfHost->OpenFile(path); }

void CTRV730DataAnalysisDlg::closeEvent(QCloseEvent* event) {
    if (m_closed) {
        event->accept();
        return;
    }
    if (m_closing) {
        // The sequence under way ends the window.
        event->ignore();
        return;
    }
    if (m_busy > 0) {
        // A command (a delete stopping its page, a dialog) is on the stack: closing now
        // would destroy what it works on.
        m_closeAsked = true;
        event->ignore();
        return;
    }
    CloseSequence();
    event->accept();
}
