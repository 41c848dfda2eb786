#pragma once

// What the BOD and BACP/BAP dialogs of the digital area (throughput BOD, BACP/BAP) and of the
// router area (BOD, BACP/BAP) share: the rate estimate beside a threshold, the binding of one
// side of a BOD dialog, and the binding of the BACP/BAP answers. Each dialog keeps its own
// record, ids and rules.

#include <array>
#include <cstddef>
#include <string>

#include "area/SettingsDlg.h"
#include "res/IsdnIds.h"

namespace kx {

// The estimate beside a threshold of `percent`: "約 %.2f kbps" with percent x 0.08.
std::string rateEstimateText(int percent);

// One side of a BOD dialog (channel addition or removal) over the members of `Record`.
template <class Record>
struct BodSide {
    const BodSideIds& ids;
    int Record::*direction;
    int Record::*rate;
    int Record::*evalTime;
    int Record::*minTime;
};

// A dialog's own rules for its spin arrows, which the two BOD dialogs do not share: how the
// evaluation time wraps past 255, and by how many stored units the minimum holding time steps
// (1 where the row keeps 5-second units, 5 where it keeps seconds).
struct BodSpinRules {
    area::SpinWrap evalTimeWrap = area::SpinWrap::AboveHighest;
    int minTimeStep = 1;
};

template <class Record>
class BodSidesDlg : public area::RecordDlg<Record> {
protected:
    using area::RecordDlg<Record>::RecordDlg;

    // One side's edits, checked in this order: the minimum holding time, the evaluation time,
    // the threshold; their spin arrows, the rate estimate beside the threshold (when the dialog
    // opens and after the threshold's arrows) and the direction radios.
    void bindSide(const BodSide<Record>& side, BodSpinRules rules) {
        this->bindEdit(side.ids.minTime, side.minTime, kBodMinTimeLimit,
                       "最小保持時間の入力に間違いがあります。");
        this->bindEdit(side.ids.evalTime, side.evalTime, kBodTimeLimit,
                       "評価時間の入力に間違いがあります。");
        this->bindEdit(side.ids.rate, side.rate, kBodRateLimit,
                       "しきい値の入力に間違いがあります。");
        this->bindSpin(side.ids.rateSpin, side.ids.rate, kBodRateLimit);
        this->bindSpin(side.ids.evalTimeSpin, side.ids.evalTime, kBodTimeLimit, 1,
                       rules.evalTimeWrap);
        this->bindSpin(side.ids.minTimeSpin, side.ids.minTime, kBodMinTimeLimit, rules.minTimeStep);
        this->bindDerivedText(side.ids.estimate, side.ids.rate, rateEstimateText);
        this->bindRadio(side.ids.direction[0], side.direction);
    }
};

// Per side of a BACP/BAP dialog, the groups "チャネル追加", "コールバック要求" and
// "チャネル削除" (mask bits 0, 1, 2), each "拒否する" then "自動応答".
using BacpBapSideIds = std::array<std::array<int, 2>, 3>;

template <class Record>
class BacpBapAnswersDlg : public area::RecordDlg<Record> {
protected:
    using area::RecordDlg<Record>::RecordDlg;

    // The three answers of each side as bits of its mask; the other bits are carried as they
    // are.
    void bindAnswers(const BacpBapSideIds& depart, int Record::*departMask,
                     const BacpBapSideIds& arrive, int Record::*arriveMask) {
        for (std::size_t bit = 0; bit < 3; ++bit) {
            this->bindBit(depart[bit][0], departMask, static_cast<int>(bit));
            this->bindBit(arrive[bit][0], arriveMask, static_cast<int>(bit));
        }
    }
};

}  // namespace kx
