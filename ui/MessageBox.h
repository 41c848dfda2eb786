#pragma once

// Message boxes. Texts are UTF-8; "\r\n" in a text breaks the line. The box is modal to the
// active dialog and runs the message loop while it is shown (timers and posted calls go on).

#include <string>
#include <string_view>

namespace kx::ui {

enum class MsgButtons { Ok, OkCancel };
enum class MsgIcon { None, Stop, Question };

// Shows the box and returns the button pressed: IDOK (1) or IDCANCEL (2). Closing an OK/Cancel
// box counts as Cancel; an OK box can only be answered with OK.
int MessageBox(std::string_view text, std::string_view caption, MsgButtons buttons = MsgButtons::Ok,
               MsgIcon icon = MsgIcon::None);

// The caption of input-error messages (the program sets windowTitle here at start-up).
void SetMessageCaption(std::string caption);
const std::string& MessageCaption();

// An input error: `text` with MessageCaption(), an OK button and no icon.
void InputError(std::string_view text);

}  // namespace kx::ui
