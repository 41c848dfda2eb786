#include "digital/DigitalMenuDlg.h"

#include "digital/BacpBapDlg.h"
#include "digital/DigitalCommonDlg.h"
#include "digital/DigitalPortDlg.h"
#include "digital/DigitalSettings.h"
#include "digital/ThroughputBodDlg.h"
#include "res/DigitalIds.h"

namespace kx {

CDigitalMenuDlg::CDigitalMenuDlg(AreaContext& context)
    : CAreaMenuDlg(IDD_DIGITAL_MENU, context,
                   {
                       {IDC_DIGITAL_MENU_DATA, kDigitalDataArea, opens<CDataPortDlg>()},
                       {IDC_DIGITAL_MENU_USB, kDigitalUsbArea, opens<CUsbPortDlg>()},
                       {IDC_DIGITAL_MENU_COMMON, kDigitalCommonArea, opens<CDigitalCommonDlg>()},
                       {IDC_DIGITAL_MENU_BOD, kDigitalBodArea, opens<CThroughputBodDlg>()},
                       {IDC_DIGITAL_MENU_BACP_BAP, kDigitalBacpBapArea, opens<CBacpBapDlg>()},
                   },
                   WriteDigitalSettings, {&digitalSettings}) {}

}  // namespace kx
