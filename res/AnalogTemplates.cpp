// Templates of the analog area: the menu, the three TEL port dialogs and the common dialog.

#include <string>
#include <utility>
#include <vector>

#include "res/AnalogIds.h"
#include "res/SettingsTemplates.h"
#include "res/Templates.h"
#include "ui/TemplateBuilder.h"

namespace kx::res {
namespace {

using namespace ui;
using namespace ui::tpl;

// Templates read like the dialogs they describe; the formatter would flatten them.
// clang-format off

// The three TEL port dialogs differ only in their ids, the caption, and the note that TEL1 and
// TEL2 cannot both use number display.
Template telPortTemplate(const TelPortIds& ids, std::string caption, bool sharedDisplayNote) {
    // left: the numbers and what the port answers to
    Control left = column({
        selfAddressGroup(ids.selfAddress, "注意）　サブアドレスは「*」で区切ってください。"),
        transferGroup(ids.arriveTransfer, ids.transferAddress, {
            row({check(ids.talkyTransfer, "転送トーキ"), check(ids.talkySource, "転送元トーキ")}),
        }),
        arriveConditions(ids.globalArrive, ids.subaddressLessArrive, kHorizontal),
        iNumberGroup(ids.iNumber),
        group("ダイヤル発信時間", {
            spinField("", edit(ids.sendDialTime, kNoStyle, 3), ids.dialTimeSpin, "秒"),
        }),
    });

    // right: the telephone attached to the port
    std::vector<Control> display{
        group("ナンバー・ディスプレイ／キャッチホン・ディスプレイ", {radios({
            {ids.numberDisplay[0], "対応機器を使用しない"},
            {ids.numberDisplay[1], "ナンバー・ディスプレイ対応機器を使用する"},
            {ids.numberDisplay[2], "キャッチホン・ディスプレイ対応機器を使用する"},
        })}),
    };
    if (sharedDisplayNote)
        display.push_back(note("注意）　TEL1，TEL2は同時に使用できません。"));

    Control right = column({
        column(std::move(display)),
        grid(2, {
            choiceGroup("アナログポート", ids.analogPortMode, "音声", "3.1KHｚｵｰﾃﾞｨｵ", kHorizontal),
            choiceGroup("切断信号", ids.discSignal, "送出しない", "送出する", kHorizontal),
            group("内線呼出音", {ringPatternRadios(ids.ringSound)}),
            group("コールウェイティング", {radios({
                {ids.callWaiting[0], "使用しない"},
                {ids.callWaiting[1], "NTTコールウェイティング"},
                {ids.callWaiting[2], "擬似コールウェイティング"},
            })}),
        }),
        noticeNumberGroup(ids.noticeNumber),
    });

    return {ids.dialog, std::move(caption), 359, 285, kDialogNoStyle, 0, {}, {
        row({std::move(left), std::move(right)}),
        dialogButtons(),
    }};
}

Template commonTemplate() {
    return {IDD_ANALOG_COMMON, "アナログポート共通設定", 179, 129, kDialogNoStyle, 0, {}, {
        grid(2, {
            group("遅延回数", {
                spinField("", edit(IDC_ANALOG_COMMON_DELAY, kNoStyle, 3),
                          IDC_ANALOG_COMMON_DELAY_SPIN, "回"),
            }),
            group("呼出音周波数", {
                spinField("", edit(IDC_ANALOG_COMMON_FREQUENCY, kNoStyle, 3),
                          IDC_ANALOG_COMMON_FREQUENCY_SPIN, "ヘルツ"),
            }),
        }),
        choiceGroup("ｉ・ナンバー", {IDC_ANALOG_COMMON_INUMBER_OFF, IDC_ANALOG_COMMON_INUMBER_ON},
                    "使用しない", "使用する", kHorizontal),
        dialogButtons(),
    }};
}

Template menuTemplate() {
    return areaMenu(IDD_ANALOG_MENU, "アナログ設定", 90, 2, {
        button(IDC_ANALOG_MENU_TEL1, "ＴＥＬ１"),
        button(IDC_ANALOG_MENU_TEL2, "ＴＥＬ２"),
        button(IDC_ANALOG_MENU_TEL3, "ＴＥＬ３"),
        button(IDC_ANALOG_MENU_COMMON, "共通"),
    });
}

// clang-format on

}  // namespace

const ui::Template* analogTemplate(int id) {
    static const ui::Template kTel1 = telPortTemplate(kTel1PortIds, "ＴＥＬ１ポート設定", true);
    static const ui::Template kTel2 = telPortTemplate(kTel2PortIds, "ＴＥＬ２ポート設定", true);
    static const ui::Template kTel3 = telPortTemplate(kTel3PortIds, "ＴＥＬ３ポート設定", false);
    static const ui::Template kCommon = commonTemplate();
    static const ui::Template kMenu = menuTemplate();
    switch (id) {
        case IDD_TEL1_PORT:
            return &kTel1;
        case IDD_TEL2_PORT:
            return &kTel2;
        case IDD_TEL3_PORT:
            return &kTel3;
        case IDD_ANALOG_COMMON:
            return &kCommon;
        case IDD_ANALOG_MENU:
            return &kMenu;
        default:
            return nullptr;
    }
}

}  // namespace kx::res
