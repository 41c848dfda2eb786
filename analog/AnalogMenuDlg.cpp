#include "analog/AnalogMenuDlg.h"

#include "analog/AnalogCommonDlg.h"
#include "analog/AnalogSettings.h"
#include "analog/TelPortDlg.h"
#include "res/AnalogIds.h"

namespace kx {

CAnalogMenuDlg::CAnalogMenuDlg(AreaContext& context)
    : CAreaMenuDlg(IDD_ANALOG_MENU, context,
                   {
                       {IDC_ANALOG_MENU_TEL1, 0, opens<CTelPortDlg>(0)},
                       {IDC_ANALOG_MENU_TEL2, 1, opens<CTelPortDlg>(1)},
                       {IDC_ANALOG_MENU_TEL3, 2, opens<CTelPortDlg>(2)},
                       {IDC_ANALOG_MENU_COMMON, kAnalogCommonArea, opens<CAnalogCommonDlg>()},
                   },
                   WriteAnalogSettings, {&analogSettings}) {}

}  // namespace kx
