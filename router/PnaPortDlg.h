#pragma once

#include "isdn/DigitalPortDlg.h"
#include "res/RouterIds.h"

namespace kx {

// "ＰＮＡポート設定" (180): the HomePNA port's numbers and incoming-call choices, the DATA and
// USB port dialog over the pna block of the digital copies, with the router area's help page.
class CPnaPortDlg : public CDigitalPortDlg {
public:
    CPnaPortDlg() : CDigitalPortDlg(kPnaPortIds, digitalSettings.working.pna, kHelpClassicRouter) {}
};

}  // namespace kx
