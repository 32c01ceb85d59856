#include <gtest/gtest.h>

#include "app/MainCommands.h"

namespace {

using LS = LinkState;

TEST(MainCommands, EnablingRules) {
    struct Case {
        const char* what;
        MainWindowState state;
        int command;
        bool enabled;
    } cases[] = {
        {"empty list: add", {0, -1, false, LS::Disconnected}, ID_ADD_DEVICE, true},
        {"empty list: edit", {0, -1, false, LS::Disconnected}, ID_EDIT_DEVICE, false},
        {"empty list: delete", {0, -1, false, LS::Disconnected}, ID_DELETE_DEVICE, false},
        {"empty list: connect", {0, -1, false, LS::Disconnected}, ID_CONNECT, false},
        {"empty list: disconnect", {0, -1, false, LS::Disconnected}, ID_DISCONNECT, false},
        {"empty list: live graph", {0, -1, false, LS::Disconnected}, ID_VIEW_LIVE_GRAPH, false},
        {"empty list: connect all", {0, -1, false, LS::Disconnected}, ID_CONNECT_ALL, true},
        {"empty list: disconnect all", {0, -1, false, LS::Disconnected}, ID_DISCONNECT_ALL, true},
        {"one device: delete", {1, 0, true, LS::Disconnected}, ID_DELETE_DEVICE, false},
        {"two devices: delete", {2, 0, true, LS::Disconnected}, ID_DELETE_DEVICE, true},
        {"ten devices: add", {10, 0, true, LS::Disconnected}, ID_ADD_DEVICE, false},
        {"connected: edit", {2, 1, true, LS::Connected}, ID_EDIT_DEVICE, false},
        {"connected: delete", {2, 1, true, LS::Connected}, ID_DELETE_DEVICE, false},
        {"connecting: edit", {2, 1, true, LS::Connecting}, ID_EDIT_DEVICE, false},
        {"reconnecting: delete", {2, 1, true, LS::Reconnecting}, ID_DELETE_DEVICE, false},
        {"disconnecting: connect", {1, 0, true, LS::Disconnecting}, ID_CONNECT, true},
        {"disconnecting: edit", {1, 0, true, LS::Disconnecting}, ID_EDIT_DEVICE, false},
        {"connected: connect", {1, 0, true, LS::Connected}, ID_CONNECT, false},
        {"reconnecting: disconnect", {1, 0, true, LS::Reconnecting}, ID_DISCONNECT, true},
        {"disconnected: disconnect", {1, 0, true, LS::Disconnected}, ID_DISCONNECT, false},
        {"tab without page: connect", {1, 0, false, LS::Connected}, ID_CONNECT, true},
        {"tab without page: disconnect", {1, 0, false, LS::Disconnected}, ID_DISCONNECT, true},
        {"no selection: live graph", {3, -1, false, LS::Disconnected}, ID_VIEW_LIVE_GRAPH, false},
        {"exit always", {0, -1, false, LS::Disconnected}, ID_EXIT, true},
    };
    for (const Case& c : cases) EXPECT_EQ(MainCommands::IsEnabled(c.command, c.state), c.enabled) << c.what;
}

TEST(MainCommands, TabDotsAndBanner) {
    EXPECT_EQ(MainCommands::TabImage(false, LS::Connected), 0);
    EXPECT_EQ(MainCommands::TabImage(true, LS::Disconnected), 0);
    EXPECT_EQ(MainCommands::TabImage(true, LS::Connected), 2);
    for (LS s : {LS::Disconnecting, LS::Connecting, LS::Reconnecting}) EXPECT_EQ(MainCommands::TabImage(true, s), 1);
    EXPECT_TRUE(MainCommands::BannerVisible({2, 1, true, LS::Reconnecting}));
    EXPECT_FALSE(MainCommands::BannerVisible({2, 1, true, LS::Connecting}));
    EXPECT_FALSE(MainCommands::BannerVisible({2, 1, false, LS::Reconnecting}));
}

}  // namespace
