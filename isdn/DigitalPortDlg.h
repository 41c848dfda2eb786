#pragma once

#include "app/services/Help.h"
#include "area/SettingsDlg.h"
#include "isdn/DigitalRecord.h"
#include "res/IsdnIds.h"

namespace kx {

// One digital port of the working copy: the DATA and USB port dialogs of the digital area and
// the router's PNA port dialog differ only in their ids, the block they edit and the help page.
// `talky` is not shown and stays.
class CDigitalPortDlg : public area::RecordDlg<DigitalPortSettings> {
public:
    CDigitalPortDlg(const DigitalPortIds& ids, DigitalPortSettings& working,
                    int helpContext = kHelpDigitalPort);
};

}  // namespace kx
