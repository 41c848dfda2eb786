#include "analog/TelPortDlg.h"

#include "app/services/Help.h"

namespace kx {

namespace {

struct TelPortShape {
    int numberLimit;    // both number edits
    int dialTimeLimit;  // the dial-time edit
    int exclusiveWith;  // the port whose number display greys this one's; -1 none
};

constexpr TelPortShape kShapes[] = {{53, 2, 1}, {51, 51, 0}, {51, 51, -1}};

using T = TelPortSettings;

}  // namespace

CTelPortDlg::CTelPortDlg(int port)
    : RecordDlg(
          kTelPortIds[port]->dialog, kHelpTelPort, analogSettings.working.tel[port],
          [] { analogSettings.takeSnapshot(); }, telPortItems()),
      port_(port),
      ids_(*kTelPortIds[port]) {
    const TelPortShape& shape = kShapes[port];
    // the edits in the order OK checks them
    bindEdit(ids_.selfAddress, &T::selfAddress, shape.numberLimit,
             "自己アドレスの入力に間違いがあります。");
    bindEdit(ids_.transferAddress, &T::transferAddress, shape.numberLimit,
             "転送先電話番号の入力に間違いがあります。");
    bindEdit(ids_.sendDialTime, &T::sendDialTime, shape.dialTimeLimit,
             "ダイヤル発信時間の入力に間違いがあります。");
    bindSpin(ids_.dialTimeSpin, ids_.sendDialTime, 2);
    bindRadio(ids_.callWaiting[0], &T::callWaiting);
    bindRadio(ids_.numberDisplay[0], &T::numberDisplay);
    bindRadio(ids_.globalArrive[0], &T::globalArrive);
    bindRadio(ids_.subaddressLessArrive[0], &T::subaddressLessArrive);
    bindRadio(ids_.arriveTransfer[0], &T::arriveTransfer);
    bindRadio(ids_.noticeNumber[0], &T::noticeNumber);
    bindRadio(ids_.analogPortMode[0], &T::analogPortMode);
    bindRadio(ids_.ringSound[0], &T::ringSound);
    bindRadio(ids_.iNumber[0], &T::iNumber);
    bindRadio(ids_.discSignal[0], &T::discSignal);
}

void CTelPortDlg::initRules() {
    // 0 both clear, 1 "転送元トーキ", 2 "転送トーキ", 3 both; any other value both clear
    const bool known = values.talky >= 0 && values.talky <= 3;
    talkyTransfer_ = known && (values.talky & 2) ? 1 : 0;
    talkySource_ = known && (values.talky & 1) ? 1 : 0;

    const int other = kShapes[port_].exclusiveWith;
    if (other >= 0 &&
        analogSettings.working.tel[static_cast<std::size_t>(other)].numberDisplay != 0) {
        // kept in the working copy as well: OK copies it into the snapshot before storing, so
        // the forced value is never sent by itself
        working().numberDisplay = 0;
        values.numberDisplay = 0;
        EnableControl(ids_.numberDisplay[1], false);
        EnableControl(ids_.numberDisplay[2], false);
    }
}

void CTelPortDlg::storeRules() {
    values.talky = 2 * talkyTransfer_ + talkySource_;
}

void CTelPortDlg::DoDataExchange(ui::DataExchange& dx) {
    RecordDlg::DoDataExchange(dx);
    dx.check(ids_.talkyTransfer, talkyTransfer_);
    dx.check(ids_.talkySource, talkySource_);
}

}  // namespace kx
