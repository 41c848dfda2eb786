#include "arrive/ArriveStandardDlg.h"

#include "app/services/Help.h"
#include "res/ArriveIds.h"

namespace kx {

namespace {

using A = ArriveSettings;

struct Row {
    const ArriveColumnIds& ids;
    int A::*tel1;
    int A::*tel2;
    int A::*tel3;
    int A::*data;
    int A::*usb;
    int A::*ring;
};

const Row kRows[] = {
    {kArriveDefaultIds, &A::tel1DefaultRank, &A::tel2DefaultRank, &A::tel3DefaultRank,
     &A::dataDefaultRank, &A::usbDefaultRank, &A::defaultRing},
    {kArriveNoidIds, &A::tel1NoidRank, &A::tel2NoidRank, &A::tel3NoidRank, &A::dataNoidRank,
     &A::usbNoidRank, &A::noidRing},
};

}  // namespace

CArriveStandardDlg::CArriveStandardDlg()
    : RecordDlg(
          IDD_ARRIVE_STANDARD, kHelpArriveStandard, arriveSettings.working,
          [] { arriveSettings.takeSnapshot(); }, arriveStandardItems()) {
    for (const Row& row : kRows) {
        bindList(row.ids.tel1, row.tel1);
        bindList(row.ids.tel2, row.tel2);
        bindList(row.ids.tel3, row.tel3);
        bindList(row.ids.data, row.data);
        bindList(row.ids.usb, row.usb);
        bindList(row.ids.ring, row.ring);
    }
    // A service the adapter reports as neither 0 nor 1 checks no button; confirmed so, the
    // group stores -1, which differs from what was read and is sent as the adapter's own
    // service ("pseudo"), so the adapter ends up holding a value the dialog can show.
    bindRadioAsShown(IDC_ARRIVE_RING_SELECT_NTT, &A::ringSelectService);
    bindList(IDC_ARRIVE_NTT_RING, &A::nttRing);
    bindRadioAsShown(IDC_ARRIVE_TROUBLE_NTT, &A::troubleTelService);
}

}  // namespace kx
