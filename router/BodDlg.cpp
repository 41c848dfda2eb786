#include "router/BodDlg.h"

#include "app/services/Help.h"
#include "res/RouterIds.h"

namespace kx {

namespace {

using R = RouterSettings;

// dropping first: OK checks its edits before the adding side's
const BodSide<R> kSides[] = {
    {kRouterBodDelIds, &R::bodDelDirection, &R::bodDelRate, &R::bodDelTime, &R::bodDelMinimumTime},
    {kRouterBodAddIds, &R::bodAddDirection, &R::bodAddRate, &R::bodAddTime, &R::bodAddMinimumTime},
};

// unlike the digital twin, only 256 turns into 1: a larger typed time steps on and is refused
// at OK; the minimum holding times are kept in seconds, and their arrows step by 5 of them
constexpr BodSpinRules kSpinRules{area::SpinWrap::JustAfterHighest, 5};

}  // namespace

CBodDlg::CBodDlg()
    : BodSidesDlg(
          IDD_ROUTER_BOD, kHelpClassicRouter, routerSettings.working,
          [] { routerSettings.takeSnapshot(); }, routerBodItems()) {
    bindRadio(kRouterBodChannelIds[0], &R::bodChannels);
    bindRadio(kRouterResourceBodIds[0], &R::bodResource);
    for (const BodSide<R>& side : kSides) bindSide(side, kSpinRules);
}

CRouterBacpBapDlg::CRouterBacpBapDlg()
    : BacpBapAnswersDlg(IDD_ROUTER_BACP_BAP, kHelpClassicRouter, routerSettings.working,
                        [] { routerSettings.takeSnapshot(); }) {
    bindAnswers(kRouterBacpDepartIds, &R::bacpDepart, kRouterBacpArriveIds, &R::bacpArrive);
}

}  // namespace kx
