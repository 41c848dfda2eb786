#include "ui/DataExchange.h"

#include "link/Sjis.h"
#include "ui/Backend.h"
#include "ui/Dialog.h"
#include "ui/MessageBox.h"
#include "ui/TextCodec.h"

namespace kx::ui {

DataExchange::DataExchange(Dialog& dialog, bool saveAndValidate)
    : dialog_(dialog), saving_(saveAndValidate) {}

void DataExchange::fail(std::string_view errorMessage) {
    if (failed_)
        return;
    failed_ = true;
    InputError(errorMessage);
}

void DataExchange::text(int id, std::string& cp932, int limit, std::string_view errorMessage) {
    if (!saving_) {
        if (limit > 0)
            dialog_.LimitText(id, limit);
        dialog_.SetDlgItemText(id, cp932);
        return;
    }
    if (failed_)
        return;
    std::string value;
    if (!dialog_.GetDlgItemText(id, limit > 0 ? limit : 1 << 30, value))
        return fail(errorMessage);
    cp932 = std::move(value);
}

void DataExchange::radio(int firstId, int& index) {
    std::vector<int> group = radioGroup(dialog_.GetTemplate(), firstId);
    if (!saving_) {
        for (std::size_t i = 0; i < group.size(); ++i)
            dialog_.CheckDlgButton(group[i], index >= 0 && static_cast<std::size_t>(index) == i);
        return;
    }
    if (failed_)
        return;
    index = -1;
    for (std::size_t i = 0; i < group.size(); ++i)
        if (dialog_.IsDlgButtonChecked(group[i])) {
            index = static_cast<int>(i);
            break;
        }
}

void DataExchange::check(int id, int& value) {
    if (!saving_)
        return dialog_.CheckDlgButton(id, value != 0);
    if (!failed_)
        value = dialog_.IsDlgButtonChecked(id) ? 1 : 0;
}

void DataExchange::listIndex(int id, int& index) {
    if (!saving_)
        return dialog_.SetListIndex(id, index);
    if (!failed_)
        index = dialog_.GetListIndex(id);
}

}  // namespace kx::ui
