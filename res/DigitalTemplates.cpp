// Templates of the digital area: the menu, the DATA and USB port dialogs, the common dialog,
// throughput BOD and BACP/BAP.

#include <string>
#include <utility>

#include "res/DigitalIds.h"
#include "res/IsdnTemplates.h"
#include "res/SettingsTemplates.h"
#include "res/Templates.h"
#include "ui/TemplateBuilder.h"

namespace kx::res {
namespace {

using namespace ui;
using namespace ui::tpl;

// Templates read like the dialogs they describe; the formatter would flatten them.
// clang-format off

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

Template throughputBodTemplate() {
    return {IDD_THROUGHPUT_BOD, "スループットＢＯＤ設定", 283, 205, kDialogNoStyle, 0, {}, {
        row({bodSide(kBodAddIds, "チャネル追加", "追加"),
             bodSide(kBodDelIds, "チャネル削除", "削除")}),
        dialogButtons(),
    }};
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
