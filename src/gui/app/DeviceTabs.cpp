#include "app/DeviceTabs.h"

#include <QVBoxLayout>
#include <QWidget>

#include "app/MainCommands.h"
#include "controls/StTabCtrl.h"
#include "settings/Settings.h"

CDeviceTabs::CDeviceTabs(CStTabCtrl& tabs, CSettings& settings, DevicePageFactory pageFactory)
    : m_tabs(tabs), m_settings(settings), m_pageFactory(std::move(pageFactory)) {}

// However the window goes, no polling thread outlives its page.
CDeviceTabs::~CDeviceTabs() {
    for (int i = 0; i < m_pages.size(); ++i) DestroyPage(i);
}

int CDeviceTabs::Count() const { return m_tabs.count(); }

int CDeviceTabs::Current() const { return m_tabs.currentIndex(); }

IDevicePage* CDeviceTabs::Page(int tab) const { return tab >= 0 && tab < m_pages.size() ? m_pages[tab] : nullptr; }

void CDeviceTabs::Append(int index) {
    auto* holder = new QWidget;
    auto* layout = new QVBoxLayout(holder);
    layout->setContentsMargins(0, 0, 0, 0);
    m_tabs.insertTab(index, holder, CStTabCtrl::StateIcon(0), m_settings.Devices[index].NameText());
    m_tabs.SetTabImage(index, 0);
    m_pages.insert(index, nullptr);
}

bool CDeviceTabs::CreatePage(int tab) {
    if (tab < 0 || tab >= m_tabs.count() || !m_pageFactory) return false;
    QWidget* holder = m_tabs.widget(tab);
    IDevicePage* page = m_pageFactory(holder, m_settings, tab);
    if (!page) return false;
    holder->layout()->addWidget(page->PageWidget());
    m_pages[tab] = page;
    return true;
}

void CDeviceTabs::DestroyPage(int tab) {
    if (tab < 0 || tab >= m_pages.size() || !m_pages[tab]) return;
    IDevicePage* page = m_pages[tab];
    m_pages[tab] = nullptr;
    page->DeviceCommand(kDeviceCommandStop);
    delete page->PageWidget();
}

void CDeviceTabs::Remove(int tab) {
    if (tab < 0 || tab >= m_tabs.count()) return;
    DestroyPage(tab);
    QWidget* holder = m_tabs.widget(tab);
    m_tabs.removeTab(tab);
    if (tab < m_pages.size()) m_pages.remove(tab);
    delete holder;
}

void CDeviceTabs::Renumber() {
    for (int i = 0; i < m_pages.size(); ++i)
        if (m_pages[i]) m_pages[i]->SetDeviceIndex(i);
}

void CDeviceTabs::SetCaption(int tab, const QString& caption) {
    m_tabs.setTabText(tab, caption);
    m_tabs.SetTabImage(tab, 0);
}

void CDeviceTabs::SendToAll(int command) {
    for (IDevicePage* page : std::as_const(m_pages))
        if (page) page->DeviceCommand(command);
}

void CDeviceTabs::Clear() {
    // Each stop waits for its polling thread while events keep being dispatched.
    for (int i = 0; i < m_pages.size(); ++i) DestroyPage(i);
    while (m_tabs.count() > 0) {
        QWidget* holder = m_tabs.widget(0);
        m_tabs.removeTab(0);
        delete holder;
    }
    m_pages.clear();
}

void CDeviceTabs::RefreshImages() {
    for (int i = 0; i < m_tabs.count(); ++i) {
        const IDevicePage* page = Page(i);
        const int image = MainCommands::TabImage(page != nullptr, page ? page->PageLinkState() : LinkState::Disconnected);
        if (m_tabs.TabImage(i) != image) m_tabs.SetTabImage(i, image);
    }
}
