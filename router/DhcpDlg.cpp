#include "router/DhcpDlg.h"

#include "app/services/Help.h"
#include "res/RouterIds.h"

namespace kx {

namespace {

using R = RouterSettings;

constexpr const char* kStartError = "開始ＩＰアドレスの入力に間違いがあります。";

}  // namespace

CDhcpDlg::CDhcpDlg()
    : RecordDlg(
          IDD_DHCP, kHelpClassicRouter, routerSettings.working,
          [] { routerSettings.takeSnapshot(); }, dhcpItems()) {
    bindEdit(IDC_DHCP_START_ADDRESS, &R::dhcpStartAddress, kAddressLimit, kStartError);
    bindEdit(IDC_DHCP_COUNT, &R::dhcpCount, kDhcpCountLimit, "個数の入力に間違いがあります。");
    // "dhcp range_address /32" would only be refused by the adapter, after this dialog closed
    bindRule(kStartError, [this](const R& v) { return dhcpRangeWithoutStart(v, working()); });
    bindAddress(IDC_DHCP_GATEWAY, &R::dhcpGateway, kAddressLimit,
                "デフォルトゲートウェイの入力に間違いがあります。", "");
    bindAddress(IDC_DHCP_DNS_SERVER, &R::dhcpDnsServer, kAddressLimit,
                "ＤＮＳサーバーＩＰアドレスの入力に間違いがあります。", "");
    bindEdit(IDC_DHCP_LEASE_TIME, &R::dhcpLeaseTime, kDhcpLeaseTimeLimit,
             "リース時間の入力に間違いがあります。");
    bindEdit(IDC_DHCP_DOMAIN_NAME, &R::dhcpDomainName, kDhcpDomainNameLimit,
             "ドメイン名の入力に間違いがあります。");
    bindRadio(kDhcpActiveIds[0], &R::dhcpActive);
}

}  // namespace kx
