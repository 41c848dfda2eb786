// Templates of the digital area: the menu, the DATA and USB port dialogs, the common dialog,
// throughput BOD and BACP/BAP.

#include <string>
#include <utility>

#include "res/DigitalIds.h"
#include "res/Templates.h"
#include "ui/TemplateBuilder.h"

namespace kx::res {
namespace {

using namespace ui;
using namespace ui::tpl;

// Phone numbers with a subaddress: wide enough for a number and a short subaddress.
constexpr int kNumberWidth = 30;

// Templates read like the dialogs they describe; the formatter would flatten them.
// clang-format off

Control dialogButtons() {
    return buttons({button(IDOK, "登録", kDefault), button(IDCANCEL, "戻る"),
                    button(IDC_HELP_BUTTON, "ヘルプ")});
}

// Two radio buttons stacked in their own box.
Control choiceGroup(std::string caption, const std::array<int, 2>& ids, std::string first,
                    std::string second) {
    return group(std::move(caption), {radios({{ids[0], std::move(first)},
                                              {ids[1], std::move(second)}})});
}

// The DATA and USB port dialogs differ only in their ids and the caption.
Template digitalPortTemplate(const DigitalPortIds& ids, std::string caption) {
    // left: the numbers and what the port answers to
    Control left = column({
        group("番号登録", {
            field("自己アドレス", edit(ids.selfAddress, kNoStyle, kNumberWidth)),
            note("・サブアドレスは「*」で区切ってください"),
        }),
        group("着信転送", {
            radios({{ids.arriveTransfer[0], "利用しない"}, {ids.arriveTransfer[1], "利用する"}},
                   kHorizontal),
            field("着信転送先電話番号", edit(ids.transferAddress, kNoStyle, kNumberWidth)),
        }),
        grid(2, {
            choiceGroup("グローバル着信", ids.globalArrive, "着信しない", "着信する"),
            choiceGroup("サブアドレスなし着信", ids.subaddressLessArrive, "着信しない", "着信する"),
        }),
    });

    // right: the numbers the port calls with
    Control right = column({
        group("発信者番号通知", {radios({
            {ids.noticeNumber[0], "通知しない"},
            {ids.noticeNumber[1], "契約者回線番号を通知する"},
            {ids.noticeNumber[2], "自己アドレスを通知する"},
            {ids.noticeNumber[3], "網契約に従う"},
        })}),
        group("ｉ・ナンバー", {column({
            radio(ids.iNumber[0], "どちらでも着信する／", kGroupStart),
            // the first button's text goes on under it, in line with the button's text
            field("　", label("契約者回線番号で発信する")),
            radio(ids.iNumber[1], "契約者回線番号で発着信する"),
            radio(ids.iNumber[2], "追加番号1で発着信する"),
            radio(ids.iNumber[3], "追加番号2で発着信する"),
        })}),
    });

    return {ids.dialog, std::move(caption), 255, 229, kDialogNoStyle, 0, {}, {
        row({std::move(left), std::move(right)}),
        dialogButtons(),
    }};
}

Template commonTemplate() {
    return {IDD_DIGITAL_COMMON, "デジタルポート共通設定", 195, 219, kDialogNoStyle, 0, {}, {
        grid(2, {
            choiceGroup("初期接続チャネル数", kInitChannelIds, "２チャネル", "１チャネル"),
            group("リソースBODの設定", {radios({
                {kResourceBodIds[0], "割当てを行わない"},
                {kResourceBodIds[1], "発信時のみ割当てる"},
                {kResourceBodIds[2], "着信時のみ割当てる"},
                {kResourceBodIds[3], "発信/着信とも割当てる"},
            })}),
            choiceGroup("スループットBOD", kThroughputBodIds, "使用しない", "使用する"),
            choiceGroup("ＢＡＣＰ/ＢＡＰ", kBacpBapIds, "使用しない", "使用する"),
            choiceGroup("デジタル着信優先", kArrivePriorityIds, "ＤＡＴＡポート", "ＵＳＢポート"),
            group("切断までの待ち時間", {
                field("切断時間", edit(IDC_DIGITAL_COMMON_DISC_TIME, kNoStyle, 5), "分"),
            }),
            group("ＰＩＡＦＳ", {
                list(IDC_DIGITAL_COMMON_PIAFS, {"32k", "64k Version 2.0", "64k Version 2.1"}),
            }),
        }),
        dialogButtons(),
    }};
}

// One half of the throughput BOD dialog; `action` is "追加" or "削除".
Control bodSide(const BodSideIds& ids, std::string caption, const std::string& action) {
    return group(std::move(caption), {
        group("評価方向", {radios({
            {ids.direction[0], "送受信データとも評価し" + action + "する"},
            {ids.direction[1], "送信データのみ評価し" + action + "する"},
            {ids.direction[2], "受信データのみ評価し" + action + "する"},
            {ids.direction[3], action + "を行わない"},
        })}),
        spinField("しきい値", edit(ids.rate, kNoStyle, 3), ids.rateSpin, "％"),
        // the threshold as a rate, "約 n.nn kbps"; a row so that it is centred in the box
        row({text(ids.estimate, "約", kCentred)}),
        spinField("評価時間", edit(ids.evalTime, kNoStyle, 3), ids.evalTimeSpin, "秒"),
        spinField("最小保持時間", edit(ids.minTime, kNoStyle, 4), ids.minTimeSpin, "秒"),
    });
}

Template throughputBodTemplate() {
    return {IDD_THROUGHPUT_BOD, "スループットＢＯＤ設定", 283, 205, kDialogNoStyle, 0, {}, {
        row({bodSide(kBodAddIds, "チャネル追加", "追加"),
             bodSide(kBodDelIds, "チャネル削除", "削除")}),
        dialogButtons(),
    }};
}

// One side of the BACP/BAP dialog: the three requests, each refused or answered.
Control bacpSide(std::string caption, const std::array<std::array<int, 2>, 3>& ids) {
    return group(std::move(caption), {
        choiceGroup("チャネル追加", ids[0], "拒否する", "自動応答"),
        choiceGroup("コールバック要求", ids[1], "拒否する", "自動応答"),
        choiceGroup("チャネル削除", ids[2], "拒否する", "自動応答"),
    });
}

Template bacpBapTemplate() {
    return {IDD_BACP_BAP, "ＢＡＣＰ／ＢＡＰ設定", 195, 199, kDialogNoStyle, 0, {}, {
        row({bacpSide("発信側", kBacpDepartIds), bacpSide("着信側", kBacpArriveIds)}),
        dialogButtons(),
    }};
}

Template menuTemplate() {
    return {IDD_DIGITAL_MENU, "デジタル設定", 160, 110, kDialogNoStyle, 0, {}, {
        grid(2, {
            button(IDC_DIGITAL_MENU_DATA, "ＤＡＴＡ"),
            button(IDC_DIGITAL_MENU_USB, "ＵＳＢ"),
            button(IDC_DIGITAL_MENU_COMMON, "共通"),
            button(IDC_DIGITAL_MENU_BOD, "スループットＢＯＤ"),
            button(IDC_DIGITAL_MENU_BACP_BAP, "ＢＡＣＰ／ＢＡＰ"),
        }),
        buttons({button(IDCANCEL, "戻る")}),
    }};
}

// clang-format on

}  // namespace

const ui::Template* digitalTemplate(int id) {
    static const ui::Template kData = digitalPortTemplate(kDataPortIds, "ＤＡＴＡポート設定");
    static const ui::Template kUsb = digitalPortTemplate(kUsbPortIds, "ＵＳＢポート設定");
    static const ui::Template kCommon = commonTemplate();
    static const ui::Template kThroughputBod = throughputBodTemplate();
    static const ui::Template kBacpBap = bacpBapTemplate();
    static const ui::Template kMenu = menuTemplate();
    switch (id) {
        case IDD_DATA_PORT:
            return &kData;
        case IDD_USB_PORT:
            return &kUsb;
        case IDD_DIGITAL_COMMON:
            return &kCommon;
        case IDD_THROUGHPUT_BOD:
            return &kThroughputBod;
        case IDD_BACP_BAP:
            return &kBacpBap;
        case IDD_DIGITAL_MENU:
            return &kMenu;
        default:
            return nullptr;
    }
}

}  // namespace kx::res
