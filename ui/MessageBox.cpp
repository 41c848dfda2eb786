#include "ui/MessageBox.h"

#include "ui/Backend.h"
#include "ui/Dialog.h"

namespace kx::ui {
namespace {

std::string& storedCaption() {
    static std::string text;
    return text;
}

}  // namespace

int MessageBox(std::string_view text, std::string_view caption, MsgButtons buttons, MsgIcon icon) {
    MessageBoxRequest request{std::string(text), std::string(caption), buttons, icon,
                              Dialog::activeModal()};
    return backend().messageBox(request);
}

void SetMessageCaption(std::string text) {
    storedCaption() = std::move(text);
}
const std::string& MessageCaption() {
    return storedCaption();
}

void InputError(std::string_view text) {
    MessageBox(text, storedCaption(), MsgButtons::Ok, MsgIcon::None);
}

}  // namespace kx::ui
