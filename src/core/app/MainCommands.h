#pragma once

#include "device/LinkState.h"

// The main window's commands, by their menu and toolbar ids, and the rules that decide
// when each is enabled. Menu items and toolbar buttons of one command always agree.
enum MainCommand : int {
    ID_VIEW_RDF = 32794,
    ID_EXIT = 32783,
    ID_CONNECT = 32787,
    ID_DISCONNECT = 32788,
    ID_VIEW_LIVE_GRAPH = 32806,
    ID_CONNECT_ALL = 32789,
    ID_DISCONNECT_ALL = 32790,
    ID_ADD_DEVICE = 32784,
    ID_EDIT_DEVICE = 32785,
    ID_DELETE_DEVICE = 32791,
    ID_HELP_CONTENTS = 32804,
    ID_GO_WEB = 32799,
    ID_SEND_MAIL = 32801,
    ID_ABOUT = 32797,
};

// What the rules look at: the number of tabs, the selected one (-1 for none), and the
// link state of the selected tab's page (a tab without a page satisfies every state test).
struct MainWindowState {
    int tabCount = 0;
    int selected = -1;
    bool selectedHasPage = false;
    LinkState selectedState = LinkState::Disconnected;
};

namespace MainCommands {
constexpr int kMaxTabs = 10;

bool IsEnabled(int command, const MainWindowState& state);
// The state dot of a tab: 0 dark (disconnected or no page), 2 green (connected), 1 red otherwise.
int TabImage(bool hasPage, LinkState state);
// The no-connection banner shows over the selected page while it keeps trying to reconnect.
bool BannerVisible(const MainWindowState& state);
}  // namespace MainCommands
