#include "router/PnaArriveDlg.h"

#include "app/services/Help.h"
#include "res/RouterIds.h"

namespace kx {

namespace {

using S = RasSettings;

}  // namespace

CPnaArriveDlg::CPnaArriveDlg()
    : RecordDlg(
          IDD_PNA_ARRIVE, kHelpClassicRouter, routerSettings.working.ras,
          [] { routerSettings.takeSnapshot(); }, rasItems()) {
    bindList(IDC_PNA_ARRIVE_MODE, &S::mode);
    bindList(IDC_PNA_ARRIVE_PROTOCOL, &S::protocol);
    bindRule("64k 以外は、CHAPに設定できません。",
             [](const S& v) { return chapRefused(v.mode, v.protocol); });
    bindEdit(IDC_PNA_ARRIVE_DISC_TIME, &S::disconnectTime, kDisconnectTimeLimit,
             "切断時間の入力に間違いがあります。");
    bindAddress(IDC_PNA_ARRIVE_WAN_ADDRESS, &S::wanAddress, kAddressLimit,
                "ルータのＷＡＮ側ＩＰアドレスの入力に間違いがあります。", "0.0.0.0");
    bindAddress(IDC_PNA_ARRIVE_PARTNER_ADDRESS, &S::partnerAddress, kAddressLimit,
                "相手側ＩＰアドレスの入力に間違いがあります。", "0.0.0.0");
    // the free texts last: they are refused only for what cannot reach the adapter
    bindEdit(IDC_PNA_ARRIVE_USER_ID, &S::userId, kPnaArriveUserLimit,
             "受信ユーザーＩＤの入力に間違いがあります。");
    bindEdit(IDC_PNA_ARRIVE_PASSWORD, &S::password, kPnaArrivePasswordLimit,
             "受信パスワードの入力に間違いがあります。");
    bindRadio(kPnaArriveActiveIds[0], &S::rasActive);
    bindRadio(kPnaArriveAutoDiscIds[0], &S::autoDisconnect);
    enableWhen(kPnaArriveActiveIds[0], 1,
               {IDC_PNA_ARRIVE_WAN_ADDRESS, IDC_PNA_ARRIVE_PARTNER_ADDRESS});
}

}  // namespace kx
