// Templates of the router (HomePNA) area: the HomePNA menu, the easy setup form, the dial-up
// profiles, the LAN-side and line-side dialogs, the NAT and host tables, BOD and BACP/BAP.

#include <array>
#include <string>
#include <utility>
#include <vector>

#include "res/IsdnTemplates.h"
#include "res/RouterIds.h"
#include "res/SettingsTemplates.h"
#include "res/Templates.h"
#include "ui/TemplateBuilder.h"

namespace kx::res {
namespace {

using namespace ui;
using namespace ui::tpl;

// Preferred widths of the edits, in characters: long free texts scroll past this.
constexpr int kTextWidth = 30;
constexpr int kPasswordWidth = 20;
// The NAT and host lists: "32: " and two addresses, or an address and most of a host name.
constexpr int kListWidth = 48;

// Templates read like the dialogs they describe; the formatter would flatten them.
// clang-format off

// "無効" or "有効" side by side, in their own box.
Control onOffGroup(std::string caption, const std::array<int, 2>& ids) {
    return choiceGroup(std::move(caption), ids, "無効", "有効", kHorizontal);
}

// A label beside several inputs and units in one line ("日 [ ] 時 [ ] 分").
Control line(std::string caption, std::vector<Control> inputs) {
    std::vector<Control> children{label(std::move(caption))};
    for (Control& c : inputs) children.push_back(std::move(c));
    return box(ControlKind::Field, std::move(children));
}

// The connection types and authentication protocols of a dial-up connection, by stored index.
Control connectionList(int id) {
    return list(id, {"64k", "128k（2チャネル固定）", "128k（BOD）", "128k（BACP/BAP）"});
}
Control protocolList(int id) {
    return list(id, {"自動", "PAP", "CHAP", "なし"});
}

// "アクセスポイント": the three numbers a profile dials.
Control accessPointGroup(const std::array<int, 3>& ids) {
    return group("アクセスポイント", {
        field("電話番号１", edit(ids[0], kNoStyle, kNumberWidth)),
        field("電話番号２", edit(ids[1], kNoStyle, kNumberWidth)),
        field("電話番号３", edit(ids[2], kNoStyle, kNumberWidth)),
    });
}

// "ＤＮＳサーバ": given or automatic, and the two addresses used when given.
Control dnsGroup(const std::array<int, 2>& select, int primary, int secondary) {
    return group("ＤＮＳサーバ", {
        radios({{select[0], "指定"}, {select[1], "自動"}}, kHorizontal),
        field("プライマリＩＰアドレス", edit(primary, kNoStyle, kAddressLimit)),
        field("セカンダリＩＰアドレス", edit(secondary, kNoStyle, kAddressLimit)),
    });
}

// "ＤＮＳサーバ" with the two addresses only.
Control dnsAddressGroup(int primary, int secondary) {
    return group("ＤＮＳサーバ", {
        field("プライマリＩＰアドレス", edit(primary, kNoStyle, kAddressLimit)),
        field("セカンダリＩＰアドレス", edit(secondary, kNoStyle, kAddressLimit)),
    });
}

// "自動切断": off or on, and the idle time before the line is dropped.
Control autoDisconnectGroup(const std::array<int, 2>& ids, int time) {
    return group("自動切断", {
        radios({{ids[0], "無効"}, {ids[1], "有効"}}, kHorizontal),
        field("切断時間", edit(time, kNoStyle, kDisconnectTimeLimit), "秒"),
    });
}

Template menuTemplate() {
    return {IDD_PNA_MENU, "ＨｏｍｅＰＮＡ詳細設定", 260, 110, kDialogNoStyle, 0, {}, {
        grid(4, {
            button(IDC_PNA_MENU_ROUTER, "ルータ"),
            button(IDC_PNA_MENU_PNA_PORT, "ＰＮＡポート"),
            button(IDC_PNA_MENU_ARRIVE, "着信"),
            button(IDC_PNA_MENU_NAT, "ＮＡＴ"),
            button(IDC_PNA_MENU_DHCP, "ＤＨＣＰ"),
            button(IDC_PNA_MENU_DNS, "ＤＮＳ"),
            button(IDC_PNA_MENU_DNS_HOST, "ＤＮＳ名前解決"),
            button(IDC_PNA_MENU_SYSLOG, "ＳＹＳＬＯＧ"),
            button(IDC_PNA_MENU_DIALUP1, "ダイヤルアップ１"),
            button(IDC_PNA_MENU_DIALUP2, "ダイヤルアップ２"),
            button(IDC_PNA_MENU_DIALUP3, "ダイヤルアップ３"),
            button(IDC_PNA_MENU_DIALUP4, "ダイヤルアップ４"),
            button(IDC_PNA_MENU_LEASED_LINE, "専用線"),
            button(IDC_PNA_MENU_CONNECT_LIMIT, "接続制限"),
            button(IDC_PNA_MENU_BOD, "ＢＯＤ"),
            button(IDC_PNA_MENU_BACP_BAP, "ＢＡＣＰ/ＢＡＰ"),
        }),
        buttons({button(IDCANCEL, "戻る")}),
        text(IDC_MENU_STATUS, "", kWrap),
    }};
}

Template easyTemplate() {
    Control left = column({
        field("プロバイダ名", edit(IDC_PNA_EASY_PROVIDER, kNoStyle, kTextWidth)),
        accessPointGroup(kPnaEasyDialNumberIds),
    });
    Control right = column({
        field("ユーザー名", edit(IDC_PNA_EASY_USER_ID, kNoStyle, kTextWidth)),
        field("パスワード", edit(IDC_PNA_EASY_PASSWORD, kPassword, kPasswordWidth)),
        dnsGroup(kPnaEasyDnsSelectIds, IDC_PNA_EASY_DNS_PRIMARY, IDC_PNA_EASY_DNS_SECONDARY),
    });
    return {IDD_PNA_EASY, "ＨｏｍｅＰＮＡ簡単 設定", 270, 149, kDialogNoStyle, 0, {}, {
        row({std::move(left), std::move(right)}),
        dialogButtons(),
    }};
}

// The four dial-up profile dialogs differ only in their ids and the caption.
Template dialupTemplate(const DialupIds& ids, std::string caption) {
    // left: whom the profile calls and as whom
    Control left = column({
        field("プロバイダ名", edit(ids.providerName, kNoStyle, kTextWidth)),
        accessPointGroup(ids.dialNumber),
        field("ユーザー名", edit(ids.userId, kNoStyle, kTextWidth)),
        field("パスワード", edit(ids.password, kPassword, kPasswordWidth)),
        field("接続情報", connectionList(ids.mode)),
        field("認証プロトコル", protocolList(ids.protocol)),
    });

    // right: the line and the addresses
    Control right = column({
        autoDisconnectGroup(ids.autoDisconnect, ids.disconnectTime),
        group("ルータのＷＡＮ側ＩＰアドレス", {
            field("ＩＰアドレス", edit(ids.address, kNoStyle, kAddressLimit)),
        }),
        dnsGroup(ids.dnsSelect, ids.dnsPrimary, ids.dnsSecondary),
    });

    return {ids.dialog, std::move(caption), 274, 255, kDialogNoStyle, 0, {}, {
        row({std::move(left), std::move(right)}),
        dialogButtons(),
    }};
}

Template routerDialogTemplate() {
    Control left = column({
        group("アドレス変換", {
            field("ＩＰマスカレード",
                  radios({{kRouterMasqueradeIds[0], "無効"}, {kRouterMasqueradeIds[1], "有効"}},
                         kHorizontal)),
            field("ＩＰマスカレード用ＩＰアドレス",
                  edit(IDC_ROUTER_MASQ_ADDRESS, kNoStyle, kPrefixAddressLimit)),
        }),
        group("接続先", {
            radios({{kRouterAutoConnectIds[0], "手動"}, {kRouterAutoConnectIds[1], "自動"}},
                   kHorizontal),
            field("接続先", list(IDC_ROUTER_CONNECT_SELECT, {"ダイヤルアップ1", "ダイヤルアップ2",
                                                            "ダイヤルアップ3", "ダイヤルアップ4",
                                                            "専用線"})),
        }),
        choiceGroup("接続失敗時の再発信", kRouterRedialIds, "規制しない", "規制する", kHorizontal),
    });

    Control right = column({
        group("通信モード", {
            list(IDC_ROUTER_LINE_MODE, {"自動", "LowPower/LowSpeed", "LowPower/HighSpeed",
                                        "HighPower/LowSpeed", "HighPower/HighSpeed"}),
        }),
        group("スイッチ選択", {list(IDC_ROUTER_SW_ACTION, {"BOD", "接続・切断"})}),
        onOffGroup("ブザー音", kRouterBeepIds),
        onOffGroup("ＩＰフィルタ", kRouterIpFilterIds),
    });

    return {IDD_ROUTER, "ルータ設定", 290, 200, kDialogNoStyle, 0, {}, {
        field("ルータのＬＡＮ側ＩＰアドレス",
              edit(IDC_ROUTER_ADDRESS, kNoStyle, kPrefixAddressLimit)),
        row({std::move(left), std::move(right)}),
        dialogButtons(),
    }};
}

Template dhcpTemplate() {
    return {IDD_DHCP, "ＤＨＣＰ設定", 200, 200, kDialogNoStyle, 0, {}, {
        onOffGroup("ＤＨＣＰ機能", kDhcpActiveIds),
        group("割当てアドレス", {
            field("開始ＩＰアドレス", edit(IDC_DHCP_START_ADDRESS, kNoStyle, kAddressLimit)),
            field("個数", edit(IDC_DHCP_COUNT, kNoStyle, kDhcpCountLimit)),
        }),
        group("リース時間", {
            field("", edit(IDC_DHCP_LEASE_TIME, kNoStyle, kDhcpLeaseTimeLimit), "時間"),
        }),
        group("ＤＮＳサーバ", {
            field("ＤＮＳドメイン名", edit(IDC_DHCP_DOMAIN_NAME, kNoStyle, kTextWidth)),
            field("ＤＮＳサーバＩＰアドレス", edit(IDC_DHCP_DNS_SERVER, kNoStyle, kAddressLimit)),
            field("デフォルトゲートウェイ", edit(IDC_DHCP_GATEWAY, kNoStyle, kAddressLimit)),
        }),
        dialogButtons(),
    }};
}

Template dnsTemplate() {
    return {IDD_DNS, "ＤＮＳ設定", 180, 120, kDialogNoStyle, 0, {}, {
        onOffGroup("ＤＮＳフォワーディング機能", kDnsForwardingIds),
        dnsAddressGroup(IDC_DNS_PRIMARY, IDC_DNS_SECONDARY),
        dialogButtons(),
    }};
}

Template syslogTemplate() {
    return {IDD_SYSLOG, "ＳＹＳＬＯＧ設定", 180, 140, kDialogNoStyle, 0, {}, {
        onOffGroup("ＳＹＳＬＯＧ機能", kSyslogActiveIds),
        group("機能", {row({
            check(IDC_SYSLOG_DEBUG, "ＤＥＢＵＧ"),
            check(IDC_SYSLOG_INFO, "ＩＮＦＯ"),
            check(IDC_SYSLOG_NOTICE, "ＮＯＴＩＣＥ"),
        })}),
        column({
            field("ホストアドレス", edit(IDC_SYSLOG_ADDRESS, kNoStyle, kAddressLimit)),
            field("ファシリティ", edit(IDC_SYSLOG_FACILITY, kNoStyle, kSyslogFacilityLimit)),
        }),
        dialogButtons(),
    }};
}

Template pnaArriveTemplate() {
    return {IDD_PNA_ARRIVE, "着信設定", 220, 220, kDialogNoStyle, 0, {}, {
        group("リモートアクセスサーバ", {
            radios({{kPnaArriveActiveIds[0], "無効"}, {kPnaArriveActiveIds[1], "有効"}},
                   kHorizontal),
            field("ルータのＷＡＮ側ＩＰアドレス",
                  edit(IDC_PNA_ARRIVE_WAN_ADDRESS, kNoStyle, kAddressLimit)),
            field("相手側のＩＰアドレス",
                  edit(IDC_PNA_ARRIVE_PARTNER_ADDRESS, kNoStyle, kAddressLimit)),
        }),
        column({
            field("受信ユーザーＩＤ", edit(IDC_PNA_ARRIVE_USER_ID, kNoStyle, kTextWidth)),
            field("受信パスワード", edit(IDC_PNA_ARRIVE_PASSWORD, kPassword, kTextWidth)),
        }),
        autoDisconnectGroup(kPnaArriveAutoDiscIds, IDC_PNA_ARRIVE_DISC_TIME),
        column({
            field("接続情報", connectionList(IDC_PNA_ARRIVE_MODE)),
            field("認証プロトコル", protocolList(IDC_PNA_ARRIVE_PROTOCOL)),
        }),
        dialogButtons(),
    }};
}

Template leasedLineTemplate() {
    return {IDD_LEASED_LINE, "専用線", 200, 170, kDialogNoStyle, 0, {}, {
        column({
            field("ルータのＷＡＮ側ＩＰアドレス",
                  edit(IDC_LEASED_LINE_ADDRESS, kNoStyle, kPrefixAddressLimit)),
            field("相手側のＩＰアドレス",
                  edit(IDC_LEASED_LINE_REMOTE_ADDRESS, kNoStyle, kAddressLimit)),
            field("ユーザー名", edit(IDC_LEASED_LINE_USER_ID, kNoStyle, kTextWidth)),
            field("パスワード", edit(IDC_LEASED_LINE_PASSWORD, kPassword, kPasswordWidth)),
        }),
        dnsAddressGroup(IDC_LEASED_LINE_DNS_PRIMARY, IDC_LEASED_LINE_DNS_SECONDARY),
        dialogButtons(),
    }};
}

// "１日", "１週間", "１ヶ月" side by side.
Control periodRadios(const std::array<int, 3>& ids) {
    return radios({{ids[0], "１日"}, {ids[1], "１週間"}, {ids[2], "１ヶ月"}}, kHorizontal);
}

Template connectLimitTemplate() {
    return {IDD_CONNECT_LIMIT, "接続制限設定", 230, 230, kDialogNoStyle, 0, {}, {
        group("回線使用料", {row({
            line("", {edit(IDC_CONNECT_CHARGE, kNoStyle, kConnectChargeLimit), label("円")}),
            periodRadios(kConnectChargePeriodIds),
        })}),
        group("接続時間", {row({
            line("", {edit(IDC_CONNECT_TIME, kNoStyle, kConnectTimeLimit), label("時間")}),
            periodRadios(kConnectTimePeriodIds),
        })}),
        group("接続回数", {
            line("", {
                edit(IDC_CONNECT_COUNT, kNoStyle, kConnectCountLimit), label("回　／"),
                edit(IDC_CONNECT_COUNT_MINUTES, kNoStyle, kConnectMinutesLimit), label("分"),
            }),
        }),
        group("クリア機能", {
            line("日", {
                edit(IDC_CONNECT_CLEAR_HOUR, kNoStyle, kConnectClearLimit), label("時"),
                edit(IDC_CONNECT_CLEAR_MINUTE, kNoStyle, kConnectClearLimit), label("分"),
            }),
            line("週", {
                list(IDC_CONNECT_CLEAR_WEEKDAY, {"日", "月", "火", "水", "木", "金", "土"}, 3),
                label("曜日"),
            }),
            line("月", {
                edit(IDC_CONNECT_CLEAR_MONTH_DAY, kNoStyle, kConnectClearLimit), label("日"),
            }),
        }),
        note("注意） 設定値「０」は、制限が無効となります。"),
        buttons({
            button(IDOK, "登録", kDefault),
            button(IDC_CONNECT_CLEAR, "クリア"),
            button(IDCANCEL, "戻る"),
            button(IDC_CONNECT_HELP, "ヘルプ"),
        }),
    }};
}

// The NAT and host dialogs: one entry's fields over the list of the entries in use.
Template entryTableTemplate(const EntryTableIds& ids, std::string caption, Control first,
                            Control second) {
    Control pane = multiLineEdit(ids.list, 8);
    pane.widthChars = kListWidth;
    return {ids.dialog, std::move(caption), 230, 200, kDialogNoStyle, 0, {}, {
        column({
            field("番号", edit(ids.number, kNoStyle, 4)),
            std::move(first),
            std::move(second),
        }),
        column({
            label("登録情報"),
            std::move(pane),
        }),
        buttons({
            button(IDOK, "登録", kDefault),
            button(ids.deleteButton, "削除"),
            button(IDCANCEL, "戻る"),
            button(IDC_HELP_BUTTON, "ヘルプ"),
        }),
    }};
}

Template natTemplate() {
    return entryTableTemplate(
        kNatIds, "ＮＡＴ（スタティックＮＡＴ）設定",
        field("ＬＡＮ側ＩＰアドレス", edit(kNatIds.first, kNoStyle, kAddressLimit)),
        field("ＷＡＮ側ＩＰアドレス", edit(kNatIds.second, kNoStyle, kAddressLimit)));
}

Template dnsHostTemplate() {
    return entryTableTemplate(
        kDnsHostIds, "ＤＮＳ名前解決設定",
        field("ＩＰアドレス", edit(kDnsHostIds.first, kNoStyle, kAddressLimit)),
        field("ホスト名", edit(kDnsHostIds.second, kNoStyle, kTextWidth)));
}

Template bodTemplate() {
    return {IDD_ROUTER_BOD, "ＢＯＤ設定", 283, 290, kDialogNoStyle, 0, {}, {
        grid(2, {
            choiceGroup("初期接続チャネル数", kRouterBodChannelIds, "２チャネル", "１チャネル"),
            group("リソースBODの設定", {radios({
                {kRouterResourceBodIds[0], "割当てを行わない"},
                {kRouterResourceBodIds[1], "発信時のみ割当てる"},
                {kRouterResourceBodIds[2], "着信時のみ割当てる"},
                {kRouterResourceBodIds[3], "発信/着信とも割当てる"},
            })}),
        }),
        grid(2, {bodSide(kRouterBodAddIds, "スループットＢＯＤ　チャネル追加", "追加"),
                 bodSide(kRouterBodDelIds, "スループットＢＯＤ　チャネル削除", "削除")}),
        dialogButtons(),
    }};
}

Template bacpBapTemplate() {
    return {IDD_ROUTER_BACP_BAP, "ＢＡＣＰ／ＢＡＰ設定", 195, 199, kDialogNoStyle, 0, {}, {
        row({bacpSide("発信側", kRouterBacpDepartIds),
             bacpSide("着信側", kRouterBacpArriveIds)}),
        dialogButtons(),
    }};
}

// clang-format on

}  // namespace

const ui::Template* routerTemplate(int id) {
    static const ui::Template kMenu = menuTemplate();
    static const ui::Template kEasy = easyTemplate();
    static const ui::Template kDialup1 = dialupTemplate(kDialup1Ids, "ダイヤルアップ１設定");
    static const ui::Template kDialup2 = dialupTemplate(kDialup2Ids, "ダイヤルアップ２設定");
    static const ui::Template kDialup3 = dialupTemplate(kDialup3Ids, "ダイヤルアップ３設定");
    static const ui::Template kDialup4 = dialupTemplate(kDialup4Ids, "ダイヤルアップ４設定");
    static const ui::Template kRouter = routerDialogTemplate();
    // the DATA and USB port dialogs' layout over the PNA port's ids
    static const ui::Template kPnaPort = digitalPortTemplate(kPnaPortIds, "ＰＮＡポート設定");
    static const ui::Template kDhcp = dhcpTemplate();
    static const ui::Template kDns = dnsTemplate();
    static const ui::Template kSyslog = syslogTemplate();
    static const ui::Template kPnaArrive = pnaArriveTemplate();
    static const ui::Template kLeasedLine = leasedLineTemplate();
    static const ui::Template kConnectLimit = connectLimitTemplate();
    static const ui::Template kNat = natTemplate();
    static const ui::Template kDnsHost = dnsHostTemplate();
    static const ui::Template kBod = bodTemplate();
    static const ui::Template kBacpBap = bacpBapTemplate();
    switch (id) {
        case IDD_PNA_MENU:
            return &kMenu;
        case IDD_PNA_EASY:
            return &kEasy;
        case IDD_DIALUP1:
            return &kDialup1;
        case IDD_DIALUP2:
            return &kDialup2;
        case IDD_DIALUP3:
            return &kDialup3;
        case IDD_DIALUP4:
            return &kDialup4;
        case IDD_ROUTER:
            return &kRouter;
        case IDD_PNA_PORT:
            return &kPnaPort;
        case IDD_DHCP:
            return &kDhcp;
        case IDD_DNS:
            return &kDns;
        case IDD_SYSLOG:
            return &kSyslog;
        case IDD_PNA_ARRIVE:
            return &kPnaArrive;
        case IDD_LEASED_LINE:
            return &kLeasedLine;
        case IDD_CONNECT_LIMIT:
            return &kConnectLimit;
        case IDD_NAT:
            return &kNat;
        case IDD_DNS_HOST:
            return &kDnsHost;
        case IDD_ROUTER_BOD:
            return &kBod;
        case IDD_ROUTER_BACP_BAP:
            return &kBacpBap;
        default:
            return nullptr;
    }
}

}  // namespace kx::res
