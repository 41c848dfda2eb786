// Templates of the analog area: the menu, the three TEL port dialogs and the common dialog.

#include "res/AnalogIds.h"
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

// Two radio buttons side by side in their own box.
Control choiceGroup(std::string caption, const std::array<int, 2>& ids, std::string off,
                    std::string on) {
    return group(std::move(caption), {radios({{ids[0], std::move(off)}, {ids[1], std::move(on)}},
                                             kHorizontal)});
}

// The three TEL port dialogs differ only in their ids, the caption, and the note that TEL1 and
// TEL2 cannot both use number display.
Template telPortTemplate(const TelPortIds& ids, std::string caption, bool sharedDisplayNote) {
    // left: the numbers and what the port answers to
    Control left = column({
        group("番号登録", {
            field("自己アドレス", edit(ids.selfAddress, kNoStyle, kNumberWidth)),
            note("注意）　サブアドレスは「*」で区切ってください。"),
        }),
        group("着信転送", {
            radios({{ids.arriveTransfer[0], "利用しない"}, {ids.arriveTransfer[1], "利用する"}},
                   kHorizontal),
            field("着信転送先電話番号", edit(ids.transferAddress, kNoStyle, kNumberWidth)),
            row({check(ids.talkyTransfer, "転送トーキ"), check(ids.talkySource, "転送元トーキ")}),
        }),
        grid(2, {
            choiceGroup("グローバル着信", ids.globalArrive, "着信しない", "着信する"),
            choiceGroup("サブアドレスなし着信", ids.subaddressLessArrive, "着信しない", "着信する"),
        }),
        group("ｉ・ナンバー", {column({
            radio(ids.iNumber[0], "どちらでも着信する／", kGroupStart),
            // the first button's text goes on under it, in line with the button's text
            field("　", label("契約者回線番号で発信する")),
            radio(ids.iNumber[1], "契約者回線番号で発着信する"),
            radio(ids.iNumber[2], "追加番号1で発着信する"),
            radio(ids.iNumber[3], "追加番号2で発着信する"),
        })}),
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
            choiceGroup("アナログポート", ids.analogPortMode, "音声", "3.1KHｚｵｰﾃﾞｨｵ"),
            choiceGroup("切断信号", ids.discSignal, "送出しない", "送出する"),
            group("内線呼出音", {radios({
                {ids.ringSound[0], "リーン・リーン"},
                {ids.ringSound[1], "リーーン・リーーン"},
                {ids.ringSound[2], "リーンリン・リーンリン"},
            })}),
            group("コールウェイティング", {radios({
                {ids.callWaiting[0], "使用しない"},
                {ids.callWaiting[1], "NTTコールウェイティング"},
                {ids.callWaiting[2], "擬似コールウェイティング"},
            })}),
        }),
        group("発信者番号通知", {radios({
            {ids.noticeNumber[0], "通知しない"},
            {ids.noticeNumber[1], "契約者回線番号を通知する"},
            {ids.noticeNumber[2], "自己アドレスを通知する"},
            {ids.noticeNumber[3], "網契約に従う"},
        })}),
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
                    "使用しない", "使用する"),
        dialogButtons(),
    }};
}

Template menuTemplate() {
    return {IDD_ANALOG_MENU, "アナログ設定", 160, 90, kDialogNoStyle, 0, {}, {
        grid(2, {
            button(IDC_ANALOG_MENU_TEL1, "ＴＥＬ１"),
            button(IDC_ANALOG_MENU_TEL2, "ＴＥＬ２"),
            button(IDC_ANALOG_MENU_TEL3, "ＴＥＬ３"),
            button(IDC_ANALOG_MENU_COMMON, "共通"),
        }),
        buttons({button(IDCANCEL, "戻る")}),
    }};
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
