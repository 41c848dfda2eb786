#pragma once

// Template and control ids of the router (HomePNA) area: the HomePNA menu (167), the easy setup
// form (145), the four dial-up profile dialogs (146, 148, 150, 152), the router (154), PNA port
// (180), DHCP (159), DNS (160) and syslog (166) dialogs, incoming dial-up (181), the leased line
// (172), the connection limits (174), the NAT (156) and host (161) tables, BOD (157) and
// BACP/BAP (158).
//
// Radio groups list their buttons in template order: the position is the stored index. The
// k...Limit constants are the edits' text limits in bytes; an edit is a number edit (CNumEdit)
// unless its comment says "plain" (provider names, user ids, passwords, domain and host names).

#include <array>

#include "res/IsdnIds.h"
#include "res/ShellIds.h"

namespace kx {

inline constexpr int IDD_PNA_EASY = 145;
inline constexpr int IDD_DIALUP1 = 146;
inline constexpr int IDD_DIALUP2 = 148;
inline constexpr int IDD_DIALUP3 = 150;
inline constexpr int IDD_DIALUP4 = 152;
inline constexpr int IDD_ROUTER = 154;
inline constexpr int IDD_NAT = 156;
inline constexpr int IDD_ROUTER_BOD = 157;
inline constexpr int IDD_ROUTER_BACP_BAP = 158;
inline constexpr int IDD_DHCP = 159;
inline constexpr int IDD_DNS = 160;
inline constexpr int IDD_DNS_HOST = 161;
inline constexpr int IDD_SYSLOG = 166;
inline constexpr int IDD_PNA_MENU = 167;
inline constexpr int IDD_LEASED_LINE = 172;
inline constexpr int IDD_CONNECT_LIMIT = 174;
inline constexpr int IDD_PNA_PORT = 180;
inline constexpr int IDD_PNA_ARRIVE = 181;

// Text limits shared by several dialogs.
inline constexpr int kAddressLimit = 15;        // a dotted address
inline constexpr int kPrefixAddressLimit = 18;  // an address with "/" and a prefix length
inline constexpr int kDialNumberLimit = 53;     // a phone number with its subaddress

// HomePNA menu (167), buttons in template order
inline constexpr int IDC_PNA_MENU_ROUTER = 1003;
inline constexpr int IDC_PNA_MENU_PNA_PORT = 1010;
inline constexpr int IDC_PNA_MENU_ARRIVE = 1013;
inline constexpr int IDC_PNA_MENU_NAT = 1009;
inline constexpr int IDC_PNA_MENU_DHCP = 1028;
inline constexpr int IDC_PNA_MENU_DNS = 1030;
inline constexpr int IDC_PNA_MENU_DNS_HOST = 1033;
inline constexpr int IDC_PNA_MENU_SYSLOG = 1052;
inline constexpr int IDC_PNA_MENU_DIALUP1 = 1011;
inline constexpr int IDC_PNA_MENU_DIALUP2 = 1012;
inline constexpr int IDC_PNA_MENU_DIALUP3 = 1014;
inline constexpr int IDC_PNA_MENU_DIALUP4 = 1020;
inline constexpr int IDC_PNA_MENU_LEASED_LINE = 1044;
inline constexpr int IDC_PNA_MENU_CONNECT_LIMIT = 1053;
inline constexpr int IDC_PNA_MENU_BOD = 1024;
inline constexpr int IDC_PNA_MENU_BACP_BAP = 1026;
// The dial-up buttons by profile (index 0 is profile 1).
inline constexpr std::array<int, 4> kPnaMenuDialupIds{IDC_PNA_MENU_DIALUP1, IDC_PNA_MENU_DIALUP2,
                                                      IDC_PNA_MENU_DIALUP3, IDC_PNA_MENU_DIALUP4};

// One dial-up profile dialog (146, 148, 150, 152).
struct DialupIds {
    int dialog;
    int providerName;                   // plain, kDialupProviderLimit
    std::array<int, 3> dialNumber;      // "電話番号１".."電話番号３", kDialNumberLimit
    int userId;                         // plain, kDialupUserLimit
    int password;                       // plain, hidden, kDialupPasswordLimit
    int mode;                           // list "接続情報": 64k, mp1, mp2, mp3
    int protocol;                       // list "認証プロトコル": auto, PAP, CHAP, none
    std::array<int, 2> autoDisconnect;  // "無効", "有効"
    int disconnectTime;                 // seconds, kDisconnectTimeLimit
    int address;                        // the router's WAN address, kAddressLimit
    std::array<int, 2> dnsSelect;       // "指定" (manual), "自動" (auto)
    int dnsPrimary;                     // kAddressLimit
    int dnsSecondary;                   // kAddressLimit
};

inline constexpr int kDialupProviderLimit = 64;
inline constexpr int kDialupUserLimit = 64;
inline constexpr int kDialupPasswordLimit = 32;
inline constexpr int kDisconnectTimeLimit = 5;  // 1..32400 seconds

inline constexpr DialupIds kDialup1Ids{
    .dialog = IDD_DIALUP1,
    .providerName = 1386,
    .dialNumber = {1387, 1388, 1389},
    .userId = 1390,
    .password = 1391,
    .mode = 1397,
    .protocol = 1399,
    .autoDisconnect = {1400, 1401},
    .disconnectTime = 1402,
    .address = 1396,
    .dnsSelect = {1392, 1393},
    .dnsPrimary = 1394,
    .dnsSecondary = 1395,
};

inline constexpr DialupIds kDialup2Ids{
    .dialog = IDD_DIALUP2,
    .providerName = 1403,
    .dialNumber = {1404, 1405, 1406},
    .userId = 1407,
    .password = 1408,
    .mode = 1409,
    .protocol = 1411,
    .autoDisconnect = {1412, 1413},
    .disconnectTime = 1414,
    .address = 1648,
    .dnsSelect = {1415, 1416},
    .dnsPrimary = 1417,
    .dnsSecondary = 1418,
};

inline constexpr DialupIds kDialup3Ids{
    .dialog = IDD_DIALUP3,
    .providerName = 1419,
    .dialNumber = {1420, 1421, 1422},
    .userId = 1423,
    .password = 1424,
    .mode = 1425,
    .protocol = 1427,
    .autoDisconnect = {1428, 1429},
    .disconnectTime = 1430,
    .address = 1649,
    .dnsSelect = {1431, 1432},
    .dnsPrimary = 1433,
    .dnsSecondary = 1434,
};

inline constexpr DialupIds kDialup4Ids{
    .dialog = IDD_DIALUP4,
    .providerName = 1435,
    .dialNumber = {1436, 1437, 1438},
    .userId = 1439,
    .password = 1440,
    .mode = 1441,
    .protocol = 1443,
    .autoDisconnect = {1444, 1445},
    .disconnectTime = 1446,
    .address = 1650,
    .dnsSelect = {1447, 1448},
    .dnsPrimary = 1449,
    .dnsSecondary = 1450,
};

// Profiles 1 to 4 in order.
inline constexpr std::array<const DialupIds*, 4> kDialupIds{&kDialup1Ids, &kDialup2Ids,
                                                            &kDialup3Ids, &kDialup4Ids};

// Easy setup form (145), profile 1 only; limits as in the dial-up dialogs.
inline constexpr int IDC_PNA_EASY_PROVIDER = 1375;  // plain
inline constexpr std::array<int, 3> kPnaEasyDialNumberIds{1376, 1377, 1378};
inline constexpr int IDC_PNA_EASY_USER_ID = 1379;                      // plain
inline constexpr int IDC_PNA_EASY_PASSWORD = 1380;                     // plain, hidden
inline constexpr std::array<int, 2> kPnaEasyDnsSelectIds{1381, 1382};  // "指定", "自動"
inline constexpr int IDC_PNA_EASY_DNS_PRIMARY = 1383;
inline constexpr int IDC_PNA_EASY_DNS_SECONDARY = 1384;

// Router dialog (154); both address edits take kPrefixAddressLimit
inline constexpr int IDC_ROUTER_ADDRESS = 1451;                        // with "/" and prefix
inline constexpr std::array<int, 2> kRouterMasqueradeIds{1547, 1553};  // "無効", "有効"
inline constexpr int IDC_ROUTER_MASQ_ADDRESS = 1452;
inline constexpr std::array<int, 2> kRouterAutoConnectIds{1546, 1548};  // "手動", "自動"
inline constexpr int IDC_ROUTER_CONNECT_SELECT = 1455;  // list: dial-up 1..4, leased line
inline constexpr int IDC_ROUTER_LINE_MODE = 1552;       // list: 5 modes
inline constexpr std::array<int, 2> kRouterRedialIds{1555, 1557};  // "規制しない", "規制する"
inline constexpr int IDC_ROUTER_SW_ACTION = 1549;                  // list: "BOD", "接続・切断"
inline constexpr std::array<int, 2> kRouterBeepIds{1554, 1556};      // "無効", "有効"
inline constexpr std::array<int, 2> kRouterIpFilterIds{1550, 1551};  // "無効", "有効"

// PNA port dialog (180): the shape of the DATA and USB port dialogs; both edits take
// kDialNumberLimit.
inline constexpr DigitalPortIds kPnaPortIds{
    .dialog = IDD_PNA_PORT,
    .selfAddress = 1659,
    .arriveTransfer = {1661, 1662},
    .transferAddress = 1660,
    .globalArrive = {1663, 1664},
    .subaddressLessArrive = {1672, 1673},
    .noticeNumber = {1665, 1666, 1667, 1668},
    .iNumber = {1669, 1670, 1671, 1674},
};

// DHCP dialog (159)
inline constexpr std::array<int, 2> kDhcpActiveIds{1500, 1501};  // "無効", "有効"
inline constexpr int IDC_DHCP_START_ADDRESS = 1502;              // kAddressLimit
inline constexpr int IDC_DHCP_COUNT = 1503;
inline constexpr int IDC_DHCP_LEASE_TIME = 1504;   // hours
inline constexpr int IDC_DHCP_DOMAIN_NAME = 1505;  // plain
inline constexpr int IDC_DHCP_DNS_SERVER = 1506;   // kAddressLimit
inline constexpr int IDC_DHCP_GATEWAY = 1507;      // kAddressLimit
inline constexpr int kDhcpCountLimit = 3;          // 0..255
inline constexpr int kDhcpLeaseTimeLimit = 6;      // 1..999999
inline constexpr int kDhcpDomainNameLimit = 64;

// DNS dialog (160); both edits take kAddressLimit
inline constexpr std::array<int, 2> kDnsForwardingIds{1508, 1509};  // "無効", "有効"
inline constexpr int IDC_DNS_PRIMARY = 1510;
inline constexpr int IDC_DNS_SECONDARY = 1511;

// Syslog dialog (166)
inline constexpr std::array<int, 2> kSyslogActiveIds{1584, 1585};  // "無効", "有効"
inline constexpr int IDC_SYSLOG_DEBUG = 1532;                      // check boxes
inline constexpr int IDC_SYSLOG_INFO = 1534;
inline constexpr int IDC_SYSLOG_NOTICE = 1535;
inline constexpr int IDC_SYSLOG_ADDRESS = 1536;  // kAddressLimit
inline constexpr int IDC_SYSLOG_FACILITY = 1537;
inline constexpr int kSyslogFacilityLimit = 2;  // 0..23

// Incoming dial-up dialog (181)
inline constexpr std::array<int, 2> kPnaArriveActiveIds{1674, 1675};    // "無効", "有効"
inline constexpr int IDC_PNA_ARRIVE_WAN_ADDRESS = 1676;                 // kAddressLimit
inline constexpr int IDC_PNA_ARRIVE_PARTNER_ADDRESS = 1677;             // kAddressLimit
inline constexpr int IDC_PNA_ARRIVE_USER_ID = 1678;                     // plain
inline constexpr int IDC_PNA_ARRIVE_PASSWORD = 1679;                    // plain, hidden
inline constexpr std::array<int, 2> kPnaArriveAutoDiscIds{1680, 1681};  // "無効", "有効"
inline constexpr int IDC_PNA_ARRIVE_DISC_TIME = 1682;  // seconds, kDisconnectTimeLimit
inline constexpr int IDC_PNA_ARRIVE_MODE = 1683;       // list, as the dial-up "接続情報"
inline constexpr int IDC_PNA_ARRIVE_PROTOCOL = 1684;  // list, as the dial-up "認証プロトコル"
inline constexpr int kPnaArriveUserLimit = 32;
inline constexpr int kPnaArrivePasswordLimit = 64;

// Leased-line dialog (172)
inline constexpr int IDC_LEASED_LINE_ADDRESS = 1552;         // kPrefixAddressLimit
inline constexpr int IDC_LEASED_LINE_USER_ID = 1553;         // plain
inline constexpr int IDC_LEASED_LINE_REMOTE_ADDRESS = 1554;  // kAddressLimit
inline constexpr int IDC_LEASED_LINE_PASSWORD = 1555;        // plain, hidden
inline constexpr int IDC_LEASED_LINE_DNS_PRIMARY = 1559;     // kAddressLimit
inline constexpr int IDC_LEASED_LINE_DNS_SECONDARY = 1560;   // kAddressLimit
inline constexpr int kLeasedLineUserLimit = 32;
inline constexpr int kLeasedLinePasswordLimit = 32;

// Connection-limit dialog (174); its help button has its own id
inline constexpr int IDC_CONNECT_CHARGE = 1596;                                 // yen
inline constexpr std::array<int, 3> kConnectChargePeriodIds{1632, 1633, 1634};  // day/week/month
inline constexpr int IDC_CONNECT_TIME = 1597;                                   // hours
inline constexpr std::array<int, 3> kConnectTimePeriodIds{1635, 1636, 1637};
inline constexpr int IDC_CONNECT_COUNT = 1598;          // connections
inline constexpr int IDC_CONNECT_COUNT_MINUTES = 1638;  // ... per this many minutes
inline constexpr int IDC_CONNECT_CLEAR_HOUR = 1639;     // daily clear at hour:minute
inline constexpr int IDC_CONNECT_CLEAR_MINUTE = 1640;
inline constexpr int IDC_CONNECT_CLEAR_WEEKDAY = 1642;    // list "日".."土"
inline constexpr int IDC_CONNECT_CLEAR_MONTH_DAY = 1643;  // day of the month
inline constexpr int IDC_CONNECT_CLEAR = 1628;            // button "クリア": clear the counters
inline constexpr int IDC_CONNECT_HELP = 1599;             // button "ヘルプ"
inline constexpr int kConnectChargeLimit = 6;             // 0..999999
inline constexpr int kConnectTimeLimit = 3;               // 0..743
inline constexpr int kConnectCountLimit = 4;              // 0..9999
inline constexpr int kConnectMinutesLimit = 4;            // 1..1440
inline constexpr int kConnectClearLimit = 2;              // hour, minute, day of the month

// The NAT (156) and host (161) dialogs: an entry number, the entry's two texts, the list of the
// entries in use and "削除". The number and address edits have no text limit.
struct EntryTableIds {
    int dialog;
    int number;        // 1..32
    int first;         // NAT: LAN address; host: IP address
    int second;        // NAT: WAN address; host: host name (plain, kHostNameLimit)
    int list;          // read-only multi-line "登録情報"
    int deleteButton;  // "削除"
};

inline constexpr EntryTableIds kNatIds{
    .dialog = IDD_NAT,
    .number = 1456,
    .first = 1457,
    .second = 1459,
    .list = 1461,
    .deleteButton = 1586,
};

inline constexpr EntryTableIds kDnsHostIds{
    .dialog = IDD_DNS_HOST,
    .number = 1512,
    .first = 1513,
    .second = 1514,
    .list = 1516,
    .deleteButton = 1586,
};

inline constexpr int kHostNameLimit = 64;

// Router BOD dialog (157): the digital throughput BOD's shape, minimum holding times in seconds.
inline constexpr std::array<int, 2> kRouterBodChannelIds{1462, 1463};  // "２チャネル", "１チャネル"
// "割当てを行わない", "発信時のみ割当てる", "着信時のみ割当てる", "発信/着信とも割当てる"
inline constexpr std::array<int, 4> kRouterResourceBodIds{1467, 1465, 1466, 1464};

inline constexpr BodSideIds kRouterBodAddIds{
    .direction = {1468, 1469, 1470, 1471},
    .rate = 1476,
    .rateSpin = 1477,
    .estimate = 1343,
    .evalTime = 1478,
    .evalTimeSpin = 1479,
    .minTime = 1480,
    .minTimeSpin = 1481,
};

inline constexpr BodSideIds kRouterBodDelIds{
    .direction = {1472, 1473, 1474, 1475},
    .rate = 1482,
    .rateSpin = 1483,
    .estimate = 1344,
    .evalTime = 1484,
    .evalTimeSpin = 1485,
    .minTime = 1486,
    .minTimeSpin = 1487,
};

// Router BACP/BAP dialog (158): per side, the groups "チャネル追加", "コールバック要求",
// "チャネル削除" (bits 0, 1, 2), each "拒否する" then "自動応答".
inline constexpr std::array<std::array<int, 2>, 3> kRouterBacpDepartIds{
    {{1488, 1489}, {1490, 1491}, {1492, 1493}}};
inline constexpr std::array<std::array<int, 2>, 3> kRouterBacpArriveIds{
    {{1494, 1495}, {1496, 1497}, {1498, 1499}}};

}  // namespace kx
