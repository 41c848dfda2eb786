#include "router/SyslogDlg.h"

#include "app/services/Help.h"
#include "res/RouterIds.h"

namespace kx {

namespace {

using R = RouterSettings;

}  // namespace

CSyslogDlg::CSyslogDlg()
    : RecordDlg(
          IDD_SYSLOG, kHelpClassicRouter, routerSettings.working,
          [] { routerSettings.takeSnapshot(); }, syslogItems()) {
    bindAddress(IDC_SYSLOG_ADDRESS, &R::syslogAddress, kAddressLimit,
                "ホストアドレスの入力に間違いがあります。", "");
    bindEdit(IDC_SYSLOG_FACILITY, &R::syslogFacility, kSyslogFacilityLimit,
             "ファシリティの入力に間違いがあります。");
    bindRadio(kSyslogActiveIds[0], &R::syslogActive);
    bindCheckBox(IDC_SYSLOG_DEBUG, &R::syslogDebug);
    bindCheckBox(IDC_SYSLOG_INFO, &R::syslogInfo);
    bindCheckBox(IDC_SYSLOG_NOTICE, &R::syslogNotice);
}

}  // namespace kx
