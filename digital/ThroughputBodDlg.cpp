#include "digital/ThroughputBodDlg.h"

#include "app/services/Help.h"
#include "res/DigitalIds.h"

namespace kx {

namespace {

constexpr int kNoChange = 3;
using D = DigitalSettings;

struct Side {
    const BodSideIds& ids;
    int D::*direction;
    int D::*rate;
    int D::*evalTime;
    int D::*minTime;
};

// removal first: OK checks its edits before the addition side's
const Side kSides[] = {
    {kBodDelIds, &D::delDirection, &D::delRate, &D::delEvalTime, &D::delMinTime},
    {kBodAddIds, &D::addDirection, &D::addRate, &D::addEvalTime, &D::addMinTime},
};

}  // namespace

std::string rateEstimateText(int percent) {
    // percent x 0.08 in hundredths, written without the C library's locale
    const long long hundredths = static_cast<long long>(percent) * 8;
    const long long magnitude = hundredths < 0 ? -hundredths : hundredths;
    const long long cents = magnitude % 100;
    return std::string("約 ") + (hundredths < 0 ? "-" : "") + std::to_string(magnitude / 100) +
           (cents < 10 ? ".0" : ".") + std::to_string(cents) + " kbps";
}

CThroughputBodDlg::CThroughputBodDlg()
    : RecordDlg(
          IDD_THROUGHPUT_BOD, kHelpThroughputBod, digitalSettings.working,
          [] { digitalSettings.takeSnapshot(); }, throughputBodItems()) {
    for (const Side& side : kSides) {
        bindEdit(side.ids.minTime, side.minTime, 4, "最小保持時間の入力に間違いがあります。");
        bindEdit(side.ids.evalTime, side.evalTime, 3, "評価時間の入力に間違いがあります。");
        bindEdit(side.ids.rate, side.rate, 3, "しきい値の入力に間違いがあります。");
        bindSpin(side.ids.rateSpin, side.ids.rate, 3);
        bindSpin(side.ids.evalTimeSpin, side.ids.evalTime, 3);
        bindSpin(side.ids.minTimeSpin, side.ids.minTime, 4);
        bindRadio(side.ids.direction[0], side.direction);
    }
}

void CThroughputBodDlg::initRules() {
    for (const Side& side : kSides)
        SetDlgItemTextUtf8(side.ids.estimate, rateEstimateText(values.*side.rate));
}

void CThroughputBodDlg::spinRules(int editId) {
    for (const Side& side : kSides) {
        if (side.ids.rate != editId)
            continue;
        std::string text;
        if (!GetDlgItemText(editId, 3, text))
            text.clear();
        SetDlgItemTextUtf8(side.ids.estimate, rateEstimateText(ReadDecimal(text)));
    }
}

void CThroughputBodDlg::storeRules() {
    if (values.addDirection != kNoChange || values.delDirection != kNoChange)
        values.throughputBod = 1;
}

}  // namespace kx
