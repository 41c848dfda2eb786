#pragma once

#include "area/SettingsDlg.h"
#include "digital/DigitalSettings.h"

namespace kx {

// "デジタルポート共通設定" (138): channels, resource BOD, throughput BOD and BACP/BAP on or
// off, the arrival priority, the disconnect time and PIAFS. Turning throughput BOD off also
// sets both throughput BOD directions to "no addition / no removal" in the working copy; that
// change is not written with this dialog's area.
class CDigitalCommonDlg : public area::RecordDlg<DigitalSettings> {
public:
    CDigitalCommonDlg();

protected:
    void storeRules() override;
};

}  // namespace kx
