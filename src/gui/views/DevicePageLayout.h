#pragma once

#include <vector>

// The device page's controls: where each one sits (dialog units, from the page's top left),
// what kind of control it is and which language text it shows. The page builds itself
// from this table; the ids are the control ids of the page's layout.
namespace DevicePageLayout {

constexpr int kWidth = 666;  // dialog units
constexpr int kHeight = 445;

enum class Kind {
    PhaseFrame,    // titled frame in a phase colour
    Group,         // plain group box
    Caption,       // static text
    Value,         // value label, 15 high, bold
    MainValue,     // value label, 17 high, bold
    PlainValue,    // value label, 15 high, regular
    Bar,           // progress bar
    Thermometer,
    Lamp,          // 16 x 16 pixel lamp of a discrete input
    BarLamp,       // 88 x 16 pixel lamp of the error and recording states
    CardChart,
    Button,
    ErrorList,
};

struct Item {
    constexpr Item(int id_, int x_, int y_, int w_, int h_, Kind kind_, int key_, const char* text_ = nullptr)
        : id(id_), x(x_), y(y_), w(w_), h(h_), kind(kind_), key(key_), text(text_) {}
    int id;  // 0 for a caption nobody refers to
    int x, y, w, h;
    Kind kind;
    int key;           // language text id, -1 for none
    const char* text;  // fixed text of a caption without a key
};

const std::vector<Item>& Items();

// Ids the page refers to by name.
enum Id : int {
    IDC_PHASE1_FRAME = 1136,
    IDC_PHASE2_FRAME = 1137,
    IDC_PHASE3_FRAME = 1138,
    IDC_LINE_FRAME = 1193,
    IDC_START_RECORDING = 1067,
    IDC_STOP_RECORDING = 1068,
    IDC_RESET_ERRORS = 1069,
    IDC_RESTART = 1070,
    IDC_SETTINGS = 1071,
    IDC_MEMORY_CARD = 1081,
    IDC_ERROR_LAMP = 1072,
    IDC_RECORDING_LAMP = 1073,
    IDC_INPUT1_LAMP = 1063,  // ..1066
    IDC_THERMOMETER8 = 1079,
    IDC_THERMOMETER9 = 1080,
    IDC_CARD_CHART = 1062,
    IDC_ERROR_LIST = 1061,
};

}  // namespace DevicePageLayout
