#include "views/DevicePageLayout.h"

#include "language/LanguageKeys.h"

namespace DevicePageLayout {
namespace {

using K = Kind;

// The controls of one voltage or current channel box: bar and main value on the first
// row, distortion and frequency on the second.
struct ChannelIds {
    int box, key, bar, value, thdCaption, thdKey, thd, freqCaption, freqKey, freq;
};

void AddChannelBox(std::vector<Item>& out, int x, int y, int w, int h, const ChannelIds& c) {
    // The second row keeps the same distance from the bottom in boxes of either height.
    const int row1 = y + 11;
    const int row2 = y + h - 17;
    out.push_back({c.box, x, y, w, h, K::Group, c.key});
    out.push_back({c.bar, x + 5, row1 + 2, 72, 10, K::Bar, -1});
    out.push_back({c.value, x + 81, row1, w - 86, 13, K::MainValue, -1});
    out.push_back({c.thdCaption, x + 5, row2 + 2, 22, 8, K::Caption, c.thdKey});
    out.push_back({c.thd, x + 28, row2, 34, 12, K::Value, -1});
    out.push_back({c.freqCaption, x + 66, row2 + 2, 38, 8, K::Caption, c.freqKey});
    out.push_back({c.freq, x + 105, row2, w - 110, 12, K::Value, -1});
}

// Apparent, active and reactive power with their bars, the power factor and the two
// energy counters of one phase.
struct PowerIds {
    int box, key;
    int apparentCaption, apparentKey, apparentBar, apparent;
    int activeCaption, activeKey, activeBar, active;
    int reactiveCaption, reactiveKey, reactiveBar, reactive;
    int cosCaption, cosKey, cos;
    int energyCaption, energyKey, activeEnergy, reactiveEnergy;
};

void AddPowerBox(std::vector<Item>& out, int x, int y, const PowerIds& p) {
    constexpr int w = 157;
    out.push_back({p.box, x, y, w, 98, K::Group, p.key});
    const int rows[3][4] = {{p.apparentCaption, p.apparentKey, p.apparentBar, p.apparent},
                            {p.activeCaption, p.activeKey, p.activeBar, p.active},
                            {p.reactiveCaption, p.reactiveKey, p.reactiveBar, p.reactive}};
    for (int r = 0; r < 3; ++r) {
        const int ry = y + 12 + 14 * r;
        out.push_back({rows[r][0], x + 5, ry + 2, 41, 8, K::Caption, rows[r][1]});
        out.push_back({rows[r][2], x + 47, ry + 1, 38, 10, K::Bar, -1});
        out.push_back({rows[r][3], x + 88, ry, w - 93, 12, K::Value, -1});
    }
    out.push_back({p.cosCaption, x + 5, y + 56, 80, 8, K::Caption, p.cosKey});
    out.push_back({p.cos, x + 88, y + 54, w - 93, 12, K::Value, -1});
    out.push_back({p.energyCaption, x + 5, y + 70, w - 10, 8, K::Caption, p.energyKey});
    out.push_back({p.activeEnergy, x + 5, y + 80, 70, 12, K::Value, -1});
    out.push_back({0, x + 76, y + 82, 6, 8, K::Caption, -1, "/"});
    out.push_back({p.reactiveEnergy, x + 82, y + 80, 70, 12, K::Value, -1});
}

struct PhaseIds {
    int frame, frameKey;
    ChannelIds voltage, current;
    PowerIds power;
};

void AddPhase(std::vector<Item>& out, int y, int h, const PhaseIds& p) {
    out.push_back({p.frame, 3, y, 327, h, K::PhaseFrame, p.frameKey});
    AddChannelBox(out, 8, y + 11, 155, 48, p.voltage);
    AddChannelBox(out, 8, y + 61, 155, 48, p.current);
    AddPowerBox(out, 168, y + 11, p.power);
}

std::vector<Item> Build() {
    std::vector<Item> out;
    out.reserve(260);

    AddPhase(out, 3, 115,
             {1136, LNG_DEVICE_GR_PH1,
              {1122, LNG_DEVICE_GR_CH1, 1009, 1028, 1168, LNG_DEVICE_CH1_THDR, 1055, 1115, LNG_DEVICE_CH1_FREQ, 1031},
              {1123, LNG_DEVICE_GR_CH4, 1012, 1034, 1169, LNG_DEVICE_CH4_THDR, 1082, 1116, LNG_DEVICE_CH4_FREQ, 1035},
              {1133, LNG_DEVICE_GR_CH16, 1145, LNG_DEVICE_CH16_FULL, 1013, 1036, 1148, LNG_DEVICE_CH16_ACTIV, 1016,
               1040, 1151, LNG_DEVICE_CH16_REACT, 1017, 1041, 1154, LNG_DEVICE_CH16_COS, 1039, 1177,
               LNG_DEVICE_CH16_ACTIV_CNT, 1090, 1091}});
    AddPhase(out, 118, 116,
             {1137, LNG_DEVICE_GR_PH2,
              {1124, LNG_DEVICE_GR_CH2, 1010, 1029, 1170, LNG_DEVICE_CH2_THDR, 1083, 1117, LNG_DEVICE_CH2_FREQ, 1032},
              {1125, LNG_DEVICE_GR_CH5, 1014, 1037, 1171, LNG_DEVICE_CH5_THDR, 1084, 1118, LNG_DEVICE_CH5_FREQ, 1038},
              {1134, LNG_DEVICE_GR_CH17, 1146, LNG_DEVICE_CH17_FULL, 1015, 1042, 1149, LNG_DEVICE_CH17_ACTIV, 1018,
               1044, 1152, LNG_DEVICE_CH17_REACT, 1019, 1045, 1155, LNG_DEVICE_CH17_COS, 1043, 1179,
               LNG_DEVICE_CH17_ACTIV_CNT, 1092, 1093}});
    AddPhase(out, 235, 116,
             {1138, LNG_DEVICE_GR_PH3,
              {1126, LNG_DEVICE_GR_CH3, 1011, 1030, 1172, LNG_DEVICE_CH3_THDR, 1085, 1119, LNG_DEVICE_CH3_FREQ, 1033},
              {1127, LNG_DEVICE_GR_CH6, 1020, 1046, 1173, LNG_DEVICE_CH6_THDR, 1086, 1120, LNG_DEVICE_CH6_FREQ, 1047},
              {1135, LNG_DEVICE_GR_CH18, 1147, LNG_DEVICE_CH18_FULL, 1021, 1048, 1150, LNG_DEVICE_CH18_ACTIV, 1022,
               1050, 1153, LNG_DEVICE_CH18_REACT, 1023, 1051, 1156, LNG_DEVICE_CH18_COS, 1049, 1181,
               LNG_DEVICE_CH18_ACTIV_CNT, 1094, 1095}});

    // Line voltages: three rows of bar and value, then the sequence voltages side by side.
    out.push_back({1193, 3, 352, 327, 90, K::PhaseFrame, LNG_DEVICE_GR_LINE});
    out.push_back({1186, 8, 363, 317, 75, K::Group, LNG_DEVICE_GR_CH19});
    const int lineRows[3][4] = {{1187, LNG_DEVICE_CH19_VOLTAB, 1025, 1104},
                                {1188, LNG_DEVICE_CH19_VOLTBC, 1026, 1105},
                                {1189, LNG_DEVICE_CH19_VOLTCA, 1027, 1106}};
    for (int r = 0; r < 3; ++r) {
        const int y = 374 + 13 * r;
        out.push_back({lineRows[r][0], 13, y + 2, 22, 8, K::Caption, lineRows[r][1]});
        out.push_back({lineRows[r][2], 36, y + 1, 180, 10, K::Bar, -1});
        out.push_back({lineRows[r][3], 220, y, 100, 13, K::MainValue, -1});
    }
    const int sequence[3][3] = {{1190, LNG_DEVICE_CH19_VOLTREV, 1109},
                                {1191, LNG_DEVICE_CH19_VOLTDIR, 1108},
                                {1192, LNG_DEVICE_CH19_VOLTZER, 1107}};
    for (int c = 0; c < 3; ++c) {
        const int x = 13 + 104 * c;
        out.push_back({sequence[c][0], x, 414, 99, 8, K::Caption, sequence[c][1]});
        out.push_back({sequence[c][2], x, 423, 99, 12, K::Value, -1});
    }

    // Analogue inputs.
    const int analog[2][7] = {{1130, LNG_DEVICE_GR_CH10, 1057, 1058, 1175, LNG_DEVICE_CH10_USR, 1088},
                              {1131, LNG_DEVICE_GR_CH11, 1059, 1060, 1176, LNG_DEVICE_CH11_USR, 1089}};
    for (int a = 0; a < 2; ++a) {
        const int x = a == 0 ? 340 : 503;
        out.push_back({analog[a][0], x, 3, 156, 42, K::Group, analog[a][1]});
        out.push_back({analog[a][2], x + 5, 15, 70, 10, K::Bar, -1});
        out.push_back({analog[a][3], x + 79, 14, 72, 12, K::Value, -1});
        out.push_back({analog[a][4], x + 5, 31, 70, 8, K::Caption, analog[a][5]});
        out.push_back({analog[a][6], x + 79, 29, 72, 12, K::Value, -1});
    }

    AddChannelBox(out, 340, 47, 156, 40,
                  {1128, LNG_DEVICE_GR_CH7, 1024, 1052, 1174, LNG_DEVICE_CH7_THDR, 1087, 1121, LNG_DEVICE_CH7_FREQ, 1053});

    // Temperatures: caption and value to the left of each thermometer.
    out.push_back({1129, 503, 47, 156, 107, K::Group, LNG_DEVICE_GR_CH8CH9});
    out.push_back({1079, 545, 58, 32, 92, K::Thermometer, -1});
    out.push_back({1080, 624, 58, 32, 92, K::Thermometer, -1});
    out.push_back({1139, 506, 86, 39, 8, K::Caption, LNG_DEVICE_CH8});
    out.push_back({1054, 506, 96, 39, 12, K::Value, -1});
    out.push_back({1140, 580, 86, 43, 8, K::Caption, LNG_DEVICE_CH9});
    out.push_back({1056, 580, 96, 43, 12, K::Value, -1});

    // Discrete inputs: a heading row and one row per input.
    out.push_back({1132, 340, 89, 156, 65, K::Group, LNG_DEVICE_GR_CH12CH13CH14CH15});
    out.push_back({1185, 344, 99, 36, 8, K::Caption, LNG_DEVICE_CH12CH13CH14CH15_INP});
    out.push_back({1183, 386, 99, 50, 8, K::Caption, LNG_DEVICE_CH12CH13CH14CH15_IVM});
    out.push_back({1184, 440, 99, 52, 8, K::Caption, LNG_DEVICE_CH12CH13CH14CH15_CNT});
    const int inputs[4][4] = {{1141, LNG_DEVICE_CH12_INP, 1096, 1097},
                              {1142, LNG_DEVICE_CH13_INP, 1098, 1099},
                              {1143, LNG_DEVICE_CH14_INP, 1100, 1101},
                              {1144, LNG_DEVICE_CH15_INP, 1102, 1103}};
    for (int r = 0; r < 4; ++r) {
        const int y = 108 + 11 * r;
        out.push_back({inputs[r][0], 344, y + 1, 27, 8, K::Caption, inputs[r][1]});
        out.push_back({IDC_INPUT1_LAMP + r, 372, y, 11, 10, K::Lamp, -1});
        out.push_back({inputs[r][2], 386, y, 50, 10, K::Value, -1});
        out.push_back({inputs[r][3], 440, y, 52, 10, K::Value, -1});
    }

    out.push_back({1160, 340, 158, 130, 101, K::Group, LNG_DEVICE_GR_CARD});
    out.push_back({IDC_CARD_CHART, 344, 171, 122, 84, K::CardChart, -1});

    // Status and control.
    out.push_back({1162, 473, 158, 185, 138, K::Group, LNG_DEVICE_GR_STATCTRL});
    out.push_back({1164, 478, 172, 60, 8, K::Caption, LNG_DEVICE_WR_PRE});
    out.push_back({IDC_RECORDING_LAMP, 540, 170, 59, 11, K::BarLamp, -1});
    const int status[4][3] = {{1165, LNG_DEVICE_FWVER, 1075},
                              {1166, LNG_DEVICE_WORK_TIME, 1074},
                              {1167, LNG_DEVICE_DEV_TIME, 1076},
                              {1178, LNG_DEVICE_EXCHANGE, 1112}};
    for (int r = 0; r < 4; ++r) {
        const int y = 185 + 13 * r;
        out.push_back({status[r][0], 478, y + 2, 60, 8, K::Caption, status[r][1]});
        out.push_back({status[r][2], 540, y, 114, 12, r == 3 ? K::Value : K::PlainValue, -1});
    }
    const int buttons[6][4] = {{IDC_START_RECORDING, 484, 242, LNG_DEVICE_START_BUT},
                               {IDC_STOP_RECORDING, 484, 259, LNG_DEVICE_STOP_BUT},
                               {IDC_MEMORY_CARD, 484, 276, LNG_DEVICE_FTP_BUT},
                               {IDC_SETTINGS, 572, 242, LNG_DEVICE_SETTINGS_BUT},
                               {IDC_RESTART, 572, 259, LNG_DEVICE_RESTART_BUT},
                               {IDC_RESET_ERRORS, 572, 276, LNG_DEVICE_RESET_ERR_BUT}};
    for (const auto& b : buttons) out.push_back({b[0], b[1], b[2], 78, 14, K::Button, b[3]});

    // Data file.
    out.push_back({1157, 340, 259, 130, 36, K::Group, LNG_DEVICE_GR_FILE_DATA});
    out.push_back({1158, 345, 271, 40, 8, K::Caption, LNG_DEVICE_FNAME});
    out.push_back({1077, 387, 269, 78, 11, K::PlainValue, -1});
    out.push_back({1159, 345, 282, 40, 8, K::Caption, LNG_DEVICE_FSIZE});
    out.push_back({1078, 387, 281, 78, 11, K::PlainValue, -1});

    // Events.
    out.push_back({1194, 340, 296, 319, 31, K::Group, LNG_DEVICE_GR_EVT});
    out.push_back({1195, 345, 309, 62, 8, K::Caption, LNG_DEVICE_EVT_CNT});
    out.push_back({1110, 408, 307, 60, 12, K::Value, -1});
    out.push_back({1196, 474, 309, 62, 8, K::Caption, LNG_DEVICE_EVT_TIME});
    out.push_back({1111, 537, 307, 117, 12, K::Value, -1});

    // Errors.
    out.push_back({IDC_ERROR_LAMP, 340, 330, 59, 11, K::BarLamp, -1});
    out.push_back({1163, 402, 332, 150, 8, K::Caption, LNG_DEVICE_ERR_PRE});
    out.push_back({IDC_ERROR_LIST, 340, 342, 319, 100, K::ErrorList, -1});
    return out;
}

}  // namespace

const std::vector<Item>& Items() {
    static const std::vector<Item> items = Build();
    return items;
}

}  // namespace DevicePageLayout
