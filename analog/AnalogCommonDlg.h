#pragma once

#include "analog/AnalogSettings.h"
#include "area/SettingsDlg.h"

namespace kx {

// "アナログポート共通設定" (template 135): the delay count, the ring frequency and the
// i-number use of the working copy.
class CAnalogCommonDlg : public area::RecordDlg<AnalogSettings> {
public:
    CAnalogCommonDlg();
};

}  // namespace kx
