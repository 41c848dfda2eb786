#pragma once

// Template and control ids of the analog area: the menu (168), the three TEL port dialogs
// (132-134) and the analog common dialog (135).
//
// The three TEL port dialogs are alike and differ only in their ids, so each port's ids stand
// together in one TelPortIds value; the dialog class and the template are written once over it.
// Radio groups list their buttons in template order: the position in the list is the stored
// index and the keyword index.

#include <array>

#include "res/ShellIds.h"

namespace kx {

inline constexpr int IDD_TEL1_PORT = 132;
inline constexpr int IDD_TEL2_PORT = 133;
inline constexpr int IDD_TEL3_PORT = 134;
inline constexpr int IDD_ANALOG_COMMON = 135;
inline constexpr int IDD_ANALOG_MENU = 168;

// Analog menu (168)
inline constexpr int IDC_ANALOG_MENU_TEL1 = 1005;
inline constexpr int IDC_ANALOG_MENU_TEL3 = 1006;
inline constexpr int IDC_ANALOG_MENU_TEL2 = 1007;
inline constexpr int IDC_ANALOG_MENU_COMMON = 1008;

// One TEL port dialog (132, 133, 134).
struct TelPortIds {
    int dialog;
    int selfAddress;                    // edit, group "番号登録"
    std::array<int, 2> arriveTransfer;  // "利用しない", "利用する"
    int transferAddress;                // edit "着信転送先電話番号"
    int talkyTransfer;                  // check box "転送トーキ" (talky value 2)
    int talkySource;                    // check box "転送元トーキ" (talky value 1)
    std::array<int, 2> globalArrive;
    std::array<int, 2> subaddressLessArrive;
    std::array<int, 2> analogPortMode;
    std::array<int, 2> discSignal;
    std::array<int, 3> numberDisplay;
    std::array<int, 3> ringSound;
    std::array<int, 3> callWaiting;
    int sendDialTime;  // edit
    int dialTimeSpin;  // its spin arrows
    std::array<int, 4> iNumber;
    std::array<int, 4> noticeNumber;
};

inline constexpr TelPortIds kTel1PortIds{
    .dialog = IDD_TEL1_PORT,
    .selfAddress = 1095,
    .arriveTransfer = {1097, 1093},
    .transferAddress = 1100,
    .talkyTransfer = 1103,
    .talkySource = 1106,
    .globalArrive = {1112, 1109},
    .subaddressLessArrive = {1118, 1115},
    .analogPortMode = {1121, 1124},
    .discSignal = {1122, 1125},
    .numberDisplay = {1139, 1142, 1143},
    .ringSound = {1157, 1159, 1163},
    .callWaiting = {1274, 1277, 1279},
    .sendDialTime = 1151,
    .dialTimeSpin = 1154,
    .iNumber = {1167, 1145, 1148, 1149},
    .noticeNumber = {1127, 1130, 1133, 1136},
};

inline constexpr TelPortIds kTel2PortIds{
    .dialog = IDD_TEL2_PORT,
    .selfAddress = 1171,
    .arriveTransfer = {1183, 1179},
    .transferAddress = 1175,
    .talkyTransfer = 1187,
    .talkySource = 1191,
    .globalArrive = {1195, 1193},
    .subaddressLessArrive = {1199, 1197},
    .analogPortMode = {1201, 1203},
    .discSignal = {1612, 1613},
    .numberDisplay = {1208, 1209, 1210},
    .ringSound = {1222, 1223, 1226},
    .callWaiting = {1281, 1285, 1287},
    .sendDialTime = 1205,
    .dialTimeSpin = 1206,
    .iNumber = {1227, 1219, 1220, 1221},
    .noticeNumber = {1211, 1213, 1215, 1217},
};

inline constexpr TelPortIds kTel3PortIds{
    .dialog = IDD_TEL3_PORT,
    .selfAddress = 1229,
    .arriveTransfer = {1233, 1231},
    .transferAddress = 1235,
    .talkyTransfer = 1237,
    .talkySource = 1239,
    .globalArrive = {1242, 1240},
    .subaddressLessArrive = {1245, 1243},
    .analogPortMode = {1247, 1249},
    .discSignal = {1614, 1615},
    .numberDisplay = {1254, 1256, 1258},
    .ringSound = {1268, 1270, 1271},
    .callWaiting = {1288, 1291, 1293},
    .sendDialTime = 1251,
    .dialTimeSpin = 1253,
    .iNumber = {1273, 1257, 1259, 1261},
    .noticeNumber = {1260, 1262, 1264, 1266},
};

// TEL1, TEL2, TEL3 in port order.
inline constexpr std::array<const TelPortIds*, 3> kTelPortIds{&kTel1PortIds, &kTel2PortIds,
                                                              &kTel3PortIds};

// Analog common dialog (135)
inline constexpr int IDC_ANALOG_COMMON_DELAY = 1294;
inline constexpr int IDC_ANALOG_COMMON_DELAY_SPIN = 1296;
inline constexpr int IDC_ANALOG_COMMON_FREQUENCY = 1298;
inline constexpr int IDC_ANALOG_COMMON_FREQUENCY_SPIN = 1300;
inline constexpr int IDC_ANALOG_COMMON_INUMBER_OFF = 1302;  // "使用しない", then 1304 "使用する"
inline constexpr int IDC_ANALOG_COMMON_INUMBER_ON = 1304;

}  // namespace kx
