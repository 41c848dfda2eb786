#include "isdn/DigitalRecord.h"

#include "area/Keywords.h"

namespace kx {

namespace {

using area::choice;
using area::Item;
using area::kDisableEnable;
using area::kINumbers;
using area::kNoticeNumbers;
using area::kTalky;
using area::phone;
using P = DigitalPortSettings;

constexpr Item<P> kPortItems[] = {
    phone("selfAddress", &P::selfAddress, "self address:", "digital address {}")
        .withCaption("自己アドレス"),
    phone("transferAddress", &P::transferAddress,
          "  address:", "digital arrive_transfer address {}")
        .withCaption("着信転送先電話番号"),
    choice("arriveTransfer", &P::arriveTransfer, "arrive transfer:", kDisableEnable,
           "digital arrive_transfer {}")
        .withCaption("着信転送"),
    choice("talky", &P::talky, "  talky:", kTalky, "digital arrive_transfer talky {}")
        .withCaption("転送トーキ"),
    choice("globalArrive", &P::globalArrive, "global arrive:", kDisableEnable,
           "digital global_arrive {}")
        .withCaption("グローバル着信"),
    choice("subaddressLessArrive", &P::subaddressLessArrive,
           "subaddress less arrive:", kDisableEnable, "digital no_subaddress {}")
        .withCaption("サブアドレスなし着信"),
    choice("noticeNumber", &P::noticeNumber, "notice number:", kNoticeNumbers,
           "digital notice_number {}")
        .withCaption("発信者番号通知"),
    choice("iNumber", &P::iNumber, "i number:", kINumbers, "digital i_number {}")
        .withCaption("ｉ・ナンバー"),
};

}  // namespace

std::span<const Item<DigitalPortSettings>> digitalPortItems() {
    return kPortItems;
}

}  // namespace kx
