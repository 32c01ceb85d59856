#pragma once

#include <QString>
#include <functional>

#include "device/LinkState.h"

class CSettings;
class QWidget;

// What the main window needs of a device page. The page lives in its tab; the main window
// tells it where it is, sends it its commands and reads its link state.
class IDevicePage {
public:
    virtual ~IDevicePage() = default;

    virtual QWidget* PageWidget() = 0;
    virtual LinkState PageLinkState() const = 0;
    // 1 disconnect, 2 connect, 3 stop (returns once the polling thread has ended).
    virtual void DeviceCommand(int command) = 0;
    // The page's device record was edited.
    virtual void DeviceChanged() = 0;
    // The page's position among the tabs, which is its device record's index.
    virtual void SetDeviceIndex(int index) = 0;
    // Shows the page's live graph window, titled with the device name (nothing without one).
    virtual void ShowGraphWindow(const QString& deviceName, bool topmost) = 0;
};

// Makes the page of a tab as a child of parent; nullptr when it cannot be made. The
// widget is owned by its parent; the main window deletes it after stopping it.
using DevicePageFactory = std::function<IDevicePage*(QWidget* parent, CSettings& settings, int index)>;
