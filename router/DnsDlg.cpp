#include "router/DnsDlg.h"

#include "app/services/Help.h"
#include "res/RouterIds.h"

namespace kx {

namespace {

using R = RouterSettings;

}  // namespace

CDnsDlg::CDnsDlg()
    : RecordDlg(
          IDD_DNS, kHelpClassicRouter, routerSettings.working,
          [] { routerSettings.takeSnapshot(); }, dnsItems()) {
    bindAddress(IDC_DNS_PRIMARY, &R::dnsPrimaryServer, kAddressLimit,
                "プライマリＤＮＳサーバーＩＰアドレスの入力に間違いがあります。", "");
    bindAddress(IDC_DNS_SECONDARY, &R::dnsSecondaryServer, kAddressLimit,
                "セカンダリＤＮＳサーバーＩＰアドレスの入力に間違いがあります。", "");
    bindRadio(kDnsForwardingIds[0], &R::dnsForwarding);
}

}  // namespace kx
