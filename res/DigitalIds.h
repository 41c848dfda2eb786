#pragma once

// Template and control ids of the digital area: the menu (169), the DATA and USB port dialogs
// (136, 137), the digital common dialog (138), throughput BOD (139) and BACP/BAP (140).
// Radio groups list their buttons in template order: the position is the stored index.

#include <array>

#include "res/IsdnIds.h"
#include "res/ShellIds.h"

namespace kx {

inline constexpr int IDD_DATA_PORT = 136;
inline constexpr int IDD_USB_PORT = 137;
inline constexpr int IDD_DIGITAL_COMMON = 138;
inline constexpr int IDD_THROUGHPUT_BOD = 139;
inline constexpr int IDD_BACP_BAP = 140;
inline constexpr int IDD_DIGITAL_MENU = 169;

// Digital menu (169)
inline constexpr int IDC_DIGITAL_MENU_DATA = 1058;
inline constexpr int IDC_DIGITAL_MENU_COMMON = 1062;
inline constexpr int IDC_DIGITAL_MENU_USB = 1066;
inline constexpr int IDC_DIGITAL_MENU_BOD = 1070;
inline constexpr int IDC_DIGITAL_MENU_BACP_BAP = 1074;

inline constexpr DigitalPortIds kDataPortIds{
    .dialog = IDD_DATA_PORT,
    .selfAddress = 1305,
    .arriveTransfer = {1562, 1561},
    .transferAddress = 1563,
    .globalArrive = {1307, 1306},
    .subaddressLessArrive = {1309, 1308},
    .noticeNumber = {1310, 1311, 1312, 1313},
    .iNumber = {1573, 1571, 1572, 1574},
};

inline constexpr DigitalPortIds kUsbPortIds{
    .dialog = IDD_USB_PORT,
    .selfAddress = 1314,
    .arriveTransfer = {1567, 1566},
    .transferAddress = 1568,
    .globalArrive = {1316, 1315},
    .subaddressLessArrive = {1318, 1317},
    .noticeNumber = {1319, 1320, 1321, 1322},
    .iNumber = {1576, 1574, 1575, 1577},
};

// Digital common dialog (138)
inline constexpr std::array<int, 2> kInitChannelIds{1323, 1324};  // "２チャネル", "１チャネル"
inline constexpr std::array<int, 4> kResourceBodIds{1328, 1326, 1327, 1325};
inline constexpr std::array<int, 2> kThroughputBodIds{1330, 1329};
inline constexpr std::array<int, 2> kBacpBapIds{1332, 1331};
inline constexpr std::array<int, 2> kArrivePriorityIds{1333, 1334};
inline constexpr int IDC_DIGITAL_COMMON_DISC_TIME = 1595;
inline constexpr int IDC_DIGITAL_COMMON_PIAFS = 1647;

inline constexpr BodSideIds kBodAddIds{
    .direction = {1335, 1336, 1337, 1338},
    .rate = 1345,
    .rateSpin = 1351,
    .estimate = 1343,
    .evalTime = 1346,
    .evalTimeSpin = 1352,
    .minTime = 1347,
    .minTimeSpin = 1353,
};

inline constexpr BodSideIds kBodDelIds{
    .direction = {1339, 1340, 1341, 1342},
    .rate = 1348,
    .rateSpin = 1354,
    .estimate = 1344,
    .evalTime = 1349,
    .evalTimeSpin = 1355,
    .minTime = 1350,
    .minTimeSpin = 1356,
};

// BACP/BAP dialog (140): per side, the groups "チャネル追加", "コールバック要求",
// "チャネル削除" (mask bits 0, 1, 2), each "拒否する" then "自動応答".
inline constexpr std::array<std::array<int, 2>, 3> kBacpDepartIds{
    {{1357, 1358}, {1359, 1360}, {1361, 1362}}};
inline constexpr std::array<std::array<int, 2>, 3> kBacpArriveIds{
    {{1363, 1364}, {1365, 1366}, {1367, 1368}}};

}  // namespace kx
