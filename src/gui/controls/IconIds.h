#pragma once

#include <QString>

// Icon resources by number. The numbered ones are the numbers our window layouts refer to;
// the lamps of the device page have numbers of their own above 900.
enum IconId : int {
    IDI_TOOLBAR_ADD = 131,         // device with a green plus
    IDI_TOOLBAR_EDIT = 132,        // device with a blue gear
    IDI_TAB_DARK = 134,            // 8 x 8 state dots of the device tabs
    IDI_TAB_RED = 135,
    IDI_TAB_GREEN = 136,
    IDI_TOOLBAR_CONNECT = 140,     // device with a plugged cable
    IDI_TOOLBAR_DISCONNECT = 141,  // device with a cable and a red cross
    IDI_LIST_OK = 147,             // white tick on a green disc
    IDI_LIST_ERROR = 148,          // white cross on a red disc
    IDI_TOOLBAR_DELETE = 149,      // device with a red minus
    IDI_TOOLBAR_FILES_RDF = 153,   // magnifier over a memory card
    IDI_WAIT = 174,                // the wait box
    IDI_TOOLBAR_LIVE_GRAPH = 180,  // chart with coloured lines
    IDI_LAMP_GREEN = 901,          // round 16 x 16 lamps of the discrete inputs
    IDI_LAMP_RED = 902,
    IDI_BAR_AMBER = 911,           // 88 x 16 bar lamps of the error and recording states
    IDI_BAR_GREEN = 912,
    IDI_BAR_GREY = 913,
};

// The resource path of an icon, empty for an unknown number.
QString IconPath(int id);
