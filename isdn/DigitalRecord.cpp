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
    phone("selfAddress", &P::selfAddress, "self address:", "digital address {}"),
    phone("transferAddress", &P::transferAddress,
          "  address:", "digital arrive_transfer address {}"),
    choice("arriveTransfer", &P::arriveTransfer, "arrive transfer:", kDisableEnable,
           "digital arrive_transfer {}"),
    choice("talky", &P::talky, "  talky:", kTalky, "digital arrive_transfer talky {}"),
    choice("globalArrive", &P::globalArrive, "global arrive:", kDisableEnable,
           "digital global_arrive {}"),
    choice("subaddressLessArrive", &P::subaddressLessArrive,
           "subaddress less arrive:", kDisableEnable, "digital no_subaddress {}"),
    choice("noticeNumber", &P::noticeNumber, "notice number:", kNoticeNumbers,
           "digital notice_number {}"),
    choice("iNumber", &P::iNumber, "i number:", kINumbers, "digital i_number {}"),
};

}  // namespace

std::span<const Item<DigitalPortSettings>> digitalPortItems() {
    return kPortItems;
}

}  // namespace kx
