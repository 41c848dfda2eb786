#include "shortnum/ShortNumberDlg.h"

#include "app/services/Help.h"
#include "res/ShortnumIds.h"

namespace kx {

namespace {

constexpr int kNumberLimit = 53;

}  // namespace

CShortNumberDlg::CShortNumberDlg() : CSettingsDlg(IDD_SHORT_NUMBER, kHelpShortNumber) {
    for (int id : kShortNumberEdits) filterKeys(id);
}

bool CShortNumberDlg::OnInitDialog() {
    // the numbers are not written over the network link: shown, not editable
    const bool editable = networkMode == 0 || !shortNumberItems()[0].serialOnly;
    for (std::size_t i = 0; i < kShortNumberEdits.size(); ++i) {
        LimitText(kShortNumberEdits[i], kNumberLimit);
        SetDlgItemText(kShortNumberEdits[i], shortNumbers.working[i].number);
        EnableControl(kShortNumberEdits[i], editable);
    }
    return CSettingsDlg::OnInitDialog();
}

// The entries are checked in order and stored only when all of them pass (so a refused OK
// leaves the working table as it was).
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
