#include "app/services/WaitDlg.h"

#include "res/ShellIds.h"
#include "res/Templates.h"

namespace kx {

CWaitDlg::CWaitDlg() : Dialog(res::dialogTemplate(IDD_WAIT)) {}

}  // namespace kx
