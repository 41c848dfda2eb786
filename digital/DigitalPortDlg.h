#pragma once

#include "isdn/DigitalPortDlg.h"
#include "res/DigitalIds.h"

namespace kx {

// "ＤＡＴＡポート設定" (136) and "ＵＳＢポート設定" (137): one digital port of the working copy.
class CDataPortDlg : public CDigitalPortDlg {
public:
    CDataPortDlg() : CDigitalPortDlg(kDataPortIds, digitalSettings.working.data) {}
};

class CUsbPortDlg : public CDigitalPortDlg {
public:
    CUsbPortDlg() : CDigitalPortDlg(kUsbPortIds, digitalSettings.working.usb) {}
};

}  // namespace kx
