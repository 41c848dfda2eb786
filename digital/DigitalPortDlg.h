#pragma once

#include "app/services/Help.h"
#include "area/SettingsDlg.h"
#include "digital/DigitalSettings.h"
#include "res/DigitalIds.h"

namespace kx {

// "ＤＡＴＡポート設定" (136) and "ＵＳＢポート設定" (137): one digital port of the working copy.
// The two differ only in their ids and the block they edit; `talky` is not shown and stays.
class CDigitalPortDlg : public area::RecordDlg<DigitalPortSettings> {
public:
    CDigitalPortDlg(const DigitalPortIds& ids, DigitalPortSettings& working,
                    int helpContext = kHelpDigitalPort);
};

class CDataPortDlg : public CDigitalPortDlg {
public:
    CDataPortDlg() : CDigitalPortDlg(kDataPortIds, digitalSettings.working.data) {}
};

class CUsbPortDlg : public CDigitalPortDlg {
public:
    CUsbPortDlg() : CDigitalPortDlg(kUsbPortIds, digitalSettings.working.usb) {}
};

}  // namespace kx
