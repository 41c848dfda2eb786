#include "router/PnaMenuDlg.h"

#include "app/services/AppState.h"
#include "isdn/DigitalRecord.h"
#include "res/RouterIds.h"
#include "router/BodDlg.h"
#include "router/ConnectLimitDlg.h"
#include "router/DhcpDlg.h"
#include "router/DialupDlg.h"
#include "router/DnsDlg.h"
#include "router/EntryTableDlg.h"
#include "router/LeasedLineDlg.h"
#include "router/PnaArriveDlg.h"
#include "router/PnaPortDlg.h"
#include "router/RouterDlg.h"
#include "router/RouterSettings.h"
#include "router/SyslogDlg.h"

namespace kx {

CPnaMenuDlg::CPnaMenuDlg(AreaContext& context)
    : CAreaMenuDlg(
          IDD_PNA_MENU, context,
          {
              {IDC_PNA_MENU_ROUTER, kRouterSection, opens<CRouterDlg>()},
              {IDC_PNA_MENU_PNA_PORT, kPnaPortSection, opens<CPnaPortDlg>()},
              {IDC_PNA_MENU_NAT, kNatSection, opens<CNatDlg>()},
              {IDC_PNA_MENU_DHCP, kDhcpSection, opens<CDhcpDlg>()},
              {IDC_PNA_MENU_DNS, kDnsSection, opens<CDnsDlg>()},
              {IDC_PNA_MENU_DNS_HOST, kHostSection, opens<CDnsHostDlg>()},
              {IDC_PNA_MENU_SYSLOG, kSyslogSection, opens<CSyslogDlg>()},
              {IDC_PNA_MENU_DIALUP1, kDialup1Section, opens<CDialupDlg>(1)},
              {IDC_PNA_MENU_DIALUP2, kDialup1Section + 1, opens<CDialupDlg>(2)},
              {IDC_PNA_MENU_DIALUP3, kDialup1Section + 2, opens<CDialupDlg>(3)},
              {IDC_PNA_MENU_DIALUP4, kDialup1Section + 3, opens<CDialupDlg>(4)},
              {IDC_PNA_MENU_ARRIVE, kRasSection, opens<CPnaArriveDlg>()},
              {IDC_PNA_MENU_LEASED_LINE, kLeasedLineSection, opens<CLeasedLineDlg>()},
              {IDC_PNA_MENU_CONNECT_LIMIT, kConnectLimitSection, opens<CConnectLimitDlg>()},
              {IDC_PNA_MENU_BOD, kBodSection, opens<CBodDlg>()},
              {IDC_PNA_MENU_BACP_BAP, kBacpBapSection, opens<CRouterBacpBapDlg>()},
          },
          RouterWriter, {&routerSettings, &digitalSettings}) {}

void CPnaMenuDlg::afterDialog(const Entry& entry, int result, int /*written*/) {
    if (entry.area == kRouterSection && addressChanged) {
        PostClose();  // the adapter restarts with its new address
    } else if (entry.area == kConnectLimitSection && result != ui::IDOK && resetCounters) {
        write(kConnectLimitSection);
    }
}

}  // namespace kx
