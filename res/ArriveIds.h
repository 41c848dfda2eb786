#pragma once

// Template and control ids of the incoming-call control area: the menu (170), the standard
// dialog (141) and the two per-number dialogs (142 entries 1-10, 143 entries 11-20).

#include <array>

#include "res/ShellIds.h"

namespace kx {

inline constexpr int IDD_ARRIVE_STANDARD = 141;
inline constexpr int IDD_ARRIVE_NUMBER1 = 142;
inline constexpr int IDD_ARRIVE_NUMBER2 = 143;
inline constexpr int IDD_ARRIVE_MENU = 170;

// Incoming-call control menu (170)
inline constexpr int IDC_ARRIVE_MENU_STANDARD = 1075;
inline constexpr int IDC_ARRIVE_MENU_NUMBER2 = 1079;
inline constexpr int IDC_ARRIVE_MENU_NUMBER1 = 1083;

// The ranking and ring columns of a row, left to right.
struct ArriveColumnIds {
    int tel1, tel2, tel3;  // TEL ranking lists
    int data, usb;         // DATA / USB ranking lists
    int ring;              // ring pattern list
};

// Standard dialog (141): the row "標準の設定" and the row "電話番号なし着信".
inline constexpr ArriveColumnIds kArriveDefaultIds{1015, 1040, 1056, 1048, 1060, 1018};
inline constexpr ArriveColumnIds kArriveNoidIds{1064, 1077, 1085, 1081, 1089, 1072};
inline constexpr int IDC_ARRIVE_RING_SELECT_NTT = 1371;  // then 1372 "擬似なりわけ"
inline constexpr int IDC_ARRIVE_RING_SELECT_PSEUDO = 1372;
inline constexpr int IDC_ARRIVE_NTT_RING = 1073;
inline constexpr int IDC_ARRIVE_TROUBLE_NTT = 1373;  // then 1374 "擬似迷惑電話おことわり"
inline constexpr int IDC_ARRIVE_TROUBLE_PSEUDO = 1374;

// One row of a per-number dialog: the number edit and its lists.
struct ArriveRowIds {
    int number;
    ArriveColumnIds columns;
};

// Rows 1-10 of template 142 (entries 1-10) and of template 143 (entries 11-20).
inline constexpr std::array<ArriveRowIds, 10> kArriveNumber1Rows{{
    {1017, {1019, 1021, 1023, 1032, 1038, 1025}},
    {1303, {1289, 1295, 1299, 1297, 1301, 1292}},
    {1286, {1272, 1278, 1282, 1280, 1284, 1275}},
    {1269, {1255, 1261, 1265, 1263, 1267, 1258}},
    {1252, {1238, 1244, 1248, 1246, 1250, 1241}},
    {1236, {1221, 1228, 1232, 1230, 1234, 1224}},
    {1218, {1204, 1210, 1214, 1212, 1216, 1207}},
    {1200, {1181, 1192, 1196, 1194, 1198, 1185}},
    {1177, {1161, 1169, 1173, 1189, 1202, 1165}},
    {1050, {1027, 1029, 1035, 1046, 1054, 1042}},
}};

inline constexpr std::array<ArriveRowIds, 10> kArriveNumber2Rows{{
    {1031, {1034, 1037, 1039, 1119, 1122, 1041}},
    {1043, {1045, 1047, 1049, 1125, 1128, 1051}},
    {1053, {1055, 1057, 1059, 1131, 1137, 1061}},
    {1063, {1065, 1067, 1069, 1143, 1149, 1071}},
    {1073, {1075, 1076, 1078, 1155, 1160, 1080}},
    {1082, {1084, 1086, 1088, 1164, 1168, 1090}},
    {1092, {1094, 1096, 1099, 1172, 1176, 1102}},
    {1105, {1108, 1110, 1113, 1180, 1182, 1116}},
    {1134, {1140, 1146, 1152, 1184, 1186, 1158}},
    {1162, {1166, 1170, 1174, 1188, 1190, 1178}},
}};

}  // namespace kx
