#include "isdn/DigitalPortDlg.h"

#include "app/services/Help.h"

namespace kx {

namespace {

constexpr int kNumberLimit = 53;
using P = DigitalPortSettings;

}  // namespace

CDigitalPortDlg::CDigitalPortDlg(const DigitalPortIds& ids, DigitalPortSettings& working,
                                 int helpContext)
    : RecordDlg(
          ids.dialog, helpContext, working, [] { digitalSettings.takeSnapshot(); },
          digitalPortItems()) {
    bindEdit(ids.selfAddress, &P::selfAddress, kNumberLimit,
             "自己アドレスの入力に間違いがあります。");
    bindEdit(ids.transferAddress, &P::transferAddress, kNumberLimit,
             "転送先電話番号の入力に間違いがあります。");
    bindRadio(ids.noticeNumber[0], &P::noticeNumber);
    bindRadio(ids.arriveTransfer[0], &P::arriveTransfer);
    bindRadio(ids.globalArrive[0], &P::globalArrive);
    bindRadio(ids.subaddressLessArrive[0], &P::subaddressLessArrive);
    bindRadio(ids.iNumber[0], &P::iNumber);
}

}  // namespace kx
