#include "digital/ThroughputBodDlg.h"

#include "app/services/Help.h"
#include "area/Keywords.h"
#include "res/DigitalIds.h"

namespace kx {

namespace {

using D = DigitalSettings;

// removal first: OK checks its edits before the addition side's
const BodSide<D> kSides[] = {
    {kBodDelIds, &D::delDirection, &D::delRate, &D::delEvalTime, &D::delMinTime},
    {kBodAddIds, &D::addDirection, &D::addRate, &D::addEvalTime, &D::addMinTime},
};

// every evaluation time above 255 turns into 1; the holding times are kept in 5-second units,
// so their arrows step by one of those
constexpr BodSpinRules kSpinRules{area::SpinWrap::AboveHighest, 1};

}  // namespace

CThroughputBodDlg::CThroughputBodDlg()
    : BodSidesDlg(
          IDD_THROUGHPUT_BOD, kHelpThroughputBod, digitalSettings.working,
          [] { digitalSettings.takeSnapshot(); }, throughputBodItems()) {
    for (const BodSide<D>& side : kSides) bindSide(side, kSpinRules);
}

void CThroughputBodDlg::storeRules() {
    if (values.addDirection != area::kBodNoChange || values.delDirection != area::kBodNoChange)
        values.throughputBod = 1;
}

}  // namespace kx
