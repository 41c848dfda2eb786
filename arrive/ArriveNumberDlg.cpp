#include "arrive/ArriveNumberDlg.h"

#include "app/services/Help.h"
#include "res/ArriveIds.h"

namespace kx {

namespace {

constexpr int kNumberLimit = 53;
using area::entryField;
using A = ArriveSettings;
using E = ArriveEntry;

}  // namespace

CArriveNumberDlg::CArriveNumberDlg(int page)
    : RecordDlg(page == 0 ? IDD_ARRIVE_NUMBER1 : IDD_ARRIVE_NUMBER2, kHelpArriveNumber,
                arriveSettings.working, [] { arriveSettings.takeSnapshot(); }) {
    const auto& rows = page == 0 ? kArriveNumber1Rows : kArriveNumber2Rows;
    const area::ItemRule& numberRule = arriveEntryItems()[0];
    for (std::size_t r = 0; r < rows.size(); ++r) {
        const std::size_t index = static_cast<std::size_t>(page) * 10 + r;
        const ArriveColumnIds& columns = rows[r].columns;
        bindEdit(rows[r].number, entryField(&A::entries, index, &E::number), numberRule,
                 kNumberLimit, area::numberedPhoneMessage(static_cast<int>(index) + 1));
        bindList(columns.tel1, entryField(&A::entries, index, &E::tel1Rank));
        bindList(columns.tel2, entryField(&A::entries, index, &E::tel2Rank));
        bindList(columns.tel3, entryField(&A::entries, index, &E::tel3Rank));
        bindList(columns.data, entryField(&A::entries, index, &E::dataRank));
        bindList(columns.usb, entryField(&A::entries, index, &E::usbRank));
        bindList(columns.ring, entryField(&A::entries, index, &E::ring));
    }
}

}  // namespace kx
