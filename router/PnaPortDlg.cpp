#include "router/PnaPortDlg.h"

#include "app/Help.h"

namespace kx {

void CPnaPortDlg::OnHelp() {
    ShowHelp(*this, kHelpClassicRouter);
}

}  // namespace kx
