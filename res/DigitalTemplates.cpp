// Templates of the digital area: the menu, the DATA and USB port dialogs, the common dialog,
// throughput BOD and BACP/BAP.

#include <string>
#include <utility>

#include "res/DigitalIds.h"
#include "res/SettingsTemplates.h"
#include "res/Templates.h"
#include "ui/TemplateBuilder.h"

namespace kx::res {
namespace {

using namespace ui;
using namespace ui::tpl;

// Templates read like the dialogs they describe; the formatter would flatten them.
// clang-format off

// The DATA and USB port dialogs differ only in their ids and the caption.
Template digitalPortTemplate(const DigitalPortIds& ids, std::string caption) {
    // left: the numbers and what the port answers to
    Control left = column({
        selfAddressGroup(ids.selfAddress, "・サブアドレスは「*」で区切ってください"),
        transferGroup(ids.arriveTransfer, ids.transferAddress),
        arriveConditions(ids.globalArrive, ids.subaddressLessArrive, kNoStyle),
    });

    // right: the numbers the port calls with
    Control right = column({
        noticeNumberGroup(ids.noticeNumber),
        iNumberGroup(ids.iNumber),
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
    return areaMenu(IDD_DIGITAL_MENU, "デジタル設定", 110, 2, {
        button(IDC_DIGITAL_MENU_DATA, "ＤＡＴＡ"),
        button(IDC_DIGITAL_MENU_USB, "ＵＳＢ"),
        button(IDC_DIGITAL_MENU_COMMON, "共通"),
        button(IDC_DIGITAL_MENU_BOD, "スループットＢＯＤ"),
        button(IDC_DIGITAL_MENU_BACP_BAP, "ＢＡＣＰ／ＢＡＰ"),
    });
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
