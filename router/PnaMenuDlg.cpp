#include "router/PnaMenuDlg.h"

#include "app/AppState.h"
#include "res/RouterIds.h"
#include "router/DialupDlg.h"
#include "router/RouterSettings.h"

namespace kx {

CPnaMenuDlg::CPnaMenuDlg(AreaContext& context)
    : CAreaMenuDlg(
          IDD_PNA_MENU, context,
          {
              {IDC_PNA_MENU_DIALUP1, kDialup1Section, opens<CDialupDlg>(1)},
              {IDC_PNA_MENU_DIALUP2, kDialup1Section + 1, opens<CDialupDlg>(2)},
              {IDC_PNA_MENU_DIALUP3, kDialup1Section + 2, opens<CDialupDlg>(3)},
              {IDC_PNA_MENU_DIALUP4, kDialup1Section + 3, opens<CDialupDlg>(4)},
          },
          RouterWriter) {}

void CPnaMenuDlg::afterDialog(const Entry& entry, int result, int /*written*/) {
    if (entry.area == kRouterSection && addressChanged) {
        PostClose();  // the adapter restarts with its new address
    } else if (entry.area == kConnectLimitSection && result != ui::IDOK && resetCounters) {
        write(kConnectLimitSection);
    }
}

}  // namespace kx
