#include "app/MainCommands.h"

#include <initializer_list>

namespace MainCommands {

namespace {
bool SelectedIs(const MainWindowState& s, std::initializer_list<LinkState> states) {
    if (s.selected < 0 || s.selected >= s.tabCount) return false;
    if (!s.selectedHasPage) return true;
    for (LinkState st : states)
        if (s.selectedState == st) return true;
    return false;
}
}  // namespace

bool IsEnabled(int command, const MainWindowState& s) {
    switch (command) {
        case ID_CONNECT:
            return SelectedIs(s, {LinkState::Disconnected, LinkState::Disconnecting});
        case ID_DISCONNECT:
            return SelectedIs(s, {LinkState::Connecting, LinkState::Reconnecting, LinkState::Connected});
        case ID_VIEW_LIVE_GRAPH:
            return s.selected >= 0 && s.selected < s.tabCount;
        case ID_ADD_DEVICE:
            return s.tabCount < kMaxTabs;
        case ID_EDIT_DEVICE:
            return SelectedIs(s, {LinkState::Disconnected});
        case ID_DELETE_DEVICE:
            return s.tabCount >= 2 && SelectedIs(s, {LinkState::Disconnected});
        default:
            return true;
    }
}

int TabImage(bool hasPage, LinkState state) {
    if (!hasPage || state == LinkState::Disconnected) return 0;
    return state == LinkState::Connected ? 2 : 1;
}

bool BannerVisible(const MainWindowState& s) {
    return s.selected >= 0 && s.selected < s.tabCount && s.selectedHasPage &&
           s.selectedState == LinkState::Reconnecting;
}

}  // namespace MainCommands
