#include "area/SettingsDlg.h"

#include <cstdio>
#include <cstdlib>

#include "app/services/Help.h"
#include "res/Templates.h"

namespace kx::area {

std::string displayNumber(int stored, int scale) {
    return std::to_string(static_cast<long long>(stored) * scale);
}

bool isNoAddress(std::string_view text) {
    return text.empty() || text == "0.0.0.0" || text.starts_with("0.0.0.0/");
}

std::string numberedPhoneMessage(int entry) {
    const char digits[3] = {static_cast<char>('0' + entry / 10 % 10),
                            static_cast<char>('0' + entry % 10), '\0'};
    return std::string("電話番号") + digits + "の入力に間違いがあります。";
}

int spinValue(int value, int code, int lowest, int highest, SpinWrap wrap) {
    if (code == ui::kScrollLineUp) {
        if (wrap == SpinWrap::JustAfterHighest)
            return value == highest ? lowest : value + 1;
        return value >= highest ? lowest : value + 1;
    }
    if (code == ui::kScrollLineDown)
        return value <= lowest ? highest : value - 1;
    return value;
}

CSettingsDlg::CSettingsDlg(int templateId, int helpContext)
    : CSettingsDlg(res::dialogTemplate(templateId), helpContext) {}

CSettingsDlg::CSettingsDlg(const ui::Template& tpl, int helpContext)
    : Dialog(tpl), helpContext_(helpContext) {}

void CSettingsDlg::OnHelp() {
    ShowHelp(*this, helpContext_);
}

void CSettingsDlg::OnCommand(int id) {
    if (id == IDC_HELP_BUTTON)
        OnHelp();
}

void CSettingsDlg::confirm(const std::function<void()>& takeSnapshot,
                           const std::function<void()>& store) {
    if (takeSnapshot)
        takeSnapshot();
    store();
    ++changeCount;
    EndDialog(ui::IDOK);
}

bool CSettingsDlg::readChecked(int id, int maxChars,
                               const std::function<int(std::string_view)>& check,
                               std::string_view message, std::string& out) {
    if (!GetDlgItemText(id, maxChars, out) || check(out) != 0) {
        ui::InputError(message);
        return false;
    }
    return true;
}

void CSettingsDlg::spinEdit(int editId, int readChars, int code, int lowest, int highest, int scale,
                            SpinWrap wrap) {
    std::string text;
    // a text the edit cannot hand over reads as no number, like an empty one
    if (!GetDlgItemText(editId, readChars, text))
        text.clear();
    SetDlgItemText(
        editId,
        displayNumber(spinValue(ReadDecimal(text) / scale, code, lowest, highest, wrap), scale));
}

void CSettingsDlg::filterKeys(int editId) {
    filters_.push_back(std::make_unique<CNumEdit>());
    SetKeyFilter(editId, filters_.back().get());
}

void CSettingsDlg::bindingError(const char* what, int id) const {
    std::fprintf(stderr, "kx::area: dialog %d, control %d: %s\n", templateId(), id, what);
    std::abort();
}

}  // namespace kx::area
