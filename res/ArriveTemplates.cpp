// Templates of the incoming-call control area: the menu, the standard dialog and the two
// per-number dialogs (ten numbers each).

#include <array>
#include <string>
#include <utility>
#include <vector>

#include "res/ArriveIds.h"
#include "res/SettingsTemplates.h"
#include "res/Templates.h"
#include "ui/TemplateBuilder.h"

namespace kx::res {
namespace {

using namespace ui;
using namespace ui::tpl;

// Widths in characters, kept small so that a table row fits; a list still grows to its
// longest item.
constexpr int kRankWidth = 2;
constexpr int kRowNumberWidth = 22;

// Templates read like the dialogs they describe; the formatter would flatten them.
// clang-format off

Control telRank(int id) {
    return list(id, {"優先", "標準", "遅延", "拒否"}, kRankWidth);
}
Control portRank(int id) {
    return list(id, {"標準", "拒否"}, kRankWidth);
}

// The six lists of one row, left to right.
void appendColumns(std::vector<Control>& cells, const ArriveColumnIds& ids) {
    cells.push_back(telRank(ids.tel1));
    cells.push_back(telRank(ids.tel2));
    cells.push_back(telRank(ids.tel3));
    cells.push_back(portRank(ids.data));
    cells.push_back(portRank(ids.usb));
    cells.push_back(ringPatternList(ids.ring));
}

// The two heading rows of a table: "着信順位" over the five rankings, then the name of every
// column, starting with `leading`, the names of the columns before the lists.
void appendHeadings(std::vector<Control>& cells, std::vector<std::string> leading) {
    for (std::size_t i = 0; i < leading.size(); ++i) cells.push_back(label(""));
    for (const char* heading : {"着信順位", "", "", "", "", ""}) cells.push_back(label(heading));
    for (std::string& heading : leading) cells.push_back(label(std::move(heading)));
    for (const char* heading : {"TEL1", "TEL2", "TEL3", "DATA", "USB", "擬似なりわけ鳴動音"})
        cells.push_back(label(heading));
}

Template standardTemplate() {
    std::vector<Control> table;
    appendHeadings(table, {""});
    table.push_back(column({label("標準の設定"), label("（電話番号別に未登録）")}));
    appendColumns(table, kArriveDefaultIds);
    table.push_back(label("電話番号なし着信"));
    appendColumns(table, kArriveNoidIds);

    return {IDD_ARRIVE_STANDARD, "着信制御　標準設定", 323, 205, kDialogNoStyle, 0, {}, {
        grid(7, std::move(table)),
        row({
            group("なりわけ", {
                radios({{IDC_ARRIVE_RING_SELECT_NTT, "NTTなりわけ"},
                        {IDC_ARRIVE_RING_SELECT_PSEUDO, "擬似なりわけ"}}),
                field("鳴動音", ringPatternList(IDC_ARRIVE_NTT_RING)),
            }),
            group("迷惑電話おことわり", {
                radios({{IDC_ARRIVE_TROUBLE_NTT, "NTT迷惑電話おことわり"},
                        {IDC_ARRIVE_TROUBLE_PSEUDO, "擬似迷惑電話おことわり"}}),
            }),
        }),
        cautions({
            "・相手の電話番号によって、着信順位を変えたり、鳴り分けたりするためには"
            "「ナンバー・ディスプレイサービス」の契約が必要です。",
            "・NTTの「INSなりわけサービス」をご利用になるときは、こちらで"
            " なりわけ設定を行ってください。",
        }, kWrap),
        dialogButtons(),
    }};
}

// The two per-number dialogs differ only in their ids, the caption and the row labels, which
// start at kRowLabels[firstLabel].
Template numberTemplate(int dialogId, std::string caption,
                        const std::array<ArriveRowIds, 10>& rows, std::size_t firstLabel) {
    std::vector<Control> table;
    appendHeadings(table, {"Ｎｏ．", "電話番号"});
    for (std::size_t r = 0; r < rows.size(); ++r) {
        table.push_back(label(kRowLabels[firstLabel + r]));
        table.push_back(edit(rows[r].number, kNoStyle, kRowNumberWidth));
        appendColumns(table, rows[r].columns);
    }

    return {dialogId, std::move(caption), 329, 265, kDialogNoStyle, 0, {}, {
        grid(8, std::move(table)),
        cautions({
            "・電話番号は市外局番から入力してください。",
            "・サブアドレスは「*」で区切ってください。",
        }),
        dialogButtons(),
    }};
}

Template menuTemplate() {
    return areaMenu(IDD_ARRIVE_MENU, "着信制御設定", 70, 3, {
        button(IDC_ARRIVE_MENU_STANDARD, "標準"),
        button(IDC_ARRIVE_MENU_NUMBER1, "電話番号別１"),
        button(IDC_ARRIVE_MENU_NUMBER2, "電話番号別２"),
    });
}

// clang-format on

}  // namespace

const ui::Template* arriveTemplate(int id) {
    static const ui::Template kStandard = standardTemplate();
    static const ui::Template kNumber1 =
        numberTemplate(IDD_ARRIVE_NUMBER1, "着信制御　電話番号別１設定", kArriveNumber1Rows, 0);
    static const ui::Template kNumber2 =
        numberTemplate(IDD_ARRIVE_NUMBER2, "着信制御　電話番号別２設定", kArriveNumber2Rows, 10);
    static const ui::Template kMenu = menuTemplate();
    switch (id) {
        case IDD_ARRIVE_STANDARD:
            return &kStandard;
        case IDD_ARRIVE_NUMBER1:
            return &kNumber1;
        case IDD_ARRIVE_NUMBER2:
            return &kNumber2;
        case IDD_ARRIVE_MENU:
            return &kMenu;
        default:
            return nullptr;
    }
}

}  // namespace kx::res
