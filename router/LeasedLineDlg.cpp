#include "router/LeasedLineDlg.h"

#include "app/services/Help.h"
#include "res/RouterIds.h"

namespace kx {

using L = LeasedLineSettings;

CLeasedLineDlg::CLeasedLineDlg()
    : RecordDlg(
          IDD_LEASED_LINE, kHelpClassicRouter, routerSettings.working.network,
          [] { routerSettings.takeSnapshot(); }, leasedLineItems()) {
    bindAddress(IDC_LEASED_LINE_ADDRESS, &L::networkAddress, kPrefixAddressLimit,
                "グローバルＩＰアドレスの入力に間違いがあります。", "0.0.0.0/0");
    bindAddress(IDC_LEASED_LINE_REMOTE_ADDRESS, &L::remoteAddress, kAddressLimit,
                "リモートＩＰアドレスの入力に間違いがあります。", "0.0.0.0");
    bindAddress(IDC_LEASED_LINE_DNS_PRIMARY, &L::dnsPrimary, kAddressLimit,
                "プライマリＤＮＳサーバーＩＰアドレスの入力に間違いがあります。", "");
    bindAddress(IDC_LEASED_LINE_DNS_SECONDARY, &L::dnsSecondary, kAddressLimit,
                "セカンダリＤＮＳサーバーＩＰアドレスの入力に間違いがあります。", "");
    // the free texts last: they are refused only for what cannot reach the adapter
    bindEdit(IDC_LEASED_LINE_USER_ID, &L::userId, kLeasedLineUserLimit,
             "ユーザー名の入力に間違いがあります。");
    bindEdit(IDC_LEASED_LINE_PASSWORD, &L::password, kLeasedLinePasswordLimit,
             "パスワードの入力に間違いがあります。");
}

}  // namespace kx
