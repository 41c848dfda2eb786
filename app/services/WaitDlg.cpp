#include "app/services/WaitDlg.h"

#include "res/ShellIds.h"
#include "res/Templates.h"

namespace kx {

CWaitDlg::CWaitDlg() : Dialog(res::dialogTemplate(IDD_WAIT)) {}

void WaitWindow::setText(std::string_view utf8) {
    dialog_.SetDlgItemTextUtf8(IDC_WAIT_TEXT, utf8);
}

}  // namespace kx
