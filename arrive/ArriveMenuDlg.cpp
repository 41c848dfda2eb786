#include "arrive/ArriveMenuDlg.h"

#include "arrive/ArriveNumberDlg.h"
#include "arrive/ArriveSettings.h"
#include "arrive/ArriveStandardDlg.h"
#include "res/ArriveIds.h"

namespace kx {

CArriveMenuDlg::CArriveMenuDlg(AreaContext& context)
    : CAreaMenuDlg(IDD_ARRIVE_MENU, context,
                   {
                       {IDC_ARRIVE_MENU_STANDARD, kArriveStandardArea, opens<CArriveStandardDlg>()},
                       {IDC_ARRIVE_MENU_NUMBER1, 1, opens<CArriveNumberDlg>(0)},
                       {IDC_ARRIVE_MENU_NUMBER2, 2, opens<CArriveNumberDlg>(1)},
                   },
                   WriteArriveSettings, {&arriveSettings}) {}

}  // namespace kx
