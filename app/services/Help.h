#pragma once

#include "app/services/HelpPages.h"

namespace kx::ui {
class Dialog;
}

namespace kx {

// Help contexts: each dialog uses the same one for its "ヘルプ" button and the help key.
inline constexpr int kHelpMainWindow = 10000;
inline constexpr int kHelpTelPort = 10006;  // TEL1, TEL2, TEL3
inline constexpr int kHelpAnalogCommon = 10007;
inline constexpr int kHelpDigitalPort = 10009;  // DATA, USB
inline constexpr int kHelpDigitalCommon = 10010;
inline constexpr int kHelpBacpBap = 10012;
inline constexpr int kHelpThroughputBod = 10013;
inline constexpr int kHelpArriveStandard = 10014;
inline constexpr int kHelpArriveNumber = 10015;
inline constexpr int kHelpShortNumber = 10016;
// The classic help file's context of the router dialogs.
inline constexpr int kHelpClassicRouter = 1;

// Opens the help page of `contextId` in the help window (res/help/<context>.html; context 1 is
// the router page). A page that cannot be found or shown is reported in a message box with
// the caption of the program's messages. Returns 1.
int ShowHelp(ui::Dialog& owner, int contextId);

}  // namespace kx
