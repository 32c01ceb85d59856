#pragma once

#include <QString>
#include <QVector>

#include "views/DevicePage.h"

class CSettings;
class CStTabCtrl;

// The main window's device tabs and the page behind each. Tab i always shows device
// record i: tabs are appended in record order and a removed tab closes the gap as the
// records do. A tab whose page could not be made keeps a null page.
class CDeviceTabs {
public:
    CDeviceTabs(CStTabCtrl& tabs, CSettings& settings, DevicePageFactory pageFactory);
    ~CDeviceTabs();  // stops and destroys every page still there
    CDeviceTabs(const CDeviceTabs&) = delete;
    CDeviceTabs& operator=(const CDeviceTabs&) = delete;

    int Count() const;
    int Current() const;
    IDevicePage* Page(int tab) const;

    // A tab for record index, captioned with its name, without a page yet.
    void Append(int index);
    // Makes the tab's page; false when it cannot be made.
    bool CreatePage(int tab);
    // Stops the tab's page (its polling thread ends) and destroys it; the tab stays.
    void DestroyPage(int tab);
    // Stops and destroys the tab's page and removes the tab.
    void Remove(int tab);
    // Tells every page its index again, once the records have closed the gap too.
    void Renumber();
    void SetCaption(int tab, const QString& caption);

    // UM_DEVICE_COMMAND to every page, in tab order.
    void SendToAll(int command);
    // Stops and destroys every page in tab order, then removes every tab.
    void Clear();
    // Each tab's dot follows its page's link state.
    void RefreshImages();

private:
    CStTabCtrl& m_tabs;
    CSettings& m_settings;
    DevicePageFactory m_pageFactory;
    QVector<IDevicePage*> m_pages;  // per tab; owned by the tab's holder widget
};
