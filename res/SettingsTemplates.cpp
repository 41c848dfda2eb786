#include "res/SettingsTemplates.h"

#include <utility>

#include "res/ShellIds.h"
#include "ui/TemplateBuilder.h"

namespace kx::res {

using namespace ui;
using namespace ui::tpl;

// Templates read like the dialogs they describe; the formatter would flatten them.
// clang-format off

Control dialogButtons() {
    return buttons({button(IDOK, "登録", kDefault), button(IDCANCEL, "戻る"),
                    button(IDC_HELP_BUTTON, "ヘルプ")});
}

Template areaMenu(int id, std::string caption, int height, int columns,
                  std::vector<Control> items) {
    return {id, std::move(caption), 160, height, kDialogNoStyle, 0, {}, {
        grid(columns, std::move(items)),
        buttons({button(IDCANCEL, "戻る")}),
        text(IDC_MENU_STATUS, "", kWrap),
    }};
}

Control choiceGroup(std::string caption, const std::array<int, 2>& ids, std::string first,
                    std::string second, unsigned layout) {
    return group(std::move(caption), {radios({{ids[0], std::move(first)},
                                              {ids[1], std::move(second)}}, layout)});
}

Control cautions(std::vector<std::string> lines, unsigned style) {
    std::vector<Control> children{label("注意）")};
    for (std::string& line : lines) children.push_back(label(std::move(line), style));
    return column(std::move(children));
}

Control ringPatternList(int id) {
    return list(id, {kRingPatterns.begin(), kRingPatterns.end()});
}

Control ringPatternRadios(const std::array<int, 3>& ids) {
    return radios({
        {ids[0], kRingPatterns[0]},
        {ids[1], kRingPatterns[1]},
        {ids[2], kRingPatterns[2]},
    });
}

Control selfAddressGroup(int selfAddress, std::string addressNote) {
    return group("番号登録", {
        field("自己アドレス", edit(selfAddress, kNoStyle, kNumberWidth)),
        note(std::move(addressNote)),
    });
}

Control transferGroup(const std::array<int, 2>& onOff, int transferAddress,
                      std::vector<Control> more) {
    std::vector<Control> children{
        radios({{onOff[0], "利用しない"}, {onOff[1], "利用する"}}, kHorizontal),
        field("着信転送先電話番号", edit(transferAddress, kNoStyle, kNumberWidth)),
    };
    for (Control& c : more) children.push_back(std::move(c));
    return group("着信転送", std::move(children));
}

Control arriveConditions(const std::array<int, 2>& globalArrive,
                         const std::array<int, 2>& subaddressLessArrive, unsigned layout) {
    return grid(2, {
        choiceGroup("グローバル着信", globalArrive, "着信しない", "着信する", layout),
        choiceGroup("サブアドレスなし着信", subaddressLessArrive, "着信しない", "着信する", layout),
    });
}

Control noticeNumberGroup(const std::array<int, 4>& ids) {
    return group("発信者番号通知", {radios({
        {ids[0], "通知しない"},
        {ids[1], "契約者回線番号を通知する"},
        {ids[2], "自己アドレスを通知する"},
        {ids[3], "網契約に従う"},
    })});
}

Control iNumberGroup(const std::array<int, 4>& ids) {
    return group("ｉ・ナンバー", {column({
        radio(ids[0], "どちらでも着信する／", kGroupStart),
        // the first button's text goes on under it, in line with the button's text
        field("　", label("契約者回線番号で発信する")),
        radio(ids[1], "契約者回線番号で発着信する"),
        radio(ids[2], "追加番号1で発着信する"),
        radio(ids[3], "追加番号2で発着信する"),
    })});
}

// clang-format on

}  // namespace kx::res
