#pragma once

#include <QString>
#include <cstdint>
#include <functional>
#include <memory>

class QWidget;

// What a device page asks of its live graph window. The page creates one at
// initialisation (hidden), feeds it every decoded value, clears it with the page, retitles
// it when the device is renamed and closes it when the link stops.
class ILiveGraphWindow {
public:
    virtual ~ILiveGraphWindow() = default;
    virtual QWidget* Window() = 0;
    virtual void AddPoint(uint32_t code, int32_t raw) = 0;
    virtual void ClearGraph() = 0;
    virtual void SetDeviceName(const QString& name) = 0;
    // UM_GRAPH_STATE: stop, connect or disconnect.
    virtual void SetLinkState(int graphState) = 0;
    virtual void ShowForDevice(const QString& deviceName, bool topmost) = 0;
};

// The page's live graph window, centred over the page and hidden.
std::unique_ptr<ILiveGraphWindow> CreateLiveGraphWindow(QWidget* page);

// Replaces the window pages create (tests watch what a page tells its window); an empty
// factory restores the program's own.
using LiveGraphFactory = std::function<std::unique_ptr<ILiveGraphWindow>(QWidget* page)>;
void SetLiveGraphFactory(LiveGraphFactory factory);
