#include "router/RouterDlg.h"

#include "app/services/AppState.h"
#include "app/services/Help.h"
#include "link/Sjis.h"
#include "res/RouterIds.h"
#include "ui/MessageBox.h"

namespace kx {

namespace {

using R = RouterSettings;

}  // namespace

CRouterDlg::CRouterDlg()
    : RecordDlg(
          IDD_ROUTER, kHelpClassicRouter, routerSettings.working,
          [] { routerSettings.takeSnapshot(); }, routerItems()) {
    bindAddress(IDC_ROUTER_MASQ_ADDRESS, &R::masqueradeAddress, kPrefixAddressLimit,
                "ＩＰマスカレード用ＩＰアドレスの入力に間違いがあります。", "0.0.0.0");
    bindAddress(IDC_ROUTER_ADDRESS, &R::routerAddress, kPrefixAddressLimit,
                "ルータのＷＡＮ側ＩＰアドレスの入力に間違いがあります。", "0.0.0.0/32");
    bindRadio(kRouterAutoConnectIds[0], &R::autoConnect);
    bindList(IDC_ROUTER_CONNECT_SELECT, &R::connectSelect);
    bindRadio(kRouterMasqueradeIds[0], &R::ipMasquerade);
    bindRadio(kRouterBeepIds[0], &R::beep);
    bindList(IDC_ROUTER_LINE_MODE, &R::lineMode);
    bindRadio(kRouterIpFilterIds[0], &R::ipFilter);
    bindList(IDC_ROUTER_SW_ACTION, &R::swAction);
    bindRadio(kRouterRedialIds[0], &R::redial);
}

bool CRouterDlg::checkRules() {
    // the text as typed: an empty field differs from a "0.0.0.0/32" it kept
    std::string typed;
    const bool read = GetDlgItemText(IDC_ROUTER_ADDRESS, area::kEditReadChars, typed);
    if (read && typed == working().routerAddress)
        return true;
    const std::string question = "ルータのＷＡＮ側ＩＰアドレスが変更されました。\r\n登録後、" +
                                 SjisToUtf8(deviceName) +
                                 "をリブートし設定ユーティリティを終了します。\r\nよろしいですか？";
    return ui::MessageBox(question, windowTitle, ui::MsgButtons::OkCancel, ui::MsgIcon::Question) ==
           ui::IDOK;
}

}  // namespace kx
