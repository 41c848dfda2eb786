#include "shortnum/ShortNumberDlg.h"

#include "app/Help.h"
#include "res/ShortnumIds.h"

namespace kx {

namespace {

constexpr int kNumberLimit = 53;

}  // namespace

CShortNumberDlg::CShortNumberDlg() : CSettingsDlg(IDD_SHORT_NUMBER, kHelpShortNumber) {
    for (int id : kShortNumberEdits) filterKeys(id);
}

bool CShortNumberDlg::OnInitDialog() {
    for (std::size_t i = 0; i < kShortNumberEdits.size(); ++i) {
        LimitText(kShortNumberEdits[i], kNumberLimit);
        SetDlgItemText(kShortNumberEdits[i], shortNumbers.working[i].number);
    }
    return CSettingsDlg::OnInitDialog();
}

void CShortNumberDlg::OnOK() {
    const area::ItemRule& rule = shortNumberItems()[0];
    ShortNumberTable entries;
    for (std::size_t i = 0; i < kShortNumberEdits.size(); ++i) {
        if (!readChecked(
                kShortNumberEdits[i], area::kEditReadChars,
                [&](std::string_view text) { return rule.checkText(text); },
                // the row labelled ００ is entry 01
                area::numberedPhoneMessage(static_cast<int>(i) + 1), entries[i].number))
            return;
    }
    confirm(nullptr, [&] { shortNumbers.working = entries; });
}

}  // namespace kx
