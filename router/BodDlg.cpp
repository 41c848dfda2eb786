#include "router/BodDlg.h"

#include "app/services/Help.h"
#include "digital/ThroughputBodDlg.h"
#include "res/RouterIds.h"

namespace kx {

namespace {

using R = RouterSettings;

constexpr int kHoldingStep = 5;  // seconds per arrow

struct Side {
    const BodSideIds& ids;
    int R::*direction;
    int R::*rate;
    int R::*evalTime;
    int R::*minTime;
};

// dropping first: OK checks its edits before the adding side's
const Side kSides[] = {
    {kRouterBodDelIds, &R::bodDelDirection, &R::bodDelRate, &R::bodDelTime, &R::bodDelMinimumTime},
    {kRouterBodAddIds, &R::bodAddDirection, &R::bodAddRate, &R::bodAddTime, &R::bodAddMinimumTime},
};

}  // namespace

CBodDlg::CBodDlg()
    : RecordDlg(
          IDD_ROUTER_BOD, kHelpClassicRouter, routerSettings.working,
          [] { routerSettings.takeSnapshot(); }, routerBodItems()) {
    bindRadio(kRouterBodChannelIds[0], &R::bodChannels);
    bindRadio(kRouterResourceBodIds[0], &R::bodResource);
    for (const Side& side : kSides) {
        bindEdit(side.ids.minTime, side.minTime, kBodMinTimeLimit,
                 "最小保持時間の入力に間違いがあります。");
        bindEdit(side.ids.evalTime, side.evalTime, kBodTimeLimit,
                 "評価時間の入力に間違いがあります。");
        bindEdit(side.ids.rate, side.rate, kBodRateLimit, "しきい値の入力に間違いがあります。");
        bindSpin(side.ids.rateSpin, side.ids.rate, kBodRateLimit);
        // unlike the digital twin, only 256 turns into 1: a larger typed time steps on and is
        // refused at OK
        bindSpin(side.ids.evalTimeSpin, side.ids.evalTime, kBodTimeLimit, 1,
                 area::SpinWrap::JustAfterHighest);
        bindSpin(side.ids.minTimeSpin, side.ids.minTime, kBodMinTimeLimit, kHoldingStep);
        bindDerivedText(side.ids.estimate, side.ids.rate, rateEstimateText);
        bindRadio(side.ids.direction[0], side.direction);
    }
}

CRouterBacpBapDlg::CRouterBacpBapDlg()
    : RecordDlg(IDD_ROUTER_BACP_BAP, kHelpClassicRouter, routerSettings.working,
                [] { routerSettings.takeSnapshot(); }) {
    for (std::size_t bit = 0; bit < 3; ++bit) {
        bindBit(kRouterBacpDepartIds[bit][0], &R::bacpDepart, static_cast<int>(bit));
        bindBit(kRouterBacpArriveIds[bit][0], &R::bacpArrive, static_cast<int>(bit));
    }
}

}  // namespace kx
