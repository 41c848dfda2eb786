#include "analog/AnalogMenuDlg.h"

#include "analog/AnalogCommonDlg.h"
#include "analog/TelPortDlg.h"
#include "res/AnalogIds.h"

namespace kx {

namespace {

std::function<std::unique_ptr<ui::Dialog>()> telPort(int port) {
    return [port] { return std::make_unique<CTelPortDlg>(port); };
}

}  // namespace

CAnalogMenuDlg::CAnalogMenuDlg(AreaContext& context)
    : CAreaMenuDlg(IDD_ANALOG_MENU, context,
                   {
                       {IDC_ANALOG_MENU_TEL1, 0, telPort(0)},
                       {IDC_ANALOG_MENU_TEL2, 1, telPort(1)},
                       {IDC_ANALOG_MENU_TEL3, 2, telPort(2)},
                       {IDC_ANALOG_MENU_COMMON, kAnalogCommonArea,
                        [] { return std::make_unique<CAnalogCommonDlg>(); }},
                   },
                   WriteAnalogSettings) {}

}  // namespace kx
