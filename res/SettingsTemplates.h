#pragma once

// Pieces that the settings templates share: the dialog buttons, the area menus, two-way choices,
// the notes under a dialog, numbered rows and ring patterns, and the groups that the TEL port
// dialogs and the DATA/USB port dialogs both show. They are built with ui/TemplateBuilder.h and
// written once in res/SettingsTemplates.cpp; the area template files put them together.

#include <array>
#include <string>
#include <vector>

#include "ui/Template.h"

namespace kx::res {

// Phone numbers with a subaddress: wide enough for a number and a short subaddress.
inline constexpr int kNumberWidth = 30;

// The printed row labels of numbered tables count from 00; the row labelled 00 holds entry 1.
inline constexpr std::array<const char*, 20> kRowLabels{
    "００", "０１", "０２", "０３", "０４", "０５", "０６", "０７", "０８", "０９",
    "１０", "１１", "１２", "１３", "１４", "１５", "１６", "１７", "１８", "１９",
};

// The three ring patterns, as the TEL port dialogs and the incoming-call lists name them.
inline constexpr std::array<const char*, 3> kRingPatterns{"リーン・リーン", "リーーン・リーーン",
                                                          "リーンリン・リーンリン"};

// "登録" (the default button), "戻る" and "ヘルプ", at the bottom right.
ui::Control dialogButtons();

// An area's menu: a button for each of its dialogs, `columns` to a row, and "戻る" under them.
ui::Template areaMenu(int id, std::string caption, int height, int columns,
                      std::vector<ui::Control> items);

// Two radio buttons in their own box, stacked, or side by side with `layout` ui::kHorizontal.
ui::Control choiceGroup(std::string caption, const std::array<int, 2>& ids, std::string first,
                        std::string second, unsigned layout = ui::kNoStyle);

// "注意）" over the lines of a note; `style` ui::kWrap for long lines that wrap.
ui::Control cautions(std::vector<std::string> lines, unsigned style = ui::kNoStyle);

// A drop-down list of the ring patterns.
ui::Control ringPatternList(int id);
// The ring patterns as one radio group, stacked.
ui::Control ringPatternRadios(const std::array<int, 3>& ids);

// Groups of the TEL and DATA/USB port dialogs, over the ids of one port.

// "番号登録": the port's own number, with `addressNote` (how to write a subaddress) under it.
ui::Control selfAddressGroup(int selfAddress, std::string addressNote);
// "着信転送": off or on side by side, the number to transfer to, then `more` (the TEL ports add
// their announcement checks).
ui::Control transferGroup(const std::array<int, 2>& onOff, int transferAddress,
                          std::vector<ui::Control> more = {});
// "グローバル着信" and "サブアドレスなし着信" side by side, each "着信しない" or "着信する" laid
// out as `layout` says (see choiceGroup).
ui::Control arriveConditions(const std::array<int, 2>& globalArrive,
                             const std::array<int, 2>& subaddressLessArrive, unsigned layout);
// "発信者番号通知": the four ways of sending the caller's number.
ui::Control noticeNumberGroup(const std::array<int, 4>& ids);
// "ｉ・ナンバー": the four numbers the port calls with and answers to.
ui::Control iNumberGroup(const std::array<int, 4>& ids);

}  // namespace kx::res
