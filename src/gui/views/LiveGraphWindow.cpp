#include "views/LiveGraphWindow.h"

namespace {
LiveGraphFactory& Factory() {
    static LiveGraphFactory factory;
    return factory;
}
}  // namespace

void SetLiveGraphFactory(LiveGraphFactory factory) { Factory() = std::move(factory); }

std::unique_ptr<ILiveGraphWindow> CreateLiveGraphWindow(QWidget* page) {
    if (Factory()) return Factory()(page);
    // LIVE GRAPH SEAM: the live graph window joins the device page here. Until it does, a
    // page runs without one (GraphWindow() stays null, the view-graph command has nothing
    // to show).
    return nullptr;
}
